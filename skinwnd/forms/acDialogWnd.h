#pragma once
// The adapter of a window the dialog hook skins. Its frame (caption with
// icon, text and title buttons, borders, corners cut to the skin) is the
// one a form's skin provider paints: the adapter keeps a provider on the
// window for it, with the skin's "DIALOG" section when the skin has one.
// Removing the skin or the adapter gives the window its flags, margins,
// mask and palette back.
#include "skinwnd/forms/acMainWnd.h"
#include "skinwnd/forms/sSkinProvider.h"

#include <QPointer>

class TacProvider;

class TacDialogWnd : public TacMainWnd {
public:
    TacDialogWnd(QWidget* handle, bool scrollBars, const std::string& skinSection, TsSkinManager* manager,
                 TsCommonData* skinData);
    ~TacDialogWnd() override;

    // Takes the frame over; called once the controls are wrapped.
    void Prepare();
    TsSkinProvider* FrameProvider() const { return frame_; }

    TacProvider* Provider = nullptr;

protected:
    bool WndProc(QEvent* event) override;

private:
    void UseDialogSection();

    QPointer<TsSkinProvider> frame_;
};
