// The calculator window builder: every control kind where the records put
// it, the window's size limits, compile errors in place of the window, and
// images no compiler writes, which must fail cleanly.
#include "Screenshot.h"
#include "TemplTestSupport.h"
#include "calc/uCalcCompilerImage.h"
#include "calc/uCalcMachine.h"
#include "engine/Global.h"
#include "engine/LanguageTexts.h"
#include "platform/Cp1251.h"
#include "platform/IniFiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include <functional>
#include <vector>

using calctest::CalcWindowTest;

namespace {

int TextWidth(const QWidget& w, const QString& text) { return QFontMetrics(w.font()).horizontalAdvance(text); }

// The caption label (tag 253) in the control's container whose top is the
// control's top + 3.
QLabel* CaptionOf(const QWidget& control)
{
    for (QLabel* label : control.parentWidget()->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly))
        if (label->property("Tag").toInt() == 253 && label->y() == control.y() + 3)
            return label;
    return nullptr;
}

std::string Script(int width, int height)
{
    return "[Tests\\Size]\r\nSIZE(" + std::to_string(width) + "," + std::to_string(height) +
           ");\r\nFORM{ LABEL(L,\"Sized\",0,10); }\r\nVAR N;\r\nONSHOW{ N = 7; }\r\n";
}

} // namespace

