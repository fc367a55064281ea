#include "skinwnd/forms/acBtnWnd.h"

#include "AdapterTestSkin.h"
#include "Screenshot.h"
#include "skin/acBitmapHelpers.h"
#include "skin/forms/acGlow.h"
#include "skin/forms/acLayeredWindow.h"
#include "skin/forms/acSkinCommand.h"
#include "skinwnd/forms/acSBUtils.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include <functional>

using namespace adaptertest;

namespace {

// The project skin with translucent windows forced on (the offscreen
// platform has none) and a form of two skinned buttons away from the cursor.
struct GlowForm {
    SkinScope scope;
    QWidget form;
    QPushButton* button;
    QPushButton* other;
    TacMainWnd* adapter = nullptr;
    TacMainWnd* otherAdapter = nullptr;

    explicit GlowForm(const std::string& section = {})
    {
        SetLayeredWindowsAvailable(true);
        form.setGeometry(300, 300, 200, 90);
        button = new QPushButton("Press", &form);
        button->setGeometry(10, 10, 120, 32);
        button->setFocusPolicy(Qt::NoFocus);
        other = new QPushButton("Other", &form);
        other->setGeometry(10, 50, 120, 30);
        other->setFocusPolicy(Qt::NoFocus);
        form.show();
        QApplication::processEvents();
        adapter = TacMainWnd::Create<TacBtnWnd>(button, section);
        otherAdapter = TacMainWnd::Create<TacBtnWnd>(other);
    }
    ~GlowForm()
    {
        DetachWnd(button, true, adapter);
        DetachWnd(other, true, otherAdapter);
        ClearGlows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SetLayeredWindowsAvailable(false);
    }
};

// What the window system does when the cursor crosses a widget's edge: the
// under-mouse mark first, then the event.
void SendEnter(QWidget* w)
{
    w->setAttribute(Qt::WA_UnderMouse, true);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(w, &enter);
}

void SendLeave(QWidget* w)
{
    w->setAttribute(Qt::WA_UnderMouse, false);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(w, &leave);
}

void SendPress(QWidget* w)
{
    QMouseEvent e(QEvent::MouseButtonPress, QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                  Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// Glow windows still alive once deferred deletions have run.
std::vector<QWidget*> LiveGlowWindows()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    std::vector<QWidget*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (dynamic_cast<TacLayeredWindow*>(w))
            out.push_back(w);
    return out;
}

TRect GlowMaskMargins(const SkinScope& scope)
{
    const TacSkinContent& skin = *scope.manager->Content();
    const int i = skin.FindMaskIndex("BUTTON", "GLOW0");
    EXPECT_GE(i, 0);
    return {skin.GetMaskMarginLeft(i), skin.GetMaskMarginTop(i), skin.GetMaskMarginRight(i),
            skin.GetMaskMarginBottom(i)};
}

} // namespace

TEST(TacBtnWndGlow, HotButtonShowsItsSectionsGlow)
{
    GlowForm f;
    const int margin = f.scope.Section("BUTTON").GlowMargin;
    ASSERT_GE(f.scope.Section("BUTTON").GlowCount, 1);
    const TRect m = GlowMaskMargins(f.scope);
    SendEnter(f.button);
    ASSERT_TRUE(static_cast<TacBtnWnd*>(f.adapter)->Hot());
    const std::vector<QWidget*> glows = LiveGlowWindows();
    ASSERT_EQ(glows.size(), 1u);
    // The halo stands out by the mask's margins less the section's margin.
    const QRect b(f.button->mapToGlobal(QPoint(0, 0)), f.button->size());
    EXPECT_EQ(glows[0]->geometry(), QRect(b.left() + margin - m.Left, b.top() + margin - m.Top,
                                          b.width() + m.Left + m.Right - 2 * margin,
                                          b.height() + m.Top + m.Bottom - 2 * margin));
    EXPECT_TRUE(glows[0]->isVisible());
    EXPECT_GE(f.adapter->SkinData()->GlowID, 0);

    // A second enter keeps the one halo.
    SendEnter(f.button);
    EXPECT_EQ(LiveGlowWindows().size(), 1u);

    // The form with the halo laid over it, as a compositor shows it.
    QImage shot = f.form.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    {
        QPainter p(&shot);
        p.drawImage(glows[0]->geometry().topLeft() - f.form.geometry().topLeft(),
                    static_cast<TacLayeredWindow*>(glows[0])->Image());
    }
    EXPECT_TRUE(SaveScreenshot(shot, "hot-button-glow"));
    // The halo is clear over the button's middle and tinted at its rim.
    const QImage halo = static_cast<TacLayeredWindow*>(glows[0])->Image();
    EXPECT_EQ(qAlpha(halo.pixel(halo.width() / 2, halo.height() / 2)), 0);
    EXPECT_GT(qAlpha(halo.pixel(halo.width() / 2, m.Top - margin)), 0);
}

TEST(TacBtnWndGlow, GlowGoesAway)
{
    struct Case {
        const char* what;
        std::function<void(GlowForm&)> act;
    };
    const Case cases[] = {
        {"leave", [](GlowForm& f) { SendLeave(f.button); }},
        {"press", [](GlowForm& f) { SendPress(f.button); }},
        {"disable", [](GlowForm& f) { f.button->setEnabled(false); }},
        {"hide", [](GlowForm& f) { f.button->hide(); }},
        {"move", [](GlowForm& f) { f.button->move(20, 12); }},
        {"skin off", [](GlowForm& f) { f.scope.manager->SetActive(false); }},
        {"skin switch", [](GlowForm& f) { f.scope.manager->SetSkinName("Dusk.asz"); }},
        {"manager gone", [](GlowForm& f) { f.scope.manager.reset(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GlowForm f;
        SendEnter(f.button);
        ASSERT_EQ(LiveGlowWindows().size(), 1u);
        c.act(f);
        QApplication::processEvents();
        EXPECT_TRUE(LiveGlowWindows().empty());
        EXPECT_FALSE(f.adapter->SkinData()->GlowShown());
    }
}

TEST(TacBtnWndGlow, NoGlowWhereNoneIsDue)
{
    struct Case {
        const char* what;
        std::string section;
        bool allowGlowing, translucent;
    };
    const Case cases[] = {
        {"section without a glow", "COMBOBTN", true, true},
        {"glowing not allowed", "", false, true},
        {"no translucent windows", "", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GlowForm f(c.section);
        f.scope.manager->SetAllowGlowing(c.allowGlowing);
        SetLayeredWindowsAvailable(c.translucent);
        SendEnter(f.button);
        EXPECT_TRUE(static_cast<TacBtnWnd*>(f.adapter)->Hot());
        EXPECT_TRUE(LiveGlowWindows().empty());
        EXPECT_EQ(f.adapter->SkinData()->GlowID, -1);
    }
}

TEST(TacBtnWndGlow, DeletedHotButtonLeavesNoGlow)
{
    GlowForm f;
    SendEnter(f.button);
    ASSERT_EQ(LiveGlowWindows().size(), 1u);
    delete f.button;
    f.button = nullptr;
    EXPECT_TRUE(LiveGlowWindows().empty());
    DetachWnd(nullptr, true, f.adapter);
}

// A control that is not a push button, answering its events through the
// common message path of its skin state.
struct PlainControl {
    struct Filter : QObject {
        TsCommonData* d;
        explicit Filter(TsCommonData* data) : d(data) {}
        bool eventFilter(QObject*, QEvent* e) override { return HandleCommonMessage(e, d); }
    };
    QWidget* w;
    TsCommonData data;
    Filter filter{&data};
    PlainControl(QWidget* parent, const QRect& r) : w(new QWidget(parent)), data(w, true)
    {
        w->setGeometry(r);
        w->show();
        data.SetSkinSection("BUTTON");
        w->installEventFilter(&filter);
    }
    ~PlainControl() { w->removeEventFilter(&filter); }
};

TEST(TacBtnWndGlow, AnOldIndexDoesNotHideAnotherControlsGlow)
{
    GlowForm f;
    auto plain = std::make_unique<PlainControl>(&f.form, QRect(140, 10, 50, 30));
    SendEnter(plain->w);
    ASSERT_TRUE(plain->data.GlowShown());
    // As a pressed push button does: every halo goes, the index stays.
    ClearGlows();
    SendEnter(f.button);
    const std::vector<QWidget*> glows = LiveGlowWindows();
    ASSERT_EQ(glows.size(), 1u);
    EXPECT_EQ(f.adapter->SkinData()->GlowID, plain->data.GlowID);
    plain.reset();
    EXPECT_EQ(LiveGlowWindows(), glows);
}

// Controls other than push buttons glow through the common message path
// when their section has a glow.
TEST(TsCommonDataGlow, ControlGlowsWhileTheMouseIsOverIt)
{
    SkinScope scope;
    SetLayeredWindowsAvailable(true);
    struct Case {
        const char* what;
        std::function<void(QWidget*)> act;
    };
    const Case cases[] = {
        {"leave", [](QWidget* w) { SendLeave(w); }},
        {"moved", [](QWidget* w) { w->move(30, 30); }},
        {"resized", [](QWidget* w) { w->resize(90, 40); }},
        {"hidden", [](QWidget* w) { w->hide(); }},
        {"disabled", [](QWidget* w) { w->setEnabled(false); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QWidget form;
        form.setGeometry(300, 300, 200, 90);
        PlainControl control(&form, QRect(20, 20, 80, 30));
        form.show();
        QApplication::processEvents();
        SendEnter(control.w);
        ASSERT_EQ(LiveGlowWindows().size(), 1u);
        c.act(control.w);
        EXPECT_TRUE(LiveGlowWindows().empty());
        EXPECT_EQ(control.data.GlowID, -1);
    }
    ClearGlows();
    SetLayeredWindowsAvailable(false);
}
