#include "skinwnd/forms/acSBUtilsPaint.h"

#include "platform/Cp1251.h"
#include "platform/forms/BitmapImage.h"
#include "skin/acBitmapHelpers.h"
#include "skin/acBlit.h"
#include "skin/acCanvas.h"
#include "skin/acFastPixels.h"
#include "skin/acSectionPaint.h"
#include "skin/forms/acControlPaint.h"
#include "skin/forms/acSkinText.h"
#include "skin/forms/sCommonData.h"

#include <QFontMetrics>
#include <QPainter>
#include <QVariant>
#include <QWidget>

TacWndGeometry UpdateWndGeometry(const QWidget* wnd)
{
    TacWndGeometry g;
    if (!wnd)
        return g;
    const QPoint origin = wnd->mapToGlobal(QPoint(0, 0));
    g.Width = wnd->width();
    g.Height = wnd->height();
    g.WindowRect = {origin.x(), origin.y(), origin.x() + g.Width, origin.y() + g.Height};
    g.ParentWnd = wnd->parentWidget();
    g.PosInParent = {wnd->x(), wnd->y()};
    if (g.ParentWnd) {
        const QPoint p = g.ParentWnd->mapToGlobal(QPoint(0, 0));
        g.ParentRect = {p.x(), p.y(), p.x() + g.ParentWnd->width(), p.y() + g.ParentWnd->height()};
    }
    return g;
}

TacWndGeometry SizeCacheToWindow(TsCommonData& sd, const QWidget* wnd)
{
    const TacWndGeometry g = UpdateWndGeometry(wnd);
    sd.PrepareCacheBmp();
    sd.CacheBmp->SetSize(g.Width, g.Height);
    return g;
}

bool AdapterSkinned(const TsCommonData* sd)
{
    TsSkinManager* m = sd ? sd->GetSkinManager() : nullptr;
    return m && m->Active() && m->Content() && m->IsValidSkinIndex(sd->SkinIndex);
}

void PrepareAdapterCache(TsCommonData* sd, QWidget* wnd, bool useBorderColour)
{
    if (!sd || !sd->BGChanged || !wnd)
        return;
    const TCacheInfo parent = GetParentCacheOfWindow(wnd);
    sd->PrepareCacheBmp();
    TBitmap& cache = *sd->CacheBmp;
    cache.SetSize(wnd->width(), wnd->height());
    TsSkinManager* m = sd->GetSkinManager();
    const TacSkinContent* skin = m ? m->Content() : nullptr;
    const TColor border = skin ? skin->SkinData.BorderColor : clFuchsia;
    if (useBorderColour && skin && border != clFuchsia) {
        cache.FillRect({0, 0, cache.Width(), cache.Height()}, clWindow());
        FillSolidBorder(cache, {0, 0, cache.Width(), cache.Height()}, 1, 1, 1, 1, border);
    } else if (wnd->parentWidget() && AdapterSkinned(sd)) {
        const int state = (sd->Focused || sd->MouseAbove) && wnd->isEnabled() ? 1 : 0;
        PaintControlItem(*sd, parent, !useBorderColour, state, {0, 0, cache.Width(), cache.Height()}, {0, 0},
                         cache);
    }
    if (!wnd->isEnabled())
        ApplyWndDisabledLook(cache, parent);
    sd->BGChanged = false;
}

void ApplyWndDisabledLook(TBitmap& cache, const TCacheInfo& parent, const TPoint& offset)
{
    if (cache.Empty())
        return;
    if (parent.Ready && parent.Bmp && !parent.Bmp->Empty()) {
        const int x = parent.X + offset.X, y = parent.Y + offset.Y;
        BlendBitmap(cache, 0, 0, 0xFFFFFFFF, 0.4, {x, y, x + cache.Width() - 1, y + cache.Height() - 1},
                    *parent.Bmp);
        return;
    }
    const TColor color = parent.FillColor == clFuchsia ? clBtnFace() : parent.FillColor;
    TintBitmap(cache, color, 0xFFFFFFFF, 0.4);
}

