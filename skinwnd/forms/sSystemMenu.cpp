#include "skinwnd/forms/sSystemMenu.h"

#include "platform/Cp1251.h"
#include "skin/acSkinFolder.h"
#include "skin/forms/sSkinManager.h"
#include "skinwnd/forms/acMenuColumns.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QWidget>
#include <QWidgetAction>
#include <QWindow>

#include <algorithm>

TacSysCommandEvent::TacSysCommandEvent(int command) : QEvent(SysCommandEventType()), command_(command)
{
    // Nobody has carried it out yet.
    ignore();
}

QEvent::Type SysCommandEventType()
{
    static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
    return type;
}

void SendSysCommand(QWidget* form, int command)
{
    if (!form)
        return;
    TacSysCommandEvent event(command);
    QCoreApplication::sendEvent(form, &event);
    if (event.isAccepted())
        return;
    QWindow* window = form->windowHandle();
    switch (command) {
    case scRestore: form->showNormal(); break;
    case scMove:
        if (window)
            window->startSystemMove();
        break;
    case scSize:
        if (window)
            window->startSystemResize(Qt::RightEdge | Qt::BottomEdge);
        break;
    case scMinimize: form->showMinimized(); break;
    case scMaximize: form->showMaximized(); break;
    case scClose: form->close(); break;
    default: break;
    }
}

void PostSysCommand(QWidget* form, int command)
{
    if (form)
        QCoreApplication::postEvent(form, new TacSysCommandEvent(command));
}

QString SkinNameOfItem(const QString& caption)
{
    QString name = caption;
    name.remove(QLatin1Char('&'));
    const QString internal = QStringLiteral("(internal)");
    if (const qsizetype at = name.indexOf(internal); at >= 0)
        name.truncate(at + internal.size());
    return name;
}

TsSystemMenu::TsSystemMenu(QWidget* form, std::function<TacSysMenuForm()> traits, QWidget* parent)
    : TsCustomSysMenu(parent ? parent : form), form_(form), traits_(std::move(traits))
{
    setObjectName("SysMenu");
    Build();
}

TsSkinManagerComponent* TsSystemMenu::Manager() const
{
    return SkinManager ? SkinManager : dynamic_cast<TsSkinManagerComponent*>(DefaultSkinManager);
}

TacSysMenuForm TsSystemMenu::FormState() const
{
    TacSysMenuForm f;
    if (traits_)
        f = traits_();
    else if (form_) {
        const Qt::WindowFlags flags = form_->windowFlags();
        const Qt::WindowType type = form_->windowType();
        const bool fixed = form_->minimumSize() == form_->maximumSize();
        if (type == Qt::Dialog)
            f.BorderStyle = 3;
        else if (type == Qt::Tool)
            f.BorderStyle = fixed ? 4 : 5;
        else
            f.BorderStyle = fixed ? 1 : 2;
        // Without the customising flag the window keeps every default button.
        if (flags & Qt::CustomizeWindowHint)
            f.BorderIcons = ((flags & Qt::WindowSystemMenuHint) ? 1 : 0) | ((flags & Qt::WindowMinimizeButtonHint) ? 2 : 0)
                            | ((flags & Qt::WindowMaximizeButtonHint) ? 4 : 0)
                            | ((flags & Qt::WindowContextHelpButtonHint) ? 8 : 0);
    }
    if (form_) {
        f.Iconic = form_->isMinimized();
        f.WindowState = f.Iconic ? 1 : form_->isMaximized() ? 2 : 0;
    }
    return f;
}

QAction* TsSystemMenu::AddCommand(const char* name, int command, const char* fallback)
{
    auto own = std::find_if(WindowMenu.begin(), WindowMenu.end(), [&](const auto& i) { return i.Id == command; });
    QString text = own != WindowMenu.end() && !own->Text.isEmpty() ? own->Text : QString::fromLatin1(fallback);
    QAction* item = addAction(text.section(QLatin1Char('\t'), 0, 0));
    item->setObjectName(QLatin1String(name));
    item->setData(command);
    if (const QString keys = text.section(QLatin1Char('\t'), 1); !keys.isEmpty())
        item->setShortcut(QKeySequence::fromString(keys));
    return item;
}

