#pragma once
// The calculator panel ("Calculators"): the tree of all calculators from the
// calculator index, the chosen calculator's description with its picture
// and save buttons, and the built-in calculator area with Apply and Close.
// A self-contained widget: the main window holds it (floating while no dock
// site takes it) and binds its commands with StartCalcPanel.
#include <QWidget>

#include <functional>
#include <string>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class TDeviceView;
class TMainForm;

class TCalcPanel : public QWidget {
public:
    explicit TCalcPanel(QWidget* parent = nullptr);

    QWidget* Panel18;           // header
    QLabel* GLabel3;            // " Calculators"
    QLabel* lbRefreshCalcs;     // " Refresh ": rebuilds the index
    TDeviceView* CalcTree;      // over "Calculators\index.ini"
    QSplitter* Splitter5;       // between the tree and Panel6
    QWidget* Panel6;            // bottom area: clcPanel or pnCalcInfo
    QWidget* clcPanel;          // the built-in calculator
    QLabel* lbCalcCaption;
    QWidget* pnCalc;            // the calculator's controls
    QPushButton* Button6;       // Apply
    QPushButton* Button7;       // Close
    QWidget* pnCalcInfo;        // the description
    QPlainTextEdit* memCalcInfo;
    QWidget* Panel9;
    QPushButton* btCalcImage;   // Picture
    QPushButton* btSaveCalcInfo;

    // Picture file of the chosen calculator; empty when it has none.
    std::string CalcPictureFile;
    // Runs after Apply: buffer 1 may have changed.
    std::function<void()> OnApplied;

    // Start-up: rebuilds a missing index (with the progress window), reads
    // the tree, selects LastCalc and sets the bottom area's height.
    void Startup();
    // The tree's choice changed: description, picture, LastCalc.
    void ChooseCalculator();
    // Opens the chosen calculator in the built-in area or, with option bit
    // 28 set, in its own window.
    void OpenChosenCalculator();
    void ShowCalculatorPicture();
    // Asks for the sort mode and rebuilds the index; Cancel changes nothing.
    void RefreshCalculatorIndex();
    void Button6Click();
    void Button7Click();
    void btSaveCalcInfoClick();
    // Height of Panel6, kept as BuiltInCalcH.
    int BottomHeight() const;
    void SetBottomHeight(int height);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildHeader();
    void BuildCalcArea();
    void BuildInfoArea();
    void ShowCalcArea(bool calc);
    void PlaceButtons();
    // Rebuilds the index with the progress window; notes of left-out
    // scripts are shown.
    void RebuildIndex();

    // Until the panel first shows, its areas have no sizes of their own.
    bool shown_ = false;
    int bottomHeight_ = 0;
};

// Makes the main window's calculator panel, runs its start-up and binds the
// Calculators menu, "Calculators window" and "Calculator always in own
// window".
void StartCalcPanel(TMainForm& form);
// Shutdown: the panel's sizes into the settings.
void SaveCalcPanelSettings(const TMainForm& form);
