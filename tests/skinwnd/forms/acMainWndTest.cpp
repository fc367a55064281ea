#include "skinwnd/forms/acMainWnd.h"

#include "skin/forms/acSkinCommand.h"
#include "skin/forms/acSkinStartup.h"
#include "skinwnd/forms/acSBUtils.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <gtest/gtest.h>

#include <vector>

namespace {

// A skin manager with one section whose skin can be switched on and off.
class FakeManager : public TsSkinManager {
public:
    TsGeneralData section;
    bool active = true;
    QObject* hot = nullptr;
    bool Destroying() const override { return false; }
    bool Designing() const override { return false; }
    bool Active() const override { return active; }
    int SectionCount() const override { return 1; }
    bool IsValidSkinIndex(int i) const override { return i == 0; }
    int GetSkinIndex(const std::string& s) const override { return s == "EDIT" ? 0 : -1; }
    int GetTextureIndex(int, const std::string&, const std::string&) const override { return -1; }
    const TsGeneralData& Section(int) const override { return section; }
    const TsMaskData* Mask(int) const override { return nullptr; }
    bool AllowGlowing() const override { return false; }
    TColor GlobalColor() const override { return RGB(9, 9, 9); }
    TColor GlobalFontColor() const override { return 0; }
    void ClearRepaintFlag() override {}
    void SetActiveControl(QObject* w) override { hot = w; }
    void HookPopupMenu(QObject*) override {}
    const TacAnimEffects& AnimEffects() const override { return effects; }
    TacAnimEffects effects;
};

struct ManagerScope {
    FakeManager manager;
    ManagerScope()
    {
        SkinLibraryInitialization();
        DefaultSkinManager = &manager;
    }
    ~ManagerScope() { DefaultSkinManager = nullptr; }
    intptr_t Self() { return reinterpret_cast<intptr_t>(static_cast<TsSkinManager*>(&manager)); }
};

// A widget that writes down what reaches it.
class Recorder : public QWidget {
public:
    std::vector<int> seen;
    std::vector<int> commands;
    intptr_t bgAnswer = 0;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == SkinCommandEventType()) {
            auto& m = static_cast<TSkinCommandEvent&>(*e);
            commands.push_back(m.SubCode());
            if (m.SubCode() == AC_GETBGCOLOR)
                m.Result = bgAnswer;
            return true;
        }
        switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseMove:
        case QEvent::KeyPress:
        case QEvent::Resize:
        case QEvent::WindowTitleChange: seen.push_back(e->type()); break;
        default: break;
        }
        return QWidget::event(e);
    }
};

// The same input every time.
std::vector<int> SendInput(Recorder& w)
{
    w.seen.clear();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(3, 3), QPointF(3, 3), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&w, &press);
    QMouseEvent move(QEvent::MouseMove, QPointF(4, 4), QPointF(4, 4), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &move);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QApplication::sendEvent(&w, &key);
    w.resize(w.width() + 1, w.height());
    w.setWindowTitle(QString::number(w.width()));
    return w.seen;
}

// An adapter that colours its widget by the skin.
class ColourAdapter : public TacMainWnd {
public:
    ColourAdapter(QWidget* w, TsSkinManager* m) : TacMainWnd(w, false, "EDIT", m, nullptr) {}
    void SaveColors() override { SavePalette(); }
    void RestoreColors() override { RestorePalette(); }
    void Paint(TColor c, TColor f) { ApplyColors(c, f); }
};

} // namespace

TEST(TacMainWnd, AttachingAndDetachingLeavesEventsAsBefore)
{
    for (bool skinActive : {true, false}) {
        SCOPED_TRACE(skinActive ? "skin active" : "skin off");
        ManagerScope scope;
        scope.manager.active = skinActive;
        // A child of a shown form: its resizes arrive at once.
        QWidget form;
        Recorder& w = *new Recorder;
        w.setParent(&form);
        w.resize(50, 40);
        form.show();
        QApplication::processEvents();
        const std::vector<int> before = SendInput(w);
        ASSERT_EQ(before.size(), 5u);
        TacMainWnd* adapter = TacMainWnd::Create<ColourAdapter>(&w, &scope.manager);
        EXPECT_EQ(GetAdapterOf(&w), adapter);
        EXPECT_EQ(SendInput(w), before);
        // The mouse over the window makes it the manager's hot control.
        EXPECT_EQ(scope.manager.hot, &w);
        // The title change reached the widget once and the caption follows.
        EXPECT_EQ(adapter->Caption, QString::number(w.width()).toStdString());
        DetachWnd(&w, true, adapter);
        EXPECT_EQ(adapter, nullptr);
        EXPECT_EQ(GetAdapterOf(&w), nullptr);
        EXPECT_EQ(SendInput(w), before);
    }
}

