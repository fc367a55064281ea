#include "skinwnd/forms/acDials.h"

#include "AdapterTestSkin.h"
#include "Screenshot.h"
#include "SkinGenerator.h"
#include "TestSupport.h"
#include "skin/forms/acSkinCommand.h"
#include "skin/forms/acSkinStartup.h"
#include "skin/forms/sSkinManager.h"
#include "skin/forms/sSkinMenus.h"
#include "platform/MessageBox.h"
#include "platform/forms/QtMessageBox.h"
#include "skin/sMessageBox.h"
#include "skin/sMessages.h"
#include "skinwnd/forms/acDialogWnd.h"
#include "skinwnd/forms/acSBUtils.h"
#include "skinwnd/forms/acEditWnd.h"
#include "skinwnd/forms/acStaticWnd.h"
#include "skinwnd/forms/sSkinProvider.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QContextMenuEvent>
#include <QDialog>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTableView>
#include <QTableWidget>
#include <QStatusBar>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QStyleFactory>
#include <QTextEdit>
#include <QTimer>
#include <QToolTip>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

using testsupport::TempDir;
using namespace adaptertest;

namespace {

QLabel* Label(QWidget* parent, const char* text, Qt::TextFormat format = Qt::AutoText)
{
    auto* l = new QLabel(text, parent);
    l->setTextFormat(format);
    return l;
}

struct Skins : SkinScope {
    Skins() : SkinScope(nullptr) { Use("Tarku"); }
};

// Runs the dialog modally; `answer` runs inside its loop and must close
// it. A dialog still open after the ceiling is closed and the test fails.
int ExecAnswered(QDialog& dialog, const std::function<void()>& answer)
{
    bool answered = false;
    QTimer::singleShot(0, &dialog, [&] {
        answered = true;
        answer();
    });
    QTimer ceiling;
    ceiling.setSingleShot(true);
    bool hung = false;
    QObject::connect(&ceiling, &QTimer::timeout, &dialog, [&] {
        hung = true;
        dialog.done(-100);
    });
    ceiling.start(30000);
    const int result = dialog.exec();
    EXPECT_TRUE(answered);
    EXPECT_FALSE(hung) << "the dialog did not close";
    return result;
}

QMessageBox* MakeBox(QWidget* parent = nullptr)
{
    auto* box = new QMessageBox(QMessageBox::Question, "Tarku", "Erase the chip before writing?",
                                QMessageBox::Yes | QMessageBox::No, parent);
    box->setDefaultButton(QMessageBox::Yes);
    return box;
}

QWidget* ShownToolTip()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowType() == Qt::ToolTip && w->isVisible())
            return w;
    return nullptr;
}

} // namespace

TEST(acDials, TheHookIsInWhileADefaultManagerExists)
{
    const bool nonNative = QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs);
    EXPECT_FALSE(DialogHookInstalled());
    {
        Skins skins;
        EXPECT_TRUE(DialogHookInstalled());
        EXPECT_TRUE(QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs));
        ASSERT_NE(DialogProviders(), nullptr);
    }
    EXPECT_FALSE(DialogHookInstalled());
    EXPECT_EQ(DialogProviders(), nullptr);
    EXPECT_EQ(QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs), nonNative);
}

