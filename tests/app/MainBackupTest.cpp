#include "app/MainBackup.h"

#include "engine/Global.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"

#include "TestSupport.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using testsupport::ReadFileBytes;
using testsupport::TempDir;
namespace fs = std::filesystem;

// The moment of the edge case: a locale that writes "/" and ":".
const TBackupMoment moment{"07/12/2026", "14:05:09"};

class MainBackup : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous = SetMessageBoxHandler([this](const std::string& text, const std::string& caption, unsigned) {
            boxes.push_back(caption + ": " + text);
            return IDOK;
        });
    }
    void TearDown() override { SetMessageBoxHandler(previous); }

    TBackupSource Source(const std::string& chip, const std::vector<uint8_t>& data)
    {
        return {dir.path(), chip, "Read", data};
    }
    std::string DayFolder() const { return dir.file("Dumps/Backup/07-12-2026"); }
    // Names of the files of the day folder, sorted.
    std::vector<std::string> DayFiles() const
    {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(DayFolder()))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir dir;
    std::vector<std::string> boxes;
    MessageBoxHandler previous;
};

TEST(MainBackupDecision, OnlyTheBackupExitValueWithBit21)
{
    const struct {
        int32_t exitValue;
        uint32_t workParam;
        bool wanted;
    } cases[] = {
        {BackupExitValue, wpBackupControl, true},
        {BackupExitValue, WorkParamDefault, true}, // on by default
        {BackupExitValue, ~wpBackupControl, false},
        {BackupExitValue - 1, 0xFFFFFFFFu, false},
        {0, 0xFFFFFFFFu, false},
        {-1, 0xFFFFFFFFu, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AutoBackupWanted(c.exitValue, c.workParam), c.wanted) << c.exitValue << " " << c.workParam;
}

TEST_F(MainBackup, NamesTakeDashesAndTheNoteKeepsTheLocaleTexts)
{
    const std::vector<uint8_t> data = {0x00, 0xFF, 0x5A, 0x0D, 0x0A};
    ASSERT_TRUE(AutoBackup(Source("EEPROM\\I2C\\24C02", data), moment));
    EXPECT_EQ(DayFiles(), (std::vector<std::string>{"24C02 14-05-09.bin", "24C02 14-05-09.txt"}));
    EXPECT_EQ(ReadFileBytes(DayFolder() + "/24C02 14-05-09.bin"), std::string("\x00\xFF\x5A\x0D\x0A", 5));
    EXPECT_EQ(ReadFileBytes(DayFolder() + "/24C02 14-05-09.txt"),
              "CHIP=24C02\r\n"
              "\r\n"
              "--  Autobackup file  --\r\n"
              "\r\n"
              "   Command: Read 24C02\r\n"
              "\r\n"
              "   Date: 07/12/2026\r\n"
              "   Time: 14:05:09\r\n");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MainBackup, ChipNamesAreMadeFitForFileNames)
{
    const struct {
        std::string chip;
        std::string file;
        std::string noteChip; // the note keeps the name as it is
    } cases[] = {
        {"I2C\\AT24C02/04", "AT24C02-04 14-05-09", "AT24C02/04"},
        {"X:Y*?", "X-Y-- 14-05-09", "X:Y*?"},
        {std::string("A\0B", 3), "A-B 14-05-09", std::string("A\0B", 3)},
        {"\xCC\xE8\xEA\xF0\xEE", "Микро 14-05-09", "\xCC\xE8\xEA\xF0\xEE"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(AutoBackup(Source(c.chip, {1, 2}), moment)) << c.file;
        const std::string note = ReadFileBytes(DayFolder() + "/" + c.file + ".txt");
        EXPECT_EQ(note.substr(0, 5 + c.noteChip.size() + 2), "CHIP=" + c.noteChip + "\r\n") << c.file;
        EXPECT_EQ(ReadFileBytes(DayFolder() + "/" + c.file + ".bin"), "\x01\x02") << c.file;
    }
    EXPECT_EQ(DayFiles().size(), 2 * std::size(cases));
}

TEST_F(MainBackup, TwoBackupsInOneSecondKeepBoth)
{
    ASSERT_TRUE(AutoBackup(Source("24C02", {1}), moment));
    ASSERT_TRUE(AutoBackup(Source("24C02", {2}), moment));
    ASSERT_TRUE(AutoBackup(Source("24C02", {3}), moment));
    EXPECT_EQ(DayFiles(), (std::vector<std::string>{"24C02 14-05-09 (2).bin", "24C02 14-05-09 (2).txt",
                                                    "24C02 14-05-09 (3).bin", "24C02 14-05-09 (3).txt",
                                                    "24C02 14-05-09.bin", "24C02 14-05-09.txt"}));
    EXPECT_EQ(ReadFileBytes(DayFolder() + "/24C02 14-05-09.bin"), "\x01");
    EXPECT_EQ(ReadFileBytes(DayFolder() + "/24C02 14-05-09 (2).bin"), "\x02");
    EXPECT_EQ(ReadFileBytes(DayFolder() + "/24C02 14-05-09 (3).bin"), "\x03");
}

TEST_F(MainBackup, AnExistingFolderIsFoundWithoutRegardToCase)
{
    fs::create_directories(dir.file("dumps/backup"));
    ASSERT_TRUE(AutoBackup(Source("24C02", {7}), moment));
    EXPECT_EQ(ReadFileBytes(dir.file("dumps/backup/07-12-2026/24C02 14-05-09.bin")), "\x07");
    EXPECT_FALSE(fs::exists(dir.file("Dumps")));
}

TEST_F(MainBackup, AFolderThatCannotBeMadeIsReported)
{
    testsupport::WriteFileBytes(dir.file("Dumps"), "a file where the folder belongs");
    EXPECT_FALSE(AutoBackup(Source("24C02", {1}), moment));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].rfind("Tarku: Cannot create folder \"", 0), 0u) << boxes[0];
}

