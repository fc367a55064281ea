#include "skinwnd/forms/acToolBarWnd.h"

#include "platform/Cp1251.h"
#include "skin/acBlit.h"
#include "skin/acFastPixels.h"
#include "skin/acMaskPaint.h"
#include "skin/acSectionPaint.h"
#include "skin/forms/acControlPaint.h"
#include "skin/forms/acSkinCommand.h"
#include "skin/forms/acSkinText.h"
#include "skin/forms/sCommonData.h"
#include "skin/sHelpers.h"
#include "skinwnd/forms/acHeldChildren.h"
#include "skinwnd/forms/acSBUtilsPaint.h"

#include <QChildEvent>
#include <QFontMetrics>
#include <QToolBar>
#include <QToolButton>

namespace {

bool IsSeparator(const QObject* o)
{
    return QByteArray(o->metaObject()->className()) == "QToolBarSeparator";
}

} // namespace

TacToolBarWnd::TacToolBarWnd(QToolBar* bar, const std::string& skinSection, TsSkinManager* manager,
                             TsCommonData* skinData)
    : TacMainWnd(bar, false, skinSection.empty() ? "BAR" : skinSection, manager, skinData)
{
    buttons_ = new TacHeldChildren(this, [this](QWidget* w, QEvent* event) {
        return !Detached && AdapterSkinned(SkinData()) && ButtonProc(w, event);
    });
    WatchButtons();
}

TacToolBarWnd::~TacToolBarWnd() { buttons_->ReleaseAll(); }

