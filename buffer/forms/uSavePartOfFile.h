#pragma once
// The save-part dialog: start and end address as hexadecimal text. The
// caller fills both edits and converts them on OK.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TfmSavePartOfFile : public QDialog {
    Q_OBJECT
public:
    explicit TfmSavePartOfFile(QWidget* parent = nullptr);

    QLabel* Label1;
    QLineEdit* Edit1; // start address
    QLabel* Label2;
    QLineEdit* Edit2; // end address
    QPushButton* SpeedButton2; // OK
    QPushButton* SpeedButton1; // Cancel
};
