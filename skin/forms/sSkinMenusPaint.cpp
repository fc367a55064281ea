#include "skin/forms/sSkinMenusPaint.h"

#include "platform/Cp1251.h"
#include "platform/forms/BitmapImage.h"
#include "skin/acBitmapHelpers.h"
#include "skin/acBlit.h"
#include "skin/acFastPixels.h"
#include "skin/acMaskPaint.h"
#include "skin/acSectionPaint.h"
#include "skin/forms/acSkinText.h"
#include "skin/forms/sCommonData.h"
#include "skin/forms/sSkinMenus.h"

#include <QAction>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionMenuItem>
#include <QWidget>

#include <algorithm>

namespace {

// Commands of a window's system menu that get a drawn glyph.
constexpr int SC_MINIMIZE = 0xF020, SC_MAXIMIZE = 0xF030, SC_CLOSE = 0xF060, SC_RESTORE = 0xF120;

template <class Paint>
void PaintOnBitmap(TBitmap& bmp, const Paint& paint)
{
    if (bmp.Empty())
        return;
    QImage image(bmp.ScanLine(0), bmp.Width(), bmp.Height(), qsizetype(bmp.BytesPerScanline()),
                 bmp.PixelFormat() == pf24bit ? QImage::Format_BGR888 : QImage::Format_RGB32);
    QPainter painter(&image);
    paint(painter);
}

TBitmap Work24(int w, int h)
{
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    b.SetSize(std::max(w, 0), std::max(h, 0));
    return b;
}

const TacSkinContent* SkinOf(const TsSkinableMenus& menus)
{
    return menus.Manager() ? menus.Manager()->Content() : nullptr;
}

const TsMaskData* MaskOf(const TacSkinContent& skin, const std::string& section, const std::string& key)
{
    const int i = skin.GetMaskIndex(skin.GetSkinIndex(section), section, key);
    return skin.IsValidImageIndex(i) ? &skin.ma[size_t(i)] : nullptr;
}

TCacheInfo CacheOf(TacMenuBackground& background, int x, int y)
{
    return TCacheInfo{&background.Bmp, x, y, clFuchsia, true};
}

// The strip of the extra line: its section, the glyph near the bottom and
// the text read from top to bottom, ending above the glyph.
void PaintExtraLine(TsSkinableMenus& menus, const TacSkinContent& skin, TBitmap& bmp, int height)
{
    const TacMenuSupport& support = menus.Support();
    const int index = skin.GetSkinIndex(menus.ExtraLineSection());
    const int sbw = menus.SkinBorderWidth();
    const int w = support.ExtraLineWidth, h = height - 2 * sbw;
    if (!skin.IsValidSkinIndex(index) || w <= 0 || h <= 0)
        return;
    TBitmap strip = Work24(w, h);
    PaintSectionItem(index, menus.ExtraLineSection(), EmptyCacheInfo, true, 0, {0, 0, w, h}, {0, 0}, &strip,
                     menus.Manager(), -1, -1);
    const TBitmap& glyph = menus.ExtraLineGlyph();
    int textEnd = h - 12;
    if (!glyph.Empty()) {
        const QImage g = BitmapToImage(glyph);
        PaintOnBitmap(strip, [&](QPainter& p) { p.drawImage((w - g.width()) / 2, h - 12 - g.height(), g); });
        textEnd = h - 20 - g.height();
    }
    const TColor color = skin.gd[size_t(index)].FontColor;
    PaintOnBitmap(strip, [&](QPainter& p) {
        p.setFont(support.ExtraLineFont);
        p.setPen(QColorFromColor(color));
        p.translate(w, 0);
        p.rotate(90);
        // Rotated, x runs down the strip and y across it (from the right).
        const QString text = Cp1251ToQString(menus.ExtraLineText());
        const int length = QFontMetrics(support.ExtraLineFont).horizontalAdvance(text);
        p.drawText(QRect(textEnd - length, 0, length, w), Qt::AlignCenter | Qt::TextSingleLine, text);
    });
    CopyBitmapRect(bmp, sbw, sbw, w, h, strip, 0, 0);
}

void PaintIconLine(TsSkinableMenus& menus, const TacSkinContent& skin, TBitmap& bmp, int x, int height)
{
    const std::string& name = menus.Support().IcoLineSkin;
    const int index = skin.GetSkinIndex(name);
    const int sbw = menus.SkinBorderWidth();
    const int g = menus.Margin + MenuGlyphSize + menus.Spacing, h = height - 2 * sbw;
    if (name.empty() || !skin.IsValidSkinIndex(index) || h <= 0)
        return;
    TBitmap strip = Work24(g, h);
    PaintSectionItem(index, name, EmptyCacheInfo, true, 0, {0, 0, g, h}, {0, 0}, &strip, menus.Manager(), -1, -1);
    CopyBitmapRect(bmp, x, sbw, g, h, strip, 0, 0);
}

} // namespace