// Providers that went away leave empty entries: the look-ups and the
// count pass over them, the sweep removes them and frees the providers
// whose dialog adapter lost its window.
TEST(acDials, ProviderListSkipsAndCompactsEmptyEntries)
{
    InstallDialogHook();
    struct Row {
        bool Gone;     // the provider was freed, its entry left empty
        bool Adapter;  // it has a dialog adapter
        bool Visible;  // its window is shown
        bool Detached; // the adapter lost its window
    };
    const Row rows[] = {
        {true, true, true, false},  {false, true, true, false},  {true, false, false, false},
        {false, true, false, false}, {false, false, true, false}, {false, true, true, true},
        {true, true, false, false}, {false, true, true, false},
    };
    std::vector<std::unique_ptr<QWidget>> windows;
    std::vector<QPointer<TacProvider>> providers;
    TacProviderList& list = *DialogProviders();
    // The windows show first: a window showing makes the hook sweep.
    for (const Row& row : rows) {
        windows.push_back(std::make_unique<QWidget>());
        windows.back()->setProperty("Tag", LibraryWindowTag); // the hook itself keeps off
        if (row.Visible)
            windows.back()->show();
    }
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Row& row = rows[i];
        QWidget* w = windows[i].get();
        auto* provider = new TacProvider(w);
        provider->Wnd = w;
        if (row.Adapter)
            provider->DialogWnd = TacMainWnd::Create<TacDialogWnd>(w, false, "DIALOG", nullptr, nullptr);
        list.Add(provider);
        providers.push_back(provider);
        if (row.Detached)
            provider->DialogWnd->WindowGone();
    }
    for (size_t i = 0; i < std::size(rows); ++i)
        if (rows[i].Gone)
            delete providers[i].data();
    ASSERT_EQ(list.Count(), int(std::size(rows)));

    int visible = 0, kept = 0;
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Row& row = rows[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(FindDialogProvider(windows[i].get()), row.Gone ? nullptr : providers[i].data());
        visible += !row.Gone && row.Adapter && row.Visible && !row.Detached;
        kept += !row.Gone && !row.Detached;
    }
    EXPECT_EQ(FindDialogProvider(nullptr), nullptr);
    EXPECT_EQ(CountVisibleDialogs(), visible);

    SweepDestroyedDialogs();
    ASSERT_EQ(list.Count(), kept);
    int at = 0;
    for (size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(i);
        const bool stays = !rows[i].Gone && !rows[i].Detached;
        EXPECT_EQ(providers[i].isNull(), !stays);
        if (stays) {
            EXPECT_EQ(list.At(at++), providers[i].data()); // the order stays
        }
    }
    EXPECT_EQ(CountVisibleDialogs(), visible);
    RemoveDialogHook();
    for (const auto& p : providers)
        EXPECT_TRUE(p.isNull());
}

