// Tab widgets and a tab bar painted by the project's skin: tabs on every
// side, a run-time switch of skins, the edge cases of the tab painter, and
// the picture a person looks at (saved when TARKU_SCREENSHOTS names a
// folder).
#include "skinwnd/forms/acTabControlWnd.h"

#include "../../skin/SkinContentManager.h"
#include "AdapterTestSkin.h"
#include "Screenshot.h"
#include "SkinGenerator.h"
#include "TestSupport.h"
#include "platform/forms/BitmapImage.h"
#include "skin/acCanvas.h"
#include "skin/acSectionPaint.h"
#include "skin/acSkinFolder.h"
#include "skin/forms/acSkinCommand.h"
#include "skin/forms/acSkinStartup.h"
#include "skin/forms/sCommonData.h"
#include "skin/forms/sSkinManager.h"
#include "skinwnd/forms/acCtrlAdapter.h"
#include "skinwnd/forms/acSBUtils.h"
#include "skinwnd/forms/acTabContent.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

using adaptertest::SkinDirectory;

namespace {

QTabWidget* MakeTabs(QWidget* form, QTabWidget::TabPosition position, const QRect& geometry)
{
    auto* tabs = new QTabWidget(form);
    tabs->setTabPosition(position);
    for (const char* name : {"First", "Second", "Third"}) {
        auto* page = new QWidget;
        new QLabel(QString("Page %1").arg(name), page);
        auto* check = new QCheckBox("Option", page);
        check->move(0, 24);
        tabs->addTab(page, name);
    }
    tabs->setGeometry(geometry);
    return tabs;
}

// Tab widgets with their tabs on each side and a bare tab bar.
struct TabForm {
    QWidget form;
    std::vector<QTabWidget*> tabs;
    QTabBar* bar = new QTabBar(&form);
    TabForm()
    {
        SkinLibraryInitialization();
        form.resize(500, 380);
        tabs.push_back(MakeTabs(&form, QTabWidget::North, {10, 10, 230, 150}));
        tabs.push_back(MakeTabs(&form, QTabWidget::South, {260, 10, 230, 150}));
        tabs.push_back(MakeTabs(&form, QTabWidget::West, {10, 170, 230, 150}));
        tabs.push_back(MakeTabs(&form, QTabWidget::East, {260, 170, 230, 150}));
        for (const char* name : {"Alpha", "Beta", "Gamma"})
            bar->addTab(name);
        bar->setGeometry(10, 335, 300, bar->sizeHint().height());
        form.show();
        QApplication::processEvents();
    }
    QImage Grab() { return form.grab().toImage(); }
};

// Points that every skin paints its own way: inside the selected tab and
// the second one of each control (away from the caption), and inside a
// page.
std::vector<QPoint> Probes(const TabForm& f)
{
    std::vector<QPoint> points;
    // Clear of the caption, which is centred.
    auto inside = [](const QRect& r) { return r.topLeft() + QPoint(5, r.height() / 2); };
    for (QTabWidget* t : f.tabs) {
        QTabBar* bar = t->tabBar();
        const bool vertical = t->tabPosition() == QTabWidget::West || t->tabPosition() == QTabWidget::East;
        auto at = [&](int i) {
            const QRect r = bar->tabRect(i);
            return bar->mapTo(&f.form, vertical ? r.topLeft() + QPoint(r.width() / 2, 5) : inside(r));
        };
        points.push_back(at(t->currentIndex()));
        points.push_back(at(1));
        QWidget* page = t->currentWidget();
        points.push_back(page->mapTo(&f.form, QPoint(page->width() - 10, page->height() - 10)));
    }
    points.push_back(f.bar->mapTo(&f.form, inside(f.bar->tabRect(f.bar->currentIndex()))));
    return points;
}

std::vector<QRgb> Colours(const QImage& img, const std::vector<QPoint>& points)
{
    std::vector<QRgb> out;
    for (const QPoint& p : points)
        out.push_back(img.pixel(p));
    return out;
}

// How many probes differ between two pictures.
int Differing(const std::vector<QRgb>& a, const std::vector<QRgb>& b)
{
    int n = 0;
    for (size_t i = 0; i < a.size(); ++i)
        n += a[i] != b[i];
    return n;
}

std::unique_ptr<TacCtrlAdapter> AdaptTabs(QWidget& form, TsSkinManagerComponent& manager)
{
    manager.ThirdParty.SetByIndex(13, "TPageControl");
    manager.ThirdParty.SetByIndex(14, "TTabControl");
    manager.UpdateThirdNames(false);
    auto adapter = std::make_unique<TacCtrlAdapter>(&form, &manager);
    adapter->AdaptControls(nullptr);
    QApplication::processEvents();
    return adapter;
}

bool SameBitmaps(const TBitmap& a, const TBitmap& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y))
                return false;
    return true;
}

} // namespace

