#include "skinwnd/forms/sSystemMenu.h"

#include "Screenshot.h"
#include "SkinGenerator.h"
#include "TestSupport.h"
#include "skin/forms/acSkinStartup.h"
#include "skin/forms/sCommonData.h"
#include "skin/forms/sSkinManager.h"
#include "skinwnd/forms/acMenuColumns.h"

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QTest>
#include <gtest/gtest.h>

#include <vector>

namespace {

// Names of the items shown, in menu order; "-" for a separator.
std::vector<std::string> Shown(QMenu& menu)
{
    std::vector<std::string> out;
    for (QAction* a : menu.actions())
        if (a->isVisible())
            out.push_back(a->isSeparator() ? "-" : a->objectName().isEmpty() ? a->text().toStdString()
                                                                              : a->objectName().toStdString());
    return out;
}

// A form that records the window commands that reach it and can take
// some over.
class Form : public QWidget {
public:
    std::vector<int> commands;
    std::vector<int> takenOver;

    Form()
    {
        resize(240, 160);
        show();
        QApplication::processEvents();
    }

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == SysCommandEventType()) {
            const int c = static_cast<TacSysCommandEvent*>(e)->Command();
            commands.push_back(c);
            if (std::find(takenOver.begin(), takenOver.end(), c) != takenOver.end())
                e->accept();
            return true;
        }
        return QWidget::event(e);
    }
};

TacSysMenuForm Traits(int borderStyle, unsigned icons = 7)
{
    TacSysMenuForm f;
    f.BorderStyle = borderStyle;
    f.BorderIcons = icons;
    return f;
}

} // namespace

TEST(TsSystemMenu, CommandsChangeTheWindowState)
{
    SkinLibraryInitialization();
    Form form;
    TsSystemMenu menu(&form, [] { return Traits(2); });
    EXPECT_EQ(menu.objectName(), "SysMenu");
    menu.UpdateItems(false);
    EXPECT_FALSE(menu.ItemRestore->isEnabled());
    EXPECT_TRUE(menu.ItemMaximize->isEnabled());

    menu.ItemMaximize->trigger();
    EXPECT_TRUE(form.isMaximized());
    // The items follow the new state at once.
    EXPECT_TRUE(menu.ItemRestore->isEnabled());
    EXPECT_FALSE(menu.ItemMaximize->isEnabled());
    EXPECT_FALSE(menu.ItemMove->isEnabled());

    menu.ItemRestore->trigger();
    EXPECT_FALSE(form.isMaximized());
    EXPECT_FALSE(menu.ItemRestore->isEnabled());

    menu.ItemMinimize->trigger();
    EXPECT_TRUE(form.isMinimized());
    EXPECT_FALSE(menu.ItemMinimize->isEnabled());
    EXPECT_TRUE(menu.ItemRestore->isEnabled());
    menu.ItemRestore->trigger();
    EXPECT_FALSE(form.isMinimized());

    // Move and size go to the window system; the form hears of them first.
    menu.ItemMove->trigger();
    menu.ItemSize->trigger();
    EXPECT_TRUE(form.isVisible());

    menu.ItemClose->trigger();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.commands, (std::vector<int>{scMaximize, scRestore, scMinimize, scRestore, scMove, scSize, scClose}));
}

TEST(TsSystemMenu, AFormThatTakesACommandOverKeepsItsState)
{
    Form form;
    form.takenOver = {scClose, scMaximize};
    TsSystemMenu menu(&form);
    menu.ItemMaximize->trigger();
    menu.CloseForm();
    EXPECT_FALSE(form.isMaximized());
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.commands, (std::vector<int>{scMaximize, scClose}));
}

TEST(TsSystemMenu, ItemsFollowTheFormsBorder)
{
    Form form;
    struct Case {
        const char* what;
        TacSysMenuForm traits;
        std::vector<std::string> shown;
    };
    const Case cases[] = {
        {"sizeable", Traits(2), {"acIR", "acIM", "acIS", "acIN", "acIX", "-", "acIC"}},
        {"dialog", Traits(3), {"acIM", "-", "acIC"}},
        {"tool window", Traits(4), {"acIM", "-", "acIC"}},
        {"sizeable tool window", Traits(5), {"acIM", "acIS", "-", "acIC"}},
        {"without maximise", Traits(2, 3), {"acIR", "acIM", "acIS", "acIN", "-", "acIC"}},
    };
    for (const Case& c : cases) {
        TsSystemMenu menu(&form, [&] { return c.traits; });
        menu.UpdateItems(false);
        EXPECT_EQ(Shown(menu), c.shown) << c.what;
    }
    // Without traits the form's own flags tell: a fixed-size dialog.
    QDialog dialog;
    dialog.setFixedSize(100, 80);
    TsSystemMenu fromFlags(&dialog);
    EXPECT_EQ(fromFlags.FormState().BorderStyle, 3);
    fromFlags.UpdateItems(false);
    EXPECT_EQ(Shown(fromFlags), (std::vector<std::string>{"acIM", "-", "acIC"}));
}