TEST_F(CalcWindowTest, EveryControlKindIsBuiltWhereItsRecordPutsIt)
{
    Open("controls.cal");
    ASSERT_TRUE(CalcBuilt);
    EXPECT_TRUE(CalculatorOpen);
    ASSERT_EQ(CalcControls.size(), 10u);
    TfmTemplate& form = *fmTemplate;
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.windowTitle(), "Every control");
    EXPECT_EQ(form.size(), QSize(400, 300));
    EXPECT_EQ(form.Panel1->geometry(), QRect(0, 0, 400, 260));
    EXPECT_EQ(form.BitBtn1->geometry(), QRect(400 / 2 - 105 - 4, 264, 105, 33));
    EXPECT_EQ(form.BitBtn2->geometry(), QRect(400 / 2 - 105 - 4 + 105 + 8, 264, 105, 33));
    EXPECT_TRUE(form.BitBtn1->isEnabled());

    auto* dec = Ctl<QLineEdit>("E0");
    ASSERT_NE(dec, nullptr);
    auto* group = qobject_cast<QGroupBox*>(dec->parentWidget());
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->title(), "Values");
    EXPECT_EQ(group->geometry(), QRect(5, 5, 390, 150));
    EXPECT_EQ(group->property("Tag").toInt(), 255);
    EXPECT_TRUE(group->font().bold());
    EXPECT_EQ(group->palette().color(QPalette::WindowText), QColor(0, 0, 0x80));
    EXPECT_FALSE(dec->font().bold()) << "the group's bold caption stays its own";
    EXPECT_EQ(QRect(dec->x(), dec->y(), dec->width(), 0), QRect(80, 20, 90, 0));
    EXPECT_TRUE(dec->text().isEmpty());
    EXPECT_EQ(dec->property("Tag").toInt(), ('E' << 8) + 0);
    QLabel* decCaption = CaptionOf(*dec);
    ASSERT_NE(decCaption, nullptr);
    EXPECT_EQ(decCaption->text(), "Decimal");
    EXPECT_EQ(decCaption->x() + decCaption->width(), 80 - 10) << "ends 10 pixels left of the field";

    auto* hex = Ctl<QLineEdit>("H1");
    ASSERT_NE(hex, nullptr);
    EXPECT_EQ(hex->property("Tag").toInt(), ('H' << 8) + 1 + (8 << 16)) << "12 digits become 8";

    auto* centred = Ctl<QLabel>("L2");
    ASSERT_NE(centred, nullptr);
    EXPECT_EQ(centred->geometry(), QRect(5, 50, 390 - 10, QFontMetrics(centred->font()).height()));
    EXPECT_EQ(centred->alignment(), Qt::AlignCenter);
    auto* wide = Ctl<QCheckBox>("B3");
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(QRect(wide->x(), wide->y(), wide->width(), 0), QRect(5, 70, 380, 0));

    auto* inner = Ctl<QLabel>("L4");
    ASSERT_NE(inner, nullptr);
    auto* innerGroup = qobject_cast<QGroupBox*>(inner->parentWidget());
    ASSERT_NE(innerGroup, nullptr);
    EXPECT_EQ(innerGroup->title(), "Inner");
    EXPECT_EQ(innerGroup->parentWidget(), group);
    EXPECT_EQ(inner->pos(), QPoint(10, 22));

    auto* plain = Ctl<QLabel>("L5");
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->parentWidget(), form.Panel1) << "the groups were closed";
    EXPECT_EQ(plain->geometry(), QRect(10, 165, TextWidth(*plain, "Left label"), QFontMetrics(plain->font()).height()));
    EXPECT_EQ(plain->palette().color(QPalette::WindowText), QColor(Qt::black));
    auto* tick = Ctl<QCheckBox>("B6");
    ASSERT_NE(tick, nullptr);
    EXPECT_EQ(QRect(tick->x(), tick->y(), tick->width(), 0), QRect(10, 185, TextWidth(*tick, "Tick") + 20, 0));
    EXPECT_FALSE(tick->isChecked());

    auto* mode = Ctl<QComboBox>("C7");
    ASSERT_NE(mode, nullptr);
    ASSERT_EQ(mode->count(), 3);
    EXPECT_EQ(mode->itemText(2), "Three");
    EXPECT_EQ(mode->currentIndex(), 0);
    QLabel* modeCaption = CaptionOf(*mode);
    ASSERT_NE(modeCaption, nullptr);
    EXPECT_EQ(modeCaption->x(), 10);
    EXPECT_EQ(mode->x(), 10 + TextWidth(*mode, "Mode") + 10);
    EXPECT_EQ(mode->width(), 100);

    auto* logo = Ctl<QLabel>("P8");
    ASSERT_NE(logo, nullptr);
    EXPECT_FALSE(logo->pixmap().isNull());
    EXPECT_EQ(logo->geometry(), QRect(250, 165, calctest::LogoWidth, calctest::LogoHeight)) << "natural size";
    auto* gone = Ctl<QLabel>("P9");
    ASSERT_NE(gone, nullptr);
    EXPECT_TRUE(gone->pixmap().isNull()) << "a missing picture leaves the control empty";
    EXPECT_EQ(gone->geometry(), QRect(320, 165, 40, 30));
    SaveScreenshot(form, "calc-controls-en");
}

TEST_F(CalcWindowTest, WindowSizeLimits)
{
    const struct {
        int width, height;
        bool builds;
    } cases[] = {
        {800, 600, true}, {50, 50, true},   {801, 600, false},  {800, 601, false},
        {49, 100, false}, {100, 49, false}, {0, 0, false},      {65535, 65535, false},
    };
    for (const auto& c : cases) {
        const std::string what = std::to_string(c.width) + "x" + std::to_string(c.height);
        WriteScript("size.cal", Script(c.width, c.height));
        CalcRegisters()[52] = 0;
        Open("size.cal");
        EXPECT_EQ(CalcBuilt, c.builds) << what;
        EXPECT_TRUE(fmTemplate->isVisible()) << what;
        EXPECT_EQ(fmTemplate->BitBtn1->isEnabled(), c.builds) << what;
        EXPECT_EQ(CalcRegisters()[52], c.builds ? 7 : 0) << what << ": ONSHOW runs only when built";
        if (c.builds) {
            EXPECT_EQ(fmTemplate->size(), QSize(c.width, c.height)) << what;
            EXPECT_EQ(PanelText(fmTemplate->Panel1), "") << what;
            EXPECT_EQ(CalcControls.size(), 1u) << what;
        } else {
            EXPECT_EQ(PanelText(fmTemplate->Panel1), "Wrong window size") << what;
            EXPECT_TRUE(CalcControls.empty()) << what;
        }
    }
}

