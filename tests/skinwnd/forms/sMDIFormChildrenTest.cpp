// The MDI form made by the provider, and the skinned frames of the
// sub-windows it holds.
#include "skinwnd/forms/sMDIForm.h"

#include "AdapterTestSkin.h"
#include "Screenshot.h"
#include "skinwnd/forms/acSBUtils.h"

#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTest>

using namespace adaptertest;

namespace {

// An MDI main form with two sub-windows; the second one is active.
struct MDIForm {
    QMainWindow window;
    QMdiArea* area = new QMdiArea;
    QPointer<QMdiSubWindow> first, second;
    explicit MDIForm(bool withMenu = false)
    {
        window.setWindowTitle("Tarku - buffers");
        if (withMenu)
            window.menuBar()->addMenu("&File");
        window.setCentralWidget(area);
        first = area->addSubWindow(new QLabel("Buffer 1"));
        first->setWindowTitle("Buffer 1");
        second = area->addSubWindow(new QLabel("Buffer 2"));
        second->setWindowTitle("Buffer 2");
        first->setGeometry(10, 10, 200, 120);
        second->setGeometry(80, 60, 200, 120);
        // Away from the cursor, which would make a control hot on its own.
        window.setGeometry(300, 300, 480, 320);
        window.show();
        area->setActiveSubWindow(second);
        QApplication::processEvents();
    }
};

// What "no skin" must give back of a sub-window exactly.
struct SubWindowLook {
    Qt::WindowFlags flags;
    QMargins margins;
    QStyle* style = nullptr;
    bool ownStyle = false;
    QPalette palette;
    bool ownPalette = false;
    QRect geometry;
    QImage picture;
    // The content's text colour and whether it had a palette of its own.
    QColor contentText;
    bool contentOwnPalette = false;
    explicit SubWindowLook(QMdiSubWindow* sub)
        : flags(sub->windowFlags()), margins(sub->contentsMargins()), style(sub->style()),
          ownStyle(sub->testAttribute(Qt::WA_SetStyle)), palette(sub->palette()),
          ownPalette(sub->testAttribute(Qt::WA_SetPalette)), geometry(sub->geometry()),
          picture(Grab(sub)), contentText(sub->widget()->palette().color(QPalette::WindowText)),
          contentOwnPalette(sub->widget()->testAttribute(Qt::WA_SetPalette))
    {
    }
    void ExpectSame(QMdiSubWindow* sub) const
    {
        EXPECT_EQ(sub->windowFlags(), flags);
        EXPECT_EQ(sub->contentsMargins(), margins);
        EXPECT_EQ(sub->style(), style);
        EXPECT_EQ(sub->testAttribute(Qt::WA_SetStyle), ownStyle);
        for (auto role : {QPalette::Window, QPalette::WindowText, QPalette::Base, QPalette::Text, QPalette::Button})
            for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
                EXPECT_EQ(sub->palette().color(group, role), palette.color(group, role)) << role << " " << group;
        EXPECT_EQ(sub->testAttribute(Qt::WA_SetPalette), ownPalette);
        EXPECT_EQ(sub->geometry(), geometry);
        EXPECT_TRUE(Grab(sub) == picture);
        EXPECT_EQ(sub->widget()->palette().color(QPalette::WindowText), contentText);
        EXPECT_EQ(sub->widget()->testAttribute(Qt::WA_SetPalette), contentOwnPalette);
    }
};

void Use(SkinScope& scope, const char* name)
{
    if (!name) {
        scope.manager->SetActive(false);
    } else {
        scope.manager->SetActive(true);
        scope.manager->SetSkinName(name);
        ASSERT_TRUE(scope.manager->Active()) << scope.manager->LastError();
    }
    QApplication::processEvents();
}

// A point of the caption left of the buttons, clear of the title text.
QPoint CaptionProbe(QMdiSubWindow* sub)
{
    TsSkinProvider* p = GetSkinProvider(sub);
    const int y = p ? (p->FormBorderWidth() + p->CaptionHeight()) / 2 : 10;
    const TRect min = p && p->ButtonByCode(HTMINBUTTON) ? p->ButtonByCode(HTMINBUTTON)->Rect : TRect{};
    return {min.Left > 12 ? min.Left - 6 : sub->width() / 2, y};
}

QPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

void Move(QWidget* w, QPoint at)
{
    QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton, {});
    QCoreApplication::sendEvent(w, &move);
}

