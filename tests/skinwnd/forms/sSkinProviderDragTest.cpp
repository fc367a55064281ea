// Moving and sizing a skinned form by its caption and frame: the outline of
// rmBorder, which leaves the form where it is until the button is let go,
// and the snap to the work area.
#include "skinwnd/forms/sSkinProvider.h"

#include "AdapterTestSkin.h"
#include "Screenshot.h"
#include "skinwnd/forms/sSystemMenu.h"

#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QVBoxLayout>

using namespace adaptertest;

namespace {

// An edit that takes every key it is given, Escape too.
struct KeyTaker : QLineEdit {
    int keys = 0;
    void keyPressEvent(QKeyEvent* e) override
    {
        QLineEdit::keyPressEvent(e);
        e->accept();
        ++keys;
    }
};

// A form with an edit that holds the focus, away from the screen's sides.
struct DragForm {
    QWidget form;
    KeyTaker* edit = new KeyTaker;
    TsSkinProvider* provider = nullptr;
    DragForm()
    {
        form.setWindowTitle("Drag me");
        edit->setParent(&form);
        auto* layout = new QVBoxLayout(&form);
        layout->addWidget(new QLabel("Client area"));
        layout->addWidget(edit);
        form.resize(320, 200);
        form.move(150, 120);
        provider = new TsSkinProvider(&form);
        provider->ResizeMode = rmBorder;
        form.show();
        form.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form, 10000));
        edit->setFocus();
    }
    // A point where the pointer has the given hit code: sides and corners
    // one pixel inside the form, the caption a third of the way along.
    QPoint Probe(int code) const
    {
        const int w = form.width(), h = form.height();
        const int x = code == HTLEFT || code == HTTOPLEFT || code == HTBOTTOMLEFT      ? 1
                      : code == HTRIGHT || code == HTTOPRIGHT || code == HTBOTTOMRIGHT ? w - 2
                                                                                       : w / 3;
        const int captionMiddle = provider->FormBorderWidth() + provider->CaptionHeight() / 2;
        const int y = code == HTCAPTION                                                  ? captionMiddle
                      : code == HTTOP || code == HTTOPLEFT || code == HTTOPRIGHT          ? 1
                      : code == HTBOTTOM || code == HTBOTTOMLEFT || code == HTBOTTOMRIGHT ? h - 2
                                                                                          : h / 2;
        return {x, y};
    }
};

// Counts the form's moves and resizes.
struct GeometryChanges : QObject {
    int count = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Move || e->type() == QEvent::Resize)
            ++count;
        return false;
    }
};

QRect Grown(const QRect& r, const QMargins& by)
{
    return r.adjusted(-by.left(), -by.top(), by.right(), by.bottom());
}

} // namespace

// Each hit code drags its side or corner of the outline; the form stays
// where it was until the release gives it the outline's bounds at once.
TEST(TsSkinProviderDrag, OutlineFollowsThePointerAndTheReleaseAppliesIt)
{
    SkinScope scope;
    DragForm f;
    ASSERT_TRUE(f.provider->FrameActive());
    struct Case {
        const char* what;
        int code;
        QPoint travel;
        QMargins change; // the sides' travel outwards
    };
    const Case cases[] = {
        {"caption", HTCAPTION, {30, 20}, {-30, -20, 30, 20}},
        {"left", HTLEFT, {-25, 5}, {25, 0, 0, 0}},
        {"right", HTRIGHT, {25, 5}, {0, 0, 25, 0}},
        {"top", HTTOP, {5, -25}, {0, 25, 0, 0}},
        {"bottom", HTBOTTOM, {5, 25}, {0, 0, 0, 25}},
        {"top left", HTTOPLEFT, {-10, -15}, {10, 15, 0, 0}},
        {"top right", HTTOPRIGHT, {10, -15}, {0, 15, 10, 0}},
        {"bottom left", HTBOTTOMLEFT, {-10, 15}, {10, 0, 0, 15}},
        {"bottom right", HTBOTTOMRIGHT, {40, 25}, {0, 0, 40, 25}},
    };
    GeometryChanges changes;
    f.form.installEventFilter(&changes);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QRect start = f.form.geometry();
        const QRect expected = Grown(start, c.change);
        const QPoint at = f.Probe(c.code);
        ASSERT_EQ(f.provider->HitTest({at.x(), at.y()}), c.code);
        changes.count = 0;
        QTest::mousePress(&f.form, Qt::LeftButton, {}, at);
        ASSERT_NE(f.provider->DragOutline(), nullptr);
        EXPECT_TRUE(f.provider->DragOutline()->isVisible());
        EXPECT_EQ(f.provider->DragOutline()->geometry(), start);
        QTest::mouseMove(&f.form, at + c.travel / 2);
        QTest::mouseMove(&f.form, at + c.travel);
        EXPECT_EQ(f.provider->DragOutline()->geometry(), expected);
        EXPECT_EQ(f.form.geometry(), start);
        EXPECT_EQ(changes.count, 0);
        QTest::mouseRelease(&f.form, Qt::LeftButton, {}, at + c.travel);
        EXPECT_EQ(f.provider->DragOutline(), nullptr);
        EXPECT_EQ(f.form.geometry(), expected);
        // A move or a resize, or both for the sides at the left and the top.
        EXPECT_GE(changes.count, 1);
        EXPECT_LE(changes.count, 2);
    }
    // Let go where it was pressed, nothing changes.
    const QRect still = f.form.geometry();
    changes.count = 0;
    QTest::mouseClick(&f.form, Qt::LeftButton, {}, f.Probe(HTCAPTION));
    EXPECT_EQ(f.form.geometry(), still);
    EXPECT_EQ(changes.count, 0);
    EXPECT_EQ(f.provider->DragOutline(), nullptr);
}