TEST_F(CalcWindowTest, ACompileErrorShowsInPlaceOfTheWindow)
{
    Open("controls.cal");
    ASSERT_TRUE(CalcBuilt);
    const struct {
        const char* file;
        const char* text;
        const char* message; // UTF-8
    } cases[] = {
        {"broken.cal", "[A]\r\nSIZE(200,100);\r\nFORM{ LABEL(L,\"x\",0,10) }", "Строка 3: Пропущена точка с запятой."},
        {"nosize.cal", "[A]\r\n", "Не задан размер окна !!!"},
        {"notes.txt", "SIZE(200,100);FORM{}", "Not a calculator file (*.cal): notes.txt"},
    };
    for (const auto& c : cases) {
        WriteScript(c.file, Utf8ToCp1251(c.text));
        Open(c.file);
        EXPECT_FALSE(CalcBuilt) << c.file;
        EXPECT_FALSE(CalculatorOpen) << c.file;
        EXPECT_TRUE(fmTemplate->isVisible()) << c.file;
        EXPECT_EQ(PanelText(fmTemplate->Panel1).toStdString(), c.message) << c.file;
        EXPECT_EQ(fmTemplate->windowTitle().toStdString(), std::string("Calculators\\") + c.file);
        EXPECT_FALSE(fmTemplate->BitBtn1->isEnabled()) << c.file;
        EXPECT_TRUE(CalcControls.empty()) << c.file;
        const int textWidth = TextWidth(*fmTemplate->Panel1, QString::fromStdString(c.message));
        EXPECT_EQ(fmTemplate->width(), std::max(textWidth + 50, 2 * 105 + 20)) << c.file;
        // The buttons sit centred with 5 pixels between them.
        EXPECT_EQ(fmTemplate->BitBtn2->x() - (fmTemplate->BitBtn1->x() + 105), 5) << c.file;
        EXPECT_LE(std::abs(fmTemplate->BitBtn1->x() - (fmTemplate->width() - fmTemplate->BitBtn2->geometry().right() - 1)),
                  1)
            << c.file;
    }
    SaveScreenshot(*fmTemplate, "calc-error-en");
}