TEST(TsSystemMenu, TheWindowsOwnCommandsAndTextsAreCopied)
{
    Form form;
    TsSystemMenu menu(&form);
    EXPECT_EQ(menu.ExtraCount, 0);
    EXPECT_EQ(menu.ItemClose->text(), "Close");
    EXPECT_EQ(Shown(menu), (std::vector<std::string>{"acIR", "acIM", "acIS", "acIN", "acIX", "-", "acIC"}));
    menu.WindowMenu = {{0x0120, "Stay on &top\tCtrl+T"}, {scClose, "&Close\tAlt+F4"}, {scMove, "&Move"},
                       {0x0130, ""}};
    menu.Build();
    EXPECT_EQ(menu.ExtraCount, 1);
    EXPECT_EQ(Shown(menu), (std::vector<std::string>{"acIR", "acIM", "acIS", "acIN", "acIX", "-", "Stay on &top", "-",
                                                     "acIC"}));
    EXPECT_EQ(menu.ItemClose->text(), "&Close");
    EXPECT_EQ(menu.ItemClose->shortcut(), QKeySequence("Alt+F4"));
    EXPECT_EQ(menu.ItemMove->text(), "&Move");
    EXPECT_EQ(menu.ItemRestore->text(), "Restore");
    QAction* own = menu.actions().at(6);
    EXPECT_EQ(own->shortcut(), QKeySequence("Ctrl+T"));
    // The form's own commands are posted to it.
    own->trigger();
    EXPECT_TRUE(form.commands.empty());
    QApplication::processEvents();
    EXPECT_EQ(form.commands, std::vector<int>{0x0120});
}

TEST(TsSystemMenu, PopupIsSkinnedWithTheSkinSelectionOrPlainWithoutASkin)
{
    SkinLibraryInitialization();
    testsupport::TempDir dir;
    ASSERT_TRUE(WriteSkinFolder(dir.file("Tarku"), ProjectPalette()));
    ASSERT_TRUE(WriteSkinFolder(dir.file("TarkuDusk"), DuskPalette()));
    Form form;
    TsSystemMenu menu(&form, [] { return Traits(2); });

    // No manager: the window's own menu, every command listed.
    menu.Popup(form.mapToGlobal(QPoint(4, 4)));
    QApplication::processEvents();
    EXPECT_TRUE(menu.isVisible());
    EXPECT_TRUE(menu.ItemRestore->isVisible());
    EXPECT_FALSE(menu.ItemRestore->isEnabled());
    menu.hide();

    TsSkinManagerComponent manager;
    manager.SetSkinDirectory(dir.path());
    manager.SetSkinName("Tarku");
    ASSERT_TRUE(manager.Active());
    menu.MakeSkinMenu = true;
    for (int i = 0; i < 2; ++i) {
        menu.Popup(form.mapToGlobal(QPoint(4, 4)));
        QApplication::processEvents();
    }
    EXPECT_TRUE(manager.SkinableMenus().IsHooked(&menu));
    // One selection submenu, however often the menu opened.
    EXPECT_EQ(Shown(menu), (std::vector<std::string>{"SkinSelectItem", "-", "acIR", "acIM", "acIS", "acIN", "acIX",
                                                     "-", "acIC"}));
    QMenu* skins = menu.actions().front()->menu();
    ASSERT_NE(skins, nullptr);
    EXPECT_TRUE(manager.SkinableMenus().IsHooked(skins));
    ASSERT_EQ(skins->actions().size(), 2);
    EXPECT_TRUE(skins->actions().at(0)->isChecked());
    EXPECT_FALSE(skins->actions().at(1)->isChecked());
    EXPECT_EQ(skins->actions().at(1)->objectName(), "SkinSelectItem1");
    const QImage shot = menu.grab().toImage();
    SaveScreenshot(shot, "skinned_system_menu");
    // Items of the system menu carry the window-command glyphs in the
    // item's text colour, left of the captions.
    const TColor text = manager.Section(manager.GetSkinIndex("MENUITEM")).FontColor;
    const QRect close = menu.actionGeometry(menu.ItemClose);
    int glyph = 0;
    for (int y = close.top(); y <= close.bottom(); ++y)
        for (int x = close.left(); x < close.left() + close.height(); ++x)
            glyph += ColorFromQColor(shot.pixelColor(x, y)) == text;
    EXPECT_GT(glyph, 4);

    skins->actions().at(1)->trigger();
    EXPECT_EQ(manager.SkinName(), "TarkuDusk");
    menu.hide();
}

