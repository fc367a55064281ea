#include "skinwnd/forms/acGroupBoxWnd.h"

#include "AdapterTestSkin.h"
#include "skin/forms/acSkinCommand.h"
#include "skinwnd/forms/acSBUtils.h"

#include <QGroupBox>

using namespace adaptertest;

TEST(TacGroupBoxWnd, CaptionRectangle)
{
    struct Case {
        const char* what;
        int textWidth, textHeight, windowWidth;
        TRect rect;
    };
    const Case cases[] = {
        {"text fits", 40, 15, 200, {6, 0, 54, 17}},
        {"low text: at least 4 high", 40, 2, 200, {6, 0, 54, 6}},
        {"wider than the window: cut at width - 1", 300, 15, 120, {6, 0, 119, 17}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TacGroupBoxWnd::CaptionRect(c.textWidth, c.textHeight, c.windowWidth), c.rect) << c.what;
}

TEST(TacGroupBoxWnd, FrameBelowTheCaptionAndTheCaptionOverTheParent)
{
    SkinScope scope;
    QWidget form;
    // Away from the cursor, which would make a control hot on its own.
    form.setGeometry(300, 300, 240, 140);
    auto* box = new QGroupBox("Options", &form);
    box->setGeometry(10, 10, 200, 110);
    form.show();
    QApplication::processEvents();
    TacMainWnd* adapter = TacMainWnd::Create<TacGroupBoxWnd>(box);
    const TRect caption = static_cast<TacGroupBoxWnd*>(adapter)->CaptionRect();
    EXPECT_EQ(SendSkinCommand(box, AC_GETMANAGER), caption.Height());
    const QImage img = Grab(box);
    const TColor parent = ControlColor(&form);
    // Above the frame and in the caption's gap: the form shows through.
    EXPECT_EQ(PixelAt(img, 2, 1), parent);
    EXPECT_EQ(PixelAt(img, caption.Right - 2, caption.Height() / 2), parent);
    // The frame's top edge runs right of the gap; the caption is written.
    EXPECT_NE(PixelAt(img, caption.Right + 10, caption.Height() / 2), parent);
    EXPECT_GT(PixelsOf(img.copy(caption.Left, 0, caption.Width(), caption.Height()),
                       scope.Section("GROUPBOX").FontColor),
              0);
    // Inside, the section's colour.
    EXPECT_EQ(PixelAt(img, 100, 60), scope.Section("GROUPBOX").Color);
    // With a check in its title the box paints itself: the check stays.
    DetachWnd(box, true, adapter);
    box->setCheckable(true);
    const QImage checkable = Grab(box);
    adapter = TacMainWnd::Create<TacGroupBoxWnd>(box);
    EXPECT_EQ(Grab(box), checkable);
    DetachWnd(box, true, adapter);
}
