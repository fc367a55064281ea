#pragma once
// TfmMsg: the borderless progress window of the calculator index rebuild:
// the step on the upper line, the folder or section on the lower one.
#include <QPointer>
#include <QWidget>

class QLabel;

class TfmMsg : public QWidget {
public:
    explicit TfmMsg(QWidget* parent = nullptr);

    QLabel* Panel1; // the step
    QLabel* Panel2; // the folder or section

protected:
    // While it shows, the index rebuild writes into it.
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
};

extern QPointer<TfmMsg> fmMsg;
TfmMsg& MsgWindow(QWidget* owner);
