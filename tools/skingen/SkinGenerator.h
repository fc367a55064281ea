#pragma once
// The project's own test skin, drawn here from simple shapes: an options
// file, a master bitmap with every image the skinned windows look up, own
// picture files and JPEG patterns. The same skin is also built in code as a
// stored skin. A palette recolours it.
#include "skin/sStoredSkins.h"

#include <map>
#include <string>
#include <vector>

struct TSkinPalette {
    TColor Face, Hot, Pressed, Frame, Text, HotText, TitleTop, TitleBottom, Accent, Window;
    TColor Edit; // behind the text of edits, lists and combo boxes
};
TSkinPalette ProjectPalette();
// The same skin in darker, bluer colours.
TSkinPalette DuskPalette();

// The skin's files by name: "Options.dat" and every picture it names.
std::map<std::string, std::string> SkinFiles(const TSkinPalette& palette);
// Writes the files into the folder (native path), creating it; false when a
// file cannot be written.
bool WriteSkinFolder(const std::string& folder, const TSkinPalette& palette);
// The same skin as items of a stored skin (no packed data).
TsStoredSkin BuildStoredSkin(const std::string& name, const TSkinPalette& palette);
// Writes a 24-bit JPEG (quality 90).
std::string SaveJpegToString(const TBitmap& bmp);
