#include "buffer/uGetFileSize.h"

#include "buffer/FileServ.h"

#include <gtest/gtest.h>

TEST(GetFileSize, ParseFileSize)
{
    const std::pair<std::string, std::optional<int32_t>> cases[] = {
        {"1024", 1024}, {"1", 1}, {"+16", 16}, {"$100", 256}, {"", std::nullopt}, {"-1", std::nullopt},
        {"abc", std::nullopt}, {"12k", std::nullopt},
        // Mended: zero, negative and unbounded sizes used to pass.
        {"0", std::nullopt}, {"-2", std::nullopt}, {"-1000", std::nullopt},
        {std::to_string(MaxDumpBufferSize), int32_t(MaxDumpBufferSize)},
        {std::to_string(MaxDumpBufferSize + 1), std::nullopt},
        {"2147483647", std::nullopt}, {"99999999999", std::nullopt}, {"$FFFFFFFF", std::nullopt},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ParseFileSize(text), expected) << text;
}
