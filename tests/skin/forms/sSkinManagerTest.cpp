#include "skin/forms/sSkinManager.h"

#include "../../skinwnd/forms/AdapterTestSkin.h"
#include "Screenshot.h"
#include "SkinGenerator.h"
#include "TestSupport.h"
#include "platform/MessageBox.h"
#include "skin/acBitmapHelpers.h"
#include "skin/acSkinFolder.h"
#include "skin/forms/acSkinCommand.h"
#include "skin/forms/acSkinStartup.h"
#include "skin/forms/sCommonData.h"
#include "skin/forms/sLabel.h"
#include "skin/forms/sTreeView.h"

#include <QApplication>
#include <QImage>
#include <gtest/gtest.h>

using adaptertest::SkinDirectory;
using testsupport::TempDir;

namespace {

// A form with a skinned tree view and a label, the way the program builds
// its own.
struct Form {
    QWidget form;
    TsTreeView* tree;
    TsLabel* label;
    Form()
    {
        SkinLibraryInitialization();
        form.resize(240, 200);
        tree = new TsTreeView(&form);
        tree->setGeometry(10, 10, 150, 120);
        QFont big = tree->font();
        big.setPixelSize(30);
        big.setBold(true);
        tree->setFont(big);
        tree->setSelectionMode(QAbstractItemView::NoSelection);
        tree->setFocusPolicy(Qt::NoFocus);
        tree->addTopLevelItem(new QTreeWidgetItem(QStringList{"MMMM"}));
        tree->Loaded();
        label = new TsLabel(&form);
        label->setGeometry(10, 140, 200, 50);
        QFont f = label->font();
        f.setPixelSize(40);
        f.setBold(true);
        label->setFont(f);
        label->setText("MMMM");
        label->SetSkinSection("CHECKBOX");
        form.show();
        QApplication::processEvents();
    }
    // A pixel of the tree's empty area.
    TColor TreeBackground()
    {
        const QImage img = tree->viewport()->grab().toImage();
        return ColorFromQColor(img.pixelColor(img.width() - 4, img.height() - 4));
    }
    int LabelPixelsOf(TColor color) { return PixelsOf(label->grab().toImage(), color); }
    int TreePixelsOf(TColor color) { return PixelsOf(tree->viewport()->grab().toImage(), color); }
    static int PixelsOf(const QImage& img, TColor color)
    {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += ColorFromQColor(img.pixelColor(x, y)) == color;
        return n;
    }
};

TColor SectionColor(const TsSkinManagerComponent& m, const char* section)
{
    return m.Section(m.GetSkinIndex(section)).Color;
}

TColor SectionFontColor(const TsSkinManagerComponent& m, const char* section)
{
    return m.Section(m.GetSkinIndex(section)).FontColor;
}

} // namespace

