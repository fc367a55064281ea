#include "skinwnd/forms/sFrameAdapter.h"

#include "skin/forms/acControlPaint.h"
#include "skin/forms/acSkinCommand.h"
#include "skin/forms/sSkinManager.h"
#include "skin/forms/sSkinnedForms.h"
#include "skin/forms/sVclUtils.h"
#include "skin/sMessageBox.h"
#include "skinwnd/forms/acCtrlAdapter.h"
#include "skinwnd/forms/acSBUtils.h"
#include "skinwnd/forms/acSBUtilsPaint.h"

#include <QVariant>
#include <QWidget>

#include <algorithm>

namespace {

constexpr int FrameTypeCode = 226;
constexpr TColor NoColour = 0xFF00FF;

TColor AskParentColour(QWidget* parent)
{
    const TColor answer = GetControlColor(parent);
    return answer == NoColour ? ControlColor(parent) : answer;
}

} // namespace

bool TsFrameAdapter::IsFrame(const QObject* object)
{
    return object && object->isWidgetType() && object->property(FrameProperty).toBool();
}

TsFrameAdapter::TsFrameAdapter(QObject* owner) : QObject(owner)
{
    if (IsFrame(owner))
        frame_ = static_cast<QWidget*>(owner);
    skinData_ = std::make_unique<TsCommonData>(frame_ ? static_cast<QObject*>(frame_.data()) : this, true);
    skinData_->SetSkinSection("GROUPBOX");
    skinData_->ControlTypeCode = FrameTypeCode;
    if (!frame_) {
        ShowErrorBox("TsFrameAdapter adapter must be placed on the handled frame");
        return;
    }
    frame_->installEventFilter(this);
    skinData_->BGChanged = true;
}

TsFrameAdapter::~TsFrameAdapter()
{
    DropChildAdapters();
    if (frame_) {
        frame_->removeEventFilter(this);
        frame_->update();
    }
}

void TsFrameAdapter::Loaded()
{
    if (!frame_ || !skinData_->GetSkinManager())
        return;
    // A section left empty or named after the adapter means the default
    // (section names are kept upper case, an empty one as "UNKNOWN").
    const std::string& section = skinData_->SkinSection();
    if (section.empty() || section == "UNKNOWN" || section == "TSFRAMEADAPTER")
        skinData_->SetSkinSection("GROUPBOX");
    skinData_->UpdateIndexes();
    skinData_->BGChanged = true;
    if (!skinData_->GetSkinManager()->Active())
        return;
    if (skinData_->Skinned())
        AdaptChildren();
    frame_->update();
}

void TsFrameAdapter::AdaptChildren()
{
    auto* manager = dynamic_cast<TsSkinManagerComponent*>(skinData_->GetSkinManager());
    if (!manager || !(manager->SkinningRules & srThirdParty))
        return;
    if (!ctrlAdapter_)
        ctrlAdapter_ = std::make_unique<TacCtrlAdapter>(frame_, manager, ChildSettings);
    ctrlAdapter_->AdaptControls(frame_);
}

void TsFrameAdapter::DropChildAdapters()
{
    if (!ctrlAdapter_)
        return;
    ctrlAdapter_->BroadcastMessage(AC_REMOVESKIN, 0, reinterpret_cast<intptr_t>(skinData_->GetSkinManager()));
    ctrlAdapter_.reset();
}

TColor TsFrameAdapter::MixedColor(int transparency, TColor parent, TColor section)
{
    // The blend runs in 256 steps: the percentage is scaled to them, so a
    // fully see-through section answers its parent's colour and a half one
    // the colour half way, as the section is painted.
    const int t = std::clamp(transparency, 0, 100) * 256 / 100;
    auto channel = [t](TColor p, TColor s, int shift) {
        const int pc = int((p >> shift) & 0xFF), sc = int((s >> shift) & 0xFF);
        return TColor(std::clamp((t * (pc - sc) + sc * 256) >> 8, 0, 255)) << shift;
    };
    return channel(parent, section, 0) | channel(parent, section, 8) | channel(parent, section, 16);
}

TColor TsFrameAdapter::BackgroundColor() const
{
    if (!frame_)
        return 0;
    const TsGeneralData* section = skinData_->Skinned() ? skinData_->Section() : nullptr;
    if (!section)
        return ControlColor(frame_);
    if (skinData_->NeedsCache())
        return NoColour;
    QWidget* parent = frame_->parentWidget();
    if (section->Transparency == 0)
        return section->Color;
    if (section->Transparency == 100)
        return parent ? AskParentColour(parent) : ControlColor(frame_);
    const TColor under = parent ? AskParentColour(parent) : section->Color;
    return MixedColor(section->Transparency, under, section->Color);
}

bool TsFrameAdapter::Ours(const TSkinCommandEvent& m) const
{
    return m.LParam() == reinterpret_cast<intptr_t>(skinData_->GetSkinManager());
}

