// What the calculator machine reaches through its host: buffer 1 (reads,
// writes, the guard of constant-address writes), random numbers, and the
// controls (values, properties, captions, message processing after them).
#include <cstdint>
#include <set>

#include "CalcMachineSupport.h"
#include "platform/SysUtils.h"

using namespace calctest;

namespace {

using THostTest = TCalcMachineTest;

} // namespace

TEST_F(THostTest, BufferWritesReachOnlyAddressesOfTheBuffer)
{
    const struct {
        const char* what;
        std::vector<std::string> code;
        int64_t size;
        const char* log;
    } cases[] = {
        {"@R=R low byte", {Op("R=D", {60, 0x10}), Op("R=W", {61, 0x1ABC}), Op("@R=R", {60, 61})}, 0x100, "@16=188"},
        {"@R=D", {Op("R=W", {60, 0xFFFF}), Op("@R=D", {60, 7})}, 0x100, "@65535=7"},
        {"@R= past 65535", {Op("R=D", {60, 0x10000}), Op("@R=D", {60, 7})}, 0x20000, ""},
        {"@R= negative", {Op("R=B", {60, 1}), Op("R-B", {60, 2}), Op("@R=D", {60, 7})}, 0x100, ""},
        {"@R= low 32 bits",
         {Op("R=B", {60, 1}), Op("R<<D", {60, 32}), Op("R+B", {60, 5}), Op("@R=D", {60, 7})},
         0x100,
         "@5=7"},
        {"@D=D below the size", {Op("@D=D", {0xFF, 9})}, 0x100, "@255=9"},
        {"@D=D at the size", {Op("@D=D", {0x100, 9})}, 0x100, ""},
        {"@D=R", {Op("R=W", {61, 0x1234}), Op("@D=R", {3, 61})}, 0x100, "@3=52"},
        {"@D=D empty buffer", {Op("@D=D", {0, 9})}, 0, ""},
        {"@D=D past 65535", {Op("@D=D", {0x10000, 9})}, 0x20000, ""},
    };
    for (const auto& c : cases) {
        TCalcFakeHost host;
        host.Size = c.size;
        RunShow(*Assembled(c.code), host);
        std::string log;
        for (const std::string& l : host.Log)
            log += (log.empty() ? "" : " ") + l;
        EXPECT_EQ(log, c.log) << c.what;
    }
}

TEST_F(THostTest, GuardedWritesStayBelowBothRegister50AndTheRealBufferSize)
{
    // Buffer 1 holds 0x80 bytes; each script sets BUFSIZE, then writes
    // @0x7F = 1 and @0x3F = 2 (constant addresses) and @R(0x7F) = 3 (a
    // register address, which neither bound limits).
    const struct {
        const char* what;
        const char* bufSize;
        std::vector<std::string> log;
    } cases[] = {
        {"raised past the buffer", "0x10000", {"@127=1", "@63=2", "@127=3"}},
        {"left as it was", "BUFSIZE", {"@127=1", "@63=2", "@127=3"}},
        {"lowered to half", "0x40", {"@63=2", "@127=3"}},
        {"lowered to 0", "0", {"@127=3"}},
        {"made negative", "0 - 1", {"@127=3"}},
    };
    for (const auto& c : cases) {
        auto image = Compiled(ScriptHead + "ONSHOW{ BUFSIZE = " + c.bufSize +
                              "; @0x7F = 1; @0x3F = 2; X = 0x7F; @X = 3; }\r\n");
        TCalcFakeHost host;
        host.Size = 0x80;
        RunShow(*image, host);
        EXPECT_EQ(host.Log, c.log) << c.what;
    }
    // A raised BUFSIZE lets no constant-address write past the buffer.
    auto image = Compiled(ScriptHead + "ONSHOW{ BUFSIZE = 0x10000; @0x80 = 4; }\r\n");
    TCalcFakeHost host;
    host.Size = 0x80;
    RunShow(*image, host);
    EXPECT_TRUE(host.Log.empty());
}

