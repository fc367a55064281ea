#include "buffer/forms/HDump.h"

#include "buffer/HDumpChars.h"
#include "buffer/uShowSelection.h"
#include "buffer/forms/ColorRef.h"
#include "engine/Global.h"
#include "engine/forms/GlobalClipboard.h"
#include "platform/Cp1251.h"

#include <QFocusEvent>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <array>

namespace {

// Character shown in the ASCII column for each byte value.
const std::array<QChar, 256>& AsciiGlyphs()
{
    static const std::array<QChar, 256> glyphs = [] {
        std::array<QChar, 256> g;
        for (int c = 0; c < 256; ++c)
            g[size_t(c)] = QChar(static_cast<char16_t>(DumpCharacter(uint8_t(c))));
        return g;
    }();
    return glyphs;
}

const char HexDigits[] = "0123456789ABCDEF";

void AppendHex(QString& s, uint64_t v, int digits)
{
    for (int d = digits - 1; d >= 0; --d)
        s += QChar(HexDigits[(v >> (4 * d)) & 0xF]);
}

struct PopupItem {
    const char* Caption;
    int Command; // a TDumpPopupCommand, or -1 for a separator
    QKeySequence Shortcut;
};

} // namespace

THexDump::THexDump(QWidget* parent)
    : QWidget(parent), edit_(buffer_)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFont(DumpFont("FixedSys", 10, 0));
    scrollBar_ = new QScrollBar(Qt::Vertical, this);
    scrollBar_->setPageStep(40);
    scrollBar_->setRange(0, 0);
    QObject::connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int value) {
        if (syncingScroll_)
            return;
        if (!hasFocus())
            setFocus();
        edit_.HideCaret();
        edit_.SetScrollPos(value);
        // The bar of a one-row buffer reaches 1 where the view cannot
        // follow: it goes back to where the view stands.
        if (scrollBar_->value() != edit_.ScrollPos())
            SyncScrollBar();
    });
    edit_.OnInvalidate = [this] { update(); };
    edit_.OnScrollChanged = [this] { SyncScrollBar(); };
    edit_.OnFocus = [this] {
        if (!hasFocus())
            setFocus();
    };
    edit_.OnPopup = [this](int x, int y) {
        UpdatePopupItems();
        popup_->popup(mapToGlobal(QPoint(x, y) + ClientOrigin()));
    };
    BuildPopup();
}

THexDump::~THexDump() = default;

QFont THexDump::DumpFont(const QString& name, int pointSize, int style)
{
    QFont f;
    const QStringList families = QFontDatabase::families();
    const bool known = std::any_of(families.begin(), families.end(),
                                   [&](const QString& fam) { return fam.compare(name, Qt::CaseInsensitive) == 0; });
    if (known) {
        f = QFont(name);
        f.setFixedPitch(true);
    } else {
        f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    }
    f.setPointSize(std::max(pointSize, 1));
    f.setBold(style & 1);
    f.setItalic(style & 2);
    f.setUnderline(style & 4);
    f.setStrikeOut(style & 8);
    f.setStyleHint(QFont::TypeWriter);
    return f;
}

void THexDump::ApplySettings()
{
    Colors.BackgroundColor = uint32_t(DefaultBackGround);
    Colors.FontColor = uint32_t(DefaultFontColor);
    Colors.SelectionBackColor = uint32_t(SelectionBackGround);
    Colors.SelectionFontColor = uint32_t(SelectionFontColor);
    Colors.AddressColor = uint32_t(AddressFontColor);
    Colors.MismatchColor = uint32_t(MismatchFontColor);
    edit_.ShowHeader = WorkParam & wpShowAddresses;
    edit_.ShowGrid = WorkParam & wpShowGrid;
    edit_.AdvanceAfterIns = WorkParam & wpAdvanceAfterIns;
    edit_.PersistentBlocks = WorkParam & wpPersistentBlocks;
    buffer_.UseMarkersFile = !(WorkParam & wpNoMarkerFiles);
    setFont(DumpFont(QString::fromStdString(Cp1251ToUtf8(DumpFontName)), DumpFontSize, DumpFontStyle));
    Paint();
}

