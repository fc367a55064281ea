// One main window as a program builds it, skinned by its provider: a menu
// bar, a tool bar, a status bar and the usual controls in the client. Every
// control gets its adapter, a skin switch at run time (folder, packed,
// none, folder) repaints all of them, and "no skin" gives the form back
// exactly as a form that never saw a skin. The pictures are saved for a
// person to look at when TARKU_SCREENSHOTS names a folder.
#include "AdapterTestSkin.h"
#include "Screenshot.h"
#include "skinwnd/forms/acBtnWnd.h"
#include "skinwnd/forms/acComboBoxWnd.h"
#include "skinwnd/forms/acCtrlAdapter.h"
#include "skinwnd/forms/acEditWnd.h"
#include "skinwnd/forms/acListViewWnd.h"
#include "skinwnd/forms/acSBUtils.h"
#include "skinwnd/forms/acStatusBarWnd.h"
#include "skinwnd/forms/acTabControlWnd.h"
#include "skinwnd/forms/acToolBarVCLWnd.h"
#include "skinwnd/forms/sSkinProvider.h"

#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

#include <map>
#include <typeinfo>

using namespace adaptertest;

namespace {

// The lists a program fills to have its controls skinned: library names
// where the fixed table has one, its own classes' names elsewhere.
const std::vector<std::pair<int, const char*>> ProgramLists = {
    {0, "TEdit\nQPlainTextEdit"}, {1, "TButton"},       {4, "TComboBox"},   {7, "QTreeWidget"},
    {13, "TPageControl"},         {15, "TToolBar"},     {16, "TStatusBar"},
};

// The pixel of a grab at a point of the form: the grab holds device pixels,
// which are more than the form's at a scale above 1.
TColor FormPixel(const QImage& image, QPoint at)
{
    const qreal scale = image.devicePixelRatio();
    return PixelAt(image, int(at.x() * scale), int(at.y() * scale));
}

QWidget* Page(const QString& text)
{
    auto* page = new QWidget;
    (new QLabel(text, page))->setGeometry(10, 10, 200, 20);
    return page;
}

QString LongText()
{
    QString text;
    for (int i = 0; i < 30; ++i)
        text += QString("%1: 0xA0 0x%2 write page, verify against the buffer and report the first difference\n")
                    .arg(i, 2, 10, QChar('0'))
                    .arg(i * 16, 2, 16, QChar('0'));
    return text;
}

struct ShowcaseForm {
    QMainWindow window;
    QWidget* client = new QWidget;
    QToolBar* toolBar = window.addToolBar("Main");
    QLabel* statusLabel = new QLabel("24C02 in the socket");
    QPushButton* read = new QPushButton("Read", client);
    QPushButton* write = new QPushButton("Write", client);
    QLineEdit* line = new QLineEdit("Dumps/24C02.bin", client);
    QPlainTextEdit* memo = new QPlainTextEdit(client);
    QComboBox* combo = new QComboBox(client);
    QTreeWidget* list = new QTreeWidget(client);
    QTabWidget* tabsTop = new QTabWidget(client);
    QTabWidget* tabsBottom = new QTabWidget(client);
    TsSkinProvider* provider = nullptr;

