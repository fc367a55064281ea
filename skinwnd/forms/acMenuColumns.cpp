#include "skinwnd/forms/acMenuColumns.h"

#include <QAction>
#include <QActionGroup>
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
        connect(a, &QAction::changed, this, qOverload<>(&QWidget::update));
    }
    setMouseTracking(true);
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
QSize TacMenuColumns::ItemSize() const
{
    QStyle* style = menu_ ? menu_->style() : this->style();
    QSize size;
    for (int i = 0; i < items_.size(); ++i) {
        if (!items_[i])
            continue;
        QStyleOptionMenuItem opt = ItemOption(i);
        const QSize text = fontMetrics().size(Qt::TextShowMnemonic, opt.text);
        size = size.expandedTo(style->sizeFromContents(QStyle::CT_MenuItem, &opt, text, menu_));
    }
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

QAction* TacMenuColumns::ActionAt(const QPoint& at) const
{
    for (int i = 0; i < items_.size(); ++i)
        if (ItemRect(i).contains(at))
            return items_[i];
    return nullptr;
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
    int hot = -1;
    for (int i = 0; i < items_.size(); ++i)
        if (ItemRect(i).contains(e->position().toPoint()))
            hot = i;
    if (hot != hot_) {
        hot_ = hot;
        update();
    }
}

void TacMenuColumns::leaveEvent(QEvent*)
{
    hot_ = -1;
    update();
}

void TacMenuColumns::mouseReleaseEvent(QMouseEvent* e)
{
    QAction* a = e->button() == Qt::LeftButton ? ActionAt(e->position().toPoint()) : nullptr;
    if (!a || !a->isEnabled())
        return;
    // The menus close first, as they do for their own items.
    for (QWidget* w = menu_; qobject_cast<QMenu*>(w); w = w->parentWidget())
        w->hide();
    a->trigger();
}
