#include "buffer/HDumpEdit.h"

#include <algorithm>

THexDumpEdit::THexDumpEdit(TDumpBuffer& buffer)
    : buffer_(&buffer)
{
}

TDumpLayout THexDumpEdit::Layout() const
{
    TDumpLayout l;
    l.W = std::max(CharWidth, 1);
    l.H = std::max(LineHeight, 1);
    l.LeftMargin = LeftMargin;
    l.TopMargin = TopMargin;
    l.WordMode = WordMode;
    l.ShowHeader = ShowHeader;
    l.AddrDigits = AddressDigits(buffer_->LastIndex, WordMode);
    return l;
}

void THexDumpEdit::SetGeometry(int clientWidth, int clientHeight, int charWidth, int lineHeight)
{
    ClientWidth = clientWidth;
    ClientHeight = clientHeight;
    CharWidth = std::max(charWidth, 1);
    LineHeight = std::max(lineHeight, 1);
    UpdateRows();
}

void THexDumpEdit::UpdateRows()
{
    PageLines = std::max(ClientHeight / std::max(LineHeight, 1), 1);
    // Also after the buffer shrank under the view: the last row at the top
    // rather than an empty view.
    TopIndex = std::clamp<int64_t>(TopIndex, 0, ScrollMax() * 16);
    const int64_t last = buffer_->LastIndex;
    LastRowIndex = TopIndex;
    ViewFull = false;
    if (last < 0 || TopIndex > last)
        return;
    int64_t y = Layout().DataTop();
    for (int64_t index = TopIndex;; index += 16, y += LineHeight) {
        LastRowIndex = index;
        if (y + LineHeight >= ClientHeight) {
            ViewFull = true;
            return;
        }
        if (index + 16 > last)
            return;
    }
}

int64_t THexDumpEdit::ScrollMax() const
{
    return buffer_->LastIndex < 0 ? 0 : buffer_->LastIndex / 16;
}

void THexDumpEdit::SetScrollPos(int64_t pos)
{
    pos = std::clamp<int64_t>(pos, 0, ScrollMax());
    if (pos * 16 == TopIndex)
        return;
    TopIndex = pos * 16;
    UpdateRows();
    if (OnScrollChanged)
        OnScrollChanged();
    Invalidate();
}

void THexDumpEdit::ScrollToAddress(int64_t address)
{
    SetScrollPos(std::min(address, buffer_->LastIndex) / 16);
}

void THexDumpEdit::GotoAddress(int64_t address)
{
    if (buffer_->Empty())
        return;
    if (WordMode)
        address *= 2;
    // An address past the end goes to the last byte rather than to a blank
    // view with an invisible caret.
    address = std::clamp<int64_t>(address, 0, buffer_->LastIndex);
    HideCaret();
    if (address < TopIndex || address > LastRowIndex)
        SetScrollPos(address / 16);
    CaretNibble = address * 2;
    Invalidate();
    ShowCaret();
}

int64_t THexDumpEdit::CurrentByte() const
{
    return std::min(CaretNibble / 2, std::max<int64_t>(buffer_->LastIndex, 0));
}

void THexDumpEdit::ShowCaret()
{
    if (buffer_->Empty())
        return;
    CaretNibble = std::clamp<int64_t>(CaretNibble, 0, buffer_->LastIndex * 2 + 1);
    CaretByte = CaretNibble / 2;
    CaretShown = true;
    Invalidate();
    if (OnCaretMove)
        OnCaretMove(WordMode ? CaretNibble / 4 : CaretByte);
}

void THexDumpEdit::HideCaret()
{
    if (!CaretShown)
        return;
    CaretShown = false;
    Invalidate();
}

void THexDumpEdit::BufferResized()
{
    CaretShown = false;
    CaretNibble = std::clamp<int64_t>(CaretNibble, 0, std::max<int64_t>(buffer_->LastIndex * 2 + 1, 0));
    CaretByte = CaretNibble / 2;
    dragFirst_ = 1;
    dragLast_ = 0;
    if (TopIndex / 16 > ScrollMax())
        TopIndex = ScrollMax() * 16;
    UpdateRows();
    if (OnScrollChanged)
        OnScrollChanged();
    Invalidate();
}

void THexDumpEdit::Invalidate()
{
    if (OnInvalidate)
        OnInvalidate();
}

