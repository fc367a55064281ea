// The frame cache of a skinned form: the form section over the whole form,
// the title section over the caption with the icon, the text and the title
// buttons, and the menu line behind the form's menu bar.
#include "skinwnd/forms/sSkinProvider.h"

#include "platform/Cp1251.h"
#include "platform/forms/BitmapImage.h"
#include "skin/acBitmapHelpers.h"
#include "skin/acMaskPaint.h"
#include "skin/acSectionPaint.h"
#include "skin/forms/acSkinText.h"
#include "skin/sHelpers.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QIcon>
#include <QMenuBar>
#include <QPainter>
#include <QStyle>
#include <QWidget>

namespace {

// A painter's view of a 24-bit bitmap's own rows.
QImage RowsOf(TBitmap& bmp)
{
    return QImage(bmp.ScanLine(0), bmp.Width(), bmp.Height(), qsizetype(bmp.BytesPerScanline()),
                  QImage::Format_BGR888);
}

void DrawImageAt(TBitmap& bmp, const QRect& r, const QImage& image)
{
    if (bmp.Empty() || image.isNull())
        return;
    QImage rows = RowsOf(bmp);
    QPainter painter(&rows);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(r, image);
}

// A glyph of the user's: 32 bits through its alpha, any other format with
// its bottom-left pixel as the see-through colour.
QImage GlyphImage(const TBitmap& glyph)
{
    if (glyph.PixelFormat() == pf32bit)
        return BitmapToImage(glyph);
    TBitmap copy(glyph);
    copy.SetPixelFormat(pf24bit);
    copy.SetTransparentColor(copy.Pixel(0, copy.Height() - 1));
    copy.SetTransparent(true);
    return BitmapToImage(copy);
}

} // namespace

int TsSkinProvider::TitleSectionIndex() const
{
    return titleSectionIndex_;
}

void TsSkinProvider::PaintFormCache()
{
    if (!form_ || !frameActive_)
        return;
    auto& cache = skinData_->CacheBmp;
    if (!cache)
        cache = std::make_unique<TBitmap>();
    cache->SetPixelFormat(pf24bit);
    cache->SetSize(form_->width(), form_->height());
    if (cache->Empty())
        return;
    PaintFrameBackground(*cache);
    PaintGrip(*cache);
    PaintMenuLine(*cache);
    if (HasCaption(Traits())) {
        PaintTitleBar(*cache);
        PaintCaptionText(*cache);
        PaintTitleButtons(*cache);
    }
    cacheStale_ = false;
}

void TsSkinProvider::PaintFrameBackground(TBitmap& bmp)
{
    TsCommonData& sd = *skinData_;
    const TRect all{0, 0, bmp.Width(), bmp.Height()};
    if (sd.CustomColor() || !sd.Skinned()) {
        bmp.FillRect(all, ColorFromQColor(form_->palette().color(QPalette::Window)));
        return;
    }
    PaintSectionItem(sd.SkinIndex, sd.SkinSection(), EmptyCacheInfo, true, formActive_ ? 0 : 1, all, {0, 0}, &bmp,
                     SkinManager(), sd.Texture, sd.HotTexture);
}

void TsSkinProvider::PaintTitleBar(TBitmap& bmp)
{
    const TacSkinContent* skin = Content();
    const int title = TitleSectionIndex();
    if (!skin || !skin->IsValidSkinIndex(title))
        return;
    const int height = Traits().WindowState == wsMinimized ? bmp.Height() : FormBorderWidth() + CaptionHeight();
    PaintSectionItem(title, skin->gd[size_t(title)].Name, MakeCacheInfo(&bmp), true, formActive_ ? 0 : 1,
                     {0, 0, bmp.Width(), std::min(height, bmp.Height())}, {0, 0}, &bmp, SkinManager(), -1, -1);
    PaintTitleIcon(bmp);
    // The form section's picture behind the caption buttons.
    if (SysButtonCount(Traits()) == 0 || !skin->IsValidImageIndex(titleBarMaskIndex_))
        return;
    const TsMaskData& bar = skin->ma[size_t(titleBarMaskIndex_)];
    const TRect r{bmp.Width() - MaskFrameWidth(bar), 0, bmp.Width(), FormBorderWidth() + CaptionHeight()};
    DrawSkinMask(bmp, r, true, bar, formActive_ ? 0 : 1, true, MakeCacheInfo(&bmp));
}

void TsSkinProvider::PaintTitleIcon(TBitmap& bmp)
{
    const TRect r = CaptionIconRect();
    if (r.Width() <= 0 || r.Height() <= 0)
        return;
    const QRect target(r.Left, r.Top, r.Width(), r.Height());
    if (!TitleIcon.Glyph.Empty()) {
        DrawImageAt(bmp, target, GlyphImage(TitleIcon.Glyph));
        return;
    }
    QIcon icon = form_->windowIcon();
    if (icon.isNull())
        icon = QApplication::style()->standardIcon(QStyle::SP_TitleBarMenuButton);
    DrawImageAt(bmp, target, icon.pixmap(target.size()).toImage());
}

