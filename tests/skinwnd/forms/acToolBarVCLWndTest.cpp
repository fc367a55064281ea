#include "skinwnd/forms/acToolBarVCLWnd.h"

#include "AdapterTestSkin.h"
#include "Screenshot.h"
#include "skinwnd/forms/acSBUtils.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

using namespace adaptertest;

namespace {

QIcon Square(QColor colour)
{
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter(&p).fillRect(2, 2, 12, 12, colour);
    return QIcon(p);
}

// A main window with a tool bar: a plain, a checked, a disabled and a
// drop-down button, captions beside their icons.
struct ToolForm {
    QMainWindow window;
    QToolBar* bar;
    QMenu menu;
    ToolForm()
    {
        window.resize(420, 120);
        bar = window.addToolBar(QStringLiteral("Main"));
        bar->setMovable(false);
        bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        bar->addAction(Square(Qt::red), QStringLiteral("Read"));
        QAction* check = bar->addAction(Square(Qt::green), QStringLiteral("Lock"));
        check->setCheckable(true);
        check->setChecked(true);
        bar->addAction(Square(Qt::blue), QStringLiteral("Erase"))->setEnabled(false);
        QAction* more = bar->addAction(Square(Qt::darkCyan), QStringLiteral("More"));
        menu.addAction(QStringLiteral("One"));
        more->setMenu(&menu);
        window.show();
        QApplication::processEvents();
        Button(3)->setPopupMode(QToolButton::MenuButtonPopup);
        QApplication::processEvents();
    }
    QToolButton* Button(int i) { return qobject_cast<QToolButton*>(bar->widgetForAction(bar->actions()[i])); }
    QImage Grab() { return bar->grab().toImage(); }
    // The colour at the middle of the gap between a button's icon and its text.
    TColor ButtonFace(const QImage& image, int i)
    {
        const QRect g = Button(i)->geometry();
        return PixelAt(image, g.left() + 3, g.bottom() - 2);
    }
};

TEST(acToolBarVCLWnd, PaintsBarAndButtonsByTheSkinAndRestoresThemOnDetach)
{
    ProjectSkin skin;
    ToolForm f;
    const QImage plain = f.Grab();
    TacToolBarVCLWnd* adapter = TacMainWnd::Create<TacToolBarVCLWnd>(f.bar, false, "", &skin.manager, nullptr);
    EXPECT_EQ(adapter->ToolBar, f.bar);
    EXPECT_EQ(adapter->SkinData()->SkinSection(), "TOOLBAR");
    // The adapter's own skin state belongs to the bar.
    EXPECT_EQ(adapter->SkinData()->OwnerControl, f.bar);
    ASSERT_EQ(adapter->Buttons().size(), 4u);
    const QImage skinned = f.Grab();
    SaveScreenshot(f.window, "tool_bar_skinned");
    EXPECT_NE(skinned, plain);

    // Normal, checked and disabled buttons look different from each other.
    EXPECT_EQ(adapter->ButtonState(0), 0);
    EXPECT_EQ(adapter->ButtonState(1), 2);
    const TColor normal = f.ButtonFace(skinned, 0), checked = f.ButtonFace(skinned, 1),
                 disabled = f.ButtonFace(skinned, 2);
    EXPECT_NE(normal, checked);
    EXPECT_NE(normal, disabled);
    // Captions come in the skin's button text colour.
    const TColor text = skin.Section("TOOLBUTTON").FontColor;
    EXPECT_GT(CountColour(skinned, f.Button(0)->geometry(), text), 0);

    const QPoint middle = f.Button(1)->geometry().center();
    EXPECT_EQ(adapter->ButtonAtPoint(middle), 1);
    EXPECT_EQ(adapter->ButtonAtPoint(QPoint(-5, -5)), -1);

    // Without the skin the bar paints itself again.
    skin.manager.SetActive(false);
    QApplication::processEvents();
    EXPECT_EQ(f.Grab(), plain);
    skin.manager.SetActive(true);
    QApplication::processEvents();
    EXPECT_EQ(f.Grab(), skinned);

    TacMainWnd* base = adapter;
    DetachWnd(f.bar, true, base);
    QApplication::processEvents();
    EXPECT_EQ(GetAdapterOf(f.bar), nullptr);
    EXPECT_EQ(f.Grab(), plain);
}

TEST(acToolBarVCLWnd, TheButtonUnderTheMouseIsHot)
{
    ProjectSkin skin;
    ToolForm f;
    auto* adapter = TacMainWnd::Create<TacToolBarVCLWnd>(f.bar, false, "", &skin.manager, nullptr);
    const TColor normal = f.ButtonFace(f.Grab(), 0);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(f.Button(0), &enter);
    EXPECT_EQ(adapter->HotIndex, 0);
    EXPECT_EQ(adapter->ButtonState(0), 1);
    QApplication::processEvents();
    EXPECT_NE(f.ButtonFace(f.Grab(), 0), normal);
    // A disabled button never becomes hot.
    QApplication::sendEvent(f.Button(2), &enter);
    EXPECT_EQ(adapter->HotIndex, 0);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(f.Button(0), &leave);
    EXPECT_EQ(adapter->HotIndex, -1);
    QApplication::processEvents();
    EXPECT_EQ(f.ButtonFace(f.Grab(), 0), normal);
    TacMainWnd* base = adapter;
    DetachWnd(f.bar, true, base);
}

TEST(acToolBarVCLWnd, HotIndexPastTheRemainingButtonsIsReset)
{
    ProjectSkin skin;
    const struct {
        int hot, removed, after;
    } cases[] = {{3, 3, -1}, {0, 3, 0}, {1, 0, 1}, {3, 0, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hot);
        ToolForm f;
        auto* adapter = TacMainWnd::Create<TacToolBarVCLWnd>(f.bar, false, "", &skin.manager, nullptr);
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(f.Button(c.hot), &enter);
        ASSERT_EQ(adapter->HotIndex, c.hot);
        f.bar->removeAction(f.bar->actions()[c.removed]);
        EXPECT_EQ(adapter->HotIndex, c.after);
        TacMainWnd* base = adapter;
        DetachWnd(f.bar, true, base);
    }
}

TEST(acToolBarVCLWnd, DropDownPartShowsPressedWhileItsMenuIsOpen)
{
    ProjectSkin skin;
    ToolForm f;
    auto* adapter = TacMainWnd::Create<TacToolBarVCLWnd>(f.bar, false, "", &skin.manager, nullptr);
    QToolButton* more = f.Button(3);
    const QImage before = more->grab().toImage();
    // The menu closes as soon as it is up; a ceiling closes it should that
    // fail, so that the press cannot hang.
    bool pressedSeen = false;
    QImage pressedLook;
    QObject::connect(&f.menu, &QMenu::aboutToShow, [&] {
        pressedSeen = adapter->DropDownButton == more;
        pressedLook = more->grab().toImage();
        QTimer::singleShot(0, &f.menu, [&f] { f.menu.close(); });
    });
    bool releasedOnClose = false;
    QObject::connect(&f.menu, &QMenu::aboutToHide,
                     [&] { releasedOnClose = adapter->DropDownButton == nullptr && adapter->HotIndex == -1; });
    QTimer ceiling;
    ceiling.setSingleShot(true);
    QObject::connect(&ceiling, &QTimer::timeout, [&f] {
        ADD_FAILURE() << "the menu did not close";
        f.menu.close();
    });
    ceiling.start(20000);
    QTest::mouseClick(more, Qt::LeftButton, {}, QPoint(more->width() - 3, more->height() / 2));
    EXPECT_TRUE(pressedSeen);
    EXPECT_TRUE(releasedOnClose);
    EXPECT_NE(pressedLook, before);
    EXPECT_EQ(adapter->DropDownButton, nullptr);
    QApplication::processEvents();
    EXPECT_EQ(more->grab().toImage(), before);
    TacMainWnd* base = adapter;
    DetachWnd(f.bar, true, base);
}

// Buttons hidden, shown or deleted while the adapter holds their painting:
// skinned faces follow, the deleted one is forgotten, and without the skin
// the remaining buttons paint themselves exactly as an unadapted bar.
TEST(acToolBarVCLWnd, ButtonsComingAndGoingWhileHeld)
{
    ProjectSkin skin;
    ToolForm f;
    ToolForm reference;
    reference.bar->removeAction(reference.bar->actions()[0]);
    QApplication::processEvents();
    auto* adapter = TacMainWnd::Create<TacToolBarVCLWnd>(f.bar, false, "", &skin.manager, nullptr);
    const QImage skinned = f.Grab();
    f.bar->actions()[1]->setVisible(false);
    QApplication::processEvents();
    f.bar->actions()[1]->setVisible(true);
    QApplication::processEvents();
    EXPECT_EQ(f.Grab(), skinned);
    // Removing the action deletes its button under the adapter.
    QPointer<QToolButton> gone = f.Button(0);
    f.bar->removeAction(f.bar->actions()[0]);
    QApplication::processEvents();
    EXPECT_TRUE(gone.isNull());
    ASSERT_EQ(adapter->Buttons().size(), 3u);
    EXPECT_NE(f.Grab(), reference.Grab());
    skin.manager.SetActive(false);
    QApplication::processEvents();
    EXPECT_EQ(f.Grab(), reference.Grab());
    skin.manager.SetActive(true);
    QApplication::processEvents();
    TacMainWnd* base = adapter;
    DetachWnd(f.bar, true, base);
    QApplication::processEvents();
    EXPECT_EQ(f.Grab(), reference.Grab());
}

} // namespace