void THexDumpEdit::Focus()
{
    if (OnFocus)
        OnFocus();
}

void THexDumpEdit::StatusText()
{
    if (OnStatusText)
        OnStatusText("begihsel = " + std::to_string(buffer_->SelStart) + "  endsel = " +
                     std::to_string(buffer_->SelEnd));
}

void THexDumpEdit::WordBounds(int64_t i, int64_t& first, int64_t& last) const
{
    first = i;
    last = i;
    if (WordMode) {
        first = i & ~int64_t(1);
        last = std::min(first + 1, buffer_->LastIndex);
    }
}

// ---------------------------------------------------------------------------
// Keys

bool THexDumpEdit::KeyDown(TDumpKey key)
{
    if (buffer_->Empty())
        return false;
    switch (key) {
    case TDumpKey::Shift:
        ShiftState = 1;
        return false;
    case TDumpKey::Ctrl:
        CtrlUp = false;
        return false;
    case TDumpKey::Insert:
        HideCaret();
        ToggleMatch();
        ShowCaret();
        return true;
    default:
        break;
    }
    HideCaret();
    ShiftStep();
    Navigate(key);
    ShiftStep();
    ShowCaret();
    return true;
}

bool THexDumpEdit::Navigate(TDumpKey key)
{
    const int64_t last = buffer_->LastIndex;
    int64_t& c = CaretNibble;
    switch (key) {
    case TDumpKey::PageUp:
        ScrollLines(-PageLines);
        c = c - PageLines * 32 < 0 ? c % 32 : c - PageLines * 32;
        break;
    case TDumpKey::PageDown:
        ScrollLines(PageLines);
        c = std::min(c + PageLines * 32, last * 2 + 1);
        break;
    case TDumpKey::End:
        SetScrollPos(ScrollMax());
        c = last * 2;
        break;
    case TDumpKey::Home:
        c = 0;
        SetScrollPos(0);
        break;
    case TDumpKey::Left:
        if (AsciiColumn)
            c = std::max<int64_t>(c - 2, 0);
        else if (c > 0)
            c -= 1;
        if (c < TopIndex * 2)
            ScrollLines(-1);
        break;
    case TDumpKey::Right:
        if (c <= last * 2)
            c += AsciiColumn ? 2 : 1;
        if (c >= LastRowIndex * 2 && ViewFull)
            ScrollLines(1);
        break;
    case TDumpKey::Up:
        if (c > 31) {
            c -= 32;
            if (c / 2 < TopIndex)
                ScrollLines(-1);
        }
        break;
    case TDumpKey::Down:
        if (c <= last * 2 - 31) {
            c += 32;
            // The caret may reach the last row while it is cut off at the
            // bottom: scroll whenever it lands in the last row shown.
            if (c / 2 >= LastRowIndex && ViewFull)
                ScrollLines(1);
        }
        break;
    default:
        return false;
    }
    c = std::clamp<int64_t>(c, 0, last * 2 + 1);
    CaretByte = c / 2;
    return true;
}

void THexDumpEdit::ShiftStep()
{
    if (ShiftState == 1) {
        ClearSelection();
        ShiftState = 2;
        StartSelection();
    } else if (ShiftState == 2) {
        ExtendSelectionToByte(CurrentByte());
    }
}

void THexDumpEdit::KeyUp(TDumpKey key)
{
    if (key == TDumpKey::Ctrl) {
        CtrlUp = true;
    } else if (key == TDumpKey::Shift) {
        if (ShiftState == 2)
            NormalizeSelection();
        ShiftState = 0;
    }
}

void THexDumpEdit::ToggleMatch()
{
    int64_t first, last;
    WordBounds(CurrentByte(), first, last);
    for (int64_t i = first; i <= last; ++i)
        buffer_->SetMatchBit(i, !buffer_->GetMatchBit(i));
    Invalidate();
    if (AdvanceAfterIns)
        AdvanceCaret();
}

void THexDumpEdit::AdvanceCaret()
{
    const int64_t last = buffer_->LastIndex;
    CaretNibble += WordMode ? 4 : 2;
    if (CaretNibble / 2 > last)
        CaretNibble = last * 2 + 1;
    if (CaretNibble >= LastRowIndex * 2 && ViewFull)
        ScrollLines(1);
}

