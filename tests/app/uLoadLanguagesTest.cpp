#include "app/uLoadLanguages.h"
#include "engine/Global.h"
#include "engine/LanguageTexts.h"
#include "platform/Cp1251.h"
#include "platform/IniFiles.h"
#include "platform/Paths.h"

#include "AppStateGuard.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

using testsupport::FixturePath;
using testsupport::ReadFileBytes;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace {

const std::string russianName = Utf8ToCp1251("Russian(Русский)");

// A program folder of its own with a Languages folder, and clean tables.
class Languages : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directory(dir.file("Languages"));
        SetProgramFolder(dir.path());
    }

    void language(const std::string& name, const std::string& bytes) const
    {
        WriteFileBytes(dir.file("Languages/" + name), bytes);
    }
    void fixtureLanguage(const std::string& name, const std::string& fixture) const
    {
        language(name, ReadFileBytes(FixturePath("app/" + fixture)));
    }

    testsupport::TAppStateGuard state;
    TempDir dir;
};

} // namespace

TEST(LanguageLine, NamesOnlyBracketedLines)
{
    const struct {
        const char* line;
        const char* name; // nullptr: not a language line
    } cases[] = {
        {"[English]", "English"},
        {"  [Deutsch]  ", "Deutsch"},
        {"\t[x]\r", "x"},
        {"[ a b ]", " a b "},
        {"\xEF\xBB\xBF[Deutsch]", "Deutsch"},
        {"[]", nullptr},
        {"  [] ", nullptr},
        {"", nullptr},
        {"    ", nullptr},
        {"[", nullptr},
        {"]", nullptr},
        {"[Deutsch", nullptr},
        {"Deutsch]", nullptr},
        {"x[Deutsch]", nullptr},
    };
    for (const auto& c : cases) {
        const auto name = LanguageNameFromLine(c.line);
        if (c.name) {
            ASSERT_TRUE(name.has_value()) << c.line;
            EXPECT_EQ(*name, c.name);
        } else {
            EXPECT_FALSE(name.has_value()) << c.line;
        }
    }
}

TEST(LanguageTable, HasEveryTagAndText)
{
    EXPECT_EQ(InterfaceTextTable().size(), 31u);
    EXPECT_EQ(InterfaceTextEntryCount(), 262);
    EXPECT_EQ(MessageKeyTable().size(), static_cast<size_t>(MessageCount));
}

// The English texts are the product's own wording, misspellings included.
TEST(LanguageTable, BuiltInEnglishMessagesAsWritten)
{
    const char* const expected[MessageCount] = {
        "Power pins are not defined in module",
        "Procedure not found: ",
        "Procedure not found: ",
        "Pattern not found",
        "TarkuUSB not present",
        "Power voltage not defined",
        "Incorrect address",
        "Power overload",
        " not found in device list.",
        "No picture",
        "Your file has been changed by another program. Do you want reload this file now?",
        "Are you shure to programming?",
        "Are you shure to programming?",
        "Save this parameters as default?",
        "Save editor data before exit?",
        "File size not correspond buffer size. Load anyway?",
        "Save editor data?",
    };
    TStringList messages;
    AppendBuiltInEnglishMessages(messages);
    ASSERT_EQ(messages.Count(), MessageCount);
    for (int n = 0; n < MessageCount; ++n)
        EXPECT_EQ(messages[n], expected[n]) << n;
    // Only 4 and 8 differ from what a language file lacking the key gives.
    EXPECT_EQ(std::string(MessageKeyTable()[4].Default), "Morvane not present");
    EXPECT_EQ(std::string(MessageKeyTable()[8].Default), "not found in device list");
}

TEST_F(Languages, ScanListsBracketedFilesOnly)
{
    language("ru.lng", "  " + std::string("[") + russianName + "]  \r\n[Main Menu]\r\n");
    language("empty.lng", "");
    language("blank.lng", "   \r\n[English]\r\n");
    language("nobracket.lng", "English\r\n");
    language("brackets.lng", "[]\r\n");
    language("bom.lng", "\xEF\xBB\xBF[Marked]\r\n");
    language("UPPER.LNG", "[Upper]\n");
    language("other.txt", "[Other]\r\n");
    std::filesystem::create_directory(dir.file("Languages/folder.lng"));

    ScanLanguageFiles();
    const TStringList expected{"Upper", "UPPER.LNG", "Marked", "bom.lng", russianName, "ru.lng"};
    EXPECT_EQ(LanguageList, expected);

    // A second scan starts afresh.
    ScanLanguageFiles();
    EXPECT_EQ(LanguageList.Count(), 6);
}

TEST_F(Languages, ScanWithoutFolderLeavesListEmpty)
{
    std::filesystem::remove(dir.file("Languages"));
    LanguageList.Add("stale");
    ScanLanguageFiles();
    EXPECT_TRUE(LanguageList.Empty());
}

