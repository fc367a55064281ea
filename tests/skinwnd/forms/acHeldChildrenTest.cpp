#include "skinwnd/forms/acHeldChildren.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// A parent with three labels and a holder that records what it sees and
// swallows paint events.
struct Held {
    QWidget parent;
    QObject owner;
    std::vector<QLabel*> labels;
    std::vector<std::pair<QWidget*, QEvent::Type>> seen;
    TacHeldChildren* held;
    Held()
    {
        for (const char* t : {"One", "Two", "Three"})
            labels.push_back(new QLabel(t, &parent));
        held = new TacHeldChildren(&owner, [this](QWidget* child, QEvent* event) {
            seen.emplace_back(child, event->type());
            return event->type() == QEvent::Paint;
        });
    }
    int SeenOf(QWidget* w, QEvent::Type type) const
    {
        return int(std::count(seen.begin(), seen.end(), std::pair{w, type}));
    }
};

TEST(TacHeldChildren, HoldsEachChildOnceAndSeesItsEventsFirst)
{
    Held h;
    EXPECT_FALSE(h.held->Hold(nullptr));
    EXPECT_TRUE(h.held->Hold(h.labels[0]));
    EXPECT_FALSE(h.held->Hold(h.labels[0]));
    EXPECT_TRUE(h.held->Hold(h.labels[1]));
    EXPECT_EQ(h.held->Count(), 2);
    EXPECT_TRUE(h.held->Holds(h.labels[1]));
    EXPECT_FALSE(h.held->Holds(h.labels[2]));

    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(h.labels[0], &enter);
    QApplication::sendEvent(h.labels[2], &enter);
    EXPECT_EQ(h.SeenOf(h.labels[0], QEvent::Enter), 1); // once, though held twice
    EXPECT_EQ(h.SeenOf(h.labels[2], QEvent::Enter), 0);
}

// Hidden, shown or deleted while held: a deleted child is forgotten (no
// dangling pointer is touched, which the address checker would catch),
// the others are let go with their painting back.
TEST(TacHeldChildren, ChildrenHiddenShownOrDeletedWhileHeld)
{
    Held h;
    for (QLabel* l : h.labels)
        h.held->Hold(l);
    h.parent.show();
    QApplication::processEvents();
    h.labels[0]->hide();
    h.labels[0]->show();
    EXPECT_GE(h.SeenOf(h.labels[0], QEvent::Hide), 1);
    EXPECT_GE(h.SeenOf(h.labels[0], QEvent::Show), 1);

    delete h.labels[1];
    EXPECT_EQ(h.held->Count(), 2);
    EXPECT_FALSE(h.held->Holds(h.labels[1]));
    auto* late = new QLabel("Late", &h.parent);
    EXPECT_TRUE(h.held->Hold(late));
    EXPECT_EQ(h.held->Count(), 3);

    // Held, a child's own painting never runs; let go, it paints again.
    h.seen.clear();
    h.labels[2]->repaint();
    EXPECT_EQ(h.SeenOf(h.labels[2], QEvent::Paint), 1);
    h.held->ReleaseAll();
    EXPECT_EQ(h.held->Count(), 0);
    h.seen.clear();
    h.labels[2]->repaint();
    late->repaint();
    EXPECT_TRUE(h.seen.empty());
    delete h.labels[0];
    delete h.labels[2];
}

// A holder that goes first lets its living children go.
TEST(TacHeldChildren, DestroyedHolderLetsItsChildrenGo)
{
    QWidget parent;
    auto* label = new QLabel("One", &parent);
    int calls = 0;
    {
        QObject owner;
        auto* held = new TacHeldChildren(&owner, [&calls](QWidget*, QEvent*) { return ++calls, false; });
        held->Hold(label);
        held->Hold(new QLabel("Two", &parent));
        delete parent.findChildren<QLabel*>().back();
    }
    calls = 0;
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(label, &enter);
    EXPECT_EQ(calls, 0);
}

} // namespace
