#include "skin/forms/sSkinManager.h"

#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "skin/acBitmapHelpers.h"
#include "skin/acBlit.h"
#include "skin/acMaskPaint.h"
#include "skin/acShadows.h"
#include "skin/acSkinFolder.h"
#include "skin/acSkinRecolor.h"
#include "skin/sSkinVersion.h"
#include "skin/sSkinMenuItems.h"
#include "skin/forms/acGlow.h"
#include "skin/forms/acSkinCommand.h"
#include "skin/forms/sCommonData.h"
#include "skin/forms/sSkinnedForms.h"

#include <QCoreApplication>
#include <QWidget>
#include <QApplication>
#include <QMenu>

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace {

constexpr TColor KeyColor = 0xFF00FF;

std::string WithoutBlanks(const std::string& line)
{
    std::string out;
    for (char c : line)
        if (c != ' ')
            out += c;
    return out;
}

} // namespace

void (*DialogHookSwitch)(bool install) = nullptr;

TsSkinManagerComponent::TsSkinManagerComponent(QObject* parent)
    : QObject(parent), skinableMenus_(std::make_unique<TsSkinableMenus>(this, &menuSupport_))
{
    menuSupport_.IcoLineSkin = "ICOLINE";
    UpdateThirdNames(false);
    if (!DefaultSkinManager) {
        DefaultSkinManager = this;
        if (QCoreApplication* app = QCoreApplication::instance())
            app->installEventFilter(this);
        if (DialogHookSwitch)
            DialogHookSwitch(true);
    }
}

TsSkinManagerComponent::~TsSkinManagerComponent()
{
    // Controls that name this manager as their own let go of it when told
    // it is going away, so the removal is sent as destroying.
    destroying_ = true;
    SetActive(false);
    skinableMenus_->HookAllMenus(false);
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
    if (DefaultSkinManager == this) {
        DefaultSkinManager = nullptr;
        if (DialogHookSwitch)
            DialogHookSwitch(false);
    }
}

void TsSkinManagerComponent::SetSkinDirectory(const std::string& value)
{
    if (value == skinDirectory_)
        return;
    skinDirectory_ = value;
    skin_.SkinData.ImageFolder = FullSkinDirectory();
}

std::string TsSkinManagerComponent::FullSkinDirectory() const
{
    return GetFullSkinDirectory(skinDirectory_, ProgramFolder());
}

void TsSkinManagerComponent::SetSkinName(const std::string& value)
{
    skinName_ = value;
    if (!active_)
        return;
    if (OnBeforeChange)
        OnBeforeChange();
    skin_.SkinData.Ready = false;
    TacSkinContent loaded;
    if (LoadSkin(loaded)) {
        TakeSkin(std::move(loaded));
        SendNewSkin(true);
    } else {
        // Nothing to show: the controls go back to their own look rather
        // than keep painting by a skin that is not the one asked for.
        active_ = false;
        SendRemoveSkin();
    }
    if (OnAfterChange)
        OnAfterChange();
}

bool TsSkinManagerComponent::LoadSkin(TacSkinContent& skin)
{
    loading_ = true;
    packed_ = std::filesystem::is_regular_file(PackedSkinFile(FullSkinDirectory(), skinName_));
    const bool ok = packed_ ? LoadPackedSkin(skin) : LoadNamedSkin(skin);
    loading_ = false;
    if (ok) {
        lastError_.clear();
        CheckVersion(skin);
    }
    return ok;
}

// A skin of another release is loaded all the same, after a word about it.
void TsSkinManagerComponent::CheckVersion(const TacSkinContent& skin) const
{
    const std::string text = SkinVersionMessage(skin.SkinData.Version, skinName_, Designing());
    if (!text.empty())
        ShowMessageBox(text, QCoreApplication::applicationName().toStdString());
}

