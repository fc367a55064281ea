#pragma once
// What a loaded skin is made of: its sections, images and patterns as plain
// records, its skin-wide values, and the look-ups by name that every painter
// and control uses. A skin manager owns one TacSkinContent; the readers of
// skin folders, packed files and stored skins fill a new one, and the
// manager takes it only when the load succeeded.
#include "platform/Bitmap.h"
#include "skin/sConst.h"

#include <memory>
#include <string>
#include <vector>

class TsSkinManager;

// One step of a gradient: a band from Color1 to Color2 over Percent of the
// rectangle. Mode 0 bands rows, 1 bands columns, 2 fills four triangles.
struct TsGradStep {
    int Color1 = 0;
    int Color2 = 0;
    uint8_t Percent = 0;
    int Mode = 0;
    bool operator==(const TsGradStep&) const = default;
};
using TsGradArray = std::vector<TsGradStep>;

// One skin section. Field defaults are those a key takes when neither the
// section nor its parent chain gives it.
struct TsGeneralData {
    std::string ParentClass;
    std::string Name;
    TColor Color = clWhite;
    TColor FontColor = clBlack;
    int TCLeft = -1, TCTop = -1, TCRight = -1, TCBottom = -1; // text contours, -1 none
    TColor HotFontColor = clBlack;
    int HotTCLeft = -1, HotTCTop = -1, HotTCRight = -1, HotTCBottom = -1;
    bool GiveOwnFont = false;
    int GlowCount = 0;
    int GlowMargin = 0;
    bool ReservedBoolean = false;
    int Transparency = 0;
    int GradientPercent = 0;
    std::string GradientData = " ";
    TsGradArray GradientArray;
    int ImagePercent = 0;
    bool ShowFocus = false;
    bool FadingEnabled = false;
    int FadingIterations = 5;
    TColor HotColor = clWhite;
    int HotTransparency = 0;
    int HotGradientPercent = 0;
    std::string HotGradientData;
    TsGradArray HotGradientArray;
    int HotImagePercent = 0;
    // Mask indexes resolved once after a load (with parent fall-back).
    int BorderIndex = -1;
    int ImgTopLeft = -1, ImgTopRight = -1, ImgBottomLeft = -1, ImgBottomRight = -1;

    bool operator==(const TsGeneralData&) const = default;
};
using TsGeneralDataArray = std::vector<TsGeneralData>;

// One skin image: an own bitmap, or (Bmp empty) the rectangle R of the
// skin's master bitmap. The image holds ImageCount state images side by side
// and is split vertically into MaskType + 1 parts: the state images first,
// then their masks.
struct TsMaskData {
    std::shared_ptr<TBitmap> Bmp;
    std::string SectionName;
    std::string PropertyName;
    TRect R;
    int ImageCount = 0;
    int MaskType = 0;
    int BorderWidth = 0;
    int StretchMode = 0;
    TacImgType ImgType = itisaBorder;
    TsSkinManager* Manager = nullptr;
    int WL = 0, WT = 0, WR = 0, WB = 0; // margins of the nine-part layout
};
using TsMaskArray = std::vector<TsMaskData>;

// Counts, border widths and margins of skin images are 16-bit values.
// Every reader bounds what a skin says to them (counts at least 1, the
// others at least 0), so that no arithmetic of the painters on them
// overflows and no corner is larger than a bitmap can be.
constexpr int MaxMaskValue = 32767;
inline int BoundMaskValue(int v, int least) { return v < least ? least : v > MaxMaskValue ? MaxMaskValue : v; }

// One large JPEG pattern, decoded.
struct TsPatternData {
    std::shared_ptr<TBitmap> Img;
    std::string SectionName;
    std::string PropertyName;
};
using TsPatternArray = std::vector<TsPatternData>;

// Skin-wide values of section "GLOBALINFO".
struct TsSkinData {
    std::string ImageFolder;
    bool Ready = false;
    double Version = 0;
    std::string Author;
    std::string Description;
    TColor Shadow1Color = 0;
    int Shadow1Offset = 0, Shadow1Blur = -1, Shadow1Transparency = 0;
    int ExtBorderWidth = 4, ExtTitleHeight = 30, ExtMaxHeight = 0, ExtFormOffset = 8;
    int ExtCenterOffset = 0, ExtBorderMode = 0;
    TColor BorderColor = 0;
    int IconSpace = 0, IconVAlign = 0, IconRight = 0, IconLeft = 0, IconKeepHue = 0;
    int CloseGlow = 0, CloseGlowMargin = 0, MaxGlow = 0, MaxGlowMargin = 0;
    int MinGlow = 0, MinGlowMargin = 0;

