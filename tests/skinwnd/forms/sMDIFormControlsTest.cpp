// The controls of a maximised sub-window on a skinned MDI form's menu bar:
// painted from the skin's small title-button masks in Qt's hover and press
// states, clicked as Qt clicks them, and given back when the skin goes.
#include "skinwnd/forms/acMDIControlsStyle.h"
#include "skinwnd/forms/sMDIForm.h"

#include "AdapterTestSkin.h"
#include "Screenshot.h"
#include "SkinGenerator.h"

#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTest>

using namespace adaptertest;

namespace {

// An MDI main form with a menu and two sub-windows, the second one
// maximised.
struct MDIForm {
    QMainWindow window;
    QMdiArea* area = new QMdiArea;
    QPointer<QMdiSubWindow> first, second;
    TsSkinProvider* provider = nullptr;
    MDIForm()
    {
        window.setWindowTitle("Tarku - buffers");
        window.menuBar()->addMenu("&File");
        window.menuBar()->addMenu("&Edit");
        window.setCentralWidget(area);
        first = area->addSubWindow(new QLabel("Buffer 1"));
        first->setWindowTitle("Buffer 1");
        second = area->addSubWindow(new QLabel("Buffer 2"));
        second->setWindowTitle("Buffer 2");
        window.setGeometry(300, 300, 480, 320);
        provider = new TsSkinProvider(&window);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window, 10000));
        area->setActiveSubWindow(second);
        second->showMaximized();
        QApplication::processEvents();
    }
    QWidget* Buttons() const { return window.menuBar()->cornerWidget(Qt::TopRightCorner); }
    QWidget* Icon() const { return window.menuBar()->cornerWidget(Qt::TopLeftCorner); }
    TacMDIControlsStyle* Style() const
    {
        return provider->MDIForm() ? provider->MDIForm()->ControlsStyle() : nullptr;
    }
};

// The small masks of the test skin are 16 x 14; each button keeps a pixel
// free on its right.
constexpr int W = 16, H = 14;

// A button's place in the controls, counted from the right (close 0,
// restore 1, minimise 2).
QRect ButtonRect(const QWidget* controls, int place)
{
    const int top = (controls->parentWidget()->height() - H) / 2 - controls->y();
    return {controls->width() - (place + 1) * (W + 1), top, W, H};
}

void Hover(QWidget* w, QPoint at)
{
    QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton, {});
    QCoreApplication::sendEvent(w, &move);
    QApplication::processEvents();
}

// Pixels as light as the hot box's fill; the pressed box is darker.
int LightPixels(const QImage& img)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixelColor(x, y).red() > 232 && img.pixelColor(x, y) != Qt::white;
    return n;
}

QImage Area(QWidget& window, const QWidget* controls, const QRect& r)
{
    return Grab(window).copy(QRect(controls->mapTo(&window, r.topLeft()), r.size()));
}

} // namespace

// The buttons wear the skin's masks: normal ones show the light glyph on
// the menu line, the hot and the pressed one a box with the accent border,
// lighter when hot; the icon fills the menu line but a pixel above and
// below.
TEST(TsMDIFormControls, ButtonsArePaintedFromTheSkinInEachState)
{
    SkinScope scope;
    MDIForm f;
    QWidget* controls = f.Buttons();
    ASSERT_NE(controls, nullptr);
    ASSERT_NE(f.Style(), nullptr);
    EXPECT_EQ(controls->style(), f.Style());
    EXPECT_EQ(f.Icon()->style(), f.Style());
    EXPECT_EQ(controls->width(), 3 * (W + 1));
    EXPECT_EQ(f.Icon()->height(), f.window.menuBar()->height() - 2);
    const TColor accent = ProjectPalette().Accent;
    for (int place = 0; place < 3; ++place) {
        const QRect r = ButtonRect(controls, place);
        const QImage normal = Area(f.window, controls, r);
        EXPECT_GT(PixelsOf(normal, clWhite), 10) << place;
        EXPECT_EQ(PixelsOf(normal, accent), 0) << place;
        Hover(controls, r.center());
        const QImage hot = Area(f.window, controls, r);
        EXPECT_GT(PixelsOf(hot, accent), 20) << place;
        QTest::mousePress(controls, Qt::LeftButton, {}, r.center());
        const QImage pressed = Area(f.window, controls, r);
        EXPECT_GT(PixelsOf(pressed, accent), 20) << place;
        EXPECT_GT(LightPixels(hot), LightPixels(pressed) + 30) << place;
        // Released away from it: nothing happens, the button is normal.
        QTest::mouseRelease(controls, Qt::LeftButton, {}, QPoint(1, 1));
        Hover(controls, QPoint(1, 1));
        EXPECT_TRUE(Area(f.window, controls, r) == normal) << place;
        EXPECT_TRUE(f.second->isMaximized());
    }
    // Nothing of the buttons lies in the pixel right of the close button.
    const QRect edge(controls->width() - 1, 0, 1, controls->height());
    EXPECT_EQ(PixelsOf(Area(f.window, controls, edge), clWhite), 0);
    SaveScreenshot(f.window, "mdi-form-maximised-child-buttons");
}

