// The provider's extended border window, the fade of a form that shows
// and the fades of its caption buttons.
#include "skinwnd/forms/sSkinProvider.h"

#include "skin/acBitmapHelpers.h"
#include "skin/acBlit.h"
#include "skin/acFade.h"
#include "skin/acFastPixels.h"
#include "skin/acMaskPaint.h"
#include "skin/forms/acGlow.h"
#include "skin/forms/acSkinText.h"
#include "skin/forms/sSkinManager.h"
#include "skin/sCommonDataTypes.h"
#include "skinwnd/forms/acBorderForm.h"
#include "skinwnd/forms/sFrameAdapter.h"

#include <QCursor>
#include <QEvent>
#include <QWidget>

#include <utility>
#include <vector>

void TsSkinProvider::SetAllowExtBorders(bool value)
{
    if (value == allowExtBorders_)
        return;
    allowExtBorders_ = value;
    // The frame's width follows the border: the margins are laid again.
    if (frameActive_)
        ApplyFrame();
    else
        UpdateExtBorders();
}

void TsSkinProvider::SetExtBorders(bool asked)
{
    const TacFormTraits t = Traits();
    const bool wanted = asked && allowExtBorders_ && LayeredWindowsAvailable() && frameActive_ &&
                        drawNonClientArea_ && form_ && form_->isWindow() && t.BorderStyle != bsNone && !t.MDIChild;
    if (!wanted) {
        borderForm_.reset();
        return;
    }
    if (!borderForm_)
        borderForm_ = std::make_unique<TacBorderForm>(this);
    cacheStale_ = true;
    borderForm_->UpdateBorderWnd(true, 255);
}

// The border follows the form; a form that is moved or hidden drops its
// fades, whose pictures would lie where the buttons were. A halo stays
// where it was shown, so a form that moves, changes its size or state,
// hides or loses the focus drops it with the hot button.
void TsSkinProvider::TrackBorder(QEvent* event)
{
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Hide:
        DropHotButton();
        StopOwnerAnimations();
        break;
    case QEvent::Resize:
    case QEvent::WindowStateChange: DropHotButton(); break;
    case QEvent::ActivationChange:
        if (form_ && !form_->isActiveWindow())
            DropHotButton();
        break;
    default: break;
    }
    if (!borderForm_)
        return;
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::WindowStateChange: borderForm_->UpdateBorderWnd(false, 255); break;
    case QEvent::Resize:
    case QEvent::ActivationChange: borderForm_->UpdateBorderWnd(true, 255); break;
    default: break;
    }
}

// A form that shows before it has painted itself by the skin (its frame
// cache stale or empty) takes the manager's show animation: it appears
// with its frame and background alone, its controls frozen, and the
// controls fade in over that picture. The extended border follows once the
// fade is over.
bool TsSkinProvider::Showing(QEvent* event)
{
    const TBitmap* cache = skinData_->CacheBmp.get();
    if (!cacheStale_ && cache && !cache->Empty()) {
        TrackBorder(event);
        StateChanged();
        return false;
    }
    TsSkinManager* manager = SkinManager();
    const TacFormAnimation* animation =
        manager ? ShowAnimation(manager->AnimEffects(), Traits(), !form_->isWindow()) : nullptr;
    // One fade at a time: a form shown while another runs shows at once,
    // as does one whose fade is too short for a single frame (the default).
    if (!animation || FadeStepCount(animation->Time) == 0 || OutputWindow()) {
        skinData_->Updating = false;
        TrackBorder(event);
        StateChanged();
        return false;
    }
    const int time = animation->Time;
    skinData_->Updating = true;
    showAnimationRunning_ = true;
    // Only controls that draw now are frozen, and only those thawed.
    std::vector<QPointer<QWidget>> frozen;
    for (QWidget* child : form_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isVisible() && !child->isWindow() && child->updatesEnabled() && !TsFrameAdapter::IsFrame(child)) {
            child->setUpdatesEnabled(false);
            frozen.emplace_back(child);
        }
    StateChanged();
    // Shown first: the picture of the bare form is where the fade starts.
    static_cast<QObject*>(form_.data())->event(event);
    ShowOutputOver(form_);
    for (const QPointer<QWidget>& child : frozen)
        if (child)
            child->setUpdatesEnabled(true);
    // The controls paint again: the fade ends on the whole form.
    skinData_->Updating = false;
    const QPointer<TsSkinProvider> alive(this);
    AnimateRepaint(form_, time);
    if (!alive || !form_)
        return true;
    showAnimationRunning_ = false;
    SetFormRgn();
    TrackBorder(event);
    RepaintFrame();
    return true;
}

