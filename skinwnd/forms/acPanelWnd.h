#pragma once
// Panels and frames painted by the skin: the section item over the whole
// frame, under its children. Children that ask for the background behind
// them get the panel's cache.
#include "skinwnd/forms/acMainWnd.h"

class QFrame;

// Bevel kinds of a panel's outer and inner edge.
enum TacBevel { bvNone, bvLowered, bvRaised, bvSpace };

class TacPanelWnd : public TacMainWnd {
public:
    // Without a section the frame's look chooses one (PanelSection).
    TacPanelWnd(QFrame* frame, const std::string& skinSection = {}, TsSkinManager* manager = nullptr,
                TsCommonData* skinData = nullptr);

    static std::string PanelSection(TacBevel outer, TacBevel inner, bool hasBorder);
    // A frame's shadow is its outer bevel; frames have no inner one.
    static std::string FrameSection(const QFrame* frame);

protected:
    bool WndProc(QEvent* event) override;

private:
    bool AnswerCommand(QEvent* event);
    void PrepareCache();
};
