#include "Screenshot.h"
#include "engine/forms/uSetDelay.h"
#include "engine/Global.h"
#include "engine/LanguageTexts.h"
#include "platform/Cp1251.h"
#include "platform/IniFiles.h"
#include "platform/MessageBox.h"

#include "ProgramStateGuard.h"
#include "TestSupport.h"
#include "ModalAnswer.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

constexpr uint32_t otherBits = 0xFFFFFFFFu & ~SetDelayOptionMask;

// Settings and language tables of each test, put back afterwards.
class SetDelay : public ::testing::Test {
protected:
    void SetUp() override
    {
        WorkParam = 0;
        previousHandler = SetMessageBoxHandler([this](const std::string& text, const std::string&, unsigned) {
            messages.push_back(text);
            return IDOK;
        });
    }
    void TearDown() override { SetMessageBoxHandler(previousHandler); }

    testsupport::TProgramStateGuard state;
    MessageBoxHandler previousHandler;
    std::vector<std::string> messages;
};

// The language group of a tag, filled from the shipped Russian file.
void addRussianGroup(const std::string& tag, const std::string& section, const std::vector<const char*>& keys)
{
    const TIniFile ini(testsupport::DataPath("Languages/ru.lng"));
    AddLanguageTag(LanguageTexts, tag);
    for (const char* key : keys)
        LanguageTexts.Add(ini.ReadString(section, key, "?"));
}

void addRussianTables()
{
    addRussianGroup("[COMMON_BUTTONS]", "Common buttons",
                    {"Apply", "Cancel", "Help", "Close", "Select", "Change", "Browse", "Copy", "Continue",
                     "Use config", "Insert", "Find", "Cancel", "Find next", "Save", "Refresh"});
    addRussianGroup("[PARAMETERS_WINDOW]", "Parameters window",
                    {"Caption", "Timeout milliseconds caption", "Power On delay caption", "USB timeout", "Ack write",
                     "Ack write changes", "Verify after write", "Force close", "After read", "After write",
                     "After verify", "Ignore overload", "Pin test", "Hardware", "Programming"});
}

void grab(TfmSetDelay& form, const std::string& name)
{
    form.show();
    for (int page = 0; page < 2; ++page) {
        form.PageControl1->setCurrentIndex(page);
        SaveScreenshot(form, name + "_" + std::to_string(page + 1));
    }
    form.hide();
}

// Shows the dialog while `button` is clicked; a dialog still open after a
// ceiling that only a hang reaches is rejected and fails the test instead
// of hanging it.
int ShowAnswered(TfmSetDelay& form, QPushButton* button)
{
    return testsupport::RunModalAnswered(form, [button] { button->click(); },
                                         [&form] { return ShowSetDelayDialog(form); });
}

} // namespace

TEST_F(SetDelay, ApplySetsDelayTimeOutAndItsBitsOnly)
{
    WorkParam = otherBits;
    TDeviceParameters values{"350", 40, wpAskBeforeWrite | wpIgnoreOverload | wpPinTestBeforeRun};
    EXPECT_EQ(ApplyDeviceParameters(values), "");
    EXPECT_EQ(PowerOnDelay, 350);
    EXPECT_EQ(UsbTimeOut, 40);
    EXPECT_EQ(WorkParam, otherBits | wpAskBeforeWrite | wpIgnoreOverload | wpPinTestBeforeRun);

    // Bits outside the window's own are never touched.
    WorkParam = SetDelayOptionMask;
    EXPECT_EQ(ApplyDeviceParameters({"1000", 1, 0xFFFFFFFFu & ~SetDelayOptionMask}), "");
    EXPECT_EQ(WorkParam, 0u);
}

// Mended fault: the time-out used to be stored before the delay text was
// converted, so a bad delay left a half-applied change.
TEST_F(SetDelay, BadDelayChangesNothing)
{
    for (const char* text : {"", "abc", "12x", "0", "1001", "-5", "99999999999"}) {
        WorkParam = wpVerifyAfterWrite;
        const std::string error = ApplyDeviceParameters({text, 77, wpAskBeforeWrite});
        EXPECT_FALSE(error.empty()) << text;
        EXPECT_EQ(PowerOnDelay, 200) << text;
        EXPECT_EQ(UsbTimeOut, 200) << text;
        EXPECT_EQ(WorkParam, wpVerifyAfterWrite) << text;
    }
    EXPECT_EQ(ApplyDeviceParameters({"abc", 1, 0}), "'abc' is not a valid integer value");
}

