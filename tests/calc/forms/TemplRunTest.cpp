// Calculator runs through the window: fields read and written, labels
// changed, buffer 1 read and written within its bounds, runs only for a
// built and open calculator, and an endless run ended by whatever takes
// the calculator away.
#include "TemplTestSupport.h"
#include "calc/forms/TemplHost.h"
#include "calc/uCalcCompiler.h"
#include "calc/uCalcMachine.h"
#include "engine/uExecuteLock.h"
#include "platform/Cp1251.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <functional>

using calctest::CalcWindowTest;

namespace {

constexpr int RegD = 52, RegH = 53, RegT = 54, RegM = 55; // fields.cal's VARs
constexpr int RegN = 52;                                  // endless.cal's and writer.cal's N
// Only a run nobody ends waits this long.
constexpr int HangCeilingMs = 30000;

} // namespace

TEST_F(CalcWindowTest, FieldsReadAsTheirValues)
{
    Open("fields.cal");
    ASSERT_TRUE(CalcBuilt);
    const struct {
        const char* decimal;
        const char* hex;
        int64_t d, h;
    } cases[] = {
        {"123", "1A", 123, 0x1A},
        {"-1", "FFFFFFFF", -1, -1},
        {"4294967295", "ffffffff", -1, -1},
        {"0", "0", 0, 0},
        {"abc", "zz", 1, 0x100000000},
        {"", "", 1, 0x100000000},
        {"99999999999", "123456789", 1, 0x100000000},
    };
    for (const auto& c : cases) {
        Ctl<QLineEdit>("E0")->setText(c.decimal);
        Ctl<QLineEdit>("H1")->setText(c.hex);
        fmTemplate->BitBtn1->click();
        EXPECT_EQ(CalcRegisters()[RegD], c.d) << c.decimal;
        EXPECT_EQ(CalcRegisters()[RegH], c.h) << c.hex;
    }
    for (int index : {0, 2}) {
        Ctl<QCheckBox>("B2")->setChecked(index != 0);
        Ctl<QComboBox>("C3")->setCurrentIndex(index);
        fmTemplate->BitBtn1Click();
        EXPECT_EQ(CalcRegisters()[RegT], index != 0 ? 1 : 0);
        EXPECT_EQ(CalcRegisters()[RegM], index);
    }
}

