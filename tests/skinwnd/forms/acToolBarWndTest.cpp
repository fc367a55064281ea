#include "skinwnd/forms/acToolBarWnd.h"

#include "AdapterTestSkin.h"
#include "skinwnd/forms/acSBUtils.h"

#include <QAction>
#include <QEnterEvent>
#include <QToolBar>
#include <QToolButton>

using namespace adaptertest;

TEST(TacToolBarWnd, CaptionSplitAtTheLastBlankThatFits)
{
    // Every character is 10 pixels wide.
    const auto measure = [](const std::string& s) { return int(s.size()) * 10; };
    struct Case {
        const char* text;
        int width;
        const char* first;
        const char* second;
    };
    const Case cases[] = {
        {"Read the chip", 100, "Read the", "chip"},
        {"Read the chip", 50, "Read", "the chip"},
        {"Read the chip", 30, "Read the chip", ""},
        {"Verify", 20, "Verify", ""},
        {"Read the chip", 200, "Read the", "chip"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + std::string(" in ") + std::to_string(c.width));
        const auto parts = TacToolBarWnd::SplitCaption(c.text, c.width, measure);
        EXPECT_EQ(parts.first, c.first);
        EXPECT_EQ(parts.second, c.second);
    }
}

namespace {

struct BarForm {
    QWidget form;
    QToolBar* bar;
    QToolButton* read;
    QToolButton* write;
    QToolButton* off;
    BarForm()
    {
        // Away from the cursor, which would make a button hot on its own.
        form.setGeometry(400, 400, 300, 40);
        bar = new QToolBar(&form);
        bar->setGeometry(0, 0, 300, 34);
        bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
        read = Button(bar->addAction("Read"));
        write = Button(bar->addAction("Write"));
        write->defaultAction()->setCheckable(true);
        off = Button(bar->addAction("Off"));
        off->defaultAction()->setEnabled(false);
        form.show();
        QApplication::processEvents();
    }
    QToolButton* Button(QAction* a) { return static_cast<QToolButton*>(bar->widgetForAction(a)); }
};

} // namespace

TEST(TacToolBarWnd, ButtonsInTheirStates)
{
    SkinScope scope;
    BarForm f;
    const QImage plainRead = Grab(f.read);
    TacMainWnd* adapter = TacMainWnd::Create<TacToolBarWnd>(f.bar);
    auto* a = static_cast<TacToolBarWnd*>(adapter);
    EXPECT_EQ(adapter->SkinData()->SkinSection(), "BAR");
    const TSkinPalette p = ProjectPalette();
    const TsGeneralData& button = scope.Section("TOOLBUTTON");

    const QImage normal = Grab(f.read);
    EXPECT_NE(normal, plainRead);
    EXPECT_EQ(a->ButtonState(f.read), 0);
    EXPECT_GT(PixelsOf(normal, scope.Section("BAR").FontColor), 0);

    QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
    QApplication::sendEvent(f.read, &enter);
    EXPECT_EQ(a->ButtonState(f.read), 1);
    const QImage hot = Grab(f.read);
    EXPECT_GT(PixelsOf(hot, p.Accent), 0);
    EXPECT_GT(PixelsOf(hot, button.HotFontColor), 0);

    f.write->defaultAction()->setChecked(true);
    EXPECT_EQ(a->ButtonState(f.write), 2);
    EXPECT_GT(PixelsOf(Grab(f.write), button.HotFontColor), 0);

    EXPECT_EQ(a->ButtonState(f.off), 0);
    EXPECT_EQ(PixelsOf(Grab(f.off), scope.Section("BAR").FontColor), 0);

    // A button added later is painted as well.
    QToolButton* later = f.Button(f.bar->addAction("Later"));
    QApplication::processEvents();
    EXPECT_GT(PixelsOf(Grab(later), scope.Section("BAR").FontColor), 0);

    DetachWnd(f.bar, true, adapter);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(f.read, &leave);
    EXPECT_EQ(Grab(f.read), plainRead);
}
