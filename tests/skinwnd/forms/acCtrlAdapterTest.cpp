#include "skinwnd/forms/acCtrlAdapter.h"

#include "AdapterTestSkin.h"
#include "SkinGenerator.h"
#include "Screenshot.h"
#include "TestSupport.h"
#include "skin/forms/acSkinCommand.h"
#include "skin/forms/acSkinStartup.h"
#include "skin/forms/sCommonData.h"
#include "skin/forms/sSkinManager.h"
#include "skinwnd/forms/acComboBoxWnd.h"
#include "skinwnd/forms/acGridWnd.h"
#include "skinwnd/forms/acMainWnd.h"
#include "skinwnd/forms/acSBUtils.h"
#include "skinwnd/forms/acTabControlWnd.h"
#include "skinwnd/forms/sFrameAdapter.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCommandLinkButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

using K = TacAdapterKind;

namespace {

// A manager (no skin loaded) whose class lists name the classes given.
std::unique_ptr<TsSkinManagerComponent> ManagerWithLists(const std::vector<std::pair<int, const char*>>& lists)
{
    SkinLibraryInitialization();
    auto m = std::make_unique<TsSkinManagerComponent>();
    for (const auto& [index, text] : lists)
        m->ThirdParty.SetByIndex(index, text);
    m->UpdateThirdNames(false);
    return m;
}

// Every class of the fixed table named in the list of its kind.
const std::vector<std::pair<int, const char*>> AllLists = {
    {0, "TEdit"},      {1, "TButton"},     {3, "TCheckBox"},     {4, "TComboBox"},     {5, "TStringGrid"},
    {6, "TGroupBox"},  {7, "TListView"},   {8, "TPanel"},        {9, "TTreeView"},     {13, "TPageControl"},
    {14, "TTabControl"}, {15, "TToolBar"}, {16, "TStatusBar"},   {17, "TSpeedButton"},
};

// A push button that counts the commands reaching it.
class CountingButton : public QPushButton {
public:
    using QPushButton::QPushButton;
    int seen = 0;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == SkinCommandEventType() && static_cast<TSkinCommandEvent*>(e)->SubCode() == 200)
            ++seen;
        return QPushButton::event(e);
    }
};

// A form with a control of every class of the table, some inside others,
// a label, a free tool button and a frame of the library's own.
struct Form {
    QWidget form;
    CountingButton* button = new CountingButton("Button", &form);
    QLineEdit* edit = new QLineEdit("edit", &form);
    QCheckBox* check = new QCheckBox("check", &form);
    QComboBox* combo = new QComboBox(&form);
    QGroupBox* group = new QGroupBox("group", &form);
    QPushButton* inGroup = new QPushButton("in group", group);
    QTreeView* tree = new QTreeView(&form);
    QListView* list = new QListView(&form);
    QTableView* table = new QTableView(&form);
    QTabWidget* tabs = new QTabWidget(&form);
    QWidget* page = new QWidget;
    QPushButton* onPage = new QPushButton("on page", page);
    QTabBar* bar = new QTabBar(&form);
    QToolBar* toolBar = new QToolBar(&form);
    QStatusBar* status = new QStatusBar(&form);
    QFrame* panel = new QFrame(&form);
    QLabel* label = new QLabel("label", &form);
    QToolButton* tool = new QToolButton(&form);
    QFrame* libraryFrame = new QFrame(&form);
    QPushButton* inLibrary = new QPushButton("library's", libraryFrame);

