#include "skinwnd/sSkinProviderRules.h"

#include <gtest/gtest.h>

namespace {

// A sizeable 300 x 200 form: frame 4, caption 23, menu band 20; buttons
// 24 x 20 from the right: close, maximise, minimise, help; the icon at the
// left; one user button left of them.
TacFrameLayout SizeableForm()
{
    TacFrameLayout l;
    l.Form.BorderIcons = biSystemMenu | biMinimize | biMaximize | biHelp;
    l.Width = 300, l.Height = 200;
    l.BorderWidth = 4, l.CaptionHeight = 23, l.MenuHeight = 20;
    l.CloseRect = {272, 3, 296, 23};
    l.MaxRect = {248, 3, 272, 23};
    l.MinRect = {224, 3, 248, 23};
    l.HelpRect = {200, 3, 224, 23};
    l.IconRect = {4, 6, 20, 22};
    l.UserButtons = {{0, {171, 3, 192, 23}, true}};
    return l;
}

struct HitCase {
    const char* what;
    TPoint point;
    int code;
};

} // namespace

TEST(FrameHitTest, SizeableFormTable)
{
    const TacFrameLayout l = SizeableForm();
    const HitCase cases[] = {
        {"close", {280, 10}, HTCLOSE},
        {"maximise", {250, 10}, HTMAXBUTTON},
        {"minimise", {230, 10}, HTMINBUTTON},
        {"help", {210, 10}, HTHELP},
        {"user button", {180, 10}, HTUSERBUTTON + 0},
        {"caption", {100, 10}, HTCAPTION},
        {"icon", {10, 12}, HTSYSMENU},
        {"last caption row", {100, 27}, HTMENU},
        {"menu band", {100, 40}, HTMENU},
        {"client", {100, 100}, HTCLIENT},
        {"left", {1, 100}, HTLEFT},
        {"right", {298, 100}, HTRIGHT},
        {"top", {100, 1}, HTTOP},
        {"bottom", {100, 198}, HTBOTTOM},
        {"top left", {0, 0}, HTTOPLEFT},
        {"top right", {299, 2}, HTTOPRIGHT},
        {"bottom left", {3, 199}, HTBOTTOMLEFT},
        {"bottom right", {296, 196}, HTBOTTOMRIGHT},
        // A button wins over the frame under it.
        {"close over the top frame", {280, 3}, HTCLOSE},
    };
    for (const HitCase& c : cases)
        EXPECT_EQ(FrameHitTest(l, c.point), c.code) << c.what;
}

TEST(FrameHitTest, StateAndStyleChangeTheAnswers)
{
    struct Case {
        const char* what;
        void (*change)(TacFrameLayout&);
        TPoint point;
        int code;
    };
    const Case cases[] = {
        {"maximised: no sizing frame", [](TacFrameLayout& l) { l.Form.WindowState = wsMaximized; }, {1, 100}, HTCLIENT},
        {"maximised: top row is caption", [](TacFrameLayout& l) { l.Form.WindowState = wsMaximized; }, {100, 1},
         HTCAPTION},
        {"fixed single: no sizing frame", [](TacFrameLayout& l) { l.Form.BorderStyle = bsSingle; }, {298, 100},
         HTCLIENT},
        // A disabled user button is part of the caption.
        {"disabled user button", [](TacFrameLayout& l) { l.UserButtons[0].Enabled = false; }, {180, 10}, HTCAPTION},
        {"no system menu: every place is a user one",
         [](TacFrameLayout& l) {
             l.Form.SysMenuManaged = false;
             l.UserButtons = {{0, {272, 3, 296, 23}, true}};
         },
         {280, 10}, HTUSERBUTTON},
        {"no maximise icon: its place is caption",
         [](TacFrameLayout& l) { l.Form.BorderIcons = biSystemMenu | biMinimize | biHelp; }, {250, 10}, HTCAPTION},
        {"no minimise icon: its place is caption", [](TacFrameLayout& l) { l.Form.BorderIcons &= ~unsigned(biMinimize); }, {230, 10},
         HTCAPTION},
        // Close, minimise and help from the right: the third place is help.
        {"help beside minimise without maximise",
         [](TacFrameLayout& l) {
             l.Form.BorderIcons = biSystemMenu | biMinimize | biHelp;
             l.MinRect = {248, 3, 272, 23};
             l.HelpRect = {224, 3, 248, 23};
         },
         {230, 10}, HTHELP},
        {"grip corner", [](TacFrameLayout& l) {
             l.Form.BorderStyle = bsSingle;
             l.GripActive = true;
             l.GripCorner = {280, 180};
         },
         {285, 185}, HTBOTTOMRIGHT},
    };
    for (const Case& c : cases) {
        TacFrameLayout l = SizeableForm();
        c.change(l);
        EXPECT_EQ(FrameHitTest(l, c.point), c.code) << c.what;
    }
}

