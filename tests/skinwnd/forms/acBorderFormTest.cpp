#include "skinwnd/forms/acBorderForm.h"

#include "AdapterTestSkin.h"
#include "SkinGenerator.h"
#include "Screenshot.h"
#include "TestSupport.h"
#include "skin/acBitmapHelpers.h"
#include "skin/forms/acLayeredWindow.h"
#include "skin/forms/acSkinStartup.h"
#include "skin/forms/sSkinManager.h"
#include "skinwnd/forms/sSkinProvider.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using adaptertest::SkinDirectory;

namespace {

// Translucent windows as the test wants them, given back afterwards (the
// library's start-up asks the platform, so it runs first).
struct LayeredGuard {
    bool saved = (SkinLibraryInitialization(), LayeredWindowsAvailable());
    explicit LayeredGuard(bool value) { SetLayeredWindowsAvailable(value); }
    ~LayeredGuard() { SetLayeredWindowsAvailable(saved); }
};

struct Skinned {
    SkinDirectory skins;
    std::unique_ptr<TsSkinManagerComponent> manager;
    QWidget form;
    TsSkinProvider* provider = nullptr;
    // The library is started by the LayeredGuard each test makes first.
    // general: more lines for the skin's general section.
    explicit Skinned(bool extended, const std::string& general = {})
    {
        // The project skin keeps its whole shadow under the form; moved in,
        // 6 pixels of it show around the form.
        const std::string options = skins.dir.file("Tarku") + "/Options.dat";
        std::string text = testsupport::ReadFileBytes(options);
        const std::string anchor = "BORDERCOLOR=0\r\n";
        const size_t at = text.find(anchor);
        EXPECT_NE(at, std::string::npos);
        if (at != std::string::npos)
            text.insert(at + anchor.size(), "FORMOFFSET=2\r\n" + general);
        testsupport::WriteFileBytes(options, text);
        manager = std::make_unique<TsSkinManagerComponent>();
        manager->SetSkinDirectory(skins.dir.path());
        manager->SetExtendedBorders(extended);
        manager->SetActive(true);
        manager->SetSkinName("Tarku");
        EXPECT_TRUE(manager->Active()) << manager->LastError();
        form.setWindowTitle("Tarku - 24C02");
        auto* label = new QLabel("Client area", &form);
        label->setGeometry(20, 40, 200, 30);
        form.resize(360, 220);
        form.move(150, 120);
        provider = new TsSkinProvider(&form);
        form.show();
        QApplication::processEvents();
    }
    QWidget* Border() const { return provider->BorderForm() ? provider->BorderForm()->AForm() : nullptr; }
    QImage Picture() const { return static_cast<TacLayeredWindow*>(Border())->Image(); }
};

} // namespace