bool TsSkinManagerComponent::LoadNamedSkin(TacSkinContent& skin)
{
    const std::string folder = FullSkinDirectory() + "/" + skinName_;
    if (std::filesystem::is_regular_file(folder + "/Options.dat")) {
        if (!LoadSkinFolder(folder, commonSections_, skin, lastError_))
            return false;
        skin.SkinData.ImageFolder = folder + "/";
        return true;
    }
    int index = internalSkins_.IndexOf(skinName_);
    if (index < 0) {
        if (internalSkins_.Items.empty()) {
            lastError_ = "no skin named \"" + skinName_ + "\"";
            return false;
        }
        index = 0;
        skinName_ = internalSkins_.Items.front().Name;
    }
    const TsStoredSkin& stored = internalSkins_.Items[size_t(index)];
    packed_ = !stored.Data.empty();
    return LoadStoredSkin(stored, commonSections_, skin, lastError_);
}

bool TsSkinManagerComponent::LoadPackedSkin(TacSkinContent& skin)
{
    std::string bytes;
    const std::string file = PackedSkinFile(FullSkinDirectory(), skinName_);
    if (!ReadWholeFile(file, bytes)) {
        lastError_ = "cannot read " + file;
        return false;
    }
    const std::string folder = FullSkinDirectory() + "/";
    if (!::LoadPackedSkin(bytes, commonSections_, folder, skin, lastError_))
        return false;
    skin.SkinData.ImageFolder = folder;
    return true;
}

void TsSkinManagerComponent::TakeSkin(TacSkinContent&& skin)
{
    ChangeSkinHueAndSaturation(skin, hueOffset_, saturation_);
    skin.SkinData.Ready = false;
    skin_ = std::move(skin);
    for (TsMaskData& m : skin_.ma)
        m.Manager = this;
    if (extendedBorders_)
        InitShadows();
}

void TsSkinManagerComponent::Broadcast(uint16_t subCode)
{
    BroadcastToAppForms(TacBroadcast{subCode, 0, reinterpret_cast<intptr_t>(static_cast<TsSkinManager*>(this))});
}

void TsSkinManagerComponent::SendNewSkin(bool repaint)
{
    if (loading_)
        return;
    // Halos are drawn from the skin's masks: none outlives it.
    ClearGlows();
    if (repaint)
        LockSkinnedForms(this);
    skinableMenus_->SetSkinBorderWidth(-1);
    skin_.SkinData.Ready = false;
    skin_.ResolveIndexes();
    Broadcast(AC_SETNEWSKIN);
    skin_.SkinData.Ready = true;
    RefreshMenus();
    if (repaint)
        RepaintForms();
}

void TsSkinManagerComponent::RepaintForms()
{
    Broadcast(AC_BEFOREREFRESH);
    if (!loading_)
        LockSkinnedForms(this);
    Broadcast(AC_REFRESH);
    if (!loading_)
        UnlockSkinnedForms(this, true);
    // The controls learnt their new look; show it everywhere at once.
    for (QWidget* w : QApplication::allWidgets())
        w->update();
}

void TsSkinManagerComponent::SendRemoveSkin()
{
    skin_.SkinData.Ready = false;
    ClearGlows();
    skinableMenus_->HookAllMenus(false);
    Broadcast(AC_REMOVESKIN);
    skin_ = TacSkinContent();
    shadowMargins_ = TRect{0, 0, 0, 0};
    for (QWidget* w : QApplication::allWidgets())
        w->update();
}

void TsSkinManagerComponent::SetActive(bool value)
{
    if (value == active_)
        return;
    active_ = value;
    if (value)
        SetSkinName(skinName_);
    else if (!loading_)
        SendRemoveSkin();
}

void TsSkinManagerComponent::SetIsDefault(bool value)
{
    // Giving the default up is not possible: some manager must stay it.
    if (!value && DefaultSkinManager)
        return;
    if (DefaultSkinManager != this) {
        // The menus take the new default's skin: the old one lets them go.
        if (auto* previous = dynamic_cast<TsSkinManagerComponent*>(DefaultSkinManager))
            previous->skinableMenus_->HookAllMenus(false);
        DefaultSkinManager = this;
        if (QCoreApplication* app = QCoreApplication::instance())
            app->installEventFilter(this);
        if (DialogHookSwitch)
            DialogHookSwitch(true);
    }
    if (!active_)
        SendRemoveSkin();
    else
        SendNewSkin(true);
}

