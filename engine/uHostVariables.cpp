#include "engine/uHost.h"
#include "platform/Cp1251.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <unordered_set>

// Parameter list entries are plain ("NAME", the number is the value) or
// arrays (".NAME:01 A0 FF", the number is the control's tag with the byte
// count in its low 8 bits).
//
// Arrays taken in sit at the bottom of ArrayStore in list order; every
// compile keeps them there and places the script's own DIM arrays after
// them, so the script reaches them by name, they never overlap the script's
// arrays, a reload refreshes them in place, and the write-back reads them
// from where the script left them.

namespace {

struct TEntry {
    bool IsArray = false;
    std::string Name;
    std::vector<uint32_t> Bytes;
    bool BytesValid = true;
};

TEntry ParseEntry(const std::string& text)
{
    TEntry e;
    const std::string u = AnsiUpperCase(text);
    const size_t colon = u.find(':');
    if (u.empty() || u[0] != '.' || colon == std::string::npos) {
        e.Name = u;
        return e;
    }
    e.IsArray = true;
    e.Name = u.substr(1, colon - 1);
    size_t i = colon + 1;
    while (i < u.size()) {
        while (i < u.size() && (u[i] == ' ' || u[i] == '\t'))
            ++i;
        const size_t start = i;
        while (i < u.size() && u[i] != ' ' && u[i] != '\t')
            ++i;
        if (i == start)
            break;
        const std::string word = u.substr(start, i - start);
        const auto v = word.size() <= 8 ? TryStrToInt("$" + word) : std::nullopt;
        if (!v) {
            e.BytesValid = false;
            break;
        }
        e.Bytes.push_back(static_cast<uint32_t>(*v) & 0xFF);
    }
    return e;
}

} // namespace

bool THost::LoadExternalVariables(TStringList& list)
{
    VarNames.Clear();
    VarCount = 0;
    Arrays.Clear();
    ArrayCursor = 0;
    bool all = true;
    for (int i = 0; i < list.Count(); ++i) {
        const TEntry e = ParseEntry(list[i]);
        if (e.Name.empty() || VarNames.IndexOf(e.Name) >= 0) {
            all = false;
            continue;
        }
        if (e.IsArray) {
            const int32_t count = static_cast<int32_t>(e.Bytes.size());
            if (!e.BytesValid || Arrays.IndexOf(e.Name) >= 0 || ArrayCursor + count > ArrayWords) {
                all = false;
                continue;
            }
            const int32_t base = ArrayCursor;
            Arrays.Add(e.Name, base, count);
            std::copy(e.Bytes.begin(), e.Bytes.end(), ArrayStore.begin() + base);
            ArrayCursor += count;
            list.SetObject(i, (static_cast<uint32_t>(base) << 8) | list.Objects(i));
        } else {
            if (VarCount >= ArgumentBase) {
                all = false;
                continue;
            }
            VarNames.Add(e.Name, VarCount);
            Vars[static_cast<size_t>(VarCount)] = list.Objects(i);
            ++VarCount;
        }
    }
    GlobalVarCount = VarNames.Count();
    externalVarNames_ = VarNames;
    externalArrays_ = Arrays;
    ExternalVarCount = VarCount;
    ExternalArrayCount = Arrays.Count();
    ExternalArrayEnd = ArrayCursor;
    return all;
}

void THost::ReloadExternalVariables(TStringList& list)
{
    // The intake takes the first usable entry of a name and passes over the
    // rest, so the reload does too: a run of the reused module sees the
    // values a fresh compile would give it.
    std::unordered_set<std::string> reloadedVars;
    std::unordered_set<std::string> reloadedArrays;
    for (int i = 0; i < list.Count(); ++i) {
        const TEntry e = ParseEntry(list[i]);
        if (e.IsArray) {
            const int a = Arrays.IndexOf(e.Name);
            if (a < 0 || a >= ExternalArrayCount || !e.BytesValid || !reloadedArrays.insert(e.Name).second)
                continue;
            const auto& array = Arrays[a];
            const size_t count = std::min(e.Bytes.size(), static_cast<size_t>(array.Size));
            std::copy_n(e.Bytes.begin(), count, ArrayStore.begin() + array.Number);
            list.SetObject(i, (static_cast<uint32_t>(array.Number) << 8) | list.Objects(i));
        } else {
            const int v = VarNames.IndexOf(e.Name);
            if (v >= 0 && v < GlobalVarCount && reloadedVars.insert(e.Name).second)
                Vars[static_cast<size_t>(VarNames[v].Number)] = list.Objects(i);
        }
    }
}

bool THost::StoreExternalVariables(TStringList& list)
{
    for (int i = 0; i < list.Count(); ++i) {
        const TEntry e = ParseEntry(list[i]);
        if (e.IsArray) {
            const int a = Arrays.IndexOf(e.Name);
            if (a < 0 || a >= ExternalArrayCount)
                continue;
            const auto& array = Arrays[a];
            const int32_t count = std::min(static_cast<int32_t>(list.Objects(i) & 0xFF), array.Size);
            std::string text = "." + e.Name + ":";
            for (int32_t b = 0; b < count; ++b) {
                if (b > 0)
                    text += ' ';
                text += IntToHex(ArrayStore[static_cast<size_t>(array.Number + b)] & 0xFF, 2);
            }
            list[i] = text;
        } else {
            const int v = VarNames.IndexOf(e.Name);
            if (v >= 0 && v < GlobalVarCount)
                list.SetObject(i, (Vars[static_cast<size_t>(VarNames[v].Number)] & 0x0FFFFFFFu) |
                                      (list.Objects(i) & 0xF0000000u));
        }
    }
    return true;
}
