#pragma once
// Where the parts of a skinned tab control lie: the page frame, the band
// the tabs sit in, each tab's painted rectangle and row, the order the tabs
// are drawn in, and the skin sections the control paints with. Rectangles
// are in the control's own coordinates, right and bottom exclusive.
#include "platform/Bitmap.h"

#include <string>
#include <vector>

enum TacTabPosition { tpTop, tpBottom, tpLeft, tpRight };

// A tab control as its painter sees it.
struct TacTabLayout {
    TacTabPosition Position = tpTop;
    int Width = 0, Height = 0;
    // Where the pages go, as the control lays them out.
    TRect Display;
    std::vector<TRect> Tabs;
    int Selected = -1;
    int Rows = 1;
};

// The display area moved 2 pixels down at the top: the frame is drawn
// around that.
TRect GetPageRect(const TacTabLayout& l);
// The whole control without tabs; otherwise it reaches from the pages to
// the tab band.
TRect GetPageFrameRect(const TacTabLayout& l);
// The part of the control the tabs stand in; the whole control without tabs.
TRect TabBandRect(const TacTabLayout& l);

// Where a tab is painted: the item grown towards the page when it is the
// active one, kept apart from the frame when not. Empty for an index out
// of range, without tabs or without a selected tab.
TRect AdjustedTabRect(const TacTabLayout& l, int index, bool active);

// The tab's row counted from 1; 1 with fewer than two rows, for a tab of
// no width or height, and never outside the rows there are.
int TabRow(const TacTabLayout& l, int index);
// The tabs other than the selected one, row by row from row 1, each row in
// index order: the selected one is drawn last, over the others.
std::vector<int> TabPaintOrder(const TacTabLayout& l);

// The section of the page frame: "CHECKBOX" without tabs, the control's own
// section when it is not the default one, else the default one for the
// tab position.
std::string PageSectionName(bool hasTabs, const std::string& skinSection, TacTabPosition position);

// The 3-pixel strip of a w x h page that faces the tabs.
TRect PageStripRect(TacTabPosition position, int w, int h);
