#include "skin/sCommonDataTypes.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <utility>

namespace {

using Ranges = std::initializer_list<std::pair<int, int>>;

bool InRanges(int code, Ranges ranges)
{
    for (auto [first, last] : ranges)
        if (code >= first && code <= last)
            return true;
    return false;
}

} // namespace

bool InNoHoverTypes(int c)
{
    return InRanges(c, {{19, 19}, {51, 74}, {110, 110}, {141, 161}});
}

bool InNoGlowTypes(int c)
{
    return InRanges(c, {{51, 52}, {54, 54}, {56, 60}, {68, 68}, {73, 74}, {110, 110}, {141, 141}, {143, 143},
                        {151, 151}, {161, 161}, {226, 226}});
}

bool InFrameRedrawTypes(int c)
{
    return InRanges(c, {{2, 18}, {41, 41}, {76, 84}, {96, 97}, {131, 140}});
}

std::string DefaultSectionFor(int c, const std::string& className)
{
    struct Entry {
        Ranges codes;
        const char* section;
    };
    static const Entry table[] = {
        {{{2, 8}, {10, 10}, {41, 41}, {76, 76}, {78, 78}, {83, 84}, {96, 97}, {131, 131}, {140, 140}, {227, 227}},
         "EDIT"},
        {{{11, 18}, {81, 82}}, "COMBOBOX"},
        {{{19, 19}}, "BAR"},
        {{{20, 20}}, "BARTITLE"},
        {{{32, 32}, {152, 152}}, "CHECKBOX"},
        {{{33, 33}}, "RADIOBUTTON"},
        {{{51, 51}, {59, 59}, {68, 68}, {73, 73}}, "PANEL"},
        {{{52, 52}, {58, 58}}, "PANEL_LOW"},
        {{{53, 54}, {60, 60}}, "TOOLBAR"},
        {{{56, 56}}, "DRAGBAR"},
        {{{57, 57}}, "TABSHEET"},
        {{{74, 74}, {226, 226}}, "GROUPBOX"},
        {{{75, 75}}, "SPLITTER"},
        {{{92, 92}, {95, 95}}, "SPEEDBUTTON"},
        {{{93, 94}}, "BUTTON"},
        {{{98, 98}}, "TOOLBUTTON"},
        {{{141, 141}, {143, 143}}, "PAGECONTROL"},
        {{{151, 151}}, "STATUSBAR"},
        {{{161, 161}}, "GAUGE"},
        {{{165, 165}}, "TRACKBAR"},
    };
    for (const Entry& e : table)
        if (InRanges(c, e.codes))
            return e.section;
    return className;
}

TColor MixColors(TColor a, TColor b, double factor)
{
    // nearbyint rounds as the default floating-point mode does: halves to even.
    auto channel = [&](int ca, int cb) {
        return std::clamp(int(std::nearbyint(factor * ca + (1 - factor) * cb)), 0, 255);
    };
    return TColor(uint32_t(a) & 0xFF000000u)
           | RGB(channel(GetRValue(a), GetRValue(b)), channel(GetGValue(a), GetGValue(b)),
                 channel(GetBValue(a), GetBValue(b)));
}

TColor BlendTransparentColor(TColor section, TColor parent, int t)
{
    auto channel = [&](int c, int p) { return std::clamp((t * (p - c) + c * 256) >> 8, 0, 255); };
    return RGB(channel(GetRValue(section), GetRValue(parent)), channel(GetGValue(section), GetGValue(parent)),
               channel(GetBValue(section), GetBValue(parent)));
}

unsigned SectionFillFlags(const TsGeneralData& s)
{
    unsigned flags = 0;
    if (s.ImagePercent != 0)
        flags |= 4;
    if (s.GradientPercent != 0 && !s.GradientArray.empty()) {
        int mode = s.GradientArray[0].Mode;
        if (mode == 0)
            flags |= 2;
        else if (mode == 1)
            flags |= 1;
        else if (mode == 2)
            flags |= 3;
    }
    return flags;
}

TLabelPlace BoundLabelPlace(TsCaptionLayout layout, const TRect& f, int w, int h, int indent)
{
    switch (layout) {
    case sclLeft: return {f.Left - w - 4 - indent, f.Top + (f.Height() - h) / 2 - 1};
    case sclTopLeft: return {f.Left, f.Top - h - indent};
    case sclTopCenter: return {f.Left + (f.Width() - w) / 2, f.Top - h - indent};
    default: return {f.Left + f.Width() - w, f.Top - h - indent};
    }
}
