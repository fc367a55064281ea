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
    : QWidget(parent, parent ? Qt::Widget
                             : Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
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
    if (outputWindow || !ctrl)
        return;
    QWidget* parent = ctrl->isWindow() ? nullptr : ctrl->parentWidget();
    auto* out = new TOutputWindow(parent);
    out->setGeometry(parent ? ctrl->geometry() : ctrl->frameGeometry());
    out->SetPicture(ctrl->grab().toImage());
    out->show();
    out->raise();
    outputWindow = out;
}

void AnimateRepaint(QWidget* ctrl, int time)
{
    if (!ctrl)
        return;
    FormAnimating = true;
    ShowOutputOver(ctrl);
    const TBitmap before = ImageToBitmap(outputWindow->grab().toImage());
    const TBitmap after = ImageToBitmap(ctrl->grab().toImage());
    TOutputWindow* out = outputWindow;
    RunFade(before, after, time, [out](const TBitmap& frame) { out->SetPicture(BitmapToImage(frame)); },
            [](int ms) { AnimationSleep(ms); });
    FormAnimating = false;
    // The control may have been frozen for the change it now shows.
    ctrl->setUpdatesEnabled(true);
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

void AddToParentAdapter(QWidget* control)
{
    if (control && control->parentWidget())
        SendSkinCommand(control->window(), AC_ADAPTCONTROL, 0, reinterpret_cast<intptr_t>(control));
}