TEST_F(Languages, FileWithOnlyItsNameGivesAllDefaults)
{
    language("ru.lng", "[" + russianName + "]\r\n");
    ScanLanguageFiles();
    ASSERT_TRUE(LoadLanguageFile(russianName));

    ASSERT_EQ(LanguageTexts.Count(), 262);
    int i = 0;
    for (const auto& tag : InterfaceTextTable()) {
        EXPECT_EQ(LanguageTexts[i++], tag.Tag);
        for (const auto& key : tag.Keys)
            EXPECT_EQ(LanguageTexts[i++], Utf8ToCp1251(key.Default)) << tag.Tag << " " << key.Key;
    }
    // The Cyrillic defaults arrive in code page 1251.
    EXPECT_EQ(LanguageText("[EDITOR]", 1, "-"), "\xCF\xE0\xF0\xE0\xEC\xE5\xF2\xF0\xFB \xF0\xE5\xE4\xE0\xEA\xF2\xEE\xF0\xE0");
    EXPECT_EQ(LanguageText("[DUMPS_WINDOW]", 6, "-"), "\xCF\xE0\xEF\xEA\xE0");

    ASSERT_EQ(MessageTexts.Count(), MessageCount);
    for (int n = 0; n < MessageCount; ++n)
        EXPECT_EQ(MessageTexts[n], MessageKeyTable()[static_cast<size_t>(n)].Default);
    EXPECT_EQ(MessageText(msgProgrammerNotPresent), "Morvane not present");
    EXPECT_EQ(MessageText(msgSaveBeforeLoad), "Save editor data?");
    EXPECT_EQ(DataLabelText, "Data");
}

TEST_F(Languages, EmptyMessagesTakeTheBuiltInText)
{
    language("ru.lng", "[" + russianName + "]\r\n[Error messages]\r\nMorvane not present=\r\n"
                       "Power overload=Overload!\r\n[Ack]\r\nSaveBeforeLoad=\r\n");
    ScanLanguageFiles();
    ASSERT_TRUE(LoadLanguageFile(russianName));
    EXPECT_EQ(MessageText(msgProgrammerNotPresent), "TarkuUSB not present");
    EXPECT_EQ(MessageText(msgSaveBeforeLoad), "Save editor data?");
    EXPECT_EQ(MessageText(msgPowerOverload), "Overload!");
}

TEST_F(Languages, KeysReplaceDefaultsByPosition)
{
    fixtureLanguage("part.lng", "partial.lng");
    ScanLanguageFiles();
    ASSERT_EQ(LanguageList.Count(), 2);
    EXPECT_EQ(LanguageList[0], russianName);
    // Names are matched without regard to case.
    ASSERT_TRUE(LoadLanguageFile(AnsiUpperCase(russianName)));

    const std::string cancel = Utf8ToCp1251("Отмена");
    // One key read at two offsets gives the same text at both.
    EXPECT_EQ(LanguageText("[COMMON_BUTTONS]", 2, "-"), cancel);
    EXPECT_EQ(LanguageText("[COMMON_BUTTONS]", 13, "-"), cancel);
    // Quotes keep blanks; missing keys take the default of their position.
    EXPECT_EQ(LanguageText("[COMMON_BUTTONS]", 3, "-"), Utf8ToCp1251("  Справка  "));
    EXPECT_EQ(LanguageText("[COMMON_BUTTONS]", 4, "-"), "&Close");
    EXPECT_EQ(LanguageText("[PARAMETERS_WINDOW]", 3, "-"), Utf8ToCp1251("Задержка"));
    EXPECT_EQ(LanguageText("[PARAMETERS_WINDOW]", 4, "-"), "USB timeout");

    EXPECT_EQ(AddressLabelText, "Address");
    EXPECT_EQ(DataLabelText, Utf8ToCp1251("Данные"));
    EXPECT_EQ(MessageText(msgPowerOverload), Utf8ToCp1251("Перегрузка"));
    EXPECT_EQ(MessageText(msgPatternNotFound), "Pattern not found");
}

TEST_F(Languages, UnknownOrVanishedLanguageLoadsNothing)
{
    language("ru.lng", "[" + russianName + "]\r\n");
    ScanLanguageFiles();
    EXPECT_FALSE(LoadLanguageFile("Deutsch"));
    // A file name is not a language name.
    EXPECT_FALSE(LoadLanguageFile("ru.lng"));
    std::filesystem::remove(dir.file("Languages/ru.lng"));
    EXPECT_FALSE(LoadLanguageFile(russianName));
    EXPECT_TRUE(LanguageTexts.Empty());
    EXPECT_TRUE(MessageTexts.Empty());
}

