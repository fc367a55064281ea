#include "skin/forms/sVclUtils.h"

#include "skin/forms/acSkinCommand.h"

#include "platform/forms/BitmapImage.h"
#include "skin/forms/acSkinText.h"
#include "skin/forms/sCommonData.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

const uint16_t Probe = 42;

// Answers the probe with a set value and counts what it gets.
class TAnswering : public QWidget {
public:
    using QWidget::QWidget;
    intptr_t answer = 0;
    int probes = 0;
    // Answers to other sub-codes, and every sub-code received in order.
    std::map<uint16_t, intptr_t> answers;
    std::vector<uint16_t> received;
    bool event(QEvent* e) override
    {
        if (e->type() != SkinCommandEventType())
            return QWidget::event(e);
        auto* c = static_cast<TSkinCommandEvent*>(e);
        received.push_back(c->SubCode());
        if (c->SubCode() == Probe) {
            ++probes;
            c->Result = answer;
        } else if (answers.count(c->SubCode()))
            c->Result = answers[c->SubCode()];
        return true;
    }
};

TEST(sVclUtils, OnlyAnAnswerOfOneCountsAsYes)
{
    const struct {
        intptr_t answer;
        bool yes;
    } cases[] = {{0, false}, {1, true}, {2, false}, {0x101, false}, {-1, false}};
    TAnswering w;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        w.answer = c.answer;
        EXPECT_EQ(WindowAnswersCommand(&w, Probe), c.yes);
        EXPECT_EQ(QueryControlCommand(&w, Probe), c.answer);
    }
    EXPECT_FALSE(WindowAnswersCommand(nullptr, Probe));
}

TEST(sVclUtils, ChildWindowBroadcastSkipsGrandchildren)
{
    TAnswering parent;
    auto* a = new TAnswering(&parent);
    auto* b = new TAnswering(&parent);
    auto* grandchild = new TAnswering(a);
    BroadcastToChildWindows(&parent, Probe, 0);
    EXPECT_EQ(parent.probes, 0);
    EXPECT_EQ(a->probes, 1);
    EXPECT_EQ(b->probes, 1);
    EXPECT_EQ(grandchild->probes, 0);
}

// A plain widget filled with one colour.
class TFlat : public QWidget {
public:
    QColor colour = Qt::black;
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), colour); }
};

struct FadeRun {
    std::vector<int> reds; // of the output window at each wait
    int waits = 0;
    bool animatingWhileWaiting = true;
    bool updatesBack = false;
};

FadeRun Fade(int time)
{
    QWidget form;
    auto* flat = new TFlat(&form);
    flat->setGeometry(10, 10, 40, 20);
    form.resize(80, 60);
    form.show();
    FadeRun run;
    AnimationSleep = [&run](int ms) {
        EXPECT_EQ(ms, 8);
        ++run.waits;
        run.animatingWhileWaiting = run.animatingWhileWaiting && FormAnimating;
        if (TOutputWindow* out = OutputWindow())
            run.reds.push_back(qRed(out->grab().toImage().pixel(20, 10)));
    };
    ShowOutputOver(flat);
    EXPECT_NE(OutputWindow(), nullptr);
    EXPECT_EQ(OutputWindow()->geometry(), flat->geometry());
    flat->setUpdatesEnabled(false); // frozen while it changes
    flat->colour = Qt::white;       // the new look, hidden under the frozen picture
    AnimateRepaint(flat, time);
    run.updatesBack = flat->updatesEnabled();
    AnimationSleep = nullptr;
    return run;
}

TEST(sVclUtils, FadeRunsOneFramePerEightMillisecondsOnVirtualTime)
{
    const struct {
        int time, waits;
    } cases[] = {{7, 0}, {80, 9}, {4000, 254}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.time);
        const FadeRun run = Fade(c.time);
        EXPECT_EQ(run.waits, c.waits);
        EXPECT_TRUE(run.animatingWhileWaiting);
        EXPECT_TRUE(run.updatesBack);
        EXPECT_FALSE(FormAnimating);
        EXPECT_EQ(OutputWindow(), nullptr);
        // The frozen black fades toward the new white.
        for (size_t i = 1; i < run.reds.size(); ++i)
            EXPECT_GE(run.reds[i], run.reds[i - 1]);
        if (!run.reds.empty()) {
            EXPECT_LT(run.reds.front(), 64);
            EXPECT_GT(run.reds.back(), 128);
        }
    }
}

