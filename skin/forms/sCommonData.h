#pragma once
// Per-control skin state: the skin section that paints the owner, its
// indexes in the skin manager's data, the cached background and the focus,
// mouse and update flags. Without a skin manager (the program's road) every
// answer is the unskinned one and only the focus and mouse bookkeeping runs.
#include "skin/sCommonDataTypes.h"
#include "skin/sSkinManagerIntf.h"

#include <QColor>
#include <QPointer>
#include <memory>
#include <string>

class QEvent;
class QObject;
class QWidget;
class TSkinCommandEvent;
class TsEditLabel;

// The library keeps no cache unless a control needs one.
constexpr bool CacheAlways = false;

class TsCommonData {
public:
    TsCommonData(QObject* owner, bool createCacheBmp);
    ~TsCommonData();
    TsCommonData(const TsCommonData&) = delete;
    TsCommonData& operator=(const TsCommonData&) = delete;

    // Published properties.
    const std::string& SkinSection() const { return skinSection_; }
    void SetSkinSection(const std::string& value);
    TsSkinManager* SkinManager() const { return GetSkinManager(); }
    void SetSkinManager(TsSkinManager* value);
    bool IsSkinManagerStored() const { return ownManager_ != nullptr; }
    // Forgets an own manager that is going away, without telling the owner.
    void ReleaseSkinManager() { ownManager_ = nullptr; }
    bool CustomColor() const { return customColor_; }
    void SetCustomColor(bool value);
    bool CustomFont() const { return customFont_; }
    void SetCustomFont(bool value);

    // Fields.
    int GlowID = -1;
    bool Updating = false;
    int BorderIndex = -1;
    int SkinIndex = -1;
    int Texture = -1;
    int HotTexture = -1;
    bool ForceParentBg = false;
    bool BGChanged = true;
    bool OutOfView = true;
    QPointer<QWidget> OwnerControl;
    QPointer<QObject> OwnerObject;
    std::unique_ptr<TBitmap> CacheBmp;
    int ControlTypeCode = 0;
    bool Focused = false;
    bool MouseAbove = false;
    uint16_t CacheFlags = 0;
    uint16_t FillFlags = 0;
    // The owner is being constructed or read from its form: setters store
    // their value without telling the owner.
    bool OwnerLoading = false;

    void Loaded();
    void SetDefaultSection();

    TsSkinManager* GetSkinManager() const;
    bool Skinned(bool checkActive = false) const;
    bool GetUpdating();
    bool NeedsCache() const;
    bool IsHotState() const;
    bool IsTransparent() const;
    bool DependsOnParentBg();
    bool NeedsCacheBmp();
    TColor GetBackgroundColor(bool hot);
    TColor GetOwnerColor() const;
    int GetMaxBorderMargin() const;

    void UpdateIndexes();
    void UpdateFillFlags();
    void UpdatePlainBgFlag(bool notifyChildren);
    void BeginUpdate();
    void EndUpdate();
    void SetUpdating(bool value) { Updating = value; }
    void Invalidate();
    void InitCacheBmp();
    void PrepareCacheBmp();
    void FillBackgroundInfo(TBackgroundInfo& info, bool hot);
    // Shows the section's glow around the owner while the mouse is over it
    // and no button is held; hides it otherwise, or when removeIfShown.
    void UpdateGlow(bool removeIfShown);
    // Whether the glow this data showed is still in the glow list: the list
    // may have been cleared and GlowID given to another control's glow.
    bool GlowShown() const;
    // Hides that glow when it is still shown, and forgets it.
    void HideOwnGlow();

    // The section record, when skinned.
    const TsGeneralData* Section() const;

private:
    void ApplySectionColors();

    std::string skinSection_;
    bool customColor_ = false;
    bool customFont_ = false;
    TsSkinManager* ownManager_ = nullptr;
    // The window of the glow at GlowID, telling it from a later one.
    QPointer<QWidget> glowForm_;
};

// The caption label that a skinned control can carry beside or above it.
class TsBoundLabel {
public:
    explicit TsBoundLabel(TsCommonData* skinData);
    ~TsBoundLabel();
    TsBoundLabel(const TsBoundLabel&) = delete;
    TsBoundLabel& operator=(const TsBoundLabel&) = delete;

    bool Active() const { return active_; }
    void SetActive(bool value);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    TsCaptionLayout Layout() const { return layout_; }
    void SetLayout(TsCaptionLayout value);
    int Indent() const { return indent_; }
    void SetIndent(int value);
    int MaxWidth() const { return maxWidth_; }
    void SetMaxWidth(int value);
    // The label's font, or the own font while no label exists; a font
    // written while inactive is kept and given to the next label.
    QFont Font() const;
    void SetFont(const QFont& font);
    bool UseSkinColor() const;
    void SetUseSkinColor(bool value);

    TsEditLabel* Label() const { return label_; }
    QWidget* OwnerControl() const;
    void UpdateAlignment();
    void UpdatePosition();

private:
    friend class TsEditLabel;
    void DeleteLabel();
    // Stores indent or maximum width and moves an active label.
    void SetPlacement(int& field, int value);

    TsCommonData* commonData_;
    TsEditLabel* label_ = nullptr;
    bool active_ = false;
    std::string caption_;
    TsCaptionLayout layout_ = sclLeft;
    int indent_ = 0;
    int maxWidth_ = 0;
    std::unique_ptr<QFont> font_;
    bool ownFontSet_ = false;
};

// The index of the section whose font colour a control takes: the parent's
// when that section gives its font to its children, looking through parents
// that are more than half transparent; defaultIndex otherwise.
int GetFontIndex(QWidget* control, int defaultIndex, TsSkinManager* manager);

// The class library's edit controls (line and text editors).
bool IsCustomEdit(const QObject* object);

// Whether a control is ready to be painted: created, and inside a form.
bool ControlReadyToPaint(const QWidget* control);

// The background colour a parent shows: its answer to sub-code 21 when it
// is a library window, else its own colour.
TColor ParentBackgroundColor(QWidget* parent);

// Colours of a control as the class library names them: Color is the
// background role, Font.Color the foreground role.
TColor ControlColor(const QWidget* control);
void SetControlColor(QWidget* control, TColor color);
TColor FontColor(const QWidget* control);
void SetFontColor(QWidget* control, TColor color);
// The system colours clWindow and clWindowText.
TColor clWindow();
TColor clWindowText();
TColor clBtnFace();
TColor ColorFromQColor(const QColor& c);
QColor QColorFromColor(TColor c);

// Upper-cased name of the section whose look changed (sub-code 13).
extern std::string ChangedSectionName;

// The command handler (true = handled) and the handler of every message,
// which passes commands on to HandleSkinCommand.
bool HandleSkinCommand(TSkinCommandEvent& message, TsCommonData* skinData);
bool HandleCommonMessage(QEvent* event, TsCommonData* skinData);
