#include "skinwnd/forms/acBtnWnd.h"

#include "AdapterTestSkin.h"
#include "skin/forms/acSkinCommand.h"
#include "skin/forms/acSkinText.h"
#include "skinwnd/forms/acSBUtils.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

using namespace adaptertest;

namespace {

struct ButtonForm {
    QWidget form;
    QPushButton* button;
    QPushButton* other;
    explicit ButtonForm(const char* text = "Press")
    {
        // Away from the cursor, which would make a control hot on its own.
        form.setGeometry(300, 300, 200, 80);
        button = new QPushButton(text, &form);
        button->setGeometry(10, 10, 120, 32);
        button->setFocusPolicy(Qt::NoFocus);
        other = new QPushButton("Other", &form);
        other->setGeometry(10, 46, 120, 30);
        form.show();
        QApplication::processEvents();
    }
};

void SendEnter(QWidget* w)
{
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(w, &enter);
}

void SendLeave(QWidget* w)
{
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(w, &leave);
}

void SendMouse(QWidget* w, QEvent::Type type)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent e(type, QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// The x of the leftmost pixel of a colour, or -1.
int FirstColumnOf(const QImage& img, TColor color)
{
    for (int x = 0; x < img.width(); ++x)
        for (int y = 0; y < img.height(); ++y)
            if (PixelAt(img, x, y) == color)
                return x;
    return -1;
}

// Pixels of a pure red drawn through its alpha: the blend leaves them a
// shade off the source.
bool Reddish(const QColor& c) { return c.red() >= 240 && c.green() <= 12 && c.blue() <= 12; }

int RedPixels(const QImage& img, int* firstColumn)
{
    int n = 0;
    *firstColumn = -1;
    for (int x = 0; x < img.width(); ++x)
        for (int y = 0; y < img.height(); ++y)
            if (Reddish(img.pixelColor(x, y))) {
                ++n;
                if (*firstColumn < 0)
                    *firstColumn = x;
            }
    return n;
}

} // namespace

TEST(TacBtnWnd, NormalHotAndPressedLooks)
{
    SkinScope scope;
    ButtonForm f;
    const TSkinPalette p = ProjectPalette();
    TacMainWnd* adapter = TacMainWnd::Create<TacBtnWnd>(f.button);
    auto* btn = static_cast<TacBtnWnd*>(adapter);
    const QImage normal = Grab(f.button);
    // The frame of the normal state, no accent; the caption in the
    // section's font colour.
    EXPECT_EQ(btn->CurrentState(), 0);
    EXPECT_EQ(PixelsOf(normal, p.Accent), 0);
    EXPECT_GT(PixelsOf(normal, p.Frame), 0);
    EXPECT_GT(PixelsOf(normal, scope.Section("BUTTON").FontColor), 0);

    SendEnter(f.button);
    EXPECT_TRUE(btn->Hot());
    EXPECT_EQ(btn->CurrentState(), 1);
    const QImage hot = Grab(f.button);
    EXPECT_GT(PixelsOf(hot, p.Accent), 0);
    EXPECT_GT(PixelsOf(hot, scope.Section("BUTTON").HotFontColor), 0);

    SendMouse(f.button, QEvent::MouseButtonPress);
    EXPECT_EQ(btn->CurrentState(), 2);
    const QImage pressed = Grab(f.button);
    EXPECT_NE(pressed, hot);
    EXPECT_NE(pressed, normal);
    EXPECT_EQ(PixelsOf(pressed, p.Accent), 0);
    // The caption moves one pixel right while pushed.
    const TColor hotText = scope.Section("BUTTON").HotFontColor;
    EXPECT_EQ(FirstColumnOf(pressed, hotText), FirstColumnOf(hot, hotText) + 1);

    // Released with the cursor still on it: hot again.
    SendMouse(f.button, QEvent::MouseButtonRelease);
    EXPECT_EQ(btn->CurrentState(), 1);
    EXPECT_EQ(Grab(f.button), hot);

    SendLeave(f.button);
    EXPECT_FALSE(btn->Hot());
    EXPECT_EQ(Grab(f.button), normal);
    DetachWnd(f.button, true, adapter);
}

TEST(TacBtnWnd, StateOfTheButton)
{
    SkinScope scope;
    struct Case {
        const char* what;
        bool focused, isDefault, enabled;
        int state;
    };
    const Case cases[] = {
        {"plain", false, false, true, 0},
        {"focused", true, false, true, 1},
        {"default", false, true, true, 1},
        {"disabled default", false, true, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ButtonForm f;
        f.button->setFocusPolicy(Qt::StrongFocus);
        f.button->setDefault(c.isDefault);
        f.button->setEnabled(c.enabled);
        f.form.activateWindow();
        if (c.focused)
            f.button->setFocus();
        else
            f.other->setFocus();
        QApplication::processEvents();
        TacMainWnd* adapter = TacMainWnd::Create<TacBtnWnd>(f.button);
        EXPECT_EQ(static_cast<TacBtnWnd*>(adapter)->CurrentState(), c.state);
        DetachWnd(f.button, true, adapter);
    }
}

TEST(TacBtnWnd, DisabledButtonFadesIntoItsParent)
{
    SkinScope scope;
    ButtonForm f;
    TacMainWnd* adapter = TacMainWnd::Create<TacBtnWnd>(f.button);
    const QImage enabled = Grab(f.button);
    f.button->setEnabled(false);
    const QImage disabled = Grab(f.button);
    EXPECT_NE(disabled, enabled);
    // The frame colour no longer shows as such: 40 % of it is left.
    EXPECT_EQ(PixelsOf(disabled, ProjectPalette().Frame), 0);
    DetachWnd(f.button, true, adapter);
}

TEST(TacBitBtnWnd, GlyphBesideTheCaption)
{
    SkinScope scope;
    ButtonForm f("Glyph");
    QPixmap pixmap(16, 16);
    pixmap.fill(QColor(255, 0, 0));
    f.button->setIcon(QIcon(pixmap));
    f.button->setIconSize(QSize(16, 16));
    TacMainWnd* adapter = TacMainWnd::Create<TacBitBtnWnd>(f.button);
    const QImage img = Grab(f.button);
    int glyphX = -1;
    EXPECT_EQ(RedPixels(img, &glyphX), 16 * 16);
    const int textX = FirstColumnOf(img, scope.Section("BUTTON").FontColor);
    EXPECT_GT(textX, glyphX + 16);
    // Glyph and caption are centred together.
    EXPECT_NEAR(glyphX, f.button->width() - 1 - (textX + CanvasTextWidth(f.button->font(), "Glyph")), 6);
    DetachWnd(f.button, true, adapter);
}

TEST(TacBtnWnd, ManagerGoneButtonPaintsItself)
{
    SkinScope scope;
    ButtonForm f;
    const QImage plain = Grab(f.button);
    TacMainWnd* adapter = TacMainWnd::Create<TacBtnWnd>(f.button);
    EXPECT_EQ(adapter->SkinManager(), scope.manager.get());
    EXPECT_NE(Grab(f.button), plain);
    // The adapter asks for the default manager each time: once it is gone
    // the button is its own again, and nothing reaches the freed manager.
    scope.manager.reset();
    EXPECT_EQ(adapter->SkinManager(), nullptr);
    QApplication::processEvents();
    EXPECT_EQ(Grab(f.button), plain);
    SendEnter(f.button);
    EXPECT_EQ(SendSkinCommand(f.button, AC_CTRLHANDLED), 0);
    DetachWnd(f.button, true, adapter);
}
