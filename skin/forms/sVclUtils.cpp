#include "skin/forms/sVclUtils.h"

#include "platform/Bitmap.h"
#include "platform/Pump.h"
#include "platform/forms/BitmapImage.h"
#include "skin/acFade.h"
#include "skin/forms/acSkinCommand.h"

#include <QPainter>
#include <QPointer>

bool FormAnimating = false;
std::function<void(int ms)> AnimationSleep = PumpingSleep;

namespace {
QPointer<TOutputWindow> outputWindow;
}

TOutputWindow::TOutputWindow(QWidget* parent)
    // A top-level one is a tip window: some window systems activate every
    // other kind of window that shows, whatever it asks, and the form under
    // it would lose its active caption.
    : QWidget(parent, parent ? Qt::Widget
                             : Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
{
    setWindowTitle(QStringLiteral("acOutputWindow"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void TOutputWindow::SetPicture(QImage picture)
{
    picture_ = std::move(picture);
    repaint();
}

void TOutputWindow::paintEvent(QPaintEvent*)
{
    QPainter(this).drawImage(0, 0, picture_);
}

TOutputWindow* OutputWindow() { return outputWindow; }

void ShowOutputOver(QWidget* ctrl)
{
    if (ctrl)
        ShowOutputOver(ctrl, ctrl->grab().toImage());
}

void ShowOutputOver(QWidget* ctrl, const QImage& picture)
{
    if (outputWindow || !ctrl)
        return;
    QWidget* parent = ctrl->isWindow() ? nullptr : ctrl->parentWidget();
    auto* out = new TOutputWindow(parent);
    out->setGeometry(parent ? ctrl->geometry() : ctrl->frameGeometry());
    out->SetPicture(picture);
    out->show();
    if (parent)
        SetChildOrderAfter(out, ctrl);
    else
        out->raise();
    outputWindow = out;
}

void AnimateRepaint(QWidget* ctrl, int time)
{
    if (!ctrl)
        return;
    FormAnimating = true;
    ShowOutputOver(ctrl);
    // A frozen control draws nothing of its children: its new look is
    // taken once it draws again, hidden under the frozen picture.
    ctrl->setUpdatesEnabled(true);
    const TBitmap before = ImageToBitmap(outputWindow->grab().toImage());
    const TBitmap after = ImageToBitmap(ctrl->grab().toImage());
    // Messages are pumped between the frames: either window may go.
    const QPointer<QWidget> alive(ctrl);
    RunFade(
        before, after, time,
        [](const TBitmap& frame) {
            if (outputWindow)
                outputWindow->SetPicture(BitmapToImage(frame));
        },
        [](int ms) { AnimationSleep(ms); });
    FormAnimating = false;
    if (alive)
        ctrl->update();
    delete outputWindow.data();
}

intptr_t SendControlCommand(QWidget* control, uint16_t command, intptr_t lParam)
{
    return control ? SendSkinCommand(control, command, 0, lParam) : 0;
}

intptr_t QueryControlCommand(QWidget* control, uint16_t command) { return SendControlCommand(control, command, 0); }

bool WindowAnswersCommand(QWidget* window, uint16_t command) { return QueryControlCommand(window, command) == 1; }

void BroadcastToChildWindows(QWidget* parent, uint16_t command, intptr_t lParam)
{
    if (!parent)
        return;
    for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        SendSkinCommand(child, command, 0, lParam);
}