void TsSkinProvider::RepaintButton(int code)
{
    TitleButtonData* button = ButtonByCode(code);
    if (button)
        UpdateButtonGlow(*button);
    const bool animate = borderForm_ || (SkinManager() && SkinManager()->AllowGlowing());
    if (!button || !animate) {
        RepaintFrame();
        return;
    }
    switch (button->State) {
    case 1: StartButtonAnimation(*button, 1, 10, true); break;
    case 2: StartButtonAnimation(*button, 2, 1, true); break;
    default: StartButtonAnimation(*button, 0, 10, false); break;
    }
    RepaintFrame();
}

// The skin's glow margin of a minimise, maximise or close button, or -1
// when the skin gives that button no glow.
int TsSkinProvider::ButtonGlowMargin(const TitleButtonData& button) const
{
    const TacSkinContent* skin = Content();
    if (!skin)
        return -1;
    const TsSkinData& d = skin->SkinData;
    const auto [glow, margin] = button.HitCode == HTCLOSE      ? std::pair{d.CloseGlow, d.CloseGlowMargin}
                                : button.HitCode == HTMAXBUTTON ? std::pair{d.MaxGlow, d.MaxGlowMargin}
                                : button.HitCode == HTMINBUTTON ? std::pair{d.MinGlow, d.MinGlowMargin}
                                                                : std::pair{0, 0};
    return glow > 0 ? margin : -1;
}

// A hot button is shown with the skin's halo around it, drawn from the
// mask named after the button's own mask with "GLOW"; any other state
// takes the halo away.
void TsSkinProvider::UpdateButtonGlow(TitleButtonData& button)
{
    const TacSkinContent* skin = Content();
    const int margin = ButtonGlowMargin(button);
    const bool wanted = button.State == 1 && margin >= 0 && SkinManager() && SkinManager()->AllowGlowing() && form_
                        && form_->isWindow() && form_->isVisible() && !Traits().MDIChild && skin
                        && skin->IsValidImageIndex(button.ImageIndex) && button.Rect.Width() > 0
                        && button.Rect.Height() > 0;
    if (!wanted) {
        HideButtonGlow(button);
        return;
    }
    if (GlowOwnedBy(button.GlowId, button.GlowForm))
        return; // shown already
    HideButtonGlow(button);
    const TRect& b = button.Rect;
    const QPoint at = form_->mapToGlobal(QPoint(b.Left, b.Top));
    const TRect r{at.x(), at.y(), at.x() + b.Width(), at.y() + b.Height()};
    QWidget* host = borderForm_ && borderForm_->AForm() ? borderForm_->AForm() : form_.data();
    const std::string mask = skin->ma[size_t(button.ImageIndex)].PropertyName + "GLOW";
    button.GlowId = ShowGlow(r, TRect{0, 0, b.Width(), b.Height()}, "GLOBALINFO", mask, margin, 255, host,
                             SkinManager());
    button.GlowForm = GlowWindow(button.GlowId);
}

void TsSkinProvider::HideButtonGlow(TitleButtonData& button)
{
    if (GlowOwnedBy(button.GlowId, button.GlowForm))
        HideGlow(button.GlowId);
    button.GlowId = -1;
    button.GlowForm = nullptr;
}

void TsSkinProvider::HideButtonGlows()
{
    for (TitleButtonData* button : {&close_, &max_, &min_, &help_})
        HideButtonGlow(*button);
    for (TsTitleButton& b : TitleButtons)
        HideButtonGlow(b.Data);
}

void TsSkinProvider::DropHotButton()
{
    HideButtonGlows();
    if (currentButton_ > 0 && !buttonPressed_)
        SetHotButton(0);
}

void TsSkinProvider::StartButtonAnimation(TitleButtonData& button, int state, int iterations, bool fadeIn)
{
    auto& slot = animations_[button.HitCode];
    if (!slot) {
        slot = std::make_unique<TacSBAnimation>();
        const int code = button.HitCode;
        slot->OnFrame = [this] { RepaintFrame(); };
        slot->MouseOutside = [this, code] {
            const TitleButtonData* b = ButtonByCode(code);
            const QPoint p = form_ ? form_->mapFromGlobal(QCursor::pos()) : QPoint();
            return !b || !PtInRect(b->Rect, TPoint{p.x(), p.y()});
        };
        slot->OnMouseLeave = [this] { SetHotButton(0); };
    }
    slot->Start(state, iterations, fadeIn);
    if (slot->TimerEnabled() && !animationTimer_.isActive()) {
        animationTimer_.setInterval(TacSBAnimation::Interval);
        QObject::connect(&animationTimer_, &QTimer::timeout, this, &TsSkinProvider::TickAnimations,
                         Qt::UniqueConnection);
        animationTimer_.start();
    }
}

