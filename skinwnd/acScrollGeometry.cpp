#include "skinwnd/acScrollGeometry.h"

#include <algorithm>

int ScrollSpan(const TScrollInfo& info)
{
    // nMax counts the last page in; the positions end one page before it.
    const long long span = static_cast<long long>(info.nMax) - info.nMin + 1 - std::max(info.nPage, 1);
    return span > 0 ? static_cast<int>(std::min<long long>(span, 0x7FFFFFFF)) : 0;
}

int FittedArrowLength(int barLength, int arrowLength)
{
    return 2 * arrowLength < barLength ? arrowLength : barLength / 2;
}

TThumbGeometry GetThumbGeometry(const TScrollInfo& info, int barLength, int arrowLength, int minThumbSize)
{
    const int track = barLength - 2 * arrowLength;
    if (track <= 0)
        return {};
    const long long count = static_cast<long long>(info.nMax) - info.nMin + 1;
    int length = 0;
    if (info.nPage == 0)
        length = arrowLength;
    else if (count > 0)
        length = std::max(static_cast<int>(std::min<long long>(
                              (static_cast<long long>(info.nPage) * track * 2 + count) / (2 * count), track)),
                          minThumbSize);
    if (length <= 0 || length > track)
        return {};
    // A range that cannot scroll keeps the thumb at the start.
    const int span = ScrollSpan(info);
    int offset = 0;
    if (span > 0) {
        const long long moved = std::clamp(static_cast<long long>(info.nPos) - info.nMin, 0LL,
                                           static_cast<long long>(span));
        offset = static_cast<int>((moved * (track - length) * 2 + span) / (2LL * span));
    }
    return {arrowLength + std::clamp(offset, 0, track - length), length};
}

int HitTestBarPart(int along, bool across, int barLength, int arrowLength, const TThumbGeometry& thumb)
{
    if (!across || along < 0 || along >= barLength)
        return sbpNone;
    const int a = FittedArrowLength(barLength, arrowLength);
    if (along < a)
        return sbpFirstArrow;
    if (along >= barLength - a)
        return sbpSecondArrow;
    // A thumb that fills the track leaves nothing to press between.
    if (thumb.Length <= 0 || thumb.Length >= barLength - 2 * arrowLength)
        return sbpNone;
    if (along < thumb.Start)
        return sbpPageBefore;
    if (along < thumb.Start + thumb.Length)
        return sbpThumb;
    return sbpPageAfter;
}

int ThumbDragPosition(const TScrollInfo& info, int thumbStart, int barLength, int arrowLength, int thumbLength)
{
    const int room = barLength - 2 * arrowLength - thumbLength;
    const int span = ScrollSpan(info);
    if (room <= 0 || span <= 0)
        return info.nMin;
    const long long offset = std::clamp(thumbStart - arrowLength, 0, room);
    return info.nMin + static_cast<int>((offset * span * 2 + room) / (2LL * room));
}