TEST(acDials, ControlsOfAHookedWindowGetTheirAdapterKind)
{
    struct Case {
        const char* Name;
        std::function<QWidget*(QWidget*)> Make;
        bool Adapted;
        TacAdapterKind Kind;
        const char* Section;
        bool DialogMode;
    };
    QPixmap picture(16, 16);
    picture.fill(Qt::red);
    const Case cases[] = {
        {"text label", [](QWidget* p) { return new QLabel("Text", p); }, true, TacAdapterKind::StaticWnd, "CHECKBOX", false},
        {"picture label", [&](QWidget* p) { auto* l = new QLabel(p); l->setPixmap(picture); return l; }, true,
         TacAdapterKind::IconWnd, "CHECKBOX", false},
        {"push button", [](QWidget* p) { return new QPushButton("OK", p); }, true, TacAdapterKind::BtnWnd, "BUTTON", false},
        {"check box", [](QWidget* p) { return new QCheckBox("Verify", p); }, true, TacAdapterKind::CheckBoxWnd, "CHECKBOX", false},
        {"combo box", [](QWidget* p) { return new QComboBox(p); }, true, TacAdapterKind::ComboBoxWnd, "COMBOBOX", true},
        {"line edit", [](QWidget* p) { return new QLineEdit(p); }, true, TacAdapterKind::EditWnd, "EDIT", true},
        {"hidden line edit", [](QWidget* p) { auto* e = new QLineEdit(p); e->hide(); return e; }, false,
         TacAdapterKind::MainWnd, "", false},
        {"list", [](QWidget* p) { return new QListView(p); }, true, TacAdapterKind::ListViewWnd, "EDIT", true},
        {"tree", [](QWidget* p) { return new QTreeView(p); }, true, TacAdapterKind::TreeViewWnd, "EDIT", true},
        {"tree with columns", [](QWidget* p) { auto* t = new QTreeWidget(p); t->setColumnCount(3); return t; },
         true, TacAdapterKind::ListViewWnd, "EDIT", true},
        {"tree with its header hidden",
         [](QWidget* p) { auto* t = new QTreeWidget(p); t->setColumnCount(3); t->setHeaderHidden(true); return t; },
         true, TacAdapterKind::TreeViewWnd, "EDIT", true},
        {"spin box", [](QWidget* p) { return new QSpinBox(p); }, true, TacAdapterKind::EditWnd, "EDIT", true},
        {"table view", [](QWidget* p) { return new QTableView(p); }, true, TacAdapterKind::GridWnd, "EDIT", true},
        {"plain widget", [](QWidget* p) { return new QWidget(p); }, false, TacAdapterKind::MainWnd, "", false},
        {"link", [](QWidget* p) { return Label(p, "<a href=\"x\">Open</a>"); }, true, TacAdapterKind::LinkWnd, "CHECKBOX", false},
        {"text with a link", [](QWidget* p) { return Label(p, "See <A HREF=\"x\">here</A> now", Qt::RichText); },
         true, TacAdapterKind::LinkWnd, "CHECKBOX", false},
        // Markup besides the anchors is the label's to show.
        {"link among other markup", [](QWidget* p) { return Label(p, "<b>Bold</b> and <a href=\"x\">link</a>"); },
         true, TacAdapterKind::StaticWnd, "CHECKBOX", false},
        {"anchor shown as plain text", [](QWidget* p) { return Label(p, "<a href=\"x\">x</a>", Qt::PlainText); },
         true, TacAdapterKind::StaticWnd, "CHECKBOX", false},
        {"text without a link", [](QWidget* p) { return Label(p, "a < b"); }, true, TacAdapterKind::StaticWnd, "CHECKBOX", false},
        {"list box", [](QWidget* p) { return new QListWidget(p); }, true, TacAdapterKind::EditWnd, "EDIT", true},
        // No row of the hook's table takes these: they keep their own look.
        {"status bar", [](QWidget* p) { return new QStatusBar(p); }, false, TacAdapterKind::MainWnd, "", false},
    };
    QWidget parent;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const TacDialogChildRow row = DialogChildRow(c.Make(&parent));
        EXPECT_EQ(row.Adapted, c.Adapted);
        if (!c.Adapted)
            continue;
        EXPECT_EQ(row.Kind, c.Kind);
        EXPECT_STREQ(row.Section, c.Section);
        EXPECT_EQ(row.DialogMode, c.DialogMode);
    }
}

