#include "engine/AsmTypes.h"

#include <unordered_map>

bool FindDevCommand(const std::string& mnemonic, int& index)
{
    // Every line of assembly looks its mnemonic up.
    static const std::unordered_map<std::string, int> rows = [] {
        std::unordered_map<std::string, int> m;
        for (int i = 0; i < DevCommandCount; ++i)
            m.emplace(DevCommands[i].Mnemonic, i);
        return m;
    }();
    const auto found = rows.find(mnemonic);
    index = found == rows.end() ? DevCommandCount : found->second;
    return found != rows.end();
}

const TDevCommand* DevCommandByCode(uint8_t code)
{
    const int row = code >> 2;
    return row < DevCommandCount ? &DevCommands[row] : nullptr;
}