// The layout places every character at a multiple of the width of "0";
// a font whose advance has a fraction would drift along a row drawn as one
// run, so the spacing is nudged to a whole pixel.
void THexDump::FixFontPitch()
{
    QFont f = font();
    f.setLetterSpacing(QFont::AbsoluteSpacing, 0);
    const qreal advance = QFontMetricsF(f).horizontalAdvance(QLatin1Char('0'));
    const qreal whole = std::max<qreal>(std::round(advance), 1);
    if (std::abs(advance - whole) > 0.001)
        f.setLetterSpacing(QFont::AbsoluteSpacing, whole - advance);
    if (f != font() || f.letterSpacing() != font().letterSpacing())
        setFont(f);
}

int THexDump::MeasuredCharWidth() const
{
    return std::max(int(std::round(QFontMetricsF(font()).horizontalAdvance(QLatin1Char('0')))), 1);
}

int THexDump::MeasuredLineHeight() const
{
    return std::max(QFontMetrics(font()).height(), 1);
}

void THexDump::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::FontChange)
        FixFontPitch();
    QWidget::changeEvent(e);
}

void THexDump::BuildPopup()
{
    popup_ = new QMenu(this);
    const PopupItem items[] = {
        {"&Copy", pcCopy, QKeySequence(Qt::CTRL | Qt::Key_C)},
        {"&Paste", pcPaste, QKeySequence(Qt::CTRL | Qt::Key_V)},
        {"Paste specia&l", pcPasteSpecial, {}},
        {"Fill...", pcFill, {}},
        {"Find...", pcFind, QKeySequence(Qt::CTRL | Qt::Key_F)},
        {"-", -1, {}},
        {"Select &all", pcSelectAll, QKeySequence(Qt::CTRL | Qt::Key_A)},
        {"-", -1, {}},
        {"XOR...", pcXor, {}},
        {"XOR with file", pcXorWithFile, {}},
        {"Swap bytes", pcSwapBytes, {}},
        {"-", -1, {}},
        {"Hide mismatch", pcHideMismatch, {}},
        {"Hide markers", pcHideMarkers, {}},
        {"-", -1, {}},
        {"Erase buffer", pcEraseBuffer, {}},
        {"Compare with file...", pcCompareWithFile, {}},
        {"-", -1, {}},
    };
    auto add = [this](QMenu* menu, const PopupItem& item) {
        if (item.Command < 0) {
            menu->addSeparator();
            return;
        }
        const auto command = TDumpPopupCommand(item.Command);
        QAction* a = menu->addAction(QString::fromLatin1(item.Caption));
        a->setObjectName(QStringLiteral("pi%1").arg(item.Command));
        popupItems_[size_t(command)] = a;
        if (!item.Shortcut.isEmpty()) {
            a->setShortcut(item.Shortcut);
            a->setShortcutContext(Qt::WidgetShortcut);
            addAction(a); // active while the view has the focus
        }
        QObject::connect(a, &QAction::triggered, this, [this, command] {
            if (command == pcSelectAll) {
                SelectAll();
            } else if (OnPopupCommand) {
                OnPopupCommand(this, command);
            }
        });
    };
    for (const PopupItem& item : items)
        add(popup_, item);
    selectionMenu_ = popup_->addMenu(QStringLiteral("Selection"));
    selectionMenu_->setObjectName(QStringLiteral("miSelection"));
    add(selectionMenu_, {"Save as file", pcSaveSelection, {}});
    add(selectionMenu_, {"Copy from file", pcCopyFromFile, {}});
    add(selectionMenu_, {"-", -1, {}});
    add(selectionMenu_, {"Show as decimal number", pcShowAsDecimal, {}});
    popup_->addSeparator();
    add(popup_, {"Colors and Font...", pcColorsAndFont, {}});
}

