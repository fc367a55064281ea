// A calculator with the real program: it follows buffer 1 through a device
// read, File Open and typing, its Apply writes buffer 1, and closing the
// main window during an endless calculator run ends the run.
#include "AppStateGuard.h"
#include "Screenshot.h"
#include "TestSupport.h"
#include "app/forms/Main.h"
#include "app/forms/MainProgram.h"
#include "buffer/forms/HDump.h"
#include "calc/forms/Templ.h"
#include "calc/uCalcMachine.h"
#include "engine/forms/uExecute.h"
#include "platform/Cp1251.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "vprog/Socket.h"
#include "vprog/VirtualUsb.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace {

using testsupport::WriteFileBytes;

constexpr const char* Entry24C02 = "Serial EEPROM\\I2C 8 bit address\\24C02";
// Only a window or run nobody ends waits this long.
constexpr int CeilingMs = 30000;

std::string Pattern(int size, int seed)
{
    std::string bytes;
    for (int i = 0; i < size; ++i)
        bytes += char(i * seed + 3);
    return bytes;
}

class MainCalcTest : public ::testing::Test {
protected:
    testsupport::TAppStateGuard state_;
    testsupport::TempDir dir_;
    std::string savedFolder_ = ProgramFolder();
    MessageBoxHandler previous_;
    QObject guard_; // timers of this test die with it
    TMainForm* form_ = nullptr;

    void SetUp() override
    {
        std::filesystem::copy(testsupport::DataPath(""), dir_.path(), std::filesystem::copy_options::recursive);
        std::filesystem::create_directories(dir_.file("Calculators"));
        for (const char* name : {"checksum.cal", "endless.cal"})
            std::filesystem::copy_file(testsupport::FixturePath(std::string("calc/") + name),
                                       dir_.file(std::string("Calculators/") + name));
        SetProgramFolder(dir_.path());
        // Questions (save before load or exit) are answered No.
        previous_ = SetMessageBoxHandler([](const std::string&, const std::string&, unsigned flags) {
            return (flags & 0xF) == MB_OK ? int{IDOK} : int{IDNO};
        });
    }
    void TearDown() override
    {
        if (form_)
            FinishProgram();
        SetMessageBoxHandler(previous_);
        SetProgramFolder(savedFolder_);
    }

    void Start()
    {
        form_ = StartProgram({});
        form_->show();
    }

    // The next file dialog opens `path` (filter 1: binary).
    void Choose(const std::string& path)
    {
        QTimer::singleShot(0, &guard_, [this, path] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) {
                Choose(path);
                return;
            }
            QTimer::singleShot(CeilingMs, dialog, [dialog] {
                ADD_FAILURE() << "file dialog left open";
                dialog->reject();
            });
            dialog->selectNameFilter(dialog->nameFilters()[0]);
            dialog->selectFile(QString::fromStdString(path));
            QMetaObject::invokeMethod(dialog, "accept");
        });
    }

    // A module run: the run window is closed once the run is done.
    void RunDevice(const char* item)
    {
        auto* closer = new QTimer(&guard_);
        QObject::connect(closer, &QTimer::timeout, [] {
            if (fmExecute && fmExecute->isVisible() &&
                QStringToCp1251(fmExecute->btCancel->text()) == fmExecute->Run.CloseText)
                fmExecute->btCancel->click();
        });
        closer->start(5);
        QTimer ceiling;
        ceiling.setSingleShot(true);
        QObject::connect(&ceiling, &QTimer::timeout, [] {
            ADD_FAILURE() << "run never ended";
            fmExecute->Run.Tag = -1;
        });
        ceiling.start(120000);
        QAction* action = form_->mmDevice->findChild<QAction*>(item);
        ASSERT_NE(action, nullptr);
        action->trigger();
        delete closer;
    }

    // What the checksum calculator shows for buffer 1: the byte sum of
    // 0..end, as 4 hexadecimal digits.
    std::string ExpectedSum(int64_t end) const
    {
        const TDumpBuffer& b = form_->HexDump1->Buffer();
        unsigned sum = 0;
        for (int64_t i = 0; i <= end && i < b.GetSize(); ++i)
            sum += b.Data[size_t(i)];
        char text[16];
        std::snprintf(text, sizeof text, "Sum: %04X", sum & 0xFF);
        return text;
    }
    static std::string Shown()
    {
        const auto it = CalcControls.find("L2");
        return it == CalcControls.end() || !it->second ? "" : qobject_cast<QLabel*>(it->second.data())->text().toStdString();
    }
};

