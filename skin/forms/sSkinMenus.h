#pragma once
// Menus painted by the skin. The skin manager owns one TsSkinableMenus;
// while a skin is active it gives every menu bar and popup menu of the
// application its menu style, which measures and paints the items by the
// skin, and watches each popup to build the popup's background and to cut
// the popup's see-through corners away with a mask. Unhooking gives back
// only what hooking took: the menu's previous style and mask.
#include "platform/Bitmap.h"
#include "skin/sSkinMenuItems.h"

#include <QEvent>
#include <QFont>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRegion>
#include <QStyle>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;
class TacMenuStyle;
class TsSkinManager;
class TsSkinableMenus;

// The published menu extras of the skin manager.
class TacMenuSupport {
public:
    std::string IcoLineSkin;
    bool UseExtraLine = false;
    int ExtraLineWidth = 32;
    QFont ExtraLineFont;
};

// Called after an item is painted into its work bitmap.
using TsMenuManagerDrawItemEvent =
    std::function<void(QAction* item, TBitmap& canvas, TsMenuItemType type, QStyle::State state, const TRect& r)>;
// Asked for the extra line of a popup, with its first item: the section,
// the text and the glyph may be changed; clearing show drops the glyph.
using TacGetExtraLineData =
    std::function<void(QAction* firstItem, std::string& section, std::string& text, TBitmap& glyph, bool& show)>;

// The background of one popup, built on its first measure or paint.
struct TacMenuBackground {
    QPointer<QWidget> Window;
    QPointer<QAction> FirstItem;
    TBitmap Bmp;
    QImage Image; // the bitmap as painters draw it
    bool ExtraLine = false;
    // The popup's mask was set from this background.
    bool Framed = false;
    // The see-through parts of the border, cut away by the popup's mask.
    std::vector<TRect> RegionRects;
};

// The private messages of the menu painter to the application: 0xBCB3
// asks for the frame of an item's popup, 0xBCB4 for that of a popup.
constexpr int WM_MENUITEMFRAME = 0xBCB3;
constexpr int WM_MENUWINDOWFRAME = 0xBCB4;
class TacMenuFrameEvent : public QEvent {
public:
    // sender, when given, learns when the message is gone (answered or not).
    TacMenuFrameEvent(int message, QAction* item, QWidget* window, TsSkinableMenus* sender = nullptr);
    ~TacMenuFrameEvent() override;
    int Message() const { return message_; }
    QAction* Item() const { return item_; }
    QWidget* Window() const { return window_; }

private:
    int message_;
    QPointer<QAction> item_;
    QPointer<QWidget> window_;
    QPointer<TsSkinableMenus> sender_;
};
QEvent::Type MenuFrameEventType();

class TsSkinableMenus : public QObject {
public:
    TsSkinableMenus(TsSkinManager* manager, TacMenuSupport* support);
    ~TsSkinableMenus() override;

    // Published settings. Alignment of captions: left, right or centred.
    Qt::Alignment Alignment = Qt::AlignLeft;
    int BevelWidth = 0;
    int BorderWidth = 3;
    QFont CaptionFont;
    int Margin = 2;
    int Spacing = 6;
    // The manager's SkinnedPopups: menus are hooked only while it is set.
    bool SkinnedPopups = true;
    TsMenuManagerDrawItemEvent OnDrawItem;
    TacGetExtraLineData OnGetExtraLineData;
    // The stored width when set (>= 0), else the left width of the border
    // mask of "MAINMENU" (3 when that is not above 0, 0 without the mask).
    int SkinBorderWidth();
    void SetSkinBorderWidth(int value) { skinBorderWidth_ = value; }

    bool Active() const { return active_; }
    void SetActive(bool value);
    // Active := the manager has a skin.
    void UpdateActive();
    // Hooks (or unhooks) every menu bar and popup menu of the application;
    // menus are hooked only while the manager skins popups.
    void HookAllMenus(bool active);
    void HookMainMenu(QMenuBar* menu, bool hook);
    // A popup and its sub-menus.
    void HookPopupMenu(QMenu* popup, bool hook);
    bool IsHooked(const QWidget* menu) const { return hooked_.count(menu) != 0; }

    // Drops every cached popup background.
    void ClearMenuBackgrounds();
    // The background of the popup (by its first item, or by the window
    // when item is null); built when missing and a width is given.
    TacMenuBackground* FindMenuBackground(QAction* item, int width, int height, QWidget* window);
    // Answers the private messages: the item's or window's popup gets its
    // frame (background and mask) and is repainted.
    void AnswerFrameMessage(const TacMenuFrameEvent& message);

    // What the menu style asks.
    TsSkinManager* Manager() const { return manager_; }
    const TacMenuSupport& Support() const { return *support_; }
    bool Skinning() const;
    int PopupBorder();
    // The extra line's section and text for a popup's first item.
    void PrepareExtraLine(QAction* firstItem, bool& extraLine);
    const std::string& ExtraLineSection() const { return extraLineSection_; }
    const std::string& ExtraLineText() const { return extraLineText_; }
    const TBitmap& ExtraLineGlyph() const { return extraLineGlyph_; }
    // Posts the item's frame request unless one is already queued.
    void PostFrameRequest(QAction* item);
    bool FrameRequestQueued() const { return framePosted_; }
    void FrameRequestGone() { framePosted_ = false; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct THookedMenu {
        QPointer<QWidget> Widget;
        bool HadMask = false;
        QRegion PreviousMask;
        QRegion OwnMask;
    };
    void Hook(QWidget* menu);
    void Unhook(QWidget* menu);
    void Remeasure(QWidget* menu);
    void HookMenuTree(QMenu* popup, bool hook, std::set<const QMenu*>& seen);
    void SetPopupRegion(QWidget* window, const TacMenuBackground& background);
    void DropBackground(const QWidget* window);

    TsSkinManager* manager_;
    TacMenuSupport* support_;
    std::unique_ptr<TacMenuStyle> style_;
    std::map<const QWidget*, THookedMenu> hooked_;
    std::vector<std::unique_ptr<TacMenuBackground>> backgrounds_;
    std::string extraLineSection_ = "EXTRALINE";
    std::string extraLineText_ = "Use OnGetExtraLineData event";
    TBitmap extraLineGlyph_;
    int skinBorderWidth_ = -1;
    bool active_ = false;
    bool settingRegion_ = false;
    bool framePosted_ = false;
};

// The first item of the menu an item belongs to (the item itself when it
// belongs to none).
QAction* MenuFirstItem(QAction* item);
