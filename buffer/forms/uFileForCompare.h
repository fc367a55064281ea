#pragma once
// The compare dialog: a file from the recent source files or browsed.
#include <QDialog>

#include <string>

class QListWidget;
class QPushButton;

class TfmFileForCompare : public QDialog {
    Q_OBJECT
public:
    explicit TfmFileForCompare(QWidget* parent = nullptr);

    std::string CompareFileName; // the chosen file (code page 1251), empty when none

    QListWidget* ListBox1;
    QPushButton* btBrowse;
    QPushButton* Button2; // OK
    QPushButton* Button1; // Cancel

    void FormShow();
    // A file name that Browse brought back: listed (and added to the recent
    // source files when new), selected, and OK enabled.
    void AddCompareFile(const std::string& name);
    void btBrowseClick();
    void Button2Click();
    void Button1Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void refill();
};
