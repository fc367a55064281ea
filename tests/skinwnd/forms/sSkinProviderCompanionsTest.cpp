// What a skinned form's provider hands to others: its system menu, its
// menu bar to the skin's menus, its child controls to the control adapter.
#include "skinwnd/forms/sSkinProvider.h"

#include "AdapterTestSkin.h"
#include "Screenshot.h"
#include "SkinGenerator.h"
#include "TestSupport.h"
#include "skin/forms/acSkinCommand.h"
#include "skin/forms/acSkinStartup.h"
#include "skin/forms/sSkinManager.h"
#include "skin/sMessages.h"
#include "skinwnd/forms/acCtrlAdapter.h"
#include "skinwnd/forms/acSBUtils.h"
#include "skinwnd/forms/sSystemMenu.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace adaptertest;

namespace {

// A manager with the controls' class lists set; the project skin comes
// with Use.
struct Skins : SkinScope {
    Skins() : SkinScope(nullptr)
    {
        for (const auto& [index, text] : {std::pair{0, "TEdit"}, {1, "TButton"}, {3, "TCheckBox"}, {6, "TGroupBox"}})
            manager->ThirdParty.SetByIndex(index, text);
        manager->UpdateThirdNames(false);
    }
    void Use() { SkinScope::Use("Tarku"); }
};

// A main window with a menu bar and a few controls in its client.
struct Form {
    QMainWindow window;
    QPushButton* button = nullptr;
    QLineEdit* edit = nullptr;
    QCheckBox* check = nullptr;
    QGroupBox* group = nullptr;
    Form()
    {
        window.setWindowTitle("Tarku - 24C02");
        for (const char* m : {"&File", "&Edit", "&Device", "&Help"})
            window.menuBar()->addMenu(m)->addAction("Item");
        auto* client = new QWidget;
        auto* layout = new QVBoxLayout(client);
        button = new QPushButton("Read");
        edit = new QLineEdit("24C02");
        check = new QCheckBox("Verify after writing");
        group = new QGroupBox("Chip");
        new QVBoxLayout(group);
        for (QWidget* w : std::vector<QWidget*>{button, edit, check, group})
            layout->addWidget(w);
        window.setCentralWidget(client);
        window.resize(420, 280);
    }
};

// Closes a popup left open by a failed check, so no test leaves one behind.
struct PopupCeiling {
    ~PopupCeiling()
    {
        while (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    }
};

std::vector<std::string> Shown(QMenu& menu)
{
    std::vector<std::string> out;
    for (QAction* a : menu.actions())
        if (a->isVisible())
            out.push_back(a->isSeparator() ? "-" : a->objectName().toStdString());
    return out;
}

QPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

// The caption, right of the icon and left of the title buttons.
QPoint CaptionPoint(TsSkinProvider& p)
{
    return {p.CaptionIconRect().Right + 40, p.FormBorderWidth() + p.CaptionHeight() / 2};
}

void ShowActive(QWidget& w)
{
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w, 10000));
}

} // namespace

TEST(TsSkinProviderSystemMenu, OpensFromIconRightClickAndAltSpace)
{
    Skins skins;
    skins.Use();
    Form f;
    auto* provider = new TsSkinProvider(&f.window);
    ShowActive(f.window);
    PopupCeiling ceiling;
    Grab(f.window); // lays the caption out
    ASSERT_NE(provider->SystemMenu(), nullptr);

    struct Way {
        const char* what;
        std::function<void()> open;
    };
    const Way ways[] = {
        {"icon click", [&] { QTest::mousePress(&f.window, Qt::LeftButton, {}, Centre(provider->CaptionIconRect())); }},
        {"right click on the caption",
         [&] { QTest::mouseClick(&f.window, Qt::RightButton, {}, CaptionPoint(*provider)); }},
        {"Alt+Space in a control", [&] { QTest::keyClick(f.edit, Qt::Key_Space, Qt::AltModifier); }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.what);
        f.edit->setFocus();
        way.open();
        QApplication::processEvents();
        TsSystemMenu* menu = provider->SystemMenu();
        ASSERT_TRUE(menu->isVisible());
        EXPECT_TRUE(skins.manager->SkinableMenus().IsHooked(menu));
        EXPECT_EQ(Shown(*menu), (std::vector<std::string>{"acIR", "acIM", "acIS", "acIN", "acIX", "-", "acIC"}));
        EXPECT_FALSE(menu->ItemRestore->isEnabled());
        EXPECT_TRUE(menu->ItemMaximize->isEnabled());
        menu->hide();
        QApplication::processEvents();
    }
    // The icon's menu opens below the icon, at its left edge.
    QTest::mousePress(&f.window, Qt::LeftButton, {}, Centre(provider->CaptionIconRect()));
    QApplication::processEvents();
    const QPoint below =
        f.window.mapToGlobal(QPoint(provider->CaptionIconRect().Left, provider->FormBorderWidth() + provider->CaptionHeight()));
    EXPECT_EQ(provider->SystemMenu()->pos(), below);
    provider->SystemMenu()->hide();

    // A click into the client opens nothing.
    QTest::mouseClick(&f.window, Qt::RightButton, {}, f.window.rect().center());
    QApplication::processEvents();
    EXPECT_FALSE(provider->SystemMenu()->isVisible());
}

