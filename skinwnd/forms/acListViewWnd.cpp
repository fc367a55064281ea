#include "skinwnd/forms/acListViewWnd.h"

#include "skin/forms/acSkinCommand.h"

#include <QEvent>
#include <QHeaderView>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QTreeView>

namespace {

int AlignOf(const QVariant& alignment, Qt::Alignment fallback)
{
    const Qt::Alignment a = alignment.isValid() ? Qt::Alignment(alignment.toInt()) : fallback;
    if (a & Qt::AlignRight)
        return hdfRight;
    if (a & Qt::AlignHCenter)
        return hdfCenter;
    return hdfLeft;
}

QIcon IconOf(const QVariant& decoration)
{
    if (decoration.canConvert<QIcon>())
        return decoration.value<QIcon>();
    if (decoration.canConvert<QPixmap>())
        return QIcon(decoration.value<QPixmap>());
    return {};
}

} // namespace

TacListViewWnd::TacListViewWnd(QWidget* handle, bool scrollBars, const std::string& skinSection,
                               TsSkinManager* manager, TsCommonData* skinData)
    : TacEditWnd(handle, scrollBars, skinSection, manager, skinData)
{
    HookHeader();
}

TacListViewWnd::~TacListViewWnd() { UnhookHeader(); }

TacListViewWnd::TViewStyle TacListViewWnd::ViewStyle() const
{
    if (auto* tree = qobject_cast<QTreeView*>(WndHandle()))
        return tree->isHeaderHidden() ? vsList : vsReport;
    if (auto* list = qobject_cast<QListView*>(WndHandle()); list && list->viewMode() == QListView::IconMode)
        return vsIcon;
    return vsList;
}

void TacListViewWnd::HookHeader()
{
    auto* tree = qobject_cast<QTreeView*>(WndHandle());
    // A tree hands out its old header while that is destroyed (the tree
    // hears of its child going): only a header that still is one is taken.
    QObject* current = tree ? tree->header() : nullptr;
    QHeaderView* header = qobject_cast<QHeaderView*>(current);
    if (header == header_ && (!header || headerViewport_ == header->viewport()))
        return;
    UnhookHeader();
    if (!header)
        return;
    header_ = header;
    headerViewport_ = header->viewport();
    headerViewport_->installEventFilter(this);
    headerViewport_->update();
}

void TacListViewWnd::UnhookHeader()
{
    if (headerViewport_) {
        headerViewport_->removeEventFilter(this);
        headerViewport_->update();
    }
    header_ = nullptr;
    headerViewport_ = nullptr;
    HotColumnIndex = DownColumnIndex = -1;
}

void TacListViewWnd::ApplySkinColors()
{
    TacEditWnd::ApplySkinColors();
    ApplySectionBackground();
    if (headerViewport_)
        headerViewport_->update();
}

void TacListViewWnd::RestoreColors()
{
    TacEditWnd::RestoreColors();
    HotColumnIndex = DownColumnIndex = -1;
    if (headerViewport_)
        headerViewport_->update();
}

std::vector<THeaderColumn> TacListViewWnd::HeaderColumns() const
{
    std::vector<THeaderColumn> columns;
    if (!header_ || !headerViewport_)
        return columns;
    QHeaderView* h = header_;
    const QAbstractItemModel* model = h->model();
    const int height = headerViewport_->height();
    int right = 0;
    for (int visual = 0; visual < h->count(); ++visual) {
        const int logical = h->logicalIndex(visual);
        if (logical < 0 || h->isSectionHidden(logical))
            continue;
        THeaderColumn c;
        c.Rect = QRect(h->sectionViewportPosition(logical), 0, h->sectionSize(logical), height);
        if (model) {
            c.Text = model->headerData(logical, h->orientation(), Qt::DisplayRole).toString();
            c.Align = AlignOf(model->headerData(logical, h->orientation(), Qt::TextAlignmentRole),
                              h->defaultAlignment());
            c.Icon = IconOf(model->headerData(logical, h->orientation(), Qt::DecorationRole));
        }
        if (h->isSortIndicatorShown() && h->sortIndicatorSection() == logical)
            c.Sort = h->sortIndicatorOrder() == Qt::AscendingOrder ? hdfSortUp : hdfSortDown;
        if (DownColumnIndex >= 0)
            c.State = logical == DownColumnIndex ? 2 : 0;
        else
            c.State = logical == HotColumnIndex ? 1 : 0;
        right = std::max(right, c.Rect.right() + 1);
        columns.push_back(c);
    }
    if (right < headerViewport_->width()) {
        THeaderColumn rest;
        rest.Rect = QRect(right, 0, headerViewport_->width() - right, height);
        columns.push_back(rest);
    }
    return columns;
}

bool TacListViewWnd::PaintHeader()
{
    QPainter painter(headerViewport_);
    const TColor listColor = ColorFromQColor(WndHandle()->palette().color(QPalette::Base));
    const int icon = header_->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, header_);
    for (const THeaderColumn& c : HeaderColumns())
        PaintHeaderColumn(painter, c, SkinData()->GetSkinManager(), listColor, header_->font(), QSize(icon, icon));
    return true;
}

int TacListViewWnd::ColumnAt(const QPoint& point) const
{
    return header_ ? header_->logicalIndexAt(point) : -1;
}

bool TacListViewWnd::OnDivider(const QPoint& point) const
{
    // A column's right edge is a divider, so is its left edge when a column
    // lies before it.
    const int logical = ColumnAt(point);
    if (logical < 0)
        return false;
    const int grip = header_->style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, header_);
    const int start = header_->sectionViewportPosition(logical);
    const int along = header_->orientation() == Qt::Horizontal ? point.x() : point.y();
    if (along > start + header_->sectionSize(logical) - grip)
        return true;
    return along < start + grip && header_->visualIndex(logical) > 0;
}

void TacListViewWnd::SetColumns(int hot, int down)
{
    if (hot == HotColumnIndex && down == DownColumnIndex)
        return;
    HotColumnIndex = hot;
    DownColumnIndex = down;
    headerViewport_->update();
}

bool TacListViewWnd::HeaderEvent(QEvent* event)
{
    if (!SkinOn() || ViewStyle() != vsReport || !header_)
        return false;
    switch (event->type()) {
    case QEvent::Paint: return PaintHeader();
    case QEvent::MouseMove:
        SetColumns(ColumnAt(static_cast<QMouseEvent*>(event)->position().toPoint()), DownColumnIndex);
        break;
    case QEvent::Leave: SetColumns(-1, DownColumnIndex); break;
    case QEvent::MouseButtonPress: {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            SetColumns(HotColumnIndex, OnDivider(at) ? -1 : ColumnAt(at));
        break;
    }
    case QEvent::MouseButtonRelease: SetColumns(HotColumnIndex, -1); break;
    default: break;
    }
    return false;
}

bool TacListViewWnd::eventFilter(QObject* watched, QEvent* event)
{
    if (!watched || watched != headerViewport_ || watched == WndHandle())
        return TacEditWnd::eventFilter(watched, event);
    return !Detached && HeaderEvent(event);
}

bool TacListViewWnd::WndProc(QEvent* event)
{
    switch (event->type()) {
    case QEvent::ChildAdded:
    case QEvent::ChildPolished:
    case QEvent::ChildRemoved:
        // A header put in place of the old one is painted the same way.
        if (WndHandle())
            HookHeader();
        break;
    default: break;
    }
    const bool handled = TacEditWnd::WndProc(event);
    if (event->type() == SkinCommandEventType() && headerViewport_)
        headerViewport_->update();
    return handled;
}
