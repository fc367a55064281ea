#pragma once
// A skin's options text held in memory, read as INI text: section and key
// names compare without regard to case, the first of a name wins, names
// and values lose surrounding blanks.
#include <string>
#include <unordered_map>
#include <vector>

class TacOptionsFile {
public:
    TacOptionsFile() = default;
    explicit TacOptionsFile(const std::string& text) { SetText(text); }

    // Lines end in CR LF, LF or CR; empty lines and lines beginning with ";"
    // are skipped, lines before the first section dropped.
    void SetText(const std::string& text);

    // Section names in file order, each once.
    std::vector<std::string> Sections() const;
    // Key names of a section in file order.
    std::vector<std::string> Keys(const std::string& section) const;
    bool SectionExists(const std::string& section) const { return find(section) != nullptr; }
    bool ValueExists(const std::string& section, const std::string& key) const;

    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
    // Decimal, "$" or "0x" hexadecimal; the default when missing or not a number.
    int ReadInteger(const std::string& section, const std::string& key, int def) const;

private:
    struct Entry {
        std::string key, value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
        std::unordered_map<std::string, size_t> index; // upper-cased key: its first entry
    };
    const Section* find(const std::string& section) const;
    const Entry* find(const std::string& section, const std::string& key) const;

    std::vector<Section> sections_;
    std::unordered_map<std::string, size_t> index_; // upper-cased name: its first section
};
