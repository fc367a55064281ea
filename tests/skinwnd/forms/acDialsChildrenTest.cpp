#include "skinwnd/forms/acDials.h"

#include "AdapterTestSkin.h"
#include "Screenshot.h"
#include "skinwnd/forms/acSBUtils.h"
#include "skinwnd/forms/acEditWnd.h"
#include "skinwnd/forms/acStaticWnd.h"

#include <QDialog>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

#include <functional>

using namespace adaptertest;

namespace {

QLabel* Label(QWidget* parent, const char* text, Qt::TextFormat format = Qt::AutoText)
{
    auto* l = new QLabel(text, parent);
    l->setTextFormat(format);
    return l;
}

} // namespace

TEST(acDialsChildren, LinksListBoxesAndControlsWithoutARow)
{
    struct Case {
        const char* Name;
        std::function<QWidget*(QWidget*)> Make;
        bool Adapted;
        TacAdapterKind Kind;
        const char* Section;
        bool DialogMode;
    };
    using K = TacAdapterKind;
    const Case cases[] = {
        {"link", [](QWidget* p) { return Label(p, "<a href=\"x\">Open</a>"); }, true, K::LinkWnd, "CHECKBOX", false},
        {"text with a link", [](QWidget* p) { return Label(p, "See <A HREF=\"x\">here</A> now", Qt::RichText); },
         true, K::LinkWnd, "CHECKBOX", false},
        // Markup besides the anchors is the label's to show.
        {"link among other markup", [](QWidget* p) { return Label(p, "<b>Bold</b> and <a href=\"x\">link</a>"); },
         true, K::StaticWnd, "CHECKBOX", false},
        {"anchor shown as plain text", [](QWidget* p) { return Label(p, "<a href=\"x\">x</a>", Qt::PlainText); },
         true, K::StaticWnd, "CHECKBOX", false},
        {"text without a link", [](QWidget* p) { return Label(p, "a < b"); }, true, K::StaticWnd, "CHECKBOX", false},
        {"list box", [](QWidget* p) { return new QListWidget(p); }, true, K::EditWnd, "EDIT", true},
        {"list view", [](QWidget* p) { return new QListView(p); }, true, K::ListViewWnd, "EDIT", true},
        // No row of the hook's table takes these: they keep their own look.
        {"table view", [](QWidget* p) { return new QTableView(p); }, false, K::MainWnd, "", false},
        {"status bar", [](QWidget* p) { return new QStatusBar(p); }, false, K::MainWnd, "", false},
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

TEST(acDialsChildren, HookedDialogShowsItsLinkAndListBoxSkinned)
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