    bool operator==(const TsSkinData&) const = default;
};

// The indexes of a scroll button or slider section and its images.
struct TacScrollBtnIndexes {
    int Section = -1, Border = -1, Glyph = -1, Pattern = -1, HotPattern = -1;
    bool operator==(const TacScrollBtnIndexes&) const = default;
};
// The indexes of a tab section and its border.
struct TacTabIndexes {
    int Section = -1, Border = -1;
    bool operator==(const TacTabIndexes&) const = default;
};

// Indexes cached after every load; all -1 without a skin.
struct TacCachedIndexes {
    int GlobalInfo = -1;
    int ExBorder = -1;
    int BoxChecked = -1, BoxUnchecked = -1, BoxGrayed = -1;
    int RadioChecked = -1, RadioUnchecked = -1, RadioGrayed = -1;
    int SmallChecked = -1, SmallUnchecked = -1, SmallGrayed = -1;
    TacTabIndexes TabTop, TabBottom, TabLeft, TabRight;
    TacScrollBtnIndexes ScrollBtnTop, ScrollBtnBottom, ScrollBtnLeft, ScrollBtnRight;
    TacScrollBtnIndexes ScrollSliderV, ScrollSliderH;
    // Scroll bar tracks carry no glyph; their Glyph stays -1.
    TacScrollBtnIndexes ScrollBar1H, ScrollBar1V, ScrollBar2H, ScrollBar2V;
    TacScrollBtnIndexes ComboBtn;
    int ComboGlyph = -1;

    bool operator==(const TacCachedIndexes&) const = default;
};

// Size of one state image of a mask taken from the master bitmap.
int MaskFrameWidth(const TsMaskData& mask);
int MaskFrameHeight(const TsMaskData& mask);

// A loaded skin and its look-ups. Names are compared exactly; callers ask
// with upper-case names. A parent-class chain that comes back to a section
// already visited ends the search there.
class TacSkinContent {
public:
    TsGeneralDataArray gd;
    TsMaskArray ma;
    TsPatternArray pa;
    std::shared_ptr<TBitmap> MasterBitmap;
    TsSkinData SkinData;
    TacCachedIndexes CachedIndexes;

    int GetSkinIndex(const std::string& sectionName) const;
    // The first image of the section and key, searched along the section's
    // parent classes; -1 for a negative index or an empty section name.
    int GetMaskIndex(int skinIndex, const std::string& sectionName, const std::string& propertyName) const;
    // The same without parent fall-back and without an index.
    int FindMaskIndex(const std::string& sectionName, const std::string& propertyName) const;
    // As GetMaskIndex, counting only texture images.
    int GetTextureIndex(int skinIndex, const std::string& sectionName, const std::string& propertyName) const;
    int GetPatternIndex(int skinIndex, const std::string& sectionName, const std::string& propertyName) const;

    bool IsValidSkinIndex(int index) const { return index >= 0 && index < int(gd.size()); }
    bool IsValidImageIndex(int index) const { return index >= 0 && index < int(ma.size()); }

    // Size of one state image: an own bitmap gives a third of its width and
    // half its height; a master-bitmap image its frame size. (0, 0) for an
    // index that names no image.
    void GetMaskFrameSize(int index, int& width, int& height) const;
    // Nine-part margins: the own margin when set, else the border width, else
    // the frame size. 0 for an index that names no image.
    int GetMaskMarginLeft(int index) const;
    int GetMaskMarginTop(int index) const;
    int GetMaskMarginRight(int index) const;
    int GetMaskMarginBottom(int index) const;

    // Resolves each section's border and corner image indexes, then the
    // cached indexes of the whole skin.
    void ResolveIndexes();

private:
    template <class Match>
    int FindWithParents(int skinIndex, const std::string& sectionName, const Match& match) const;
    template <class Match, class IndexOf>
    int FindWithParents(int skinIndex, const std::string& sectionName, const Match& match,
                        const IndexOf& indexOf) const;
    int MaskMargin(int index, int own, bool horizontal) const;
    void ResolveCachedIndexes();
};
