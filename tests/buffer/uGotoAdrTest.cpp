#include "buffer/uGotoAdr.h"

#include <gtest/gtest.h>

TEST(GotoAdr, CheckGotoAddress)
{
    struct Case {
        const char* text;
        bool ok;
        int32_t address;
        const char* caption; // nullptr: the caption stays
    };
    const Case cases[] = {
        {"65535", true, 65535, "Go to 65535"},
        {"65536", false, 65536, "Go to 65536"},
        {"0x10", true, 16, "Go to 16"},
        {"0XfF", true, 255, "Go to 255"},
        {"$10", true, 16, "Go to 16"},
        {"0", true, 0, "Go to 0"},
        {"0x", false, -1, nullptr},
        {"", false, -1, nullptr},
        {"abc", false, -1, nullptr},
        {"-1", false, -1, "Go to -1"},
        {"-5", false, -5, "Go to -5"},
        {"0x80000000", false, INT32_MIN, "Go to -2147483648"},
        {"99999999999", false, -1, nullptr},
    };
    for (const auto& c : cases) {
        const TGotoAddressCheck check = CheckGotoAddress(c.text, 0xFFFF, "Go to");
        EXPECT_EQ(check.OkEnabled, c.ok) << c.text;
        EXPECT_EQ(check.EnteredAddress, c.address) << c.text;
        EXPECT_EQ(check.Caption.has_value(), c.caption != nullptr) << c.text;
        if (c.caption && check.Caption) {
            EXPECT_EQ(*check.Caption, c.caption);
        }
    }
}
