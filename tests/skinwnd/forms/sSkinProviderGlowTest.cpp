#include "skinwnd/forms/sSkinProvider.h"

#include "../../skin/PngBuilder.h"
#include "Screenshot.h"
#include "SkinGenerator.h"
#include "TestSupport.h"
#include "skin/acBitmapHelpers.h"
#include "skin/forms/acGlow.h"
#include "skin/forms/acLayeredWindow.h"
#include "skin/forms/acSkinStartup.h"
#include "skin/forms/sSkinManager.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>

using testsupport::TempDir;

namespace {

// The halo images: 40 x 36 around a 24 x 20 button, see-through over the
// button and fading out over 8 pixels around it. Their margins of 10 and the
// skin's glow margin of 2 lay them 8 pixels out from the button.
constexpr int HaloW = 40, HaloH = 36, HaloMargins = 10, GlowMargin = 2, Reach = HaloMargins - GlowMargin;

std::string HaloPng(QColor colour)
{
    const QRect button(Reach, Reach, HaloW - 2 * Reach, HaloH - 2 * Reach);
    auto img = pngtest::MakeImage(HaloW, HaloH, 8, 6, 0, 0, [&](uint32_t x, uint32_t y, int s) -> uint16_t {
        const int dx = std::max({button.left() - int(x), int(x) - button.right(), 0});
        const int dy = std::max({button.top() - int(y), int(y) - button.bottom(), 0});
        const double d = std::hypot(dx, dy);
        if (s == 3)
            return uint16_t(d == 0 ? 0 : std::max(0.0, 220 - (d - 1) * 28));
        return uint16_t(s == 0 ? colour.red() : s == 1 ? colour.green() : colour.blue());
    });
    return pngtest::File(img);
}

// What the project skin says about the halos of its caption buttons.
struct GlowSkin {
    int glow = 1;         // the skin's glow value of each system button
    bool images = true;   // the halo images exist
};

std::map<std::string, std::string> SkinWithGlows(const GlowSkin& g)
{
    auto files = SkinFiles(ProjectPalette());
    std::string lines;
    for (const char* button : {"CLOSE", "MAX", "MIN"})
        lines += std::string("BICON") + button + "GLOW=" + std::to_string(g.glow) + "\r\nBICON" + button
                 + "GLOWMARGIN=" + std::to_string(GlowMargin) + "\r\n";
    if (g.images)
        for (const char* mask : {"BICONCLOSE", "BICONMAX", "BICONMIN", "BICONNORM"}) {
            const std::string file = std::string(mask) + "GLOW.PNG";
            files[file] = HaloPng(std::string(mask) == "BICONCLOSE" ? QColor(235, 70, 40) : QColor(60, 150, 255));
            const std::string m = std::to_string(HaloMargins);
            lines += std::string(mask) + "GLOW0=!" + file + "!1!0!3!" + m + "!" + m + "!" + m + "!" + m + "\r\n";
        }
    std::string& options = files["Options.dat"];
    const std::string anchor = "MASTERBITMAP=MASTER.BMP\r\n";
    const size_t at = options.find(anchor);
    EXPECT_NE(at, std::string::npos);
    options.insert(at + anchor.size(), lines);
    return files;
}

// Translucent windows as the test wants them, given back afterwards.
struct LayeredGuard {
    bool saved = (SkinLibraryInitialization(), LayeredWindowsAvailable());
    explicit LayeredGuard(bool value) { SetLayeredWindowsAvailable(value); }
    ~LayeredGuard() { SetLayeredWindowsAvailable(saved); }
};

// The halo windows on the screen now (freed ones gone first).
int HaloWindows()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        n += dynamic_cast<TacLayeredWindow*>(w) != nullptr;
    return n;
}

QPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

