#pragma once
// The base of the window adapters: attached to one existing widget, it
// answers the library's command message for it and passes every other
// event on untouched, so that a widget without a skin behaves exactly as
// before. Descendants paint the widget by a skin section.
#include "skin/forms/sCommonData.h"

#include <QObject>
#include <QPalette>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <string>

class TacMainWnd : public QObject {
public:
    // Makes an adapter of class T and attaches it: the adapter is complete
    // before its own SaveColors runs.
    template <class T, class... Args>
    static T* Create(Args&&... args)
    {
        T* adapter = new T(std::forward<Args>(args)...);
        adapter->Attach();
        return adapter;
    }
    ~TacMainWnd() override;

    virtual void SaveColors() {}
    // Called by detaching and when the skin is removed.
    virtual void RestoreColors() {}
    virtual void ApplySkinColors() { SkinColorsApplied = true; }

    QWidget* WndHandle() const { return handle_; }
    TsCommonData* SkinData() const { return skinData_; }
    // The manager given, else the skin data's, asked each time: the default
    // manager may go away while the adapter lives.
    TsSkinManager* SkinManager() const { return skinManager_ ? skinManager_ : skinData_->GetSkinManager(); }
    // Called when the window is destroyed under the adapter.
    void WindowGone();

    bool DialogMode = false;
    std::string Caption;
    bool Scrolling = false;
    bool SkinColorsApplied = false;
    TColor SavedColor = 0, SavedFontColor = 0;
    bool Detached = false;

protected:
    TacMainWnd(QWidget* handle, bool scrollBars, const std::string& skinSection, TsSkinManager* manager,
               TsCommonData* skinData);
    // The adapter's window procedure: true when the event was handled and
    // must not reach the widget.
    virtual bool WndProc(QEvent* event);
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Attached to a live widget whose skin is on.
    bool SkinnedNow() const;

    // For descendants that colour their widget: the palette is kept whole,
    // so that restoring it leaves the widget as it was (also whether it had
    // a palette of its own).
    void SavePalette();
    void ApplyColors(TColor color, TColor fontColor);
    void RestorePalette();

private:
    void Attach();
    bool CommonPath(QEvent* event);
    bool AnswerCommand(TSkinCommandEvent& m);

    QPointer<QWidget> handle_;
    TsCommonData* skinData_ = nullptr;
    std::unique_ptr<TsCommonData> ownSkinData_;
    TsSkinManager* skinManager_ = nullptr;
    QPalette savedPalette_;
    bool hadOwnPalette_ = false;
    bool paletteSaved_ = false;
};