TEST(acDials, MessageBoxOpensSkinnedAndAnswers)
{
    // The plain look, for the probes.
    std::unique_ptr<QMessageBox> plainBox(MakeBox());
    plainBox->show();
    QApplication::processEvents();
    const QImage plain = plainBox->grab().toImage();
    const QImage plainYes = plainBox->button(QMessageBox::Yes)->grab().toImage();
    plainBox.reset();

    Skins skins;
    std::unique_ptr<QMessageBox> box(MakeBox());
    QImage shot;
    std::vector<QPointer<TacMainWnd>> adapters;
    const int result = ExecAnswered(*box, [&] {
        TacProvider* provider = FindDialogProvider(box.get());
        ASSERT_NE(provider, nullptr);
        ASSERT_NE(provider->DialogWnd, nullptr);
        EXPECT_EQ(GetAdapterOf(box.get()), provider->DialogWnd);
        TsSkinProvider* frame = provider->DialogWnd->FrameProvider();
        ASSERT_NE(frame, nullptr);
        EXPECT_TRUE(frame->FrameActive());
        EXPECT_TRUE(box->windowFlags() & Qt::FramelessWindowHint);
        EXPECT_EQ(CountVisibleDialogs(), 1);
        // Every button is adapted through the factory.
        for (QAbstractButton* button : box->buttons()) {
            EXPECT_NE(GetAdapterOf(button), nullptr) << button->text().toStdString();
            EXPECT_EQ(SendSkinCommand(button, AC_CTRLHANDLED), 1);
        }
        // So is the text.
        auto* text = box->findChild<QLabel*>("qt_msgbox_label");
        ASSERT_NE(text, nullptr);
        EXPECT_NE(GetAdapterOf(text), nullptr);
        adapters.push_back(provider->DialogWnd);
        for (TacMainWnd* adapter : provider->ChildAdapters)
            adapters.push_back(adapter);
        QApplication::processEvents();
        shot = box->grab().toImage();
        // The skin's caption lies above the client, where the plain window
        // shows its own background.
        const TRect margins = frame->FrameMargins();
        EXPECT_GT(margins.Top, margins.Left);
        const QRect strip(0, 0, std::min(shot.width(), plain.width()), margins.Top);
        EXPECT_NE(shot.copy(strip), plain.copy(strip));
        if (AdapterKindBuilt(TacAdapterKind::BtnWnd)) {
            EXPECT_NE(box->button(QMessageBox::Yes)->grab().toImage(), plainYes);
        }
        box->button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(result, QMessageBox::Yes);
    EXPECT_TRUE(SaveScreenshot(shot, "dialog_hook_message_box"));
    box.reset();
    for (const auto& adapter : adapters)
        EXPECT_TRUE(adapter.isNull());
    SweepDestroyedDialogs();
    EXPECT_EQ(DialogProviders()->Count(), 0);
}

// A box shown at a place opens there; the place is forgotten afterwards.
TEST(acDials, MessageBoxOpensWhereItsCallerAsked)
{
    Skins skins;
    const MessageBoxHandler previous = SetMessageBoxHandler(nullptr);
    InstallQtMessageBoxHandler();
    for (const QPoint asked : {QPoint(210, 140), QPoint(35, 300)}) {
        QPoint shownAt(-1000, -1000);
        bool answered = false;
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                answered = true;
                shownAt = box->pos();
                EXPECT_NE(FindDialogProvider(box), nullptr);
                box->button(QMessageBox::Ok)->click();
            }
        });
        // A box still open after the ceiling is closed and the test fails.
        QTimer ceiling;
        ceiling.setSingleShot(true);
        QObject::connect(&ceiling, &QTimer::timeout, [] {
            if (QWidget* box = QApplication::activeModalWidget())
                box->close();
        });
        ceiling.start(30000);
        EXPECT_EQ(ShowMessageBoxAt(std::string("Tarku"), "Chip erased.", TMsgDlgType::mtInformation, 0, asked.x(),
                                   asked.y(), 0, MsgDlgButtons({mbOK})),
                  IDOK);
        EXPECT_TRUE(answered);
        EXPECT_EQ(shownAt, asked);
        EXPECT_EQ(MsgBoxPosX, -1);
        EXPECT_EQ(MsgBoxPosY, -1);
    }
    SetMessageBoxHandler(previous);
}