void THexDump::UpdatePopupItems()
{
    popupItems_[pcPaste]->setEnabled(IsHexDumpInClipboard());
    const bool selected = buffer_.SelStart != -1;
    popupItems_[pcCopy]->setEnabled(selected);
    selectionMenu_->setEnabled(selected);
    popupItems_[pcShowAsDecimal]->setEnabled(SelectionShowable(buffer_.SelStart, buffer_.SelEnd));
}

bool THexDump::IsHexDumpInClipboard() const
{
    return ClipboardHasHexText();
}

bool THexDump::VScrollBar() const
{
    return !scrollBar_->isHidden();
}

void THexDump::SetVScrollBar(bool visible)
{
    scrollBar_->setVisible(visible);
    Paint();
}

void THexDump::SyncScrollBar()
{
    syncingScroll_ = true;
    const int64_t maximum = std::min<int64_t>(edit_.ScrollMax(), INT32_MAX);
    // A one-row buffer still gets a usable bar.
    scrollBar_->setRange(0, int(std::max<int64_t>(maximum, buffer_.Empty() ? 0 : 1)));
    scrollBar_->setValue(int(std::min<int64_t>(edit_.ScrollPos(), INT32_MAX)));
    syncingScroll_ = false;
}

void THexDump::SetSize(int64_t size)
{
    edit_.HideCaret();
    buffer_.SetSize(size);
    edit_.BufferResized();
    scrollBar_->setVisible(!buffer_.Empty());
    Paint();
}

void THexDump::FileLoaded()
{
    edit_.HideCaret();
    edit_.BufferResized();
    edit_.SetScrollPos(0);
    scrollBar_->setVisible(!buffer_.Empty());
    Paint();
}

void THexDump::EraseBuffer()
{
    buffer_.EraseBuffer();
    update();
}

void THexDump::HideMismatch()
{
    buffer_.HideMismatch();
    update();
}

void THexDump::ClearMarkers()
{
    buffer_.ClearMarkers();
    update();
}

void THexDump::SelectAll()
{
    edit_.SelectAll();
}

int THexDump::DrawWidth() const
{
    return scrollBar_->isHidden() ? ClientWidth() : ClientWidth() - scrollBar_->width() - 1;
}

void THexDump::Paint()
{
    const int barWidth = scrollBar_->sizeHint().width();
    scrollBar_->setGeometry(BevelWidth + ClientWidth() - barWidth, BevelWidth, barWidth, ClientHeight());
    edit_.SetGeometry(ClientWidth(), ClientHeight(), MeasuredCharWidth(), MeasuredLineHeight());
    SyncScrollBar();
    update();
}

void THexDump::resizeEvent(QResizeEvent*)
{
    Paint();
}

void THexDump::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    PaintBevel(p);
    p.translate(ClientOrigin());
    PaintTo(p);
}

// Two lowered rings, the outer one softer: shadow above and left, light
// below and right.
void THexDump::PaintBevel(QPainter& p)
{
    const QPalette& pal = palette();
    const QColor shadows[BevelWidth] = {pal.color(QPalette::Mid), pal.color(QPalette::Dark)};
    const QColor lights[BevelWidth] = {pal.color(QPalette::Light), pal.color(QPalette::Midlight)};
    for (int ring = 0; ring < BevelWidth; ++ring) {
        const int l = ring, t = ring, r = width() - 1 - ring, b = height() - 1 - ring;
        p.setPen(shadows[ring]);
        p.drawLine(l, t, r - 1, t);
        p.drawLine(l, t, l, b - 1);
        p.setPen(lights[ring]);
        p.drawLine(l, b, r, b);
        p.drawLine(r, t, r, b);
    }
}

