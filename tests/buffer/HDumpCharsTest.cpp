#include "buffer/HDumpChars.h"

#include <gtest/gtest.h>

// Only the control codes below 32 show as dots; every other code shows a
// character of its own: its code page 1251 letter, or a visible stand-in
// for the three codes that have nothing to draw.
TEST(DumpCharacter, DotsOnlyBelow32)
{
    const struct {
        uint8_t Code;
        char32_t Shown;
    } cases[] = {
        {0x00, U'.'},     {0x1F, U'.'},     {0x20, U' '},     {0x2E, U'.'},     {0x41, U'A'},
        {0x7E, U'~'},     {0x7F, U'\u2302'}, {0x98, U'\uFFFD'}, {0xAD, U'\u2010'}, {0xA0, U'\u00A0'},
        {0xC0, U'\u0410'}, {0xFF, U'\u044F'}, {0xB9, U'\u2116'},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DumpCharacter(c.Code), c.Shown) << int(c.Code);
    int dots = 0;
    for (int code = 32; code < 256; ++code)
        dots += DumpCharacter(uint8_t(code)) == U'.';
    EXPECT_EQ(dots, 1) << "only 0x2E itself";
}
