#pragma once
// Skins a skin manager carries inside itself: either a packed skin's bytes
// ("Data") or the skin's sections, images and patterns as items.
#include "skin/acSkinLoader.h"
#include "skin/sSkinData.h"

#include <string>
#include <vector>

struct TsSkinGeneral {
    std::string SectionName, ParentClass;
    TColor Color = clWhite;
    bool ReservedBoolean = false;
    // Five numbers separated by blanks: colour, then the left, top, right
    // and bottom contour colours.
    std::string FontColor, HotFontColor;
    int Transparency = 0, GlowCount = 0, GlowMargin = 0, GradientPercent = 0;
    std::string GradientData;
    int ImagePercent = 0;
    bool ShowFocus = false, FadingEnabled = false;
    int FadingIterations = 5;
    TColor HotColor = clWhite;
    int HotTransparency = 0, HotGradientPercent = 0;
    std::string HotGradientData;
    int HotImagePercent = 0;
    std::string Name;
    bool GiveOwnFont = false;
};

struct TsSkinImage {
    std::string SectionName;
    TBitmap Image; // the own picture of an item with a Name
    std::string Name, PropertyName;
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int ImageCount = 0, MaskType = 0, BorderWidth = 0, StretchMode = 0;
    TacImgType ImgType = itisaBorder;
    int WL = 0, WR = 0, WT = 0, WB = 0;
};

struct TsSkinPattern {
    std::string SectionName;
    TBitmap Image; // an empty image shares the first other one of its Name
    std::string Name, PropertyName;
};

struct TsStoredSkin {
    std::string Name;
    std::vector<TsSkinGeneral> GeneralData;
    std::vector<TsSkinImage> Images;
    std::vector<TsSkinPattern> Patterns;
    TBitmap MasterBitmap;
    TColor Shadow1Color = 0;
    int Shadow1Offset = 0, Shadow1Blur = -1, Shadow1Transparency = 0;
    TColor BorderColor = clFuchsia;
    double Version = 0;
    std::string Author, Description;
    // A packed skin; when present it is the skin and the items are unused.
    std::string Data;
};

class TsStoredSkins {
public:
    std::vector<TsStoredSkin> Items;
    // The first skin of exactly that name, -1 when none.
    int IndexOf(const std::string& name) const;
};

// Loads a stored skin into a new skin, handed over only when it loaded.
bool LoadStoredSkin(const TsStoredSkin& stored, const TacCommonSections& common, TacSkinContent& skin,
                    std::string& error);
