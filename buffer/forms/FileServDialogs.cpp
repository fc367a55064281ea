#include "buffer/forms/FileServDialogs.h"

#include "buffer/FileServ.h"
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

// Runs a dialog with the given filters, the filter `index` (from 1) chosen;
// on OK gives the chosen name (code page 1251) and filter index.
bool RunFileDialog(QFileDialog& dialog, const char* filter, int index, std::string& chosen, int& chosenIndex)
{
    const QStringList names = DialogFilters(filter);
    dialog.setNameFilters(names);
    if (index >= 1 && index <= names.size())
        dialog.selectNameFilter(names[index - 1]);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    chosen = QStringToCp1251(dialog.selectedFiles().first());
    chosenIndex = int(names.indexOf(dialog.selectedNameFilter())) + 1;
    return true;
}

} // namespace

bool SaveBufferDialog(THexDump& view, std::string& fileName, const std::string& eefDescription)
{
    QFileDialog dialog(view.window(), QString(), StartFolder());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("bin"));
    if (!fileName.empty())
        dialog.selectFile(Cp1251ToQString(ExtractFileName(fileName)));
    std::string chosen;
    int index = 1;
    if (!RunFileDialog(dialog, SaveBufferFilter, SaveFileExtension, chosen, index))
        return false;
    return SaveBufferChosen(view.Buffer(), chosen, index, fileName, eefDescription);
}

bool OpenBufferDialog(THexDump& view, std::string& fileName, bool* cancelled)
{
    OpenedFileChip.clear();
    QFileDialog dialog(view.window(), QString(), StartFolder());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!fileName.empty())
        dialog.selectFile(QString::fromStdString(NativePath(fileName)));
    std::string chosen;
    int index = 1;
    const bool accepted = RunFileDialog(dialog, OpenBufferFilter, OpenFileExtension, chosen, index);
    if (cancelled)
        *cancelled = !accepted;
    if (!accepted || !OpenBufferChosen(view.Buffer(), chosen, index, fileName))
        return false;
    // The load may have resized the buffer under the view.
    if (view.Buffer().EditorMode)
        view.SetSize(view.GetSize());
    view.Edit().SetScrollPos(0);
    view.Paint();
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
    if (RunFileDialog(dialog, SelectDumpFilter, 1, chosen, index) && FileExists(NativePath(chosen)))
        fileName = chosen;
}

bool SaveArrayRange(const TDumpBuffer& buffer, int64_t from, bool wordMode, int64_t to)
{
    QFileDialog dialog(nullptr, QString(), StartFolder());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    std::string chosen;
    int index = 1;
    if (!RunFileDialog(dialog, SaveRangeFilter, 1, chosen, index))
        return false;
    std::string error;
    if (SaveArrayRangeChosen(buffer, from, to, wordMode, chosen, index, error))
        return true;
    ShowMessageBox(error, "Tarku", MB_OK | MB_ICONWARNING);
    return false;
}
