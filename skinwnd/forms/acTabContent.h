#pragma once
// A tab's caption and icon written into a bitmap: across top and bottom
// tabs in the colours of the tab's section, along left and right tabs with
// the font turned a quarter (upwards on the left, downwards on the right).
#include "platform/Bitmap.h"
#include "skinwnd/acTabGeometry.h"

#include <QFont>
#include <QIcon>
#include <QSize>

#include <string>

class TsSkinManager;

struct TacTabContent {
    TacTabPosition Position = tpTop;
    std::string Text; // code page 1251
    QIcon Icon;
    QSize IconSize;
    QFont Font;
    const TsSkinManager* Manager = nullptr;
    int Section = -1;      // the tab's section; -1: none in the skin
    TColor PlainColor = 0; // the text colour without a tab section
    int State = 0;         // 0 normal, 1 hot, 2 selected
    bool Selected = false;
};

// The font of a turned caption: normal weight, and a face that turns well
// in place of the old system face that does not.
QFont RotatedTabFont(const QFont& font);

// Writes the content into r (the tab's painted rectangle, already moved
// and shrunk by the caller) of a 24- or 32-bit bitmap.
void DrawTabContent(TBitmap& target, const TRect& r, const TacTabContent& c);
