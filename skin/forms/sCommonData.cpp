#include "skin/forms/sCommonData.h"

#include "platform/Cp1251.h"
#include "skin/forms/acSkinCommand.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QTabWidget>
#include <QTextEdit>
#include <QWidget>

TColor ColorFromQColor(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }
QColor QColorFromColor(TColor c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

TColor ControlColor(const QWidget* w) { return ColorFromQColor(w->palette().color(w->backgroundRole())); }
TColor FontColor(const QWidget* w) { return ColorFromQColor(w->palette().color(w->foregroundRole())); }

void SetControlColor(QWidget* w, TColor color)
{
    QPalette p = w->palette();
    p.setColor(w->backgroundRole(), QColorFromColor(color));
    w->setPalette(p);
}

void SetFontColor(QWidget* w, TColor color)
{
    // The colour of enabled text: disabled text keeps the look the style
    // gives it.
    QPalette p = w->palette();
    p.setColor(QPalette::Active, w->foregroundRole(), QColorFromColor(color));
    p.setColor(QPalette::Inactive, w->foregroundRole(), QColorFromColor(color));
    w->setPalette(p);
}

TColor clWindow() { return ColorFromQColor(QApplication::palette().color(QPalette::Base)); }
TColor clWindowText() { return ColorFromQColor(QApplication::palette().color(QPalette::Text)); }
TColor clBtnFace() { return ColorFromQColor(QApplication::palette().color(QPalette::Button)); }

bool ControlReadyToPaint(const QWidget* control)
{
    // A control outside any form is never painted by the library.
    return control && control->parentWidget()
           && (control->isVisible() || control->testAttribute(Qt::WA_WState_Created));
}

TColor ParentBackgroundColor(QWidget* parent)
{
    // A window outside the library leaves the query unanswered (0, which
    // would read as black): its own colour is what shows.
    if (SendSkinCommand(parent, AC_CTRLHANDLED) != 1)
        return ControlColor(parent);
    const TColor answer = TColor(SendSkinCommand(parent, AC_GETBGCOLOR, 0, clFuchsia));
    return answer == clFuchsia ? ControlColor(parent) : answer;
}

bool IsCustomEdit(const QObject* o)
{
    return qobject_cast<const QLineEdit*>(o) || qobject_cast<const QTextEdit*>(o)
           || qobject_cast<const QPlainTextEdit*>(o);
}

namespace {

// Panels, scrolling controls and page controls keep a plain-background flag.
bool KeepsPlainBgFlag(const QObject* o)
{
    return qobject_cast<const QScrollArea*>(o) || qobject_cast<const QTabWidget*>(o)
           || (o && QByteArray(o->metaObject()->className()) == "QFrame");
}

} // namespace

TsCommonData::TsCommonData(QObject* owner, bool createCacheBmp)
    : OwnerControl(qobject_cast<QWidget*>(owner)), OwnerObject(owner)
{
    if (createCacheBmp) {
        CacheBmp = std::make_unique<TBitmap>();
        CacheBmp->SetPixelFormat(pf24bit);
    }
}

TsCommonData::~TsCommonData()
{
    SkinIndex = BorderIndex = Texture = HotTexture = -1;
    HideOwnGlow();
}

TsSkinManager* TsCommonData::GetSkinManager() const
{
    return ownManager_ ? ownManager_ : DefaultSkinManager;
}

const TsGeneralData* TsCommonData::Section() const
{
    TsSkinManager* m = GetSkinManager();
    if (!m || SkinIndex < 0 || SkinIndex >= m->SectionCount())
        return nullptr;
    return &m->Section(SkinIndex);
}

bool TsCommonData::Skinned(bool checkActive) const
{
    TsSkinManager* m = GetSkinManager();
    if (!m || SkinIndex < 0 || !OwnerObject || m->Destroying())
        return false;
    if (checkActive && !m->Active())
        return false;
    return m->IsValidSkinIndex(SkinIndex);
}

void TsCommonData::Loaded()
{
    SetDefaultSection();
    if (Skinned() && OwnerControl && OwnerControl->parentWidget() && !OwnerLoading) {
        if (IsCustomEdit(OwnerControl) || ControlTypeCode == 97)
            ApplySectionColors();
    }
}

void TsCommonData::ApplySectionColors()
{
    const TsGeneralData* s = Section();
    if (!s || !OwnerControl)
        return;
    if (!customColor_ && ControlColor(OwnerControl) != s->Color)
        SetControlColor(OwnerControl, s->Color);
    if (!customFont_ && FontColor(OwnerControl) != s->FontColor)
        SetFontColor(OwnerControl, s->FontColor);
}

void TsCommonData::SetDefaultSection()
{
    if (!skinSection_.empty()) {
        UpdateIndexes();
        return;
    }
    const std::string className = OwnerObject ? OwnerObject->metaObject()->className() : "";
    SetSkinSection(DefaultSectionFor(ControlTypeCode, className));
}

void TsCommonData::SetSkinSection(const std::string& value)
{
    const std::string stored = value.empty() ? "UNKNOWN" : AnsiUpperCase(value);
    if (stored == skinSection_)
        return;
    skinSection_ = stored;
    TsSkinManager* m = GetSkinManager();
    if (!m || m->SectionCount() == 0)
        SkinIndex = -1;
    else
        UpdateIndexes();
    if (OwnerControl && OwnerControl->parentWidget() && !OwnerLoading) {
        const bool valid = m && m->SectionCount() > 0 && SkinIndex >= 0;
        SendSkinCommand(OwnerControl, valid ? AC_REFRESH : AC_REMOVESKIN, 0, reinterpret_cast<intptr_t>(ownManager_));
    }
}

void TsCommonData::SetSkinManager(TsSkinManager* value)
{
    if (value == DefaultSkinManager)
        value = nullptr; // the default manager is not stored
    if (value == ownManager_)
        return;
    ownManager_ = value;
    if (OwnerLoading)
        return;
    TsSkinManager* m = GetSkinManager();
    if (m && m->SectionCount() > 0)
        UpdateIndexes();
    else
        SkinIndex = -1;
    if (OwnerControl && OwnerControl->parentWidget())
        SendSkinCommand(OwnerControl, SkinIndex >= 0 ? AC_REFRESH : AC_REMOVESKIN, 0,
                        reinterpret_cast<intptr_t>(m));
}

void TsCommonData::SetCustomColor(bool value)
{
    if (value != customColor_) {
        customColor_ = value;
        if (Skinned() && IsCustomEdit(OwnerControl) && !OwnerLoading)
            ApplySectionColors();
    }
    Invalidate();
}

void TsCommonData::SetCustomFont(bool value)
{
    customFont_ = value;
    Invalidate();
}

bool TsCommonData::GetUpdating()
{
    TsSkinManager* m = GetSkinManager();
    if (!m || m->Designing())
        return false;
    if (!NeedsCache())
        return Updating;
    if (Updating)
        return true;
    if (!OwnerControl)
        return false;
    QWidget* parent = OwnerControl->parentWidget();
    return !parent || SendSkinCommand(parent, AC_GETUPDATING) != 0;
}

bool TsCommonData::NeedsCache() const
{
    return CacheAlways || (CacheFlags & 1) == 0 || IsHotState();
}

bool TsCommonData::IsHotState() const
{
    if (!OwnerControl || !OwnerControl->isEnabled())
        return false;
    if (Focused || OwnerControl->hasFocus())
        return true;
    if (!MouseAbove)
        return false;
    return !InNoHoverTypes(ControlTypeCode);
}

bool TsCommonData::IsTransparent() const
{
    const TsGeneralData* s = Section();
    return s && s->Transparency > 0;
}

bool TsCommonData::DependsOnParentBg()
{
    if (ForceParentBg || !Skinned())
        return true;
    if (!OwnerControl || !OwnerControl->isVisible())
        return true;
    const TsGeneralData* s = Section();
    if (!s)
        return false;
    if (!OwnerControl->isEnabled() || s->Transparency > 0) {
        QWidget* parent = OwnerControl->parentWidget();
        return !parent || SendSkinCommand(parent, AC_ISPAINTEDBG) != 0;
    }
    return false;
}

bool TsCommonData::NeedsCacheBmp()
{
    if (CacheAlways) {
        if (!CacheBmp)
            InitCacheBmp();
        return true;
    }
    TsSkinManager* m = GetSkinManager();
    const TsGeneralData* s = Section();
    if (!m || !s)
        return false;
    if (const TsMaskData* mask = m->Mask(BorderIndex))
        if (mask->WL + mask->WR > 30 || mask->WT + mask->WB > 30)
            return true;
    if (s->Transparency == 100) {
        if (!OwnerControl || !OwnerControl->parentWidget())
            return true;
        return (SendSkinCommand(OwnerControl->parentWidget(), AC_GETCACHEFLAGS) & 1) == 0;
    }
    if (s->Transparency > 0)
        return true;
    return s->ImagePercent != 0 || s->GradientPercent != 0;
}

TColor TsCommonData::GetOwnerColor() const
{
    return OwnerControl ? ControlColor(OwnerControl) : clBtnFace();
}

TColor TsCommonData::GetBackgroundColor(bool hot)
{
    const TsGeneralData* s = Section();
    if (!Skinned() || !s || customColor_)
        return GetOwnerColor();
    const int t = hot ? s->HotTransparency : s->Transparency;
    const TColor c = hot ? s->HotColor : s->Color;
    if (t == 0)
        return c;
    if (!OwnerControl)
        return t == 100 ? clBtnFace() : 0;
    QWidget* parent = OwnerControl->parentWidget();
    const TColor parentColor = parent ? ParentBackgroundColor(parent) : clBtnFace();
    if (t == 100)
        return parentColor;
    // The section colour's share is T.
    return MixColors(c, parentColor, t / 100.0);
}

int TsCommonData::GetMaxBorderMargin() const
{
    TsSkinManager* m = GetSkinManager();
    const TsMaskData* mask = m ? m->Mask(BorderIndex) : nullptr;
    if (!mask || (mask->StretchMode & 2))
        return 0;
    return std::max({mask->WL, mask->WT, mask->WR, mask->WB});
}

void TsCommonData::UpdateIndexes()
{
    BGChanged = true;
    TsSkinManager* m = GetSkinManager();
    SkinIndex = m ? m->GetSkinIndex(skinSection_) : -1;
    UpdateFillFlags();
    CacheFlags = 0;
    if (SkinIndex >= 0 && m) {
        BorderIndex = m->Section(SkinIndex).BorderIndex;
        Texture = m->GetTextureIndex(SkinIndex, skinSection_, "PATTERN");
        HotTexture = m->GetTextureIndex(SkinIndex, skinSection_, "HOTPATTERN");
        UpdatePlainBgFlag(false);
    } else {
        Texture = HotTexture = -1;
    }
}

void TsCommonData::UpdateFillFlags()
{
    FillFlags = 0;
    if (const TsGeneralData* s = Section())
        FillFlags = uint16_t(SectionFillFlags(*s));
}

void TsCommonData::UpdatePlainBgFlag(bool notifyChildren)
{
    CacheFlags &= uint16_t(~1u);
    if (KeepsPlainBgFlag(OwnerControl) && !NeedsCacheBmp())
        CacheFlags |= 1;
    if (notifyChildren && OwnerControl)
        for (QWidget* child : OwnerControl->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            SendSkinCommand(child, AC_GETCACHEFLAGS, 0, 1);
}

void TsCommonData::BeginUpdate()
{
    Updating = true;
    SendSkinCommand(OwnerControl, AC_BEGINUPDATE);
}

void TsCommonData::EndUpdate()
{
    Updating = false;
    SendSkinCommand(OwnerControl, AC_ENDUPDATE);
}

void TsCommonData::Invalidate()
{
    if (!OwnerControl || OwnerLoading)
        return;
    BGChanged = true;
    if (ControlReadyToPaint(OwnerControl))
        OwnerControl->update();
}

void TsCommonData::InitCacheBmp()
{
    if (!CacheBmp) {
        CacheBmp = std::make_unique<TBitmap>();
        CacheBmp->SetPixelFormat(pf24bit);
    }
    if (OwnerControl && (CacheBmp->Width() != OwnerControl->width() || CacheBmp->Height() != OwnerControl->height()))
        CacheBmp->SetSize(OwnerControl->width(), OwnerControl->height());
}

void TsCommonData::PrepareCacheBmp()
{
    InitCacheBmp();
    CacheBmp->SetPixelFormat(pf24bit);
}

int GetFontIndex(QWidget* control, int defaultIndex, TsSkinManager* manager)
{
    if (!control || !manager)
        return defaultIndex;
    QWidget* parent = control->parentWidget();
    while (parent) {
        const int index = int(SendSkinCommand(parent, AC_GETSKININDEX)) - 1;
        if (index < 0 || index >= manager->SectionCount())
            return defaultIndex;
        const TsGeneralData& s = manager->Section(index);
        if (s.Transparency > 50 && parent->parentWidget()) {
            parent = parent->parentWidget();
            continue;
        }
        return s.GiveOwnFont ? index : defaultIndex;
    }
    return defaultIndex;
}