TEST(acDials, RemovingTheSkinGivesTheDialogItsLookBackAndKeepsItOpen)
{
    Skins skins;
    std::unique_ptr<QMessageBox> box(MakeBox());
    const Qt::WindowFlags flags = box->windowFlags();
    const QPalette palette = box->palette();
    const int result = ExecAnswered(*box, [&] {
        ASSERT_TRUE(box->windowFlags() & Qt::FramelessWindowHint);
        skins.manager->SetActive(false);
        QApplication::processEvents();
        EXPECT_EQ(box->windowFlags(), flags);
        EXPECT_EQ(box->palette(), palette);
        EXPECT_FALSE(box->testAttribute(Qt::WA_SetPalette));
        EXPECT_TRUE(box->contentsMargins().isNull());
        // Taking the frame back does not end the modal run.
        EXPECT_TRUE(box->isVisible());
        // A new skin skins it again.
        skins.manager->SetActive(true);
        QApplication::processEvents();
        EXPECT_TRUE(box->windowFlags() & Qt::FramelessWindowHint);
        EXPECT_TRUE(box->isVisible());
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(result, QMessageBox::No);
}

// Windows that keep their own look or are skinned elsewhere.
TEST(acDials, OnlyWindowsWithoutASkinOfTheirOwnAreHooked)
{
    Skins skins;
    QWidget owner;
    owner.setProperty("Tag", LibraryWindowTag);
    owner.show();
    QApplication::processEvents();

    QMenu menu;
    menu.addAction("Read");
    menu.popup(QPoint(10, 10));
    QApplication::processEvents();
    EXPECT_EQ(FindDialogProvider(&menu), nullptr);
    menu.hide();

    QToolTip::showText(QPoint(20, 20), "Chip size", &owner);
    QApplication::processEvents();
    QWidget* tip = ShownToolTip();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(FindDialogProvider(tip), nullptr);
    QToolTip::hideText();

    QComboBox combo(&owner);
    combo.addItems({"24C02", "24C04"});
    combo.show();
    combo.showPopup();
    QApplication::processEvents();
    QWidget* popup = combo.view()->window();
    ASSERT_NE(popup, &owner);
    EXPECT_EQ(FindDialogProvider(popup), nullptr);
    combo.hidePopup();
    EXPECT_EQ(FindDialogProvider(&owner), nullptr); // Tag -98

    QDialog withProvider;
    auto* own = new TsSkinProvider(&withProvider);
    withProvider.show();
    QApplication::processEvents();
    EXPECT_EQ(FindDialogProvider(&withProvider), nullptr);
    EXPECT_EQ(GetSkinProvider(&withProvider), own);

    QDialog plain;
    plain.setWindowTitle("Settings");
    plain.show();
    QApplication::processEvents();
    EXPECT_NE(FindDialogProvider(&plain), nullptr);
}

namespace {

// The popup menu a right click on the widget opens (Qt's own context menu
// for its edits), or nullptr.
QMenu* OpenContextMenu(QWidget* w)
{
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5), w->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(w, &click);
    QApplication::processEvents();
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

// Closes a menu that deletes itself on closing and waits for it to go.
void CloseAndDelete(QMenu* menu)
{
    QPointer<QMenu> watched = menu;
    menu->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watched.isNull());
}

} // namespace

// Popup menus that Qt makes itself go to the menu skinning while the
// manager skins popups, and leave it when they go or the skin goes.
TEST(acDials, PopupMenusNobodyHandsOverAreSkinned)
{
    Skins skins;
    TsSkinableMenus& menus = skins.manager->SkinableMenus();
    QWidget form;
    form.setGeometry(300, 300, 240, 200);
    auto* line = new QLineEdit("24C02", &form);
    line->setGeometry(10, 10, 220, 26);
    auto* text = new QTextEdit("Erase the chip", &form);
    text->setGeometry(10, 50, 220, 140);
    form.show();
    QApplication::processEvents();

    struct Case {
        const char* what;
        QWidget* target;
    };
    for (const Case& c : {Case{"line edit", line}, Case{"text edit", text->viewport()}}) {
        SCOPED_TRACE(c.what);
        QMenu* menu = OpenContextMenu(c.target);
        ASSERT_NE(menu, nullptr);
        EXPECT_TRUE(menus.IsHooked(menu));
        EXPECT_NE(menu->style(), QApplication::style());
        SaveScreenshot(*menu, std::string("context_menu_") + (c.target == line ? "line" : "text"));
        CloseAndDelete(menu);
    }
    // Gone with its menu: a new menu at the same place is hooked anew.
    QMenu* again = OpenContextMenu(line);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(menus.IsHooked(again));

    // The skin goes while the menu is open: the menu gets its look back.
    skins.manager->SetActive(false);
    EXPECT_FALSE(menus.IsHooked(again));
    EXPECT_EQ(again->style(), QApplication::style());
    CloseAndDelete(again);
    QMenu* plain = OpenContextMenu(line);
    ASSERT_NE(plain, nullptr);
    EXPECT_FALSE(menus.IsHooked(plain));
    CloseAndDelete(plain);
}

TEST(acDials, PopupMenusKeptPlain)
{
    Skins skins;
    TsSkinableMenus& menus = skins.manager->SkinableMenus();
    QWidget form;
    form.setGeometry(300, 300, 240, 100);
    auto* line = new QLineEdit(&form);
    line->setGeometry(10, 10, 220, 26);
    form.show();
    QApplication::processEvents();
    {
        SCOPED_TRACE("the manager does not skin popups");
        skins.manager->SetSkinnedPopups(false);
        QMenu* menu = OpenContextMenu(line);
        ASSERT_NE(menu, nullptr);
        EXPECT_FALSE(menus.IsHooked(menu));
        CloseAndDelete(menu);
        skins.manager->SetSkinnedPopups(true);
    }
    {
        SCOPED_TRACE("a menu with a style of its own");
        std::unique_ptr<QStyle> own(QStyleFactory::create("Fusion"));
        QMenu menu;
        menu.setStyle(own.get());
        menu.addAction("Read");
        menu.popup(QPoint(310, 310));
        QApplication::processEvents();
        EXPECT_FALSE(menus.IsHooked(&menu));
        EXPECT_EQ(menu.style(), own.get());
        menu.hide();
        menu.setStyle(nullptr);
    }
    {
        SCOPED_TRACE("a menu of the library's own");
        QMenu menu;
        menu.setProperty("Tag", LibraryWindowTag);
        menu.addAction("Close");
        menu.popup(QPoint(310, 310));
        QApplication::processEvents();
        EXPECT_FALSE(menus.IsHooked(&menu));
        menu.hide();
    }
    {
        SCOPED_TRACE("combo and completer lists, tool tips");
        QComboBox combo(&form);
        combo.addItems({"24C02", "24C04"});
        combo.setGeometry(10, 50, 220, 26);
        combo.show();
        combo.showPopup();
        QApplication::processEvents();
        QWidget* comboPopup = combo.view()->window();
        ASSERT_NE(comboPopup, &form);
        auto* completer = new QCompleter(QStringList{"24C02", "24C04", "24C08"}, line);
        line->setCompleter(completer);
        completer->complete();
        QApplication::processEvents();
        QToolTip::showText(QPoint(320, 320), "Chip size", &form);
        QApplication::processEvents();
        QWidget* tip = ShownToolTip();
        ASSERT_NE(tip, nullptr);
        for (QWidget* w : {comboPopup, static_cast<QWidget*>(completer->popup()), tip}) {
            EXPECT_FALSE(menus.IsHooked(w)) << w->metaObject()->className();
            EXPECT_EQ(w->style(), QApplication::style()) << w->metaObject()->className();
        }
        QToolTip::hideText();
        completer->popup()->hide();
        combo.hidePopup();
    }
}

TEST(acDials, SkinningRulesChooseWhatIsHooked)
{
    struct Case {
        TacSkinningRules Rules;
        bool Form, MessageBox;
    };
    const Case cases[] = {
        {srStdForms | srStdDialogs, true, true},
        {srStdDialogs, false, true},
        {srStdForms, true, false},
        {0, false, false},
    };
    Skins skins;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Rules);
        skins.manager->SkinningRules = c.Rules;
        QDialog form;
        form.show();
        std::unique_ptr<QMessageBox> box(MakeBox());
        box->show();
        QApplication::processEvents();
        EXPECT_EQ(FindDialogProvider(&form) != nullptr, c.Form);
        EXPECT_EQ(FindDialogProvider(box.get()) != nullptr, c.MessageBox);
    }
}

