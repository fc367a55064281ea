#include "app/IniFile.h"

#include "engine/Global.h"
#include "engine/GlobalSettings.h"
#include "platform/IniFiles.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"

#include "AppStateGuard.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

using testsupport::FixturePath;
using testsupport::ReadFileBytes;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace {

// Each test gets its own program folder, holding the settings file.
class Settings : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedFolder_ = ProgramFolder();
        SetProgramFolder(dir_.path());
        previousHandler_ = SetMessageBoxHandler([this](const std::string& text, const std::string& caption,
                                                       unsigned flags) {
            messages_.push_back({text, caption, flags});
            return IDOK;
        });
        scrambleSettings();
    }
    void TearDown() override
    {
        SetMessageBoxHandler(previousHandler_);
        SetProgramFolder(savedFolder_);
    }

    std::string iniPath() const { return dir_.file("TARKU.INI"); }
    void LoadSettingsFrom(const std::string& bytes)
    {
        WriteFileBytes(iniPath(), bytes);
        LoadSettings();
    }

    // Values that differ from every default, so a test sees what loading set.
    static void scrambleSettings()
    {
        for (const TSetting& s : SettingsTable) {
            if (auto* text = std::get_if<std::string*>(&s.Variable))
                **text = "scrambled";
            else if (auto* integer = std::get_if<int32_t*>(&s.Variable))
                **integer = -12345;
            else if (auto* bits = std::get_if<uint32_t*>(&s.Variable))
                **bits = 0xDEADBEEF;
            else
                *std::get<bool*>(s.Variable) = true;
        }
        RecentSourceFiles = {"scrambled"};
        RecentFiles = {"scrambled"};
    }

    struct Message {
        std::string text, caption;
        unsigned flags;
    };
    testsupport::TAppStateGuard state_;
    TempDir dir_;
    std::string savedFolder_;
    MessageBoxHandler previousHandler_;
    std::vector<Message> messages_;
};

void expectDefaults()
{
    EXPECT_EQ(WorkParam, 0x3B713BFFu);
    EXPECT_EQ(ConfigFile, "scripts.cfg");
    EXPECT_EQ(ComName, "COM1");
    EXPECT_EQ(SaveDirectory, ProgramFolder());
    EXPECT_EQ(LibraryFolder, "");
    EXPECT_EQ(LanguageName, "");
    EXPECT_EQ(DumpFontName, "FixedSys");
    EXPECT_FALSE(ShowCodeSize);
    const struct {
        const char* name;
        int32_t value;
        int32_t expected;
    } integers[] = {
        {"DelayValue", DelayValue, 1000},
        {"ChipNameFontStyle", ChipNameFontStyle, 1},
        {"SwapBytesInWordMode", SwapBytesInWordMode, 1},
        {"UserInterface", UserInterface, 0},
        {"HidedButtons", HidedButtons, 8191},
        {"PowerOnDelay", PowerOnDelay, 200},
        {"OpenFileExtension", OpenFileExtension, 1},
        {"SaveFileExtension", SaveFileExtension, 1},
        {"DumpViewWidth", DumpViewWidth, 100},
        {"DumpViewHeight", DumpViewHeight, 100},
        {"CalcViewWidth", CalcViewWidth, 100},
        {"CalcViewHeight", CalcViewHeight, 100},
        {"CheckPowerVoltage", CheckPowerVoltage, 1},
        {"ChipTreeWidth", ChipTreeWidth, 200},
        {"CalcTreeWidth", CalcTreeWidth, 225},
        {"CompilerLongStrings", CompilerLongStrings, 0},
        {"State", MainWindowState, 1},
        {"BuiltInCalcH", BuiltInCalcH, 200},
        {"Serial TimeOut", SerialTimeOut, 100},
        {"Serial BufferSize", SerialBufferSize, 256},
        {"USB TimeOut", UsbTimeOut, 200},
        {"USB BlockMode", UsbBlockModeSetting, 0},
        {"FontSize", DumpFontSize, 10},
        {"FontStyle", DumpFontStyle, 0},
        {"DefaultBackGround", DefaultBackGround, 0xFFFFFF},
        {"DefaultFontColor", DefaultFontColor, 0},
        {"SelectionFontColor", SelectionFontColor, 0xFFFFFF},
        {"SelectionBackGround", SelectionBackGround, 0x800000},
        {"AddressFontColor", AddressFontColor, 0xFF0000},
        {"MismatchFontColor", MismatchFontColor, 0xFF8000},
        {"EditorMode", EditorMode, 1},
        {"Print Parameters", PrintParameters, 0},
        {"MemoH", CalcWindowMemoH, 60},
        {"UndockHeight", CalcTreeUndockHeight, 400},
        {"UndockWidth", CalcTreeUndockWidth, 300},
        {"Left", CalcTreeLeft, 30},
        {"Top", CalcTreeTop, 30},
    };
    for (const auto& c : integers)
        EXPECT_EQ(c.value, c.expected) << c.name;
    for (const std::string* text : {&XorFileName, &DumpFileName, &LastCalc, &ChipName, &PrintFolder, &PrintFileName})
        EXPECT_EQ(*text, "");
    EXPECT_TRUE(RecentSourceFiles.Empty());
    EXPECT_TRUE(RecentFiles.Empty());
}

} // namespace

