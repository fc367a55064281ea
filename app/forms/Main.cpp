#include "app/forms/Main.h"

#include "app/MainCommands.h"
#include "app/MainStatus.h"
#include "app/forms/HotLabel.h"
#include "app/forms/MainEdit.h"
#include "app/forms/MainDock.h"
#include "app/forms/MainModule.h"
#include "app/forms/MainOptions.h"
#include "app/uLoadLanguages.h"
#include "buffer/FileServ.h"
#include "buffer/forms/HDump.h"
#include "buffer/forms/glabel.h"
#include "calc/forms/Templ.h"
#include "engine/Global.h"
#include "engine/LanguageTexts.h"
#include "engine/uExecuteLock.h"
#include "platform/Cp1251.h"
#include "platform/SysUtils.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

TMainForm* MainForm = nullptr;

namespace {

QString Text(const std::string& cp1251) { return Cp1251ToQString(cp1251); }

// The supply voltages the programmer switches to, in the order of its
// voltage codes.
const char* const SupplyVoltages[] = {"2.8 V", "3.0 V", "3.3 V", "3.6 V", "4.0 V",
                                      "4.3 V", "4.6 V", "4.8 V", "5.0 V"};

} // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent)
{
    setObjectName("MainForm");
    MainForm = this;
    BuildCentral();
    BuildMenus();
    BuildToolBar();
    BuildStatusBar();
    BindOwnHandlers();
    InstallEditCommands(*this);
    InstallMainOptions(*this);
    BindFileCommands();
    InstallMainDock(*this);
    ParameterControls = new TParameterControls(this);
    connect(ParameterControls, &TParameterControls::ButtonClicked, this,
            [this](QPushButton* button) { MenuClick(button); });
    hlChipName->OnClick = [this] { ChooseChip(); };
    // Every run, whoever starts it, locks the window's commands for its
    // time: the run pumps messages, and a command reaching the link, the
    // module or the buffers under it would work on what the run uses.
    runObserver_ = AddRunObserver([this](bool) { UpdateCommands(); });
    ConfirmDumpSize = [](const TDumpBuffer&, const std::string&, int64_t) { return ConfirmOtherFileSize(WorkParam); };
    resize(900, 640);
    UpdateCaption();
    UpdateCommands();
}

TMainForm::~TMainForm()
{
    RemoveRunObserver(runObserver_);
    ConfirmDumpSize = nullptr;
    if (MainForm == this)
        MainForm = nullptr;
}

QAction* TMainForm::AddCommand(const TMainCommand& row)
{
    auto* action = new QAction(Text(row.Caption), this);
    action->setObjectName(row.Name);
    action->setCheckable(row.Checkable);
    if (row.Shortcut)
        action->setShortcut(QKeySequence(QString::fromLatin1(row.Shortcut)));
    if (row.ToolButton)
        SetHint(action, WithoutFirstAmpersand(row.Caption));
    connect(action, &QAction::triggered, this,
            [this, name = std::string(row.Name), handler = std::string(CommandHandlerName(row))] {
                // Looked up at the click: a handler may have been bound or taken
                // away since the item was built.
                const auto it = handlers_.find(handler);
                if (it != handlers_.end() && it->second && Command(name)->isEnabled())
                    it->second();
            });
    commands_[row.Name] = action;
    return action;
}

void TMainForm::BuildMenus()
{
    const std::pair<QMenu**, const char*> menus[] = {
        {&mmFile, "&File"},       {&mmDevice, "&Device"}, {&mmEdit, "&Edit"},
        {&mmCalculators, "&Calculators"}, {&mmOptions, "&Options"}, {&mmHelp, "&Help"},
        {&mmView, "&View"}};
    const char* const names[] = {"mmFile", "mmDevice", "mmEdit", "mmCalculators", "mmOptions", "mmHelp", "mmView"};
    int i = 0;
    for (auto [menu, caption] : menus) {
        *menu = menuBar()->addMenu(QString::fromLatin1(caption));
        (*menu)->setObjectName(names[i++]);
    }
    QMenu* byMenu[] = {mmFile, mmDevice, mmEdit, mmCalculators, mmOptions, mmHelp, mmView};
    for (const TMainCommand& row : MainCommands()) {
        if (row.Menu == TMainMenu::None)
            continue;
        QMenu* menu = byMenu[static_cast<int>(row.Menu)];
        if (row.SeparatorBefore)
            menu->addSeparator();
        menu->addAction(AddCommand(row));
    }
    mmDevice->setEnabled(false);
    mmCalculators->setEnabled(false);
    connect(mmView, &QMenu::aboutToShow, this,
            [this] { Command("mmToolbar")->setChecked(ToolBar1->isVisible()); });
}