TEST(TacBorderForm, ShadowWindowLiesAroundTheFormWhenTranslucencyExists)
{
    LayeredGuard layered(true);
    Skinned s(true);
    ASSERT_TRUE(s.provider->FrameActive());
    QWidget* border = s.Border();
    ASSERT_NE(border, nullptr);
    EXPECT_TRUE(border->isVisible());
    // Clicks fall through it and it never takes the focus.
    EXPECT_TRUE(border->windowFlags().testFlag(Qt::WindowTransparentForInput));
    EXPECT_TRUE(border->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(border->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_EQ(border->property("Tag").toInt(), -98);

    const TRect m = s.manager->ShadowMargins();
    ASSERT_EQ(m.Left, 6);
    ASSERT_EQ(m.Bottom, 6);
    const QRect f = s.form.frameGeometry();
    EXPECT_EQ(border->geometry(), f.adjusted(-m.Left, -m.Top, m.Right, m.Bottom));

    const QImage picture = s.Picture();
    ASSERT_EQ(picture.size(), border->size());
    // The shadow shows in the margins; the body under the form is clear.
    int shadowPixels = 0;
    for (int x = 0; x < picture.width(); ++x)
        shadowPixels += qAlpha(picture.pixel(x, picture.height() - 2)) > 0;
    EXPECT_GT(shadowPixels, picture.width() / 2);
    EXPECT_EQ(qAlpha(picture.pixel(m.Left + 5, m.Top + 5)), 0);
    EXPECT_EQ(qAlpha(picture.pixel(picture.width() / 2, picture.height() / 2)), 0);

    // What a person sees: the form over its shadow on a light desktop.
    QImage desk(picture.size() + QSize(40, 40), QImage::Format_ARGB32);
    desk.fill(QColor(236, 238, 242));
    {
        QPainter p(&desk);
        p.drawImage(20, 20, picture);
        p.drawImage(20 + m.Left, 20 + m.Top, s.form.grab().toImage());
    }
    EXPECT_TRUE(SaveScreenshot(desk, "TacBorderForm_shadow"));
}

TEST(TacBorderForm, FollowsTheFormAndHidesWithIt)
{
    LayeredGuard layered(true);
    Skinned s(true);
    QWidget* border = s.Border();
    ASSERT_NE(border, nullptr);
    const TRect m = s.manager->ShadowMargins();
    s.form.move(300, 260);
    QApplication::processEvents();
    EXPECT_EQ(border->geometry(), s.form.frameGeometry().adjusted(-m.Left, -m.Top, m.Right, m.Bottom));
    s.form.resize(420, 300);
    QApplication::processEvents();
    EXPECT_EQ(border->geometry(), s.form.frameGeometry().adjusted(-m.Left, -m.Top, m.Right, m.Bottom));
    EXPECT_EQ(s.Picture().size(), border->size());
    s.form.hide();
    QApplication::processEvents();
    EXPECT_FALSE(border->isVisible());
    s.form.show();
    QApplication::processEvents();
    EXPECT_TRUE(border->isVisible());
    // A maximised form's shadow would lie off the screen.
    s.form.showMaximized();
    QApplication::processEvents();
    EXPECT_FALSE(border->isVisible());
}

// Counts the restacking requests a window gets.
struct ZOrderCounter : QObject {
    int raised = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        raised += e->type() == QEvent::ZOrderChange;
        return false;
    }
};

// The user clicks another window: the form stays below it, and its shadow
// comes up only with the form.
TEST(TacBorderForm, DeactivatedFormStaysWhereItIs)
{
    LayeredGuard layered(true);
    Skinned s(true);
    QWidget* border = s.Border();
    ASSERT_NE(border, nullptr);
    s.form.activateWindow();
    QApplication::processEvents();
    ASSERT_TRUE(s.form.isActiveWindow());
    ZOrderCounter form, shadow;
    s.form.installEventFilter(&form);
    border->installEventFilter(&shadow);
    QWidget other;
    other.setGeometry(400, 300, 200, 120);
    other.show();
    other.activateWindow();
    QApplication::processEvents();
    ASSERT_FALSE(s.form.isActiveWindow());
    s.form.move(170, 130);
    s.form.resize(380, 230);
    QApplication::processEvents();
    EXPECT_EQ(form.raised, 0);
    EXPECT_EQ(shadow.raised, 0);
    const TRect m = s.manager->ShadowMargins();
    EXPECT_EQ(border->geometry(), s.form.frameGeometry().adjusted(-m.Left, -m.Top, m.Right, m.Bottom));
    s.form.activateWindow();
    QApplication::processEvents();
    ASSERT_TRUE(s.form.isActiveWindow());
    EXPECT_EQ(form.raised, 0);
    EXPECT_GT(shadow.raised, 0);
    s.form.removeEventFilter(&form);
    border->removeEventFilter(&shadow);
}

// The form's owner may answer the frame's hit test first while the shadow
// shows: here the form's lower part is a caption to drag and double-click.
TEST(TacBorderForm, OwnerAnswersTheHitTestFirst)
{
    for (bool extended : {true, false}) {
        SCOPED_TRACE(extended);
        LayeredGuard layered(true);
        Skinned s(extended);
        ASSERT_EQ(s.provider->BorderForm() != nullptr, extended);
        int asked = 0;
        s.provider->OnExtHitTest = [&](TWMNCHitTest& m) {
            ++asked;
            if (m.Pos.Y > 150)
                m.Result = HTCAPTION;
        };
        const QPoint low(300, 180), high(300, 120);
        EXPECT_EQ(s.provider->HitTest({low.x(), low.y()}), extended ? HTCAPTION : HTCLIENT);
        EXPECT_EQ(s.provider->HitTest({high.x(), high.y()}), HTCLIENT);
        QTest::mouseDClick(&s.form, Qt::LeftButton, {}, low);
        QApplication::processEvents();
        EXPECT_EQ(s.form.isMaximized(), extended);
        EXPECT_EQ(asked > 0, extended);
        s.form.showNormal();
        s.provider->OnExtHitTest = nullptr;
    }
}

// The skin's title height for maximised forms, and its shadow offset that
// moves the caption's text and icon down, and its buttons when the skin
// centres the extended frame.
TEST(TacBorderForm, SkinPlacesTheCaptionOfTheExtendedBorder)
{
    LayeredGuard layered(true);
    // The forms' providers take the default manager, the first one made:
    // one skin at a time.
    int b = 0;
    TRect icon, close;
    {
        Skinned plain(true, "TITLEHEIGHT=50\r\n");
        b = plain.provider->FormBorderWidth();
        EXPECT_EQ(plain.provider->CaptionHeight(), 50 - b);
        icon = plain.provider->CaptionIconRect();
        close = plain.provider->ButtonByCode(HTCLOSE)->Rect;
        ASSERT_GT(close.Width(), 0);
        plain.form.showMaximized();
        QApplication::processEvents();
        EXPECT_EQ(plain.provider->CaptionHeight(), 50 - b); // no MAXHEIGHT: the title height
    }
    struct Case {
        const char* options;
        int textShift, buttonShift;
    };
    const Case cases[] = {
        {"TITLEHEIGHT=50\r\nMAXHEIGHT=44\r\nSHADOW1OFFSET=3\r\n", 3, 0},
        {"TITLEHEIGHT=50\r\nMAXHEIGHT=44\r\nSHADOW1OFFSET=3\r\nCENTEROFFSET=1\r\n", 3, 3},
        {"TITLEHEIGHT=50\r\nMAXHEIGHT=44\r\nSHADOW1OFFSET=500\r\n", 50 - b, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        Skinned s(true, c.options);
        ASSERT_EQ(s.provider->FormBorderWidth(), b);
        EXPECT_EQ(s.provider->CaptionHeight(), 50 - b);
        EXPECT_EQ(s.provider->CaptionShift(false), c.textShift);
        EXPECT_EQ(s.provider->CaptionShift(true), c.buttonShift);
        EXPECT_EQ(s.provider->CaptionIconRect().Top, icon.Top + c.textShift);
        adaptertest::Grab(s.form);
        EXPECT_EQ(s.provider->ButtonByCode(HTCLOSE)->Rect.Top, close.Top + c.buttonShift);
        s.form.showMaximized();
        QApplication::processEvents();
        EXPECT_EQ(s.provider->CaptionHeight(), 44 - b);
    }
}

TEST(TacBorderForm, AbsentWhereItCannotShowOrIsNotWanted)
{
    struct Case {
        const char* name;
        bool layered, extended, allow;
    } cases[] = {
        {"no translucent windows", false, true, true},
        {"not asked by the skin", true, false, true},
        {"refused by the form", true, true, false},
    };
    for (const Case& c : cases) {
        LayeredGuard layered(c.layered);
        Skinned s(c.extended);
        s.provider->SetAllowExtBorders(c.allow);
        EXPECT_EQ(s.provider->BorderForm(), nullptr) << c.name;
    }
}

TEST(TacBorderForm, FreedWithTheSkinAndWithTheForm)
{
    LayeredGuard layered(true);
    Skinned s(true);
    QPointer<QWidget> border = s.Border();
    ASSERT_FALSE(border.isNull());
    s.provider->SetAllowExtBorders(false);
    EXPECT_TRUE(border.isNull());
    s.provider->SetAllowExtBorders(true);
    border = s.Border();
    ASSERT_FALSE(border.isNull());
    s.manager->SetActive(false);
    QApplication::processEvents();
    EXPECT_TRUE(border.isNull());
    s.manager->SetActive(true);
    QApplication::processEvents();
    border = s.Border();
    ASSERT_FALSE(border.isNull());
    delete s.provider;
    EXPECT_TRUE(border.isNull());
}
