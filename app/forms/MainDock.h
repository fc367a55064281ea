#pragma once
// The main window's two dockable panels on its left and right dock areas:
// the file window (pnFileView) and the calculators panel (CalcPanel, whose
// content the calculator panel puts in). Each docks on either side, stacks
// with the other, or floats. The arrangement is kept between runs in
// "layoutl.dat", "layoutr.dat" and "layout.ini" in the program folder
// (app/MainDock.h).
#include <QObject>
#include <Qt>

#include <string>

class QDockWidget;
class QMainWindow;
class QWidget;
class TFileWindow;
class TMainForm;

class TMainDock : public QObject {
    Q_OBJECT
public:
    explicit TMainDock(TMainForm& form);

    QDockWidget* pnFileView;
    QDockWidget* CalcPanel;
    TFileWindow* FileWindow;
    // The calculators panel's bottom area, whose height the layout keeps;
    // the calculator panel sets it when it fills CalcPanel.
    QWidget* Panel6 = nullptr;

    // Start-up: texts, the file window's tree and the arrangement.
    void FormCreate();
    // Restores the arrangement: a site file that is missing, unreadable
    // or damaged leaves its site empty; a panel docked nowhere is hidden.
    void LoadDockLayout();
    // Writes the arrangement; an empty site's file is deleted.
    void SaveDockLayout();
    // Before the settings are saved: the calculators panel's floating size.
    void KeepUndockedSizes();
    // View and Calculators menus: a hidden panel is shown again on its dock
    // site (at first the file window's is the left, the calculators' the
    // right), or floating where it floated when it was hidden.
    void mmFilewindowClick();
    void ShowCalculatorsWindow();
    void Relabel();

private:
    QDockWidget* MakePanel(const char* name, const char* title, QWidget* content, Qt::DockWidgetArea site);
    void ShowPanel(QDockWidget* panel);
    QDockWidget* PanelNamed(const std::string& name) const;
    // A panel docked on a site that held no visible panel opens it at the
    // default width.
    void PanelDocked(QDockWidget* panel);
    std::string LayoutFile(const char* name) const;

    TMainForm& form_;
};

// Makes the main window's panels (form.Docks) and binds the commands that
// show them and the library's commands.
void InstallMainDock(TMainForm& form);