namespace {

// The system menu of a form with 43 skins to choose from: 41 stored ones,
// then the two folders; its skin selection popped up.
struct LongSkinMenu {
    testsupport::TempDir dir;
    Form form;
    TsSystemMenu menu{&form, [] { return Traits(2); }};
    TsSkinManagerComponent manager;
    QMenu* skins = nullptr;
    TacMenuColumns* columns = nullptr;
    QList<QAction*> items;

    LongSkinMenu()
    {
        SkinLibraryInitialization();
        EXPECT_TRUE(WriteSkinFolder(dir.file("Tarku"), ProjectPalette()));
        EXPECT_TRUE(WriteSkinFolder(dir.file("TarkuDusk"), DuskPalette()));
        manager.SetSkinDirectory(dir.path());
        manager.SetSkinName("Tarku");
        EXPECT_TRUE(manager.Active());
        for (int i = 0; i < 41; ++i) {
            TsStoredSkin stored;
            stored.Name = "Stored" + std::string(i < 10 ? "0" : "") + std::to_string(i);
            manager.InternalSkins().Items.push_back(stored);
        }
        menu.MakeSkinMenu = true;
        menu.Popup(form.mapToGlobal(QPoint(4, 4)));
        QApplication::processEvents();
        skins = menu.actions().front()->menu();
        if (!skins)
            return;
        PopUpSkins();
        columns = skins->findChild<TacMenuColumns*>();
        for (int i = 0; i < 43; ++i) {
            auto* a = skins->findChild<QAction*>(QStringLiteral("SkinSelectItem%1").arg(i));
            EXPECT_NE(a, nullptr) << i;
            items.append(a);
        }
    }
    void PopUpSkins()
    {
        skins->popup(menu.mapToGlobal(QPoint(menu.width(), 0)));
        QApplication::processEvents();
    }
};

} // namespace

