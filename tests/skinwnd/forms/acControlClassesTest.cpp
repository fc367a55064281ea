#include "skinwnd/forms/acControlClasses.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCommandLinkButton>
#include <QDialog>
#include <QFontComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

TEST(acControlClasses, QtClassesTakeTheLibraryNames)
{
    struct Case {
        const char* what;
        std::function<QWidget*(QWidget* parent)> make;
        const char* expected;
    };
    const Case cases[] = {
        {"push button", [](QWidget* p) { return new QPushButton(p); }, "TButton"},
        {"a push button's subclass", [](QWidget* p) { return new QCommandLinkButton(p); }, "TButton"},
        {"line edit", [](QWidget* p) { return new QLineEdit(p); }, "TEdit"},
        {"check box", [](QWidget* p) { return new QCheckBox(p); }, "TCheckBox"},
        {"radio button is no check box", [](QWidget* p) { return new QRadioButton(p); }, ""},
        {"combo box", [](QWidget* p) { return new QComboBox(p); }, "TComboBox"},
        {"font combo box", [](QWidget* p) { return new QFontComboBox(p); }, "TComboBox"},
        {"group box", [](QWidget* p) { return new QGroupBox(p); }, "TGroupBox"},
        {"tree view", [](QWidget* p) { return new QTreeView(p); }, "TTreeView"},
        {"tree widget", [](QWidget* p) { return new QTreeWidget(p); }, "TTreeView"},
        {"list view", [](QWidget* p) { return new QListView(p); }, "TListView"},
        {"list widget", [](QWidget* p) { return new QListWidget(p); }, "TListView"},
        {"table view", [](QWidget* p) { return new QTableView(p); }, "TStringGrid"},
        {"table widget", [](QWidget* p) { return new QTableWidget(p); }, "TStringGrid"},
        {"tab widget", [](QWidget* p) { return new QTabWidget(p); }, "TPageControl"},
        {"tab bar", [](QWidget* p) { return new QTabBar(p); }, "TTabControl"},
        {"tool bar", [](QWidget* p) { return new QToolBar(p); }, "TToolBar"},
        {"status bar", [](QWidget* p) { return new QStatusBar(p); }, "TStatusBar"},
        {"tool button", [](QWidget* p) { return new QToolButton(p); }, "TSpeedButton"},
        {"a tool bar's button", [](QWidget* p) { return new QToolButton(new QToolBar(p)); }, "TToolButton"},
        {"frame panel", [](QWidget* p) { return new QFrame(p); }, "TPanel"},
        {"label is a frame but no panel", [](QWidget* p) { return new QLabel(p); }, ""},
        {"scroll area is a frame but no panel", [](QWidget* p) { return new QScrollArea(p); }, ""},
        {"plain widget", [](QWidget* p) { return new QWidget(p); }, ""},
    };
    QWidget form;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QWidget* w = c.make(&form);
        EXPECT_EQ(LibraryClassName(w), c.expected);
        // The own class name always comes last.
        const std::vector<std::string> names = ListedClassNames(w);
        ASSERT_FALSE(names.empty());
        EXPECT_EQ(names.back(), w->metaObject()->className());
        EXPECT_EQ(names.size(), std::string(c.expected).empty() ? 1u : 2u);
    }
    EXPECT_EQ(LibraryClassName(nullptr), "");
    EXPECT_TRUE(ListedClassNames(nullptr).empty());
}

TEST(acControlClasses, ChildControlsSkipTheInnerPartsOfControls)
{
    QWidget form;
    auto* group = new QGroupBox(&form);
    auto* inGroup = new QPushButton(group);
    new QDialog(group); // a window, not a control of the form
    auto* tabs = new QTabWidget(&form);
    auto* page1 = new QWidget;
    auto* page2 = new QWidget;
    tabs->addTab(page1, "one");
    tabs->addTab(page2, "two");
    auto* corner = new QPushButton("+");
    tabs->setCornerWidget(corner);
    auto* area = new QScrollArea(&form);
    auto* inArea = new QWidget;
    area->setWidget(inArea);
    auto* combo = new QComboBox(&form);
    combo->setEditable(true);
    auto* spin = new QSpinBox(&form);
    auto* tree = new QTreeWidget(&form);

    EXPECT_EQ(ChildControls(group), (std::vector<QWidget*>{inGroup}));
    EXPECT_EQ(ChildControls(tabs), (std::vector<QWidget*>{page1, page2, corner}));
    EXPECT_EQ(ChildControls(area), (std::vector<QWidget*>{inArea}));
    EXPECT_TRUE(ChildControls(combo).empty());
    EXPECT_TRUE(ChildControls(spin).empty());
    EXPECT_TRUE(ChildControls(tree).empty());
    EXPECT_TRUE(ChildControls(nullptr).empty());
    const std::vector<QWidget*> top = ChildControls(&form);
    EXPECT_EQ(top, (std::vector<QWidget*>{group, tabs, area, combo, spin, tree}));
}
