#pragma once
// Input controller of the dump view: caret, scrolling, hex and character
// entry, mismatch toggling, markers and selection by keys and mouse. It
// holds the view state but draws nothing: the widget feeds it keys, mouse
// events and its size, and repaints when told. Tests drive it directly.
#include "buffer/HDumpBuffer.h"
#include "buffer/HDumpEditLayout.h"

#include <cstdint>
#include <functional>
#include <string>

// Keys the controller acts on besides the hex digits.
enum class TDumpKey { PageUp, PageDown, End, Home, Left, Right, Up, Down, Insert, Shift, Ctrl };

enum class TDumpButton { Left, Middle, Right };

// Commands of the view's popup menu. The numbers are those the owner
// receives and the items' object names carry ("pi" + number).
enum TDumpPopupCommand : int {
    pcColorsAndFont = 0,
    pcSwapBytes = 1,
    pcHideMismatch = 2,
    pcEraseBuffer = 3,
    pcFill = 4,
    pcFind = 5,
    pcPasteSpecial = 6,
    pcCompareWithFile = 7,
    pcSaveSelection = 8,    // "Save as file" in the Selection submenu
    pcCopyFromFile = 9,     // "Copy from file" in the Selection submenu
    pcShowAsDecimal = 10,
    pcCopy = 11,
    pcPaste = 12,
    pcXor = 13,
    pcSelectAll = 14,       // done by the view itself
    pcXorWithFile = 15,
    pcHideMarkers = 16,
    pcCount
};

class THexDumpEdit {
public:
    explicit THexDumpEdit(TDumpBuffer& buffer);

    TDumpBuffer& Buffer() { return *buffer_; }
    const TDumpBuffer& Buffer() const { return *buffer_; }

    // View state.
    int64_t TopIndex = 0;        // first byte of the top row, multiple of 16
    int64_t LastRowIndex = 0;    // first byte of the last row shown
    int64_t CaretNibble = 0;     // caret in hex digits
    int64_t CaretByte = 0;       // byte under the caret after the last move
    bool AsciiColumn = false;    // the caret is in the ASCII column
    bool CaretShown = false;
    bool ViewFull = false;       // the rows reach the bottom of the view
    bool WordMode = false;
    bool SwapBytes = true;
    bool ShowHeader = true;
    bool ShowGrid = true;
    bool AdvanceAfterIns = true;
    bool PersistentBlocks = false;
    int LineHeight = 16;
    int CharWidth = 8;
    int PageLines = 1;
    int LeftMargin = 4;
    int TopMargin = 4;
    int ClientWidth = 0;
    int ClientHeight = 0;

    // Input state.
    bool MouseDown = false;
    int MouseState = 0;          // 0 idle, 1 pressed, 2 moved, 3 selecting
    int PressX = 0, PressY = 0;
    bool CtrlUp = true;
    int ShiftState = 0;          // 0 none, 1 Shift down, 2 selecting

    // Owner events.
    std::function<void(int64_t)> OnCaretMove;
    std::function<void(const std::string&)> OnStatusText;
    std::function<void(int64_t, int64_t)> OnSelectionChanged;
    // A byte was typed (hex digit or character); marker and mismatch keys
    // leave the data as it was and do not raise it.
    std::function<void()> OnChange;
    // Requests to the widget.
    std::function<void()> OnInvalidate;
    std::function<void()> OnScrollChanged;
    std::function<void()> OnFocus;
    std::function<void(int, int)> OnPopup;

    // Geometry for the current settings and buffer.
    TDumpLayout Layout() const;
    // Takes the client size and font metrics, and works out which rows are
    // shown (LastRowIndex, ViewFull, PageLines), as a paint would.
    void SetGeometry(int clientWidth, int clientHeight, int charWidth, int lineHeight);
    void UpdateRows();

    // Scrolling in rows of 16 bytes.
    int64_t ScrollPos() const { return TopIndex / 16; }
    int64_t ScrollMax() const;
    void SetScrollPos(int64_t pos);
    void ScrollLines(int64_t delta) { SetScrollPos(ScrollPos() + delta); }
    void ScrollToAddress(int64_t address);
    void GotoAddress(int64_t address);

    void ShowCaret();
    void HideCaret();
    // Caret byte clamped to the buffer.
    int64_t CurrentByte() const;

    // Called after the buffer was resized.
    void BufferResized();

    bool KeyDown(TDumpKey key);
    void KeyUp(TDumpKey key);
    // A hex digit key ('0'..'9', 'A'..'F'); false when not handled (the
    // ASCII column leaves it to the character that follows).
    bool HexKeyDown(char key);
    // A typed character (code page 1251) in the ASCII column.
    bool CharTyped(uint8_t c);

    void MouseDownAt(TDumpButton button, int x, int y);
    void MouseMoveTo(int x, int y);
    void MouseUpAt();
    void Wheel(int delta);

    void SetMarker(int m);
    void StartSelection();
    void ExtendSelectionTo(int x, int y);
    void ExtendSelectionToByte(int64_t target);
    void SelectByte(int64_t i);
    void DeselectByte(int64_t i);
    void NormalizeSelection();
    void SelectAll();
    void ClearSelection();

    // Byte under a client point (clamped to the buffer).
    int64_t ByteAt(int x, int y) const;

private:
    TDumpBuffer* buffer_;
    // The bytes the current drag or Shift selection has selected, so that
    // extending it touches only what changes.
    int64_t dragFirst_ = 1, dragLast_ = 0;

    bool Navigate(TDumpKey key);
    void ShiftStep();
    void Invalidate();
    void Focus();
    void StatusText();
    void ToggleMatch();
    void AdvanceCaret();
    // The byte a digit or character edits: in word mode with swapped bytes
    // the other byte of the pair, or the caret byte itself when it is the
    // last byte and has no partner.
    int64_t EditTarget() const;
    // A typed digit or character: the caret's edit target keeps the bits of
    // `keep` and takes `bits`, and the caret moves on by `nibbles`.
    void TypeIntoCaretByte(uint8_t keep, uint8_t bits, int nibbles);
    void WordBounds(int64_t i, int64_t& first, int64_t& last) const;
};