void TMainForm::BuildToolBar()
{
    ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setMovable(false);
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (const TMainCommand& row : MainCommands()) {
        if (row.Menu != TMainMenu::None)
            continue;
        if (row.SeparatorBefore)
            ToolBar1->addSeparator();
        QAction* action = AddCommand(row);
        action->setText(Text(WithoutFirstAmpersand(row.Caption)));
        ToolBar1->addAction(action);
    }
}

void TMainForm::BuildCentral()
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 0);

    // The device panel: chip, supply voltage, buffer size.
    auto* device = new QHBoxLayout;
    hlChipName = new THotLabel(central);
    hlChipName->setObjectName("hlChipName");
    hlChipName->setMinimumWidth(160);
    vccCombobox = new QComboBox(central);
    vccCombobox->setObjectName("vccCombobox");
    for (const char* v : SupplyVoltages)
        vccCombobox->addItem(QString::fromLatin1(v));
    vccCombobox->setCurrentIndex(-1);
    Panel5 = new TGLabel(central);
    Panel5->setText(QStringLiteral("0 x 8"));
    Panel5->setObjectName("Panel5");
    Panel5->setFrameShape(QFrame::StyledPanel);
    Panel5->setMinimumWidth(110);
    Panel5->setAlignment(Qt::AlignCenter);
    device->addWidget(hlChipName, 1);
    device->addWidget(new QLabel(QStringLiteral("VCC"), central));
    device->addWidget(vccCombobox);
    device->addWidget(Panel5);
    layout->addLayout(device);

    GroupBox1 = new QGroupBox(central);
    GroupBox1->setObjectName("GroupBox1");
    GroupBox1->setVisible(false);
    layout->addWidget(GroupBox1);

    TabControl1 = new QTabBar(central);
    TabControl1->setObjectName("TabControl1");
    TabControl1->setVisible(false);
    layout->addWidget(TabControl1);
    Panel2 = new QStackedWidget(central);
    Panel2->setObjectName("Panel2");
    HexDump1 = new THexDump(Panel2);
    HexDump1->setObjectName("HexDump1");
    HexDump2 = new THexDump(Panel2);
    HexDump2->setObjectName("HexDump2");
    Panel2->addWidget(HexDump1);
    Panel2->addWidget(HexDump2);
    layout->addWidget(Panel2, 1);
    setCentralWidget(central);
    connect(TabControl1, &QTabBar::currentChanged, this, [this] { TabControl1Change(); });
}

void TMainForm::BuildStatusBar()
{
    StatusHint = new QLabel(statusBar());
    StatusHint->setObjectName("StatusHint");
    AdrLabel = new QLabel(statusBar());
    AdrLabel->setObjectName("AdrLabel");
    DataLabel = new QLabel(statusBar());
    DataLabel->setObjectName("DataLabel");
    statusBar()->addWidget(StatusHint, 1);
    statusBar()->addPermanentWidget(AdrLabel);
    statusBar()->addPermanentWidget(DataLabel);
}

void TMainForm::BindOwnHandlers()
{
    const std::pair<const char*, std::function<void()>> own[] = {
        {"mnFileRead", [this] { mnFileReadClick(); }},
        {"mnFileSave", [this] { mnFileSaveClick(); }},
        {"mnExit", [this] { mnExitClick(); }},
        {"mnSetDelay", [this] { mnSetDelayClick(); }},
        {"mnTest", [this] { mnTestClick(); }},
        {"mmToolbar", [this] { mmToolbarClick(); }},
        {"mmEditoronly", [this] { mmEditoronlyClick(); }},
        {"tbSelectChip", [this] { ChooseChip(); }},
        {"About1", [this] { About1Click(); }},
        {"Language1", [this] { Language1Click(); }},
    };
    for (const auto& [name, handler] : own)
        handlers_[name] = handler;
}

QAction* TMainForm::Command(const std::string& name) const
{
    const auto it = commands_.find(name);
    return it == commands_.end() ? nullptr : it->second;
}

