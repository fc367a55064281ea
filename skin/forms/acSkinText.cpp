#include "skin/forms/acSkinText.h"

#include "platform/Cp1251.h"
#include "skin/sCommonDataTypes.h"
#include "skin/sSkinManagerIntf.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

namespace {

Qt::Alignment Alignment(unsigned flags)
{
    Qt::Alignment a = (flags & DT_CENTER) ? Qt::AlignHCenter : (flags & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
    if (flags & DT_SINGLELINE)
        a |= (flags & DT_VCENTER) ? Qt::AlignVCenter : (flags & DT_BOTTOM) ? Qt::AlignBottom : Qt::AlignTop;
    else
        a |= Qt::AlignTop;
    return a;
}

} // namespace

void DrawTextOnBitmap(TBitmap& bmp, const std::string& text, const TRect& r, unsigned flags, const QFont& font,
                      TColor color)
{
    const TPixelFormat format = bmp.PixelFormat();
    if (bmp.Empty() || text.empty() || (format != pf24bit && format != pf32bit))
        return;
    // The image shares the bitmap's rows: what the painter draws is in the
    // bitmap when it ends.
    QImage image(bmp.ScanLine(0), bmp.Width(), bmp.Height(), qsizetype(bmp.BytesPerScanline()),
                 format == pf24bit ? QImage::Format_BGR888 : QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(QColor(GetRValue(color), GetGValue(color), GetBValue(color)));
    const QRect rect(r.Left, r.Top, r.Width(), r.Height());
    if (!(flags & DT_NOCLIP))
        painter.setClipRect(rect);
    const int mnemonics = (flags & DT_NOPREFIX) ? 0 : int(Qt::TextShowMnemonic);
    QString s = Cp1251ToQString(text);
    // Measured without the marks; the marks stay in the text for drawing.
    if (flags & DT_END_ELLIPSIS)
        s = QFontMetrics(font).elidedText(s, Qt::ElideRight, rect.width(), mnemonics);
    int qtFlags = int(Alignment(flags));
    if (!(flags & DT_NOPREFIX))
        qtFlags |= Qt::TextHideMnemonic;
    if ((flags & DT_WORDBREAK) && !(flags & DT_SINGLELINE))
        qtFlags |= Qt::TextWordWrap;
    painter.drawText(rect, qtFlags, s);
}

int CanvasTextWidth(const QFont& font, const std::string& text)
{
    return QFontMetrics(font).horizontalAdvance(Cp1251ToQString(text));
}

void DrawSectionText(TBitmap& bmp, const std::string& text, bool enabled, const TsSkinManager* manager, bool hot,
                     int index, unsigned flags, const TRect& r, const QFont& font)
{
    if (!manager)
        manager = DefaultSkinManager;
    const TacSkinContent* skin = manager ? manager->Content() : nullptr;
    if (!skin || !skin->IsValidSkinIndex(index))
        return;
    const TsGeneralData& s = skin->gd[size_t(index)];
    if (!enabled) {
        DrawTextOnBitmap(bmp, text, r, flags, font, MixColors(s.FontColor, s.Color, 0.4));
        return;
    }
    const int contours[4] = {hot ? s.HotTCLeft : s.TCLeft, hot ? s.HotTCTop : s.TCTop,
                             hot ? s.HotTCRight : s.TCRight, hot ? s.HotTCBottom : s.TCBottom};
    const TPoint shifts[4] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};
    for (int i = 0; i < 4; ++i)
        if (contours[i] != -1)
            DrawTextOnBitmap(bmp, text,
                             {r.Left + shifts[i].X, r.Top + shifts[i].Y, r.Right + shifts[i].X, r.Bottom + shifts[i].Y},
                             flags, font, contours[i]);
    DrawTextOnBitmap(bmp, text, r, flags, font, hot ? s.HotFontColor : s.FontColor);
}