TEST(TsSkinManager, LoadsTheProjectSkinAndControlsPaintByIt)
{
    SkinDirectory skins;
    Form f;
    const TColor plainBg = f.TreeBackground();
    const TColor plainText = ColorFromQColor(f.label->palette().color(QPalette::WindowText));
    EXPECT_EQ(plainBg, clWindow());
    ASSERT_GT(f.LabelPixelsOf(plainText), 0);
    {
        TsSkinManagerComponent manager;
        EXPECT_EQ(DefaultSkinManager, &manager);
        manager.SetSkinDirectory(skins.dir.path());
        manager.SetSkinName("Tarku");
        ASSERT_TRUE(manager.Active()) << manager.LastError();
        EXPECT_FALSE(manager.Packed());
        EXPECT_NE(manager.SkinInfo(), "N/A");
        QApplication::processEvents();
        SaveScreenshot(f.form, "skin_manager_project");
        const TColor edit = SectionColor(manager, "EDIT");
        const TColor editText = SectionFontColor(manager, "EDIT");
        ASSERT_NE(editText, plainText);
        EXPECT_TRUE(f.tree->SkinData()->Skinned());
        EXPECT_EQ(f.TreeBackground(), edit);
        EXPECT_GT(f.TreePixelsOf(editText), 0);
        EXPECT_EQ(f.TreePixelsOf(plainText), 0);
        const TColor skinText = SectionFontColor(manager, "CHECKBOX");
        ASSERT_NE(skinText, plainText);
        EXPECT_GT(f.LabelPixelsOf(skinText), 0);
        EXPECT_EQ(f.LabelPixelsOf(plainText), 0);

        // Switched off, every control returns to its own look.
        manager.SetActive(false);
        QApplication::processEvents();
        EXPECT_FALSE(f.tree->SkinData()->Skinned());
        EXPECT_EQ(f.TreeBackground(), plainBg);
        EXPECT_GT(f.TreePixelsOf(plainText), 0);
        EXPECT_EQ(f.TreePixelsOf(editText), 0);
        EXPECT_GT(f.LabelPixelsOf(plainText), 0);
        EXPECT_EQ(f.LabelPixelsOf(skinText), 0);
        EXPECT_EQ(manager.SkinInfo(), "N/A");

        // And on again: the same skin is loaded afresh.
        manager.SetActive(true);
        QApplication::processEvents();
        EXPECT_EQ(f.TreeBackground(), edit);
        EXPECT_GT(f.TreePixelsOf(editText), 0);
    }
    EXPECT_EQ(DefaultSkinManager, nullptr);
    QApplication::processEvents();
    EXPECT_EQ(f.TreeBackground(), plainBg);
    EXPECT_GT(f.TreePixelsOf(plainText), 0);
}

TEST(TsSkinManager, SwitchingSkinsAtRunTimeRepaintsTheForms)
{
    SkinDirectory skins;
    Form f;
    TsSkinManagerComponent manager;
    manager.SetSkinDirectory(skins.dir.path());
    int before = 0, after = 0;
    manager.OnBeforeChange = [&] { ++before; };
    manager.OnAfterChange = [&] { ++after; };
    struct Step {
        const char* name;
        bool packed;
    };
    std::vector<TColor> seen;
    for (const Step& s : {Step{"Tarku", false}, Step{"Dusk", true}, Step{"Tarku", false}, Step{"TarkuDusk", false}}) {
        SCOPED_TRACE(s.name);
        manager.SetSkinName(s.name);
        ASSERT_TRUE(manager.Active()) << manager.LastError();
        EXPECT_EQ(manager.Packed(), s.packed);
        QApplication::processEvents();
        EXPECT_EQ(f.TreeBackground(), SectionColor(manager, "EDIT"));
        const TColor text = SectionFontColor(manager, "EDIT");
        EXPECT_GT(f.TreePixelsOf(text), 0);
        seen.push_back(text);
    }
    EXPECT_NE(seen[0], seen[1]);
    EXPECT_EQ(seen[0], seen[2]);
    EXPECT_EQ(seen[1], seen[3]); // the packed file is the dusk skin
    EXPECT_EQ(before, 4);
    EXPECT_EQ(after, 4);

    std::vector<std::string> names;
    EXPECT_EQ(manager.GetSkinNames(names, stAllSkins).empty(), false);
    EXPECT_EQ(names, (std::vector<std::string>{"Dusk", "Tarku", "TarkuDusk"}));
    manager.GetSkinNames(names, stPacked);
    EXPECT_EQ(names, std::vector<std::string>{"Dusk"});
    // Type 3 lists the stored skins only.
    EXPECT_EQ(manager.GetSkinNames(names, 3), "");
    EXPECT_TRUE(names.empty());
    manager.InternalSkins().Items.push_back(BuildStoredSkin("Stored", DuskPalette()));
    EXPECT_EQ(manager.GetSkinNames(names, 3), "Stored");
    EXPECT_EQ(names, std::vector<std::string>{"Stored"});
}