struct Skinned {
    LayeredGuard layered;
    TempDir dir;
    std::unique_ptr<TsSkinManagerComponent> manager;
    QWidget form;
    QWidget other; // a window that can take the focus from the form
    TsSkinProvider* provider = nullptr;
    explicit Skinned(const GlowSkin& g = {}, bool layeredWindows = true, bool allowGlowing = true)
        : layered(layeredWindows)
    {
        std::filesystem::create_directories(dir.file("Tarku"));
        for (const auto& [name, bytes] : SkinWithGlows(g))
            testsupport::WriteFileBytes(dir.file("Tarku/" + name), bytes);
        manager = std::make_unique<TsSkinManagerComponent>();
        manager->SetSkinDirectory(dir.path());
        manager->SetAllowGlowing(allowGlowing);
        manager->SetActive(true);
        manager->SetSkinName("Tarku");
        EXPECT_TRUE(manager->Active()) << manager->LastError();
        form.setWindowTitle("Tarku - 24C02");
        form.resize(360, 200);
        form.move(120, 90);
        provider = new TsSkinProvider(&form);
        form.show();
        QApplication::processEvents();
        provider->PaintFormCache(); // lays the buttons out
    }
    ~Skinned()
    {
        ClearGlows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    TitleButtonData& Button(int code) { return *provider->ButtonByCode(code); }
    // The pointer moving over the form, as the window system reports it.
    void MoveTo(QPoint p)
    {
        QMouseEvent move(QEvent::MouseMove, p, form.mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&form, &move);
    }
    void Hover(int code) { MoveTo(Centre(Button(code).Rect)); }
    void HoverClient() { MoveTo(QPoint(form.width() / 2, form.height() / 2)); }
    QWidget* Halo(int code) { return GlowWindow(Button(code).GlowId); }
    // Where the halo of a button belongs: around it on the screen, reaching
    // past it by the halo's margins less the skin's glow margin.
    QRect HaloPlace(int code)
    {
        const TRect& r = Button(code).Rect;
        return {form.mapToGlobal(QPoint(r.Left, r.Top)) - QPoint(Reach, Reach),
                QSize(r.Width() + 2 * Reach, r.Height() + 2 * Reach)};
    }
};

} // namespace

TEST(TsSkinProviderGlow, HotSystemButtonGetsItsHaloAroundIt)
{
    Skinned s;
    ASSERT_TRUE(s.provider->FrameActive());
    for (int code : {HTCLOSE, HTMAXBUTTON, HTMINBUTTON}) {
        SCOPED_TRACE(code);
        s.Hover(code);
        ASSERT_EQ(s.Button(code).State, 1);
        QWidget* halo = s.Halo(code);
        ASSERT_NE(halo, nullptr);
        EXPECT_TRUE(halo->isVisible());
        EXPECT_EQ(halo->geometry(), s.HaloPlace(code));
        EXPECT_EQ(HaloWindows(), 1); // the last button's halo went with its hot state
        // The picture is the skin's halo: see-through over the button, soft
        // around it.
        const QImage picture = static_cast<TacLayeredWindow*>(halo)->Image();
        ASSERT_EQ(picture.size(), QSize(HaloW, HaloH));
        EXPECT_EQ(qAlpha(picture.pixel(HaloW / 2, HaloH / 2)), 0);
        EXPECT_GT(qAlpha(picture.pixel(Reach - 1, HaloH / 2)), 150);
        EXPECT_LT(qAlpha(picture.pixel(0, HaloH / 2)), qAlpha(picture.pixel(Reach - 1, HaloH / 2)));
        // Corners fade as the sides do.
        for (QPoint corner : {QPoint(0, 0), QPoint(HaloW - 1, 0), QPoint(0, HaloH - 1), QPoint(HaloW - 1, HaloH - 1)})
            EXPECT_LT(qAlpha(picture.pixel(corner)), 60);
        EXPECT_GT(qAlpha(picture.pixel(Reach - 1, Reach - 1)), 150);
        const QColor edge = picture.pixelColor(Reach - 1, HaloH / 2);
        EXPECT_EQ(edge.red() > edge.blue(), code == HTCLOSE);
    }
    s.HoverClient();
    EXPECT_EQ(HaloWindows(), 0);
}