TEST(FrameHitTest, MaximiseButtonOfIconicAndRestorableForms)
{
    // Maximise disabled but restore possible: a maximised form still hits
    // the button, an iconic one only the caption; with neither it is the
    // caption.
    TacFrameLayout l = SizeableForm();
    l.Form.BorderIcons = biSystemMenu | biMaximize;
    l.Form.WindowState = wsMaximized;
    EXPECT_FALSE(EnabledMax(l.Form));
    EXPECT_TRUE(EnabledRestore(l.Form));
    EXPECT_EQ(FrameHitTest(l, {250, 10}), HTMAXBUTTON);
    l.Form.BorderIcons = biSystemMenu;
    l.Form.WindowState = wsMinimized;
    EXPECT_TRUE(VisibleMax(l.Form));
    EXPECT_FALSE(EnabledMax(l.Form));
    EXPECT_TRUE(EnabledRestore(l.Form));
    EXPECT_EQ(FrameHitTest(l, {250, 10}), HTCAPTION);
    l.Form.BorderIcons = biSystemMenu;
    l.Form.WindowState = wsNormal;
    l.Form.MDIChild = true;
    EXPECT_EQ(FrameHitTest(l, {250, 10}), HTCAPTION);
}

TEST(TitleButtonRules, VisibilityAndEnablingByStyle)
{
    struct Case {
        TFormBorderStyle style;
        TWindowState state;
        bool visibleMax, visibleMin, enabledMax, enabledMin, enabledRestore;
        int sysButtons;
    };
    const Case cases[] = {
        {bsSizeable, wsNormal, true, true, true, true, false, 3},
        {bsSizeable, wsMaximized, true, true, false, true, true, 3},
        {bsSizeable, wsMinimized, true, true, true, false, true, 3},
        {bsSingle, wsNormal, true, true, true, true, false, 3},
        {bsDialog, wsNormal, false, false, false, true, false, 1},
        {bsToolWindow, wsNormal, false, false, false, true, false, 1},
        {bsSizeToolWin, wsNormal, false, false, false, true, false, 1},
        {bsNone, wsNormal, false, false, false, true, false, 1},
    };
    for (const Case& c : cases) {
        TacFormTraits f;
        f.BorderStyle = c.style;
        f.WindowState = c.state;
        const std::string what = "style " + std::to_string(c.style) + " state " + std::to_string(c.state);
        EXPECT_TRUE(VisibleClose(f)) << what;
        EXPECT_EQ(VisibleMax(f), c.visibleMax) << what;
        EXPECT_EQ(VisibleMin(f), c.visibleMin) << what;
        EXPECT_EQ(EnabledMax(f), c.enabledMax) << what;
        EXPECT_EQ(EnabledMin(f), c.enabledMin) << what;
        EXPECT_EQ(EnabledRestore(f), c.enabledRestore) << what;
        EXPECT_EQ(SysButtonCount(f), c.sysButtons) << what;
        f.BorderIcons |= biHelp;
        EXPECT_EQ(SysButtonCount(f), c.sysButtons + 1) << what << " with help";
        f.BorderIcons &= ~unsigned(biSystemMenu);
        EXPECT_EQ(SysButtonCount(f), 0) << what << " without a system menu";
    }
    TacFormTraits unmanaged;
    unmanaged.SysMenuManaged = false;
    EXPECT_FALSE(VisibleClose(unmanaged));
    EXPECT_FALSE(VisibleMax(unmanaged));
    EXPECT_EQ(SysButtonCount(unmanaged), 0);
}

TEST(FrameMetrics, CaptionIconAndBorders)
{
    for (auto [h, size] : {std::pair{-100, 1}, {8, 1}, {9, 8}, {12, 8}, {16, 8}, {17, 16}, {18, 16}, {-101, 16}})
        EXPECT_EQ(IconSizeForCaption(h), size) << h;
    TacFormTraits f;
    EXPECT_EQ(SysBorderWidth(f), int(SM_CXFRAME));
    EXPECT_EQ(SysCaptionHeight(f), int(SM_CYCAPTION));
    f.BorderStyle = bsToolWindow;
    EXPECT_EQ(SysCaptionHeight(f), int(SM_CYSMCAPTION));
    EXPECT_FALSE(BigTitleIcons(f));
    f.BorderStyle = bsNone;
    EXPECT_EQ(SysBorderWidth(f), 0);
    EXPECT_EQ(SysCaptionHeight(f), 0);
}

