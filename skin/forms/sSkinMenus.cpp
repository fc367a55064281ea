#include "skin/forms/sSkinMenus.h"

#include "skin/forms/acSkinCommand.h"
#include "skin/forms/sSkinMenusPaint.h"
#include "skin/forms/sSkinMenusStyle.h"
#include "skin/sSkinManagerIntf.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>
#include <set>

TacMenuFrameEvent::TacMenuFrameEvent(int message, QAction* item, QWidget* window, TsSkinableMenus* sender)
    : QEvent(MenuFrameEventType()), message_(message), item_(item), window_(window), sender_(sender)
{
}

TacMenuFrameEvent::~TacMenuFrameEvent()
{
    if (sender_)
        sender_->FrameRequestGone();
}

QEvent::Type MenuFrameEventType()
{
    static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
    return type;
}

QAction* MenuFirstItem(QAction* item)
{
    if (!item)
        return nullptr;
    for (QObject* o : item->associatedObjects())
        if (auto* menu = qobject_cast<QMenu*>(o); menu && !menu->actions().isEmpty())
            return menu->actions().front();
    return item;
}

TsSkinableMenus::TsSkinableMenus(TsSkinManager* manager, TacMenuSupport* support)
    : manager_(manager), support_(support), style_(std::make_unique<TacMenuStyle>(*this))
{
}

TsSkinableMenus::~TsSkinableMenus()
{
    // The menus must not keep a style that goes away with this object.
    HookAllMenus(false);
}

int TsSkinableMenus::SkinBorderWidth()
{
    if (skinBorderWidth_ >= 0)
        return skinBorderWidth_;
    const TacSkinContent* skin = manager_ ? manager_->Content() : nullptr;
    if (!skin)
        return 0;
    const int index = skin->GetMaskIndex(skin->GetSkinIndex("MAINMENU"), "MAINMENU", "BORDERSMASK");
    if (!skin->IsValidImageIndex(index))
        return 0;
    const int left = skin->ma[size_t(index)].WL;
    skinBorderWidth_ = left > 0 ? left : 3;
    return skinBorderWidth_;
}

bool TsSkinableMenus::Skinning() const
{
    return active_ && manager_ && !manager_->Destroying() && manager_->Active() && manager_->Content();
}

int TsSkinableMenus::PopupBorder()
{
    return std::max(SkinBorderWidth(), BorderWidth);
}

void TsSkinableMenus::SetActive(bool value)
{
    if (value != active_)
        HookAllMenus(value);
}

void TsSkinableMenus::UpdateActive()
{
    SetActive(manager_ && manager_->Active());
}

void TsSkinableMenus::HookAllMenus(bool active)
{
    active_ = active;
    if (!QApplication::instance())
        return;
    const bool hook = active && SkinnedPopups;
    ClearMenuBackgrounds();
    skinBorderWidth_ = -1;
    for (QWidget* w : QApplication::allWidgets()) {
        if (auto* bar = qobject_cast<QMenuBar*>(w))
            HookMainMenu(bar, hook);
        else if (auto* popup = qobject_cast<QMenu*>(w))
            HookPopupMenu(popup, hook);
    }
}

void TsSkinableMenus::HookMainMenu(QMenuBar* menu, bool hook)
{
    if (!menu)
        return;
    if (hook)
        Hook(menu);
    else
        Unhook(menu);
    for (QAction* a : menu->actions())
        if (a->menu())
            HookPopupMenu(a->menu(), hook);
}

void TsSkinableMenus::HookPopupMenu(QMenu* popup, bool hook)
{
    std::set<const QMenu*> seen;
    HookMenuTree(popup, hook, seen);
}

void TsSkinableMenus::HookMenuTree(QMenu* popup, bool hook, std::set<const QMenu*>& seen)
{
    // A menu reached twice (or inside itself) is done once.
    if (!popup || !seen.insert(popup).second)
        return;
    if (hook)
        Hook(popup);
    else
        Unhook(popup);
    for (QAction* a : popup->actions())
        if (a->menu())
            HookMenuTree(a->menu(), hook, seen);
}

void TsSkinableMenus::Hook(QWidget* menu)
{
    if (!IsHooked(menu)) {
        // A menu with a style of the application's own keeps its own look.
        if (menu->testAttribute(Qt::WA_SetStyle))
            return;
        hooked_[menu] = THookedMenu{menu, !menu->mask().isEmpty(), menu->mask(), {}};
        menu->setStyle(style_.get());
        menu->installEventFilter(this);
        connect(menu, &QObject::destroyed, this, [this, menu] {
            hooked_.erase(menu);
            DropBackground(menu);
        });
    }
    // An open menu takes the new skin's measures at once.
    if (menu->isVisible())
        Remeasure(menu);
}

void TsSkinableMenus::Remeasure(QWidget* menu)
{
    QEvent changed(QEvent::StyleChange);
    QCoreApplication::sendEvent(menu, &changed);
    if (qobject_cast<QMenu*>(menu))
        menu->adjustSize();
    menu->updateGeometry();
    menu->update();
}

