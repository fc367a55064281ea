#include "platform/JpegFile.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

namespace {

// libjpeg reports errors by calling error_exit, which must not return; it
// jumps back to the decoder's frame, where nothing needing destruction lives.
struct TJpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
    bool truncated = false;
};

void ErrorExit(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<TJpegError*>(info->err)->jump, 1);
}

void EmitMessage(j_common_ptr info, int level)
{
    if (level >= 0)
        return;
    // A warning about premature end of data means the picture is incomplete.
    if (info->err->msg_code == JWRN_JPEG_EOF)
        reinterpret_cast<TJpegError*>(info->err)->truncated = true;
    // A scan that refines what is complete already is no picture an encoder
    // writes; repeated, such scans cost a full pass each.
    if (info->err->msg_code == JWRN_BOGUS_PROGRESSION)
        ErrorExit(info);
}

// Sensible encoders write a few dozen scans at most; each scan costs a pass
// over the whole picture, so a small file of thousands of scans would take
// minutes.
constexpr int MaxScans = 100;

void Progress(j_common_ptr info)
{
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > MaxScans)
        ErrorExit(info);
}

// Decodes into out (already empty); false on any error.
bool Decode(std::string_view bytes, TBitmap& out)
{
    jpeg_decompress_struct info{};
    TJpegError err;
    info.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = ErrorExit;
    err.mgr.emit_message = EmitMessage;
    jpeg_progress_mgr progress{};
    progress.progress_monitor = Progress;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    info.progress = &progress;
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), (unsigned long)bytes.size());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    if (info.image_width == 0 || info.image_height == 0 || info.image_width > unsigned(TBitmap::MaxDimension)
        || info.image_height > unsigned(TBitmap::MaxDimension)
        || uint64_t(info.image_width) * info.image_height > TBitmap::MaxPixels) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_start_decompress(&info);
    bool sized = false;
    try {
        out.SetPixelFormat(pf24bit);
        out.SetSize(int(info.output_width), int(info.output_height));
        sized = true;
    } catch (...) {
    }
    if (!sized || info.output_components != 3) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.ScanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
        // RGB to the bitmap's blue-first order.
        for (unsigned x = 0; x < info.output_width; ++x)
            std::swap(row[3 * x], row[3 * x + 2]);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return !err.truncated;
}

} // namespace

void LoadJpegFromBytes(std::string_view bytes, TBitmap& bmp)
{
    TBitmap out;
    if (bytes.size() < 4 || !Decode(bytes, out))
        throw EInvalidGraphic("JPEG image is not valid");
    bmp.Assign(out);
}
