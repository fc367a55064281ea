#include "skinwnd/forms/sSkinProvider.h"

#include "AdapterTestSkin.h"
#include "Screenshot.h"
#include "SkinGenerator.h"
#include "TestSupport.h"
#include "platform/forms/BitmapImage.h"
#include "skin/forms/acSkinCommand.h"
#include "skin/forms/acSkinStartup.h"
#include "skin/forms/sSkinManager.h"

#include <QApplication>
#include <QDialog>
#include <QScreen>
#include <QHelpEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QTest>
#include <QToolTip>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <memory>

using namespace adaptertest;

namespace {

QIcon TestIcon()
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(230, 150, 30));
    p.setPen(QPen(QColor(120, 60, 0), 2));
    p.drawEllipse(3, 3, 26, 26);
    p.setBrush(QColor(255, 240, 200));
    p.drawRect(11, 11, 10, 10);
    return QIcon(pm);
}

// A main window as the program builds its own: a menu bar, a label in the
// client, an icon and a title.
struct Form {
    QMainWindow window;
    QLabel* label = nullptr;
    explicit Form(const char* title = "Tarku - 24C02")
    {
        window.setWindowTitle(title);
        window.setWindowIcon(TestIcon());
        for (const char* m : {"&File", "&Edit", "&Device", "&Help"})
            window.menuBar()->addMenu(m);
        label = new QLabel("Client area");
        label->setAlignment(Qt::AlignCenter);
        window.setCentralWidget(label);
        window.resize(420, 260);
    }
};

// The manager starts without a skin: each test chooses when to use one.
struct Skins : SkinScope {
    Skins() : SkinScope(nullptr) {}
};

QPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

QRect ToQRect(const TRect& r) { return {r.Left, r.Top, r.Width(), r.Height()}; }

bool SameArea(const QImage& a, const QImage& b, const QRect& r)
{
    return a.copy(r) == b.copy(r);
}

} // namespace

TEST(TsSkinProvider, WithoutSkinTheFormStaysAsItWas)
{
    SkinLibraryInitialization();
    Form f;
    const Qt::WindowFlags flags = f.window.windowFlags();
    const QMargins margins = f.window.contentsMargins();
    auto* provider = new TsSkinProvider(&f.window);
    f.window.show();
    QApplication::processEvents();
    EXPECT_FALSE(provider->FrameActive());
    EXPECT_EQ(f.window.windowFlags(), flags);
    EXPECT_EQ(f.window.contentsMargins(), margins);
    EXPECT_TRUE(f.window.mask().isEmpty());
    EXPECT_EQ(GetSkinProvider(&f.window), provider);
}

TEST(TsSkinProvider, NewestProviderReplacesTheOlder)
{
    SkinLibraryInitialization();
    Form f;
    QPointer<TsSkinProvider> first = new TsSkinProvider(&f.window);
    auto* second = new TsSkinProvider(&f.window);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(GetSkinProvider(&f.window), second);
}

