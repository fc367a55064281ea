#pragma once
// The hardware test window: drive the programmer's eight lines by hand on a
// socket picture, switch the supply, choose the voltage, and watch the input
// levels and the power status.
#include "engine/uTestModel.h"

#include <QDialog>
#include <QTimer>

class QComboBox;
class QLabel;
class QPushButton;
class QWidget;

class TfmTest : public QDialog {
    Q_OBJECT
public:
    explicit TfmTest(QWidget* parent = nullptr);
    // A window destroyed while shown (its owner went first) gets no hide
    // event of its own: it switches off here.
    ~TfmTest() override;

    THardwareTest Test;

    QLabel* Label1;
    QWidget* Panel3;
    QLabel* Label16;
    QComboBox* PowerBox;
    QLabel* Label17;
    QComboBox* ComboBox1;
    QWidget* Image1;
    QPushButton* SpeedButton1; // Close
    QPushButton* SpeedButton2; // Help

    void PowerBoxChange();
    void ComboBox1Change();
    void Image1MouseDown(int x, int y);
    void MyIdle();
    // Shows the model's state in the controls.
    void Refresh();

signals:
    void HelpRequested(int context);

protected:
    void showEvent(QShowEvent* event) override;
    // Every way the window goes (Close, Escape, the close box, the owner)
    // switches the supply and lines off.
    void hideEvent(QHideEvent* event) override;

private:
    void FormCreate();

    // Idle rounds while the window is shown.
    QTimer idle_;
    bool open_ = false;
};
