#pragma once
// The option values that define skin images. A value defines an image only
// when it has one of these forms completely; anything else (a short value, a
// word that is not a number, an author's "Team #1") defines none.
//
//   !file!count!masktype!imgtype[!wl!wt!wr!wb]   an own picture file
//   @LLLL TTTT RRRR BBBB C M                     a glyph of the master bitmap
//   ^LLLL TTTT RRRR BBBB WLLL WTTT WRRR WBBB C M S W
//                                                a border of the master bitmap
//   ~LLLL TTTT RRRR BBBB SS M                    a texture of the master bitmap
//   FILE.BMP                                     an own bitmap, three states
//   #(left,top,right,bottom)(count,masktype[,borderwidth[,stretchmode]])
//                                                a border of the master bitmap
// The fixed-position forms take their fields at fixed character positions
// (any separator between them).
#include "skin/sSkinData.h"

#include <optional>
#include <string>

enum TacImageValueKind { ivOwnFile, ivGlyph, ivBorder, ivTexture, ivPlainFile, ivHash };

struct TacImageValue {
    TacImageValueKind Kind = ivHash;
    std::string FileName; // for ivOwnFile and ivPlainFile
    TRect R;              // for the master-bitmap kinds
    int ImageCount = 1, MaskType = 0, BorderWidth = 0, StretchMode = 0;
    TacImgType ImgType = itisaBorder;
    int WL = 0, WT = 0, WR = 0, WB = 0;
    bool HasMargins = false; // margins given by the value
};

// The image a value defines, or nothing.
std::optional<TacImageValue> ParseImageValue(const std::string& value);

// Fills the mask record from a parsed value and the picture's size (the
// rectangle's for master-bitmap kinds): normalised counts, margins computed
// where the value gives none, section and key names stored as each kind
// stores them.
TsMaskData MakeMaskFromValue(const TacImageValue& v, const std::string& section, const std::string& key,
                             int pictureWidth, int pictureHeight);
