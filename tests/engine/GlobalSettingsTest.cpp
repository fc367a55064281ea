// The settings table's defaults: every variable the table lists goes back to
// its start-up value, whatever it held.
#include "engine/Global.h"
#include "engine/GlobalSettings.h"

#include "ProgramStateGuard.h"

#include <gtest/gtest.h>

#include <variant>

namespace {

// Sets every variable of the table to a value unlike its default.
void SpoilEverySetting()
{
    for (const TSetting& s : SettingsTable) {
        if (auto* text = std::get_if<std::string*>(&s.Variable))
            **text = s.TextDefault + "-changed";
        else if (auto* integer = std::get_if<int32_t*>(&s.Variable))
            **integer = s.IntegerDefault + 7;
        else if (auto* bits = std::get_if<uint32_t*>(&s.Variable))
            **bits = ~static_cast<uint32_t>(s.IntegerDefault);
        else
            *std::get<bool*>(s.Variable) = s.IntegerDefault == 0;
    }
}

bool HoldsDefault(const TSetting& s)
{
    if (auto* text = std::get_if<std::string*>(&s.Variable))
        return **text == s.TextDefault;
    if (auto* integer = std::get_if<int32_t*>(&s.Variable))
        return **integer == s.IntegerDefault;
    if (auto* bits = std::get_if<uint32_t*>(&s.Variable))
        return **bits == static_cast<uint32_t>(s.IntegerDefault);
    return *std::get<bool*>(s.Variable) == (s.IntegerDefault != 0);
}

TEST(GlobalSettings, RestoreDefaultSettingsPutsEveryVariableBack)
{
    testsupport::TProgramStateGuard state;
    SpoilEverySetting();
    RecentFiles = {"a.bin", "b.bin"};
    RecentSourceFiles = {"c.bin"};
    for (const TSetting& s : SettingsTable)
        ASSERT_FALSE(HoldsDefault(s)) << s.Section << "/" << s.Key;

    RestoreDefaultSettings();
    for (const TSetting& s : SettingsTable)
        EXPECT_TRUE(HoldsDefault(s)) << s.Section << "/" << s.Key;
    EXPECT_TRUE(RecentFiles.Empty());
    EXPECT_TRUE(RecentSourceFiles.Empty());
}

TEST(GlobalSettings, DefaultsAreTheStartUpValues)
{
    testsupport::TProgramStateGuard state;
    SpoilEverySetting();
    RestoreDefaultSettings();
    EXPECT_EQ(ComName, "COM1");
    EXPECT_EQ(SaveDirectory, "") << "the program folder comes with the settings";
    EXPECT_EQ(WorkParam, WorkParamDefault);
    EXPECT_EQ(PowerOnDelay, 200);
    EXPECT_EQ(UsbTimeOut, 200);
    EXPECT_EQ(DumpFontName, "FixedSys");
    EXPECT_EQ(MismatchFontColor, 0xFF8000);
    EXPECT_FALSE(ShowCodeSize);
    EXPECT_EQ(CalcTreeTop, 30);
}

} // namespace
