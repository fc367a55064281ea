#pragma once
// Tool bars painted by the skin: the bar's section behind everything, and
// each tool button painted by the "TOOLBUTTON" section in its state (hot
// under the mouse, pressed while down or checked) with its icon and its
// text, laid out as the bar's buttons are.
#include "skinwnd/forms/acMainWnd.h"

#include <QPointer>
#include <functional>
#include <utility>

class QToolBar;
class QToolButton;
class TacHeldChildren;

class TacToolBarWnd : public TacMainWnd {
public:
    TacToolBarWnd(QToolBar* bar, const std::string& skinSection = {}, TsSkinManager* manager = nullptr,
                  TsCommonData* skinData = nullptr);
    ~TacToolBarWnd() override;

    // A button's state: 0 disabled, 2 down or checked, 1 under the mouse, 0.
    int ButtonState(const QToolButton* button) const;
    // A caption split in two lines at the last blank before which the first
    // part still fits the width; the second part is empty when no blank fits.
    static std::pair<std::string, std::string> SplitCaption(const std::string& text, int width,
                                                            const std::function<int(const std::string&)>& measure);

    TRect ClientArea{0, 0, 0, 0};
    int FrameWidth = 0;

protected:
    bool WndProc(QEvent* event) override;

private:
    void WatchButtons();
    void EnsureCache();
    bool ButtonProc(QWidget* button, QEvent* event);
    void PaintButton(QToolButton* button);
    void PaintSeparator(QWidget* separator);
    void PaintButtonImage(TBitmap& work, QToolButton* button, int state, int& imageBottom);
    void PaintButtonText(TBitmap& work, QToolButton* button, int state, int top);

    TacHeldChildren* buttons_ = nullptr; // buttons and separators, painted here
    QPointer<QWidget> hotButton_;
};
