// The calculators shipped in the program folder, at the program's first
// start: the index made from them lists them in the calculator tree, a
// double click on each opens its window with its controls, and each
// computes what it promises over a known buffer 1.
#include "MainWindowTest.h"
#include "Screenshot.h"
#include "app/forms/MainCalc.h"
#include "calc/forms/DevView.h"
#include "calc/forms/Templ.h"
#include "skin/forms/sTreeView.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Buffer 1 at start-up: 256 bytes of a known pattern.
constexpr int BufferSize = 256;

std::string Hex(unsigned value, int digits)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

// The events a double click brings: press, release, double click, release.
// (QTest's double click leaves out the first release, and the tree takes a
// press still held for the start of a drag.)
void DoubleClick(QWidget* widget, QPoint at)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    QMouseEvent second(QEvent::MouseButtonDblClick, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                       Qt::NoModifier);
    QApplication::sendEvent(widget, &second);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}

class MainCalcExamplesTest : public MainTest {
protected:
    // The program folder as the build lays it out: the shipped data, with
    // no settings and no calculator index yet.
    void SetUp() override
    {
        MainTest::SetUp();
        ASSERT_FALSE(fs::exists(dir_.file("Calculators/index.ini")));
        ASSERT_FALSE(fs::exists(dir_.file("TARKU.INI")));
        WriteFileBytes(dir_.file("known.bin"), Pattern(BufferSize));
        answerNo_ = true;
    }

    // First start with known.bin in buffer 1, the calculators window shown.
    void Start()
    {
        MainTest::Start({dir_.file("known.bin")});
        ASSERT_EQ(form_->HexDump1->GetSize(), BufferSize);
        form_->Command("mmCalculatorswindow")->trigger();
        ASSERT_TRUE(form_->CalcPanel->isVisible());
    }

    // As the user does it: the calculator found in the tree, double-clicked.
    void OpenFromTree(const std::string& path)
    {
        TDeviceView& view = *form_->CalcPanel->CalcTree;
        view.SetCurrentItem(path);
        ASSERT_EQ(view.CurrentItem(), path);
        QTreeWidget* tree = view.Tree;
        QTreeWidgetItem* item = tree->currentItem();
        tree->scrollToItem(item);
        DoubleClick(tree->viewport(), tree->visualItemRect(item).center());
        ASSERT_TRUE(CalcBuilt) << path;
        ASSERT_NE(fmTemplate, nullptr);
        ASSERT_TRUE(fmTemplate->isVisible()) << path;
    }

