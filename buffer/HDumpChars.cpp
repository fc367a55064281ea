#include "buffer/HDumpChars.h"

#include "platform/Cp1251.h"

char32_t DumpCharacter(uint8_t code)
{
    if (code < 32)
        return U'.';
    switch (code) {
    case 0x7F: return U'\u2302'; // the house that stands for delete
    case 0x98: return U'\uFFFD'; // the replacement character
    case 0xAD: return U'\u2010'; // a hyphen that is always drawn
    default: return Cp1251ToUnicode(code);
    }
}
