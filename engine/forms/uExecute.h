#pragma once
// The run window: the printed lines and the progress of one module
// procedure, with Cancel while it runs and Close after it ended. Not modal:
// the run keeps control and pumps messages itself.
#include "engine/uExecuteRun.h"

#include <QWidget>

#include <cstdint>
#include <string>

class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class TfmCompilerErrors;
class TfmPinsTest;

class TfmExecute : public QWidget, public TExecuteView {
    Q_OBJECT
public:
    explicit TfmExecute(QWidget* parent = nullptr);

    TExecuteRun Run{*this};

    // The buffers the scripts reach (the main window's two dump views).
    void SetBuffers(TExecuteBuffer* buffer1, TExecuteBuffer* buffer2);
    // The program's pin tester and compiler errors windows; the run window
    // makes its own when none is given.
    TfmPinsTest* PinsTest = nullptr;
    TfmCompilerErrors* CompilerErrors = nullptr;

    uint32_t ExitValue() const { return Run.ExitValue; }

    QPushButton* btCancel;
    QWidget* Panel1;
    QProgressBar* Gauge1;
    QPlainTextEdit* Memo1;

    void btCancelClick() { Run.btCancelClick(); }

    // TExecuteView
    void ShowWindow() override;
    void HideWindow() override;
    void CaptionChanged() override;
    void LinesCleared() override;
    void LineAdded() override;
    void LastLineChanged() override;
    void GaugeChanged() override;
    void ButtonChanged() override;
    bool ShowPinTester(int16_t result, uint8_t mask, const std::string& picture) override;
    void ShowCompilerErrors(const TStringList& errors) override;

protected:
    // Closing the window any other way is the button's Cancel or Close: a
    // hidden window would leave the run waiting for a Close nobody can press.
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

// The program's run window, created at start-up.
extern TfmExecute* fmExecute;

// Runs a module procedure in the program's run window (see
// TExecuteRun::RunModuleProcedure); the exit value is fmExecute->ExitValue().
void RunModuleProcedure(const std::string& operation, int voltageIndex);