void TsSkinManagerComponent::UpdateSkin()
{
    if (!skin_.SkinData.Ready)
        return;
    TacSkinContent loaded;
    if (!LoadSkin(loaded))
        return; // the skin on show stays as it was
    TakeSkin(std::move(loaded));
    skin_.ResolveIndexes();
    skin_.SkinData.Ready = true;
    RefreshMenus();
    RepaintForms();
}

void TsSkinManagerComponent::SetHueOffset(int value)
{
    if (value == hueOffset_)
        return;
    hueOffset_ = value;
    UpdateSkin();
}

void TsSkinManagerComponent::SetSaturation(int value)
{
    if (value == saturation_)
        return;
    saturation_ = value;
    UpdateSkin();
}

void TsSkinManagerComponent::SetExtendedBorders(bool value)
{
    if (value == extendedBorders_)
        return;
    extendedBorders_ = value;
    InitShadows();
    UpdateSkin();
}

void TsSkinManagerComponent::SetCommonSections(const TacCommonSections& value)
{
    commonSections_.Clear();
    for (int i = 0; i < value.Count(); ++i) {
        const std::string& line = value[i];
        commonSections_.Add(line.empty() || line[0] == ';' ? line : WithoutBlanks(line));
    }
    SetSkinName(skinName_);
}

std::string TsSkinManagerComponent::SkinInfo() const
{
    if (!skin_.SkinData.Ready)
        return "N/A";
    char text[32];
    std::snprintf(text, sizeof text, "%g", skin_.SkinData.Version);
    return text;
}

std::string TsSkinManagerComponent::GetSkinNames(std::vector<std::string>& names, int skinTypes) const
{
    names.clear();
    std::string first;
    for (const TsStoredSkin& s : internalSkins_.Items) {
        names.push_back(s.Name);
        if (first.empty())
            first = s.Name;
    }
    // Any other type asks for the stored skins alone.
    const std::string dir = FullSkinDirectory();
    if (skinTypes >= stUnpacked && skinTypes <= stAllSkins && std::filesystem::is_directory(dir))
        for (const std::string& n : ::GetSkinNames(dir, TacSkinTypes(skinTypes))) {
            names.push_back(n);
            if (first.empty())
                first = n;
        }
    std::sort(names.begin(), names.end());
    return first;
}

const TsGeneralData* TsSkinManagerComponent::NamedSection(const char* name) const
{
    const int i = skin_.GetSkinIndex(name);
    return skin_.IsValidSkinIndex(i) ? &skin_.gd[size_t(i)] : nullptr;
}

TColor TsSkinManagerComponent::GetGlobalColor() const
{
    const TsGeneralData* s = NamedSection("GLOBALINFO");
    return s ? s->Color : clBtnFace();
}

TColor TsSkinManagerComponent::GetGlobalFontColor() const
{
    const TsGeneralData* s = NamedSection("GLOBALINFO");
    return s ? s->FontColor : KeyColor;
}

TColor TsSkinManagerComponent::GetGlobalHotColor() const
{
    const TsGeneralData* s = NamedSection("GLOBALINFO");
    return s ? s->HotColor : clWindow();
}

TColor TsSkinManagerComponent::GetEditHotFontColor() const
{
    const TsGeneralData* s = NamedSection("EDIT");
    return s ? s->HotFontColor : KeyColor;
}

TColor TsSkinManagerComponent::GetHighlightColor() const
{
    return MenuHighlightColor(NamedSection("MENUITEM"),
                              ColorFromQColor(QApplication::palette().color(QPalette::Highlight)));
}

TColor TsSkinManagerComponent::GetHighlightFontColor() const
{
    return MenuHighlightFontColor(NamedSection("MENUITEM"),
                                  ColorFromQColor(QApplication::palette().color(QPalette::HighlightedText)));
}

int TsSkinManagerComponent::GetTextureIndex(int skinIndex, const std::string& section,
                                            const std::string& property) const
{
    return skin_.GetTextureIndex(skinIndex, section, property);
}

const TsMaskData* TsSkinManagerComponent::Mask(int index) const
{
    return skin_.IsValidImageIndex(index) ? &skin_.ma[size_t(index)] : nullptr;
}

const TacSkinContent* TsSkinManagerComponent::Content() const
{
    return skin_.gd.empty() ? nullptr : &skin_;
}