    Form()
    {
        tabs->addTab(page, "page");
        bar->addTab("one");
        bar->addTab("two");
        toolBar->addAction("act");
        libraryFrame->setProperty("Tag", LibraryWindowTag);
        int y = 0;
        for (QWidget* w : std::vector<QWidget*>{button, edit, check, combo, group, tree, list, table, tabs, bar,
                                                 toolBar, status, panel, label, tool, libraryFrame}) {
            w->setGeometry(5, y, 150, w == tabs ? 80 : w == group ? 50 : 24);
            y += w->height() + 4;
        }
        inGroup->setGeometry(10, 20, 100, 24);
        form.resize(170, y);
    }
    // What each control is expected to get from the walk with every list set.
    std::vector<std::pair<QWidget*, K>> Expected() const
    {
        return {{button, K::BtnWnd},        {edit, K::EditWnd},        {check, K::CheckBoxWnd},
                {combo, K::ComboBoxWnd},    {group, K::GroupBoxWnd},   {inGroup, K::BtnWnd},
                {tree, K::TreeViewWnd},     {list, K::ListViewWnd},    {table, K::GridWnd},
                {tabs, K::PageControlWnd},  {onPage, K::BtnWnd},       {bar, K::TabControlWnd},
                {toolBar, K::ToolBarVCLWnd}, {status, K::StatusBarWnd}, {panel, K::PanelWnd}};
    }
};

const TacAdapterItem* ItemOf(const TacCtrlAdapter& a, const QWidget* w)
{
    for (int i = 0; i < a.Count(); ++i)
        if (a.GetItem(i)->Control == w)
            return a.GetItem(i);
    return nullptr;
}

} // namespace

TEST(TacCtrlAdapter, WalkGivesEachControlTheAdapterOfItsList)
{
    auto manager = ManagerWithLists(AllLists);
    Form f;
    auto adapter = std::make_unique<TacCtrlAdapter>(&f.form, manager.get());
    adapter->AdaptControls(nullptr);
    for (const auto& [w, kind] : f.Expected()) {
        SCOPED_TRACE(AdapterClassName(kind));
        const TacAdapterItem* item = ItemOf(*adapter, w);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->Kind, kind);
        ASSERT_NE(item->WndAdapter, nullptr);
        EXPECT_EQ(GetAdapterOf(w), item->WndAdapter);
        EXPECT_EQ(item->SkinData->OwnerControl, w);
    }
    EXPECT_EQ(adapter->Count(), int(f.Expected().size()));
    // The kinds built here are their own classes.
    EXPECT_NE(dynamic_cast<TacPageControlWnd*>(GetAdapterOf(f.tabs)), nullptr);
    EXPECT_NE(dynamic_cast<TacTabControlWnd*>(GetAdapterOf(f.bar)), nullptr);
    EXPECT_EQ(dynamic_cast<TacPageControlWnd*>(GetAdapterOf(f.bar)), nullptr);
    // Labels, the library's frame with what it holds, and tool buttons get
    // no window adapter; the free tool button gets a handler instead.
    for (QWidget* w : std::vector<QWidget*>{f.label, f.libraryFrame, f.inLibrary, f.tool, f.page})
        EXPECT_EQ(GetAdapterOf(w), nullptr) << w->metaObject()->className();
    ASSERT_EQ(adapter->GraphCount(), 1);
    EXPECT_EQ(adapter->GetGraphItem(0)->Control, f.tool);
    EXPECT_FALSE(adapter->GetGraphItem(0)->HandlerDead());
    // A second walk adds nothing.
    adapter->AdaptControls(nullptr);
    EXPECT_EQ(adapter->Count(), int(f.Expected().size()));
    EXPECT_EQ(adapter->GraphCount(), 1);
    adapter.reset();
    for (const auto& [w, kind] : f.Expected())
        EXPECT_EQ(GetAdapterOf(w), nullptr) << AdapterClassName(kind);
}

