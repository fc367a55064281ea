// The calculator machine's string registers: every format of the string
// instructions, literals, copies, and the limits that end a run.
#include <cstdint>

#include "CalcMachineSupport.h"
#include "calc/uCalcMachineRun.h"

using namespace calctest;

namespace {

using TStringsTest = TCalcMachineTest;

// Runs the code, then shows string register 5 in label 0; returns the caption
// ("<none>" when the run ended before it).
std::string Caption(std::vector<std::string> code)
{
    code.insert(code.begin(), Op("S=0", {5}));
    code.push_back(Op("L=S", {0, 5}));
    TCalcFakeHost host;
    RunShow(*Assembled(code), host);
    const auto it = host.Captions.find(0);
    return it == host.Captions.end() ? "<none>" : it->second;
}

} // namespace

TEST_F(TStringsTest, EveryFormat)
{
    R[60] = -2;
    R[61] = 0x123456789A;
    R[62] = 0x41;
    const struct {
        const char* what;
        std::vector<std::string> code;
        const char* text;
    } cases[] = {
        {"S+B", {Op("S+B", {5, 0x0A})}, "0A"},
        {"S+W", {Op("S+W", {5, 0xBEEF})}, "BEEF"},
        {"S+D", {Op("S+D", {5, 0x1F})}, "0000001F"},
        {"S+D top bit", {Op("S+D", {5, 0xFFFFFFFF})}, "FFFFFFFF"},
        {"S+C", {Op("S+C", {5, 'z'})}, "z"},
        {"S+BI", {Op("S+BI", {5, 255})}, "255"},
        {"S+WI", {Op("S+WI", {5, 65535})}, "65535"},
        {"S+DI unsigned", {Op("S+DI", {5, 0xFFFFFFFF})}, "4294967295"},
        {"S+RB", {Op("S+RB", {5, 61})}, "9A"},
        {"S+RW", {Op("S+RW", {5, 61})}, "789A"},
        {"S+RD at least 8 digits", {Op("S+RD", {5, 62})}, "00000041"},
        {"S+RD more digits", {Op("S+RD", {5, 61})}, "123456789A"},
        {"S+RD negative", {Op("S+RD", {5, 60})}, "FFFFFFFFFFFFFFFE"},
        {"S+RI signed", {Op("S+RI", {5, 60})}, "-2"},
        {"S+RI large", {Op("S+RI", {5, 61})}, "78187493530"},
        {"S+RC", {Op("S+RC", {5, 62})}, "A"},
        {"S+RB negative", {Op("S+RB", {5, 60})}, "FE"},
        {"several appended", {Op("S+C", {5, '<'}), Op("S+RI", {5, 60}), Op("S+C", {5, '>'})}, "<-2>"},
        {"S=0 clears", {Op("S+C", {5, 'q'}), Op("S=0", {5}), Op("S+C", {5, 'r'})}, "r"},
        {"S=S copies", {Op("S+C", {6, 'x'}), Op("S+C", {5, 'y'}), Op("S=S", {5, 6})}, "x"},
        {"S+S appends", {Op("S+C", {6, 'x'}), Op("S+C", {5, 'y'}), Op("S+S", {5, 6})}, "yx"},
        {"S+S itself", {Op("S+C", {5, 'a'}), Op("S+C", {5, 'b'}), Op("S+S", {5, 5})}, "abab"},
        {"register 34", {Op("S+C", {34, 'k'}), Op("S=S", {5, 34})}, "k"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Caption(c.code), c.text) << c.what;
}

TEST_F(TStringsTest, StringRegistersAreEmptyAtEveryEntry)
{
    auto first = Assembled({Op("S+C", {7, 'a'})});
    TCalcFakeHost host;
    RunShow(*first, host);
    EXPECT_EQ(Caption({Op("S=S", {5, 7})}), "");
}

TEST_F(TStringsTest, Literals)
{
    const struct {
        const char* what;
        std::string literal; // as the source writes it
    } cases[] = {{"plain", "Hello"}, {"repeated first letter", "abcab"}, {"one letter", "x"}, {"Cyrillic", "Сумма"}};
    for (const auto& c : cases) {
        auto image = Compiled(ScriptHead + "ONSHOW{ L0 = \"" + c.literal + "\" + \"|\"; }\r\n");
        TCalcFakeHost host;
        RunShow(*image, host);
        EXPECT_EQ(Cp1251ToUtf8(host.Captions[0]), c.literal + "|") << c.what;
    }
}

TEST_F(TStringsTest, CompiledStringBuilding)
{
    R[52] = 0x2A;
    TCalcFakeHost host;
    host.Buffer[0x10] = 0xC3;
    auto image = Compiled(ScriptHead + "ONSHOW{ STR1 = \"x=\" + #I X; L0 = STR1 + \" \" + #B X + \" \" + #W X + \" \" "
                                       "+ #D X + \" \" + #C X + \" \" + #B @0x10 + \" \" + #I 300; }\r\n");
    RunShow(*image, host);
    EXPECT_EQ(host.Captions[0], "x=42 2A 002A 0000002A * C3 300");
}

TEST_F(TStringsTest, LimitsEndTheRunCleanly)
{
    const struct {
        const char* what;
        std::vector<std::string> code;
    } cases[] = {
        {"S=0 on register 35", {Op("S=0", {35})}},
        {"S+C on register 255", {Op("S+C", {255, 'a'})}},
        {"S+S from register 35", {Op("S+S", {5, 35})}},
        {"S=S from register 200", {Op("S=S", {5, 200})}},
        {"L=S from register 35", {Op("L=S", {0, 35})}},
        {"S+L of a literal without its end", {".db 36 05 FF FF"}},
        {"S+S doubling without end", {Op("S+C", {6, 'a'}), "L:", Op("S+S", {6, 6}), "JMP     L"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> code = c.code;
        code.push_back(Op("R=B", {60, 1}));
        R[60] = 0;
        EXPECT_EQ(Caption(code), "<none>") << c.what;
        EXPECT_EQ(R[60], 0) << c.what << ": the run went on";
    }
}

TEST_F(TStringsTest, AStringRegisterGrowsToItsLimit)
{
    // 16 doublings of one character reach the limit exactly; a 17th ends the run.
    std::vector<std::string> code = {Op("S+C", {5, 'a'})};
    for (int i = 0; i < 16; ++i)
        code.push_back(Op("S+S", {5, 5}));
    const std::string full = Caption(code);
    EXPECT_EQ(full.size(), CalcStringLimit);
    code.push_back(Op("S+S", {5, 5}));
    EXPECT_EQ(Caption(code), "<none>");
}
