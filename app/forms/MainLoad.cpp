// The main window's chip module: loading one (buffers, tabs, parameter
// controls, Device menu and bound tool buttons, supply voltage, serial
// port), dropping it for editor-only mode, the question before a load
// replaces modified buffers, and the chip selection that leads to a load.
#include "app/forms/Main.h"

#include "app/ChipSel.h"
#include "app/MainModule.h"
#include "app/forms/ChipSel.h"
#include "app/forms/HotLabel.h"
#include "app/forms/MainDock.h"
#include "app/forms/MainFileView.h"
#include "app/forms/MainModule.h"
#include "app/uLoadLanguages.h"
#include "buffer/forms/HDump.h"
#include "calc/forms/ShowImage.h"
#include "engine/ComUtils.h"
#include "engine/Global.h"
#include "engine/LanguageTexts.h"
#include "engine/Modules.h"
#include "engine/forms/uChipOptions.h"
#include "platform/Cp1251.h"
#include "platform/MessageBox.h"
#include "platform/Pump.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QMenu>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace {

QString Text(const std::string& cp1251) { return Cp1251ToQString(cp1251); }

} // namespace

bool TMainForm::AskBeforeModuleLoad()
{
    const bool twoBuffers = TabControl1->count() > 1;
    const std::string label1 = twoBuffers ? QStringToCp1251(TabControl1->tabText(0)) : "";
    if (!AskSaveBeforeReplace(*HexDump1, WatchedFileName, label1))
        return false;
    const std::string label2 = twoBuffers ? QStringToCp1251(TabControl1->tabText(1)) : "Buffer 2";
    return AskSaveBeforeReplace(*HexDump2, Buffer2FileName, label2);
}

void TMainForm::LoadModule(const std::string& chipEntry)
{
    if (ComHandle != -1)
        CloseComPort(ComHandle);
    if (ChipList.Empty()) {
        hlChipName->clear();
        CurrentChip.clear();
        ChipName.clear();
        DropModule();
        BuffersChanged();
        return;
    }
    std::string entry = chipEntry;
    const int index = FindChipEntry(ChipList, entry);
    if (index < 0) {
        // The editor stays usable with what the buffers hold; the old
        // module's commands must not stay live under the "Editor" label.
        DropModule();
        while (TabControl1->count() > 0)
            TabControl1->removeTab(0);
        TabControl1->setVisible(false);
        Panel2->setCurrentWidget(HexDump1);
        hlChipName->setText(Text(EditorLabelText));
        HexDump1->Buffer().EditorMode = true;
        HexDump1->Edit().WordMode = false;
        BuffersChanged();
        return;
    }
    ModulePath = ModuleFilePath(ModuleFileList[index]);
    TModuleInfo module;
    module.LoadFromFile(ModulePath);
    const TModulePlan plan = PlanModule(module, WorkParam, TWidgetMetrics(this));

    SetWidgetHint(hlChipName, plan.Info.Text());
    Docks->FileWindow->ShowModuleInfo(plan.Info);
    ShowModulePicture(plan.Picture);
    ModuleAdapter = plan.Adapter;
    ApplyModuleBuffers(plan);
    hlChipName->setText(Text(ChipNameOf(entry)));
    CurrentChip = entry;
    ChipName = entry;
    ApplyModuleTabs(plan);
    ApplyModuleControls(plan);
    ApplyDeviceMenu(plan);
    vccCombobox->setCurrentIndex(plan.VoltageItem.empty() ? -1 : vccCombobox->findText(Text(plan.VoltageItem)));
    moduleLoaded_ = true;
    if (plan.Uart != 0 && !OpenModuleComPort())
        ShowMessageBox(ComPortFailedText(), "Tarku", MB_OK | MB_ICONWARNING);
    BuffersChanged();
    PumpMessages();
    ShowModuleWarnings(plan.Warnings);
}

// Buffers of a new module start erased and unmodified: the question before
// the load was the user's chance to keep what they held.
void TMainForm::ApplyModuleBuffers(const TModulePlan& plan)
{
    hasBuffer2_ = plan.HasBuffer2;
    const std::pair<THexDump*, const TBufferPlan*> buffers[] = {{HexDump1, &plan.Buffer1},
                                                              {HexDump2, plan.HasBuffer2 ? &plan.Buffer2 : nullptr}};
    for (int i = 0; i < 2; ++i) {
        auto [view, planned] = buffers[i];
        moduleWords_[i] = planned && planned->Words;
        if (!planned)
            continue;
        // An auto-sized buffer keeps its size until a file gives it one.
        view->Buffer().EditorMode = planned->AutoSize;
        if (!planned->AutoSize)
            view->SetSize(planned->Size);
        view->ClearMarkers();
        view->EraseBuffer();
        view->Edit().WordMode = planned->Words;
        view->Buffer().Modified = false;
    }
}

void TMainForm::ApplyModuleTabs(const TModulePlan& plan)
{
    {
        const QSignalBlocker blocker(TabControl1);
        const int wanted = static_cast<int>(plan.Tabs.size());
        while (TabControl1->count() > wanted)
            TabControl1->removeTab(TabControl1->count() - 1);
        for (int i = 0; i < wanted; ++i) {
            if (i < TabControl1->count())
                TabControl1->setTabText(i, Text(plan.Tabs[static_cast<size_t>(i)]));
            else
                TabControl1->addTab(Text(plan.Tabs[static_cast<size_t>(i)]));
        }
        TabControl1->setVisible(wanted > 0);
    }
    PlaceDeviceParts(plan.TabsOnTop, plan.PanelOnTop);
    Panel2->setCurrentWidget(ActiveView());
}

