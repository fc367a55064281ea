#include "SkinGenerator.h"

#include "PngWriter.h"
#include "SkinPictures.h"
#include "platform/BmpFile.h"
#include "platform/Files.h"
#include "platform/JpegFile.h"
#include "platform/SysUtils.h"
#include "skin/sGradient.h"

#include <algorithm>
#include <cstdio>

#include <jpeglib.h>

TSkinPalette ProjectPalette()
{
    return {RGB(226, 230, 236), RGB(236, 244, 252), RGB(190, 204, 222), RGB(98, 112, 136), RGB(20, 28, 40),
            RGB(0, 60, 140), RGB(84, 128, 196), RGB(40, 80, 150), RGB(30, 120, 200), RGB(246, 247, 250), clWhite};
}

TSkinPalette DuskPalette()
{
    return {RGB(62, 70, 88), RGB(78, 90, 114), RGB(44, 50, 66), RGB(20, 24, 34), RGB(220, 226, 236),
            RGB(255, 255, 255), RGB(70, 60, 120), RGB(30, 24, 60), RGB(220, 150, 60), RGB(50, 56, 70), RGB(36, 41, 53)};
}

namespace {

// One image of the skin: where its states lie and how the options file
// names it. Kinds: '#', '@', '^', '~' in the master bitmap, '!' an own file,
// 'F' a plain own bitmap file, 'J' a JPEG file, 'P' an own PNG file with
// alpha and margins (halos).
struct TImageDef {
    std::string section, key;
    char kind = '#';
    int cellW = 0, cellH = 0, count = 1, maskType = 1, stretch = 1;
    std::string shape;         // "frame" or a glyph name
    int radius = 3;
    int bottomRadius = -1;     // -1: as the top corners
    int border = 0;            // the border width of a '#' value: margins all round
    // A frame's centre is painted from its picture; without it the centre
    // is the section's own background (or, for a form, its client).
    bool centre = true;
    // The inside of the frame is key colour but for its corner pieces, or
    // whole: the painters keep what lies under it.
    bool seeThrough = false, seeThroughCorners = false;
    bool plainStates = false;  // every state filled with the section's colour
    TColor rightFill = clFuchsia; // the inside of the right corner pieces, when set
    int shade = -2;            // rows shaded: -2 the top margin, -1 all, 0 none
    int boxRadius = -1;        // a glyph drawn inside a box of this corner radius
    bool titleButton = false;  // a light glyph, boxed when hot or pressed
    int wl = 0, wt = 0, wr = 0, wb = 0; // margins written by '^' values
    TacImgType type = itisaBorder;
    std::string file;          // own files
    TRect r;                   // place in the master bitmap
    TBitmap own;               // own picture
};

struct TSectionDef {
    std::string name;
    TsGeneralData style;
};

struct TSkinModel {
    std::vector<TSectionDef> sections;
    std::vector<TImageDef> images;
    TBitmap master;
    std::map<std::string, std::string> files;
};

TsGeneralData Style(const TSkinPalette& p, TColor color, TColor font, const std::string& parent = {})
{
    TsGeneralData g;
    g.ParentClass = parent;
    g.Color = color;
    g.FontColor = font;
    g.HotColor = p.Hot;
    g.HotFontColor = p.HotText;
    return g;
}

// The right end of the panel's shading across, which its frame's right
// corners take too.
TColor PanelShadingEnd(const TSkinPalette& p)
{
    return Mix(p.Face, p.Frame, 20);
}

// The top of the status bar's shading, which its frame's corners take too.
TColor StatusLight(const TSkinPalette& p)
{
    return Mix(p.Face, clWhite, 35);
}

std::string Gradient(TColor a, TColor b, int mode)
{
    return IntToStr(a) + ";" + IntToStr(b) + ";100;" + IntToStr(mode) + ";0";
}

void AddSections(TSkinModel& m, const TSkinPalette& p)
{
    // A section with a parent class takes the parent's gradients, as the
    // options reader gives them to it.
    auto add = [&](const std::string& name, TsGeneralData g) {
        g.Name = name;
        for (const TSectionDef& parent : m.sections)
            if (!g.ParentClass.empty() && parent.name == g.ParentClass) {
                g.GradientPercent = parent.style.GradientPercent;
                g.GradientData = parent.style.GradientData;
                g.GradientArray = parent.style.GradientArray;
                g.HotGradientPercent = parent.style.HotGradientPercent;
                g.HotGradientData = parent.style.HotGradientData;
                g.HotGradientArray = parent.style.HotGradientArray;
            }
        ParseGradientData(g.GradientData, g.GradientArray);
        ParseGradientData(g.HotGradientData, g.HotGradientArray);
        m.sections.push_back({name, g});
    };
    // The colours controls without a section of their own take.
    add("GLOBALINFO", Style(p, p.Window, p.Text));
    TsGeneralData form = Style(p, p.Window, p.Text);
    form.ImagePercent = 30;
    add("FORM", form);
    TsGeneralData title = Style(p, p.TitleTop, clWhite);
    title.GradientPercent = 100;
    title.GradientData = Gradient(p.TitleTop, p.TitleBottom, 0);
    title.TCLeft = title.TCTop = p.TitleBottom;
    add("FORMTITLE", title);
    // The plate behind the caption text: all of it is its picture, and
    // round its corners the caption shows.
    TsGeneralData plate = Style(p, p.Face, p.Text);
    plate.Transparency = 100;
    add("CAPTION", plate);
    TsGeneralData button = Style(p, p.Face, p.Text);
    button.GradientPercent = 50;
    button.GradientData = Gradient(Mix(p.Face, clWhite, 50), p.Face, 0);
    button.HotGradientPercent = 50;
    button.HotGradientData = Gradient(clWhite, p.Hot, 0);
    button.ShowFocus = button.FadingEnabled = true;
    button.GlowCount = 1;
    button.GlowMargin = 3;
    add("BUTTON", button);
    // Check boxes and texts show what lies under them; their frame shows
    // only under the mouse.
    TsGeneralData check = Style(p, p.Window, p.Text);
    check.Transparency = 100;
    add("CHECKBOX", check);
    check.ParentClass = "CHECKBOX";
    add("RADIOBUTTON", check);
    add("EDIT", Style(p, p.Edit, p.Text));
    add("COMBOBOX", Style(p, p.Edit, p.Text, "EDIT"));
    add("COMBOBTN", Style(p, p.Face, p.Text, "BUTTON"));
    add("COLHEADER", Style(p, p.Face, p.Text, "BUTTON"));
    for (const char* s : {"SCROLLBTNTOP", "SCROLLBTNBOTTOM", "SCROLLBTNLEFT", "SCROLLBTNRIGHT", "SCROLLSLIDERV",
                          "SCROLLSLIDERH"})
        add(s, Style(p, p.Face, p.Text));
    for (const char* s : {"SCROLLBAR1H", "SCROLLBAR1V", "SCROLLBAR2H", "SCROLLBAR2V"})
        add(s, Style(p, Mix(p.Window, p.Frame, 15), p.Text));
    // Menu items show the popup under them until they are hot.
    TsGeneralData item = Style(p, p.Window, p.Text);
    item.Transparency = 100;
    add("MENUITEM", item);
    add("ICOLINE", Style(p, Mix(p.Face, p.Frame, 12), p.Text));
    TsGeneralData extraLine = Style(p, p.TitleBottom, clWhite);
    extraLine.GradientPercent = 100;
    extraLine.GradientData = Gradient(p.TitleTop, p.TitleBottom, 0);
    add("EXTRALINE", extraLine);
    add("MAINMENU", Style(p, p.Face, p.Text));
    add("MENULINE", Style(p, p.Face, p.Text));
    for (const char* s : {"TABTOP", "TABBOTTOM", "TABLEFT", "TABRIGHT"})
        add(s, Style(p, p.Face, p.Text));
    add("PAGECONTROL", Style(p, p.Window, p.Text));
    for (const char* s : {"PAGECONTROLBOTTOM", "PAGECONTROLLEFT", "PAGECONTROLRIGHT"})
        add(s, Style(p, p.Window, p.Text, "PAGECONTROL"));
    add("GROUPBOX", Style(p, p.Window, p.Text));
    TsGeneralData panel = Style(p, p.Face, p.Text);
    panel.GradientPercent = 100;
    panel.GradientData = Gradient(p.Face, PanelShadingEnd(p), 1);
    panel.Transparency = 10;
    add("PANEL", panel);
    add("TOOLBAR", Style(p, p.Face, p.Text));
    add("BAR", Style(p, p.Face, p.Text, "TOOLBAR"));
    add("DIVIDER", Style(p, p.Face, p.Text));
    add("PANEL_LOW", Style(p, Mix(p.Face, p.Frame, 10), p.Text));
    add("TOOLBUTTON", Style(p, p.Face, p.Text, "BUTTON"));
    TsGeneralData status = Style(p, p.Face, p.Text);
    status.GradientPercent = 100;
    // Light along the top, the face along the bottom and halfway between
    // in the middle: the four triangles make one even shading from top to
    // bottom, with nothing darker behind the text.
    const TColor light = StatusLight(p);
    status.GradientData = Gradient(light, 0, 2) + ";" + Gradient(Mix(light, p.Face, 50), 0, 2) + ";"
                          + Gradient(light, 0, 2) + ";" + Gradient(p.Face, 0, 2) + ";" + Gradient(p.Face, 0, 2);
    add("STATUSBAR", status);
}

TImageDef Frame(const std::string& s, const std::string& k, char kind, int w, int h, int count, int maskType)
{
    TImageDef d;
    d.section = s, d.key = k, d.kind = kind, d.cellW = w, d.cellH = h, d.count = count, d.maskType = maskType;
    d.shape = "frame";
    return d;
}

TImageDef Glyph(const std::string& s, const std::string& k, const std::string& shape, int w, int h, int count)
{
    TImageDef d = Frame(s, k, '@', w, h, count, 1);
    d.shape = shape;
    d.type = itisaGlyph;
    d.stretch = 0;
    return d;
}

void AddImages(TSkinModel& m, const TSkinPalette& p)
{
    auto& v = m.images;
    auto boxed = [&](const char* key, const char* shape, int size, int radius) {
        TImageDef d = Glyph("GLOBALINFO", key, shape, size, size, 3);
        d.boxRadius = radius;
        v.push_back(d);
    };
    for (auto [key, shape] : {std::pair{"BOXCHECKED", "check"}, {"BOXUNCHECKED", "none"}, {"BOXGRAYED", "dash"}})
        boxed(key, shape, 16, 2);
    for (auto [key, shape] : {std::pair{"RADIOCHECKED", "dot"}, {"RADIOUNCHECKED", "none"}, {"RADIOGRAYED", "dash"}})
        boxed(key, shape, 16, 7);
    for (auto [key, shape] : {std::pair{"SMALLCHECKED", "check"}, {"SMALLUNCHECKED", "none"}, {"SMALLGRAYED", "dash"}})
        boxed(key, shape, 12, 2);
    v.push_back(Glyph("GLOBALINFO", "GRIPIMAGE", "sizegrip", 14, 14, 1));
    TImageDef exBorder = Frame("GLOBALINFO", "EXBORDER", '^', 40, 40, 2, 1);
    exBorder.wl = exBorder.wt = exBorder.wr = exBorder.wb = 8;
    exBorder.radius = 8;
    v.push_back(exBorder);
    // The form's frame: a band of even face colour round the client, which
    // is the form's own background.
    TImageDef form = Frame("FORM", "BORDERSMASK", '#', 48, 48, 2, 1);
    form.centre = false;
    v.push_back(form);
    // A darker band behind the caption buttons (active, inactive).
    v.push_back(Frame("FORM", "TITLEBAR", '#', 96, 30, 2, 1));
    v.push_back(Frame("CAPTION", "BORDERSMASK", '#', 24, 20, 2, 1));
    TImageDef title = Frame("FORMTITLE", "BORDERSMASK", '^', 64, 30, 2, 1);
    title.wl = title.wr = 8, title.wt = 6, title.wb = 2, title.stretch = 2;
    title.bottomRadius = 0; // the caption goes on into the frame below it
    v.push_back(title);
    for (auto [key, shape] : {std::pair{"BICONCLOSE", "close"}, {"BICONMAX", "max"}, {"BICONMIN", "min"},
                              {"BICONNORM", "norm"}, {"BICONHELP", "help"}})
        v.push_back(Glyph("FORMTITLE", key, shape, 24, 20, 3));
    TImageDef small = Glyph("FORMTITLE", "SICONCLOSE", "close", 16, 14, 3);
    small.kind = '!', small.file = "SICONCLOSE.BMP", small.stretch = 4;
    v.push_back(small);
    // The caption buttons of every skinned form.
    auto titleButton = [&](const char* key, const char* shape, int w, int h) {
        TImageDef d = Glyph("GLOBALINFO", key, shape, w, h, 3);
        d.titleButton = true;
        v.push_back(d);
    };
    for (auto [key, shape] : {std::pair{"BICONCLOSE", "close"}, {"BICONMAX", "max"}, {"BICONMIN", "min"},
                              {"BICONNORM", "norm"}, {"BICONHELP", "help"}})
        titleButton(key, shape, 24, 20);
    for (auto [key, shape] :
         {std::pair{"SICONCLOSE", "close"}, {"SICONMAX", "max"}, {"SICONMIN", "min"}, {"SICONNORM", "norm"}})
        titleButton(key, shape, 16, 14);
    v.push_back(Frame("GLOBALINFO", "TITLEBUTTON", '#', 21, 20, 3, 1));
    TImageDef button = Frame("BUTTON", "BORDERSMASK", '^', 40, 24, 3, 1);
    button.wl = button.wt = button.wr = button.wb = 4;
    v.push_back(button);
    TImageDef glow = Frame("BUTTON", "GLOW0", 'P', 20, 20, 1, 0);
    glow.file = "BUTTONGLOW.PNG", glow.type = itisaGlow, glow.stretch = 4;
    glow.wl = glow.wt = glow.wr = glow.wb = 8;
    v.push_back(glow);
    TImageDef check = Frame("CHECKBOX", "BORDERSMASK", '#', 24, 20, 3, 1);
    check.stretch = 2;
    v.push_back(check);
    TImageDef edit = Frame("EDIT", "BORDERSMASK", '#', 24, 20, 2, 1);
    edit.plainStates = true;
    v.push_back(edit);
    v.push_back(Glyph("COMBOBOX", "GLYPHMASK", "arrow", 12, 12, 3));
    v.push_back(Frame("COMBOBTN", "BORDERSMASK", '#', 17, 20, 3, 1));
    v.push_back(Frame("COLHEADER", "BORDERSMASK", '#', 24, 20, 3, 1));
    TImageDef texture = Frame("COMBOBTN", "PATTERN", '~', 16, 16, 1, 0);
    texture.shape = "weave", texture.type = itisaTexture, texture.stretch = 0;
    v.push_back(texture);
    for (auto [s, shape] : {std::pair{"SCROLLBTNTOP", "up"}, {"SCROLLBTNBOTTOM", "down"}, {"SCROLLBTNLEFT", "left"},
                            {"SCROLLBTNRIGHT", "right"}, {"SCROLLSLIDERV", "grip"}, {"SCROLLSLIDERH", "grip"}}) {
        v.push_back(Frame(s, "BORDERSMASK", '#', 17, 17, 3, 1));
        v.push_back(Glyph(s, "GLYPHMASK", shape, 9, 9, 3));
    }
    for (const char* s : {"SCROLLBAR1H", "SCROLLBAR1V", "SCROLLBAR2H", "SCROLLBAR2V"})
        v.push_back(Frame(s, "BORDERSMASK", '#', 17, 17, 2, 1));
    TImageDef item = Frame("MENUITEM", "BORDERSMASK", '#', 24, 20, 3, 1);
    item.stretch = 3; // no frame in the normal state
    // A hot item shows its section's colour, or the highlight standing in
    // for it, inside the frame.
    item.centre = false;
    v.push_back(item);
    v.push_back(Frame("MAINMENU", "BORDERSMASK", '#', 24, 20, 3, 1));
    // A band as high as the menu bar, square at its ends: the key-colour
    // pixels round a rounded end would take the line's own background, not
    // what lies beside the bar.
    TImageDef menuLine = Frame("MENULINE", "BORDERSMASK", '#', 24, 24, 1, 1);
    menuLine.radius = 0;
    v.push_back(menuLine);
    for (const char* s : {"TABTOP", "TABBOTTOM", "TABLEFT", "TABRIGHT"})
        v.push_back(Frame(s, "BORDERSMASK", '#', 30, 22, 3, 1));
    v.push_back(Frame("PAGECONTROL", "BORDERSMASK", '#', 24, 24, 1, 1));
    TImageDef group = Frame("GROUPBOX", "BORDERSMASK", 'F', 27, 24, 3, 1);
    group.file = "GROUPBOX.BMP", group.stretch = 0, group.centre = false;
    v.push_back(group);
    // The panel's shading runs across inside its frame; the corners inside
    // take its two ends.
    TImageDef panel = Frame("PANEL", "BORDERSMASK", '#', 24, 24, 1, 1);
    panel.centre = false, panel.seeThrough = true, panel.border = 4;
    panel.rightFill = PanelShadingEnd(p), panel.shade = 0;
    v.push_back(panel);
    v.push_back(Frame("TOOLBAR", "BORDERSMASK", '#', 24, 24, 1, 1));
    TImageDef divider = Frame("DIVIDER", "BORDERSMASK", '#', 4, 12, 1, 0);
    divider.radius = 1, divider.centre = false;
    v.push_back(divider);
    v.push_back(Frame("PANEL_LOW", "BORDERSMASK", '#', 24, 24, 1, 1));
    // The status bar's shading shows inside its frame and its panels'.
    TImageDef status = Frame("STATUSBAR", "BORDERSMASK", '#', 24, 22, 1, 1);
    status.centre = false, status.seeThrough = true, status.border = 4;
    status.shade = -1; // as the bar shades, over its height
    v.push_back(status);
    TImageDef statusPanel = Frame("STATUSBAR", "STATUSPANELMASK", '#', 20, 20, 1, 1);
    statusPanel.centre = false, statusPanel.seeThrough = statusPanel.seeThroughCorners = true;
    v.push_back(statusPanel);
    TImageDef big = Frame("FORM", "PATTERN", 'J', 320, 300, 1, 0);
    big.file = "FORMBG.JPG";
    v.push_back(big);
    TImageDef tile = Frame("PANEL", "PATTERN", 'J', 64, 64, 1, 0);
    tile.file = "PANELTEX.JPG", tile.type = itisaTexture;
    v.push_back(tile);
}

} // namespace

