#include "app/forms/MainDock.h"

#include "app/MainDock.h"
#include "app/forms/Main.h"
#include "app/forms/MainFileView.h"
#include "engine/Global.h"
#include "engine/LanguageTexts.h"
#include "platform/Cp1251.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/SysUtils.h"

#include <QDockWidget>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace {

// Width of a site opened by a drop, as at the first start.
constexpr int DefaultSiteWidth = 150;

const Qt::DockWidgetArea Sites[] = {Qt::LeftDockWidgetArea, Qt::RightDockWidgetArea};

} // namespace

TMainDock::TMainDock(TMainForm& form) : QObject(&form), form_(form)
{
    setObjectName("MainDock");
    FileWindow = new TFileWindow(form);
    // Until the layout or the user places them, the file window docks at
    // the left of the dump and the calculators at its right.
    pnFileView = MakePanel(FileViewPanelName, "File view", FileWindow, Qt::LeftDockWidgetArea);
    // Until the calculator panel fills it, the panel holds an empty area.
    auto* calc = new QWidget;
    calc->setObjectName("CalcPanelArea");
    CalcPanel = MakePanel(CalcPanelName, "Calculators", calc, Qt::RightDockWidgetArea);
    connect(form.mmView, &QMenu::aboutToShow, this, [this] {
        form_.Command("mmFilewindow")->setChecked(pnFileView->isVisible());
        form_.Command("mmCalculatorswindow")->setChecked(CalcPanel->isVisible());
    });
}

QDockWidget* TMainDock::MakePanel(const char* name, const char* title, QWidget* content, Qt::DockWidgetArea site)
{
    auto* panel = new QDockWidget(QString::fromLatin1(title), &form_);
    panel->setObjectName(name);
    panel->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    panel->setWidget(content);
    form_.addDockWidget(site, panel);
    panel->hide();
    connect(panel, &QDockWidget::dockLocationChanged, this, [this, panel] { PanelDocked(panel); });
    return panel;
}

void TMainDock::Relabel()
{
    const TLanguageGroup menu("[VIEW_MENU]");
    pnFileView->setWindowTitle(
        Cp1251ToQString(WithoutFirstAmpersand(menu.Text(2, "File view"))));
    const TLanguageGroup mainMenu("[MAIN_MENU]");
    CalcPanel->setWindowTitle(Cp1251ToQString(WithoutFirstAmpersand(mainMenu.Text(4, "Calculators"))));
    FileWindow->Relabel();
}

QDockWidget* TMainDock::PanelNamed(const std::string& name) const
{
    return name == FileViewPanelName ? pnFileView : name == CalcPanelName ? CalcPanel : nullptr;
}

std::string TMainDock::LayoutFile(const char* name) const { return NativePath(name); }

void TMainDock::PanelDocked(QDockWidget* panel)
{
    if (panel->isFloating())
        return;
    const Qt::DockWidgetArea site = form_.dockWidgetArea(panel);
    for (QDockWidget* other : {pnFileView, CalcPanel})
        if (other != panel && !other->isFloating() && other->isVisible() && form_.dockWidgetArea(other) == site)
            return;
    form_.resizeDocks({panel}, {DefaultSiteWidth}, Qt::Horizontal);
}

