// The main window's buffer files: open, save, recent files and the
// questions before a modified buffer is replaced or the program ends.
#include "app/forms/Main.h"
#include "app/forms/MainCalc.h"

#include "app/IniFile.h"
#include "app/MainModule.h"
#include "app/MainRecentFiles.h"
#include "app/MainStatus.h"
#include "app/forms/HotLabel.h"
#include "app/forms/MainDock.h"
#include "buffer/FileServ.h"
#include "buffer/forms/FileServDialogs.h"
#include "buffer/forms/HDump.h"
#include "calc/forms/Templ.h"
#include "engine/ComUtils.h"
#include "engine/Global.h"
#include "engine/LanguageTexts.h"
#include "engine/uExecuteLock.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QTabBar>

#include <ctime>

namespace {

std::tm Now()
{
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return local;
}

} // namespace

// Yes saves first (a cancelled save stops the command), No goes on without
// saving, Cancel stops. false: the command stops.
bool TMainForm::AskSaveBeforeReplace(THexDump& view, std::string& fileName, const std::string& buffer,
                                     TWatchedFile* watch)
{
    if (!view.Buffer().Modified)
        return true;
    const std::string text = buffer.empty() ? MessageText(msgSaveBeforeLoad) : buffer + ": " + MessageText(msgSaveBeforeLoad);
    switch (ShowMessageBox(text, "Tarku", MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDNO:
        return true;
    case IDYES:
        if (!SaveBufferDialog(view, fileName))
            return false;
        view.Buffer().Modified = false;
        if (watch)
            WatchFile(*watch, fileName);
        return true;
    default:
        return false;
    }
}

void TMainForm::mnFileReadClick()
{
    if (Buffer2Active())
        OpenIntoBuffer2();
    else
        OpenIntoBuffer1();
    UpdateCaption();
}

void TMainForm::OpenIntoBuffer2()
{
    if (!AskSaveBeforeReplace(*HexDump2, Buffer2FileName, QStringToCp1251(TabControl1->tabText(1)), &Buffer2Watch))
        return;
    // A failed load was shown by the dialog and left the buffer as it was.
    if (!OpenBufferDialog(*HexDump2, Buffer2FileName))
        return;
    WatchFile(Buffer2Watch, Buffer2FileName);
    if (WorkParam & wpHideMismatch)
        HexDump2->HideMismatch();
    HexDump2->Buffer().Modified = false;
    BuffersChanged();
}

void TMainForm::OpenIntoBuffer1()
{
    if (!AskSaveBeforeReplace(*HexDump1, WatchedFileName, "", &Buffer1Watch))
        return;
    std::string fileName = WatchedFileName;
    if (!OpenBufferDialog(*HexDump1, fileName))
        return;
    Buffer1Loaded(fileName, true);
    if (!OpenedFileChip.empty())
        LoadOpenedFileChip(fileName);
}

// A file that names its chip brings that chip's module. The load erases
// the buffers, so the file goes into the module's buffer 1 once more
// afterwards: the user opened it to work on it.
void TMainForm::LoadOpenedFileChip(const std::string& fileName)
{
    std::string entry = OpenedFileChip;
    if ((moduleLoaded_ && FindChipEntry(ChipList, entry) >= 0 && entry == CurrentChip) || !AskBeforeModuleLoad())
        return;
    LoadModule(OpenedFileChip);
    if (!LoadFromFile(HexDump1->Buffer(), fileName))
        return;
    HexDump1->FileLoaded();
    Buffer1Loaded(fileName, false);
}

// After buffer 1 took a file: the file is watched and recent, the view at
// its top, the buffer unmodified.
void TMainForm::Buffer1Loaded(const std::string& fileName, bool recent)
{
    WatchedFileName = fileName;
    WatchFile(Buffer1Watch, fileName);
    HexDump1->Edit().CaretNibble = 0;
    HexDump1->Edit().CaretByte = 0;
    HexDump1->Edit().ScrollToAddress(0);
    if (recent) {
        AddRecentFile(RecentFiles, fileName);
        RebuildRecentFiles();
    }
    if (WorkParam & wpHideMismatch)
        HexDump1->HideMismatch();
    if (HexDump1->Buffer().EditorMode)
        HexDump1->Edit().WordMode = false;
    HexDump1->Buffer().Modified = false;
    BuffersChanged();
}

void TMainForm::mnFileSaveClick()
{
    if (Buffer2Active()) {
        if (SaveBufferDialog(*HexDump2, Buffer2FileName)) {
            HexDump2->Buffer().Modified = false;
            WatchFile(Buffer2Watch, Buffer2FileName);
        }
    }
    else {
        std::string name = WorkParam & wpDatedSaveName
                               ? DatedSaveName(Now(), QStringToCp1251(hlChipName->text()))
                               : std::string();
        if (SaveBufferDialog(*HexDump1, name))
            HexDump1->Buffer().Modified = false;
    }
    // A save over the watched file is no change by another program.
    RefreshWatch(Buffer1Watch);
    BuffersChanged();
}

void TMainForm::OpenRecentFile(int index)
{
    if (index < 0 || index >= RecentFiles.Count())
        return;
    const std::string fileName = RecentFiles[index];
    if (!FileExists(NativePath(fileName)) || RunActive())
        return;
    std::string watched = WatchedFileName;
    if (!AskSaveBeforeReplace(*HexDump1, watched, ""))
        return;
    if (!LoadFromFile(HexDump1->Buffer(), fileName))
        return;
    HexDump1->FileLoaded();
    Buffer1Loaded(fileName, true);
    UpdateCaption();
}

// The File menu's recent items: one per path, the newest first, after a
// separator; none and no separator for an empty list.
void TMainForm::RebuildRecentFiles()
{
    for (QAction* item : recentItems_)
        item->deleteLater();
    recentItems_.clear();
    if (!recentSeparator_) {
        recentSeparator_ = mmFile->addSeparator();
        recentSeparator_->setObjectName("RecentSeparator");
    }
    recentSeparator_->setVisible(!RecentFiles.Empty());
    for (int i = 0; i < RecentFiles.Count(); ++i) {
        QAction* item = mmFile->addAction(Cp1251ToQString(RecentFileCaption(RecentFiles[i])));
        connect(item, &QAction::triggered, this, [this, i] { OpenRecentFile(i); });
        item->setEnabled(!RunActive());
        recentItems_.push_back(item);
    }
}

void TMainForm::mnExitClick() { close(); }

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (FormClose())
        event->accept();
    else
        event->ignore();
}

