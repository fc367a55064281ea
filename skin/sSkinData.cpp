#include "skin/sSkinData.h"

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

// Walks from the section to its parents until a match. A chain can be at
// most as long as the section list without coming back to a section, so
// more steps than that mean a loop and end the search.
template <class Match>
int TacSkinContent::FindWithParents(int skinIndex, const std::string& sectionName, const Match& match) const
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
        skinIndex = GetSkinIndex(parent);
        if (skinIndex < 0)
            return -1;
        section = parent;
    }
    return -1;
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

void TacSkinContent::ResolveIndexes()
{
    for (size_t i = 0; i < gd.size(); ++i) {
        TsGeneralData& s = gd[i];
        if (s.Name == "GLOBALINFO")
            continue;
        int si = int(i);
        s.BorderIndex = GetMaskIndex(si, s.Name, "BORDERSMASK");
        s.ImgTopLeft = GetMaskIndex(si, s.Name, "IMGTOPLEFT");
        s.ImgTopRight = GetMaskIndex(si, s.Name, "IMGTOPRIGHT");
        s.ImgBottomLeft = GetMaskIndex(si, s.Name, "IMGBTMLEFT");
        s.ImgBottomRight = GetMaskIndex(si, s.Name, "IMGBTMRIGHT");
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
