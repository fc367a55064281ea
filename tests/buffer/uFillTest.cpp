#include "buffer/uFill.h"

#include <gtest/gtest.h>

TEST(Fill, VerifyPatternRemovesBlanksAndAcceptsHexDigitsOnly)
{
    struct Case {
        std::string text;
        std::string after;
        bool ok;
    };
    const Case cases[] = {
        {" 1 2 3 ", "123", true},
        {"abcDEF09", "abcDEF09", true},
        {"0", "0", true},
        {"\t1\t", "1", true},
        {"12G", "12G", false},
        {"", "", false},
        // Mended: blanks only used to pass and give an empty fill pattern.
        {"   ", "", false},
        {"1-2", "1-2", false},
        {"0x12", "0x12", false},
        {"\xC0", "\xC0", false},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        EXPECT_EQ(VerifyPattern(text), c.ok) << c.text;
        EXPECT_EQ(text, c.after) << c.text;
    }
}
