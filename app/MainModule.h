#pragma once
// Loading a chip module into the main window, worked out without widgets:
// PlanModule turns a module description into what the window applies (the
// parameter controls with their places, the container, the Device menu and
// its tool-button bindings, buffers, tabs and supply voltage). The window
// builds the controls (app/forms/MainModule.h) and keeps each control's
// value in its Tag, which the change handlers below keep current.
#include "engine/Modules.h"
#include "platform/StringList.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Tag of a parameter control: the kind in the top four bits, the value below.
constexpr uint32_t TagKindMask = 0xF0000000u;
constexpr uint32_t TagValueMask = 0x0FFFFFFFu;
constexpr uint32_t TagCheckBox = 0x00000000u;
constexpr uint32_t TagComboBox = 0x10000000u;
constexpr uint32_t TagHexEdit = 0x20000000u;
constexpr uint32_t TagDigit = 0x30000000u;

// The host script sees a hex byte field's byte count in 8 bits.
constexpr int MaxHexEditBytes = 255;

enum class TParamKind { CheckBox, ComboBox, HexEdit, Digit, Button };

// Sizes the window's controls have on this platform.
class TControlMetrics {
public:
    virtual ~TControlMetrics() = default;
    virtual int TextWidth(const std::string& text) const = 0; // the window's font
    virtual int LabelHeight() const = 0;
    virtual int CheckBoxWidth(const std::string& caption) const = 0;
    virtual int CheckBoxHeight() const = 0;
    virtual int ComboBoxHeight() const = 0;
    virtual int EditHeight() const = 0;
    virtual int HexEditWidth(int byteCount) const = 0;
};

struct TBounds {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    int Bottom() const { return Top + Height; }
    bool operator==(const TBounds&) const = default;
};

// One parameter control, in creation order. COMBOBOX, HEXEDIT and DIGIT
// controls have a label (Caption) just before them.
struct TParameterControl {
    TParamKind Kind = TParamKind::CheckBox;
    std::string Name;    // object name: the module's name, "bt" + it for a button
    std::string Caption; // of a check box or button, else the label's text
    bool HasLabel = false;
    TBounds Label;
    TBounds Bounds;
    std::vector<std::string> Items; // COMBOBOX
    int ItemIndex = -1;             // COMBOBOX; -1 when it has no items
    bool Checked = false;           // CHECKBOX
    std::string Text;               // DIGIT: the text shown
    int ByteCount = 0;              // HEXEDIT
    uint32_t Tag = 0;
};

// One Device menu item and the tool button it binds.
struct TMenuEntryPlan {
    std::string Caption;
    std::string ObjectName; // "mn" + the entry key
    std::string Shortcut;   // key combination text ("Ctrl+R"); empty: none
    std::string Button;     // object name of the bound tool button; empty: none
    std::string Hint;       // of the bound button; empty: its hint is off
};

struct TBufferPlan {
    std::string Name;
    int32_t Size = 0;
    bool AutoSize = false; // size AUTO: the buffer keeps its size and takes a loaded file's
    bool Words = false;    // shown as 16-bit words
};

struct TModulePlan {
    // The controls go into the module parameters window (the module has
    // only [INTERFACE WINDOW]); else into the main window's GroupBox1.
    bool InWindow = false;
    std::vector<TParameterControl> Controls;
    // The lowest free position below the controls (starts at 34); the
    // panel's height when the controls are in GroupBox1.
    int LowestFree = 0;
    int PanelHeight = 0;
    bool PanelVisible = false; // GroupBox1 shown

    std::vector<TMenuEntryPlan> Menu;
    bool DeviceMenuEnabled = false;
    bool ParametersItem = false; // separator and "Parameters"; tbParameters enabled
    bool PinTester = false;      // separator and the pin tester item; btPinTest enabled
    std::string PinTesterCaption;
    // Words put before the active tab's caption in the hints of tbReadChip,
    // tbWriteChip and tbCheckChip.
    std::array<std::string, 3> HintWords{"Read", "Write", "Verify"};

    TBufferPlan Buffer1;
    bool HasBuffer2 = false;
    TBufferPlan Buffer2;
    std::vector<std::string> Tabs; // captions of the buffer tabs to show
    bool TabsOnTop = false;
    bool PanelOnTop = false;

    std::string VoltageItem; // supply voltage item to select ("5.0 V"); empty: none
    std::string Picture;
    TStringList Info;
    int32_t Adapter = 0;
    int32_t Uart = 0;
    uint8_t GndMask = 0;

    // The module's own warnings, then those about control values the plan
    // had to clamp or refuse; each names the module file and line.
    TStringList Warnings;
};

// The device tool buttons that menu entries bind; a load disables them all
// and enables those its entries bind.
const std::vector<std::string>& DeviceToolButtons();

TModulePlan PlanModule(const TModuleInfo& module, uint32_t workParam, const TControlMetrics& metrics);

// Change handlers: the new Tag of a control after the user changed it.
uint32_t CheckBoxClick(uint32_t tag, bool checked);
uint32_t ComboBoxChange(uint32_t tag, int itemIndex);
uint32_t EditChange(uint32_t tag, const std::string& text);
// Value of a DIGIT text: hexadecimal after "0x"/"0X", else decimal; 0 when
// the text is no number.
int64_t DigitTextValue(const std::string& text);
// Whether a typed character reaches a DIGIT edit: digits and control keys.
bool DigitKeyAccepted(char32_t c);

// The index of a chip entry in `chips`: the entry itself, else the first
// entry whose last level equals it exactly, which then replaces `entry`.
// -1 when neither is there.
int FindChipEntry(const TStringList& chips, std::string& entry);
// The last level of a chip entry: the chip's name.
std::string ChipNameOf(const std::string& entry);
