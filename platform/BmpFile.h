#pragma once
// Device-independent bitmap files: 1, 4 and 8 bits with a palette, 24 and
// 32 bits, BI_RGB or BI_BITFIELDS, rows stored bottom-up or top-down.
// Every header field is checked against the bytes present before use.
#include "platform/Bitmap.h"

#include <string>

// Reads the file that starts at the stream's position into bmp. 1, 4 and
// 8-bit files keep their palette; 32-bit files keep their fourth byte (or
// the alpha their bit fields give; 255 without an alpha field). Raises
// EInvalidGraphic for anything that is not a complete file of these kinds;
// bmp is left as it was then.
void LoadBmpFromStream(TByteStream& stream, TBitmap& bmp);

// The bitmap as a BI_RGB file with bottom-up rows; 15 and 16-bit pictures
// are written with 24 bits, the device format with 32.
std::string SaveBmpToString(const TBitmap& bmp);