TEST(sVclUtils, FadeOfAWindowLeavesItActiveAndDrawsItsChildren)
{
    TFlat form;
    form.colour = Qt::black;
    form.resize(80, 60);
    auto* child = new TFlat(&form);
    child->colour = Qt::white;
    child->setGeometry(10, 10, 40, 20);
    form.show();
    form.activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), &form);
    std::vector<QRgb> shown; // the child's place in the output window
    AnimationSleep = [&](int) {
        EXPECT_EQ(QApplication::activeWindow(), &form);
        ASSERT_NE(OutputWindow(), nullptr);
        EXPECT_TRUE(OutputWindow()->isWindow());
        EXPECT_EQ(OutputWindow()->geometry(), form.frameGeometry());
        shown.push_back(OutputWindow()->grab().toImage().pixel(20, 15));
        QApplication::processEvents(); // as a real wait pumps
    };
    // Frozen for a change: the picture shows the form without its child,
    // which fades in.
    form.setUpdatesEnabled(false);
    QImage bare(form.size(), QImage::Format_RGB32);
    bare.fill(Qt::black);
    ShowOutputOver(&form, bare);
    AnimateRepaint(&form, 40);
    AnimationSleep = nullptr;
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), &form);
    EXPECT_TRUE(form.updatesEnabled());
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(qRed(shown.front()), 0);
    EXPECT_GT(qRed(shown.back()), 128); // the child is in the new look
}

TEST(sVclUtils, ControlColourComesFromTheLibraryWindowOrTheControl)
{
    EXPECT_EQ(GetControlColor(nullptr), 0xFF00FF);
    EXPECT_EQ(QueryWindowColor(nullptr), 0xFF00FF);
    QWidget plain;
    SetControlColor(&plain, RGB(1, 2, 3));
    EXPECT_EQ(GetControlColor(&plain), RGB(1, 2, 3));
    EXPECT_EQ(QueryWindowColor(&plain), 0); // nobody answered

    TAnswering library;
    SetControlColor(&library, RGB(9, 9, 9));
    library.answers[AC_GETBGCOLOR] = RGB(40, 50, 60);
    EXPECT_EQ(GetControlColor(&library), RGB(9, 9, 9)); // not a library window yet
    library.answers[AC_CTRLHANDLED] = 1;
    EXPECT_EQ(GetControlColor(&library), RGB(40, 50, 60));
    EXPECT_EQ(QueryWindowColor(&library), RGB(40, 50, 60));
}

TEST(sVclUtils, ChildUpdatesReachVisibleWindowedChildrenOnly)
{
    TAnswering parent;
    auto* shown = new TAnswering(&parent);
    auto* hidden = new TAnswering(&parent);
    auto* label = new QLabel(&parent); // a graphic control: never asked
    auto* grandchild = new TAnswering(shown);
    auto* window = new TAnswering(&parent);
    window->setWindowFlag(Qt::Window);
    hidden->hide();
    parent.show();
    window->hide();
    const auto count = [](const TAnswering* w) {
        return std::count(w->received.begin(), w->received.end(), uint16_t(AC_CHECKUPDATING));
    };
    FormAnimating = true;
    UpdateChildControls(&parent);
    EXPECT_EQ(count(shown), 0);
    FormAnimating = false;
    UpdateChildControls(&parent);
    EXPECT_EQ(count(shown), 1);
    EXPECT_EQ(count(hidden), 0);
    EXPECT_EQ(count(grandchild), 0);
    EXPECT_EQ(count(&parent), 0);
    UpdateChildWindows(&parent);
    EXPECT_EQ(count(shown), 2);
    EXPECT_EQ(count(hidden), 1); // child windows are asked shown or not
    EXPECT_EQ(count(window), 0);
    EXPECT_TRUE(IsGraphicControl(label));
}

