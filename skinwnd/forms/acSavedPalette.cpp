#include "skinwnd/forms/acSavedPalette.h"

void TacSavedPalette::Save(QWidget* widget)
{
    widget_ = widget;
    if (!widget)
        return;
    palette_ = widget->palette();
    own_ = widget->testAttribute(Qt::WA_SetPalette);
}

void TacSavedPalette::Restore()
{
    if (!widget_)
        return;
    widget_->setPalette(own_ ? palette_ : QPalette());
}
