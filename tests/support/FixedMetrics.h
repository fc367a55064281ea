#pragma once
// Control measures of round figures for planning a module's parameter
// controls without a window, so that places can be checked by hand: 6
// pixels a character, a check box 20 wider than its caption and 15 high.
#include "app/MainModule.h"

#include <string>

class TFixedMetrics : public TControlMetrics {
public:
    int TextWidth(const std::string& text) const override { return 6 * static_cast<int>(text.size()); }
    int LabelHeight() const override { return 13; }
    int CheckBoxWidth(const std::string& caption) const override { return TextWidth(caption) + 20; }
    int CheckBoxHeight() const override { return 15; }
    int ComboBoxHeight() const override { return 21; }
    int EditHeight() const override { return 20; }
    int HexEditWidth(int byteCount) const override { return 20 * byteCount; }
};