TEST_F(THostTest, BufferReadsOutsideTheBufferGiveZero)
{
    TCalcFakeHost host;
    host.Buffer[0] = 0x11;
    host.Buffer[0xFFFF] = 0x22;
    const struct {
        const char* what;
        std::vector<std::string> code;
        int64_t expected;
    } cases[] = {
        {"R=@D 0", {Op("R=@D", {60, 0})}, 0x11},
        {"R=@D 65535", {Op("R=@D", {60, 0xFFFF})}, 0x22},
        {"R=@D 65536", {Op("R=@D", {60, 0x10000})}, 0},
        {"R=@D FFFFFFFF", {Op("R=@D", {60, 0xFFFFFFFF})}, 0},
        {"R=@R 65535", {Op("R=W", {61, 0xFFFF}), Op("R=@R", {60, 61})}, 0x22},
        {"R=@R -1", {Op("R=B", {61, 0}), Op("R-B", {61, 1}), Op("R=@R", {60, 61})}, 0},
        {"R=@R low 32 bits", {Op("R=B", {61, 1}), Op("R<<D", {61, 32}), Op("R=@R", {60, 61})}, 0x11},
    };
    for (const auto& c : cases) {
        R[60] = -5;
        RunShow(*Assembled(c.code), host);
        EXPECT_EQ(R[60], c.expected) << c.what;
    }
}

TEST_F(THostTest, AChecksumOverTheBufferWrittenBack)
{
    auto image = Compiled(ScriptHead + "ONAPPLY{ X = 0; Y = 0; WHILE (Y < (BUFSIZE - 1)) { X = X + @Y; Y = Y + 1; }\r\n"
                                       " @Y = 0x100 - (X & 0xFF); L0 = \"Sum \" + #W X; }\r\n");
    TCalcFakeHost host;
    host.Size = 0x100;
    uint32_t sum = 0;
    for (int i = 0; i < 0xFF; ++i) {
        host.Buffer[static_cast<size_t>(i)] = static_cast<uint8_t>(i * 7 + 3);
        sum += static_cast<uint8_t>(i * 7 + 3);
    }
    host.Record = false;
    EXPECT_TRUE(RunCalculatorCode(*image, CalcEntryOnApply, host));
    EXPECT_EQ(R[52], sum);
    EXPECT_EQ(host.Buffer[0xFF], static_cast<uint8_t>(0x100 - (sum & 0xFF)));
    EXPECT_EQ(host.Captions[0], "Sum " + IntToHex(sum, 4));
}

TEST_F(THostTest, RandomNumbersStayInTheirRange)
{
    const struct {
        const char* what;
        std::vector<std::string> code;
        int64_t below; // results lie in 0 .. below - 1 (0: always 0)
    } cases[] = {
        {"R=?D 6", {Op("R=?D", {60, 6})}, 6},
        {"R=?D 1", {Op("R=?D", {60, 1})}, 1},
        {"R=?D 0", {Op("R=?D", {60, 0})}, 0},
        {"R=?D FFFFFFFF", {Op("R=?D", {60, 0xFFFFFFFF})}, 0xFFFFFFFF},
        {"R=?R 3", {Op("R=B", {61, 3}), Op("R=?R", {60, 61})}, 3},
        {"R=?R low 32 bits", {Op("R=B", {61, 1}), Op("R<<D", {61, 32}), Op("R+B", {61, 2}), Op("R=?R", {60, 61})}, 2},
        {"R=?R -1", {Op("R=B", {61, 0}), Op("R-B", {61, 1}), Op("R=?R", {60, 61})}, 0xFFFFFFFF},
    };
    for (const auto& c : cases) {
        std::set<int64_t> seen;
        auto image = Assembled(c.code);
        const int draws = c.below == 6 ? 200 : 20;
        for (int i = 0; i < draws; ++i) {
            TCalcFakeHost host;
            R[60] = -5;
            RunShow(*image, host);
            seen.insert(R[60]);
        }
        EXPECT_GE(*seen.begin(), 0) << c.what;
        EXPECT_LT(*seen.rbegin(), std::max<int64_t>(c.below, 1)) << c.what;
        if (c.below == 6)
            EXPECT_EQ(seen.size(), 6u) << "200 draws of 0..5 meet every value";
    }
}

