#include "skinwnd/sSysMenuRules.h"

#include <gtest/gtest.h>

namespace {

enum { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum { wsNormal, wsMinimized, wsMaximized };
constexpr unsigned biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biAll = 7;

TacSysMenuForm Form(int style, unsigned icons = biAll, int state = wsNormal, bool mdi = false, bool managed = true)
{
    TacSysMenuForm f;
    f.BorderStyle = style;
    f.BorderIcons = icons;
    f.WindowState = state;
    f.Iconic = state == wsMinimized;
    f.MDIChild = mdi;
    f.SysMenuManaged = managed;
    return f;
}

// Visible and enabled, as two digits.
TacSysMenuItemState S(int visible, int enabled) { return {visible != 0, enabled != 0}; }

} // namespace

TEST(SysMenuRules, VisibilityAndEnablingTable)
{
    struct Case {
        const char* what;
        TacSysMenuForm form;
        TacSysMenuItemState restore, move, size, minimize, maximize, close;
    };
    const Case cases[] = {
        {"sizeable", Form(bsSizeable), S(1, 0), S(1, 1), S(1, 1), S(1, 1), S(1, 1), S(1, 1)},
        {"single", Form(bsSingle), S(1, 0), S(1, 1), S(1, 0), S(1, 1), S(1, 1), S(1, 1)},
        {"dialog: close only", Form(bsDialog), S(0, 0), S(1, 1), S(0, 1), S(0, 1), S(0, 0), S(1, 1)},
        {"tool window: no size", Form(bsToolWindow), S(0, 0), S(1, 1), S(0, 1), S(0, 1), S(0, 0), S(1, 1)},
        {"sizeable tool window", Form(bsSizeToolWin), S(0, 0), S(1, 1), S(1, 1), S(0, 1), S(0, 0), S(1, 1)},
        {"no border", Form(bsNone), S(0, 0), S(1, 1), S(0, 1), S(0, 1), S(0, 0), S(1, 1)},
        {"maximised", Form(bsSizeable, biAll, wsMaximized), S(1, 1), S(1, 0), S(1, 1), S(1, 1), S(1, 0), S(1, 1)},
        {"maximised without the icon", Form(bsSizeable, biSystemMenu | biMinimize, wsMaximized), S(1, 0), S(1, 0),
         S(1, 1), S(1, 1), S(0, 0), S(1, 1)},
        {"minimised", Form(bsSizeable, biAll, wsMinimized), S(1, 1), S(1, 1), S(1, 0), S(1, 0), S(1, 1), S(1, 1)},
        {"minimised dialog shows its buttons", Form(bsDialog, biAll, wsMinimized), S(0, 1), S(1, 1), S(0, 0),
         S(1, 0), S(1, 0), S(1, 1)},
        {"MDI child without icons", Form(bsSizeable, biSystemMenu, wsNormal, true), S(1, 0), S(1, 1), S(1, 1),
         S(1, 0), S(1, 0), S(1, 1)},
        {"MDI child dialog", Form(bsDialog, biAll, wsMaximized, true), S(1, 1), S(1, 0), S(1, 1), S(1, 1), S(1, 1),
         S(1, 1)},
        {"not managed", Form(bsSizeable, biAll, wsNormal, false, false), S(0, 0), S(1, 1), S(1, 1), S(0, 1), S(0, 1),
         S(0, 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TacSysMenuRules r = SysMenuRules(c.form);
        EXPECT_EQ(r.Restore, c.restore) << "restore";
        EXPECT_EQ(r.Move, c.move) << "move";
        EXPECT_EQ(r.Size, c.size) << "size";
        EXPECT_EQ(r.Minimize, c.minimize) << "minimize";
        EXPECT_EQ(r.Maximize, c.maximize) << "maximize";
        EXPECT_EQ(r.Close, c.close) << "close";
        // The title buttons follow the same rules.
        EXPECT_EQ(r.VisibleMax, c.maximize.Visible);
        EXPECT_EQ(r.VisibleMin, c.minimize.Visible);
        EXPECT_EQ(r.VisibleClose, c.close.Visible);
        EXPECT_EQ(r.EnabledRestore, c.restore.Enabled);
    }
}

TEST(SysMenuRules, PlainMenuEnabling)
{
    struct Case {
        const char* what;
        TacSysMenuForm form;
        TacPlainSysMenu enabled;
    };
    const Case cases[] = {
        {"normal", Form(bsSizeable), {false, true, true, true, true, true}},
        {"maximised", Form(bsSizeable, biAll, wsMaximized), {true, false, false, true, false, true}},
        {"minimised", Form(bsSizeable, biAll, wsMinimized), {true, false, false, false, true, true}},
        {"dialog", Form(bsDialog), {false, true, false, false, false, true}},
        {"not managed", Form(bsSizeable, biAll, wsNormal, false, false), {false, true, true, false, false, false}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlainSysMenuEnabling(c.form), c.enabled) << c.what;
}
