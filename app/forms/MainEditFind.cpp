// Find and Insert: the find dialog stays open beside the window, and each
// of its requests searches or writes the active buffer; its Close ends the
// session. Nothing waits in a loop: the requests arrive as signals.
#include "app/forms/MainEdit.h"

#include "app/MainEdit.h"
#include "app/forms/Main.h"
#include "buffer/forms/HDump.h"
#include "buffer/forms/uFind.h"
#include "engine/LanguageTexts.h"
#include "platform/Cp1251.h"
#include "platform/MessageBox.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTabBar>

TFindForm* TMainEdit::FindForm()
{
    if (!find_) {
        find_ = new TFindForm(&form_);
        find_->setObjectName("FindForm");
        connect(find_, &TFindForm::ActionRequested, this, [this] {
            if (insertMode_)
                InsertAction();
            else
                FindAction();
        });
        connect(find_, &TFindForm::CloseRequested, find_, &QWidget::hide);
    }
    return find_;
}

void TMainEdit::FindClick() { StartFindSession(false); }

void TMainEdit::InsertClick() { StartFindSession(true); }

// A new command on an open dialog starts over in its own mode: the dialog
// is shown again so that it takes the mode's captions.
void TMainEdit::StartFindSession(bool insert)
{
    TFindForm* dialog = FindForm();
    insertMode_ = insert;
    searchPosition_ = 0;
    searchView_ = nullptr;
    const QString caption = Cp1251ToQString(insert ? dialog->InsertCaption : dialog->FindCaption);
    dialog->hide();
    dialog->setWindowTitle(caption);
    dialog->SpeedButton2->setText(caption);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void TMainEdit::FindAction()
{
    if (form_.RunActive())
        return;
    THexDump& view = *form_.ActiveView();
    // The position belongs to the buffer it was found in.
    if (&view != searchView_) {
        searchView_ = &view;
        searchPosition_ = 0;
    }
    FindNext(view);
    form_.BuffersChanged();
}

void TMainEdit::FindNext(THexDump& view)
{
    TDumpBuffer& buffer = view.Buffer();
    TFindForm& dialog = *find_;
    buffer.ClearSelection();
    int64_t position = searchPosition_;
    const int64_t found =
        FindPattern(dialog.Pattern.data(), dialog.PatternLength(), buffer.LastIndex, position, buffer.Data.data());
    if (found < 0) {
        searchPosition_ = 0;
        dialog.SpeedButton2->setText(Cp1251ToQString(dialog.FindCaption));
        view.Paint();
        ShowMessageBox(MessageText(msgPatternNotFound), QStringToCp1251(dialog.windowTitle()),
                       MB_OK | MB_ICONINFORMATION);
        return;
    }
    searchPosition_ = found + 1 > buffer.LastIndex ? 0 : found + 1;
    dialog.SpeedButton2->setText(Cp1251ToQString(dialog.FindNextCaption));
    THexDumpEdit& edit = view.Edit();
    if (found < edit.TopIndex || found > edit.LastRowIndex + 15)
        edit.ScrollToAddress(found);
    const int64_t last = std::min(found + dialog.PatternLength() - 1, buffer.LastIndex);
    buffer.SetSelectRange(found, last, true);
    // The match is the selection, so that Copy and the Selection commands
    // take it.
    buffer.SelStart = found;
    buffer.SelEnd = last;
    // The caret goes to the match, so the status line shows where it is;
    // the view has scrolled to it already.
    edit.HideCaret();
    edit.CaretNibble = found * 2;
    edit.ShowCaret();
    view.Paint();
}

// Insert writes at the active view's caret byte. The text page's memo is
// read as the dialog shows it: a text dump when "Insert as from text dump"
// is checked, else its characters.
void TMainEdit::InsertAction()
{
    if (form_.RunActive())
        return;
    THexDump& view = *form_.ActiveView();
    TDumpBuffer& buffer = view.Buffer();
    TFindForm& dialog = *find_;
    if (buffer.Empty())
        return;
    std::vector<uint8_t> bytes = dialog.Pattern;
    if (dialog.TextPageActive()) {
        int badLine = -1;
        auto text = InsertTextBytes(dialog.MemoLines(), dialog.CheckBox1->isChecked(), badLine);
        if (!text) {
            ShowMessageBox("Source text is not a hex dump. Line: " + std::to_string(badLine), "Tarku",
                           MB_OK | MB_ICONWARNING);
            return;
        }
        bytes = std::move(*text);
    }
    WriteBytesAt(buffer, CaretByteOf(view.Edit()), bytes);
    Changed(view);
    form_.BuffersChanged();
}
