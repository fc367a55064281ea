#include "skinwnd/forms/acAdapterFactory.h"

#include "skin/forms/acSkinStartup.h"
#include "skinwnd/forms/acMainWnd.h"
#include "skinwnd/forms/acSBUtils.h"
#include "skinwnd/forms/acBtnWnd.h"
#include "skinwnd/forms/acCheckBoxWnd.h"
#include "skinwnd/forms/acComboBoxWnd.h"
#include "skinwnd/forms/acEditWnd.h"
#include "skinwnd/forms/acGridWnd.h"
#include "skinwnd/forms/acGroupBoxWnd.h"
#include "skinwnd/forms/acListViewWnd.h"
#include "skinwnd/forms/acPanelWnd.h"
#include "skinwnd/forms/acScrollWnd.h"
#include "skinwnd/forms/acSizerWnd.h"
#include "skinwnd/forms/acSpeedButtonHandler.h"
#include "skinwnd/forms/acSpinWnd.h"
#include "skinwnd/forms/acStaticWnd.h"
#include "skinwnd/forms/acStatusBarWnd.h"
#include "skinwnd/forms/acTabControlWnd.h"
#include "skinwnd/forms/acToolBarVCLWnd.h"
#include "skinwnd/forms/acToolBarWnd.h"
#include "skinwnd/forms/acTransPanelWnd.h"
#include "skinwnd/forms/acTreeViewWnd.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSizeGrip>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <typeinfo>

TEST(acAdapterFactory, EveryKindIsMadeAndAttached)
{
    SkinLibraryInitialization();
    std::set<std::string> names;
    for (int k = 0; k <= int(TacAdapterKind::DialogWnd); ++k) {
        const auto kind = TacAdapterKind(k);
        const std::string name = AdapterClassName(kind);
        SCOPED_TRACE(name);
        EXPECT_EQ(name.rfind("Tac", 0), 0u);
        EXPECT_TRUE(names.insert(name).second);
        QTabWidget w;
        TacMainWnd* adapter = CreateWndAdapter(kind, &w, false, "", nullptr, nullptr);
        ASSERT_NE(adapter, nullptr);
        EXPECT_EQ(GetAdapterOf(&w), adapter);
        // A kind whose class is not built is the plain base adapter.
        if (!AdapterKindBuilt(kind)) {
            EXPECT_EQ(typeid(*adapter), typeid(TacMainWnd));
        }
        DetachWnd(&w, true, adapter);
        EXPECT_EQ(GetAdapterOf(&w), nullptr);
    }
    EXPECT_EQ(CreateWndAdapter(TacAdapterKind::EditWnd, nullptr, false, "", nullptr, nullptr), nullptr);
}