// The centre of a skinned title button of the sub-window, after a paint
// has laid the buttons out.
QPoint ButtonCentre(QMdiSubWindow* sub, int code)
{
    Grab(sub);
    TsSkinProvider* p = GetSkinProvider(sub);
    TitleButtonData* b = p ? p->ButtonByCode(code) : nullptr;
    return b ? Centre(b->Rect) : QPoint(-1, -1);
}

void ClickButton(QMdiSubWindow* sub, int code)
{
    const QPoint at = ButtonCentre(sub, code);
    ASSERT_TRUE(sub->rect().contains(at)) << code;
    Move(sub, at);
    QTest::mouseClick(sub, Qt::LeftButton, {}, at);
    QApplication::processEvents();
}

} // namespace

// The provider makes its MDI form with the skin, renews it on each skin
// change and frees it when the skin goes; its sub-windows follow.
TEST(TsMDIFormChildren, ProviderMakesAndFreesItsMDIFormAcrossSkinSwitches)
{
    SkinScope scope;
    Use(scope, nullptr);
    MDIForm f;
    const SubWindowLook plainFirst(f.first), plainSecond(f.second);
    auto* provider = new TsSkinProvider(&f.window);
    EXPECT_EQ(provider->MDIForm(), nullptr);
    EXPECT_EQ(GetSkinProvider(f.second), nullptr);

    struct Step {
        const char* skin;
    };
    std::vector<TColor> captions;
    for (const Step& s : {Step{"Tarku"}, Step{"Dusk"}, Step{nullptr}, Step{"Tarku"}}) {
        SCOPED_TRACE(s.skin ? s.skin : "no skin");
        Use(scope, s.skin);
        if (!s.skin) {
            EXPECT_EQ(provider->MDIForm(), nullptr);
            EXPECT_EQ(GetAdapterOf(f.area->viewport()), nullptr);
            EXPECT_EQ(GetSkinProvider(f.first), nullptr);
            EXPECT_EQ(GetSkinProvider(f.second), nullptr);
            plainFirst.ExpectSame(f.first);
            plainSecond.ExpectSame(f.second);
            continue;
        }
        TsMDIForm* mdi = provider->MDIForm();
        ASSERT_NE(mdi, nullptr);
        EXPECT_EQ(mdi->Provider(), provider);
        ASSERT_NE(mdi->ClientAdapter(), nullptr);
        EXPECT_EQ(GetAdapterOf(f.area->viewport()), mdi->ClientAdapter());
        EXPECT_EQ(mdi->ChildProviders().size(), 2u);
        TsSkinProvider* child = GetSkinProvider(f.second);
        ASSERT_NE(child, nullptr);
        EXPECT_TRUE(child->FrameActive());
        EXPECT_TRUE(child->Traits().MDIChild);
        // The flags stay; the frame is the skin's.
        EXPECT_EQ(f.second->windowFlags(), plainSecond.flags);
        EXPECT_EQ(f.second->contentsMargins().top(), child->FormBorderWidth() + child->CaptionHeight());
        EXPECT_EQ(f.second->contentsMargins().left(), child->FormBorderWidth());
        const QImage img = Grab(f.second);
        const QPoint at = CaptionProbe(f.second);
        captions.push_back(PixelAt(img, at.x(), at.y()));
        EXPECT_NE(captions.back(), PixelAt(plainSecond.picture, at.x(), at.y()));
    }
    ASSERT_EQ(captions.size(), 3u);
    EXPECT_NE(captions[0], captions[1]);
    EXPECT_EQ(captions[0], captions[2]);
    SaveScreenshot(f.window, "mdi-children-skinned");

    // A sub-window that comes later is skinned as it shows.
    QMdiSubWindow* third = f.area->addSubWindow(new QLabel("Buffer 3"));
    third->setWindowTitle("Buffer 3");
    third->show();
    QApplication::processEvents();
    ASSERT_NE(GetSkinProvider(third), nullptr);
    EXPECT_TRUE(GetSkinProvider(third)->FrameActive());
    EXPECT_EQ(provider->MDIForm()->ChildProviders().size(), 3u);

    // The provider going frees its MDI form and gives the sub-windows back.
    delete provider;
    // The newcomer took the activation: the second one gets it back.
    f.area->setActiveSubWindow(f.second);
    QApplication::processEvents();
    EXPECT_EQ(GetAdapterOf(f.area->viewport()), nullptr);
    EXPECT_EQ(GetSkinProvider(f.first), nullptr);
    EXPECT_EQ(GetSkinProvider(third), nullptr);
    plainFirst.ExpectSame(f.first);
    plainSecond.ExpectSame(f.second);
}

