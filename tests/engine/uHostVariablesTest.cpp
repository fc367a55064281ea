#include "engine/uHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

void CompileText(THost& h, const std::string& text)
{
    h.Source.SetText(text);
    h.CompileSource();
}

// Runs a procedure to its end; the exit value, or ~0 after a fault.
uint32_t RunProc(THost& h, const std::string& proc)
{
    if (!h.SelectProcedure(proc))
        return 0xDEADu;
    for (int i = 0; i < 100000; ++i) {
        const int r = h.Step();
        if (r == THost::StepEnded)
            return h.ExitValue;
        if (r == THost::StepFault)
            return 0xFFFFFFFFu;
    }
    return 0xBADu;
}

TEST(HostVariables, PlainEntriesBecomeVariablesInListOrder)
{
    THost h;
    TStringList list;
    list.AddObject("WordMode1", 1);
    list.AddObject("Speed", 0x00012345);
    EXPECT_TRUE(h.LoadExternalVariables(list));
    EXPECT_EQ(h.VarNames[0].Name, "WORDMODE1");
    EXPECT_EQ(h.VarNames[0].Number, 0);
    EXPECT_EQ(h.Vars[0], 1u);
    EXPECT_EQ(h.Vars[1], 0x12345u); // all 32 bits
    EXPECT_EQ(h.GlobalVarCount, 2);

    CompileText(h, "[HOST]\nPROC P {\nVAR X;\nX = WORDMODE1;\nRETURN(SPEED);\n}\n");
    ASSERT_TRUE(h.Errors.Empty()) << h.Errors[0];
    // The script's own variable gets the next number.
    EXPECT_NE(std::find(h.AsmText.begin(), h.AsmText.end(), ";     R2 = X"), h.AsmText.end());
    EXPECT_EQ(RunProc(h, "P"), 0x12345u);
}

TEST(HostVariables, EntriesThatCannotBeTakenInMakeTheIntakeFalse)
{
    THost h;
    TStringList list;
    list.AddObject("Mode", 1);
    list.AddObject("MODE", 2);             // same name
    list.AddObject(".KEY:01 02", 0x20000002);
    list.AddObject(".key:03", 0x20000001); // same array
    list.AddObject(".BAD:0G", 0x20000001); // not hex
    list.AddObject("Other", 3);
    EXPECT_FALSE(h.LoadExternalVariables(list));
    EXPECT_EQ(h.VarNames.Count(), 2);
    EXPECT_EQ(h.Vars[0], 1u);
    EXPECT_EQ(h.Vars[1], 3u);
    EXPECT_EQ(h.Arrays.Count(), 1);
}

TEST(HostVariables, WriteBackKeepsTheTopFourBitsOfTheEntry)
{
    THost h;
    TStringList list;
    list.AddObject("Value", 0x30000005);
    list.AddObject("Untouched", 0x7);
    list.AddObject("NotAVariable", 0x9);
    h.LoadExternalVariables(list);
    CompileText(h, "[HOST]\nPROC P {\nVALUE = 0xABCDEF12;\n}\n");
    ASSERT_TRUE(h.Errors.Empty());
    RunProc(h, "P");
    TStringList after;
    after.AddObject("Value", 0x30000005);
    after.AddObject("Untouched", 0x7);
    after.AddObject("Stranger", 0x9);
    EXPECT_TRUE(h.StoreExternalVariables(after));
    EXPECT_EQ(after.Objects(0), 0x3BCDEF12u);
    EXPECT_EQ(after.Objects(1), 0x7u);
    EXPECT_EQ(after.Objects(2), 0x9u);
}

