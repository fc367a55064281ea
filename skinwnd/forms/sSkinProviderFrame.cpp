// Taking the form's frame over and giving it back: the frameless flags, the
// margins that hold the painted frame, the size grown by them, the mask cut
// to the skin's corners and the menu bar's background.
#include "skinwnd/forms/sSkinProvider.h"

#include "skin/acBitmapHelpers.h"
#include "skin/forms/sSkinManager.h"

#include <QDialog>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QWindow>

namespace {

QSize Grown(QSize size, const TRect& m, QSize limit)
{
    // An unset limit (0 below, the largest size above) stays unset.
    const int w = size.width() == limit.width() ? size.width() : size.width() + m.Left + m.Right;
    const int h = size.height() == limit.height() ? size.height() : size.height() + m.Top + m.Bottom;
    return {w, h};
}

// Changing the flags of a shown window hides it, and a dialog hidden ends
// its modal loop as rejected: a shown dialog gets its flags in place.
void SetShownFlags(QWidget* form, Qt::WindowFlags flags)
{
    const bool visible = form->isVisible();
    if (visible && qobject_cast<QDialog*>(form) && form->windowHandle()) {
        form->overrideWindowFlags(flags);
        form->windowHandle()->setFlags(flags);
        return;
    }
    form->setWindowFlags(flags);
    if (visible)
        form->show();
}

} // namespace

void TsSkinProvider::ApplyFrame()
{
    const bool child = IsMDIChild();
    if (!form_ || (!form_->isWindow() && !child))
        return;
    if (!frameActive_) {
        savedFlags_ = form_->windowFlags();
        savedMargins_ = form_->contentsMargins();
        savedMask_ = form_->mask();
        savedMouseTracking_ = form_->hasMouseTracking();
        savedMinimum_ = form_->minimumSize();
        savedMaximum_ = form_->maximumSize();
        frameActive_ = true;
        if (child)
            ApplyChildStyle();
        else
            SetShownFlags(form_, savedFlags_ | Qt::FramelessWindowHint);
        // Hot title buttons follow the pointer without a button held.
        form_->setMouseTracking(true);
        appliedMargins_ = {0, 0, 0, 0};
    }
    // The extended border widens the frame the margins hold.
    UpdateExtBorders();
    const TRect margins = FrameMargins();
    if (child) {
        // The sub-window sets its margins and mask from the style.
        appliedMargins_ = margins;
        SkinFormMenus(true);
        cacheStale_ = true;
        FillRegionRects();
        form_->update();
        return;
    }
    ResizeForMargins(appliedMargins_, margins);
    appliedMargins_ = margins;
    form_->setContentsMargins(savedMargins_ + QMargins(margins.Left, margins.Top, margins.Right, margins.Bottom));
    SkinFormMenus(true);
    SetKeyMenu(true);
    cacheStale_ = true;
    FillRegionRects();
    SetFormRgn();
    form_->update();
}

void TsSkinProvider::RestoreFrame()
{
    if (!frameActive_ || !form_) {
        frameActive_ = false;
        return;
    }
    StopOwnerAnimations();
    SetExtBorders(false);
    SkinFormMenus(false);
    SetKeyMenu(false);
    const bool child = IsMDIChild();
    if (!child)
        ResizeForMargins(appliedMargins_, {0, 0, 0, 0});
    frameActive_ = false;
    appliedMargins_ = {0, 0, 0, 0};
    if (child)
        RestoreChildStyle();
    else
        form_->setContentsMargins(savedMargins_);
    if (savedMask_.isEmpty())
        form_->clearMask();
    else
        form_->setMask(savedMask_);
    form_->setMouseTracking(savedMouseTracking_);
    if (!child)
        SetShownFlags(form_, savedFlags_);
    regionRects_.clear();
    currentButton_ = 0;
    buttonPressed_ = false;
    EndDrag(false);
}