TEST(acDials, ClosedDialogsFreeTheirAdaptersAndLeaveTheList)
{
    Skins skins;
    auto* dialog = new QDialog;
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(new QLabel("Device"));
    layout->addWidget(new QLineEdit("24C02"));
    layout->addWidget(new QPushButton("OK"));
    dialog->show();
    QApplication::processEvents();
    TacProvider* provider = FindDialogProvider(dialog);
    ASSERT_NE(provider, nullptr);
    EXPECT_EQ(provider->ChildAdapters.size(), 3u);
    // A control added later is wrapped too.
    auto* later = new QCheckBox("Verify");
    layout->addWidget(later);
    QApplication::processEvents();
    EXPECT_NE(GetAdapterOf(later), nullptr);
    EXPECT_EQ(CountVisibleDialogs(), 1);

    // The provider goes with its window; its entry may stay behind empty
    // until the next sweep, and the look-ups pass over it.
    const QWidget* gone = dialog;
    delete dialog;
    EXPECT_LE(DialogProviders()->Count(), 1);
    EXPECT_EQ(FindDialogProvider(gone), nullptr);
    EXPECT_EQ(CountVisibleDialogs(), 0);
    QWidget next;
    next.show(); // the next window shown sweeps the list
    QApplication::processEvents();
    for (int i = 0; i < DialogProviders()->Count(); ++i)
        EXPECT_NE(DialogProviders()->At(i), nullptr);
}

