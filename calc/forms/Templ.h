#pragma once
// The calculator's window: OpenCalculator compiles a *.cal file, builds its
// controls from the compiled image either in the calculator's own window
// (TfmTemplate) or in the main window's calculator area, and runs its code
// against buffer 1 and the controls.
#include "calc/uCalcCompilerImage.h"

#include <QDialog>
#include <QPointer>

#include <map>
#include <string>

class QFrame;
class QLabel;
class QPushButton;
class THexDump;

class TfmTemplate : public QDialog {
public:
    explicit TfmTemplate(QWidget* parent = nullptr);

    QFrame* Panel1;       // the calculator's controls
    QPushButton* BitBtn1; // Apply
    QPushButton* BitBtn2; // Close

    // Runs ONAPPLY, then repaints buffer 1's view.
    void BitBtn1Click();
    void BitBtn2Click();

protected:
    // However the window goes (Close, Escape, its owner closing), the
    // calculator's run ends and the calculator no longer hears of buffer
    // changes.
    void hideEvent(QHideEvent* event) override;
};

// The calculator's own window, made at start-up by CreateCalculatorWindow.
extern TfmTemplate* fmTemplate;

// The built controls by name ("E0", "H1", "L2", ...).
using TCalcControls = std::map<std::string, QPointer<QWidget>>;
extern TCalcControls CalcControls;

// The last build succeeded: runs are allowed.
extern bool CalcBuilt;
// A calculator is built and open: buffer 1's changes run its ONCHANGE.
// Closing its window (or the calculator area's Close) clears it.
extern bool CalculatorOpen;

// The main window's built-in calculator area, set by the calculator panel;
// calculators open there while it is visible and option bit 28 is clear.
struct TCalcPanelArea {
    QPointer<QWidget> Panel;      // holds the controls
    QPointer<QLabel> Caption;     // shows the calculator's title
    QPointer<QPushButton> Apply;
};
extern TCalcPanelArea CalcPanelArea;

// Start-up: the own window (owned by `owner`) and buffer 1's view, which
// the calculators read and write.
void CreateCalculatorWindow(QWidget* owner, THexDump* buffer1);
// The main window closes: a run ends, the window hides.
void CloseCalculator();
// Shutdown: the run ended, the window deleted, the calculator state reset.
void FreeCalculatorWindow();

// Compiles the file (files without the extension ".cal" are refused with
// a message in the window), builds the calculator and runs its ONSHOW.
// A run still going on is ended first.
void OpenCalculator(const std::string& fileName);

// Builds the image's window into `panel` (the own window's Panel1 unless
// inMainPanel). false: the size is wrong or a record cannot be built; the
// panel then shows why.
bool BuildCalculatorWindow(QWidget* panel, const TCalcImage& image, bool inMainPanel);
// Creates the controls of the image's records into `panel`, filling
// CalcControls. false for a record that cannot be built.
bool CreateCalculatorControls(QWidget* panel, const TCalcImage& image);

// The text a panel shows in place of controls (a compile error, a wrong
// size); an empty text hides it.
void SetCalcPanelText(QWidget* panel, const QString& text);

// Runs entry 0 (ONSHOW), 1 (ONAPPLY) or 2 (ONCHANGE) of the built
// calculator. Nothing unless CalcBuilt, while a module procedure runs, or
// while a calculator run goes on: a run never starts inside another. An
// ONSHOW asked for by a calculator opened during a run goes once that
// run has ended.
void RunCalculatorEvent(int entry);
// Buffer 1 changed: ONCHANGE of a built calculator.
void NotifyCalculatorChange();
