#include "app/uColorsAndFonts.h"

#include "engine/Global.h"
#include "platform/SysUtils.h"

#include <array>

namespace {

// wpBackupControl set means the automatic backup runs (the dispatcher's
// sense), so "Disable backup" is checked while the bit is clear.
const std::array Options = {
    TEditorOption{"ComboBox2", wpTabsOnTop, false},
    TEditorOption{"ComboBox3", wpParamPanelOnTop, false},
    TEditorOption{"CheckBox5", wpAlwaysShowTabs, false},
    TEditorOption{"CheckBox4", wpAdvanceAfterIns, true},
    TEditorOption{"CheckBox3", wpHideMismatch, true},
    TEditorOption{"CheckBox8", wpShowGrid, true},
    TEditorOption{"CheckBox9", wpShowAddresses, true},
    TEditorOption{"CheckBox1", wpPersistentBlocks, true},
    TEditorOption{"CheckBox6", wpEraseOnChipSelect, true},
    TEditorOption{"CheckBox11", wpAskOnSizeMismatch, true},
    TEditorOption{"cbDisableBackup", wpBackupControl, false},
    TEditorOption{"cbNoMarkFile", wpNoMarkerFiles, true},
    TEditorOption{"ComboBox1", wpDatedSaveName, true},
};

const std::array<TEditorColorSetting, EditorColorCount> Colors = {{
    {"DefaultFontColor", &DefaultFontColor},
    {"DefaultBackGround", &DefaultBackGround},
    {"SelectionFontColor", &SelectionFontColor},
    {"SelectionBackGround", &SelectionBackGround},
    {"MismatchFontColor", &MismatchFontColor},
    {"AddressFontColor", &AddressFontColor},
}};

struct TSampleRow {
    const char* Address;
    int FirstByte;
    TEditorColor Text;
    bool Selected; // the byte area on the selection background
};
const TSampleRow SampleRows[] = {
    {"00000", 0x01, ecDefaultFont, false},
    {"00010", 0x21, ecMismatchFont, false},
    {"00020", 0xE1, ecSelectionFont, true},
    {"00030", 0xF1, ecMismatchFont, true},
};

constexpr int SampleMargin = 4;

} // namespace

std::span<const TEditorOption> EditorOptions() { return Options; }

uint32_t EditorOptionMask()
{
    uint32_t mask = 0;
    for (const TEditorOption& o : Options)
        mask |= o.Bit;
    return mask;
}

bool OptionShown(const TEditorOption& option, uint32_t workParam)
{
    return ((workParam & option.Bit) != 0) == option.Shown;
}

uint32_t StoreOption(const TEditorOption& option, bool state, uint32_t workParam)
{
    return state == option.Shown ? workParam | option.Bit : workParam & ~option.Bit;
}

std::span<const TEditorColorSetting> EditorColorSettings() { return Colors; }

std::vector<TSampleStep> SampleSteps(int width, int height, int w, int h, const uint32_t (&colors)[EditorColorCount])
{
    std::vector<TSampleStep> steps;
    steps.push_back({true, 0, 0, width, height, colors[ecDefaultBack], {}});
    int y = SampleMargin;
    for (const TSampleRow& row : SampleRows) {
        if (row.Selected) {
            const int left = 7 * w - w / 2;
            steps.push_back({true, left, y, width - left, h, colors[ecSelectionBack], {}});
        }
        steps.push_back({false, SampleMargin, y, 0, 0, colors[ecAddressFont], row.Address});
        int value = row.FirstByte;
        // Only whole bytes: a cut one reads as a different value.
        for (int x = 7 * w; w > 0 && x + 2 * w <= width; x += 3 * w)
            steps.push_back({false, x, y, 0, 0, colors[row.Text], IntToHex(static_cast<uint64_t>(value++ & 0xFF), 2)});
        y += h;
    }
    return steps;
}
