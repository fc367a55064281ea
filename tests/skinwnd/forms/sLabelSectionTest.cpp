// A label with a skin section of its own shows that section under its
// text; the skin's first section, and a section the skin lacks, show what
// lies under the label.
#include "AdapterTestSkin.h"
#include "Screenshot.h"
#include "skin/forms/sLabel.h"

using namespace adaptertest;

TEST(TsLabel, OwnSectionIsPaintedUnderTheText)
{
    SkinScope scope;
    QWidget form;
    form.setGeometry(300, 300, 200, 80);
    auto* under = new TsLabel(&form);
    under->setGeometry(10, 10, 80, 40);
    auto* own = new TsLabel(&form);
    own->setGeometry(100, 10, 80, 40);
    form.show();
    QApplication::processEvents();
    const QImage plain = Grab(own);
    struct Case {
        const char* section;
        bool painted;
        bool flat; // one colour, no gradient
    };
    const Case cases[] = {{"EDIT", true, true}, {"BUTTON", true, false}, {"NOSUCHSECTION", false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.section);
        const int index = scope.manager->GetSkinIndex(c.section);
        ASSERT_EQ(index > 0, c.painted);
        own->SetSkinSection(c.section);
        const QImage shot = Grab(own);
        EXPECT_EQ(shot != plain, c.painted);
        if (c.flat) {
            // The middle, away from any border, is the section's colour.
            const QRgb middle = shot.pixel(shot.width() / 2, shot.height() / 2);
            EXPECT_EQ(ColorFromQColor(QColor(middle)), scope.Section(c.section).Color);
        }
    }
    own->SetSkinSection("EDIT");
    own->setText("Chip");
    EXPECT_TRUE(SaveScreenshot(form, "label_own_section"));
}
