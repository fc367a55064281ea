#include "skin/acGlowGeometry.h"

#include <algorithm>

bool ComputeGlowGeometry(const TRect& r, const TRect& clip, int l, int t, int rm, int b, int margin,
                         TacGlowGeometry& g)
{
    g = {};
    g.ImageWidth = r.Width() + l + rm - 2 * margin;
    g.ImageHeight = r.Height() + t + b - 2 * margin;
    if (g.ImageWidth <= 0 || g.ImageHeight <= 0)
        return false;
    int rightCut = 0, bottomCut = 0;
    if (clip.Width() != r.Width() || clip.Height() != r.Height()) {
        g.Dx = clip.Left != 0 ? l + clip.Left - margin : 0;
        g.Dy = clip.Top != 0 ? t + clip.Top - margin : 0;
        if (r.Width() != clip.Right)
            rightCut = g.Dx != 0 ? g.ImageWidth - g.Dx - clip.Width() : r.Width() + rm - clip.Width() - margin;
        if (r.Height() != clip.Bottom)
            bottomCut = g.Dy != 0 ? g.ImageHeight - g.Dy - clip.Height() : r.Height() + b - clip.Height() - margin;
    }
    // A visible part reaching outside the control would cut outside the
    // image: keep the cut inside it.
    g.Dx = std::clamp(g.Dx, 0, g.ImageWidth);
    g.Dy = std::clamp(g.Dy, 0, g.ImageHeight);
    g.Width = std::min(g.ImageWidth - g.Dx - rightCut, g.ImageWidth - g.Dx);
    g.Height = std::min(g.ImageHeight - g.Dy - bottomCut, g.ImageHeight - g.Dy);
    if (g.Width <= 0 || g.Height <= 0)
        return false;
    g.Left = r.Left + g.Dx + margin - l;
    g.Top = r.Top + g.Dy + margin - t;
    return true;
}
