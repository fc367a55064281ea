// The Edit menu and the views' popup commands: binding, the menu's
// enabling, and the commands that need no file.
#include "app/forms/MainEdit.h"

#include "app/MainCommands.h"
#include "app/MainEdit.h"
#include "app/forms/Main.h"
#include "buffer/forms/HDump.h"
#include "buffer/forms/uFill.h"
#include "buffer/forms/uGotoAdr.h"
#include "buffer/forms/uShowSelection.h"
#include "engine/Global.h"
#include "engine/LanguageTexts.h"
#include "engine/forms/GlobalClipboard.h"
#include "platform/Cp1251.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>

#include <algorithm>

namespace {

// The Edit menu's items and the popup numbers of the same commands.
struct TEditRow {
    const char* Name;
    TDumpPopupCommand Command;
};
constexpr TEditRow EditRows[] = {
    {"Swapbytes1", pcSwapBytes},        {"Hidemismatch1", pcHideMismatch},
    {"mmErase", pcEraseBuffer},         {"mmFill", pcFill},
    {"mmFind", pcFind},                 {"mmInsert", pcPasteSpecial},
    {"mmCompareFile", pcCompareWithFile}, {"mmSelSaveAsFile", pcSaveSelection},
    {"mmSelInserFromFile", pcCopyFromFile}, {"mmSelConvertToDigit", pcShowAsDecimal},
    {"Copy1", pcCopy},                  {"Paste1", pcPaste},
    {"XOR1", pcXor},                    {"Selectall1", pcSelectAll},
    {"XORwithfile1", pcXorWithFile},    {"Hidemarkers1", pcHideMarkers},
};

} // namespace

void InstallEditCommands(TMainForm& form) { new TMainEdit(form); }

TMainEdit::TMainEdit(TMainForm& form) : QObject(&form), form_(form)
{
    setObjectName("MainEdit");
    BindCommands();
    BuildSelectionMenu();
    BuildMarkerPanel();
    RelabelPopups();
    for (THexDump* view : {form_.HexDump1, form_.HexDump2})
        view->OnPopupCommand = [this](THexDump* sender, TDumpPopupCommand command) {
            DoViewPopupCommand(*sender, command);
        };
    form_.AdrLabel->installEventFilter(this);
    form_.DataLabel->installEventFilter(this);
    form_.AdrLabel->setCursor(Qt::PointingHandCursor);
    form_.DataLabel->setCursor(Qt::PointingHandCursor);
    connect(form_.mmEdit, &QMenu::aboutToShow, this, [this] { EditMenuOpening(); });
}

void TMainEdit::BindCommands()
{
    for (const TEditRow& row : EditRows)
        form_.SetCommandHandler(row.Name, [this, command = row.Command] {
            DoViewPopupCommand(*form_.ActiveView(), command);
        });
    // The Selection item only carries its submenu.
    form_.SetCommandHandler("mmSlection", [] {});
}

// The popups' items take the Edit menu's texts of the same commands from
// the language file; without a translation they keep their own captions.
void TMainEdit::RelabelPopups()
{
    auto relabel = [](QAction* item, const char* name) {
        const TMainCommand* row = FindMainCommand(name);
        if (!item || !row || !row->Tag)
            return;
        const std::string text = LanguageText(row->Tag, row->Offset, row->Caption);
        if (text != row->Caption)
            item->setText(Cp1251ToQString(text));
    };
    for (THexDump* view : {form_.HexDump1, form_.HexDump2}) {
        QMenu* popup = view->PopupMenu();
        for (const TEditRow& row : EditRows)
            relabel(popup->findChild<QAction*>(QStringLiteral("pi%1").arg(int(row.Command))), row.Name);
        relabel(popup->findChild<QAction*>(QStringLiteral("pi%1").arg(int(pcColorsAndFont))), "mmColors");
        if (auto* selection = popup->findChild<QMenu*>(QStringLiteral("miSelection")))
            relabel(selection->menuAction(), "mmSlection");
    }
}

// The Selection items go into the submenu of "Selection...", as in the
// views' popups.
void TMainEdit::BuildSelectionMenu()
{
    QAction* selection = form_.Command("mmSlection");
    auto* menu = new QMenu(form_.mmEdit);
    menu->setObjectName("mmSlectionMenu");
    const char* const items[] = {"mmSelSaveAsFile", "mmSelInserFromFile", nullptr, "mmSelConvertToDigit"};
    for (const char* name : items) {
        if (!name) {
            menu->addSeparator();
            continue;
        }
        QAction* item = form_.Command(name);
        form_.mmEdit->removeAction(item);
        menu->addAction(item);
    }
    selection->setMenu(menu);
}

void TMainEdit::EditMenuOpening()
{
    form_.UpdateCommands();
    if (form_.RunActive())
        return;
    const TDumpBuffer& buffer = form_.ActiveView()->Buffer();
    const bool selected = buffer.SelStart >= 0;
    if (!ClipboardHasHexText())
        form_.Command("Paste1")->setEnabled(false);
    form_.Command("mmSlection")->setEnabled(selected);
    form_.Command("mmSelInserFromFile")->setEnabled(selected);
    form_.Command("mmSelConvertToDigit")->setEnabled(SelectionShowable(buffer.SelStart, buffer.SelEnd));
}