TEST(TsSkinProviderSystemMenu, ChosenCommandsChangeTheWindowState)
{
    Skins skins;
    skins.Use();
    Form f;
    auto* provider = new TsSkinProvider(&f.window);
    ShowActive(f.window);
    PopupCeiling ceiling;
    auto choose = [&](const char* name) {
        Grab(f.window);
        QTest::mousePress(&f.window, Qt::LeftButton, {}, Centre(provider->CaptionIconRect()));
        QApplication::processEvents();
        TsSystemMenu* menu = provider->SystemMenu();
        ASSERT_TRUE(menu->isVisible());
        QAction* item = menu->findChild<QAction*>(name);
        ASSERT_NE(item, nullptr);
        ASSERT_TRUE(item->isEnabled() && item->isVisible());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
        QApplication::processEvents();
        EXPECT_FALSE(menu->isVisible());
    };
    choose("acIX");
    EXPECT_TRUE(f.window.isMaximized());
    // The maximised form's menu restores and no longer maximises.
    choose("acIR");
    EXPECT_FALSE(f.window.isMaximized());
    EXPECT_FALSE(provider->SystemMenu()->ItemRestore->isEnabled());
    choose("acIC");
    EXPECT_FALSE(f.window.isVisible());
}

TEST(TsSkinProviderSystemMenu, DialogMenuShowsWhatItsBorderAllows)
{
    Skins skins;
    skins.Use();
    QDialog dialog;
    dialog.setWindowTitle("Chip options");
    dialog.setFixedSize(260, 140); // a fixed dialog border
    auto* provider = new TsSkinProvider(&dialog);
    ShowActive(dialog);
    PopupCeiling ceiling;
    Grab(dialog);
    QTest::mouseClick(&dialog, Qt::RightButton, {}, CaptionPoint(*provider));
    QApplication::processEvents();
    TsSystemMenu* menu = provider->SystemMenu();
    ASSERT_TRUE(menu->isVisible());
    EXPECT_EQ(Shown(*menu), (std::vector<std::string>{"acIM", "-", "acIC"}));
    menu->hide();
}

TEST(TsSkinProviderMenus, MenuBarIsSkinnedWhileTheProviderPaintsTheFrame)
{
    // The provider's manager is not the default one: only the provider
    // hands the bar to its menus.
    SkinLibraryInitialization();
    TsSkinManagerComponent idle;
    Skins skins;
    ASSERT_FALSE(skins.manager->IsDefault());
    Form f;
    f.window.show();
    QMenuBar* bar = f.window.menuBar();
    const QImage plain = Grab(*bar);
    auto* provider = new TsSkinProvider(&f.window);
    provider->SkinData().SetSkinManager(skins.manager.get());
    skins.Use();
    ASSERT_TRUE(provider->FrameActive());
    TsSkinableMenus& menus = skins.manager->SkinableMenus();
    EXPECT_TRUE(menus.IsHooked(bar));
    EXPECT_TRUE(menus.IsHooked(bar->actions().front()->menu()));
    const QImage skinned = Grab(*bar);
    EXPECT_NE(skinned, plain);

    provider->SetDrawNonClientArea(false);
    EXPECT_FALSE(menus.IsHooked(bar));
    EXPECT_FALSE(menus.IsHooked(bar->actions().front()->menu()));
    provider->SetDrawNonClientArea(true);
    EXPECT_TRUE(menus.IsHooked(bar));
    EXPECT_EQ(Grab(*bar), skinned);

    skins.manager->SetActive(false);
    QApplication::processEvents();
    EXPECT_FALSE(provider->FrameActive());
    EXPECT_FALSE(menus.IsHooked(bar));
    EXPECT_EQ(Grab(*bar), plain);
}

