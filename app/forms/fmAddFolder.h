#pragma once
// TfmCreateFolder: the short name of a new library folder under the parent
// shown in its label. Create is enabled only while a name is entered; a
// name with characters a folder name may not hold is refused and the
// dialog stays open.
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

    // Shows the parent path; the edit starts empty and Create disabled.
    void SetParentFolder(const std::string& parent);
    // The name entered (code page 1251).
    std::string FolderName() const;
    void Button1Click();

protected:
    void showEvent(QShowEvent* event) override;
};
