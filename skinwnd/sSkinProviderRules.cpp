#include "skinwnd/sSkinProviderRules.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

bool Has(const TacFormTraits& f, TBorderIcon icon) { return (f.BorderIcons & icon) != 0; }

bool FixedOrTool(TFormBorderStyle s) { return s == bsNone || s == bsDialog || s == bsToolWindow || s == bsSizeToolWin; }

bool VisibleSizeButton(const TacFormTraits& f, TBorderIcon icon)
{
    if (!VisibleClose(f))
        return false;
    if (f.WindowState == wsMinimized || f.MDIChild)
        return true;
    return !FixedOrTool(f.BorderStyle) && Has(f, icon);
}

} // namespace

bool VisibleClose(const TacFormTraits& f) { return f.SysMenuManaged; }
bool VisibleMax(const TacFormTraits& f) { return VisibleSizeButton(f, biMaximize); }
bool VisibleMin(const TacFormTraits& f) { return VisibleSizeButton(f, biMinimize); }

bool EnabledMax(const TacFormTraits& f)
{
    if (f.MDIChild)
        return Has(f, biMaximize);
    if (f.WindowState == wsMaximized || (f.BorderStyle != bsSingle && f.BorderStyle != bsSizeable))
        return false;
    return Has(f, biMaximize);
}

bool EnabledMin(const TacFormTraits& f) { return Has(f, biMinimize) && f.WindowState != wsMinimized; }

bool EnabledRestore(const TacFormTraits& f)
{
    return (Has(f, biMaximize) && f.WindowState != wsNormal) || f.WindowState == wsMinimized;
}

int SysButtonCount(const TacFormTraits& f)
{
    if (!Has(f, biSystemMenu) || !VisibleClose(f))
        return 0;
    return 1 + int(Has(f, biHelp)) + int(VisibleMax(f)) + int(VisibleMin(f));
}

bool HasCaption(const TacFormTraits& f) { return f.BorderStyle != bsNone || f.MDIChild; }

bool BigTitleIcons(const TacFormTraits& f) { return f.BorderStyle == bsSingle || f.BorderStyle == bsSizeable; }

bool Sizeable(const TacFormTraits& f) { return f.BorderStyle == bsSizeable || f.BorderStyle == bsSizeToolWin; }

bool GripVisible(TsGripMode mode, const TacFormTraits& f)
{
    return mode == gmRightBottom && f.WindowState != wsMaximized && Sizeable(f);
}

TPoint GripPosition(int frameWidth, int frameHeight, int gripWidth, int gripHeight, int rightSide, int bottomSide)
{
    return {frameWidth - gripWidth - rightSide - 1, frameHeight - gripHeight - bottomSide - 1};
}

int SysBorderWidth(const TacFormTraits& f)
{
    if (Sizeable(f))
        return SM_CXFRAME;
    return f.BorderStyle == bsNone ? 0 : SM_CXDLGFRAME;
}

int SysCaptionHeight(const TacFormTraits& f)
{
    if (!HasCaption(f) && f.WindowState != wsMinimized)
        return 0;
    return f.BorderStyle == bsToolWindow || f.BorderStyle == bsSizeToolWin ? SM_CYSMCAPTION : SM_CYCAPTION;
}

int IconSizeForCaption(int h)
{
    if (h >= -100 && h <= 8)
        return 1;
    if (h >= 9 && h <= 16)
        return 8;
    return 16;
}

