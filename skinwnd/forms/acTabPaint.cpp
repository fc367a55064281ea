// How the tab control adapter paints: the control's cache (the parent's
// background under the band, the page frame by its section, the tabs that
// are not selected) and the selected tab over it.
#include "skinwnd/forms/acTabControlWnd.h"

#include "platform/Cp1251.h"
#include "platform/forms/BitmapImage.h"
#include "skin/acBitmapHelpers.h"
#include "skin/acBlit.h"
#include "skin/acCanvas.h"
#include "skin/acSectionPaint.h"
#include "skin/forms/sCommonData.h"
#include "skin/sHelpers.h"
#include "skin/sSkinMenuItems.h"
#include "skinwnd/forms/acSBUtils.h"
#include "skinwnd/forms/acTabContent.h"

#include <QPainter>
#include <QTabBar>

#include <algorithm>

namespace {

const TacTabIndexes& TabIndexes(const TacCachedIndexes& c, TacTabPosition position)
{
    switch (position) {
    case tpBottom: return c.TabBottom;
    case tpLeft: return c.TabLeft;
    case tpRight: return c.TabRight;
    default: return c.TabTop;
    }
}

TRect Intersect(const TRect& a, const TRect& b)
{
    return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
}

} // namespace

void TacTabControlWnd::PrepareCache(const TacTabLayout& l)
{
    TsCommonData& d = *SkinData();
    TsSkinManager* m = d.GetSkinManager();
    d.BGChanged = true;
    if (!d.CacheBmp)
        d.CacheBmp = std::make_unique<TBitmap>();
    TBitmap& cache = *d.CacheBmp;
    cache.SetPixelFormat(pf24bit);
    cache.SetSize(l.Width, l.Height);
    // The whole control starts as what lies under it, so that a frame
    // section the skin lacks leaves no stale pixels.
    const TCacheInfo parent = GetParentCacheOfWindow(WndHandle());
    const TRect all{0, 0, l.Width, l.Height};
    if (parent.Ready && parent.Bmp)
        CopyBitmapRect(cache, 0, 0, l.Width, l.Height, *parent.Bmp, parent.X, parent.Y);
    else
        FillSolidRect(cache, all, parent.FillColor);
    const std::string name = PageSectionName(!l.Tabs.empty(), d.SkinSection(), l.Position);
    const TRect frame = ::GetPageFrameRect(l);
    PaintSectionItem(m->GetSkinIndex(name), name, parent, true, 0, frame, {frame.Left, frame.Top}, &cache, m, -1, -1);
    d.BGChanged = false;
    for (int index : TabPaintOrder(l))
        DrawTab(l, index, 0, cache);
}

void TacTabControlWnd::DrawTab(const TacTabLayout& l, int index, int state, TBitmap& target)
{
    TsCommonData& d = *SkinData();
    TsSkinManager* m = d.GetSkinManager();
    const TacSkinContent* skin = m ? m->Content() : nullptr;
    QTabBar* bar = TabBar();
    const bool selected = index == l.Selected;
    const TRect r1 = AdjustedTabRect(l, index, selected);
    // A hot tab scrolled out to the left stays undrawn.
    if (!skin || !bar || (state == 1 && r1.Left < 0))
        return;
    const TRect r2 = AdjustedTabRect(l, index, state == 2 && selected);
    if (r2.Width() <= 0 || r2.Height() <= 0)
        return;
    const TacTabIndexes& tab = TabIndexes(skin->CachedIndexes, l.Position);
    // Section 0 is as good a tab section as any other.
    if (skin->CachedIndexes.TabTop.Section >= 0 && m->Mask(tab.Border)) {
        auto work = CreateBitmap24(r2.Width(), r2.Height());
        CopyBitmapRect(*work, 0, 0, r2.Width(), r2.Height(), *d.CacheBmp, r2.Left, r2.Top);
        PaintSectionItemWithMask(tab.Section, tab.Border, -1, -1, MakeCacheInfo(d.CacheBmp.get(), r2.Left, r2.Top),
                                 true, state, {0, 0, r2.Width(), r2.Height()}, {0, 0}, work.get(), m);
        CopyTab(l, *work, r2, state == 2, target);
    }
    TacTabContent c;
    c.Position = l.Position;
    c.Text = WithoutMnemonics(QStringToCp1251(bar->tabText(index)));
    c.Icon = bar->tabIcon(index);
    c.IconSize = bar->iconSize();
    c.Font = bar->font();
    c.Manager = m;
    c.Section = tab.Section;
    c.PlainColor = FontColor(bar);
    c.State = state;
    c.Selected = selected;
    DrawTabContent(target, {r2.Left + 3, r2.Top + 3, r2.Right - 3, r2.Bottom - 3}, c);
}

void TacTabControlWnd::CopyTab(const TacTabLayout& l, const TBitmap& work, const TRect& r, bool selected,
                               TBitmap& target)
{
    // Only the selected tab joins the frame; the others never cover it.
    // Qt's bars lie closer to the pages than the tabs were laid out for,
    // so this holds on every side, not only at the top and on the left.
    TRect clip{0, 0, target.Width(), target.Height()};
    const TRect frame = ::GetPageFrameRect(l);
    if (!selected && !l.Tabs.empty()) {
        switch (l.Position) {
        case tpTop: clip.Bottom = std::min(clip.Bottom, frame.Top); break;
        case tpBottom: clip.Top = std::max(clip.Top, frame.Bottom); break;
        case tpLeft: clip.Right = std::min(clip.Right, frame.Left); break;
        case tpRight: clip.Left = std::max(clip.Left, frame.Right); break;
        }
    }
    const TRect part = Intersect(r, clip);
    if (part.Width() > 0 && part.Height() > 0)
        CopyBitmapRect(target, part.Left, part.Top, part.Width(), part.Height(), work, part.Left - r.Left,
                       part.Top - r.Top);
}

TBitmap TacTabControlWnd::PaintControl()
{
    if (!SkinData()->GetSkinManager() || !WndHandle())
        return {};
    const TacTabLayout l = Layout();
    PrepareCache(l);
    TBitmap out = *SkinData()->CacheBmp;
    if (l.Selected >= 0)
        DrawTab(l, l.Selected, 2, out);
    return out;
}

void TacTabControlWnd::PaintWindow(QWidget* target)
{
    TsCommonData& d = *SkinData();
    QWidget* w = WndHandle();
    d.Updating = d.GetUpdating();
    if (d.Updating || !w || w->width() <= 0 || w->height() <= 0)
        return;
    const QImage picture = BitmapToImage(PaintControl());
    const QPoint origin = target == w ? QPoint() : target->mapTo(w, QPoint());
    QPainter painter(target);
    painter.drawImage(QPoint(0, 0), picture, QRect(origin, target->size()));
}