TEST(TsSkinManager, MissingSkinSwitchesOffAndStoredSkinsStandIn)
{
    SkinDirectory skins;
    Form f;
    TsSkinManagerComponent manager;
    manager.SetSkinDirectory(skins.dir.path());
    manager.SetSkinName("Tarku");
    ASSERT_TRUE(manager.Active());
    // No folder, no packed file, no stored skin: the controls go plain and
    // the asked name is kept.
    manager.SetSkinName("Nowhere");
    EXPECT_FALSE(manager.Active());
    EXPECT_EQ(manager.SkinName(), "Nowhere");
    EXPECT_FALSE(manager.LastError().empty());
    QApplication::processEvents();
    EXPECT_GT(f.TreePixelsOf(clWindowText()), 0);

    // With stored skins the first stands in for a name not found.
    manager.InternalSkins().Items.push_back(BuildStoredSkin("Stored", DuskPalette()));
    manager.SetActive(true);
    ASSERT_TRUE(manager.Active()) << manager.LastError();
    EXPECT_EQ(manager.SkinName(), "Stored");
    QApplication::processEvents();
    EXPECT_GT(f.TreePixelsOf(SectionFontColor(manager, "EDIT")), 0);
    EXPECT_EQ(f.TreePixelsOf(clWindowText()), 0);
}

TEST(TsSkinManager, HueOffsetRecoloursAndKeepsGreyAndKeyColour)
{
    SkinDirectory skins;
    Form f;
    TsSkinManagerComponent manager;
    manager.SetSkinDirectory(skins.dir.path());
    manager.SetSkinName("Tarku");
    ASSERT_TRUE(manager.Active());
    const TacSkinContent original = *manager.Content();
    const TColor edit = SectionFontColor(manager, "EDIT");

    struct Case {
        int hue, saturation;
    };
    for (const Case& c : {Case{120, 0}, Case{-90, 0}, Case{0, 50}, Case{60, -40}}) {
        SCOPED_TRACE(testing::Message() << "hue " << c.hue << " saturation " << c.saturation);
        manager.SetHueOffset(c.hue);
        manager.SetSaturation(c.saturation);
        ASSERT_TRUE(manager.Active());
        const TacSkinContent& now = *manager.Content();
        const TBitmap& a = *original.MasterBitmap;
        const TBitmap& b = *now.MasterBitmap;
        ASSERT_EQ(a.Width(), b.Width());
        ASSERT_EQ(a.Height(), b.Height());
        int grey = 0, key = 0, changed = 0;
        for (int y = 0; y < a.Height(); ++y)
            for (int x = 0; x < a.Width(); ++x) {
                const uint8_t* p = a.ScanLine(y) + 3 * x;
                const uint8_t* q = b.ScanLine(y) + 3 * x;
                const bool isGrey = p[0] == p[1] && p[1] == p[2];
                const bool isKey = p[0] == 0xFF && p[1] == 0 && p[2] == 0xFF;
                if (isGrey || isKey) {
                    ASSERT_TRUE(std::equal(p, p + 3, q)) << x << "," << y;
                    (isGrey ? grey : key)++;
                } else
                    changed += !std::equal(p, p + 3, q);
            }
        EXPECT_GT(grey, 0);
        EXPECT_GT(key, 0);
        EXPECT_GT(changed, 0);
        // Section colours follow the same change.
        TColor expected = edit;
        if (c.hue)
            expected = ChangeHue(c.hue, expected);
        if (c.saturation)
            expected = ChangeSaturation(expected, -c.saturation);
        EXPECT_NE(expected, edit);
        EXPECT_EQ(SectionFontColor(manager, "EDIT"), expected);
        QApplication::processEvents();
        EXPECT_GT(f.TreePixelsOf(expected), 0);
        manager.SetHueOffset(0);
        manager.SetSaturation(0);
    }
    // Back at zero the skin is the one loaded.
    EXPECT_EQ(SectionFontColor(manager, "EDIT"), edit);
    EXPECT_TRUE(std::equal(original.MasterBitmap->ScanLine(0), original.MasterBitmap->ScanLine(0) + 30,
                           manager.Content()->MasterBitmap->ScanLine(0)));
}

