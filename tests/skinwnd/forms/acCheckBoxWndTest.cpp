#include "skinwnd/forms/acCheckBoxWnd.h"

#include "AdapterTestSkin.h"
#include "SkinPictures.h"
#include "skinwnd/forms/acSBUtils.h"

#include <QCheckBox>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QRadioButton>

using namespace adaptertest;

TEST(TacCheckBoxWnd, GlyphMaskByKindAndState)
{
    struct Case {
        bool radio;
        int state;
        const char* mask;
    };
    const Case cases[] = {
        {true, 0, "RADIOUNCHECKED"}, {true, 1, "RADIOCHECKED"}, {false, 0, "BOXUNCHECKED"},
        {false, 1, "BOXCHECKED"},    {false, 2, "BOXGRAYED"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TacCheckBoxWnd::GlyphMaskName(c.radio, c.state), c.mask) << c.radio << " " << c.state;
}

namespace {

// The skin's check glyphs draw their mark in a dark colour, the grayed
// state's in a light one.
TColor MarkColor(bool grayed = false)
{
    return Mix(ProjectPalette().Frame, grayed ? clWhite : clBlack, 40);
}

// Mark pixels in the glyph's square at the left.
int MarkPixels(QWidget* w, bool grayed = false)
{
    return PixelsOf(Grab(w).copy(0, 0, 18, w->height()), MarkColor(grayed));
}

} // namespace

TEST(TacCheckBoxWnd, GlyphFollowsTheCheckState)
{
    SkinScope scope;
    QWidget form;
    // Away from the cursor, which would make a control hot on its own.
    form.setGeometry(300, 300, 200, 80);
    auto* box = new QCheckBox("Box", &form);
    box->setGeometry(4, 4, 150, 22);
    box->setTristate(true);
    box->setFocusPolicy(Qt::NoFocus);
    auto* radio = new QRadioButton("Radio", &form);
    radio->setGeometry(4, 40, 150, 22);
    radio->setFocusPolicy(Qt::NoFocus);
    form.show();
    QApplication::processEvents();
    TacMainWnd* boxAdapter = TacMainWnd::Create<TacCheckBoxWnd>(box);
    TacMainWnd* radioAdapter = TacMainWnd::Create<TacCheckBoxWnd>(radio);

    EXPECT_EQ(MarkPixels(box), 0);
    box->setCheckState(Qt::Checked);
    EXPECT_GT(MarkPixels(box), 0);
    box->setCheckState(Qt::PartiallyChecked);
    EXPECT_EQ(MarkPixels(box), 0);
    EXPECT_GT(MarkPixels(box, true), 0);

    EXPECT_EQ(MarkPixels(radio), 0);
    radio->setChecked(true);
    EXPECT_GT(MarkPixels(radio), 0);

    // The caption is in the section's font colour, right of the glyph.
    const QImage img = Grab(box);
    EXPECT_GT(PixelsOf(img.copy(18, 0, img.width() - 18, img.height()), scope.Section("CHECKBOX").FontColor), 0);
    DetachWnd(box, true, boxAdapter);
    DetachWnd(radio, true, radioAdapter);
}

TEST(TacCheckBoxWnd, HotUnderTheMouseAndPressedGlyph)
{
    SkinScope scope;
    QWidget form;
    // Away from the cursor, which would make a control hot on its own.
    form.setGeometry(300, 300, 200, 40);
    auto* box = new QCheckBox("Box", &form);
    box->setGeometry(4, 4, 150, 22);
    box->setFocusPolicy(Qt::NoFocus);
    form.show();
    QApplication::processEvents();
    TacMainWnd* adapter = TacMainWnd::Create<TacCheckBoxWnd>(box);
    auto* a = static_cast<TacCheckBoxWnd*>(adapter);
    const QImage normal = Grab(box);
    EXPECT_EQ(a->GlyphState(), 0);
    EXPECT_EQ(PixelsOf(normal, ProjectPalette().Accent), 0);

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(box, &enter);
    EXPECT_EQ(a->GlyphState(), 1);
    const QImage hot = Grab(box);
    EXPECT_GT(PixelsOf(hot, ProjectPalette().Accent), 0);
    EXPECT_GT(PixelsOf(hot, scope.Section("CHECKBOX").HotFontColor), 0);

    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), box->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &press);
    EXPECT_EQ(a->GlyphState(), 2);
    EXPECT_NE(Grab(box), hot);

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(box, &leave);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(500, 5), box->mapToGlobal(QPointF(500, 5)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(box, &release);
    EXPECT_EQ(a->GlyphState(), 0);
    DetachWnd(box, true, adapter);
}
