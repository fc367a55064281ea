#include "engine/forms/uExecute.h"

#include "engine/LanguageTexts.h"
#include "engine/forms/uCompilerErrors.h"
#include "engine/forms/uPinsTest.h"
#include "platform/Cp1251.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QShortcut>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QPainter>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>

#include <climits>

TfmExecute* fmExecute = nullptr;

namespace {

// A gauge whose percentage stays readable over the bar: navy on white,
// white on navy.
class TGauge : public QProgressBar {
public:
    using QProgressBar::QProgressBar;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const QRect r = rect().adjusted(0, 0, -1, -1);
        const int span = maximum() - minimum();
        const double part = span > 0 ? double(value() - minimum()) / span : 0.0;
        QRect filled = r.adjusted(1, 1, 0, 0);
        filled.setWidth(int(filled.width() * part));
        const QString text = QString::number(int(part * 100)) + "%";
        p.fillRect(r, Qt::white);
        p.fillRect(filled, QColor(0, 0, 128));
        p.setPen(Qt::gray);
        p.drawRect(r);
        p.setFont(font());
        p.setPen(QColor(0, 0, 128));
        p.drawText(r, Qt::AlignCenter, text);
        p.setClipRect(filled);
        p.setPen(Qt::white);
        p.drawText(r, Qt::AlignCenter, text);
    }
};

} // namespace

TfmExecute::TfmExecute(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName("fmExecute");
    setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowMinimizeButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName("Memo1");
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);

    Panel1 = new QWidget(this);
    Panel1->setObjectName("Panel1");
    Gauge1 = new TGauge(Panel1);
    Gauge1->setObjectName("Gauge1");
    Gauge1->setRange(0, 100);
    Gauge1->setValue(0);
    Gauge1->setAlignment(Qt::AlignCenter);
    QFont bold = Gauge1->font();
    bold.setBold(true);
    Gauge1->setFont(bold);
    Gauge1->setFixedHeight(22);
    auto* panel = new QHBoxLayout(Panel1);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->addWidget(Gauge1);

    btCancel = new QPushButton(this);
    btCancel->setObjectName("btCancel");
    btCancel->setFont(bold);
    btCancel->setMinimumWidth(100);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btCancel);
    buttons->addStretch(1);
    auto* form = new QVBoxLayout(this);
    form->addWidget(Memo1, 1);
    form->addWidget(Panel1);
    form->addLayout(buttons);

    // FormCreate: texts from the language tables.
    const TLanguageGroup common("[COMMON_BUTTONS]");
    Run.CloseText = common.Text(4, Run.CloseText);
    Run.CancelText = common.Text(2, Run.CancelText);
    Run.CancelQuestion = LanguageText("[RUNTIME_WINDOW]", 2, Run.CancelQuestion);
    btCancel->setText("&Cancel");

    connect(btCancel, &QPushButton::clicked, this, &TfmExecute::btCancelClick);
    // The button's captions come from the language tables without an Alt
    // key of their own: Alt+C presses it whatever it says.
    auto* altC = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_C), this);
    connect(altC, &QShortcut::activated, this, &TfmExecute::btCancelClick);
    setFixedSize(460, 330);
}

void TfmExecute::SetBuffers(TExecuteBuffer* buffer1, TExecuteBuffer* buffer2)
{
    Run.Buffer1 = buffer1;
    Run.Buffer2 = buffer2;
}

void TfmExecute::ShowWindow()
{
    if (!isVisible()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }
    show();
    // The button, not the log, takes the keys: Space or Enter presses it.
    btCancel->setFocus();
}

void TfmExecute::HideWindow() { hide(); }

void TfmExecute::CaptionChanged() { setWindowTitle(Cp1251ToQString(Run.Caption)); }

void TfmExecute::LinesCleared() { Memo1->clear(); }

void TfmExecute::LineAdded() { Memo1->appendPlainText(Cp1251ToQString(Run.Lines.back())); }

void TfmExecute::LastLineChanged()
{
    QTextCursor cursor(Memo1->document()->lastBlock());
    cursor.movePosition(QTextCursor::StartOfBlock);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(Cp1251ToQString(Run.Lines.back()));
}

void TfmExecute::GaugeChanged()
{
    // The bar takes int; scripts count in 32 bits.
    uint64_t max = Run.GaugeMax, position = Run.GaugePosition;
    while (max > static_cast<uint64_t>(INT_MAX)) {
        max >>= 1;
        position >>= 1;
    }
    Gauge1->setRange(0, static_cast<int>(max));
    Gauge1->setValue(static_cast<int>(std::min(position, max)));
}

void TfmExecute::ButtonChanged() { btCancel->setText(Cp1251ToQString(Run.ButtonCaption)); }

bool TfmExecute::ShowPinTester(int16_t result, uint8_t mask, const std::string& picture)
{
    if (!PinsTest)
        PinsTest = new TfmPinsTest(this);
    PinsTest->LoadPicture(picture);
    PinsTest->Result = result;
    PinsTest->Mask = mask;
    PinsTest->RunMode = true;
    const bool goOn = PinsTest->exec() != QDialog::Rejected;
    PinsTest->RunMode = false;
    return goOn;
}

void TfmExecute::ShowCompilerErrors(const TStringList& errors)
{
    if (!CompilerErrors)
        CompilerErrors = new TfmCompilerErrors(this);
    CompilerErrors->setWindowTitle("Compiler errors");
    CompilerErrors->SetErrorLines(errors);
    CompilerErrors->exec();
}

void TfmExecute::closeEvent(QCloseEvent* event)
{
    event->ignore();
    btCancelClick();
}

// Esc does what the button does: asks before cancelling a run, closes an
// ended one.
void TfmExecute::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        btCancelClick();
        return;
    }
    QWidget::keyPressEvent(event);
}

void RunModuleProcedure(const std::string& operation, int voltageIndex)
{
    if (!fmExecute)
        fmExecute = new TfmExecute;
    fmExecute->Run.RunModuleProcedure(operation, voltageIndex);
}
