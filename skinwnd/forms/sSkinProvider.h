#pragma once
// The skin provider of a form: while a skin is on, the form becomes a
// frameless top-level window whose contents margins hold the frame the
// provider paints itself (border, caption with icon, text and title
// buttons, the menu line behind the form's menu bar); the window is cut to
// the skin's corners with a mask. Without a skin, or switched off, the form
// is exactly as it was: flags, margins, mask and size are given back.
#include "skin/forms/sCommonData.h"
#include "skin/forms/sSkinnedForms.h"
#include "skin/forms/sVclUtils.h"
#include "skinwnd/acTitleAnimation.h"
#include "skinwnd/forms/acAddedTitle.h"
#include "skinwnd/sSkinProviderRules.h"

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QImage>
#include <QRegion>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QMenuBar;
class QMouseEvent;
class QShortcut;
class TacCtrlAdapter;
class TacDragOutline;
class TsSkinManagerComponent;
class TsSystemMenu;
class TacBorderForm;
class TsMDIForm;
class QStyle;
class TSkinCommandEvent;

// One title button's paint and tracking state.
struct TitleButtonData {
    int State = 0; // 0 normal, 1 hot, 2 pressed
    int ImageIndex = -1;
    TRect Rect{};
    bool BigIcon = false;
    int GlowId = -1;
    // The window of GlowId, which tells whether the glow in that slot is
    // still this button's.
    QPointer<QWidget> GlowForm;
    int HitCode = 0;
};

// A button of the form's own, drawn in the caption left of the system ones.
struct TsTitleButton {
    std::string Name = "TsTitleButton";
    std::string Hint; // code page 1251
    bool Enabled = true;
    bool Visible = true;
    bool UseSkinData = true;
    TBitmap Glyph;
    std::function<void(TsTitleButton&, TPoint)> OnMouseDown, OnMouseUp;
    TitleButtonData Data;
};

// A hit test of the form's frame offered to the form's owner: the point in
// form coordinates, and the hit code it answers (0 leaves it to the frame).
struct TWMNCHitTest {
    TPoint Pos{};
    int Result = 0;
};

struct TsTitleIcon {
    TBitmap Glyph;
    int Width = 0, Height = 0; // 0: from the caption height
};

class TsSkinProvider : public QObject, public TacFormProvider {
public:
    // Takes over the top-level widget's frame; a provider the form had
    // already is deleted, so the newest one serves.
    explicit TsSkinProvider(QWidget* form);
    ~TsSkinProvider() override;

    QWidget* Form() const { return form_; }
    TsCommonData& SkinData() { return *skinData_; }

    // Published properties.
    bool DrawNonClientArea() const override { return drawNonClientArea_; }
    void SetDrawNonClientArea(bool value);
    TAlignment CaptionAlignment() const { return captionAlignment_; }
    void SetCaptionAlignment(TAlignment value);
    bool ShowAppIcon() const { return showAppIcon_; }
    void SetShowAppIcon(bool value);
    const std::string& TitleSkin() const { return titleSkin_; }
    void SetTitleSkin(const std::string& value);
    const std::string& MenuLineSkin() const { return menuLineSkin_; }
    void SetMenuLineSkin(const std::string& value);
    TsGripMode GripMode() const { return gripMode_; }
    void SetGripMode(TsGripMode value);
    // The size grip shows now, and where its image lies (form coordinates);
    // a skin without a grip image shows none.
    bool GripVisible() const;
    TPoint GripPosition() const;
    // A form moved by its caption snaps to the work area of its screen.
    bool ScreenSnap = false;
    int SnapBuffer = 10;
    // rmBorder: moving and sizing drag an outline, and the form takes its
    // new bounds on release. Read when a drag starts.
    TsResizeMode ResizeMode = rmStandard;
    // The outline of a running rmBorder drag, or nullptr.
    QWidget* DragOutline() const;
    // The form's background colour follows the skin's global colour.
    bool UseGlobalColor() const { return useGlobalColor_; }
    void SetUseGlobalColor(bool value);
    // The system menu carries the skin-selection submenu.
    bool MakeSkinMenu = false;
    // Asked by the control adapter before it skins a child control.
    std::function<void(QWidget* item, bool& canBeAdded, std::string& skinSection)> OnSkinItem;
    // Asked first by every hit test of the frame while the extended border
    // is shown; a non-zero Result is the hit code.
    std::function<void(TWMNCHitTest&)> OnExtHitTest;
    TsTitleIcon TitleIcon;
    std::vector<TsTitleButton> TitleButtons;
    // Tells the provider that a user button's look or visibility changed.
    void TitleButtonsChanged();
    TacAddedTitle AddedTitle;

