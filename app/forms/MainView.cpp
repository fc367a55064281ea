// The main window's state display: commands enabled for the state, the
// status line, caption and size label, tabs, editor-only mode, the tool
// bar toggle, hints, module warnings, and the windows the Options menu and
// the pin tester button open.
#include "app/forms/Main.h"
#include "app/forms/MainDock.h"
#include "app/forms/MainFileView.h"

#include "app/MainCommands.h"
#include "app/MainDocument.h"
#include "app/MainStatus.h"
#include "app/forms/About.h"
#include "app/forms/HotLabel.h"
#include "app/forms/MainModule.h"
#include "app/forms/uLanguage.h"
#include "buffer/forms/glabel.h"
#include "app/uLoadLanguages.h"
#include "buffer/forms/HDump.h"
#include "calc/forms/Templ.h"
#include "engine/Engine.h"
#include "engine/Global.h"
#include "engine/LanguageTexts.h"
#include "engine/Modules.h"
#include "engine/forms/uChipOptions.h"
#include "engine/forms/uExecute.h"
#include "engine/forms/uPinsTest.h"
#include "engine/forms/uSetDelay.h"
#include "engine/forms/uTest.h"
#include "engine/uExecuteLock.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Pump.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>

namespace {

QString Text(const std::string& cp1251) { return Cp1251ToQString(cp1251); }

} // namespace

bool TMainForm::RunActive() const { return RunInProgress(); }

bool TMainForm::ModuleActive() const { return moduleLoaded_; }

bool TMainForm::Buffer2Active() const { return TabControl1->count() > 1 && TabControl1->currentIndex() == 1; }

THexDump* TMainForm::ActiveView() const { return Buffer2Active() ? HexDump2 : HexDump1; }

void TMainForm::UpdateCommands()
{
    TCommandState state;
    state.RunInProgress = RunActive();
    state.ModuleLoaded = ModuleActive();
    state.HasSelection = ActiveView()->Buffer().SelStart >= 0;
    state.Buffer1AutoSized = HexDump1->Buffer().EditorMode;
    state.Buffer1Empty = HexDump1->Buffer().Empty();
    for (const TMainCommand& row : MainCommands()) {
        const auto handler = handlers_.find(CommandHandlerName(row));
        Command(row.Name)->setEnabled(CommandEnabled(row, state, handler != handlers_.end()));
    }
    // The module's own commands and controls, and the buffers' editing.
    const bool free = !state.RunInProgress;
    mmDevice->setEnabled(free && state.ModuleLoaded && !mmDevice->actions().isEmpty());
    // A disabled menu still lets its items' shortcuts through.
    for (QAction* item : mmDevice->actions())
        item->setEnabled(free && state.ModuleLoaded);
    GroupBox1->setEnabled(free);
    if (ChipOptions)
        ChipOptions->Panel1->setEnabled(free);
    hlChipName->setEnabled(free);
    vccCombobox->setEnabled(free);
    HexDump1->setEnabled(free);
    HexDump2->setEnabled(free);
    for (QAction* item : recentItems_)
        item->setEnabled(free);
}

void TMainForm::BuffersChanged()
{
    HexDump1->Paint();
    HexDump2->Paint();
    ShowCaretStatus(*ActiveView());
    NotifyCalculatorChange();
    UpdateBufferLabels();
    UpdateCommands();
}

void TMainForm::RunDeviceProcedure(const std::string& operation)
{
    if (RunActive())
        return;
    RunModuleProcedure(operation, vccCombobox->currentIndex());
    BuffersChanged();
}

void TMainForm::CaretMoved(THexDump& view, int64_t index)
{
    const auto status = CaretStatus(view.Buffer(), index, view.Edit().WordMode, view.Edit().SwapBytes, AddressLabelText,
                                    DataLabelText);
    if (!status)
        return;
    CursorAddress = status->Index;
    AdrLabel->setText(Text(status->AddressText));
    DataLabel->setText(Text(status->DataText));
}

