#include "app/forms/MainFileView.h"

#include "app/forms/Main.h"
#include "app/forms/MainDumpFolders.h"
#include "app/forms/filevie.h"
#include "app/uBinList.h"
#include "engine/Global.h"
#include "engine/LanguageTexts.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/forms/ButtonRow.h"

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTabWidget>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

// The Info tab's picture panel asks for the picture's full height (and the
// scroll bar under a picture wider than the panel), so that the layout
// gives it that much while the tab has room and lets it scroll otherwise.
class TInfoPanel : public QScrollArea {
public:
    using QScrollArea::QScrollArea;

    QSize sizeHint() const override
    {
        const QSize picture = widget() ? widget()->size() : QSize();
        const int frame = 2 * frameWidth();
        const bool wide = picture.width() > width() - frame;
        return {picture.width() + frame,
                picture.height() + frame + (wide ? horizontalScrollBar()->sizeHint().height() : 0)};
    }

protected:
    // The scroll bar comes and goes with the panel's width.
    void resizeEvent(QResizeEvent* event) override
    {
        QScrollArea::resizeEvent(event);
        const QSize hint = sizeHint();
        if (hint != hint_) {
            hint_ = hint;
            updateGeometry();
        }
    }

private:
    QSize hint_;
};

} // namespace

TFileWindow::TFileWindow(TMainForm& form, QWidget* parent) : QWidget(parent), form_(form)
{
    setObjectName("FileWindow");
    PageControl1 = new QTabWidget(this);
    TabSheet1 = new QWidget(PageControl1);
    GLabel2 = new QLabel(TabSheet1);
    GLabel2->setObjectName("GLabel2");
    GLabel2->setFrameShape(QFrame::StyledPanel);
    GLabel2->setCursor(Qt::PointingHandCursor);
    GLabel2->installEventFilter(this);
    Splitter1 = new QSplitter(Qt::Vertical, TabSheet1);
    FileView1 = new TFileView(Splitter1);
    FileView1->setObjectName("FileView1");
    pnFileInfo = new QWidget(Splitter1);
    pnFileInfo->setObjectName("pnFileInfo");
    Memo1 = new QPlainTextEdit(pnFileInfo);
    Memo1->setObjectName("Memo1");
    Button1 = new QPushButton(QStringLiteral("Save"), pnFileInfo);
    Button1->setObjectName("Button1");
    Button1->setEnabled(false);
    auto* info = new QVBoxLayout(pnFileInfo);
    info->setContentsMargins(0, 0, 0, 0);
    info->addWidget(Memo1, 1);
    info->addLayout(ButtonRow({Button1}));
    Splitter1->addWidget(FileView1);
    Splitter1->addWidget(pnFileInfo);
    Splitter1->setStretchFactor(0, 1);
    auto* files = new QVBoxLayout(TabSheet1);
    files->setContentsMargins(2, 2, 2, 2);
    files->addWidget(GLabel2);
    files->addWidget(Splitter1, 1);
    PageControl1->addTab(TabSheet1, QStringLiteral("Files"));
    TabSheet2 = new QWidget(PageControl1);
    pnInfo = new TInfoPanel(TabSheet2);
    pnInfo->setObjectName("pnInfo");
    pnInfo->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    pnInfo->setBackgroundRole(QPalette::Base);
    Image2 = new QLabel;
    Image2->setObjectName("Image2");
    pnInfo->setWidget(Image2);
    pnInfo->hide();
    Memo2 = new QPlainTextEdit(TabSheet2);
    Memo2->setObjectName("Memo2");
    Memo2->setReadOnly(true);
    auto* infoPage = new QVBoxLayout(TabSheet2);
    infoPage->setContentsMargins(2, 2, 2, 2);
    infoPage->addWidget(pnInfo);
    infoPage->addWidget(Memo2, 1);
    PageControl1->addTab(TabSheet2, QStringLiteral("Info"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PageControl1);

    ppFileView = new QMenu(this);
    const std::pair<QAction**, const char*> items[] = {
        {&N14, "Select root folder"}, {&N24, "Create folder"}, {&N17, "Save editor in this folder"},
        {&N19, "Load selected file (double click)"}, {&N21, "Compare with this file"},
        {&XOR2, "XOR with this file"}};
    const char* const names[] = {"N14", "N24", "N17", "N19", "N21", "XOR2"};
    int i = 0;
    for (auto [item, caption] : items) {
        *item = ppFileView->addAction(QString::fromLatin1(caption));
        (*item)->setObjectName(names[i++]);
    }
    connect(N14, &QAction::triggered, this, &TFileWindow::N14Click);
    connect(N24, &QAction::triggered, this, &TFileWindow::N24Click);
    connect(N17, &QAction::triggered, this, &TFileWindow::N17Click);
    connect(N19, &QAction::triggered, this, &TFileWindow::N19Click);
    connect(N21, &QAction::triggered, this, &TFileWindow::N21Click);
    connect(XOR2, &QAction::triggered, this, &TFileWindow::XOR2Click);
    FileView1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(FileView1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        ppFileViewPopup();
        ppFileView->popup(FileView1->viewport()->mapToGlobal(at));
    });
    connect(FileView1, &QTreeWidget::currentItemChanged, this, [this] { FileView1Change(); });
    connect(FileView1, &QTreeWidget::itemDoubleClicked, this, [this] { N19Click(); });
    connect(Memo1, &QPlainTextEdit::textChanged, this, &TFileWindow::Memo1Change);
    connect(Button1, &QPushButton::clicked, this, &TFileWindow::Button1Click);
}