// A sub-window with a provider of the program's own keeps it.
TEST(TsMDIFormChildren, ASubWindowsOwnProviderIsKept)
{
    SkinScope scope;
    MDIForm f;
    auto* own = new TsSkinProvider(f.first);
    auto* provider = new TsSkinProvider(&f.window);
    ASSERT_NE(provider->MDIForm(), nullptr);
    EXPECT_EQ(GetSkinProvider(f.first), own);
    EXPECT_EQ(provider->MDIForm()->ChildProviders().size(), 1u);
    delete provider;
    EXPECT_EQ(GetSkinProvider(f.first), own);
    EXPECT_TRUE(own->FrameActive());
}

// The active sub-window's caption reads apart from an inactive one's.
TEST(TsMDIFormChildren, ActiveAndInactiveCaptionsDiffer)
{
    SkinScope scope;
    MDIForm f;
    new TsSkinProvider(&f.window);
    // Same size, side by side, so the probes lie at the same place.
    f.first->setGeometry(0, 0, 200, 120);
    f.second->setGeometry(220, 0, 200, 120);
    f.area->setActiveSubWindow(f.second);
    QApplication::processEvents();
    const QPoint at = CaptionProbe(f.second);
    const TColor active = PixelAt(Grab(f.second), at.x(), at.y());
    const TColor inactive = PixelAt(Grab(f.first), at.x(), at.y());
    EXPECT_NE(active, inactive);
    f.area->setActiveSubWindow(f.first);
    QApplication::processEvents();
    EXPECT_EQ(PixelAt(Grab(f.first), at.x(), at.y()), active);
    EXPECT_EQ(PixelAt(Grab(f.second), at.x(), at.y()), inactive);
}

// The pointer over a title button makes it hot, the press makes it
// pressed, each with its own look; leaving gives the normal look back.
TEST(TsMDIFormChildren, TitleButtonsTakeHotAndPressedLooks)
{
    SkinScope scope;
    MDIForm f;
    new TsSkinProvider(&f.window);
    QMdiSubWindow* sub = f.second;
    TsSkinProvider* child = GetSkinProvider(sub);
    ASSERT_NE(child, nullptr);
    // Without fades each look shows at once.
    scope.manager->SetAllowGlowing(false);
    for (int code : {HTCLOSE, HTMAXBUTTON, HTMINBUTTON}) {
        SCOPED_TRACE(code);
        const QPoint at = ButtonCentre(sub, code);
        ASSERT_TRUE(sub->rect().contains(at));
        const TRect r = child->ButtonByCode(code)->Rect;
        const QRect box(r.Left, r.Top, r.Width(), r.Height());
        const QImage normal = Grab(sub).copy(box);
        Move(sub, at);
        EXPECT_EQ(child->ButtonByCode(code)->State, 1);
        const QImage hot = Grab(sub).copy(box);
        EXPECT_NE(hot, normal);
        QTest::mousePress(sub, Qt::LeftButton, {}, at);
        EXPECT_EQ(child->ButtonByCode(code)->State, 2);
        const QImage pressed = Grab(sub).copy(box);
        EXPECT_NE(pressed, hot);
        EXPECT_NE(pressed, normal);
        // Released away from the button: nothing happens to the window.
        const QPoint away = CaptionProbe(sub);
        Move(sub, away);
        QTest::mouseRelease(sub, Qt::LeftButton, {}, away);
        EXPECT_EQ(child->ButtonByCode(code)->State, 0);
        EXPECT_FALSE(sub->isMaximized() || sub->isMinimized());
        EXPECT_EQ(Grab(sub).copy(box), normal);
    }
}

// Clicks on the skinned buttons change the sub-window's state as its own
// buttons would.
TEST(TsMDIFormChildren, TitleButtonClicksChangeTheSubWindowsState)
{
    SkinScope scope;
    MDIForm f;
    new TsSkinProvider(&f.window);
    QMdiSubWindow* sub = f.second;
    ASSERT_NE(GetSkinProvider(sub), nullptr);

    ClickButton(sub, HTMAXBUTTON);
    EXPECT_TRUE(sub->isMaximized());
    EXPECT_EQ(sub->geometry(), f.area->viewport()->rect());
    SaveScreenshot(f.window, "mdi-children-maximised");
    // Maximised, the same button restores.
    ClickButton(sub, HTMAXBUTTON);
    EXPECT_FALSE(sub->isMaximized());

    ClickButton(sub, HTMINBUTTON);
    EXPECT_TRUE(sub->isMinimized());
    // Minimised, the same button restores.
    ClickButton(sub, HTMINBUTTON);
    EXPECT_FALSE(sub->isMinimized());

    // Clicking the caption of the other sub-window activates it.
    const QPoint caption = CaptionProbe(f.first);
    QTest::mouseClick(f.first, Qt::LeftButton, {}, caption);
    EXPECT_EQ(f.area->currentSubWindow(), f.first);

    ClickButton(sub, HTCLOSE);
    QApplication::processEvents();
    EXPECT_TRUE(f.second.isNull() || !f.second->isVisible());
    EXPECT_EQ(f.area->subWindowList().size(), 1);
}

