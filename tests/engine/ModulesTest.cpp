#include "engine/Modules.h"
#include "platform/Cp1251.h"
#include "platform/Paths.h"

#include "TestSupport.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

using testsupport::FixturePath;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace {

using Strings = std::vector<std::string>;
using namespace std::string_literals;

Strings items(const TStringList& list) { return list.Items(); }

// Loads module text from a scratch file; the file name is "m.chl".
struct Loaded {
    TempDir dir;
    TModuleInfo info;
    int result = 0;
    explicit Loaded(const std::string& text)
    {
        WriteFileBytes(dir.file("m.chl"), text);
        result = info.LoadFromFile(dir.file("m.chl"));
    }
};

} // namespace

TEST(Modules, RealisticModuleParsesIntoEveryField)
{
    const std::string path = FixturePath("engine/zr16f.chl");
    TModuleInfo m;
    ASSERT_EQ(m.LoadFromFile(path), 1);

    // Lines: every line as read, so the compilers find their sections.
    EXPECT_EQ(m.Lines.Count(), 48);
    EXPECT_EQ(m.Lines.Text(), testsupport::ReadFileBytes(path));
    EXPECT_EQ(m.Lines[43], "  ReadChip;");

    EXPECT_EQ(items(m.Locations), (Strings{"SPI Flash\\Nordel\\ZR16F", "Serial\\ZR16F"}));
    EXPECT_EQ(items(m.Info), (Strings{Utf8ToCp1251("Последовательная флэш-память, 2 Мбайт"),
                                      Utf8ToCp1251("Питание 2.7 - 3.6 В"), Utf8ToCp1251("Страница 256 байт")}));
    EXPECT_EQ(m.Buffer1Name, "Flash");
    EXPECT_EQ(m.Buffer1Size, 2097152);
    EXPECT_EQ(m.Buffer2Name, "Security register");
    EXPECT_EQ(m.Buffer2Size, 256);
    EXPECT_EQ(m.Picture, "soic8.bmp");
    EXPECT_EQ(m.VccMask, 0x80);
    EXPECT_EQ(m.GndMask, 0x08);
    EXPECT_EQ(m.Voltage, "3.3");
    EXPECT_EQ(m.PinTestMask, 0xF3);
    EXPECT_EQ(m.View1Width, 8);
    EXPECT_EQ(m.View2Width, 16);
    EXPECT_EQ(m.Uart, 0);
    EXPECT_EQ(m.Adapter, 0);
    EXPECT_FALSE(m.ExeWindow);

    ASSERT_EQ(m.MenuCount, 4);
    EXPECT_EQ(items(m.Menu[1]), (Strings{"READ", "&Read", "READBUTTON", "Read the whole chip", "F5"}));
    EXPECT_EQ(items(m.Menu[2]), (Strings{"WRITE", "&Write", "WRITEBUTTON", "Write the whole chip", "F6"}));
    EXPECT_EQ(items(m.Menu[3]), (Strings{"ERASE", "&Erase", "ERASEBUTTON", "Erase the chip", "Ctrl+E"}));
    EXPECT_EQ(items(m.Menu[4]),
              (Strings{"READID", "Read &ID", "CHIPINFOBUTTON", "Read the identification bytes", "Ctrl+I"}));

    EXPECT_EQ(items(m.Interface),
              (Strings{"0",
                       "I0", "CHECKBOX", "cbVerify", Utf8ToCp1251("Проверять после записи"), "10", "10", "1", "-",
                       "I1", "COMBOBOX", "cbSpeed", "Speed", "10", "40", "120", "Slow", "Normal", "Fast", "1", "-",
                       "I2", "HEXEDIT", "heStatus", "Status register", "200", "10", "00", "-",
                       "I3", "DIGIT", "dgStart", "Start address", "200", "40", "0x000000", "-",
                       "I4", "BUTTON", "btUnlock", "Unlock", "10", "70", "90", "25", "-"}));
    EXPECT_EQ(items(m.UserWindow), (Strings{"Panel1 left=10 top=10", "  Label1 \"Status\""}));
    EXPECT_EQ(items(m.Voltages), (Strings{"2.8", "3.0", "3.3", "3.6", "4.0", "4.3", "4.6", "4.8", "5.0"}));
    EXPECT_TRUE(m.Warnings.Empty()) << m.Warnings.Text();
}

