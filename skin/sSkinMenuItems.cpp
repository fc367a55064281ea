#include "skin/sSkinMenuItems.h"

#include <algorithm>
#include <cmath>

TsMenuItemType MenuItemTypeOf(const std::string& caption, bool separator)
{
    if (separator || caption == "-")
        return smDivider;
    if (caption.size() > 1 && caption.front() == '-' && caption.back() == '-')
        return smCaption;
    return smNormal;
}

std::string CaptionItemMeasureText(const std::string& caption)
{
    if (caption.size() < 2)
        return {};
    return caption.substr(1, caption.size() - 2);
}

std::string CaptionItemDrawText(const std::string& caption)
{
    size_t start = caption.find_first_not_of('-');
    if (start == std::string::npos)
        return {};
    return caption.substr(start, caption.find('-', start) - start);
}

std::string WithoutMnemonics(const std::string& caption)
{
    std::string out;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i;
        else if (caption[i] == '&')
            continue;
        out += caption[i];
    }
    return out;
}

int MenuLineHeight(int textHeight)
{
    return int(std::lround(textHeight * 1.25));
}

int MenuItemHeight(TsMenuItemType type, int textHeight, int glyphHeight, int margin)
{
    switch (type) {
    case smDivider: return 2;
    case smCaption: return MenuLineHeight(textHeight) + 2 * margin;
    default: return std::max(MenuLineHeight(textHeight), glyphHeight) + 2 * margin;
    }
}

int MenuItemWidth(int glyphWidth, int textWidth, int margin, int spacing, int extraLineWidth)
{
    return 2 * glyphWidth + textWidth + 3 * margin + spacing + extraLineWidth;
}

bool UnusableHighlight(TColor color)
{
    return color == -1 || color == clFuchsia || color == clWhite;
}

TColor MenuHighlightColor(const TsGeneralData* menuItem, TColor systemHighlight)
{
    return menuItem && !UnusableHighlight(menuItem->HotColor) ? menuItem->HotColor : systemHighlight;
}

TColor MenuHighlightFontColor(const TsGeneralData* menuItem, TColor systemHighlightText)
{
    if (menuItem && !UnusableHighlight(menuItem->HotFontColor) && menuItem->HotFontColor != 0
        && !UnusableHighlight(menuItem->HotColor))
        return menuItem->HotFontColor;
    return systemHighlightText;
}

TColor MenuHotTextColor(const TsGeneralData* menuItem, TColor systemHighlightText)
{
    if (!menuItem || UnusableHighlight(menuItem->HotColor))
        return systemHighlightText;
    const TColor c = menuItem->HotFontColor;
    return c == -1 || c == clFuchsia ? menuItem->FontColor : c;
}
