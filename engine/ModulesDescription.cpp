// The [DESCRIPTION] section of a module file: one KEY = value statement per
// line.
#include "engine/Modules.h"
#include "engine/ModulesReader.h"
#include "platform/Cp1251.h"
#include "platform/SysUtils.h"


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

// A statement of [DESCRIPTION] whose key is known, the reader standing after
// the "=" (when there is one).
struct TStatement {
    TModuleInfo& info;
    TLineReader& reader;
    const std::string& key;
    bool hasEquals;
    int next;              // the line to read after this statement
    std::string warning;   // a note about this statement's line
    std::string endReason; // set: the section ends at this statement
};

void readLocation(TStatement& st)
{
    // Never ends the section; its continuation lines are read again as
    // statements of their own.
    const TListEnd end = st.hasEquals ? readLocations(st.reader, st.info.Locations) : TListEnd::Malformed;
    if (!st.hasEquals)
        st.info.Locations.Clear();
    if (end == TListEnd::Malformed)
        st.warning = "LOCATION is not a list of paths separated by \",\" and ending in \";\"; it is ignored.";
    else if (end == TListEnd::EndOfFile)
        st.warning = "LOCATION goes on past the end of the file; it is ignored.";
}

void readInfo(TStatement& st)
{
    const TListEnd end = modules::ReadValueList(st.reader, st.info.Info);
    if (end == TListEnd::Malformed)
        st.warning = "INFO is not a list ending in \";\"; it is ignored.";
    else if (end == TListEnd::EndOfFile)
        st.warning = "INFO goes on past the end of the file; it is ignored.";
    st.next = st.reader.Index() + 1; // its continuation lines are consumed
}

void readCapacity(TStatement& st)
{
    st.info.Buffer1Size = StrToIntDef(st.reader.NextToken(), -1);
    st.info.Buffer1Name = "EEPROM";
}

template <std::string TModuleInfo::*Name, int32_t TModuleInfo::*Size>
void readBuffer(TStatement& st)
{
    const std::string name = st.reader.NextToken();
    const bool comma = !name.empty() && st.reader.NextToken() == ",";
    const std::string size = comma ? st.reader.NextToken() : std::string();
    if (size.empty()) {
        st.endReason = st.key + " is not written as " + st.key + " = name, size";
        return;
    }
    st.info.*Name = name;
    st.info.*Size = AnsiSameText(size, "AUTO") ? -1 : StrToIntDef(size, -1);
}

void readExeWindow(TStatement& st) { st.info.ExeWindow = st.reader.NextToken() != "0"; }

// KEY = value; : the value is applied before the ";" is looked for.
template <void (*Apply)(TModuleInfo&, const std::string&)>
void readTerminatedValue(TStatement& st)
{
    const std::string value = st.reader.NextToken();
    if (value.empty() || value == ";") {
        st.endReason = st.key + " has no value";
        return;
    }
    Apply(st.info, value);
    if (st.reader.NextToken() != ";")
        st.endReason = st.key + " = " + value + " is not followed by \";\"";
}

void applyPicture(TModuleInfo& info, const std::string& value) { info.Picture = value; }

template <uint8_t TModuleInfo::*Mask>
void applyPinMask(TModuleInfo& info, const std::string& value)
{
    const int n = StrToIntDef(value, 0);
    if (n >= 1 && n <= 8)
        info.*Mask = static_cast<uint8_t>(1u << (n - 1));
}

template <int TModuleInfo::*Width>
void applyViewWidth(TModuleInfo& info, const std::string& value)
{
    if (StrToIntDef(value, 0) == 16)
        info.*Width = 16;
}

void applyUart(TModuleInfo& info, const std::string& value) { info.Uart = StrToIntDef(value, 0); }

void applyAdapter(TModuleInfo& info, const std::string& value) { info.Adapter = StrToIntDef(value, 0); }

void applyPinTest(TModuleInfo& info, const std::string& value)
{
    if (value.size() != 8)
        return;
    // The first character is line 8, the last line 1.
    uint8_t mask = 0xFF;
    for (size_t k = 0; k < 8; ++k)
        if (value[k] == '0')
            mask = static_cast<uint8_t>(mask & ~(1u << (7 - k)));
    info.PinTestMask = mask;
}

void applyVoltage(TModuleInfo& info, const std::string& value)
{
    info.Voltage = info.Voltages.IndexOf(value) >= 0 ? value : std::string();
}