std::string MenuItemCaption(const QStyleOptionMenuItem& option)
{
    const std::string caption = QStringToCp1251(option.text.section(QLatin1Char('\t'), 0, 0));
    // A separator with a title heads a section: a caption item.
    if (option.menuItemType == QStyleOptionMenuItem::Separator && !caption.empty())
        return "-" + caption + "-";
    return caption;
}

TsMenuItemType MenuItemTypeOf(const QStyleOptionMenuItem& option)
{
    return MenuItemTypeOf(MenuItemCaption(option), option.menuItemType == QStyleOptionMenuItem::Separator
                                                       && option.text.isEmpty());
}

namespace {

void PaintMenuBackground(TsSkinableMenus& menus, TacMenuBackground& background, int width, int height, bool bar)
{
    TBitmap& bmp = background.Bmp;
    bmp = Work24(width, height);
    background.RegionRects.clear();
    const TacSkinContent* skin = SkinOf(menus);
    bmp.FillRect({0, 0, width, height}, menus.Manager() ? menus.Manager()->GlobalColor() : clBtnFace());
    if (!skin || width <= 0 || height <= 0)
        return;
    const char* section = bar ? "MENULINE" : "MAINMENU";
    const int index = skin->GetSkinIndex(section);
    const TCacheInfo none{nullptr, 0, 0, clFuchsia, false};
    if (bar) {
        PaintSectionItem(index, section, none, true, 0, {0, 0, width, height}, {0, 0}, &bmp, menus.Manager(), -1, -1);
        return;
    }
    if (background.FirstItem)
        menus.PrepareExtraLine(background.FirstItem, background.ExtraLine);
    const bool extra = background.ExtraLine && menus.Support().UseExtraLine;
    PaintSectionBackground(index, section, none, clFuchsia, -1, -1, menus.Manager(), bmp, {0, 0},
                           {0, 0, width, height}, 0);
    PaintIconLine(menus, *skin, bmp, (extra ? menus.Support().ExtraLineWidth : 0) + menus.SkinBorderWidth(), height);
    const TsMaskData* border = MaskOf(*skin, section, "BORDERSMASK");
    if (border)
        DrawSkinMask(bmp, {0, 0, width, height}, false, *border, 0, false, none);
    if (extra)
        PaintExtraLine(menus, *skin, bmp, height);
    if (border) {
        AddTransparentCornerRects(background.RegionRects, width, *border, 0, false);
        AddTransparentCornerRects(background.RegionRects, width, *border, height - border->WB, true);
    }
}

} // namespace

void BuildMenuBackground(TsSkinableMenus& menus, TacMenuBackground& background, int width, int height, bool bar)
{
    PaintMenuBackground(menus, background, width, height, bar);
    background.Image = BitmapToImage(background.Bmp);
}

QSize MeasureMenuItem(TsSkinableMenus& menus, const QStyleOptionMenuItem& option, bool extraLine)
{
    const TsMenuItemType type = MenuItemTypeOf(option);
    QFont font = option.font;
    if (option.menuItemType == QStyleOptionMenuItem::DefaultItem)
        font.setBold(true);
    const QFontMetrics fm(font);
    const std::string caption = MenuItemCaption(option);
    const std::string text = type == smCaption ? CaptionItemMeasureText(caption) : type == smDivider ? "" : caption;
    const int textWidth = fm.horizontalAdvance(Cp1251ToQString(WithoutMnemonics(text)));
    const int extra = extraLine && menus.Support().UseExtraLine ? menus.Support().ExtraLineWidth : 0;
    return QSize(MenuItemWidth(MenuGlyphSize, textWidth, menus.Margin, menus.Spacing, extra),
                 MenuItemHeight(type, fm.height(), MenuGlyphSize, menus.Margin));
}

QSize MeasureMainMenuItem(TsSkinableMenus&, const QStyleOptionMenuItem& option, int plainHeight)
{
    const QFontMetrics fm(option.font);
    int width = fm.horizontalAdvance(Cp1251ToQString(WithoutMnemonics(QStringToCp1251(option.text))));
    if (!option.icon.isNull())
        width += MenuGlyphSize + 6;
    return QSize(width, std::max(plainHeight - 1, fm.height()));
}

