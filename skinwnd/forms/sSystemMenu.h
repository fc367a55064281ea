#pragma once
// The skinned copy of a form's system menu: Restore, Move, Size, Minimize,
// Maximize, the form's own added commands and Close, shown and enabled by
// the form's border style, border icons and state, each sending its window
// command to the form. A skinned form removes the system's caption buttons;
// its provider opens this menu from the title icon and Alt+Space.
#include "skinwnd/sSysMenuRules.h"

#include <QEvent>
#include <QMenu>
#include <QPointer>

#include <functional>
#include <vector>

class TsSkinManagerComponent;

// A window command sent to a form (the system command message). A filter
// or the form that carries the command out accepts the event; a command
// nobody accepts gets the window's default action.
class TacSysCommandEvent : public QEvent {
public:
    explicit TacSysCommandEvent(int command);
    int Command() const { return command_; }

private:
    int command_;
};
QEvent::Type SysCommandEventType();

// Sends a command to the form and, when nobody accepted it, carries out
// the standard ones: restore, move, size, minimise, maximise, close.
void SendSysCommand(QWidget* form, int command);
// Posts a command; the form alone decides what it does.
void PostSysCommand(QWidget* form, int command);

// One entry of the form's own system menu: a command and its text, with a
// shortcut after a tab ("&Close\tAlt+F4").
struct TacWindowMenuItem {
    int Id = 0;
    QString Text;
};

class TsCustomSysMenu : public QMenu {
public:
    using QMenu::QMenu;
    virtual bool VisibleClose() = 0;
    virtual bool VisibleMax() = 0;
    virtual bool VisibleMin() = 0;
    virtual bool EnabledMax() = 0;
    virtual bool EnabledMin() = 0;
    virtual bool EnabledRestore() = 0;
};

// Rows of each column of the skin-selection submenu.
constexpr int SkinColumnRows = 20;

class TsSystemMenu : public TsCustomSysMenu {
public:
    // traits answers the form's border style, border icons, MDI and
    // managed flags whenever the menu is updated (empty: read from the
    // form's window flags); the window state always comes from the form.
    explicit TsSystemMenu(QWidget* form, std::function<TacSysMenuForm()> traits = {}, QWidget* parent = nullptr);

    QWidget* Form() const { return form_; }
    // The form's own system menu: texts of the standard commands and the
    // commands it adds (ids below 0xF000). Read by Build.
    std::vector<TacWindowMenuItem> WindowMenu;
    // Add the skin-selection submenu when shown skinned.
    bool MakeSkinMenu = false;
    // The manager that skins the menu and lists the skins; the default one
    // when not set.
    TsSkinManagerComponent* SkinManager = nullptr;

    int ExtraCount = 0;
    QAction* ItemRestore = nullptr;
    QAction* ItemMove = nullptr;
    QAction* ItemSize = nullptr;
    QAction* ItemMinimize = nullptr;
    QAction* ItemMaximize = nullptr;
    QAction* ItemClose = nullptr;

    void Build();
    // Rebuilds when asked, then shows and enables every item by the rules.
    void UpdateItems(bool rebuild);
    // The form's state as the rules read it now.
    TacSysMenuForm FormState() const;

    bool VisibleClose() override { return SysMenuRules(FormState()).VisibleClose; }
    bool VisibleMax() override { return SysMenuRules(FormState()).VisibleMax; }
    bool VisibleMin() override { return SysMenuRules(FormState()).VisibleMin; }
    bool EnabledMax() override { return SysMenuRules(FormState()).EnabledMax; }
    bool EnabledMin() override { return SysMenuRules(FormState()).EnabledMin; }
    bool EnabledRestore() override { return SysMenuRules(FormState()).EnabledRestore; }

    // The close title button's command.
    void CloseForm();
    // Opens the menu at a point of the screen (the provider's
    // ShowSystemMenu): skinned and by the rules while the manager skins
    // popups, else as the window's own menu with every command listed.
    void Popup(const QPoint& globalPos);

private:
    QAction* AddCommand(const char* name, int command, const char* fallback);
    void AddSkinSelection(TsSkinManagerComponent& manager);
    void ApplyPlainEnabling();
    TsSkinManagerComponent* Manager() const;

    QPointer<QWidget> form_;
    std::function<TacSysMenuForm()> traits_;
};

// The skin name a skin-selection item stands for: its caption without "&"
// and without what follows "(internal)".
QString SkinNameOfItem(const QString& caption);
