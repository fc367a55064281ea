#include "engine/uAsmMnemonics.h"

int FindMnemonic(std::string_view name)
{
    for (int i = 0; Mnemonics[i].Opcode >= 0; ++i)
        if (name == Mnemonics[i].Name)
            return i;
    return -1;
}