TEST(HostVariables, ReuseGivesTheScriptTheWholeValue)
{
    THost h;
    TStringList list;
    list.AddObject("Count", 0x00012345);
    h.LoadExternalVariables(list);
    CompileText(h, "[HOST]\nPROC P {\nRETURN(COUNT);\n}\n");
    ASSERT_TRUE(h.Errors.Empty());
    EXPECT_EQ(RunProc(h, "P"), 0x12345u);

    TStringList again;
    again.AddObject("Count", 0x00054321);
    again.AddObject("Unknown", 1);
    h.ReloadExternalVariables(again);
    EXPECT_EQ(RunProc(h, "P"), 0x54321u);
}

// A module control named like a fixed entry puts one name in the list twice:
// the intake takes the first entry, and so must the reuse.
TEST(HostVariables, ReuseTakesTheSameEntryOfARepeatedNameAsTheIntake)
{
    THost h;
    TStringList list;
    list.AddObject("ActiveBuffer", 1);
    list.AddObject("ACTIVEBUFFER", 2);
    list.AddObject(".Key:01", 0x20000001);
    list.AddObject(".KEY:02", 0x20000001);
    list.AddObject(".Key:GG", 0x20000001);
    h.LoadExternalVariables(list);
    CompileText(h, "[HOST]\nPROC P {\nRETURN(ACTIVEBUFFER);\n}\nPROC K {\nVAR X;\nX = KEY[0];\nRETURN(X);\n}\n");
    ASSERT_TRUE(h.Errors.Empty()) << h.Errors[0];
    EXPECT_EQ(RunProc(h, "P"), 1u);
    EXPECT_EQ(RunProc(h, "K"), 1u);

    h.ReloadExternalVariables(list);
    EXPECT_EQ(RunProc(h, "P"), 1u);
    EXPECT_EQ(RunProc(h, "K"), 1u);
}

TEST(HostVariables, DefinitionsOfTheScriptBeingCompiledHideEntries)
{
    THost h;
    TStringList list;
    list.AddObject("Limit", 7);
    list.AddObject(".Table:01", 0x20000001);
    list.AddObject("Kept", 9);
    h.LoadExternalVariables(list);
    CompileText(h, "[HOST]\nDEFINE LIMIT 100\nDEFINE TABLE 3\nPROC P {\nKEPT = LIMIT;\n}\n");
    ASSERT_TRUE(h.Errors.Empty()) << h.Errors[0];
    RunProc(h, "P");
    h.StoreExternalVariables(list);
    EXPECT_EQ(list.Objects(0), 7u);  // hidden by the definition: left alone
    EXPECT_EQ(list.Objects(2), 100u);
    EXPECT_EQ(list[1], ".Table:01"); // left alone as well

    // A later script without those definitions sees them again after intake.
    TStringList next;
    next.AddObject("Limit", 7);
    h.LoadExternalVariables(next);
    CompileText(h, "[HOST]\nPROC P {\nRETURN(LIMIT);\n}\n");
    ASSERT_TRUE(h.Errors.Empty());
    EXPECT_EQ(RunProc(h, "P"), 7u);
}

TEST(HostVariables, ArrayEntryWrittenBackUnchanged)
{
    THost h;
    TStringList list;
    list.AddObject(".KEY:01 A0 FF", 0x20000003);
    EXPECT_TRUE(h.LoadExternalVariables(list));
    EXPECT_EQ(list.Objects(0), 0x20000003u); // base 0
    CompileText(h, "[HOST]\nPROC P {\n}\n");
    RunProc(h, "P");
    h.StoreExternalVariables(list);
    EXPECT_EQ(list[0], ".KEY:01 A0 FF");
}

