#include "platform/StringList.h"

#include "platform/Cp1251.h"
#include "platform/Files.h"

int TStringList::Add(const std::string& s)
{
    return AddObject(s, 0);
}

int TStringList::AddObject(const std::string& s, uint32_t object)
{
    items_.push_back(s);
    objects_.push_back(object);
    return Count() - 1;
}

void TStringList::Insert(int index, const std::string& s)
{
    if (index < 0 || index > Count())
        index = Count();
    items_.insert(items_.begin() + index, s);
    objects_.insert(objects_.begin() + index, 0);
}

void TStringList::Delete(int index)
{
    if (index >= 0 && index < Count()) {
        items_.erase(items_.begin() + index);
        objects_.erase(objects_.begin() + index);
    }
}

int TStringList::IndexOf(const std::string& s) const
{
    for (int i = 0; i < Count(); ++i)
        if (AnsiSameText(items_[static_cast<size_t>(i)], s))
            return i;
    return -1;
}

std::string TStringList::Names(int i) const
{
    const std::string& s = (*this)[i];
    const auto eq = s.find('=');
    return eq == std::string::npos ? s : s.substr(0, eq);
}

std::string TStringList::ValueFromIndex(int i) const
{
    const std::string& s = (*this)[i];
    const auto eq = s.find('=');
    return eq == std::string::npos ? std::string() : s.substr(eq + 1);
}

int TStringList::IndexOfName(const std::string& name) const
{
    for (int i = 0; i < Count(); ++i) {
        const std::string& s = items_[static_cast<size_t>(i)];
        const auto eq = s.find('=');
        if (eq != std::string::npos && AnsiSameText(s.substr(0, eq), name))
            return i;
    }
    return -1;
}

std::string TStringList::Values(const std::string& name) const
{
    const int i = IndexOfName(name);
    return i < 0 ? std::string() : ValueFromIndex(i);
}

void TStringList::SetValue(const std::string& name, const std::string& value)
{
    const int i = IndexOfName(name);
    if (value.empty()) {
        Delete(i);
    } else if (i < 0) {
        Add(name + "=" + value);
    } else {
        items_[static_cast<size_t>(i)] = name + "=" + value;
    }
}

std::string TStringList::Text() const
{
    std::string out;
    for (const auto& s : items_) {
        out += s;
        out += "\r\n";
    }
    return out;
}

void TStringList::SetText(const std::string& text)
{
    items_.clear();
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '\r' || text[i] == '\n') {
            items_.push_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < text.size())
        items_.push_back(text.substr(start));
    objects_.assign(items_.size(), 0);
}

bool TStringList::LoadFromFile(const std::string& nativePath)
{
    std::string bytes;
    if (!ReadWholeFile(nativePath, bytes))
        return false;
    SetText(bytes);
    return true;
}

bool TStringList::SaveToFile(const std::string& nativePath) const
{
    return WriteWholeFileSafely(nativePath, Text());
}