TEST(sVclUtils, GraphicControlsAreTheWindowlessKinds)
{
    QWidget parent;
    QToolButton speed(&parent), tool(&parent);
    speed.setAutoRaise(true);
    QFrame bevel(&parent);
    QLabel label(&parent);
    QPushButton button(&parent);
    QWidget widget(&parent);
    const struct {
        const QWidget* w;
        bool graphic;
    } cases[] = {{&speed, true}, {&tool, false}, {&bevel, true}, {&label, true}, {&button, false}, {&widget, false}};
    for (const auto& c : cases)
        EXPECT_EQ(IsGraphicControl(c.w), c.graphic) << c.w->metaObject()->className();
}

TEST(sVclUtils, OwnerFormAndTopParent)
{
    QWidget form;
    QWidget panel(&form);
    QWidget edit(&panel);
    QWidget dialog(&form, Qt::Dialog);
    QObject helper(&edit);
    EXPECT_EQ(GetOwnerForm(&edit), &form);
    EXPECT_EQ(GetOwnerForm(&helper), &form);
    EXPECT_EQ(GetOwnerForm(&form), nullptr);
    EXPECT_EQ(GetOwnerForm(nullptr), nullptr);
    EXPECT_EQ(GetTopParentWindow(&edit), &form);
    EXPECT_EQ(GetTopParentWindow(&dialog), &form);
    EXPECT_EQ(GetTopParentWindow(&form), &form);

    TAnswering owner;
    QWidget control(&owner);
    AddToParentAdapter(&control);
    ASSERT_EQ(owner.received.size(), 1u);
    EXPECT_EQ(owner.received[0], AC_ADAPTCONTROL);
}

TEST(sVclUtils, DrawTextFlagsFollowAlignmentAndReadingOrder)
{
    QWidget ltr, rtl;
    rtl.setLayoutDirection(Qt::RightToLeft);
    const unsigned base = DT_VCENTER | DT_EXPANDTABS;
    const struct {
        const QWidget* w;
        TAlignment a;
        unsigned flags;
    } cases[] = {
        {&ltr, taLeftJustify, base | DT_LEFT},
        {&ltr, taRightJustify, base | DT_RIGHT},
        {&ltr, taCenter, base | DT_CENTER},
        {&rtl, taLeftJustify, base | DT_RIGHT | DT_RTLREADING},
        {&rtl, taRightJustify, base | DT_LEFT | DT_RTLREADING},
        {&rtl, taCenter, base | DT_CENTER | DT_RTLREADING},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetDrawTextFlags(c.w, c.a), c.flags) << int(c.a);
    EXPECT_EQ(GetDrawTextFlags(&ltr, taCenter), 0x45u);
}

TEST(sVclUtils, ClientRectInsideTheFrame)
{
    QWidget form;
    QFrame& frame = *new QFrame(&form);
    frame.setFrameStyle(QFrame::Box | QFrame::Plain);
    frame.setLineWidth(3);
    frame.resize(50, 40);
    EXPECT_EQ(GetClientRectInWindow(&frame), (TRect{3, 3, 47, 37}));
    QWidget& plain = *new QWidget(&form);
    plain.resize(20, 10);
    EXPECT_EQ(GetClientRectInWindow(&plain), (TRect{0, 0, 20, 10}));
    form.resize(30, 30);
    EXPECT_EQ(GetClientRectInWindow(nullptr), (TRect{}));
}

TEST(sVclUtils, ChildOrderAfterASibling)
{
    QWidget parent;
    auto* a = new QWidget(&parent);
    auto* b = new QWidget(&parent);
    auto* c = new QWidget(&parent);
    const auto order = [&parent] { return parent.findChildren<QWidget*>(Qt::FindDirectChildrenOnly); };
    SetChildOrderAfter(c, a);
    EXPECT_EQ(order(), (QWidgetList{a, c, b}));
    SetChildOrderAfter(a, b);
    EXPECT_EQ(order(), (QWidgetList{c, b, a}));
    QWidget stranger;
    SetChildOrderAfter(a, &stranger);
    EXPECT_EQ(order(), (QWidgetList{c, b, a}));
}

