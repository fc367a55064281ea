#include "skinwnd/acTabGeometry.h"

#include <algorithm>

namespace {

bool HasTabs(const TacTabLayout& l) { return !l.Tabs.empty(); }

void Inflate(TRect& r, int dx, int dy)
{
    r.Left -= dx;
    r.Right += dx;
    r.Top -= dy;
    r.Bottom += dy;
}

bool Empty(const TRect& r) { return r.Width() <= 0 || r.Height() <= 0; }

} // namespace

TRect GetPageRect(const TacTabLayout& l)
{
    TRect r = l.Display;
    r.Top += 2;
    return r;
}

TRect GetPageFrameRect(const TacTabLayout& l)
{
    TRect r{0, 0, l.Width, l.Height};
    if (!HasTabs(l))
        return r;
    const TRect p = GetPageRect(l);
    switch (l.Position) {
    case tpTop: r.Top = p.Top - 4; break;
    case tpBottom: r.Bottom = p.Bottom + 1; break;
    case tpLeft: r.Left = p.Left - 1; break;
    case tpRight: r.Right = p.Right + 1; break;
    }
    return r;
}

TRect TabBandRect(const TacTabLayout& l)
{
    TRect r{0, 0, l.Width, l.Height};
    if (!HasTabs(l))
        return r;
    const TRect p = GetPageRect(l);
    switch (l.Position) {
    case tpTop: r.Bottom = p.Top - 4; break;
    case tpBottom: r.Top = p.Bottom + 1; break;
    case tpLeft: r.Right = p.Left - 1; break;
    case tpRight: r.Left = p.Right + 1; break;
    }
    return r;
}

TRect AdjustedTabRect(const TacTabLayout& l, int index, bool active)
{
    if (index < 0 || index >= int(l.Tabs.size()) || l.Selected < 0)
        return {};
    const TRect item = l.Tabs[size_t(index)];
    TRect r = item;
    if (Empty(r))
        return r;
    if (active) {
        r.Bottom -= 1;
    } else {
        r.Bottom += 3;
        r.Right -= 1;
    }
    const int a = active ? 1 : 0;
    switch (l.Position) {
    case tpTop:
        Inflate(r, 2 * a, 2 * a);
        r.Bottom += 1;
        break;
    case tpBottom:
        Inflate(r, 2 * a, a);
        r.Top -= 2;
        r.Bottom += active ? 1 : -3;
        break;
    case tpLeft:
        Inflate(r, 0, 1);
        r.Right += 2;
        if (active) {
            Inflate(r, 1, 1);
        } else {
            r.Bottom -= 4;
            r.Right = item.Right + 4;
        }
        break;
    case tpRight:
        Inflate(r, 1, 0);
        r.Left -= 1, r.Right -= 1, r.Top -= 1, r.Bottom -= 1;
        if (active) {
            Inflate(r, 1, 1);
            r.Bottom += 3;
        } else {
            r.Bottom -= 2;
        }
        break;
    }
    return r;
}

int TabRow(const TacTabLayout& l, int index)
{
    if (l.Rows < 2 || index < 0 || index >= int(l.Tabs.size()))
        return 1;
    const TRect& t = l.Tabs[size_t(index)];
    const int w = t.Width(), h = t.Height();
    const TRect band = TabBandRect(l);
    // An empty tab has no size to count rows by.
    const int size = (l.Position == tpTop || l.Position == tpBottom) ? h : w;
    if (size <= 0)
        return 1;
    int row = 1;
    switch (l.Position) {
    case tpTop: row = (h / 2 + t.Bottom) / h; break;
    case tpLeft: row = (w / 2 + t.Right) / w; break;
    case tpRight: row = l.Rows - (t.Right + w / 2 - band.Left) / w + 1; break;
    case tpBottom: row = l.Rows - (t.Bottom + h / 2 - band.Top) / h + 1; break;
    }
    // A tab the arithmetic puts beyond the rows would never be drawn.
    return std::clamp(row, 1, l.Rows);
}

std::vector<int> TabPaintOrder(const TacTabLayout& l)
{
    std::vector<int> order;
    for (int row = 1; row <= std::max(1, l.Rows); ++row)
        for (int i = 0; i < int(l.Tabs.size()); ++i)
            if (i != l.Selected && TabRow(l, i) == row)
                order.push_back(i);
    return order;
}

std::string PageSectionName(bool hasTabs, const std::string& skinSection, TacTabPosition position)
{
    if (!hasTabs)
        return "CHECKBOX";
    if (skinSection != "PAGECONTROL")
        return skinSection;
    switch (position) {
    case tpBottom: return "PAGECONTROLBOTTOM";
    case tpLeft: return "PAGECONTROLLEFT";
    case tpRight: return "PAGECONTROLRIGHT";
    default: return "PAGECONTROL";
    }
}

TRect PageStripRect(TacTabPosition position, int w, int h)
{
    switch (position) {
    case tpBottom: return {0, h - 3, w, h};
    case tpLeft: return {0, 0, 3, h};
    case tpRight: return {w - 3, 0, w, h};
    default: return {0, 0, w, 3};
    }
}
