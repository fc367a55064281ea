#pragma once
// The file window (the content of the dockable panel pnFileView): tab
// "Files" with the library's root label, the tree of its dumps and the
// selected dump's note with its Save button; tab "Info" with the module's
// picture above its information lines. Its popup loads, compares or XORs the selected dump, saves
// buffer 1 into the selected folder, creates folders and changes the root.
#include "platform/StringList.h"

#include <QWidget>

#include <string>

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QSplitter;
class QTabWidget;
class TFileView;
class TMainForm;

class TFileWindow : public QWidget {
    Q_OBJECT
public:
    TFileWindow(TMainForm& form, QWidget* parent = nullptr);

    QTabWidget* PageControl1;
    QWidget* TabSheet1; // Files
    QWidget* TabSheet2; // Info: pnInfo above Memo2
    QLabel* GLabel2;    // the library's root
    TFileView* FileView1;
    QSplitter* Splitter1;
    QWidget* pnFileInfo; // the note area
    QPlainTextEdit* Memo1;
    QPushButton* Button1; // Save
    QScrollArea* pnInfo; // as high as the picture when there is room
    QLabel* Image2;      // the module's picture
    QPlainTextEdit* Memo2; // the module's information lines
    QMenu* ppFileView;
    QAction* N14;  // Select root folder
    QAction* N24;  // Create folder
    QAction* N17;  // Save editor in this folder
    QAction* N19;  // Load selected file (double click)
    QAction* N21;  // Compare with this file
    QAction* XOR2; // XOR with this file

    // Root, filter and selection from the settings (start-up and after
    // the programming options).
    void InitFileWindow();
    // The note of a dump in the memo; the dump becomes DumpFileName.
    void ShowDumpDescription(const std::string& file);
    void FileView1Change();
    void ppFileViewPopup();
    void N14Click();
    void N24Click();
    void N17Click();
    void N19Click();
    void N21Click();
    void XOR2Click();
    // Left button: the root folder; any other: a new top-level folder.
    void GLabel2MouseDown(Qt::MouseButton button);
    void Memo1Change();
    void Button1Click();
    void Relabel();
    // The Info tab's picture: `file` (program path) shown centred at the
    // top, hidden when empty; a file that is no picture shows nothing.
    void ShowInfoPicture(const std::string& file);
    void ShowModuleInfo(const TStringList& info);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The selected node is a file that exists.
    bool FileSelected() const;
    void ShowRoot();

    TMainForm& form_;
};
