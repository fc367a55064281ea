#include "buffer/forms/uGotoAdr.h"

#include "buffer/forms/DialogTexts.h"
#include "buffer/uGotoAdr.h"
#include "platform/forms/ButtonRow.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfmGotoAdr::TfmGotoAdr(QWidget* parent) : QDialog(parent)
{
    setObjectName("fmGotoAdr");
    setWindowTitle("Go to address");
    Edit1 = new QLineEdit("0", this);
    Edit1->setObjectName("Edit1");
    Edit1->setMinimumWidth(200);
    SpeedButton2 = new QPushButton("OK", this);
    SpeedButton1 = new QPushButton("Cancel", this);
    SpeedButton2->setObjectName("SpeedButton2");
    SpeedButton1->setObjectName("SpeedButton1");
    // Enter in the edit presses OK only while OK is enabled.
    SpeedButton2->setDefault(true);
    auto* buttons = ButtonRow({SpeedButton2, SpeedButton1});
    auto* form = new QVBoxLayout(this);
    form->addWidget(Edit1);
    form->addLayout(buttons);

    connect(Edit1, &QLineEdit::textChanged, this, &TfmGotoAdr::Edit1Change);
    connect(SpeedButton2, &QPushButton::clicked, this, &QDialog::accept);
    connect(SpeedButton1, &QPushButton::clicked, this, &QDialog::reject);
}

void TfmGotoAdr::FormShow()
{
    SpeedButton1->setText(GroupText(TLanguageGroup(CommonButtonsTag), 2, "Cancel"));
    // Without a language file the caption keeps the window's own text
    // rather than an empty one.
    CaptionText = LanguageText("[GOTO_ADDRESS]", 1, "Go to address");
    setWindowTitle(Cp1251ToQString(CaptionText + " 0"));
    Edit1Change();
}

void TfmGotoAdr::Edit1Change()
{
    const TGotoAddressCheck check = CheckGotoAddress(QStringToCp1251(Edit1->text()), AddressLimit, CaptionText);
    EnteredAddress = check.EnteredAddress;
    if (check.Caption)
        setWindowTitle(Cp1251ToQString(*check.Caption));
    SpeedButton2->setEnabled(check.OkEnabled);
}

void TfmGotoAdr::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}
