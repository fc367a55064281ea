#include "skin/forms/sTreeView.h"

#include "skin/forms/acSkinCommand.h"
#include "skin/forms/sLabel.h"

#include <QEvent>

TacTreeViewWndHooks TreeViewWndHooks;

TsTreeView::TsTreeView(QWidget* parent) : QTreeWidget(parent)
{
    // The items are drawn in the Text colour over the viewport's Base: the
    // colours a skin gives the tree must land there, not in the unused
    // WindowText and Window.
    setForegroundRole(QPalette::Text);
    setBackgroundRole(QPalette::Base);
    skinData_ = std::make_unique<TsCommonData>(this, true);
    skinData_->ControlTypeCode = 96;
    // A tree built with its parent is still being constructed: the section
    // is stored, not announced to a tree that cannot answer yet.
    skinData_->OwnerLoading = true;
    if (skinData_->SkinSection().empty())
        skinData_->SetSkinSection("EDIT");
    skinData_->OwnerLoading = false;
    boundLabel_ = std::make_unique<TsBoundLabel>(skinData_.get());
    // AfterConstruction
    skinData_->Loaded();
    // A tree has no column header.
    setHeaderHidden(true);
}

TsTreeView::~TsTreeView()
{
    FreeTreeViewWnd();
    boundLabel_.reset();
    skinData_.reset();
}

void TsTreeView::Loaded()
{
    skinData_->Loaded();
    ApplySectionColors();
    UpdateTreeViewWnd();
}

void TsTreeView::ApplySectionColors()
{
    if (!skinData_->Skinned())
        return;
    const TsGeneralData* s = skinData_->Section();
    if (!s)
        return;
    if (!skinData_->CustomColor())
        SetControlColor(this, s->Color);
    if (!skinData_->CustomFont())
        SetFontColor(this, s->FontColor);
}

void TsTreeView::UpdateTreeViewWnd()
{
    if (TreeViewWndHooks.Update)
        TreeViewWndHooks.Update(skinData_.get(), wndAdapter_);
}

void TsTreeView::FreeTreeViewWnd()
{
    if (wndAdapter_ && TreeViewWndHooks.Free)
        TreeViewWndHooks.Free(wndAdapter_);
}

bool TsTreeView::event(QEvent* e)
{
    if (!skinData_)
        return QTreeWidget::event(e);
    if (e->type() == SkinCommandEventType()) {
        auto& m = static_cast<TSkinCommandEvent&>(*e);
        const bool ours = m.LParam() == reinterpret_cast<intptr_t>(skinData_->GetSkinManager());
        switch (m.SubCode()) {
        case AC_SETNEWSKIN:
            if (ours) {
                HandleCommonMessage(e, skinData_.get());
                return true;
            }
            break;
        case AC_REMOVESKIN:
            if (ours) {
                FreeTreeViewWnd();
                HandleCommonMessage(e, skinData_.get());
                if (!skinData_->CustomColor())
                    SetControlColor(this, clWindow());
                if (!skinData_->CustomFont())
                    SetFontColor(this, clWindowText());
                return true;
            }
            break;
        case AC_REFRESH:
            if (ours) {
                HandleCommonMessage(e, skinData_.get());
                ApplySectionColors();
                UpdateTreeViewWnd();
                return true;
            }
            break;
        case AC_CHECKUPDATING:
            if (skinData_->GetUpdating()) {
                skinData_->Updating = false;
                update();
                return true;
            }
            break;
        case AC_CTRLHANDLED: m.Result = 1; return true;
        case AC_GETAPPLICATION: m.Result = ApplicationAnswer(); return true;
        default: break;
        }
    }

    bool result;
    if (ControlReadyToPaint(this)) {
        if (skinData_->Skinned()) {
            switch (e->type()) {
            case QEvent::Move:
            case QEvent::ShowToParent:
            case QEvent::HideToParent:
            case QEvent::EnabledChange: skinData_->BGChanged = true; break;
            default: break;
            }
        }
        HandleCommonMessage(e, skinData_.get());
        result = QTreeWidget::event(e);
        if (e->type() == QEvent::Show || e->type() == QEvent::Hide)
            UpdateTreeViewWnd();
    } else {
        result = QTreeWidget::event(e);
    }

    if (boundLabel_ && boundLabel_->Label()) {
        switch (e->type()) {
        case QEvent::Resize:
        case QEvent::Move: boundLabel_->UpdatePosition(); break;
        case QEvent::ShowToParent:
        case QEvent::HideToParent:
            boundLabel_->Label()->setVisible(parentWidget() && isVisibleTo(parentWidget()));
            boundLabel_->UpdatePosition();
            break;
        case QEvent::LayoutDirectionChange:
            boundLabel_->Label()->setLayoutDirection(layoutDirection());
            boundLabel_->UpdatePosition();
            break;
        default: break;
        }
    }
    return result;
}

bool TsTreeView::viewportEvent(QEvent* e)
{
    if (skinData_ && e->type() == QEvent::ContextMenu)
        HandleCommonMessage(e, skinData_.get());
    return QTreeWidget::viewportEvent(e);
}
