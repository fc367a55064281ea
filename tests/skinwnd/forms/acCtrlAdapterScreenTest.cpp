// A form of every common control skinned through the control adapter alone:
// the class lists name each control, the walk gives each its adapter, and a
// skin switch (folder, packed, none, folder) repaints them all. The control
// adapter is made and dropped the way the form's provider does. The
// pictures are saved for a person to look at when TARKU_SCREENSHOTS names a
// folder.
#include "AdapterTestSkin.h"
#include "Screenshot.h"
#include "skin/forms/acSkinCommand.h"
#include "skinwnd/forms/acBtnWnd.h"
#include "skinwnd/forms/acCheckBoxWnd.h"
#include "skinwnd/forms/acComboBoxWnd.h"
#include "skinwnd/forms/acCtrlAdapter.h"
#include "skinwnd/forms/acEditWnd.h"
#include "skinwnd/forms/acGridWnd.h"
#include "skinwnd/forms/acGroupBoxWnd.h"
#include "skinwnd/forms/acListViewWnd.h"
#include "skinwnd/forms/acPanelWnd.h"
#include "skinwnd/forms/acSBUtils.h"
#include "skinwnd/forms/acSpeedButtonHandler.h"
#include "skinwnd/forms/acStatusBarWnd.h"
#include "skinwnd/forms/acTabControlWnd.h"
#include "skinwnd/forms/acToolBarVCLWnd.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include <map>
#include <typeinfo>

using namespace adaptertest;

namespace {

// The lists a program would fill to have all of these controls skinned:
// library names where the fixed table has one, Qt class names elsewhere.
const std::vector<std::pair<int, const char*>> FormLists = {
    {0, "TEdit\nQPlainTextEdit\nQSpinBox"},
    {1, "TButton"},
    {3, "TCheckBox\nQRadioButton"},
    {4, "TComboBox"},
    {5, "TStringGrid"},
    {6, "TGroupBox"},
    {7, "QTreeWidget"},
    {8, "TPanel"},
    {13, "TPageControl"},
    {15, "TToolBar"},
    {16, "TStatusBar"},
    {17, "TSpeedButton"},
};

QWidget* Page(const QString& text)
{
    auto* page = new QWidget;
    (new QLabel(text, page))->setGeometry(10, 10, 200, 20);
    return page;
}

struct ControlsForm {
    QWidget form;
    QToolBar* toolBar = new QToolBar(&form);
    QPushButton* button = new QPushButton("Read", &form);
    QCheckBox* check = new QCheckBox("Verify after writing", &form);
    QRadioButton* radio = new QRadioButton("Whole chip", &form);
    QGroupBox* group = new QGroupBox("Options", &form);
    QFrame* panel = new QFrame(&form);
    QLabel* label = new QLabel("A label on the form", &form);
    QSpinBox* spin = new QSpinBox(&form);
    QLineEdit* line = new QLineEdit("A line edit", &form);
    QPlainTextEdit* memo = new QPlainTextEdit(&form);
    QComboBox* combo = new QComboBox(&form);
    QTreeWidget* list = new QTreeWidget(&form);
    QTableWidget* table = new QTableWidget(3, 3, &form);
    QTabWidget* tabsTop = new QTabWidget(&form);
    QTabWidget* tabsBottom = new QTabWidget(&form);
    QToolButton* speed = new QToolButton(&form);
    QStatusBar* status = new QStatusBar(&form);

