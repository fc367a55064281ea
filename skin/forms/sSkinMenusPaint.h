#pragma once
// The skinned menus' measuring and painting: popup backgrounds and menu
// lines built into bitmaps, items painted into work bitmaps over them.
#include "platform/Bitmap.h"
#include "skin/sSkinMenuItems.h"

#include <QSize>

#include <string>

class QAction;
class QPainter;
class QStyleOptionMenuItem;
class QWidget;
class TsSkinableMenus;
struct TacMenuBackground;

// Width and height of the glyph column of popup items.
constexpr int MenuGlyphSize = 16;

// The item's caption without its shortcut; a titled separator (a section
// heading) reads as a caption item.
std::string MenuItemCaption(const QStyleOptionMenuItem& option);
TsMenuItemType MenuItemTypeOf(const QStyleOptionMenuItem& option);

// A popup's background: "MAINMENU" with its icon line, border mask and
// extra line, and the see-through corner rects of the border. A menu bar's
// is its "MENULINE" section.
void BuildMenuBackground(TsSkinableMenus& menus, TacMenuBackground& background, int width, int height, bool bar);

// The size of a popup item (the shortcut column is added by the menu).
QSize MeasureMenuItem(TsSkinableMenus& menus, const QStyleOptionMenuItem& option, bool extraLine);
// The size of a menu bar item; plainHeight is the bar's unskinned height.
QSize MeasureMainMenuItem(TsSkinableMenus& menus, const QStyleOptionMenuItem& option, int plainHeight);

// Paints one popup item over its popup's background.
void PaintMenuItem(TsSkinableMenus& menus, const QStyleOptionMenuItem& option, QAction* action,
                   TacMenuBackground& background, QPainter& painter);
// Paints one menu bar item over the bar's line.
void PaintMainMenuItem(TsSkinableMenus& menus, const QStyleOptionMenuItem& option, TacMenuBackground& line,
                       QPainter& painter);
// Copies the part of a background under a rect onto the painter.
void PaintBackgroundPart(const TacMenuBackground& background, const TRect& r, QPainter& painter);
