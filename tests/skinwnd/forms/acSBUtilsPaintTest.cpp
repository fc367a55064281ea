#include "skinwnd/forms/acSBUtilsPaint.h"

#include "../../skin/SkinContentManager.h"
#include "skin/forms/acSkinText.h"
#include "skin/forms/sCommonData.h"

#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// A skin whose sections write black text with no contours, hot or not.
struct TextSkin : skintest::ContentManager {
    TextSkin()
    {
        for (const char* name : {"BUTTON", "WEBBUTTON"}) {
            TsGeneralData s;
            s.Name = name;
            s.Color = clWhite;
            s.FontColor = s.HotFontColor = clBlack;
            skin.gd.push_back(s);
        }
    }
};

// The rows of the text's picture that hold ink, as a count of dark pixels
// per row.
std::vector<int> InkPerRow(const TBitmap& bmp)
{
    std::vector<int> rows(size_t(bmp.Height()), 0);
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x)
            if ((bmp.Pixel(x, y) & 0xFF) < 128)
                ++rows[size_t(y)];
    return rows;
}

} // namespace

TEST(WriteControlText, AWebButtonIsUnderlinedOnlyWhileHot)
{
    TextSkin skin;
    QWidget owner;
    struct Case {
        const char* section;
        bool hot;
        bool underlined;
    };
    const Case cases[] = {
        {"WEBBUTTON", true, true},
        {"WEBBUTTON", false, false},
        {"BUTTON", true, false},
        {"BUTTON", false, false},
    };
    // The text is drawn plain first: an underline is a row of ink under it
    // that the plain text does not have, nearly as wide as the text.
    auto draw = [&](const char* section, bool hot) {
        TsCommonData sd(&owner, false);
        sd.SetSkinManager(&skin);
        sd.SetSkinSection(section);
        EXPECT_GE(sd.SkinIndex, 0);
        TBitmap bmp;
        bmp.SetPixelFormat(pf24bit);
        bmp.SetSize(120, 30);
        bmp.FillRect({0, 0, 120, 30}, clWhite);
        QFont font = QApplication::font();
        font.setPixelSize(14);
        WriteControlText(bmp, "noon moon", true, {4, 4, 116, 26}, DT_SINGLELINE, &sd, &owner, hot, font);
        return InkPerRow(bmp);
    };
    const std::vector<int> plain = draw("BUTTON", false);
    int textWidth = 0;
    for (int n : plain)
        textWidth = std::max(textWidth, n);
    ASSERT_GT(textWidth, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.section) + (c.hot ? " hot" : " normal"));
        const std::vector<int> rows = draw(c.section, c.hot);
        bool underline = false;
        for (size_t y = 0; y < rows.size(); ++y) {
            if (plain[y] == 0 && rows[y] > 40)
                underline = true;
            // Besides the line the text is the same.
            if (plain[y] != 0)
                EXPECT_EQ(rows[y], plain[y]) << "row " << y;
        }
        EXPECT_EQ(underline, c.underlined);
    }
}