TEST_F(Settings, EmptyFileYieldsAllDefaults)
{
    LoadSettingsFrom("");
    expectDefaults();
}

TEST_F(Settings, MissingFileYieldsAllDefaults)
{
    LoadSettings();
    expectDefaults();
    EXPECT_FALSE(std::filesystem::exists(iniPath())) << "loading must not create the file";
}

TEST_F(Settings, GarbageValuesReadAsDefaults)
{
    LoadSettingsFrom("[Parameters]\r\nWorkParam=lots\r\nPowerOnDelay=\r\nDelayValue=12abc\r\n"
                     "[USB]\r\nTimeOut=99999999999\r\n[Dump]\r\nFontSize=0x\r\n");
    EXPECT_EQ(WorkParam, WorkParamDefault);
    EXPECT_EQ(PowerOnDelay, 200);
    EXPECT_EQ(DelayValue, 1000);
    EXPECT_EQ(UsbTimeOut, 200);
    EXPECT_EQ(DumpFontSize, 10);
}

TEST_F(Settings, NamesIgnoreCaseAndFirstOccurrenceWins)
{
    LoadSettingsFrom("[PARAMETERS]\nconfigfile=a.cfg\nConfigFile=b.cfg\nlanguage=English\n"
                     "[parameters]\nComName=COM5\n[usb]\ntimeout=7\n[Serial]\nTIMEOUT=9\n");
    EXPECT_EQ(ConfigFile, "a.cfg");
    EXPECT_EQ(LanguageName, "English");
    EXPECT_EQ(ComName, "COM1") << "a second section of the same name is not read";
    EXPECT_EQ(UsbTimeOut, 7);
    EXPECT_EQ(SerialTimeOut, 9);
}

TEST_F(Settings, TwoSizesUnder20ReadAs100)
{
    const struct {
        const char* value;
        int32_t expected;
    } cases[] = {{"5", 100}, {"19", 100}, {"20", 20}, {"640", 640}, {"-30", 100}, {"0", 100}};
    for (const auto& c : cases) {
        LoadSettingsFrom(std::string("[Parameters]\r\nDumpViewwidth=") + c.value + "\r\nDumpViewHeight=" + c.value +
                         "\r\nCalcViewWidth=" + c.value + "\r\nCalcViewHeight=" + c.value + "\r\n");
        EXPECT_EQ(DumpViewWidth, c.expected) << c.value;
        EXPECT_EQ(DumpViewHeight, c.expected) << c.value;
        // The calculator sizes take whatever is stored.
        EXPECT_EQ(CalcViewWidth, std::stoi(c.value));
        EXPECT_EQ(CalcViewHeight, std::stoi(c.value));
    }
}

TEST_F(Settings, ExtremeValuesAreBroughtIntoRange)
{
    const struct {
        const char* section;
        const char* key;
        int32_t& variable;
        int32_t low, high;
    } cases[] = {
        {"Parameters", "PowerOnDelay", PowerOnDelay, 1, 1000},
        {"USB", "TimeOut", UsbTimeOut, 1, 1000},
        {"Serial", "TimeOut", SerialTimeOut, 1, 60000},
        {"Serial", "BufferSize", SerialBufferSize, 16, 65536},
        {"Dump", "FontSize", DumpFontSize, 6, 72},
    };
    for (const auto& c : cases) {
        const std::string head = std::string("[") + c.section + "]\r\n" + c.key + "=";
        LoadSettingsFrom(head + "2147483647\r\n");
        EXPECT_EQ(c.variable, c.high) << c.section << " " << c.key;
        LoadSettingsFrom(head + "-2147483648\r\n");
        EXPECT_EQ(c.variable, c.low) << c.section << " " << c.key;
        LoadSettingsFrom(head + "0\r\n");
        EXPECT_EQ(c.variable, c.low) << c.section << " " << c.key;
        LoadSettingsFrom(head + std::to_string(c.high) + "\r\n");
        EXPECT_EQ(c.variable, c.high) << "the window's own limit stays";
    }
    EXPECT_TRUE(messages_.empty()) << "said nowhere";
}

