#pragma once
// Items of a popup menu laid out in columns of a fixed number of rows, shown
// in the menu as one widget: QMenu starts a new column only where the
// screen ends. Each item is painted by the menu's style as the menu paints
// its own items, and a click triggers its action and closes the menus.
#include <QList>
#include <QPointer>
#include <QWidget>

class QAction;
class QMenu;
class QStyleOptionMenuItem;

class TacMenuColumns : public QWidget {
public:
    TacMenuColumns(QMenu* menu, const QList<QAction*>& items, int rows);

    // The item's place in the widget, column by column; empty outside.
    QRect ItemRect(int index) const;
    QAction* ActionAt(const QPoint& at) const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    // The item's look, without its place.
    QStyleOptionMenuItem ItemOption(int index) const;
    QSize ItemSize() const;

    QPointer<QMenu> menu_;
    QList<QPointer<QAction>> items_;
    int rows_;
    int hot_ = -1;
};
