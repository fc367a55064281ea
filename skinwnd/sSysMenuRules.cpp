#include "skinwnd/sSysMenuRules.h"

namespace {

enum { None, Single, Sizeable, Dialog, ToolWindow, SizeToolWin };
enum { Normal, Minimized, Maximized };
constexpr unsigned biMinimize = 2, biMaximize = 4;

bool BorderedForButtons(int style)
{
    return style != None && style != Dialog && style != ToolWindow && style != SizeToolWin;
}

bool ButtonVisible(const TacSysMenuForm& f, bool visibleClose, unsigned icon)
{
    if (!visibleClose)
        return false;
    if (f.Iconic || f.MDIChild)
        return true;
    return BorderedForButtons(f.BorderStyle) && (f.BorderIcons & icon);
}

} // namespace

TacSysMenuRules SysMenuRules(const TacSysMenuForm& f)
{
    TacSysMenuRules r;
    const bool maxIcon = f.BorderIcons & biMaximize, minIcon = f.BorderIcons & biMinimize;
    const bool framed = f.BorderStyle == Single || f.BorderStyle == Sizeable;
    r.VisibleClose = f.SysMenuManaged;
    r.VisibleMax = ButtonVisible(f, r.VisibleClose, biMaximize);
    r.VisibleMin = ButtonVisible(f, r.VisibleClose, biMinimize);
    if (f.MDIChild)
        r.EnabledMax = maxIcon;
    else
        r.EnabledMax = f.WindowState != Maximized && framed && maxIcon;
    r.EnabledMin = minIcon && f.WindowState != Minimized;
    r.EnabledRestore = (maxIcon && f.WindowState != Normal) || f.WindowState == Minimized;

    r.Restore = {r.VisibleClose && (f.MDIChild || framed), r.EnabledRestore};
    r.Move = {true, f.WindowState != Maximized};
    r.Size = {f.MDIChild || (f.BorderStyle != None && f.BorderStyle != Dialog && f.BorderStyle != ToolWindow),
              !(f.BorderStyle == Single || f.Iconic)};
    r.Minimize = {r.VisibleMin, r.EnabledMin};
    r.Maximize = {r.VisibleMax, r.EnabledMax};
    r.Close = {r.VisibleClose, true};
    return r;
}

TacPlainSysMenu PlainSysMenuEnabling(const TacSysMenuForm& f)
{
    const TacSysMenuRules r = SysMenuRules(f);
    TacPlainSysMenu p;
    p.Restore = r.Restore.Visible && r.EnabledRestore;
    p.Move = r.Move.Enabled && !f.Iconic;
    p.Size = r.Size.Visible && r.Size.Enabled && f.WindowState == Normal;
    p.Minimize = r.VisibleMin && r.EnabledMin;
    p.Maximize = r.VisibleMax && r.EnabledMax;
    p.Close = r.VisibleClose;
    return p;
}