TEST_F(Languages, EnglishIsBuiltInButLowerCaseSearchesFiles)
{
    language("en.lng", "[English]\r\n[Error messages]\r\nPower overload=From the file\r\n");

    SetUpLanguageTables("English");
    EXPECT_TRUE(LanguageTexts.Empty());
    ASSERT_EQ(MessageTexts.Count(), MessageCount);
    EXPECT_EQ(MessageText(msgProgrammerNotPresent), "TarkuUSB not present");
    EXPECT_EQ(MessageText(msgDeviceNotFound), " not found in device list.");
    EXPECT_EQ(MessageText(msgSaveBeforeLoad), "Save editor data?");

    MessageTexts.Clear();
    SetUpLanguageTables("english");
    EXPECT_EQ(LanguageTexts.Count(), 2 * 262);
    EXPECT_EQ(MessageTexts.Count(), 2 * MessageCount);
    EXPECT_EQ(MessageText(msgPowerOverload), "From the file");
}

// Mended fault: a language whose file cannot be loaded left the message
// table empty, so every later message came up empty.
TEST_F(Languages, MissingLanguageFileFallsBackToEnglishMessages)
{
    SetUpLanguageTables(russianName);
    EXPECT_TRUE(LanguageTexts.Empty());
    ASSERT_EQ(MessageTexts.Count(), MessageCount);
    EXPECT_EQ(MessageText(msgPowerOverload), "Power overload");
    EXPECT_EQ(MessageText(msgProgrammerNotPresent), "TarkuUSB not present");
    EXPECT_EQ(AddressLabelText, "Address");

    // Even a table that nobody filled answers with the built-in texts.
    MessageTexts.Clear();
    EXPECT_EQ(MessageText(msgSaveBeforeExit), "Save editor data before exit?");
    EXPECT_EQ(MessageText(-1), "");
    EXPECT_EQ(MessageText(MessageCount), "");
}

TEST_F(Languages, StartUpLoadsTwiceAndTheFirstCopyWins)
{
    fixtureLanguage("part.lng", "partial.lng");
    SetUpLanguageTables(russianName);
    EXPECT_EQ(LanguageTexts.Count(), 2 * 262);
    EXPECT_EQ(MessageTexts.Count(), 2 * MessageCount);
    EXPECT_EQ(LanguageTagIndex("[CALC_TREE]"), 0);
    EXPECT_EQ(DataLabelText, Utf8ToCp1251("Данные"));
    EXPECT_EQ(EditorLabelText, "Editor");
}

TEST_F(Languages, LookupByTagAndOffset)
{
    language("ru.lng", "[" + russianName + "]\r\n[Language]\r\nCaption=Choose\r\n");
    ScanLanguageFiles();
    ASSERT_TRUE(LoadLanguageFile(russianName));

    // Tags match without regard to case.
    EXPECT_EQ(LanguageText("[Language]", 1, "own"), "Choose");
    EXPECT_EQ(LanguageText("[LANGUAGE]", 2, "own"), "Restart program after choice of language");
    // Offset 0 is the tag line itself.
    EXPECT_EQ(LanguageText("[Language]", 0, "own"), "[LANGUAGE]");
    // An absent tag, or an offset past the table, keeps the window's own text.
    EXPECT_EQ(LanguageText("[NO_SUCH_TAG]", 1, "own"), "own");
    EXPECT_EQ(LanguageText("[Addon]", 4, "own"), "own");
    EXPECT_EQ(LanguageText("[Addon]", -1, "own"), "own");
    EXPECT_EQ(LanguageText("[Addon]", 3, "own"), "Install");

    LanguageTexts.Clear();
    EXPECT_FALSE(TLanguageGroup("[LANGUAGE]").Found());
    EXPECT_EQ(LanguageText("[LANGUAGE]", 1, "own"), "own");
}

// The shipped Russian file names its language, carries every key of the
// tables and holds code page 1251 text.
TEST_F(Languages, ShippedRussianFileIsComplete)
{
    language("ru.lng", ReadFileBytes(testsupport::DataPath("Languages/ru.lng")));
    ScanLanguageFiles();
    ASSERT_EQ(LanguageList.Count(), 2);
    EXPECT_EQ(LanguageList[0], russianName);

    const TIniFile ini(testsupport::DataPath("Languages/ru.lng"));
    for (const auto& tag : InterfaceTextTable())
        for (const auto& key : tag.Keys)
            EXPECT_TRUE(ini.ValueExists(tag.Section, key.Key)) << tag.Section << " / " << key.Key;
    for (const auto& message : MessageKeyTable())
        EXPECT_TRUE(ini.ValueExists(message.Section, message.Key)) << message.Section << " / " << message.Key;
    for (const auto& caption : BufferCaptionTable())
        EXPECT_TRUE(ini.ValueExists("Buffer", caption.Key)) << caption.Key;

    ASSERT_TRUE(LoadLanguageFile(russianName));
    EXPECT_EQ(LanguageText("[COMMON_BUTTONS]", 2, "-"), Utf8ToCp1251("Отмена"));
    EXPECT_EQ(MessageText(msgErrorExecuteCommand), Utf8ToCp1251("Процедура не найдена: "));
    EXPECT_EQ(AddressLabelText, Utf8ToCp1251("Адрес"));
}
