// The halo a control shows while the mouse is over it.
#include "skin/forms/sCommonData.h"

#include "skin/forms/acGlow.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QRegion>
#include <QWidget>

namespace {

bool LeftButtonHeld(const QWidget* owner)
{
    const auto* button = qobject_cast<const QAbstractButton*>(owner);
    return (button && button->isDown()) || QGuiApplication::mouseButtons().testFlag(Qt::LeftButton);
}

} // namespace

bool TsCommonData::GlowShown() const
{
    return GlowOwnedBy(GlowID, glowForm_);
}

void TsCommonData::HideOwnGlow()
{
    if (GlowShown())
        HideGlow(GlowID);
    GlowID = -1;
    glowForm_ = nullptr;
}

void TsCommonData::UpdateGlow(bool removeIfShown)
{
    TsSkinManager* manager = GetSkinManager();
    const TsGeneralData* s = Section();
    QWidget* owner = OwnerControl;
    if (!manager || !manager->AllowGlowing() || !s || s->GlowCount < 1 || !owner)
        return;
    const bool over = MouseAbove || owner->underMouse();
    if (!over || LeftButtonHeld(owner) || !owner->isVisible() || (removeIfShown && GlowShown())) {
        HideOwnGlow();
        return;
    }
    // One halo per control: a second enter keeps the one shown.
    if (GlowShown())
        return;
    const QPoint origin = owner->mapToGlobal(QPoint(0, 0));
    const TRect r{origin.x(), origin.y(), origin.x() + owner->width(), origin.y() + owner->height()};
    const QRect visible = owner->visibleRegion().boundingRect();
    const TRect clip{visible.left(), visible.top(), visible.left() + visible.width(), visible.top() + visible.height()};
    GlowID = ShowGlow(r, clip, SkinSection(), "GLOW", s->GlowMargin, 255, owner->window(), manager);
    glowForm_ = GlowWindow(GlowID);
}
