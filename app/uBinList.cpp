#include "app/uBinList.h"

#include "engine/Global.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/SysUtils.h"

#include <filesystem>
#include <sstream>

std::string LibraryRoot()
{
    std::string root = LibraryFolder;
    if (root.empty() || !DirectoryExists(NativePath(root)))
        root = ProgramFolder() + "\\Dumps";
    while (root.size() > 1 && (root.back() == '\\' || root.back() == '/'))
        root.pop_back();
    return root;
}

std::string DumpNoteFile(const std::string& dumpFile) { return ChangeFileExt(dumpFile, ".txt"); }

std::string DumpPictureFile(const std::string& dumpFile)
{
    for (const char* ext : {".bmp", ".jpg"}) {
        const std::string picture = ChangeFileExt(dumpFile, ext);
        if (FileExists(NativePath(picture)))
            return picture;
    }
    return {};
}

TStringList ReadDumpNote(const std::string& noteFile)
{
    TStringList lines;
    std::string bytes;
    if (!ReadWholeFile(NativePath(noteFile), bytes))
        return lines;
    lines.SetText(bytes);
    return lines;
}

bool WriteDumpNote(const std::string& noteFile, const TStringList& lines)
{
    return WriteWholeFileSafely(NativePath(noteFile), lines.Text());
}

TNoteFileKind NoteFileKind(const std::string& noteFile)
{
    const std::string native = NativePath(noteFile);
    // Whatever stands there, a dangling link or a folder too, is the user's
    // unless it reads as a note.
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::symlink_status(native, ec)))
        return TNoteFileKind::Missing;
    uint8_t start[5];
    const size_t got = ReadFileStart(native, start, sizeof start);
    const std::string head(reinterpret_cast<const char*>(start), got);
    return AnsiUpperCase(head) == "CHIP=" ? TNoteFileKind::Note : TNoteFileKind::Other;
}

std::string NoteChipName(const std::string& firstLine)
{
    if (AnsiUpperCase(firstLine.substr(0, 5)) != "CHIP=")
        return {};
    return AnsiUpperCase(Trim(firstLine.substr(5)));
}

std::string FindNoteChip(const TStringList& chips, const std::string& chipName)
{
    if (chipName.empty())
        return {};
    for (int i = 0; i < chips.Count(); ++i)
        if (AnsiSameText(chips[i], chipName))
            return chips[i];
    for (int i = 0; i < chips.Count(); ++i) {
        const size_t slash = chips[i].rfind('\\');
        if (AnsiSameText(slash == std::string::npos ? chips[i] : chips[i].substr(slash + 1), chipName))
            return chips[i];
    }
    return {};
}

std::string LibraryRelativePath(const std::string& root, const std::string& fileName)
{
    const std::string prefix = root + "\\";
    if (fileName.size() <= prefix.size() || !AnsiSameText(fileName.substr(0, prefix.size()), prefix))
        return {};
    return fileName.substr(prefix.size());
}

TBinListChoice ChooseLibraryNode(const std::string& fullPath)
{
    TBinListChoice choice;
    if (!FileExists(NativePath(fullPath)))
        return choice;
    choice.DumpFile = fullPath;
    choice.DescriptionFile = DumpNoteFile(fullPath);
    choice.PictureFile = DumpPictureFile(fullPath);
    return choice;
}

const char* const LibrarySaveFilter = "HEX files (*.hex)|*.hex|BIN files (*.bin)|*.bin";

bool FolderNameAllowed(const std::string& name)
{
    return name != "." && name != ".." && name.find_first_of("\\:;/\"") == std::string::npos;
}

std::string NewFolderNativePath(const std::string& parent, const std::string& name)
{
    return NativePath(parent) + "/" + Cp1251ToUtf8(name);
}
