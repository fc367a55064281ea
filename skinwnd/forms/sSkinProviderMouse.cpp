// The pointer on the painted frame: hot and pressed title buttons with
// their hints, clicks that change the window's state, and moving and sizing
// by the caption and the borders.
#include "skinwnd/forms/sSkinProvider.h"

#include "platform/Cp1251.h"

#include <QHelpEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QToolTip>
#include <QWhatsThis>
#include <QWidget>
#include <QWindow>

namespace {

TPoint At(const QMouseEvent* e)
{
    const QPoint p = e->position().toPoint();
    return {p.x(), p.y()};
}

bool IsTitleButton(int code)
{
    return code == HTMINBUTTON || code == HTMAXBUTTON || code == HTCLOSE || code == HTHELP || code >= HTUSERBUTTON;
}

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

} // namespace

void TsSkinProvider::SetHotButton(int code, bool repaint)
{
    if (!drawNonClientArea_ || code == currentButton_ || (code <= 0 && currentButton_ <= 0))
        return;
    const int previousCode = currentButton_;
    if (TitleButtonData* previous = ButtonByCode(currentButton_))
        previous->State = 0;
    currentButton_ = code > 0 ? code : 0;
    if (TitleButtonData* button = ButtonByCode(currentButton_))
        button->State = 1;
    buttonPressed_ = false;
    if (repaint) {
        RepaintButton(previousCode);
        RepaintButton(currentButton_);
    }
}

void TsSkinProvider::SetPressedButton(int code)
{
    if (code != currentButton_)
        if (TitleButtonData* previous = ButtonByCode(currentButton_))
            previous->State = 0;
    const TacFormTraits t = Traits();
    if (code == HTMAXBUTTON && !EnabledMax(t) && !(t.WindowState == wsMaximized && EnabledRestore(t))) {
        currentButton_ = 0;
        RepaintFrame();
        return;
    }
    const int previousCode = currentButton_;
    currentButton_ = code;
    if (TitleButtonData* button = ButtonByCode(code))
        button->State = 2;
    buttonPressed_ = true;
    if (previousCode != code)
        RepaintButton(previousCode);
    RepaintButton(code);
}

bool TsSkinProvider::MousePress(QMouseEvent* e)
{
    const int code = HitTest(At(e));
    if (code == HTCLIENT || code == HTMENU)
        return false;
    // The area activates a sub-window clicked on its frame.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(form_.data()); sub && sub->mdiArea())
        sub->mdiArea()->setActiveSubWindow(sub);
    if (e->button() != Qt::LeftButton)
        return true; // the caption's own menu opens on the right button's release
    if (IsTitleButton(code)) {
        SetPressedButton(code);
        if (code >= HTUSERBUTTON && currentButton_ == code) {
            TsTitleButton& b = TitleButtons[size_t(code - HTUSERBUTTON)];
            if (b.OnMouseDown)
                b.OnMouseDown(b, At(e));
        }
        return true;
    }
    if (code == HTSYSMENU) {
        ShowSystemMenuBelowIcon();
        return true;
    }
    if (form_->isMinimized())
        return true;
    SetHotButton(0);
    if (form_->isMaximized()) {
        form_->activateWindow();
        return true;
    }
    StartMoveOrResize(code, e);
    return true;
}

void TsSkinProvider::StartMoveOrResize(int code, QMouseEvent* e)
{
    if (code != HTCAPTION && !IsFrameCode(code))
        return;
    QWindow* window = form_->windowHandle();
    const bool system = window && (code == HTCAPTION ? window->startSystemMove() : window->startSystemResize(EdgesOf(code)));
    if (system)
        return;
    // No window manager to ask: the provider drags the form itself.
    dragCode_ = code;
    dragStart_ = e->globalPosition().toPoint();
    dragGeometry_ = form_->geometry();
}