struct TDescriptionKey {
    const char* Key;
    void (*Read)(TStatement&);
    bool NeedsEquals; // a missing "=" ends the section
    const char* Meaning;
};

// The keys of [DESCRIPTION]; every other key is skipped.
constexpr TDescriptionKey DescriptionKeys[] = {
    {"LOCATION", readLocation, false, "chip tree paths: LOCATION = path, path, ... ;"},
    {"INFO", readInfo, true, "information lines: INFO = text, text, ... ;"},
    {"CAPACITY", readCapacity, true, "buffer 1 named EEPROM with its size: CAPACITY = n"},
    {"BUFFER1", readBuffer<&TModuleInfo::Buffer1Name, &TModuleInfo::Buffer1Size>, true,
     "buffer 1: BUFFER1 = name, size or AUTO"},
    {"BUFFER2", readBuffer<&TModuleInfo::Buffer2Name, &TModuleInfo::Buffer2Size>, true,
     "buffer 2: BUFFER2 = name, size or AUTO"},
    {"EXEWINDOW", readExeWindow, true, "false only for EXEWINDOW = 0"},
    {"PICTURE", readTerminatedValue<applyPicture>, true, "picture file: PICTURE = file;"},
    {"VCC", readTerminatedValue<applyPinMask<&TModuleInfo::VccMask>>, true, "supply line 1..8: VCC = n;"},
    {"GND", readTerminatedValue<applyPinMask<&TModuleInfo::GndMask>>, true, "ground line 1..8: GND = n;"},
    {"VIEW1", readTerminatedValue<applyViewWidth<&TModuleInfo::View1Width>>, true,
     "buffer 1 shown as words: VIEW1 = 16;"},
    {"VIEW2", readTerminatedValue<applyViewWidth<&TModuleInfo::View2Width>>, true,
     "buffer 2 shown as words: VIEW2 = 16;"},
    {"UART", readTerminatedValue<applyUart>, true, "serial port settings: UART = n;"},
    {"ADAPTER", readTerminatedValue<applyAdapter>, true, "adapter number: ADAPTER = n;"},
    {"PINTEST", readTerminatedValue<applyPinTest>, true,
     "lines 8..1 in the pin test, 0 = left out: PINTEST = bbbbbbbb;"},
    {"VOLTAGE", readTerminatedValue<applyVoltage>, true, "default supply voltage: VOLTAGE = v;"},
};

const TDescriptionKey* findDescriptionKey(const std::string& key)
{
    for (const TDescriptionKey& row : DescriptionKeys)
        if (key == row.Key)
            return &row;
    return nullptr;
}

} // namespace

void TModuleInfo::ResetDescription()
{
    Buffer1Name.clear();
    Buffer2Name.clear();
    Picture.clear();
    Voltage.clear();
    View1Width = 8;
    View2Width = 8;
    Adapter = 0;
}

int TModuleInfo::ReadStatement(int line, std::string& endReason)
{
    TLineReader reader(Lines, line);
    const std::string key = AnsiUpperCase(reader.NextToken());
    const TDescriptionKey* row = findDescriptionKey(key);
    if (!row)
        return line + 1;
    TStatement st{*this, reader, key, reader.NextToken() == "=", line + 1, {}, {}};
    if (!st.hasEquals && row->NeedsEquals) {
        endReason = key + " is not followed by \"=\"";
        return line;
    }
    row->Read(st);
    if (!st.warning.empty())
        Warn(line, st.warning);
    endReason = st.endReason;
    return st.next;
}

void TModuleInfo::WarnUnreadDescription(int endLine, const std::string& endReason)
{
    // Only worth a word when statements that will not be read follow.
    for (int k = endLine + 1; k < Lines.Count() && !modules::IsSectionHeader(Lines[k]); ++k) {
        if (!modules::IsCommentLine(Lines[k])) {
            Warn(endLine, endReason + "; the rest of [DESCRIPTION] is not read.");
            return;
        }
    }
}

void TModuleInfo::ReadDescription()
{
    ResetDescription();
    const int header = FindSection("[DESCRIPTION]");
    if (header < 0)
        return;
    for (int i = header + 1; i < Lines.Count() && !modules::IsSectionHeader(Lines[i]);) {
        if (modules::IsCommentLine(Lines[i])) {
            ++i;
            continue;
        }
        std::string endReason;
        const int next = ReadStatement(i, endReason);
        if (!endReason.empty()) {
            WarnUnreadDescription(i, endReason);
            return;
        }
        i = next;
    }
}
