// An icon made from a decoded picture.
#include "skin/acPNG.h"

TIconBitmaps TPNGGraphic::CreateIconFromImage(bool forceKeyColor)
{
    TIconBitmaps icon;
    icon.Mask.SetPixelFormat(pf1bit);
    icon.Mask.SetPalette({TRGBQuad{0, 0, 0, 0}, TRGBQuad{255, 255, 255, 0}});
    icon.Mask.SetSize(Width(), Height());
    if (forceKeyColor || PixelFormat() != pf32bit) {
        // The top-left colour (alpha included) becomes transparent.
        SetPixelFormat(pf32bit);
        if (!Empty()) {
            const uint8_t* key = ScanLine(0);
            for (int y = 0; y < Height(); ++y) {
                const uint8_t* p = ScanLine(y);
                for (int x = 0; x < Width(); ++x, p += 4)
                    if (p[0] == key[0] && p[1] == key[1] && p[2] == key[2] && p[3] == key[3])
                        icon.Mask.SetPixel(x, y, clWhite);
            }
        }
    }
    // Otherwise the black mask leaves transparency to the alpha channel.
    icon.Image = *this;
    return icon;
}