    explicit ShowcaseForm(bool withProvider)
    {
        QApplication::setCursorFlashTime(0);
        window.setWindowTitle("Tarku - 24C02");
        for (const char* m : {"&File", "&Edit", "&Device", "&Help"})
            window.menuBar()->addMenu(m);
        for (const char* a : {"Read", "Write", "Verify", "Erase"})
            toolBar->addAction(a);
        toolBar->setMovable(false);
        window.statusBar()->addWidget(statusLabel);
        window.setCentralWidget(client);
        read->setGeometry(12, 12, 100, 28);
        write->setGeometry(120, 12, 100, 28);
        line->setGeometry(12, 52, 208, 26);
        combo->addItems({"24C02", "24C04", "24C08"});
        combo->setGeometry(12, 90, 208, 26);
        memo->setLineWrapMode(QPlainTextEdit::NoWrap);
        memo->setPlainText(LongText());
        memo->setGeometry(12, 128, 208, 150);
        list->setRootIsDecorated(false);
        list->setHeaderLabels({"Chip", "Size", "Bus"});
        for (const char* chip : {"24C02", "24C04", "24C08", "93C46"})
            list->addTopLevelItem(new QTreeWidgetItem(QStringList{chip, "256", "I2C"}));
        list->setGeometry(232, 12, 250, 120);
        tabsTop->addTab(Page("Chip settings"), "Chip");
        tabsTop->addTab(Page("Buffer"), "Buffer");
        tabsTop->setGeometry(232, 144, 250, 134);
        tabsBottom->setTabPosition(QTabWidget::South);
        tabsBottom->addTab(Page("Log of the last run"), "Log");
        tabsBottom->addTab(Page("Errors"), "Errors");
        tabsBottom->setGeometry(494, 12, 190, 266);
        for (QWidget* w : window.findChildren<QWidget*>())
            w->setFocusPolicy(Qt::NoFocus);
        // Away from the cursor, which would make a control hot on its own.
        window.move(300, 300);
        window.resize(700, 400);
        // Last, as a form's constructor makes it: the frame it paints is
        // added around the client the form was given.
        if (withProvider)
            provider = new TsSkinProvider(&window);
        window.show();
        QApplication::processEvents();
    }

    // Each control with the adapter class the walk must give it.
    std::vector<std::pair<QWidget*, const std::type_info*>> Expected() const
    {
        return {
            {read, &typeid(TacBtnWnd)},           {write, &typeid(TacBtnWnd)},
            {line, &typeid(TacEditWnd)},          {memo, &typeid(TacEditWnd)},
            {combo, &typeid(TacComboBoxWnd)},     {list, &typeid(TacListViewWnd)},
            {tabsTop, &typeid(TacPageControlWnd)}, {tabsBottom, &typeid(TacPageControlWnd)},
            {toolBar, &typeid(TacToolBarVCLWnd)}, {window.statusBar(), &typeid(TacStatusBarWnd)},
        };
    }

    // One fixed point of each element, taken where the skin shows (a border,
    // a face, a bar) and away from any text.
    std::map<std::string, QPoint> Probes()
    {
        auto at = [this](const QWidget* w, int x, int y) { return w->mapTo(&window, QPoint(x, y)); };
        const QWidget* bar = window.menuBar();
        const QScrollBar* vbar = memo->verticalScrollBar();
        const QScrollBar* hbar = memo->horizontalScrollBar();
        const QHeaderView* header = list->header();
        return {
            // The caption's middle, right of its text and left of its
            // buttons; the top edge of the form without a frame.
            {"title bar", QPoint(window.width() / 2, window.contentsMargins().top() / 2)},
            {"menu line", at(bar, bar->width() - 20, bar->height() / 2)},
            {"tool bar", at(toolBar, toolBar->width() - 4, toolBar->height() / 2)},
            {"button", at(read, 3, read->height() / 2)},
            {"line edit", at(line, 0, line->height() / 2)},
            {"memo", at(memo, 0, memo->height() / 2)},
            {"memo vertical bar", at(vbar, vbar->width() / 2, vbar->height() / 2)},
            {"memo horizontal bar", at(hbar, hbar->width() / 2, hbar->height() / 2)},
            {"combo box", at(combo, 0, combo->height() / 2)},
            {"list", at(list, 0, list->height() - 10)},
            {"list header", at(header, header->width() - 3, header->height() / 2)},
            {"tabs top", at(tabsTop, 0, tabsTop->height() / 2)},
            {"tabs bottom", at(tabsBottom, 0, tabsBottom->height() / 2)},
            {"status bar", at(window.statusBar(), window.statusBar()->width() / 2, window.statusBar()->height() / 2)},
        };
    }

    // The empty ends of the tab rows, right of the last tab, in the form's
    // coordinates.
    std::vector<QPoint> TabRowEnds() const
    {
        const int top = tabsTop->tabBar()->height() / 2;
        const int bottom = tabsBottom->height() - tabsBottom->tabBar()->height() / 2;
        return {tabsTop->mapTo(&window, QPoint(tabsTop->width() - 5, top)),
                tabsBottom->mapTo(&window, QPoint(tabsBottom->width() - 5, bottom))};
    }