    template <class T>
    static T* Ctl(const std::string& name)
    {
        const auto it = CalcControls.find(name);
        T* control = it == CalcControls.end() ? nullptr : qobject_cast<T*>(it->second.data());
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    static std::string Text(const std::string& label) { return QStringToCp1251(Ctl<QLabel>(label)->text()); }
    static std::string Field(const std::string& edit) { return Ctl<QLineEdit>(edit)->text().toStdString(); }
    static void Type(const std::string& edit, const std::string& text)
    {
        Ctl<QLineEdit>(edit)->setText(QString::fromStdString(text));
    }
    static void Apply() { fmTemplate->BitBtn1->click(); }

    std::string Buffer1(int from, int count) const
    {
        const TDumpBuffer& b = form_->HexDump1->Buffer();
        std::string bytes;
        for (int i = from; i < from + count; ++i)
            bytes += Hex(b.Data[size_t(i)], 2);
        return bytes;
    }
};

TEST_F(MainCalcExamplesTest, FirstStartListsTheShippedCalculatorsAndEachOpensWithItsControls)
{
    Start();
    EXPECT_TRUE(boxes_.empty()) << boxes_.front();
    EXPECT_EQ(ReadFileBytes(dir_.file("Calculators/index.ini")),
              "[Root]\r\nBuffer=\\\r\nTools=\\\r\n[Buffer]\r\nChecksum=\r\nSerial number=\r\n"
              "[Tools]\r\nNumber converter=\r\n");
    QTreeWidget* tree = form_->CalcPanel->CalcTree->Tree;
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), "Buffer");
    EXPECT_EQ(tree->topLevelItem(1)->text(0), "Tools");

    const struct {
        const char* path;
        const char* title;
        const char* description; // its first line
        // Control names in order, each with the kind its letter gives.
        std::vector<std::string> controls;
        const char* screenshot;
    } cases[] = {
        {"Buffer\\Checksum",
         "Checksum",
         " Adds up the bytes of buffer 1 from Start to End (both included).",
         {"H0", "H1", "L2", "L3", "L4", "L5"},
         "calc-example-checksum"},
        {"Buffer\\Serial number",
         "Serial number",
         " Writes a serial number into buffer 1 at Address, in 1, 2 or 4 bytes,",
         {"H0", "C1", "C2", "E3", "B4", "L5"},
         "calc-example-serial"},
        {"Tools\\Number converter",
         "Number converter",
         " Shows a number in decimal, in hexadecimal, in binary and as a",
         {"C0", "E1", "H2", "L3", "L4"},
         "calc-example-converter"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        OpenFromTree(c.path);
        EXPECT_EQ(form_->CalcPanel->memCalcInfo->toPlainText().section('\n', 0, 0).toStdString(), c.description);
        EXPECT_EQ(fmTemplate->windowTitle().toStdString(), c.title);
        EXPECT_TRUE(fmTemplate->BitBtn1->isEnabled());
        EXPECT_EQ(CalcControls.size(), c.controls.size());
        for (const std::string& name : c.controls) {
            const auto it = CalcControls.find(name);
            ASSERT_NE(it, CalcControls.end()) << name;
            QWidget* control = it->second.data();
            ASSERT_NE(control, nullptr) << name;
            EXPECT_TRUE(fmTemplate->Panel1->isAncestorOf(control)) << name;
            EXPECT_TRUE(control->isVisible()) << name;
            // Every control starts inside the window's panel and ends above
            // its bottom (how wide a text is depends on the font).
            const QPoint at = control->mapTo(fmTemplate->Panel1, QPoint(0, 0));
            EXPECT_TRUE(fmTemplate->Panel1->rect().contains(at)) << name;
            EXPECT_LE(at.y() + control->height(), fmTemplate->Panel1->height()) << name;
            const char kind = name[0];
            const bool right = (kind == 'H' || kind == 'E') ? qobject_cast<QLineEdit*>(control) != nullptr
                               : kind == 'C'                ? qobject_cast<QComboBox*>(control) != nullptr
                               : kind == 'B'                ? qobject_cast<QCheckBox*>(control) != nullptr
                                                            : qobject_cast<QLabel*>(control) != nullptr;
            EXPECT_TRUE(right) << name;
        }
        SaveScreenshot(*fmTemplate, c.screenshot);
    }
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(MainCalcExamplesTest, ChecksumSumsTheWholeBufferTheSelectionAndARangeTypedIn)
{
    const auto sums = [this](int from, int to) {
        const TDumpBuffer& b = form_->HexDump1->Buffer();
        unsigned sum = 0;
        for (int i = from; i <= to; ++i)
            sum += b.Data[size_t(i)];
        return std::vector<std::string>{"Bytes: " + std::to_string(to - from + 1),
                                        "Sum, low byte: " + Hex(sum & 0xFF, 2),
                                        "Sum, low word: " + Hex(sum & 0xFFFF, 4),
                                        "Byte that makes the sum zero: " + Hex((0x100 - (sum & 0xFF)) & 0xFF, 2)};
    };
    const auto shown = [] { return std::vector<std::string>{Text("L2"), Text("L3"), Text("L4"), Text("L5")}; };
    Start();
    // Nothing selected: the whole buffer.
    OpenFromTree("Buffer\\Checksum");
    EXPECT_EQ(Field("H0"), "00000000");
    EXPECT_EQ(Field("H1"), "000000FF");
    EXPECT_EQ(shown(), sums(0, BufferSize - 1));
    EXPECT_EQ(shown()[1], "Sum, low byte: " + Hex(0x80, 2)) << "the pattern's own sum";

    // The sums follow a byte typed into buffer 1.
    form_->HexDump1->setFocus();
    QTest::keyClicks(form_->HexDump1, "C4");
    ASSERT_EQ(form_->HexDump1->Buffer().Data[0], 0xC4);
    EXPECT_EQ(shown(), sums(0, BufferSize - 1));

    // A range typed in, an end past the buffer, a start past the end.
    const struct {
        const char* start;
        const char* end;
        int from, to;
    } ranges[] = {{"10", "1F", 0x10, 0x1F}, {"F0", "FFFF", 0xF0, 0xFF}, {"20", "1F", 0x20, 0x1F}};
    for (const auto& r : ranges) {
        Type("H0", r.start);
        Type("H1", r.end);
        Apply();
        EXPECT_EQ(shown(), sums(r.from, r.to)) << r.start << ".." << r.end;
    }

    // Opened on a selection, it sums the selection.
    TDumpBuffer& buffer = form_->HexDump1->Buffer();
    buffer.SetSelectRange(0x40, 0x47, true);
    buffer.SelStart = 0x40;
    buffer.SelEnd = 0x47;
    OpenFromTree("Buffer\\Checksum");
    EXPECT_EQ(Field("H0"), "00000040");
    EXPECT_EQ(Field("H1"), "00000047");
    EXPECT_EQ(shown(), sums(0x40, 0x47));
}

TEST_F(MainCalcExamplesTest, SerialNumberWritesItsBytesInTheChosenOrderAndCountsUp)
{
    Start();
    OpenFromTree("Buffer\\Serial number");
    EXPECT_EQ(Field("H0"), "00000000");
    EXPECT_EQ(Ctl<QComboBox>("C1")->currentText(), "2");
    EXPECT_EQ(Field("E3"), "1");
    EXPECT_TRUE(Ctl<QCheckBox>("B4")->isChecked());
    const std::string pattern = Pattern(BufferSize);
    const struct {
        const char* address;
        int width; // item index: 1, 2 or 4 bytes
        int order; // 0 lowest byte first, 1 highest
        const char* number;
        int from;
        const char* written; // bytes from..from+5 afterwards
        const char* done;
        const char* next; // the number field afterwards
    } cases[] = {
        {"10", 2, 1, "305419896", 0x0F, "6C123456788F", "Wrote 305419896 at 00000010", "305419897"},
        {"10", 2, 0, "305419897", 0x0F, "6C795634128F", "Wrote 305419897 at 00000010", "305419898"},
        {"20", 1, 0, "4660", 0x1F, "DC3412F1F8FF", "Wrote 4660 at 00000020", "4661"},
        {"FE", 1, 1, "258", 0xFA, "D9E0E7EE0102", "Wrote 258 at 000000FE", "259"},
        {"FF", 0, 0, "4294967295", 0xFA, "D9E0E7EE01FF", "Wrote 4294967295 at 000000FF", "0"},
        // Past the end nothing is written and the number stays.
        {"FF", 1, 0, "7", 0xFA, "D9E0E7EE01FF", "The number does not fit in the buffer", "7"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.address) + " " + c.number);
        Type("H0", c.address);
        Ctl<QComboBox>("C1")->setCurrentIndex(c.width);
        Ctl<QComboBox>("C2")->setCurrentIndex(c.order);
        Type("E3", c.number);
        Apply();
        EXPECT_EQ(Buffer1(c.from, 6), c.written);
        EXPECT_EQ(Text("L5"), c.done);
        EXPECT_EQ(Field("E3"), c.next);
    }
    EXPECT_EQ(form_->HexDump1->Buffer().Data[0x0E], uint8_t(pattern[0x0E])) << "no byte before the number";
    EXPECT_TRUE(form_->HexDump1->Buffer().Modified);
    EXPECT_FALSE(form_->HexDump1->Buffer().GetMatchBit(0x10));

    // Without counting up the number stays for the next write.
    Ctl<QCheckBox>("B4")->setChecked(false);
    Type("H0", "0");
    Ctl<QComboBox>("C1")->setCurrentIndex(0);
    Type("E3", "90");
    Apply();
    EXPECT_EQ(Buffer1(0, 1), "5A");
    EXPECT_EQ(Field("E3"), "90");
}