void TFileWindow::Relabel()
{
    const TLanguageGroup tree("[FILE_TREE]");
    PageControl1->setTabText(0, Cp1251ToQString(tree.Text(1, "Files")));
    PageControl1->setTabText(1, Cp1251ToQString(tree.Text(2, "Info")));
    QAction* const items[] = {N14, N24, N17, N19, N21, XOR2};
    for (int i = 0; i < 6; ++i)
        items[i]->setText(Cp1251ToQString(tree.Text(3 + i, QStringToCp1251(items[i]->text()))));
    Button1->setText(Cp1251ToQString(TLanguageGroup("[COMMON_BUTTONS]").Text(15, "Save")));
}

void TFileWindow::ShowRoot()
{
    const QString root = QString::fromStdString(NativePath(LibraryRoot()));
    GLabel2->setText(root);
    GLabel2->setToolTip(root);
}

void TFileWindow::InitFileWindow()
{
    const std::string root = LibraryRoot();
    FileView1->SetShowExtension(true);
    FileView1->SetFilter("*.BIN|*.hex");
    FileView1->SetRootDir(root);
    ShowRoot();
    if (!DumpFileName.empty())
        FileView1->SetCurrentFolderName(LibraryRelativePath(root, DumpFileName));
    else
        FileView1->setCurrentItem(nullptr);
}

void TFileWindow::ShowInfoPicture(const std::string& file)
{
    if (file.empty()) {
        Image2->setPixmap(QPixmap());
        pnInfo->hide();
        return;
    }
    QImage picture;
    picture.load(QString::fromStdString(NativePath(file)));
    Image2->setPixmap(QPixmap::fromImage(picture));
    Image2->resize(picture.size());
    pnInfo->show();
    pnInfo->updateGeometry();
}

void TFileWindow::ShowModuleInfo(const TStringList& info)
{
    QStringList lines;
    for (const std::string& line : info)
        lines << Cp1251ToQString(line);
    Memo2->setPlainText(lines.join(QLatin1Char('\n')));
}

bool TFileWindow::FileSelected() const
{
    const std::string file = FileView1->CurrentFileName();
    return !file.empty() && FileExists(NativePath(file));
}

void TFileWindow::FileView1Change()
{
    FileView1->UpdateCurrentFolder();
    ShowDumpDescription(FileView1->CurrentFileName());
}

void TFileWindow::ShowDumpDescription(const std::string& file)
{
    DumpFileName = file;
    const QSignalBlocker blocker(Memo1);
    Memo1->setPlainText(file.empty() ? QString() : NoteForMemo(DumpNoteFile(file)));
    Button1->setEnabled(false);
}

void TFileWindow::ppFileViewPopup()
{
    const bool file = FileSelected();
    N19->setEnabled(file);
    N21->setEnabled(file);
    XOR2->setEnabled(file);
}

void TFileWindow::N14Click()
{
    std::string folder;
    if (!ChooseLibraryFolder(this, folder))
        return;
    FileView1->SetRootDir(LibraryRoot());
    ShowRoot();
}

void TFileWindow::N24Click()
{
    FileView1->UpdateCurrentFolder();
    const std::string sub = FileView1->CurrentFolderName();
    const std::string parent = sub.empty() ? LibraryRoot() : LibraryRoot() + "\\" + sub;
    if (!CreateFolderUnder(this, parent))
        return;
    if (sub.empty())
        FileView1->SetRootDir(LibraryRoot());
    else
        FileView1->RefreshFolder(sub);
}

void TFileWindow::N17Click()
{
    FileView1->UpdateCurrentFolder();
    const std::string sub = FileView1->CurrentFolderName();
    const std::string saved = form_.AddBufferToLibrary(sub.empty() ? LibraryRoot() : LibraryRoot() + "\\" + sub,
                                                       true);
    if (saved.empty())
        return;
    const std::string folder = LibraryRelativePath(LibraryRoot(), ExtractFilePath(saved));
    std::string inTree = folder;
    while (!inTree.empty() && (inTree.back() == '\\' || inTree.back() == '/'))
        inTree.pop_back();
    if (inTree.empty()) {
        FileView1->SetRootDir(LibraryRoot());
        return;
    }
    FileView1->SetCurrentFolderName(inTree);
    FileView1->RefreshFolder(inTree);
}

void TFileWindow::N19Click()
{
    if (!FileSelected())
        return;
    std::string chip;
    if (!Memo1->toPlainText().isEmpty())
        chip = NoteChipName(QStringToCp1251(Memo1->toPlainText().section(QLatin1Char('\n'), 0, 0)));
    const std::string file = FileView1->CurrentFileName();
    DumpFileName = file;
    form_.LoadDumpFromLibrary(file, chip, false);
}

void TFileWindow::N21Click()
{
    if (FileSelected())
        form_.CompareWithLibraryFile(FileView1->CurrentFileName());
}

void TFileWindow::XOR2Click()
{
    if (!DumpFileName.empty())
        form_.XorWithLibraryFile(DumpFileName);
}

void TFileWindow::GLabel2MouseDown(Qt::MouseButton button)
{
    if (button == Qt::LeftButton) {
        N14Click();
        return;
    }
    if (CreateFolderUnder(this, LibraryRoot()))
        FileView1->SetRootDir(LibraryRoot());
}

void TFileWindow::Memo1Change() { Button1->setEnabled(true); }

void TFileWindow::Button1Click()
{
    if (DumpFileName.empty())
        return;
    TStringList lines;
    lines.SetText(QStringToCp1251(Memo1->toPlainText()));
    if (SaveDumpNote(DumpNoteFile(DumpFileName), lines))
        Button1->setEnabled(false);
}

bool TFileWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == GLabel2 && event->type() == QEvent::MouseButtonPress) {
        GLabel2MouseDown(static_cast<QMouseEvent*>(event)->button());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
