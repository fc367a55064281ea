#include "skinwnd/forms/sSkinProvider.h"

#include "skin/forms/acSkinCommand.h"
#include "skin/sMessages.h"
#include "skinwnd/forms/acCtrlAdapter.h"
#include "skinwnd/forms/sSystemMenu.h"
#include "skinwnd/forms/acBorderForm.h"
#include "skinwnd/forms/acDragOutline.h"
#include "skinwnd/forms/sMDIForm.h"

#include <QLabel>
#include <QShortcut>
#include <QStyle>
#include <QWidget>

namespace {

// The form's provider answers the provider query with itself; the query
// reaches it through the form's event filter.
constexpr int FormControlType = 224;

} // namespace

TsSkinProvider* GetSkinProvider(QWidget* form)
{
    if (!form)
        return nullptr;
    auto* provider = reinterpret_cast<TacFormProvider*>(SendSkinCommand(form, AC_GETPROVIDER));
    return dynamic_cast<TsSkinProvider*>(provider);
}

TsSkinProvider::TsSkinProvider(QWidget* form)
    : QObject(form), form_(form), formClass_(form ? form->metaObject() : nullptr)
{
    // Only one provider paints a form: the newest replaces the others.
    if (form)
        for (QObject* child : form->children())
            if (auto* other = dynamic_cast<TsSkinProvider*>(child); other && other != this)
                delete other;
    skinData_ = std::make_unique<TsCommonData>(form, true);
    skinData_->ControlTypeCode = FormControlType;
    skinData_->SetSkinSection("FORM");
    AddedTitle.Changed = [this] { RepaintFrame(); };
    if (!form)
        return;
    RegisterSkinnedForm(form);
    form->installEventFilter(this);
    if (SkinManager() && SkinManager()->Active())
        PrepareForm();
}

TsSkinProvider::~TsSkinProvider()
{
    mdiForm_.reset();
    adapter_.reset();
    HideButtonGlows();
    delete keyMenu_.data();
    delete sysMenu_.data();
    // Deleted with its form: the form's pointer is gone already (its slot in
    // the list of skinned forms is a null one), or the form is in its own
    // destructor, no longer of its class. Nothing is given back to a form
    // that goes: its flags, margins and size would be set on what is left
    // of it, and a sub-window would be taken for a top-level.
    if (!form_ || form_->metaObject() != formClass_) {
        UnregisterSkinnedForm(form_);
        return;
    }
    form_->removeEventFilter(this);
    UnregisterSkinnedForm(form_);
    borderForm_.reset();
    RestoreFrame();
    RestoreFormColor();
}

void TsSkinProvider::SetDrawNonClientArea(bool value)
{
    if (value == drawNonClientArea_)
        return;
    drawNonClientArea_ = value;
    if (value && skinData_->Skinned(true))
        ApplyFrame();
    else if (!value)
        RestoreFrame();
}

void TsSkinProvider::SetCaptionAlignment(TAlignment value)
{
    captionAlignment_ = value;
    RepaintFrame();
}

void TsSkinProvider::SetShowAppIcon(bool value)
{
    showAppIcon_ = value;
    RepaintFrame();
}

void TsSkinProvider::SetTitleSkin(const std::string& value)
{
    titleSkin_ = value;
    titleSectionIndex_ = -1;
    if (frameActive_)
        PrepareForm();
}

void TsSkinProvider::SetMenuLineSkin(const std::string& value)
{
    menuLineSkin_ = value;
    RepaintFrame();
}

void TsSkinProvider::SetGripMode(TsGripMode value)
{
    gripMode_ = value;
    RepaintFrame();
}

// The form takes the global colour, or goes back to the colour it had
// before the skin gave it one.
void TsSkinProvider::SetUseGlobalColor(bool value)
{
    useGlobalColor_ = value;
    if (value && skinData_->Skinned() && !skinData_->CustomColor())
        ApplyFormColor();
    else
        RestoreFormColor();
}

void TsSkinProvider::TitleButtonsChanged()
{
    RepaintFrame();
}

void TsSkinProvider::RepaintFrame()
{
    cacheStale_ = true;
    if (form_ && frameActive_)
        form_->update();
}

void TsSkinProvider::SetSkinChanging(bool value)
{
    skinData_->Updating = value;
}

void TsSkinProvider::UpdateFrame()
{
    if (skinData_->Skinned(true) && drawNonClientArea_)
        ApplyFrame();
    RepaintFrame();
}

const TacSkinContent* TsSkinProvider::Content() const
{
    TsSkinManager* m = SkinManager();
    return m ? m->Content() : nullptr;
}

