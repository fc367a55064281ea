// libFuzzer target: a calculator script, lines of "index.txt" written by
// hand in front of the program's own, and a description, separated by NUL
// bytes. Reading and saving the description, and rebuilding the index, must
// never crash or reach a file outside the calculators folder; a saved
// description reads back as written, a second save of it changes nothing,
// the script keeps its place in the tree, and a rebuilt pair agrees.
#include "TestSupport.h"
#include "calc/uCreateCalcIndex.h"
#include "calc/uCreateCalcIndexTree.h"
#include "platform/Paths.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;

const std::string Outside = "[A]\r\n!outside\r\nSIZE(1,1);\r\n";

void Check(bool ok)
{
    if (!ok)
        __builtin_trap();
}

// Up to three parts of the input, split at its first two NUL bytes.
std::vector<std::string> Parts(const uint8_t* data, size_t size)
{
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < size; ++i)
        if (data[i] == 0 && parts.size() < 3)
            parts.emplace_back();
        else
            parts.back() += static_cast<char>(data[i]);
    parts.resize(3);
    return parts;
}

std::string Joined(const TStringList& memo)
{
    std::string text;
    for (const std::string& line : memo)
        text += line + "\r\n";
    return text;
}

// The description of `path` saved, read back and saved again.
void SaveAndReadBack(const std::string& path, const TStringList& memo)
{
    const std::string file = CalculatorFile(path);
    if (!SaveCalculatorDescription(path, memo))
        return;
    std::string picture, description;
    GetCalculatorInfo(picture, path, description);
    Check(description == Joined(memo));
    const std::string once = ReadFileBytes(NativePath(file));
    Check(SaveCalculatorDescription(path, memo));
    Check(ReadFileBytes(NativePath(file)) == once);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static testsupport::TempDir dir;
    SetProgramFolder(dir.path());
    const std::vector<std::string> parts = Parts(data, size);
    const std::string& script = parts[0];
    TStringList memo;
    memo.SetText(parts[2]);

    fs::remove_all(dir.file("Calculators"));
    fs::create_directories(dir.file("Calculators/sub"));
    WriteFileBytes(dir.file("victim.cal"), Outside);
    WriteFileBytes(dir.file("victim.txt"), Outside);
    WriteFileBytes(dir.file("Calculators/a.cal"), script);
    const std::string index = parts[1] + "\r\n[A]\r\nFile=a.cal\r\n[B]\r\nFile=sub\\b.cal\r\n";
    WriteFileBytes(dir.file("Calculators/index.txt"), index);

    for (const char* path : {"A", "B"}) {
        std::string picture, description;
        GetCalculatorInfo(picture, path, description);
        SaveAndReadBack(path, memo);
    }
    Check(ReadFileBytes(dir.file("Calculators/index.txt")) == index);
    // The hand-written lines as a tree too: comparing the pair reads both.
    WriteFileBytes(dir.file("Calculators/index.ini"), parts[1]);
    CalculatorsIndexAgrees();

    // Rebuilt from the script itself: it stays where its title puts it, and
    // the pair built agrees.
    TStringList notes;
    Check(CreateCalculatorsIndex(&notes));
    Check(CalculatorsIndexAgrees());
    const std::string built = ReadFileBytes(dir.file("Calculators/index.txt"));
    std::string reason;
    const std::string path = TitleTreePath(ScriptTitleLine(ReadFileBytes(dir.file("Calculators/a.cal"))), reason);
    if (!path.empty() && built.find("\r\nFile=a.cal\r\n") != std::string::npos) {
        SaveAndReadBack(path, memo);
        Check(CreateCalculatorsIndex(&notes));
        Check(ReadFileBytes(dir.file("Calculators/index.txt")) == built);
    }

    Check(ReadFileBytes(dir.file("victim.cal")) == Outside);
    Check(ReadFileBytes(dir.file("victim.txt")) == Outside);
    return 0;
}
