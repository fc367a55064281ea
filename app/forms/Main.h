#pragma once
// TMainForm: the main window's frame. Menus and tool bar come from the
// command table (app/MainCommands.h); the window holds both dump views on
// the tab control, the module's parameter panel, the chip label, the supply
// voltage box and the status line. Each topic of the window lives in a file
// pair of its own (app/Main<Topic>, app/forms/Main<Topic>); this class only
// assembles them.
#include "app/MainFile.h"
#include "platform/StringList.h"

#include <QMainWindow>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QStackedWidget;
class QTabBar;
class QToolBar;
class TGLabel;
class THexDump;
class THotLabel;
class TAboutForm;
class TCalcPanel;
class TParameterControls;
class TSelectForm;
class TfmChangeFilesize;
class TfmChipOptions;
class TfmGetFileSize;
class TfmLanguage;
class TfmPinsTest;
class TfmPrint;
class TfmSavePartOfFile;
class TfmSetDelay;
class TfmTest;
class TMainDock;
class TfmcolorsAndFonts;
struct TDeviceMenuActions;
struct TMainCommand;
struct TModulePlan;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // --- Start-up (called by the program body in this order) ------------
    // The creation steps after the settings and the language are loaded:
    // relabelling, buffers, editor font, help, window state, status line,
    // editor-only mode, hints and the option bits.
    void FormCreate();
    // The command-line dump into buffer 1; run after the module auto-load,
    // which would erase it.
    void LoadCommandLineDump(const std::string& fileName);
    // Module problems (TModuleInfo::Warnings) for the user: shown at once
    // when the window is up, else as soon as it shows.
    void ShowModuleWarnings(const TStringList& warnings);

    // --- Commands --------------------------------------------------------
    // The menu item or tool button of a command row.
    QAction* Command(const std::string& name) const;
    // Gives a command row its handler (nullptr: none, disabled again). The
    // pieces that fill the frame bind their commands here.
    void SetCommandHandler(const std::string& name, std::function<void()> handler);
    // Applies the enable rule to every command and to the widgets a run
    // must not reach. Runs after every change of state.
    void UpdateCommands();
    // The one routine after every change of a buffer's contents or size:
    // repaint, status line, size label, caption, commands.
    void BuffersChanged();
    // Runs a module procedure in the run window, with the window locked
    // for the time of the run.
    void RunDeviceProcedure(const std::string& operation);
    // A run is in progress: nothing may touch the link, module or buffers.
    bool RunActive() const;
    // A module is loaded and buffer 1 is not in editor-only mode.
    bool ModuleActive() const;

    // --- Chip module -----------------------------------------------------
    // Makes the chip entry's module the current one: buffers, tabs,
    // parameter controls, Device menu and bound tool buttons, supply
    // voltage, serial port. An unknown chip switches to editor-only mode.
    // It erases both buffers without asking: interactive callers ask first
    // (AskBeforeModuleLoad).
    void LoadModule(const std::string& chipEntry);
    // Before a load replaces the buffers: each modified buffer is offered
    // for saving. false: the user cancelled, the old module stays.
    bool AskBeforeModuleLoad();
    // The one handler of every device command: Device menu items, bound
    // tool buttons and module buttons (the sender names the command).
    void MenuClick(QObject* sender);
    // The chip selection dialog from the chip label or the Select button;
    // the chosen chip's module is loaded.
    void ChooseChip();
    // The module parameters window with the module's controls.
    void btShowParametersClick();
    void About1Click();
    void Language1Click();
    // The selection dialog and the About box, made by the program body
    // once the chip list is built.
    TSelectForm* SelectForm = nullptr;
    TAboutForm* AboutBox = nullptr;
    TfmChipOptions* ChipOptions = nullptr; // made by the first module that needs it
    TCalcPanel* CalcPanel = nullptr;       // the calculator panel (app/forms/MainCalc.h)
    TParameterControls* ParameterControls;
    // Full path of the current module file.
    std::string ModulePath;
    // The last device command, upper-cased without its first "&".
    std::string LastCommand;

    // --- Buffers and their files ----------------------------------------
    // Buffer 2 is active: the tab control has a second tab and it is shown.
    bool Buffer2Active() const;
    THexDump* ActiveView() const;
    std::string WatchedFileName = "noname.bin";
    std::string Buffer2FileName = "noname.bin";
    // The files the buffers were last loaded from or saved to, watched for
    // changes by other programs.
    TWatchedFile Buffer1Watch;
    TWatchedFile Buffer2Watch;
    // The caret position of the last status line (both buffers set it).
    int64_t CursorAddress = 0;
    // Hint words of the read, write and verify buttons (the module loader
    // replaces them).
    std::string HintWords[3] = {"Read", "Write", "Verify"};

    // --- Handlers --------------------------------------------------------
    void mnFileReadClick();
    void mnFileSaveClick();
    void mnExitClick();
    void OpenRecentFile(int index);
    void mmNewClick();
    void mmChangeSizeClick();
    void mmSavePartOfFileClick();
    void Print1Click();
    // The size label: another button than the left changes buffer 1's
    // size, the left one toggles word view of a buffer of whole words.
    void Panel5MouseDown(Qt::MouseButton button);
    // A dropped file is offered for loading into the active buffer.
    void DropFile(const std::string& fileName);
    // Each buffer's watched file changed by another program is offered for
    // reloading; runs whenever the program becomes active again.
    void CheckWatchedFile();
    void mnTestClick();
    void mnSetDelayClick();
    void mmToolbarClick();
    void mmEditoronlyClick();
    void TabControl1Change();
    void ShowPinTester();
    void UpdateCaption();
    void UpdateBufferLabels();
    void ShowHintText(const QString& hint);
    // Editor-only mode: no tabs, no module commands, buffer 1 sized by
    // what is loaded into it.
    void SetEditorOnlyMode();
    // --- Dumps library, file window, docking (MainDumps.cpp, MainDock.h)
    TMainDock* Docks = nullptr;
    // The library window; a dump chosen there is loaded (LoadDumpFromLibrary).
    void mmDumpsClick();
    void Addfiletodumplibrary1Click();
    // Buffer 1 takes a library dump, after the module of the chip its note
    // names (chipName; empty: none) when that differs from the current one.
    // A buffer-1 editor-only mode skips the chip unless inEditorMode. Each
    // modified buffer the load would replace is offered for saving first.
    void LoadDumpFromLibrary(const std::string& fileName, const std::string& chipName, bool inEditorMode);
    // Saves buffer 1 as a library dump chosen in a save dialog starting in
    // folder (inFolder: the BIN filter first) and asks for its note. The
    // saved file, or "" when cancelled or failed.
    std::string AddBufferToLibrary(const std::string& folder, bool inFolder);
    // The active buffer against a library dump: match marks and the count
    // of differing bytes / XOR up to the dump's end.
    void CompareWithLibraryFile(const std::string& fileName);
    void XorWithLibraryFile(const std::string& fileName);
    // Editor options, module defaults (MainOptions.cpp).
    void ShowEditorOptions();
    void GroupBox1MouseDown(); // a Ctrl + left click: the module's defaults
    // Chip pictures and documents (MainPicture.cpp). A right click on the
    // chip label: the module's picture in the picture viewer, or its
    // document opened by the desktop.
    void hlChipNameMouseDown();
    // The module's picture entry in the file window's Info tab; a missing
    // file hides the picture there.
    void ShowModulePicture(const std::string& picture);
    // The picture viewer shows the chip picture the entry names, titled
    // with the chip label; nothing when no such picture exists.
    void ShowChipPicture(const std::string& picture);
    // The picture entry of the current module's file; empty without one.
    std::string ModulePictureEntry() const;
    TfmcolorsAndFonts* ColorsAndFonts = nullptr; // made when first shown

    // --- Widgets ---------------------------------------------------------
    QMenu* mmFile;
    QMenu* mmDevice;      // filled by the module loader
    QMenu* mmEdit;
    QMenu* mmCalculators;
    QMenu* mmOptions;
    QMenu* mmHelp;
    QMenu* mmView;
    QToolBar* ToolBar1;
    THotLabel* hlChipName;
    QComboBox* vccCombobox;
    TGLabel* Panel5;      // buffer size
    QGroupBox* GroupBox1; // the module's parameter controls (module loader)
    QTabBar* TabControl1;
    QStackedWidget* Panel2;
    THexDump* HexDump1;
    THexDump* HexDump2;
    QLabel* AdrLabel;
    QLabel* DataLabel;
    QLabel* StatusHint;   // the status bar's hint panel

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Frame (Main.cpp).
    void BuildMenus();
    void BuildToolBar();
    void BuildCentral();
    void BuildStatusBar();
    QAction* AddCommand(const TMainCommand& row);
    void BindOwnHandlers();
    void Relabel();
    void ApplyEditorSettings(THexDump& view);
    // Files (MainFile.cpp).
    bool FormClose();
    // A modified buffer is offered for saving; a file saved becomes the
    // buffer's watched file when `watch` is given.
    bool AskSaveBeforeReplace(THexDump& view, std::string& fileName, const std::string& buffer,
                              TWatchedFile* watch = nullptr);
    bool AskSaveBeforeExit(THexDump& view, const std::string& buffer);
    void OpenIntoBuffer1();
    void OpenIntoBuffer2();
    void Buffer1Loaded(const std::string& fileName, bool recent);
    void LoadOpenedFileChip(const std::string& fileName);
    void RebuildRecentFiles();
    void SaveWindowSettings();
    // File commands (MainFileCommands.cpp).
    void BindFileCommands();
    void ResizeBuffer1(int64_t size);
    bool ReloadWatched(THexDump& view, TWatchedFile& watch, const std::string& buffer);
    // Status (MainView.cpp).
    void CaretMoved(THexDump& view, int64_t index);
    void ShowCaretStatus(THexDump& view);
    void SetHint(QAction* action, const std::string& text);
    void SetWidgetHint(QWidget* widget, const std::string& text);
    // The smallest window still shows the dump's header and one row.
    void KeepOneDumpRow();
    // Module (MainLoad.cpp).
    void DropModule();
    void ApplyModuleBuffers(const TModulePlan& plan);
    void ApplyModuleTabs(const TModulePlan& plan);
    void ApplyModuleControls(const TModulePlan& plan);
    void ApplyDeviceMenu(const TModulePlan& plan);
    void PlaceDeviceParts(bool tabsOnTop, bool panelOnTop);
    // Dispatch (MainDispatch.cpp).
    void ReactToExitValue(uint32_t exitValue);
    QObject* ToolButtonOf(const std::string& name) const;

    std::map<std::string, QAction*> commands_;
    std::map<std::string, std::function<void()>> handlers_;
    std::vector<QAction*> recentItems_;
    QAction* recentSeparator_ = nullptr;
    int runObserver_ = -1;
    bool moduleLoaded_ = false;
    bool hasBuffer2_ = false; // the module uses buffer 2
    bool moduleWords_[2] = {false, false}; // the module shows buffer 1 / 2 in words
    TfmLanguage* language_ = nullptr;
    TStringList pendingWarnings_;
    TfmPinsTest* pinsTest_ = nullptr;
    TfmTest* test_ = nullptr;
    TfmSetDelay* setDelay_ = nullptr;
    TfmGetFileSize* getFileSize_ = nullptr;
    TfmChangeFilesize* changeFilesize_ = nullptr;
    TfmSavePartOfFile* savePart_ = nullptr;
    TfmPrint* print_ = nullptr;
    bool checkingFiles_ = false; // a reload question is open
};

// The program's main window while it exists.
extern TMainForm* MainForm;
