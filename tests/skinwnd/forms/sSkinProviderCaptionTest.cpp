// The caption of a skinned form: the plate of the skin's "CAPTION" section
// behind the text, placed as the text is aligned, and the form section's
// "TITLEBAR" picture behind the caption buttons.
#include "skinwnd/forms/sSkinProvider.h"

#include "AdapterTestSkin.h"
#include "Screenshot.h"
#include "SkinGenerator.h"
#include "skin/forms/acSkinText.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QMainWindow>
#include <QTest>

using namespace adaptertest;

namespace {

const char Title[] = "Tarku - 24C02";

struct Form {
    QMainWindow window;
    explicit Form(Qt::WindowFlags flags = {}, const char* title = Title)
    {
        if (flags)
            window.setWindowFlags(flags);
        window.setWindowTitle(title);
        window.setCentralWidget(new QLabel("Client area"));
        window.setGeometry(200, 200, 420, 200);
    }
};

// The text's box as the painter lays it: left of the caption buttons,
// right of the icon, as wide as the text.
struct CaptionBox {
    int left = 0, right = 0, y = 0;
};

CaptionBox TextBox(TsSkinProvider& p, const TsSkinManager& m)
{
    const std::string title = p.Form()->windowTitle().toStdString();
    const int b = p.FormBorderWidth();
    const int left = b + p.TitleIconWidth() + m.Content()->SkinData.IconLeft + 2 + 4;
    const int right = p.Form()->width() - p.TitleButtonsWidth() - 6;
    const QFont font = p.CaptionFont();
    const int w = std::min(CanvasTextWidth(font, title), right - left);
    int l = left;
    if (p.CaptionAlignment() == taRightJustify)
        l = right - w;
    else if (p.CaptionAlignment() == taCenter)
        l = left + (right - left - w) / 2;
    return {l, l + w, (b + p.CaptionHeight()) / 2};
}

} // namespace

// The plate is light on the dark title.
bool OnPlate(const QImage& img, int x, int y) { return img.pixelColor(x, y).red() > 200; }

// The text's last letter stands at the end of its box, dark on the plate,
// above the line where the dots of a shortened text would lie.
bool EndsInALetter(const QImage& img, const CaptionBox& box)
{
    for (int y = box.y - 3; y <= box.y; ++y)
        for (int x = box.right - 5; x < box.right; ++x)
            if (img.pixelColor(x, y).red() < 120)
                return true;
    return false;
}

// Titles whose measure and drawing round differently, all drawn whole.
TEST(TsSkinProviderCaption, TextOnThePlateIsNotShortened)
{
    SkinScope scope;
    for (const char* title : {"Tarku", "Tarku - buffers", "Buffer 1", "Tarku - 24C02"}) {
        Form f({}, title);
        auto* provider = new TsSkinProvider(&f.window);
        f.window.show();
        const CaptionBox box = TextBox(*provider, *scope.manager);
        EXPECT_TRUE(EndsInALetter(Grab(f.window), box)) << title;
    }
}

// The plate lies behind the text wherever the text is aligned: it shows
// just inside its ends and the title just outside them; an inactive form
// shows the plate's inactive look.
TEST(TsSkinProviderCaption, TextLiesOnTheCaptionPlate)
{
    SkinScope scope;
    for (TAlignment align : {taLeftJustify, taCenter, taRightJustify}) {
        Form f;
        auto* provider = new TsSkinProvider(&f.window);
        provider->SetCaptionAlignment(align);
        f.window.show();
        f.window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&f.window, 10000));
        const QImage img = Grab(f.window);
        const CaptionBox box = TextBox(*provider, *scope.manager);
        // The plate reaches 4 pixels beyond the text on both sides, its
        // border on the outermost one.
        EXPECT_TRUE(OnPlate(img, box.left - 2, box.y)) << align;
        EXPECT_TRUE(OnPlate(img, box.right + 2, box.y)) << align;
        EXPECT_FALSE(OnPlate(img, box.left - 6, box.y)) << align;
        EXPECT_FALSE(OnPlate(img, box.right + 6, box.y)) << align;
        if (align == taLeftJustify)
            SaveScreenshot(f.window, "skin-provider-caption-plate");
        EXPECT_TRUE(EndsInALetter(img, box)) << align;
        QWidget other;
        other.setGeometry(10, 10, 50, 50);
        other.show();
        other.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&other, 10000));
        const QImage inactive = Grab(f.window);
        EXPECT_TRUE(OnPlate(inactive, box.left - 2, box.y)) << align;
        EXPECT_NE(PixelAt(inactive, box.left - 2, box.y), PixelAt(img, box.left - 2, box.y)) << align;
    }
}

// The band is as wide as its picture (96 pixels) and as high as the
// caption with its border, at the right end; a form without caption
// buttons has none. The title is painted in rows of one colour: the band
// shows as a change along a row.
TEST(TsSkinProviderCaption, TitleBarPictureBehindTheButtons)
{
    SkinScope scope;
    struct Case {
        const char* what;
        Qt::WindowFlags flags;
        bool shown;
    };
    const Case cases[] = {
        {"window", {}, true},
        {"no buttons", Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint, false},
    };
    for (const Case& c : cases) {
        Form f(c.flags);
        auto* provider = new TsSkinProvider(&f.window);
        f.window.show();
        f.window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&f.window, 10000));
        const QImage img = Grab(f.window);
        const int w = f.window.width(), top = provider->FormBorderWidth() + provider->CaptionHeight();
        for (int y : {top / 2, top - 2}) {
            const TColor title = PixelAt(img, w - 110, y);
            EXPECT_EQ(PixelAt(img, w - 97, y), title) << c.what << " " << y;
            EXPECT_EQ(PixelAt(img, w - 92, y) != title, c.shown) << c.what << " " << y;
        }
        if (c.shown)
            SaveScreenshot(f.window, "skin-provider-title-bar");
    }
}

// The caption is written in the platform's font of window titles, whatever
// font the application gives its widgets.
TEST(TsSkinProviderCaption, TextTakesThePlatformTitleFont)
{
    SkinScope scope;
    const QFont saved = QApplication::font();
    Form f;
    auto* provider = new TsSkinProvider(&f.window);
    f.window.show();
    const QFont title = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    EXPECT_EQ(QFontInfo(provider->CaptionFont()).pixelSize(), QFontInfo(title).pixelSize());
    const TRect m = provider->FrameMargins();
    const QRect caption(0, 0, f.window.width(), m.Top);
    const QImage before = Grab(f.window).copy(caption);
    QFont large = saved;
    large.setPixelSize(QFontInfo(saved).pixelSize() + 9);
    QApplication::setFont(large);
    provider->RepaintFrame();
    const QImage after = Grab(f.window).copy(caption);
    QApplication::setFont(saved);
    EXPECT_TRUE(before == after);
}
