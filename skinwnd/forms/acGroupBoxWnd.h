#pragma once
// Group boxes painted by the skin: the section's frame starts at half the
// caption's height and the caption sits in a gap cut into it over what lies
// under the box.
#include "skinwnd/forms/acMainWnd.h"

class QGroupBox;

class TacGroupBoxWnd : public TacMainWnd {
public:
    TacGroupBoxWnd(QGroupBox* box, const std::string& skinSection = {}, TsSkinManager* manager = nullptr,
                   TsCommonData* skinData = nullptr);

    // The caption's gap: from x 6 to the text width + 14 (at most the
    // window's width - 1), from the top to the larger of 4 and the text
    // height, + 2.
    static TRect CaptionRect(int textWidth, int textHeight, int windowWidth);
    TRect CaptionRect() const;

protected:
    bool WndProc(QEvent* event) override;

private:
    void PrepareCache();
};
