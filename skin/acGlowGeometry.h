#pragma once
// Where a glow window goes and which part of its halo image it shows.
#include "platform/Bitmap.h"

struct TacGlowGeometry {
    int ImageWidth = 0, ImageHeight = 0; // the whole halo image
    int Dx = 0, Dy = 0;                  // top-left of the shown part in it
    int Width = 0, Height = 0;           // the shown part, the window's size
    int Left = 0, Top = 0;               // the window's screen position
};

// r: the control's screen rect; clip: its visible part, relative to r;
// l, t, rm, b: the mask's margins; margin: how far the halo is drawn in.
// False when the halo or its visible part is empty; the visible part is
// always kept inside the halo image.
bool ComputeGlowGeometry(const TRect& r, const TRect& clip, int l, int t, int rm, int b, int margin,
                         TacGlowGeometry& g);
