#pragma once
// The status bar adapter: paints the whole bar by the skin from a cache
// picture, the panels' backgrounds, their dividers and their texts. A
// panel is one of the bar's widgets (the text of a plain-text label is
// painted here, in the skin's colours and cut with "..." to fit, and the
// label's own painting held back; pictures, rich text and other widgets
// paint themselves over their panels); a message is one panel beside the widgets the bar
// keeps showing with it (its permanent ones), a bar without widgets one
// empty panel.
#include "skin/forms/sVclUtils.h"
#include "skinwnd/forms/acMainWnd.h"

#include <string>
#include <vector>

class QStatusBar;
class TacHeldChildren;

struct TacStatusPanel {
    TRect R;               // the panel's frame
    std::string Text;      // code page 1251
    TAlignment Alignment = taLeftJustify;
    TRect TextR;           // where the text goes, across the bar's height
};

// The panels of a bar as the adapter paints them; simple is set when the
// bar shows a message, whose panel comes first.
std::vector<TacStatusPanel> StatusBarPanels(const QStatusBar* bar, bool& simple);

class TacStatusBarWnd : public TacMainWnd {
public:
    ~TacStatusBarWnd() override;
    // The bar's labels paint themselves again.
    void RestoreColors() override;

    QStatusBar* StatusBar = nullptr;

protected:
    friend class TacMainWnd;
    TacStatusBarWnd(QWidget* wnd, bool scrollBars, const std::string& section, TsSkinManager* manager,
                    TsCommonData* skinData);
    bool WndProc(QEvent* event) override;

private:
    void RebuildCache();
    void PaintPanels(TBitmap& cache);
    void PaintDivider(TBitmap& cache, const TRect& panel);
    void BlockLabelPainting();

    TacHeldChildren* labels_ = nullptr; // whose painting is held back
};
