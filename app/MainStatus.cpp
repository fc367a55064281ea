#include "app/MainStatus.h"

#include "platform/Paths.h"
#include "platform/SysUtils.h"

#include <cstdio>

namespace {

std::string NumberText(int64_t value, int hexDigits)
{
    return IntToStr(value) + " (" + IntToHex(uint64_t(value), hexDigits) + "H)";
}

} // namespace

std::optional<TCaretStatus> CaretStatus(const TDumpBuffer& buffer, int64_t index, bool wordMode, bool swapBytes,
                                        const std::string& addressWord, const std::string& dataWord)
{
    if (buffer.Empty())
        return std::nullopt;
    const int64_t size = buffer.GetSize();
    // A word index counts words, the last one possibly a single byte.
    const int64_t count = wordMode ? (size + 1) / 2 : size;
    if (index < 0 || index >= count)
        index = 0;
    TCaretStatus status;
    status.Index = index;
    status.AddressText = addressWord + ": " + NumberText(index, 5);
    if (!wordMode) {
        status.DataText = dataWord + ": " + NumberText(buffer.Data[size_t(index)], 2);
        return status;
    }
    const int64_t first = 2 * index;
    if (first + 1 >= size) {
        status.DataText = dataWord + ": " + NumberText(buffer.Data[size_t(first)], 2);
        return status;
    }
    const uint8_t a = buffer.Data[size_t(first)], b = buffer.Data[size_t(first + 1)];
    const int word = swapBytes ? (b << 8 | a) : (a << 8 | b);
    status.DataText = dataWord + ": " + NumberText(word, 4);
    return status;
}

TCaretStatus InitialCaretStatus(const std::string& addressWord, const std::string& dataWord)
{
    return {0, addressWord + ": 0 (00000H)", dataWord + ": 0 (00H)"};
}

std::string MainCaption(int tabCount, int activeTab, const std::string& tab0, const std::string& tab1,
                        const std::string& file1, const std::string& file2)
{
    if (tabCount == 0)
        return "Tarku - " + DisplayPath(file1);
    if (activeTab == 1)
        return "Tarku (" + tab1 + ") - " + DisplayPath(file2);
    return "Tarku (" + tab0 + ") - " + DisplayPath(file1);
}

std::string SizeLabelText(int64_t size, bool wordMode)
{
    return wordMode ? IntToStr(size / 2) + " x 16" : IntToStr(size) + " x 8";
}

int HintHidePause(const std::string& hint) { return hint.size() <= 50 ? 2500 : 10000; }

std::string DatedSaveName(const std::tm& now, const std::string& chipLabel)
{
    char date[32], time[32];
    std::snprintf(date, sizeof date, "%02d-%02d-%04d", now.tm_mday, now.tm_mon + 1, now.tm_year + 1900);
    std::snprintf(time, sizeof time, "%02d.%02d.%02d", now.tm_hour, now.tm_min, now.tm_sec);
    return std::string(date) + "  " + time + "  " + ValidFileName(chipLabel);
}
