#include "skin/forms/acSkinText.h"

#include "skin/acBitmapHelpers.h"

#include <QApplication>
#include <QFontMetrics>
#include <gtest/gtest.h>

#include <vector>

namespace {

// The pixels a text leaves on a white bitmap of 160 x 24.
std::vector<uint8_t> Drawn(const std::string& text, unsigned flags, int width = 160)
{
    auto bmp = CreateBitmap24(160, 24);
    bmp->FillRect({0, 0, 160, 24}, RGB(255, 255, 255));
    DrawTextOnBitmap(*bmp, text, {0, 0, width, 24}, flags, QApplication::font(), RGB(0, 0, 0));
    std::vector<uint8_t> pixels;
    for (int y = 0; y < bmp->Height(); ++y) {
        const uint8_t* row = bmp->ScanLine(y);
        pixels.insert(pixels.end(), row, row + 3 * bmp->Width());
    }
    return pixels;
}

} // namespace

// A single "&" marks a mnemonic and is not drawn, "&&" draws one "&";
// DT_NOPREFIX draws every "&" as text.
TEST(acSkinText, MnemonicMarksAreHiddenUnlessNoPrefixIsAsked)
{
    const int open = QFontMetrics(QApplication::font()).horizontalAdvance("Open") + 2;
    struct Case {
        const char* Text;
        unsigned Flags;
        int Width;
        const char* Plain; // drawn with DT_NOPREFIX in the same width
        bool Same;
    };
    const unsigned line = DT_SINGLELINE | DT_VCENTER;
    const Case cases[] = {
        {"&Yes", line, 160, "Yes", true},
        {"File &name:", DT_WORDBREAK, 160, "File name:", true},
        {"A&&B", line, 160, "A&B", true},
        {"&Yes", line | DT_NOPREFIX, 160, "Yes", false},
        {"A&&B", line | DT_NOPREFIX, 160, "A&B", false},
        // The mark takes no room: a caption that fits is not cut.
        {"&Open", line | DT_END_ELLIPSIS, open, "Open", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(Drawn(c.Text, c.Flags, c.Width) == Drawn(c.Plain, (c.Flags & ~DT_END_ELLIPSIS) | DT_NOPREFIX, c.Width),
                  c.Same);
    }
}
