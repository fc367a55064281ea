#pragma once
// Soft halos around controls and title buttons while the mouse is over
// them: each is a frameless, see-through tool window that lets every click
// fall through to what lies below. Without translucent windows none shows.
#include "platform/Bitmap.h"

#include <QPointer>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

class TsSkinManager;

class TacGlowEffect {
public:
    TacGlowEffect() = default;
    ~TacGlowEffect();
    TacGlowEffect(const TacGlowEffect&) = delete;
    TacGlowEffect& operator=(const TacGlowEffect&) = delete;

    // A fully transparent 32-bit image of the size with the mask's normal
    // state painted over all of it (when the mask index is valid).
    void PrepareImage(int width, int height);

    TsSkinManager* Manager = nullptr;
    int MaskIndex = -1;
    int Margin = 0;
    std::unique_ptr<TBitmap> Image;

    QWidget* Form() const { return form_; }
    // Creates and shows the window once; nothing when it exists already.
    void Show(const TRect& r, const TRect& clip, QWidget* host);

private:
    QPointer<QWidget> form_;
};

// Hidden glows leave a null slot, so an index stays valid until ClearGlows.
extern std::vector<std::unique_ptr<TacGlowEffect>> GlowEffects;

// r: the control's screen rect; clip: its visible part relative to r;
// maskName gets "0" appended; alpha is taken and not used; manager nullptr
// means the default one. The glow's index, or -1 when nothing was shown.
int ShowGlow(const TRect& r, const TRect& clip, const std::string& sectionName, const std::string& maskName,
             int margin, int alpha, QWidget* host, TsSkinManager* manager);
void HideGlow(int index);
// The window of the glow at index, nullptr when none is there.
QWidget* GlowWindow(int index);
// Whether the glow at index is still the one that showed form: once the list
// was cleared, a later glow may have been given the same index.
bool GlowOwnedBy(int index, const QWidget* form);
void ClearGlows();

// Start-up asks the platform whether translucent windows exist; shutdown
// clears the glows.
void acGlowInitialization();
void acGlowFinalization();