TEST_F(Settings, EveryOptionBitSurvivesTheFile)
{
    const struct {
        const char* stored;
        uint32_t expected;
    } cases[] = {
        {"997276671", 0x3B713BFF}, {"0x3B713BFF", 0x3B713BFF}, {"$FFFFFFFF", 0xFFFFFFFF},
        {"-1", 0xFFFFFFFF},        {"-2147483648", 0x80000000}, {"0", 0},
    };
    for (const auto& c : cases) {
        LoadSettingsFrom(std::string("[Parameters]\r\nWorkParam=") + c.stored + "\r\n");
        EXPECT_EQ(WorkParam, c.expected) << c.stored;
        ASSERT_TRUE(SaveSettings());
        WorkParam = 12345;
        LoadSettings();
        EXPECT_EQ(WorkParam, c.expected) << c.stored << " after a round trip";
    }
}

TEST_F(Settings, FilesCountDecidesHowManyAreRead)
{
    std::string twenty = "[Files]\r\n";
    for (int i = 1; i <= 20; ++i)
        twenty += "File" + std::to_string(i) + "=f" + std::to_string(i) + ".bin\r\n";
    const struct {
        const char* name;
        std::string file;
        TStringList expected;
    } cases[] = {
        {"at most 16", twenty,
         {"f1.bin", "f2.bin", "f3.bin", "f4.bin", "f5.bin", "f6.bin", "f7.bin", "f8.bin", "f9.bin", "f10.bin",
          "f11.bin", "f12.bin", "f13.bin", "f14.bin", "f15.bin", "f16.bin"}},
        {"one key reads only File1", "[Files]\r\nFile3=c.bin\r\n", {}},
        {"empty values are skipped", "[Files]\r\nFile1=a.bin\r\nFile2=\r\nFile3=c.bin\r\n", {"a.bin", "c.bin"}},
        {"numbers, not file order", "[Files]\r\nFile2=b.bin\r\nOther=x\r\nFile1=a.bin\r\n", {"a.bin", "b.bin"}},
        {"gaps lose the last entries", "[Files]\r\nFile1=a.bin\r\nFile3=c.bin\r\n", {"a.bin"}},
    };
    for (const auto& c : cases) {
        LoadSettingsFrom(c.file);
        EXPECT_EQ(RecentSourceFiles, c.expected) << c.name;
    }
}

TEST_F(Settings, FilesAreRenumberedFromOne)
{
    LoadSettingsFrom("[files]\r\nFile1=a.bin\r\nFile2=\r\nFile3=c.bin\r\n[Files]\r\nFile9=old.bin\r\n");
    RecentSourceFiles.Add("d.bin");
    ASSERT_TRUE(SaveSettings());
    TIniFile ini(iniPath());
    EXPECT_EQ(ini.ReadSectionValues("Files"), (TStringList{"File1=a.bin", "File2=c.bin", "File3=d.bin"}));
    const std::string saved = ReadFileBytes(iniPath());
    EXPECT_EQ(saved.find("iles]"), saved.rfind("iles]")) << "one Files section: " << saved;
    EXPECT_EQ(saved.find("old.bin"), std::string::npos) << saved;
}

TEST_F(Settings, RecentFilesTakeEveryLineInOrder)
{
    LoadSettingsFrom("[Recent files]\r\n0=a.bin\r\n7=b.bin\r\n0=c.bin\r\n; comment\r\nx=C:\\d=e.bin\r\n");
    EXPECT_EQ(RecentFiles, (TStringList{"a.bin", "b.bin", "c.bin", "C:\\d=e.bin"}));

    LoadSettingsFrom("[Recent files]\r\n0=a.bin\r\n7=b.bin\r\n");
    EXPECT_EQ(RecentFiles, (TStringList{"a.bin", "b.bin"}));
    ASSERT_TRUE(SaveSettings());
    const std::string saved = ReadFileBytes(iniPath());
    EXPECT_NE(saved.find("[Recent Files]\r\n0=a.bin\r\n1=b.bin\r\n"), std::string::npos) << saved;
    EXPECT_EQ(saved.find("Recent files"), std::string::npos) << saved;
    EXPECT_EQ(saved.find("7=b.bin"), std::string::npos) << saved;
}

