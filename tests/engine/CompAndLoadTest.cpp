// Compile and upload of the selected module, against a scripted programmer.
#include "LinkScripted.h"

#include "engine/CompAndLoad.h"
#include "engine/Global.h"
#include "engine/uHost.h"
#include "platform/Paths.h"

#include "ProgramStateGuard.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using Bytes = std::vector<uint8_t>;

const char* const Module =
    "[DESCRIPTION]\r\n"
    "LOCATION = Test\\Chip;\r\n"
    "[HOST]\r\n"
    "PROC READ {\r\n"
    "  RUN(GO);\r\n"
    "}\r\n"
    "[DEVICE]\r\n"
    "PROC GO {\r\n"
    "  USB = 1;\r\n"
    "}\r\n";

class CompAndLoadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFolder(dir.path());
        std::filesystem::create_directories(dir.path() + "/Scripts/Serial");
        WriteModule(Module);
        ChipList = TStringList{"Test\\Other", "Test\\Chip"};
        ModuleFileList = TStringList{"other.chl", "Serial\\chip.chl"};
        CurrentChip = "Test\\Chip";
        auto owned = std::make_unique<TScriptedTransport>();
        t = owned.get();
        SetUsbTransport(std::move(owned));
        device.Attach(t);
        UsbTimeOut = 3;
    }
    // The transport answers through `device`: dropped while it lives.
    void TearDown() override { SetUsbTransport(nullptr); }

    void WriteModule(const std::string& text)
    {
        testsupport::WriteFileBytes(dir.path() + "/Scripts/Serial/chip.chl", text);
    }
    int Load()
    {
        t->Packets.clear();
        return CompileAndLoadModule(errors);
    }
    int UploadCommands() const
    {
        int n = 0;
        for (const Bytes& p : t->Commands())
            n += p.size() == 2 && p[0] == 7;
        return n;
    }

    testsupport::TProgramStateGuard state;
    testsupport::TempDir dir;
    TScriptedTransport* t = nullptr;
    TScriptedFirmware device;
    TStringList errors;
};

TEST_F(CompAndLoadTest, FirstRunCompilesUploadsAndStoresTheName)
{
    ASSERT_EQ(Load(), clReady) << errors.Text();
    EXPECT_TRUE(errors.Empty());
    EXPECT_EQ(device.Uploads, 1);
    EXPECT_EQ(device.Name.rfind("Serial\\chip.chl|", 0), 0u) << device.Name;
    ASSERT_NE(HostMachine, nullptr);
    EXPECT_EQ(HostMachine->LoadedModule, "Serial\\chip.chl");
    EXPECT_TRUE(std::equal(device.Code.begin(), device.Code.begin() + HostMachine->Compiler.CodeLength,
                           HostMachine->Compiler.Code.begin()));
    EXPECT_EQ(UsbOutHandle, -1) << "the link is closed again";
}

TEST_F(CompAndLoadTest, SecondRunReusesEverything)
{
    ASSERT_EQ(Load(), clReady);
    HostMachine->AsmText.Add("left by the first compile");
    const TStringList before = HostMachine->AsmText;
    ASSERT_EQ(Load(), clReady);
    EXPECT_EQ(t->Commands(), (std::vector<Bytes>{{9, 4}})) << "only the name is read";
    EXPECT_EQ(HostMachine->AsmText, before) << "nothing compiled";
    EXPECT_EQ(device.Uploads, 1);
}

TEST_F(CompAndLoadTest, EditedModuleNeverRunsStaleCode)
{
    ASSERT_EQ(Load(), clReady);
    const Bytes firstCode = device.Code;
    std::string edited = Module;
    edited.replace(edited.find("USB = 1;"), 8, "USB = 2;");
    WriteModule(edited);
    ASSERT_EQ(Load(), clReady);
    EXPECT_EQ(device.Uploads, 2);
    EXPECT_NE(device.Code, firstCode);

    // An edit of the host script alone recompiles it as well.
    edited.replace(edited.find("PROC READ {"), 11, "PROC READ {\r\n  RUN(GO);");
    WriteModule(edited);
    HostMachine->AsmText.Add("stale");
    ASSERT_EQ(Load(), clReady);
    EXPECT_FALSE(HostMachine->AsmText.IndexOf("stale") >= 0);
}

TEST_F(CompAndLoadTest, ProgrammerWithAnotherModule)
{
    ASSERT_EQ(Load(), clReady);
    device.Name = "Serial\\chip.chl"; // the bare name, as an older program stored it
    ASSERT_EQ(Load(), clReady);
    EXPECT_EQ(device.Uploads, 2);
}

