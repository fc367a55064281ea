#pragma once
// What the per-control skin state and the skinned controls ask of a skin
// manager. The skin manager implements this; in the program none exists
// (DefaultSkinManager stays nullptr), so every caller takes its unskinned
// road and nothing here is reached.
#include "platform/Bitmap.h"
#include "skin/acAnimEffects.h"
#include "skin/sSkinData.h"

#include <string>

class QObject;

class TsSkinManager {
public:
    virtual ~TsSkinManager() = default;

    virtual bool Destroying() const = 0;
    virtual bool Designing() const = 0;
    // The skin data is active (a skin is loaded and switched on).
    virtual bool Active() const = 0;
    virtual int SectionCount() const = 0;
    virtual bool IsValidSkinIndex(int index) const = 0;
    virtual int GetSkinIndex(const std::string& section) const = 0;
    virtual int GetTextureIndex(int skinIndex, const std::string& section, const std::string& property) const = 0;
    virtual const TsGeneralData& Section(int index) const = 0;
    // nullptr when the index names no mask.
    virtual const TsMaskData* Mask(int index) const = 0;
    virtual bool AllowGlowing() const = 0;
    // The skin-wide background and font colours.
    virtual TColor GlobalColor() const = 0;
    virtual TColor GlobalFontColor() const = 0;
    // Clears the skin-wide repaint flag.
    virtual void ClearRepaintFlag() = 0;
    // The window that the mouse is over now.
    virtual void SetActiveControl(QObject* window) = 0;
    // Lets the skinned menus paint a control's popup menu before it shows.
    virtual void HookPopupMenu(QObject* popupMenu) = 0;
    // What is animated, and for how long: skin changes, forms and dialogs
    // showing.
    virtual const TacAnimEffects& AnimEffects() const = 0;
    // The loaded skin the painters read masks, sections, patterns and the
    // master bitmap from; nullptr while none is loaded.
    virtual const TacSkinContent* Content() const { return nullptr; }
};

// The first skin manager created; nullptr in this program.
extern TsSkinManager* DefaultSkinManager;