void THexDump::PaintTo(QPainter& p)
{
    const int height = ClientHeight();
    edit_.SetGeometry(ClientWidth(), height, MeasuredCharWidth(), MeasuredLineHeight());
    const TDumpLayout l = edit_.Layout();
    const int drawWidth = DrawWidth();
    p.setFont(font());
    p.setClipRect(0, 0, drawWidth, height);
    p.fillRect(0, 0, drawWidth, height, ToQColor(Colors.BackgroundColor));
    if (edit_.ShowHeader)
        PaintHeader(p, l, drawWidth);
    if (buffer_.Empty())
        return;
    const int ascent = QFontMetrics(font()).ascent();
    // Bottom of the last row painted: the grid lines stop there.
    int rowsBottom = l.DataTop();
    for (int64_t index = edit_.TopIndex; index <= buffer_.LastIndex; index += 16) {
        PaintRow(p, l, index, rowsBottom, ascent);
        rowsBottom += l.H;
        if (rowsBottom >= height)
            break;
    }
    if (edit_.ShowGrid) {
        p.setPen(ToQColor(Colors.BackgroundColor ^ 0x404040));
        const int bottom = std::min(rowsBottom, height) - 1;
        for (int i = 0; i < 4; ++i) {
            const int x = l.X(l.GridCol(i)) + l.W / 2;
            p.drawLine(x, edit_.ShowHeader ? l.TopMargin : l.DataTop(), x, bottom);
        }
    }
    if (edit_.CaretShown)
        PaintCaret(p, l);
}

void THexDump::PaintHeader(QPainter& p, const TDumpLayout& l, int drawWidth)
{
    Q_UNUSED(drawWidth);
    const int base = l.TopMargin + QFontMetrics(font()).ascent();
    p.setPen(ToQColor(Colors.AddressColor));
    QString hex;
    for (int k = 0; k < l.Cells(); ++k) {
        if (k)
            hex += QChar(' ');
        AppendHex(hex, uint64_t(k), l.CellDigits());
    }
    p.drawText(l.X(l.HexTextCol(0)), base, hex);
    if (edit_.WordMode) {
        for (int k = 0; k < 8; ++k)
            p.drawText(l.X(l.AsciiCol(0)) + l.W / 2 + 2 * k * l.W, base, QString(QChar('0' + k)));
    } else {
        p.drawText(l.X(l.AsciiCol(0)), base, QStringLiteral("0123456789ABCDEF"));
    }
    if (edit_.ShowGrid) {
        p.setPen(ToQColor(Colors.BackgroundColor ^ 0x404040));
        const int y = l.TopMargin + l.H - 1;
        p.drawLine(l.LeftMargin, y, l.X(l.RightCol()), y);
    }
}

const THexDump::TGlyphTable& THexDump::Glyphs()
{
    if (!glyphs_ || glyphs_->Source != font()) {
        auto t = std::make_unique<TGlyphTable>();
        t->Source = font();
        t->Font = QRawFont::fromFont(font());
        QString shown;
        for (QChar c : AsciiGlyphs())
            shown += c;
        const QList<quint32> indexes = t->Font.glyphIndexesForString(shown);
        for (int c = 0; c < 256 && c < indexes.size(); ++c)
            t->Index[size_t(c)] = indexes[c];
        glyphs_ = std::move(t);
    }
    return *glyphs_;
}

