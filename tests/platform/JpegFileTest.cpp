#include "platform/JpegFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace {

// A w x h picture of a colour ramp, progressive with the encoder's own
// script, or with the given scans.
std::string Progressive(int w, int h, const std::vector<jpeg_scan_info>& scans = {})
{
    jpeg_compress_struct info{};
    jpeg_error_mgr err{};
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(w);
    info.image_height = JDIMENSION(h);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_simple_progression(&info);
    if (!scans.empty()) {
        info.scan_info = scans.data();
        info.num_scans = int(scans.size());
    }
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(size_t(w) * 3);
    while (info.next_scanline < info.image_height) {
        for (int x = 0; x < w; ++x) {
            row[3 * x] = JSAMPLE(x * 4);
            row[3 * x + 1] = JSAMPLE(info.next_scanline * 4);
            row[3 * x + 2] = 90;
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&info, &r, 1);
    }
    jpeg_finish_compress(&info);
    std::string out(reinterpret_cast<char*>(buffer), size);
    jpeg_destroy_compress(&info);
    free(buffer);
    return out;
}

bool Decodes(const std::string& bytes)
{
    TBitmap bmp;
    try {
        LoadJpegFromBytes(bytes, bmp);
    } catch (const EInvalidGraphic&) {
        return false;
    }
    return true;
}

} // namespace

TEST(JpegFile, ProgressivePictureDecodes)
{
    const std::string bytes = Progressive(40, 24);
    TBitmap bmp;
    LoadJpegFromBytes(bytes, bmp);
    EXPECT_EQ(bmp.Width(), 40);
    EXPECT_EQ(bmp.Height(), 24);
    EXPECT_EQ(bmp.PixelFormat(), pf24bit);
}

// Every scan costs a pass over the picture, so a small file of thousands of
// scans would take minutes to decode: such progressions are refused.
TEST(JpegFile, RefusesEndlessProgressions)
{
    const std::string good = Progressive(64, 64);
    ASSERT_TRUE(Decodes(good));
    // The last scan (its markers cannot occur inside coded data) repeated
    // before the end: each repetition refines what is complete already.
    const size_t last = good.rfind("\xFF\xDA"), end = good.size() - 2;
    ASSERT_NE(last, std::string::npos);
    std::string repeated = good.substr(0, end);
    for (int i = 0; i < 2000; ++i)
        repeated += good.substr(last, end - last);
    repeated += good.substr(end);
    EXPECT_FALSE(Decodes(repeated));

    // A valid progression of more scans than any encoder writes: the DC of
    // all three components, then each coefficient of each component alone.
    std::vector<jpeg_scan_info> scans;
    scans.push_back({3, {0, 1, 2, 0}, 0, 0, 0, 0});
    for (int c = 0; c < 3; ++c)
        for (int k = 1; k < 64; ++k)
            scans.push_back({1, {c, 0, 0, 0}, k, k, 0, 0});
    const std::string many = Progressive(16, 16, scans);
    EXPECT_FALSE(Decodes(many));
    std::vector<jpeg_scan_info> few(scans.begin(), scans.begin() + 1);
    for (int c = 0; c < 3; ++c)
        few.push_back({1, {c, 0, 0, 0}, 1, 63, 0, 0});
    EXPECT_TRUE(Decodes(Progressive(16, 16, few)));
}