namespace {

int ImageWidth(const TImageDef& d)
{
    return d.cellW * d.count;
}
int ImageHeight(const TImageDef& d)
{
    return d.cellH * (d.maskType + 1);
}

// The margins the options reader gives the image: its corner pieces, and
// the edges it tiles between them.
TRect Margins(const TImageDef& d)
{
    if (d.kind == '^')
        return {d.wl, d.wt, d.wr, d.wb};
    if (d.kind == '#' && d.border > 0)
        return {d.border, d.border, d.border, d.border};
    const int w = ImageWidth(d) / (d.count * 3), h = ImageHeight(d) / ((d.maskType + 1) * 3);
    return {w, h, w, h};
}

// The StretchMode value written for the image.
int StretchValue(const TImageDef& d)
{
    const bool frame = d.shape == "frame" && (d.kind == '#' || d.kind == '^');
    return frame && d.centre ? d.stretch | 4 : d.stretch;
}

TColor StateFill(const TSkinPalette& p, const TImageDef& d, TColor sectionColor, int state)
{
    if (d.section == "FORMTITLE")
        return Mix(p.TitleTop, p.TitleBottom, 50 * state);
    if (d.key == "TITLEBAR")
        return Mix(p.TitleBottom, clBlack, 30 - 15 * state);
    // A frame's face is its section's colour, so that whatever of the
    // section shows beside the picture is of one colour with it; the form
    // and the global images have a face of their own.
    const TColor normal = d.section == "FORM" || d.section == "GLOBALINFO" ? p.Face : sectionColor;
    if (state == 0 || d.plainStates)
        return normal;
    return state == 1 ? p.Hot : p.Pressed;
}

// Draws the states (and their mask part) of an image with its top-left
// corner at (x, y) of the bitmap.
void DrawImage(TBitmap& bmp, int x, int y, const TImageDef& d, const TSkinPalette& p, TColor sectionColor)
{
    const TRect margins = Margins(d);
    for (int s = 0; s < d.count; ++s) {
        TRect cell{x + s * d.cellW, y, x + (s + 1) * d.cellW, y + d.cellH};
        TRect maskCell{cell.Left, cell.Top + d.cellH, cell.Right, cell.Bottom + d.cellH};
        if (d.shape == "frame") {
            TColor border = s == 1 ? p.Accent : p.Frame;
            const TFrameShape shape{d.radius, d.bottomRadius, d.shade == -2 ? margins.Top : d.shade};
            DrawFrame(bmp, cell, StateFill(p, d, sectionColor, s), border, shape);
            if (d.rightFill != clFuchsia)
                for (int py = cell.Top; py < cell.Bottom; ++py)
                    for (int px = cell.Right - margins.Right; px < cell.Right; ++px)
                        if (bmp.Pixel(px, py) == StateFill(p, d, sectionColor, s))
                            bmp.SetPixel(px, py, d.rightFill);
            if (d.seeThrough)
                d.seeThroughCorners ? ClearInside(bmp, cell, 0, 0, 0, 0)
                                    : ClearInside(bmp, cell, margins.Left, margins.Top, margins.Right, margins.Bottom);
            if (d.maskType > 0)
                DrawFrameMask(bmp, maskCell, shape);
        } else if (d.shape == "weave") {
            TBitmap tile;
            tile.SetPixelFormat(pf24bit);
            tile.SetSize(d.cellW, d.cellH);
            DrawWeave(tile, p.Face, p.Hot, 4);
            for (int ty = 0; ty < d.cellH; ++ty)
                for (int tx = 0; tx < d.cellW; ++tx)
                    bmp.SetPixel(cell.Left + tx, cell.Top + ty, tile.Pixel(tx, ty));
        } else if (d.titleButton) {
            if (s > 0)
                DrawFrame(bmp, cell, s == 1 ? p.Hot : p.Pressed, p.Accent, {});
            DrawGlyph(bmp, cell, d.shape, s == 0 ? clWhite : p.Text, s == 0);
            if (s == 0)
                DrawGlyphMask(bmp, maskCell, d.shape);
            else
                DrawFrameMask(bmp, maskCell, {});
        } else if (d.boxRadius >= 0) {
            const TFrameShape box{d.boxRadius};
            DrawFrame(bmp, cell, s == 1 ? p.Hot : clWhite, s == 1 ? p.Accent : p.Frame, box);
            DrawGlyph(bmp, cell, d.shape, Mix(p.Frame, d.key.find("GRAYED") != std::string::npos ? clWhite : clBlack, 40), false);
            if (d.maskType > 0)
                DrawFrameMask(bmp, maskCell, box);
        } else {
            DrawGlyph(bmp, cell, d.shape, s == 2 ? p.Accent : s == 1 ? p.HotText : p.Text);
            if (d.maskType > 0)
                DrawGlyphMask(bmp, maskCell, d.shape);
        }
    }
}

// A halo: soft strips along the edges, brightest a little inside the outer
// rim, clear in the middle. Corners are key colour: the painters copy
// corners without their alpha, so a soft corner would turn solid.
TRgbaPicture HaloPicture(int w, int h, int margin, TColor colour)
{
    TRgbaPicture pic(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* px = pic.at(x, y);
            const int dx = std::min(x, w - 1 - x), dy = std::min(y, h - 1 - y);
            if (dx < margin && dy < margin) {
                px[0] = 0xFF, px[1] = 0, px[2] = 0xFF, px[3] = 0xFF;
                continue;
            }
            const int k = std::min(dx, dy);
            const int peak = margin * 5 / 8;
            int alpha = 0;
            if (k <= peak)
                alpha = 200 * (k + 1) / (peak + 1);
            else if (k < margin)
                alpha = 200 * (margin - k) / (margin - peak + 1);
            px[0] = uint8_t(GetRValue(colour)), px[1] = uint8_t(GetGValue(colour)), px[2] = uint8_t(GetBValue(colour));
            px[3] = uint8_t(alpha);
        }
    return pic;
}

// Places the master-bitmap images in rows of at most 512 pixels and draws
// them; own files get pictures of their own.
void DrawPictures(TSkinModel& m, const TSkinPalette& p)
{
    auto sectionColor = [&m](const std::string& name) {
        for (const TSectionDef& s : m.sections)
            if (s.name == name)
                return s.style.Color;
        return clFuchsia;
    };
    int x = 0, y = 0, rowH = 0;
    for (TImageDef& d : m.images) {
        if (d.kind == '!' || d.kind == 'F' || d.kind == 'J' || d.kind == 'P')
            continue;
        if (x + ImageWidth(d) > 512)
            x = 0, y += rowH + 2, rowH = 0;
        d.r = {x, y, x + ImageWidth(d), y + ImageHeight(d)};
        x += ImageWidth(d) + 2;
        rowH = std::max(rowH, ImageHeight(d));
    }
    m.master.SetPixelFormat(pf24bit);
    m.master.SetSize(512, y + rowH);
    m.master.FillRect({0, 0, 512, y + rowH}, clFuchsia);
    for (TImageDef& d : m.images) {
        if (d.kind == 'J') {
            d.own.SetPixelFormat(pf24bit);
            d.own.SetSize(d.cellW, d.cellH);
            DrawWeave(d.own, p.Window, Mix(p.Window, p.Accent, 20), d.cellW > 100 ? 24 : 8);
        } else if (d.kind == 'P') {
            const TRgbaPicture halo = HaloPicture(d.cellW, d.cellH, d.wl, p.Accent);
            d.own.SetPixelFormat(pf32bit);
            d.own.SetSize(d.cellW, d.cellH);
            for (int y = 0; y < d.cellH; ++y)
                for (int x = 0; x < d.cellW; ++x) {
                    const uint8_t* px = halo.rgba.data() + (size_t(y) * size_t(d.cellW) + size_t(x)) * 4;
                    uint8_t* q = d.own.ScanLine(y) + x * 4;
                    q[0] = px[2], q[1] = px[1], q[2] = px[0], q[3] = px[3];
                }
        } else if (d.kind == '!' || d.kind == 'F') {
            d.own.SetPixelFormat(pf24bit);
            d.own.SetSize(ImageWidth(d), ImageHeight(d));
            DrawImage(d.own, 0, 0, d, p, sectionColor(d.section));
        } else {
            DrawImage(m.master, d.r.Left, d.r.Top, d, p, sectionColor(d.section));
        }
    }
}

std::string Pad(int v, int width)
{
    std::string s = IntToStr(v);
    return std::string(size_t(std::max(0, width - int(s.size()))), '0') + s;
}

std::string ImageValue(const TImageDef& d)
{
    const TRect& r = d.r;
    std::string rect = Pad(r.Left, 4) + "," + Pad(r.Top, 4) + "," + Pad(r.Right, 4) + "," + Pad(r.Bottom, 4);
    switch (d.kind) {
    case '@': return "@" + rect + "," + IntToStr(d.count) + "," + IntToStr(d.maskType);
    case '~': return "~" + rect + "," + Pad(StretchValue(d), 2) + "," + IntToStr(d.maskType);
    case '^':
        return "^" + rect + "," + Pad(d.wl, 4) + "," + Pad(d.wt, 4) + "," + Pad(d.wr, 4) + "," + Pad(d.wb, 4) + ","
               + IntToStr(d.count) + "," + IntToStr(d.maskType) + "," + IntToStr(StretchValue(d)) + ",0";
    case '!':
        return "!" + d.file + "!" + IntToStr(d.count) + "!" + IntToStr(d.maskType) + "!" + IntToStr(int(d.type));
    case 'P':
        return "!" + d.file + "!" + IntToStr(d.count) + "!" + IntToStr(d.maskType) + "!" + IntToStr(int(d.type)) + "!"
               + IntToStr(d.wl) + "!" + IntToStr(d.wt) + "!" + IntToStr(d.wr) + "!" + IntToStr(d.wb);
    case 'F':
    case 'J': return d.file;
    default:
        return "#(" + IntToStr(r.Left) + "," + IntToStr(r.Top) + "," + IntToStr(r.Right) + "," + IntToStr(r.Bottom)
               + ")(" + IntToStr(d.count) + "," + IntToStr(d.maskType) + "," + IntToStr(d.border) + ","
               + IntToStr(StretchValue(d)) + ")";
    }
}

void WriteStyle(std::string& out, const TsGeneralData& g)
{
    auto put = [&](const char* key, const std::string& value) { out += std::string(key) + "=" + value + "\r\n"; };
    auto num = [&](const char* key, int v) { put(key, IntToStr(v)); };
    auto flag = [&](const char* key, bool v) { put(key, v ? "TRUE" : "FALSE"); };
    if (!g.ParentClass.empty())
        put("PARENTCLASS", g.ParentClass);
    num("COLOR", g.Color), num("FONTCOLOR", g.FontColor), num("TCLEFT", g.TCLeft), num("TCTOP", g.TCTop);
    num("TCRIGHT", g.TCRight), num("TCBOTTOM", g.TCBottom), num("HOTFONTCOLOR", g.HotFontColor);
    num("HOTTCLEFT", g.HotTCLeft), num("HOTTCTOP", g.HotTCTop), num("HOTTCRIGHT", g.HotTCRight);
    num("HOTTCBOTTOM", g.HotTCBottom), flag("GIVEOWNFONT", g.GiveOwnFont), num("GLOW", g.GlowCount);
    num("GLOWMARGIN", g.GlowMargin), flag("RESERVEDBOOLEAN", g.ReservedBoolean), num("TRANSPARENCY", g.Transparency);
    num("GRADIENTPERCENT", g.GradientPercent);
    if (g.GradientData != " ")
        put("GRADIENTDATA", g.GradientData);
    num("IMAGEPERCENT", g.ImagePercent), flag("SHOWFOCUS", g.ShowFocus), flag("FADINGENABLED", g.FadingEnabled);
    num("FADINGITERATIONS", g.FadingIterations), num("HOTCOLOR", g.HotColor);
    num("HOTTRANSPARENCY", g.HotTransparency), num("HOTGRADIENTPERCENT", g.HotGradientPercent);
    if (!g.HotGradientData.empty())
        put("HOTGRADIENTDATA", g.HotGradientData);
    num("HOTIMAGEPERCENT", g.HotImagePercent);
}

std::string OptionsText(const TSkinModel& m)
{
    std::string out = "; Tarku test skin, drawn by tools/skingen\r\n";
    for (const TSectionDef& s : m.sections) {
        out += "[" + s.name + "]\r\n";
        if (s.name == "GLOBALINFO")
            out += "VERSION=7.5\r\nAUTHOR=Tarku team #1\r\nDESCRIPTION=@ own skin, ^ drawn ~ here!\r\n"
                   "MASTERBITMAP=MASTER.BMP\r\nBORDERCOLOR=0\r\n";
        WriteStyle(out, s.style);
        for (const TImageDef& d : m.images)
            if (d.section == s.name)
                out += d.key + "=" + ImageValue(d) + "\r\n";
    }
    return out;
}

TSkinModel BuildModel(const TSkinPalette& p)
{
    TSkinModel m;
    AddSections(m, p);
    AddImages(m, p);
    DrawPictures(m, p);
    m.files["MASTER.BMP"] = SaveBmpToString(m.master);
    for (TImageDef& d : m.images)
        if (d.kind == '!' || d.kind == 'F')
            m.files[d.file] = SaveBmpToString(d.own);
        else if (d.kind == 'P')
            m.files[d.file] = EncodePng(HaloPicture(d.cellW, d.cellH, d.wl, p.Accent));
        else if (d.kind == 'J') {
            m.files[d.file] = SaveJpegToString(d.own);
            // The picture as a reader sees it after the lossy file.
            LoadJpegFromBytes(m.files[d.file], d.own);
        }
    m.files["Options.dat"] = OptionsText(m);
    return m;
}

} // namespace