TEST(TsSkinProviderGlow, HaloGoesWithTheHotStateAndWhateverMovesTheButton)
{
    struct Case {
        const char* name;
        std::function<void(Skinned&)> act;
    } cases[] = {
        {"the mouse leaves for the client", [](Skinned& s) { s.HoverClient(); }},
        {"the mouse leaves the form",
         [](Skinned& s) {
             QEvent leave(QEvent::Leave);
             QCoreApplication::sendEvent(&s.form, &leave);
         }},
        {"the button is pressed", [](Skinned& s) { QTest::mousePress(&s.form, Qt::LeftButton, {}, Centre(s.Button(HTCLOSE).Rect)); }},
        {"the form moves", [](Skinned& s) { s.form.move(s.form.pos() + QPoint(40, 25)); }},
        {"the form is resized", [](Skinned& s) { s.form.resize(300, 180); }},
        {"the form is hidden", [](Skinned& s) { s.form.hide(); }},
        {"another window takes the focus",
         [](Skinned& s) {
             s.form.activateWindow();
             QApplication::processEvents();
             ASSERT_TRUE(s.form.isActiveWindow());
             s.other.show();
             s.other.activateWindow();
             QApplication::processEvents();
             ASSERT_FALSE(s.form.isActiveWindow());
         }},
        {"the form is closed", [](Skinned& s) { s.form.close(); }},
        {"the skin is switched off", [](Skinned& s) { s.manager->SetActive(false); }},
        {"the skin is loaded again", [](Skinned& s) { s.manager->SetSkinName("Tarku"); }},
        {"the provider is deleted", [](Skinned& s) { delete s.provider; }},
        {"the manager is deleted", [](Skinned& s) { s.manager.reset(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Skinned s;
        s.Hover(HTCLOSE);
        QPointer<QWidget> halo = s.Halo(HTCLOSE);
        ASSERT_FALSE(halo.isNull());
        c.act(s);
        QApplication::processEvents();
        // Off the screen at once, and freed.
        EXPECT_TRUE(halo.isNull() || !halo->isVisible());
        EXPECT_EQ(HaloWindows(), 0);
        EXPECT_TRUE(halo.isNull());
    }
}

TEST(TsSkinProviderGlow, MovedFormShowsTheHaloAtTheButtonsNewPlace)
{
    Skinned s;
    s.Hover(HTCLOSE);
    const QRect before = s.HaloPlace(HTCLOSE);
    ASSERT_NE(s.Halo(HTCLOSE), nullptr);
    s.form.move(s.form.pos() + QPoint(40, 25));
    s.form.resize(400, 220);
    QApplication::processEvents();
    EXPECT_EQ(s.Button(HTCLOSE).State, 0);
    EXPECT_EQ(s.provider->CurrentButton(), 0);
    s.provider->PaintFormCache(); // the buttons' places in the new size
    s.Hover(HTCLOSE);
    QWidget* halo = s.Halo(HTCLOSE);
    ASSERT_NE(halo, nullptr);
    EXPECT_EQ(halo->geometry(), s.HaloPlace(HTCLOSE));
    EXPECT_NE(halo->geometry(), before);
    EXPECT_EQ(HaloWindows(), 1);
}

TEST(TsSkinProviderGlow, NoHaloWhereTheSkinOrTheScreenHasNone)
{
    struct Case {
        const char* name;
        GlowSkin skin;
        bool layered, allowGlowing;
    } cases[] = {
        {"no halo image", {1, false}, true, true},
        {"glow value 0", {0, true}, true, true},
        {"no translucent windows", {}, false, true},
        {"glowing not allowed", {}, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Skinned s(c.skin, c.layered, c.allowGlowing);
        ASSERT_GT(s.Button(HTCLOSE).Rect.Width(), 0);
        s.Hover(HTCLOSE);
        EXPECT_EQ(s.Button(HTCLOSE).State, 1);
        EXPECT_EQ(s.Button(HTCLOSE).GlowId, -1);
        EXPECT_EQ(HaloWindows(), 0);
    }
}

TEST(TsSkinProviderGlow, ClearedListLeavesAnotherOwnersHaloAlone)
{
    Skinned s;
    s.Hover(HTCLOSE);
    ASSERT_EQ(s.Button(HTCLOSE).GlowId, 0);
    // Someone clears every halo and shows one of its own in slot 0.
    ClearGlows();
    const int other = ShowGlow({10, 10, 34, 30}, {0, 0, 24, 20}, "GLOBALINFO", "BICONMINGLOW", GlowMargin, 255,
                               nullptr, s.manager.get());
    ASSERT_EQ(other, 0);
    s.HoverClient();
    EXPECT_EQ(s.Button(HTCLOSE).GlowId, -1);
    ASSERT_NE(GlowEffects[0], nullptr);
    EXPECT_TRUE(GlowEffects[0]->Form()->isVisible());
}

TEST(TsSkinProviderGlow, SkinComingBackFindsNoButtonHot)
{
    Skinned s;
    s.Hover(HTCLOSE);
    s.manager->SetActive(false);
    s.manager->SetActive(true);
    QApplication::processEvents();
    ASSERT_TRUE(s.provider->FrameActive());
    EXPECT_EQ(s.Button(HTCLOSE).State, 0);
    EXPECT_EQ(s.provider->CurrentButton(), 0);
    // Hot again only when the mouse comes back.
    s.Hover(HTCLOSE);
    EXPECT_EQ(s.Button(HTCLOSE).State, 1);
    EXPECT_NE(s.Halo(HTCLOSE), nullptr);
}

TEST(TsSkinProviderGlow, ScreenshotOfTheFormWithItsHalo)
{
    Skinned s;
    s.Hover(HTCLOSE);
    QWidget* halo = s.Halo(HTCLOSE);
    ASSERT_NE(halo, nullptr);
    QApplication::processEvents();
    // The screen around the form as a compositor would show it: the form,
    // the halo over it, on a plain desktop.
    const QRect area = s.form.frameGeometry().united(halo->geometry()).adjusted(-20, -20, 20, 20);
    QImage screen(area.size(), QImage::Format_ARGB32);
    screen.fill(QColor(70, 80, 90));
    QPainter p(&screen);
    p.drawImage(s.form.geometry().topLeft() - area.topLeft(), s.form.grab().toImage());
    p.drawImage(halo->geometry().topLeft() - area.topLeft(), halo->grab().toImage());
    p.end();
    // The halo shows: pixels beside the close button turned towards red.
    const QPoint beside = s.form.mapToGlobal(QPoint(s.Button(HTCLOSE).Rect.Right + 2, Centre(s.Button(HTCLOSE).Rect).y()));
    const QColor c = screen.pixelColor(beside - area.topLeft());
    EXPECT_GT(c.red(), c.blue()) << c.name().toStdString();
    const QImage large = screen.copy(QRect(halo->geometry().topLeft() - area.topLeft() - QPoint(60, 10), QSize(120, 60)))
                             .scaled(360, 180, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    QImage sheet(std::max(screen.width(), large.width()), screen.height() + large.height() + 10, QImage::Format_ARGB32);
    sheet.fill(Qt::white);
    QPainter q(&sheet);
    q.drawImage(0, 0, screen);
    q.drawImage(0, screen.height() + 10, large);
    q.end();
    EXPECT_TRUE(SaveScreenshot(sheet, "TsSkinProvider_close_glow"));
}

TEST(TsSkinProviderGlow, NewSkinOrNoSkinClearsEveryHalo)
{
    struct Case {
        const char* name;
        std::function<void(TsSkinManagerComponent&)> act;
    } cases[] = {
        {"the skin is loaded again", [](TsSkinManagerComponent& m) { m.SetSkinName("Tarku"); }},
        {"the skin is switched off", [](TsSkinManagerComponent& m) { m.SetActive(false); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Skinned s;
        // A halo of no form: only the manager knows to take it away.
        ASSERT_EQ(ShowGlow({10, 10, 34, 30}, {0, 0, 24, 20}, "GLOBALINFO", "BICONMINGLOW", GlowMargin, 255, nullptr,
                           s.manager.get()),
                  0);
        c.act(*s.manager);
        EXPECT_TRUE(GlowEffects.empty());
        EXPECT_EQ(HaloWindows(), 0);
    }
}
