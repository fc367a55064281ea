#pragma once
// The new-file dialog (TfmGetFileSize) and the base it shares with the
// change-size dialog: one size field whose OK is enabled only for a size
// the buffer can take.
#include <QDialog>

#include <cstdint>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

class TFileSizeDialog : public QDialog {
    Q_OBJECT
public:
    explicit TFileSizeDialog(QWidget* parent = nullptr);

    QLabel* LabeledEdit1Label;
    QLineEdit* LabeledEdit1;
    QPushButton* SpeedButton2; // OK
    QPushButton* SpeedButton1; // Cancel

    // The size entered: 1 to the largest buffer size, else nothing.
    std::optional<int32_t> EnteredSize() const;
    // The check run on show and on every change of the edit.
    void LabeledEdit1Change();

protected:
    void showEvent(QShowEvent* event) override;
    // Lays out the field, an optional line above it, and the buttons.
    void buildLayout(QWidget* top);
};

class TfmGetFileSize : public TFileSizeDialog {
    Q_OBJECT
public:
    explicit TfmGetFileSize(QWidget* parent = nullptr);
};
