#pragma once
// The area behind the child windows of an MDI form (a QMdiArea's viewport)
// painted by the skin. Qt gives a form no client handle: the form's first
// QMdiArea is its MDI client. Its sub-windows are the MDI child forms: each
// one without a provider of its own gets one from the MDI form while the
// skin is on, which paints its frame and title buttons.
#include "skinwnd/forms/acMainWnd.h"
#include "skinwnd/forms/sSkinProvider.h"

#include <QPointer>

#include <functional>
#include <memory>
#include <vector>

class QMdiArea;
class QMdiSubWindow;
class TacMDIControlsStyle;

class TacMDIWnd : public TacMainWnd {
public:
    // handle is the MDI area's viewport. The skin's "MDIAREA" section wins
    // over the given one when the skin has it.
    TacMDIWnd(QWidget* handle, bool scrollBars, const std::string& skinSection, TsSkinManager* manager,
              TsCommonData* skinData);

    // The MDI form, its provider and the provider's skin state: without an
    // "MDIAREA" section the area takes the form's colour from them.
    void SetOwner(QWidget* form, TsSkinProvider* provider, TsCommonData* providerData);
    // Told of each sub-window the area shows.
    std::function<void(QMdiSubWindow*)> OnSubWindow;

protected:
    bool WndProc(QEvent* event) override;

private:
    void PrepareCache();
    bool AnswerCommand(QEvent* event);

    QPointer<QWidget> form_;
    QPointer<TsSkinProvider> provider_;
    TsCommonData* providerData_ = nullptr;
};

class TsMDIForm {
public:
    explicit TsMDIForm(TsSkinProvider* provider);
    ~TsMDIForm();
    TsMDIForm(const TsMDIForm&) = delete;
    TsMDIForm& operator=(const TsMDIForm&) = delete;

    TsSkinProvider* Provider() const { return provider_; }
    QWidget* Form() const { return form_; }
    TacMDIWnd* ClientAdapter() const { return clientAdapter_; }
    // The form's MDI client: its first QMdiArea, or nullptr.
    QMdiArea* ClientArea() const;

    void Connect();
    void UpdateAdapter();
    void FreeAdapter();
    void RepaintFrame();

    // The providers this object gave to sub-windows (live ones).
    std::vector<TsSkinProvider*> ChildProviders() const;
    // The look of a maximised sub-window's controls on the form's menu bar
    // (while the form is skinned and has a menu bar).
    TacMDIControlsStyle* ControlsStyle() const { return controlsStyle_.get(); }

private:
    void AdoptSubWindow(QMdiSubWindow* sub);
    void FreeChildProviders();
    void UpdateControlsStyle();

    QPointer<TsSkinProvider> provider_;
    QPointer<QWidget> form_;
    TacMDIWnd* clientAdapter_ = nullptr; // owned
    std::vector<QPointer<TsSkinProvider>> childProviders_; // owned, die with their sub-windows
    std::unique_ptr<TacMDIControlsStyle> controlsStyle_;
};
