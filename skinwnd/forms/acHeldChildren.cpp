#include "skinwnd/forms/acHeldChildren.h"

#include <QEvent>

#include <algorithm>

TacHeldChildren::TacHeldChildren(QObject* owner, THandler handler) : QObject(owner), handler_(std::move(handler)) {}

TacHeldChildren::~TacHeldChildren() { ReleaseAll(); }

bool TacHeldChildren::Hold(QWidget* child)
{
    if (!child || Holds(child))
        return false;
    // Children deleted meanwhile leave empty places; they go here, so that
    // a bar whose children come and go keeps a short list.
    std::erase_if(held_, [](const QPointer<QWidget>& w) { return w.isNull(); });
    child->installEventFilter(this);
    held_.emplace_back(child);
    return true;
}

bool TacHeldChildren::Holds(const QWidget* child) const
{
    return child && std::any_of(held_.begin(), held_.end(), [child](const QPointer<QWidget>& w) { return w == child; });
}

int TacHeldChildren::Count() const
{
    return int(std::count_if(held_.begin(), held_.end(), [](const QPointer<QWidget>& w) { return !w.isNull(); }));
}

void TacHeldChildren::ReleaseAll()
{
    std::vector<QPointer<QWidget>> held;
    held.swap(held_);
    for (const QPointer<QWidget>& w : held)
        if (w) {
            w->removeEventFilter(this);
            w->update();
        }
}

bool TacHeldChildren::eventFilter(QObject* watched, QEvent* event)
{
    // Past its widget destructor a child is no widget any more.
    auto* child = qobject_cast<QWidget*>(watched);
    return child && handler_ && handler_(child, event);
}
