#include "skinwnd/forms/acEditFrame.h"

#include "skin/acSectionPaint.h"
#include "skin/forms/acControlPaint.h"
#include "skin/forms/sCommonData.h"

#include <QPainter>
#include <QRegion>
#include <QWidget>

bool PaintEditCache(TsCommonData& sd, QWidget* window, int state)
{
    if (!window || window->width() < 1 || window->height() < 1 || !sd.Skinned(true))
        return false;
    if (!sd.CacheBmp)
        sd.CacheBmp = std::make_unique<TBitmap>();
    TBitmap& cache = *sd.CacheBmp;
    cache.SetPixelFormat(pf24bit);
    cache.SetSize(window->width(), window->height());
    const TBackgroundInfo parent = ParentBackgroundOf(window);
    const TCacheInfo under = BackgroundToCacheInfo(parent);
    PaintControlItem(sd, under, true, state, {0, 0, cache.Width(), cache.Height()}, {0, 0}, cache);
    return true;
}

QImage CacheImage(TBitmap& cache)
{
    if (cache.Empty())
        return {};
    return QImage(cache.ScanLine(0), cache.Width(), cache.Height(), qsizetype(cache.BytesPerScanline()),
                  cache.PixelFormat() == pf32bit ? QImage::Format_RGB32 : QImage::Format_BGR888);
}

void DrawFrameRing(QPainter& painter, TBitmap& cache, const QRect& client)
{
    const QImage image = CacheImage(cache);
    if (image.isNull())
        return;
    painter.save();
    painter.setClipRegion(QRegion(image.rect()) - QRegion(client), Qt::IntersectClip);
    painter.drawImage(0, 0, image);
    painter.restore();
}