bool TMainForm::AskSaveBeforeExit(THexDump& view, const std::string& buffer)
{
    if (!view.Buffer().Modified)
        return true;
    const std::string text = buffer.empty() ? MessageText(msgSaveBeforeExit) : buffer + ": " + MessageText(msgSaveBeforeExit);
    switch (ShowMessageBox(text, "Tarku", MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDNO:
        return true;
    case IDYES: {
        std::string name = DatedSaveName(Now(), QStringToCp1251(hlChipName->text()));
        if (!SaveBufferDialog(view, name))
            return false;
        view.Buffer().Modified = false;
        return true;
    }
    default:
        return false;
    }
}

// Closing: refused while a run is in progress; each modified buffer is
// asked about; then the settings are saved. false keeps the window open.
bool TMainForm::FormClose()
{
    if (RunActive()) {
        ShowMessageBox(RunInProgressText(), "Tarku", MB_OK | MB_ICONWARNING);
        return false;
    }
    const bool twoBuffers = TabControl1->count() > 1;
    if (!AskSaveBeforeExit(*HexDump1, twoBuffers ? QStringToCp1251(TabControl1->tabText(0)) : ""))
        return false;
    if (!AskSaveBeforeExit(*HexDump2, QStringToCp1251(TabControl1->count() > 1 ? TabControl1->tabText(1)
                                                                                : QStringLiteral("Buffer 2"))))
        return false;
    if (ComHandle != -1)
        CloseComPort(ComHandle);
    SaveWindowSettings();
    SaveCalcPanelSettings(*this);
    Docks->KeepUndockedSizes();
    SaveSettings();
    Docks->SaveDockLayout();
    CloseCalculator();
    return true;
}

void TMainForm::SaveWindowSettings()
{
    EditorMode = ModuleActive() ? 0 : 1;
    const QFont font = HexDump1->font();
    DumpFontName = QStringToCp1251(font.family());
    DumpFontSize = font.pointSize();
    DumpFontStyle = (font.bold() ? 1 : 0) | (font.italic() ? 2 : 0) | (font.underline() ? 4 : 0) |
                    (font.strikeOut() ? 8 : 0);
    ChipNameFontStyle = hlChipName->font().bold() ? 1 : 0;
    MainWindowState = isMaximized() ? 1 : 0;
}

void TMainForm::LoadCommandLineDump(const std::string& fileName)
{
    if (fileName.empty() || !LoadFromFile(HexDump1->Buffer(), fileName))
        return;
    HexDump1->FileLoaded();
    Buffer1Loaded(fileName, false);
    UpdateCaption();
}
