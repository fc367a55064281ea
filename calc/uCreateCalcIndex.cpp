#include "calc/uCreateCalcIndex.h"

#include "calc/uCreateCalcIndexTree.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Pump.h"
#include "platform/RealPath.h"
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
    TCalcFolderScan(std::vector<TCalcIndexEntry>& entries, TStringList* notes, const std::string& root)
        : entries_(entries), notes_(notes), root_(root)
    {
    }
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
    const std::string root_; // the calculators folder
    // Folders already scanned, by their real path: a folder mounted again
    // below itself is met a second time and left alone.
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
    // A folder link leads out of the tree (maybe into a system folder of
    // thousands) or back into it, where its calculators are met anyway:
    // only the folders that stand in the tree are scanned.
    for (const std::string& sub : ListFolder(folder, true, false)) {
        std::error_code ec;
        if (fs::is_symlink(folder + "/" + sub, ec))
            Note(below(sub) + ": a link to a folder is not followed");
        else
            Scan(folder + "/" + sub, below(sub), indexable && IndexableName(sub));
    }
    for (const std::string& file : ListFolder(folder, false, true))
        if (AnsiSameText(ExtractFileExt(file), ".cal"))
            IndexFile(folder + "/" + file, below(file), indexable && IndexableName(file));
}

void TCalcFolderScan::IndexFile(const std::string& file, const std::string& relative, bool indexable)
{
    // A linked script is a calculator only where the link leads to one in
    // the calculators folder: the description is written into it.
    std::error_code ec;
    std::string real;
    if (fs::is_symlink(file, ec) && fs::exists(file, ec) &&
        (!ResolvesInside(file, root_, &real) || !AnsiSameText(ExtractFileExt(real), ".cal"))) {
        Note(relative + ": the link leads out of the calculators folder or to no calculator script");
        return;
    }
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
    TCalcFolderScan(entries, notes, folder).Scan(folder, "");
    Progress(1, "Update index...");
    DropCollidingEntries(entries, notes);
    Progress(1, "Sort index...");
    const std::string ini = IndexIniText(entries, FoldersFirst, [](const std::string& section) {
        Progress(2, section);
    });
    // The two files belong together: both are written in full before
    // either replaces the old one. Should the second rename still fail,
    // the start-up finds the pair disagreeing and builds it again.
    const std::string txt = IndexTxtText(entries);
    TSafeFileWriter txtFile(NativePath(IndexTxt));
    TSafeFileWriter iniFile(NativePath(IndexIni));
    const bool written = txtFile.Write(txt.data(), txt.size()) && iniFile.Write(ini.data(), ini.size()) &&
                         txtFile.Finish() && iniFile.Finish() && txtFile.Commit() && iniFile.Commit();
    if (!written && notes)
        notes->Add("The index files in " + Utf8ToCp1251(folder) + " cannot be written");
    return written;
}