    // The extended border: asked for by the manager; off for forms inside
    // others, without a border or without translucent windows.
    bool AllowExtBorders() const { return allowExtBorders_; }
    void SetAllowExtBorders(bool value);
    void SetExtBorders(bool asked);
    TacBorderForm* BorderForm() const { return borderForm_.get(); }

    // Caption-button fades: started by each change of a button's look
    // while glowing is allowed or the extended border is shown, stepped by
    // one 12 ms timer and composed into the frame.
    void RepaintButton(int code);
    TacSBAnimation* ButtonAnimation(int code) const;
    const QTimer& AnimationTimer() const { return animationTimer_; }
    void TickAnimations();
    void StopOwnerAnimations();

    // Set while the form is shown with the manager's show animation.
    bool ShowAnimationRunning() const { return showAnimationRunning_; }

    // The form as the frame rules see it.
    TacFormTraits Traits() const;
    // Whether the frame is painted by the provider now.
    bool FrameActive() const { return frameActive_; }
    // The frame's sides as contents margins.
    TRect FrameMargins() const;
    int FormBorderWidth() const;
    int CaptionHeight() const;
    // How far the extended border moves the caption's contents down: the
    // skin's shadow offset for the text and icon, for the buttons only when
    // the skin centres its extended frame.
    int CaptionShift(bool buttons) const;
    int MenuHeight() const;
    int TitleButtonWidth(const TitleButtonData& button) const;
    int TitleButtonHeight() const;
    int TitleIconWidth() const;
    int TitleIconHeight() const;
    int TitleButtonsWidth() const;
    TRect CaptionIconRect() const;
    // Where the pointer is, as a hit code; sets the hot button.
    int HitTest(TPoint formPoint);
    // The caption's text font: the platform's font of window titles.
    QFont CaptionFont() const;
    // The hit code alone, the hot button left as it is.
    int FrameCode(TPoint formPoint) const;
    TacFrameLayout Layout() const;

    // The frame cache (the whole form painted by the skin) and its repaint.
    const TBitmap* FrameCache() const { return skinData_->CacheBmp.get(); }
    void PaintFormCache();
    // Painting the form's frame and client background from the cache.
    void PaintFrame(QWidget* target);
    // The window region's cut-outs, in form coordinates.
    const std::vector<TRect>& RegionRects() const { return regionRects_; }
    void FillRegionRects();
    QRegion CreateFormRgn() const;
    void SetFormRgn();

    // Hot and pressed title buttons (hit codes; 0 none).
    int CurrentButton() const { return currentButton_; }
    bool ButtonPressed() const { return buttonPressed_; }
    void SetHotButton(int code, bool repaint = true);
    void SetPressedButton(int code);
    TitleButtonData* ButtonByCode(int code);

    // The user's view of the frame changed: repaint it when shown.
    void RepaintFrame();

    // The skinned system menu (made with the skin, kept with the provider)
    // and where it opens: at a point of the screen, or below the title icon.
    TsSystemMenu* SystemMenu() const;
    void ShowSystemMenu(const QPoint& globalPos);
    void ShowSystemMenuBelowIcon();
    // The adapter of the form's child controls while the form is skinned.
    TacCtrlAdapter* Adapter() const { return adapter_.get(); }

