#include "skin/acSkinImageValue.h"

#include "platform/Cp1251.h"
#include "platform/SysUtils.h"
#include "skin/sHelpers.h"

#include <algorithm>

namespace {

// The number at 1-based position pos, `length` characters long.
std::optional<int> FieldAt(const std::string& s, size_t pos, size_t length)
{
    if (pos + length - 1 > s.size())
        return std::nullopt;
    return TryStrToInt(Trim(s.substr(pos - 1, length)));
}

std::optional<TRect> RectAt(const std::string& s)
{
    auto l = FieldAt(s, 2, 4), t = FieldAt(s, 7, 4), r = FieldAt(s, 12, 4), b = FieldAt(s, 17, 4);
    if (!l || !t || !r || !b)
        return std::nullopt;
    return TRect{*l, *t, *r, *b};
}

std::optional<TacImageValue> ParseOwnFile(const std::string& value)
{
    const std::string sep = "!";
    int words = CountWords(value, sep);
    if (words != 4 && words < 8)
        return std::nullopt;
    TacImageValue v;
    v.Kind = ivOwnFile;
    v.FileName = ExtractWordAt(1, value, sep);
    if (v.FileName.find(".BMP") == std::string::npos && v.FileName.find(".PNG") == std::string::npos)
        return std::nullopt;
    int n[7];
    for (int i = 0; i < std::min(words, 8) - 1; ++i) {
        auto x = TryStrToInt(ExtractWordAt(i + 2, value, sep));
        if (!x)
            return std::nullopt;
        n[i] = *x;
    }
    v.ImageCount = n[0];
    v.MaskType = n[1];
    v.ImgType = TacImgType(std::clamp(n[2], 0, 4));
    v.StretchMode = 4;
    if (words >= 8) {
        v.WL = n[3], v.WT = n[4], v.WR = n[5], v.WB = n[6];
        v.HasMargins = true;
    }
    return v;
}

std::optional<TacImageValue> ParseFixed(const std::string& value)
{
    auto r = RectAt(value);
    if (!r)
        return std::nullopt;
    TacImageValue v;
    v.R = *r;
    if (value[0] == '@') {
        auto c = FieldAt(value, 22, 1), m = FieldAt(value, 24, 1);
        if (!c || !m)
            return std::nullopt;
        v.Kind = ivGlyph, v.ImgType = itisaGlyph, v.ImageCount = *c, v.MaskType = *m;
        v.HasMargins = true; // a glyph has no margins
        return v;
    }
    if (value[0] == '~') {
        auto s = FieldAt(value, 22, 2);
        if (!s)
            return std::nullopt;
        auto m = value.size() < 25 ? std::optional<int>(0) : FieldAt(value, 25, 1);
        if (!m)
            return std::nullopt;
        v.Kind = ivTexture, v.ImgType = itisaTexture, v.ImageCount = 1, v.StretchMode = *s, v.MaskType = *m;
        v.HasMargins = true;
        return v;
    }
    auto wl = FieldAt(value, 22, 4), wt = FieldAt(value, 27, 4), wr = FieldAt(value, 32, 4),
         wb = FieldAt(value, 37, 4), c = FieldAt(value, 42, 1), m = FieldAt(value, 44, 1),
         s = FieldAt(value, 46, 1), bw = FieldAt(value, 48, 1);
    if (!wl || !wt || !wr || !wb || !c || !m || !s || !bw)
        return std::nullopt;
    v.Kind = ivBorder, v.ImgType = itisaBorder;
    v.WL = *wl, v.WT = *wt, v.WR = *wr, v.WB = *wb;
    v.ImageCount = *c, v.MaskType = *m, v.StretchMode = *s, v.BorderWidth = *bw;
    v.HasMargins = v.WL + v.WT + v.WR + v.WB != 0;
    return v;
}

// Up to `max` numbers separated by blanks and commas; nothing when a word
// is not a number or there are fewer than `min`.
std::optional<std::vector<int>> Numbers(const std::string& word, size_t min, size_t max)
{
    std::vector<int> out;
    int count = CountWords(word, " ,");
    if (count < int(min) || count > int(max))
        return std::nullopt;
    for (int i = 1; i <= count; ++i) {
        auto n = TryStrToInt(ExtractWordAt(i, word, " ,"));
        if (!n)
            return std::nullopt;
        out.push_back(*n);
    }
    return out;
}

std::optional<TacImageValue> ParseHash(const std::string& value)
{
    auto rect = Numbers(ExtractWordAt(2, value, " ()"), 4, 4);
    auto counts = Numbers(ExtractWordAt(3, value, " ()"), 2, 4);
    if (!rect || !counts)
        return std::nullopt;
    const std::vector<int>& c = *counts;
    TacImageValue v;
    v.Kind = ivHash;
    v.R = {(*rect)[0], (*rect)[1], (*rect)[2], (*rect)[3]};
    v.ImageCount = c[0];
    v.MaskType = c[1];
    v.BorderWidth = c.size() > 2 ? std::max(0, c[2]) : 0;
    v.StretchMode = c.size() > 3 ? c[3] : 1;
    return v;
}

} // namespace

std::optional<TacImageValue> ParseImageValue(const std::string& value)
{
    if (value.empty())
        return std::nullopt;
    switch (value[0]) {
    case '!': return ParseOwnFile(value);
    case '@':
    case '^':
    case '~': return ParseFixed(value);
    default: break;
    }
    if (value.find('#') == std::string::npos) {
        if (AnsiUpperCase(value).find(".BMP") == std::string::npos)
            return std::nullopt;
        TacImageValue v;
        v.Kind = ivPlainFile;
        v.FileName = value;
        v.ImageCount = 3;
        v.MaskType = 1;
        return v;
    }
    return value == "#" ? std::nullopt : ParseHash(value);
}

TsMaskData MakeMaskFromValue(const TacImageValue& v, const std::string& section, const std::string& key,
                             int pictureWidth, int pictureHeight)
{
    TsMaskData m;
    bool upper = v.Kind == ivPlainFile || v.Kind == ivHash;
    m.SectionName = upper ? AnsiUpperCase(section) : section;
    m.PropertyName = upper ? AnsiUpperCase(key) : key;
    m.R = v.R;
    // Counts below their least value would divide by zero wherever a state
    // image is sized.
    m.ImageCount = BoundMaskValue(v.ImageCount, 1);
    m.MaskType = BoundMaskValue(v.MaskType, 0);
    m.BorderWidth = BoundMaskValue(v.BorderWidth, 0);
    m.StretchMode = v.StretchMode;
    m.ImgType = v.ImgType;
    m.WL = BoundMaskValue(v.WL, 0), m.WT = BoundMaskValue(v.WT, 0);
    m.WR = BoundMaskValue(v.WR, 0), m.WB = BoundMaskValue(v.WB, 0);
    if (v.Kind == ivPlainFile) {
        m.WL = m.WR = pictureWidth / 9;
        m.WT = m.WB = pictureHeight / 6;
    } else if (!v.HasMargins) {
        if (m.BorderWidth != 0) {
            m.WL = m.WT = m.WR = m.WB = m.BorderWidth;
        } else {
            m.WL = m.WR = pictureWidth / (m.ImageCount * 3);
            m.WT = m.WB = pictureHeight / ((m.MaskType + 1) * 3);
        }
    }
    return m;
}
