#pragma once
// The character that the dump view's character column shows for a byte,
// and that a printed dump shows for it too.
#include <cstdint>

// Codes below 32 show as "."; the others as their code page 1251
// character. Three codes have nothing visible to draw, so each gets a
// character of its own that does: 0x7F (delete), 0x98 (no character in the
// code page) and 0xAD (the soft hyphen, which text drawing hides).
char32_t DumpCharacter(uint8_t code);