TEST(TacTabControlWnd, ProjectSkinPaintsTabsOnEverySide)
{
    SkinDirectory skins;
    TabForm f;
    const QImage plain = f.Grab();
    TsSkinManagerComponent manager;
    manager.SetSkinDirectory(skins.dir.path());
    manager.SetSkinName("Tarku");
    ASSERT_TRUE(manager.Active()) << manager.LastError();
    auto adapter = AdaptTabs(f.form, manager);
    ASSERT_EQ(adapter->Count(), 5);
    // A skinned tab control says it is the library's and names its manager.
    const intptr_t self = reinterpret_cast<intptr_t>(static_cast<TsSkinManager*>(&manager));
    EXPECT_EQ(SendSkinCommand(f.tabs[0], AC_CTRLHANDLED), 1);
    EXPECT_EQ(SendSkinCommand(f.tabs[0], AC_GETMANAGER), self);
    EXPECT_EQ(SendSkinCommand(f.bar, AC_GETMANAGER), self);
    EXPECT_EQ(SendSkinCommand(f.tabs[0]->currentWidget(), AC_CTRLHANDLED), 1);
    const QImage skinned = f.Grab();
    EXPECT_TRUE(SaveScreenshot(skinned, "tab_controls"));
    const std::vector<QRgb> colours = Colours(skinned, Probes(f));
    const std::vector<QRgb> before = Colours(plain, Probes(f));
    EXPECT_EQ(Differing(colours, before), int(colours.size()));
    for (size_t i = 0; i < f.tabs.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "tab widget " << i);
        // The selected tab looks unlike the others; the page shows the
        // page control's colour.
        EXPECT_NE(colours[3 * i], colours[3 * i + 1]);
        EXPECT_EQ(ColorFromQColor(QColor(colours[3 * i + 2])), ProjectPalette().Window);
    }
    // Taking the adapters away leaves the controls as they were.
    adapter.reset();
    QApplication::processEvents();
    EXPECT_EQ(f.Grab(), plain);
}

TEST(TacTabControlWnd, SkinSwitchRepaintsTheTabsAndNoneRestoresThem)
{
    SkinDirectory skins;
    TabForm f;
    const std::vector<QPoint> probes = Probes(f);
    const std::vector<QRgb> plain = Colours(f.Grab(), probes);
    TsSkinManagerComponent manager;
    manager.SetSkinDirectory(skins.dir.path());
    manager.SetSkinName("Tarku");
    ASSERT_TRUE(manager.Active()) << manager.LastError();
    auto adapter = AdaptTabs(f.form, manager);
    const std::vector<QRgb> folder = Colours(f.Grab(), probes);
    EXPECT_EQ(Differing(folder, plain), int(probes.size()));

    manager.SetSkinName("Dusk");
    ASSERT_TRUE(manager.Active() && manager.Packed()) << manager.LastError();
    QApplication::processEvents();
    const std::vector<QRgb> packed = Colours(f.Grab(), probes);
    EXPECT_EQ(Differing(packed, folder), int(probes.size()));

    manager.SetActive(false);
    QApplication::processEvents();
    EXPECT_EQ(Colours(f.Grab(), probes), plain);

    manager.SetActive(true);
    manager.SetSkinName("Tarku");
    ASSERT_TRUE(manager.Active()) << manager.LastError();
    QApplication::processEvents();
    EXPECT_EQ(Colours(f.Grab(), probes), folder);
}