// Images written by hand: every one is read inside the image, and what no
// window can be built from fails with the builder's message.
TEST_F(CalcWindowTest, ImagesNoCompilerWritesFailCleanly)
{
    using TBytes = std::vector<uint8_t>;
    auto text = [](char letter, const std::string& s) {
        uint8_t key = uint8_t(letter);
        TBytes out;
        EncodeCalcText(s, key, out);
        return out;
    };
    auto record = [&](char letter, const std::string& s, std::vector<int> fields) {
        TBytes out{uint8_t(letter)};
        const TBytes coded = text(letter, s);
        out.insert(out.end(), coded.begin(), coded.end());
        for (int f : fields) {
            out.push_back(uint8_t(f));
            out.push_back(uint8_t(f >> 8));
        }
        return out;
    };
    auto join = [](std::initializer_list<TBytes> parts) {
        TBytes out;
        for (const TBytes& p : parts)
            out.insert(out.end(), p.begin(), p.end());
        return out;
    };
    auto repeat = [](const TBytes& part, int times, const TBytes& tail) {
        TBytes out;
        for (int i = 0; i < times; ++i)
            out.insert(out.end(), part.begin(), part.end());
        out.insert(out.end(), tail.begin(), tail.end());
        return out;
    };
    const TBytes end{CalcEndOfRecords};
    const TBytes group = record('G', "g", {1, 1, 100, 60});
    const TBytes tick = record('B', "", {1, 1});
    const std::string fails = Utf8ToCp1251("Ошибка создания компонентов окна.");
    // A label whose text never ends, up to the image's last byte.
    auto endlessText = [](TCalcImage& im, size_t stop) {
        im[CalcRecordsOffset] = 'L';
        uint8_t key = 'L';
        for (size_t i = CalcRecordsOffset + 1; i < stop; ++i, ++key)
            im[i] = uint8_t(key + 1);
        return key;
    };
    const struct {
        const char* what;
        TBytes records;
        std::function<void(TCalcImage&)> patch; // writes past the records
        bool builds;
        size_t controls;
    } cases[] = {
        {"no records", end, nullptr, true, 0},
        {"an unknown record letter", join({record('Z', "", {}), end}), nullptr, false, 0},
        {"a TEXT record", join({record('T', "t", {1, 1}), end}), nullptr, false, 0},
        {"a group end without a group", join({TBytes{'g'}, end}), nullptr, false, 0},
        {"a group left open", join({group, record('L', "in", {5, 5}), end}), nullptr, true, 1},
        {"groups nested 32 deep", repeat(group, 32, end), nullptr, true, 0},
        {"groups nested 33 deep", repeat(group, 33, end), nullptr, false, 0},
        {"huge positions and sizes",
         join({record('G', "g", {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF}), record('L', "l", {0xFFFF, 0xFFFF}), TBytes{'g'},
               record('D', "d", {0xFFFF, 0xFFFF, 0xFFFF}), record('H', "h", {0, 0, 0xFFFF, 0xFFFF}),
               record('P', "none.bmp", {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF}), record('B', "b", {0xFFFF, 0xFFFF}), end}),
         nullptr, true, 5},
        {"256 controls", repeat(tick, 256, end), nullptr, true, 256},
        {"257 controls", repeat(tick, 257, end), nullptr, false, 0},
        {"no end record", {}, [](TCalcImage& im) { std::fill(im.begin() + CalcRecordsOffset, im.end(), uint8_t('g')); },
         false, 0},
        {"a text running to the image's end", {}, [&](TCalcImage& im) { endlessText(im, im.size()); }, false, 0},
        {"fields cut by the image's end", {},
         [&](TCalcImage& im) { im[im.size() - 3] = endlessText(im, im.size() - 3); }, false, 0},
        {"a record letter in the image's last byte", {},
         [&](TCalcImage& im) {
             im[im.size() - 6] = endlessText(im, im.size() - 6);
             im[im.size() - 1] = 'D';
         },
         false, 0},
        {"a combo box list running to the image's end", {},
         [&](TCalcImage& im) {
             im[CalcRecordsOffset] = 'C';
             uint8_t key = 'C';
             im[CalcRecordsOffset + 1] = key; // empty caption
             for (size_t i = CalcRecordsOffset + 8; i < im.size(); ++i)
                 im[i] = uint8_t(key + 1); // never the terminator
         },
         false, 0},
    };
    auto image = std::make_unique<TCalcImage>();
    for (const auto& c : cases) {
        image->fill(0);
        const TBytes header{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 200, 0, 100, 0};
        std::copy(header.begin(), header.end(), image->begin());
        std::copy(c.records.begin(), c.records.end(), image->begin() + CalcRecordsOffset);
        if (c.patch)
            c.patch(*image);
        const bool built = BuildCalculatorWindow(fmTemplate->Panel1, *image, false);
        EXPECT_EQ(built, c.builds) << c.what;
        EXPECT_EQ(CalcBuilt, c.builds) << c.what;
        EXPECT_EQ(CalcControls.size(), c.controls) << c.what;
        EXPECT_EQ(fmTemplate->BitBtn1->isEnabled(), c.builds) << c.what;
        if (!c.builds) {
            EXPECT_EQ(QStringToCp1251(PanelText(fmTemplate->Panel1)), fails) << c.what;
            EXPECT_EQ(fmTemplate->Panel1->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).size(), 1)
                << c.what << ": only the message is left";
        }
    }
}