TEST_F(Settings, EmptyListsLeaveNoSection)
{
    LoadSettingsFrom("[Files]\r\nFile1=a.bin\r\n[Recent Files]\r\n0=a.bin\r\n");
    RecentSourceFiles.Clear();
    RecentFiles.Clear();
    ASSERT_TRUE(SaveSettings());
    TIniFile ini(iniPath());
    EXPECT_FALSE(ini.SectionExists("Files"));
    EXPECT_FALSE(ini.SectionExists("Recent Files"));
}

// Load a hand-edited file and save it unchanged: unknown keys, comments,
// other sections and line ends stay; every key is written, read-only keys
// keep their stored text, the written-only keys appear.
TEST_F(Settings, RoundTripKeepsTheRestOfTheFile)
{
    WriteFileBytes(iniPath(), ReadFileBytes(FixturePath("app/roundtrip.ini")));
    LoadSettings();
    EXPECT_EQ(ComName, "COM7");
    EXPECT_EQ(ConfigFile, "my.cfg");
    EXPECT_EQ(DumpViewWidth, 100);
    EXPECT_EQ(SwapBytesInWordMode, 0);
    EXPECT_EQ(DumpFontName, "Courier New");
    EXPECT_EQ(EditorMode, 0);
    EXPECT_EQ(LanguageName, "Russian(\xD0\xF3\xF1\xF1\xEA\xE8\xE9)");
    EXPECT_EQ(RecentSourceFiles, (TStringList{"C:\\work\\a.bin", "C:\\work\\b.bin"}));
    EXPECT_EQ(RecentFiles, (TStringList{"x.bin", "y.bin"}));

    SwapBytesInWordMode = 5; // read-only: its stored text stays
    ASSERT_TRUE(SaveSettings());
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(ReadFileBytes(iniPath()), ReadFileBytes(FixturePath("app/roundtrip-saved.ini")));

    // Saving what was just loaded changes nothing more.
    LoadSettings();
    ASSERT_TRUE(SaveSettings());
    EXPECT_EQ(ReadFileBytes(iniPath()), ReadFileBytes(FixturePath("app/roundtrip-saved.ini")));
}

TEST_F(Settings, NewFileHoldsEveryWrittenKey)
{
    LoadSettings();
    ASSERT_TRUE(SaveSettings());
    TIniFile ini(iniPath());
    for (const TSetting& s : SettingsTable)
        EXPECT_EQ(ini.ValueExists(s.Section, s.Key), !(s.Flags & sfReadOnly)) << s.Section << " " << s.Key;
    for (const char* key : {"ChipNameFontSize", "ChipNameFontColor", "ChipNameBackColor"})
        EXPECT_EQ(ini.ReadString("Parameters", key, "-"), "0") << key;
    EXPECT_EQ(ini.ReadString("Parameters", "ChipNameFontName", "-"), "");
    EXPECT_EQ(ini.ReadString("Parameters", "WorkParam", ""), "997276671");
    EXPECT_EQ(ini.ReadString("Parameters", "SaveDirectory", ""), ProgramFolder());

    // What was written reads back as the same values.
    scrambleSettings();
    LoadSettings();
    expectDefaults();
}

TEST_F(Settings, ChangedValuesAreWrittenBack)
{
    LoadSettings();
    WorkParam = WorkParamDefault & ~wpToolBarVisible;
    LibraryFolder = "D:\\Lib\\";
    MainWindowState = 0;
    EditorMode = 0;
    CalcTreeLeft = -5;
    PrintFolder = "C:\\Print\\";
    RecentFiles = {"one.bin", "two.hex"};
    ASSERT_TRUE(SaveSettings());
    scrambleSettings();
    LoadSettings();
    EXPECT_EQ(WorkParam, WorkParamDefault & ~wpToolBarVisible);
    EXPECT_EQ(LibraryFolder, "D:\\Lib\\");
    EXPECT_EQ(MainWindowState, 0);
    EXPECT_EQ(EditorMode, 0);
    EXPECT_EQ(CalcTreeLeft, -5);
    EXPECT_EQ(PrintFolder, "C:\\Print\\");
    EXPECT_EQ(RecentFiles, (TStringList{"one.bin", "two.hex"}));
}

