#include "skinwnd/forms/sMDIForm.h"

#include "AdapterTestSkin.h"
#include "Screenshot.h"
#include "skin/forms/acSkinCommand.h"
#include "skinwnd/forms/acSBUtils.h"

#include <QLabel>
#include <QMainWindow>
#include <QMouseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

using namespace adaptertest;

namespace {

// An MDI main form with two child windows in the upper left of its area.
struct MDIForm {
    QMainWindow window;
    QMdiArea* area = new QMdiArea;
    QMdiSubWindow* first = nullptr;
    QMdiSubWindow* second = nullptr;
    MDIForm()
    {
        window.setWindowTitle("Tarku - buffers");
        window.setCentralWidget(area);
        first = area->addSubWindow(new QLabel("Buffer 1"));
        first->setWindowTitle("Buffer 1");
        second = area->addSubWindow(new QLabel("Buffer 2"));
        second->setWindowTitle("Buffer 2");
        first->setGeometry(10, 10, 180, 110);
        second->setGeometry(60, 50, 180, 110);
        // Away from the cursor, which would make a control hot on its own.
        window.setGeometry(300, 300, 480, 320);
        window.show();
        QApplication::processEvents();
    }
    // A probe in the empty lower right of the area.
    TColor Empty()
    {
        const QImage img = Grab(area->viewport());
        return PixelAt(img, img.width() - 8, img.height() - 8);
    }
};

// Skins the form's provider and manager with the named skin.
void Use(SkinScope& scope, const char* name)
{
    scope.manager->SetActive(true);
    scope.manager->SetSkinName(name);
    ASSERT_TRUE(scope.manager->Active()) << scope.manager->LastError();
    QApplication::processEvents();
}

// The centre of a skinned title button of a sub-window, as the last paint
// laid it out.
QPoint TitleButton(QMdiSubWindow* sub, int code)
{
    Grab(sub);
    TsSkinProvider* p = GetSkinProvider(sub);
    const TitleButtonData* b = p ? p->ButtonByCode(code) : nullptr;
    return b ? QPoint((b->Rect.Left + b->Rect.Right) / 2, (b->Rect.Top + b->Rect.Bottom) / 2) : QPoint(-1, -1);
}

// The sub-window picks the button under the pointer as it moves there.
void ClickTitleButton(QMdiSubWindow* sub, int code)
{
    const QPoint at = TitleButton(sub, code);
    ASSERT_TRUE(sub->rect().contains(at));
    QMouseEvent move(QEvent::MouseMove, at, sub->mapToGlobal(at), Qt::NoButton, Qt::NoButton, {});
    QCoreApplication::sendEvent(sub, &move);
    QTest::mouseClick(sub, Qt::LeftButton, {}, at);
    QApplication::processEvents();
}

int Command(QWidget* w, uint16_t subCode)
{
    TSkinCommandEvent m(subCode);
    QCoreApplication::sendEvent(w, &m);
    return int(m.Result);
}

} // namespace