// Arrays taken in from the parameter list: reachable by name, apart from the
// script's own arrays, refreshed on reuse, written back from where the
// script left them.
TEST(HostVariables, ExternalArraysKeepTheirFourProperties)
{
    THost h;
    TStringList list;
    list.AddObject("Mode", 2);
    list.AddObject(".Key:11 22 33", 0x20000003);
    list.AddObject(".Mask:F0", 0x20000001);
    ASSERT_TRUE(h.LoadExternalVariables(list));
    CompileText(h, "[HOST]\nDIM OWN[] = {0x55, 0x66};\nDIM MORE[4];\n"
                   "PROC SUM {\nVAR X, Y;\nX = KEY[0];\nY = MASK[0];\nX = X + Y;\nRETURN(X);\n}\n"
                   "PROC CHANGE {\nVAR I;\nI = 2;\nKEY[I] = MODE + 0x40;\nOWN[0] = 1;\nMORE[3] = 2;\n"
                   "MASK[0]++;\n}\n"
                   "PROC OWNSUM {\nVAR X, Y;\nX = OWN[0];\nY = OWN[1];\nX = X + Y;\nRETURN(X);\n}\n");
    ASSERT_TRUE(h.Errors.Empty()) << h.Errors[0];

    // Reachable by name.
    EXPECT_EQ(RunProc(h, "SUM"), 0x11u + 0xF0u);
    // Apart from the script's own arrays.
    const int own = h.Arrays.IndexOf("OWN");
    EXPECT_GE(h.Arrays[own].Number, 4);
    EXPECT_EQ(RunProc(h, "OWNSUM"), 0x55u + 0x66u);
    // Written back from where the script left them.
    RunProc(h, "CHANGE");
    EXPECT_EQ(h.ArrayStore[static_cast<size_t>(h.Arrays[own].Number)], 1u);
    h.StoreExternalVariables(list);
    EXPECT_EQ(list[1], ".KEY:11 22 42");
    EXPECT_EQ(list[2], ".MASK:F1");
    // Refreshed on reuse; the script's own arrays are not touched by it.
    TStringList again;
    again.AddObject("Mode", 2);
    again.AddObject(".Key:01 02 03 04", 0x20000004); // longer than the array: the rest is dropped
    again.AddObject(".Mask:0F", 0x20000001);
    h.ReloadExternalVariables(again);
    EXPECT_EQ(RunProc(h, "SUM"), 0x01u + 0x0Fu);
    EXPECT_EQ(h.ArrayStore[static_cast<size_t>(h.Arrays[own].Number)], 1u);
    h.StoreExternalVariables(again);
    EXPECT_EQ(again[1], ".KEY:01 02 03");
}

// A script that declares an array of the parameter list by its size gets the
// list's array: the same cells, or its bytes moved into room of a larger size.
TEST(HostVariables, ScriptsMayDeclareTheListArrays)
{
    THost h;
    TStringList list;
    list.AddObject(".Key:11 22 33", 0x20000003);
    list.AddObject(".Mask:F0", 0x20000001);
    ASSERT_TRUE(h.LoadExternalVariables(list));
    const std::string script = "[HOST]\nDIM KEY[3];\nDIM MASK[4];\nDIM OWN[2];\n"
                               "PROC P {\nVAR X;\nKEY[2] = 0x44;\nMASK[3] = 7;\nOWN[1] = 9;\nX = MASK[0];\n"
                               "RETURN(X);\n}\n";
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        CompileText(h, script);
        ASSERT_TRUE(h.Errors.Empty()) << h.Errors[0];
        const auto& key = h.Arrays[h.Arrays.IndexOf("KEY")];
        const auto& mask = h.Arrays[h.Arrays.IndexOf("MASK")];
        const auto& own = h.Arrays[h.Arrays.IndexOf("OWN")];
        EXPECT_EQ(key.Number, 0);
        EXPECT_EQ(mask.Number, 4); // after the list's four bytes
        EXPECT_EQ(mask.Size, 4);
        EXPECT_EQ(own.Number, 8);
        EXPECT_EQ(h.ArrayCursor, 10);
    }
    EXPECT_EQ(RunProc(h, "P"), 0xF0u);
    EXPECT_EQ(h.ArrayStore[7], 7u);
    EXPECT_EQ(h.ArrayStore[9], 9u);
    h.StoreExternalVariables(list);
    EXPECT_EQ(list[0], ".KEY:11 22 44");
    EXPECT_EQ(list[1], ".MASK:F0");

    TStringList again;
    again.AddObject(".Key:01 02 03", 0x20000003);
    again.AddObject(".Mask:0F", 0x20000001);
    h.ReloadExternalVariables(again);
    EXPECT_EQ(RunProc(h, "P"), 0x0Fu);

    const char* const duplicates[] = {"DIM KEY[3];\nDIM KEY[3];", "DIM KEY[] = {1, 2, 3};"};
    for (const char* d : duplicates) {
        h.LoadExternalVariables(list);
        CompileText(h, std::string("[HOST]\n") + d + "\nPROC P {\n}\n");
        ASSERT_EQ(h.Errors.Count(), 1) << d;
        EXPECT_EQ(h.Errors[0], d[9] == ']' ? "Line 3: Duplicate array \"KEY\"." : "Line 2: Duplicate array \"KEY\".");
    }
    h.LoadExternalVariables(list);
    CompileText(h, "[HOST]\nDIM KEY[65536];\nPROC P {\n}\n");
    ASSERT_EQ(h.Errors.Count(), 1);
    EXPECT_EQ(h.Errors[0], "Line 2: Array size too big.");
}

