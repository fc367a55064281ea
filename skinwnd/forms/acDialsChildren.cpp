// Which adapter each control of a hooked window gets.
#include "skinwnd/forms/acDials.h"

#include "platform/Cp1251.h"
#include "skinwnd/forms/acStaticWnd.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSizeGrip>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTextEdit>
#include <QToolBar>
#include <QTreeView>

namespace {

using K = TacAdapterKind;

bool Always(const QWidget*) { return true; }
bool ShowsPicture(const QWidget* w)
{
    const auto* label = static_cast<const QLabel*>(w);
    return !label->pixmap().isNull() || label->movie();
}
// A text with links and nothing else marked up: the link adapter shows it
// without its anchors. Other markup is left to the label.
bool ShowsLink(const QWidget* w)
{
    const auto* label = static_cast<const QLabel*>(w);
    if (label->textFormat() != Qt::RichText && label->textFormat() != Qt::AutoText)
        return false;
    const std::string text = QStringToCp1251(label->text());
    const std::string shown = TacLinkWnd::LinkText(text);
    return shown != text && !Qt::mightBeRichText(Cp1251ToQString(shown));
}
// Edits the dialog hides keep their own look.
bool Shown(const QWidget* w) { return !w->isHidden(); }
// A tree that shows columns under a header is a list in report view (a
// file dialog's detail view): the list adapter paints its header.
bool ShowsColumns(const QWidget* w)
{
    const auto* tree = static_cast<const QTreeView*>(w);
    return !tree->isHeaderHidden() && tree->model() && tree->model()->columnCount() > 1;
}

struct TChildRule {
    const QMetaObject* Class;
    bool (*Applies)(const QWidget*);
    TacDialogChildRow Row;
};

// The first rule whose class the control is of and whose test holds
// decides.
const TChildRule ChildRules[] = {
    {&QLabel::staticMetaObject, ShowsPicture, {true, K::IconWnd, "CHECKBOX", false}},
    {&QLabel::staticMetaObject, ShowsLink, {true, K::LinkWnd, "CHECKBOX", false}},
    {&QLabel::staticMetaObject, Always, {true, K::StaticWnd, "CHECKBOX", false}},
    {&QDialog::staticMetaObject, Always, {true, K::TransPanelWnd, "CHECKBOX", false}},
    {&QGroupBox::staticMetaObject, Always, {true, K::GroupBoxWnd, "GROUPBOX", false}},
    {&QCheckBox::staticMetaObject, Always, {true, K::CheckBoxWnd, "CHECKBOX", false}},
    {&QRadioButton::staticMetaObject, Always, {true, K::CheckBoxWnd, "CHECKBOX", false}},
    {&QPushButton::staticMetaObject, Always, {true, K::BtnWnd, "BUTTON", false}},
    {&QComboBox::staticMetaObject, Always, {true, K::ComboBoxWnd, "COMBOBOX", true}},
    {&QSizeGrip::staticMetaObject, Always, {true, K::SizerWnd, "CHECKBOX", false}},
    {&QTabWidget::staticMetaObject, Always, {true, K::PageControlWnd, "PAGECONTROL", false}},
    {&QTabBar::staticMetaObject, Always, {true, K::TabControlWnd, "PAGECONTROL", false}},
    {&QListWidget::staticMetaObject, Always, {true, K::EditWnd, "EDIT", true}},
    {&QListView::staticMetaObject, Always, {true, K::ListViewWnd, "EDIT", true}},
    {&QTreeView::staticMetaObject, ShowsColumns, {true, K::ListViewWnd, "EDIT", true}},
    {&QTreeView::staticMetaObject, Always, {true, K::TreeViewWnd, "EDIT", true}},
    {&QTableView::staticMetaObject, Always, {true, K::GridWnd, "EDIT", true}},
    // An edit with its up-down buttons in one widget: the edit adapter
    // paints both, the buttons as the spin adapter does.
    {&QAbstractSpinBox::staticMetaObject, Always, {true, K::EditWnd, "EDIT", true}},
    {&QToolBar::staticMetaObject, Always, {true, K::ToolBarWnd, "BAR", false}},
    {&QLineEdit::staticMetaObject, Shown, {true, K::EditWnd, "EDIT", true}},
    {&QTextEdit::staticMetaObject, Shown, {true, K::EditWnd, "EDIT", true}},
    {&QPlainTextEdit::staticMetaObject, Shown, {true, K::EditWnd, "EDIT", true}},
};

} // namespace

TacDialogChildRow DialogChildRow(const QWidget* child)
{
    if (!child)
        return {};
    const QMetaObject* meta = child->metaObject();
    for (const TChildRule& rule : ChildRules)
        if (meta->inherits(rule.Class) && rule.Applies(child))
            return rule.Row;
    return {};
}