TEST_F(THostTest, ControlValuesPropertiesAndCaptions)
{
    const struct {
        const char* what;
        std::vector<std::string> code;
        std::vector<std::string> log;
    } cases[] = {
        {"C=R low 32 bits", {Op("R=B", {60, 0}), Op("R-B", {60, 1}), Op("C=R", {2, 60})}, {"C=R 2 4294967295"}},
        {"C=D", {Op("C=D", {3, 0x12345678})}, {"C=D 3 305419896"}},
        {"CP=D", {Op("CP=D", {0, 0x01FF8000})}, {"CP 0 1 16744448"}},
        {"CP=R", {Op("R=D", {60, 0x03000002}), Op("R<<D", {60, 0}), Op("CP=R", {7, 60})}, {"CP 7 3 2"}},
        {"CP=R bits above 31 left out",
         {Op("R=D", {60, 0x02000001}), Op("R=D", {61, 0xFFFFFFFF}), Op("R<<D", {61, 32}), Op("R|R", {60, 61}),
          Op("CP=R", {1, 60})},
         {"CP 1 2 1"}},
        {"L=S to label 200", {Op("S=0", {5}), Op("S+C", {5, 'A'}), Op("L=S", {200, 5})}, {"L 200 A"}},
    };
    for (const auto& c : cases) {
        TCalcFakeHost host;
        RunShow(*Assembled(c.code), host);
        EXPECT_EQ(host.Log, c.log) << c.what;
    }
}

TEST_F(THostTest, ReadingControls)
{
    TCalcFakeHost host;
    host.Readable = {{1, -1}, {2, 0x100000000}, {4, 1}};
    const struct {
        int control;
        int64_t expected;
    } cases[] = {{1, -1}, {2, 0x100000000}, {4, 1}, {3, 77}, {255, 77}};
    for (const auto& c : cases) {
        R[60] = 77;
        RunShow(*Assembled({Op("R=C", {60, static_cast<uint32_t>(c.control)})}), host);
        EXPECT_EQ(R[60], c.expected) << c.control;
    }
}

TEST_F(THostTest, MessagesAreProcessedAfterWindowChanges)
{
    // Each instruction is preceded by one message pass; C=D, CP=D, CP=R and
    // L=S add one each, C=R does not.
    const struct {
        const char* what;
        std::string line;
        long messages;
    } cases[] = {
        {"C=R", Op("C=R", {1, 60}), 2},   {"C=D", Op("C=D", {1, 5}), 3}, {"CP=D", Op("CP=D", {1, 5}), 3},
        {"CP=R", Op("CP=R", {1, 60}), 3}, {"L=S", Op("L=S", {1, 0}), 3}, {"R=B", Op("R=B", {1, 0}), 2},
    };
    for (const auto& c : cases) {
        TCalcFakeHost host;
        RunShow(*Assembled({c.line}), host);
        EXPECT_EQ(host.Messages, c.messages) << c.what;
    }
}

TEST_F(THostTest, CompiledControlStatements)
{
    TCalcFakeHost host;
    host.Readable = {{1, 12}, {2, 0xABCD}, {3, 1}, {4, 1}};
    auto image = Compiled(ScriptHead + "ONSHOW{ X = E1 + H2; IF (B4 = 1) { Y = C3; } E1 = X; H2 = 0x55;\r\n"
                                       " L0.COLOR = 0xFF; L0.BOLD = 1; L0.ALIGNMENT = 2; L0 = \"R \" + #I X; }\r\n");
    RunShow(*image, host);
    EXPECT_EQ(R[52], 12 + 0xABCD);
    EXPECT_EQ(R[53], 1);
    const std::vector<std::string> log = {
        "C=R 1 " + std::to_string(12 + 0xABCD), "C=D 2 85", "CP 0 1 255", "CP 0 2 1", "CP 0 3 2",
        "L 0 R " + std::to_string(12 + 0xABCD)};
    EXPECT_EQ(host.Log, log);
}