// The client keeps its size: the form grows by the frame it now paints
// (and its size limits with it), and shrinks back when the frame goes.
void TsSkinProvider::ResizeForMargins(const TRect& from, const TRect& to)
{
    const int dw = to.Left + to.Right - from.Left - from.Right;
    const int dh = to.Top + to.Bottom - from.Top - from.Bottom;
    if (dw == 0 && dh == 0)
        return;
    const QSize size = form_->size() + QSize(dw, dh);
    form_->setMinimumSize(0, 0);
    form_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (!form_->isMaximized() && !form_->isMinimized() && !form_->isFullScreen())
        form_->resize(size);
    form_->setMinimumSize(Grown(savedMinimum_, to, {0, 0}));
    form_->setMaximumSize(Grown(savedMaximum_, to, {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX}));
}

QMenuBar* TsSkinProvider::MenuBar() const
{
    if (!form_)
        return nullptr;
    if (auto* main = qobject_cast<QMainWindow*>(form_.data()))
        return qobject_cast<QMenuBar*>(main->menuWidget());
    if (QLayout* layout = form_->layout())
        if (auto* bar = qobject_cast<QMenuBar*>(layout->menuBar()))
            return bar;
    return form_->findChild<QMenuBar*>(QString(), Qt::FindDirectChildrenOnly);
}

// The menu bar keeps its place in the form's layout, right under the
// caption; while the frame is painted it shows the skin's menu line as its
// background, and its items and popups are painted by the skin's menus as
// long as the manager skins popups.
void TsSkinProvider::SkinFormMenus(bool active)
{
    QMenuBar* bar = active ? MenuBar() : nullptr;
    if (bar != menuBar_ && menuBar_) {
        if (menuHooked_)
            if (TsSkinManagerComponent* manager = ManagerComponent())
                manager->SkinableMenus().HookMainMenu(menuBar_, false);
        if (menuPaletteSaved_)
            menuBar_->setPalette(savedMenuPalette_);
        menuPaletteSaved_ = menuHooked_ = false;
        menuStrip_ = QImage();
        menuBar_ = nullptr;
    }
    if (!bar)
        return;
    if (bar != menuBar_) {
        menuBar_ = bar;
        savedMenuPalette_ = bar->testAttribute(Qt::WA_SetPalette) ? bar->palette() : QPalette();
        menuPaletteSaved_ = true;
    }
    // Hooking again lets an open bar take a new skin's measures.
    TsSkinManagerComponent* manager = ManagerComponent();
    const bool hook = manager && manager->SkinnedPopups();
    if (manager && (hook || menuHooked_))
        manager->SkinableMenus().HookMainMenu(bar, hook);
    menuHooked_ = hook;
}

void TsSkinProvider::FillRegionRects()
{
    regionRects_.clear();
    const TacSkinContent* skin = Content();
    if (!skin || !form_)
        return;
    const int w = form_->width(), h = form_->height();
    if (skin->IsValidImageIndex(skinData_->BorderIndex)) {
        const TsMaskData& mask = skin->ma[size_t(skinData_->BorderIndex)];
        AddTransparentCornerRects(regionRects_, w, mask, 0, false);
        AddTransparentCornerRects(regionRects_, w, mask, h - mask.WB, true);
    }
    const int title = TitleSectionIndex();
    if (skin->IsValidSkinIndex(title) && skin->IsValidImageIndex(skin->gd[size_t(title)].BorderIndex))
        AddTransparentCornerRects(regionRects_, w, skin->ma[size_t(skin->gd[size_t(title)].BorderIndex)], 0, false);
}

QRegion TsSkinProvider::CreateFormRgn() const
{
    QRegion region(0, 0, form_->width(), form_->height());
    for (const TRect& r : regionRects_)
        region -= QRegion(r.Left, r.Top, r.Width(), r.Height());
    return region;
}

void TsSkinProvider::SetFormRgn()
{
    // A sub-window cuts itself by its style.
    if (!form_ || !frameActive_ || !drawNonClientArea_ || IsMDIChild())
        return;
    const TacFormTraits traits = Traits();
    if (traits.BorderStyle == bsNone && traits.WindowState != wsMinimized)
        return;
    // A maximised form fills the work area edge to edge: no corner is cut.
    if (traits.WindowState == wsMaximized)
        form_->clearMask();
    else
        form_->setMask(CreateFormRgn());
}
