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
    // The frame lies around the widget, in the room the bar leaves for it;
    // the text has the label's whole width.
    EXPECT_EQ(panels[0].R.Width(), 94);
    EXPECT_EQ(panels[0].R.Left, f.ready->x() - 2);
    EXPECT_EQ(panels[0].TextR.Left, f.ready->x());
    EXPECT_EQ(panels[0].TextR.Width(), 90);

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
    // The adapter's own skin state belongs to the bar.
    EXPECT_EQ(adapter->SkinData()->OwnerControl, f.bar);
    const QImage skinned = f.Grab();
    SaveScreenshot(f.window, "status_bar_skinned");
    EXPECT_NE(skinned, plain);
    // The panel texts are painted in the skin's colour, the long one only
    // inside its panel.
    const QRect ready = f.ready->geometry();
    EXPECT_GT(CountColour(skinned, ready, text), 0);
    const QRect longPanel = f.longText->geometry();
    EXPECT_GT(CountColour(skinned, longPanel, text), 0);
    EXPECT_EQ(CountColour(skinned, QRect(longPanel.right() + 1, 0, 4, skinned.height()), text), 0);

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

// The columns of a grab that hold dark (text) pixels inside a stretch of
// the bar: first and last; -1, -1 for none.
std::pair<int, int> TextColumns(const QImage& image, int left, int right)
{
    int first = -1, last = -1;
    for (int x = std::max(left, 0); x <= right && x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (qGray(image.pixel(x, y)) < 100) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
    return {first, last};
}

// Labels laid out at the width of their own text show all of it skinned,
// as they do unskinned: no panel inset may cut "Ready" to "Re...".
TEST(acStatusBarWnd, LabelsAtTheirOwnWidthShowTheirWholeText)
{
    ProjectSkin skin;
    ASSERT_LT(qGray(QColorFromColor(skin.Section("STATUSBAR").FontColor).rgb()), 100);
    struct Case {
        const char* what;
        void (*add)(QStatusBar*, QLabel*);
        bool framed;
    };
    const Case cases[] = {
        {"a label without stretch", [](QStatusBar* b, QLabel* l) { b->addWidget(l); }, false},
        {"a framed label", [](QStatusBar* b, QLabel* l) { b->addWidget(l); }, true},
        {"a permanent label", [](QStatusBar* b, QLabel* l) { b->addPermanentWidget(l); }, false},
        {"a label with stretch", [](QStatusBar* b, QLabel* l) { b->addWidget(l, 1); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QMainWindow window;
        window.resize(400, 100);
        QStatusBar* bar = window.statusBar();
        auto* first = new QLabel(QStringLiteral("Ready"));
        auto* second = new QLabel(QStringLiteral("A panel text"));
        if (c.framed)
            for (QLabel* l : {first, second})
                l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        c.add(bar, first);
        c.add(bar, second);
        window.show();
        QApplication::processEvents();
        const QImage plain = bar->grab().toImage();
        auto* adapter = TacMainWnd::Create<TacStatusBarWnd>(bar, false, "", &skin.manager, nullptr);
        const QImage skinned = bar->grab().toImage();
        for (QLabel* l : {first, second}) {
            SCOPED_TRACE(l->text().toStdString());
            const QRect g = l->geometry();
            const auto [plainLeft, plainRight] = TextColumns(plain, g.left(), g.right());
            const auto [left, right] = TextColumns(skinned, g.left(), g.right());
            ASSERT_GE(plainLeft, 0);
            ASSERT_GE(left, 0);
            // The whole word, not a shortened one ending in dots.
            EXPECT_GE(right - left, plainRight - plainLeft - 2);
            EXPECT_NEAR(left, plainLeft, 3);
        }
        TacMainWnd* base = adapter;
        DetachWnd(bar, true, base);
    }
}

// A message hides the bar's ordinary widgets but not its permanent ones:
// skinned as unskinned, the permanent label keeps its whole text beside
// the message.
TEST(acStatusBarWnd, PermanentLabelsStayBesideAMessage)
{
    ProjectSkin skin;
    QMainWindow window;
    window.resize(400, 100);
    QStatusBar* bar = window.statusBar();
    auto* ordinary = new QLabel(QStringLiteral("Ready"));
    auto* permanent = new QLabel(QStringLiteral("24C02"));
    bar->addWidget(ordinary);
    bar->addPermanentWidget(permanent);
    window.show();
    bar->showMessage(QStringLiteral("Reading the chip"));
    QApplication::processEvents();
    ASSERT_TRUE(ordinary->isHidden());
    const QImage plain = bar->grab().toImage();
    auto* adapter = TacMainWnd::Create<TacStatusBarWnd>(bar, false, "", &skin.manager, nullptr);
    bool simple = false;
    const std::vector<TacStatusPanel> panels = StatusBarPanels(bar, simple);
    EXPECT_TRUE(simple);
    ASSERT_EQ(panels.size(), 2u);
    EXPECT_EQ(panels[0].Text, "Reading the chip");
    EXPECT_EQ(panels[1].Text, "24C02");
    EXPECT_LE(panels[0].R.Right, panels[1].R.Left);
    const QImage skinned = bar->grab().toImage();
    const QRect g = permanent->geometry();
    const auto [plainLeft, plainRight] = TextColumns(plain, g.left(), g.right());
    const auto [left, right] = TextColumns(skinned, g.left(), g.right());
    ASSERT_GE(plainLeft, 0);
    ASSERT_GE(left, 0) << "the permanent label's text is gone";
    EXPECT_GE(right - left, plainRight - plainLeft - 2);
    EXPECT_GE(TextColumns(skinned, 0, g.left() - 4).first, 0);
    TacMainWnd* base = adapter;
    DetachWnd(bar, true, base);
}

// Only a label of plain text has its text painted by the adapter; a
// picture or rich text is the label's own to paint, over its panel, and
// never shown as markup.
TEST(acStatusBarWnd, PicturesAndRichTextPaintThemselves)
{
    ProjectSkin skin;
    struct Case {
        const char* what;
        void (*set)(QLabel*);
        std::string panelText;
        bool picture;
    };
    const Case cases[] = {
        {"plain text", [](QLabel* l) { l->setText(QStringLiteral("Ready")); }, "Ready", false},
        {"rich text", [](QLabel* l) { l->setText(QStringLiteral("<b>Ready</b>")); }, "", false},
        {"plain text with tags",
         [](QLabel* l) {
             l->setTextFormat(Qt::PlainText);
             l->setText(QStringLiteral("<b>"));
         },
         "<b>", false},
        {"a picture",
         [](QLabel* l) {
             QPixmap p(12, 12);
             p.fill(QColor(250, 0, 0));
             l->setPixmap(p);
         },
         "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QMainWindow window;
        window.resize(300, 100);
        QStatusBar* bar = window.statusBar();
        auto* label = new QLabel;
        c.set(label);
        bar->addWidget(label);
        window.show();
        QApplication::processEvents();
        const QImage plain = bar->grab().toImage();
        auto* adapter = TacMainWnd::Create<TacStatusBarWnd>(bar, false, "", &skin.manager, nullptr);
        bool simple = true;
        const std::vector<TacStatusPanel> panels = StatusBarPanels(bar, simple);
        ASSERT_EQ(panels.size(), 1u);
        EXPECT_EQ(panels[0].Text, c.panelText);
        const QImage skinned = bar->grab().toImage();
        EXPECT_NE(skinned, plain);
        const QRect g = label->geometry();
        if (c.picture) {
            EXPECT_EQ(CountColour(skinned, g, RGB(250, 0, 0)), CountColour(plain, g, RGB(250, 0, 0)));
        } else {
            // The text the label shows, whole: tags are read, not shown.
            const auto [plainLeft, plainRight] = TextColumns(plain, g.left(), g.right());
            const auto [left, right] = TextColumns(skinned, g.left(), g.right());
            ASSERT_GE(left, 0);
            EXPECT_NEAR(right - left, plainRight - plainLeft, 2);
        }
        TacMainWnd* base = adapter;
        DetachWnd(bar, true, base);
    }
}

// Labels hidden, shown or deleted while the adapter holds back their
// painting: the panels follow, the deleted label is forgotten, and without
// the skin the remaining label paints itself as on a bar never adapted.
TEST(acStatusBarWnd, LabelsComingAndGoingWhileHeld)
{
    ProjectSkin skin;
    StatusForm f;
    StatusForm reference;
    delete reference.ready;
    QApplication::processEvents();
    auto* adapter = TacMainWnd::Create<TacStatusBarWnd>(f.bar, false, "", &skin.manager, nullptr);
    const QImage skinned = f.Grab();
    const TColor text = skin.Section("STATUSBAR").FontColor;
    f.ready->hide();
    QApplication::processEvents();
    bool simple = true;
    const std::vector<TacStatusPanel> shown = StatusBarPanels(f.bar, simple);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].Text, "A panel text far wider than its panel");
    f.ready->show();
    QApplication::processEvents();
    EXPECT_EQ(f.Grab(), skinned);

    delete f.ready;
    QApplication::processEvents();
    EXPECT_NE(f.Grab(), reference.Grab());
    skin.manager.SetActive(false);
    QApplication::processEvents();
    EXPECT_EQ(f.Grab(), reference.Grab());
    skin.manager.SetActive(true);
    QApplication::processEvents();
    // A label added while skinned is held back too: its text is the skin's.
    auto* late = new QLabel(QStringLiteral("Late"));
    f.bar->addWidget(late);
    QApplication::processEvents();
    EXPECT_GT(CountColour(f.Grab(), late->geometry(), text), 0);
    TacMainWnd* base = adapter;
    DetachWnd(f.bar, true, base);
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