// The skin arrived (or changed): indexes, button masks, the frame.
void TsSkinProvider::PrepareForm()
{
    // A halo drawn from the skin before lies around a mask that may be gone.
    HideButtonGlows();
    skinData_->Loaded();
    skinData_->UpdateIndexes();
    const TacSkinContent* skin = Content();
    titleSectionIndex_ = skin ? skin->GetSkinIndex(titleSkin_.empty() ? "FORMTITLE" : titleSkin_) : -1;
    if (titleSectionIndex_ < 0 && skin)
        titleSectionIndex_ = skin->GetSkinIndex("FORMTITLE");
    captionSectionIndex_ = skin ? skin->GetSkinIndex("CAPTION") : -1;
    titleBarMaskIndex_ = skin ? skin->GetMaskIndex(skinData_->SkinIndex, skinData_->SkinSection(), "TITLEBAR") : -1;
    InitTitleButtonMasks();
    ApplyFormColor();
    cacheStale_ = true;
    CreateSystemMenu();
    if (sysMenu_)
        sysMenu_->UpdateItems(false);
    CreateAdapter();
    InitMDIForm(true);
    // While a new skin is still being handed round, the manager is not
    // active yet: the frame follows with the refresh that comes after.
    if (drawNonClientArea_ && skinData_->Skinned(true))
        ApplyFrame();
    if (form_)
        form_->update();
}

void TsSkinProvider::RemoveSkin()
{
    InitMDIForm(false);
    RestoreFrame();
    titleSectionIndex_ = captionSectionIndex_ = titleBarMaskIndex_ = -1;
    HideButtonGlows();
    close_.ImageIndex = max_.ImageIndex = min_.ImageIndex = help_.ImageIndex = -1;
    // The next skin finds every button normal, not hot from this one.
    for (TitleButtonData* button : {&close_, &max_, &min_, &help_})
        button->State = 0;
    for (TsTitleButton& b : TitleButtons)
        b.Data.State = 0;
    currentButton_ = 0;
    buttonPressed_ = false;
    if (form_) {
        for (QLabel* label : form_->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            SetFontColor(label, clWindowText());
        RestoreFormColor();
        form_->update();
    }
    if (skinData_->CacheBmp)
        skinData_->CacheBmp->SetSize(0, 0);
}

int TsSkinProvider::TitleMaskIndex(const char* name) const
{
    const TacSkinContent* skin = Content();
    if (!skin)
        return -1;
    return skin->GetMaskIndex(skin->GetSkinIndex("GLOBALINFO"), "GLOBALINFO", name);
}

void TsSkinProvider::InitTitleButtonMasks()
{
    const bool big = BigTitleIcons(Traits());
    const char* prefix = big ? "BICON" : "SICON";
    auto mask = [&](const std::string& key) { return TitleMaskIndex((prefix + key).c_str()); };
    close_.ImageIndex = mask("CLOSE");
    max_.ImageIndex = mask("MAX");
    min_.ImageIndex = mask("MIN");
    help_.ImageIndex = mask("HELP");
    if (!big && help_.ImageIndex < 0)
        help_.ImageIndex = TitleMaskIndex("BICONHELP");
    bool bigIcons = big;
    if (close_.ImageIndex < 0) {
        close_.ImageIndex = TitleMaskIndex("BICONCLOSE");
        max_.ImageIndex = TitleMaskIndex("BICONMAX");
        min_.ImageIndex = TitleMaskIndex("BICONMIN");
        help_.ImageIndex = TitleMaskIndex("BICONHELP");
        bigIcons = true;
    }
    close_.BigIcon = max_.BigIcon = min_.BigIcon = help_.BigIcon = bigIcons;
    close_.HitCode = HTCLOSE;
    max_.HitCode = HTMAXBUTTON;
    min_.HitCode = HTMINBUTTON;
    help_.HitCode = HTHELP;
    const int userMask = TitleMaskIndex("TITLEBUTTON");
    for (size_t i = 0; i < TitleButtons.size(); ++i) {
        TitleButtons[i].Data.ImageIndex = TitleButtons[i].UseSkinData ? userMask : -1;
        TitleButtons[i].Data.HitCode = HTUSERBUTTON + int(i);
    }
}

// The form follows the system colours again, or gets back the palette of
// its own it had.
void TsSkinProvider::RestoreFormColor()
{
    if (formPaletteSaved_ && form_)
        form_->setPalette(hadOwnFormPalette_ ? savedFormPalette_ : QPalette());
    formPaletteSaved_ = false;
}

void TsSkinProvider::ApplyFormColor()
{
    if (!form_ || !useGlobalColor_ || skinData_->CustomColor())
        return;
    TsSkinManager* m = SkinManager();
    if (!m || !skinData_->Skinned())
        return;
    if (!formPaletteSaved_) {
        savedFormPalette_ = form_->palette();
        hadOwnFormPalette_ = form_->testAttribute(Qt::WA_SetPalette);
        formPaletteSaved_ = true;
    }
    SetControlColor(form_, m->GlobalColor());
}

TitleButtonData* TsSkinProvider::ButtonByCode(int code)
{
    switch (code) {
    case HTCLOSE: return &close_;
    case HTMAXBUTTON: return &max_;
    case HTMINBUTTON: return &min_;
    case HTHELP: return &help_;
    default:
        if (code >= HTUSERBUTTON && code - HTUSERBUTTON < int(TitleButtons.size()))
            return &TitleButtons[size_t(code - HTUSERBUTTON)].Data;
        return nullptr;
    }
}
