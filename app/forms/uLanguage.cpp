#include "app/forms/uLanguage.h"

#include "app/uLanguage.h"
#include "app/uLoadLanguages.h"
#include "engine/Global.h"
#include "engine/LanguageTexts.h"
#include "platform/Cp1251.h"
#include "platform/forms/ButtonRow.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfmLanguage::TfmLanguage(QWidget* parent) : QDialog(parent)
{
    setObjectName("fmLanguage");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);

    ComboBox1 = new QComboBox(this);
    ComboBox1->setMinimumWidth(320);
    StaticText1 = new QLabel(this);
    StaticText1->setAlignment(Qt::AlignCenter);
    StaticText1->setWordWrap(true);
    SpeedButton2 = new QPushButton("OK", this);
    SpeedButton1 = new QPushButton(this);
    SpeedButton2->setDefault(true);

    auto* buttons = ButtonRow({SpeedButton2, SpeedButton1});

    auto* form = new QVBoxLayout(this);
    form->addWidget(ComboBox1);
    form->addWidget(StaticText1);
    form->addLayout(buttons);
    form->setSizeConstraint(QLayout::SetFixedSize);

    const std::pair<QObject*, const char*> names[] = {
        {ComboBox1, "ComboBox1"},
        {StaticText1, "StaticText1"},
        {SpeedButton2, "SpeedButton2"},
        {SpeedButton1, "SpeedButton1"},
    };
    for (const auto& [object, name] : names)
        object->setObjectName(name);

    connect(SpeedButton2, &QPushButton::clicked, this, &TfmLanguage::SpeedButton2Click);
    connect(SpeedButton1, &QPushButton::clicked, this, &TfmLanguage::SpeedButton1Click);

    relabel();
    choices_ = LanguageChoices(LanguageList);
    for (const std::string& name : choices_)
        ComboBox1->addItem(Cp1251ToQString(name));
    ComboBox1->setCurrentIndex(LanguageChoiceIndex(choices_, LanguageName));
}

void TfmLanguage::relabel()
{
    const TLanguageGroup language("[Language]");
    setWindowTitle(Cp1251ToQString(language.Text(1, "Language select")));
    StaticText1->setText(Cp1251ToQString(language.Text(2, "Restart program after choice of language")));
    SpeedButton1->setText(Cp1251ToQString(TLanguageGroup("[COMMON_BUTTONS]").Text(2, "Cancel")));
}

void TfmLanguage::SpeedButton2Click()
{
    const int i = ComboBox1->currentIndex();
    if (i >= 0 && i < static_cast<int>(choices_.size()))
        LanguageName = choices_[static_cast<size_t>(i)];
    accept();
}

void TfmLanguage::SpeedButton1Click() { reject(); }
