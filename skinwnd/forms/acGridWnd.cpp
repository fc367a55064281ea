#include "skinwnd/forms/acGridWnd.h"

#include "skin/forms/sCommonData.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QTableView>

TacGridWnd::TacGridWnd(QWidget* handle, bool scrollBars, const std::string& skinSection, TsSkinManager* manager,
                       TsCommonData* skinData)
    : TacEditWnd(handle, scrollBars, skinSection, manager, skinData)
{
}

std::vector<QWidget*> TacGridWnd::FixedParts() const
{
    auto* table = qobject_cast<QTableView*>(WndHandle());
    if (!table)
        return {};
    std::vector<QWidget*> parts{table->horizontalHeader(), table->verticalHeader()};
    // The button in the corner between the headers selects all.
    for (QAbstractButton* b : table->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly))
        parts.push_back(b);
    return parts;
}

void TacGridWnd::SaveColors()
{
    TacEditWnd::SaveColors();
    fixed_.clear();
    for (QWidget* part : FixedParts()) {
        fixed_.emplace_back();
        fixed_.back().Save(part);
    }
}

void TacGridWnd::RestoreColors()
{
    if (SkinColorsApplied)
        for (TacSavedPalette& part : fixed_)
            part.Restore();
    TacEditWnd::RestoreColors();
}

void TacGridWnd::ApplySkinColors()
{
    TacEditWnd::ApplySkinColors();
    TsSkinManager* m = SkinData()->GetSkinManager();
    if (!SkinOn() || !m)
        return;
    const QColor fixed = QColorFromColor(m->GlobalColor());
    const QColor title = QColorFromColor(m->GlobalFontColor());
    for (QWidget* part : FixedParts()) {
        QPalette p = part->palette();
        for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
            p.setColor(g, QPalette::Button, fixed);
            p.setColor(g, QPalette::Window, fixed);
            p.setColor(g, QPalette::ButtonText, title);
            p.setColor(g, QPalette::WindowText, title);
        }
        if (p != part->palette())
            part->setPalette(p);
    }
}