void TMainDock::LoadDockLayout()
{
    for (QDockWidget* panel : {pnFileView, CalcPanel})
        panel->hide();
    const TDockSizes sizes = ReadDockSizes(LayoutFile(LayoutIniFile));
    // The right site first, as the arrangement was always restored.
    const std::pair<Qt::DockWidgetArea, const char*> files[] = {{Qt::RightDockWidgetArea, RightLayoutFile},
                                                                {Qt::LeftDockWidgetArea, LeftLayoutFile}};
    for (auto [site, file] : files) {
        const auto panels = ReadDockSite(LayoutFile(file));
        if (!panels || panels->empty())
            continue;
        QList<QDockWidget*> docks;
        QList<int> heights;
        for (const TDockedPanel& p : *panels) {
            QDockWidget* panel = PanelNamed(p.Name);
            panel->setFloating(false);
            form_.addDockWidget(site, panel, Qt::Vertical);
            panel->show();
            docks << panel;
            heights << p.Height;
        }
        form_.resizeDocks(docks, heights, Qt::Vertical);
        form_.resizeDocks({docks.first()}, {site == Qt::LeftDockWidgetArea ? sizes.LeftWidth : sizes.RightWidth},
                          Qt::Horizontal);
    }
    FileWindow->pnFileInfo->setMinimumHeight(0);
    FileWindow->Splitter1->setSizes({std::max(1, FileWindow->Splitter1->height() - sizes.FileInfoHeight),
                                     sizes.FileInfoHeight});
    if (Panel6)
        Panel6->resize(Panel6->width(), sizes.CalcInfoHeight);
}

void TMainDock::SaveDockLayout()
{
    std::vector<std::string> failed;
    std::optional<int> widths[2];
    for (int i = 0; i < 2; ++i) {
        std::vector<QDockWidget*> docked;
        for (QDockWidget* panel : {pnFileView, CalcPanel})
            if (!panel->isFloating() && panel->isVisible() && form_.dockWidgetArea(panel) == Sites[i])
                docked.push_back(panel);
        std::sort(docked.begin(), docked.end(),
                  [](QDockWidget* a, QDockWidget* b) { return a->y() < b->y(); });
        std::vector<TDockedPanel> panels;
        for (QDockWidget* panel : docked)
            panels.push_back({QStringToCp1251(panel->objectName()), panel->height()});
        const std::string site = LayoutFile(i == 0 ? LeftLayoutFile : RightLayoutFile);
        if (!WriteDockSite(site, panels))
            failed.push_back(site);
        if (!docked.empty())
            widths[i] = docked.front()->width();
    }
    const int fileInfo = FileWindow->pnFileInfo->height();
    const std::string sizesFile = LayoutFile(LayoutIniFile);
    if (!WriteDockSizes(sizesFile, widths[0], widths[1], fileInfo, Panel6 ? Panel6->height() : 100))
        failed.push_back(sizesFile);
    std::string names;
    for (const std::string& file : failed)
        names += "\r\n" + Utf8ToCp1251(file);
    if (!names.empty())
        ShowMessageBox("Cannot save the window layout to:" + names, "Tarku", MB_OK | MB_ICONWARNING);
}

void TMainDock::KeepUndockedSizes()
{
    if (!CalcPanel->isFloating() || !CalcPanel->isVisible())
        return;
    CalcTreeUndockWidth = CalcPanel->width();
    CalcTreeUndockHeight = CalcPanel->height();
}

void TMainDock::mmFilewindowClick() { ShowPanel(pnFileView); }

void TMainDock::ShowCalculatorsWindow() { ShowPanel(CalcPanel); }

// A fixed place on the screen lies over whatever the main window shows
// there (its menu, its tool bar, the dump), so a hidden panel comes back
// where it was last: on its dock site beside the dump, opened at the
// default width when the site held nothing else, or floating where the
// user left it in this run.
void TMainDock::ShowPanel(QDockWidget* panel)
{
    if (panel->isVisible())
        return;
    panel->show();
    if (!panel->isFloating())
        PanelDocked(panel);
}

void TMainDock::FormCreate()
{
    Relabel();
    FileWindow->InitFileWindow();
    LoadDockLayout();
}

void InstallMainDock(TMainForm& form)
{
    form.Docks = new TMainDock(form);
    TMainDock* docks = form.Docks;
    form.SetCommandHandler("mmFilewindow", [docks] { docks->mmFilewindowClick(); });
    form.SetCommandHandler("mmCalculatorswindow", [docks] { docks->ShowCalculatorsWindow(); });
    form.SetCommandHandler("mmDumps", [&form] { form.mmDumpsClick(); });
    form.SetCommandHandler("Addfiletodumplibrary1", [&form] { form.Addfiletodumplibrary1Click(); });
}
