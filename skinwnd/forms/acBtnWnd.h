#pragma once
// Push buttons painted by the skin: the section item in the button's state
// (normal, hot, pressed), its caption in the section's colours with a focus
// frame, and for buttons with an icon the glyph beside the caption.
#include "skinwnd/forms/acMainWnd.h"

class QAbstractButton;

class TacBtnWnd : public TacMainWnd {
public:
    TacBtnWnd(QAbstractButton* button, const std::string& skinSection = {}, TsSkinManager* manager = nullptr,
              TsCommonData* skinData = nullptr);

    // 2 pushed, 0 disabled, 1 focused, hot or the default button, else 0.
    int CurrentState();
    bool Hot() const { return hot_; }

protected:
    bool WndProc(QEvent* event) override;

    virtual void PaintCaption();
    virtual void PaintGlyph() {}
    virtual TPoint GetGlyphSize() { return {0, 0}; }
    virtual void DrawCaption(const TRect& r, unsigned flags);
    virtual TRect GetCaptionRect();
    virtual int GetMaxTextWidth();
    virtual TPoint GetTextSize();
    virtual void PrepareCache();

    QAbstractButton* Button() const;
    bool Pushed() const;
    unsigned CaptionFlags() const;

private:
    bool AnswerCommand(QEvent* event);
    void TrackMouse(QEvent* event);
    void Repaint();

    bool hot_ = false;
    bool mouseInside_ = false;
    bool painted_ = false;
};

// A button with a glyph: the icon is laid left of the caption and the pair
// is centred together.
class TacBitBtnWnd : public TacBtnWnd {
public:
    using TacBtnWnd::TacBtnWnd;

protected:
    void PaintGlyph() override;
    TPoint GetGlyphSize() override;
    TRect GetCaptionRect() override;
};
