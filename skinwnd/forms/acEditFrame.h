#pragma once
// The look of an edit-like window's frame: the skin section painted over the
// whole window into the adapter's cache (its see-through corners take what
// lies under the window), of which the ring outside the client area is laid
// over what the widget painted itself.
#include "platform/Bitmap.h"

#include <QImage>
#include <QRect>

class QPainter;
class QWidget;
class TsCommonData;

// The section item of the skin data, in a state, over the window's whole
// rectangle into the skin data's cache; the cache is sized to the window.
// Nothing (false) without a skin or for an empty window.
bool PaintEditCache(TsCommonData& skinData, QWidget* window, int state);
// A view of the cache's pixels for painting (valid while the cache lives).
QImage CacheImage(TBitmap& cache);
// The frame ring: the cache outside client.
void DrawFrameRing(QPainter& painter, TBitmap& cache, const QRect& client);