void THexDump::PaintRow(QPainter& p, const TDumpLayout& l, int64_t index, int y, int ascent)
{
    const TDumpBuffer& b = buffer_;
    const int base = y + ascent;
    const int W = l.W;
    const int columns = l.RightCol();

    // The text of a row is drawn as one glyph run per text colour, glyphs
    // placed on their columns: no text shaping, a few calls per row however
    // busily it is coloured.
    const TGlyphTable& g = Glyphs();
    struct Pass {
        uint32_t Color = 0;
        QList<quint32> Indexes;
        QList<QPointF> Positions;
    };
    Pass passes[8];
    int passCount = 0;
    auto put = [&](uint32_t color, int col, uint8_t code) {
        int k = 0;
        while (k < passCount && passes[k].Color != color)
            ++k;
        if (k == passCount) {
            if (passCount == 8)
                k = 7; // more colours than a row can show: share the last pass
            else
                passes[passCount++].Color = color;
        }
        if (col >= 0 && col < columns) {
            passes[k].Indexes.append(g.Index[code]);
            passes[k].Positions.append(QPointF(col * W, 0));
        }
    };

    // Backgrounds: adjacent cells of one colour are filled as one rectangle.
    int fillLeft = 0, fillRight = 0;
    uint32_t fillColor = 0;
    bool filling = false;
    auto fill = [&](int left, int right, uint32_t color) {
        if (filling && color == fillColor && left <= fillRight) {
            fillRight = std::max(fillRight, right);
            return;
        }
        if (filling && fillColor != Colors.BackgroundColor)
            p.fillRect(fillLeft, y, fillRight - fillLeft, l.H, ToQColor(fillColor));
        filling = true;
        fillLeft = left;
        fillRight = right;
        fillColor = color;
    };
    auto endFill = [&] {
        if (filling && fillColor != Colors.BackgroundColor)
            p.fillRect(fillLeft, y, fillRight - fillLeft, l.H, ToQColor(fillColor));
        filling = false;
    };

    {
        const uint64_t address = uint64_t(edit_.WordMode ? index / 2 : index);
        for (int d = 0; d < l.AddrDigits; ++d)
            put(Colors.AddressColor, d, uint8_t(HexDigits[(address >> (4 * (l.AddrDigits - 1 - d))) & 0xF]));
    }

    // Hex cells.
    const int pitch = l.CellPitch() * W;
    for (int k = 0; k < l.Cells(); ++k) {
        const int64_t i = index + (edit_.WordMode ? 2 * k : k);
        if (i > b.LastIndex)
            break;
        uint32_t back = Colors.BackgroundColor, text = Colors.FontColor;
        b.ByteColors(i, Colors, back, text);
        const int col = l.HexTextCol(k);
        if (edit_.WordMode) {
            const bool hasHigh = i + 1 <= b.LastIndex;
            if (hasHigh && !b.GetMatchBit(i + 1))
                text = Colors.MismatchColor;
            const uint8_t lo = b.Data[size_t(i)];
            // The missing half of a last odd byte stays blank.
            const int loCol = edit_.SwapBytes ? col + 2 : col;
            const int hiCol = edit_.SwapBytes ? col : col + 2;
            put(text, loCol, uint8_t(HexDigits[lo >> 4]));
            put(text, loCol + 1, uint8_t(HexDigits[lo & 15]));
            if (hasHigh) {
                const uint8_t hi = b.Data[size_t(i + 1)];
                put(text, hiCol, uint8_t(HexDigits[hi >> 4]));
                put(text, hiCol + 1, uint8_t(HexDigits[hi & 15]));
            }
        } else {
            const uint8_t v = b.Data[size_t(i)];
            put(text, col, uint8_t(HexDigits[v >> 4]));
            put(text, col + 1, uint8_t(HexDigits[v & 15]));
        }
        const int left = l.X(col) - W / 2 - 1;
        fill(left, left + pitch + 2, back);
    }
    endFill();

    // ASCII column.
    for (int k = 0; k < 16; ++k) {
        // With swapped words the last byte of an odd-sized buffer stands
        // one place right, where its partner would be.
        const int64_t i = index + ((edit_.WordMode && edit_.SwapBytes) ? (k ^ 1) : k);
        if (i > b.LastIndex)
            continue;
        uint32_t back = Colors.BackgroundColor, text = Colors.FontColor;
        b.ByteColors(i, Colors, back, text);
        const int col = l.AsciiCol(k);
        put(text, col, b.Data[size_t(i)]);
        fill(l.X(col), l.X(col) + W, back);
    }
    endFill();

    for (int k = 0; k < passCount; ++k) {
        QGlyphRun run;
        run.setRawFont(g.Font);
        run.setUnderline(font().underline());
        run.setStrikeOut(font().strikeOut());
        run.setGlyphIndexes(passes[k].Indexes);
        run.setPositions(passes[k].Positions);
        p.setPen(ToQColor(passes[k].Color));
        p.drawGlyphRun(QPointF(l.X(0), base), run);
    }
}

