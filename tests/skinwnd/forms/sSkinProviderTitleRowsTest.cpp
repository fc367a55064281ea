#include "skinwnd/forms/sSkinProvider.h"

#include "Screenshot.h"
#include "SkinGenerator.h"
#include "TestSupport.h"
#include "platform/BmpFile.h"
#include "skin/forms/acSkinStartup.h"
#include "skin/forms/sSkinManager.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using testsupport::TempDir;

namespace {

constexpr int CellW = 24, CellH = 20, Rim = 3;

// The colour of each state (across) in the active and the inactive row.
const TColor Fill[2][3] = {{RGB(200, 30, 30), RGB(30, 200, 30), RGB(30, 30, 200)},
                           {RGB(120, 120, 40), RGB(40, 120, 120), RGB(120, 40, 120)}};

// A close button of its own: three states across, the active row over the
// inactive one, each cell a plate of its colour in a rim of key colour.
std::string CloseButtonPicture()
{
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    b.SetSize(3 * CellW, 2 * CellH);
    b.FillRect({0, 0, 3 * CellW, 2 * CellH}, clFuchsia);
    for (int row = 0; row < 2; ++row)
        for (int state = 0; state < 3; ++state)
            b.FillRect({state * CellW + Rim, row * CellH + Rim, (state + 1) * CellW - Rim, (row + 1) * CellH - Rim},
                       Fill[row][state]);
    return SaveBmpToString(b);
}

// The project skin with that picture as its close button; the other
// caption buttons keep their masks cut from the master bitmap.
struct Skinned {
    TempDir dir;
    std::unique_ptr<TsSkinManagerComponent> manager;
    QWidget form;
    QWidget other; // takes the activation from the form
    TsSkinProvider* provider = nullptr;
    Skinned()
    {
        SkinLibraryInitialization();
        auto files = SkinFiles(ProjectPalette());
        files["CLOSE2.BMP"] = CloseButtonPicture();
        std::string& options = files["Options.dat"];
        const std::string anchor = "MASTERBITMAP=MASTER.BMP\r\n";
        const size_t at = options.find(anchor);
        EXPECT_NE(at, std::string::npos);
        // The first key of a name wins over the skin's own close mask.
        options.insert(at + anchor.size(), "BICONCLOSE=CLOSE2.BMP\r\n");
        std::filesystem::create_directories(dir.file("Tarku"));
        for (const auto& [name, bytes] : files)
            testsupport::WriteFileBytes(dir.file("Tarku/" + name), bytes);
        manager = std::make_unique<TsSkinManagerComponent>();
        manager->SetSkinDirectory(dir.path());
        manager->SetActive(true);
        manager->SetSkinName("Tarku");
        EXPECT_TRUE(manager->Active()) << manager->LastError();
        form.setWindowTitle("Tarku - 24C02");
        form.resize(360, 200);
        provider = new TsSkinProvider(&form);
        other.resize(50, 50);
    }
    ~Skinned() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    // The cache's pixel at a button's point, painted in the given state.
    TColor Paint(int code, int state, QPoint at)
    {
        TitleButtonData& b = *provider->ButtonByCode(code);
        b.State = state;
        provider->PaintFormCache();
        return provider->FrameCache()->Pixel(b.Rect.Left + at.x(), b.Rect.Top + at.y());
    }
};

void Activate(QWidget& w)
{
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w, 10000));
}

} // namespace

// A caption button whose mask has its own bitmap shows its inactive row
// while the form is inactive and the button is normal; a hot or pressed
// button keeps the active row. Key colour shows the caption under it.
TEST(TsSkinProvider, InactiveFormDrawsTheInactiveRowOfOwnButtonPictures)
{
    Skinned s;
    Activate(s.form);
    s.provider->PaintFormCache(); // lays the buttons out
    TitleButtonData& close = *s.provider->ButtonByCode(20);
    ASSERT_EQ(close.Rect.Width(), CellW);
    ASSERT_EQ(close.Rect.Height(), CellH);
    const QPoint centre(CellW / 2, CellH / 2), rim(1, 1);
    struct Case {
        bool active;
        int state;
        TColor centre;
    } cases[] = {
        {true, 0, Fill[0][0]},  {true, 1, Fill[0][1]},  {true, 2, Fill[0][2]},
        {false, 0, Fill[1][0]}, {false, 1, Fill[0][1]}, {false, 2, Fill[0][2]},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.active) + " " + std::to_string(c.state));
        Activate(c.active ? s.form : s.other);
        EXPECT_EQ(s.Paint(20, c.state, centre), c.centre);
        // The rim is key colour: the caption shows through it.
        const TColor under = s.Paint(20, c.state, rim);
        EXPECT_NE(under, clFuchsia);
        for (const auto& row : Fill)
            for (TColor fill : row)
                EXPECT_NE(under, fill);
    }
    s.Paint(20, 0, centre);
    EXPECT_TRUE(SaveScreenshot(s.form, "caption_button_inactive_row"));
}

// A mask cut from the master bitmap has one row: an inactive form fades
// it, as before.
TEST(TsSkinProvider, InactiveFormFadesOneRowButtonMasks)
{
    Skinned s;
    Activate(s.form);
    s.provider->PaintFormCache();
    TitleButtonData& min = *s.provider->ButtonByCode(8);
    ASSERT_GT(min.Rect.Width(), 0);
    const TBitmap* cache = s.provider->FrameCache();
    auto picture = [&] {
        std::vector<TColor> px;
        for (int y = min.Rect.Top; y < min.Rect.Bottom; ++y)
            for (int x = min.Rect.Left; x < min.Rect.Right; ++x)
                px.push_back(cache->Pixel(x, y));
        return px;
    };
    const auto active = picture();
    Activate(s.other);
    s.provider->PaintFormCache();
    const auto inactive = picture();
    EXPECT_NE(active, inactive);
    Activate(s.form);
    s.provider->PaintFormCache();
    EXPECT_EQ(picture(), active);
}
