#include "skin/sSkinData.h"

#include <map>
#include <unordered_map>
#include <utility>

// In 64 bits: a record built in code may hold any count.
int MaskFrameWidth(const TsMaskData& mask)
{
    return mask.ImageCount == 0 ? 0 : int(int64_t(mask.R.Width()) / mask.ImageCount);
}

int MaskFrameHeight(const TsMaskData& mask)
{
    const int64_t parts = int64_t(mask.MaskType) + 1;
    return parts == 0 ? 0 : int(int64_t(mask.R.Height()) / parts);
}

int TacSkinContent::GetSkinIndex(const std::string& sectionName) const
{
    for (size_t i = 0; i < gd.size(); ++i)
        if (gd[i].Name == sectionName)
            return int(i);
    return -1;
}

// Walks from the section to its parents until a match; indexOf finds a
// parent's section. A chain can be at most as long as the section list
// without coming back to a section, so more steps than that mean a loop and
// end the search.
template <class Match, class IndexOf>
int TacSkinContent::FindWithParents(int skinIndex, const std::string& sectionName, const Match& match,
                                    const IndexOf& indexOf) const
{
    if (skinIndex < 0 || sectionName.empty())
        return -1;
    std::string section = sectionName;
    for (size_t steps = 0; steps <= gd.size(); ++steps) {
        int found = match(section);
        if (found >= 0)
            return found;
        if (!IsValidSkinIndex(skinIndex))
            return -1;
        const std::string& parent = gd[size_t(skinIndex)].ParentClass;
        if (parent.empty() || parent == section)
            return -1;
        skinIndex = indexOf(parent);
        if (skinIndex < 0)
            return -1;
        section = parent;
    }
    return -1;
}

template <class Match>
int TacSkinContent::FindWithParents(int skinIndex, const std::string& sectionName, const Match& match) const
{
    return FindWithParents(skinIndex, sectionName, match, [this](const std::string& s) { return GetSkinIndex(s); });
}

int TacSkinContent::GetMaskIndex(int skinIndex, const std::string& sectionName, const std::string& propertyName) const
{
    return FindWithParents(skinIndex, sectionName,
                           [&](const std::string& section) { return FindMaskIndex(section, propertyName); });
}

int TacSkinContent::FindMaskIndex(const std::string& sectionName, const std::string& propertyName) const
{
    if (sectionName.empty())
        return -1;
    for (size_t i = 0; i < ma.size(); ++i)
        if (ma[i].SectionName == sectionName && ma[i].PropertyName == propertyName)
            return int(i);
    return -1;
}

int TacSkinContent::GetTextureIndex(int skinIndex, const std::string& sectionName,
                                    const std::string& propertyName) const
{
    return FindWithParents(skinIndex, sectionName, [&](const std::string& section) {
        for (size_t i = 0; i < ma.size(); ++i)
            if (ma[i].ImgType == itisaTexture && ma[i].SectionName == section && ma[i].PropertyName == propertyName)
                return int(i);
        return -1;
    });
}

int TacSkinContent::GetPatternIndex(int skinIndex, const std::string& sectionName,
                                    const std::string& propertyName) const
{
    if (pa.empty())
        return -1;
    return FindWithParents(skinIndex, sectionName, [&](const std::string& section) {
        for (size_t i = 0; i < pa.size(); ++i)
            if (pa[i].SectionName == section && pa[i].PropertyName == propertyName)
                return int(i);
        return -1;
    });
}

void TacSkinContent::GetMaskFrameSize(int index, int& width, int& height) const
{
    width = height = 0;
    if (!IsValidImageIndex(index))
        return;
    const TsMaskData& m = ma[size_t(index)];
    if (m.Bmp) {
        width = m.Bmp->Width() / 3;
        height = m.Bmp->Height() / 2;
    } else {
        width = MaskFrameWidth(m);
        height = MaskFrameHeight(m);
    }
}

int TacSkinContent::MaskMargin(int index, int own, bool horizontal) const
{
    const TsMaskData& m = ma[size_t(index)];
    if (own > 0)
        return own;
    if (m.BorderWidth > 0)
        return m.BorderWidth;
    if (horizontal)
        return m.ImageCount > 0 ? MaskFrameWidth(m) : m.R.Width(); // a count of 0 counts as 1
    return MaskFrameHeight(m);
}

int TacSkinContent::GetMaskMarginLeft(int index) const
{
    return IsValidImageIndex(index) ? MaskMargin(index, ma[size_t(index)].WL, true) : 0;
}

int TacSkinContent::GetMaskMarginTop(int index) const
{
    return IsValidImageIndex(index) ? MaskMargin(index, ma[size_t(index)].WT, false) : 0;
}

int TacSkinContent::GetMaskMarginRight(int index) const
{
    return IsValidImageIndex(index) ? MaskMargin(index, ma[size_t(index)].WR, true) : 0;
}

int TacSkinContent::GetMaskMarginBottom(int index) const
{
    return IsValidImageIndex(index) ? MaskMargin(index, ma[size_t(index)].WB, false) : 0;
}