// The lists of other component sets' grids and combo boxes give the grid
// and combo-box adapters.
TEST(TacCtrlAdapter, ForeignGridAndComboListsGiveTheirAdapters)
{
    auto manager = ManagerWithLists({{10, "TComboBox"}, {11, "TStringGrid"}});
    Form f;
    auto adapter = std::make_unique<TacCtrlAdapter>(&f.form, manager.get());
    adapter->AdaptControls(nullptr);
    ASSERT_NE(ItemOf(*adapter, f.table), nullptr);
    EXPECT_EQ(ItemOf(*adapter, f.table)->Kind, K::GridEhWnd);
    EXPECT_NE(dynamic_cast<TacGridWnd*>(GetAdapterOf(f.table)), nullptr);
    ASSERT_NE(ItemOf(*adapter, f.combo), nullptr);
    EXPECT_EQ(ItemOf(*adapter, f.combo)->Kind, K::WWComboBoxWnd);
    EXPECT_NE(dynamic_cast<TacComboBoxWnd*>(GetAdapterOf(f.combo)), nullptr);
}

TEST(TacCtrlAdapter, TakingTheAdapterAwayRestoresTheForm)
{
    adaptertest::SkinDirectory skins;
    auto manager = ManagerWithLists(AllLists);
    manager->SetSkinDirectory(skins.dir.path());
    manager->SetSkinName("Tarku");
    ASSERT_TRUE(manager->Active()) << manager->LastError();
    Form f;
    QPalette own = f.label->palette();
    own.setColor(QPalette::WindowText, QColor(200, 0, 0));
    f.label->setPalette(own);
    f.form.show();
    QApplication::processEvents();
    const QImage before = f.form.grab().toImage();
    auto adapter = std::make_unique<TacCtrlAdapter>(&f.form, manager.get());
    adapter->AdaptControls(nullptr);
    QApplication::processEvents();
    EXPECT_NE(f.form.grab().toImage(), before);
    adapter->BroadcastMessage(AC_REMOVESKIN, 0, reinterpret_cast<intptr_t>(static_cast<TsSkinManager*>(manager.get())));
    adapter.reset();
    QApplication::processEvents();
    EXPECT_EQ(f.form.grab().toImage(), before);
    EXPECT_EQ(f.label->palette(), own);
}

TEST(TacCtrlAdapter, FormDestroyedBeforeItsAdapter)
{
    auto manager = ManagerWithLists(AllLists);
    auto f = std::make_unique<Form>();
    f->label->setPalette(QPalette(Qt::red));
    auto adapter = std::make_unique<TacCtrlAdapter>(&f->form, manager.get());
    adapter->AdaptControls(nullptr);
    f->form.show();
    QApplication::processEvents();
    const int count = adapter->Count();
    ASSERT_GT(count, 0);
    f.reset();
    // Every adapter lost its window; nothing is touched any more.
    for (int i = 0; i < count; ++i)
        EXPECT_TRUE(adapter->GetItem(i)->AdapterDead());
    adapter->BroadcastMessage(200, 0, 0);
    adapter->AdaptControls(nullptr);
    EXPECT_EQ(adapter->Count(), 0);
    adapter.reset();
}

TEST(TacCtrlAdapter, FirstListNamingTheControlDecides)
{
    struct Case {
        const char* what;
        std::vector<std::pair<int, const char*>> lists;
        std::function<QWidget*(QWidget*)> make;
        bool adapted;
        K kind;
    };
    const Case cases[] = {
        {"the lower list wins", {{0, "TPanel"}, {8, "TPanel"}}, [](QWidget* p) { return new QFrame(p); }, true,
         K::EditWnd},
        {"a Qt class by its own name", {{0, "QSpinBox"}}, [](QWidget* p) { return new QSpinBox(p); }, true,
         K::EditWnd},
        {"library name and own name in two lists", {{8, "QCommandLinkButton"}, {1, "TButton"}},
         [](QWidget* p) { return new QCommandLinkButton(p); }, true, K::BtnWnd},
        {"several names in one list", {{6, "TMemo\nTGroupBox\nTPanel"}}, [](QWidget* p) { return new QGroupBox(p); },
         true, K::GroupBoxWnd},
        {"names are compared with case", {{1, "tbutton"}}, [](QWidget* p) { return new QPushButton(p); }, false,
         K::MainWnd},
        {"the default lists take push buttons", {}, [](QWidget* p) { return new QPushButton(p); }, true, K::BtnWnd},
        {"the default lists take nothing else", {}, [](QWidget* p) { return new QLineEdit(p); }, false, K::MainWnd},
        {"the speed-button list gives no window adapter", {{17, "QPushButton"}, {1, " "}},
         [](QWidget* p) { return new QPushButton(p); }, false, K::MainWnd},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto manager = ManagerWithLists(c.lists);
        QWidget form;
        QWidget* w = c.make(&form);
        TacCtrlAdapter adapter(&form, manager.get());
        adapter.AdaptControls(nullptr);
        const TacAdapterItem* item = ItemOf(adapter, w);
        ASSERT_EQ(item != nullptr, c.adapted);
        if (item) {
            EXPECT_EQ(item->Kind, c.kind);
        }
    }
}

