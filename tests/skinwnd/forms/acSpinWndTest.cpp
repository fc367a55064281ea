#include "skinwnd/forms/acSpinWnd.h"

#include "AdapterTestSkin.h"
#include "skinwnd/forms/acSBUtils.h"

#include <QMouseEvent>
#include <QSpinBox>

using namespace adaptertest;

TEST(TacSpinWnd, StateOfEachHalf)
{
    const TRect buttons{80, 0, 100, 20};
    struct Case {
        const char* what;
        bool vertical, inside;
        QPoint pos;
        bool down;
        int first, second;
    };
    const Case cases[] = {
        {"over the upper half", true, true, {90, 4}, false, 1, 0},
        {"pressing the lower half", true, true, {90, 15}, true, 0, 2},
        {"split at the middle", true, true, {90, 10}, false, 0, 1},
        {"over the edit part", true, true, {20, 4}, true, 0, 0},
        {"outside the window", true, false, {90, 4}, false, 0, 0},
        {"left half of a horizontal one", false, true, {84, 15}, false, 1, 0},
        {"right half of a horizontal one", false, true, {95, 4}, true, 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int first = -1, second = -1;
        TacSpinWnd::HalfStates(c.vertical, buttons, c.inside, c.pos, c.down, first, second);
        EXPECT_EQ(first, c.first);
        EXPECT_EQ(second, c.second);
    }
}

TEST(TacSpinWnd, ButtonsPaintedByTheSkinWithFallbackSection)
{
    SkinScope scope;
    // The project skin has no section of the adapter's own.
    ASSERT_LT(scope.manager->GetSkinIndex("SPEEDBUTTON_SMALL"), 0);
    // A blinking text cursor would make two pictures of the edit differ.
    QApplication::setCursorFlashTime(0);
    QWidget form;
    // Away from the cursor, which would make a control hot on its own.
    form.setGeometry(300, 300, 160, 40);
    auto* spin = new QSpinBox(&form);
    spin->setGeometry(4, 4, 120, 28);
    spin->setValue(7);
    form.show();
    QApplication::processEvents();
    const QImage plain = Grab(spin);
    TacMainWnd* adapter = TacMainWnd::Create<TacSpinWnd>(spin);
    auto* a = static_cast<TacSpinWnd*>(adapter);
    const TRect b = a->ButtonsRect();
    ASSERT_GT(b.Width(), 4);
    const QImage normal = Grab(spin);
    // The edit part is the spin box's own; the buttons are the skin's.
    EXPECT_EQ(normal.copy(0, 0, b.Left - 2, spin->height()), plain.copy(0, 0, b.Left - 2, spin->height()));
    const QImage buttons = normal.copy(b.Left, b.Top, b.Width(), b.Height());
    EXPECT_GT(PixelsOf(buttons, ProjectPalette().Frame), 0);
    EXPECT_EQ(PixelsOf(buttons, ProjectPalette().Accent), 0);

    // The mouse over the upper half makes it hot, a press pressed.
    const QPointF upper(b.Left + b.Width() / 2, b.Top + 3);
    QMouseEvent move(QEvent::MouseMove, upper, spin->mapToGlobal(upper), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(spin, &move);
    QImage hot = Grab(spin).copy(b.Left, b.Top, b.Width(), b.Height());
    EXPECT_EQ(a->FirstState, 1);
    EXPECT_EQ(a->SecondState, 0);
    EXPECT_GT(PixelsOf(hot.copy(0, 0, hot.width(), hot.height() / 2), ProjectPalette().Accent), 0);
    EXPECT_EQ(PixelsOf(hot.copy(0, hot.height() / 2 + 1, hot.width(), hot.height() / 2 - 1), ProjectPalette().Accent),
              0);
    QMouseEvent press(QEvent::MouseButtonPress, upper, spin->mapToGlobal(upper), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(spin, &press);
    Grab(spin);
    EXPECT_EQ(a->FirstState, 2);
    EXPECT_EQ(spin->value(), 8);
    QMouseEvent release(QEvent::MouseButtonRelease, upper, spin->mapToGlobal(upper), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(spin, &release);
    DetachWnd(spin, true, adapter);
}