TacSBAnimation* TsSkinProvider::ButtonAnimation(int code) const
{
    const auto it = animations_.find(code);
    return it == animations_.end() ? nullptr : it->second.get();
}

void TsSkinProvider::TickAnimations()
{
    // A tick may reach the owner (the pointer left a button) and start or
    // redirect fades: step a snapshot of the running ones.
    std::vector<int> codes;
    for (const auto& [code, animation] : animations_)
        if (animation && animation->TimerEnabled())
            codes.push_back(code);
    for (int code : codes)
        if (TacSBAnimation* animation = ButtonAnimation(code))
            animation->Tick();
    bool running = false;
    for (auto it = animations_.begin(); it != animations_.end();) {
        if (!it->second || it->second->Finished()) {
            it = animations_.erase(it);
            continue;
        }
        running = running || it->second->TimerEnabled();
        ++it;
    }
    if (!running)
        animationTimer_.stop();
}

void TsSkinProvider::StopOwnerAnimations()
{
    if (animations_.empty())
        return;
    animations_.clear();
    animationTimer_.stop();
    RepaintFrame();
}

// The normal look with the new one over it at the fade's alpha; false when
// the button has no fade showing.
bool TsSkinProvider::ComposeAnimation(TBitmap& bmp, const TitleButtonData& button, bool enabled)
{
    const TacSBAnimation* animation = ButtonAnimation(button.HitCode);
    const TacSkinContent* skin = Content();
    if (!animation || !skin || !skin->IsValidImageIndex(button.ImageIndex))
        return false;
    const TsMaskData& mask = skin->ma[size_t(button.ImageIndex)];
    const TRect r = button.Rect;
    const bool inactiveRow = !formActive_ || !enabled;
    const TBitmap under = [&] {
        TBitmap copy;
        copy.SetPixelFormat(bmp.PixelFormat());
        copy.SetSize(r.Width(), r.Height());
        CopyBitmapRect(copy, 0, 0, r.Width(), r.Height(), bmp, r.Left, r.Top);
        return copy;
    }();
    DrawTitleGlyph(bmp, {r.Left, r.Top}, 0, mask, inactiveRow);
    const int target = animation->Target();
    if (!animation->Visible() || target <= 0 || !enabled)
        return true;
    TBitmap look = under;
    DrawTitleGlyph(look, {0, 0}, target, mask, false);
    // The blend rounds: a fully shown fade is the new look itself.
    if (animation->Alpha() >= 255)
        CopyBitmapRect(bmp, r.Left, r.Top, r.Width(), r.Height(), look, 0, 0);
    else
        BlendRect(bmp, look, 255 - animation->Alpha(), {r.Left, r.Top}, TRect{0, 0, r.Width(), r.Height()});
    return true;
}

void TsSkinProvider::PaintAddedTitle(TBitmap& bmp, int left, int right)
{
    if (AddedTitle.Text().empty() || left + 12 >= right)
        return;
    const TacSkinContent* skin = Content();
    const int title = TitleSectionIndex();
    TColor color = AddedTitle.FontColor();
    if (skin && skin->IsValidSkinIndex(title)) {
        const TsGeneralData& section = skin->gd[size_t(title)];
        const TColor own = formActive_ ? section.FontColor : section.HotFontColor;
        if (color == clNone)
            color = own;
        else if (!formActive_)
            color = MixColors(color, own, 0.5);
    } else if (color == clNone) {
        color = 0;
    }
    const TRect r{left + 4, 0, right, FormBorderWidth() + CaptionHeight()};
    DrawTextOnBitmap(bmp, AddedTitle.Text(), r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS,
                     AddedTitle.Font(), color);
}

void TsSkinProvider::UpdateExtBorders()
{
    const auto* manager = dynamic_cast<const TsSkinManagerComponent*>(SkinManager());
    SetExtBorders(manager && manager->ExtendedBorders());
}