void TsSystemMenu::Build()
{
    clear();
    qDeleteAll(findChildren<QMenu*>(Qt::FindDirectChildrenOnly));
    ExtraCount = 0;
    ItemRestore = AddCommand("acIR", scRestore, "Restore");
    connect(ItemRestore, &QAction::triggered, this, [this] {
        SendSysCommand(form_, scRestore);
        UpdateItems(false);
    });
    ItemMove = AddCommand("acIM", scMove, "Move");
    connect(ItemMove, &QAction::triggered, this, [this] { SendSysCommand(form_, scMove); });
    ItemSize = AddCommand("acIS", scSize, "Size");
    connect(ItemSize, &QAction::triggered, this, [this] { SendSysCommand(form_, scSize); });
    ItemMinimize = AddCommand("acIN", scMinimize, "Minimize");
    connect(ItemMinimize, &QAction::triggered, this, [this] {
        SendSysCommand(form_, scMinimize);
        UpdateItems(false);
    });
    ItemMaximize = AddCommand("acIX", scMaximize, "Maximize");
    connect(ItemMaximize, &QAction::triggered, this, [this] {
        SendSysCommand(form_, scMaximize);
        UpdateItems(false);
    });
    addSeparator();
    for (const TacWindowMenuItem& own : WindowMenu) {
        if (own.Id >= scSize || own.Text.isEmpty())
            continue;
        QAction* item = addAction(own.Text.section(QLatin1Char('\t'), 0, 0));
        item->setData(own.Id);
        if (const QString keys = own.Text.section(QLatin1Char('\t'), 1); !keys.isEmpty())
            item->setShortcut(QKeySequence::fromString(keys));
        connect(item, &QAction::triggered, this, [this, id = own.Id] { PostSysCommand(form_, id); });
        ++ExtraCount;
    }
    if (ExtraCount > 0)
        addSeparator();
    ItemClose = AddCommand("acIC", scClose, "Close");
    connect(ItemClose, &QAction::triggered, this, [this] { SendSysCommand(form_, scClose); });
}

void TsSystemMenu::UpdateItems(bool rebuild)
{
    if (!form_)
        return;
    if (rebuild)
        Build();
    const TacSysMenuRules r = SysMenuRules(FormState());
    const std::pair<QAction*, TacSysMenuItemState> items[] = {{ItemRestore, r.Restore}, {ItemMove, r.Move},
                                                              {ItemSize, r.Size},       {ItemMinimize, r.Minimize},
                                                              {ItemMaximize, r.Maximize}, {ItemClose, r.Close}};
    for (auto [item, state] : items) {
        item->setVisible(state.Visible);
        item->setEnabled(state.Enabled);
    }
}

void TsSystemMenu::ApplyPlainEnabling()
{
    const TacPlainSysMenu p = PlainSysMenuEnabling(FormState());
    const std::pair<QAction*, bool> items[] = {{ItemRestore, p.Restore},   {ItemMove, p.Move},
                                               {ItemSize, p.Size},         {ItemMinimize, p.Minimize},
                                               {ItemMaximize, p.Maximize}, {ItemClose, p.Close}};
    for (auto [item, enabled] : items) {
        item->setVisible(true);
        item->setEnabled(enabled);
    }
}

void TsSystemMenu::AddSkinSelection(TsSkinManagerComponent& manager)
{
    std::vector<std::string> names;
    manager.GetSkinNames(names, stAllSkins);
    if (names.empty())
        return;
    QMenu* skins = new QMenu(QStringLiteral("Available skins"), this);
    QAction* head = skins->menuAction();
    head->setObjectName("SkinSelectItem");
    insertAction(actions().isEmpty() ? nullptr : actions().front(), head);
    insertSeparator(actions().size() > 1 ? actions().at(1) : nullptr);
    auto* group = new QActionGroup(skins);
    // Every 20 skins start a new column: a list longer than that goes into
    // the menu as one widget of columns.
    const bool columns = names.size() > size_t(SkinColumnRows);
    QList<QAction*> items;
    for (size_t i = 0; i < names.size(); ++i) {
        const QString caption = Cp1251ToQString(names[i]);
        QAction* item = columns ? new QAction(caption, skins) : skins->addAction(caption);
        items.append(item);
        item->setObjectName(QStringLiteral("SkinSelectItem%1").arg(i));
        item->setCheckable(true);
        item->setChecked(names[i] == manager.SkinName());
        group->addAction(item);
        QPointer<TsSkinManagerComponent> target(&manager);
        connect(item, &QAction::triggered, this, [target, caption] {
            if (target)
                target->SetSkinName(QStringToCp1251(SkinNameOfItem(caption)));
        });
    }
    if (columns) {
        auto* list = new QWidgetAction(skins);
        list->setDefaultWidget(new TacMenuColumns(skins, items, SkinColumnRows));
        skins->addAction(list);
    }
}

void TsSystemMenu::Popup(const QPoint& globalPos)
{
    TsSkinManagerComponent* manager = Manager();
    const bool skinned = manager && manager->Active() && manager->SkinnedPopups();
    if (skinned) {
        UpdateItems(ExtraCount > 0);
        if (MakeSkinMenu && !actions().isEmpty()) {
            if (actions().front()->objectName() == QLatin1String("SkinSelectItem")) {
                QAction* separator = actions().size() > 1 ? actions().at(1) : nullptr;
                delete actions().front()->menu();
                delete separator;
            }
            AddSkinSelection(*manager);
        }
        manager->HookPopupMenu(this);
    } else {
        ApplyPlainEnabling();
    }
    popup(globalPos);
}

void TsSystemMenu::CloseForm()
{
    SendSysCommand(form_, scClose);
}