TEST(TsMDIForm, ClientTakesTheFormsColourAndGivesItBack)
{
    SkinScope scope;
    scope.manager->SetActive(false);
    MDIForm f;
    const TColor plain = f.Empty();
    auto* provider = new TsSkinProvider(&f.window);
    // Without a skin the provider makes no MDI form, and one made by hand
    // attaches nothing.
    EXPECT_EQ(provider->MDIForm(), nullptr);
    {
        TsMDIForm mdi(provider);
        EXPECT_EQ(mdi.ClientArea(), f.area);
        mdi.Connect();
        EXPECT_EQ(mdi.ClientAdapter(), nullptr);
        EXPECT_EQ(f.Empty(), plain);
    }

    struct Step {
        const char* name;
        bool skinned;
    };
    std::vector<TColor> colours;
    for (const Step& s : {Step{"Tarku", true}, Step{"Dusk", true}, Step{"", false}, Step{"Tarku", true}}) {
        SCOPED_TRACE(s.name);
        if (s.skinned)
            Use(scope, s.name);
        else
            scope.manager->SetActive(false);
        QApplication::processEvents();
        if (!s.skinned) {
            EXPECT_EQ(provider->MDIForm(), nullptr);
            EXPECT_EQ(GetAdapterOf(f.area->viewport()), nullptr);
            EXPECT_EQ(f.Empty(), plain);
            continue;
        }
        ASSERT_NE(provider->MDIForm(), nullptr);
        TsMDIForm& mdi = *provider->MDIForm();
        ASSERT_NE(mdi.ClientAdapter(), nullptr);
        EXPECT_EQ(GetAdapterOf(f.area->viewport()), mdi.ClientAdapter());
        EXPECT_EQ(Command(f.area->viewport(), AC_CTRLHANDLED), 1);
        const TColor colour = f.Empty();
        EXPECT_NE(colour, plain);
        EXPECT_EQ(colour, provider->SkinData().GetBackgroundColor(false));
        colours.push_back(colour);
    }
    ASSERT_EQ(colours.size(), 3u);
    EXPECT_NE(colours[0], colours[1]);
    EXPECT_EQ(colours[0], colours[2]);

    // Connecting again keeps the adapter; freeing it restores the area.
    TsMDIForm& mdi = *provider->MDIForm();
    TacMDIWnd* adapter = mdi.ClientAdapter();
    mdi.Connect();
    EXPECT_EQ(mdi.ClientAdapter(), adapter);
    mdi.FreeAdapter();
    EXPECT_EQ(mdi.ClientAdapter(), nullptr);
    EXPECT_EQ(f.Empty(), plain);
    SaveScreenshot(f.window, "mdi-plain");
}

TEST(TsMDIForm, AFormWithoutAnAreaOrProviderGetsNoAdapter)
{
    SkinScope scope;
    QMainWindow window;
    window.setCentralWidget(new QLabel("No MDI here"));
    auto* provider = new TsSkinProvider(&window);
    TsMDIForm mdi(provider);
    mdi.Connect();
    EXPECT_EQ(mdi.ClientArea(), nullptr);
    EXPECT_EQ(mdi.ClientAdapter(), nullptr);
    TsMDIForm none(nullptr);
    none.Connect();
    none.RepaintFrame();
    EXPECT_EQ(none.ClientAdapter(), nullptr);
}

TEST(TsMDIForm, SubWindowStatesChangeByClicksUnderTheSkin)
{
    SkinScope scope;
    MDIForm f;
    auto* provider = new TsSkinProvider(&f.window);
    ASSERT_NE(provider->MDIForm(), nullptr);
    TsMDIForm& mdi = *provider->MDIForm();
    ASSERT_NE(mdi.ClientAdapter(), nullptr);
    const TColor skinned = f.Empty();
    QMdiSubWindow* sub = f.second;
    f.area->setActiveSubWindow(sub);
    QApplication::processEvents();

    ClickTitleButton(sub, HTMAXBUTTON);
    EXPECT_TRUE(sub->isMaximized());
    // The maximised child covers the whole area.
    EXPECT_EQ(sub->geometry(), f.area->viewport()->rect());
    SaveScreenshot(f.window, "mdi-maximised");

    // Maximised, the title bar offers to restore in the same place.
    ClickTitleButton(sub, HTMAXBUTTON);
    EXPECT_FALSE(sub->isMaximized());
    EXPECT_EQ(f.Empty(), skinned);

    ClickTitleButton(sub, HTMINBUTTON);
    EXPECT_TRUE(sub->isMinimized());
    EXPECT_EQ(f.Empty(), skinned);

    // Closing a child leaves the area skinned and the adapter in place.
    f.first->close();
    QApplication::processEvents();
    EXPECT_EQ(GetAdapterOf(f.area->viewport()), mdi.ClientAdapter());
    EXPECT_EQ(f.Empty(), skinned);
    SaveScreenshot(f.window, "mdi-skinned");
}

TEST(TsMDIForm, AnAreaDestroyedFirstLeavesTheAdapterSafe)
{
    SkinScope scope;
    MDIForm f;
    auto* provider = new TsSkinProvider(&f.window);
    ASSERT_NE(provider->MDIForm(), nullptr);
    TsMDIForm& mdi = *provider->MDIForm();
    ASSERT_NE(mdi.ClientAdapter(), nullptr);
    delete f.area;
    QApplication::processEvents();
    EXPECT_EQ(mdi.ClientAdapter()->WndHandle(), nullptr);
    mdi.FreeAdapter();
    EXPECT_EQ(mdi.ClientAdapter(), nullptr);
}
