// The File menu's commands beyond open and save: New, the size change, a
// part of a buffer saved as a file, printing; the size label; files dropped
// on the window; and the reload question when another program changed a
// buffer's file.
#include "app/forms/Main.h"

#include "app/MainFile.h"
#include "app/MainModule.h"
#include "buffer/FileServ.h"
#include "buffer/forms/FileServDialogs.h"
#include "buffer/forms/HDump.h"
#include "buffer/forms/glabel.h"
#include "buffer/forms/uChangeFilesize.h"
#include "buffer/forms/uGetFileSize.h"
#include "buffer/forms/uPrint.h"
#include "buffer/forms/uSavePartOfFile.h"
#include "engine/Global.h"
#include "engine/LanguageTexts.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Pump.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTabBar>
#include <QUrl>

namespace {

// The first dropped item when it is a local file; empty otherwise.
std::string FirstDroppedFile(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().isEmpty() || !data->urls().first().isLocalFile())
        return {};
    return QStringToPath(data->urls().first().toLocalFile());
}

} // namespace

void TMainForm::BindFileCommands()
{
    const std::pair<const char*, std::function<void()>> own[] = {
        {"mmNew", [this] { mmNewClick(); }},
        {"mmChangeSize", [this] { mmChangeSizeClick(); }},
        {"mmSavePartOfFile", [this] { mmSavePartOfFileClick(); }},
        {"Print1", [this] { Print1Click(); }},
    };
    for (const auto& [name, handler] : own)
        handlers_[name] = handler;
    Panel5->OnMouseDown = [this](Qt::MouseButton button, int, int) { Panel5MouseDown(button); };
    // New and the size change follow buffer 1's state, which the menu
    // checks as it opens.
    connect(mmFile, &QMenu::aboutToShow, this, [this] { UpdateCommands(); });
    setAcceptDrops(true);
    // The program becoming active again is seen on the application object.
    qApp->installEventFilter(this);
}

void TMainForm::ResizeBuffer1(int64_t size)
{
    HexDump1->Edit().WordMode = false;
    HexDump1->SetSize(size);
    BuffersChanged();
}

void TMainForm::mmNewClick()
{
    if (!HexDump1->Buffer().EditorMode || RunActive())
        return;
    if (!AskSaveBeforeReplace(*HexDump1, WatchedFileName, "", &Buffer1Watch))
        return;
    // A save has given the buffer its file, whatever the size dialog brings.
    UpdateCaption();
    if (!getFileSize_)
        getFileSize_ = new TfmGetFileSize(this);
    if (getFileSize_->exec() != QDialog::Accepted)
        return;
    const std::optional<int32_t> size = getFileSize_->EnteredSize();
    if (!size)
        return;
    // Nothing of the buffer before shows in the new one: emptied first, it
    // gains every byte zero and unmarked.
    HexDump1->Buffer().SetSize(0);
    ResizeBuffer1(*size);
    // The new buffer has a name but no file behind it.
    WatchedFileName = "noname.bin";
    Buffer1Watch = {};
    UpdateCaption();
}

void TMainForm::mmChangeSizeClick()
{
    if (!HexDump1->Buffer().EditorMode || HexDump1->Buffer().Empty() || RunActive())
        return;
    if (!changeFilesize_)
        changeFilesize_ = new TfmChangeFilesize(this);
    changeFilesize_->CurrentSize = int32_t(HexDump1->GetSize());
    if (changeFilesize_->exec() != QDialog::Accepted)
        return;
    const std::optional<int32_t> size = changeFilesize_->EnteredSize();
    if (!size)
        return;
    // A buffer cut or grown no longer matches its file: leaving the
    // program asks about it.
    if (*size != HexDump1->GetSize())
        HexDump1->Buffer().Modified = true;
    ResizeBuffer1(*size);
}

