#pragma once
// TAboutForm: the program's version, its name and two web links; opened from
// the Help menu it also shows the firmware information of the programmer.
// During start-up the same window is the splash window: then it has no OK
// button and asks the programmer nothing.
#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class THotLabel;

class TAboutForm : public QDialog {
    Q_OBJECT
public:
    explicit TAboutForm(QWidget* parent = nullptr);

    // Splash mode hides the OK button; the next show then leaves out the
    // firmware memo and the status line. Switch it before showing.
    void SetSplashMode(bool splash);
    bool SplashMode() const;

    QLabel* Label1;          // version
    QLabel* Label2;          // product line
    QLabel* Label5;          // subtitle
    QLabel* Label3;          // status line of the start-up
    QPlainTextEdit* Memo1;   // firmware information
    QPushButton* SpeedButton1; // OK
    THotLabel* lbURL;
    THotLabel* HotLabel1;

    void FormShow();

protected:
    void showEvent(QShowEvent* event) override;
};
