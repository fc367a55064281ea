#include "skinwnd/forms/acSpeedButtonHandler.h"

#include "AdapterTestSkin.h"
#include "skin/forms/acSkinCommand.h"

#include <QCursor>
#include <QEnterEvent>
#include <QTest>
#include <QToolButton>

using namespace adaptertest;

TEST(TacSpeedButtonHandler, GlyphAndCaptionPlaces)
{
    // A 100 x 40 button, a 16 x 16 glyph, a 30 x 14 caption, spacing 4.
    struct Case {
        const char* what;
        TPoint glyph, text;
        TButtonLayout layout;
        int margin;
        bool pressed;
        TRect glyphRect;
        TPoint caption;
    };
    const Case cases[] = {
        {"centred together, glyph left", {16, 16}, {30, 14}, blGlyphLeft, -1, false, {25, 12, 41, 28}, {45, 13}},
        {"centred together, pressed", {16, 16}, {30, 14}, blGlyphLeft, -1, true, {26, 13, 42, 29}, {46, 14}},
        {"glyph right, margin 4", {16, 16}, {30, 14}, blGlyphRight, 4, false, {80, 12, 96, 28}, {46, 13}},
        {"glyph on top, centred", {16, 16}, {30, 14}, blGlyphTop, -1, false, {42, 3, 58, 19}, {35, 23}},
        {"glyph below, margin 2", {16, 16}, {30, 14}, blGlyphBottom, 2, false, {42, 22, 58, 38}, {35, 4}},
        {"caption alone, margin 4, right", {0, 0}, {30, 14}, blGlyphRight, 4, false, {0, 0, 0, 0}, {66, 13}},
        {"caption alone, centred, pressed", {0, 0}, {30, 14}, blGlyphLeft, -1, true, {0, 0, 0, 0}, {36, 14}},
        {"glyph alone, centred", {16, 16}, {0, 0}, blGlyphLeft, -1, false, {42, 12, 58, 28}, {58, 20}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TacSpeedButtonPlace p = SpeedButtonPlace(100, 40, c.glyph, c.text, c.layout, c.margin, 4, c.pressed);
        EXPECT_EQ(p.Glyph, c.glyphRect);
        if (c.text.X > 0) {
            EXPECT_EQ(p.Caption.X, c.caption.X);
            EXPECT_EQ(p.Caption.Y, c.caption.Y);
        }
    }
    // A caption without glyph and margin 4 ends 4 pixels from the right edge.
    const TacSpeedButtonPlace right = SpeedButtonPlace(100, 40, {0, 0}, {30, 14}, blGlyphRight, 4, 4, false);
    EXPECT_EQ(right.Caption.X + 30, 100 - 4);
}

namespace {

struct SpeedForm {
    QWidget form;
    QToolButton* button;
    std::unique_ptr<TsCommonData> data;
    SpeedForm()
    {
        // Away from the cursor, which would make a control hot on its own.
        form.setGeometry(300, 300, 200, 60);
        button = new QToolButton(&form);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setText("Speed");
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setGeometry(10, 10, 100, 32);
        form.show();
        QApplication::processEvents();
        data = std::make_unique<TsCommonData>(button, true);
    }
};

} // namespace

TEST(TacSpeedButtonHandler, HotOnEnterPressedWhenDownRestoredWhenFreed)
{
    SkinScope scope;
    SpeedForm f;
    const QImage plain = Grab(f.button);
    {
        TacSpeedButtonHandler handler(f.button, "TOOLBUTTON", nullptr, f.data.get());
        EXPECT_EQ(f.data->SkinSection(), "TOOLBUTTON");
        EXPECT_EQ(handler.SkinManager, scope.manager.get());
        f.data->UpdateIndexes();
        const QImage normal = Grab(f.button);
        EXPECT_NE(normal, plain);
        EXPECT_EQ(handler.CurrentState(), 0);
        EXPECT_GT(PixelsOf(normal, scope.Section("TOOLBUTTON").FontColor), 0);

        // The button gets the enter event too, then the hot look shows.
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(f.button, &enter);
        EXPECT_TRUE(f.data->MouseAbove);
        EXPECT_EQ(handler.CurrentState(), 1);
        const QImage hot = Grab(f.button);
        EXPECT_GT(PixelsOf(hot, ProjectPalette().Accent), 0);
        EXPECT_GT(PixelsOf(hot, scope.Section("TOOLBUTTON").HotFontColor), 0);

        f.button->setDown(true);
        EXPECT_EQ(handler.CurrentState(), 2);
        EXPECT_NE(Grab(f.button), hot);
        f.button->setDown(false);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(f.button, &leave);
        EXPECT_FALSE(f.data->MouseAbove);
        EXPECT_EQ(Grab(f.button), normal);

        EXPECT_EQ(SendSkinCommand(f.button, AC_CTRLHANDLED), 1);

        // With the skin switched off the button paints itself.
        scope.manager->SetActive(false);
        QApplication::processEvents();
        EXPECT_EQ(Grab(f.button), plain);
        scope.manager->SetActive(true);
        QApplication::processEvents();
        EXPECT_EQ(Grab(f.button), normal);
    }
    EXPECT_EQ(SendSkinCommand(f.button, AC_CTRLHANDLED), 0);
    EXPECT_EQ(Grab(f.button), plain);
}

TEST(TacSpeedButtonHandler, ButtonDeletedUnderTheMouse)
{
    // A button destroyed under the mouse hears its leave when it no longer
    // is a tool button: the handler must let it pass.
    SkinScope scope;
    SpeedForm f;
    TacSpeedButtonHandler handler(f.button, "TOOLBUTTON", nullptr, f.data.get());
    f.data->UpdateIndexes();
    QTest::mouseMove(&f.form, QPoint(150, 50));
    QTest::mouseMove(f.button, QPoint(20, 16));
    ASSERT_TRUE(f.data->MouseAbove);
    delete f.button;
    EXPECT_EQ(handler.ButtonControl.get(), nullptr);
    Grab(f.form);
    QCursor::setPos(0, 0);
    QApplication::processEvents();
}
