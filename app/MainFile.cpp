#include "app/MainFile.h"

#include "engine/Global.h"
#include "engine/LanguageTexts.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/SysUtils.h"

namespace {

// Up to 16 hex digits after an optional "$" or "0x"; no sign, no blanks
// inside.
std::optional<int64_t> HexAddress(const std::string& text)
{
    std::string t = Trim(text);
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X'))
        t.erase(0, 2);
    else if (!t.empty() && t[0] == '$')
        t.erase(0, 1);
    if (t.empty() || t.size() > 16)
        return std::nullopt;
    uint64_t v = 0;
    for (char c : t) {
        if (!IsHexDigit(c))
            return std::nullopt;
        v = v << 4 | uint64_t(HexDigitValue(c));
    }
    if (v > uint64_t(INT64_MAX))
        return std::nullopt;
    return int64_t(v);
}

int64_t AgeOf(const std::string& name) { return FileAge(NativePath(name)); }

} // namespace

TSavePartFields SavePartFields(const TDumpBuffer& buffer, int64_t topIndex)
{
    int64_t first = buffer.SelStart;
    int64_t last = buffer.SelEnd;
    if (first < 0) {
        first = topIndex;
        last = buffer.LastIndex;
    }
    // An empty buffer has no last byte: both fields start at 0.
    first = std::max<int64_t>(first, 0);
    last = std::max<int64_t>(last, 0);
    return {IntToHex(uint64_t(first), 4), IntToHex(uint64_t(last), 4)};
}

std::optional<TByteRange> ParseSavePartRange(const std::string& start, const std::string& end,
                                             const TDumpBuffer& buffer)
{
    const auto first = HexAddress(start);
    const auto last = HexAddress(end);
    if (!first || !last || *first > *last || *last > buffer.LastIndex)
        return std::nullopt;
    return TByteRange{*first, *last};
}

bool ConfirmOtherFileSize(uint32_t workParam)
{
    return !(workParam & wpAskOnSizeMismatch) ||
           ShowMessageBox(MessageText(msgWrongSize), "Tarku", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool WordToggleActive(const TDumpBuffer& buffer, bool moduleWords)
{
    if (!buffer.EditorMode)
        return moduleWords;
    const int64_t size = buffer.GetSize();
    return size > 0 && size % 2 == 0;
}

std::string DropQuestion(const std::string& fileName) { return "Load file \"" + fileName + "\" ?"; }

void WatchFile(TWatchedFile& watch, const std::string& name)
{
    watch.Name = name;
    watch.Age = AgeOf(name);
}

void RefreshWatch(TWatchedFile& watch)
{
    if (!watch.Name.empty())
        watch.Age = AgeOf(watch.Name);
}

bool TakeOutsideChange(TWatchedFile& watch)
{
    if (watch.Name.empty())
        return false;
    const int64_t age = AgeOf(watch.Name);
    if (age == -1 || age == watch.Age)
        return false;
    watch.Age = age;
    return true;
}