int64_t THexDumpEdit::EditTarget() const
{
    const int64_t byte = CurrentByte();
    // The last byte of an odd-sized buffer has no partner: its word shows
    // it alone, and the caret edits it.
    if (WordMode && SwapBytes && buffer_->InRange(byte ^ 1))
        return byte ^ 1;
    return buffer_->InRange(byte) ? byte : -1;
}

bool THexDumpEdit::HexKeyDown(char key)
{
    if (buffer_->Empty())
        return false;
    int digit;
    if (key >= '0' && key <= '9')
        digit = key - '0';
    else if (key >= 'A' && key <= 'F')
        digit = key - 'A' + 10;
    else
        return false;
    const bool markerKey = digit <= 7;
    if (MouseDown && markerKey) {
        buffer_->Modified = true;
        SetMarker(digit);
        CaretByte = CurrentByte();
        return true;
    }
    if (!CtrlUp) {
        if (!markerKey)
            return false;
        SetMarker(digit);
        Focus();
        ShowCaret();
        return true;
    }
    buffer_->Modified = true;
    if (AsciiColumn)
        return false;
    if (CaretNibble & 1)
        TypeIntoCaretByte(0xF0, uint8_t(digit), 1);
    else
        TypeIntoCaretByte(0x0F, uint8_t(digit << 4), 1);
    return true;
}

bool THexDumpEdit::CharTyped(uint8_t c)
{
    if (buffer_->Empty() || !AsciiColumn)
        return false;
    TypeIntoCaretByte(0x00, c, 2);
    return true;
}

void THexDumpEdit::TypeIntoCaretByte(uint8_t keep, uint8_t bits, int nibbles)
{
    HideCaret();
    const int64_t target = EditTarget();
    if (target >= 0) {
        uint8_t& b = buffer_->Data[size_t(target)];
        b = uint8_t((b & keep) | bits);
        buffer_->SetMatchBit(target, false);
    }
    buffer_->Modified = true;
    Invalidate();
    Focus();
    if (CaretNibble <= buffer_->LastIndex * 2) {
        CaretNibble += nibbles;
        if (CaretNibble >= LastRowIndex * 2 + 32)
            ScrollLines(1);
    }
    ShowCaret();
    if (target >= 0 && OnChange)
        OnChange();
}

// ---------------------------------------------------------------------------
// Markers and selection

void THexDumpEdit::SetMarker(int m)
{
    if (buffer_->Empty())
        return;
    buffer_->Modified = true;
    if (buffer_->SelStart == -1) {
        int64_t first, last;
        WordBounds(CurrentByte(), first, last);
        buffer_->SetMarkerRange(first, last, uint8_t(m));
        if (AdvanceAfterIns)
            AdvanceCaret();
    } else {
        buffer_->SetMarkerRange(std::min(buffer_->SelStart, buffer_->SelEnd),
                                std::max(buffer_->SelStart, buffer_->SelEnd), uint8_t(m));
    }
    Invalidate();
}

void THexDumpEdit::SelectByte(int64_t i)
{
    if (!buffer_->InRange(i) || buffer_->IsSelected(i))
        return;
    int64_t first, last;
    WordBounds(i, first, last);
    buffer_->SetSelectRange(first, last, true);
    buffer_->SelEnd = last;
    Invalidate();
}

void THexDumpEdit::DeselectByte(int64_t i)
{
    if (!buffer_->InRange(i) || !buffer_->IsSelected(i))
        return;
    int64_t first, last;
    WordBounds(i, first, last);
    buffer_->SetSelectRange(first, last, false);
    Invalidate();
}

void THexDumpEdit::StartSelection()
{
    if (buffer_->Empty())
        return;
    // The buffer may have shrunk under a caret that stood further on.
    buffer_->SelStart = std::clamp<int64_t>(CaretByte, 0, buffer_->LastIndex);
    SelectByte(buffer_->SelStart);
    WordBounds(buffer_->SelStart, dragFirst_, dragLast_);
    StatusText();
}

