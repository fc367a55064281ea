#include "skin/forms/sVclUtils.h"

#include "skin/forms/acSkinCommand.h"

#include <QApplication>
#include <QPainter>

#include <gtest/gtest.h>

#include <vector>

namespace {

const uint16_t Probe = 42;

// Answers the probe with a set value and counts what it gets.
class TAnswering : public QWidget {
public:
    using QWidget::QWidget;
    intptr_t answer = 0;
    int probes = 0;
    bool event(QEvent* e) override
    {
        if (e->type() != SkinCommandEventType())
            return QWidget::event(e);
        auto* c = static_cast<TSkinCommandEvent*>(e);
        if (c->SubCode() == Probe) {
            ++probes;
            c->Result = answer;
        }
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

} // namespace
