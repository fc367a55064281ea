// Every format restores what was saved: random buffers, with runs of 0xFF
// that the writers leave out, with and without markers.
#include "buffer/FileServ.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Random bytes with whole blocks of 0xFF at random places, and 0xFF at the
// end now and then.
void RandomFill(TDumpBuffer& b, int64_t size, std::mt19937& rng)
{
    b.SetSize(size);
    for (int64_t i = 0; i < size; ++i)
        b.Data[size_t(i)] = uint8_t(rng());
    for (int64_t i = 0; i + 64 <= size; i += 64)
        if (rng() % 3 == 0)
            std::fill_n(b.Data.begin() + i, 64, 0xFF);
    if (size > 0 && rng() % 2 == 0)
        std::fill(b.Data.begin() + std::max<int64_t>(0, size - 40), b.Data.begin() + size, 0xFF);
    for (int64_t i = 0; i < size; ++i)
        b.Markers[size_t(i)] = uint8_t(rng() % 8);
}

TEST(DumpRoundTrip, RandomBuffersInEveryFormat)
{
    testsupport::TempDir dir;
    std::mt19937 rng(12345);
    const int64_t sizes[] = {0, 1, 15, 16, 17, 65535, 65536, 65537, 1 << 20};
    for (const char* name : {"r.bin", "r.hex", "r.s19", "r.eef"}) {
        for (int64_t size : sizes) {
            for (bool markers : {false, true}) {
                TDumpBuffer saved;
                RandomFill(saved, size, rng);
                saved.UseMarkersFile = markers;
                if (!markers)
                    ::unlink((dir.file(name) + ".mrk").c_str());
                std::string error;
                ASSERT_TRUE(SaveDumpFile(saved, dir.file(name), "", error)) << error;

                // EditorMode takes the size from the file.
                TDumpBuffer loaded;
                RandomFill(loaded, 77, rng);
                loaded.EditorMode = true;
                TDumpLoadInfo info;
                ASSERT_TRUE(LoadDumpFile(loaded, dir.file(name), info)) << info.Error;
                ASSERT_EQ(loaded.GetSize(), size) << name << " " << size;
                ASSERT_TRUE(std::equal(saved.Data.begin(), saved.Data.begin() + size, loaded.Data.begin()))
                    << name << " " << size;
                for (int64_t i = 0; i < size; ++i)
                    ASSERT_EQ(loaded.Markers[size_t(i)], markers ? saved.Markers[size_t(i)] : 0)
                        << name << " " << size << " at " << i;

                // A chip buffer of the same size, holding other bytes. A text
                // dump of an empty buffer holds no data records: refused.
                TDumpBuffer chip;
                RandomFill(chip, size, rng);
                if (size == 0 && std::string(name) != "r.bin") {
                    EXPECT_FALSE(LoadDumpFile(chip, dir.file(name), info)) << name;
                    continue;
                }
                ASSERT_TRUE(LoadDumpFile(chip, dir.file(name), info)) << info.Error;
                ASSERT_TRUE(std::equal(saved.Data.begin(), saved.Data.begin() + size, chip.Data.begin()))
                    << name << " " << size;
            }
        }
    }
}

TEST(DumpRoundTrip, AboveSixteenMegabytesWithS3Records)
{
    // Built directly from the record text: 16 MiB + 16 bytes needs S3.
    TDumpBuffer b;
    b.SetSize(0x1000010);
    for (int64_t i = 0x1000000 - 4; i < b.GetSize(); ++i)
        b.Data[size_t(i)] = uint8_t(i);
    const std::string text = MakeS19Text(b);
    EXPECT_EQ(text.substr(0, 4), "S315");
    TDumpImage image;
    TDumpError error;
    ASSERT_TRUE(ParseS19Text(text, image, error));
    EXPECT_EQ(image.Size, 0x1000010u);
    std::vector<uint8_t> flat(size_t(image.Size));
    image.CopyTo(flat.data(), flat.size());
    EXPECT_TRUE(std::equal(flat.begin(), flat.end(), b.Data.begin()));

    const std::string hex = MakeHexText(b);
    ASSERT_TRUE(ParseHexText(hex, image, error));
    image.CopyTo(flat.data(), flat.size());
    EXPECT_TRUE(std::equal(flat.begin(), flat.end(), b.Data.begin()));
}

} // namespace