void PaintBackgroundPart(const TacMenuBackground& background, const TRect& r, QPainter& painter)
{
    const QRect q(r.Left, r.Top, r.Width(), r.Height());
    painter.drawImage(q, background.Image, q);
}

namespace {

// Everything one popup item's painting needs.
struct TItemPaint {
    TsSkinableMenus& menus;
    const TacSkinContent& skin;
    const QStyleOptionMenuItem& option;
    QAction* action;
    TacMenuBackground& background;
    TRect place;  // the work bitmap's rect in the popup
    TBitmap work;
    bool hot = false;
    bool enabled = true;
};

TColor SystemColor(QPalette::ColorRole role)
{
    return ColorFromQColor(QPalette().color(QPalette::Active, role));
}

void PaintDivider(TItemPaint& d)
{
    const int w = d.work.Width(), h = d.work.Height();
    const int left = d.menus.Margin + d.menus.Spacing, right = w - (d.menus.Margin * 2 + d.menus.Spacing);
    if (const TsMaskData* m = MaskOf(d.skin, "DIVIDERV", "BORDERSMASK")) {
        DrawSkinMask(d.work, {left, 0, right, h}, true, *m, 0, true, CacheOf(d.background, d.place.Left, d.place.Top));
        return;
    }
    const int y = h / 2 - 1;
    d.work.FillRect({left, y, right, y + 1}, 0x808080);
    d.work.FillRect({left, y + 1, right, y + 2}, clWhite);
}

void PaintCaptionItem(TItemPaint& d)
{
    const int index = d.skin.GetSkinIndex("TOOLBAR");
    const TRect all{0, 0, d.work.Width(), d.work.Height()};
    PaintSectionItem(index, "TOOLBAR", CacheOf(d.background, d.place.Left, d.place.Top), true, 0, all, {0, 0}, &d.work,
                     d.menus.Manager(), -1, -1);
    const std::string text = CaptionItemDrawText(WithoutMnemonics(MenuItemCaption(d.option)));
    if (d.skin.IsValidSkinIndex(index))
        DrawSectionText(d.work, text, true, d.menus.Manager(), false, index,
                        DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX, all, d.menus.CaptionFont);
    else
        DrawTextOnBitmap(d.work, text, all, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX, d.menus.CaptionFont,
                         d.menus.Manager()->GlobalFontColor());
}

// The item's section, hot when selected; a hot colour that cannot serve as
// a highlight gives way to the system's.
void PaintItemSection(TItemPaint& d, int index)
{
    const TRect all{0, 0, d.work.Width(), d.work.Height()};
    const TCacheInfo cache = CacheOf(d.background, d.place.Left, d.place.Top);
    const TsGeneralData* s = d.skin.IsValidSkinIndex(index) ? &d.skin.gd[size_t(index)] : nullptr;
    if (!d.hot || (s && !UnusableHighlight(s->HotColor))) {
        PaintSectionItem(index, "MENUITEM", cache, true, d.hot ? 1 : 0, all, {0, 0}, &d.work, d.menus.Manager(), -1,
                         -1);
        return;
    }
    const TColor highlight = MenuHighlightColor(s, SystemColor(QPalette::Highlight));
    if (!s) {
        d.work.FillRect(all, highlight);
        return;
    }
    PaintSectionBackground(index, "MENUITEM", cache, highlight, -1, -1, d.menus.Manager(), d.work, {0, 0}, all, 1);
    if (d.skin.IsValidImageIndex(s->BorderIndex))
        DrawSkinMask(d.work, all, true, d.skin.ma[size_t(s->BorderIndex)], 1, true, cache);
}

// The glyphs of the window commands in a system menu.
void PaintCommandGlyph(QPainter& p, const QRect& r, int command, const QColor& color)
{
    p.setPen(QPen(color, 1));
    const QRect box = r.adjusted(r.width() / 4, r.height() / 4, -r.width() / 4, -r.height() / 4);
    switch (command) {
    case SC_MINIMIZE: p.fillRect(box.left(), box.bottom() - 1, box.width(), 2, color); break;
    case SC_MAXIMIZE:
        p.drawRect(box.adjusted(0, 0, -1, -1));
        p.fillRect(box.left(), box.top(), box.width(), 2, color);
        break;
    case SC_CLOSE:
        p.setPen(QPen(color, 1.6));
        p.setRenderHint(QPainter::Antialiasing);
        p.drawLine(box.topLeft(), box.bottomRight());
        p.drawLine(box.topRight(), box.bottomLeft());
        break;
    case SC_RESTORE: {
        // A window in front of another: the one behind shows its top and
        // right edges only.
        const QRect front = box.adjusted(0, 3, -3, 0), back = box.adjusted(3, 0, 0, -3);
        p.drawRect(front.adjusted(0, 0, -1, -1));
        p.fillRect(front.left(), front.top(), front.width(), 2, color);
        p.fillRect(back.left(), back.top(), back.width(), 2, color);
        p.drawLine(back.right(), back.top(), back.right(), back.bottom());
        p.drawLine(front.right(), back.bottom(), back.right(), back.bottom());
        p.drawLine(back.left(), back.top(), back.left(), front.top());
        break;
    }
    default: break;
    }
}

void PaintItemGlyph(TItemPaint& d, TColor textColor)
{
    const int h = d.work.Height();
    const QStyleOptionMenuItem& o = d.option;
    if (o.checked && o.icon.isNull()) {
        const bool radio = o.checkType == QStyleOptionMenuItem::Exclusive;
        const TsMaskData* m = MaskOf(d.skin, "GLOBALINFO", radio ? "RADIOCHECKED" : "CHECK");
        if (!m)
            m = MaskOf(d.skin, "GLOBALINFO", "BOXCHECKED");
        if (m)
            DrawSkinGlyph(d.work, {d.menus.Margin, (h - MaskFrameHeight(*m)) / 2}, d.hot ? 1 : 0,
                          CacheOf(d.background, d.place.Left, d.place.Top), *m, 1);
        return;
    }
    const bool rtl = o.direction == Qt::RightToLeft;
    const TRect square{rtl ? d.work.Width() - h : 0, 0, rtl ? d.work.Width() : h, h};
    if (!o.icon.isNull()) {
        if (o.checked) {
            const int index = d.skin.GetSkinIndex("SPEEDBUTTON_SMALL");
            PaintSectionItem(index, "SPEEDBUTTON_SMALL", CacheOf(d.background, d.place.Left, d.place.Top), true, 2,
                             square, {square.Left, 0}, &d.work, d.menus.Manager(), -1, -1);
        }
        const QPixmap pixmap = o.icon.pixmap(MenuGlyphSize, MenuGlyphSize);
        PaintOnBitmap(d.work, [&](QPainter& p) {
            p.drawPixmap(square.Left + (h - MenuGlyphSize) / 2, (h - MenuGlyphSize) / 2, pixmap);
        });
        return;
    }
    const QWidget* menu = d.action ? qobject_cast<const QWidget*>(d.action->parent()) : nullptr;
    if (d.action && menu && menu->objectName() == QLatin1String("SysMenu"))
        PaintOnBitmap(d.work, [&](QPainter& p) {
            PaintCommandGlyph(p, QRect(square.Left, 0, h, h), d.action->data().toInt(), QColorFromColor(textColor));
        });
}

void PaintItemTexts(TItemPaint& d, TColor color)
{
    const QStyleOptionMenuItem& o = d.option;
    const int w = d.work.Width(), h = d.work.Height();
    QFont font = o.font;
    if (o.menuItemType == QStyleOptionMenuItem::DefaultItem)
        font.setBold(true);
    std::string caption = WithoutMnemonics(QStringToCp1251(o.text.section(QLatin1Char('\t'), 0, 0)));
    const std::string shortcut = QStringToCp1251(o.text.section(QLatin1Char('\t'), 1));
    unsigned align = (d.menus.Alignment & Qt::AlignRight)     ? DT_RIGHT
                     : (d.menus.Alignment & Qt::AlignHCenter) ? DT_CENTER
                                                              : DT_LEFT;
    if (!caption.empty() && caption[0] == '\b') {
        caption = caption.substr(1) + "      ";
        align = DT_RIGHT;
    }
    const int left = MenuGlyphSize + 2 * d.menus.Margin + d.menus.Spacing;
    TRect r{left, 0, w, h};
    if (o.direction == Qt::RightToLeft) {
        r = {0, 0, w - left, h};
        align = DT_RIGHT;
    }
    DrawTextOnBitmap(d.work, caption, r, align | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX, font, color);
    if (!shortcut.empty())
        DrawTextOnBitmap(d.work, shortcut, {0, 0, w - 8, h},
                         DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX, o.font, color);
    if (o.menuItemType == QStyleOptionMenuItem::SubMenu)
        PaintOnBitmap(d.work, [&](QPainter& p) {
            const int x = w - 10, y = h / 2;
            QPainterPath arrow;
            arrow.moveTo(x, y - 4);
            arrow.lineTo(x + 4, y);
            arrow.lineTo(x, y + 4);
            arrow.closeSubpath();
            p.fillPath(arrow, QColorFromColor(color));
        });
}

void PaintNormalItem(TItemPaint& d)
{
    const int index = d.skin.GetSkinIndex("MENUITEM");
    const TsGeneralData* s = d.skin.IsValidSkinIndex(index) ? &d.skin.gd[size_t(index)] : nullptr;
    const TColor color = d.hot ? MenuHotTextColor(s, SystemColor(QPalette::HighlightedText))
                         : s   ? s->FontColor
                               : d.menus.Manager()->GlobalFontColor();
    PaintItemSection(d, index);
    PaintItemGlyph(d, color);
    PaintItemTexts(d, color);
}

} // namespace