TEST(HostVariables, RepeatedCompilesStartFromTheIntake)
{
    THost h;
    TStringList list;
    list.AddObject("A", 1);
    list.AddObject(".K:01", 0x20000001);
    h.LoadExternalVariables(list);
    for (int i = 0; i < 3; ++i) {
        CompileText(h, "[HOST]\nDIM OWN[2];\nPROC P {\nVAR X;\nX = A;\n}\n");
        ASSERT_TRUE(h.Errors.Empty());
        EXPECT_EQ(h.VarCount, 2);
        EXPECT_EQ(h.Arrays[h.Arrays.IndexOf("OWN")].Number, 1);
    }
}

// x[i] = <computed value> stores the computed value, not the index.
TEST(HostRun, ArrayCellGetsTheComputedValue)
{
    THost h;
    CompileText(h, "[HOST]\nDIM ARR[8];\nPROC F(V) {\nRETURN(V);\n}\n"
                   "PROC P {\nVAR I, X;\nI = 3;\nX = 40;\nARR[I] = X + 2;\nARR[5] = F(7);\nARR[6] = ARR[I] - 1;\n"
                   "ARR[1] = USB;\n}\n");
    ASSERT_TRUE(h.Errors.Empty()) << h.Errors[0];
    h.OnInPort = [](uint32_t, uint32_t& v) { v = 0x99; };
    EXPECT_EQ(RunProc(h, "P"), 0u);
    EXPECT_EQ(h.ArrayStore[3], 42u);
    EXPECT_EQ(h.ArrayStore[5], 7u);
    EXPECT_EQ(h.ArrayStore[6], 41u);
    EXPECT_EQ(h.ArrayStore[1], 0x99u);
}

TEST(HostRun, CallsLoopsAndBitCopiesRunAsCompiled)
{
    THost h;
    CompileText(h, "[HOST]\nPROC FACT(N) {\nVAR R;\nR = 1;\nWHILE (N > 1) {\nR = R * N;\nN--;\n}\nRETURN(R);\n}\n"
                   "PROC MAIN {\nVAR X, B;\nX = FACT(10);\nB = 0;\nB.4 = X.8;\nIF (B.4 = 1) {\nCLOSE(X);\n} ELSE {\n"
                   "CLOSE(0);\n}\n}\n"
                   "PROC DEEP {\nDEEP();\n}\n");
    ASSERT_TRUE(h.Errors.Empty()) << h.Errors[0];
    EXPECT_EQ(RunProc(h, "main"), 3628800u);
    EXPECT_EQ(RunProc(h, "DEEP"), 0xFFFFFFFFu);
    EXPECT_NE(h.RunError.find("deeper than 100"), std::string::npos);
}

} // namespace
