#pragma once
// Icon files (.ico): a directory of pictures, each a device-independent
// bitmap with its transparency mask or a PNG file. Every offset and size is
// checked against the bytes present, so a damaged file raises an error
// rather than reading out of bounds.
#include "skin/acPNG.h"

// Reads the icon file that starts at the stream's position and returns the
// picture whose size is nearest to width x height (the most colours among
// equals) as a 32-bit image with alpha and its mask. Pictures without an
// alpha channel take their transparency from the mask. Raises
// EInvalidGraphic "Icon image is not valid" for a file that is not a
// complete icon, and the PNG reader's errors for a damaged PNG picture.
TIconBitmaps LoadIconFromStream(TByteStream& stream, int width, int height);