void PaintMenuItem(TsSkinableMenus& menus, const QStyleOptionMenuItem& option, QAction* action,
                   TacMenuBackground& background, QPainter& painter)
{
    const TacSkinContent* skin = SkinOf(menus);
    const QRect& r = option.rect;
    if (!skin || r.isEmpty())
        return;
    const bool firstColumn = r.left() <= menus.PopupBorder();
    const int extra = background.ExtraLine && menus.Support().UseExtraLine && firstColumn
                          ? menus.Support().ExtraLineWidth : 0;
    TItemPaint d{menus, *skin, option, action, background, {r.left() + extra, r.top(), r.right() + 1, r.bottom() + 1},
                 Work24(r.width() - extra, r.height())};
    if (d.work.Empty())
        return;
    d.enabled = option.state & QStyle::State_Enabled;
    d.hot = d.enabled && (option.state & QStyle::State_Selected);
    CopyBitmapRect(d.work, 0, 0, d.work.Width(), d.work.Height(), background.Bmp, d.place.Left, d.place.Top);
    const TsMenuItemType type = MenuItemTypeOf(option);
    if (type == smDivider)
        PaintDivider(d);
    else if (type == smCaption)
        PaintCaptionItem(d);
    else
        PaintNormalItem(d);
    const TRect local{0, 0, d.work.Width(), d.work.Height()};
    if (menus.OnDrawItem)
        menus.OnDrawItem(action, d.work, type, option.state, local);
    if (!d.enabled && type != smDivider) {
        // Disabled: 40 % of the item over 60 % of the background under it.
        TBitmap under = Work24(local.Width(), local.Height());
        CopyBitmapRect(under, 0, 0, local.Width(), local.Height(), background.Bmp, d.place.Left, d.place.Top);
        BlendBitmap(d.work, 0, 0, uint32_t(clFuchsia), 0.4,
                    {0, 0, local.Width() - 1, local.Height() - 1}, under);
    }
    painter.drawImage(QPoint(d.place.Left, d.place.Top), BitmapToImage(d.work));
}

