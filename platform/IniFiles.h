#pragma once
// INI files with the system profile rules: section and key names compare
// without regard to case; the first section and the first key of a name win;
// writing a key changes its line in place (or adds it at the end of its
// section) and keeps every other line, comment and line end of the file.
//
// Changes are kept in memory until UpdateFile(), which reports whether the
// file could be written; the destructor writes pending changes too.
#include "platform/StringList.h"

#include <cstdint>
#include <string>
#include <vector>

class TIniFile {
public:
    // nativePath: the file system path (see NativePath). A missing or
    // unreadable file reads as empty.
    explicit TIniFile(const std::string& nativePath);
    ~TIniFile();
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const std::string& FileName() const { return fileName_; }

    // Values lose surrounding blanks and one pair of enclosing quotes.
    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
    // The class library's integer conversion ("$" and "0x" hexadecimal too);
    // a missing or non-numeric value gives the default.
    int32_t ReadInteger(const std::string& section, const std::string& key, int32_t def) const;
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;

    // A value with blanks at either end or enclosing quotes is stored in
    // double quotes, so that ReadString gives it back unchanged.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int32_t value);
    void WriteBool(const std::string& section, const std::string& key, bool value);

    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& key) const;
    // Key names of a section in file order.
    TStringList ReadSection(const std::string& section) const;
    // "key=value" of every key of a section in file order.
    TStringList ReadSectionValues(const std::string& section) const;
    // Names of all sections in file order.
    TStringList ReadSections() const;

    // Removes every section of that name with all its lines.
    void EraseSection(const std::string& section);
    void DeleteKey(const std::string& section, const std::string& key);

    // Writes pending changes (temporary file, then rename); true on success
    // or when nothing changed.
    bool UpdateFile();
    bool Modified() const { return modified_; }

private:
    struct Line {
        std::string text;
        enum Kind { Other, Section, Key } kind = Other;
        std::string name; // section or key name, trimmed
        std::string eol;  // the line's own line end; empty on a last line without one
    };

    static Line parse(const std::string& text);
    static std::string valueOf(const Line& line);
    static std::string storedForm(const std::string& value);
    Line newLine(const std::string& text);
    // Index of the first header of the section, -1 when absent.
    int findSection(const std::string& section) const;
    // One past the last line of the section that starts at header index h.
    int sectionEnd(int h) const;
    int findKey(const std::string& section, const std::string& key) const;

    std::string fileName_;
    std::vector<Line> lines_;
    std::string eol_ = "\r\n";
    bool modified_ = false;
};