TEST(TacCtrlAdapter, ControlsLeftAloneAndSections)
{
    auto manager = ManagerWithLists(AllLists);
    {
        SCOPED_TRACE("a control with Tag -98, whatever the lists say");
        QWidget form;
        auto* button = new QPushButton(&form);
        button->setProperty("Tag", LibraryWindowTag);
        TacCtrlAdapter adapter(&form, manager.get());
        adapter.AdaptControls(nullptr);
        adapter.AddNewItem(button);
        adapter.AddControl(button, "BUTTON");
        EXPECT_EQ(adapter.Count(), 0);
    }
    {
        SCOPED_TRACE("a handler that refuses the control");
        QWidget form;
        auto* button = new QPushButton(&form);
        auto* edit = new QLineEdit(&form);
        TacCtrlAdapterSettings settings;
        settings.OnSkinItem = [button](QWidget* item, bool& canBeAdded, std::string&) { canBeAdded = item != button; };
        TacCtrlAdapter adapter(&form, manager.get(), settings);
        adapter.AdaptControls(nullptr);
        EXPECT_EQ(ItemOf(adapter, button), nullptr);
        EXPECT_NE(ItemOf(adapter, edit), nullptr);
    }
    {
        SCOPED_TRACE("without the rule for foreign controls");
        QWidget form;
        new QPushButton(&form);
        manager->SkinningRules = srStdForms | srStdDialogs;
        TacCtrlAdapter adapter(&form, manager.get());
        adapter.AdaptControls(nullptr);
        EXPECT_EQ(adapter.Count(), 0);
        manager->SkinningRules |= srThirdParty;
    }
    {
        // Without a section of its own a control takes its adapter's.
        SCOPED_TRACE("sections");
        QWidget form;
        auto* plain = new QTabWidget(&form);
        auto* own = new QTabWidget(&form);
        TacCtrlAdapterSettings settings;
        settings.OnSkinItem = [own](QWidget* item, bool&, std::string& section) {
            if (item == own)
                section = "groupbox";
        };
        TacCtrlAdapter adapter(&form, manager.get(), settings);
        adapter.AdaptControls(nullptr);
        ASSERT_NE(ItemOf(adapter, plain), nullptr);
        ASSERT_NE(ItemOf(adapter, own), nullptr);
        EXPECT_EQ(ItemOf(adapter, plain)->SkinData->SkinSection(), "PAGECONTROL");
        EXPECT_EQ(ItemOf(adapter, own)->SkinData->SkinSection(), "GROUPBOX");
    }
}