TEST(TsSkinProvider, SkinnedFormShowsItsFrameAndReadsWell)
{
    Skins skins;
    skins.Use("Tarku");
    Form f;
    auto* provider = new TsSkinProvider(&f.window);
    f.window.show();
    ASSERT_TRUE(provider->FrameActive());
    EXPECT_TRUE(f.window.windowFlags() & Qt::FramelessWindowHint);
    const TRect m = provider->FrameMargins();
    EXPECT_EQ(f.window.contentsMargins(), QMargins(m.Left, m.Top, m.Right, m.Bottom));
    EXPECT_GT(m.Top, m.Left); // the caption lies in the top margin
    // No frame of the window system's: the sides are as wide as the form
    // section's border mask paints them, so the mask ends at the client.
    const int side = skins.manager->Content()->GetMaskMarginLeft(provider->SkinData().BorderIndex);
    EXPECT_EQ(side, 16);
    EXPECT_EQ(m.Left, side);
    EXPECT_EQ(m.Right, side);
    EXPECT_EQ(m.Bottom, side);
    EXPECT_EQ(m.Top, side + provider->CaptionHeight());
    // The corners are cut from the window, the middle of the caption is not.
    const QRegion mask = f.window.mask();
    EXPECT_FALSE(mask.contains(QPoint(0, 0)));
    EXPECT_FALSE(mask.contains(QPoint(f.window.width() - 1, 0)));
    EXPECT_TRUE(mask.contains(QPoint(f.window.width() / 2, 0)));

    const QImage normal = Grab(f.window);
    // Painting the frame settles: once the menu bar has taken its menu
    // line, nothing asks for another paint.
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            paints += e->type() == QEvent::Paint || e->type() == QEvent::UpdateRequest;
            return false;
        }
    } counter;
    f.window.installEventFilter(&counter);
    f.window.menuBar()->installEventFilter(&counter);
    QApplication::processEvents();
    counter.paints = 0;
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    EXPECT_EQ(counter.paints, 0);
    f.window.removeEventFilter(&counter);
    f.window.menuBar()->removeEventFilter(&counter);
    // The caption holds the icon and the text: more than a few colours.
    const TRect icon = provider->CaptionIconRect();
    EXPECT_EQ(icon.Width(), 16);
    QImage iconArea = normal.copy(ToQRect(icon));
    EXPECT_GT(iconArea.pixelColor(8, 8).red(), 200); // the orange disc
    // Hot and pressed buttons look different from normal ones.
    auto* close = provider->ButtonByCode(HTCLOSE);
    ASSERT_NE(close, nullptr);
    const QRect closeRect = ToQRect(close->Rect);
    ASSERT_FALSE(closeRect.isEmpty());
    QTest::mouseMove(&f.window, Centre(close->Rect));
    EXPECT_EQ(close->State, 1);
    const QImage hot = Grab(f.window);
    QTest::mousePress(&f.window, Qt::LeftButton, {}, Centre(close->Rect));
    EXPECT_EQ(close->State, 2);
    EXPECT_TRUE(provider->ButtonPressed());
    const QImage pressed = Grab(f.window);
    EXPECT_FALSE(SameArea(normal, hot, closeRect));
    EXPECT_FALSE(SameArea(hot, pressed, closeRect));
    // Released outside the button: nothing happens and the form stays.
    QTest::mouseRelease(&f.window, Qt::LeftButton, {}, QPoint(60, 10));
    EXPECT_TRUE(f.window.isVisible());
    EXPECT_EQ(close->State, 0);

    // The picture for a person: the form, then the right end of its caption
    // in the normal, hot and pressed states and its left end, three times
    // as large.
    const int w = normal.width();
    QImage sheet(w, normal.height() + 3 * 120 + 20, QImage::Format_ARGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    // The window as it shows on a screen: cut by its mask.
    p.setClipRegion(mask);
    p.drawImage(0, 0, normal);
    p.setClipping(false);
    const QImage* states[] = {&normal, &hot, &pressed};
    for (int i = 0; i < 3; ++i)
        p.drawImage(QRect(0, normal.height() + 10 + i * 120, 300, 114), states[i]->copy(w - 100, 0, 100, 38));
    p.drawImage(QRect(w - 110, normal.height() + 10, 110, 114), sheet.copy(0, 0, 37, 38));
    p.drawImage(QRect(w - 110, normal.height() + 250, 110, 114),
                sheet.copy(0, normal.height() - 38, 37, 38));
    p.end();
    EXPECT_TRUE(SaveScreenshot(sheet, "skin_provider_form"));
}