TEST(Modules, MissingFileAndProgramRelativePaths)
{
    TModuleInfo m;
    EXPECT_EQ(m.LoadFromFile("/nonexistent/x.chl"), -1);
    EXPECT_EQ(m.LoadFromFile(""), -1);

    TempDir dir;
    std::filesystem::create_directories(dir.file("scripts/Grp"));
    WriteFileBytes(dir.file("scripts/Grp/Chip.chl"), "[DESCRIPTION]\nPICTURE = a.bmp;\n");
    SetProgramFolder(dir.path());
    ASSERT_EQ(m.LoadFromFile("SCRIPTS\\grp\\chip.chl"), 1);
    EXPECT_EQ(m.Picture, "a.bmp");
}

TEST(Modules, NoDescriptionGivesDefaults)
{
    Loaded l("; nothing here\r\n[HOST]\r\nbegin end\r\n");
    EXPECT_EQ(l.result, 1);
    const TModuleInfo& m = l.info;
    EXPECT_EQ(m.Buffer1Size, 0);
    EXPECT_EQ(m.Buffer1Name, "");
    EXPECT_EQ(m.Buffer2Name, "");
    EXPECT_EQ(m.VccMask, 0);
    EXPECT_EQ(m.PinTestMask, 0xFF);
    EXPECT_EQ(m.MenuCount, 0);
    EXPECT_EQ(items(m.Interface), Strings{"0"});
    EXPECT_TRUE(m.ExeWindow);
    EXPECT_EQ(m.Lines.Count(), 3);
}

// One statement (or a short run of them) per case, checked through a getter.
struct DescriptionCase {
    const char* text;
    std::function<std::string(const TModuleInfo&)> get;
    std::string expected;
};

TEST(Modules, DescriptionKeys)
{
    auto s = [](auto v) { return std::to_string(v); };
    const DescriptionCase cases[] = {
        {"BUFFER1 = Flash, auto", [&](auto& m) { return m.Buffer1Name + "|" + s(m.Buffer1Size); }, "Flash|-1"},
        {"BUFFER2 = Data, 12x", [&](auto& m) { return m.Buffer2Name + "|" + s(m.Buffer2Size); }, "Data|-1"},
        {"CAPACITY = 2048", [&](auto& m) { return m.Buffer1Name + "|" + s(m.Buffer1Size); }, "EEPROM|2048"},
        {"CAPACITY =", [&](auto& m) { return m.Buffer1Name + "|" + s(m.Buffer1Size); }, "EEPROM|-1"},
        // An invalid VCC leaves the mask and reading goes on.
        {"VCC = 9;\nGND = 1;", [&](auto& m) { return s(m.VccMask) + "|" + s(m.GndMask); }, "0|1"},
        // A missing ";" applies the value and ends the section.
        {"VCC = 3\nGND = 1;", [&](auto& m) { return s(m.VccMask) + "|" + s(m.GndMask); }, "4|0"},
        {"PINTEST = 11111100;", [&](auto& m) { return s(m.PinTestMask); }, "252"},
        {"PINTEST = 1100;", [&](auto& m) { return s(m.PinTestMask); }, "255"},
        {"PINTEST = 0x1x1x1x;", [&](auto& m) { return s(m.PinTestMask); }, "127"},
        {"VOLTAGE = 3.1;", [&](auto& m) { return m.Voltage; }, ""},
        {"VOLTAGE = 5.0;", [&](auto& m) { return m.Voltage; }, "5.0"},
        {"VIEW1 = 16;\nVIEW2 = 12;", [&](auto& m) { return s(m.View1Width) + "|" + s(m.View2Width); }, "16|8"},
        {"UART = fast;\nADAPTER = 1;", [&](auto& m) { return s(m.Uart) + "|" + s(m.Adapter); }, "0|1"},
        {"UART = 1;", [&](auto& m) { return s(m.Uart); }, "1"},
        {"EXEWINDOW = 1", [&](auto& m) { return s(m.ExeWindow); }, "1"},
        {"exewindow = 0", [&](auto& m) { return s(m.ExeWindow); }, "0"},
        {"PICTURE = \"my chip.bmp\";", [&](auto& m) { return m.Picture; }, "my chip.bmp"},
        // Comments, unknown keys and blank lines are skipped.
        {"//VCC = 1;\n /VCC = 2;\nFOO = 1\n   \nVCC = 3;", [&](auto& m) { return s(m.VccMask); }, "4"},
        // A known key without "=" ends the section.
        {"PICTURE p.bmp;\nVCC = 1;", [&](auto& m) { return m.Picture + "|" + s(m.VccMask); }, "|0"},
        {"BUFFER1 = Flash\nVCC = 1;", [&](auto& m) { return m.Buffer1Name + "|" + s(m.VccMask); }, "|0"},
        // The section ends at a line starting with "[".
        {"VCC = 1;\n[OTHER]\nGND = 1;", [&](auto& m) { return s(m.VccMask) + "|" + s(m.GndMask); }, "1|0"},
        // Quotes: blanks and signs inside, no escape; a quote inside a word is a character.
        {"INFO = \"a, b; c\", x\"y;", [&](auto& m) { return m.Info.Text(); }, "a, b; c\r\nx\"y\r\n"},
    };
    for (const auto& c : cases) {
        Loaded l(std::string("[DESCRIPTION]\n") + c.text + "\n");
        EXPECT_EQ(c.get(l.info), c.expected) << c.text;
    }
}

