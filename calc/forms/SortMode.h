#pragma once
// TfmSortMode: asked before the calculator index is rebuilt, whether each
// folder lists its sub-folders before its calculators. The choice stays as
// the user left it for as long as the program runs.
#include <QDialog>
#include <QPointer>

class QPushButton;
class QRadioButton;

class TfmSortMode : public QDialog {
public:
    explicit TfmSortMode(QWidget* parent = nullptr);

    QRadioButton* RadioButton1; // folders listed first
    QRadioButton* RadioButton2; // folders and calculators mixed
    QPushButton* SpeedButton1;  // OK: result 1
    QPushButton* SpeedButton2;  // Cancel: result 2

protected:
    void showEvent(QShowEvent* event) override;
};

extern QPointer<TfmSortMode> fmSortMode;
TfmSortMode& SortModeWindow(QWidget* owner);