// Dragging the caption moves the sub-window inside the area.
TEST(TsMDIFormChildren, CaptionDragMovesTheSubWindow)
{
    SkinScope scope;
    MDIForm f;
    new TsSkinProvider(&f.window);
    QMdiSubWindow* sub = f.second;
    const QPoint from = CaptionProbe(sub);
    const QPoint was = sub->pos();
    QTest::mousePress(sub, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, from + QPoint(30, 20), sub->mapToGlobal(from) + QPoint(30, 20),
                     Qt::NoButton, Qt::LeftButton, {});
    QCoreApplication::sendEvent(sub, &move);
    QTest::mouseRelease(sub, Qt::LeftButton, {}, from + QPoint(30, 20));
    EXPECT_EQ(sub->pos(), was + QPoint(30, 20));
}

// A maximised child of a form with a menu bar shows its buttons on the
// menu line and no caption of its own; restored, its skinned caption is
// back.
TEST(TsMDIFormChildren, MaximisedChildKeepsItsButtonsOnTheMenuLine)
{
    SkinScope scope;
    MDIForm f(true);
    new TsSkinProvider(&f.window);
    QMdiSubWindow* sub = f.second;
    TsSkinProvider* child = GetSkinProvider(sub);
    ASSERT_NE(child, nullptr);
    sub->showMaximized();
    QApplication::processEvents();
    EXPECT_EQ(sub->contentsMargins(), QMargins());
    QWidget* corner = f.window.menuBar()->cornerWidget(Qt::TopRightCorner);
    ASSERT_NE(corner, nullptr);
    EXPECT_TRUE(corner->isVisible());
    SaveScreenshot(f.window, "mdi-children-maximised-menu");
    sub->showNormal();
    QApplication::processEvents();
    EXPECT_EQ(sub->contentsMargins().top(), child->FormBorderWidth() + child->CaptionHeight());
}

// A provider deleted while its skin is on gives the form's palette back,
// as "no skin" does: a top-level form and a sub-window alike.
TEST(TsMDIFormChildren, AProviderDeletedWhileSkinnedGivesThePaletteBack)
{
    SkinScope scope;
    MDIForm f;
    QWidget form;
    form.setGeometry(300, 300, 200, 100);
    form.show();
    QApplication::processEvents();
    for (QWidget* w : {&form, static_cast<QWidget*>(f.first.data())}) {
        SCOPED_TRACE(w->metaObject()->className());
        const QColor window = w->palette().color(QPalette::Window);
        auto* provider = new TsSkinProvider(w);
        ASSERT_TRUE(provider->FrameActive());
        ASSERT_TRUE(w->testAttribute(Qt::WA_SetPalette));
        delete provider;
        EXPECT_FALSE(w->testAttribute(Qt::WA_SetPalette));
        EXPECT_EQ(w->palette().color(QPalette::Window), window);
    }
}

// A form that gets its MDI area after the skin arrived has it skinned
// when it shows.
TEST(TsMDIFormChildren, AnAreaAddedAfterTheSkinIsTakenWhenTheFormShows)
{
    SkinScope scope;
    QMainWindow window;
    auto* provider = new TsSkinProvider(&window);
    EXPECT_EQ(provider->MDIForm(), nullptr);
    auto* area = new QMdiArea;
    window.setCentralWidget(area);
    QMdiSubWindow* sub = area->addSubWindow(new QLabel("Buffer 1"));
    window.setGeometry(300, 300, 400, 300);
    window.show();
    QApplication::processEvents();
    ASSERT_NE(provider->MDIForm(), nullptr);
    EXPECT_EQ(GetAdapterOf(area->viewport()), provider->MDIForm()->ClientAdapter());
    ASSERT_NE(GetSkinProvider(sub), nullptr);
    EXPECT_TRUE(GetSkinProvider(sub)->FrameActive());
}