    // A form holding an MDI area gets the area's skin object while skinned
    // (made with the skin, renewed on each skin change, freed when the skin
    // goes or with the provider). A provider whose form is an MDI
    // sub-window paints the sub-window's frame: the sub-window lays itself
    // out by a style of the provider's and keeps its own flags.
    TsMDIForm* MDIForm() const { return mdiForm_.get(); }
    bool IsMDIChild() const;
    // The masks of the buttons a maximised sub-window shows on this MDI
    // form's menu line (-1 where the skin has none).
    struct MDIChildMasks {
        int Min = -1, Restore = -1, Close = -1;
    };
    MDIChildMasks MDIChildButtonMasks() const;

    // TacFormProvider
    TsSkinManager* SkinManager() const override { return skinData_->SkinManager(); }
    void SetSkinChanging(bool value) override;
    void UpdateFrame() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // sSkinProviderProc.cpp: the form's events.
    bool WndProc(QEvent* event);
    bool SkinCommand(TSkinCommandEvent& m);
    bool SkinnedCommand(TSkinCommandEvent& m);
    bool Paint(QEvent* event);
    void StateChanged();

    // sSkinProviderEffects.cpp: the extended border and the fades.
    bool Showing(QEvent* event);
    void StartButtonAnimation(TitleButtonData& button, int state, int iterations, bool fadeIn);
    bool ComposeAnimation(TBitmap& bmp, const TitleButtonData& button, bool enabled);
    void PaintAddedTitle(TBitmap& bmp, int left, int right);
    void TrackBorder(QEvent* event);
    void UpdateExtBorders();
    // The halo around a hot minimise, maximise or close button.
    void UpdateButtonGlow(TitleButtonData& button);
    int ButtonGlowMargin(const TitleButtonData& button) const;
    void HideButtonGlow(TitleButtonData& button);
    void HideButtonGlows();
    // The form moved, changed or went: no button stays hot under a halo
    // that would lie where the button was.
    void DropHotButton();

    // sSkinProvider.cpp: the skin arriving and leaving.
    void PrepareForm();
    void RemoveSkin();
    void InitTitleButtonMasks();
    void ApplyFormColor();
    void RestoreFormColor();
    TsSkinManagerComponent* ManagerComponent() const;

    // sSkinProviderMDI.cpp: the MDI area of the form, and the frame of a
    // form that is an MDI sub-window.
    void InitMDIForm(bool create);
    void ApplyChildStyle();
    void RestoreChildStyle();
    bool ChildActive() const;

    // sSkinProviderSysMenu.cpp.
    void CreateSystemMenu();
    void SetKeyMenu(bool active);

    // sSkinProviderAdapter.cpp: the child controls' adapter.
    void CreateAdapter();
    void RemoveAdapter();
    bool AdaptControlCommand(TSkinCommandEvent& m);
    void ChildPolished(QObject* child);
    void AdaptNewControl(QWidget* control);
    void AdaptShownForm();

    // sSkinProviderFrame.cpp: the frameless window and its margins.
    void ApplyFrame();
    void RestoreFrame();
    void ResizeForMargins(const TRect& from, const TRect& to);
    QMenuBar* MenuBar() const;
    void SkinFormMenus(bool active);

    // sSkinProviderPaint.cpp.
    void PaintFrameBackground(TBitmap& bmp);
    void PaintTitleBar(TBitmap& bmp);
    void PaintTitleIcon(TBitmap& bmp);
    void PaintCaptionText(TBitmap& bmp);
    void PaintTitleButtons(TBitmap& bmp);
    void PaintUserButtons(TBitmap& bmp, int x);
    void PaintTitleButton(TBitmap& bmp, TitleButtonData& button, bool enabled);
    void PaintMenuLine(TBitmap& bmp);
    void PaintGrip(TBitmap& bmp);
    const TsMaskData* GripMask() const;
    int PlaceButton(TitleButtonData& button, int maskIndex, int right);
    int TitleMaskIndex(const char* name) const;
    int TitleSectionIndex() const;
    const TacSkinContent* Content() const;