void TacToolBarWnd::WatchButtons()
{
    QWidget* bar = WndHandle();
    if (!bar)
        return;
    for (QWidget* child : bar->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (qobject_cast<QToolButton*>(child) || IsSeparator(child))
            buttons_->Hold(child);
}

int TacToolBarWnd::ButtonState(const QToolButton* b) const
{
    if (!b->isEnabled())
        return 0;
    if (b->isDown() || b->isChecked())
        return 2;
    return b == hotButton_ ? 1 : 0;
}

std::pair<std::string, std::string> TacToolBarWnd::SplitCaption(
    const std::string& text, int width, const std::function<int(const std::string&)>& measure)
{
    for (size_t p = text.rfind(' '); p != std::string::npos && p > 0; p = text.rfind(' ', p - 1)) {
        if (measure(text.substr(0, p)) <= width)
            return {text.substr(0, p), text.substr(p + 1)};
    }
    return {text, {}};
}

void TacToolBarWnd::EnsureCache()
{
    QWidget* bar = WndHandle();
    TsCommonData& sd = *SkinData();
    if (!sd.BGChanged && sd.CacheBmp && sd.CacheBmp->Width() == bar->width() && sd.CacheBmp->Height() == bar->height())
        return;
    sd.BGChanged = true;
    const QRect client = bar->contentsRect();
    ClientArea = {client.left(), client.top(), client.right() + 1, client.bottom() + 1};
    PrepareAdapterCache(&sd, bar, false);
    PaintBorderMaskCorners(sd, 0, bcAll);
    FrameWidth = (bar->height() - client.height()) / 2;
}

void TacToolBarWnd::PaintButtonImage(TBitmap& work, QToolButton* b, int state, int& imageBottom)
{
    imageBottom = 0;
    if (b->icon().isNull() || b->toolButtonStyle() == Qt::ToolButtonTextOnly)
        return;
    const QSize size = b->iconSize();
    int room = work.Width();
    TsSkinManager* m = SkinData()->GetSkinManager();
    const TsMaskData* arrow = b->popupMode() == QToolButton::InstantPopup && b->menu()
                                  ? SectionMask(m, "SCROLLBTNBOTTOM", "GLYPHMASK")
                                  : nullptr;
    if (arrow) {
        const int aw = MaskFrameWidth(*arrow), ah = MaskFrameHeight(*arrow);
        DrawSkinGlyph(work, {work.Width() - 2 - aw, (work.Height() - ah) / 2}, state, MakeCacheInfo(&work), *arrow, 1);
        room -= aw + 2;
    }
    const int d = state == 2 ? 1 : 0;
    // Alone the icon is centred; with the text under it, it starts at 4.
    const bool under = b->toolButtonStyle() == Qt::ToolButtonTextUnderIcon;
    const int x = b->toolButtonStyle() == Qt::ToolButtonTextBesideIcon ? 4 : (room - size.width()) / 2;
    const int y = under ? 4 : (work.Height() - size.height()) / 2;
    const QIcon::Mode mode = !b->isEnabled() ? QIcon::Disabled : state == 1 ? QIcon::Active : QIcon::Normal;
    DrawIconInBox(work, b->icon(), size, mode, {x + d, y + d});
    imageBottom = under ? y + size.height() + 2 : 0;
}

void TacToolBarWnd::PaintButtonText(TBitmap& work, QToolButton* b, int state, int top)
{
    const std::string text = QStringToCp1251(b->text());
    if (text.empty() || b->toolButtonStyle() == Qt::ToolButtonIconOnly)
        return;
    const int d = state == 2 ? 1 : 0;
    const int left = b->toolButtonStyle() == Qt::ToolButtonTextBesideIcon && !b->icon().isNull()
                         ? b->iconSize().width() + 6
                         : 2;
    const TRect r{left + d, top + 2 + d, work.Width() - 2 + d, work.Height() - 2 + d};
    const QFont font = b->font();
    const auto draw = [&](const std::string& s, const TRect& box, unsigned flags) {
        if (state != 0) {
            TsSkinManager* m = SkinData()->GetSkinManager();
            DrawSectionText(work, s, b->isEnabled(), m, true, m->GetSkinIndex("TOOLBUTTON"), flags, box, font);
        } else {
            WriteControlText(work, s, b->isEnabled(), box, flags, SkinData(), b, false, font);
        }
    };
    const auto parts = SplitCaption(text, r.Width(), [&](const std::string& s) { return CanvasTextWidth(font, s); });
    if (!parts.second.empty()) {
        const int line = QFontMetrics(font).height();
        draw(parts.first, {r.Left, r.Top, r.Right, r.Top + line}, DT_CENTER | DT_SINGLELINE);
        draw(parts.second, {r.Left, r.Top + line, r.Right, r.Bottom}, DT_CENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    } else {
        draw(text, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    }
}

void TacToolBarWnd::PaintButton(QToolButton* b)
{
    EnsureCache();
    const TBitmap& barCache = *SkinData()->CacheBmp;
    TBitmap work;
    work.SetPixelFormat(pf24bit);
    work.SetSize(b->width(), b->height());
    CopyBitmapRect(work, 0, 0, b->width(), b->height(), barCache, b->x(), b->y());
    const int state = ButtonState(b);
    TsSkinManager* m = SkinData()->GetSkinManager();
    const int index = m->GetSkinIndex("TOOLBUTTON");
    const TCacheInfo under = MakeCacheInfo(const_cast<TBitmap*>(&barCache), b->x(), b->y());
    if (index >= 0)
        PaintSectionItem(index, "TOOLBUTTON", under, true, state, {0, 0, work.Width(), work.Height()}, {0, 0}, &work,
                         m, -1, -1);
    int imageBottom = 0;
    PaintButtonImage(work, b, state, imageBottom);
    PaintButtonText(work, b, state, imageBottom);
    if (!b->isEnabled())
        ApplyWndDisabledLook(work, under);
    CopyCacheToWindow(b, work);
}

void TacToolBarWnd::PaintSeparator(QWidget* s)
{
    EnsureCache();
    TBitmap work;
    work.SetPixelFormat(pf24bit);
    work.SetSize(s->width(), s->height());
    CopyBitmapRect(work, 0, 0, s->width(), s->height(), *SkinData()->CacheBmp, s->x(), s->y());
    TsSkinManager* m = SkinData()->GetSkinManager();
    const int index = m->GetSkinIndex("DIVIDER");
    const TCacheInfo under = MakeCacheInfo(&work);
    const QToolBar* bar = qobject_cast<QToolBar*>(WndHandle());
    const TRect strip = bar->orientation() == Qt::Horizontal
                            ? TRect{s->width() / 2 - 1, 2, s->width() / 2 + 3, s->height() - 2}
                            : TRect{2, s->height() / 2 - 1, s->width() - 2, s->height() / 2 + 3};
    PaintSectionItem(index, "DIVIDER", under, true, 0, strip, {0, 0}, &work, m, -1, -1);
    CopyCacheToWindow(s, work);
}

bool TacToolBarWnd::ButtonProc(QWidget* w, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Enter:
        hotButton_ = w;
        w->update();
        return false;
    case QEvent::Leave:
        if (hotButton_ == w)
            hotButton_ = nullptr;
        w->update();
        return false;
    case QEvent::Paint:
        break;
    default: return false;
    }
    if (auto* b = qobject_cast<QToolButton*>(w)) {
        PaintButton(b);
        return true;
    }
    // Without a divider image the separator draws its own line.
    if (!SectionMask(SkinData()->GetSkinManager(), "DIVIDER", "BORDERSMASK"))
        return false;
    PaintSeparator(w);
    return true;
}

bool TacToolBarWnd::WndProc(QEvent* event)
{
    QWidget* bar = WndHandle();
    if (!bar)
        return false;
    if (event->type() == QEvent::ChildAdded || event->type() == QEvent::ChildPolished)
        WatchButtons();
    if (!AdapterSkinned(SkinData()) || event->type() == SkinCommandEventType())
        return TacMainWnd::WndProc(event);
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::Move:
    case QEvent::EnabledChange: SkinData()->BGChanged = true; break;
    case QEvent::Paint:
        EnsureCache();
        CopyCacheToWindow(bar, *SkinData()->CacheBmp);
        return true;
    case QEvent::MouseMove:
        if (DefaultSkinManager)
            DefaultSkinManager->SetActiveControl(bar);
        break;
    default: break;
    }
    return TacMainWnd::WndProc(event);
}
