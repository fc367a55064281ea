#pragma once
// How the skin manager's class lists name Qt widgets. The lists hold the
// class library's names ("TButton", "TEdit" ...); one fixed table gives a
// widget of a standard Qt class that name, and a widget is also known by
// its own class name, so that lists may name classes of the program too.
#include <string>
#include <vector>

class QWidget;

// The class library's name for the widget's class (the nearest class of
// the table it derives from); empty for a widget of none of them.
std::string LibraryClassName(const QWidget* w);
// Every name the widget answers to in the class lists: the library name
// first when it has one, then its own class name.
std::vector<std::string> ListedClassNames(const QWidget* w);
// The widgets under a control that are controls of the form: the pages and
// corner widgets of a tab widget, the contents of a scroll area, none
// inside controls whose children are their own parts (spin boxes, combo
// boxes, item views, text editors, tab bars), the child widgets of any
// other; never windows.
std::vector<QWidget*> ChildControls(QWidget* parent);
