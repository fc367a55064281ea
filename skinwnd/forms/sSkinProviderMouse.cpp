// The pointer on the painted frame: hot and pressed title buttons with
// their hints, clicks that change the window's state, and the presses that
// start moving and sizing by the caption and the borders.
#include "skinwnd/forms/sSkinProvider.h"

#include "platform/Cp1251.h"

#include <QHelpEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QToolTip>
#include <QWhatsThis>
#include <QWidget>

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
    // Another button while a drag runs starts nothing.
    if (dragCode_ != 0)
        return true;
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

bool TsSkinProvider::MouseMove(QMouseEvent* e)
{
    if (dragCode_ != 0) {
        // The release went elsewhere (a grab took the pointer): the drag
        // is given up. A drag begun by the menu goes on with no button.
        if (!(e->buttons() & Qt::LeftButton) && !dragByMenu_)
            EndDrag(false);
        else
            DragTo(e->globalPosition().toPoint());
        return true;
    }
    const int code = HitTest(At(e));
    return code != HTCLIENT && code != HTMENU;
}

bool TsSkinProvider::MouseRelease(QMouseEvent* e)
{
    if (dragCode_ != 0) {
        EndDrag(true);
        return true;
    }
    const int code = FrameCode(At(e));
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
    // The press before it started a drag that has gone nowhere.
    EndDrag(false);
    const int code = FrameCode(At(e));
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
    const int code = FrameCode({help->pos().x(), help->pos().y()});
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