TEST(TacTabControlWnd, SelectingAnotherTabMovesTheSelectedLook)
{
    SkinDirectory skins;
    TabForm f;
    TsSkinManagerComponent manager;
    manager.SetSkinDirectory(skins.dir.path());
    manager.SetSkinName("Tarku");
    auto adapter = AdaptTabs(f.form, manager);
    // The first and the second tab of each control, the first selected.
    const std::vector<QPoint> probes = Probes(f);
    const std::vector<QRgb> before = Colours(f.Grab(), probes);
    for (QTabWidget* t : f.tabs)
        t->setCurrentIndex(1);
    f.bar->setCurrentIndex(1);
    QApplication::processEvents();
    const std::vector<QRgb> after = Colours(f.Grab(), probes);
    for (size_t i = 0; i < f.tabs.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "tab widget " << i);
        EXPECT_NE(after[3 * i], before[3 * i]);
        EXPECT_NE(after[3 * i + 1], before[3 * i + 1]);
        // The page now shown has its adapter too.
        EXPECT_NE(GetAdapterOf(f.tabs[i]->currentWidget()), nullptr);
    }
    EXPECT_NE(after.back(), before.back());
}

namespace {

// The project skin in a manager of the test's own, its sections in the
// order given by the caller.
struct OwnSkin {
    skintest::ContentManager manager;
    explicit OwnSkin(bool tabSectionFirst)
    {
        SkinLibraryInitialization();
        std::string error;
        EXPECT_TRUE(manager.LoadGenerated(ProjectPalette(), error)) << error;
        auto& gd = manager.skin.gd;
        if (tabSectionFirst) {
            const int tab = manager.skin.GetSkinIndex("TABTOP");
            std::swap(gd[0], gd[size_t(tab)]);
        }
        manager.skin.ResolveIndexes();
        DefaultSkinManager = &manager;
    }
    ~OwnSkin() { DefaultSkinManager = nullptr; }
};

TBitmap PaintBar(bool tabSectionFirst, int tabs)
{
    OwnSkin skin(tabSectionFirst);
    QWidget form;
    form.resize(300, 60);
    auto* bar = new QTabBar(&form);
    for (int i = 0; i < tabs; ++i)
        bar->addTab(QString("Tab %1").arg(i));
    bar->setGeometry(0, 0, 300, 30);
    auto* adapter = TacMainWnd::Create<TacTabControlWnd>(bar, false, "", &skin.manager, nullptr);
    TBitmap picture = adapter->PaintControl();
    TacMainWnd* base = adapter;
    DetachWnd(bar, true, base);
    return picture;
}

} // namespace

TEST(TacTabControlWnd, TabSectionAtIndexZeroPaintsTabs)
{
    const TBitmap usual = PaintBar(false, 3);
    const TBitmap first = PaintBar(true, 3);
    EXPECT_TRUE(SameBitmaps(usual, first));
    // The tabs are there: the selected one covers the band.
    QWidget form;
    EXPECT_NE(first.Pixel(4, 12), ControlColor(&form));
}

TEST(TacTabControlWnd, WithoutTabsTheControlIsOneCheckBoxSection)
{
    const TBitmap painted = PaintBar(false, 0);
    OwnSkin skin(false);
    QWidget form;
    TBitmap expected;
    expected.SetPixelFormat(pf24bit);
    expected.SetSize(300, 30);
    TCacheInfo parent;
    parent.FillColor = ControlColor(&form);
    FillSolidRect(expected, {0, 0, 300, 30}, parent.FillColor);
    const int index = skin.manager.GetSkinIndex("CHECKBOX");
    ASSERT_GE(index, 0);
    PaintSectionItem(index, "CHECKBOX", parent, true, 0, {0, 0, 300, 30}, {0, 0}, &expected, &skin.manager, -1, -1);
    EXPECT_TRUE(SameBitmaps(painted, expected));
}

TEST(TacTabControlWnd, TurnedCaptionsAvoidTheOldSystemFace)
{
    QFont old("MS Sans Serif");
    old.setBold(true);
    old.setItalic(true);
    const QFont turned = RotatedTabFont(old);
    EXPECT_EQ(turned.family(), "Arial");
    EXPECT_EQ(turned.weight(), QFont::Normal);
    EXPECT_TRUE(turned.italic());
    EXPECT_EQ(RotatedTabFont(QFont("DejaVu Sans")).family(), "DejaVu Sans");
}
