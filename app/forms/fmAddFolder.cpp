#include "app/forms/fmAddFolder.h"

#include "app/uBinList.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/forms/ButtonRow.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The dialog's texts exist only in Russian; no language file has them.
QString Russian(const char* utf8) { return QString::fromUtf8(utf8); }

} // namespace

TfmCreateFolder::TfmCreateFolder(QWidget* parent) : QDialog(parent)
{
    setObjectName("fmCreateFolder");
    setWindowTitle(Russian("Создание папки"));
    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    Label2 = new QLabel(Russian("Имя создаваемой папки (короткое)"), this);
    Label2->setObjectName("Label2");
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName("Edit1");
    Edit1->setMinimumWidth(200);
    Label2->setBuddy(Edit1);
    Button1 = new QPushButton(Russian("Создать"), this);
    Button1->setObjectName("Button1");
    Button1->setDefault(true);
    Button2 = new QPushButton(Russian("Отмена"), this);
    Button2->setObjectName("Button2");
    auto* field = new QHBoxLayout;
    field->addWidget(Label2);
    field->addWidget(Edit1, 1);
    auto* form = new QVBoxLayout(this);
    form->addWidget(Label1);
    form->addLayout(field);
    form->addLayout(ButtonRow({Button1, Button2}));
    connect(Edit1, &QLineEdit::textChanged, this, [this] { Button1->setEnabled(!Edit1->text().isEmpty()); });
    connect(Button1, &QPushButton::clicked, this, &TfmCreateFolder::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TfmCreateFolder::SetParentFolder(const std::string& parent)
{
    parent_ = parent;
    Label1->setText(Cp1251ToQString(Utf8ToCp1251(NativePath(parent)) + "/"));
}

std::string TfmCreateFolder::FolderName() const { return QStringToPath(Edit1->text()); }

std::string TfmCreateFolder::NativeFolder() const { return NewFolderNativePath(parent_, FolderName()); }

void TfmCreateFolder::showEvent(QShowEvent* event)
{
    Edit1->clear();
    Button1->setEnabled(false);
    Edit1->setFocus();
    QDialog::showEvent(event);
}

void TfmCreateFolder::Button1Click()
{
    if (!FolderNameAllowed(FolderName())) {
        ShowMessageBox(Utf8ToCp1251("Имя папки содержит недопустимые символы"), Utf8ToCp1251("Ошибка"),
                       MB_OK | MB_ICONWARNING);
        return;
    }
    if (DirectoryExists(NativeFolder())) {
        ShowMessageBox(Utf8ToCp1251("Папка с таким именем уже существует"), Utf8ToCp1251("Ошибка"),
                       MB_OK | MB_ICONWARNING);
        return;
    }
    accept();
}