TEST_F(MainCalcTest, AChecksumFollowsBuffer1AndApplyWritesIt)
{
    WriteFileBytes(dir_.file("24C02.bin"), Pattern(256, 7));
    TSocketSetup setup;
    setup.Chip = "24C02";
    setup.Image = dir_.file("24C02.bin");
    ASSERT_EQ(InsertChip(TheVirtualProgrammer().Lines(), setup, nullptr), "");
    Start();
    form_->LoadModule(Entry24C02);
    ASSERT_EQ(form_->HexDump1->GetSize(), 256);
    const int64_t end = 255; // FINISH := BUFSIZE - 1 when it shows

    OpenCalculator("Calculators\\checksum.cal");
    ASSERT_TRUE(CalcBuilt);
    ASSERT_TRUE(fmTemplate->isVisible());
    EXPECT_EQ(Shown(), ExpectedSum(end)) << "ONSHOW";

    RunDevice("mnREAD");
    EXPECT_EQ(form_->HexDump1->Buffer().Data[1], uint8_t(1 * 7 + 3)) << "the chip was read";
    EXPECT_EQ(Shown(), ExpectedSum(end)) << "after the device read";
    const std::string afterRead = Shown();

    std::string in = Pattern(256, 13);
    in[5] = 0; // the sums of these two patterns agree in their low 16 bits
    WriteFileBytes(dir_.file("in.bin"), in);
    Choose(dir_.file("in.bin"));
    form_->Command("mnFileRead")->trigger();
    EXPECT_EQ(form_->HexDump1->Buffer().Data[1], uint8_t(13 + 3)) << "the file was read";
    EXPECT_EQ(Shown(), ExpectedSum(end)) << "after File Open";
    EXPECT_NE(Shown(), afterRead);

    const std::string beforeTyping = Shown();
    form_->HexDump1->setFocus();
    QTest::keyClicks(form_->HexDump1, "C4");
    EXPECT_EQ(form_->HexDump1->Buffer().Data[0], 0xC4) << "typed";
    EXPECT_EQ(Shown(), ExpectedSum(end)) << "after typing";
    EXPECT_NE(Shown(), beforeTyping);

    auto* write = qobject_cast<QCheckBox*>(CalcControls["B3"].data());
    ASSERT_NE(write, nullptr);
    write->setChecked(true);
    const std::string sum = ExpectedSum(end);
    form_->HexDump1->Buffer().Modified = false;
    fmTemplate->BitBtn1->click();
    EXPECT_EQ(form_->HexDump1->Buffer().Data[end], uint8_t(std::stoul(sum.substr(5), nullptr, 16)))
        << "Apply wrote the sum at the end";
    EXPECT_FALSE(form_->HexDump1->Buffer().GetMatchBit(end));
    EXPECT_TRUE(form_->HexDump1->Buffer().Modified);
    SaveScreenshot(*fmTemplate, "calc-with-main-en");
}

TEST_F(MainCalcTest, ClosingTheMainWindowEndsAnEndlessRun)
{
    Start();
    bool closed = false, acted = false;
    QTimer::singleShot(0, &guard_, [&] {
        acted = true;
        EXPECT_TRUE(CalculatorRunning());
        closed = form_->close();
    });
    QTimer::singleShot(CeilingMs, &guard_, [] {
        ADD_FAILURE() << "the run did not end";
        StopCalculatorRun();
    });
    OpenCalculator("Calculators\\endless.cal");
    EXPECT_TRUE(acted);
    EXPECT_TRUE(closed);
    EXPECT_FALSE(CalculatorRunning());
    EXPECT_FALSE(form_->isVisible());
    ASSERT_NE(fmTemplate, nullptr);
    EXPECT_FALSE(fmTemplate->isVisible());
    EXPECT_FALSE(CalculatorOpen);
}

} // namespace
