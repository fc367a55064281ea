#include "calc/forms/SortMode.h"

#include "platform/Cp1251.h"
#include "platform/forms/ButtonRow.h"

#include <QButtonGroup>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

QPointer<TfmSortMode> fmSortMode;

TfmSortMode::TfmSortMode(QWidget* parent) : QDialog(parent)
{
    setObjectName("fmSortMode");
    setWindowTitle(Cp1251ToQString(Utf8ToCp1251("Режим сортировки")));
    RadioButton1 = new QRadioButton(Cp1251ToQString(Utf8ToCp1251("Папки и файлы отдельно (как в проводнике)")), this);
    RadioButton1->setObjectName("RadioButton1");
    RadioButton2 = new QRadioButton(Cp1251ToQString(Utf8ToCp1251("Папки и файлы вперемешку")), this);
    RadioButton2->setObjectName("RadioButton2");
    // Neither is checked until the first show picks the first.
    auto* group = new QButtonGroup(this);
    group->addButton(RadioButton1);
    group->addButton(RadioButton2);
    SpeedButton1 = new QPushButton("OK", this);
    SpeedButton1->setObjectName("SpeedButton1");
    SpeedButton1->setDefault(true);
    SpeedButton2 = new QPushButton(Cp1251ToQString(Utf8ToCp1251("Отмена")), this);
    SpeedButton2->setObjectName("SpeedButton2");
    connect(SpeedButton1, &QPushButton::clicked, this, [this] { done(1); });
    connect(SpeedButton2, &QPushButton::clicked, this, [this] { done(2); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RadioButton1);
    layout->addWidget(RadioButton2);
    layout->addStretch(1);
    layout->addLayout(ButtonRow({SpeedButton1, SpeedButton2}));
    setMinimumSize(310, 124);
    setSizeGripEnabled(false);
}

void TfmSortMode::showEvent(QShowEvent* event)
{
    if (!RadioButton1->isChecked() && !RadioButton2->isChecked())
        RadioButton1->setChecked(true);
    QDialog::showEvent(event);
}

TfmSortMode& SortModeWindow(QWidget* owner)
{
    if (!fmSortMode)
        fmSortMode = new TfmSortMode(owner);
    return *fmSortMode;
}