void THexDump::PaintCaret(QPainter& p, const TDumpLayout& l)
{
    const TDumpBuffer& b = buffer_;
    if (b.Empty())
        return;
    const int64_t byte = edit_.CurrentByte();
    if (byte < edit_.TopIndex)
        return;
    const int64_t row = (byte - edit_.TopIndex) / 16;
    const int y = l.DataTop() + int(std::min<int64_t>(row, 100000)) * l.H;
    if (y >= ClientHeight())
        return;
    // The caret shows the byte that typing edits: with swapped words the
    // other byte of the pair, which stands in the caret's place.
    const bool swapped = edit_.WordMode && edit_.SwapBytes;
    const bool lone = swapped && (byte ^ 1) > b.LastIndex;
    const int64_t shown = (swapped && !lone) ? (byte ^ 1) : byte;
    const uint8_t v = b.Data[size_t(shown)];
    int x;
    QChar ch;
    if (edit_.AsciiColumn) {
        x = l.X(l.AsciiCol(int(byte % 16) ^ (lone ? 1 : 0)));
        ch = AsciiGlyphs()[v];
    } else if (edit_.WordMode) {
        x = l.X(l.HexTextCol(int((edit_.CaretNibble / 4) % 8)) + int(edit_.CaretNibble % 4) + (lone ? 2 : 0));
        // The digit under the caret: within the word, digits 0-1 belong to
        // the first byte shown, 2-3 to the second.
        const bool low = edit_.CaretNibble & 1;
        ch = QChar(HexDigits[low ? (v & 15) : (v >> 4)]);
    } else {
        x = l.X(l.HexTextCol(int(byte % 16))) + ((edit_.CaretNibble & 1) ? l.W : 0);
        ch = QChar(HexDigits[(edit_.CaretNibble & 1) ? (v & 15) : (v >> 4)]);
    }
    if (x + l.W > DrawWidth())
        return;
    const uint32_t back = b.IsSelected(byte) ? (Colors.SelectionBackColor ^ 0xFFFFFF) : 0x000000;
    p.fillRect(x, y, l.W, l.H, ToQColor(back));
    p.setPen(Qt::white);
    p.drawText(x, y + QFontMetrics(font()).ascent(), QString(ch));
}

// ---------------------------------------------------------------------------
// Input

namespace {

bool NavigationKey(int key, TDumpKey& out)
{
    switch (key) {
    case Qt::Key_PageUp: out = TDumpKey::PageUp; return true;
    case Qt::Key_PageDown: out = TDumpKey::PageDown; return true;
    case Qt::Key_End: out = TDumpKey::End; return true;
    case Qt::Key_Home: out = TDumpKey::Home; return true;
    case Qt::Key_Left: out = TDumpKey::Left; return true;
    case Qt::Key_Right: out = TDumpKey::Right; return true;
    case Qt::Key_Up: out = TDumpKey::Up; return true;
    case Qt::Key_Down: out = TDumpKey::Down; return true;
    case Qt::Key_Insert: out = TDumpKey::Insert; return true;
    case Qt::Key_Shift: out = TDumpKey::Shift; return true;
    case Qt::Key_Control: out = TDumpKey::Ctrl; return true;
    default: return false;
    }
}

} // namespace

bool THexDump::event(QEvent* e)
{
    // The popup's shortcuts act while the view has the focus: enable them
    // for the clipboard and selection of the moment, not for those of the
    // last time the menu was opened.
    if (e->type() == QEvent::ShortcutOverride && (static_cast<QKeyEvent*>(e)->modifiers() & Qt::ControlModifier))
        UpdatePopupItems();
    return QWidget::event(e);
}

