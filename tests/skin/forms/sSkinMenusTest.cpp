#include "skin/forms/sSkinMenus.h"

#include "../../skinwnd/forms/AdapterTestSkin.h"
#include "Screenshot.h"
#include "SkinGenerator.h"
#include "TestSupport.h"
#include "skin/forms/acSkinStartup.h"
#include "skin/forms/sCommonData.h"
#include "skin/forms/sSkinManager.h"
#include "skin/sSkinMenuItems.h"

#include <QActionGroup>
#include <QApplication>
#include <QImage>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStyleFactory>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using adaptertest::PixelsOf;
using adaptertest::SkinDirectory;
using testsupport::TempDir;

namespace {

// A main window with a menu bar and a File popup holding every kind of
// item: shortcut, disabled, divider, checked, radio, sub-menu, caption.
struct MenuForm {
    QMainWindow window;
    QMenu* file;
    QMenu* recent;
    QAction *open, *save, *check, *mode, *radio, *other, *caption, *exit;
    MenuForm()
    {
        SkinLibraryInitialization();
        window.resize(320, 200);
        file = window.menuBar()->addMenu("&File");
        window.menuBar()->addMenu("&Edit")->addAction("Undo");
        window.menuBar()->addMenu("&Help")->addAction("About");
        open = file->addAction("&Open...");
        open->setShortcut(QKeySequence("Ctrl+O"));
        save = file->addAction("&Save");
        save->setShortcut(QKeySequence("Ctrl+S"));
        save->setEnabled(false);
        file->addSeparator();
        check = file->addAction("Word &wrap");
        check->setCheckable(true);
        check->setChecked(true);
        auto* group = new QActionGroup(file);
        mode = file->addSection("View");
        radio = file->addAction("&Hex");
        other = file->addAction("&Text");
        for (QAction* a : {radio, other}) {
            a->setCheckable(true);
            group->addAction(a);
        }
        radio->setChecked(true);
        recent = file->addMenu("&Recent files");
        recent->addAction("one.bin");
        recent->addAction("two.hex");
        caption = file->addAction("-Programmer-");
        exit = file->addAction("E&xit");
        window.show();
        QApplication::processEvents();
    }
    ~MenuForm() { file->hide(); }
    void Popup()
    {
        file->popup(window.mapToGlobal(QPoint(10, 30)));
        QApplication::processEvents();
    }
    QImage Grab(QWidget* w) { return w->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QImage ItemImage(QAction* a) { return Grab(file).copy(file->actionGeometry(a)); }
};

TColor Channelwise(TColor a, TColor b, double aShare)
{
    auto mix = [&](int x, int y) { return int(std::lround(x * aShare + y * (1 - aShare))); };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

const TsGeneralData& Section(const TsSkinManagerComponent& m, const char* name)
{
    return m.Section(m.GetSkinIndex(name));
}

} // namespace

TEST(TsSkinableMenus, PopupAndBarPaintByTheSkinAndUnhookingRestoresThePlainLook)
{
    SkinDirectory skins;
    MenuForm f;
    f.Popup();
    const QImage plainMenu = f.Grab(f.file);
    const QImage plainBar = f.Grab(f.window.menuBar());
    const QSize plainSize = f.file->size();
    QStyle* plainStyle = f.file->style();
    {
        TsSkinManagerComponent manager;
        manager.SetSkinDirectory(skins.dir.path());
        manager.SetSkinName("Tarku");
        ASSERT_TRUE(manager.Active()) << manager.LastError();
        QApplication::processEvents();
        TsSkinableMenus& menus = manager.SkinableMenus();
        for (QWidget* w : {static_cast<QWidget*>(f.file), static_cast<QWidget*>(f.recent),
                           static_cast<QWidget*>(f.window.menuBar())})
            EXPECT_TRUE(menus.IsHooked(w)) << w->metaObject()->className();

        // Items measure to the skin's height: a text line (x 1.25) or the
        // glyph, plus both margins; a divider is 2 pixels high.
        const int textHeight = QFontMetrics(f.file->font()).height();
        EXPECT_EQ(f.file->actionGeometry(f.open).height(), MenuItemHeight(smNormal, textHeight, 16, menus.Margin));
        EXPECT_EQ(f.file->actionGeometry(f.caption).height(), MenuItemHeight(smCaption, textHeight, 16, 2));
        EXPECT_EQ(f.file->actionGeometry(f.mode).height(), MenuItemHeight(smCaption, textHeight, 16, 2));
        EXPECT_EQ(f.file->actionGeometry(f.file->actions().at(2)).height(), 2);

        const TColor face = Section(manager, "MAINMENU").Color;
        const TColor text = Section(manager, "MENUITEM").FontColor;
        const QImage skinned = f.Grab(f.file);
        SaveScreenshot(skinned, "skinned_menu_popup");
        EXPECT_EQ(PixelsOf(plainMenu, face), 0);
        EXPECT_GT(PixelsOf(skinned, face), skinned.width() * skinned.height() / 4);
        EXPECT_GT(PixelsOf(f.ItemImage(f.open), text), 0);
        EXPECT_EQ(PixelsOf(f.ItemImage(f.open), ColorFromQColor(f.file->palette().color(QPalette::Text))), 0);

        // A disabled item is blended towards the background, not greyed.
        EXPECT_EQ(PixelsOf(f.ItemImage(f.save), text), 0);
        EXPECT_GT(PixelsOf(f.ItemImage(f.save), Channelwise(text, face, 0.4)), 0);

        // Checked and radio items carry the skin's check glyph (a white box).
        EXPECT_GT(PixelsOf(f.ItemImage(f.check), clWhite), 20);
        EXPECT_GT(PixelsOf(f.ItemImage(f.radio), clWhite), 20);
        EXPECT_EQ(PixelsOf(f.ItemImage(f.other), clWhite), 0);
        EXPECT_EQ(PixelsOf(f.ItemImage(f.exit), clWhite), 0);

        // The hot item takes the section's hot colour and hot text.
        f.file->setActiveAction(f.exit);
        QApplication::processEvents();
        const QImage hot = f.ItemImage(f.exit);
        SaveScreenshot(f.Grab(f.file), "skinned_menu_popup_hot");
        EXPECT_GT(PixelsOf(hot, Section(manager, "MENUITEM").HotColor), hot.width() * hot.height() / 3);
        EXPECT_GT(PixelsOf(hot, Section(manager, "MENUITEM").HotFontColor), 0);
        f.file->setActiveAction(nullptr);

        // The popup's see-through corners are cut away.
        EXPECT_FALSE(f.file->mask().isEmpty());
        EXPECT_FALSE(f.file->mask().contains(QPoint(0, 0)));
        EXPECT_TRUE(f.file->mask().contains(QPoint(f.file->width() / 2, f.file->height() / 2)));

        const QImage bar = f.Grab(f.window.menuBar());
        SaveScreenshot(bar, "skinned_menu_bar");
        EXPECT_EQ(PixelsOf(plainBar, Section(manager, "MENULINE").Color), 0);
        EXPECT_GT(PixelsOf(bar, Section(manager, "MENULINE").Color), bar.width() * bar.height() / 2);
        EXPECT_GT(PixelsOf(bar, Section(manager, "MENULINE").FontColor), 0);

        // Another skin: the open popup follows it.
        manager.SetSkinName("TarkuDusk");
        ASSERT_TRUE(manager.Active());
        QApplication::processEvents();
        const TColor duskFace = Section(manager, "MAINMENU").Color;
        ASSERT_NE(duskFace, face);
        const QImage dusk = f.Grab(f.file);
        SaveScreenshot(dusk, "skinned_menu_popup_dusk");
        EXPECT_EQ(PixelsOf(dusk, face), 0);
        EXPECT_GT(PixelsOf(dusk, duskFace), dusk.width() * dusk.height() / 4);

        // Switched off: the plain look, exactly as before.
        manager.SetActive(false);
        QApplication::processEvents();
        EXPECT_FALSE(menus.IsHooked(f.file));
        EXPECT_EQ(f.file->style(), plainStyle);
        EXPECT_FALSE(f.file->testAttribute(Qt::WA_SetStyle));
        EXPECT_TRUE(f.file->mask().isEmpty());
        EXPECT_EQ(f.file->size(), plainSize);
        EXPECT_EQ(f.Grab(f.file), plainMenu);
        EXPECT_EQ(f.Grab(f.window.menuBar()), plainBar);
    }
}

TEST(TsSkinableMenus, MenusOfTheApplicationsOwnKeepTheirStyleAndMask)
{
    SkinDirectory skins;
    MenuForm f;
    std::unique_ptr<QStyle> own(QStyleFactory::create("Fusion"));
    f.recent->setStyle(own.get());
    const QRegion ownMask(0, 0, 5, 5);
    f.file->setMask(ownMask);
    TsSkinManagerComponent manager;
    manager.SetSkinDirectory(skins.dir.path());
    manager.SetSkinName("Tarku");
    ASSERT_TRUE(manager.Active());
    EXPECT_FALSE(manager.SkinableMenus().IsHooked(f.recent));
    EXPECT_EQ(f.recent->style(), own.get());
    ASSERT_TRUE(manager.SkinableMenus().IsHooked(f.file));
    f.Popup();
    EXPECT_NE(f.file->mask(), ownMask);
    manager.SetActive(false);
    EXPECT_EQ(f.recent->style(), own.get());
    EXPECT_EQ(f.file->mask(), ownMask);
    f.recent->setStyle(nullptr);
}

TEST(TsSkinableMenus, SkinnedPopupsOffLeavesMenusPlainAndContextMenusAreHookedOnRequest)
{
    SkinDirectory skins;
    MenuForm f;
    TsSkinManagerComponent manager;
    manager.SetSkinnedPopups(false);
    manager.SetSkinDirectory(skins.dir.path());
    manager.SetSkinName("Tarku");
    ASSERT_TRUE(manager.Active());
    EXPECT_FALSE(manager.SkinableMenus().IsHooked(f.file));
    manager.SetSkinnedPopups(true);
    EXPECT_TRUE(manager.SkinableMenus().IsHooked(f.file));

    // A popup made after the skin came is hooked when its control asks.
    QWidget control(&f.window);
    auto* context = new QMenu(&control);
    context->addAction("Copy");
    EXPECT_FALSE(manager.SkinableMenus().IsHooked(context));
    manager.HookPopupMenu(&control);
    EXPECT_TRUE(manager.SkinableMenus().IsHooked(context));
    delete context;
    EXPECT_FALSE(manager.SkinableMenus().IsHooked(context));
}

TEST(TsSkinableMenus, APopupPaintedBeforeItsFrameAsksTheApplicationOnce)
{
    SkinDirectory skins;
    MenuForm f;
    f.Popup();
    TsSkinManagerComponent manager;
    manager.SetSkinDirectory(skins.dir.path());
    manager.SetSkinName("Tarku");
    ASSERT_TRUE(manager.Active());
    TsSkinableMenus& menus = manager.SkinableMenus();
    // The open popup gets a new background on its next paint; until the
    // request is answered the frame (its mask) is the old one.
    f.file->clearMask();
    menus.ClearMenuBackgrounds();
    f.Grab(f.file);
    EXPECT_TRUE(menus.FrameRequestQueued());
    f.Grab(f.file);
    EXPECT_TRUE(f.file->mask().isEmpty());
    int requests = 0;
    struct Counter : QObject {
        int& n;
        explicit Counter(int& count) : n(count) {}
        bool eventFilter(QObject*, QEvent* e) override
        {
            n += e->type() == MenuFrameEventType();
            return false;
        }
    } counter(requests);
    qApp->installEventFilter(&counter);
    QApplication::processEvents();
    qApp->removeEventFilter(&counter);
    EXPECT_EQ(requests, 1);
    EXPECT_FALSE(menus.FrameRequestQueued());
    EXPECT_FALSE(f.file->mask().isEmpty());
    EXPECT_FALSE(f.file->mask().contains(QPoint(0, 0)));

    // The request for a popup window (0xBCB4) frames that window.
    f.file->clearMask();
    QCoreApplication::postEvent(qApp, new TacMenuFrameEvent(WM_MENUWINDOWFRAME, nullptr, f.file));
    QApplication::processEvents();
    EXPECT_FALSE(f.file->mask().isEmpty());
    EXPECT_FALSE(f.file->mask().contains(QPoint(0, 0)));
}

TEST(TsSkinableMenus, HotItemsNeverUseARuledOutHighlight)
{
    // A skin whose item highlight is white: the system highlight stands in.
    SkinDirectory skins;
    std::string options = testsupport::ReadFileBytes(skins.dir.file("Tarku/Options.dat"));
    const size_t at = options.find("[MENUITEM]");
    ASSERT_NE(at, std::string::npos);
    const size_t hot = options.find("HOTCOLOR=", at);
    options.replace(hot, options.find('\r', hot) - hot, "HOTCOLOR=16777215");
    testsupport::WriteFileBytes(skins.dir.file("Tarku/Options.dat"), options);
    MenuForm f;
    f.Popup();
    TsSkinManagerComponent manager;
    manager.SetSkinDirectory(skins.dir.path());
    manager.SetSkinName("Tarku");
    ASSERT_TRUE(manager.Active());
    ASSERT_EQ(Section(manager, "MENUITEM").HotColor, clWhite);
    f.file->setActiveAction(f.open);
    QApplication::processEvents();
    const QImage item = f.ItemImage(f.open);
    const TColor highlight = ColorFromQColor(QApplication::palette().color(QPalette::Highlight));
    EXPECT_EQ(manager.GetHighlightColor(), highlight);
    // White is left to the highlighted text.
    EXPECT_LT(PixelsOf(item, clWhite), item.width() * item.height() / 10);
    EXPECT_GT(PixelsOf(item, highlight), item.width() * item.height() / 4);
    EXPECT_GT(PixelsOf(item, ColorFromQColor(QApplication::palette().color(QPalette::HighlightedText))), 0);
}

TEST(TsSkinableMenus, ExtraLineWidensTheFirstColumnExceptInSkinSelectionMenus)
{
    SkinDirectory skins;
    MenuForm f;
    TsSkinManagerComponent manager;
    manager.MenuSupport().UseExtraLine = true;
    QAction* asked = nullptr;
    manager.SkinableMenus().OnGetExtraLineData = [&](QAction* first, std::string& section, std::string& text,
                                                     TBitmap&, bool&) {
        asked = first;
        EXPECT_EQ(section, "EXTRALINE");
        text = "T&arku";
    };
    manager.SetSkinDirectory(skins.dir.path());
    manager.SetSkinName("Tarku");
    ASSERT_TRUE(manager.Active());
    f.Popup();
    EXPECT_EQ(asked, f.open);
    EXPECT_EQ(manager.SkinableMenus().ExtraLineText(), "Tarku");
    const int extra = manager.MenuSupport().ExtraLineWidth;
    const QRect item = f.file->actionGeometry(f.open);
    const QImage popup = f.Grab(f.file);
    SaveScreenshot(popup, "skinned_menu_extra_line");
    // The strip is painted left of every item, in its section's colours.
    const QImage strip = popup.copy(QRect(item.left() + 2, 0, extra - 4, popup.height()));
    int light = 0; // the text, white over the dark strip
    for (int y = 0; y < strip.height(); ++y)
        for (int x = 0; x < strip.width(); ++x)
            light += qGray(strip.pixel(x, y)) > 200;
    EXPECT_GT(light, 10);
    EXPECT_GT(PixelsOf(strip, Section(manager, "EXTRALINE").Color), 0);

    // A popup that starts with the skin selection has none.
    QMenu skinsMenu;
    skinsMenu.addAction("Available skins")->setObjectName("SkinSelectItem");
    skinsMenu.addAction("Tarku");
    manager.HookPopupMenu(&skinsMenu);
    asked = nullptr;
    skinsMenu.popup(QPoint(300, 10));
    QApplication::processEvents();
    EXPECT_EQ(asked, nullptr);
    EXPECT_LT(skinsMenu.actionGeometry(skinsMenu.actions().at(1)).width() + extra, item.width());
    skinsMenu.hide();
}

TEST(TsSkinableMenus, ANewDefaultManagerTakesTheMenusOver)
{
    SkinDirectory skins;
    MenuForm f;
    TsSkinManagerComponent first;
    first.SetSkinDirectory(skins.dir.path());
    first.SetSkinName("Tarku");
    ASSERT_TRUE(first.SkinableMenus().IsHooked(f.file));
    TsSkinManagerComponent second;
    second.SetSkinDirectory(skins.dir.path());
    second.SetSkinName("TarkuDusk");
    EXPECT_TRUE(first.SkinableMenus().IsHooked(f.file)); // not the default yet
    second.SetIsDefault(true);
    EXPECT_FALSE(first.SkinableMenus().IsHooked(f.file));
    EXPECT_TRUE(second.SkinableMenus().IsHooked(f.file));
    f.Popup();
    const QImage dusk = f.Grab(f.file);
    EXPECT_GT(PixelsOf(dusk, Section(second, "MAINMENU").Color), dusk.width() * dusk.height() / 4);
}

TEST(TsSkinableMenus, AnUnansweredFrameRequestDoesNotBlockTheNext)
{
    // Nobody answers while popups are not skinned; the next request must
    // still go out once they are.
    SkinDirectory skins;
    MenuForm f;
    TsSkinManagerComponent manager;
    manager.SetSkinDirectory(skins.dir.path());
    manager.SetSkinName("Tarku");
    manager.SetSkinnedPopups(false);
    TsSkinableMenus& menus = manager.SkinableMenus();
    menus.PostFrameRequest(f.open);
    EXPECT_TRUE(menus.FrameRequestQueued());
    QApplication::processEvents();
    EXPECT_FALSE(menus.FrameRequestQueued());
    manager.SetSkinnedPopups(true);
    menus.PostFrameRequest(f.open);
    EXPECT_TRUE(menus.FrameRequestQueued());
    QApplication::processEvents();
    EXPECT_FALSE(menus.FrameRequestQueued());
}
