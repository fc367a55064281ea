#include "app/forms/MainDumpFolders.h"

#include "app/forms/fmAddFolder.h"
#include "app/uBinList.h"
#include "engine/Global.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"

#include <QFileDialog>

bool ChooseLibraryFolder(QWidget* owner, std::string& folder)
{
    QFileDialog dialog(owner, QString(), QString::fromStdString(NativePath(LibraryRoot())));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    folder = QStringToPath(dialog.selectedFiles().first());
    if (folder.empty() || (folder.back() != '\\' && folder.back() != '/'))
        folder += "\\";
    LibraryFolder = folder;
    return true;
}

QString NoteForMemo(const std::string& noteFile)
{
    const TStringList lines = ReadDumpNote(noteFile);
    QStringList memo;
    for (int i = 0; i < lines.Count(); ++i)
        memo << Cp1251ToQString(lines[i]);
    return memo.join(QLatin1Char('\n'));
}

bool SaveDumpNote(const std::string& noteFile, const TStringList& lines)
{
    if (WriteDumpNote(noteFile, lines))
        return true;
    ShowMessageBox("Cannot write file \"" + noteFile + "\"", "Tarku", MB_OK | MB_ICONERROR);
    return false;
}

bool CreateFolderUnder(QWidget* owner, const std::string& parent)
{
    TfmCreateFolder dialog(owner);
    dialog.SetParentFolder(parent);
    if (dialog.exec() != QDialog::Accepted || dialog.FolderName().empty())
        return false;
    const std::string folder = dialog.NativeFolder();
    if (ForceDirectories(folder))
        return true;
    ShowMessageBox("Cannot create folder \"" + Utf8ToCp1251(folder) + "\"", "Tarku", MB_OK | MB_ICONERROR);
    return false;
}
