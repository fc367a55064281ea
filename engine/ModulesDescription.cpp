// The [DESCRIPTION] section of a module file: one KEY = value statement per
// line.
#include "engine/Modules.h"
#include "engine/ModulesReader.h"
#include "platform/Cp1251.h"
#include "platform/SysUtils.h"

#include <algorithm>

using modules::TLineReader;
using modules::TListEnd;

namespace {

// LOCATION is stricter than a value list: every item must be a path, and
// after it only ";" or "," may follow. Anything else empties the list.
TListEnd readLocations(TLineReader& reader, TStringList& locations)
{
    locations.Clear();
    std::string last = "=";
    for (;;) {
        const std::string item = reader.NextToken();
        if (item.empty() && last == ",") {
            if (!reader.NextLine()) {
                locations.Clear();
                return TListEnd::EndOfFile;
            }
            continue;
        }
        if (item.empty() || item == ";" || item == ",") {
            locations.Clear();
            return TListEnd::Malformed;
        }
        locations.Add(item);
        last = reader.NextToken();
        if (last == ";")
            return TListEnd::Complete;
        if (last != ",") {
            locations.Clear();
            return TListEnd::Malformed;
        }
    }
}

bool isKnownKey(const std::string& key)
{
    static const char* const keys[] = {"LOCATION", "INFO", "CAPACITY", "BUFFER1", "BUFFER2",
                                       "EXEWINDOW", "PICTURE", "VCC", "GND", "VIEW1",
                                       "VIEW2", "UART", "ADAPTER", "PINTEST", "VOLTAGE"};
    return std::find(std::begin(keys), std::end(keys), key) != std::end(keys);
}

uint8_t pinMask(const std::string& value, uint8_t current)
{
    const int n = StrToIntDef(value, 0);
    return n >= 1 && n <= 8 ? static_cast<uint8_t>(1u << (n - 1)) : current;
}

int32_t bufferSize(const std::string& value)
{
    return AnsiSameText(value, "AUTO") ? -1 : StrToIntDef(value, -1);
}

} // namespace

void TModuleInfo::ReadDescription()
{
    Buffer1Name.clear();
    Buffer2Name.clear();
    Picture.clear();
    Voltage.clear();
    View1Width = 8;
    View2Width = 8;
    Adapter = 0;

    const int header = FindSection("[DESCRIPTION]");
    if (header < 0)
        return;

    // The line of a malformed statement that ends the section, and why.
    int endLine = -1;
    std::string endReason;

    int i = header + 1;
    while (i < Lines.Count() && endLine < 0) {
        if (modules::IsSectionHeader(Lines[i]))
            break;
        if (modules::IsCommentLine(Lines[i])) {
            ++i;
            continue;
        }
        TLineReader reader(Lines, i);
        const std::string key = AnsiUpperCase(reader.NextToken());
        if (!isKnownKey(key)) {
            ++i;
            continue;
        }
        const bool hasEquals = reader.NextToken() == "=";

        if (key == "LOCATION") {
            // Never ends the section; its continuation lines are read again
            // as statements of their own.
            const TListEnd end = hasEquals ? readLocations(reader, Locations) : TListEnd::Malformed;
            if (!hasEquals)
                Locations.Clear();
            if (end == TListEnd::Malformed)
                Warn(i, "LOCATION is not a list of paths separated by \",\" and ending in \";\"; it is ignored.");
            else if (end == TListEnd::EndOfFile)
                Warn(i, "LOCATION goes on past the end of the file; it is ignored.");
            ++i;
            continue;
        }
        if (!hasEquals) {
            endLine = i;
            endReason = key + " is not followed by \"=\"";
            break;
        }
        if (key == "INFO") {
            const TListEnd end = ReadValueList(reader, Info);
            if (end == TListEnd::Malformed)
                Warn(i, "INFO is not a list ending in \";\"; it is ignored.");
            else if (end == TListEnd::EndOfFile)
                Warn(i, "INFO goes on past the end of the file; it is ignored.");
            i = reader.Index() + 1;
            continue;
        }
        if (key == "CAPACITY") {
            Buffer1Size = StrToIntDef(reader.NextToken(), -1);
            Buffer1Name = "EEPROM";
            ++i;
            continue;
        }
        if (key == "BUFFER1" || key == "BUFFER2") {
            const std::string name = reader.NextToken();
            const bool comma = !name.empty() && reader.NextToken() == ",";
            const std::string size = comma ? reader.NextToken() : std::string();
            if (size.empty()) {
                endLine = i;
                endReason = key + " is not written as " + key + " = name, size";
                break;
            }
            (key == "BUFFER1" ? Buffer1Name : Buffer2Name) = name;
            (key == "BUFFER1" ? Buffer1Size : Buffer2Size) = bufferSize(size);
            ++i;
            continue;
        }
        if (key == "EXEWINDOW") {
            ExeWindow = reader.NextToken() != "0";
            ++i;
            continue;
        }

        const std::string value = reader.NextToken();
        if (value.empty() || value == ";") {
            endLine = i;
            endReason = key + " has no value";
            break;
        }
        if (key == "PICTURE") {
            Picture = value;
        } else if (key == "VCC") {
            VccMask = pinMask(value, VccMask);
        } else if (key == "GND") {
            GndMask = pinMask(value, GndMask);
        } else if (key == "VIEW1") {
            View1Width = StrToIntDef(value, 0) == 16 ? 16 : View1Width;
        } else if (key == "VIEW2") {
            View2Width = StrToIntDef(value, 0) == 16 ? 16 : View2Width;
        } else if (key == "UART") {
            Uart = StrToIntDef(value, 0);
        } else if (key == "ADAPTER") {
            Adapter = StrToIntDef(value, 0);
        } else if (key == "PINTEST") {
            if (value.size() == 8) {
                // The first character is line 8, the last line 1.
                uint8_t mask = 0xFF;
                for (size_t k = 0; k < 8; ++k)
                    if (value[k] == '0')
                        mask = static_cast<uint8_t>(mask & ~(1u << (7 - k)));
                PinTestMask = mask;
            }
        } else if (key == "VOLTAGE") {
            Voltage = Voltages.IndexOf(value) >= 0 ? value : std::string();
        }
        if (reader.NextToken() != ";") {
            endLine = i;
            endReason = key + " = " + value + " is not followed by \";\"";
            break;
        }
        ++i;
    }

    if (endLine < 0)
        return;
    // Only worth a word when statements that will not be read follow.
    for (int k = endLine + 1; k < Lines.Count() && !modules::IsSectionHeader(Lines[k]); ++k) {
        if (!modules::IsCommentLine(Lines[k])) {
            Warn(endLine, endReason + "; the rest of [DESCRIPTION] is not read.");
            return;
        }
    }
}