bool TsFrameAdapter::LibraryCommand(TSkinCommandEvent& m)
{
    const TacBroadcast onward{m.SubCode(), m.Low(), m.LParam()};
    switch (m.SubCode()) {
    case AC_SETNEWSKIN:
        if (!Ours(m))
            return false;
        BroadcastToControls(frame_, onward);
        HandleSkinCommand(m, skinData_.get());
        Loaded();
        return true;
    case AC_REMOVESKIN:
        if (!Ours(m))
            return false;
        DropChildAdapters();
        HandleSkinCommand(m, skinData_.get());
        BroadcastToControls(frame_, onward);
        skinData_->BGChanged = true;
        frame_->update();
        return true;
    case AC_REFRESH:
        if (!Ours(m))
            return false;
        HandleSkinCommand(m, skinData_.get());
        skinData_->BGChanged = true;
        BroadcastToControls(frame_, onward);
        if (skinData_->Skinned())
            AdaptChildren();
        frame_->update();
        return true;
    case AC_CTRLHANDLED: m.Result = 1; return true;
    case AC_GETSKININDEX: m.Result = skinData_->SkinIndex + 1; return true;
    case AC_GETBG:
        if (m.LParam()) {
            if (skinData_->BGChanged && skinData_->NeedsCache())
                PrepareCache();
            skinData_->FillBackgroundInfo(*reinterpret_cast<TBackgroundInfo*>(m.LParam()), false);
        }
        return true;
    case AC_GETAPPLICATION: m.Result = ApplicationAnswer(); return true;
    case AC_BEFOREREFRESH:
        // The frame's controls hear it before the frame itself.
        BroadcastToControls(frame_, onward);
        return skinData_->Skinned() && SkinnedCommand(m);
    default: return skinData_->Skinned() && SkinnedCommand(m);
    }
}

bool TsFrameAdapter::SkinnedCommand(TSkinCommandEvent& m)
{
    switch (m.SubCode()) {
    case AC_CHECKUPDATING:
        // An update of the frame ended: what it held back shows now.
        if (skinData_->Updating) {
            skinData_->Updating = false;
            frame_->update();
        }
        return true;
    case AC_SETUPDATING:
        skinData_->Updating = m.Low() == 1;
        BroadcastToControls(frame_, TacBroadcast{m.SubCode(), m.Low(), m.LParam()});
        return true;
    case AC_GETBGCOLOR: m.Result = BackgroundColor(); return true;
    case AC_ISPAINTEDBG: {
        const TsGeneralData* section = skinData_->Section();
        m.Result = section && (section->Transparency < 100 || skinData_->DependsOnParentBg());
        return true;
    }
    default: return HandleSkinCommand(m, skinData_.get());
    }
}

void TsFrameAdapter::PrepareCache()
{
    TsCommonData& sd = *skinData_;
    const TacWndGeometry g = SizeCacheToWindow(sd, frame_);
    PaintControlItem(sd, GetParentCacheOfWindow(frame_), true, 0, {0, 0, g.Width, g.Height}, {0, 0}, *sd.CacheBmp);
    sd.BGChanged = false;
}

void TsFrameAdapter::PaintFrame()
{
    TsCommonData& sd = *skinData_;
    QWidget* parent = frame_->parentWidget();
    // A see-through frame half outside its parent shows a background that
    // moves under it: rebuilt on every paint after the first.
    const bool depends = sd.DependsOnParentBg();
    if (wasOutside_)
        sd.BGChanged = true;
    wasOutside_ = depends && parent
                  && (!parent->rect().contains(frame_->geometry().topLeft() + QPoint(1, 1))
                      || !parent->rect().contains(frame_->geometry().bottomRight() - QPoint(1, 1)));
    PaintWndFromCache(frame_, sd, [this] { PrepareCache(); });
}

bool TsFrameAdapter::WndProc(QEvent* event)
{
    if (event->type() == SkinCommandEventType())
        return LibraryCommand(static_cast<TSkinCommandEvent&>(*event));
    TsSkinManager* manager = skinData_->GetSkinManager();
    if (!skinData_->Skinned() || !manager || !manager->Active())
        return false;
    switch (event->type()) {
    case QEvent::Paint:
        if (!frame_->parentWidget())
            return false;
        PaintFrame();
        return true;
    case QEvent::Resize:
    case QEvent::Move:
        skinData_->BGChanged = true;
        BroadcastToControls(frame_, TacBroadcast{AC_FRAMEMOVED, 0, 0});
        return false;
    case QEvent::ChildAdded:
        if (static_cast<QChildEvent*>(event)->child()->isWidgetType())
            skinData_->BGChanged = true;
        return false;
    case QEvent::Show:
        skinData_->BGChanged = true;
        AdaptChildren();
        return false;
    default: return false;
    }
}

bool TsFrameAdapter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != frame_)
        return false;
    return WndProc(event);
}
