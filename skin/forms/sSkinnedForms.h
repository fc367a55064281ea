#pragma once
// The forms that carry a skin provider, and delivery of library commands to
// every form of the application with all its controls. Around a skin change
// the registered forms stop drawing (updates disabled) and draw again at
// once when the new skin is in place.
#include <QImage>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <vector>

class TsSkinManager;

// What the form list asks of a form's skin provider; a form answers the
// provider query (sub-code 4) with a pointer to it.
class TacFormProvider {
public:
    virtual ~TacFormProvider() = default;
    virtual TsSkinManager* SkinManager() const = 0;
    // Set while the skin changes under the form.
    virtual void SetSkinChanging(bool value) = 0;
    // Whether the provider paints the form's frame itself.
    virtual bool DrawNonClientArea() const = 0;
    // Recomputes the frame's shape after a skin change.
    virtual void UpdateFrame() = 0;
};

// Registered forms in registration order; a form that is destroyed leaves a
// null slot until it is unregistered.
extern std::vector<QPointer<QWidget>> SkinnedForms;
// The program's own icons, read at start-up (null when there are none);
// images, so that they may exist before and after the application.
extern QImage AppIconLarge, AppIconSmall;

// Registers a form once, however often it is asked.
void RegisterSkinnedForm(QWidget* form);
// Removes every slot of the form; the last slot fills the gap.
void UnregisterSkinnedForm(QWidget* form);

// The manager's visible registered forms stop drawing. With the default
// manager's skin-change animation on, fades run from now on (FormAnimating)
// and each form's picture is kept for its fade.
void LockSkinnedForms(const TsSkinManager* manager);
// They draw again; with repaint each is faded from its old picture to its
// new look first (the animation's time when the provider paints the frame,
// else at once) and then repainted whole.
void UnlockSkinnedForms(const TsSkinManager* manager, bool repaint);

// A library command for broadcasting: each receiver gets it afresh.
struct TacBroadcast {
    uint16_t SubCode = 0;
    uint16_t Low = 0;
    intptr_t LParam = 0;
};
// To every control under a widget, depth first; a control of the
// library's own passes it on to its children itself.
void BroadcastToControls(QWidget* parent, const TacBroadcast& msg);
// To every top-level form of the application that is not registered (and
// does not say it is handled), then to the registered forms.
void BroadcastToAppForms(const TacBroadcast& msg);
void BroadcastToSkinnedForms(const TacBroadcast& msg);

// Unit start-up and shutdown: the program's icons; the list emptied.
void sSkinnedFormsInitialization();
void sSkinnedFormsFinalization();