TEST_F(CalcWindowTest, ControlsShowWhatTheRunWrites)
{
    Open("fields.cal");
    ASSERT_TRUE(CalcBuilt);
    TCalcWindowHost host(view_.get());
    const struct {
        const char* what;
        std::function<void()> write;
        std::function<QString()> shown;
        QString expected;
    } cases[] = {
        {"C=R decimal, unsigned", [&] { host.SetControlFromRegister(0, 0xFFFFFFFF); },
         [] { return Ctl<QLineEdit>("E0")->text(); }, "4294967295"},
        {"C=D decimal", [&] { host.SetControlFromConstant(0, 42); }, [] { return Ctl<QLineEdit>("E0")->text(); }, "42"},
        {"C=R hex, its 4 digits", [&] { host.SetControlFromRegister(1, 0xAB); },
         [] { return Ctl<QLineEdit>("H1")->text(); }, "00AB"},
        {"C=D hex, more digits than the field has", [&] { host.SetControlFromConstant(1, 0x12345); },
         [] { return Ctl<QLineEdit>("H1")->text(); }, "12345"},
        {"C=D check box ticked", [&] { host.SetControlFromConstant(2, 5); },
         [] { return QString::number(Ctl<QCheckBox>("B2")->isChecked()); }, "1"},
        {"C=R leaves a check box", [&] { host.SetControlFromRegister(2, 0); },
         [] { return QString::number(Ctl<QCheckBox>("B2")->isChecked()); }, "1"},
        {"C=D check box cleared", [&] { host.SetControlFromConstant(2, 0); },
         [] { return QString::number(Ctl<QCheckBox>("B2")->isChecked()); }, "0"},
        {"C=D combo box", [&] { host.SetControlFromConstant(3, 1); },
         [] { return QString::number(Ctl<QComboBox>("C3")->currentIndex()); }, "1"},
        {"C=D combo box past its end: the last item", [&] { host.SetControlFromConstant(3, 7); },
         [] { return QString::number(Ctl<QComboBox>("C3")->currentIndex()); }, "2"},
        {"C=R leaves a combo box", [&] { host.SetControlFromRegister(3, 0); },
         [] { return QString::number(Ctl<QComboBox>("C3")->currentIndex()); }, "2"},
        {"L=S", [&] { host.SetLabelCaption(4, Utf8ToCp1251("Сумма")); }, [] { return Ctl<QLabel>("L4")->text(); },
         QString::fromUtf8("Сумма")},
        {"colour", [&] { host.SetLabelProperty(4, 1, 0x0000FF); },
         [] { return Ctl<QLabel>("L4")->palette().color(QPalette::WindowText).name(); }, "#ff0000"},
        {"bold", [&] { host.SetLabelProperty(4, 2, 1); },
         [] { return QString::number(Ctl<QLabel>("L4")->font().bold()); }, "1"},
        {"alignment right", [&] { host.SetLabelProperty(4, 3, 2); },
         [] { return QString::number(int(Ctl<QLabel>("L4")->alignment() & Qt::AlignHorizontal_Mask)); },
         QString::number(int(Qt::AlignRight))},
        {"an alignment that does not exist", [&] { host.SetLabelProperty(4, 3, 9); },
         [] { return QString::number(int(Ctl<QLabel>("L4")->alignment() & Qt::AlignHorizontal_Mask)); },
         QString::number(int(Qt::AlignRight))},
        {"a property that does not exist", [&] { host.SetLabelProperty(4, 9, 0); },
         [] { return QString::number(Ctl<QLabel>("L4")->font().bold()); }, "1"},
        {"not bold", [&] { host.SetLabelProperty(4, 2, 0); },
         [] { return QString::number(Ctl<QLabel>("L4")->font().bold()); }, "0"},
        {"no control of that index", [&] { host.SetLabelCaption(40, "x"); host.SetControlFromConstant(40, 1); },
         [] { return Ctl<QLabel>("L4")->text(); }, QString::fromUtf8("Сумма")},
    };
    for (const auto& c : cases) {
        c.write();
        EXPECT_EQ(c.shown(), c.expected) << c.what;
    }
    // An autosized label follows its text.
    QLabel* label = Ctl<QLabel>("L4");
    host.SetLabelCaption(4, "A much longer caption than before");
    EXPECT_EQ(label->width(), QFontMetrics(label->font()).horizontalAdvance(label->text()));
    int64_t value = 0;
    EXPECT_FALSE(host.ReadControl(4, value)) << "a label has no value";
    EXPECT_FALSE(host.ReadControl(40, value));
}

TEST_F(CalcWindowTest, BufferOneWithinItsSizeAndTheFirst64KiB)
{
    const struct {
        int64_t size;
        uint32_t address;
        bool inside;
    } cases[] = {
        {256, 0, true},         {256, 255, true},      {256, 256, false},
        {70000, 65535, true},   {70000, 65536, false}, {70000, 0xFFFFFFFF, false},
        {0, 0, false},
    };
    for (const auto& c : cases) {
        view_->SetSize(c.size);
        view_->Buffer().Modified = false;
        if (c.inside)
            view_->Buffer().Data[c.address] = 0x11;
        TCalcWindowHost host(view_.get());
        EXPECT_EQ(host.MainBufferSize(), c.size);
        EXPECT_EQ(host.GetMainBufferByte(c.address), c.inside ? 0x11 : 0) << c.size << " " << c.address;
        host.SetMainBufferByte(c.address, 0x5A);
        EXPECT_EQ(host.BufferWritten(), c.inside) << c.size << " " << c.address;
        EXPECT_EQ(view_->Buffer().Modified, c.inside);
        if (c.inside) {
            EXPECT_EQ(view_->Buffer().Data[c.address], 0x5A);
            EXPECT_FALSE(view_->Buffer().GetMatchBit(c.address)) << "shown as changed";
        }
    }
    view_->SetSize(64);
    view_->Buffer().SelStart = 3;
    view_->Buffer().SelEnd = 9;
    view_->Edit().CaretByte = 5;
    TCalcWindowHost host(view_.get());
    EXPECT_EQ(host.MainSelStart(), 3);
    EXPECT_EQ(host.MainSelEnd(), 9);
    EXPECT_EQ(host.MainCursorAdr(), 5);
    // Buffer 1 gone with its window: nothing to read or write.
    view_.reset();
    EXPECT_EQ(host.GetMainBufferByte(0), 0);
    host.SetMainBufferByte(0, 1);
    EXPECT_FALSE(host.BufferWritten());
    EXPECT_EQ(host.MainBufferSize(), 0);
    EXPECT_EQ(host.MainSelStart(), -1);
}

