#pragma once
// JPEG pictures, decoded into 24-bit bitmaps (skin patterns are JPEG files).
#include "platform/Bitmap.h"

#include <string_view>

// Decodes a whole JPEG file; grey pictures become grey 24-bit pixels.
// Raises EInvalidGraphic for anything the decoder refuses, for pictures
// larger than a bitmap may be, for files that end early, and for
// progressions of more scans than encoders write or of scans that refine
// nothing (each costs a pass over the picture); bmp is left as it was then.
void LoadJpegFromBytes(std::string_view bytes, TBitmap& bmp);
