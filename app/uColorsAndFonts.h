#pragma once
// The editor parameters dialog's rules without widgets: which option bit
// each control shows and in which sense, the six colour settings, and the
// sample dump's drawing.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// One option control: a check box (checked) or a two-item combo box (item
// 1) shows `Shown` when its bit is set and the opposite when it is clear.
struct TEditorOption {
    const char* Control; // object name
    uint32_t Bit;        // WorkParamBit
    bool Shown;          // the control's state while the bit is set
};
// Every option control, in the order of the Parameters page.
std::span<const TEditorOption> EditorOptions();
// The bits the dialog writes; OK keeps all others.
uint32_t EditorOptionMask();

// The control's state (checked, or item 1) for a WorkParam value.
bool OptionShown(const TEditorOption& option, uint32_t workParam);
// WorkParam after the control shows `state`.
uint32_t StoreOption(const TEditorOption& option, bool state, uint32_t workParam);

// The six colour settings in swatch order (Shape1 .. Shape6).
enum TEditorColor { ecDefaultFont, ecDefaultBack, ecSelectionFont, ecSelectionBack, ecMismatchFont, ecAddressFont };
inline constexpr int EditorColorCount = 6;
struct TEditorColorSetting {
    const char* Key;      // [Dump] key
    int32_t* Setting;     // the program-wide variable
};
std::span<const TEditorColorSetting> EditorColorSettings();

// One step of the sample dump: a filled rectangle, or a text whose top-left
// corner stands at X, Y.
struct TSampleStep {
    bool Fill = false;
    int X = 0, Y = 0, Width = 0, Height = 0; // Width/Height: fills only
    uint32_t Color = 0;                      // colour reference 0x00BBGGRR
    std::string Text;
    bool operator==(const TSampleStep&) const = default;
};
// The sample in drawing order for an image of `width` x `height` pixels and
// a font whose "0" is `w` x `h`: the background, then four rows of an
// address and the bytes that fit.
std::vector<TSampleStep> SampleSteps(int width, int height, int w, int h, const uint32_t (&colors)[EditorColorCount]);
