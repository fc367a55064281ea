#include "buffer/forms/FileServDialogs.h"

#include "buffer/FileServ.h"
#include "buffer/FileServFiles.h"
#include "buffer/forms/HDump.h"
#include "engine/Global.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"

#include <QFileDialog>

QStringList DialogFilters(const char* filter)
{
    const QStringList parts = QString::fromLatin1(filter).split(QLatin1Char('|'));
    QStringList names;
    for (int i = 0; i < parts.size(); i += 2)
        names << parts[i];
    return names;
}

namespace {

QString StartFolder()
{
    return QString::fromStdString(NativePath(SaveDirectory));
}

// Runs a dialog with the given filters, the filter `index` (from 1) chosen
// and the file name `preset` (code page 1251) offered; on OK gives the
// chosen name (code page 1251) and filter index.
bool RunFileDialog(QFileDialog& dialog, const char* filter, int index, const std::string& preset, std::string& chosen,
                   int& chosenIndex)
{
    const QStringList names = DialogFilters(filter);
    dialog.setNameFilters(names);
    if (index >= 1 && index <= names.size())
        dialog.selectNameFilter(names[index - 1]);
    // Offered after the filter is chosen: choosing a filter swaps the
    // "extension" of the name shown, which would cut a name with dots.
    if (!preset.empty())
        dialog.selectFile(Cp1251ToQString(ExtractFileName(preset)));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    chosen = QStringToPath(dialog.selectedFiles().first());
    chosenIndex = int(names.indexOf(dialog.selectedNameFilter())) + 1;
    return true;
}

} // namespace

bool RunSaveDialog(QFileDialog& dialog, const char* filter, int index, const std::string& preset, std::string& chosen,
                   int& chosenIndex)
{
    // The dialog's own overwrite question would ask about the name as typed,
    // before the filter's extension is added: the question is asked here,
    // for the name that will be written.
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    std::string offered = preset;
    for (;;) {
        std::string typed;
        if (!RunFileDialog(dialog, filter, index, offered, typed, chosenIndex))
            return false;
        chosen = SettleSaveName(typed, filter, chosenIndex);
        if (!FileExists(NativePath(chosen)) || AskReplaceFile(chosen))
            return true;
        index = chosenIndex;
        offered = chosen;
    }
}

bool SaveBufferDialog(THexDump& view, std::string& fileName, const std::string& eefDescription)
{
    QFileDialog dialog(view.window(), QString(), StartFolder());
    std::string chosen;
    int index = 1;
    if (!RunSaveDialog(dialog, SaveBufferFilter, SaveFileExtension, fileName, chosen, index))
        return false;
    return SaveBufferChosen(view.Buffer(), chosen, index, fileName, eefDescription);
}

bool OpenBufferDialog(THexDump& view, std::string& fileName, bool* cancelled)
{
    OpenedFileChip.clear();
    QFileDialog dialog(view.window(), QString(), StartFolder());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // The dialog starts in the save folder whatever folder the preset name
    // was in; only its name is offered.
    std::string chosen;
    int index = 1;
    const bool accepted = RunFileDialog(dialog, OpenBufferFilter, OpenFileExtension, fileName, chosen, index);
    if (cancelled)
        *cancelled = !accepted;
    if (!accepted || !OpenBufferChosen(view.Buffer(), chosen, index, fileName))
        return false;
    view.FileLoaded();
    return true;
}

void SelectDumpFileName(std::string& fileName)
{
    fileName.clear();
    QFileDialog dialog(nullptr, QString(), StartFolder());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    std::string chosen;
    int index = 1;
    if (RunFileDialog(dialog, SelectDumpFilter, 1, {}, chosen, index) && FileExists(NativePath(chosen)))
        fileName = chosen;
}

bool SaveArrayRange(const TDumpBuffer& buffer, int64_t from, bool wordMode, int64_t to)
{
    QFileDialog dialog(nullptr, QString(), StartFolder());
    std::string chosen;
    int index = 1;
    if (!RunSaveDialog(dialog, SaveRangeFilter, 1, {}, chosen, index))
        return false;
    std::string error;
    if (SaveArrayRangeChosen(buffer, from, to, wordMode, chosen, index, error))
        return true;
    ShowMessageBox(error, "Tarku", MB_OK | MB_ICONWARNING);
    return false;
}
