#include "skinwnd/forms/acControlClasses.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

#include <algorithm>

namespace {

struct TClassRow {
    const QMetaObject* Qt;
    const char* Name;
    bool Derived; // subclasses take the name too
};

// QFrame takes "TPanel" only as itself: labels, scroll areas and many more
// derive from it.
const TClassRow ClassTable[] = {
    {&QPushButton::staticMetaObject, "TButton", true},
    {&QLineEdit::staticMetaObject, "TEdit", true},
    {&QCheckBox::staticMetaObject, "TCheckBox", true},
    {&QComboBox::staticMetaObject, "TComboBox", true},
    {&QGroupBox::staticMetaObject, "TGroupBox", true},
    {&QTreeView::staticMetaObject, "TTreeView", true},
    {&QListView::staticMetaObject, "TListView", true},
    {&QTableView::staticMetaObject, "TStringGrid", true},
    {&QTabWidget::staticMetaObject, "TPageControl", true},
    {&QTabBar::staticMetaObject, "TTabControl", true},
    {&QToolBar::staticMetaObject, "TToolBar", true},
    {&QStatusBar::staticMetaObject, "TStatusBar", true},
    {&QToolButton::staticMetaObject, "TSpeedButton", true},
    {&QFrame::staticMetaObject, "TPanel", false},
};

} // namespace

std::string LibraryClassName(const QWidget* w)
{
    if (!w)
        return {};
    for (const QMetaObject* meta = w->metaObject(); meta; meta = meta->superClass())
        for (const TClassRow& row : ClassTable)
            if (row.Qt == meta && (row.Derived || meta == w->metaObject())) {
                // A tool bar's own buttons are its items, not free buttons.
                if (row.Qt == &QToolButton::staticMetaObject && qobject_cast<QToolBar*>(w->parentWidget()))
                    return "TToolButton";
                return row.Name;
            }
    return {};
}

std::vector<std::string> ListedClassNames(const QWidget* w)
{
    std::vector<std::string> names;
    if (!w)
        return names;
    if (std::string library = LibraryClassName(w); !library.empty())
        names.push_back(library);
    names.push_back(w->metaObject()->className());
    return names;
}

std::vector<QWidget*> ChildControls(QWidget* parent)
{
    std::vector<QWidget*> out;
    if (!parent)
        return out;
    if (auto* tabs = qobject_cast<QTabWidget*>(parent)) {
        for (int i = 0; i < tabs->count(); ++i)
            if (QWidget* page = tabs->widget(i))
                out.push_back(page);
        for (Qt::Corner corner : {Qt::TopLeftCorner, Qt::TopRightCorner, Qt::BottomLeftCorner, Qt::BottomRightCorner})
            // A corner answers for its mirror across the tabs too.
            if (QWidget* w = tabs->cornerWidget(corner); w && std::find(out.begin(), out.end(), w) == out.end())
                out.push_back(w);
        return out;
    }
    if (auto* area = qobject_cast<QScrollArea*>(parent)) {
        if (area->widget())
            out.push_back(area->widget());
        return out;
    }
    if (qobject_cast<QAbstractScrollArea*>(parent) || qobject_cast<QAbstractSpinBox*>(parent)
        || qobject_cast<QComboBox*>(parent) || qobject_cast<QTabBar*>(parent))
        return out;
    for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!child->isWindow())
            out.push_back(child);
    return out;
}