void PaintMainMenuItem(TsSkinableMenus& menus, const QStyleOptionMenuItem& option, TacMenuBackground& line,
                       QPainter& painter)
{
    const TacSkinContent* skin = SkinOf(menus);
    const QRect& r = option.rect;
    if (!skin || r.isEmpty())
        return;
    TBitmap work = Work24(r.width(), r.height());
    CopyBitmapRect(work, 0, 0, r.width(), r.height(), line.Bmp, r.left(), r.top());
    const bool enabled = option.state & QStyle::State_Enabled;
    const bool selected = enabled && (option.state & QStyle::State_Selected);
    const int state = selected ? ((option.state & QStyle::State_Sunken) ? 2 : 1) : 0;
    const TRect all{0, 0, r.width(), r.height()};
    const int item = skin->GetSkinIndex("MENUITEM");
    PaintSectionItem(item, "MENUITEM", CacheOf(line, r.left(), r.top()), true, state, all, {0, 0}, &work,
                     menus.Manager(), -1, -1);
    int left = 0;
    if (!option.icon.isNull()) {
        const bool rtl = option.direction == Qt::RightToLeft;
        const QPixmap pixmap = option.icon.pixmap(MenuGlyphSize, MenuGlyphSize);
        PaintOnBitmap(work, [&](QPainter& p) {
            p.drawPixmap(rtl ? r.width() - 3 - MenuGlyphSize : 3, (r.height() - MenuGlyphSize) / 2, pixmap);
        });
        left = rtl ? 0 : MenuGlyphSize + 6;
    }
    const int lineIndex = skin->GetSkinIndex("MENULINE");
    DrawSectionText(work, WithoutMnemonics(QStringToCp1251(option.text)), enabled, menus.Manager(), state != 0,
                    lineIndex, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX, {left, 0, r.width(), r.height()},
                    option.font);
    painter.drawImage(r.topLeft(), BitmapToImage(work));
}