TEST_F(MainCalcExamplesTest, NumberConverterShowsTheNumberInEveryForm)
{
    Start();
    OpenFromTree("Tools\\Number converter");
    const auto shown = [] {
        return std::vector<std::string>{Field("E1"), Field("H2"), Cp1251ToUtf8(Text("L3")), Cp1251ToUtf8(Text("L4"))};
    };
    EXPECT_EQ(Ctl<QComboBox>("C0")->currentText(), "Decimal");
    EXPECT_EQ(shown(), (std::vector<std::string>{"65", "00000041", "Binary: 00000000 00000000 00000000 01000001",
                                                 "Character: A"}));
    const struct {
        int from; // 0 decimal, 1 hexadecimal
        const char* typed;
        std::vector<std::string> shown;
    } cases[] = {
        {0, "200", {"200", "000000C8", "Binary: 00000000 00000000 00000000 11001000", "Character: И"}},
        {0, "4294967295", {"4294967295", "FFFFFFFF", "Binary: 11111111 11111111 11111111 11111111", "Character: none"}},
        {0, "-2", {"4294967294", "FFFFFFFE", "Binary: 11111111 11111111 11111111 11111110", "Character: none"}},
        // The decimal field reads a text that is no 32-bit number as 1,
        // and the result says so rather than pass it off as the number.
        {0, "4294967296", {"1", "00000001", "Binary: 00000000 00000000 00000000 00000001",
                           "1, or a decimal text that is no 32-bit number"}},
        {0, "1", {"1", "00000001", "Binary: 00000000 00000000 00000000 00000001",
                  "1, or a decimal text that is no 32-bit number"}},
        {0, "2", {"2", "00000002", "Binary: 00000000 00000000 00000000 00000010", "Character: none"}},
        {1, "1f", {"31", "0000001F", "Binary: 00000000 00000000 00000000 00011111", "Character: none"}},
        {1, "80000000", {"2147483648", "80000000", "Binary: 10000000 00000000 00000000 00000000", "Character: none"}},
        {1, "7E", {"126", "0000007E", "Binary: 00000000 00000000 00000000 01111110", "Character: ~"}},
        // The fields stay as typed when the text is no number.
        {1, "12G", {"126", "12G", "Not a hexadecimal number", " "}},
    };
    for (const auto& c : cases) {
        Ctl<QComboBox>("C0")->setCurrentIndex(c.from);
        Type(c.from == 0 ? "E1" : "H2", c.typed);
        Apply();
        EXPECT_EQ(shown(), c.shown) << c.typed;
    }
}

} // namespace