    // sSkinProviderMouse.cpp.
    bool MousePress(QMouseEvent* e);
    bool MouseRelease(QMouseEvent* e);
    bool MouseMove(QMouseEvent* e);
    bool MouseDoubleClick(QMouseEvent* e);
    bool ToolTip(QEvent* e);
    void ButtonUp(int code, TPoint point);

    // sSkinProviderDrag.cpp: moving and sizing by the caption and the frame,
    // or by the system menu's Move and Size.
    void StartMoveOrResize(int code, QMouseEvent* e);
    bool MenuDrag(QEvent* event);
    void BeginDrag(int code, QPoint globalPos, TacDragRoad road, bool byMenu);
    void DragTo(QPoint globalPos);
    // The drag ends: an outline drag gives the form its bounds; a cancelled
    // one leaves the form as it was.
    void EndDrag(bool apply);
    // The form's new bounds: a move keeps its size.
    void Place(int code, const QRect& bounds);
    bool DragKey(QEvent* event);
    QRect WorkArea(const QRect& bounds) const;

    QPointer<QWidget> form_;
    // The form's own class: a form being destroyed is no longer of it.
    const QMetaObject* formClass_ = nullptr;
    std::unique_ptr<TsCommonData> skinData_;
    bool cacheStale_ = true;
    bool drawNonClientArea_ = true;
    TAlignment captionAlignment_ = taLeftJustify;
    bool showAppIcon_ = true;
    std::string titleSkin_, menuLineSkin_;
    TsGripMode gripMode_ = gmNone;
    bool useGlobalColor_ = true;
    bool formActive_ = true;
    bool skinChanging_ = false;

    // Title buttons: close, maximise, minimise, help.
    TitleButtonData close_, max_, min_, help_;
    int currentButton_ = 0;
    bool buttonPressed_ = false;
    int titleSectionIndex_ = -1, captionSectionIndex_ = -1;
    int titleBarMaskIndex_ = -1; // the form section's "TITLEBAR"
    std::vector<TRect> regionRects_;

    // What the form was before the frame was taken over.
    bool frameActive_ = false;
    Qt::WindowFlags savedFlags_;
    QMargins savedMargins_;
    QRegion savedMask_;
    bool savedMouseTracking_ = false;
    QSize savedMinimum_, savedMaximum_;
    TRect appliedMargins_{0, 0, 0, 0};
    QPalette savedFormPalette_;
    bool hadOwnFormPalette_ = false;
    bool formPaletteSaved_ = false;
    QPointer<QMenuBar> menuBar_;
    QPalette savedMenuPalette_;
    QImage menuStrip_; // the menu line the bar shows now
    bool menuPaletteSaved_ = false;
    bool menuHooked_ = false;

    QPointer<TsSystemMenu> sysMenu_;
    QPointer<QShortcut> keyMenu_; // Alt+Space while the frame is painted
    std::unique_ptr<TacCtrlAdapter> adapter_;
    bool adapting_ = false;

    std::unique_ptr<TsMDIForm> mdiForm_;
    std::unique_ptr<QStyle> childStyle_;
    QPointer<QStyle> savedStyle_; // the sub-window's own style, or none

    std::unique_ptr<TacBorderForm> borderForm_;
    bool allowExtBorders_ = true;
    bool showAnimationRunning_ = false;
    std::map<int, std::unique_ptr<TacSBAnimation>> animations_;
    QTimer animationTimer_;

    // The own move or resize drag: the hit code it started on, where, the
    // form's bounds then (in its parent's coordinates) and the bounds it
    // gives now.
    // A drag begun by the menu follows the pointer with no button held
    // until a click ends it.
    int dragCode_ = 0;
    QPoint dragStart_;
    QRect dragGeometry_, dragBounds_;
    std::unique_ptr<TacDragOutline> dragOutline_;
    bool dragByMenu_ = false;
};

// The provider of a form, or nullptr.
TsSkinProvider* GetSkinProvider(QWidget* form);