TEST(SnapCoordinate, SnapsOnlyInsideTheBuffer)
{
    // A form 200 wide whose right edge ends 9 pixels before the work area's
    // right edge at 1000 snaps to it; 10 pixels away it stays.
    int x = 1000 - 200 - 9;
    SnapCoordinate(x, 1000, 10, 200);
    EXPECT_EQ(x, 800);
    x = 1000 - 200 - 10;
    SnapCoordinate(x, 1000, 10, 200);
    EXPECT_EQ(x, 790);
    int y = 7;
    SnapCoordinate(y, 0, 10, 0);
    EXPECT_EQ(y, 0);
}

TEST(SnapToWorkArea, SidesWithinTheBufferLieOnTheArea)
{
    // A form 200 x 100 on the work area (0, 30) - (1000, 700).
    const TRect work{0, 30, 1000, 700};
    struct Case {
        const char* what;
        TPoint pos, snapped;
    };
    const Case cases[] = {
        {"right side 9 short", {791, 300}, {800, 300}},
        {"right side 10 short", {790, 300}, {790, 300}},
        {"right side 9 beyond", {809, 300}, {800, 300}},
        {"bottom side 9 short", {300, 591}, {300, 600}},
        {"left side 9 inside", {9, 300}, {0, 300}},
        {"left side 9 outside", {-9, 300}, {0, 300}},
        {"top side 9 below", {300, 39}, {300, 30}},
        {"top side 10 below", {300, 40}, {300, 40}},
        {"bottom right corner", {795, 595}, {800, 600}},
        {"top left corner", {4, 34}, {0, 30}},
        {"put at the origin", {0, 0}, {0, 0}},
        {"far from every side", {400, 300}, {400, 300}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SnapToWorkArea(c.pos, 200, 100, work, 10), c.snapped) << c.what;
    // A form wider than the area near both sides keeps its left side on it.
    EXPECT_EQ(SnapToWorkArea({3, 300}, 1005, 100, work, 10), (TPoint{0, 300}));
}

TEST(DragRoad, OwnDragWhereEveryStepMatters)
{
    struct Case {
        const char* what;
        int code;
        TsResizeMode mode;
        bool snap, topLevel, canPlace;
        TacDragRoad road;
    };
    const Case cases[] = {
        {"standard move", HTCAPTION, rmStandard, false, true, true, drSystem},
        {"standard size", HTRIGHT, rmStandard, false, true, true, drSystem},
        {"snapped move", HTCAPTION, rmStandard, true, true, true, drOwnLive},
        {"snap leaves sizing alone", HTBOTTOMRIGHT, rmStandard, true, true, true, drSystem},
        {"sub-window does not snap to the screen", HTCAPTION, rmStandard, true, false, true, drSystem},
        {"outline move", HTCAPTION, rmBorder, false, true, true, drOwnOutline},
        {"outline size", HTLEFT, rmBorder, true, true, true, drOwnOutline},
        {"outline of a sub-window", HTTOP, rmBorder, false, false, true, drOwnOutline},
        {"no placing: outline falls back", HTCAPTION, rmBorder, false, true, false, drSystem},
        {"no placing: no snap", HTCAPTION, rmStandard, true, true, false, drSystem},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DragRoad(c.code, c.mode, c.snap, c.topLevel, c.canPlace), c.road) << c.what;
}

TEST(DraggedBounds, EachCodeMovesItsSidesWithinTheLimits)
{
    const TRect start{100, 100, 400, 300}; // 300 x 200
    const TacSizeLimits limits{120, 80, 500, 260};
    struct Case {
        const char* what;
        int code;
        TPoint travel;
        TRect bounds;
    };
    const Case cases[] = {
        {"caption moves the whole", HTCAPTION, {-30, 45}, {70, 145, 370, 345}},
        {"left", HTLEFT, {-20, 7}, {80, 100, 400, 300}},
        {"right", HTRIGHT, {20, 7}, {100, 100, 420, 300}},
        {"top", HTTOP, {7, -20}, {100, 80, 400, 300}},
        {"bottom", HTBOTTOM, {7, 20}, {100, 100, 400, 320}},
        {"top left", HTTOPLEFT, {10, 10}, {110, 110, 400, 300}},
        {"top right", HTTOPRIGHT, {10, 10}, {100, 110, 410, 300}},
        {"bottom left", HTBOTTOMLEFT, {10, 10}, {110, 100, 400, 310}},
        {"bottom right", HTBOTTOMRIGHT, {10, 10}, {100, 100, 410, 310}},
        {"any other code: bottom right", HTCLIENT, {10, 10}, {100, 100, 410, 310}},
        {"left stops at the least width", HTLEFT, {250, 0}, {280, 100, 400, 300}},
        {"left stops at the most width", HTLEFT, {-250, 0}, {-100, 100, 400, 300}},
        {"right stops at the least width", HTRIGHT, {-250, 0}, {100, 100, 220, 300}},
        {"top stops at the least height", HTTOP, {0, 150}, {100, 220, 400, 300}},
        {"bottom stops at the most height", HTBOTTOM, {0, 100}, {100, 100, 400, 360}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DraggedBounds(c.code, start, c.travel, limits), c.bounds) << c.what;
}

TEST(GripRules, ShownOnlyWhereDraggingItSizesTheForm)
{
    struct Case {
        const char* what;
        TsGripMode mode;
        TFormBorderStyle style;
        TWindowState state;
        bool visible;
    };
    const Case cases[] = {
        {"no grip asked for", gmNone, bsSizeable, wsNormal, false},
        {"sizeable form", gmRightBottom, bsSizeable, wsNormal, true},
        {"sizeable tool window", gmRightBottom, bsSizeToolWin, wsNormal, true},
        {"maximised form", gmRightBottom, bsSizeable, wsMaximized, false},
        {"fixed single frame", gmRightBottom, bsSingle, wsNormal, false},
        {"fixed dialog", gmRightBottom, bsDialog, wsNormal, false},
        {"fixed tool window", gmRightBottom, bsToolWindow, wsNormal, false},
        {"no border", gmRightBottom, bsNone, wsNormal, false},
    };
    for (const Case& c : cases) {
        TacFormTraits f;
        f.BorderStyle = c.style;
        f.WindowState = c.state;
        EXPECT_EQ(GripVisible(c.mode, f), c.visible) << c.what;
    }
}

TEST(GripRules, PositionOnePixelInsideTheFrameSides)
{
    struct Case {
        int frameWidth, frameHeight, gripWidth, gripHeight, right, bottom;
        TPoint at;
    };
    const Case cases[] = {
        {300, 200, 14, 14, 4, 4, {281, 181}},
        {300, 200, 14, 10, 0, 0, {285, 189}},
        // A wider border on the right than below.
        {420, 260, 16, 16, 8, 3, {395, 240}},
    };
    for (const Case& c : cases) {
        const TPoint at = GripPosition(c.frameWidth, c.frameHeight, c.gripWidth, c.gripHeight, c.right, c.bottom);
        EXPECT_EQ(at, c.at) << c.frameWidth << " x " << c.frameHeight;
    }
    // The hit test answers for the grip from its corner on.
    TacFrameLayout l = SizeableForm();
    l.GripActive = true;
    l.GripCorner = GripPosition(l.Width, l.Height, 14, 14, l.BorderWidth, l.BorderWidth);
    EXPECT_EQ(FrameHitTest(l, {281, 181}), HTBOTTOMRIGHT);
    EXPECT_EQ(FrameHitTest(l, {295, 195}), HTBOTTOMRIGHT);
    EXPECT_EQ(FrameHitTest(l, {280, 190}), HTCLIENT);
    EXPECT_EQ(FrameHitTest(l, {290, 180}), HTCLIENT);
}

TEST(ShowAnimation, FormsAndDialogsByFrameNeverInsideOthers)
{
    enum Which { None, Form, Dialog };
    const struct {
        TFormBorderStyle style;
        bool mdiChild, insideWindow;
        Which which;
    } cases[] = {
        {bsSingle, false, false, Form},       {bsSizeable, false, false, Form},
        {bsDialog, false, false, Dialog},     {bsToolWindow, false, false, Dialog},
        {bsSizeToolWin, false, false, Dialog}, {bsNone, false, false, Dialog},
        {bsSizeable, true, false, None},      {bsDialog, true, false, None},
        {bsSingle, false, true, None},        {bsDialog, false, true, None},
    };
    TacAnimEffects effects;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << c.style << " mdi " << c.mdiChild << " inside "
                                        << c.insideWindow);
        TacFormTraits form;
        form.BorderStyle = c.style;
        form.MDIChild = c.mdiChild;
        const TacFormAnimation* expected = c.which == Form     ? &effects.FormShow
                                           : c.which == Dialog ? static_cast<const TacFormAnimation*>(&effects.DialogShow)
                                                               : nullptr;
        EXPECT_EQ(ShowAnimation(effects, form, c.insideWindow), expected);
        // A setting that is off animates nothing.
        effects.FormShow.Active = effects.DialogShow.Active = false;
        EXPECT_EQ(ShowAnimation(effects, form, c.insideWindow), nullptr);
        effects.FormShow.Active = effects.DialogShow.Active = true;
    }
    // Each kind of frame reads its own switch.
    TacFormTraits dialog;
    dialog.BorderStyle = bsDialog;
    effects.FormShow.Active = false;
    EXPECT_EQ(ShowAnimation(effects, dialog, false), &effects.DialogShow);
}