bool PtInRect(const TRect& r, TPoint p)
{
    return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

namespace {

enum TSystemButton { sbNone, sbClose, sbMax, sbMin, sbHelp };

// The title button under the point, counted from the right edge: system
// buttons exist only with the close button; user buttons follow them.
TSystemButton SystemButtonAt(const TacFrameLayout& l, TPoint p, int& userIndex)
{
    std::vector<std::pair<TSystemButton, const TRect*>> places;
    const TacFormTraits& f = l.Form;
    if (VisibleClose(f)) {
        places.push_back({sbClose, &l.CloseRect});
        if (VisibleMax(f))
            places.push_back({sbMax, &l.MaxRect});
        if (VisibleMin(f) || f.WindowState == wsMinimized)
            places.push_back({sbMin, &l.MinRect});
        if (Has(f, biHelp))
            places.push_back({sbHelp, &l.HelpRect});
    }
    for (const auto& [button, rect] : places)
        if (PtInRect(*rect, p))
            return button;
    for (size_t i = 0; i < l.UserButtons.size(); ++i)
        if (PtInRect(l.UserButtons[i].Rect, p)) {
            userIndex = int(i);
            return sbNone;
        }
    return sbNone;
}

// Each button answers by what it is, whatever its place: a help button
// right of a minimise button (no maximise) must not minimise the form.
int SystemButtonCode(const TacFormTraits& f, TSystemButton button)
{
    const bool iconic = f.WindowState == wsMinimized;
    switch (button) {
    case sbClose: return HTCLOSE;
    case sbMax: return !EnabledMax(f) && (!EnabledRestore(f) || iconic) ? HTCAPTION : HTMAXBUTTON;
    case sbMin: return !iconic && !EnabledMin(f) ? HTCAPTION : HTMINBUTTON;
    case sbHelp: return HTHELP;
    default: return HTCLIENT;
    }
}

int ButtonCode(const TacFrameLayout& l, TPoint p)
{
    int userIndex = -1;
    const TSystemButton button = SystemButtonAt(l, p, userIndex);
    if (userIndex >= 0) {
        const TacUserButtonPlace& u = l.UserButtons[size_t(userIndex)];
        return u.Enabled ? HTUSERBUTTON + u.Index : HTCLIENT;
    }
    return SystemButtonCode(l.Form, button);
}

int FrameCode(const TacFrameLayout& l, TPoint p)
{
    const int b = l.BorderWidth;
    const bool bottom = p.Y >= l.Height - b, top = p.Y < b;
    const bool left = p.X < b, right = p.X >= l.Width - b;
    if (bottom || top) {
        if (left)
            return top ? HTTOPLEFT : HTBOTTOMLEFT;
        if (right)
            return top ? HTTOPRIGHT : HTBOTTOMRIGHT;
        return top ? HTTOP : HTBOTTOM;
    }
    if (left)
        return HTLEFT;
    if (right)
        return HTRIGHT;
    return HTNOWHERE;
}

} // namespace

int FrameHitTest(const TacFrameLayout& l, TPoint p)
{
    if (const int code = ButtonCode(l, p); code != HTCLIENT)
        return code;
    if (Sizeable(l.Form) && l.Form.WindowState != wsMaximized)
        if (const int code = FrameCode(l, p); code != HTNOWHERE)
            return code;
    const int captionBottom = l.BorderWidth + l.CaptionHeight;
    if (p.Y >= 0 && p.Y <= captionBottom && l.CaptionHeight > 0) {
        if (p.Y == captionBottom)
            return HTMENU;
        return PtInRect(l.IconRect, p) ? HTSYSMENU : HTCAPTION;
    }
    if (p.Y > captionBottom + l.MenuHeight || l.CaptionHeight == 0) {
        if (l.GripActive && p.X >= l.GripCorner.X && p.Y >= l.GripCorner.Y)
            return HTBOTTOMRIGHT;
        return HTCLIENT;
    }
    return HTMENU;
}

const TacFormAnimation* ShowAnimation(const TacAnimEffects& effects, const TacFormTraits& form, bool insideWindow)
{
    if (form.MDIChild || insideWindow)
        return nullptr;
    const bool normal = form.BorderStyle == bsSingle || form.BorderStyle == bsSizeable;
    const TacFormAnimation& animation = normal ? static_cast<const TacFormAnimation&>(effects.FormShow)
                                               : effects.DialogShow;
    return animation.Active ? &animation : nullptr;
}

void SnapCoordinate(int& pos, int edge, int buffer, int size)
{
    if (std::abs(size + pos - edge) < buffer)
        pos = edge - size;
}

TPoint SnapToWorkArea(TPoint pos, int width, int height, const TRect& work, int buffer)
{
    if (pos == TPoint{0, 0})
        return pos;
    SnapCoordinate(pos.X, work.Right, buffer, width);
    SnapCoordinate(pos.Y, work.Bottom, buffer, height);
    SnapCoordinate(pos.X, work.Left, buffer, 0);
    SnapCoordinate(pos.Y, work.Top, buffer, 0);
    return pos;
}

TacDragRoad DragRoad(int code, TsResizeMode mode, bool screenSnap, bool topLevel, bool canPlaceWindows)
{
    if (!canPlaceWindows)
        return drSystem;
    if (mode == rmBorder)
        return drOwnOutline;
    return code == HTCAPTION && screenSnap && topLevel ? drOwnLive : drSystem;
}

TRect DraggedBounds(int code, const TRect& start, TPoint travel, const TacSizeLimits& limits)
{
    if (code == HTCAPTION)
        return {start.Left + travel.X, start.Top + travel.Y, start.Right + travel.X, start.Bottom + travel.Y};
    const bool left = code == HTLEFT || code == HTTOPLEFT || code == HTBOTTOMLEFT;
    const bool right = !left && code != HTTOP && code != HTBOTTOM;
    const bool top = code == HTTOP || code == HTTOPLEFT || code == HTTOPRIGHT;
    const bool bottom = !top && code != HTLEFT && code != HTRIGHT;
    const auto limit = [](int size, int least, int most) { return std::max(least, std::min(size, most)); };
    TRect r = start;
    if (left)
        r.Left = r.Right - limit(start.Width() - travel.X, limits.MinWidth, limits.MaxWidth);
    if (right)
        r.Right = r.Left + limit(start.Width() + travel.X, limits.MinWidth, limits.MaxWidth);
    if (top)
        r.Top = r.Bottom - limit(start.Height() - travel.Y, limits.MinHeight, limits.MaxHeight);
    if (bottom)
        r.Bottom = r.Top + limit(start.Height() + travel.Y, limits.MinHeight, limits.MaxHeight);
    return r;
}
