// The About box against the in-process virtual programmer: the firmware
// text, the box without a programmer, the box during a run, the splash and
// the links.
#include "AppStateGuard.h"
#include "ModalAnswer.h"
#include "Screenshot.h"
#include "app/About.h"
#include "app/forms/About.h"
#include "app/forms/HotLabel.h"
#include "engine/Engine.h"
#include "engine/Global.h"
#include "engine/uExecuteLock.h"
#include "platform/MessageBox.h"
#include "vprog/VirtualUsb.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

#include <memory>

// Stands in for the browser: takes the addresses the desktop would open.
class TUrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> Urls;
public slots:
    void Open(const QUrl& url) { Urls << url; }
};

namespace {

// The virtual programmer's transport, counting what the link does with it.
class TCountingUsb : public TVirtualUsb {
public:
    using TVirtualUsb::TVirtualUsb;
    int Open(const std::string& pipeName) override
    {
        ++Opens;
        return TVirtualUsb::Open(pipeName);
    }
    int Write(int handle, const uint8_t* data, int count) override
    {
        ++Writes;
        return TVirtualUsb::Write(handle, data, count);
    }
    // A programmer that takes commands and never answers.
    int Read(int handle, uint8_t* data, int count) override
    {
        return Silent ? 0 : TVirtualUsb::Read(handle, data, count);
    }
    int Opens = 0;
    int Writes = 0;
    bool Silent = false;
};

class About : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto usb = std::make_unique<TCountingUsb>(programmer);
        counting = usb.get();
        SetUsbTransport(std::move(usb));
        UsbTimeOut = 3;
        previous = SetMessageBoxHandler([this](const std::string& text, const std::string& caption, unsigned) {
            boxes.push_back(caption + ": " + text);
            return IDOK;
        });
    }
    void TearDown() override
    {
        SetMessageBoxHandler(previous);
        CloseDevice();
        SetUsbTransport(nullptr);
    }

    static QStringList MemoLines(const TAboutForm& form) { return form.Memo1->toPlainText().split('\n'); }
    bool LinkOpen() const { return UsbOutHandle >= 0 || UsbInHandle >= 0 || UsbControlHandle >= 0; }

    testsupport::TAppStateGuard state;
    TVirtualProgrammer programmer;
    TCountingUsb* counting = nullptr;
    std::vector<std::string> boxes;
    MessageBoxHandler previous;
};

TEST(AboutVersion, SecondDigitBecomesThePoint)
{
    EXPECT_EQ(VersionText(0x1008), "1.08");
    EXPECT_EQ(VersionText(0x2A10), "2.10");
    EXPECT_EQ(VersionLabelText(), "Version 1.08");
}

TEST_F(About, ShowsTheFirmwareTextAndClosesTheLink)
{
    TAboutForm form;
    form.show();
    EXPECT_EQ(form.Label1->text(), "Version 1.08");
    EXPECT_EQ(form.Label5->text(), "The universal programmer");
    EXPECT_EQ(form.Label2->text(), "Tarku USB");
    EXPECT_TRUE(form.Memo1->isVisible());
    EXPECT_TRUE(form.Memo1->isReadOnly());
    EXPECT_TRUE(form.SpeedButton1->isVisible());
    EXPECT_EQ(MemoLines(form),
              (QStringList{"Tarku virtual programmer", "Simulated firmware 1.0, no hardware attached"}));
    EXPECT_GT(counting->Writes, 0);
    EXPECT_FALSE(LinkOpen());
    EXPECT_TRUE(boxes.empty());
    SaveScreenshot(form, "about_box");

    // Every showing asks again, and the memo does not collect old lines.
    form.hide();
    form.show();
    EXPECT_EQ(MemoLines(form).size(), 2);
    EXPECT_FALSE(LinkOpen());
}

TEST_F(About, WithoutAProgrammerExactlyOneLine)
{
    SetUsbTransport(nullptr);
    TAboutForm form;
    form.show();
    EXPECT_EQ(MemoLines(form), QStringList{"Firmware information is not accessible."});
    EXPECT_TRUE(boxes.empty());
}

TEST_F(About, AProgrammerThatDoesNotAnswerGivesTheOneLine)
{
    counting->Silent = true;
    TAboutForm form;
    form.show();
    EXPECT_EQ(MemoLines(form), QStringList{"Firmware information is not accessible."});
    EXPECT_FALSE(LinkOpen());
}

TEST_F(About, DuringARunTheLinkIsLeftAlone)
{
    // The run has the link open.
    ASSERT_TRUE(OpenDevice());
    const int out = UsbOutHandle;
    const int opens = counting->Opens;
    const int writes = counting->Writes;
    {
        TRunLock run;
        TAboutForm form;
        form.show();
        EXPECT_EQ(MemoLines(form), QStringList{"Firmware information is not accessible."});
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0], "Tarku: " + RunInProgressText());
    }
    EXPECT_EQ(counting->Opens, opens);
    EXPECT_EQ(counting->Writes, writes);
    EXPECT_EQ(UsbOutHandle, out);
}

TEST_F(About, SplashHasNoButtonAndAsksNothing)
{
    TAboutForm form;
    form.SetSplashMode(true);
    EXPECT_TRUE(form.SplashMode());
    form.show();
    EXPECT_FALSE(form.SpeedButton1->isVisible());
    EXPECT_FALSE(form.Memo1->isVisible());
    EXPECT_FALSE(form.Label3->isVisible());
    EXPECT_TRUE(form.Label5->isVisible());
    EXPECT_EQ(form.Label1->text(), "Version 1.08");
    EXPECT_EQ(counting->Opens, 0);
    SaveScreenshot(form, "about_splash");
    const int splashHeight = form.height();

    // After the start-up the same window is the About box again.
    form.hide();
    form.SetSplashMode(false);
    form.show();
    EXPECT_TRUE(form.SpeedButton1->isVisible());
    EXPECT_TRUE(form.Memo1->isVisible());
    EXPECT_EQ(MemoLines(form).size(), 2);
    EXPECT_GT(form.height(), splashHeight); // room for memo and button again
}

TEST_F(About, OkClosesTheModalBox)
{
    TAboutForm form;
    EXPECT_EQ(testsupport::RunModalAnswered(form, [&] { form.SpeedButton1->click(); }), QDialog::Accepted);
    EXPECT_FALSE(LinkOpen());
}

TEST_F(About, LinksOpenTheirPagesThroughTheDesktop)
{
    TUrlCatcher browser;
    QDesktopServices::setUrlHandler("https", &browser, "Open");
    TAboutForm form;
    form.show();
    QTest::mouseClick(form.lbURL, Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseClick(form.HotLabel1, Qt::LeftButton, {}, QPoint(3, 3));
    QDesktopServices::unsetUrlHandler("https");
    ASSERT_EQ(browser.Urls.size(), 2);
    EXPECT_EQ(browser.Urls[0], QUrl(AboutHomeLink.Url));
    EXPECT_EQ(browser.Urls[1], QUrl(AboutSupportLink.Url));
    EXPECT_NE(browser.Urls[0], browser.Urls[1]);
    EXPECT_EQ(browser.Urls[0].host(), "tarku.example");
    EXPECT_TRUE(boxes.empty());
}

} // namespace

#include "AboutTest.moc"
