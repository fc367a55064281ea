#include "app/forms/ChipSel.h"

#include "app/ChipSel.h"
#include "app/ChipSelWriteBack.h"
#include "app/MainDocument.h"
#include "app/MainModule.h"
#include "app/forms/HotLabel.h"
#include "calc/forms/ShowImage.h"
#include "engine/Global.h"
#include "engine/LanguageTexts.h"
#include "engine/Modules.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Pump.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString Text(const std::string& s) { return Cp1251ToQString(s); }

// Tree images: 0 folder collapsed, 1 folder expanded, 2 chip.
const QIcon& TreeImage(int index)
{
    static const std::array<QIcon, 3> images = [] {
        QPixmap chip(16, 16);
        chip.fill(Qt::transparent);
        QPainter p(&chip);
        p.setPen(QColor(90, 90, 90));
        for (int x = 4; x <= 11; x += 3) {
            p.drawLine(x, 1, x, 3);
            p.drawLine(x, 12, x, 14);
        }
        p.fillRect(2, 4, 12, 8, QColor(40, 40, 40));
        p.setBrush(QColor(160, 160, 160));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPoint(4, 6), 1, 1);
        QStyle* style = QApplication::style();
        return std::array<QIcon, 3>{style->standardIcon(QStyle::SP_DirClosedIcon),
                                    style->standardIcon(QStyle::SP_DirOpenIcon), QIcon(chip)};
    }();
    return images.at(static_cast<size_t>(index));
}

// Centres a widget in a row of its own.
QHBoxLayout* Centred(QWidget* w)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(w);
    row->addStretch();
    return row;
}

} // namespace

TSelectForm::TSelectForm(QWidget* parent) : QDialog(parent)
{
    setObjectName("SelectForm");
    BuildControls();
    FormCreate();
    connect(TreeView1, &QTreeWidget::currentItemChanged, this, &TSelectForm::TreeView1Change);
    connect(TreeView1, &QTreeWidget::itemDoubleClicked, this, &TSelectForm::TreeView1DblClick);
    connect(TreeView1, &QTreeWidget::itemExpanded, this, &TSelectForm::TreeView1GetImageIndex);
    connect(TreeView1, &QTreeWidget::itemCollapsed, this, &TSelectForm::TreeView1GetImageIndex);
    connect(BitBtn1, &QPushButton::clicked, this, &TSelectForm::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TSelectForm::BitBtn2Click);
    connect(Splitter1, &QSplitter::splitterMoved, this, &TSelectForm::Splitter1Moved);
    connect(CheckBox1, &QCheckBox::toggled, this, &TSelectForm::CheckBox1Click);
    connect(ComboBox2, &QComboBox::currentIndexChanged, this, &TSelectForm::ComboBox2Change);
    HotLabel1->OnClick = [this] { HotLabel1Click(); };
}

void TSelectForm::BuildControls()
{
    resize(640, 440);
    GroupBox1 = new QGroupBox("Device");
    TreeView1 = new QTreeWidget;
    TreeView1->setObjectName("TreeView1");
    TreeView1->setHeaderHidden(true);
    // Long folder names scroll sideways instead of being cut short.
    TreeView1->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    TreeView1->header()->setStretchLastSection(false);
    (new QVBoxLayout(GroupBox1))->addWidget(TreeView1);

    TabSheet1 = new QWidget;
    Memo1 = new QPlainTextEdit;
    Memo1->setObjectName("Memo1");
    Memo1->setReadOnly(true);
    (new QVBoxLayout(TabSheet1))->addWidget(Memo1);

    TabSheet2 = new QWidget;
    Image1 = new QLabel;
    Image1->setObjectName("Image1");
    Image1->setAlignment(Qt::AlignCenter);
    Image1->installEventFilter(this);
    ScrollBox1 = new QScrollArea;
    ScrollBox1->setWidget(Image1);
    ScrollBox1->setWidgetResizable(true);
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    Label1 = new QLabel("Empty");
    Label1->setObjectName("Label1");
    Label1->setAlignment(Qt::AlignCenter);
    auto* package = new QVBoxLayout(TabSheet2);
    package->addWidget(ScrollBox1);
    package->addWidget(Label1);

    PageControl1 = new QTabWidget;
    PageControl1->addTab(TabSheet1, "Information");
    PageControl1->addTab(TabSheet2, "Package");
    PageControl1->addTab(BuildParameterPage(), "Parameters");

    Splitter1 = new QSplitter;
    Splitter1->addWidget(GroupBox1);
    Splitter1->addWidget(PageControl1);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setChildrenCollapsible(false);

    CheckBox1 = new QCheckBox("Use config file");
    ComboBox2 = new QComboBox;
    ComboBox2->setObjectName("ComboBox2");
    BitBtn1 = new QPushButton("Select");
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton("Cancel");
    SpeedButton3 = new QPushButton("Help");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CheckBox1);
    buttons->addWidget(ComboBox2);
    buttons->addStretch();
    for (QPushButton* b : {BitBtn1, BitBtn2, SpeedButton3})
        buttons->addWidget(b);

    auto* main = new QVBoxLayout(this);
    main->addWidget(Splitter1, 1);
    main->addLayout(buttons);
}