TEST(TsSkinProviderAdapter, ControlsTakeAdaptersWithTheSkinAndLoseThemWithout)
{
    Skins skins;
    Form f;
    auto* provider = new TsSkinProvider(&f.window);
    f.window.show();
    QApplication::processEvents();
    EXPECT_EQ(provider->Adapter(), nullptr);
    skins.Use();
    ASSERT_NE(provider->Adapter(), nullptr);
    for (QWidget* w : std::vector<QWidget*>{f.button, f.edit, f.check, f.group})
        EXPECT_NE(GetAdapterOf(w), nullptr) << w->metaObject()->className();

    // Controls that come later: a child of the form as it appears, a
    // control deeper down when the form is asked to adapt it.
    auto* later = new QPushButton("Later", &f.window);
    later->show();
    QApplication::processEvents();
    EXPECT_NE(GetAdapterOf(later), nullptr);
    auto* inGroup = new QPushButton("Erase", f.group);
    f.group->layout()->addWidget(inGroup);
    QApplication::processEvents();
    SendSkinCommand(&f.window, AC_ADAPTCONTROL, 0, reinterpret_cast<intptr_t>(inGroup));
    EXPECT_NE(GetAdapterOf(inGroup), nullptr);

    skins.manager->SetActive(false);
    QApplication::processEvents();
    EXPECT_EQ(provider->Adapter(), nullptr);
    for (QWidget* w : std::vector<QWidget*>{f.button, f.edit, f.check, f.group, later, inGroup})
        EXPECT_EQ(GetAdapterOf(w), nullptr) << w->metaObject()->className();

    // Back with the skin, and gone with the provider.
    skins.Use();
    EXPECT_NE(GetAdapterOf(f.button), nullptr);
    delete provider;
    EXPECT_EQ(GetAdapterOf(f.button), nullptr);
}

TEST(TsSkinProviderAdapter, ChildOfADialogAddedAfterTheSkin)
{
    Skins skins;
    skins.Use();
    QDialog dialog;
    dialog.resize(240, 120);
    auto* provider = new TsSkinProvider(&dialog);
    dialog.show();
    QApplication::processEvents();
    ASSERT_NE(provider->Adapter(), nullptr);
    auto* ok = new QPushButton("OK", &dialog);
    ok->move(20, 20);
    ok->show();
    QApplication::processEvents();
    EXPECT_NE(GetAdapterOf(ok), nullptr);
    // Without third-party skinning nothing new is adapted.
    skins.manager->SkinningRules = srStdForms | srStdDialogs;
    auto* cancel = new QPushButton("Cancel", &dialog);
    cancel->show();
    QApplication::processEvents();
    EXPECT_EQ(GetAdapterOf(cancel), nullptr);
}

TEST(TsSkinProviderAdapter, FormFilledAfterItsProviderIsAdaptedWhenShown)
{
    Skins skins;
    skins.Use();
    QWidget form;
    auto* provider = new TsSkinProvider(&form);
    ASSERT_NE(provider->Adapter(), nullptr);
    auto* layout = new QVBoxLayout(&form);
    auto* group = new QGroupBox("Chip");
    auto* inGroup = new QCheckBox("Blank check", group);
    new QVBoxLayout(group);
    group->layout()->addWidget(inGroup);
    layout->addWidget(group);
    form.show();
    QApplication::processEvents();
    EXPECT_NE(GetAdapterOf(group), nullptr);
    EXPECT_NE(GetAdapterOf(inGroup), nullptr);
}

TEST(TsSkinProviderScreens, SkinnedFormWithMenuBarControlsAndSystemMenu)
{
    Skins skins;
    skins.Use();
    Form f;
    auto* provider = new TsSkinProvider(&f.window);
    ShowActive(f.window);
    PopupCeiling ceiling;
    Grab(f.window);
    QTest::mousePress(&f.window, Qt::LeftButton, {}, Centre(provider->CaptionIconRect()));
    QApplication::processEvents();
    TsSystemMenu* menu = provider->SystemMenu();
    ASSERT_TRUE(menu->isVisible());
    const QImage form = Grab(f.window);
    const QImage popup = Grab(*menu);
    QImage shot = form.copy();
    {
        QPainter p(&shot);
        p.drawImage(f.window.mapFromGlobal(menu->pos()), popup);
    }
    EXPECT_TRUE(SaveScreenshot(shot, "skinned_form_system_menu"));
    menu->hide();
}
