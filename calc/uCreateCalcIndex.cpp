#include "calc/uCreateCalcIndex.h"

#include "calc/uCreateCalcIndexTree.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Pump.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <filesystem>
#include <set>

bool FoldersFirst = false;
TCalcIndexProgress CalcIndexProgress;

namespace {

namespace fs = std::filesystem;

constexpr const char* IndexTxt = "Calculators\\index.txt";
constexpr const char* IndexIni = "Calculators\\index.ini";
// Enough for a title on the first or second line of any script.
constexpr size_t TitleReadLimit = 64 * 1024;

void Progress(int line, const std::string& text)
{
    if (CalcIndexProgress)
        CalcIndexProgress(line, text);
}

// Whether "index.txt" can hold the name of a folder entry so that it reads
// back as the same entry: not when the page lacks one of its characters
// (two such names would both read as the same "?"s), nor when it holds a
// backslash (read back as a folder) or a control character (a line end
// would split the entry).
bool IndexableName(const std::string& entry)
{
    const std::string name = Utf8ToCp1251(entry);
    return Cp1251ToUtf8(name) == entry && std::none_of(name.begin(), name.end(), [](char c) {
               return c == '\\' || static_cast<unsigned char>(c) < ' ';
           });
}

class TCalcFolderScan {
public:
    TCalcFolderScan(std::vector<TCalcIndexEntry>& entries, TStringList* notes) : entries_(entries), notes_(notes) {}
    // folder: native path; relative: its code page path below Calculators,
    // `indexable` false when some part of it cannot be named in the index
    // (it then only serves the notes).
    void Scan(const std::string& folder, const std::string& relative, bool indexable = true);

private:
    void IndexFile(const std::string& file, const std::string& relative, bool indexable);
    void Note(const std::string& text)
    {
        if (notes_)
            notes_->Add(text);
    }

    std::vector<TCalcIndexEntry>& entries_;
    TStringList* notes_;
    // Folders already scanned, by their real path: a link back up the tree
    // is met a second time and left alone.
    std::set<std::string> seen_;
};

void TCalcFolderScan::Scan(const std::string& folder, const std::string& relative, bool indexable)
{
    std::error_code ec;
    const std::string real = fs::canonical(folder, ec).string();
    if (ec || !seen_.insert(real).second)
        return;
    Progress(2, Utf8ToCp1251(folder));
    PumpMessages();
    const auto below = [&relative](const std::string& entry) {
        const std::string name = Utf8ToCp1251(entry);
        return relative.empty() ? name : relative + "\\" + name;
    };
    for (const std::string& sub : ListFolder(folder, true, false))
        Scan(folder + "/" + sub, below(sub), indexable && IndexableName(sub));
    for (const std::string& file : ListFolder(folder, false, true))
        if (AnsiSameText(ExtractFileExt(file), ".cal"))
            IndexFile(folder + "/" + file, below(file), indexable && IndexableName(file));
}

void TCalcFolderScan::IndexFile(const std::string& file, const std::string& relative, bool indexable)
{
    TFileReader reader(file);
    std::string head(TitleReadLimit, '\0');
    const int64_t n = reader.IsOpen() ? reader.Read(head.data(), head.size()) : -1;
    if (n < 0) {
        Note(relative + ": the file cannot be read");
        return;
    }
    head.resize(static_cast<size_t>(n));
    const std::string title = ScriptTitleLine(head);
    if (title.empty() || title[0] != '[')
        return;
    std::string reason;
    const std::string path = TitleTreePath(title, reason);
    if (path.empty())
        Note(relative + ": " + reason);
    // A blank in front of the value is lost when the INI line is read.
    else if (!indexable || Trim(relative) != relative)
        Note(relative + " [" + path + "]: its path cannot be written in the index (a character the code "
                                      "page lacks, a backslash, a control character or a leading blank)");
    else
        entries_.push_back({path, relative});
}

std::string IndexTxtText(const std::vector<TCalcIndexEntry>& entries)
{
    std::string text;
    for (const TCalcIndexEntry& e : entries)
        text += "[" + e.Path + "]\r\nFile=" + e.File + "\r\n";
    return text;
}

} // namespace

std::string SplitFirstPart(std::string& path)
{
    const auto slash = path.find('\\');
    std::string first = path.substr(0, slash);
    path = slash == std::string::npos ? std::string() : path.substr(slash + 1);
    return first;
}

bool CreateCalculatorsIndex(TStringList* notes)
{
    const std::string folder = NativePath("Calculators");
    if (!ForceDirectories(folder)) {
        if (notes)
            notes->Add("The folder " + Utf8ToCp1251(folder) + " cannot be made");
        return false;
    }
    PumpMessages();
    Progress(1, "Create calculators index...");
    std::vector<TCalcIndexEntry> entries;
    TCalcFolderScan(entries, notes).Scan(folder, "");
    Progress(1, "Update index...");
    DropCollidingEntries(entries, notes);
    Progress(1, "Sort index...");
    const std::string ini = IndexIniText(entries, FoldersFirst, [](const std::string& section) {
        Progress(2, section);
    });
    const bool written = WriteWholeFileSafely(NativePath(IndexTxt), IndexTxtText(entries)) &&
                         WriteWholeFileSafely(NativePath(IndexIni), ini);
    if (!written && notes)
        notes->Add("The index files in " + Utf8ToCp1251(folder) + " cannot be written");
    return written;
}