TEST(TacCtrlAdapter, ItemsByIndexCleaningAndBroadcast)
{
    auto manager = ManagerWithLists(AllLists);
    QWidget form;
    std::vector<CountingButton*> buttons;
    for (int i = 0; i < 4; ++i)
        buttons.push_back(new CountingButton(QString::number(i), &form));
    TacCtrlAdapter adapter(&form, manager.get());
    adapter.AdaptControls(nullptr);
    ASSERT_EQ(adapter.Count(), 4);
    EXPECT_EQ(adapter.GetItem(-1), nullptr);
    EXPECT_EQ(adapter.GetItem(4), nullptr);
    // The last item fills the gap.
    adapter.RemoveItem(1);
    EXPECT_EQ(GetAdapterOf(buttons[1]), nullptr);
    ASSERT_EQ(adapter.Count(), 3);
    EXPECT_EQ(adapter.GetItem(1)->Control, buttons[3]);
    adapter.RemoveItem(3);
    adapter.RemoveItem(-1);
    EXPECT_EQ(adapter.Count(), 3);
    // A control that is gone leaves a dead item that cleaning drops; the
    // others keep their order.
    delete buttons[0];
    adapter.BroadcastMessage(200, 0, 0);
    EXPECT_EQ(buttons[2]->seen, 1);
    EXPECT_EQ(buttons[3]->seen, 1);
    EXPECT_EQ(buttons[1]->seen, 0);
    adapter.CleanItems();
    ASSERT_EQ(adapter.Count(), 2);
    EXPECT_EQ(adapter.GetItem(0)->Control, buttons[3]);
    EXPECT_EQ(adapter.GetItem(1)->Control, buttons[2]);
    // Added again, a control gets a new adapter.
    adapter.AddNewItem(buttons[1]);
    EXPECT_NE(GetAdapterOf(buttons[1]), nullptr);
    EXPECT_EQ(adapter.Count(), 3);
}

TEST(TacCtrlAdapter, LabelsTakeTheSkinColourAndGetTheirOwnBack)
{
    adaptertest::SkinDirectory skins;
    auto manager = ManagerWithLists(AllLists);
    QWidget form;
    auto* own = new QLabel("own palette", &form);
    QPalette red = own->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    own->setPalette(red);
    own->setAutoFillBackground(true);
    auto* plain = new QLabel("parent's palette", &form);
    auto* kept = new QLabel("Tag 98", &form);
    kept->setProperty("Tag", 98);
    kept->setPalette(red);
    {
        // A manager without a skin has no text colour to give.
        TacCtrlAdapter adapter(&form, manager.get());
        adapter.AdaptControls(nullptr);
        EXPECT_EQ(own->palette().color(QPalette::WindowText), QColor(Qt::red));
        EXPECT_FALSE(plain->testAttribute(Qt::WA_SetPalette));
    }
    manager->SetSkinDirectory(skins.dir.path());
    manager->SetSkinName("Tarku");
    ASSERT_TRUE(manager->Active()) << manager->LastError();
    const TColor text = manager->GetGlobalFontColor();
    ASSERT_NE(text, clFuchsia);
    {
        TacCtrlAdapter adapter(&form, manager.get());
        adapter.AdaptControls(nullptr);
        EXPECT_EQ(FontColor(own), text);
        EXPECT_EQ(FontColor(plain), text);
        EXPECT_FALSE(own->autoFillBackground());
        EXPECT_EQ(kept->palette().color(QPalette::WindowText), QColor(Qt::red));
        // A second walk keeps the first saved look.
        adapter.AdaptControls(nullptr);
    }
    EXPECT_EQ(own->palette(), red);
    EXPECT_TRUE(own->autoFillBackground());
    EXPECT_FALSE(plain->testAttribute(Qt::WA_SetPalette));
}