// Every 20 skins of the selection submenu start a new column; an item
// chosen there is the new skin.
TEST(TsSystemMenu, LongSkinSelectionBreaksIntoColumns)
{
    LongSkinMenu m;
    ASSERT_NE(m.skins, nullptr);
    ASSERT_NE(m.columns, nullptr);
    QMenu* skins = m.skins;
    TacMenuColumns* columns = m.columns;
    const QList<QAction*>& items = m.items;
    TsSystemMenu& menu = m.menu;
    TsSkinManagerComponent& manager = m.manager;
    EXPECT_EQ(skins->findChild<QAction*>("SkinSelectItem43"), nullptr);
    EXPECT_TRUE(items[41]->isChecked()); // Tarku, after the stored skins
    for (int i = 0; i < 43; ++i) {
        SCOPED_TRACE(i);
        const QRect r = columns->ItemRect(i);
        EXPECT_EQ(r.top(), columns->ItemRect(i % 20).top());
        EXPECT_EQ(r.left(), columns->ItemRect(i / 20 * 20).left());
        if (i % 20 != 0)
            EXPECT_GT(r.top(), columns->ItemRect(i - 1).top());
        else if (i > 0)
            EXPECT_GT(r.left(), columns->ItemRect(i - 20).right());
        EXPECT_EQ(columns->ActionAt(r.center()), items[i]);
    }
    EXPECT_LE(columns->sizeHint().height(), columns->ItemRect(19).bottom() + 1);
    EXPECT_TRUE(columns->isVisible());
    SaveScreenshot(skins->grab().toImage(), "skin_selection_columns");
    // A click on the 43rd item (TarkuDusk, third column) chooses it and
    // closes the menus.
    const QPoint at = columns->ItemRect(42).center();
    QMouseEvent release(QEvent::MouseButtonRelease, at, columns->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(columns, &release);
    EXPECT_EQ(manager.SkinName(), "TarkuDusk");
    EXPECT_FALSE(skins->isVisible());
    EXPECT_FALSE(menu.isVisible());
}

// The keys move through the columns as through a menu's own items and
// choose the hot item, whether the menu or the list of columns has them.
TEST(TsSystemMenu, KeysMoveThroughTheSkinColumns)
{
    LongSkinMenu m;
    ASSERT_NE(m.columns, nullptr);
    using K = Qt::Key;
    const std::vector<K> down20(20, Qt::Key_Down), down21(21, Qt::Key_Down);
    struct Case {
        const char* what;
        std::vector<K> keys;
        int hot;
    } cases[] = {
        {"first item", {Qt::Key_Down}, 0},
        {"up from none: the last", {Qt::Key_Up}, 42},
        {"up wraps", {Qt::Key_Down, Qt::Key_Up}, 42},
        {"down wraps", {Qt::Key_Up, Qt::Key_Down}, 0},
        {"down into the next column", down20, 19},
        {"one more", down21, 20},
        {"up into the column before", {Qt::Key_Down, Qt::Key_Right, Qt::Key_Up}, 19},
        {"right", {Qt::Key_Down, Qt::Key_Down, Qt::Key_Right}, 21},
        {"right into the short column", {Qt::Key_Up, Qt::Key_Left, Qt::Key_Down, Qt::Key_Right}, 42},
        {"right past the last column", {Qt::Key_Up, Qt::Key_Right}, 42},
        {"left", {Qt::Key_Up, Qt::Key_Left}, 22},
        {"left twice", {Qt::Key_Up, Qt::Key_Left, Qt::Key_Left}, 2},
        {"no keys", {}, -1},
    };
    for (QWidget* target : {static_cast<QWidget*>(m.skins), static_cast<QWidget*>(m.columns)})
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (target == m.skins ? " (menu)" : " (columns)"));
            m.skins->hide();
            m.PopUpSkins();
            for (K k : c.keys)
                QTest::keyClick(target, k);
            EXPECT_EQ(m.columns->HotIndex(), c.hot);
            EXPECT_TRUE(m.skins->isVisible());
            EXPECT_EQ(m.manager.SkinName(), "Tarku");
        }
    // Escape closes the list and chooses nothing.
    QTest::keyClick(m.columns, Qt::Key_Down);
    QTest::keyClick(m.columns, Qt::Key_Escape);
    EXPECT_FALSE(m.skins->isVisible());
    EXPECT_EQ(m.manager.SkinName(), "Tarku");
    // Enter and Space choose the hot item and close the menus.
    struct Choice {
        QWidget* target;
        std::vector<K> keys;
        const char* skin;
    } choices[] = {
        {m.skins, {Qt::Key_Up, Qt::Key_Return}, "TarkuDusk"},
        {m.columns, {Qt::Key_Up, Qt::Key_Up, Qt::Key_Enter}, "Tarku"},
        {m.columns, {Qt::Key_Up, Qt::Key_Space}, "TarkuDusk"},
    };
    for (const Choice& c : choices) {
        SCOPED_TRACE(c.skin);
        m.PopUpSkins();
        for (K k : c.keys)
            QTest::keyClick(c.target, k);
        EXPECT_EQ(m.manager.SkinName(), c.skin);
        EXPECT_FALSE(m.skins->isVisible());
    }
}

namespace {

// The menu's style, counting how often an item is measured.
class MeasureCountingStyle : public QProxyStyle {
public:
    MeasureCountingStyle() : QProxyStyle(QStyleFactory::create("Fusion")) {}
    mutable int measures = 0;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override
    {
        measures += type == CT_MenuItem;
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    }
};

} // namespace

// The columns measure their items once each time the menu pops up (and
// when the style changes), not for every item's place at each paint,
// pointer move and key.
TEST(TsSystemMenu, SkinColumnsMeasureTheirItemsOncePerPopup)
{
    LongSkinMenu m;
    ASSERT_NE(m.columns, nullptr);
    MeasureCountingStyle style;
    auto use = [&](int popups) {
        SCOPED_TRACE(popups);
        for (int i = 0; i < 43; ++i) {
            const QPoint at = m.columns->ItemRect(i).center();
            QMouseEvent move(QEvent::MouseMove, at, m.columns->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                             Qt::NoModifier);
            QApplication::sendEvent(m.columns, &move);
            EXPECT_EQ(m.columns->HotIndex(), i);
            m.columns->grab();
        }
        for (int i = 0; i < 50; ++i)
            QTest::keyClick(m.columns, Qt::Key_Down);
        m.skins->grab();
        EXPECT_EQ(style.measures, 43 * popups);
    };
    m.skins->setStyle(&style);
    use(1);
    m.skins->hide();
    m.PopUpSkins();
    use(2);
    m.skins->hide();
    m.skins->setStyle(nullptr);
}

TEST(TsSystemMenu, SkinNamesOfSelectionItems)
{
    const std::pair<const char*, const char*> cases[] = {
        {"&Tarku", "Tarku"}, {"Dusk (internal)", "Dusk (internal)"}, {"Dusk (internal) &2", "Dusk (internal)"},
        {"A&&B", "AB"}};
    for (auto [caption, name] : cases)
        EXPECT_EQ(SkinNameOfItem(caption).toStdString(), name) << caption;
}
