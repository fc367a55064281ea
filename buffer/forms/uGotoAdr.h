#pragma once
// The go-to dialog: an address from 0 to a limit, decimal or "0x" hex.
#include <QDialog>

#include <cstdint>
#include <string>

class QLineEdit;
class QPushButton;

class TfmGotoAdr : public QDialog {
    Q_OBJECT
public:
    explicit TfmGotoAdr(QWidget* parent = nullptr);

    int32_t AddressLimit = 0;    // the largest address accepted (set by the caller)
    int32_t EnteredAddress = -1; // the address entered; read on OK
    std::string CaptionText;     // leads the caption (code page 1251)

    QLineEdit* Edit1;
    QPushButton* SpeedButton2; // OK
    QPushButton* SpeedButton1; // Cancel

    void FormShow();
    // The check run on every change of Edit1.
    void Edit1Change();

protected:
    void showEvent(QShowEvent* event) override;
};