// The status line after a change: the caret where it stands now, or the
// starting texts for a buffer that holds nothing.
void TMainForm::ShowCaretStatus(THexDump& view)
{
    if (view.Buffer().Empty()) {
        const TCaretStatus status = InitialCaretStatus(AddressLabelText, DataLabelText);
        CursorAddress = 0;
        AdrLabel->setText(Text(status.AddressText));
        DataLabel->setText(Text(status.DataText));
        return;
    }
    const THexDumpEdit& edit = view.Edit();
    CaretMoved(view, edit.WordMode ? edit.CaretNibble / 4 : edit.CurrentByte());
}

void TMainForm::UpdateCaption()
{
    const std::string tab0 = TabControl1->count() > 0 ? QStringToCp1251(TabControl1->tabText(0)) : "";
    const std::string tab1 = TabControl1->count() > 1 ? QStringToCp1251(TabControl1->tabText(1)) : "";
    setWindowTitle(Text(MainCaption(TabControl1->count(), TabControl1->currentIndex(), tab0, tab1,
                                    WatchedFileName, Buffer2FileName)));
}

void TMainForm::UpdateBufferLabels()
{
    const int tab = Buffer2Active() ? 1 : 0;
    const std::string caption = TabControl1->count() > tab ? QStringToCp1251(TabControl1->tabText(tab)) : "";
    const char* const buttons[] = {"tbReadChip", "tbWriteChip", "tbCheckChip"};
    for (int i = 0; i < 3; ++i)
        SetHint(Command(buttons[i]), caption.empty() ? HintWords[i] : HintWords[i] + " " + caption);
    const THexDump* view = ActiveView();
    Panel5->setText(Text(SizeLabelText(view->GetSize(), view->Edit().WordMode)));
    Panel5->SetActiveMode(WordToggleActive(view->Buffer(), moduleWords_[view == HexDump2 ? 1 : 0]));
    UpdateCaption();
}

void TMainForm::TabControl1Change()
{
    Panel2->setCurrentWidget(ActiveView());
    UpdateBufferLabels();
    UpdateCommands();
}

void TMainForm::SetEditorOnlyMode()
{
    while (TabControl1->count() > 0)
        TabControl1->removeTab(0);
    TabControl1->setVisible(false);
    Panel2->setCurrentWidget(HexDump1);
    if (moduleLoaded_ || !HexDump1->Buffer().EditorMode) {
        hlChipName->setText(Text(EditorLabelText));
        HexDump1->Buffer().EditorMode = true;
        HexDump1->Edit().WordMode = false;
        HexDump1->SetSize(0);
        // Nothing is left to save: the question came before.
        HexDump1->Buffer().Modified = false;
        DropModule();
    }
    BuffersChanged();
}

// Leaving the module empties buffer 1, as another chip would: the
// buffers are offered for saving first, and Cancel keeps everything.
void TMainForm::mmEditoronlyClick()
{
    if ((moduleLoaded_ || !HexDump1->Buffer().EditorMode) && !AskBeforeModuleLoad())
        return;
    SetEditorOnlyMode();
}

void TMainForm::mmToolbarClick()
{
    WorkParam ^= wpToolBarVisible;
    ToolBar1->setVisible(WorkParam & wpToolBarVisible);
    Command("mmToolbar")->setChecked(WorkParam & wpToolBarVisible);
}

void TMainForm::SetHint(QAction* action, const std::string& text)
{
    action->setToolTip(Text(text));
    action->setStatusTip(Text(text));
    if (ToolBar1 && ToolBar1->actions().contains(action))
        if (QWidget* button = ToolBar1->widgetForAction(action))
            button->setToolTipDuration(HintHidePause(text));
}

// A widget's hint is shown as its tool tip for the pause its length asks
// and, as the mouse enters it, in the status bar.
void TMainForm::SetWidgetHint(QWidget* widget, const std::string& text)
{
    widget->setToolTip(Text(text));
    widget->setStatusTip(Text(text));
    widget->setToolTipDuration(HintHidePause(text));
}

