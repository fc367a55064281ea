#include "buffer/forms/uSavePartOfFile.h"

#include "buffer/forms/DialogTexts.h"
#include "platform/forms/ButtonRow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TfmSavePartOfFile::TfmSavePartOfFile(QWidget* parent) : QDialog(parent)
{
    setObjectName("fmSavePartOfFile");
    Label1 = new QLabel(this);
    Edit1 = new QLineEdit(this);
    Label2 = new QLabel(this);
    Edit2 = new QLineEdit(this);
    Label1->setBuddy(Edit1);
    Label2->setBuddy(Edit2);
    SpeedButton2 = new QPushButton("OK", this);
    SpeedButton1 = new QPushButton(this);
    SpeedButton2->setDefault(true);
    auto* buttons = ButtonRow({SpeedButton2, SpeedButton1});
    auto* form = new QGridLayout(this);
    form->addWidget(Label1, 0, 0);
    form->addWidget(Edit1, 0, 1);
    form->addWidget(Label2, 1, 0);
    form->addWidget(Edit2, 1, 1);
    form->addLayout(buttons, 2, 0, 1, 2);

    const std::pair<QObject*, const char*> names[] = {
        {Label1, "Label1"}, {Edit1, "Edit1"}, {Label2, "Label2"}, {Edit2, "Edit2"},
        {SpeedButton2, "SpeedButton2"}, {SpeedButton1, "SpeedButton1"},
    };
    for (const auto& [object, name] : names)
        object->setObjectName(name);
    connect(SpeedButton2, &QPushButton::clicked, this, &QDialog::accept);
    connect(SpeedButton1, &QPushButton::clicked, this, &QDialog::reject);

    const TLanguageGroup window("[SAVE_PART_OF_FILE]");
    setWindowTitle(GroupText(window, 1, "Save part of buffer into file"));
    Label1->setText(GroupText(window, 2, "Start address (HEX)"));
    Label2->setText(GroupText(window, 3, "End address (HEX)"));
    SpeedButton1->setText(GroupText(TLanguageGroup(CommonButtonsTag), 2, "Cancel"));
}
