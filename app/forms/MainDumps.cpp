// The main window's dumps library commands: the library window, adding
// buffer 1 to the library with its note, and loading, comparing and XORing
// with a library dump.
#include "app/forms/Main.h"

#include "app/MainDumps.h"
#include "app/MainEdit.h"
#include "app/MainFile.h"
#include "app/uBinList.h"
#include "app/forms/HotLabel.h"
#include "app/forms/MainDumpFolders.h"
#include "app/forms/uBinList.h"
#include "app/forms/uSaveFileDescription.h"
#include "buffer/FileServ.h"
#include "buffer/forms/FileServDialogs.h"
#include "buffer/forms/HDump.h"
#include "engine/Global.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Pump.h"
#include "platform/SysUtils.h"

#include <QFileDialog>
#include <QPlainTextEdit>

namespace {

void ReportUnreadable(const std::string& fileName, const std::string& reason)
{
    std::string text = "Error open file \"" + fileName + "\"";
    if (!reason.empty())
        text += "\n" + reason;
    ShowMessageBox(text, "Compare", MB_OK | MB_ICONWARNING);
}

} // namespace

void TMainForm::mmDumpsClick()
{
    TfmBinList library(this);
    library.exec();
    if (!library.Result || library.Choice.DumpFile.empty())
        return;
    LoadDumpFromLibrary(library.Choice.DumpFile, library.ChipName, true);
}

void TMainForm::LoadDumpFromLibrary(const std::string& fileName, const std::string& chipName, bool inEditorMode)
{
    std::string entry;
    if (inEditorMode || !HexDump1->Buffer().EditorMode)
        entry = FindNoteChip(ChipList, chipName);
    const bool switchChip = !entry.empty() && !(moduleLoaded_ && entry == CurrentChip);
    // The module load erases the buffers and the dump replaces buffer 1:
    // what the user changed is offered for saving first.
    if (switchChip ? !AskBeforeModuleLoad() : !AskSaveBeforeReplace(*HexDump1, WatchedFileName, ""))
        return;
    if (switchChip)
        LoadModule(entry);
    PumpMessages();
    if (!LoadFromFile(HexDump1->Buffer(), fileName))
        return;
    HexDump1->FileLoaded();
    Buffer1Loaded(fileName, false);
    UpdateCaption();
}

std::string TMainForm::AddBufferToLibrary(const std::string& folder, bool inFolder)
{
    QFileDialog dialog(this, QString(), QString::fromStdString(NativePath(folder)));
    std::string file;
    int filter = 1;
    if (!RunSaveDialog(dialog, LibrarySaveFilter, inFolder ? 2 : 1, {}, file, filter))
        return {};
    if (!SaveToFile(HexDump1->Buffer(), file))
        return {};
    WatchedFileName = file;
    WatchFile(Buffer1Watch, file);
    HexDump1->Buffer().Modified = false;
    UpdateCaption();
    // The note keeps the name stored libraries give it, so it may be the
    // note of a namesake dump (x.bin beside x.hex) or a text of the user's.
    const std::string note = DumpNoteFile(file);
    const TNoteFileKind kind = NoteFileKind(note);
    if (kind == TNoteFileKind::Other) {
        const std::string question = "\"" + note + "\" is no note of the dump library.\r\n" +
                                     "Do you want to replace it with the note of \"" + ExtractFileName(file) + "\"?";
        if (ShowMessageBox(question, "Tarku", MB_YESNO | MB_ICONQUESTION) != IDYES)
            return file;
    }
    TfmAddFileDescription description(this);
    description.Memo1->setPlainText(kind == TNoteFileKind::Note
                                        ? NoteForMemo(note)
                                        : Cp1251ToQString("CHIP=" + QStringToCp1251(hlChipName->text())));
    if (description.exec() == QDialog::Accepted) {
        TStringList lines;
        lines.SetText(QStringToCp1251(description.Memo1->toPlainText()));
        SaveDumpNote(note, lines);
    }
    return file;
}

void TMainForm::Addfiletodumplibrary1Click() { AddBufferToLibrary(LibraryRoot(), false); }

void TMainForm::CompareWithLibraryFile(const std::string& fileName)
{
    THexDump* view = ActiveView();
    std::vector<uint8_t> image;
    std::string message;
    if (!LoadFileImage(fileName, view->Buffer().GetSize(), image, message)) {
        ReportUnreadable(fileName, message);
        return;
    }
    const int64_t mismatches = CompareWithImage(view->Buffer(), image);
    BuffersChanged();
    ShowMessageBox("Mismatch: " + IntToStr(mismatches), "Compare", MB_OK | MB_ICONINFORMATION);
}

void TMainForm::XorWithLibraryFile(const std::string& fileName)
{
    std::string message;
    if (!XorWithDumpFile(ActiveView()->Buffer(), fileName, message)) {
        ReportUnreadable(fileName, message);
        return;
    }
    BuffersChanged();
}