QWidget* TSelectForm::BuildParameterPage()
{
    TabSheet3 = new QWidget;
    GroupBox2 = new QGroupBox("Default VCC");
    ComboBox1 = new QComboBox;
    ComboBox1->setObjectName("ComboBox1");
    // The module voltages as the engine knows them, never in a local
    // number format.
    for (const std::string& v : TModuleInfo().Voltages)
        ComboBox1->addItem(Text(v + " V"));
    GroupBox2->setLayout(Centred(ComboBox1));

    GroupBox3 = new QGroupBox("Pin test");
    auto* pins = new QWidget;
    auto* pinRow = new QHBoxLayout(pins);
    pinRow->setContentsMargins(0, 0, 0, 0);
    for (size_t i = 0; i < PinBoxes.size(); ++i) {
        PinBoxes[i] = new QCheckBox(QString::number(i + 1));
        pinRow->addWidget(PinBoxes[i]);
    }
    GroupBox3->setLayout(Centred(pins));

    HotLabel1 = new THotLabel;
    HotLabel1->setObjectName("HotLabel1");
    HotLabel1->setText("Save");
    auto* page = new QVBoxLayout(TabSheet3);
    page->addWidget(GroupBox2);
    page->addWidget(GroupBox3);
    page->addLayout(Centred(HotLabel1));
    page->addStretch();
    return TabSheet3;
}

void TSelectForm::FormCreate()
{
    Relabel();
    FillCatalogChoice();
    CreateTreeNodes();
    PageControl1->setCurrentIndex(0);
    SpeedButton3->setEnabled(HelpAvailable);
    Splitter1->setSizes({ChipTreeWidth, std::max(1, width() - ChipTreeWidth)});
    CheckBox1->setEnabled(CatalogPresent);
    CheckBox1->setChecked((WorkParam & wpUseConfigFile) != 0);
    ShowPicture(std::string());
    EnableParameters(false);
    BitBtn1->setEnabled(false);
    PumpMessages();
}

void TSelectForm::Relabel()
{
    const TLanguageGroup window("[DEVICE_SELECT_WINDOW]");
    setWindowTitle(Text(window.Text(1, "Select device")));
    GroupBox1->setTitle(Text(window.Text(2, "Device")));
    PageControl1->setTabText(0, Text(window.Text(3, "Information")));
    PageControl1->setTabText(1, Text(window.Text(4, "Package")));
    PageControl1->setTabText(2, Text(window.Text(6, "Parameters")));
    GroupBox2->setTitle(Text(window.Text(7, "Default VCC")));
    GroupBox3->setTitle(Text(window.Text(8, "Pin test")));
    HotLabel1->setText(Text(window.Text(9, "Save")));
    Label1->setText(Text(MessageText(msgNoPicture)));
    const TLanguageGroup buttons("[COMMON_BUTTONS]");
    BitBtn2->setText(Text(buttons.Text(2, "Cancel")));
    SpeedButton3->setText(Text(buttons.Text(3, "Help")));
    BitBtn1->setText(Text(buttons.Text(5, "Select")));
    CheckBox1->setText(Text(buttons.Text(10, "Use config file")));
}

