// Queries about controls and their places among their parents.
#include "skin/forms/sVclUtils.h"

#include "skin/forms/acSkinCommand.h"
#include "skin/forms/acSkinText.h"
#include "skin/forms/sCommonData.h"

#include <QAbstractScrollArea>
#include <QCursor>
#include <QLabel>
#include <QToolButton>

namespace {

constexpr TColor KeyColor = 0xFF00FF;

// Direct child widgets in child order.
QWidgetList ChildWidgets(const QWidget* parent)
{
    return parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
}

} // namespace

TColor GetControlColor(QWidget* control)
{
    if (!control)
        return KeyColor;
    if (WindowAnswersCommand(control, AC_CTRLHANDLED))
        return TColor(SendControlCommand(control, AC_GETBGCOLOR, KeyColor));
    return ControlColor(control);
}

TColor QueryWindowColor(QWidget* window)
{
    return window ? TColor(SendControlCommand(window, AC_GETBGCOLOR, KeyColor)) : KeyColor;
}

void AddToParentAdapter(QWidget* control)
{
    if (QWidget* form = GetOwnerForm(control))
        SendSkinCommand(form, AC_ADAPTCONTROL, 0, reinterpret_cast<intptr_t>(control));
}

void UpdateChildControls(QWidget* parent)
{
    if (FormAnimating || !parent)
        return;
    for (QWidget* child : ChildWidgets(parent))
        if (!IsGraphicControl(child) && child->isVisible())
            SendSkinCommand(child, AC_CHECKUPDATING);
}

void UpdateChildWindows(QWidget* parent)
{
    if (!parent)
        return;
    for (QWidget* child : ChildWidgets(parent))
        if (!child->isWindow())
            SendSkinCommand(child, AC_CHECKUPDATING);
}

bool IsGraphicControl(const QWidget* control)
{
    if (qobject_cast<const QLabel*>(control))
        return true;
    if (control->metaObject() == &QFrame::staticMetaObject)
        return true;
    const auto* button = qobject_cast<const QToolButton*>(control);
    return button && button->autoRaise();
}

QWidget* GetOwnerForm(const QObject* component)
{
    for (QObject* o = component ? component->parent() : nullptr; o; o = o->parent())
        if (o->isWidgetType() && static_cast<QWidget*>(o)->isWindow())
            return static_cast<QWidget*>(o);
    return nullptr;
}

QWidget* GetTopParentWindow(QWidget* window)
{
    while (window && window->parentWidget())
        window = window->parentWidget();
    return window;
}

TPoint GetMouseCursorPos()
{
    const QPoint p = QCursor::pos();
    return TPoint{p.x(), p.y()};
}

unsigned GetDrawTextFlags(const QWidget* control, TAlignment alignment)
{
    const bool rightToLeft = control && control->layoutDirection() == Qt::RightToLeft;
    unsigned flags = DT_VCENTER | DT_EXPANDTABS;
    switch (alignment) {
    case taLeftJustify: flags |= rightToLeft ? DT_RIGHT : DT_LEFT; break;
    case taRightJustify: flags |= rightToLeft ? DT_LEFT : DT_RIGHT; break;
    case taCenter: flags |= DT_CENTER; break;
    }
    return rightToLeft ? flags | DT_RTLREADING : flags;
}

TRect GetClientRectInWindow(const QWidget* window)
{
    if (!window)
        return {};
    QRect client = window->rect();
    if (window->isWindow())
        client.translate(window->geometry().topLeft() - window->frameGeometry().topLeft());
    else if (const auto* area = qobject_cast<const QAbstractScrollArea*>(window))
        client = area->viewport()->geometry();
    else if (const auto* frame = qobject_cast<const QFrame*>(window))
        client = frame->contentsRect();
    return TRect{client.left(), client.top(), client.left() + client.width(), client.top() + client.height()};
}

void SetChildOrderAfter(QWidget* control, QWidget* sibling)
{
    if (!control || !sibling || sibling == control || !control->parentWidget()
        || sibling->parentWidget() != control->parentWidget())
        return;
    const QWidgetList siblings = ChildWidgets(control->parentWidget());
    const qsizetype at = siblings.indexOf(sibling);
    // The next sibling other than the control itself goes over it.
    for (qsizetype i = at + 1; i < siblings.size(); ++i)
        if (siblings[i] != control && !siblings[i]->isWindow()) {
            control->stackUnder(siblings[i]);
            return;
        }
    control->raise();
}