void TMainForm::SetCommandHandler(const std::string& name, std::function<void()> handler)
{
    if (handler)
        handlers_[name] = std::move(handler);
    else
        handlers_.erase(name);
    UpdateCommands();
}

void TMainForm::Relabel()
{
    const std::pair<QMenu*, int> menus[] = {{mmFile, 1}, {mmDevice, 2}, {mmEdit, 3}, {mmCalculators, 4},
                                            {mmOptions, 5}, {mmHelp, 6}, {mmView, 7}};
    const TLanguageGroup mainMenu("[MAIN_MENU]");
    for (auto [menu, offset] : menus)
        menu->setTitle(Text(mainMenu.Text(offset, QStringToCp1251(menu->title()))));
    for (const TMainCommand& row : MainCommands()) {
        if (!row.Tag)
            continue;
        QAction* action = Command(row.Name);
        const std::string text = LanguageText(row.Tag, row.Offset, row.Caption);
        if (row.ToolButton) {
            // The buttons show their hint as their text: they have no
            // pictures.
            SetHint(action, WithoutFirstAmpersand(text));
            action->setText(Text(WithoutFirstAmpersand(text)));
        }
        else
            action->setText(Text(text));
    }
    SetWidgetHint(AdrLabel, LanguageText("[GOTO_ADDRESS]", 1, "Goto address"));
}

// The editor's look and options from the settings. The font takes every
// style bit, so that the font saved at exit comes back as it was.
void TMainForm::ApplyEditorSettings(THexDump& view)
{
    view.Colors.BackgroundColor = uint32_t(DefaultBackGround);
    view.Colors.FontColor = uint32_t(DefaultFontColor);
    view.Colors.SelectionBackColor = uint32_t(SelectionBackGround);
    view.Colors.SelectionFontColor = uint32_t(SelectionFontColor);
    view.Colors.AddressColor = uint32_t(AddressFontColor);
    view.Colors.MismatchColor = uint32_t(MismatchFontColor);
    view.Edit().PersistentBlocks = WorkParam & wpPersistentBlocks;
    view.Buffer().UseMarkersFile = !(WorkParam & wpNoMarkerFiles);
    view.setFont(THexDump::DumpFont(Text(DumpFontName), DumpFontSize, DumpFontStyle));
    view.Edit().AdvanceAfterIns = WorkParam & wpAdvanceAfterIns;
    view.Edit().ShowGrid = WorkParam & wpShowGrid;
    view.Edit().ShowHeader = WorkParam & wpShowAddresses;
}

// The dump's top margin, its column header and one row, and a little room:
// the window cannot be made so small that the dump disappears.
void TMainForm::KeepOneDumpRow()
{
    int height = 0;
    for (const THexDump* view : {HexDump1, HexDump2})
        height = std::max(height, 4 + 2 * view->MeasuredLineHeight() + 2);
    Panel2->setMinimumHeight(height);
}

void TMainForm::FormCreate()
{
    ToolBar1->setVisible(WorkParam & wpToolBarVisible);
    Command("mmToolbar")->setChecked(WorkParam & wpToolBarVisible);
    // No help viewer exists on this system, so help stays off whatever lies in help\.
    HelpAvailable = false;
    for (THexDump* view : {HexDump1, HexDump2}) {
        ApplyEditorSettings(*view);
        view->Edit().OnCaretMove = [this, view](int64_t index) { CaretMoved(*view, index); };
        view->Edit().OnSelectionChanged = [this](int64_t, int64_t) { UpdateCommands(); };
    }
    HexDump1->Edit().OnChange = [] { NotifyCalculatorChange(); };
    KeepOneDumpRow();
    if (MainWindowState == 1)
        setWindowState(windowState() | Qt::WindowMaximized);
    UpdateCaption();
    Relabel();
    RebuildRecentFiles();
    if (EditorMode != 0)
        SetEditorOnlyMode();
    QFont chipFont = hlChipName->font();
    chipFont.setBold(ChipNameFontStyle & 1);
    hlChipName->setFont(chipFont);
    const TCaretStatus status = InitialCaretStatus(AddressLabelText, DataLabelText);
    AdrLabel->setText(Text(status.AddressText));
    DataLabel->setText(Text(status.DataText));
    Panel2->setCurrentWidget(HexDump1);
    for (THexDump* view : {HexDump1, HexDump2})
        view->Paint();
    Docks->FormCreate();
    UpdateCommands();
}
