#include "skinwnd/sSysMenuRules.h"

#include "skinwnd/sSkinProviderRules.h"

namespace {

// The title buttons and the system menu answer the same six questions; the
// frame's rules are the one place that decides them.
TacFormTraits TraitsOf(const TacSysMenuForm& f)
{
    TacFormTraits t;
    t.BorderStyle = TFormBorderStyle(f.BorderStyle);
    t.BorderIcons = f.BorderIcons;
    t.WindowState = TWindowState(f.WindowState);
    t.MDIChild = f.MDIChild;
    t.SysMenuManaged = f.SysMenuManaged;
    return t;
}

} // namespace

TacSysMenuRules SysMenuRules(const TacSysMenuForm& f)
{
    const TacFormTraits t = TraitsOf(f);
    TacSysMenuRules r;
    r.VisibleClose = VisibleClose(t);
    r.VisibleMax = VisibleMax(t);
    r.VisibleMin = VisibleMin(t);
    r.EnabledMax = EnabledMax(t);
    r.EnabledMin = EnabledMin(t);
    r.EnabledRestore = EnabledRestore(t);

    const bool framed = f.BorderStyle == bsSingle || f.BorderStyle == bsSizeable;
    r.Restore = {r.VisibleClose && (f.MDIChild || framed), r.EnabledRestore};
    r.Move = {true, f.WindowState != wsMaximized};
    r.Size = {f.MDIChild || (f.BorderStyle != bsNone && f.BorderStyle != bsDialog && f.BorderStyle != bsToolWindow),
              !(f.BorderStyle == bsSingle || f.Iconic)};
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
    p.Size = r.Size.Visible && r.Size.Enabled && f.WindowState == wsNormal;
    p.Minimize = r.VisibleMin && r.EnabledMin;
    p.Maximize = r.VisibleMax && r.EnabledMax;
    p.Close = r.VisibleClose;
    return p;
}
