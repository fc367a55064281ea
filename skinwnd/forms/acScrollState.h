#pragma once
// What the scroll-bar adapters share: one mouse, so one hot bar and one
// press at a time for all of them.
#include "skinwnd/acScrollGeometry.h"

#include <QPointer>
#include <QRect>

class QScrollBar;
class TacScrollBar;
class TacScrollWnd;

struct TacHotState {
    QPointer<TacScrollWnd> Wnd;
    int Bar = -1;
    int Part = sbpNone;
    bool On(const TacScrollWnd* wnd, const TacScrollBar& bar) const;
};

struct TacPressState {
    QPointer<TacScrollWnd> Wnd;
    int Bar = -1;
    int PressedPart = sbpNone;
    // The pressed part while the mouse is over it, else none.
    int CurrentPart = sbpNone;
    // The thumb drag, along the bar.
    int DragThumbSize = 0, DragThumbPos = 0, DragOffset = 0, DragStartPos = 0, LastTrackPos = 0;
    bool On(const TacScrollWnd* wnd, const TacScrollBar& bar) const;
};

extern TacHotState acHot;
extern TacPressState acPress;

// A reversed bar runs from its far end, arrows and all: the horizontal bars
// of right-to-left windows.
bool ReversedBar(const QScrollBar& control);
// The coordinate along a bar at r (in the adapted window) of a point.
int AlongBar(const TacScrollBar& bar, const QRect& r, const QPoint& p);