    ControlsForm()
    {
        QApplication::setCursorFlashTime(0);
        // Away from the cursor, which would make a control hot on its own.
        form.setGeometry(300, 300, 600, 430);
        toolBar->setGeometry(0, 0, 600, 32);
        toolBar->addAction("Read");
        toolBar->addAction("Write");
        toolBar->addSeparator();
        toolBar->addAction("Verify");
        button->setGeometry(12, 44, 110, 28);
        check->setGeometry(12, 80, 180, 22);
        radio->setGeometry(12, 104, 180, 22);
        group->setGeometry(12, 132, 180, 70);
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Raised);
        panel->setGeometry(12, 210, 180, 40);
        label->setGeometry(12, 258, 180, 20);
        spin->setGeometry(12, 284, 90, 26);
        spin->setValue(42);
        speed->setText("Erase");
        speed->setAutoRaise(true);
        speed->setGeometry(110, 284, 80, 26);
        line->setGeometry(12, 318, 180, 26);
        memo->setPlainText("A multi-line edit\nwith three lines\nof text");
        memo->setGeometry(204, 44, 180, 80);
        combo->addItems({"24C02", "24C04", "24C08"});
        combo->setGeometry(204, 132, 180, 26);
        list->setRootIsDecorated(false);
        list->setHeaderLabels({"Chip", "Size"});
        for (auto [chip, size] : {std::pair{"24C02", "256"}, {"24C04", "512"}})
            list->addTopLevelItem(new QTreeWidgetItem(QStringList{chip, size}));
        list->setGeometry(204, 166, 180, 90);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                table->setItem(r, c, new QTableWidgetItem(QString::number(r * 16 + c, 16)));
        table->setGeometry(204, 264, 180, 120);
        tabsTop->addTab(Page("Settings"), "Chip");
        tabsTop->addTab(Page("Buffer"), "Buffer");
        tabsTop->setGeometry(396, 44, 192, 160);
        tabsBottom->setTabPosition(QTabWidget::South);
        tabsBottom->addTab(Page("Log"), "Log");
        tabsBottom->addTab(Page("Errors"), "Errors");
        tabsBottom->setGeometry(396, 214, 192, 170);
        status->setGeometry(0, 400, 600, 30);
        status->addWidget(new QLabel("Ready"));
        for (QWidget* w : form.findChildren<QWidget*>())
            w->setFocusPolicy(Qt::NoFocus);
        form.show();
        QApplication::processEvents();
    }

    // Each control with the adapter class the walk must give it.
    std::vector<std::pair<QWidget*, const std::type_info*>> Expected() const
    {
        return {
            {button, &typeid(TacBtnWnd)},          {check, &typeid(TacCheckBoxWnd)},
            {radio, &typeid(TacCheckBoxWnd)},      {group, &typeid(TacGroupBoxWnd)},
            {panel, &typeid(TacPanelWnd)},         {spin, &typeid(TacEditWnd)},
            {line, &typeid(TacEditWnd)},           {memo, &typeid(TacEditWnd)},
            {combo, &typeid(TacComboBoxWnd)},      {list, &typeid(TacListViewWnd)},
            {table, &typeid(TacGridWnd)},          {tabsTop, &typeid(TacPageControlWnd)},
            {tabsBottom, &typeid(TacPageControlWnd)}, {toolBar, &typeid(TacToolBarVCLWnd)},
            {status, &typeid(TacStatusBarWnd)},
        };
    }

    // One fixed point of each control, in the form's coordinates, where the
    // skin shows: a border or a face, away from any text. The spin box has
    // none: the edit adapter the lists give it leaves its frame alone.
    std::map<std::string, QPoint> Probes() const
    {
        auto at = [this](const QWidget* w, int x, int y) { return w->mapTo(&form, QPoint(x, y)); };
        return {
            {"tool bar", at(toolBar, toolBar->width() - 4, 4)},
            {"button", at(button, 3, button->height() / 2)},
            {"group box", at(group, 1, group->height() / 2)},
            {"line edit", at(line, 0, line->height() / 2)},
            {"memo", at(memo, 0, memo->height() / 2)},
            {"combo box", at(combo, 0, combo->height() / 2)},
            {"list", at(list, 0, list->height() - 10)},
            {"table", at(table, 0, table->height() - 10)},
            {"tabs top", at(tabsTop, 0, tabsTop->height() / 2)},
            {"tabs bottom", at(tabsBottom, 0, tabsBottom->height() / 2)},
            {"status bar", at(status, status->width() / 2, status->height() / 2)},
        };
    }

    std::map<std::string, TColor> Sample()
    {
        const QImage img = Grab(form);
        std::map<std::string, TColor> seen;
        for (const auto& [name, point] : Probes())
            seen[name] = PixelAt(img, point.x(), point.y());
        return seen;
    }
};

TsSkinManager* AsManager(TsSkinManagerComponent* m) { return m; }