TEST(Modules, InfoValueLists)
{
    const std::pair<const char*, Strings> cases[] = {
        {"INFO = a,\n b;", {"a", "b"}},
        {"INFO = a, b", {}},          // no ";" at the end of the line
        {"INFO = a; b", {}},          // a token after ";"
        {"INFO = ;", {}},             // a sign as the first item: an empty list
        {"INFO = a, ;", {"a"}},       // a sign in item position keeps the items read
        {"INFO = a b c;", {"a", "c"}}, // a stray token in separator position is dropped
        {"INFO = a,\n\n b;", {"a", "b"}},
        {"INFO =\n a;", {}},
    };
    for (const auto& [text, expected] : cases) {
        Loaded l(std::string("[DESCRIPTION]\n") + text + "\n");
        EXPECT_EQ(items(l.info.Info), expected) << text;
    }
}

TEST(Modules, InfoContinuationLineIsNotReadAsStatement)
{
    // "=" stands in separator position and is dropped.
    Loaded l("[DESCRIPTION]\nINFO = a,\nVCC = 1;\nGND = 2;\n");
    EXPECT_EQ(items(l.info.Info), (Strings{"a", "VCC", "1"}));
    EXPECT_EQ(l.info.VccMask, 0);
    EXPECT_EQ(l.info.GndMask, 2);
}

TEST(Modules, LocationIsStrictAndNeverEndsTheSection)
{
    const std::pair<const char*, Strings> cases[] = {
        {"LOCATION = A\\x, B\\y;", {"A\\x", "B\\y"}},
        {"LOCATION = A\\x, ;", {}},
        {"LOCATION = A\\x B\\y;", {}},
        {"LOCATION = A\\x", {}},
        {"LOCATION A\\x;", {}},
        {"LOCATION = A\\x,\n B\\y;", {"A\\x", "B\\y"}},
    };
    for (const auto& [text, expected] : cases) {
        Loaded l(std::string("[DESCRIPTION]\n") + text + "\nVCC = 2;\n");
        EXPECT_EQ(items(l.info.Locations), expected) << text;
        EXPECT_EQ(l.info.VccMask, 2) << text;
    }
    // Continuation lines are read again as statements.
    Loaded l("[DESCRIPTION]\nLOCATION = A\\x,\nVCC = 1;\n");
    EXPECT_EQ(items(l.info.Locations), Strings{});
    EXPECT_EQ(l.info.VccMask, 1);
}

TEST(Modules, SecondLoadResetsSomeFieldsAndKeepsOthers)
{
    TempDir dir;
    WriteFileBytes(dir.file("a.chl"), "[DESCRIPTION]\nLOCATION = G\\A;\nINFO = i;\nBUFFER1 = F, 100\n"
                                      "BUFFER2 = E, 20\nUART = 1;\nVCC = 1;\nGND = 2;\nPINTEST = 00000000;\n"
                                      "PICTURE = a.bmp;\nVOLTAGE = 5.0;\nVIEW1 = 16;\nADAPTER = 1;\nEXEWINDOW = 0\n"
                                      "[MENU]\nREAD = r;\n[INTERFACE WINDOW]\nCHECKBOX(a,b,1,2,0);\n"
                                      "[USER WINDOW]\nx\n");
    WriteFileBytes(dir.file("b.chl"), "[DESCRIPTION]\n");
    TModuleInfo m;
    ASSERT_EQ(m.LoadFromFile(dir.file("a.chl")), 1);
    EXPECT_EQ(items(m.Interface), (Strings{"1", "I0", "CHECKBOX", "a", "b", "1", "2", "0", "-"}));
    ASSERT_EQ(m.LoadFromFile(dir.file("b.chl")), 1);
    // Kept when the file does not set them.
    EXPECT_EQ(items(m.Locations), Strings{"G\\A"});
    EXPECT_EQ(items(m.Info), Strings{"i"});
    EXPECT_EQ(m.Buffer1Size, 100);
    EXPECT_EQ(m.Buffer2Size, 20);
    EXPECT_EQ(m.Uart, 1);
    // Reset at every load.
    EXPECT_EQ(m.Buffer1Name, "");
    EXPECT_EQ(m.Buffer2Name, "");
    EXPECT_EQ(m.VccMask, 0);
    EXPECT_EQ(m.GndMask, 0);
    EXPECT_EQ(m.PinTestMask, 0xFF);
    EXPECT_EQ(m.Picture, "");
    EXPECT_EQ(m.Voltage, "");
    EXPECT_EQ(m.View1Width, 8);
    EXPECT_EQ(m.Adapter, 0);
    EXPECT_EQ(m.MenuCount, 0);
    EXPECT_TRUE(m.Menu[1].Empty());
    EXPECT_EQ(items(m.Interface), Strings{"0"});
    EXPECT_TRUE(m.UserWindow.Empty());
    EXPECT_EQ(m.Lines.Count(), 1);
}