void TsSkinableMenus::Unhook(QWidget* menu)
{
    auto it = hooked_.find(menu);
    if (it == hooked_.end())
        return;
    const THookedMenu h = it->second;
    hooked_.erase(it);
    DropBackground(menu);
    disconnect(menu, &QObject::destroyed, this, nullptr);
    menu->removeEventFilter(this);
    // What the application changed since stays as it is.
    if (menu->style() == style_.get())
        menu->setStyle(nullptr);
    if (!h.OwnMask.isEmpty() && menu->mask() == h.OwnMask) {
        if (h.HadMask)
            menu->setMask(h.PreviousMask);
        else
            menu->clearMask();
    }
    if (menu->isVisible())
        Remeasure(menu);
}

void TsSkinableMenus::ClearMenuBackgrounds()
{
    backgrounds_.clear();
}

void TsSkinableMenus::DropBackground(const QWidget* window)
{
    std::erase_if(backgrounds_, [&](const auto& b) { return b->Window == window || !b->Window; });
}

TacMenuBackground* TsSkinableMenus::FindMenuBackground(QAction* item, int width, int height, QWidget* window)
{
    auto found = std::find_if(backgrounds_.begin(), backgrounds_.end(), [&](const auto& b) {
        return item ? b->FirstItem && b->FirstItem == MenuFirstItem(item) : b->Window == window;
    });
    TacMenuBackground* bg = found != backgrounds_.end() ? found->get() : nullptr;
    if (!bg) {
        if (!window || (width == 0 && !qobject_cast<QMenu*>(window)))
            return nullptr;
        auto made = std::make_unique<TacMenuBackground>();
        made->Window = window;
        if (auto* popup = qobject_cast<QMenu*>(window); popup && !popup->actions().isEmpty())
            made->FirstItem = popup->actions().front();
        if (made->FirstItem)
            PrepareExtraLine(made->FirstItem, made->ExtraLine);
        backgrounds_.push_back(std::move(made));
        bg = backgrounds_.back().get();
    }
    if (width > 0 && height > 0 && (bg->Bmp.Width() != width || bg->Bmp.Height() != height)) {
        BuildMenuBackground(*this, *bg, width, height, qobject_cast<QMenuBar*>(bg->Window.data()) != nullptr);
        bg->Framed = false;
    }
    return bg;
}

void TsSkinableMenus::PrepareExtraLine(QAction* firstItem, bool& extraLine)
{
    extraLine = false;
    if (!firstItem || firstItem->objectName() == QLatin1String("SkinSelectItem") || (manager_ && manager_->Designing()))
        return;
    extraLine = true;
    extraLineSection_ = "EXTRALINE";
    extraLineText_ = "Use OnGetExtraLineData event";
    extraLineGlyph_ = TBitmap();
    bool show = true;
    if (OnGetExtraLineData)
        OnGetExtraLineData(firstItem, extraLineSection_, extraLineText_, extraLineGlyph_, show);
    std::erase(extraLineText_, '&');
    if (!show)
        extraLineGlyph_ = TBitmap();
}

void TsSkinableMenus::SetPopupRegion(QWidget* window, const TacMenuBackground& background)
{
    if (settingRegion_ || !window || SendSkinCommand(window, AC_SETUPDATING) != 0)
        return;
    settingRegion_ = true;
    SendSkinCommand(window, AC_MENUSHOWN);
    QRegion region(0, 0, background.Bmp.Width(), background.Bmp.Height());
    if (background.RegionRects.empty())
        region -= QRegion(0, 0, 1, 1);
    for (const TRect& r : background.RegionRects)
        region -= QRegion(r.Left, r.Top, r.Width(), r.Height());
    auto it = hooked_.find(window);
    if (it != hooked_.end())
        it->second.OwnMask = region;
    window->setMask(region);
    settingRegion_ = false;
}

void TsSkinableMenus::PostFrameRequest(QAction* item)
{
    if (framePosted_ || !item || !QCoreApplication::instance())
        return;
    framePosted_ = true;
    QCoreApplication::postEvent(QCoreApplication::instance(), new TacMenuFrameEvent(WM_MENUITEMFRAME, item, nullptr, this));
}

void TsSkinableMenus::AnswerFrameMessage(const TacMenuFrameEvent& message)
{
    QWidget* window = message.Window();
    if (message.Message() == WM_MENUITEMFRAME && message.Item())
        for (QObject* o : message.Item()->associatedObjects())
            if (auto* menu = qobject_cast<QMenu*>(o); menu && menu->isVisible())
                window = menu;
    if (!window || !IsHooked(window) || !Skinning())
        return;
    TacMenuBackground* bg = FindMenuBackground(nullptr, window->width(), window->height(), window);
    if (!bg)
        return;
    bg->Window = window;
    SetPopupRegion(window, *bg);
    bg->Framed = true;
    window->update();
}

bool TsSkinableMenus::eventFilter(QObject* watched, QEvent* event)
{
    auto* popup = qobject_cast<QMenu*>(watched);
    if (!popup || !Skinning())
        return false;
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Resize:
        if (popup->isVisible() || event->type() == QEvent::Show) {
            // Sub-menus added since the popup was hooked are hooked too.
            for (QAction* a : popup->actions())
                if (a->menu())
                    HookPopupMenu(a->menu(), true);
            if (TacMenuBackground* bg = FindMenuBackground(nullptr, popup->width(), popup->height(), popup)) {
                SetPopupRegion(popup, *bg);
                bg->Framed = true;
            }
        }
        break;
    case QEvent::ActionAdded:
    case QEvent::ActionRemoved: DropBackground(popup); break;
    default: break;
    }
    return false;
}
