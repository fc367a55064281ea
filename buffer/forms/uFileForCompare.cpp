#include "buffer/forms/uFileForCompare.h"

#include "buffer/forms/DialogTexts.h"
#include "buffer/forms/FileServDialogs.h"
#include "buffer/uRecentSourceFiles.h"
#include "engine/Global.h"
#include "platform/Paths.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TfmFileForCompare::TfmFileForCompare(QWidget* parent) : QDialog(parent)
{
    setObjectName("fmFileForCompare");
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    ListBox1 = new QListWidget(this);
    ListBox1->setMinimumWidth(360);
    btBrowse = new QPushButton(this);
    Button2 = new QPushButton("OK", this);
    Button1 = new QPushButton(this);
    btBrowse->setAutoDefault(false);
    Button2->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btBrowse);
    buttons->addStretch(1);
    buttons->addWidget(Button2);
    buttons->addWidget(Button1);
    auto* form = new QVBoxLayout(this);
    form->addWidget(ListBox1);
    form->addLayout(buttons);

    ListBox1->setObjectName("ListBox1");
    btBrowse->setObjectName("btBrowse");
    Button2->setObjectName("Button2");
    Button1->setObjectName("Button1");
    connect(btBrowse, &QPushButton::clicked, this, &TfmFileForCompare::btBrowseClick);
    connect(Button2, &QPushButton::clicked, this, &TfmFileForCompare::Button2Click);
    connect(Button1, &QPushButton::clicked, this, &TfmFileForCompare::Button1Click);
    // Escape cancels as the Cancel button does.
    connect(this, &QDialog::rejected, this, [this] { CompareFileName.clear(); });

    const TLanguageGroup window("[COMPARE_WINDOW]");
    setWindowTitle(GroupText(window, 1, "Compare with file"));
    btBrowse->setText(GroupText(window, 2, "Browse"));
    Button1->setText(GroupText(TLanguageGroup(CommonButtonsTag), 2, "Cancel"));
}

void TfmFileForCompare::refill()
{
    ListBox1->clear();
    for (const std::string& name : RecentSourceFiles)
        ListBox1->addItem(Cp1251ToQString(name));
}

void TfmFileForCompare::FormShow()
{
    refill();
    if (ListBox1->count() > 0)
        ListBox1->setCurrentRow(0);
    Button2->setEnabled(ListBox1->count() > 0);
}

void TfmFileForCompare::AddCompareFile(const std::string& name)
{
    const int index = AddRecentSourceFile(RecentSourceFiles, name);
    refill();
    ListBox1->setCurrentRow(index);
    Button2->setEnabled(true);
}

void TfmFileForCompare::btBrowseClick()
{
    std::string name;
    SelectDumpFileName(name);
    if (!name.empty())
        AddCompareFile(name);
}

void TfmFileForCompare::Button2Click()
{
    const QListWidgetItem* item = ListBox1->currentItem();
    CompareFileName = item && item->isSelected() ? QStringToPath(item->text()) : std::string();
    accept();
}

void TfmFileForCompare::Button1Click()
{
    reject();
}

void TfmFileForCompare::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}