// Every catalogue file of the scripts folder, the one ConfigFile names
// selected (else the first).
void TSelectForm::FillCatalogChoice()
{
    ComboBox2->clear();
    int chosen = 0;
    for (const std::string& name : ListFolder(NativePath(ScriptsFolder()), false, true)) {
        const std::string file = Utf8ToCp1251(name);
        if (!AnsiSameText(ExtractFileExt(file), ".cfg"))
            continue;
        if (AnsiSameText(file, ConfigFile))
            chosen = ComboBox2->count();
        ComboBox2->addItem(Text(file));
    }
    ComboBox2->setCurrentIndex(ComboBox2->count() > 0 ? chosen : -1);
}

void TSelectForm::CreateTreeNodes()
{
    const QSignalBlocker blocker(TreeView1);
    TreeView1->clear();
    items_.assign(ChipTree.Nodes().size(), nullptr);
    for (int n : ChipTree.TreeOrder()) {
        const TChipTree::TNode& node = ChipTree.Node(n);
        auto* item = node.Parent == TChipTree::Root
                         ? new QTreeWidgetItem(TreeView1)
                         : new QTreeWidgetItem(items_[static_cast<size_t>(node.Parent)]);
        item->setText(0, Text(node.Text));
        item->setData(0, Qt::UserRole, n);
        items_[static_cast<size_t>(n)] = item;
        TreeView1GetImageIndex(item);
    }
}

void TSelectForm::TreeView1GetImageIndex(QTreeWidgetItem* item)
{
    const int node = item->data(0, Qt::UserRole).toInt();
    item->setIcon(0, TreeImage(ChipTree.IsFolder(node) ? (item->isExpanded() ? 1 : 0) : 2));
}

void TSelectForm::PreselectEntry(const std::string& entry)
{
    SelectedEntry = entry;
    TreeView1->collapseAll();
    const int node = ChipTree.FindEntry(entry);
    if (node < 0) {
        // Nothing in the tree stands for the entry: nothing is selected.
        TreeView1->setCurrentItem(nullptr);
        BitBtn1->setEnabled(false);
        return;
    }
    QTreeWidgetItem* item = items_[static_cast<size_t>(node)];
    for (QTreeWidgetItem* up = item; up; up = up->parent())
        up->setExpanded(true);
    if (TreeView1->currentItem() == item)
        TreeView1Change();
    else
        TreeView1->setCurrentItem(item);
    TreeView1->scrollToItem(item);
}

void TSelectForm::TreeView1Change()
{
    ModulePath.clear();
    ShowPicture(std::string());
    QTreeWidgetItem* item = TreeView1->currentItem();
    if (!item) {
        Memo1->clear();
        EnableParameters(false);
        BitBtn1->setEnabled(false);
        return;
    }
    SelectedEntry = ChipTree.Path(item->data(0, Qt::UserRole).toInt());
    if (item->childCount() > 0)
        ShowFolder();
    else
        ShowChip();
}

void TSelectForm::ShowFolder()
{
    BitBtn1->setEnabled(false);
    Memo1->setPlainText(Text("Folder \"" + SelectedEntry + "\""));
    EnableParameters(false);
}

void TSelectForm::ShowChip()
{
    const int index = ChipList.IndexOf(SelectedEntry);
    if (index >= 0) {
        const std::string path = ModuleFilePath(ModuleFileList[index]);
        TModuleInfo module;
        if (module.LoadFromFile(path) < 0) {
            Memo1->setPlainText("Script file error.");
            BitBtn1->setEnabled(false);
            EnableParameters(true);
            return;
        }
        ModulePath = path;
        QStringList lines{Text("Module file: " + ModuleFileList[index]), QString()};
        for (const std::string& line : module.Info)
            lines << Text(line);
        Memo1->setPlainText(lines.join('\n'));
        // A picture the module names but the bmps folder lacks shows as none.
        if (const std::string picture = ChipPicturePath(ProgramFolder(), module.Picture); !picture.empty())
            ShowPicture(NativePath(picture));
        const int voltage = module.Voltages.IndexOf(module.Voltage);
        ComboBox1->setCurrentIndex(voltage < 0 ? 0 : voltage);
        for (size_t i = 0; i < PinBoxes.size(); ++i)
            PinBoxes[i]->setChecked((module.PinTestMask >> i) & 1);
    } else {
        Memo1->setPlainText("Not information.");
    }
    BitBtn1->setEnabled(true);
    EnableParameters(true);
}

