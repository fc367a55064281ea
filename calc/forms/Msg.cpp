#include "calc/forms/Msg.h"

#include "calc/uCreateCalcIndex.h"
#include "platform/Cp1251.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

QPointer<TfmMsg> fmMsg;

TfmMsg::TfmMsg(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName("fmMsg");
    setFixedSize(355, 70);
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    Panel1 = new QLabel("Create calculators index....", frame);
    Panel1->setObjectName("Panel1");
    Panel1->setFixedHeight(33);
    Panel1->setAlignment(Qt::AlignCenter);
    QFont bold = Panel1->font();
    bold.setBold(true);
    Panel1->setFont(bold);
    Panel2 = new QLabel(frame);
    Panel2->setObjectName("Panel2");
    Panel2->setAlignment(Qt::AlignCenter);
    // A deep folder path must not widen the window.
    Panel2->setMinimumWidth(1);
    Panel2->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* inner = new QVBoxLayout(frame);
    inner->setContentsMargins(4, 0, 4, 4);
    inner->setSpacing(0);
    inner->addWidget(Panel1);
    inner->addWidget(Panel2, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TfmMsg::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    QPointer<TfmMsg> self(this);
    CalcIndexProgress = [self](int line, const std::string& text) {
        if (self)
            (line == 1 ? self->Panel1 : self->Panel2)->setText(Cp1251ToQString(text));
    };
}

void TfmMsg::hideEvent(QHideEvent* event)
{
    CalcIndexProgress = nullptr;
    QWidget::hideEvent(event);
}

TfmMsg& MsgWindow(QWidget* owner)
{
    if (!fmMsg)
        fmMsg = new TfmMsg(owner);
    return *fmMsg;
}