TEST_F(Settings, FailedWriteIsReportedAndKeepsTheOldFile)
{
    // A folder in the settings file's place: reading finds nothing, and the
    // finished temporary cannot be renamed over it.
    std::filesystem::create_directory(iniPath());
    LoadSettings();
    EXPECT_FALSE(SaveSettings());
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].caption, "Tarku");
    EXPECT_NE(messages_[0].text.find("TARKU.INI"), std::string::npos) << messages_[0].text;
    EXPECT_EQ(messages_[0].flags, MB_OK | MB_ICONERROR);
    EXPECT_TRUE(std::filesystem::is_directory(iniPath()));
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path()))
        EXPECT_EQ(entry.path().string().find(".tarku~"), std::string::npos) << entry.path();

    messages_.clear();
    SetProgramFolder(dir_.file("no such folder"));
    EXPECT_FALSE(SaveSettings());
    EXPECT_EQ(messages_.size(), 1u);
}

TEST_F(Settings, FileIsReplacedNotRewrittenInPlace)
{
    LoadSettingsFrom("[Parameters]\r\nComName=COM2\r\n");
    struct stat before {};
    ASSERT_EQ(stat(iniPath().c_str(), &before), 0);
    ASSERT_TRUE(SaveSettings());
    struct stat after {};
    ASSERT_EQ(stat(iniPath().c_str(), &after), 0);
    // A new file was renamed into place, so a crash while writing leaves the
    // old one whole.
    EXPECT_NE(before.st_ino, after.st_ino);
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir_.path()))
        ++entries;
    EXPECT_EQ(entries, 1) << "no temporary left behind";
}

TEST_F(Settings, FileNameIsFoundWhateverItsCase)
{
    WriteFileBytes(dir_.file("tarku.ini"), "[Parameters]\r\nComName=COM4\r\n");
    LoadSettings();
    EXPECT_EQ(ComName, "COM4");
    ASSERT_TRUE(SaveSettings());
    EXPECT_FALSE(std::filesystem::exists(iniPath()));
    EXPECT_NE(ReadFileBytes(dir_.file("tarku.ini")).find("WorkParam="), std::string::npos);
}

TEST_F(Settings, ReadOnlyKeysAreReadButNeverWritten)
{
    LoadSettingsFrom("[Parameters]\r\nShowCodeSize=3\r\nSwapBytesInWordMode=0\r\nCompilerLongStrings=2\r\n"
                     "[USB]\r\nBlockMode=4\r\n");
    EXPECT_TRUE(ShowCodeSize);
    EXPECT_EQ(SwapBytesInWordMode, 0);
    EXPECT_EQ(CompilerLongStrings, 2);
    EXPECT_EQ(UsbBlockModeSetting, 4);
    ShowCodeSize = false;
    SwapBytesInWordMode = 9;
    CompilerLongStrings = 9;
    UsbBlockModeSetting = 9;
    ASSERT_TRUE(SaveSettings());
    TIniFile ini(iniPath());
    EXPECT_EQ(ini.ReadString("Parameters", "ShowCodeSize", ""), "3");
    EXPECT_EQ(ini.ReadString("Parameters", "SwapBytesInWordMode", ""), "0");
    EXPECT_EQ(ini.ReadString("Parameters", "CompilerLongStrings", ""), "2");
    EXPECT_EQ(ini.ReadString("USB", "BlockMode", ""), "4");
}

// A line break inside a value would split it into lines of their own, which
// could read as keys.
TEST_F(Settings, ValuesWithLineBreaksAreNotWritten)
{
    LoadSettingsFrom("[Parameters]\r\nXorFileName=old.bin\r\n");
    XorFileName = "x.bin\n[Parameters]\nWorkParam=0";
    LastCalc = "a\rb";
    RecentFiles = {"a.bin", "evil\r\n5=b.bin", "c.bin"};
    RecentSourceFiles = {"bad\nname", "d.bin"};
    ASSERT_TRUE(SaveSettings());
    scrambleSettings();
    LoadSettings();
    EXPECT_EQ(XorFileName, "old.bin");
    EXPECT_EQ(LastCalc, "");
    EXPECT_EQ(WorkParam, WorkParamDefault);
    EXPECT_EQ(RecentFiles, (TStringList{"a.bin", "c.bin"}));
    EXPECT_EQ(RecentSourceFiles, (TStringList{"d.bin"}));
}