// The outline is a frame a few pixels wide that lets the clicks through
// and never takes the focus from the form.
TEST(TsSkinProviderDrag, OutlineIsAThinFrameThatTakesNoInput)
{
    SkinScope scope;
    DragForm f;
    const QPoint at = f.Probe(HTCAPTION);
    QTest::mousePress(&f.form, Qt::LeftButton, {}, at);
    QTest::mouseMove(&f.form, at + QPoint(60, 40));
    QWidget* outline = f.provider->DragOutline();
    ASSERT_NE(outline, nullptr);
    EXPECT_TRUE(outline->isWindow());
    EXPECT_TRUE(outline->windowFlags().testFlag(Qt::WindowTransparentForInput));
    EXPECT_TRUE(outline->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(outline->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_TRUE(f.edit->hasFocus());
    // Only the frame is shown: the mask holds its sides, not its inside.
    const QRegion mask = outline->mask();
    const QRect r = outline->rect();
    for (const QPoint p : {r.topLeft(), r.bottomRight(), QPoint(r.center().x(), 2), QPoint(2, r.center().y())})
        EXPECT_TRUE(mask.contains(p)) << p.x() << "," << p.y();
    for (const QPoint p : {r.center(), QPoint(r.center().x(), 3), QPoint(3, r.center().y())})
        EXPECT_FALSE(mask.contains(p)) << p.x() << "," << p.y();
    // A dark line each side of a light one.
    const QImage shot = Grab(outline);
    EXPECT_EQ(QColor(shot.pixel(r.center().x(), 0)), QColor(Qt::black));
    EXPECT_EQ(QColor(shot.pixel(r.center().x(), 1)), QColor(Qt::white));
    EXPECT_EQ(QColor(shot.pixel(r.center().x(), 2)), QColor(Qt::black));
    // What a person sees: the form where it was, the outline where it goes.
    const QRect seen = f.form.geometry().united(outline->geometry()).adjusted(-20, -20, 20, 20);
    QImage screen(seen.size(), QImage::Format_RGB32);
    screen.fill(QColor(90, 120, 150));
    QPainter p(&screen);
    p.drawImage(f.form.pos() - seen.topLeft(), Grab(f.form));
    p.setClipRegion(mask.translated(outline->pos() - seen.topLeft()));
    p.drawImage(outline->pos() - seen.topLeft(), shot);
    p.end();
    SaveScreenshot(screen, "provider-drag-outline");
    QTest::mouseRelease(&f.form, Qt::LeftButton, {}, at + QPoint(60, 40));
}

// A drag that is given up leaves the form where it was: Escape (wherever
// the focus is), a release that never came, the form hidden, or a double
// click that maximises it.
TEST(TsSkinProviderDrag, OutlineGivenUpLeavesTheForm)
{
    SkinScope scope;
    DragForm f;
    const QRect start = f.form.geometry();
    const QPoint at = f.Probe(HTBOTTOMRIGHT);
    struct Case {
        const char* what;
        std::function<void()> giveUp;
    };
    const Case cases[] = {
        {"escape while an edit that takes it has the focus",
         [&] {
             ASSERT_TRUE(f.edit->hasFocus());
             f.edit->keys = 0;
             QTest::keyClick(f.form.windowHandle(), Qt::Key_Escape);
             EXPECT_EQ(f.edit->keys, 0);
         }},
        {"escape to the form", [&] { QTest::keyClick(&f.form, Qt::Key_Escape); }},
        {"release lost",
         [&] {
             const QPoint to = at + QPoint(50, 50);
             QMouseEvent move(QEvent::MouseMove, to, f.form.mapToGlobal(to), Qt::NoButton, Qt::NoButton, {});
             QCoreApplication::sendEvent(&f.form, &move);
         }},
        {"hidden",
         [&] {
             f.form.hide();
             f.form.show();
             QApplication::processEvents();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        f.edit->setFocus();
        QTest::mousePress(&f.form, Qt::LeftButton, {}, at);
        QTest::mouseMove(&f.form, at + QPoint(30, 30));
        ASSERT_NE(f.provider->DragOutline(), nullptr);
        c.giveUp();
        EXPECT_EQ(f.provider->DragOutline(), nullptr);
        EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
        // Neither the release nor any later move changes the form.
        QTest::mouseRelease(&f.form, Qt::LeftButton, {}, at + QPoint(40, 40));
        QTest::mouseMove(&f.form, at + QPoint(60, 60));
        EXPECT_EQ(f.form.geometry(), start);
    }

    // The second press of a double click starts a drag; the maximised form
    // keeps its new bounds when the button is let go.
    const QPoint caption = f.Probe(HTCAPTION);
    QTest::mousePress(&f.form, Qt::LeftButton, {}, caption);
    QTest::mouseRelease(&f.form, Qt::LeftButton, {}, caption);
    QTest::mousePress(&f.form, Qt::LeftButton, {}, caption);
    QTest::mouseDClick(&f.form, Qt::LeftButton, {}, caption);
    EXPECT_TRUE(f.form.isMaximized());
    EXPECT_EQ(f.provider->DragOutline(), nullptr);
    const QRect maximised = f.form.geometry();
    QTest::mouseRelease(&f.form, Qt::LeftButton, {}, caption);
    EXPECT_TRUE(f.form.isMaximized());
    EXPECT_EQ(f.form.geometry(), maximised);
    f.form.showNormal();
    EXPECT_EQ(f.form.geometry(), start);
}

// The outline stops where the form's limits stop it; the side across
// stays.
TEST(TsSkinProviderDrag, OutlineKeepsTheFormsLimits)
{
    SkinScope scope;
    DragForm f;
    f.form.setMinimumWidth(f.form.width() - 40);
    f.form.setMaximumHeight(f.form.height() + 30);
    const QRect start = f.form.geometry();
    QTest::mousePress(&f.form, Qt::LeftButton, {}, f.Probe(HTTOPLEFT));
    QTest::mouseMove(&f.form, f.Probe(HTTOPLEFT) + QPoint(100, -100));
    QTest::mouseRelease(&f.form, Qt::LeftButton, {}, f.Probe(HTTOPLEFT) + QPoint(100, -100));
    EXPECT_EQ(f.form.geometry(), start.adjusted(40, -30, 0, 0));
}

// With screen snap the outline snaps to the work area as it goes, and the
// form takes the snapped place; a side 10 pixels short stays where it was
// dragged.
TEST(TsSkinProviderDrag, SnappedOutlineAndLiveDrag)
{
    SkinScope scope;
    DragForm f;
    f.provider->ScreenSnap = true;
    const QRect work = f.form.screen()->availableGeometry();
    const QPoint start(work.right() + 1 - f.form.width() - 40, work.top() + 50);
    struct Case {
        const char* what;
        TsResizeMode mode;
        int travel, right;
    };
    const Case cases[] = {
        {"outline 9 short", rmBorder, 31, work.right()},
        {"outline 10 short", rmBorder, 30, work.right() - 10},
        {"live 9 short", rmStandard, 31, work.right()},
        {"live 10 short", rmStandard, 30, work.right() - 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        f.provider->ResizeMode = c.mode;
        f.form.move(start);
        const QPoint at = f.Probe(HTCAPTION);
        QTest::mousePress(&f.form, Qt::LeftButton, {}, at);
        QTest::mouseMove(&f.form, at + QPoint(c.travel, 0));
        if (c.mode == rmBorder) {
            ASSERT_NE(f.provider->DragOutline(), nullptr);
            EXPECT_EQ(f.provider->DragOutline()->geometry().right(), c.right);
            EXPECT_EQ(f.form.pos(), start);
        } else {
            EXPECT_EQ(f.provider->DragOutline(), nullptr);
            EXPECT_EQ(f.form.geometry().right(), c.right);
        }
        QTest::mouseRelease(&f.form, Qt::LeftButton, {}, at + QPoint(c.travel, 0));
        EXPECT_EQ(f.form.geometry().right(), c.right);
        EXPECT_EQ(f.form.y(), start.y());
    }
}

// A sub-window's outline lies over it on the screen; the release moves it
// within its area.
TEST(TsSkinProviderDrag, SubWindowOutlineOnTheScreen)
{
    SkinScope scope;
    QMainWindow window;
    auto* area = new QMdiArea;
    window.setCentralWidget(area);
    QMdiSubWindow* sub = area->addSubWindow(new QLabel("Buffer 1"));
    sub->setWindowTitle("Buffer 1");
    sub->setGeometry(20, 20, 220, 140);
    window.setGeometry(200, 150, 520, 360);
    new TsSkinProvider(&window);
    window.show();
    QApplication::processEvents();
    TsSkinProvider* provider = GetSkinProvider(sub);
    ASSERT_NE(provider, nullptr);
    ASSERT_TRUE(provider->FrameActive());
    provider->ResizeMode = rmBorder;
    const QRect start = sub->geometry();
    const QPoint at(sub->width() / 3, provider->FormBorderWidth() + provider->CaptionHeight() / 2);
    ASSERT_EQ(provider->HitTest({at.x(), at.y()}), HTCAPTION);
    QTest::mousePress(sub, Qt::LeftButton, {}, at);
    QTest::mouseMove(sub, at + QPoint(35, 25));
    ASSERT_NE(provider->DragOutline(), nullptr);
    EXPECT_EQ(provider->DragOutline()->geometry(),
              QRect(sub->mapToGlobal(QPoint(0, 0)), sub->size()).translated(35, 25));
    EXPECT_EQ(sub->geometry(), start);
    QTest::mouseRelease(sub, Qt::LeftButton, {}, at + QPoint(35, 25));
    EXPECT_EQ(provider->DragOutline(), nullptr);
    EXPECT_EQ(sub->geometry(), start.translated(35, 25));
}

// The system menu's Move and Size, where the provider drags: the outline
// (or, with snap, the form itself) follows the pointer with no button held
// until a click ends the drag; Escape gives it up. Where the window system
// drags, the provider leaves the command alone.
TEST(TsSkinProviderDrag, MenuMoveAndSizeFollowThePointerUntilAClick)
{
    SkinScope scope;
    DragForm f;
    struct Case {
        const char* what;
        TsResizeMode mode;
        bool snap;
        int command;
        bool escape;
        QMargins dragged; // the sides' travel outwards
    };
    const QPoint travel(30, 20);
    const Case cases[] = {
        {"outline move", rmBorder, false, scMove, false, {-30, -20, 30, 20}},
        {"outline size", rmBorder, false, scSize, false, {0, 0, 30, 20}},
        {"outline given up", rmBorder, false, scMove, true, {-30, -20, 30, 20}},
        {"snapping move", rmStandard, true, scMove, false, {-30, -20, 30, 20}},
        {"snapping move given up", rmStandard, true, scMove, true, {-30, -20, 30, 20}},
        {"window system's move", rmStandard, false, scMove, false, {}},
        {"window system's size with snap", rmStandard, true, scSize, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        f.provider->ResizeMode = c.mode;
        f.provider->ScreenSnap = c.snap;
        const QRect start = f.form.geometry();
        const QPoint at = f.form.rect().center();
        QCursor::setPos(f.form.mapToGlobal(at));
        SendSysCommand(&f.form, c.command);
        QApplication::processEvents();
        EXPECT_EQ(f.provider->DragOutline() != nullptr, c.mode == rmBorder);
        const QPoint to = at + travel;
        QMouseEvent move(QEvent::MouseMove, to, f.form.mapToGlobal(to), Qt::NoButton, Qt::NoButton, {});
        QCoreApplication::sendEvent(&f.form, &move);
        if (c.mode == rmBorder) {
            ASSERT_NE(f.provider->DragOutline(), nullptr);
            EXPECT_EQ(f.provider->DragOutline()->geometry(), Grown(start, c.dragged));
            EXPECT_EQ(f.form.geometry(), start);
        } else {
            EXPECT_EQ(f.form.geometry(), Grown(start, c.dragged));
        }
        if (c.escape)
            QTest::keyClick(&f.form, Qt::Key_Escape);
        else
            QTest::mouseClick(&f.form, Qt::LeftButton, {}, f.form.mapFromGlobal(QCursor::pos()));
        EXPECT_EQ(f.provider->DragOutline(), nullptr);
        EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
        EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
        EXPECT_EQ(f.form.geometry(), c.escape ? start : Grown(start, c.dragged));
        f.form.setGeometry(start);
    }
}
