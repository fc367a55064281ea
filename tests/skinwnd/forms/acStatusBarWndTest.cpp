#include "skinwnd/forms/acStatusBarWnd.h"

#include "AdapterTestSkin.h"
#include "Screenshot.h"
#include "skinwnd/forms/acSBUtils.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

using namespace adaptertest;

namespace {

// A main window whose status bar holds a short and a long panel text.
struct StatusForm {
    QMainWindow window;
    QStatusBar* bar;
    QLabel* ready;
    QLabel* longText;
    StatusForm()
    {
        window.resize(320, 120);
        bar = window.statusBar();
        bar->setSizeGripEnabled(false);
        ready = new QLabel(QStringLiteral("Ready"));
        ready->setFixedWidth(90);
        longText = new QLabel(QStringLiteral("A panel text far wider than its panel"));
        longText->setFixedWidth(80);
        longText->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        bar->addWidget(ready);
        bar->addWidget(longText);
        window.show();
        QApplication::processEvents();
    }
    QImage Grab() { return bar->grab().toImage(); }
};

TEST(acStatusBarWnd, PanelsAreTheBarsWidgetsOrItsMessage)
{
    StatusForm f;
    bool simple = true;
    std::vector<TacStatusPanel> panels = StatusBarPanels(f.bar, simple);
    EXPECT_FALSE(simple);
    ASSERT_EQ(panels.size(), 2u);
    EXPECT_EQ(panels[0].Text, "Ready");
    EXPECT_EQ(panels[0].Alignment, taLeftJustify);
    EXPECT_EQ(panels[1].Alignment, taRightJustify);
    EXPECT_LE(panels[0].R.Right, panels[1].R.Left);
    EXPECT_EQ(panels[0].R.Width(), 86);
    EXPECT_EQ(panels[0].R.Left, f.ready->x() + 2);

    f.bar->showMessage(QStringLiteral("Reading"));
    panels = StatusBarPanels(f.bar, simple);
    EXPECT_TRUE(simple);
    ASSERT_EQ(panels.size(), 1u);
    EXPECT_EQ(panels[0].Text, "Reading");
    EXPECT_EQ(panels[0].R, (TRect{0, 1, f.bar->width() - 1, f.bar->height() - 1}));

    QStatusBar empty;
    empty.resize(100, 20);
    panels = StatusBarPanels(&empty, simple);
    ASSERT_EQ(panels.size(), 1u);
    EXPECT_EQ(panels[0].R, (TRect{0, 0, 100, empty.height()}));
}

TEST(acStatusBarWnd, PaintsTheBarByTheSkinAndRestoresItOnDetach)
{
    ProjectSkin skin;
    StatusForm f;
    const QImage plain = f.Grab();
    const TColor text = skin.Section("STATUSBAR").FontColor;

    TacStatusBarWnd* adapter = TacMainWnd::Create<TacStatusBarWnd>(f.bar, false, "", &skin.manager, nullptr);
    EXPECT_EQ(adapter->StatusBar, f.bar);
    EXPECT_EQ(adapter->SkinData()->SkinSection(), "STATUSBAR");
    const QImage skinned = f.Grab();
    SaveScreenshot(f.window, "status_bar_skinned");
    EXPECT_NE(skinned, plain);
    // The panel texts are painted in the skin's colour, the long one only
    // inside its panel.
    const QRect ready = f.ready->geometry();
    EXPECT_GT(CountColour(skinned, ready, text), 0);
    const QRect longPanel = f.longText->geometry();
    EXPECT_GT(CountColour(skinned, longPanel, text), 0);
    EXPECT_EQ(CountColour(skinned, QRect(longPanel.right() - 3, 0, 4, skinned.height()), text), 0);

    // A message is one panel over the whole bar.
    f.bar->showMessage(QStringLiteral("Reading the chip"));
    const QImage message = f.Grab();
    EXPECT_GT(CountColour(message, QRect(0, 0, 60, message.height()), text), 0);
    f.bar->clearMessage();

    // Without the skin the bar and its labels paint themselves again.
    skin.manager.SetActive(false);
    QApplication::processEvents();
    EXPECT_EQ(f.Grab(), plain);
    skin.manager.SetActive(true);
    QApplication::processEvents();
    EXPECT_EQ(f.Grab(), skinned);

    TacMainWnd* base = adapter;
    DetachWnd(f.bar, true, base);
    QApplication::processEvents();
    EXPECT_EQ(GetAdapterOf(f.bar), nullptr);
    EXPECT_EQ(f.Grab(), plain);
}

// A skin without panel frames divides the panels by its "DIVIDER" image,
// all but the last one.
TEST(acStatusBarWnd, PanelsButTheLastGetADivider)
{
    SkinLibraryInitialization();
    TsStoredSkin stored = BuildStoredSkin("Divided", ProjectPalette());
    std::erase_if(stored.Images, [](const TsSkinImage& i) {
        return i.PropertyName == "STATUSPANELMASK" || i.SectionName == "DIVIDER";
    });
    std::erase_if(stored.GeneralData, [](const TsSkinGeneral& g) { return g.SectionName == "DIVIDER"; });
    TsSkinGeneral divider;
    divider.SectionName = "DIVIDER";
    divider.FontColor = divider.HotFontColor = "0 -1 -1 -1 -1";
    stored.GeneralData.push_back(divider);
    TsSkinImage line;
    line.SectionName = "DIVIDER";
    line.PropertyName = "BORDERSMASK";
    line.Name = "DIVIDER.BMP";
    line.ImageCount = 1;
    line.Image.SetPixelFormat(pf24bit);
    line.Image.SetSize(9, 8); // frames 3 wide: lines of 2 pixels
    line.Image.FillRect(TRect{0, 0, 9, 8}, RGB(250, 0, 0));
    stored.Images.push_back(line);
    TsSkinManagerComponent manager;
    manager.InternalSkins().Items.push_back(stored);
    manager.SetSkinName("Divided");
    ASSERT_TRUE(manager.Active()) << manager.LastError();

    StatusForm f;
    auto* adapter = TacMainWnd::Create<TacStatusBarWnd>(f.bar, false, "", &manager, nullptr);
    const QImage skinned = f.Grab();
    bool simple = false;
    const std::vector<TacStatusPanel> panels = StatusBarPanels(f.bar, simple);
    ASSERT_EQ(panels.size(), 2u);
    const int middle = skinned.height() / 2;
    EXPECT_EQ(PixelAt(skinned, panels[0].R.Right, middle), RGB(250, 0, 0));
    EXPECT_EQ(PixelAt(skinned, panels[0].R.Right + 1, middle), RGB(250, 0, 0));
    EXPECT_NE(PixelAt(skinned, panels[1].R.Right, middle), RGB(250, 0, 0));
    EXPECT_EQ(CountColour(skinned, QRect(panels[1].R.Right, 0, 4, skinned.height()), RGB(250, 0, 0)), 0);
    TacMainWnd* base = adapter;
    DetachWnd(f.bar, true, base);
}

} // namespace
