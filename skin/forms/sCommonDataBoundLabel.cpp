// The caption label of a skinned control.
#include "skin/forms/sCommonData.h"
#include "skin/forms/sLabel.h"

#include "platform/Cp1251.h"

#include <QWidget>

TsBoundLabel::TsBoundLabel(TsCommonData* skinData) : commonData_(skinData), font_(std::make_unique<QFont>()) {}

TsBoundLabel::~TsBoundLabel()
{
    DeleteLabel();
}

// The label is told first that its owner is going, so its own destructor
// does not reach back into this object.
void TsBoundLabel::DeleteLabel()
{
    if (!label_)
        return;
    label_->boundLabel_ = nullptr;
    delete label_;
    label_ = nullptr;
}

QWidget* TsBoundLabel::OwnerControl() const
{
    return commonData_ ? commonData_->OwnerControl.data() : nullptr;
}

void TsBoundLabel::SetActive(bool value)
{
    if (value == active_)
        return;
    QWidget* control = OwnerControl();
    if (!value || !control) {
        DeleteLabel();
        active_ = false;
        return;
    }
    active_ = true;
    if (!label_)
        label_ = new TsEditLabel(control->parentWidget(), this);
    label_->setVisible(false);
    label_->setParent(control->parentWidget());
    label_->setBuddy(control);
    if (ownFontSet_)
        label_->setFont(*font_);
    UpdateAlignment();
    const std::string name = QStringToCp1251(control->objectName());
    label_->setObjectName(control->objectName() + "Label");
    if (caption_.empty())
        caption_ = name;
    label_->setText(Cp1251ToQString(caption_));
    // A control without a parent has nowhere to show its label: shown, the
    // label would become a window of its own.
    QWidget* parent = control->parentWidget();
    label_->setVisible(parent && control->isVisibleTo(parent));
    label_->setEnabled(control->isEnabled());
    UpdatePosition();
}

void TsBoundLabel::SetCaption(const std::string& value)
{
    if (value == caption_)
        return;
    caption_ = value;
    if (active_ && label_) {
        label_->setText(Cp1251ToQString(caption_));
        UpdatePosition();
    }
}

void TsBoundLabel::SetPlacement(int& field, int value)
{
    if (value == field)
        return;
    field = value;
    if (active_)
        UpdatePosition();
}

void TsBoundLabel::SetIndent(int value)
{
    SetPlacement(indent_, value);
}

void TsBoundLabel::SetMaxWidth(int value)
{
    SetPlacement(maxWidth_, value);
}

void TsBoundLabel::SetLayout(TsCaptionLayout value)
{
    if (value == layout_)
        return;
    layout_ = value;
    UpdateAlignment();
    if (active_)
        UpdatePosition();
}

QFont TsBoundLabel::Font() const
{
    return label_ ? label_->font() : *font_;
}

void TsBoundLabel::SetFont(const QFont& font)
{
    *font_ = font;
    ownFontSet_ = true;
    if (label_) {
        label_->setFont(font);
        UpdatePosition();
    }
}

bool TsBoundLabel::UseSkinColor() const
{
    return label_ ? label_->UseSkinColor() : true;
}

void TsBoundLabel::SetUseSkinColor(bool value)
{
    if (label_)
        label_->SetUseSkinColor(value);
}

void TsBoundLabel::UpdateAlignment()
{
    if (!label_)
        return;
    switch (layout_) {
    case sclTopLeft: label_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter); break;
    case sclTopCenter: label_->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter); break;
    default: label_->setAlignment(Qt::AlignRight | Qt::AlignVCenter); break;
    }
}

void TsBoundLabel::UpdatePosition()
{
    QWidget* f = OwnerControl();
    if (!label_ || !f || label_->isHidden())
        return;
    label_->setWordWrap(false);
    label_->adjustSize();
    const TRect control{f->x(), f->y(), f->x() + f->width(), f->y() + f->height()};
    const TLabelPlace place = BoundLabelPlace(layout_, control, label_->width(), label_->height(), indent_);
    label_->move(place.Left, place.Top);
    if (maxWidth_ != 0) {
        label_->setWordWrap(true);
        label_->resize(maxWidth_, std::max(label_->height(), f->height()));
    }
}