std::string SaveJpegToString(const TBitmap& source)
{
    TBitmap bmp(source);
    bmp.SetPixelFormat(pf24bit);
    jpeg_compress_struct info{};
    jpeg_error_mgr err{};
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(bmp.Width());
    info.image_height = JDIMENSION(bmp.Height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(size_t(bmp.Width()) * 3);
    while (info.next_scanline < info.image_height) {
        const uint8_t* src = bmp.ScanLine(int(info.next_scanline));
        for (int x = 0; x < bmp.Width(); ++x)
            row[3 * x] = src[3 * x + 2], row[3 * x + 1] = src[3 * x + 1], row[3 * x + 2] = src[3 * x];
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&info, &r, 1);
    }
    jpeg_finish_compress(&info);
    std::string out(reinterpret_cast<char*>(buffer), size);
    jpeg_destroy_compress(&info);
    free(buffer);
    return out;
}

std::map<std::string, std::string> SkinFiles(const TSkinPalette& palette)
{
    return BuildModel(palette).files;
}

bool WriteSkinFolder(const std::string& folder, const TSkinPalette& palette)
{
    if (!ForceDirectories(folder))
        return false;
    for (const auto& [name, bytes] : SkinFiles(palette))
        if (!WriteWholeFileSafely(folder + "/" + name, bytes))
            return false;
    return true;
}