    std::map<std::string, TColor> Sample()
    {
        QApplication::processEvents();
        const QImage img = Grab(&window);
        std::map<std::string, TColor> seen;
        for (const auto& [name, point] : Probes())
            seen[name] = FormPixel(img, point);
        return seen;
    }

    // What "no skin" must give back of each widget.
    struct Look {
        std::string Name;
        QPalette Palette;
        bool OwnPalette;
        int FrameStyle; // -1: no frame
    };
    std::vector<Look> Current() const
    {
        std::vector<Look> looks;
        for (QWidget* w : Widgets()) {
            auto* frame = qobject_cast<QFrame*>(w);
            looks.push_back({w->metaObject()->className() + std::string(" ") + w->objectName().toStdString(),
                             w->palette(), w->testAttribute(Qt::WA_SetPalette), frame ? frame->frameStyle() : -1});
        }
        return looks;
    }

    // The form and every widget inside it, in a fixed order; the popups
    // (the combo box's list, the system menu) are windows of their own.
    std::vector<QWidget*> Widgets() const
    {
        auto* self = const_cast<ShowcaseForm*>(this);
        std::vector<QWidget*> all = {&self->window, window.menuBar(), toolBar, window.statusBar(), statusLabel, client};
        for (QWidget* w : std::initializer_list<QWidget*>{read, write, line, memo, combo, list, tabsTop, tabsBottom}) {
            all.push_back(w);
            for (QWidget* child : w->findChildren<QWidget*>())
                if (child->window() == &self->window)
                    all.push_back(child);
        }
        return all;
    }
};

void ExpectSameLooks(const std::vector<ShowcaseForm::Look>& now, const std::vector<ShowcaseForm::Look>& before)
{
    ASSERT_EQ(now.size(), before.size());
    for (size_t i = 0; i < now.size(); ++i) {
        SCOPED_TRACE(before[i].Name);
        EXPECT_EQ(now[i].Name, before[i].Name);
        EXPECT_TRUE(now[i].Palette == before[i].Palette);
        EXPECT_EQ(now[i].OwnPalette, before[i].OwnPalette);
        EXPECT_EQ(now[i].FrameStyle, before[i].FrameStyle);
    }
}

void ExpectAllChanged(const std::map<std::string, TColor>& now, const std::map<std::string, TColor>& before)
{
    for (const auto& [name, colour] : before) {
        SCOPED_TRACE(name);
        EXPECT_NE(now.at(name), colour);
    }
}

} // namespace

