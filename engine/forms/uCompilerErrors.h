#pragma once
// The compiler errors window: the error lines of a failed compile.
#include "platform/StringList.h"

#include <QDialog>

class QPlainTextEdit;
class QPushButton;
class QWidget;

class TfmCompilerErrors : public QDialog {
    Q_OBJECT
public:
    explicit TfmCompilerErrors(QWidget* parent = nullptr);

    // Replaces the memo's lines (code page 1251).
    void SetErrorLines(const TStringList& lines);

    QPlainTextEdit* Memo1;
    QWidget* Panel1;
    QPushButton* SpeedButton1;

    void SpeedButton1Click();
};
