#pragma once
// Text the form's caption shows after its own title, in a font of its own;
// a colour of clNone takes the caption's font colour.
#include "skin/acBitmapHelpers.h"

#include <QFont>

#include <functional>
#include <string>

class TacAddedTitle {
public:
    const std::string& Text() const { return text_; } // code page 1251
    void SetText(const std::string& value);
    const QFont& Font() const { return font_; }
    TColor FontColor() const { return fontColor_; }
    void SetFont(const QFont& font, TColor color);

    // Called on each change; the provider repaints its frame unless it is
    // still being set up.
    std::function<void()> Changed;

private:
    std::string text_;
    QFont font_;
    TColor fontColor_ = clNone;
};