// Clicks do what Qt's own buttons do: restore, minimise, close.
TEST(TsMDIFormControls, ClicksOnThePaintedButtonsActAsQtsOwn)
{
    SkinScope scope;
    struct Case {
        const char* what;
        int place;
    };
    for (const Case& c : {Case{"restore", 1}, Case{"minimise", 2}, Case{"close", 0}}) {
        MDIForm f;
        QWidget* controls = f.Buttons();
        ASSERT_NE(controls, nullptr) << c.what;
        const QPoint at = ButtonRect(controls, c.place).center();
        Hover(controls, at);
        QTest::mouseClick(controls, Qt::LeftButton, {}, at);
        QApplication::processEvents();
        if (c.place == 0) {
            EXPECT_TRUE(f.second.isNull() || !f.second->isVisible()) << c.what;
            continue;
        }
        ASSERT_FALSE(f.second.isNull()) << c.what;
        EXPECT_FALSE(f.second->isMaximized()) << c.what;
        EXPECT_EQ(f.second->isMinimized(), c.place == 2) << c.what;
    }
}

// An inactive form shows its buttons in the inactive look; active again,
// they are as they were.
TEST(TsMDIFormControls, InactiveFormShowsTheInactiveLook)
{
    SkinScope scope;
    MDIForm f;
    QWidget* controls = f.Buttons();
    ASSERT_NE(controls, nullptr);
    const QRect all(0, 0, controls->width(), controls->height());
    const QImage active = Area(f.window, controls, all);
    QWidget other;
    other.setGeometry(10, 10, 50, 50);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other, 10000));
    controls->update();
    EXPECT_FALSE(Area(f.window, controls, all) == active);
    f.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f.window, 10000));
    controls->update();
    EXPECT_TRUE(Area(f.window, controls, all) == active);
}

// Without the skin the controls wear their own style again, also the ones
// a restored sub-window keeps for its next maximising; a new skin dresses
// them again.
TEST(TsMDIFormControls, NoSkinGivesTheControlsBackAndANewSkinTakesThem)
{
    SkinScope scope;
    MDIForm f;
    QPointer<QWidget> controls = f.Buttons();
    ASSERT_FALSE(controls.isNull());
    QStyle* plain = QApplication::style();
    f.second->showNormal();
    QApplication::processEvents();
    scope.manager->SetActive(false);
    QApplication::processEvents();
    ASSERT_FALSE(controls.isNull());
    EXPECT_EQ(controls->style(), plain);
    f.second->showMaximized();
    QApplication::processEvents();
    ASSERT_EQ(f.Buttons(), controls.data());
    EXPECT_EQ(controls->style(), plain);
    EXPECT_FALSE(controls->grab().isNull());
    scope.Use("TarkuDusk");
    ASSERT_NE(f.Style(), nullptr);
    EXPECT_EQ(f.Buttons()->style(), f.Style());
    EXPECT_EQ(f.Buttons()->width(), 3 * (W + 1));
    // Another sub-window maximised brings controls of its own, dressed too.
    f.area->setActiveSubWindow(f.first);
    f.first->showMaximized();
    QApplication::processEvents();
    ASSERT_NE(f.Buttons(), nullptr);
    EXPECT_EQ(f.Buttons()->style(), f.Style());
}