void WriteControlText(TBitmap& bmp, const std::string& text, bool enabled, const TRect& r, unsigned flags,
                      TsCommonData* sd, QWidget* wnd, bool hot, const QFont& font)
{
    TsSkinManager* m = sd ? sd->GetSkinManager() : nullptr;
    if (!m)
        return;
    const int index = GetFontIndex(wnd, sd->SkinIndex, m);
    QFont f = font;
    // A web button shows it is a link while the mouse is over it.
    if (hot && sd->SkinSection() == "WEBBUTTON")
        f.setUnderline(true);
    DrawSectionText(bmp, text, enabled, m, hot, index, flags, r, f);
}

TPoint MeasureText(const QFont& font, const std::string& text, int width, unsigned flags)
{
    if (text.empty())
        return {0, QFontMetrics(font).height()};
    const QFontMetrics fm(font);
    const QString s = Cp1251ToQString(text);
    int qtFlags = Qt::AlignLeft | Qt::AlignTop;
    // As drawn: a mnemonic mark takes no room.
    if (!(flags & DT_NOPREFIX))
        qtFlags |= Qt::TextShowMnemonic;
    if ((flags & DT_WORDBREAK) && !(flags & DT_SINGLELINE) && width > 0)
        qtFlags |= Qt::TextWordWrap;
    const QRect r = fm.boundingRect(QRect(0, 0, width > 0 ? width : 0x7FFF, 0x7FFF), qtFlags, s);
    return {r.width(), r.height()};
}

void CopyCacheToWindow(QWidget* wnd, const TBitmap& cache, int x, int y)
{
    if (!wnd || cache.Empty())
        return;
    QPainter painter(wnd);
    painter.drawImage(x, y, BitmapToImage(cache));
}

void PaintWndFromCache(QWidget* wnd, TsCommonData& skinData, const std::function<void()>& prepareCache)
{
    if (!wnd)
        return;
    const TBitmap* cache = skinData.CacheBmp.get();
    if (!cache || skinData.BGChanged || cache->Width() != wnd->width() || cache->Height() != wnd->height())
        prepareCache();
    if (skinData.CacheBmp)
        CopyCacheToWindow(wnd, *skinData.CacheBmp);
}

const TsMaskData* SectionMask(const TsSkinManager* m, const std::string& section, const std::string& key)
{
    const TacSkinContent* skin = m ? m->Content() : nullptr;
    if (!skin)
        return nullptr;
    const int index = skin->GetMaskIndex(skin->GetSkinIndex(section), section, key);
    return skin->IsValidImageIndex(index) ? &skin->ma[size_t(index)] : nullptr;
}

void FillParentBackground(TBitmap& bmp, const TRect& r, const TCacheInfo& parent, const TPoint& offset)
{
    if (parent.Ready && parent.Bmp && !parent.Bmp->Empty()) {
        CopyBitmapRect(bmp, r.Left, r.Top, r.Width(), r.Height(), *parent.Bmp, parent.X + offset.X + r.Left,
                       parent.Y + offset.Y + r.Top);
        return;
    }
    bmp.FillRect(r, parent.FillColor == clFuchsia ? clBtnFace() : parent.FillColor);
}

std::string WindowCaption(const QWidget* wnd)
{
    if (!wnd)
        return {};
    // Buttons and labels have a text, group boxes a title.
    for (const char* name : {"text", "title"}) {
        const QVariant value = wnd->property(name);
        if (value.isValid())
            return QStringToCp1251(value.toString());
    }
    return QStringToCp1251(wnd->windowTitle());
}

void DrawImageOnBitmap(TBitmap& bmp, const QImage& image, TPoint at)
{
    if (image.isNull())
        return;
    TBitmap source = ImageToBitmap(image);
    DrawAlphaBitmap({at.X, at.Y, at.X + source.Width(), at.Y + source.Height()},
                    {0, 0, source.Width(), source.Height()}, bmp, false, 0, clNone, false, EmptyCacheInfo, source);
}

void DrawIconInBox(TBitmap& bmp, const QIcon& icon, QSize box, QIcon::Mode mode, TPoint at)
{
    // The icon gives its largest picture up to the box, never a larger one.
    const QImage image = icon.pixmap(box, 1.0, mode).toImage();
    DrawImageOnBitmap(bmp, image, {at.X + (box.width() - image.width()) / 2, at.Y + (box.height() - image.height()) / 2});
}
