#pragma once
// The row of buttons at the foot of a dialog: pushed to the right, in the
// order given (the default button first).
#include <QHBoxLayout>
#include <QWidget>

#include <initializer_list>

inline QHBoxLayout* ButtonRow(std::initializer_list<QWidget*> buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QWidget* b : buttons)
        row->addWidget(b);
    return row;
}
