// The quick LOCATION reader used when the chip tree is built from many
// modules. Unlike TModuleInfo it stops at the first LOCATION line of the
// whole file and keeps the items read before a missing one.
#include "engine/Modules.h"
#include "engine/ModulesReader.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/SysUtils.h"

void ReadModuleLocation(const std::string& fileName, TStringList& list)
{
    list.Clear();
    std::string bytes;
    if (ReadWholeFile(NativePath(fileName), bytes))
        ReadModuleLocationText(bytes, list);
}

void ReadModuleLocationText(const std::string& bytes, TStringList& list)
{
    list.Clear();
    TStringList lines;
    lines.SetText(bytes);
    for (int i = 0; i < lines.Count(); ++i) {
        const std::string line = TrimLeft(lines[i]);
        if (line.size() < 12 || line.compare(0, 2, "//") == 0)
            continue;
        lines[i] = line;
        modules::TLineReader reader(lines, i);
        if (AnsiUpperCase(reader.NextToken()) != "LOCATION" || reader.NextToken() != "=")
            continue;
        bool afterComma = false;
        for (;;) {
            std::string item = reader.NextToken();
            // A "," at the end of a line continues the list on the next one.
            if (item.empty() && afterComma && reader.NextLine())
                item = reader.NextToken();
            if (item.empty() || item == ";" || item == ",")
                return;
            list.Add(item);
            const std::string separator = reader.NextToken();
            if (separator == ";")
                return;
            if (separator != ",") {
                list.Clear();
                return;
            }
            afterComma = true;
        }
    }
}