TEST(TacCtrlAdapter, FramesGetAFrameAdapterAndTheHandlerIsAsked)
{
    adaptertest::SkinDirectory skins;
    auto manager = ManagerWithLists(AllLists);
    manager->SetSkinDirectory(skins.dir.path());
    manager->SetSkinName("Tarku");
    ASSERT_TRUE(manager->Active()) << manager->LastError();
    QWidget form;
    form.setGeometry(300, 300, 260, 250);
    auto* frame = new QFrame(&form);
    frame->setProperty(TsFrameAdapter::FrameProperty, true);
    frame->setGeometry(10, 10, 240, 110);
    auto* inFrame = new QPushButton("in frame", frame);
    inFrame->setGeometry(10, 10, 100, 26);
    auto* label = new QLabel("label in frame", frame);
    label->setGeometry(10, 50, 150, 20);
    auto* refused = new QFrame(&form);
    refused->setProperty(TsFrameAdapter::FrameProperty, true);
    refused->setGeometry(10, 130, 240, 110);
    auto* inRefused = new QPushButton("in refused frame", refused);
    inRefused->setGeometry(10, 10, 120, 26);
    form.show();
    QApplication::processEvents();
    const QPalette labelPalette = label->palette();

    std::vector<QWidget*> asked;
    TacCtrlAdapterSettings settings;
    // The frame's own section is not the handler's to give.
    settings.OnSkinItem = [&](QWidget* item, bool& canBeAdded, std::string& section) {
        asked.push_back(item);
        canBeAdded = item != refused;
        section = "PANEL";
    };
    auto adapter = std::make_unique<TacCtrlAdapter>(&form, manager.get(), settings);
    adapter->AdaptControls(nullptr);
    QApplication::processEvents();
    auto count = [&](QWidget* w) { return std::count(asked.begin(), asked.end(), w); };
    EXPECT_GT(count(frame), 0);
    EXPECT_GT(count(refused), 0);
    // The frame's children are asked too, by the frame's own adapter.
    EXPECT_GT(count(inFrame), 0);
    EXPECT_GT(count(inRefused), 0);

    // A frame adapter, not an adapter item.
    EXPECT_EQ(SendSkinCommand(frame, AC_CTRLHANDLED), 1);
    EXPECT_EQ(SendSkinCommand(frame, AC_GETSKININDEX), manager->GetSkinIndex("GROUPBOX") + 1);
    EXPECT_EQ(ItemOf(*adapter, frame), nullptr);
    EXPECT_EQ(GetAdapterOf(frame), nullptr);
    EXPECT_NE(GetAdapterOf(inFrame), nullptr);
    EXPECT_EQ(FontColor(label), manager->GetGlobalFontColor());
    // A refused frame stays as it was; what it holds is skinned all the same.
    EXPECT_EQ(SendSkinCommand(refused, AC_CTRLHANDLED), 0);
    EXPECT_NE(GetAdapterOf(inRefused), nullptr);
    SaveScreenshot(form, "ctrladapter_frames");

    // Walked again, the frame keeps its one adapter.
    auto frameAdapters = [](QWidget* w) {
        int n = 0;
        for (QObject* o : w->children())
            n += dynamic_cast<TsFrameAdapter*>(o) != nullptr;
        return n;
    };
    adapter->AdaptControls(nullptr);
    adapter->AddNewItem(frame);
    EXPECT_EQ(frameAdapters(frame), 1);

    // The control adapter gone, the frame and what it holds are plain again.
    adapter->BroadcastMessage(AC_REMOVESKIN, 0, reinterpret_cast<intptr_t>(static_cast<TsSkinManager*>(manager.get())));
    adapter.reset();
    QApplication::processEvents();
    EXPECT_EQ(frameAdapters(frame), 0);
    EXPECT_EQ(SendSkinCommand(frame, AC_CTRLHANDLED), 0);
    EXPECT_EQ(GetAdapterOf(inFrame), nullptr);
    EXPECT_EQ(label->palette(), labelPalette);
}

TEST(TacCtrlAdapter, AFrameDestroyedBeforeTheAdapterTakesItsFrameAdapterAlong)
{
    auto manager = ManagerWithLists(AllLists);
    QWidget form;
    auto* frame = new QFrame(&form);
    frame->setProperty(TsFrameAdapter::FrameProperty, true);
    TacCtrlAdapter adapter(&form, manager.get());
    adapter.AdaptControls(nullptr);
    ASSERT_EQ(SendSkinCommand(frame, AC_CTRLHANDLED), 1);
    delete frame;
    // The adapter lets go of a frame adapter that is gone.
    adapter.AdaptControls(nullptr);
}
