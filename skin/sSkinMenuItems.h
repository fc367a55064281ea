#pragma once
// What the skinned menus decide about an item before anything is painted:
// its kind, the text it shows, its measured size, and which hot colours of
// the skin can serve as a highlight.
#include "platform/Bitmap.h"
#include "skin/sSkinData.h"

#include <string>

enum TsMenuItemType { smCaption, smDivider, smNormal, smTopLine };

// A separator, or a caption of exactly "-", divides; a caption that begins
// and ends with "-" (longer than one character) is a caption item.
TsMenuItemType MenuItemTypeOf(const std::string& caption, bool separator);
// The text a caption item measures with: what lies between its two dashes.
std::string CaptionItemMeasureText(const std::string& caption);
// The text a caption item shows: the first of its dash-delimited words.
std::string CaptionItemDrawText(const std::string& caption);
// The caption without its mnemonic marks ("&&" stays one "&").
std::string WithoutMnemonics(const std::string& caption);

// The height of a menu text line: the font's text height x 1.25, rounded.
int MenuLineHeight(int textHeight);
// Item heights: a divider is 2, a caption item a text line plus both
// margins, a normal item the larger of a text line and its glyph plus both
// margins.
int MenuItemHeight(TsMenuItemType type, int textHeight, int glyphHeight, int margin);
// Item width: two glyph widths, the text, three margins and the spacing,
// plus the extra line when the item lies in the extra line's column.
int MenuItemWidth(int glyphWidth, int textWidth, int margin, int spacing, int extraLineWidth);

// A hot colour a skin may give that cannot serve as a highlight: none, the
// key colour, white.
bool UnusableHighlight(TColor color);
// The highlight of menu items: the hot colour of section "MENUITEM" when it
// exists and is usable, else the system's.
TColor MenuHighlightColor(const TsGeneralData* menuItem, TColor systemHighlight);
// The text colour on a hot item: the section's hot font colour (its font
// colour when that is none or the key colour) over the section's own
// highlight; the system's over the system's highlight.
TColor MenuHotTextColor(const TsGeneralData* menuItem, TColor systemHighlightText);
// The manager's highlight text colour: the section's hot font colour when that is usable and
// not black, and the hot colour is usable too; else the system's.
TColor MenuHighlightFontColor(const TsGeneralData* menuItem, TColor systemHighlightText);
