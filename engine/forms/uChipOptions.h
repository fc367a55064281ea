#pragma once
// The module parameters window: holds the parameter controls of a module
// that declares them in [INTERFACE WINDOW]; the module loader creates them on
// Panel1, named after the module's control names.
#include <QDialog>

#include <optional>
#include <vector>

class QPushButton;
class QWidget;

// Heights that fit controls at the given top coordinates: the window's
// client area and Panel1. Nothing when there are no controls.
struct TChipOptionsHeights {
    int ClientHeight;
    int PanelHeight;
};
std::optional<TChipOptionsHeights> ChipOptionsHeights(const std::vector<int>& tops);

class TfmChipOptions : public QDialog {
    Q_OBJECT
public:
    explicit TfmChipOptions(QWidget* parent = nullptr);

    QWidget* Panel1;
    QPushButton* Button1;

    // Shows the module's controls and fits the window to them.
    void FormShow();
    void Button1Click();

signals:
    // A left click with Ctrl held on the panel: the main window offers to
    // store the current parameter values as the module's defaults.
    void Panel1CtrlClick(QPoint position);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeButton();
};