TEST(acDials, FileDialogOpensNonNativeAndSkinnedWithItsControlsAdapted)
{
    Skins skins;
    TempDir folder;
    testsupport::WriteFileBytes(folder.file("24C02.bin"), std::string(256, '\xFF'));
    QPointer<QFileDialog> dialog = new QFileDialog(nullptr, "Open dump", QString::fromStdString(folder.path()));
    dialog->show();
    QApplication::processEvents();
    TacProvider* provider = FindDialogProvider(dialog);
    ASSERT_NE(provider, nullptr);
    ASSERT_NE(provider->DialogWnd, nullptr);
    EXPECT_TRUE(dialog->windowFlags() & Qt::FramelessWindowHint);
    std::vector<QPointer<TacMainWnd>> adapters;
    for (const char* name : {"fileNameEdit", "fileTypeCombo", "treeView", "listView", "sidebar"}) {
        auto* control = dialog->findChild<QWidget*>(name);
        ASSERT_NE(control, nullptr) << name;
        EXPECT_NE(GetAdapterOf(control), nullptr) << name;
    }
    for (TacMainWnd* adapter : provider->ChildAdapters)
        adapters.push_back(adapter);
    EXPECT_TRUE(SaveScreenshot(*dialog, "dialog_hook_file_dialog"));
    // A message box over the skinned dialog is skinned too; another of
    // Qt's own dialogs is not.
    std::unique_ptr<QMessageBox> box(MakeBox(dialog));
    box->show();
    QApplication::processEvents();
    EXPECT_NE(FindDialogProvider(box.get()), nullptr);
    box.reset();
    QFileDialog second;
    second.show();
    QApplication::processEvents();
    EXPECT_EQ(FindDialogProvider(&second), nullptr);
    second.hide();

    delete dialog.data();
    for (const auto& adapter : adapters)
        EXPECT_TRUE(adapter.isNull());
}

TEST(acDials, HookedDialogShowsItsLinkAndListBoxSkinned)
{
    SkinScope scope;
    QDialog dialog;
    dialog.setWindowTitle("About");
    auto* layout = new QVBoxLayout(&dialog);
    auto* link = Label(&dialog, "Visit <a href=\"x\">the site</a>");
    layout->addWidget(link);
    auto* list = new QListWidget(&dialog);
    list->addItems({"One", "Two"});
    layout->addWidget(list);
    dialog.resize(230, 140);
    dialog.show();
    QApplication::processEvents();
    ASSERT_NE(FindDialogProvider(&dialog), nullptr);
    EXPECT_NE(dynamic_cast<TacLinkWnd*>(GetAdapterOf(link)), nullptr);
    EXPECT_NE(dynamic_cast<TacEditWnd*>(GetAdapterOf(list)), nullptr);
    // The link is drawn by the skin: in the section's text colour.
    EXPECT_GT(PixelsOf(Grab(link), scope.Section("CHECKBOX").FontColor), 0);
    SaveScreenshot(dialog, "dialog_hook_link_and_list_box");
}