void THexDumpEdit::ExtendSelectionToByte(int64_t target)
{
    if (buffer_->Empty() || buffer_->SelStart < 0)
        return;
    target = std::clamp<int64_t>(target, 0, buffer_->LastIndex);
    const int64_t anchor = buffer_->SelStart;
    int64_t first, last, unused;
    WordBounds(std::min(anchor, target), first, unused);
    WordBounds(std::max(anchor, target), unused, last);
    buffer_->MoveSelectRange(dragFirst_, dragLast_, first, last);
    dragFirst_ = first;
    dragLast_ = last;
    buffer_->SelEnd = target >= anchor ? last : first;
    Invalidate();
    StatusText();
}

int64_t THexDumpEdit::ByteAt(int x, int y) const
{
    const TDumpLayout l = Layout();
    bool ascii;
    const int col = l.ByteColumnAt(x, ascii);
    return std::clamp<int64_t>(l.RowAt(y) * 16 + TopIndex + col, 0, std::max<int64_t>(buffer_->LastIndex, 0));
}

void THexDumpEdit::ExtendSelectionTo(int x, int y)
{
    ExtendSelectionToByte(ByteAt(x, y));
}

void THexDumpEdit::NormalizeSelection()
{
    buffer_->NormalizeSelection();
}

void THexDumpEdit::SelectAll()
{
    buffer_->SelectAll();
    dragFirst_ = 0;
    dragLast_ = buffer_->LastIndex;
    Invalidate();
}

void THexDumpEdit::ClearSelection()
{
    buffer_->ClearSelection();
    dragFirst_ = 1;
    dragLast_ = 0;
    Invalidate();
}

// ---------------------------------------------------------------------------
// Mouse

void THexDumpEdit::MouseDownAt(TDumpButton button, int x, int y)
{
    if (buffer_->Empty())
        return;
    HideCaret();
    if (button == TDumpButton::Right) {
        if (OnPopup)
            OnPopup(x, y);
        return;
    }
    const TDumpLayout l = Layout();
    const int64_t row = std::max<int64_t>(l.RowAt(y), 0);
    bool ascii, left;
    const int col = l.NibbleColumnAt(x, ascii, left);
    if (!left)
        AsciiColumn = ascii;
    CaretNibble = row * 32 + col + TopIndex * 2;
    if (!PersistentBlocks)
        ClearSelection();
    MouseState = 1;
    MouseDown = true;
    PressX = x;
    PressY = y;
    Invalidate();
    ShowCaret();
    Focus();
}

void THexDumpEdit::MouseMoveTo(int x, int y)
{
    if (!MouseDown || buffer_->Empty())
        return;
    if (MouseState == 1)
        MouseState = 2;
    const TDumpLayout l = Layout();
    const int W = l.W;
    // Left of the line between the address column and the cells.
    if (x - LeftMargin < l.GridCol(0) * W)
        return;
    // The header row is ignored until a selection is under way, then it
    // scrolls up like a point above the view. Without the header only a
    // point above the view is above the rows: dragging out of the top
    // starts a selection there, and the top margin strip is the first row.
    const bool above = ShowHeader ? y < l.DataTop() : y < 0;
    if (ShowHeader && above && MouseState < 3)
        return;
    bool ascii;
    l.ByteColumnAt(PressX, ascii);
    const int xStep = (ascii || !WordMode) ? W / 2 : W;
    if (MouseState < 3 && std::abs(x - PressX) <= xStep && std::abs(y - PressY) <= LineHeight / 3)
        return;
    if (PersistentBlocks && MouseState < 3)
        buffer_->SelStart = -1;
    if (buffer_->SelStart == -1) {
        ClearSelection();
        StartSelection();
        MouseState = 3;
        return;
    }
    if (above) {
        if (ScrollPos() > 0)
            ScrollLines(-1);
    } else if (y > ClientHeight) {
        ScrollLines(1);
    }
    ExtendSelectionTo(std::max(x, 0), std::max(y, l.DataTop()));
}

void THexDumpEdit::MouseUpAt()
{
    if (buffer_->Empty())
        return;
    MouseDown = false;
    MouseState = 0;
    ShowCaret();
    NormalizeSelection();
    if (OnSelectionChanged)
        OnSelectionChanged(buffer_->SelStart, buffer_->SelEnd);
}

void THexDumpEdit::Wheel(int delta)
{
    if (buffer_->Empty())
        return;
    HideCaret();
    if (delta > 0)
        ScrollLines(-1);
    else if (buffer_->LastIndex > 16)
        ScrollLines(1);
    ShowCaret();
}
