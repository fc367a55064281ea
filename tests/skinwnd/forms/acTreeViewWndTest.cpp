#include "skinwnd/forms/acTreeViewWnd.h"

#include "AdapterTestSkin.h"
#include "Screenshot.h"
#include "skin/forms/acSkinCommand.h"
#include "skin/forms/sTreeView.h"
#include "skinwnd/forms/acSBUtils.h"

#include <QTreeWidgetItem>

using namespace adaptertest;

namespace {

// A skinned tree on a plain widget: no provider skins the form.
struct TreeForm {
    QWidget form;
    TsTreeView* tree = new TsTreeView(&form);
    TreeForm()
    {
        // Away from the cursor, which would make the tree hot on its own.
        form.setGeometry(300, 300, 220, 160);
        tree->setGeometry(10, 10, 200, 140);
        tree->setFocusPolicy(Qt::NoFocus);
        auto* chips = new QTreeWidgetItem(QStringList{"Chips"});
        tree->addTopLevelItem(chips);
        for (const char* name : {"24C02", "24C04", "24C08", "24C16"})
            chips->addChild(new QTreeWidgetItem(QStringList{name}));
        for (int i = 0; i < 10; ++i)
            tree->addTopLevelItem(new QTreeWidgetItem(QStringList{QString("Dump %1").arg(i)}));
        tree->expandAll();
        tree->Loaded();
        form.show();
        QApplication::processEvents();
    }
    // The tree's adapter, checked to be the one the registry knows.
    TacTreeViewWnd* Adapter() const
    {
        auto* adapter = dynamic_cast<TacTreeViewWnd*>(GetAdapterOf(tree));
        EXPECT_EQ(static_cast<QObject*>(adapter), tree->WndAdapter());
        return adapter;
    }
};

} // namespace

TEST(TsTreeViewAdapter, NoneWithoutASkinManager)
{
    SkinLibraryInitialization();
    ASSERT_EQ(DefaultSkinManager, nullptr);
    TreeForm f;
    EXPECT_EQ(f.Adapter(), nullptr);
    EXPECT_EQ(f.tree->WndAdapter(), nullptr);
}

TEST(TsTreeViewAdapter, ASkinnedTreeGetsItsAdapterAndLosesItWithTheSkin)
{
    SkinScope scope;
    TreeForm f;
    TacTreeViewWnd* adapter = f.Adapter();
    ASSERT_NE(adapter, nullptr);
    EXPECT_EQ(adapter->SkinData(), f.tree->SkinData());
    EXPECT_EQ(f.tree->SkinData()->SkinSection(), "EDIT");
    EXPECT_FALSE(adapter->Detached);
    // The adapter paints the tree's frame by the skin.
    const QImage skinned = Grab(f.tree);
    SaveScreenshot(skinned, "treeview_adapter");
    // Asked again, the tree keeps its adapter.
    SendSkinCommand(f.tree, AC_REFRESH, 0, reinterpret_cast<intptr_t>(f.tree->SkinData()->GetSkinManager()));
    EXPECT_EQ(f.Adapter(), adapter);

    // The skin goes: so does the adapter, and the tree takes the system's
    // colours.
    scope.manager->SetActive(false);
    QApplication::processEvents();
    EXPECT_EQ(f.Adapter(), nullptr);
    EXPECT_EQ(ControlColor(f.tree), clWindow());
    const QImage plain = Grab(f.tree);
    SaveScreenshot(plain, "treeview_plain");
    EXPECT_NE(plain, skinned);

    // The skin comes back: a new adapter.
    scope.Use("Tarku");
    ASSERT_NE(f.Adapter(), nullptr);
    EXPECT_EQ(Grab(f.tree), skinned);
}

TEST(TsTreeViewAdapter, TreeOrManagerGoingFirst)
{
    {
        SCOPED_TRACE("the tree goes first");
        SkinScope scope;
        auto f = std::make_unique<TreeForm>();
        ASSERT_NE(f->Adapter(), nullptr);
        f.reset();
    }
    {
        SCOPED_TRACE("the manager goes first");
        auto scope = std::make_unique<SkinScope>();
        TreeForm f;
        ASSERT_NE(f.Adapter(), nullptr);
        scope.reset();
        EXPECT_EQ(f.Adapter(), nullptr);
        f.tree->update();
        QApplication::processEvents();
    }
}

TEST(UpdateTreeViewWnd, MadeWhileSkinnedRemadeWhenDetachedFreedWhenNot)
{
    SkinScope scope;
    QWidget form;
    auto* tree = new QTreeWidget(&form);
    TsCommonData data(tree, true);
    data.SetSkinSection("EDIT");
    ASSERT_TRUE(data.Skinned());
    TacMainWnd* wnd = nullptr;
    UpdateTreeViewWnd(&data, wnd);
    ASSERT_NE(dynamic_cast<TacTreeViewWnd*>(wnd), nullptr);
    EXPECT_EQ(GetAdapterOf(tree), wnd);
    EXPECT_EQ(wnd->SkinData(), &data);
    TacMainWnd* first = wnd;
    UpdateTreeViewWnd(&data, wnd);
    EXPECT_EQ(wnd, first);
    // An adapter that let go of its window is replaced.
    DetachWnd(tree, false, wnd);
    ASSERT_TRUE(wnd->Detached);
    UpdateTreeViewWnd(&data, wnd);
    ASSERT_NE(wnd, nullptr);
    EXPECT_FALSE(wnd->Detached);
    EXPECT_EQ(GetAdapterOf(tree), wnd);
    // Not skinned: freed.
    data.SetSkinSection("NO SUCH SECTION");
    ASSERT_FALSE(data.Skinned());
    UpdateTreeViewWnd(&data, wnd);
    EXPECT_EQ(wnd, nullptr);
    EXPECT_EQ(GetAdapterOf(tree), nullptr);
}