void TMainForm::mmSavePartOfFileClick()
{
    THexDump* view = ActiveView();
    if (!savePart_)
        savePart_ = new TfmSavePartOfFile(this);
    const TSavePartFields fields = SavePartFields(view->Buffer(), view->Edit().TopIndex);
    savePart_->Edit1->setText(Cp1251ToQString(fields.Start));
    savePart_->Edit2->setText(Cp1251ToQString(fields.End));
    if (savePart_->exec() != QDialog::Accepted)
        return;
    const std::optional<TByteRange> range = ParseSavePartRange(QStringToCp1251(savePart_->Edit1->text()),
                                                               QStringToCp1251(savePart_->Edit2->text()),
                                                               view->Buffer());
    if (!range) {
        ShowMessageBox(MessageText(msgIncorrectAddress), "Tarku", MB_OK | MB_ICONWARNING);
        return;
    }
    SaveArrayRange(view->Buffer(), range->First, view->Edit().WordMode, range->Last);
}

void TMainForm::Print1Click()
{
    THexDump* view = ActiveView();
    if (!print_)
        print_ = new TfmPrint(this);
    print_->HasSelection = view->Buffer().SelStart >= 0;
    print_->ChipText = ChipNameOf(CurrentChip);
    if (print_->exec() == QDialog::Accepted)
        print_->PrintDump(*view);
}

void TMainForm::Panel5MouseDown(Qt::MouseButton button)
{
    if (RunActive())
        return;
    if (button != Qt::LeftButton) {
        if (HexDump1->Buffer().EditorMode)
            mmChangeSizeClick();
        return;
    }
    if (!Panel5->ActiveMode())
        return;
    THexDump* view = ActiveView();
    view->Edit().WordMode = !view->Edit().WordMode;
    BuffersChanged();
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event)
{
    if (!RunActive() && !FirstDroppedFile(event->mimeData()).empty())
        event->acceptProposedAction();
}

// The drop is finished at once; the question and the load follow when the
// drag source has been released.
void TMainForm::dropEvent(QDropEvent* event)
{
    const std::string fileName = FirstDroppedFile(event->mimeData());
    event->acceptProposedAction();
    if (!fileName.empty())
        QMetaObject::invokeMethod(this, [this, fileName] { DropFile(fileName); }, Qt::QueuedConnection);
}

// The file goes into the active buffer and becomes that buffer's own
// watched file; the buffer counts as modified.
void TMainForm::DropFile(const std::string& fileName)
{
    if (RunActive() || !FileExists(NativePath(fileName)))
        return;
    if (ShowMessageBox(DropQuestion(fileName), "Tarku", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    THexDump& view = Buffer2Active() ? *HexDump2 : *HexDump1;
    if (!LoadFromFile(view.Buffer(), fileName))
        return;
    view.FileLoaded();
    if (&view == HexDump1) {
        Buffer1Loaded(fileName, true);
    }
    else {
        Buffer2FileName = fileName;
        WatchFile(Buffer2Watch, fileName);
        if (WorkParam & wpHideMismatch)
            HexDump2->HideMismatch();
        BuffersChanged();
    }
    view.Buffer().Modified = true;
    UpdateCaption();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == qApp && event->type() == QEvent::ApplicationActivate)
        QMetaObject::invokeMethod(this, [this] { CheckWatchedFile(); }, Qt::QueuedConnection);
    return QMainWindow::eventFilter(watched, event);
}

// Not under a run or an open dialog, which work on the buffers: the change
// stays unseen until the next activation.
void TMainForm::CheckWatchedFile()
{
    if (checkingFiles_ || RunActive() || QApplication::activeModalWidget())
        return;
    checkingFiles_ = true;
    ReloadWatched(*HexDump1, Buffer1Watch, "");
    if (TabControl1->count() > 1)
        ReloadWatched(*HexDump2, Buffer2Watch, QStringToCp1251(TabControl1->tabText(1)));
    checkingFiles_ = false;
}

bool TMainForm::ReloadWatched(THexDump& view, TWatchedFile& watch, const std::string& buffer)
{
    if (!TakeOutsideChange(watch))
        return false;
    PumpMessages();
    const std::string text = buffer.empty() ? MessageText(msgReloadFile) : buffer + ": " + MessageText(msgReloadFile);
    if (ShowMessageBox(text, "Tarku", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    if (!LoadFromFile(view.Buffer(), watch.Name))
        return false;
    view.FileLoaded();
    view.Buffer().Modified = false;
    BuffersChanged();
    return true;
}