// The status bar's hint panel holds one line: a hint of several lines (a
// module's information) is shown with its lines side by side.
void TMainForm::ShowHintText(const QString& hint)
{
    QStringList lines = hint.split(QRegularExpression(QStringLiteral("[\\r\\n]+")), Qt::SkipEmptyParts);
    StatusHint->setText(lines.join(QStringLiteral("  ")));
}

bool TMainForm::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        ShowHintText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void TMainForm::ShowModuleWarnings(const TStringList& warnings)
{
    for (const std::string& line : warnings)
        pendingWarnings_.Add(line);
    if (!isVisible() || pendingWarnings_.Empty())
        return;
    const std::string text = pendingWarnings_.Text();
    pendingWarnings_.Clear();
    ShowMessageBox(text, "Tarku", MB_OK | MB_ICONWARNING);
}

void TMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!pendingWarnings_.Empty())
        QMetaObject::invokeMethod(this, [this] { ShowModuleWarnings({}); }, Qt::QueuedConnection);
}

void TMainForm::mnTestClick()
{
    if (!LinkFreeForWindow())
        return;
    if (!test_)
        test_ = new TfmTest(this);
    test_->exec();
}

void TMainForm::mnSetDelayClick()
{
    if (!setDelay_)
        setDelay_ = new TfmSetDelay(this);
    if (ShowSetDelayDialog(*setDelay_) != 0)
        return;
    for (THexDump* view : {HexDump1, HexDump2}) {
        view->Edit().AdvanceAfterIns = WorkParam & wpAdvanceAfterIns;
        view->Edit().ShowGrid = WorkParam & wpShowGrid;
        view->Edit().ShowHeader = WorkParam & wpShowAddresses;
        view->Paint();
    }
    PumpMessages();
    Docks->FileWindow->InitFileWindow();
}

void TMainForm::ShowPinTester()
{
    const int chip = ChipList.IndexOf(CurrentChip);
    if (chip < 0 || CurrentChip.empty()) {
        ShowMessageBox(CurrentChip + " " + MessageText(msgDeviceNotFound), "Tarku", MB_OK | MB_ICONWARNING);
        return;
    }
    if (!LinkFreeForWindow())
        return;
    if (!OpenDevice()) {
        ShowMessageBox(LinkNotOpenText(), "Tarku", MB_OK | MB_ICONERROR);
        return;
    }
    // Without supply the test would only report every pin as missing.
    if (!SetDevicePower(0, 0, vccCombobox->currentIndex())) {
        CloseDevice();
        ShowMessageBox(MessageText(msgProgrammerNotPresent), "Error", MB_OK | MB_ICONERROR);
        return;
    }
    TModuleInfo module;
    module.LoadFromFile("scripts\\" + ModuleFileList[chip]);
    if (!pinsTest_)
        pinsTest_ = new TfmPinsTest(this);
    const std::string picture = ChipPicturePath(ProgramFolder(), module.Picture);
    pinsTest_->LoadPicture(picture.empty() ? "" : NativePath(picture));
    // The lines tested are those of the test before a run, the ground
    // lines: the pin-test mask only says which results of a run's test count.
    pinsTest_->Mask = module.GndMask;
    pinsTest_->Result = TestPins(module.GndMask);
    pinsTest_->RunMode = false;
    pinsTest_->setWindowTitle(hlChipName->text() + " " + Text(pinsTest_->Title));
    pinsTest_->exec();
    DevicePowerOff();
    CloseDevice();
}

// The About box asks the programmer for its firmware: not under a run.
void TMainForm::About1Click()
{
    if (!AboutBox || !LinkFreeForWindow())
        return;
    AboutBox->SetSplashMode(false);
    AboutBox->exec();
}

void TMainForm::Language1Click()
{
    if (!language_)
        language_ = new TfmLanguage(this);
    language_->exec();
}
