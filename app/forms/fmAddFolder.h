#pragma once
// TfmCreateFolder: the short name of a new library folder under the parent
// shown in its label. Create is enabled only while a name is entered; a
// name a folder may not have, or one that a folder there has already, is
// refused with a word why and the dialog stays open.
#include <QDialog>

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

class TfmCreateFolder : public QDialog {
    Q_OBJECT
public:
    explicit TfmCreateFolder(QWidget* parent = nullptr);

    QLabel* Label1;   // the parent folder
    QLabel* Label2;   // "short name of the new folder"
    QLineEdit* Edit1;
    QPushButton* Button1; // Create
    QPushButton* Button2; // Cancel

    // The library folder (code page 1251) the new folder goes in, shown as
    // the file system names it; the edit starts empty and Create disabled.
    void SetParentFolder(const std::string& parent);
    // The name entered, nothing of it lost (code page 1251, see Cp1251.h).
    std::string FolderName() const;
    // Where the folder goes on the file system.
    std::string NativeFolder() const;
    void Button1Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::string parent_;
};