// Module files deep in the scripts folder: the name the programmer keeps
// has room for 254 characters, less the fingerprint.
TEST_F(CompAndLoadTest, LongModulePathsAreReusedOrCompiledAgain)
{
    const std::string folder(120, 'f');
    // A module file below `top` whose path has `length` characters.
    auto deepModule = [&](const std::string& top, size_t length) {
        const std::string name = std::string(length - top.size() - folder.size() - 6, 'd') + ".chl";
        std::filesystem::create_directories(dir.path() + "/Scripts/" + top + "/" + folder);
        testsupport::WriteFileBytes(dir.path() + "/Scripts/" + top + "/" + folder + "/" + name, Module);
        return top + "\\" + folder + "\\" + name;
    };
    for (size_t length : {size_t(237), size_t(238), size_t(300)}) {
        SCOPED_TRACE(length);
        const std::string file = deepModule("Serial", length);
        ASSERT_EQ(file.size(), length);
        ModuleFileList = TStringList{"other.chl", file};
        const int uploads = device.Uploads;
        ASSERT_EQ(Load(), clReady) << errors.Text();
        EXPECT_EQ(device.Uploads, uploads + 1);
        EXPECT_LE(device.Name.size(), MaxModuleNameLength);
        ASSERT_EQ(Load(), clReady);
        EXPECT_EQ(t->Commands(), (std::vector<Bytes>{{9, 4}})) << "only the name is read";
    }
    // Two files cut to the same end are still told apart.
    ASSERT_EQ(ModuleFileList[1].size(), 300u);
    const std::string first = device.Name;
    ModuleFileList = TStringList{"other.chl", deepModule("Other", 299)};
    ASSERT_EQ(Load(), clReady);
    EXPECT_NE(device.Name, first);
    EXPECT_EQ(UploadCommands(), 1);

    // A programmer that keeps less than that costs a compile at every run.
    device.NameRoom = 20;
    ModuleFileList = TStringList{"other.chl", "Serial\\chip.chl"};
    for (int run = 0; run < 2; ++run) {
        ASSERT_EQ(Load(), clReady);
        EXPECT_EQ(UploadCommands(), 1);
    }
}

TEST_F(CompAndLoadTest, FailedUploadIsTriedAgain)
{
    device.RefuseBlocks = true;
    EXPECT_EQ(Load(), clDeviceFailed);
    EXPECT_EQ(UsbOutHandle, -1) << "closed after the failed upload";
    EXPECT_EQ(UploadCommands(), 1);
    device.RefuseBlocks = false;
    EXPECT_EQ(Load(), clReady);
    EXPECT_EQ(UploadCommands(), 1);
    EXPECT_EQ(device.Uploads, 1);
}

TEST_F(CompAndLoadTest, CompileErrorsEveryTimeAndNothingSent)
{
    std::string broken = Module;
    broken.replace(broken.find("RUN(GO);"), 8, "RUN GO;");
    WriteModule(broken);
    for (int run = 0; run < 2; ++run) {
        EXPECT_EQ(Load(), clCompileErrors);
        ASSERT_FALSE(errors.Empty());
        EXPECT_EQ(errors[0].rfind("Line ", 0), 0u) << errors[0];
        EXPECT_EQ(UploadCommands(), 0);
    }
    WriteModule(Module);
    EXPECT_EQ(Load(), clReady);
    EXPECT_TRUE(errors.Empty());
}

TEST_F(CompAndLoadTest, ChipNotListedAndProgrammerAbsent)
{
    CurrentChip = "Test\\Missing";
    EXPECT_EQ(Load(), clChipNotListed);
    CurrentChip = "Test\\Chip";
    ModuleFileList = TStringList{"other.chl"}; // shorter than the chip list
    EXPECT_EQ(Load(), clChipNotListed);

    ModuleFileList = TStringList{"other.chl", "Serial\\chip.chl"};
    t->Missing = {"01"};
    EXPECT_EQ(Load(), clDeviceFailed);
}

TEST_F(CompAndLoadTest, HostOnlyScriptNeedsNoUpload)
{
    WriteModule("[HOST]\r\nPROC INFO {\r\n}\r\n");
    EXPECT_EQ(Load(), clReady) << errors.Text();
    EXPECT_EQ(UploadCommands(), 0);
    EXPECT_EQ(device.NameStores, 0);
    EXPECT_FALSE(HostMachine->UsesDevice);
}

// One name twice in the parameter list: reuse hands the script the value
// the first run had.
TEST_F(CompAndLoadTest, ReuseGivesARepeatedEntryTheFirstRunsValue)
{
    ModuleParameters.AddObject("GlobalVerify", 1);
    ModuleParameters.AddObject("GLOBALVERIFY", 0);
    ASSERT_EQ(Load(), clReady) << errors.Text();
    const int variable = HostMachine->VarNames[HostMachine->VarNames.IndexOf("GLOBALVERIFY")].Number;
    EXPECT_EQ(HostMachine->Vars[static_cast<size_t>(variable)], 1u);
    ASSERT_EQ(Load(), clReady);
    ASSERT_EQ(t->Commands(), (std::vector<Bytes>{{9, 4}})) << "reused, not compiled";
    EXPECT_EQ(HostMachine->Vars[static_cast<size_t>(variable)], 1u) << "the same entry as the first run";
}

} // namespace
