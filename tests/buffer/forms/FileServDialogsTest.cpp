// The dump views' file dialogs: answered by a timer that plays the user.
#include "Screenshot.h"
#include "buffer/forms/FileServDialogs.h"

#include "BufferStateGuard.h"
#include "TestSupport.h"
#include "buffer/FileServ.h"
#include "buffer/forms/HDump.h"
#include "engine/Global.h"
#include "platform/MessageBox.h"

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vector>

namespace {

using testsupport::TempDir;
using testsupport::WriteFileBytes;

// Long enough for a loaded machine; only a hang reaches it.
constexpr int ModalCeilingMs = 30000;

// Waits for the modal file dialog and hands it to `act`; one still open
// after the ceiling is rejected and fails the test instead of hanging it.
void AnswerDialog(std::function<void(QFileDialog&)> act)
{
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            AnswerDialog(act);
            return;
        }
        QTimer::singleShot(ModalCeilingMs, dialog, [dialog] {
            ADD_FAILURE() << "file dialog left open";
            dialog->reject();
        });
        act(*dialog);
    });
}

void Choose(const std::string& path, int filter)
{
    AnswerDialog([path, filter](QFileDialog& d) {
        d.selectNameFilter(d.nameFilters()[filter - 1]);
        d.selectFile(QString::fromStdString(path));
        QMetaObject::invokeMethod(&d, "accept");
    });
}

// The dialogs start in the save folder and remember their choices in the
// settings.
class FileServDialogs : public ::testing::Test {
protected:
    testsupport::TBufferStateGuard state;
};

TEST_F(FileServDialogs, FiltersFromTheirTexts)
{
    EXPECT_EQ(DialogFilters(SaveRangeFilter), (QStringList{"Binary files (*.bin)", "Text dump (*.txt)"}));
    EXPECT_EQ(DialogFilters(OpenBufferFilter).size(), 5);
}

TEST_F(FileServDialogs, EachDialogStartsInTheSaveFolderWithItsFilter)
{
    TempDir dir;
    SaveDirectory = dir.path();
    THexDump view;
    view.SetSize(16);
    struct Seen {
        QStringList filters;
        QString selected;
        QString folder;
        bool defaultBin = false;
    };
    auto look = [](Seen& seen) {
        AnswerDialog([&seen](QFileDialog& d) {
            seen = {d.nameFilters(), d.selectedNameFilter(), d.directory().absolutePath(),
                    d.defaultSuffix() == "bin"};
            d.reject();
        });
    };
    const QStringList binHexAny = {"Binary files (*.bin)", "Intel HEX files (*.hex)", "Any files (*.*)"};
    std::string name;

    Seen open;
    OpenFileExtension = 4;
    look(open);
    // A preset name in another folder (a new buffer's "noname.bin" lies in
    // the program folder) does not take the dialog away from the save folder.
    name = "/usr/noname.bin";
    OpenBufferDialog(view, name);
    EXPECT_EQ(open.filters, (QStringList{"Binary files (*.bin)", "Intel HEX files (*.hex)",
                                         "Motorola S-records (*.s19)", "EEF files (*.eef)", "Any files (*.*)"}));
    EXPECT_EQ(open.selected, "EEF files (*.eef)");
    EXPECT_EQ(open.folder.toStdString(), dir.path());

    Seen save;
    SaveFileExtension = 3;
    look(save);
    SaveBufferDialog(view, name);
    EXPECT_EQ(save.filters, (QStringList{"Binary files (*.bin)", "Intel HEX files (*.hex)",
                                         "Motorola S19 files (*.s19)", "EEF files (*.eef)"}));
    EXPECT_EQ(save.selected, "Motorola S19 files (*.s19)");
    // The filter's extension is added by the program before it asks about
    // overwriting, not by the dialog.
    EXPECT_FALSE(save.defaultBin);

    Seen select;
    look(select);
    SelectDumpFileName(name);
    EXPECT_EQ(select.filters, binHexAny);
    EXPECT_EQ(select.folder.toStdString(), dir.path());

    Seen range;
    look(range);
    SaveArrayRange(view.Buffer(), 0, false, 15);
    EXPECT_EQ(range.filters, (QStringList{"Binary files (*.bin)", "Text dump (*.txt)"}));
    EXPECT_FALSE(range.defaultBin);
}

