#include "app/forms/uBinList.h"

#include "app/forms/filevie.h"
#include "app/forms/MainDumpFolders.h"
#include "calc/forms/ShowImage.h"
#include "engine/Global.h"
#include "engine/LanguageTexts.h"
#include "platform/Cp1251.h"
#include "platform/Paths.h"
#include "platform/forms/ButtonRow.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QString Text(const char* tag, int offset, const char* own)
{
    return Cp1251ToQString(TLanguageGroup(tag).Text(offset, own));
}

} // namespace

TfmBinList::TfmBinList(QWidget* parent) : QDialog(parent)
{
    setObjectName("fmBinList");
    setWindowTitle(Text("[DUMPS_WINDOW]", 1, "Dumps library"));
    GroupBox1 = new QGroupBox(Text("[DUMPS_WINDOW]", 2, "Dumps"), this);
    TreeView1 = new TFileView(GroupBox1);
    TreeView1->setObjectName("TreeView1");
    auto* tree = new QVBoxLayout(GroupBox1);
    tree->addWidget(TreeView1);
    PageControl1 = new QTabWidget(this);
    auto* description = new QWidget(PageControl1);
    Memo1 = new QPlainTextEdit(description);
    Memo1->setObjectName("Memo1");
    SpeedButton3 = new QPushButton(Text("[COMMON_BUTTONS]", 1, "&Apply"), description);
    SpeedButton3->setObjectName("SpeedButton3");
    auto* descriptionLayout = new QVBoxLayout(description);
    descriptionLayout->addWidget(Memo1, 1);
    descriptionLayout->addLayout(ButtonRow({SpeedButton3}));
    PageControl1->addTab(description, Text("[DUMPS_WINDOW]", 3, "Description"));
    ScrollBox1 = new QScrollArea(PageControl1);
    Image1 = new QLabel;
    Image1->setObjectName("Image1");
    Image1->installEventFilter(this);
    ScrollBox1->setWidget(Image1);
    PageControl1->addTab(ScrollBox1, Text("[DEVICE_SELECT_WINDOW]", 4, "Picture"));
    auto* split = new QSplitter(this);
    split->addWidget(GroupBox1);
    split->addWidget(PageControl1);
    split->setSizes({260, 340});
    btLoad = new QPushButton(Text("[DUMPS_WINDOW]", 4, "&Load"), this);
    btLoad->setObjectName("btLoad");
    SpeedButton2 = new QPushButton(Text("[COMMON_BUTTONS]", 3, "&Help"), this);
    SpeedButton2->setObjectName("SpeedButton2");
    SpeedButton2->setEnabled(HelpAvailable);
    SpeedButton1 = new QPushButton(Text("[COMMON_BUTTONS]", 4, "&Close"), this);
    SpeedButton1->setObjectName("SpeedButton1");
    auto* form = new QVBoxLayout(this);
    form->addWidget(split, 1);
    form->addLayout(ButtonRow({btLoad, SpeedButton2, SpeedButton1}));
    PopupMenu1 = new QMenu(this);
    Changefolder1 = PopupMenu1->addAction(Text("[DUMPS_WINDOW]", 6, "Change folder"));
    Changefolder1->setObjectName("Changefolder1");
    TreeView1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(TreeView1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(TreeView1->viewport()->mapToGlobal(at)); });
    connect(Changefolder1, &QAction::triggered, this, &TfmBinList::Changefolder1Click);
    connect(TreeView1, &QTreeWidget::currentItemChanged, this, [this] { TreeView1Change(); });
    connect(TreeView1, &QTreeWidget::itemDoubleClicked, this, [this] { TreeView1DblClick(); });
    connect(Memo1, &QPlainTextEdit::textChanged, this, &TfmBinList::Memo1Change);
    // The box has its size only once its page shows.
    connect(PageControl1, &QTabWidget::currentChanged, this, [this] { PlacePicture(); });
    connect(SpeedButton3, &QPushButton::clicked, this, &TfmBinList::SpeedButton3Click);
    connect(btLoad, &QPushButton::clicked, this, &TfmBinList::btLoadClick);
    connect(SpeedButton1, &QPushButton::clicked, this, &TfmBinList::SpeedButton1Click);
    resize(640, 420);
    FormCreate();
}

void TfmBinList::FormCreate()
{
    TreeView1->SetFilter("*.BIN|*.hex");
    TreeView1->SetRootDir(LibraryRoot());
    TreeView1Change();
}

void TfmBinList::TreeView1Change()
{
    Choice = {};
    SpeedButton3->setEnabled(false);
    const std::string path = TFileView::NodePath(TreeView1->currentItem());
    Choice = path.empty() ? TBinListChoice{} : ChooseLibraryNode(TreeView1->RootDir() + "\\" + path);
    btLoad->setEnabled(!Choice.DumpFile.empty());
    {
        const QSignalBlocker blocker(Memo1);
        Memo1->setPlainText(Choice.DumpFile.empty()
                                ? QString()
                                : NoteForMemo(Choice.DescriptionFile));
    }
    ShowPicture();
}

void TfmBinList::ShowPicture()
{
    QPixmap picture;
    if (!Choice.PictureFile.empty())
        picture.load(QString::fromStdString(NativePath(Choice.PictureFile)));
    Image1->setPixmap(picture);
    Image1->resize(picture.size());
    Image1->setVisible(!Choice.PictureFile.empty());
    PlacePicture();
}

// Centred when it fits the box both ways, else at the top-left corner.
void TfmBinList::PlacePicture()
{
    const QSize box = ScrollBox1->viewport()->size();
    const QSize size = Image1->size();
    ScrollBox1->setAlignment(size.width() < box.width() && size.height() < box.height()
                                 ? Qt::AlignCenter
                                 : Qt::AlignLeft | Qt::AlignTop);
}

void TfmBinList::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    PlacePicture();
}

bool TfmBinList::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Image1 && event->type() == QEvent::MouseButtonDblClick) {
        Image1DblClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfmBinList::Image1DblClick()
{
    if (Choice.PictureFile.empty())
        return;
    // Owned by this window, which as a modal one would block it otherwise.
    TfmShowImage& viewer = ShowImageWindow(this);
    viewer.EditMode = false;
    viewer.PicturePath = Choice.PictureFile;
    viewer.Title = ExtractFileName(Choice.DumpFile);
    viewer.ShowPicture();
}

void TfmBinList::TreeView1DblClick()
{
    if (btLoad->isEnabled())
        btLoadClick();
}

void TfmBinList::Memo1Change() { SpeedButton3->setEnabled(true); }

void TfmBinList::SpeedButton3Click()
{
    if (Choice.DescriptionFile.empty())
        return;
    TStringList lines;
    lines.SetText(QStringToCp1251(Memo1->toPlainText()));
    SaveDumpNote(Choice.DescriptionFile, lines);
}

void TfmBinList::btLoadClick()
{
    Result = true;
    const std::string first = QStringToCp1251(Memo1->toPlainText().section(QLatin1Char('\n'), 0, 0));
    ChipName = NoteChipName(first);
    accept();
}

void TfmBinList::SpeedButton1Click()
{
    Result = false;
    reject();
}

void TfmBinList::Changefolder1Click()
{
    std::string folder;
    if (!ChooseLibraryFolder(this, folder))
        return;
    TreeView1->SetRootDir(LibraryRoot());
    TreeView1Change();
}
