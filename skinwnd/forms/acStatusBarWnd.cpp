#include "skinwnd/forms/acStatusBarWnd.h"

#include "platform/Cp1251.h"
#include "platform/forms/BitmapImage.h"
#include "skin/acCanvas.h"
#include "skin/acMaskPaint.h"
#include "skin/acSectionPaint.h"
#include "skin/acBlit.h"
#include "skin/forms/acControlPaint.h"
#include "skin/forms/acSkinText.h"
#include "skin/sHelpers.h"
#include "skinwnd/forms/acHeldChildren.h"
#include "skinwnd/forms/acStaticWnd.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QSizeGrip>
#include <QStatusBar>

#include <algorithm>

namespace {

TAlignment AlignmentOf(const QLabel* label)
{
    const Qt::Alignment a = label->alignment();
    if (a & Qt::AlignHCenter)
        return taCenter;
    return a & Qt::AlignRight ? taRightJustify : taLeftJustify;
}

// A label whose whole content is a line of plain text, which the adapter
// paints for it; a picture or rich text the label paints itself.
bool ShowsPlainText(const QLabel* label)
{
    return label && label->pixmap().isNull() && !label->movie() && LabelTextIsPlain(label);
}

TRect RectOf(const QRect& r) { return TRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

} // namespace

std::vector<TacStatusPanel> StatusBarPanels(const QStatusBar* bar, bool& simple)
{
    std::vector<TacStatusPanel> panels;
    const int w = bar->width(), h = bar->height();
    std::vector<const QWidget*> parts;
    for (const QWidget* child : bar->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!child->isHidden() && !child->isWindow() && !qobject_cast<const QSizeGrip*>(child))
            parts.push_back(child);
    std::stable_sort(parts.begin(), parts.end(), [](const QWidget* a, const QWidget* b) { return a->x() < b->x(); });
    simple = !bar->currentMessage().isEmpty();
    if (simple) {
        // The bar hides its other widgets under a message but keeps the
        // permanent ones beside it: they keep their panels.
        const int right = parts.empty() ? w - 1 : std::max(parts.front()->x() - 3, 0);
        const TRect r{0, 1, right, h - 1};
        panels.push_back({r, QStringToCp1251(bar->currentMessage()), taLeftJustify, TRect{r.Left + 2, 0, r.Right - 4, h - 1}});
    }
    for (const QWidget* part : parts) {
        // The bar lays a widget out as wide as its own text needs and leaves
        // room around it for the item's frame: the panel's frame goes into
        // that room, and the text where the label itself would put it, so
        // that a panel shows its whole text whenever the label could.
        const QRect g = part->geometry();
        const QRect frame = g.adjusted(-2, -1, 2, 1).intersected(bar->rect());
        TacStatusPanel p{RectOf(frame), {}, taLeftJustify, TRect{g.left(), 0, g.left() + g.width(), h - 1}};
        if (const auto* label = qobject_cast<const QLabel*>(part); ShowsPlainText(label)) {
            p.Text = QStringToCp1251(label->text());
            p.Alignment = AlignmentOf(label);
            const int m = label->margin();
            const QRect content = label->contentsRect().adjusted(m, m, -m, -m).translated(g.topLeft());
            p.TextR.Left = content.left();
            p.TextR.Right = content.left() + content.width();
        }
        panels.push_back(p);
    }
    // A bar without widgets is one part over its whole width.
    if (panels.empty())
        panels.push_back({TRect{0, 0, w, h}, {}, taLeftJustify, TRect{2, 0, w - 4, h - 1}});
    return panels;
}

TacStatusBarWnd::TacStatusBarWnd(QWidget* wnd, bool scrollBars, const std::string& section, TsSkinManager* manager,
                                 TsCommonData* skinData)
    : TacMainWnd(wnd, scrollBars, section.empty() ? "STATUSBAR" : section, manager, skinData)
{
    StatusBar = qobject_cast<QStatusBar*>(wnd);
    SkinData()->UpdateIndexes();
    // The adapter paints the labels' texts; their own painting is held back.
    labels_ = new TacHeldChildren(this, [this](QWidget* child, QEvent* event) {
        return event->type() == QEvent::Paint && SkinnedNow() && ShowsPlainText(qobject_cast<QLabel*>(child));
    });
}

TacStatusBarWnd::~TacStatusBarWnd()
{
    RestoreColors();
}

void TacStatusBarWnd::RestoreColors() { labels_->ReleaseAll(); }

void TacStatusBarWnd::BlockLabelPainting()
{
    if (!StatusBar)
        return;
    for (QLabel* label : StatusBar->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        labels_->Hold(label);
}

void TacStatusBarWnd::PaintDivider(TBitmap& cache, const TRect& panel)
{
    TsSkinManager* m = SkinData()->GetSkinManager();
    const TacSkinContent* skin = m->Content();
    const int section = m->GetSkinIndex("DIVIDER");
    if (!skin || section < 0)
        return;
    const int maskIndex = skin->GetMaskIndex(section, "DIVIDER", "BORDERSMASK");
    const TsMaskData* mask = m->Mask(maskIndex);
    if (!mask)
        return;
    int frameWidth = 0, frameHeight = 0;
    skin->GetMaskFrameSize(maskIndex, frameWidth, frameHeight);
    const int w = frameWidth - 1, h = cache.Height() - 2;
    if (w < 1 || h < 1)
        return;
    // Painted over a copy, so that its see-through parts keep the bar.
    TBitmap piece;
    piece.SetPixelFormat(pf24bit);
    piece.SetSize(w, h);
    CopyBitmapRect(piece, 0, 0, w, h, cache, panel.Right, 1);
    DrawSkinMask(piece, TRect{0, 0, w, h}, true, *mask, 0, true, MakeCacheInfo(&cache, panel.Right, 1));
    CopyBitmapRect(cache, panel.Right, 1, w, h, piece, 0, 0);
}

void TacStatusBarWnd::PaintPanels(TBitmap& cache)
{
    TsSkinManager* m = SkinData()->GetSkinManager();
    const TacSkinContent* skin = m->Content();
    const int index = SkinData()->SkinIndex;
    const int panelMask = skin ? skin->GetMaskIndex(index, SkinData()->SkinSection(), "STATUSPANELMASK") : -1;
    const TsGeneralData& section = m->Section(index);
    bool simple = false;
    const std::vector<TacStatusPanel> panels = StatusBarPanels(StatusBar, simple);
    const QFont font = WndHandle()->font();
    for (size_t i = 0; i < panels.size(); ++i) {
        TRect r = panels[i].R;
        if (const TsMaskData* mask = m->Mask(panelMask)) {
            const TRect area = simple && panels.size() == 1 ? TRect{0, 0, cache.Width(), cache.Height()} : r;
            DrawSkinMask(cache, area, false, *mask, 0, true, MakeCacheInfo(&cache));
        } else if (i + 1 < panels.size())
            PaintDivider(cache, r);
        // Centred on the bar's height: a skin's panel frame may leave less
        // than a line of the font inside it.
        const TRect& text = panels[i].TextR;
        const std::string shown = CutTextToWidth([&font](const std::string& s) { return CanvasTextWidth(font, s); },
                                                 panels[i].Text, text.Width());
        const unsigned align = panels[i].Alignment == taCenter       ? DT_CENTER
                               : panels[i].Alignment == taRightJustify ? DT_RIGHT
                                                                       : DT_LEFT;
        // Messages and file names: an "&" is text.
        DrawTextOnBitmap(cache, shown, text, align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, font, section.FontColor);
    }
}

void TacStatusBarWnd::RebuildCache()
{
    TsCommonData& sd = *SkinData();
    QWidget* bar = WndHandle();
    sd.InitCacheBmp();
    TBitmap& cache = *sd.CacheBmp;
    TBackgroundInfo parent;
    parent.R = RectOf(bar->geometry());
    GetControlBackground(parent, bar->parentWidget(), false);
    TCacheInfo under = BackgroundToCacheInfo(parent);
    under.X += bar->x();
    under.Y += bar->y();
    PaintControlItem(sd, under, true, 0, TRect{0, 0, cache.Width(), cache.Height()}, TPoint{0, 0}, cache);
    if (StatusBar)
        PaintPanels(cache);
    sd.BGChanged = false;
}

bool TacStatusBarWnd::WndProc(QEvent* event)
{
    if (!SkinnedNow())
        return TacMainWnd::WndProc(event);
    switch (event->type()) {
    case QEvent::Paint: {
        // Everything on the bar comes from the cache, built anew.
        BlockLabelPainting();
        RebuildCache();
        QPainter painter(WndHandle());
        painter.drawImage(0, 0, BitmapToImage(*SkinData()->CacheBmp));
        return true;
    }
    case QEvent::Resize: {
        const bool handled = TacMainWnd::WndProc(event);
        WndHandle()->update();
        return handled;
    }
    default: return TacMainWnd::WndProc(event);
    }
}