TEST_F(SetDelay, ShowsTheSettingsAndOkAppliesThem)
{
    PowerOnDelay = 123;
    UsbTimeOut = 45;
    WorkParam = otherBits | wpCloseAfterWrite | wpParametersOption;
    TfmSetDelay form;
    form.FormShow();
    EXPECT_EQ(form.SpinEdit1->value(), 123);
    EXPECT_EQ(form.SpinEdit2->value(), 45);
    const std::pair<QCheckBox*, bool> boxes[] = {
        {form.cbAckWrite, false}, {form.cbAckWriteChanges, true}, {form.cbVerify, false},
        {form.CheckBox5, false},  {form.CheckBox6, true},         {form.CheckBox7, false},
        {form.CheckBox10, false}, {form.cbPinTest, false},
    };
    for (const auto& [box, checked] : boxes)
        EXPECT_EQ(box->isChecked(), checked) << box->objectName().toStdString();
    EXPECT_EQ(form.Values().OptionBits, wpCloseAfterWrite | wpParametersOption);

    form.SpinEdit1->setValue(500);
    form.SpinEdit2->setValue(9);
    form.cbPinTest->setChecked(true);
    form.CheckBox6->setChecked(false);
    form.SpeedButton1Click();
    EXPECT_EQ(form.Tag, 1);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(PowerOnDelay, 500);
    EXPECT_EQ(UsbTimeOut, 9);
    EXPECT_EQ(WorkParam, otherBits | wpParametersOption | wpPinTestBeforeRun);
    EXPECT_TRUE(messages.empty());
}

TEST_F(SetDelay, CancelAndBadTextLeaveTheSettings)
{
    TfmSetDelay form;
    form.FormShow();
    form.SpinEdit2->setValue(9);
    form.cbVerify->setChecked(true);
    form.SpeedButton2Click();
    EXPECT_EQ(form.Tag, 0);
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_EQ(UsbTimeOut, 200);
    EXPECT_EQ(WorkParam, 0u);

    // An emptied delay field: the window reports it and stays open.
    form.show();
    form.SpinEdit2->setValue(9);
    form.SpinEdit1->findChild<QLineEdit*>()->setText("");
    form.SpeedButton1Click();
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.Tag, 0);
    EXPECT_EQ(UsbTimeOut, 200);
    EXPECT_EQ(PowerOnDelay, 200);
}

TEST_F(SetDelay, ShowDialogReturnsZeroAfterOkAndOneAfterCancel)
{
    TfmSetDelay form;
    EXPECT_EQ(ShowAnswered(form, form.SpeedButton1), 0);
    EXPECT_EQ(ShowAnswered(form, form.SpeedButton2), 1);
}

TEST_F(SetDelay, HelpAsksForItsTopic)
{
    TfmSetDelay form;
    int topic = 0;
    QObject::connect(&form, &TfmSetDelay::HelpRequested, [&](int context) { topic = context; });
    form.SpeedButton3->setEnabled(true);
    form.SpeedButton3->click();
    EXPECT_EQ(topic, 11);
}

TEST_F(SetDelay, KeepsItsOwnCaptionsWithoutLanguageAndTakesTheTable)
{
    {
        TfmSetDelay form;
        EXPECT_EQ(form.windowTitle(), "Programming");
        EXPECT_EQ(form.Label7->text(), "ms");
        EXPECT_EQ(form.Label2->text(), "milliseconds");
        EXPECT_EQ(form.cbAckWrite->text(), "Ack aknowledgement before write");
        EXPECT_EQ(form.SpeedButton2->text(), "Cancel");
        grab(form, "setdelay_en");
    }
    addRussianTables();
    TfmSetDelay form;
    const TIniFile ini(testsupport::DataPath("Languages/ru.lng"));
    auto file = [&](const char* section, const char* key) {
        return Cp1251ToQString(ini.ReadString(section, key, "?"));
    };
    EXPECT_EQ(form.windowTitle(), file("Parameters window", "Caption"));
    // Both unit labels take the same entry.
    EXPECT_EQ(form.Label7->text(), file("Parameters window", "Timeout milliseconds caption"));
    EXPECT_EQ(form.Label2->text(), form.Label7->text());
    EXPECT_EQ(form.Label1->text(), file("Parameters window", "Power On delay caption"));
    EXPECT_EQ(form.GroupBox7->title(), file("Parameters window", "Force close"));
    EXPECT_EQ(form.cbPinTest->text(), file("Parameters window", "Pin test"));
    EXPECT_EQ(form.PageControl1->tabText(1), file("Parameters window", "Programming"));
    EXPECT_EQ(form.SpeedButton2->text(), file("Common buttons", "Cancel"));
    EXPECT_EQ(form.SpeedButton3->text(), file("Common buttons", "Help"));
    EXPECT_EQ(form.SpeedButton1->text(), "OK");
    grab(form, "setdelay_ru");
}
