#pragma once
// Adapters that paint tab controls by the skin. TacTabControlWnd serves a
// tab bar or a tab widget: the tab band over the parent's background, the
// page frame by its section, the tabs by the section of their position,
// the selected tab last so that it joins the frame. TacPageControlWnd adds
// the pages of a tab widget, each of which gets a TacPageWnd that paints
// the page from the control's background. Without a skin every event goes
// to the base adapter and the widgets paint themselves.
#include "skinwnd/acTabGeometry.h"
#include "skinwnd/forms/acMainWnd.h"

#include <QPointer>

#include <vector>

class QTabBar;
class TSkinCommandEvent;

class TacTabControlWnd : public TacMainWnd {
public:
    TacTabControlWnd(QWidget* handle, bool scrollBars, const std::string& skinSection, TsSkinManager* manager,
                     TsCommonData* skinData);
    ~TacTabControlWnd() override;

    // The control's tabs: the widget itself, or the bar of a tab widget.
    QTabBar* TabBar() const;
    TacTabLayout Layout() const;
    TRect GetPageRect() const { return ::GetPageRect(Layout()); }
    TRect GetPageFrameRect() const { return ::GetPageFrameRect(Layout()); }
    // The control as the skin shows it: the cache (band, frame, the tabs
    // not selected) with the selected tab drawn over it.
    TBitmap PaintControl();

protected:
    bool WndProc(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void Redraw();

private:
    bool AnswerSkinCommand(TSkinCommandEvent& m);
    void PaintWindow(QWidget* target);
    void PrepareCache(const TacTabLayout& l);
    void DrawTab(const TacTabLayout& l, int index, int state, TBitmap& target);
    void CopyTab(const TacTabLayout& l, const TBitmap& work, const TRect& r, bool selected, TBitmap& target);
    // Adapters for the arrows a bar shows when its tabs do not fit.
    void SpinRefresh();

    // A tab widget's bar, painted with it; held as a widget, since the
    // filter still sees it while its destructor runs.
    QPointer<QWidget> innerBar_;
    std::vector<TacMainWnd*> spins_;
};

class TacPageControlWnd : public TacTabControlWnd {
public:
    TacPageControlWnd(QWidget* handle, bool scrollBars, const std::string& skinSection, TsSkinManager* manager,
                      TsCommonData* skinData);
    ~TacPageControlWnd() override;

protected:
    bool WndProc(QEvent* event) override;

private:
    void MakePageAdapters();

    std::vector<TacMainWnd*> pages_;
};

class TacPageWnd : public TacMainWnd {
public:
    TacPageWnd(QWidget* handle, bool scrollBars, const std::string& skinSection, TsSkinManager* manager,
               TsCommonData* skinData);

protected:
    bool WndProc(QEvent* event) override;

private:
    bool AnswerSkinCommand(TSkinCommandEvent& m);
    // The tab widget the page belongs to.
    QWidget* PageControl() const;
    void PaintBackground();
};