// Drives the control adapter as the form's provider does: made when a skin
// is on and walked; told of the removal and dropped when the skin goes.
struct ProviderRole {
    QWidget* form;
    TsSkinManagerComponent* manager;
    std::unique_ptr<TacCtrlAdapter> adapter;

    void SkinOn()
    {
        if (!adapter) {
            adapter = std::make_unique<TacCtrlAdapter>(form, manager);
            adapter->AdaptControls(nullptr);
        }
        QApplication::processEvents();
    }
    void SkinOff()
    {
        adapter->BroadcastMessage(AC_REMOVESKIN, 0, reinterpret_cast<intptr_t>(AsManager(manager)));
        adapter.reset();
        QApplication::processEvents();
    }
};

} // namespace

TEST(CtrlAdapterScreen, EveryControlOfTheFormIsAdaptedAndFollowsTheSkin)
{
    SkinScope skin;
    for (const auto& [index, names] : FormLists)
        skin.manager->ThirdParty.SetByIndex(index, names);
    skin.manager->UpdateThirdNames(false);
    ControlsForm f;
    const QImage plainImage = Grab(f.form);
    const std::map<std::string, TColor> plain = f.Sample();

    ProviderRole provider{&f.form, skin.manager.get(), nullptr};
    provider.SkinOn();
    for (const auto& [w, type] : f.Expected()) {
        SCOPED_TRACE(w->metaObject()->className());
        TacMainWnd* adapter = GetAdapterOf(w);
        ASSERT_NE(adapter, nullptr);
        EXPECT_EQ(typeid(*adapter), *type);
        EXPECT_FALSE(adapter->Detached);
    }
    EXPECT_EQ(provider.adapter->Count(), int(f.Expected().size()));
    // The free tool button is painted by its handler, the label only
    // recoloured.
    ASSERT_EQ(provider.adapter->GraphCount(), 1);
    EXPECT_EQ(provider.adapter->GetGraphItem(0)->Control, f.speed);
    EXPECT_NE(dynamic_cast<TacSpeedButtonHandler*>(provider.adapter->GetGraphItem(0)->Handler.data()), nullptr);
    EXPECT_EQ(provider.adapter->GetGraphItem(0)->SkinData->SkinSection(), "SPEEDBUTTON_SMALL");
    EXPECT_EQ(GetAdapterOf(f.label), nullptr);
    EXPECT_EQ(FontColor(f.label), skin.manager->GetGlobalFontColor());

    // Tool-bar buttons with a caption and no icon keep their caption.
    QAction* read = f.toolBar->actions().front();
    QWidget* readButton = f.toolBar->widgetForAction(read);
    ASSERT_NE(readButton, nullptr);
    const QImage withCaption = Grab(*readButton);
    read->setText("");
    EXPECT_NE(Grab(*readButton), withCaption);
    read->setText("Read");

    const std::map<std::string, TColor> project = f.Sample();
    SaveScreenshot(Grab(f.form), "ctrl_adapter_project");
    for (const auto& [name, colour] : project) {
        SCOPED_TRACE(name);
        EXPECT_NE(colour, plain.at(name));
    }

    skin.manager->SetSkinName("Dusk");
    ASSERT_TRUE(skin.manager->Packed());
    provider.SkinOn();
    const std::map<std::string, TColor> packed = f.Sample();
    SaveScreenshot(Grab(f.form), "ctrl_adapter_packed");
    for (const auto& [name, colour] : project) {
        SCOPED_TRACE(name);
        EXPECT_NE(packed.at(name), colour);
    }

    skin.manager->SetActive(false);
    provider.SkinOff();
    for (const auto& [w, type] : f.Expected())
        EXPECT_EQ(GetAdapterOf(w), nullptr) << w->metaObject()->className();
    EXPECT_EQ(f.Sample(), plain);
    const QImage none = Grab(f.form);
    SaveScreenshot(none, "ctrl_adapter_none");
    EXPECT_EQ(none, plainImage);

    skin.manager->SetSkinName("Tarku");
    skin.manager->SetActive(true);
    provider.SkinOn();
    EXPECT_EQ(f.Sample(), project);
}