TEST(SkinProviderShowcase, AProgramsFormIsSkinnedWholeAndFollowsEverySwitch)
{
    // The form as it is when no skin ever came near it.
    QImage plainImage;
    std::map<std::string, TColor> plain;
    std::vector<ShowcaseForm::Look> plainLooks;
    Qt::WindowFlags plainFlags;
    QMargins plainMargins;
    {
        ShowcaseForm reference(false);
        plainImage = Grab(&reference.window);
        plain = reference.Sample();
        plainLooks = reference.Current();
        plainFlags = reference.window.windowFlags();
        plainMargins = reference.window.contentsMargins();
    }

    SkinScope skin;
    for (const auto& [index, names] : ProgramLists)
        skin.manager->ThirdParty.SetByIndex(index, names);
    skin.manager->UpdateThirdNames(false);
    ShowcaseForm f(true);
    ASSERT_TRUE(f.provider->FrameActive());
    ASSERT_NE(f.provider->Adapter(), nullptr);
    for (const auto& [w, type] : f.Expected()) {
        SCOPED_TRACE(w->metaObject()->className());
        TacMainWnd* adapter = GetAdapterOf(w);
        ASSERT_NE(adapter, nullptr);
        EXPECT_EQ(typeid(*adapter), *type);
        EXPECT_FALSE(adapter->Detached);
    }
    const std::map<std::string, TColor> project = f.Sample();
    const QImage projectImage = Grab(&f.window);
    EXPECT_TRUE(SaveScreenshot(projectImage, "showcase_project"));
    // A tab row shows the form's own background where it has no tabs: the
    // plain client widget between them is seen through.
    ASSERT_NE(f.provider->FrameCache(), nullptr);
    for (const QPoint& end : f.TabRowEnds())
        EXPECT_EQ(FormPixel(projectImage, end), f.provider->FrameCache()->Pixel(end.x(), end.y()))
            << end.x() << ", " << end.y();
    ExpectAllChanged(project, plain);

    skin.manager->SetSkinName("Dusk");
    ASSERT_TRUE(skin.manager->Packed());
    const std::map<std::string, TColor> packed = f.Sample();
    EXPECT_TRUE(SaveScreenshot(Grab(&f.window), "showcase_project_packed"));
    ExpectAllChanged(packed, project);

    skin.manager->SetActive(false);
    QApplication::processEvents();
    EXPECT_FALSE(f.provider->FrameActive());
    for (const auto& [w, type] : f.Expected())
        EXPECT_EQ(GetAdapterOf(w), nullptr) << w->metaObject()->className();
    const std::map<std::string, TColor> none = f.Sample();
    ExpectAllChanged(none, packed);
    EXPECT_EQ(none, plain);
    EXPECT_EQ(f.window.windowFlags(), plainFlags);
    EXPECT_EQ(f.window.contentsMargins(), plainMargins);
    ExpectSameLooks(f.Current(), plainLooks);
    const QImage noneImage = Grab(&f.window);
    EXPECT_TRUE(SaveScreenshot(noneImage, "showcase_project_none"));
    EXPECT_EQ(noneImage, plainImage);

    skin.manager->SetSkinName("Tarku");
    skin.manager->SetActive(true);
    EXPECT_TRUE(f.provider->FrameActive());
    for (const auto& [w, type] : f.Expected())
        EXPECT_NE(GetAdapterOf(w), nullptr) << w->metaObject()->className();
    EXPECT_EQ(f.Sample(), project);
}

// Another window takes the activation: the form's caption turns inactive,
// and its buttons still lie on their own band, whose middle does not let
// the inactive caption's face through (the faded glyphs would vanish in
// it). In both skins; the pictures are saved as the others are.
TEST(SkinProviderShowcase, AnInactiveFormKeepsItsCaptionButtonsOnTheirBand)
{
    SkinScope skin;
    for (const auto& [index, names] : ProgramLists)
        skin.manager->ThirdParty.SetByIndex(index, names);
    skin.manager->UpdateThirdNames(false);
    ShowcaseForm f(true);
    QWidget other;
    other.setGeometry(10, 10, 50, 50);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other, 10000));
    for (const char* name : {"Tarku", "Dusk"}) {
        SCOPED_TRACE(name);
        skin.manager->SetSkinName(name);
        ASSERT_FALSE(f.window.isActiveWindow());
        const QImage image = Grab(f.window);
        EXPECT_TRUE(SaveScreenshot(image, std::string("showcase_inactive_") + name));
        const TacSkinContent* content = skin.manager->Content();
        const int band = content->GetMaskIndex(content->GetSkinIndex("FORM"), "FORM", "TITLEBAR");
        ASSERT_GE(band, 0);
        const TsMaskData& m = content->ma[size_t(band)];
        const int top = f.provider->FrameMargins().Top;
        const QRect middle(f.window.width() - MaskFrameWidth(m) + m.WL, m.WT, MaskFrameWidth(m) - m.WL - m.WR,
                           top - m.WT - m.WB);
        ASSERT_GT(middle.width(), 0);
        ASSERT_GT(middle.height(), 0);
        const qreal scale = image.devicePixelRatio();
        const QRect pixels(QPoint(int(middle.left() * scale), int(middle.top() * scale)), middle.size() * scale);
        EXPECT_EQ(CountColour(image, pixels, skin.Section("FORMTITLE").HotColor), 0);
    }
}
