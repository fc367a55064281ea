#pragma once
// TfmAddFileDescription ("Save file description"): the note of a dump just
// added to the library. Save closes with OK, Cancel with Cancel; the
// caller writes the note.
#include <QDialog>

class QPlainTextEdit;
class QPushButton;

class TfmAddFileDescription : public QDialog {
    Q_OBJECT
public:
    explicit TfmAddFileDescription(QWidget* parent = nullptr);

    QPlainTextEdit* Memo1;
    QPushButton* Button2; // Save
    QPushButton* Button1; // Cancel
};
