#pragma once
// Painting routines that the window adapters share: the adapted window's
// place in its parent, what lies under it, the default cache, the disabled
// look, captions in the skin's colours and the copy of a cache onto the
// window while it paints.
#include "platform/Bitmap.h"
#include "skin/sConst.h"
#include "skinwnd/forms/acSBUtils.h"

#include <QFont>
#include <QIcon>
#include <QImage>
#include <functional>
#include <string>

class QWidget;
class TsCommonData;
class TsSkinManager;
struct TsMaskData;

// The window's rectangles as the adapters read them before building a cache.
struct TacWndGeometry {
    QWidget* ParentWnd = nullptr;
    TRect WindowRect;     // in screen coordinates
    TPoint PosInParent;   // top-left corner in the parent's client coordinates
    int Width = 0, Height = 0;
    TRect ParentRect;     // in screen coordinates (empty without a parent)
};
TacWndGeometry UpdateWndGeometry(const QWidget* wnd);
// The window's geometry, with the skin state's cache made and sized to it.
TacWndGeometry SizeCacheToWindow(TsCommonData& sd, const QWidget* wnd);


// Whether the adapter's skin data paints by a loaded, active skin.
bool AdapterSkinned(const TsCommonData* skinData);

// The default cache of an adapter: the section item over the whole window
// at its place in the parent, hot when focused or under the mouse; the
// disabled look for a disabled window. Nothing unless BGChanged is set.
void PrepareAdapterCache(TsCommonData* skinData, QWidget* wnd, bool useBorderColour);

// Disabled look: the cache keeps 40 % and what lies under the window gives
// the rest (its image when the parent has one, else its colour).
void ApplyWndDisabledLook(TBitmap& cache, const TCacheInfo& parent, const TPoint& offset = {0, 0});

// A caption in the colours of the skin data's section (or of the parent's
// section when that gives its font to its children); underlined while hot
// in the section "WEBBUTTON".
void WriteControlText(TBitmap& bmp, const std::string& text, bool enabled, const TRect& r, unsigned flags,
                      TsCommonData* skinData, QWidget* wnd, bool hot, const QFont& font);

// The size DrawText with DT_CALCRECT gives a text in a rectangle width
// wide (a width of 0 or less measures one line).
TPoint MeasureText(const QFont& font, const std::string& text, int width, unsigned flags);

// Draws the cache onto the window at (x, y); only valid while the window
// handles its paint event.
void CopyCacheToWindow(QWidget* wnd, const TBitmap& cache, int x = 0, int y = 0);

// Paints the window from the skin data's cache, rebuilt first by
// prepareCache when the background changed or the window's size no longer
// matches it; only valid while the window handles its paint event.
void PaintWndFromCache(QWidget* wnd, TsCommonData& skinData, const std::function<void()>& prepareCache);

// The mask of a section by name, or nullptr.
const TsMaskData* SectionMask(const TsSkinManager* manager, const std::string& section, const std::string& key);

// Copies what lies under the window into r of the bitmap (the parent's image
// at the window's place shifted by offset, else the parent's colour).
void FillParentBackground(TBitmap& bmp, const TRect& r, const TCacheInfo& parent, const TPoint& offset = {0, 0});

// The text a window shows now (a button's or label's text, else its title),
// in code page 1251. Widgets change their text without telling anybody, so
// painters read it afresh.
std::string WindowCaption(const QWidget* wnd);

// Draws a picture (an icon's pixmap) through its alpha with its top-left at.
void DrawImageOnBitmap(TBitmap& bmp, const QImage& image, TPoint at);
// Draws an icon in the box of the button's icon size whose top-left is at:
// an icon that has no picture as large as the box lies in its middle.
void DrawIconInBox(TBitmap& bmp, const QIcon& icon, QSize box, QIcon::Mode mode, TPoint at);
