// The pin tester window: result lines, sizing to the picture, the two modes
// and the repeat button against the virtual programmer.
#include "Screenshot.h"
#include "engine/Engine.h"
#include "engine/Global.h"
#include "engine/forms/uPinsTest.h"
#include "engine/uExecuteLock.h"
#include "platform/MessageBox.h"
#include "vprog/SimChip.h"
#include "vprog/VirtualUsb.h"

#include "ProgramStateGuard.h"
#include "TestSupport.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

// Answers a modal dialog: `act` runs in the dialog's own event loop, never
// in the messages its showing pumps, however long showing took on this
// machine. A dialog still open after a minute is rejected and fails the
// test instead of hanging it.
class TAnswer {
public:
    TAnswer(QDialog& dialog, std::function<void()> act)
    {
        const int outside = QThread::currentThread()->loopLevel();
        poll_.setInterval(2);
        QObject::connect(&poll_, &QTimer::timeout, [this, &dialog, outside, act = std::move(act)] {
            if (!dialog.isVisible() || QThread::currentThread()->loopLevel() <= outside)
                return;
            poll_.stop();
            act();
        });
        poll_.start();
        ceiling_.setSingleShot(true);
        QObject::connect(&ceiling_, &QTimer::timeout, [&dialog] {
            ADD_FAILURE() << "the dialog was never answered";
            dialog.reject();
        });
        ceiling_.start(60000);
    }

private:
    QTimer poll_, ceiling_;
};

const std::string NotConnected = "not connected";
const std::string NoChip = "Chip not inserted or GND pin not connected.";

TEST(PinTestLines, ResultsAsLines)
{
    EXPECT_EQ(PinTestLines(-1, NotConnected, NoChip), std::vector<std::string>{NoChip});
    EXPECT_EQ(PinTestLines(0x100, NotConnected, NoChip), std::vector<std::string>{NoChip});
    // Not limited to the module's pin-test mask.
    EXPECT_EQ(PinTestLines(0x05, NotConnected, NoChip),
              (std::vector<std::string>{" Pin 1 not connected", " Pin 2 OK.", " Pin 3 not connected", " Pin 4 OK.",
                                        " Pin 5 OK.", " Pin 6 OK.", " Pin 7 OK.", " Pin 8 OK."}));
}

std::string Picture(const testsupport::TempDir& dir, int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(40, 40, 40));
    for (int x = 10; x < w - 10; x += 20)
        for (int y = 4; y < 12; ++y)
            image.setPixel(x, y, qRgb(220, 220, 220));
    const std::string path = dir.file("chip.bmp");
    image.save(QString::fromStdString(path));
    return path;
}

TEST(PinsTestWindow, SizesToThePicture)
{
    testsupport::TempDir dir;
    TfmPinsTest form;
    struct Case {
        int W, H, Width, Height;
    };
    for (const Case& c : {Case{300, 100, 453, 306}, Case{100, 80, 419, 306}, Case{200, 250, 419, 310}}) {
        form.LoadPicture(Picture(dir, c.W, c.H));
        form.FormShow();
        EXPECT_EQ(form.width(), c.Width) << c.W << "x" << c.H;
        EXPECT_EQ(form.height(), c.Height) << c.W << "x" << c.H;
    }
    // No picture: the plain size.
    form.LoadPicture(dir.file("missing.bmp"));
    form.FormShow();
    EXPECT_TRUE(form.Image1->isHidden());
    EXPECT_EQ(form.width(), 419);
}

TEST(PinsTestWindow, ModesAndFailedLines)
{
    testsupport::TempDir dir;
    TfmPinsTest form;
    EXPECT_FALSE(form.RunMode);
    EXPECT_EQ(form.windowTitle(), "Pin tester");
    form.LoadPicture(Picture(dir, 180, 120));
    form.Result = 0x12;
    form.RunMode = true;
    {
        TAnswer answer(form, [&] {
            EXPECT_TRUE(form.SpeedButton2->isVisible());
            EXPECT_EQ(form.SpeedButton1->text(), "Continue");
            EXPECT_EQ(form.Memo1->text().split('\n').size(), 8);
            EXPECT_TRUE(form.Memo1->text().startsWith(" Pin 1 OK.\n Pin 2 not connected"));
            SaveScreenshot(form, "pinstest_failed");
            form.SpeedButton2->click();
        });
        EXPECT_EQ(form.exec(), QDialog::Rejected);
    }

    form.RunMode = false;
    form.Result = -1;
    {
        TAnswer answer(form, [&] {
            EXPECT_FALSE(form.SpeedButton2->isVisible());
            EXPECT_EQ(form.SpeedButton1->text(), "Close");
            EXPECT_EQ(form.Memo1->text().toStdString(), NoChip);
            SaveScreenshot(form, "pinstest_nochip");
            form.SpeedButton1->click();
        });
        EXPECT_EQ(form.exec(), QDialog::Accepted);
    }
}

TEST(PinsTestWindow, ALongTranslatedCaptionWidensItsButton)
{
    TfmPinsTest form;
    form.ContinueText = "&\xCF\xF0\xEE\xE4\xEE\xEB\xE6\xE8\xF2\xFC \xF0\xE0\xE1\xEE\xF2\xF3"; // two words
    form.RunMode = true;
    form.FormShow();
    const QPushButton* b = form.SpeedButton1;
    EXPECT_GE(b->width(), b->sizeHint().width());
    EXPECT_EQ(form.SpeedButton3->geometry().right() + 1 + 5, b->x());
    EXPECT_EQ(b->geometry().right() + 1 + 5, form.SpeedButton2->x());
    // The row stays centred.
    const int left = form.SpeedButton3->x(), right = form.width() - 1 - form.SpeedButton2->geometry().right();
    EXPECT_LE(std::abs(left - right), 1);
}

TEST(PinsTestWindow, RepeatTestsAgainButNotUnderARun)
{
    testsupport::TProgramStateGuard state;
    TVirtualProgrammer programmer;
    SetUsbTransport(std::make_unique<TVirtualUsb>(programmer));
    UsbTimeOut = 3;
    ASSERT_TRUE(OpenDevice());
    ASSERT_TRUE(SetDevicePower(0, 0, 8));
    TfmPinsTest form;
    form.Mask = 0x08;
    form.Result = -1;
    auto chip = std::make_unique<TLoopbackChip>(0, 1, 0x80, 0x08);
    chip->ContactLines = static_cast<uint8_t>(~0x20);
    programmer.Lines().Attach(std::move(chip));
    form.SpeedButton3Click();
    EXPECT_EQ(form.Result, 0x20);
    EXPECT_TRUE(form.Memo1->text().contains(" Pin 6 not connected"));

    // While a run owns the link the plain tester leaves it alone.
    std::vector<std::string> boxes;
    const MessageBoxHandler previous = SetMessageBoxHandler(
        [&](const std::string& text, const std::string&, unsigned) {
            boxes.push_back(text);
            return IDOK;
        });
    {
        TRunLock running;
        form.Result = 0;
        form.SpeedButton3Click();
        EXPECT_EQ(form.Result, 0);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0], RunInProgressText());
        // The run's own tester may test.
        form.RunMode = true;
        form.SpeedButton3Click();
        EXPECT_EQ(form.Result, 0x20);
    }
    SetMessageBoxHandler(previous);
    DevicePowerOff();
    CloseDevice();
    SetUsbTransport(nullptr);
}

} // namespace