TEST_F(FileServDialogs, OpenCancelledIsNoSuccess)
{
    THexDump view;
    view.SetSize(16);
    std::string fileName = "keep.bin";
    bool cancelled = false;
    AnswerDialog([](QFileDialog& d) { d.reject(); });
    EXPECT_FALSE(OpenBufferDialog(view, fileName, &cancelled));
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(fileName, "keep.bin");
}

TEST_F(FileServDialogs, OpenLoadsAndSaveWritesTheChosenFormat)
{
    TempDir dir;
    SaveDirectory = dir.path();
    WriteFileBytes(dir.file("in.hex"), ":0300000041424337\n:00000001FF\n");
    THexDump view;
    view.resize(600, 300);
    view.Buffer().EditorMode = true;
    view.SetSize(100);
    std::string fileName;
    bool cancelled = true;
    Choose(dir.file("in.hex"), 2);
    ASSERT_TRUE(OpenBufferDialog(view, fileName, &cancelled));
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(fileName, dir.file("in.hex"));
    EXPECT_EQ(view.GetSize(), 3);
    EXPECT_EQ(OpenFileExtension, 2);
    EXPECT_EQ(view.Edit().TopIndex, 0);
    SaveScreenshot(view, "opened_view");

    Choose(dir.file("out"), 3);
    ASSERT_TRUE(SaveBufferDialog(view, fileName));
    EXPECT_EQ(fileName, dir.file("out.s19"));
    EXPECT_EQ(testsupport::ReadFileBytes(fileName), "S106000041424333\r\n");
    EXPECT_EQ(SaveFileExtension, 3);

    AnswerDialog([](QFileDialog& d) { d.reject(); });
    EXPECT_FALSE(SaveBufferDialog(view, fileName));
}

TEST_F(FileServDialogs, TheOverwriteQuestionIsAskedForTheNameThatIsWritten)
{
    TempDir dir;
    SaveDirectory = dir.path();
    WriteFileBytes(dir.file("fw_v1.bin"), "unrelated");
    WriteFileBytes(dir.file("x.bin"), "old x");
    THexDump view;
    view.Buffer().EditorMode = true;
    view.SetSize(4);
    std::vector<std::string> asked;
    int answer = IDNO;
    auto old = SetMessageBoxHandler([&](const std::string& text, const std::string&, unsigned) {
        asked.push_back(text);
        // No goes back to the dialog: the user then cancels it.
        if (answer == IDNO)
            AnswerDialog([](QFileDialog& d) { d.reject(); });
        return answer;
    });

    std::string fileName;
    Choose(dir.file("fw_v1.2"), 1);
    ASSERT_TRUE(SaveBufferDialog(view, fileName));
    EXPECT_EQ(fileName, dir.file("fw_v1.2.bin"));
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(testsupport::ReadFileBytes(dir.file("fw_v1.bin")), "unrelated");

    // A typed ".bin" under the remembered EEF filter stays a binary file,
    // and the question names it.
    SaveFileExtension = 4;
    Choose(dir.file("x.bin"), 4);
    EXPECT_FALSE(SaveBufferDialog(view, fileName));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].rfind("x.bin already exists.", 0), 0u) << asked[0];
    EXPECT_EQ(testsupport::ReadFileBytes(dir.file("x.bin")), "old x");
    answer = IDYES;
    Choose(dir.file("x.bin"), 4);
    ASSERT_TRUE(SaveBufferDialog(view, fileName));
    EXPECT_EQ(fileName, dir.file("x.bin"));
    EXPECT_EQ(testsupport::ReadFileBytes(dir.file("x.bin")).size(), 4u);
    EXPECT_FALSE(std::filesystem::exists(dir.file("x.eef")));

    // The default name of date, time and chip survives whole.
    std::string dated = "10-12-2026  15.46.07 24C02";
    SaveFileExtension = 1;
    AnswerDialog([](QFileDialog& d) { QMetaObject::invokeMethod(&d, "accept"); });
    ASSERT_TRUE(SaveBufferDialog(view, dated));
    EXPECT_EQ(dated, dir.file("10-12-2026  15.46.07 24C02.bin"));
    EXPECT_TRUE(std::filesystem::exists(dated));
    SetMessageBoxHandler(old);
}

