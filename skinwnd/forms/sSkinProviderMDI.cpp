// The provider's part in MDI: the skin object of a form's MDI area, and the
// frame of a form that is itself an MDI sub-window.
#include "skinwnd/forms/sSkinProvider.h"

#include "skinwnd/forms/acMDIChildStyle.h"
#include "skinwnd/forms/sMDIForm.h"

#include <QMdiArea>
#include <QMdiSubWindow>

bool TsSkinProvider::IsMDIChild() const { return qobject_cast<const QMdiSubWindow*>(form_.data()) != nullptr; }

// While a new skin is handed round the form is not skinned yet: the MDI
// form made for the old one waits for the refresh that follows.
void TsSkinProvider::InitMDIForm(bool create)
{
    if (!create) {
        mdiForm_.reset();
        return;
    }
    if (!form_ || !skinData_->Skinned() || !form_->findChild<QMdiArea*>())
        return;
    if (!mdiForm_) {
        mdiForm_ = std::make_unique<TsMDIForm>(this);
        mdiForm_->Connect();
        return;
    }
    mdiForm_->UpdateAdapter();
}

// The sub-window's layout follows the style's metrics: the style is
// swapped, never the flags, so the sub-window keeps its own behaviour
// (moves inside the area, the maximised child's buttons on the menu bar).
void TsSkinProvider::ApplyChildStyle()
{
    savedStyle_ = form_->testAttribute(Qt::WA_SetStyle) ? form_->style() : nullptr;
    childStyle_ = std::make_unique<TacMDIChildStyle>(this);
    form_->setStyle(childStyle_.get());
}

void TsSkinProvider::RestoreChildStyle()
{
    if (!childStyle_)
        return;
    // The sub-window lays itself out again by its own style.
    form_->setStyle(savedStyle_.data());
    childStyle_.reset();
    savedStyle_ = nullptr;
}

bool TsSkinProvider::ChildActive() const
{
    auto* sub = qobject_cast<QMdiSubWindow*>(form_.data());
    QMdiArea* area = sub ? sub->mdiArea() : nullptr;
    return area && area->currentSubWindow() == sub;
}

// The small masks, or the big ones for a skin without a small close mask;
// a skin without a small minimise mask lends the form's own. The restore
// place always shows the restore image: the buttons show only while the
// sub-window is maximised.
TsSkinProvider::MDIChildMasks TsSkinProvider::MDIChildButtonMasks() const
{
    MDIChildMasks m;
    const bool small = TitleMaskIndex("SICONCLOSE") >= 0;
    const char* prefix = small ? "SICON" : "BICON";
    auto mask = [&](const std::string& key) { return TitleMaskIndex((prefix + key).c_str()); };
    m.Min = mask("MIN");
    m.Restore = mask("MAX");
    m.Close = mask("CLOSE");
    if (small && m.Min < 0) {
        m.Min = min_.ImageIndex;
        m.Restore = max_.ImageIndex;
        m.Close = close_.ImageIndex;
    }
    int restore = TitleMaskIndex("SICONNORM");
    if (restore < 0)
        restore = TitleMaskIndex("BICONNORM");
    if (restore >= 0)
        m.Restore = restore;
    return m;
}