TEST(acAdapterFactory, BuiltKindsAreTheirOwnClasses)
{
    SkinLibraryInitialization();
    struct Case {
        TacAdapterKind kind;
        std::function<QWidget*()> make;
        const std::type_info& type;
    };
    auto tabs = [] { return new QTabWidget; };
    auto button = [] { return new QPushButton; };
    auto label = [] { return new QLabel; };
    auto edit = [] { return new QPlainTextEdit; };
    using K = TacAdapterKind;
    const Case cases[] = {
        {K::MainWnd, tabs, typeid(TacMainWnd)},
        {K::StaticWnd, label, typeid(TacStaticWnd)},
        {K::IconWnd, label, typeid(TacIconWnd)},
        {K::LinkWnd, label, typeid(TacLinkWnd)},
        {K::BtnWnd, button, typeid(TacBtnWnd)},
        {K::BitBtnWnd, button, typeid(TacBitBtnWnd)},
        {K::SizerWnd, [] { return new QSizeGrip(nullptr); }, typeid(TacSizerWnd)},
        {K::SpinWnd, [] { return new QSpinBox; }, typeid(TacSpinWnd)},
        {K::CheckBoxWnd, [] { return new QRadioButton; }, typeid(TacCheckBoxWnd)},
        {K::ToolBarWnd, [] { return new QToolBar; }, typeid(TacToolBarWnd)},
        {K::TransPanelWnd, [] { return new QWidget; }, typeid(TacTransPanelWnd)},
        {K::GroupBoxWnd, [] { return new QGroupBox; }, typeid(TacGroupBoxWnd)},
        {K::PanelWnd, [] { return new QFrame; }, typeid(TacPanelWnd)},
        {K::ScrollWnd, edit, typeid(TacScrollWnd)},
        {K::BaseWnd, edit, typeid(TacBaseWnd)},
        {K::EditWnd, [] { return new QLineEdit; }, typeid(TacEditWnd)},
        {K::ComboListWnd, [] { return new QListView; }, typeid(TacComboListWnd)},
        {K::ListViewWnd, [] { return new QTreeWidget; }, typeid(TacListViewWnd)},
        {K::GridWnd, [] { return new QTableWidget; }, typeid(TacGridWnd)},
        {K::GridEhWnd, [] { return new QTableWidget; }, typeid(TacGridWnd)},
        {K::WWComboBoxWnd, [] { return new QComboBox; }, typeid(TacComboBoxWnd)},
        {K::TreeViewWnd, [] { return new QTreeView; }, typeid(TacTreeViewWnd)},
        {K::ComboBoxWnd, [] { return new QComboBox; }, typeid(TacComboBoxWnd)},
        {K::TabControlWnd, [] { return new QTabBar; }, typeid(TacTabControlWnd)},
        {K::PageControlWnd, tabs, typeid(TacPageControlWnd)},
        {K::PageWnd, [] { return new QWidget; }, typeid(TacPageWnd)},
        {K::ToolBarVCLWnd, [] { return new QToolBar; }, typeid(TacToolBarVCLWnd)},
        {K::StatusBarWnd, [] { return new QStatusBar; }, typeid(TacStatusBarWnd)},
        // A class made for one kind of widget is not put on another.
        {K::BtnWnd, label, typeid(TacMainWnd)},
        {K::GroupBoxWnd, button, typeid(TacMainWnd)},
        {K::SpinWnd, [] { return new QToolButton; }, typeid(TacMainWnd)},
        {K::StaticWnd, tabs, typeid(TacMainWnd)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(AdapterClassName(c.kind));
        EXPECT_TRUE(AdapterKindBuilt(c.kind));
        std::unique_ptr<QWidget> w(c.make());
        SCOPED_TRACE(w->metaObject()->className());
        TacMainWnd* adapter = CreateWndAdapter(c.kind, w.get(), true, "", nullptr, nullptr);
        ASSERT_NE(adapter, nullptr);
        EXPECT_EQ(typeid(*adapter), c.type);
        EXPECT_EQ(GetAdapterOf(w.get()), adapter);
        FreeWndAdapter(adapter);
        EXPECT_EQ(adapter, nullptr);
        EXPECT_EQ(GetAdapterOf(w.get()), nullptr);
    }
    // Made by other component sets: the plain adapter.
    EXPECT_FALSE(AdapterKindBuilt(K::VirtualTreeViewWnd));
}

TEST(acAdapterFactory, FreeingAScrollAdapterGivesTheBarsBack)
{
    SkinLibraryInitialization();
    QPlainTextEdit memo;
    memo.setPlainText(QString("line\n").repeated(100));
    memo.resize(200, 100);
    memo.show();
    QApplication::processEvents();
    QScrollBar* bar = memo.verticalScrollBar();
    const QPalette palette = bar->palette();
    const bool visible = bar->isVisible();
    TsCommonData data(&memo, true);
    TacMainWnd* adapter = CreateWndAdapter(TacAdapterKind::EditWnd, &memo, true, "", nullptr, &data);
    FreeWndAdapter(adapter);
    EXPECT_EQ(adapter, nullptr);
    EXPECT_EQ(GetAdapterOf(&memo), nullptr);
    EXPECT_EQ(GetScrollBarOf(&memo, SB_VERT), nullptr);
    EXPECT_EQ(memo.verticalScrollBar(), bar);
    EXPECT_EQ(bar->isVisible(), visible);
    EXPECT_EQ(bar->palette(), palette);
    TacMainWnd* none = nullptr;
    FreeWndAdapter(none);
}

TEST(acAdapterFactory, SpeedButtonHandlerOnlyForToolButtons)
{
    SkinLibraryInitialization();
    TsCommonData data(nullptr, true);
    data.SetSkinSection("SPEEDBUTTON_SMALL");
    QToolButton tool;
    std::unique_ptr<QObject> handler(CreateSpeedButtonHandler(&tool, &data, nullptr));
    ASSERT_NE(handler, nullptr);
    auto* speed = dynamic_cast<TacSpeedButtonHandler*>(handler.get());
    ASSERT_NE(speed, nullptr);
    EXPECT_EQ(speed->ButtonControl, &tool);
    // The section the caller gave stays.
    EXPECT_EQ(data.SkinSection(), "SPEEDBUTTON_SMALL");
    QPushButton push;
    EXPECT_EQ(CreateSpeedButtonHandler(&push, &data, nullptr), nullptr);
    EXPECT_EQ(CreateSpeedButtonHandler(&tool, nullptr, nullptr), nullptr);
    EXPECT_EQ(CreateSpeedButtonHandler(nullptr, &data, nullptr), nullptr);
}
