#pragma once
// The skin manager: owns the current skin, loads it from a skin folder, a
// packed file or a stored skin, recolours it by hue and saturation and tells
// every form and control of the application when the skin is new, changed
// or gone. The first manager created becomes the default one that every
// control without its own manager paints by.
#include "skin/acAnimEffects.h"
#include "skin/acSkinLoader.h"
#include "skin/sSkinManagerIntf.h"
#include "skin/sSkinVersion.h"
#include "skin/sStoredSkins.h"
#include "skin/forms/sSkinMenus.h"

#include <QObject>
#include <QPointer>

#include <array>
#include <functional>
#include <string>
#include <vector>

// What the library skins besides forms with their own provider: standard
// forms, standard dialogs, and the controls the class lists name.
enum TacSkinningRule : unsigned { srStdForms = 1, srStdDialogs = 2, srThirdParty = 4 };
using TacSkinningRules = unsigned;

// The window skinning's dialog hook, switched on while a default manager
// exists; set by the window skinning when it is linked in, else nullptr.
extern void (*DialogHookSwitch)(bool install);

class TsSkinManagerComponent : public QObject, public TsSkinManager {
public:
    explicit TsSkinManagerComponent(QObject* parent = nullptr);
    ~TsSkinManagerComponent() override;

    // Where skins are searched; relative names are resolved from the
    // program folder. Changing it does not reload.
    const std::string& SkinDirectory() const { return skinDirectory_; }
    void SetSkinDirectory(const std::string& value);
    std::string FullSkinDirectory() const;
    // Setting the name (also the current one) loads that skin while active.
    const std::string& SkinName() const { return skinName_; }
    void SetSkinName(const std::string& value);
    void SetActive(bool value);
    bool IsDefault() const { return DefaultSkinManager == this; }
    void SetIsDefault(bool value);
    int HueOffset() const { return hueOffset_; }
    void SetHueOffset(int value);
    int Saturation() const { return saturation_; }
    void SetSaturation(int value);
    bool ExtendedBorders() const { return extendedBorders_; }
    void SetExtendedBorders(bool value);
    bool SkinnedPopups() const { return skinnedPopups_; }
    void SetSkinnedPopups(bool value);
    // The menus painted by the skin, and their published extras.
    TsSkinableMenus& SkinableMenus() { return *skinableMenus_; }
    TacMenuSupport& MenuSupport() { return menuSupport_; }
    void SetAllowGlowing(bool value) { allowGlowing_ = value; }
    TacAnimEffects& AnimEffects() { return animEffects_; }
    const TacCommonSections& CommonSections() const { return commonSections_; }
    // Blanks are dropped from every line that is not a comment; reloads.
    void SetCommonSections(const TacCommonSections& value);
    TsStoredSkins& InternalSkins() { return internalSkins_; }
    // The loaded skin's version ("N/A" while none is ready).
    std::string SkinInfo() const;
    // The library's release; read only.
    std::string Version() const { return LibraryVersion; }
    bool Packed() const { return packed_; }
    // Why the last load found no skin (empty after a good load).
    const std::string& LastError() const { return lastError_; }

    std::function<void()> OnBeforeChange, OnAfterChange;

    TacSkinningRules SkinningRules = srStdForms | srStdDialogs | srThirdParty;
    // The class names of controls to skin, by adapter kind (one text per
    // ThirdPartyNames entry), and the same as lists of names.
    ThirdPartyList ThirdParty;
    std::array<std::vector<std::string>, 18> ThirdLists;
    // The lists take the texts; with force every text takes its default
    // first, without it only an empty one does.
    void UpdateThirdNames(bool force) { ::UpdateThirdNames(ThirdParty, ThirdLists, force); }

    // The available skins (stored ones and those of the skin directory),
    // sorted into `names`; answers the first one found.
    std::string GetSkinNames(std::vector<std::string>& names, int skinTypes) const;

    TColor GetGlobalColor() const;
    TColor GetGlobalFontColor() const;
    TColor GetGlobalHotColor() const;
    TColor GetEditHotFontColor() const;
    TColor GetHighlightColor() const;
    TColor GetHighlightFontColor() const;

    void SendNewSkin(bool repaint);
    void SendRemoveSkin();
    void RepaintForms();
    // The extended-border shadow: its two images and margins.
    void InitShadows();
    const TBitmap& ShadowActive() const { return shadowActive_; }
    const TBitmap& ShadowInactive() const { return shadowInactive_; }
    TRect ShadowMargins() const { return shadowMargins_; }

    // TsSkinManager
    bool Destroying() const override { return destroying_; }
    bool Designing() const override { return false; }
    bool Active() const override { return active_ && skin_.SkinData.Ready; }
    int SectionCount() const override { return int(skin_.gd.size()); }
    bool IsValidSkinIndex(int index) const override { return skin_.IsValidSkinIndex(index); }
    int GetSkinIndex(const std::string& section) const override { return skin_.GetSkinIndex(section); }
    int GetTextureIndex(int skinIndex, const std::string& section, const std::string& property) const override;
    const TsGeneralData& Section(int index) const override { return skin_.gd[size_t(index)]; }
    const TsMaskData* Mask(int index) const override;
    bool AllowGlowing() const override { return allowGlowing_; }
    TColor GlobalColor() const override { return GetGlobalColor(); }
    TColor GlobalFontColor() const override { return GetGlobalFontColor(); }
    void ClearRepaintFlag() override {}
    void SetActiveControl(QObject* window) override;
    // A popup menu, or the popup menus of a control.
    void HookPopupMenu(QObject* popupMenu) override;
    const TacAnimEffects& AnimEffects() const override { return animEffects_; }
    const TacSkinContent* Content() const override;

protected:
    // The application-wide hook of the default manager.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool LoadSkin(TacSkinContent& skin);
    bool LoadNamedSkin(TacSkinContent& skin);
    bool LoadPackedSkin(TacSkinContent& skin);
    void CheckVersion(const TacSkinContent& skin) const;
    void TakeSkin(TacSkinContent&& skin);
    // The shadow images and margins of the skin's own extended border.
    void TakeSkinShadow(const TsMaskData& mask, const TBitmap& image);
    void Broadcast(uint16_t subCode);
    void UpdateSkin();
    const TsGeneralData* NamedSection(const char* name) const;
    // The default manager's menus take the skin on show, or let it go.
    void RefreshMenus();

    TacSkinContent skin_;
    TsStoredSkins internalSkins_;
    TacCommonSections commonSections_;
    std::string skinDirectory_ = "c:\\Skins";
    std::string skinName_;
    std::string lastError_;
    int hueOffset_ = 0;
    int saturation_ = 0;
    bool active_ = true;
    bool packed_ = false;
    bool loading_ = false;
    bool destroying_ = false;
    bool extendedBorders_ = false;
    bool skinnedPopups_ = true;
    bool allowGlowing_ = true;
    QPointer<QObject> activeControl_;
    TBitmap shadowActive_, shadowInactive_;
    TRect shadowMargins_{0, 0, 0, 0};
    TacMenuSupport menuSupport_;
    TacAnimEffects animEffects_;
    std::unique_ptr<TsSkinableMenus> skinableMenus_;
};