QFont TsSkinProvider::CaptionFont() const
{
    // Every property set, so that a painter does not take the size and
    // family it lacks from the application's font.
    const QFont title = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    QFont font(title.families(), title.pointSize() > 0 ? title.pointSize() : -1, title.weight(), title.italic());
    if (title.pointSize() <= 0)
        font.setPixelSize(title.pixelSize());
    return font;
}

void TsSkinProvider::PaintCaptionText(TBitmap& bmp)
{
    const TacSkinContent* skin = Content();
    const int title = TitleSectionIndex();
    if (!skin || !drawNonClientArea_)
        return;
    const int b = FormBorderWidth();
    TRect r;
    r.Left = b + TitleIconWidth() + skin->SkinData.IconLeft + (captionSectionIndex_ >= 0 ? 2 : 0) + 4;
    r.Right = bmp.Width() - TitleButtonsWidth() - 6;
    r.Top = (Traits().WindowState == wsMaximized ? b / 2 + 1 : 2) + CaptionShift(false);
    r.Bottom = b + CaptionHeight() + CaptionShift(false);
    if (r.Right <= r.Left)
        return;
    const QFont font = CaptionFont();
    static const unsigned align[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    const unsigned flags = align[captionAlignment_] | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
    const std::string text = QStringToCp1251(form_->windowTitle());
    if (!skin->IsValidSkinIndex(captionSectionIndex_)) {
        DrawSectionText(bmp, text, true, SkinManager(), !formActive_, title, flags, r, font);
        if (captionAlignment_ == taLeftJustify)
            PaintAddedTitle(bmp, std::min(r.Left + CanvasTextWidth(font, text), r.Right), r.Right);
        return;
    }
    // The text lies on a plate of its own, placed as the text is aligned.
    const int w = std::min(CanvasTextWidth(font, text), r.Width());
    const int h = QFontMetrics(font).height();
    TRect box{r.Left, r.Top + (r.Height() - h) / 2, r.Left + w, 0};
    if (captionAlignment_ == taRightJustify)
        box.Left = r.Right - w;
    else if (captionAlignment_ == taCenter)
        box.Left = r.Left + (r.Width() - w) / 2;
    box.Right = box.Left + w;
    box.Bottom = box.Top + h;
    const TRect plate{box.Left - 4, box.Top - 2, box.Right + 4, box.Bottom + 2};
    PaintSectionItem(captionSectionIndex_, skin->gd[size_t(captionSectionIndex_)].Name, MakeCacheInfo(&bmp), true,
                     formActive_ ? 0 : 1, plate, {0, 0}, &bmp, SkinManager(), -1, -1);
    // Laid out in the whole text rectangle, the text lands on its plate and
    // is cut short only where the caption is too narrow for it.
    DrawSectionText(bmp, text, true, SkinManager(), !formActive_, captionSectionIndex_, flags, r, font);
    PaintAddedTitle(bmp, plate.Right, r.Right);
}

// The client's background lies in the cache already: the grip is drawn
// over it where it is.
void TsSkinProvider::PaintGrip(TBitmap& bmp)
{
    if (!GripVisible())
        return;
    const TPoint at = GripPosition();
    DrawSkinGlyph(bmp, at, 0, MakeCacheInfo(&bmp), *GripMask(), 1);
}

// The button's place: right-aligned at right, centred in the caption; the
// left edge comes back.
int TsSkinProvider::PlaceButton(TitleButtonData& button, int maskIndex, int right)
{
    const TacSkinContent* skin = Content();
    button.ImageIndex = maskIndex;
    const int w = TitleButtonWidth(button), h = TitleButtonHeight();
    int top = (FormBorderWidth() + CaptionHeight() - h) / 2;
    if (skin && skin->SkinData.IconVAlign == 1 && button.BigIcon)
        top = 0;
    else if (BigTitleIcons(Traits()) && h < 16)
        top += 2;
    top += CaptionShift(true);
    button.Rect = {right - w, top, right, top + h};
    return button.Rect.Left;
}

void TsSkinProvider::PaintTitleButton(TBitmap& bmp, TitleButtonData& button, bool enabled)
{
    const TacSkinContent* skin = Content();
    if (!skin || !skin->IsValidImageIndex(button.ImageIndex) || ComposeAnimation(bmp, button, enabled))
        return;
    const bool inactive = (!formActive_ || !enabled) && button.State == 0;
    DrawTitleGlyph(bmp, {button.Rect.Left, button.Rect.Top}, enabled ? button.State : 0,
                   skin->ma[size_t(button.ImageIndex)], inactive);
}

void TsSkinProvider::PaintTitleButtons(TBitmap& bmp)
{
    const TacSkinContent* skin = Content();
    if (!skin)
        return;
    const TacFormTraits t = Traits();
    const int space = BigTitleIcons(t) ? skin->SkinData.IconSpace : 0;
    int x = bmp.Width() - skin->SkinData.IconRight - FormBorderWidth();
    close_.Rect = max_.Rect = min_.Rect = help_.Rect = {0, 0, 0, 0};
    if (VisibleClose(t)) {
        x = PlaceButton(close_, close_.ImageIndex, x) - space;
        PaintTitleButton(bmp, close_, true);
        const int restore = TitleMaskIndex("BICONNORM");
        if (VisibleMax(t)) {
            const bool zoomed = t.WindowState == wsMaximized;
            x = PlaceButton(max_, zoomed ? restore : TitleMaskIndex(BigTitleIcons(t) ? "BICONMAX" : "SICONMAX"), x)
                - space;
            if (max_.ImageIndex < 0)
                max_.ImageIndex = TitleMaskIndex("BICONMAX");
            PaintTitleButton(bmp, max_, zoomed ? EnabledRestore(t) : EnabledMax(t));
        }
        if (VisibleMin(t)) {
            const bool iconic = t.WindowState == wsMinimized;
            const int own = TitleMaskIndex(BigTitleIcons(t) ? "BICONMIN" : "SICONMIN");
            x = PlaceButton(min_, iconic ? restore : own >= 0 ? own : TitleMaskIndex("BICONMIN"), x) - space;
            PaintTitleButton(bmp, min_, iconic ? EnabledRestore(t) : EnabledMin(t));
        }
        if (t.BorderIcons & biHelp) {
            x = PlaceButton(help_, help_.ImageIndex, x) - space;
            PaintTitleButton(bmp, help_, true);
        }
    }
    PaintUserButtons(bmp, x - 8);
}

// The form's own buttons, right to left from x.
void TsSkinProvider::PaintUserButtons(TBitmap& bmp, int x)
{
    const TacSkinContent* skin = Content();
    const int space = BigTitleIcons(Traits()) ? skin->SkinData.IconSpace : 0;
    const int userMask = TitleMaskIndex("TITLEBUTTON");
    for (size_t i = 0; i < TitleButtons.size(); ++i) {
        TsTitleButton& b = TitleButtons[i];
        b.Data.Rect = {0, 0, 0, 0};
        b.Data.HitCode = HTUSERBUTTON + int(i);
        if (!b.Visible)
            continue;
        int maskWidth = 21;
        if (skin->IsValidImageIndex(userMask))
            maskWidth = MaskFrameWidth(skin->ma[size_t(userMask)]);
        const int w = std::max(b.Glyph.Empty() ? 0 : b.Glyph.Width() + 2, maskWidth);
        b.Data.ImageIndex = b.UseSkinData ? userMask : -1;
        x = PlaceButton(b.Data, b.Data.ImageIndex, x);
        b.Data.Rect.Left = b.Data.Rect.Right - w;
        x = b.Data.Rect.Left - space;
        PaintTitleButton(bmp, b.Data, b.Enabled);
        if (!b.Glyph.Empty()) {
            const TRect& r = b.Data.Rect;
            const QRect glyph((r.Left + r.Right - b.Glyph.Width()) / 2, (r.Top + r.Bottom - b.Glyph.Height()) / 2,
                              b.Glyph.Width(), b.Glyph.Height());
            DrawImageAt(bmp, glyph, GlyphImage(b.Glyph));
        }
    }
}

// The menu line lies where the form's layout put the menu bar; the bar
// shows it as its background.
void TsSkinProvider::PaintMenuLine(TBitmap& bmp)
{
    QMenuBar* bar = MenuBar();
    const TacSkinContent* skin = Content();
    if (!bar || !skin || bar->isHidden() || bar->height() <= 0)
        return;
    int index = menuLineSkin_.empty() ? -1 : skin->GetSkinIndex(AnsiUpperCase(menuLineSkin_));
    if (index < 0)
        index = skin->GetSkinIndex("MENULINE");
    if (index < 0)
        return;
    const QRect g = bar->geometry();
    const TRect r{g.left(), g.top(), g.right() + 1, g.bottom() + 1};
    PaintSectionItem(index, skin->gd[size_t(index)].Name, MakeCacheInfo(&bmp), true, 0, r, {0, 0}, &bmp,
                     SkinManager(), -1, -1);
    if (!menuPaletteSaved_ || bar != menuBar_)
        return;
    // A new palette makes the bar and the form lay out and paint again:
    // only a changed menu line is handed over.
    QImage strip = RowsOf(bmp).copy(g);
    if (strip == menuStrip_)
        return;
    menuStrip_ = strip;
    QPalette p = bar->palette();
    p.setBrush(QPalette::Window, QBrush(QPixmap::fromImage(strip)));
    const QColor text = QColorFromColor(skin->gd[size_t(index)].FontColor);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::ButtonText, text);
    bar->setPalette(p);
}

void TsSkinProvider::PaintFrame(QWidget* target)
{
    if (!skinData_->CacheBmp || skinData_->CacheBmp->Empty())
        return;
    QPainter painter(target);
    painter.drawImage(0, 0, RowsOf(*skinData_->CacheBmp));
}
