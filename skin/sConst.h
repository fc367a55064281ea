#pragma once
// Constants and small records the whole skinning library shares, and the
// start-up of the units that set them.
#include "platform/Bitmap.h"

#include <array>
#include <string>

// How a parent hands its painted background to a child.
struct TCacheInfo {
    TBitmap* Bmp = nullptr;  // the parent's cache bitmap
    int X = 0, Y = 0;        // the child's offset inside it
    TColor FillColor = 0;    // plain colour without a bitmap; 0xFF00FF = none
    bool Ready = false;      // the record holds a usable background
};

// Handed out where no parent background exists.
extern TCacheInfo EmptyCacheInfo;
// Key colour of transparent pixels, and the value meaning "no colour".
extern TColor TransparentKeyColor;
// Width of a scroll bar (its arrows are square), read once at start-up.
extern int ScrollBarWidth;
// True when the locale's short date format writes a four-digit year.
extern bool FourDigitYear;

enum TacBtnEvent { beMouseEnter, beMouseLeave, beMouseDown, beMouseUp };
enum TacImgType { itisaBorder, itisaTexture, itisaGlyph, itisaGlow, itisaPngGlyph };
enum TsCaptionLayout { sclLeft, sclTopLeft, sclTopCenter, sclTopRight };

// Captions of the skin manager's 18 lists of foreign control classes, and
// the initial content of each list.
extern const std::array<std::string, 18> ThirdPartyNames;
extern const std::array<std::string, 18> DefaultThirdPartyClasses;

// Whether a short date format (any case) has a four-letter year.
bool HasFourDigitYear(const std::string& shortDateFormat);

// Start-up of the constants unit: each runs its work once. The scroll-bar
// width comes from the window style, which only the windows library knows.
void sConstInitialization(int scrollBarWidth);
