#include "skinwnd/forms/acSizerWnd.h"

#include "AdapterTestSkin.h"
#include "skinwnd/forms/acSBUtils.h"

#include <QSizeGrip>

using namespace adaptertest;

TEST(TacSizerWnd, GripImageOverTheParent)
{
    SkinScope scope;
    QWidget form;
    // Away from the cursor, which would make a control hot on its own.
    form.setGeometry(300, 300, 100, 100);
    auto* grip = new QSizeGrip(&form);
    grip->setGeometry(80, 80, 20, 20);
    form.show();
    QApplication::processEvents();
    const QImage plain = Grab(grip);
    TacMainWnd* adapter = TacMainWnd::Create<TacSizerWnd>(grip);
    const QImage img = Grab(grip);
    EXPECT_NE(img, plain);
    // The top-left corner shows the form; the grip's dots sit at the
    // bottom-right in the glyph colour of the normal state.
    EXPECT_EQ(PixelAt(img, 1, 1), ControlColor(&form));
    EXPECT_GT(PixelsOf(img.copy(6, 6, 14, 14), ProjectPalette().Text), 0);
    EXPECT_EQ(PixelsOf(img.copy(0, 0, 6, 6), ProjectPalette().Text), 0);
    DetachWnd(grip, true, adapter);
    EXPECT_EQ(Grab(grip), plain);
}
