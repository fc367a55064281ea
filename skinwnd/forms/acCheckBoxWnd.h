#pragma once
// Check boxes and radio buttons painted by the skin: the section item (hot
// under the mouse or with the focus), the skin's check or radio glyph for
// the check state, and the caption beside it.
#include "skinwnd/forms/acMainWnd.h"

class QAbstractButton;
struct TsMaskData;

class TacCheckBoxWnd : public TacMainWnd {
public:
    TacCheckBoxWnd(QAbstractButton* button, const std::string& skinSection = {}, TsSkinManager* manager = nullptr,
                   TsCommonData* skinData = nullptr);

    // The "GLOBALINFO" mask name for a button: radio buttons by checked or
    // not, check boxes also grayed for the third state.
    static std::string GlyphMaskName(bool radio, int checkState);
    // The glyph's state image: 2 pushed, 1 focused or under the mouse, 0.
    int GlyphState() const;

protected:
    bool WndProc(QEvent* event) override;

private:
    QAbstractButton* Button() const;
    void PrepareCache();
    // Draws the glyph and returns its rectangle.
    TRect PaintGlyph(TBitmap& cache);
    void PaintCaption(TBitmap& cache, const TRect& glyph);
    bool Hot() const;
};
