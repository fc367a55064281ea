#include "app/forms/uSaveFileDescription.h"

#include "engine/LanguageTexts.h"
#include "platform/Cp1251.h"
#include "platform/forms/ButtonRow.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfmAddFileDescription::TfmAddFileDescription(QWidget* parent) : QDialog(parent)
{
    setObjectName("fmAddFileDescription");
    setWindowTitle(QStringLiteral("Save file description"));
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName("Memo1");
    Memo1->setMinimumSize(360, 180);
    const TLanguageGroup buttons("[COMMON_BUTTONS]");
    Button2 = new QPushButton(Cp1251ToQString(buttons.Text(15, "Save")), this);
    Button2->setObjectName("Button2");
    Button1 = new QPushButton(Cp1251ToQString(buttons.Text(13, "Cancel")), this);
    Button1->setObjectName("Button1");
    auto* form = new QVBoxLayout(this);
    form->addWidget(Memo1, 1);
    form->addLayout(ButtonRow({Button2, Button1}));
    connect(Button2, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
}
