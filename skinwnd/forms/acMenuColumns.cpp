#include "skinwnd/forms/acMenuColumns.h"

#include <QAction>
#include <QActionGroup>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionMenuItem>

#include <algorithm>

TacMenuColumns::TacMenuColumns(QMenu* menu, const QList<QAction*>& items, int rows)
    : QWidget(menu), menu_(menu), rows_(std::max(1, rows))
{
    for (QAction* a : items) {
        items_.append(a);
        connect(a, &QAction::changed, this, [this] {
            itemSize_ = {};
            update();
        });
    }
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    if (menu) {
        menu->installEventFilter(this);
        connect(menu, &QMenu::aboutToShow, this, [this] {
            itemSize_ = {};
            hot_ = -1;
        });
    }
}

QStyleOptionMenuItem TacMenuColumns::ItemOption(int index) const
{
    QStyleOptionMenuItem opt;
    opt.initFrom(menu_ ? static_cast<const QWidget*>(menu_.data()) : this);
    const QAction* a = index >= 0 && index < items_.size() ? items_[index].data() : nullptr;
    opt.menuItemType = QStyleOptionMenuItem::Normal;
    opt.font = font();
    opt.maxIconWidth = 0;
    if (!a)
        return opt;
    opt.text = a->text();
    opt.checkType = a->isCheckable() ? (a->actionGroup() && a->actionGroup()->isExclusive()
                                            ? QStyleOptionMenuItem::Exclusive
                                            : QStyleOptionMenuItem::NonExclusive)
                                     : QStyleOptionMenuItem::NotCheckable;
    opt.checked = a->isChecked();
    opt.state = QStyle::State_None;
    if (a->isEnabled())
        opt.state |= QStyle::State_Enabled;
    if (index == hot_ && a->isEnabled())
        opt.state |= QStyle::State_Selected;
    return opt;
}

// One size for every item: the widest text decides the columns' width.
// Every paint and pointer move asks for it, item by item, so it is kept.
QSize TacMenuColumns::ItemSize() const
{
    if (itemSize_.isValid())
        return itemSize_;
    QStyle* style = menu_ ? menu_->style() : this->style();
    QSize size(0, 0);
    for (int i = 0; i < items_.size(); ++i) {
        if (!items_[i])
            continue;
        QStyleOptionMenuItem opt = ItemOption(i);
        const QSize text = fontMetrics().size(Qt::TextShowMnemonic, opt.text);
        size = size.expandedTo(style->sizeFromContents(QStyle::CT_MenuItem, &opt, text, menu_));
    }
    itemSize_ = size;
    return size;
}

QRect TacMenuColumns::ItemRect(int index) const
{
    if (index < 0 || index >= items_.size())
        return {};
    const QSize s = ItemSize();
    return {QPoint(index / rows_ * s.width(), index % rows_ * s.height()), s};
}

QSize TacMenuColumns::sizeHint() const
{
    const QSize s = ItemSize();
    const int n = int(items_.size());
    const int columns = (n + rows_ - 1) / rows_;
    return {columns * s.width(), std::min(n, rows_) * s.height()};
}

int TacMenuColumns::IndexAt(const QPoint& at) const
{
    const QSize s = ItemSize();
    if (s.isEmpty() || at.x() < 0 || at.y() < 0 || at.y() >= rows_ * s.height())
        return -1;
    const int i = at.x() / s.width() * rows_ + at.y() / s.height();
    return i < items_.size() && items_[i] ? i : -1;
}

QAction* TacMenuColumns::ActionAt(const QPoint& at) const
{
    const int i = IndexAt(at);
    return i < 0 ? nullptr : items_[i].data();
}

bool TacMenuColumns::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == menu_) {
        if (e->type() == QEvent::StyleChange || e->type() == QEvent::FontChange)
            itemSize_ = {};
        // The menu has the keys while no item of its own is current.
        if (e->type() == QEvent::KeyPress && Key(static_cast<QKeyEvent*>(e)->key()))
            return true;
    }
    return QWidget::eventFilter(watched, e);
}

void TacMenuColumns::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::StyleChange || e->type() == QEvent::FontChange)
        itemSize_ = {};
    QWidget::changeEvent(e);
}

void TacMenuColumns::keyPressEvent(QKeyEvent* e)
{
    if (Key(e->key()))
        e->accept();
    else
        QWidget::keyPressEvent(e); // on to the menu
}

bool TacMenuColumns::Key(int key)
{
    const int n = int(items_.size());
    if (n == 0)
        return false;
    auto enabled = [&](int i) { return items_[i] && items_[i]->isEnabled(); };
    // The next enabled item from `from` on, stepping by `step` with wrap.
    auto next = [&](int from, int step) {
        for (int k = 0, i = from; k < n; ++k, i = (i + step + n) % n)
            if (enabled(i))
                return i;
        return -1;
    };
    const int column = hot_ < 0 ? 0 : hot_ / rows_, last = (n - 1) / rows_;
    switch (key) {
    case Qt::Key_Down: SetHot(next(hot_ < 0 ? 0 : (hot_ + 1) % n, 1)); return true;
    case Qt::Key_Up: SetHot(next(hot_ < 0 ? n - 1 : (hot_ - 1 + n) % n, -1)); return true;
    case Qt::Key_Right:
        if (hot_ < 0 || column == last)
            return false;
        SetHot(std::min(hot_ + rows_, n - 1));
        return true;
    case Qt::Key_Left:
        if (hot_ < 0 || column == 0)
            return false;
        SetHot(hot_ - rows_);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
    case Qt::Key_Select:
        if (hot_ < 0 || !enabled(hot_))
            return false;
        Choose(items_[hot_]);
        return true;
    default: return false;
    }
}

void TacMenuColumns::SetHot(int index)
{
    if (index == hot_)
        return;
    hot_ = index;
    update();
}

void TacMenuColumns::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QStyle* style = menu_ ? menu_->style() : this->style();
    for (int i = 0; i < items_.size(); ++i)
        if (items_[i]) {
            QStyleOptionMenuItem opt = ItemOption(i);
            opt.rect = ItemRect(i);
            opt.menuRect = rect();
            style->drawControl(QStyle::CE_MenuItem, &opt, &p, menu_);
        }
}

void TacMenuColumns::mouseMoveEvent(QMouseEvent* e)
{
    SetHot(IndexAt(e->position().toPoint()));
}

void TacMenuColumns::leaveEvent(QEvent*)
{
    SetHot(-1);
}

void TacMenuColumns::mouseReleaseEvent(QMouseEvent* e)
{
    QAction* a = e->button() == Qt::LeftButton ? ActionAt(e->position().toPoint()) : nullptr;
    if (a && a->isEnabled())
        Choose(a);
}

void TacMenuColumns::Choose(QAction* a)
{
    // The menus close first, as they do for their own items.
    for (QWidget* w = menu_; qobject_cast<QMenu*>(w); w = w->parentWidget())
        w->hide();
    a->trigger();
}
