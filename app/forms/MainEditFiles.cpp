// The buffer commands that take a second file: compare, XOR with a file,
// copy an area from a file, and saving the selection as a file.
#include "app/forms/MainEdit.h"

#include "app/MainEdit.h"
#include "app/forms/Main.h"
#include "buffer/FileServ.h"
#include "buffer/forms/FileServDialogs.h"
#include "buffer/forms/HDump.h"
#include "buffer/forms/uFileForCompare.h"
#include "buffer/forms/uInsertFromFile.h"
#include "engine/Global.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"

#include <QFileDialog>
#include <QRadioButton>

namespace {

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

// The reason a reader gave, on a line of its own after the main text.
std::string WithReason(const std::string& text, const std::string& reason)
{
    return reason.empty() ? text : text + "\n" + reason;
}

} // namespace

TfmFileForCompare* TMainEdit::CompareForm()
{
    if (!compare_) {
        compare_ = new TfmFileForCompare(&form_);
        compare_->setObjectName("fmFileForCompare");
    }
    return compare_;
}

TfmInsertFromFile* TMainEdit::InsertFromFileForm()
{
    if (!insertFromFile_) {
        insertFromFile_ = new TfmInsertFromFile(&form_);
        insertFromFile_->setObjectName("fmInsertFromFile");
    }
    return insertFromFile_;
}

void TMainEdit::CompareClick(THexDump& view)
{
    TfmFileForCompare* dialog = CompareForm();
    if (dialog->exec() != QDialog::Accepted || dialog->CompareFileName.empty())
        return;
    const std::string name = dialog->CompareFileName;
    std::vector<uint8_t> image;
    std::string reason;
    if (!LoadFileImage(name, view.GetSize(), image, reason)) {
        ShowMessageBox(WithReason("Error open file " + Quoted(name), reason), "Compare", MB_OK | MB_ICONWARNING);
        return;
    }
    const int64_t mismatches = CompareWithImage(view.Buffer(), image);
    image = {};
    view.Paint();
    ShowMessageBox("Mismatch: " + std::to_string(mismatches), "Compare", MB_OK | MB_ICONINFORMATION);
}

void TMainEdit::XorWithFileClick(THexDump& view)
{
    if (view.Buffer().Empty())
        return;
    const std::string folder = ExtractFilePath(XorFileName);
    const std::string start =
        !folder.empty() && DirectoryExists(NativePath(folder)) ? folder : ProgramFolder() + "\\Dumps";
    QFileDialog dialog(&form_, QString(), Cp1251ToQString(NativePath(start)));
    dialog.setObjectName("XorFileDialog");
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(DialogFilters("*.bin|*.bin"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    XorFileName = QStringToPath(dialog.selectedFiles().first());
    XorWithFileNamed(view, XorFileName);
}

void TMainEdit::XorWithFileNamed(THexDump& view, const std::string& fileName)
{
    if (!XorWithFile(view.Buffer(), fileName)) {
        ShowMessageBox("Error open file " + Quoted(fileName), "XOR with file", MB_OK | MB_ICONWARNING);
        return;
    }
    view.Paint();
}

void TMainEdit::SaveSelectionClick(THexDump& view)
{
    const auto range = SelectionRange(view.Buffer());
    if (range)
        SaveArrayRange(view.Buffer(), range->First, view.Edit().WordMode, range->Last);
}

void TMainEdit::CopyFromFileClick(THexDump& view)
{
    const auto range = SelectionRange(view.Buffer());
    if (!range)
        return;
    TfmInsertFromFile* dialog = InsertFromFileForm();
    if (dialog->exec() != QDialog::Accepted)
        return;
    const std::string name = dialog->SourceFileName();
    if (name.empty())
        return;
    const int64_t offset = dialog->RadioButton1->isChecked()   ? range->First
                           : dialog->RadioButton2->isChecked() ? 0
                                                               : dialog->CustomAddress;
    switch (CopyAreaFromFile(view.Buffer(), name, offset)) {
    case TCopyFromFile::Ok:
        view.Paint();
        break;
    case TCopyFromFile::Missing:
        ShowMessageBox("File " + Quoted(name) + " not found", "Copy from file", MB_OK | MB_ICONWARNING);
        break;
    case TCopyFromFile::TooSmall:
        ShowMessageBox("File " + Quoted(name) + " too small", "Copy from file", MB_OK | MB_ICONWARNING);
        break;
    case TCopyFromFile::NoSelection:
        break;
    }
}
