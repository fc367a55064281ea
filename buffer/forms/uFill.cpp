#include "buffer/forms/uFill.h"

#include "buffer/forms/DialogTexts.h"
#include "buffer/uFill.h"
#include "platform/forms/ButtonRow.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TFillForm::TFillForm(QWidget* parent) : QDialog(parent)
{
    setObjectName("FillForm");
    setWindowTitle("Fill");
    GroupBox1 = new QGroupBox("Pattern", this);
    Edit1 = new QLineEdit("0", GroupBox1);
    QFont bold = Edit1->font();
    bold.setBold(true);
    Edit1->setFont(bold);
    (new QVBoxLayout(GroupBox1))->addWidget(Edit1);

    GroupBox2 = new QGroupBox("Scope", this);
    RadioButton3 = new QRadioButton("Global", GroupBox2);
    RadioButton4 = new QRadioButton("Selected area", GroupBox2);
    RadioButton3->setChecked(true);
    // The two choices stand as one centred column.
    auto* choices = new QVBoxLayout;
    choices->addWidget(RadioButton3);
    choices->addWidget(RadioButton4);
    auto* scope = new QHBoxLayout(GroupBox2);
    scope->addStretch(1);
    scope->addLayout(choices);
    scope->addStretch(1);

    SpeedButton2 = new QPushButton("OK", this);
    SpeedButton1 = new QPushButton("Cancel", this);
    SpeedButton2->setDefault(true);
    auto* buttons = ButtonRow({SpeedButton2, SpeedButton1});

    auto* form = new QVBoxLayout(this);
    form->addWidget(GroupBox1);
    form->addWidget(GroupBox2);
    form->addLayout(buttons);

    GroupBox1->setObjectName("GroupBox1");
    Edit1->setObjectName("Edit1");
    GroupBox2->setObjectName("GroupBox2");
    RadioButton3->setObjectName("RadioButton3");
    RadioButton4->setObjectName("RadioButton4");
    SpeedButton2->setObjectName("SpeedButton2");
    SpeedButton1->setObjectName("SpeedButton1");

    connect(Edit1, &QLineEdit::textChanged, this, &TFillForm::Edit1Change);
    connect(SpeedButton2, &QPushButton::clicked, this, &QDialog::accept);
    connect(SpeedButton1, &QPushButton::clicked, this, &QDialog::reject);
    relabel();
}

void TFillForm::relabel()
{
    const TLanguageGroup window("[BUFFER_FILL_WINDOW]");
    setWindowTitle(GroupText(window, 1, "Fill"));
    GroupBox1->setTitle(GroupText(window, 2, "Pattern"));
    GroupBox2->setTitle(GroupText(window, 5, "Scope"));
    RadioButton3->setText(GroupText(window, 6, "Global"));
    RadioButton4->setText(GroupText(window, 7, "Selected area"));
    SpeedButton1->setText(GroupText(TLanguageGroup(CommonButtonsTag), 2, "Cancel"));
}

bool TFillForm::VerifyPattern()
{
    std::string text = QStringToCp1251(Edit1->text());
    const bool ok = ::VerifyPattern(text);
    const QString cleaned = Cp1251ToQString(text);
    if (cleaned != Edit1->text()) {
        // The change handler runs again on the cleaned text and finds it
        // clean, so this ends there.
        const int caret = Edit1->cursorPosition() - int(Edit1->text().size() - cleaned.size());
        Edit1->setText(cleaned);
        Edit1->setCursorPosition(std::max(caret, 0));
    }
    return ok;
}

void TFillForm::Edit1Change()
{
    SpeedButton2->setEnabled(VerifyPattern());
}

void TFillForm::SetSelectionAvailable(bool available)
{
    RadioButton4->setEnabled(available);
    if (!available)
        RadioButton3->setChecked(true);
}

std::string TFillForm::PatternText() const
{
    return QStringToCp1251(Edit1->text().toUpper());
}

bool TFillForm::SelectedAreaOnly() const
{
    return RadioButton4->isChecked();
}

void TFillForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Edit1->setFocus();
    Edit1Change();
}