// Tabs above or below the dump views, the module panel above or below them.
void TMainForm::PlaceDeviceParts(bool tabsOnTop, bool panelOnTop)
{
    auto* layout = static_cast<QVBoxLayout*>(centralWidget()->layout());
    for (QWidget* w : {static_cast<QWidget*>(GroupBox1), static_cast<QWidget*>(TabControl1),
                       static_cast<QWidget*>(Panel2)})
        layout->removeWidget(w);
    TabControl1->setShape(tabsOnTop ? QTabBar::RoundedNorth : QTabBar::RoundedSouth);
    if (panelOnTop)
        layout->addWidget(GroupBox1);
    layout->addWidget(tabsOnTop ? static_cast<QWidget*>(TabControl1) : Panel2, tabsOnTop ? 0 : 1);
    layout->addWidget(tabsOnTop ? static_cast<QWidget*>(Panel2) : TabControl1, tabsOnTop ? 1 : 0);
    if (!panelOnTop)
        layout->addWidget(GroupBox1);
}

void TMainForm::ApplyModuleControls(const TModulePlan& plan)
{
    QWidget* container = GroupBox1;
    if (plan.InWindow) {
        if (!ChipOptions) {
            ChipOptions = new TfmChipOptions(this);
            connect(ChipOptions, &TfmChipOptions::Panel1CtrlClick, this, [this] { GroupBox1MouseDown(); });
        }
        container = ChipOptions->Panel1;
    }
    ParameterControls->Build(container, plan.Controls);
    GroupBox1->setVisible(plan.PanelVisible);
    if (plan.PanelVisible)
        GroupBox1->setFixedHeight(plan.PanelHeight);
}

void TMainForm::ApplyDeviceMenu(const TModulePlan& plan)
{
    for (const std::string& button : DeviceToolButtons()) {
        handlers_.erase(button);
        SetHint(Command(button), "");
    }
    for (size_t i = 0; i < 3; ++i)
        HintWords[i] = plan.HintWords[i];
    const TDeviceMenuActions actions = BuildDeviceMenu(mmDevice, plan);
    for (size_t i = 0; i < actions.Entries.size(); ++i) {
        QAction* item = actions.Entries[i];
        connect(item, &QAction::triggered, this, [this, item] { MenuClick(item); });
        const TMenuEntryPlan& entry = plan.Menu[i];
        if (entry.Button.empty())
            continue;
        QAction* button = Command(entry.Button);
        button->setText(Text(entry.Caption));
        SetHint(button, entry.Hint);
        handlers_[entry.Button] = [this, name = entry.Button] { MenuClick(ToolButtonOf(name)); };
    }
    if (actions.Parameters)
        connect(actions.Parameters, &QAction::triggered, this, [this] { btShowParametersClick(); });
    if (plan.ParametersItem)
        handlers_["tbParameters"] = [this] { btShowParametersClick(); };
    else
        handlers_.erase("tbParameters");
    if (actions.PinTester) {
        connect(actions.PinTester, &QAction::triggered, this, [this] { ShowPinTester(); });
        handlers_["btPinTest"] = [this] { ShowPinTester(); };
        SetHint(Command("btPinTest"), plan.PinTesterCaption);
    }
    else
        handlers_.erase("btPinTest");
}

// No module: its controls, Device menu items and tool button bindings go
// (deleted later: this may run under one of their handlers).
void TMainForm::DropModule()
{
    moduleLoaded_ = false;
    hasBuffer2_ = false;
    moduleWords_[0] = moduleWords_[1] = false;
    ParameterControls->Clear();
    GroupBox1->setVisible(false);
    BuildDeviceMenu(mmDevice, TModulePlan{});
    for (const std::string& button : DeviceToolButtons())
        handlers_.erase(button);
    handlers_.erase("tbParameters");
    handlers_.erase("btPinTest");
    if (ChipOptions)
        ChipOptions->hide();
}

void TMainForm::ChooseChip()
{
    if (RunActive() || !SelectForm)
        return;
    std::string chosen;
    SelectForm->SelectChip(CurrentChip.empty() ? QStringToCp1251(hlChipName->text()) : CurrentChip, chosen);
    if (chosen.empty() || !AskBeforeModuleLoad())
        return;
    LoadModule(chosen);
    UpdateCaption();
    for (THexDump* view : {HexDump1, HexDump2}) {
        if (WorkParam & wpHideMismatch)
            view->HideMismatch();
        if (WorkParam & wpEraseOnChipSelect)
            view->EraseBuffer();
    }
    BuffersChanged();
    // An open viewer follows the chip: the new one's picture, or none.
    if (fmShowImage && fmShowImage->isVisible()) {
        fmShowImage->hide();
        ShowChipPicture(ModulePictureEntry());
    }
}

void TMainForm::btShowParametersClick()
{
    if (!ChipOptions || RunActive())
        return;
    ChipOptions->setWindowTitle(hlChipName->text() + QStringLiteral(" - parameters"));
    ChipOptions->exec();
}
