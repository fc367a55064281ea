#include "skin/acSkinPack.h"

#include "SkinPacker.h"

#include <gtest/gtest.h>

namespace {

const std::string OptionsText = "[GLOBALINFO]\r\nVERSION=1\r\n";

std::string Header(int32_t n)
{
    std::string out = "ASzf";
    PutInt32(out, n);
    return out;
}

} // namespace

TEST(PackedSkin, ReadsEntriesInAnyOrder)
{
    struct Case {
        const char* what;
        std::vector<TPackEntry> entries;
    } cases[] = {
        {"options first", {{"Options.dat", OptionsText}, {"Master.bmp", "BM12"}, {"glyph.png", "PNG"}}},
        {"options last, mixed case", {{"Master.bmp", "BM12"}, {"glyph.png", "PNG"}, {"oPTIONS.DAT", OptionsText}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TacSkinConvertor conv;
        conv.Unpack(PackSkin(c.entries));
        EXPECT_EQ(conv.Options, OptionsText);
        ASSERT_EQ(conv.ImageCount, 2);
        ASSERT_EQ(conv.Files.size(), 2u);
        EXPECT_EQ(conv.Files[0].FileName, "Master.bmp");
        EXPECT_TRUE(conv.Files[0].IsBitmap);
        EXPECT_EQ(conv.Files[0].Data, "BM12");
        EXPECT_FALSE(conv.Files[1].IsBitmap);
        EXPECT_EQ(conv.FindFile("GLYPH.PNG"), &conv.Files[1]);
        EXPECT_EQ(conv.FindFile("glyph.png"), nullptr);
    }
    TacSkinConvertor only;
    only.Unpack(PackSkin({{"Options.dat", OptionsText}}));
    EXPECT_EQ(only.ImageCount, 0);
    EXPECT_TRUE(only.Files.empty());
}

// Every broken archive is refused, the convertor is left empty, and the
// caller's bytes are untouched.
TEST(PackedSkin, RefusesBrokenArchives)
{
    const TPackEntry options{"Options.dat", OptionsText};
    const TPackEntry image{"a.bmp", std::string(300, 'x')};
    std::string good = Header(2) + PackEntry(options) + PackEntry(image);
    std::string nameTooLong = Header(1);
    PutInt32(nameTooLong, 1 << 30);
    nameTooLong += std::string(40, 'n');
    std::string negativeName = Header(1);
    PutInt32(negativeName, -5);
    negativeName += std::string(40, 'n');
    std::string hugeSize = Header(1);
    PutInt32(hugeSize, 3);
    hugeSize += "abc";
    PutInt32(hugeSize, 0x7FFFFFFF);
    hugeSize += Deflate("x") + std::string(20, 0);
    std::string corrupt = good;
    corrupt[corrupt.size() - 10] ^= 0x55;
    struct Case {
        const char* what;
        std::string bytes;
        const char* message; // nullptr: any message
    } cases[] = {
        {"wrong signature", "ASzg" + good.substr(4), "Loaded data is not packed Brisvane file"},
        {"empty input", "", "Loaded data is not packed Brisvane file"},
        {"no options entry", Header(1) + PackEntry(image), nullptr},
        {"two options entries", Header(3) + PackEntry(options) + PackEntry(image) + PackEntry(options), nullptr},
        {"no entries", Header(0) + std::string(32, 0), nullptr},
        {"negative count", Header(-1) + PackEntry(options), nullptr},
        {"count beyond the bytes", Header(1000) + PackEntry(options), nullptr},
        {"truncated", good.substr(0, good.size() - 5), nullptr},
        {"corrupt data", corrupt, nullptr},
        {"stated size too small", Header(1) + PackEntry(options, int32_t(OptionsText.size()) - 1), nullptr},
        {"stated size too large", Header(1) + PackEntry(options, int32_t(OptionsText.size()) + 1), nullptr},
        {"name longer than the bytes", nameTooLong, nullptr},
        {"negative name length", negativeName, nullptr},
        {"size beyond the cap", hugeSize, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string before = c.bytes;
        TacSkinConvertor conv;
        conv.Options = "old";
        try {
            conv.Unpack(c.bytes);
            ADD_FAILURE() << "accepted";
        } catch (const EacSkinPack& e) {
            if (c.message) {
                EXPECT_STREQ(e.what(), c.message);
            }
        }
        EXPECT_TRUE(conv.Options.empty());
        EXPECT_TRUE(conv.Files.empty());
        EXPECT_EQ(conv.ImageCount, 0);
        EXPECT_EQ(c.bytes, before);
    }
}

TEST(PackedSkin, NextEntryFollowsTheConsumedStream)
{
    // Two entries whose data compress to very different lengths: a reader
    // that positions by anything but the bytes zlib used loses the second.
    std::string big(5000, 'a');
    TacSkinConvertor conv;
    conv.Unpack(PackSkin({{"big.bmp", big}, {"Options.dat", OptionsText}, {"z.png", "zz"}}));
    ASSERT_EQ(conv.Files.size(), 2u);
    EXPECT_EQ(conv.Files[0].Data, big);
    EXPECT_EQ(conv.Files[1].Data, "zz");
}

TEST(PackedSkin, MissingFileIsNoArchive)
{
    TacSkinConvertor conv;
    EXPECT_FALSE(LoadSkinFile("/nonexistent/folder/skin.asz", conv));
}