TEST_F(CalcWindowTest, ButtonCaptionsOfTheLanguage)
{
    FreeCalculatorWindow();
    const struct {
        const char* language;
        bool loadTable;
        const char* apply; // UTF-8
        const char* close;
        const char* shot;
    } cases[] = {
        {"English", false, "Apply", "Close", "calc-checksum-en"},
        {"Russian(Русский)", true, nullptr, nullptr, "calc-checksum-ru"},
    };
    const TIniFile ru(testsupport::DataPath("Languages/ru.lng"));
    for (const auto& c : cases) {
        LanguageTexts.Clear();
        LanguageName = Utf8ToCp1251(c.language);
        if (c.loadTable) {
            AddLanguageTag(LanguageTexts, "[COMMON_BUTTONS]");
            for (const char* key : {"Apply", "Cancel", "Help", "Close"})
                LanguageTexts.Add(ru.ReadString("Common buttons", key, "?"));
        }
        CreateCalculatorWindow(nullptr, view_.get());
        const QString apply = c.apply ? QString::fromUtf8(c.apply) : Cp1251ToQString(ru.ReadString("Common buttons", "Apply", ""));
        const QString close = c.close ? QString::fromUtf8(c.close) : Cp1251ToQString(ru.ReadString("Common buttons", "Close", ""));
        EXPECT_EQ(fmTemplate->BitBtn1->text(), apply) << c.language;
        EXPECT_EQ(fmTemplate->BitBtn2->text(), close) << c.language;
        EXPECT_FALSE(apply.isEmpty());
        Open("checksum.cal");
        EXPECT_TRUE(CalcBuilt);
        SaveScreenshot(*fmTemplate, c.shot);
        FreeCalculatorWindow();
    }
}

// The main window's calculator area takes the calculator while it is
// visible, unless calculators are to open in their own window.
TEST_F(CalcWindowTest, TheMainWindowsCalculatorArea)
{
    QWidget area;
    area.resize(300, 260);
    auto* panel = new QWidget(&area);
    panel->resize(300, 200);
    auto* caption = new QLabel(&area);
    auto* apply = new QPushButton("Apply", &area);
    CalcPanelArea = {panel, caption, apply};
    area.show();
    WorkParam &= ~wpCalcOwnWindow;
    Open("controls.cal");
    ASSERT_TRUE(CalcBuilt);
    EXPECT_FALSE(fmTemplate->isVisible());
    EXPECT_EQ(caption->text(), "Every control");
    EXPECT_TRUE(apply->isEnabled());
    ASSERT_NE(Ctl<QLineEdit>("E0"), nullptr);
    EXPECT_TRUE(panel->isAncestorOf(Ctl<QLineEdit>("E0")));
    EXPECT_TRUE(panel->isVisible());

    WriteScript("broken.cal", "[A]\r\nSIZE(200,100);\r\nFORM{ LABEL(L,\"x\",0,10) }");
    Open("broken.cal");
    EXPECT_FALSE(CalcBuilt);
    EXPECT_EQ(caption->text(), "");
    EXPECT_TRUE(CalcControls.empty());
    EXPECT_EQ(Cp1251ToUtf8(QStringToCp1251(PanelText(panel))), "Строка 3: Пропущена точка с запятой.");
    EXPECT_EQ(panel->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).size(), 1);

    WriteScript("size.cal", Script(801, 100));
    Open("size.cal");
    EXPECT_EQ(PanelText(panel), "Wrong window size");
    EXPECT_FALSE(apply->isEnabled());

    WorkParam |= wpCalcOwnWindow;
    Open("controls.cal");
    ASSERT_TRUE(CalcBuilt);
    EXPECT_TRUE(fmTemplate->isVisible());
    EXPECT_TRUE(fmTemplate->Panel1->isAncestorOf(Ctl<QLineEdit>("E0")));
    WorkParam &= ~wpCalcOwnWindow;
    Open("checksum.cal");
    EXPECT_FALSE(fmTemplate->isVisible()) << "the own window does not keep the last calculator";
    EXPECT_EQ(caption->text(), "Checksum");
    CalcPanelArea = {};
}
