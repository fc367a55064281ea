// The dump view's input controller under any sequence of keys, digits,
// characters, clicks, drags, wheel turns, markers, resizes and geometry
// changes: no index may leave the buffer, and the selection bounds stay
// inside it once a selection is finished.
#include "buffer/HDumpEdit.h"

#include <cstdlib>

namespace {

struct TReader {
    const uint8_t* Data;
    size_t Size;
    size_t Pos = 0;
    bool More() const { return Pos < Size; }
    uint8_t Byte() { return Pos < Size ? Data[Pos++] : 0; }
    int Int(int range) { return int((Byte() | (Byte() << 8)) % unsigned(range)); }
};

void CheckInside(const TDumpBuffer& b)
{
    if (b.SelStart != -1 && (b.SelStart < 0 || b.SelStart > b.LastIndex))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TReader r{data, size};
    TDumpBuffer buffer;
    THexDumpEdit ed(buffer);
    buffer.SetSize(r.Int(300));
    ed.BufferResized();
    ed.SetGeometry(640, 200, 8, 16);
    const TDumpKey keys[] = {TDumpKey::PageUp, TDumpKey::PageDown, TDumpKey::End,   TDumpKey::Home,
                             TDumpKey::Left,   TDumpKey::Right,    TDumpKey::Up,    TDumpKey::Down,
                             TDumpKey::Insert, TDumpKey::Shift,    TDumpKey::Ctrl};
    const char digits[] = "0123456789ABCDEFG";
    while (r.More()) {
        switch (r.Byte() % 16) {
        case 0: ed.KeyDown(keys[r.Int(11)]); break;
        case 1: ed.KeyUp(keys[r.Int(11)]); break;
        case 2: ed.HexKeyDown(digits[r.Int(17)]); break;
        case 3: ed.CharTyped(r.Byte()); break;
        case 4: ed.MouseDownAt(TDumpButton(r.Int(3)), r.Int(700) - 30, r.Int(260) - 30); break;
        case 5: ed.MouseMoveTo(r.Int(760) - 60, r.Int(320) - 60); break;
        case 6:
            ed.MouseUpAt();
            CheckInside(buffer);
            break;
        case 7: ed.Wheel(r.Int(3) - 1); break;
        case 8: ed.SetMarker(r.Int(8)); break;
        case 9: ed.GotoAddress(r.Int(400) - 50); break;
        case 10:
            // A resize, through the view or behind its back.
            buffer.SetSize(r.Int(300));
            if (r.Byte() & 1)
                ed.BufferResized();
            break;
        case 11: ed.WordMode = !ed.WordMode; break;
        case 12: ed.SwapBytes = !ed.SwapBytes; break;
        case 13:
            ed.ShowHeader = r.Byte() & 1;
            ed.AdvanceAfterIns = r.Byte() & 1;
            ed.PersistentBlocks = r.Byte() & 1;
            break;
        case 14: ed.SetGeometry(r.Int(900), r.Int(400), 1 + r.Int(12), 1 + r.Int(20)); break;
        case 15:
            ed.SelectAll();
            ed.NormalizeSelection();
            CheckInside(buffer);
            break;
        }
        ed.UpdateRows();
        const int64_t byte = ed.CurrentByte();
        if (!buffer.Empty() && (byte < 0 || byte > buffer.LastIndex))
            std::abort();
    }
    return 0;
}
