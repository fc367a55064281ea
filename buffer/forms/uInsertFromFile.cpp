#include "buffer/forms/uInsertFromFile.h"

#include "buffer/forms/DialogTexts.h"
#include "buffer/forms/FileServDialogs.h"
#include "buffer/uInsertFromFile.h"
#include "buffer/uRecentSourceFiles.h"
#include "engine/Global.h"
#include "platform/Paths.h"
#include "platform/MessageBox.h"
#include "platform/forms/ButtonRow.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TfmInsertFromFile::TfmInsertFromFile(QWidget* parent) : QDialog(parent)
{
    setObjectName("fmInsertFromFile");
    GroupBox1 = new QGroupBox(this);
    ComboBox1 = new QComboBox(GroupBox1);
    ComboBox1->setMinimumWidth(320);
    ComboBox1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Button1 = new QPushButton(GroupBox1);
    Button1->setAutoDefault(false);
    auto* source = new QHBoxLayout(GroupBox1);
    source->addWidget(ComboBox1, 1);
    source->addWidget(Button1);

    GroupBox2 = new QGroupBox(this);
    RadioButton1 = new QRadioButton(GroupBox2);
    RadioButton2 = new QRadioButton(GroupBox2);
    RadioButton3 = new QRadioButton(GroupBox2);
    Edit1 = new QLineEdit("0", GroupBox2);
    Edit1->setMaximumWidth(160);
    RadioButton1->setChecked(true);
    auto* addressing = new QGridLayout(GroupBox2);
    addressing->addWidget(RadioButton1, 0, 0, 1, 2);
    addressing->addWidget(RadioButton2, 1, 0, 1, 2);
    addressing->addWidget(RadioButton3, 2, 0, 1, 2);
    addressing->addWidget(Edit1, 3, 1);
    addressing->setColumnMinimumWidth(0, 30);
    addressing->setColumnStretch(2, 1);

    SpeedButton2 = new QPushButton(this);
    SpeedButton1 = new QPushButton(this);
    SpeedButton2->setDefault(true);
    auto* buttons = ButtonRow({SpeedButton2, SpeedButton1});
    auto* form = new QVBoxLayout(this);
    form->addWidget(GroupBox1);
    form->addWidget(GroupBox2);
    form->addLayout(buttons);

    const std::pair<QObject*, const char*> names[] = {
        {GroupBox1, "GroupBox1"},       {ComboBox1, "ComboBox1"},       {Button1, "Button1"},
        {GroupBox2, "GroupBox2"},       {RadioButton1, "RadioButton1"}, {RadioButton2, "RadioButton2"},
        {RadioButton3, "RadioButton3"}, {Edit1, "Edit1"},               {SpeedButton2, "SpeedButton2"},
        {SpeedButton1, "SpeedButton1"},
    };
    for (const auto& [object, name] : names)
        object->setObjectName(name);

    for (QRadioButton* radio : {RadioButton1, RadioButton2, RadioButton3})
        connect(radio, &QRadioButton::toggled, this, &TfmInsertFromFile::updateEdit1);
    connect(Button1, &QPushButton::clicked, this, &TfmInsertFromFile::Button1Click);
    connect(SpeedButton2, &QPushButton::clicked, this, &TfmInsertFromFile::SpeedButton2Click);
    connect(SpeedButton1, &QPushButton::clicked, this, &QDialog::reject);
    relabel();
    updateEdit1();
}

void TfmInsertFromFile::relabel()
{
    const TLanguageGroup window("[COPY_AREA_FROM_FILE]");
    setWindowTitle(GroupText(window, 1, "Copy area from file"));
    GroupBox1->setTitle(GroupText(window, 2, "Source file"));
    GroupBox2->setTitle(GroupText(window, 3, "Addressing"));
    RadioButton1->setText(GroupText(window, 4, "Copy from source file the same area, as selected"));
    RadioButton2->setText(GroupText(window, 5, "Copy from the beginning of source file"));
    RadioButton3->setText(GroupText(window, 6, "Copy form custom address of source file"));
    const TLanguageGroup buttons(CommonButtonsTag);
    SpeedButton1->setText(GroupText(buttons, 2, "Cancel"));
    Button1->setText(GroupText(buttons, 7, "Browse"));
    SpeedButton2->setText(GroupText(buttons, 8, "Copy"));
}

void TfmInsertFromFile::updateEdit1()
{
    Edit1->setEnabled(RadioButton3->isChecked());
}

void TfmInsertFromFile::refillFiles()
{
    const int previous = ComboBox1->currentIndex();
    ComboBox1->clear();
    for (const std::string& name : RecentSourceFiles)
        ComboBox1->addItem(Cp1251ToQString(name));
    ComboBox1->setCurrentIndex(RefilledItemIndex(previous, ComboBox1->count()));
}

std::string TfmInsertFromFile::SourceFileName() const
{
    return ComboBox1->currentIndex() < 0 ? std::string() : QStringToPath(ComboBox1->currentText());
}

void TfmInsertFromFile::FormShow()
{
    updateEdit1();
    refillFiles();
}

void TfmInsertFromFile::AddSourceFile(const std::string& name)
{
    const int index = AddRecentSourceFile(RecentSourceFiles, name);
    refillFiles();
    ComboBox1->setCurrentIndex(index);
}

void TfmInsertFromFile::Button1Click()
{
    std::string name;
    SelectDumpFileName(name);
    if (!name.empty())
        AddSourceFile(name);
}

void TfmInsertFromFile::SpeedButton2Click()
{
    if (RadioButton3->isChecked()) {
        const auto address = ParseCustomAddress(QStringToCp1251(Edit1->text()));
        if (!address) {
            ShowMessageBox(MessageText(msgIncorrectAddress), ProgramBoxCaption, MB_OK | MB_ICONWARNING);
            return;
        }
        CustomAddress = *address;
    }
    accept();
}

void TfmInsertFromFile::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}
