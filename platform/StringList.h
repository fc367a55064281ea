#pragma once
// A list of code page 1251 strings with the class library's name=value view:
// the name of an entry is its text before the first "=", names and entries
// are looked up without regard to case. Each entry carries a 32-bit number
// (the class library's item object, used here as a plain value; 0 unless set).
#include <cstdint>
#include <string>
#include <vector>

class TStringList {
public:
    TStringList() = default;
    TStringList(std::initializer_list<std::string> items) : items_(items), objects_(items_.size()) {}

    int Count() const { return static_cast<int>(items_.size()); }
    bool Empty() const { return items_.empty(); }
    const std::string& operator[](int i) const { return items_.at(static_cast<size_t>(i)); }
    std::string& operator[](int i) { return items_.at(static_cast<size_t>(i)); }

    int Add(const std::string& s);
    int AddObject(const std::string& s, uint32_t object);
    uint32_t Objects(int i) const { return objects_.at(static_cast<size_t>(i)); }
    void SetObject(int i, uint32_t object) { objects_.at(static_cast<size_t>(i)) = object; }
    void Insert(int index, const std::string& s);
    void Delete(int index);
    void Clear() { items_.clear(); objects_.clear(); }
    void Assign(const TStringList& other) { *this = other; }

    // Index of the first entry equal to s without regard to case, or -1.
    int IndexOf(const std::string& s) const;

    // Name and value of entry i (the whole text is the name when there is no "=").
    std::string Names(int i) const;
    std::string ValueFromIndex(int i) const;
    // Index of the first entry whose name equals `name` without regard to case, or -1.
    int IndexOfName(const std::string& name) const;
    // Value of the first entry named `name`, empty when there is none.
    std::string Values(const std::string& name) const;
    // Changes the first entry named `name`, or appends one; an empty value
    // removes the entry, as the class library does.
    void SetValue(const std::string& name, const std::string& value);

    // Entries joined with CR LF after each, and split at CR LF, LF or CR.
    std::string Text() const;
    void SetText(const std::string& text);

    // Whole file in and out; false when the file cannot be read or written.
    bool LoadFromFile(const std::string& nativePath);
    bool SaveToFile(const std::string& nativePath) const;

    const std::vector<std::string>& Items() const { return items_; }
    std::vector<std::string>::const_iterator begin() const { return items_.begin(); }
    std::vector<std::string>::const_iterator end() const { return items_.end(); }

    bool operator==(const TStringList& other) const = default;

private:
    std::vector<std::string> items_;
    std::vector<uint32_t> objects_; // parallel to items_
};