// Under the dark skin every part of a hooked dialog takes the skin: the
// file dialog's column header, a spin box's edit field (framed as the edit
// beside it), a table's headers.
TEST(acDials, DarkSkinReachesHeadersSpinEditsAndTables)
{
    SkinScope skins("TarkuDusk");
    // The skin's face is dark, Qt's own headers and frames are light.
    const auto dark = [](QRgb c) { return qGray(c) < 128; };
    const auto at = [](QWidget* dialog, QWidget* part, QPoint p) {
        const QImage shot = dialog->grab().toImage();
        return shot.pixel(part->mapTo(dialog, p));
    };
    TempDir folder;
    testsupport::WriteFileBytes(folder.file("24C02.bin"), std::string(256, '\xFF'));
    QPointer<QFileDialog> files = new QFileDialog(nullptr, "Open dump", QString::fromStdString(folder.path()));
    files->setViewMode(QFileDialog::Detail);
    files->show();
    QApplication::processEvents();
    ASSERT_NE(FindDialogProvider(files), nullptr);
    auto* details = files->findChild<QTreeView*>("treeView");
    ASSERT_NE(details, nullptr);
    QHeaderView* header = details->header();
    ASSERT_TRUE(header->isVisible());
    // The place past the last column, and the middle of the first column
    // below its text.
    EXPECT_TRUE(dark(at(files, header, {header->width() - 8, header->height() / 2})));
    EXPECT_TRUE(dark(at(files, header, {header->sectionSize(0) / 2, header->height() - 3})));
    EXPECT_TRUE(SaveScreenshot(*files, "dialog_hook_dark_file_dialog"));
    delete files.data();

    QDialog dialog;
    dialog.setWindowTitle("Parameters");
    auto* layout = new QVBoxLayout(&dialog);
    auto* spin = new QSpinBox(&dialog);
    spin->setValue(42);
    layout->addWidget(spin);
    auto* edit = new QLineEdit("24C02", &dialog);
    layout->addWidget(edit);
    auto* types = new QComboBox(&dialog);
    types->addItems({"All Files (*)", "Dumps (*.bin)"});
    layout->addWidget(types);
    auto* table = new QTableWidget(3, 2, &dialog);
    table->setItem(0, 0, new QTableWidgetItem("0x00"));
    layout->addWidget(table);
    dialog.resize(300, 260);
    dialog.show();
    QApplication::processEvents();
    ASSERT_NE(FindDialogProvider(&dialog), nullptr);
    ASSERT_NE(GetAdapterOf(spin), nullptr);
    ASSERT_NE(GetAdapterOf(table), nullptr);
    // The spin box's frame and field are the edit's: left edge, top edge,
    // and the field just inside the frame.
    for (const QPoint p : {QPoint(0, 10), QPoint(30, 0), QPoint(spin->width() - 40, 10)})
        EXPECT_EQ(at(&dialog, spin, p), at(&dialog, edit, p)) << p.x() << "," << p.y();
    // A list to choose from keeps the section's dark field: its text is
    // light on it.
    ASSERT_NE(GetAdapterOf(types), nullptr);
    {
        const QImage shot = dialog.grab().toImage();
        const QRect field(types->mapTo(&dialog, QPoint(6, 6)), QSize(types->width() / 2, types->height() - 12));
        int light = 0;
        for (int y = field.top(); y <= field.bottom(); ++y)
            for (int x = field.left(); x <= field.right(); ++x)
                light += qGray(shot.pixel(x, y)) > 160;
        EXPECT_GT(light, 10);
    }
    // The table's headers in the skin's face.
    QHeaderView* columns = table->horizontalHeader();
    QHeaderView* rows = table->verticalHeader();
    EXPECT_TRUE(dark(at(&dialog, columns, {columns->sectionSize(0) - 5, 3})));
    EXPECT_TRUE(dark(at(&dialog, rows, {2, rows->sectionSize(0) - 3})));
    EXPECT_TRUE(SaveScreenshot(dialog, "dialog_hook_dark_spin_table"));
}