// The first section of each name and the first mask of each section and
// key are found in tables made once: a skin of thousands of sections would
// otherwise search both arrays at every step of every chain.
void TacSkinContent::ResolveIndexes()
{
    std::unordered_map<std::string, int> sections;
    for (size_t i = 0; i < gd.size(); ++i)
        sections.try_emplace(gd[i].Name, int(i));
    std::map<std::pair<std::string, std::string>, int> masks;
    for (size_t i = 0; i < ma.size(); ++i)
        masks.try_emplace({ma[i].SectionName, ma[i].PropertyName}, int(i));
    auto indexOf = [&](const std::string& name) {
        auto it = sections.find(name);
        return it == sections.end() ? -1 : it->second;
    };
    auto mask = [&](int si, const std::string& name, const char* key) {
        return FindWithParents(
            si, name,
            [&](const std::string& section) {
                auto it = masks.find({section, key});
                return it == masks.end() ? -1 : it->second;
            },
            indexOf);
    };
    for (size_t i = 0; i < gd.size(); ++i) {
        TsGeneralData& s = gd[i];
        if (s.Name == "GLOBALINFO")
            continue;
        int si = int(i);
        s.BorderIndex = mask(si, s.Name, "BORDERSMASK");
        s.ImgTopLeft = mask(si, s.Name, "IMGTOPLEFT");
        s.ImgTopRight = mask(si, s.Name, "IMGTOPRIGHT");
        s.ImgBottomLeft = mask(si, s.Name, "IMGBTMLEFT");
        s.ImgBottomRight = mask(si, s.Name, "IMGBTMRIGHT");
    }
    ResolveCachedIndexes();
}

void TacSkinContent::ResolveCachedIndexes()
{
    TacCachedIndexes& c = CachedIndexes;
    c = {};
    c.GlobalInfo = GetSkinIndex("GLOBALINFO");
    if (c.GlobalInfo >= 0) {
        auto global = [&](const char* key) { return GetMaskIndex(c.GlobalInfo, "GLOBALINFO", key); };
        c.ExBorder = global("EXBORDER");
        c.BoxChecked = global("BOXCHECKED");
        c.BoxUnchecked = global("BOXUNCHECKED");
        c.BoxGrayed = global("BOXGRAYED");
        c.RadioChecked = global("RADIOCHECKED");
        c.RadioUnchecked = global("RADIOUNCHECKED");
        c.RadioGrayed = global("RADIOGRAYED");
        c.SmallChecked = global("SMALLCHECKED");
        c.SmallUnchecked = global("SMALLUNCHECKED");
        c.SmallGrayed = global("SMALLGRAYED");
    }
    auto tab = [&](TacTabIndexes& t, const char* name) {
        t.Section = GetSkinIndex(name);
        t.Border = GetMaskIndex(t.Section, name, "BORDERSMASK");
    };
    tab(c.TabTop, "TABTOP");
    tab(c.TabBottom, "TABBOTTOM");
    tab(c.TabLeft, "TABLEFT");
    tab(c.TabRight, "TABRIGHT");
    auto scroll = [&](TacScrollBtnIndexes& b, const char* name, bool glyph) {
        b.Section = GetSkinIndex(name);
        b.Border = GetMaskIndex(b.Section, name, "BORDERSMASK");
        if (glyph)
            b.Glyph = GetMaskIndex(b.Section, name, "GLYPHMASK");
        b.Pattern = GetMaskIndex(b.Section, name, "PATTERN");
        b.HotPattern = GetMaskIndex(b.Section, name, "HOTPATTERN");
    };
    scroll(c.ScrollBtnTop, "SCROLLBTNTOP", true);
    scroll(c.ScrollBtnBottom, "SCROLLBTNBOTTOM", true);
    scroll(c.ScrollBtnLeft, "SCROLLBTNLEFT", true);
    scroll(c.ScrollBtnRight, "SCROLLBTNRIGHT", true);
    scroll(c.ScrollSliderV, "SCROLLSLIDERV", true);
    scroll(c.ScrollSliderH, "SCROLLSLIDERH", true);
    scroll(c.ScrollBar1H, "SCROLLBAR1H", false);
    scroll(c.ScrollBar1V, "SCROLLBAR1V", false);
    scroll(c.ScrollBar2H, "SCROLLBAR2H", false);
    scroll(c.ScrollBar2V, "SCROLLBAR2V", false);
    c.ComboBtn.Section = GetSkinIndex("COMBOBTN");
    c.ComboBtn.Border = FindMaskIndex("COMBOBTN", "BORDERSMASK");
    c.ComboBtn.Pattern = GetTextureIndex(c.ComboBtn.Section, "COMBOBTN", "PATTERN");
    c.ComboBtn.HotPattern = GetTextureIndex(c.ComboBtn.Section, "COMBOBTN", "HOTPATTERN");
    c.ComboGlyph = FindMaskIndex("COMBOBOX", "GLYPHMASK");
}