// What a save asks before it replaces a file: a name that differs only by
// case is a file of its own, and a marker file is a dump's only when the
// dump is there too.
TEST_F(FileServDialogs, ASaveAsksOnlyAboutFilesItReplaces)
{
    const struct {
        const char* Name;
        std::vector<const char*> Existing; // each holding "old"
        const char* Typed;
        int Filter;
        int Answer;
        std::vector<std::string> Asked; // the start of each question
        bool Saved;
        std::vector<const char*> Kept; // still "old" afterwards
        std::vector<const char*> Written;
    } cases[] = {
        // Yes to any question: the save dialog then never opens again.
        {"a name that differs by case", {"x.hex", "x.hex.mrk"}, "X", 2, IDYES, {}, true, {"x.hex", "x.hex.mrk"},
         {"X.hex", "X.hex.mrk"}},
        {"a marker beside no dump, kept", {"m.bin.mrk"}, "m", 1, IDNO, {"m.bin.mrk already exists."}, false,
         {"m.bin.mrk"}, {}},
        {"a marker beside no dump, replaced", {"m.bin.mrk"}, "m", 1, IDYES, {"m.bin.mrk already exists."}, true,
         {}, {"m.bin", "m.bin.mrk"}},
        {"a dump and its marker", {"d.bin", "d.bin.mrk"}, "d.bin", 1, IDYES, {"d.bin already exists."}, true, {},
         {"d.bin", "d.bin.mrk"}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        SaveDirectory = dir.path();
        for (const char* name : c.Existing)
            WriteFileBytes(dir.file(name), "old");
        THexDump view;
        view.Buffer().EditorMode = true;
        view.Buffer().UseMarkersFile = true;
        view.SetSize(4);
        std::vector<std::string> asked;
        auto old = SetMessageBoxHandler([&](const std::string& text, const std::string&, unsigned) {
            asked.push_back(text);
            return c.Answer;
        });
        std::string fileName;
        Choose(dir.file(c.Typed), c.Filter);
        EXPECT_EQ(SaveBufferDialog(view, fileName), c.Saved) << c.Name;
        EXPECT_EQ(fileName.empty(), !c.Saved) << c.Name;
        SetMessageBoxHandler(old);
        ASSERT_EQ(asked.size(), c.Asked.size()) << c.Name;
        for (size_t i = 0; i < asked.size(); ++i)
            EXPECT_EQ(asked[i].rfind(c.Asked[i], 0), 0u) << c.Name << ": " << asked[i];
        for (const char* name : c.Kept)
            EXPECT_EQ(testsupport::ReadFileBytes(dir.file(name)), "old") << c.Name << ": " << name;
        for (const char* name : c.Written) {
            ASSERT_TRUE(std::filesystem::exists(dir.file(name))) << c.Name << ": " << name;
            EXPECT_NE(testsupport::ReadFileBytes(dir.file(name)), "old") << c.Name << ": " << name;
        }
    }
}

TEST_F(FileServDialogs, SelectDumpFileNameAndSaveRange)
{
    TempDir dir;
    SaveDirectory = dir.path();
    WriteFileBytes(dir.file("src.bin"), "abc");
    std::string name = "old";
    Choose(dir.file("src.bin"), 1);
    SelectDumpFileName(name);
    EXPECT_EQ(name, dir.file("src.bin"));
    AnswerDialog([](QFileDialog& d) {
        SaveScreenshot(d, "select_dialog");
        d.reject();
    });
    SelectDumpFileName(name);
    EXPECT_EQ(name, "");

    TDumpBuffer b;
    b.SetSize(32);
    Choose(dir.file("range"), 2);
    ASSERT_TRUE(SaveArrayRange(b, 0, false, 31));
    EXPECT_EQ(testsupport::ReadFileBytes(dir.file("range.txt")), MakeTextDump(b, 0, 31, false));
}

} // namespace
