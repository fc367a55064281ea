#include "skinwnd/forms/acTabContent.h"

#include "platform/Cp1251.h"
#include "platform/forms/BitmapImage.h"
#include "skin/forms/acSkinText.h"
#include "skin/forms/sCommonData.h"
#include "skin/sSkinManagerIntf.h"

#include <QFontMetrics>
#include <QPainter>

QFont RotatedTabFont(const QFont& font)
{
    QFont f = font;
    f.setWeight(QFont::Normal);
    if (f.family() == QLatin1String("MS Sans Serif"))
        f.setFamily(QStringLiteral("Arial"));
    return f;
}

namespace {

bool HasIcon(const TacTabContent& c) { return !c.Icon.isNull() && c.IconSize.isValid() && !c.IconSize.isEmpty(); }

void DrawIcon(QPainter& p, const TacTabContent& c, int x, int y)
{
    p.drawPixmap(x, y, c.Icon.pixmap(c.IconSize));
}

TColor TextColor(const TacTabContent& c, bool hot)
{
    if (!c.Manager || !c.Manager->IsValidSkinIndex(c.Section))
        return c.PlainColor;
    const TsGeneralData& s = c.Manager->Section(c.Section);
    return hot ? s.HotFontColor : s.FontColor;
}

void DrawAcross(TBitmap& target, TRect r, const TacTabContent& c)
{
    if (HasIcon(c)) {
        const int textWidth = CanvasTextWidth(c.Font, c.Text);
        const int w = c.IconSize.width(), h = c.IconSize.height();
        QImage view = BitmapCanvas(target);
        QPainter p(&view);
        DrawIcon(p, c, r.Left + (r.Width() - (textWidth + w + 8)) / 2, r.Top + (r.Height() - h) / 2);
        r.Left += w;
    }
    // The caption comes without its mnemonic marks.
    const unsigned flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
    if (c.Manager && c.Manager->IsValidSkinIndex(c.Section))
        DrawSectionText(target, c.Text, true, c.Manager, c.State != 0, c.Section, flags, r, c.Font);
    else
        DrawTextOnBitmap(target, c.Text, r, flags, c.Font, c.PlainColor);
}

// Icon and caption centred along the tab as one block, the icon at the
// end the caption starts from.
void DrawAlong(TBitmap& target, TRect r, const TacTabContent& c)
{
    const bool left = c.Position == tpLeft;
    if (!left) {
        r.Left -= 2, r.Right -= 2;
        r.Top -= 1, r.Bottom -= 1;
    }
    const QFont font = RotatedTabFont(c.Font);
    const QString text = Cp1251ToQString(c.Text);
    const QFontMetrics metrics(font);
    const int textLength = metrics.horizontalAdvance(text);
    const int iconLength = HasIcon(c) ? c.IconSize.height() + 4 : 0;
    const int block = textLength + iconLength;
    const int across = r.Left + r.Width() / 2 + (c.Selected ? 2 : 0);
    QImage view = BitmapCanvas(target);
    QPainter p(&view);
    p.setClipRect(QRect(r.Left, r.Top, r.Width(), r.Height()));
    int start;
    if (left) {
        const int end = r.Top + (r.Height() + block) / 2;
        if (HasIcon(c))
            DrawIcon(p, c, across - c.IconSize.width() / 2, end - c.IconSize.height());
        start = end - iconLength;
    } else {
        const int begin = r.Top + (r.Height() - block) / 2;
        if (HasIcon(c))
            DrawIcon(p, c, across - c.IconSize.width() / 2, begin);
        start = begin + iconLength;
    }
    const TColor color = TextColor(c, c.State == 1);
    p.setPen(QColorFromColor(color));
    p.setFont(font);
    p.translate(across, start);
    p.rotate(left ? -90 : 90);
    p.drawText(QRect(0, -metrics.height() / 2, textLength, metrics.height()), Qt::AlignLeft | Qt::AlignVCenter, text);
}

} // namespace

void DrawTabContent(TBitmap& target, const TRect& r, const TacTabContent& c)
{
    if (r.Width() <= 0 || r.Height() <= 0 || BitmapCanvas(target).isNull())
        return;
    if (c.Position == tpLeft || c.Position == tpRight)
        DrawAlong(target, r, c);
    else
        DrawAcross(target, r, c);
}