TEST(Modules, SectionsAfterHostAreNotFound)
{
    Loaded l("[DESCRIPTION]\nVCC = 1;\n[HOST]\n[MENU]\nREAD = r;\n[INTERFACE]\nCHECKBOX(a);\n");
    EXPECT_EQ(l.info.VccMask, 1);
    EXPECT_EQ(l.info.MenuCount, 0);
    EXPECT_EQ(items(l.info.Interface), Strings{"0"});
    // Section names are found anywhere in a line, without regard to case.
    Loaded k("  x [menu] y\nREAD = r;\n");
    EXPECT_EQ(k.info.MenuCount, 1);
}

TEST(Modules, MenuEntries)
{
    Loaded l("[MENU]\n"
             "read = \"&Read\", READBUTTON;\n"
             "// comment = x;\n"
             "\n"
             "NOEQUALS \"x\";\n"
             "VERIFY = \"Verify\", CHECKBUTTON\n" // no ";": the key alone
             "ERASE = e;\n"
             "[INTERFACE]\n");
    ASSERT_EQ(l.info.MenuCount, 3);
    EXPECT_EQ(items(l.info.Menu[1]), (Strings{"READ", "&Read", "READBUTTON"}));
    EXPECT_EQ(items(l.info.Menu[2]), Strings{"VERIFY"});
    EXPECT_EQ(items(l.info.Menu[3]), (Strings{"ERASE", "e"}));
}

TEST(Modules, MoreThan21MenuEntriesKeepTheFirst21AndWarn)
{
    std::string text = "[MENU]\n";
    for (int i = 1; i <= 25; ++i)
        text += "P" + std::to_string(i) + " = \"Item " + std::to_string(i) + "\",\n   NONE;\n";
    Loaded l(text);
    ASSERT_EQ(l.info.MenuCount, 21);
    EXPECT_EQ(items(l.info.Menu[21]), (Strings{"P21", "Item 21", "NONE"}));
    ASSERT_EQ(l.info.Warnings.Count(), 1);
    // Names the module and the line of the 22nd entry.
    EXPECT_EQ(l.info.Warnings[0], "Module " + l.dir.file("m.chl") +
                                      ", line 44: more than 21 menu entries; this entry and the ones after it are ignored.");
}

TEST(Modules, InterfaceControls)
{
    Loaded l("[INTERFACE]\n"
             "CHECKBOX(a, b, 1, 2, 0);\n"
             "\n"                             // an empty line does not end the section
             "not a control\n"                // skipped, not counted
             "BUTTON(x y);\n"                 // dropped but counted (I1)
             "DIGIT(d,\n   c, 1, 2, 0x10)\n;\n" // parameter and ";" from the next lines
             "HEXEDIT(h) junk 5);\n"           // a token after ")" is a separator
             "   \n"                           // a line of blanks ends the section
             "CHECKBOX(z);\n");
    EXPECT_EQ(items(l.info.Interface), (Strings{"0", "I0", "CHECKBOX", "a", "b", "1", "2", "0", "-", "I2", "DIGIT",
                                                "d", "c", "1", "2", "0x10", "-", "I3", "HEXEDIT", "h", "5", "-"}));
    // The first line of each control by its number, the dropped one too.
    EXPECT_EQ(l.info.ControlLines, (std::vector<int>{1, 4, 5, 8}));
    ASSERT_EQ(l.info.Warnings.Count(), 1);
    EXPECT_NE(l.info.Warnings[0].find("line 5: control BUTTON"), std::string::npos) << l.info.Warnings[0];

    // [INTERFACE] wins over [INTERFACE WINDOW].
    Loaded w("[INTERFACE WINDOW]\nCHECKBOX(w);\n[INTERFACE]\nCHECKBOX(i);\n");
    EXPECT_EQ(items(w.info.Interface), (Strings{"0", "I0", "CHECKBOX", "i", "-"}));
}