TEST(TsSkinProvider, TitleButtonsChangeTheWindowState)
{
    Skins skins;
    skins.Use("Tarku");
    Form f;
    auto* provider = new TsSkinProvider(&f.window);
    f.window.show();
    QApplication::processEvents();
    auto click = [&](int code) {
        TitleButtonData* b = provider->ButtonByCode(code);
        ASSERT_NE(b, nullptr);
        ASSERT_GT(b->Rect.Width(), 0) << code;
        QTest::mouseClick(&f.window, Qt::LeftButton, {}, Centre(b->Rect));
        QApplication::processEvents();
    };
    click(HTMAXBUTTON);
    EXPECT_TRUE(f.window.isMaximized());
    Grab(f.window); // lays the buttons out for the new state
    click(HTMAXBUTTON);
    EXPECT_FALSE(f.window.isMaximized());
    Grab(f.window);
    click(HTMINBUTTON);
    EXPECT_TRUE(f.window.isMinimized());
    f.window.showNormal();
    Grab(f.window);
    click(HTCLOSE);
    EXPECT_FALSE(f.window.isVisible());
}

TEST(TsSkinProvider, DisabledMaximiseStaysUnpressed)
{
    Skins skins;
    skins.Use("Tarku");
    Form f;
    f.window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowSystemMenuHint
                            | Qt::WindowMinimizeButtonHint);
    auto* provider = new TsSkinProvider(&f.window);
    f.window.show();
    Grab(f.window);
    provider->SetPressedButton(HTMAXBUTTON);
    EXPECT_EQ(provider->CurrentButton(), 0);
    EXPECT_FALSE(provider->ButtonPressed());
    // Nothing to click there either: no maximise button is drawn.
    EXPECT_EQ(provider->ButtonByCode(HTMAXBUTTON)->Rect.Width(), 0);
}

TEST(TsSkinProvider, CaptionMovesAndBorderResizesTheForm)
{
    Skins skins;
    skins.Use("Tarku");
    Form f;
    auto* provider = new TsSkinProvider(&f.window);
    f.window.move(100, 100);
    f.window.show();
    Grab(f.window);
    const QRect before = f.window.geometry();
    QTest::mousePress(&f.window, Qt::LeftButton, {}, QPoint(120, 24));
    QTest::mouseMove(&f.window, QPoint(150, 44));
    QTest::mouseRelease(&f.window, Qt::LeftButton, {}, QPoint(150, 44));
    EXPECT_EQ(f.window.geometry(), before.translated(30, 20));

    const QRect moved = f.window.geometry();
    const QPoint corner(moved.width() - 2, moved.height() - 2);
    EXPECT_EQ(provider->HitTest({corner.x(), corner.y()}), HTBOTTOMRIGHT);
    QTest::mousePress(&f.window, Qt::LeftButton, {}, corner);
    QTest::mouseMove(&f.window, corner + QPoint(40, 25));
    QTest::mouseRelease(&f.window, Qt::LeftButton, {}, corner + QPoint(40, 25));
    EXPECT_EQ(f.window.geometry(), QRect(moved.topLeft(), moved.size() + QSize(40, 25)));
}

TEST(TsSkinProvider, UserTitleButtonFiresAndShowsItsHint)
{
    Skins skins;
    skins.Use("Tarku");
    Form f;
    auto* provider = new TsSkinProvider(&f.window);
    TsTitleButton b;
    b.Hint = "Pin the window";
    int downs = 0, ups = 0;
    b.OnMouseDown = [&](TsTitleButton&, TPoint) { ++downs; };
    b.OnMouseUp = [&](TsTitleButton&, TPoint) { ++ups; };
    provider->TitleButtons.push_back(b);
    provider->TitleButtonsChanged();
    f.window.show();
    Grab(f.window);
    const TRect r = provider->TitleButtons[0].Data.Rect;
    ASSERT_GT(r.Width(), 0);
    EXPECT_EQ(provider->HitTest({Centre(r).x(), Centre(r).y()}), HTUSERBUTTON);
    QTest::mouseClick(&f.window, Qt::LeftButton, {}, Centre(r));
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(ups, 1);
    QHelpEvent help(QEvent::ToolTip, Centre(r), f.window.mapToGlobal(Centre(r)));
    QApplication::sendEvent(&f.window, &help);
    EXPECT_EQ(QToolTip::text(), "Pin the window");
    QToolTip::hideText();
}

