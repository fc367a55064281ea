#pragma once
// Program folders with many generated chip modules for the benchmarks: each
// module has three locations and a script part of a usual size; the modules
// sit in 30 folders, with a catalogue of them. Removed when the benchmark
// program ends.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

namespace benchgen {

namespace fs = std::filesystem;

constexpr int Folders = 30;

// The [INTERFACE] lines of `count` parameter controls, the five kinds in
// turn, laid out in `columns` columns 200 pixels apart and rows 30 apart,
// each line ended by `eol`.
inline std::string ParameterControlLines(int count, int columns, const char* eol)
{
    static const char* const kinds[] = {
        "CHECKBOX(c%, \"Check %\", X, Y, 1);", "COMBOBOX(s%, \"List %\", X, Y, 80, A, B, C, 1);",
        "HEXEDIT(h%, \"Hex %\", X, Y, 4);", "DIGIT(d%, \"Number %\", X, Y, 0x10);",
        "BUTTON(b%, \"Button %\", X, Y, 80, 20);"};
    std::string text;
    for (int i = 0; i < count; ++i) {
        std::string line = kinds[i % 5];
        const std::string n = std::to_string(i);
        for (size_t p; (p = line.find('%')) != std::string::npos;)
            line.replace(p, 1, n);
        line.replace(line.find(", X,"), 4, ", " + std::to_string(8 + 200 * (i % columns)) + ",");
        line.replace(line.find(", Y,"), 4, ", " + std::to_string(8 + 30 * (i / columns)) + ",");
        text += line + eol;
    }
    return text;
}

// A program folder with `modules` generated modules and a catalogue of them,
// removed when the benchmark program ends.
class TGeneratedFolder {
public:
    explicit TGeneratedFolder(int modules)
    {
        std::string templ = (fs::temp_directory_path() / "tarku-bench-XXXXXX").string();
        if (!mkdtemp(templ.data()))
            throw std::runtime_error("cannot create a temp folder");
        path_ = templ;
        std::string script;
        for (int i = 0; i < 60; ++i)
            script += "  X = X + " + std::to_string(i) + "; // host script line of a usual length\r\n";
        std::map<int, std::string> catalog;
        for (int m = 0; m < modules; ++m) {
            const int folder = m % Folders;
            const std::string dir = "family" + std::to_string(folder);
            const std::string name = "chip" + std::to_string(m);
            fs::create_directories(path_ + "/scripts/" + dir);
            std::string text = "// generated module\r\n[DESCRIPTION]\r\nLOCATION = ";
            for (int k = 0; k < 3; ++k) {
                const std::string chip = name + "-" + std::to_string(k);
                text += "\"Family " + std::to_string(folder) + "\\Group " + std::to_string(k) + "\\" + chip +
                        (k < 2 ? "\",\r\n           " : "\";\r\n");
                catalog[folder * 3 + k] += chip + "=" + dir + "\\" + name + ".chl\r\n";
            }
            text += "INFO = \"Generated\";\r\nVOLTAGE = 5.0;\r\n[MENU]\r\nREAD = \"&Read\";\r\n[HOST]\r\n" + script;
            std::ofstream(path_ + "/scripts/" + dir + "/" + name + ".chl", std::ios::binary) << text;
        }
        std::ofstream cfg(path_ + "/scripts/scripts.cfg", std::ios::binary);
        for (const auto& [section, keys] : catalog)
            cfg << "[Family " << section / 3 << "\\Group " << section % 3 << "]\r\n" << keys;
    }
    ~TGeneratedFolder()
    {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

inline const TGeneratedFolder& Generated(int modules)
{
    static std::map<int, std::unique_ptr<TGeneratedFolder>> folders;
    auto& folder = folders[modules];
    if (!folder)
        folder = std::make_unique<TGeneratedFolder>(modules);
    return *folder;
}

} // namespace benchgen
