// The dump view's character column as it is typed into and drawn, the
// bevel around the view and what its popup offers for a selection.
#include "buffer/forms/HDump.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class DumpCharColumn : public ::testing::Test {
protected:
    THexDump view;

    void SetUp() override
    {
        // Pixels are compared: a pinned font without antialiasing.
        QFont font(QStringLiteral("DejaVu Sans Mono"), 10);
        font.setStyleStrategy(QFont::NoAntialias);
        view.setFont(font);
        view.resize(700, 300);
        view.SetSize(64);
        for (int i = 0; i < 64; ++i)
            view.Buffer().Data[size_t(i)] = 0x2E;
    }

    QImage Grab() { return view.grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // The pixels of byte i's character in the column.
    QImage CharacterCell(const QImage& img, int64_t i)
    {
        const TDumpLayout l = view.Edit().Layout();
        const QPoint at = view.ClientOrigin() +
                          QPoint(l.X(l.AsciiCol(int(i % 16))), l.DataTop() + int(i / 16) * l.H);
        return img.copy(at.x(), at.y(), l.W, l.H);
    }
};

// Enter, Backspace, Escape and Ctrl with a letter type their codes into the
// character column; the popup's shortcut keys do not, nor does anything
// typed in the hex cells.
TEST_F(DumpCharColumn, ControlKeysTypeTheirCodes)
{
    view.show();
    view.setFocus();
    QApplication::processEvents();
    const struct {
        Qt::Key Key;
        Qt::KeyboardModifiers Modifiers;
        bool Ascii;
        int Stored; // -1: the byte stays as it was
    } cases[] = {
        {Qt::Key_Return, Qt::NoModifier, true, 0x0D},
        {Qt::Key_Enter, Qt::KeypadModifier, true, 0x0D},
        {Qt::Key_Backspace, Qt::NoModifier, true, 0x08},
        {Qt::Key_Escape, Qt::NoModifier, true, 0x1B},
        {Qt::Key_B, Qt::ControlModifier, true, 0x02},
        {Qt::Key_Q, Qt::ControlModifier | Qt::ShiftModifier, true, 0x11},
        {Qt::Key_Z, Qt::ControlModifier, true, 0x1A},
        {Qt::Key_G, Qt::NoModifier, true, 'g'},
        {Qt::Key_A, Qt::ControlModifier, true, -1}, // select all
        {Qt::Key_C, Qt::ControlModifier, true, -1}, // copy, disabled without a selection
        {Qt::Key_V, Qt::ControlModifier, true, -1}, // paste
        {Qt::Key_F, Qt::ControlModifier, true, -1}, // find
        {Qt::Key_Return, Qt::NoModifier, false, -1},
        {Qt::Key_B, Qt::ControlModifier, false, -1},
    };
    int64_t byte = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "key " << std::hex << c.Key << " ascii " << c.Ascii);
        view.Edit().ClearSelection();
        view.Edit().AsciiColumn = c.Ascii;
        view.Edit().CaretNibble = byte * 2;
        QTest::keyClick(&view, c.Key, c.Modifiers);
        EXPECT_EQ(view.Buffer().Data[size_t(byte)], c.Stored < 0 ? 0x2E : c.Stored);
        EXPECT_EQ(view.Edit().CaretNibble, c.Stored < 0 ? byte * 2 : byte * 2 + 2);
        EXPECT_EQ(view.Buffer().GetMatchBit(byte), c.Stored < 0) << "a typed byte differs from the chip";
        byte += 1;
    }
}

// Every code from 32 up draws its own character: 0x7F, 0x98 and 0xAD
// differ from the dot that 0x2E and the control codes show.
TEST_F(DumpCharColumn, OnlyCodesBelow32ShowAsDots)
{
    const uint8_t codes[] = {0x7F, 0x98, 0xAD, 0xFF, 0x1F};
    for (int k = 0; k < 5; ++k)
        view.Buffer().Data[size_t(16 + k)] = codes[k];
    view.Paint();
    const QImage img = Grab();
    const QImage dot = CharacterCell(img, 0);
    for (int k = 0; k < 4; ++k)
        EXPECT_NE(CharacterCell(img, 16 + k), dot) << "code " << int(codes[k]);
    EXPECT_EQ(CharacterCell(img, 20), dot) << "a control code";
}

// Two lowered rings around the client area: shadow above and left, light
// below and right.
TEST_F(DumpCharColumn, TheViewHasALoweredBevel)
{
    const QImage img = Grab();
    const QPalette& pal = view.palette();
    const int r = img.width() - 1, b = img.height() - 1;
    EXPECT_EQ(img.pixel(0, 100), pal.color(QPalette::Mid).rgb());
    EXPECT_EQ(img.pixel(100, 0), pal.color(QPalette::Mid).rgb());
    EXPECT_EQ(img.pixel(1, 100), pal.color(QPalette::Dark).rgb());
    EXPECT_EQ(img.pixel(100, b), pal.color(QPalette::Light).rgb());
    EXPECT_EQ(img.pixel(r - 1, 100), pal.color(QPalette::Midlight).rgb());
    EXPECT_EQ(img.pixel(view.ClientOrigin()), qRgb(255, 255, 255)) << "the client area starts inside";
    EXPECT_EQ(view.ScrollBar()->geometry().right(), r - THexDump::BevelWidth);
    EXPECT_EQ(view.ScrollBar()->geometry().top(), THexDump::BevelWidth);
}

// The popup offers the selection as a number for 1 to 8 bytes, as the
// Edit menu does.
TEST_F(DumpCharColumn, ShowAsDecimalForEverySizeTheNumberTakes)
{
    QAction* item = view.PopupMenu()->findChild<QAction*>(QStringLiteral("pi10"));
    ASSERT_NE(item, nullptr);
    for (const int count : {1, 4, 5, 8, 9}) {
        view.Edit().ClearSelection();
        view.Buffer().SetSelectRange(3, 3 + count - 1, true);
        view.Buffer().SelStart = 3;
        view.Buffer().SelEnd = 3 + count - 1;
        view.UpdatePopupItems();
        EXPECT_EQ(item->isEnabled(), count <= 8) << count << " bytes";
    }
}

} // namespace
