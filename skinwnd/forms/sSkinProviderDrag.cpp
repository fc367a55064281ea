// Moving and sizing a form by its caption and its frame. The window system
// drags the form where it can, live. The provider drags it itself where it
// must act on every step: with rmBorder an outline follows the pointer and
// the form takes its new bounds once, on release; a caption move with
// screen snap follows the pointer and snaps at each step. Its own drag also
// serves where the window system refuses to drag, and the system menu's
// Move and Size where the provider drags.
#include "skinwnd/forms/sSkinProvider.h"

#include "platform/forms/WindowPlacement.h"
#include "skinwnd/forms/acDragOutline.h"
#include "skinwnd/forms/sSystemMenu.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace {

bool IsFrameCode(int code) { return code >= HTLEFT && code <= HTBOTTOMRIGHT; }

Qt::Edges EdgesOf(int code)
{
    switch (code) {
    case HTLEFT: return Qt::LeftEdge;
    case HTRIGHT: return Qt::RightEdge;
    case HTTOP: return Qt::TopEdge;
    case HTTOPLEFT: return Qt::TopEdge | Qt::LeftEdge;
    case HTTOPRIGHT: return Qt::TopEdge | Qt::RightEdge;
    case HTBOTTOM: return Qt::BottomEdge;
    case HTBOTTOMLEFT: return Qt::BottomEdge | Qt::LeftEdge;
    default: return Qt::BottomEdge | Qt::RightEdge;
    }
}

TRect ToTRect(const QRect& r) { return {r.left(), r.top(), r.right() + 1, r.bottom() + 1}; }

QRect ToQRect(const TRect& r) { return {r.Left, r.Top, r.Width(), r.Height()}; }

// Bounds of the form (in its parent's coordinates) on the screen.
QRect OnScreen(const QWidget* form, const QRect& bounds)
{
    const QWidget* parent = form->isWindow() ? nullptr : form->parentWidget();
    return parent ? bounds.translated(parent->mapToGlobal(QPoint(0, 0))) : bounds;
}

} // namespace

QWidget* TsSkinProvider::DragOutline() const
{
    return dragOutline_.get();
}

void TsSkinProvider::StartMoveOrResize(int code, QMouseEvent* e)
{
    if (code != HTCAPTION && !IsFrameCode(code))
        return;
    const TacDragRoad road =
        DragRoad(code, ResizeMode, ScreenSnap, form_->isWindow(), TopLevelPlacementSupported());
    QWindow* window = form_->windowHandle();
    if (road == drSystem && window
        && (code == HTCAPTION ? window->startSystemMove() : window->startSystemResize(EdgesOf(code))))
        return;
    BeginDrag(code, e->globalPosition().toPoint(), road, false);
}

// The menu's Move and Size, where the provider drags itself: the menu
// closes first, then the drag starts from where the pointer is; Size drags
// the bottom right corner. Any other command, and these where the window
// system drags, go on to the form.
bool TsSkinProvider::MenuDrag(QEvent* event)
{
    auto& command = static_cast<TacSysCommandEvent&>(*event);
    const int code = command.Command() == scMove ? HTCAPTION : command.Command() == scSize ? HTBOTTOMRIGHT : 0;
    if (code == 0 || dragCode_ != 0)
        return false;
    const TacDragRoad road =
        DragRoad(code, ResizeMode, ScreenSnap, form_->isWindow(), TopLevelPlacementSupported());
    if (road == drSystem)
        return false;
    command.accept();
    QMetaObject::invokeMethod(
        this,
        [this, code, road] {
            if (form_ && frameActive_ && form_->isVisible() && dragCode_ == 0)
                BeginDrag(code, QCursor::pos(), road, true);
        },
        Qt::QueuedConnection);
    return true;
}

void TsSkinProvider::BeginDrag(int code, QPoint globalPos, TacDragRoad road, bool byMenu)
{
    dragCode_ = code;
    dragStart_ = globalPos;
    dragGeometry_ = dragBounds_ = form_->geometry();
    dragByMenu_ = byMenu;
    if (road == drOwnOutline) {
        dragOutline_ = std::make_unique<TacDragOutline>();
        dragOutline_->ShowAt(OnScreen(form_, dragBounds_));
    }
    // No button holds the pointer on the form.
    if (byMenu)
        form_->grabMouse();
    // Escape gives the drag up wherever the focus is.
    if (byMenu || dragOutline_)
        form_->grabKeyboard();
}

void TsSkinProvider::DragTo(QPoint globalPos)
{
    const QPoint d = globalPos - dragStart_;
    // The frame is never squeezed out of the form.
    const QSize least = form_->minimumSize().expandedTo(
        QSize(appliedMargins_.Left + appliedMargins_.Right + 1, appliedMargins_.Top + appliedMargins_.Bottom + 1));
    const QSize most = form_->maximumSize();
    const TacSizeLimits limits{least.width(), least.height(), most.width(), most.height()};
    QRect bounds = ToQRect(DraggedBounds(dragCode_, ToTRect(dragGeometry_), {d.x(), d.y()}, limits));
    // Only a form on the screen snaps to the screen's work area.
    if (dragCode_ == HTCAPTION && ScreenSnap && form_->isWindow())
        if (const QRect work = WorkArea(bounds); !work.isNull()) {
            const TPoint to = SnapToWorkArea({bounds.x(), bounds.y()}, bounds.width(), bounds.height(),
                                             ToTRect(work), SnapBuffer);
            bounds.moveTo(to.X, to.Y);
        }
    dragBounds_ = bounds;
    if (dragOutline_)
        dragOutline_->ShowAt(OnScreen(form_, bounds));
    else
        Place(dragCode_, bounds);
}

void TsSkinProvider::EndDrag(bool apply)
{
    if (dragCode_ == 0)
        return;
    const int code = dragCode_;
    const bool outline = dragOutline_ != nullptr, byMenu = dragByMenu_;
    dragCode_ = 0;
    dragByMenu_ = false;
    dragOutline_.reset();
    if (!form_)
        return;
    if (byMenu)
        form_->releaseMouse();
    if (byMenu || outline)
        form_->releaseKeyboard();
    if (outline && apply && dragBounds_ != dragGeometry_)
        Place(code, dragBounds_);
}

void TsSkinProvider::Place(int code, const QRect& bounds)
{
    if (code == HTCAPTION)
        form_->move(bounds.topLeft());
    else
        form_->setGeometry(bounds);
}

// Escape gives up a drag that holds the keyboard; a live one puts the form
// back where it was.
bool TsSkinProvider::DragKey(QEvent* event)
{
    if ((!dragOutline_ && !dragByMenu_) || static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape)
        return false;
    const int code = dragCode_;
    const bool live = !dragOutline_;
    const QRect start = dragGeometry_;
    EndDrag(false);
    if (live && form_ && form_->geometry() != start)
        Place(code, start);
    return true;
}

// The work area of the screen under the bounds' centre, else of the form's.
QRect TsSkinProvider::WorkArea(const QRect& bounds) const
{
    QScreen* screen = QGuiApplication::screenAt(bounds.center());
    if (!screen && form_)
        screen = form_->screen();
    return screen ? screen->availableGeometry() : QRect();
}
