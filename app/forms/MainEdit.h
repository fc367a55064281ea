#pragma once
// The main window's buffer commands: the Edit menu, both dump views' popup
// menus, the status line's address and data labels and the marker panel. The buffer work is in app/MainEdit.h; these handlers ask
// for its input through the buffer dialogs and show its results. Find and
// Insert keep their dialog open beside the window and act on each of its
// requests.
#include "buffer/HDumpEdit.h"

#include <QObject>

#include <cstdint>
#include <string>

class QFrame;
class QMenu;
class TFillForm;
class TFindForm;
class THexDump;
class TMainForm;
class TfmFileForCompare;
class TfmGotoAdr;
class TfmInsertFromFile;
class TfmShowSelection;

class TMainEdit : public QObject {
    Q_OBJECT
public:
    explicit TMainEdit(TMainForm& form);

    // The command of a popup number (or of its Edit menu item) on a view.
    void DoViewPopupCommand(THexDump& view, TDumpPopupCommand command);

    // Single commands, on the view given.
    void CopyClick(THexDump& view);
    void PasteClick(THexDump& view);
    void SwapBytesClick(THexDump& view);
    void FillClick(THexDump& view, bool xorMode);
    void FindClick();
    void InsertClick();
    void CompareClick(THexDump& view);
    // Asks for the file, then XorWithFileNamed.
    void XorWithFileClick(THexDump& view);
    void XorWithFileNamed(THexDump& view, const std::string& fileName);
    void SaveSelectionClick(THexDump& view);
    void CopyFromFileClick(THexDump& view);
    void ShowAsDecimalClick(THexDump& view);
    void GotoAddressClick();
    // A marker panel: marker `tag` (0..7) on buffer 1.
    void MarkerPanelPressed(int tag);

    // The dialogs, made on first use.
    TFillForm* FillForm();
    TFindForm* FindForm();
    TfmGotoAdr* GotoForm();
    TfmShowSelection* ShowSelectionForm();
    TfmInsertFromFile* InsertFromFileForm();
    TfmFileForCompare* CompareForm();

    // The marker panel with its eight colour panels and the "X" button.
    QFrame* pnMarkers;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TMainForm& form_;
    TFillForm* fill_ = nullptr;
    TFindForm* find_ = nullptr;
    TfmGotoAdr* goto_ = nullptr;
    TfmShowSelection* showSelection_ = nullptr;
    TfmInsertFromFile* insertFromFile_ = nullptr;
    TfmFileForCompare* compare_ = nullptr;
    // The find and insert session: its mode, where the next search starts
    // and in which view.
    bool insertMode_ = false;
    int64_t searchPosition_ = 0;
    THexDump* searchView_ = nullptr;

    void BindCommands();
    void BuildSelectionMenu();
    void RelabelPopups();
    void BuildMarkerPanel();
    void EditMenuOpening();
    void SetMarkersPanelVisible(bool visible);
    void StartFindSession(bool insert);
    void FindAction();
    void FindNext(THexDump& view);
    void InsertAction();
    void Changed(THexDump& view);
};

// Makes the window's TMainEdit and binds its commands, popups and labels.
void InstallEditCommands(TMainForm& form);
