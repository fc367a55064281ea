#pragma once
// A widget's palette kept whole for putting back, with whether the widget
// had a palette of its own: one that followed its parent follows it again.
#include <QPalette>
#include <QPointer>
#include <QWidget>

class TacSavedPalette {
public:
    void Save(QWidget* widget);
    // Puts the saved palette back (again and again); nothing when none was
    // saved or the widget is gone.
    void Restore();
    QWidget* Widget() const { return widget_; }

private:
    QPointer<QWidget> widget_;
    QPalette palette_;
    bool own_ = false;
};
