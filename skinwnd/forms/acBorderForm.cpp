#include "skinwnd/forms/acBorderForm.h"

#include "platform/forms/BitmapImage.h"
#include "skin/acBitmapHelpers.h"
#include "skin/forms/acLayeredWindow.h"
#include "skin/forms/sSkinManager.h"
#include "skinwnd/forms/sSkinProvider.h"

#include <QCoreApplication>
#include <QWidget>

namespace {

const TsSkinManagerComponent* Manager(TsSkinProvider* owner)
{
    return dynamic_cast<const TsSkinManagerComponent*>(owner->SkinManager());
}

} // namespace

TacBorderForm::TacBorderForm(TsSkinProvider* owner) : owner_(owner)
{
    aForm_ = new TacLayeredWindow();
    aForm_->setObjectName(QStringLiteral("TacBorderForm"));
    // The dialog hook leaves windows with this mark alone.
    aForm_->setProperty("Tag", -98);
}

TacBorderForm::~TacBorderForm()
{
    delete aForm_.data();
}

QWidget* TacBorderForm::AForm() const
{
    return aForm_.data();
}

TacBorderMetrics TacBorderForm::Metrics() const
{
    TacBorderMetrics m;
    const TsSkinManagerComponent* manager = Manager(owner_);
    if (!manager || !manager->Content())
        return m;
    m.Margins = manager->ShadowMargins();
    // The form paints the skin's wider border and taller caption itself.
    m.ExtBorderWidth = owner_->FormBorderWidth();
    m.SysBorderWidth = owner_->FormBorderWidth();
    m.CaptionHeight = owner_->CaptionHeight();
    m.ExtTitleHeight = m.SysBorderWidth + m.CaptionHeight;
    return m;
}

void TacBorderForm::UpdateBorderWnd(bool repaint, uint8_t alpha)
{
    QWidget* form = owner_->Form();
    if (!aForm_ || inUpdate_ || !form || QCoreApplication::closingDown())
        return;
    if (owner_->SkinData().Updating || !owner_->DrawNonClientArea())
        return;
    // The shadow of a form filling the screen would lie off the screen.
    if (!form->isVisible() || form->isMinimized() || form->isMaximized() || form->isFullScreen()) {
        aForm_->hide();
        return;
    }
    inUpdate_ = true;
    const QRect g = form->frameGeometry();
    const TRect r = BorderWndRect(TRect{g.left(), g.top(), g.right() + 1, g.bottom() + 1}, Metrics());
    const QRect bounds(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
    aForm_->setWindowFlag(Qt::WindowStaysOnTopHint, form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    const bool resized = aForm_->size() != bounds.size();
    aForm_->setGeometry(bounds);
    const TsSkinManagerComponent* manager = Manager(owner_);
    if (manager && LayeredWindowsAvailable() && (repaint || resized || aForm_->Image().isNull())) {
        const TBitmap& shadow = form->isActiveWindow() ? manager->ShadowActive() : manager->ShadowInactive();
        auto picture = CreateBitmap32(bounds.width(), bounds.height());
        const TRect body{g.left() - r.Left, g.top() - r.Top, g.right() + 1 - r.Left, g.bottom() + 1 - r.Top};
        PaintBorderPicture(*picture, shadow, body);
        aForm_->SetImage(BitmapToImage(*picture));
    }
    const qreal opacity = form->windowOpacity() < 1.0 ? form->windowOpacity() : alpha / 255.0;
    aForm_->setWindowOpacity(opacity);
    if (LayeredWindowsAvailable() && !aForm_->isVisible())
        aForm_->show();
    RaiseWithOwner();
    inUpdate_ = false;
}

void TacBorderForm::RaiseWithOwner()
{
    // The shadow's body is clear and takes no input, so lying just over the
    // form shows the same as lying just under it: the shadow only has to
    // come up when the form does. Only the active form has come up; a form
    // the user clicked away from keeps its place, and the form itself is
    // never raised here.
    QWidget* form = owner_->Form();
    if (aForm_ && aForm_->isVisible() && form && form->isActiveWindow())
        aForm_->raise();
}
