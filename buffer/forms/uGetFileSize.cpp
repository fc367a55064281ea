#include "buffer/forms/uGetFileSize.h"

#include "buffer/forms/DialogTexts.h"
#include "buffer/uGetFileSize.h"
#include "platform/forms/ButtonRow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFileSizeDialog::TFileSizeDialog(QWidget* parent) : QDialog(parent)
{
    LabeledEdit1Label = new QLabel(this);
    LabeledEdit1 = new QLineEdit(this);
    LabeledEdit1Label->setBuddy(LabeledEdit1);
    SpeedButton2 = new QPushButton("OK", this);
    SpeedButton1 = new QPushButton(this);
    // Enter in the edit presses OK only while OK is enabled, and does
    // nothing else.
    SpeedButton2->setDefault(true);
    LabeledEdit1Label->setObjectName("LabeledEdit1Label");
    LabeledEdit1->setObjectName("LabeledEdit1");
    SpeedButton2->setObjectName("SpeedButton2");
    SpeedButton1->setObjectName("SpeedButton1");
    connect(LabeledEdit1, &QLineEdit::textChanged, this, &TFileSizeDialog::LabeledEdit1Change);
    connect(SpeedButton2, &QPushButton::clicked, this, &QDialog::accept);
    connect(SpeedButton1, &QPushButton::clicked, this, &QDialog::reject);
}

void TFileSizeDialog::buildLayout(QWidget* top)
{
    auto* buttons = ButtonRow({SpeedButton2, SpeedButton1});
    auto* form = new QVBoxLayout(this);
    if (top)
        form->addWidget(top);
    form->addWidget(LabeledEdit1Label);
    form->addWidget(LabeledEdit1);
    form->addLayout(buttons);
    LabeledEdit1->setMinimumWidth(240);
}

std::optional<int32_t> TFileSizeDialog::EnteredSize() const
{
    return ParseFileSize(QStringToCp1251(LabeledEdit1->text()));
}

void TFileSizeDialog::LabeledEdit1Change()
{
    SpeedButton2->setEnabled(EnteredSize().has_value());
}

void TFileSizeDialog::showEvent(QShowEvent* event)
{
    LabeledEdit1Change();
    QDialog::showEvent(event);
}

TfmGetFileSize::TfmGetFileSize(QWidget* parent) : TFileSizeDialog(parent)
{
    setObjectName("fmGetFileSize");
    buildLayout(nullptr);
    const TLanguageGroup window("[GET FILE SIZE]");
    setWindowTitle(GroupText(window, 1, "New file"));
    LabeledEdit1Label->setText(GroupText(window, 2, "File size (bytes) "));
    SpeedButton1->setText(GroupText(TLanguageGroup(CommonButtonsTag), 13, "Cancel"));
}