TEST(TsSkinManager, OnlyTheFirstManagerIsTheDefault)
{
    SkinDirectory skins;
    Form f;
    TsSkinManagerComponent first;
    {
        TsSkinManagerComponent second;
        EXPECT_TRUE(first.IsDefault());
        EXPECT_FALSE(second.IsDefault());
        second.SetSkinDirectory(skins.dir.path());
        second.SetSkinName("TarkuDusk");
        ASSERT_TRUE(second.Active());
        // Not the default: the controls do not follow it.
        QApplication::processEvents();
        EXPECT_GT(f.TreePixelsOf(clWindowText()), 0);
        second.SetIsDefault(true);
        EXPECT_TRUE(second.IsDefault());
        QApplication::processEvents();
        EXPECT_GT(f.TreePixelsOf(SectionFontColor(second, "EDIT")), 0);
    }
    // The default went away with it.
    EXPECT_EQ(DefaultSkinManager, nullptr);
    QApplication::processEvents();
    EXPECT_GT(f.TreePixelsOf(clWindowText()), 0);
}

TEST(TsSkinManager, AnimationSettingsStartAsTheirDefaultsAndAreTheOnesControlsRead)
{
    TsSkinManagerComponent manager;
    const TsSkinManager& asked = manager; // as forms and controls reach it
    EXPECT_EQ(&asked.AnimEffects(), &manager.AnimEffects());
    const TacAnimEffects& e = asked.AnimEffects();
    const struct {
        const char* name;
        const TacFormAnimation& setting;
        int time;
    } cases[] = {
        {"DialogShow", e.DialogShow, 0},
        {"FormShow", e.FormShow, 0},
        {"PageChange", e.PageChange, 0},
        {"SkinChanging", e.SkinChanging, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(c.setting.Active);
        EXPECT_EQ(c.setting.Time, c.time);
    }
    EXPECT_EQ(e.Buttons.Events, BtnEvent(beMouseEnter) | BtnEvent(beMouseLeave) | BtnEvent(beMouseDown) |
                                    BtnEvent(beMouseUp));
    manager.AnimEffects().SkinChanging.Time = 250;
    EXPECT_EQ(asked.AnimEffects().SkinChanging.Time, 250);
}

TEST(TsSkinManager, SkinOfANewerReleaseIsLoadedAfterAWord)
{
    const std::string newer = "This version of the skin have not complete support by used Quenderil package "
                              "release.\r\nComponents must be updated up to latest version for using this skin.";
    std::vector<std::string> shown;
    const MessageBoxHandler saved = SetMessageBoxHandler([&](const std::string& text, const std::string&, unsigned) {
        shown.push_back(text);
        return int(IDOK);
    });
    const struct {
        double version;
        bool said;
    } cases[] = {{0, false}, {5, false}, {7.5, false}, {255, false}, {255.5, true}, {300, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        shown.clear();
        TsSkinManagerComponent manager;
        manager.SetSkinDirectory("/nonexistent");
        TsStoredSkin stored = BuildStoredSkin("Stored", DuskPalette());
        stored.Version = c.version;
        manager.InternalSkins().Items.push_back(std::move(stored));
        manager.SetSkinName("Stored");
        EXPECT_TRUE(manager.Active()) << manager.LastError();
        EXPECT_EQ(shown, c.said ? std::vector<std::string>{newer} : std::vector<std::string>{});
        // Read again (another hue), it is checked again.
        manager.SetHueOffset(40);
        EXPECT_EQ(shown.size(), c.said ? 2u : 0u);
        EXPECT_EQ(manager.Version(), "6.47");
    }

    // A skin folder says its version in its options.
    TempDir dir;
    ASSERT_TRUE(WriteSkinFolder(dir.file("Future"), ProjectPalette()));
    const std::string options = dir.file("Future") + "/Options.dat";
    std::string text = testsupport::ReadFileBytes(options);
    const size_t at = text.find("VERSION=7.5");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 11, "VERSION=300");
    testsupport::WriteFileBytes(options, text);
    shown.clear();
    TsSkinManagerComponent manager;
    manager.SetSkinDirectory(dir.path());
    manager.SetSkinName("Future");
    EXPECT_TRUE(manager.Active()) << manager.LastError();
    EXPECT_EQ(manager.SkinInfo(), "300");
    EXPECT_EQ(shown, std::vector<std::string>{newer});
    SetMessageBoxHandler(saved);
}

TEST(TsSkinManager, HighlightColoursRuleOutNoneKeyAndWhite)
{
    SkinDirectory skins;
    TsSkinManagerComponent manager;
    // Without a skin: the system colours.
    EXPECT_EQ(manager.GetGlobalColor(), clBtnFace());
    EXPECT_EQ(manager.GetGlobalFontColor(), 0xFF00FF);
    EXPECT_EQ(manager.GetHighlightColor(), ColorFromQColor(QApplication::palette().color(QPalette::Highlight)));
    manager.SetSkinDirectory(skins.dir.path());
    manager.SetSkinName("Tarku");
    ASSERT_TRUE(manager.Active());
    const TsGeneralData& item = manager.Section(manager.GetSkinIndex("MENUITEM"));
    EXPECT_EQ(manager.GetHighlightColor(), item.HotColor);
    EXPECT_EQ(manager.GetGlobalColor(), SectionColor(manager, "GLOBALINFO"));
}

namespace {

// A top-level form that counts the repaint commands it gets.
class RepaintCounter : public QWidget {
public:
    int repaints = 0;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == SkinCommandEventType() && static_cast<TSkinCommandEvent&>(*e).SubCode() == AC_REPAINT) {
            ++repaints;
            return true;
        }
        return QWidget::event(e);
    }
};

} // namespace