TEST_F(MainBackup, AFailedDataWriteIsReportedAndLeavesNoNoteWithoutData)
{
    // A folder in the data file's place makes its write fail, for any user.
    fs::create_directories(DayFolder() + "/24C02 14-05-09.bin");
    EXPECT_FALSE(AutoBackup(Source("24C02", {1}), moment));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("Cannot create file"), std::string::npos);
    EXPECT_NE(boxes[0].find("24C02 14-05-09.bin"), std::string::npos);
    EXPECT_FALSE(fs::exists(DayFolder() + "/24C02 14-05-09.txt"));
}

TEST_F(MainBackup, ProgramsBackingUpInOneSecondEachKeepTheirOwn)
{
    // Rounds of four programs at once, each with its own data: every one
    // ends with a note and a data file of its own, none overwritten.
    constexpr int Programs = 4;
    constexpr int Rounds = 5;
    for (int round = 0; round < Rounds; ++round) {
        pid_t children[Programs];
        for (int p = 0; p < Programs; ++p) {
            children[p] = ::fork();
            ASSERT_GE(children[p], 0);
            if (children[p] == 0)
                ::_exit(AutoBackup(Source("24C02", std::vector<uint8_t>(64, uint8_t(round * Programs + p))), moment)
                            ? 0
                            : 1);
        }
        for (pid_t child : children) {
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
    }
    std::vector<int> owners;
    for (const std::string& name : DayFiles())
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".bin") == 0) {
            const std::string data = ReadFileBytes(DayFolder() + "/" + name);
            ASSERT_EQ(data.size(), 64u) << name;
            owners.push_back(uint8_t(data[0]));
            const std::string note = DayFolder() + "/" + name.substr(0, name.size() - 4) + ".txt";
            EXPECT_EQ(ReadFileBytes(note).substr(0, 11), "CHIP=24C02\r") << name;
        }
    std::sort(owners.begin(), owners.end());
    std::vector<int> all(Programs * Rounds);
    for (int i = 0; i < Programs * Rounds; ++i)
        all[size_t(i)] = i;
    EXPECT_EQ(owners, all);
    EXPECT_EQ(DayFiles().size(), size_t(2 * Programs * Rounds));
}

TEST_F(MainBackup, AReadOnlyFolderIsReported)
{
    fs::create_directories(DayFolder());
    ::chmod(DayFolder().c_str(), 0555);
    const bool writable = std::ofstream(DayFolder() + "/probe").good();
    if (writable) {
        ::chmod(DayFolder().c_str(), 0755);
        GTEST_SKIP() << "this user writes into read-only folders";
    }
    EXPECT_FALSE(AutoBackup(Source("24C02", {1}), moment));
    ::chmod(DayFolder().c_str(), 0755);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("Cannot create file"), std::string::npos);
    EXPECT_TRUE(DayFiles().empty());
}

} // namespace