TEST(TacMainWnd, CommandsAnsweredAndPassedOn)
{
    ManagerScope scope;
    FakeManager other;
    const intptr_t otherSelf = reinterpret_cast<intptr_t>(static_cast<TsSkinManager*>(&other));
    struct Case {
        const char* what;
        uint16_t subCode;
        bool ourManager;
        intptr_t widgetAnswer;
        intptr_t result;
        bool passedOn;
    };
    const Case cases[] = {
        {"new skin is passed on", AC_SETNEWSKIN, true, 0, 0, true},
        {"another manager's skin", AC_SETNEWSKIN, false, 0, 0, true},
        {"removal is passed on", AC_REMOVESKIN, true, 0, 0, true},
        {"refresh is ours", AC_REFRESH, true, 0, 0, false},
        {"another manager's refresh", AC_REFRESH, false, 0, 0, true},
        {"handled", AC_CTRLHANDLED, true, 0, 1, false},
        {"application", AC_GETAPPLICATION, true, 0, ApplicationAnswer(), false},
        {"widget's background colour kept", AC_GETBGCOLOR, true, RGB(1, 2, 3), RGB(1, 2, 3), true},
        {"unknown sub-code", 200, true, 0, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Recorder w;
        w.bgAnswer = c.widgetAnswer;
        TacMainWnd* adapter = TacMainWnd::Create<ColourAdapter>(&w, &scope.manager);
        const intptr_t result = SendSkinCommand(&w, c.subCode, 0, c.ourManager ? scope.Self() : otherSelf);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(!w.commands.empty(), c.passedOn);
        // Without an active skin every command reaches the widget.
        scope.manager.active = false;
        w.commands.clear();
        SendSkinCommand(&w, c.subCode, 0, scope.Self());
        EXPECT_EQ(w.commands.size(), 1u);
        scope.manager.active = true;
        DetachWnd(&w, true, adapter);
    }
}

TEST(TacMainWnd, PaletteRestoredExactlyOnDetach)
{
    ManagerScope scope;
    QWidget parent;
    QPalette parentPalette = parent.palette();
    parentPalette.setColor(QPalette::Window, QColor(10, 20, 30));
    parent.setPalette(parentPalette);
    struct Case {
        const char* what;
        bool ownPalette;
    };
    for (const Case& c : {Case{"follows its parent", false}, Case{"own palette", true}}) {
        SCOPED_TRACE(c.what);
        QWidget* w = new QWidget(&parent);
        if (c.ownPalette) {
            QPalette p = w->palette();
            p.setColor(QPalette::WindowText, QColor(200, 0, 0));
            w->setPalette(p);
        }
        const QPalette before = w->palette();
        TacMainWnd* adapter = TacMainWnd::Create<ColourAdapter>(w, &scope.manager);
        static_cast<ColourAdapter*>(adapter)->Paint(RGB(1, 2, 3), RGB(4, 5, 6));
        EXPECT_EQ(ControlColor(w), RGB(1, 2, 3));
        EXPECT_TRUE(adapter->SkinColorsApplied);
        EXPECT_EQ(adapter->SavedColor, ColorFromQColor(before.color(w->backgroundRole())));
        DetachWnd(w, true, adapter);
        EXPECT_EQ(w->palette(), before);
        EXPECT_EQ(w->testAttribute(Qt::WA_SetPalette), c.ownPalette);
        // Still following the parent when it had no palette of its own.
        parentPalette.setColor(QPalette::Window, QColor(40, 50, 60));
        parent.setPalette(parentPalette);
        if (!c.ownPalette) {
            EXPECT_EQ(w->palette().color(QPalette::Window), QColor(40, 50, 60));
        }
        delete w;
    }
}

TEST(TacMainWnd, DestroyedWindowDetachesItsAdapter)
{
    ManagerScope scope;
    auto* w = new Recorder;
    const QObject* key = w;
    TacMainWnd* adapter = TacMainWnd::Create<ColourAdapter>(w, &scope.manager);
    delete w;
    EXPECT_TRUE(adapter->Detached);
    EXPECT_EQ(GetAdapterOf(key), nullptr);
    EXPECT_EQ(adapter->WndHandle(), nullptr);
    // Detaching again and freeing touch no window.
    DetachWnd(nullptr, true, adapter);
    EXPECT_EQ(adapter, nullptr);
    TacMainWnd* none = nullptr;
    DetachWnd(nullptr, true, none);
}