void TSelectForm::ShowPicture(const std::string& nativePath)
{
    QImage image;
    if (!nativePath.empty() && FileExists(nativePath))
        image.load(QString::fromStdString(nativePath));
    PicturePath = image.isNull() ? std::string() : nativePath;
    Image1->setPixmap(image.isNull() ? QPixmap() : QPixmap::fromImage(image));
    ScrollBox1->setVisible(!image.isNull());
    Label1->setVisible(image.isNull());
}

void TSelectForm::EnableParameters(bool on)
{
    for (QWidget* w : std::initializer_list<QWidget*>{GroupBox2, GroupBox3, HotLabel1})
        w->setEnabled(on);
}

void TSelectForm::TreeView1DblClick()
{
    if (BitBtn1->isEnabled())
        BitBtn1Click();
}

void TSelectForm::BitBtn1Click()
{
    DialogResult = 1;
    accept();
}

void TSelectForm::BitBtn2Click()
{
    DialogResult = -1;
    reject();
}

void TSelectForm::Splitter1Moved() { ChipTreeWidth = GroupBox1->width(); }

void TSelectForm::RebuildTree()
{
    const std::string previous = SelectedEntry;
    BuildChipList();
    CreateTreeNodes();
    PreselectEntry(previous);
    if (isVisible())
        TreeView1->setFocus();
}

void TSelectForm::CheckBox1Click()
{
    WorkParam = CheckBox1->isChecked() ? WorkParam | wpUseConfigFile : WorkParam & ~wpUseConfigFile;
    RebuildTree();
}

void TSelectForm::ComboBox2Change()
{
    ConfigFile = QStringToPath(ComboBox2->currentText());
    if (CheckBox1->isChecked())
        RebuildTree();
}

void TSelectForm::HotLabel1Click()
{
    if (ModulePath.empty())
        return;
    const TStringList voltages = TModuleInfo().Voltages;
    const int voltage = std::max(0, ComboBox1->currentIndex());
    uint8_t mask = 0;
    for (size_t i = 0; i < PinBoxes.size(); ++i)
        if (PinBoxes[i]->isChecked())
            mask = static_cast<uint8_t>(mask | (1u << i));
    WriteModuleDefaults(ModulePath, voltages[voltage], mask);
}

void TSelectForm::SelectChip(const std::string& preselectEntry, std::string& chosenEntry)
{
    if (StartupFlag)
        return;
    if (!preselectEntry.empty())
        PreselectEntry(preselectEntry);
    DialogResult = 0;
    if (!isVisible())
        exec();
    chosenEntry = DialogResult == 1 ? SelectedEntry : std::string();
}

bool TSelectForm::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == Image1 && e->type() == QEvent::MouseButtonDblClick) {
        Image1DblClick();
        return true;
    }
    return QDialog::eventFilter(watched, e);
}

void TSelectForm::Image1DblClick()
{
    if (PicturePath.empty())
        return;
    // Owned by this window, which as a modal one would block it otherwise.
    TfmShowImage& viewer = ShowImageWindow(this);
    viewer.EditMode = false;
    viewer.PicturePath = Utf8ToCp1251(PicturePath);
    viewer.Title = ChipNameOf(SelectedEntry);
    viewer.ShowPicture();
}

bool TSelectForm::event(QEvent* e)
{
    // FormActivate: the tree takes the keyboard.
    if (e->type() == QEvent::WindowActivate)
        TreeView1->setFocus();
    return QDialog::event(e);
}