void THexDump::keyPressEvent(QKeyEvent* e)
{
    // A held Shift or Ctrl that repeats changes nothing. (Its events report
    // the modifier as let go, and would end the selection being made.)
    if (e->isAutoRepeat() && (e->key() == Qt::Key_Shift || e->key() == Qt::Key_Control))
        return;
    edit_.CtrlUp = !(e->modifiers() & Qt::ControlModifier);
    if (!(e->modifiers() & Qt::ShiftModifier) && edit_.ShiftState != 0)
        edit_.KeyUp(TDumpKey::Shift); // Shift was let go while the focus was elsewhere
    // Alt combinations are system keys for menus and the window: they
    // neither edit nor move.
    if ((e->modifiers() & Qt::AltModifier) && e->key() != Qt::Key_Shift && e->key() != Qt::Key_Control) {
        QWidget::keyPressEvent(e);
        return;
    }
    TDumpKey key;
    if (NavigationKey(e->key(), key)) {
        if (!edit_.KeyDown(key))
            QWidget::keyPressEvent(e);
        return;
    }
    const int k = e->key();
    char digit = 0;
    if (k >= Qt::Key_0 && k <= Qt::Key_9)
        digit = char('0' + (k - Qt::Key_0));
    else if (k >= Qt::Key_A && k <= Qt::Key_F)
        digit = char('A' + (k - Qt::Key_A));
    if (digit && edit_.HexKeyDown(digit))
        return;
    const int code = TypedCode(e);
    if (code >= 0 && !IsPopupShortcut(e) && edit_.CharTyped(uint8_t(code)))
        return;
    QWidget::keyPressEvent(e);
}

int THexDump::TypedCode(const QKeyEvent* e)
{
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    if (!ctrl) {
        switch (e->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter: return 0x0D;
        case Qt::Key_Backspace: return 0x08;
        case Qt::Key_Escape: return 0x1B;
        default: break;
        }
        const QString text = e->text();
        if (text.size() == 1 && text[0].unicode() >= 32 && text[0].unicode() != 127)
            return UnicodeToCp1251(text[0].unicode());
        return -1;
    }
    // Ctrl with a letter types the letter's control code, whatever the
    // keyboard layout puts in the event's text.
    if (e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z)
        return e->key() - Qt::Key_A + 1;
    return -1;
}

// The popup's shortcut keys never type, also while their item is disabled
// (Copy without a selection).
bool THexDump::IsPopupShortcut(const QKeyEvent* e) const
{
    const QKeySequence pressed(e->keyCombination());
    return std::any_of(popupItems_.begin(), popupItems_.end(),
                       [&](const QAction* a) { return a && !a->shortcut().isEmpty() && a->shortcut() == pressed; });
}

void THexDump::keyReleaseEvent(QKeyEvent* e)
{
    TDumpKey key;
    if (!e->isAutoRepeat() && NavigationKey(e->key(), key))
        edit_.KeyUp(key);
    QWidget::keyReleaseEvent(e);
}

void THexDump::mousePressEvent(QMouseEvent* e)
{
    const QPoint pos = e->position().toPoint() - ClientOrigin();
    edit_.MouseDownAt(e->button() == Qt::RightButton ? TDumpButton::Right : TDumpButton::Left, pos.x(), pos.y());
}

void THexDump::mouseMoveEvent(QMouseEvent* e)
{
    const QPoint pos = e->position().toPoint() - ClientOrigin();
    edit_.MouseMoveTo(pos.x(), pos.y());
}

void THexDump::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::RightButton && edit_.MouseDown)
        edit_.MouseUpAt();
}

void THexDump::wheelEvent(QWheelEvent* e)
{
    // Sideways turns (tilt wheels, touchpads) carry no vertical delta.
    if (e->angleDelta().y() != 0)
        edit_.Wheel(e->angleDelta().y());
    e->accept();
}

void THexDump::focusInEvent(QFocusEvent* e)
{
    edit_.ShowCaret();
    QWidget::focusInEvent(e);
}

void THexDump::focusOutEvent(QFocusEvent* e)
{
    edit_.HideCaret();
    QWidget::focusOutEvent(e);
}