TEST(Modules, ContinuationAfterTheLastLineStopsAtTheEnd)
{
    Loaded info("[DESCRIPTION]\nINFO = a, b,");
    EXPECT_EQ(items(info.info.Info), Strings{});
    ASSERT_EQ(info.info.Warnings.Count(), 1);
    EXPECT_NE(info.info.Warnings[0].find("line 2: INFO goes on past the end of the file"), std::string::npos);

    Loaded menu("[MENU]\nREAD = r,\n\n");
    EXPECT_EQ(menu.info.MenuCount, 1);
    EXPECT_EQ(items(menu.info.Menu[1]), Strings{"READ"});

    Loaded control("[INTERFACE]\nCHECKBOX(a,\n");
    EXPECT_EQ(items(control.info.Interface), Strings{"0"});
    Loaded control2("[INTERFACE]\nCHECKBOX(a)");
    EXPECT_EQ(items(control2.info.Interface), Strings{"0"});

    Loaded location("[DESCRIPTION]\nLOCATION = a,");
    EXPECT_EQ(items(location.info.Locations), Strings{});
}

TEST(Modules, MalformedStatementWarnsOnlyWhenStatementsAreLost)
{
    Loaded last("[DESCRIPTION]\nVCC = 3\n// end\n\n[MENU]\n");
    EXPECT_TRUE(last.info.Warnings.Empty());
    Loaded lost("[DESCRIPTION]\nVCC = 3\nGND = 1;\n");
    ASSERT_EQ(lost.info.Warnings.Count(), 1);
    EXPECT_EQ(lost.info.Warnings[0], "Module " + lost.dir.file("m.chl") +
                                         ", line 2: VCC = 3 is not followed by \";\"; the rest of [DESCRIPTION] is not read.");
}

TEST(Modules, UserWindowLines)
{
    Loaded l("[USER WINDOW]\na\n\n  b = 1\nc [x\nd\n");
    EXPECT_EQ(items(l.info.UserWindow), (Strings{"a", "  b = 1"}));
}

TEST(ModuleLocation, QuickReader)
{
    const std::pair<const char*, Strings> cases[] = {
        {"x\n   LOCATION = A\\x, B\\y;\nLOCATION = C\\z;", {"A\\x", "B\\y"}},
        {"LOCATION = A\\x, ;", {"A\\x"}},
        {"LOCATION = A\\x,\nB\\y;", {"A\\x", "B\\y"}},
        {"LOCATION = A\\x,", {"A\\x"}},
        {"LOCATION = A\\x B\\y;", {}},
        {"LOCATION = A\\x", {}},
        {"// LOCATION = A\\x;\nLOC = 1234567890;", {}},
        {"LOCATION=A;", {}},                   // shorter than 12 characters
        {"\tLOCATION = A\\x;", {"A\\x"}},
    };
    for (const auto& [text, expected] : cases) {
        TempDir dir;
        WriteFileBytes(dir.file("m.chl"), text);
        TStringList list{"old"};
        ReadModuleLocation(dir.file("m.chl"), list);
        EXPECT_EQ(items(list), expected) << text;
    }
    TStringList list{"old"};
    ReadModuleLocation("/nonexistent/m.chl", list);
    EXPECT_TRUE(list.Empty());
}

TEST(Modules, HostileBytesDoNotCrash)
{
    const std::string texts[] = {
        "[DESCRIPTION]\n\""s,
        "[DESCRIPTION]\nINFO = \"\0\",\0\n\r\r,"s,
        "[INTERFACE]\nX(\"\n",
        "[MENU]\nA=\"",
        "[USER WINDOW]",
        "\xFF\xFE[DESCRIPTION]\r\rLOCATION=,,,,\r",
    };
    for (const auto& t : texts) {
        Loaded l(t);
        EXPECT_EQ(l.result, 1);
        TStringList list;
        ReadModuleLocation(l.dir.file("m.chl"), list);
    }
}