void TsSkinProvider::DragTo(QPoint globalPos)
{
    const QPoint d = globalPos - dragStart_;
    QRect g = dragGeometry_;
    if (dragCode_ == HTCAPTION) {
        QPoint to = g.topLeft() + d;
        const QRect work = WorkArea();
        if (ScreenSnap && !work.isNull() && to != QPoint(0, 0)) {
            int x = to.x(), y = to.y();
            SnapCoordinate(x, work.right() + 1, SnapBuffer, g.width());
            SnapCoordinate(y, work.bottom() + 1, SnapBuffer, g.height());
            SnapCoordinate(x, work.left(), SnapBuffer, 0);
            SnapCoordinate(y, work.top(), SnapBuffer, 0);
            to = {x, y};
        }
        form_->move(to);
        return;
    }
    const Qt::Edges edges = EdgesOf(dragCode_);
    const QSize least = form_->minimumSize().expandedTo(QSize(appliedMargins_.Left + appliedMargins_.Right + 1,
                                                              appliedMargins_.Top + appliedMargins_.Bottom + 1));
    if (edges & Qt::LeftEdge)
        g.setLeft(std::min(g.left() + d.x(), g.right() + 1 - least.width()));
    if (edges & Qt::RightEdge)
        g.setRight(std::max(g.right() + d.x(), g.left() + least.width() - 1));
    if (edges & Qt::TopEdge)
        g.setTop(std::min(g.top() + d.y(), g.bottom() + 1 - least.height()));
    if (edges & Qt::BottomEdge)
        g.setBottom(std::max(g.bottom() + d.y(), g.top() + least.height() - 1));
    form_->setGeometry(g);
}

bool TsSkinProvider::MouseMove(QMouseEvent* e)
{
    if (dragCode_ != 0) {
        DragTo(e->globalPosition().toPoint());
        return true;
    }
    const int code = HitTest(At(e));
    return code != HTCLIENT && code != HTMENU;
}

bool TsSkinProvider::MouseRelease(QMouseEvent* e)
{
    if (dragCode_ != 0) {
        dragCode_ = 0;
        return true;
    }
    const int code = FrameHitTest(Layout(), At(e));
    if (e->button() == Qt::RightButton && (code == HTCAPTION || code == HTSYSMENU) && HasCaption(Traits())) {
        ShowSystemMenu(e->globalPosition().toPoint());
        return true;
    }
    if (e->button() != Qt::LeftButton)
        return code != HTCLIENT && code != HTMENU;
    if (!buttonPressed_)
        return code != HTCLIENT && code != HTMENU;
    const int pressed = currentButton_;
    buttonPressed_ = false;
    if (TitleButtonData* button = ButtonByCode(pressed))
        button->State = code == pressed ? 1 : 0;
    if (code != pressed)
        currentButton_ = 0;
    RepaintFrame();
    if (code == pressed)
        ButtonUp(code, At(e));
    return true;
}

void TsSkinProvider::ButtonUp(int code, TPoint point)
{
    const TacFormTraits t = Traits();
    QWidget* form = form_;
    switch (code) {
    case HTCLOSE: form->close(); return;
    case HTMAXBUTTON:
        if (t.WindowState == wsMaximized)
            form->showNormal();
        else if (EnabledMax(t))
            form->showMaximized();
        return;
    case HTMINBUTTON:
        if (t.WindowState == wsMinimized)
            form->showNormal();
        else
            form->showMinimized();
        return;
    case HTHELP: QWhatsThis::enterWhatsThisMode(); return;
    default:
        if (code >= HTUSERBUTTON && code - HTUSERBUTTON < int(TitleButtons.size())) {
            TsTitleButton& b = TitleButtons[size_t(code - HTUSERBUTTON)];
            if (b.OnMouseUp)
                b.OnMouseUp(b, point);
        }
    }
}

bool TsSkinProvider::MouseDoubleClick(QMouseEvent* e)
{
    const int code = FrameHitTest(Layout(), At(e));
    if (code == HTCLIENT || code == HTMENU)
        return false;
    const TacFormTraits t = Traits();
    if (code == HTCAPTION && VisibleClose(t) && (EnabledMax(t) || EnabledRestore(t))) {
        if (t.WindowState == wsNormal)
            form_->showMaximized();
        else
            form_->showNormal();
    } else if (code == HTSYSMENU) {
        form_->close();
    }
    return true;
}

bool TsSkinProvider::ToolTip(QEvent* e)
{
    auto* help = static_cast<QHelpEvent*>(e);
    const int code = FrameHitTest(Layout(), {help->pos().x(), help->pos().y()});
    if (code == HTCLIENT || code == HTMENU)
        return false;
    if (code >= HTUSERBUTTON && code - HTUSERBUTTON < int(TitleButtons.size())
        && !TitleButtons[size_t(code - HTUSERBUTTON)].Hint.empty())
        QToolTip::showText(help->globalPos(), Cp1251ToQString(TitleButtons[size_t(code - HTUSERBUTTON)].Hint),
                           form_);
    else
        QToolTip::hideText();
    return true;
}
