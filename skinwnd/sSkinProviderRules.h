#pragma once
// The decisions of a skinned form's frame that need no window: which title
// buttons it shows and enables, the non-client hit test, the caption icon
// size and the snapping to the work area. The window side measures the
// form and asks these.
#include "platform/Bitmap.h"
#include "skin/acAnimEffects.h"

#include <vector>

// The class library's border styles and border icons of a form.
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };

struct TacFormTraits {
    TFormBorderStyle BorderStyle = bsSizeable;
    unsigned BorderIcons = biSystemMenu | biMinimize | biMaximize;
    TWindowState WindowState = wsNormal;
    bool MDIChild = false;
    // The provider took the system menu style over: the form shows the
    // skin's own caption buttons.
    bool SysMenuManaged = true;
};

bool VisibleClose(const TacFormTraits& f);
bool VisibleMax(const TacFormTraits& f);
bool VisibleMin(const TacFormTraits& f);
bool EnabledMax(const TacFormTraits& f);
bool EnabledMin(const TacFormTraits& f);
bool EnabledRestore(const TacFormTraits& f);
// The caption buttons the window system would show: none without a system
// menu or a close button, else close, help and the visible size buttons.
int SysButtonCount(const TacFormTraits& f);
// The form has a caption bar.
bool HasCaption(const TacFormTraits& f);
// The large title-button masks and the gaps between them.
bool BigTitleIcons(const TacFormTraits& f);
// The frame can be dragged to another size.
bool Sizeable(const TacFormTraits& f);

// The animation a form shows itself with: the manager's FormShow setting
// for a normal or sizeable frame, DialogShow for the other frames; none for
// an MDI sub-window or a form inside another window, nor while that setting
// is off.
const TacFormAnimation* ShowAnimation(const TacAnimEffects& effects, const TacFormTraits& form, bool insideWindow);

// The size grip in the bottom right corner of the client area.
enum TsGripMode { gmNone, gmRightBottom };
// Shown only where dragging it can size the form: a sizeable frame that is
// not maximised.
bool GripVisible(TsGripMode mode, const TacFormTraits& f);
// The grip image's top left corner in a frame picture of the given size:
// one pixel inside the right and bottom frame sides (each the border with
// the margin beyond it).
TPoint GripPosition(int frameWidth, int frameHeight, int gripWidth, int gripHeight, int rightSide, int bottomSide);

// Stand-ins for the window system's frame metrics.
enum : int {
    SM_CXFRAME = 4,     // sizeable frame
    SM_CXDLGFRAME = 3,  // fixed frame
    SM_CYCAPTION = 23,
    SM_CYSMCAPTION = 17,
    SM_CYMENU = 20,
};

// Width of the system frame of such a form (0 without a border).
int SysBorderWidth(const TacFormTraits& f);
// The caption's height: 0 without a caption; the small caption of tool
// windows.
int SysCaptionHeight(const TacFormTraits& f);

// The caption icon's side for a caption of height h.
int IconSizeForCaption(int h);

// Non-client hit codes.
enum : int {
    HTNOWHERE = 0,
    HTCLIENT = 1,
    HTCAPTION = 2,
    HTSYSMENU = 3,
    HTMENU = 5,
    HTMINBUTTON = 8,
    HTMAXBUTTON = 9,
    HTLEFT = 10,
    HTRIGHT = 11,
    HTTOP = 12,
    HTTOPLEFT = 13,
    HTTOPRIGHT = 14,
    HTBOTTOM = 15,
    HTBOTTOMLEFT = 16,
    HTBOTTOMRIGHT = 17,
    HTCLOSE = 20,
    HTHELP = 21,
    HTUSERBUTTON = 1000, // + the user button's index
};

struct TacUserButtonPlace {
    int Index = 0;
    TRect Rect{};
    bool Enabled = true;
};

// Everything the hit test reads of a form, in form coordinates.
struct TacFrameLayout {
    TacFormTraits Form;
    int Width = 0, Height = 0;
    int BorderWidth = 0;   // the frame around the form
    int CaptionHeight = 0; // without the frame
    int MenuHeight = 0;    // the menu band below the caption, 0 without a menu
    TRect CloseRect{}, MaxRect{}, MinRect{}, HelpRect{}, IconRect{};
    std::vector<TacUserButtonPlace> UserButtons; // visible ones, laid out
    // The size grip answers in its box (right of and below GripCorner).
    bool GripActive = false;
    TPoint GripCorner{};
};

bool PtInRect(const TRect& r, TPoint p);

// The hit code of a point of the form.
int FrameHitTest(const TacFrameLayout& layout, TPoint p);

// Pos becomes Edge - Size when the far side (Pos + Size) is closer to Edge
// than Buffer.
void SnapCoordinate(int& pos, int edge, int buffer, int size);
// Where a form of the given size moved to pos comes to lie on the work
// area: a side that ends closer than buffer to the area's side is put on it,
// right, bottom, left and top in that order (a form wider or taller than the
// area keeps its left or top side on the area). A form put at (0, 0) stays
// there.
TPoint SnapToWorkArea(TPoint pos, int width, int height, const TRect& work, int buffer);

// How moving and sizing by the frame shows: the window system's own way
// (the form follows the pointer), or an outline dragged alone, the form
// taking its new bounds once, on release.
enum TsResizeMode { rmStandard, rmBorder };

// Who drags a form by the caption or a frame side: the window system, or
// the provider itself where it must act on every step (the outline of
// rmBorder; the snap of a caption move with screen snap on a top-level
// form). Neither step can be taken where the program cannot place its own
// top-level windows: the window system drags then, live and unsnapped.
enum TacDragRoad { drSystem, drOwnLive, drOwnOutline };
TacDragRoad DragRoad(int code, TsResizeMode mode, bool screenSnap, bool topLevel, bool canPlaceWindows);

struct TacSizeLimits {
    int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;
};
// The bounds a drag by code gives a form that had start, the pointer having
// travelled by travel: the caption moves the form whole; a frame code moves
// its side or corner (10 left, 11 right, 12 top, 13 top-left, 14 top-right,
// 15 bottom, 16 bottom-left, any other bottom-right), and a side stops where
// the size would leave the limits, the opposite side staying where it is.
TRect DraggedBounds(int code, const TRect& start, TPoint travel, const TacSizeLimits& limits);
