// The page control adapter and the adapters of its pages: each page shows
// the control's background, so that the page and the frame around it are
// one surface.
#include "skinwnd/forms/acTabControlWnd.h"

#include "platform/forms/BitmapImage.h"
#include "skin/forms/acControlPaint.h"
#include "skin/forms/acSkinCommand.h"
#include "skin/forms/sCommonData.h"
#include "skin/forms/sSkinnedForms.h"
#include "skin/forms/sVclUtils.h"
#include "skinwnd/forms/acAdapterFactory.h"
#include "skinwnd/forms/acSBUtils.h"

#include <QPainter>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>

TacPageControlWnd::TacPageControlWnd(QWidget* handle, bool scrollBars, const std::string& skinSection,
                                     TsSkinManager* manager, TsCommonData* skinData)
    : TacTabControlWnd(handle, scrollBars, skinSection, manager, skinData)
{
    if (QTabBar* bar = TabBar())
        connect(bar, &QTabBar::currentChanged, this, [this] {
            // The page now shown may hold controls the form has not adapted.
            if (!Detached && SkinData()->Skinned())
                AddToParentAdapter(WndHandle());
        });
}

TacPageControlWnd::~TacPageControlWnd()
{
    // The pages are the control's: their adapters go with it, so that
    // taking the control's adapter away leaves the pages as they were.
    for (TacMainWnd*& page : pages_)
        DetachWnd(page->WndHandle(), true, page);
}

bool TacPageControlWnd::WndProc(QEvent* event)
{
    if (event->type() == QEvent::Paint && SkinData()->Skinned())
        MakePageAdapters();
    return TacTabControlWnd::WndProc(event);
}

void TacPageControlWnd::MakePageAdapters()
{
    // Adapters of pages that were deleted are dropped first.
    for (TacMainWnd*& page : pages_)
        if (page->Detached)
            DetachWnd(page->WndHandle(), true, page);
    pages_.erase(std::remove(pages_.begin(), pages_.end(), nullptr), pages_.end());
    auto* tabs = qobject_cast<QTabWidget*>(WndHandle());
    const intptr_t manager = SendSkinCommand(tabs, AC_GETMANAGER);
    if (!tabs || !manager)
        return;
    for (int i = 0; i < tabs->count(); ++i) {
        QWidget* page = tabs->widget(i);
        if (!page || GetAdapterOf(page) || WindowAnswersCommand(page, AC_CTRLHANDLED))
            continue;
        pages_.push_back(CreateWndAdapter(TacAdapterKind::PageWnd, page, true, "CHECKBOX",
                                          reinterpret_cast<TsSkinManager*>(manager), nullptr));
    }
}

TacPageWnd::TacPageWnd(QWidget* handle, bool scrollBars, const std::string& skinSection, TsSkinManager* manager,
                       TsCommonData* skinData)
    : TacMainWnd(handle, scrollBars, skinSection, manager, skinData)
{
    if (!SkinData()->OwnerObject)
        SkinData()->OwnerObject = this;
    if (handle)
        handle->update();
}

QWidget* TacPageWnd::PageControl() const
{
    for (QWidget* w = WndHandle() ? WndHandle()->parentWidget() : nullptr; w; w = w->parentWidget())
        if (qobject_cast<QTabWidget*>(w))
            return w;
    return nullptr;
}

bool TacPageWnd::WndProc(QEvent* event)
{
    if (!SkinData()->Skinned())
        return TacMainWnd::WndProc(event);
    if (event->type() == SkinCommandEventType())
        return AnswerSkinCommand(static_cast<TSkinCommandEvent&>(*event));
    switch (event->type()) {
    case QEvent::Paint:
        // The page's own painting follows on this background.
        PaintBackground();
        return false;
    case QEvent::ChildPolished: {
        const bool handled = TacMainWnd::WndProc(event);
        AdaptTopLevelControls(WndHandle());
        return handled;
    }
    default: return TacMainWnd::WndProc(event);
    }
}

bool TacPageWnd::AnswerSkinCommand(TSkinCommandEvent& m)
{
    TsCommonData* d = SkinData();
    QWidget* page = WndHandle();
    const bool ours = m.LParam() == reinterpret_cast<intptr_t>(d->GetSkinManager());
    const TacBroadcast broadcast{m.SubCode(), m.Low(), m.LParam()};
    switch (m.SubCode()) {
    case AC_SETNEWSKIN:
        BroadcastToControls(page, broadcast);
        if (ours)
            HandleCommonMessage(&m, d);
        return true;
    case AC_REMOVESKIN:
    case AC_REFRESH:
        if (ours) {
            HandleCommonMessage(&m, d);
            page->update();
        }
        BroadcastToControls(page, broadcast);
        return m.SubCode() == AC_REFRESH || TacMainWnd::WndProc(&m);
    case AC_CHECKUPDATING:
        if (d->Updating) {
            d->Updating = false;
            page->update();
        }
        return true;
    case AC_CTRLHANDLED: m.Result = 1; return true;
    case AC_GETUPDATING: m.Result = d->Updating ? 1 : 0; return true;
    case AC_GETBG:
        if (QWidget* control = PageControl(); control && m.LParam()) {
            SendSkinCommand(control, AC_GETBG, 0, m.LParam());
            auto& info = *reinterpret_cast<TBackgroundInfo*>(m.LParam());
            const QPoint pos = page->mapTo(control, QPoint());
            info.OffsetX += pos.x();
            info.OffsetY += pos.y();
        }
        return true;
    default: return TacMainWnd::WndProc(&m);
    }
}

void TacPageWnd::PaintBackground()
{
    QWidget* page = WndHandle();
    auto* control = qobject_cast<QTabWidget*>(PageControl());
    if (!control)
        return;
    TBackgroundInfo info;
    GetControlBackground(info, control, false);
    const QPoint pos = page->mapTo(control, QPoint());
    QPainter painter(page);
    if (info.BgType == 2 && info.Bmp) {
        painter.drawImage(QPoint(0, 0), BitmapToImage(*info.Bmp),
                          QRect(QPoint(info.OffsetX, info.OffsetY) + pos, page->size()));
        return;
    }
    painter.fillRect(page->rect(), QColorFromColor(info.Color));
    if (!info.Bmp || info.Bmp->Empty())
        return;
    // The edge towards the tabs continues the frame's.
    const TacTabPosition side = control->tabPosition() == QTabWidget::South ? tpBottom
                                : control->tabPosition() == QTabWidget::West ? tpLeft
                                : control->tabPosition() == QTabWidget::East ? tpRight
                                                                             : tpTop;
    const TRect s = PageStripRect(side, page->width(), page->height());
    painter.drawImage(QPoint(s.Left, s.Top), BitmapToImage(*info.Bmp),
                      QRect(info.OffsetX + pos.x() + s.Left, info.OffsetY + pos.y() + s.Top, s.Width(), s.Height()));
}