TEST_F(CalcWindowTest, ChangesRunOnlyABuiltAndOpenCalculatorOnce)
{
    NotifyCalculatorChange();
    EXPECT_EQ(CalcRegisters()[RegN], 0) << "nothing built";
    Open("writer.cal");
    ASSERT_TRUE(CalcBuilt);
    EXPECT_EQ(CalcRegisters()[RegN], 0) << "no ONSHOW";
    NotifyCalculatorChange();
    EXPECT_EQ(CalcRegisters()[RegN], 1) << "its own write does not run it again";
    EXPECT_EQ(view_->Buffer().Data[0], 1);
    EXPECT_EQ(Ctl<QLabel>("L0")->text(), "Runs: 1");
    {
        const TRunLock moduleRun;
        NotifyCalculatorChange();
        EXPECT_EQ(CalcRegisters()[RegN], 1) << "not while a module procedure runs";
    }
    fmTemplate->BitBtn2->click();
    EXPECT_FALSE(fmTemplate->isVisible());
    EXPECT_FALSE(CalculatorOpen);
    NotifyCalculatorChange();
    EXPECT_EQ(CalcRegisters()[RegN], 1) << "closed";
    Open("writer.cal");
    NotifyCalculatorChange();
    EXPECT_EQ(CalcRegisters()[RegN], 2) << "registers keep their values between runs";
}

// An endless ONSHOW is ended by each way the calculator can go; the action
// comes from the messages the run processes.
TEST_F(CalcWindowTest, AnEndlessRunEndsWhenTheCalculatorGoes)
{
    const struct {
        const char* what;
        std::function<void()> act;
    } cases[] = {
        {"Close", [] { fmTemplate->BitBtn2Click(); }},
        {"Escape", [] { fmTemplate->reject(); }},
        {"the main window closing", [] { CloseCalculator(); }},
        {"another calculator", [] { OpenCalculator("Calculators\\checksum.cal"); }},
        {"one without ONSHOW", [] { OpenCalculator("Calculators\\writer.cal"); }},
        {"buffer 1's window going", [this] { view_.reset(); }},
        {"shutdown", [] { FreeCalculatorWindow(); }},
    };
    for (const auto& c : cases) {
        if (!view_)
            view_ = std::make_unique<THexDump>();
        view_->SetSize(256);
        CreateCalculatorWindow(nullptr, view_.get());
        CalcRegisters()[RegN] = 0;
        QObject guard;
        bool acted = false, hung = false;
        int64_t counted = 0;
        QTimer::singleShot(0, &guard, [&] {
            acted = true;
            counted = CalcRegisters()[RegN];
            EXPECT_TRUE(CalculatorRunning()) << c.what;
            c.act();
        });
        QTimer::singleShot(HangCeilingMs, &guard, [&] {
            hung = true;
            StopCalculatorRun();
        });
        Open("endless.cal");
        EXPECT_TRUE(acted) << c.what;
        EXPECT_FALSE(hung) << c.what << ": the run did not end";
        EXPECT_FALSE(CalculatorRunning()) << c.what;
        EXPECT_GT(counted, 0) << c.what << ": the loop was running";
        if (std::string(c.what) == "another calculator") {
            EXPECT_EQ(CalcTitle, "Checksum");
            ASSERT_TRUE(CalcBuilt);
            EXPECT_EQ(Ctl<QLabel>("L2")->text(), "Sum: 0000") << "its ONSHOW ran once the endless one had ended";
            EXPECT_EQ(Ctl<QLineEdit>("H1")->text(), "000000FF");
        }
        if (std::string(c.what) == "one without ONSHOW") {
            EXPECT_TRUE(CalcBuilt);
            EXPECT_TRUE(CalculatorOpen);
        }
    }
}