TEST(TsSkinProvider, RunTimeSkinSwitchRepaintsAndNoSkinRestores)
{
    Skins skins;
    Form f;
    f.window.show();
    QApplication::processEvents();
    const Qt::WindowFlags flags = f.window.windowFlags();
    const QMargins margins = f.window.contentsMargins();
    const QSize size = f.window.size();
    const QSize minimum = f.window.minimumSize();
    const QColor window = f.window.palette().color(QPalette::Window);
    const bool ownPalette = f.window.testAttribute(Qt::WA_SetPalette);
    auto* provider = new TsSkinProvider(&f.window);
    EXPECT_FALSE(provider->FrameActive());
    struct Step {
        const char* name;
        bool skinned;
    };
    std::vector<QImage> captions;
    for (const Step& s : {Step{"Tarku", true}, Step{"Dusk", true}, Step{"", false}, Step{"Tarku", true}}) {
        SCOPED_TRACE(s.name);
        if (s.skinned)
            skins.Use(s.name);
        else
            skins.manager->SetActive(false);
        QApplication::processEvents();
        EXPECT_EQ(provider->FrameActive(), s.skinned);
        const QImage shot = Grab(f.window);
        if (!s.skinned) {
            EXPECT_EQ(f.window.windowFlags(), flags);
            EXPECT_EQ(f.window.contentsMargins(), margins);
            EXPECT_TRUE(f.window.mask().isEmpty());
            EXPECT_EQ(f.window.size(), size);
            EXPECT_EQ(f.window.minimumSize(), minimum);
            EXPECT_EQ(f.window.palette().color(QPalette::Window), window);
            EXPECT_EQ(f.window.testAttribute(Qt::WA_SetPalette), ownPalette);
            continue;
        }
        EXPECT_TRUE(f.window.isVisible());
        EXPECT_FALSE(f.window.mask().isEmpty());
        EXPECT_EQ(ColorFromQColor(f.window.palette().color(QPalette::Window)), skins.manager->GetGlobalColor());
        const TRect m = provider->FrameMargins();
        EXPECT_EQ(f.window.size(), size + QSize(m.Left + m.Right, m.Top + m.Bottom));
        captions.push_back(shot.copy(0, 0, shot.width(), m.Top));
    }
    ASSERT_EQ(captions.size(), 3u);
    // The dusk skin paints another caption; the project skin the same one
    // again.
    EXPECT_NE(captions[0], captions[1]);
    EXPECT_EQ(captions[0], captions[2]);
}

TEST(TsSkinProvider, RemovedSkinRepaintsTheFormOnly)
{
    Skins skins;
    skins.Use("Tarku");
    Form f;
    new TsSkinProvider(&f.window);
    f.window.show();
    // Another window of the application, outside the library.
    struct Counter : QWidget {
        int paints = 0;
        void paintEvent(QPaintEvent*) override { ++paints; }
    } other;
    other.resize(100, 100);
    other.show();
    Grab(f.window);
    Grab(other);
    other.paints = 0;
    SendSkinCommand(&f.window, AC_REMOVESKIN, 0,
                    reinterpret_cast<intptr_t>(static_cast<TsSkinManager*>(skins.manager.get())));
    QApplication::processEvents();
    EXPECT_EQ(other.paints, 0);
    EXPECT_FALSE(f.window.windowFlags() & Qt::FramelessWindowHint);
}

TEST(TsSkinProvider, InactiveFormPaintsAnotherCaption)
{
    Skins skins;
    skins.Use("Tarku");
    Form f;
    auto* provider = new TsSkinProvider(&f.window);
    f.window.show();
    f.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f.window, 10000));
    const int top = provider->FrameMargins().Top;
    const QImage active = Grab(f.window).copy(0, 0, f.window.width(), top);
    QWidget other;
    other.resize(50, 50);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other, 10000));
    const QImage inactive = Grab(f.window).copy(0, 0, f.window.width(), top);
    EXPECT_NE(active, inactive);
    f.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f.window, 10000));
    EXPECT_EQ(Grab(f.window).copy(0, 0, f.window.width(), top), active);
}