namespace {

std::string FontColors(int c, int l, int t, int r, int b)
{
    return IntToStr(c) + " " + IntToStr(l) + " " + IntToStr(t) + " " + IntToStr(r) + " " + IntToStr(b);
}

TsSkinGeneral GeneralItem(const TsGeneralData& g)
{
    TsSkinGeneral s;
    s.SectionName = g.Name, s.ParentClass = g.ParentClass, s.Color = g.Color, s.ReservedBoolean = g.ReservedBoolean;
    s.FontColor = FontColors(g.FontColor, g.TCLeft, g.TCTop, g.TCRight, g.TCBottom);
    s.HotFontColor = FontColors(g.HotFontColor, g.HotTCLeft, g.HotTCTop, g.HotTCRight, g.HotTCBottom);
    s.Transparency = g.Transparency, s.GlowCount = g.GlowCount, s.GlowMargin = g.GlowMargin;
    s.GradientPercent = g.GradientPercent, s.GradientData = g.GradientData, s.ImagePercent = g.ImagePercent;
    s.ShowFocus = g.ShowFocus, s.FadingEnabled = g.FadingEnabled, s.FadingIterations = g.FadingIterations;
    s.HotColor = g.HotColor, s.HotTransparency = g.HotTransparency, s.HotGradientPercent = g.HotGradientPercent;
    s.HotGradientData = g.HotGradientData, s.HotImagePercent = g.HotImagePercent, s.GiveOwnFont = g.GiveOwnFont;
    s.Name = g.Name;
    return s;
}

TsSkinImage ImageItem(const TImageDef& d)
{
    TsSkinImage i;
    i.SectionName = d.section, i.PropertyName = d.key;
    i.Left = d.r.Left, i.Top = d.r.Top, i.Right = d.r.Right, i.Bottom = d.r.Bottom;
    i.ImageCount = d.count, i.MaskType = d.maskType, i.StretchMode = StretchValue(d), i.ImgType = d.type;
    i.WL = d.wl, i.WT = d.wt, i.WR = d.wr, i.WB = d.wb;
    i.BorderWidth = d.border;
    if (d.kind == '!' || d.kind == 'F' || d.kind == 'J' || d.kind == 'P') {
        i.Name = d.file;
        i.Image = d.own;
    }
    if (d.kind == 'J') // a small JPEG is a texture of one picture
        i.ImageCount = 1, i.MaskType = 0, i.StretchMode = 0;
    if (d.kind == 'F')
        i.StretchMode = 0;
    return i;
}

} // namespace

TsStoredSkin BuildStoredSkin(const std::string& name, const TSkinPalette& palette)
{
    TSkinModel m = BuildModel(palette);
    TsStoredSkin s;
    s.Name = name;
    s.MasterBitmap = m.master;
    s.Version = 7.5;
    s.Author = "Tarku team #1";
    s.Description = "@ own skin, ^ drawn ~ here!";
    s.BorderColor = 0;
    // Items in the order the options reader meets them: images section by
    // section, then the small JPEG pictures, which become textures.
    for (const TSectionDef& sec : m.sections) {
        s.GeneralData.push_back(GeneralItem(sec.style));
        for (const TImageDef& d : m.images)
            if (d.section == sec.name && d.kind != 'J')
                s.Images.push_back(ImageItem(d));
    }
    for (const TImageDef& d : m.images)
        if (d.kind == 'J') {
            if (d.cellW * d.cellH >= 90000)
                s.Patterns.push_back({d.section, d.own, d.file, d.key});
            else
                s.Images.push_back(ImageItem(d));
        }
    return s;
}
