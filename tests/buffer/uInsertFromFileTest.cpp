#include "buffer/uInsertFromFile.h"

#include <gtest/gtest.h>

TEST(InsertFromFile, ParseCustomAddress)
{
    const std::pair<const char*, std::optional<int32_t>> cases[] = {
        {"0x20", 32}, {"0X20", 32}, {"32", 32}, {"0", 0}, {"", std::nullopt}, {"abc", std::nullopt},
        {"-1", std::nullopt},
        // Mended: a negative offset was taken and read before the file.
        {"-5", std::nullopt}, {"0xFFFFFFF0", std::nullopt}, {"0x", std::nullopt},
        {"2147483647", INT32_MAX},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ParseCustomAddress(text), expected) << text;
}