void TMainEdit::DoViewPopupCommand(THexDump& view, TDumpPopupCommand command)
{
    if (form_.RunActive())
        return;
    switch (command) {
    case pcColorsAndFont: form_.Command("mmColors")->trigger(); break;
    case pcSwapBytes: SwapBytesClick(view); break;
    case pcHideMismatch: view.HideMismatch(); break;
    case pcEraseBuffer:
        view.Buffer().Modified = false;
        view.EraseBuffer();
        break;
    case pcFill: FillClick(view, false); break;
    case pcFind: FindClick(); break;
    case pcPasteSpecial: InsertClick(); break;
    case pcCompareWithFile: CompareClick(view); break;
    case pcSaveSelection: SaveSelectionClick(*form_.ActiveView()); break;
    case pcCopyFromFile: CopyFromFileClick(view); break;
    case pcShowAsDecimal: ShowAsDecimalClick(view); break;
    case pcCopy: CopyClick(view); break;
    case pcPaste: PasteClick(view); break;
    case pcXor: FillClick(view, true); break;
    case pcSelectAll: view.SelectAll(); break;
    case pcXorWithFile: XorWithFileClick(view); break;
    case pcHideMarkers: view.ClearMarkers(); break;
    case pcCount: break;
    }
    form_.BuffersChanged();
}

void TMainEdit::Changed(THexDump& view)
{
    view.Buffer().Modified = true;
    view.Paint();
}

void TMainEdit::CopyClick(THexDump& view)
{
    if (!SelectionRange(view.Buffer()))
        return;
    QGuiApplication::clipboard()->setText(Cp1251ToQString(CopyAsHexText(view.Buffer())));
}

void TMainEdit::PasteClick(THexDump& view)
{
    const std::string text = QStringToCp1251(QGuiApplication::clipboard()->text());
    if (view.Buffer().Empty() || !IsHexDumpText(text))
        return;
    PasteHexText(view.Buffer(), CaretByteOf(view.Edit()), text);
    Changed(view);
}

void TMainEdit::SwapBytesClick(THexDump& view)
{
    SwapBufferBytes(view.Buffer());
    Changed(view);
}

void TMainEdit::FillClick(THexDump& view, bool xorMode)
{
    TDumpBuffer& buffer = view.Buffer();
    if (buffer.Empty())
        return;
    TFillForm* dialog = FillForm();
    const QString caption = dialog->windowTitle();
    if (xorMode)
        dialog->setWindowTitle(QStringLiteral("XOR"));
    const auto selection = SelectionRange(buffer);
    dialog->SetSelectionAvailable(selection.has_value());
    const bool ok = dialog->exec() == QDialog::Accepted;
    dialog->setWindowTitle(caption);
    if (ok && !buffer.Empty()) {
        const TByteRange area =
            dialog->SelectedAreaOnly() && selection ? *selection : TByteRange{0, buffer.LastIndex};
        ApplyPattern(buffer, dialog->PatternText(), area, view.Edit().WordMode,
                     xorMode ? TPatternOp::Xor : TPatternOp::Fill);
        buffer.Modified = true;
    }
    view.Paint();
}

void TMainEdit::ShowAsDecimalClick(THexDump& view)
{
    const auto range = SelectionRange(view.Buffer());
    if (!range)
        return;
    TfmShowSelection* dialog = ShowSelectionForm();
    const int64_t count = std::min<int64_t>(range->Last - range->First + 1, SelectionSourceCapacity);
    std::copy_n(view.Buffer().Data.begin() + range->First, count, dialog->SourceBytes.begin());
    dialog->SourceCount = int(count);
    dialog->exec();
}

void TMainEdit::GotoAddressClick()
{
    THexDump& view = *form_.ActiveView();
    if (view.Buffer().Empty() || form_.RunActive())
        return;
    TfmGotoAdr* dialog = GotoForm();
    dialog->AddressLimit =
        int32_t(std::min<int64_t>(GotoAddressLimit(view.GetSize(), view.Edit().WordMode), INT32_MAX));
    if (dialog->exec() != QDialog::Accepted)
        return;
    view.Edit().GotoAddress(dialog->EnteredAddress);
    view.setFocus();
}

TFillForm* TMainEdit::FillForm()
{
    if (!fill_) {
        fill_ = new TFillForm(&form_);
        fill_->setObjectName("FillForm");
    }
    return fill_;
}

TfmGotoAdr* TMainEdit::GotoForm()
{
    if (!goto_) {
        goto_ = new TfmGotoAdr(&form_);
        goto_->setObjectName("fmGotoAdr");
    }
    return goto_;
}

TfmShowSelection* TMainEdit::ShowSelectionForm()
{
    if (!showSelection_) {
        showSelection_ = new TfmShowSelection(&form_);
        showSelection_->setObjectName("fmShowSelection");
    }
    return showSelection_;
}