TEST(TsSkinManager, ApplicationActivationRepaintsEveryFormWhileSkinnedPopupsAreOn)
{
    SkinLibraryInitialization();
    RepaintCounter form;
    struct Case {
        bool skinnedPopups;
        int repaints;
    };
    for (const Case& c : {Case{true, 1}, Case{false, 0}}) {
        form.repaints = 0;
        TsSkinManagerComponent manager;
        manager.SetSkinnedPopups(c.skinnedPopups);
        QEvent activate(QEvent::ApplicationActivate);
        QCoreApplication::sendEvent(QCoreApplication::instance(), &activate);
        EXPECT_EQ(form.repaints, c.repaints);
    }
    // Without a manager nothing listens.
    form.repaints = 0;
    QEvent activate(QEvent::ApplicationActivate);
    QCoreApplication::sendEvent(QCoreApplication::instance(), &activate);
    EXPECT_EQ(form.repaints, 0);
}

// Extended borders take the skin's own shadow, else the built-in one.
TEST(TsSkinManager, ExtendedBorderShadowFallsBackOnTheBuiltInPictures)
{
    SkinLibraryInitialization();
    TsStoredSkin plain = BuildStoredSkin("Plain", ProjectPalette());
    std::erase_if(plain.Images, [](const TsSkinImage& i) { return i.PropertyName == "EXBORDER"; });
    TsSkinManagerComponent manager;
    manager.InternalSkins().Items.push_back(plain);
    manager.InternalSkins().Items.push_back(BuildStoredSkin("Own", ProjectPalette()));
    manager.SetSkinName("Plain");
    ASSERT_TRUE(manager.Active()) << manager.LastError();
    EXPECT_EQ(manager.ShadowMargins(), (TRect{0, 0, 0, 0})); // extended borders are off

    const bool layered = LayeredWindowsAvailable();
    const struct {
        bool composition;
        TRect margins;
    } cases[] = {{false, {11, 7, 11, 11}}, {true, {12, 8, 12, 12}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.composition);
        SetLayeredWindowsAvailable(c.composition);
        manager.SetExtendedBorders(false);
        manager.SetExtendedBorders(true);
        EXPECT_EQ(manager.ShadowMargins(), c.margins);
        EXPECT_EQ(manager.ShadowActive().Width(), 32);
        EXPECT_EQ(manager.ShadowInactive().Width(), 31);
        // Clear white of the pictures is black now; none was white to start.
        EXPECT_EQ(manager.ShadowActive().Alpha(0, 0), 0);
    }
    SetLayeredWindowsAvailable(layered);

    // The skin's own shadow image wins over the built-in one.
    manager.SetSkinName("Own");
    ASSERT_TRUE(manager.Active());
    EXPECT_EQ(manager.ShadowActive().Width(), 40);
    EXPECT_NE(manager.ShadowMargins(), (TRect{11, 7, 11, 11}));
}

