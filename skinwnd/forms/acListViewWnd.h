#pragma once
// The adapter of a list view: the edit adapter's frame, bars and colours
// (the section's own colour, not the hot one), and in report view a column
// header painted by the skin: columns in their visual order with hot and
// pressed looks and sort marks, the space after the last one as an empty
// column. Icon and list views keep the header's own painting.
#include "skinwnd/forms/acEditWnd.h"
#include "skinwnd/forms/acHeaderPaint.h"

#include <QHeaderView>
#include <QPointer>

#include <vector>

class TacListViewWnd : public TacEditWnd {
public:
    enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

    TacListViewWnd(QWidget* handle, bool scrollBars = true, const std::string& skinSection = {},
                   TsSkinManager* manager = nullptr, TsCommonData* skinData = nullptr);
    ~TacListViewWnd() override;

    void ApplySkinColors() override;
    void RestoreColors() override;

    TViewStyle ViewStyle() const;
    QHeaderView* HeaderWnd() const { return header_; }
    // Logical indexes of the column under the mouse and the pressed one;
    // -1 for none.
    int HotColumnIndex = -1;
    int DownColumnIndex = -1;
    // The columns as they are painted: visual order, the empty rest last.
    std::vector<THeaderColumn> HeaderColumns() const;

protected:
    bool WndProc(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void HookHeader();
    void UnhookHeader();
    bool HeaderEvent(QEvent* event);
    bool PaintHeader();
    int ColumnAt(const QPoint& point) const;
    bool OnDivider(const QPoint& point) const;
    void SetColumns(int hot, int down);

    TacLivePointer<QHeaderView> header_;
    QPointer<QWidget> headerViewport_;
};
