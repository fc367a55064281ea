#pragma once
// Items of a popup menu laid out in columns of a fixed number of rows, shown
// in the menu as one widget: QMenu starts a new column only where the
// screen ends. Each item is painted by the menu's style as the menu paints
// its own items, and a click triggers its action and closes the menus.
// The keys work as in the menu's own items: Up and Down go through the
// items column after column, Left and Right to the next column (past the
// first or last column the menu takes the key), Enter and Space choose the
// hot item, Escape closes the menu. The items' size is measured once each
// time the menu pops up, and again only when an item, the font or the
// style changes.
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

    // The item the keys or the pointer marked; -1 for none.
    int HotIndex() const { return hot_; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void changeEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    // The item's look, without its place.
    QStyleOptionMenuItem ItemOption(int index) const;
    QSize ItemSize() const;
    int IndexAt(const QPoint& at) const;
    // Moves the hot item or chooses it; false for a key the menu takes.
    bool Key(int key);
    void SetHot(int index);
    void Choose(QAction* a);

    QPointer<QMenu> menu_;
    QList<QPointer<QAction>> items_;
    int rows_;
    int hot_ = -1;
    mutable QSize itemSize_; // invalid while not measured
};