TEST(TsSkinProvider, FixedDialogKeepsItsLimitsAndTakesSmallButtons)
{
    Skins skins;
    skins.Use("Tarku");
    QDialog dialog;
    dialog.setWindowTitle("Settings");
    dialog.setFixedSize(300, 150);
    auto* provider = new TsSkinProvider(&dialog);
    dialog.show();
    Grab(dialog);
    EXPECT_EQ(provider->Traits().BorderStyle, bsDialog);
    const TRect m = provider->FrameMargins();
    const QSize framed(300 + m.Left + m.Right, 150 + m.Top + m.Bottom);
    EXPECT_EQ(dialog.size(), framed);
    EXPECT_EQ(dialog.minimumSize(), framed);
    EXPECT_EQ(dialog.maximumSize(), framed);
    // A dialog: close only, from the small set; no sizing border.
    EXPECT_EQ(provider->ButtonByCode(HTCLOSE)->Rect.Width(), 16);
    EXPECT_EQ(provider->ButtonByCode(HTMAXBUTTON)->Rect.Width(), 0);
    EXPECT_EQ(provider->HitTest({framed.width() - 1, framed.height() - 1}), HTCLIENT);
    delete provider;
    EXPECT_EQ(dialog.size(), QSize(300, 150));
    EXPECT_EQ(dialog.minimumSize(), QSize(300, 150));
    EXPECT_EQ(dialog.maximumSize(), QSize(300, 150));

    Form f;
    auto* sizeable = new TsSkinProvider(&f.window);
    f.window.show();
    Grab(f.window);
    EXPECT_EQ(sizeable->ButtonByCode(HTCLOSE)->Rect.Width(), 24);
}

TEST(TsSkinProvider, DraggedFormSnapsToTheWorkArea)
{
    Skins skins;
    skins.Use("Tarku");
    Form f;
    auto* provider = new TsSkinProvider(&f.window);
    provider->ScreenSnap = true;
    f.window.show();
    Grab(f.window);
    const QRect work = f.window.screen()->availableGeometry();
    const QPoint start(work.right() + 1 - f.window.width() - 40, work.top() + 50);
    f.window.move(start);
    // 31 pixels right: the right edge ends 9 pixels short and snaps.
    QTest::mousePress(&f.window, Qt::LeftButton, {}, QPoint(120, 24));
    QTest::mouseMove(&f.window, QPoint(151, 24));
    QTest::mouseRelease(&f.window, Qt::LeftButton, {}, QPoint(151, 24));
    EXPECT_EQ(f.window.geometry().right(), work.right());
    // 10 pixels short stays where it was dragged.
    f.window.move(start);
    QTest::mousePress(&f.window, Qt::LeftButton, {}, QPoint(120, 24));
    QTest::mouseMove(&f.window, QPoint(150, 24));
    QTest::mouseRelease(&f.window, Qt::LeftButton, {}, QPoint(150, 24));
    EXPECT_EQ(f.window.geometry().right(), work.right() - 10);
}

// Counts what is still done to a window once it is in its own destructor
// (no longer of its class): its parent and flags set again, its margins.
class DyingWindowWatch : public QObject {
public:
    int Changes = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type t = event->type();
        if (watched->metaObject() == &QWidget::staticMetaObject &&
            (t == QEvent::ParentAboutToChange || t == QEvent::ParentChange || t == QEvent::ContentsRectChange))
            ++Changes;
        return false;
    }
};

TEST(TsSkinProvider, FormDeletedWithItsProviderLeavesNoTrace)
{
    Skins skins;
    skins.Use("Tarku");
    DyingWindowWatch watch;
    auto* form = new Form;
    new TsSkinProvider(&form->window);
    form->window.show();
    Grab(form->window);
    ASSERT_EQ(SkinnedForms.size(), 1u);
    form->window.installEventFilter(&watch);
    delete form;
    EXPECT_TRUE(SkinnedForms.empty());
    EXPECT_EQ(watch.Changes, 0) << "the frame was given back to a window being destroyed";
    QApplication::processEvents();
}
