#include "skinwnd/forms/acStaticWnd.h"

#include "AdapterTestSkin.h"
#include "skinwnd/forms/acSBUtils.h"

#include <QLabel>
#include <QPainter>

using namespace adaptertest;

TEST(TacLinkWnd, AnchorTagsTakenOut)
{
    const std::pair<const char*, const char*> cases[] = {
        {"see <A HREF=\"x\">here</A> now", "see here now"},
        {"<a>one</a> and <a id=2>two</a>", "one and two"},
        {"no tags", "no tags"},
        {"<b>bold</b>", "<b>bold</b>"},
        {"broken <a href", "broken <a href"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(TacLinkWnd::LinkText(text), expected) << text;
}

TEST(TacStaticWnd, TextInTheSkinColoursUnlessFramed)
{
    SkinScope scope;
    QWidget form;
    // Away from the cursor, which would make a control hot on its own.
    form.setGeometry(300, 300, 240, 110);
    auto* plain = new QLabel("Plain text", &form);
    plain->setGeometry(4, 4, 200, 20);
    auto* framed = new QLabel("Framed", &form);
    framed->setFrameShape(QFrame::Panel);
    framed->setGeometry(4, 30, 200, 20);
    auto* rich = new QLabel("<b>Bold</b> text", &form);
    rich->setGeometry(4, 78, 200, 20);
    auto* link = new QLabel("<a href=\"x\">Link</a>", &form);
    link->setGeometry(4, 56, 200, 20);
    auto* picture = new QLabel(&form);
    QPixmap pixmap(8, 8);
    pixmap.fill(QColor(0, 200, 0));
    picture->setPixmap(pixmap);
    picture->setGeometry(210, 4, 20, 20);
    form.show();
    QApplication::processEvents();
    const QImage framedBefore = Grab(framed);
    const QImage richBefore = Grab(rich);
    TacMainWnd* a = TacMainWnd::Create<TacStaticWnd>(plain);
    TacMainWnd* b = TacMainWnd::Create<TacStaticWnd>(framed);
    TacMainWnd* c = TacMainWnd::Create<TacLinkWnd>(link);
    TacMainWnd* d = TacMainWnd::Create<TacIconWnd>(picture);
    TacMainWnd* e = TacMainWnd::Create<TacStaticWnd>(rich);
    const TColor text = scope.Section("CHECKBOX").FontColor;
    EXPECT_GT(PixelsOf(Grab(plain), text), 0);
    // A framed label and one with markup keep their own painting.
    EXPECT_EQ(Grab(framed), framedBefore);
    EXPECT_EQ(Grab(rich), richBefore);
    EXPECT_GT(PixelsOf(Grab(link), text), 0);
    EXPECT_EQ(PixelsOf(Grab(picture), RGB(0, 200, 0)), 64);
    // The skin's text section is see-through: the form shows behind it.
    EXPECT_EQ(PixelAt(Grab(plain), 198, 18), ControlColor(&form));
    for (TacMainWnd* x : {a, b, c, d, e})
        DetachWnd(x->WndHandle(), true, x);
}