void TsSkinManagerComponent::SetActiveControl(QObject* window)
{
    if (window == activeControl_)
        return;
    QPointer<QObject> previous = activeControl_;
    activeControl_ = window;
    const intptr_t self = reinterpret_cast<intptr_t>(static_cast<TsSkinManager*>(this));
    if (previous)
        SendSkinCommand(previous, AC_MOUSELEAVE, 0, self);
    if (window)
        SendSkinCommand(window, AC_MOUSEENTER, 0, self);
}

void TsSkinManagerComponent::InitShadows()
{
    shadowMargins_ = TRect{0, 0, 0, 0};
    shadowActive_.SetSize(0, 0);
    shadowInactive_.SetSize(0, 0);
    if (!active_ || !extendedBorders_)
        return;
    const TsMaskData* m = Mask(skin_.CachedIndexes.ExBorder);
    const TBitmap* image = m ? MaskImage(*m) : nullptr;
    if (image)
        TakeSkinShadow(*m, *image);
    // A translucent window is what a composing desktop shows.
    else if (!BuiltInShadow(LayeredWindowsAvailable(), shadowActive_, shadowInactive_, shadowMargins_))
        return;
    ClearTransparentWhite(shadowActive_);
    ClearTransparentWhite(shadowInactive_);
}

void TsSkinManagerComponent::TakeSkinShadow(const TsMaskData& m, const TBitmap& image)
{
    const TsSkinData& d = skin_.SkinData;
    if (d.ExtBorderMode != 0)
        shadowMargins_ = TRect{d.ExtFormOffset, d.ExtFormOffset, d.ExtFormOffset, d.ExtFormOffset};
    else
        shadowMargins_ = TRect{m.WL - d.ExtFormOffset, m.WT - d.ExtFormOffset, m.WR - d.ExtFormOffset,
                               m.WB - d.ExtFormOffset};
    int w = 0, h = 0;
    skin_.GetMaskFrameSize(skin_.CachedIndexes.ExBorder, w, h);
    for (TBitmap* b : {&shadowInactive_, &shadowActive_}) {
        b->SetPixelFormat(pf32bit);
        b->SetSize(w, h);
    }
    // An image of the master bitmap is its rectangle there.
    const int x = m.Bmp ? 0 : m.R.Left, y = m.Bmp ? 0 : m.R.Top;
    CopyBitmapRect(shadowInactive_, 0, 0, w, h, image, x, y);
    CopyBitmapRect(shadowActive_, 0, 0, w, h, image, m.ImageCount > 1 ? x + w : x, y);
}

void TsSkinManagerComponent::RefreshMenus()
{
    skinableMenus_->SkinnedPopups = skinnedPopups_;
    if (IsDefault())
        skinableMenus_->HookAllMenus(Active());
}

void TsSkinManagerComponent::SetSkinnedPopups(bool value)
{
    if (value == skinnedPopups_)
        return;
    skinnedPopups_ = value;
    RefreshMenus();
}

void TsSkinManagerComponent::HookPopupMenu(QObject* popupMenu)
{
    const bool hook = Active() && skinnedPopups_;
    if (auto* menu = qobject_cast<QMenu*>(popupMenu)) {
        skinableMenus_->HookPopupMenu(menu, hook);
        return;
    }
    if (popupMenu)
        for (QMenu* menu : popupMenu->findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
            skinableMenus_->HookPopupMenu(menu, hook);
}

bool TsSkinManagerComponent::eventFilter(QObject* watched, QEvent* event)
{
    // The menu painter's frame requests (0xBCB3, 0xBCB4).
    if (event->type() == MenuFrameEventType() && watched == QCoreApplication::instance()) {
        if (!IsDefault() || !skinnedPopups_)
            return false;
        skinableMenus_->AnswerFrameMessage(static_cast<TacMenuFrameEvent&>(*event));
        return true;
    }
    // The application becoming active again: every top-level form, last
    // first, repaints its skinned parts.
    if (IsDefault() && skinnedPopups_ && event->type() == QEvent::ApplicationActivate && watched == QCoreApplication::instance()) {
        const QWidgetList forms = QApplication::topLevelWidgets();
        for (auto it = forms.rbegin(); it != forms.rend(); ++it)
            SendSkinCommand(*it, AC_REPAINT);
    }
    return false;
}