// A label that paints itself in one colour.
class TSwatch : public QLabel {
public:
    QColor colour;
    TSwatch(QWidget* parent, QColor c) : QLabel(parent), colour(c) {}

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), colour); }
};

TBitmap Canvas(int w, int h, TColor fill)
{
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    b.SetSize(w, h);
    b.FillRect(TRect{0, 0, w, h}, fill);
    return b;
}

TEST(sVclUtils, FormPaintsWithItsChildrenAndHiddenControlsShowTheirParent)
{
    TFlat form;
    form.colour = QColor(0, 0, 200);
    form.resize(40, 30);
    auto* child = new TFlat(&form);
    child->colour = QColor(0, 200, 0);
    child->setGeometry(10, 10, 10, 10);
    form.show();
    TBitmap bmp = Canvas(60, 50, clWhite);
    PaintFormTo(bmp, &form, 5, 5);
    EXPECT_EQ(bmp.Pixel(2, 2), clWhite);
    EXPECT_EQ(bmp.Pixel(7, 7), RGB(0, 0, 200));
    EXPECT_EQ(bmp.Pixel(17, 17), RGB(0, 200, 0));
    EXPECT_EQ(bmp.Pixel(46, 36), clWhite);

    SetControlColor(&form, RGB(0, 0, 90));
    child->hide();
    TBitmap place = Canvas(20, 20, clWhite);
    PaintFormTo(place, child, 2, 2);
    EXPECT_EQ(place.Pixel(1, 1), clWhite);
    EXPECT_EQ(place.Pixel(3, 3), RGB(0, 0, 90));
    EXPECT_EQ(place.Pixel(12, 12), clWhite);
}

TEST(sVclUtils, GraphicChildrenPaintOverTheParentBackground)
{
    TAnswering parent;
    parent.resize(60, 40);
    SetControlColor(&parent, RGB(30, 30, 30));
    auto* red = new TSwatch(&parent, QColor(200, 0, 0));
    red->setGeometry(5, 5, 10, 10);
    auto* keyed = new TSwatch(&parent, QColor(255, 0, 255)); // leaves its place alone
    keyed->setGeometry(20, 5, 10, 10);
    auto* hidden = new TSwatch(&parent, QColor(0, 200, 0));
    hidden->setGeometry(35, 5, 10, 10);
    auto* button = new TFlat(&parent); // a windowed control: not painted here
    button->colour = QColor(0, 0, 200);
    button->setGeometry(5, 20, 10, 10);
    auto* clear = new QLabel(&parent); // paints nothing: the parent shows
    clear->setGeometry(35, 20, 10, 10);
    parent.show();
    hidden->hide();

    TBitmap dc = Canvas(80, 60, clWhite);
    PaintGraphicChildren(dc, &parent, TPoint{10, 10});
    EXPECT_EQ(dc.Pixel(17, 17), RGB(200, 0, 0));
    EXPECT_EQ(dc.Pixel(32, 17), clWhite);
    EXPECT_EQ(dc.Pixel(47, 17), clWhite);
    EXPECT_EQ(dc.Pixel(17, 32), clWhite);
    EXPECT_EQ(dc.Pixel(47, 32), RGB(30, 30, 30));
    EXPECT_EQ(dc.Pixel(5, 5), clWhite);

    // Nowhere to paint: the parent hears it is out of view.
    TBitmap none;
    parent.received.clear();
    PaintGraphicChildren(none, &parent, TPoint{});
    EXPECT_EQ(parent.received, std::vector<uint16_t>{AC_SETOUTOFVIEW});
}

TEST(sVclUtils, ToolBarButtonsAreLeftToTheBar)
{
    QToolBar bar;
    bar.addAction(QStringLiteral("Go"));
    bar.resize(80, 30);
    bar.show();
    QToolButton* button = bar.findChild<QToolButton*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(IsGraphicControl(button)); // a tool bar raises its buttons
    TBitmap dc = Canvas(80, 30, RGB(1, 2, 3));
    PaintGraphicChildren(dc, &bar, TPoint{});
    const QRect g = button->geometry();
    EXPECT_EQ(dc.Pixel(g.center().x(), g.center().y()), RGB(1, 2, 3));
}

} // namespace
