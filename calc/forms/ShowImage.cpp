#include "calc/forms/ShowImage.h"

#include "calc/uCalcPicture.h"
#include "engine/Global.h"
#include "engine/LanguageTexts.h"
#include "platform/Cp1251.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

QPointer<TfmShowImage> fmShowImage;

namespace {

constexpr int ButtonWidth = 105;
constexpr int ButtonHeight = 33;
constexpr int BarHeight = 40;

QPushButton* BarButton(QWidget* parent, const char* name, const std::string& text)
{
    auto* button = new QPushButton(Cp1251ToQString(text), parent);
    button->setObjectName(name);
    button->setFixedSize(ButtonWidth, ButtonHeight);
    QFont font = button->font();
    font.setBold(true);
    button->setFont(font);
    return button;
}

} // namespace

TfmShowImage::TfmShowImage(QWidget* parent) : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint)
{
    setObjectName("fmShowImage");
    resize(578, 513);
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName("ScrollBox1");
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setBackgroundRole(QPalette::Base);
    ScrollBox1->setStyleSheet("QScrollArea, QScrollArea > QWidget > QWidget { background: white; }");
    auto* canvas = new QWidget;
    Image1 = new QLabel(canvas);
    Image1->setObjectName("Image1");
    ScrollBox1->setWidget(canvas);
    Panel1 = new QWidget(this);
    Panel1->setObjectName("Panel1");
    Panel1->setFixedHeight(BarHeight);
    const TLanguageGroup buttons("[COMMON_BUTTONS]");
    SpeedButton1 = BarButton(Panel1, "SpeedButton1", buttons.Text(4, "Close"));
    SpeedButton2 = BarButton(Panel1, "SpeedButton2", buttons.Text(15, "Save"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ScrollBox1, 1);
    layout->addWidget(Panel1);
    connect(SpeedButton1, &QPushButton::clicked, this, &QWidget::close);
    connect(SpeedButton2, &QPushButton::clicked, this, [this] { SpeedButton2Click(); });
    ScrollBox1->viewport()->installEventFilter(this);
    Image1->installEventFilter(this);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TfmShowImage::showEvent(QShowEvent* event)
{
    Prepare();
    QWidget::showEvent(event);
}

void TfmShowImage::ShowPicture()
{
    if (isVisible())
        Prepare();
    else
        show();
}

void TfmShowImage::Prepare()
{
    SpeedButton2->setEnabled(false);
    SpeedButton2->setVisible(EditMode);
    setWindowTitle(Cp1251ToQString(Title));
    if (PicturePath.empty()) {
        FreePicture();
        Image1->hide();
    } else
        LoadPicture();
    PlaceButtons();
}

void TfmShowImage::LoadPicture()
{
    setWindowTitle(Cp1251ToQString(Title));
    const std::string file = FindPictureFile(PicturePath);
    if (file.empty()) {
        FreePicture();
        Image1->hide();
        return;
    }
    QImage picture;
    picture.load(QString::fromStdString(NativePath(file)));
    Image1->setPixmap(QPixmap::fromImage(picture));
    Image1->resize(picture.size());
    Image1->show();
    // Centred while smaller than the scroll box, else from the top left
    // corner so that all of it can be scrolled to.
    const QSize box = ScrollBox1->viewport()->size();
    const QSize size = picture.size();
    ScrollBox1->widget()->resize(std::max(size.width(), box.width()), std::max(size.height(), box.height()));
    Image1->move(size.width() > box.width() ? 0 : (box.width() - size.width()) / 2,
                 size.height() > box.height() ? 0 : (box.height() - size.height()) / 2);
    PlaceButtons();
}

void TfmShowImage::PlaceButtons()
{
    const int top = (BarHeight - ButtonHeight) / 2;
    if (SpeedButton2->isVisibleTo(this)) {
        SpeedButton2->move((width() - 2 * ButtonWidth - 4) / 2, top);
        SpeedButton1->move(SpeedButton2->x() + ButtonWidth + 4, top);
    } else
        SpeedButton1->move((width() - ButtonWidth) / 2, top);
}

void TfmShowImage::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (Image1->isVisibleTo(this))
        LoadPicture();
    PlaceButtons();
}

void TfmShowImage::closeEvent(QCloseEvent* event)
{
    FreePicture();
    QWidget::closeEvent(event);
}

void TfmShowImage::FreePicture() { Image1->setPixmap(QPixmap()); }

bool TfmShowImage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && (mouse->modifiers() & Qt::ControlModifier) && EditMode) {
            ReplacePicture();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfmShowImage::ReplacePicture()
{
    if (!EditMode)
        return;
    QFileDialog dialog(this, QString(), QString::fromStdString(NativePath(ExtractFilePath(PicturePath))));
    dialog.setObjectName("OpenPictureDialog1");
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({"Pictures (*.bmp *.jpg *.jpeg)", "All files (*)"});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    PicturePath = QStringToPath(dialog.selectedFiles().first());
    LoadPicture();
    SpeedButton2->setEnabled(true);
}

void TfmShowImage::SpeedButton2Click()
{
    std::string error;
    if (SaveCalculatorPicture(FindPictureFile(PicturePath), LastCalc, error))
        SpeedButton2->setEnabled(false);
    else
        ShowMessageBox(error, "Tarku", MB_OK | MB_ICONERROR);
}

TfmShowImage& ShowImageWindow(QWidget* owner)
{
    if (!fmShowImage)
        fmShowImage = new TfmShowImage(owner);
    else if (fmShowImage->parentWidget() != owner)
        fmShowImage->setParent(owner, fmShowImage->windowFlags());
    return *fmShowImage;
}
