#pragma once
// The arithmetic of a skinned scroll bar, shared by its painter, its hit
// test and its thumb drag so that the thumb that is drawn is the thumb that
// reacts. Lengths run along the bar; a vertical bar passes its y
// coordinates, a horizontal one its x coordinates.

// Bar codes.
enum : int { SB_HORZ = 0, SB_VERT = 1, SB_BOTH = 3 };
// Scroll request codes.
enum : int {
    SB_LINEUP = 0,
    SB_LINEDOWN = 1,
    SB_PAGEUP = 2,
    SB_PAGEDOWN = 3,
    SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5,
    SB_ENDSCROLL = 8
};
// Parts of a bar; the numbers are also the scroll codes they send.
enum : int {
    sbpNone = -1,
    sbpFirstArrow = 0,
    sbpSecondArrow = 1,
    sbpPageBefore = 2,
    sbpPageAfter = 3,
    sbpThumb = 5
};

constexpr int DefaultMinThumbSize = 10;

// A bar's range as the window system keeps it: positions run from nMin to
// nMax - max(nPage, 1) + 1, and nMax - nMin + 1 counts the whole document.
struct TScrollInfo {
    int nMin = 0;
    int nMax = 0;
    int nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
    bool operator==(const TScrollInfo&) const = default;
};

// The positions a range can take: 0 for a range that cannot scroll.
int ScrollSpan(const TScrollInfo& info);

// The thumb along a bar of barLength with two arrows of arrowLength at its
// ends; Start is measured from the bar start. Length 0 means no thumb.
struct TThumbGeometry {
    int Start = 0;
    int Length = 0;
    bool operator==(const TThumbGeometry&) const = default;
};
TThumbGeometry GetThumbGeometry(const TScrollInfo& info, int barLength, int arrowLength, int minThumbSize);

// The arrow length a bar really has: half the bar when two full arrows do
// not fit.
int FittedArrowLength(int barLength, int arrowLength);

// The part of the bar at the coordinate along it (from the bar start);
// across tells whether the point lies inside the bar's thickness.
int HitTestBarPart(int along, bool across, int barLength, int arrowLength, const TThumbGeometry& thumb);

// The position a thumb dragged to thumbStart (from the bar start) stands
// for; the inverse of GetThumbGeometry's offset, limited to the range.
int ThumbDragPosition(const TScrollInfo& info, int thumbStart, int barLength, int arrowLength, int thumbLength);
