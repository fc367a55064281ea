#include "app/MainModule.h"

#include "engine/Global.h"
#include "engine/LanguageTexts.h"
#include "platform/Cp1251.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <map>

namespace {

// The first free position below the panel's caption.
constexpr int FirstFreePosition = 34;
// Room kept below the lowest control, and below a button.
constexpr int PanelBottomMargin = 7;
constexpr int ButtonBottomMargin = 7;
// Controls and labels sit this far below the position the module gives;
// a labelled control sits this much higher than its label.
constexpr int TopOffset = 5;
constexpr int LabelRaise = 3;
constexpr int ComboGap = 6;
constexpr int EditGap = 8;
constexpr int DigitWidth = 100;
// A number that does not convert.
constexpr int DefaultNumber = 5;
constexpr int DefaultComboWidth = 140;
// Places and sizes beyond any panel are brought to its edge, so that the
// sums that place labels and controls stay within an int.
constexpr int MaxCoordinate = 100000;

// One control's entries of the module's Interface list.
struct TControlLine {
    int Number = 0;
    std::string Kind;
    std::vector<std::string> Params; // p1 .. pk
    int Line = 0;                    // index of its first line in the module's Lines

    std::string Param(size_t k) const { return k >= 1 && k <= Params.size() ? Params[k - 1] : std::string(); }
    int Value(size_t k, int def) const { return StrToIntDef(Param(k), def); }
    int Coordinate(size_t k, int def) const { return std::clamp(Value(k, def), -MaxCoordinate, MaxCoordinate); }
};

bool IsControlMarker(const std::string& entry)
{
    return entry.size() > 1 && entry[0] == 'I' &&
           std::all_of(entry.begin() + 1, entry.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Every control of the list, in order. A control the reader dropped leaves
// a gap in the numbers; the ones after it are still built.
std::vector<TControlLine> ControlLines(const TModuleInfo& module)
{
    std::vector<TControlLine> controls;
    const TStringList& list = module.Interface;
    int i = 1;
    while (i < list.Count()) {
        if (!IsControlMarker(list[i])) {
            ++i;
            continue;
        }
        TControlLine control;
        control.Number = StrToIntDef(list[i].substr(1), -1);
        if (control.Number >= 0 && control.Number < static_cast<int>(module.ControlLines.size()))
            control.Line = module.ControlLines[static_cast<size_t>(control.Number)];
        control.Kind = i + 1 < list.Count() ? AnsiUpperCase(list[i + 1]) : std::string();
        int j = i + 2;
        for (; j < list.Count() && list[j] != "-"; ++j)
            control.Params.push_back(list[j]);
        controls.push_back(std::move(control));
        i = j + 1;
    }
    return controls;
}

class TPlanner {
public:
    TPlanner(const TModuleInfo& module, const TControlMetrics& metrics, TModulePlan& plan)
        : module_(module), metrics_(metrics), plan_(plan)
    {
    }

    void Control(const TControlLine& line)
    {
        TParameterControl c;
        c.Name = line.Param(1);
        c.Caption = line.Param(2);
        const int x = line.Coordinate(3, DefaultNumber);
        const int y = line.Coordinate(4, DefaultNumber);
        if (line.Kind == "CHECKBOX") {
            c.Kind = TParamKind::CheckBox;
            c.Checked = line.Param(5) == "1";
            c.Tag = TagCheckBox | (c.Checked ? 1u : 0u);
            c.Bounds = {x, y + TopOffset, metrics_.CheckBoxWidth(c.Caption), metrics_.CheckBoxHeight()};
        } else if (line.Kind == "COMBOBOX") {
            ComboBox(line, c, x, y);
        } else if (line.Kind == "HEXEDIT") {
            HexEdit(line, c, x, y);
        } else if (line.Kind == "DIGIT") {
            Digit(line, c, x, y);
        } else if (line.Kind == "BUTTON") {
            c.Kind = TParamKind::Button;
            c.Name = "bt" + c.Name;
            c.Bounds = {x, y + TopOffset, line.Coordinate(5, DefaultNumber), line.Coordinate(6, DefaultNumber) + 5};
        } else {
            Warn(line, "the control kind " + line.Kind + " is unknown; it is left out.");
            return;
        }
        const int bottom = c.Bounds.Bottom() + (c.Kind == TParamKind::Button ? ButtonBottomMargin : 0);
        plan_.LowestFree = std::max(plan_.LowestFree, bottom);
        plan_.Controls.push_back(std::move(c));
    }

private:
    void Label(TParameterControl& c, int x, int y)
    {
        c.HasLabel = true;
        c.Label = {x, y + TopOffset, metrics_.TextWidth(c.Caption), metrics_.LabelHeight()};
    }

    void ComboBox(const TControlLine& line, TParameterControl& c, int x, int y)
    {
        c.Kind = TParamKind::ComboBox;
        Label(c, x, y);
        c.Bounds = {c.Label.Left + c.Label.Width + ComboGap, c.Label.Top - LabelRaise,
                    line.Coordinate(5, DefaultComboWidth), metrics_.ComboBoxHeight()};
        // p6 .. p(k-1) are the items, pk the selected index.
        for (size_t k = 6; k < line.Params.size(); ++k)
            c.Items.push_back(line.Params[k - 1]);
        const int selected = line.Params.size() >= 6 ? line.Value(line.Params.size(), 0) : 0;
        const int count = static_cast<int>(c.Items.size());
        if (count == 0) {
            Warn(line, "COMBOBOX " + c.Name + " has no items.");
            c.ItemIndex = -1;
        } else {
            c.ItemIndex = std::clamp(selected, 0, count - 1);
            if (c.ItemIndex != selected)
                Warn(line, "COMBOBOX " + c.Name + " selects item " + IntToStr(selected) + " of " + IntToStr(count) +
                               "; item " + IntToStr(c.ItemIndex) + " is selected.");
        }
        c.Tag = TagComboBox | static_cast<uint32_t>(std::max(c.ItemIndex, 0));
    }

    void HexEdit(const TControlLine& line, TParameterControl& c, int x, int y)
    {
        c.Kind = TParamKind::HexEdit;
        Label(c, x, y);
        const int count = line.Value(5, 1);
        c.ByteCount = std::clamp(count, 1, MaxHexEditBytes);
        if (count > MaxHexEditBytes)
            Warn(line, "HEXEDIT " + c.Name + " holds " + IntToStr(count) + " bytes; it holds " +
                           IntToStr(MaxHexEditBytes) + ", the most a script can take.");
        c.Tag = TagHexEdit | static_cast<uint32_t>(c.ByteCount);
        c.Bounds = {c.Label.Left + c.Label.Width + EditGap, c.Label.Top - LabelRaise,
                    metrics_.HexEditWidth(c.ByteCount), metrics_.EditHeight()};
    }

    void Digit(const TControlLine& line, TParameterControl& c, int x, int y)
    {
        c.Kind = TParamKind::Digit;
        Label(c, x, y);
        c.Text = AnsiUpperCase(line.Param(5));
        const int64_t value = DigitTextValue(c.Text);
        const int64_t kept = std::clamp<int64_t>(value, 0, TagValueMask);
        if (kept != value) {
            const bool hex = c.Text.size() > 2 && c.Text.compare(0, 2, "0X") == 0;
            c.Text = hex ? "0X" + IntToHex(static_cast<uint64_t>(kept), 1) : IntToStr(kept);
            Warn(line, "DIGIT " + c.Name + " value " + line.Param(5) + " lies outside 0 .. 0x0FFFFFFF; " + c.Text +
                           " is used.");
        }
        c.Tag = TagDigit | static_cast<uint32_t>(kept);
        c.Bounds = {c.Label.Left + c.Label.Width + EditGap, c.Label.Top - LabelRaise, DigitWidth,
                    metrics_.EditHeight()};
    }

    void Warn(const TControlLine& line, const std::string& text)
    {
        plan_.Warnings.Add(module_.LineWarning(line.Line, text));
    }

    const TModuleInfo& module_;
    const TControlMetrics& metrics_;
    TModulePlan& plan_;
};

void PlanControls(const TModuleInfo& module, const TControlMetrics& metrics, TModulePlan& plan)
{
    plan.InWindow = !module.Interface.Empty() && module.Interface[0] != "0";
    plan.LowestFree = FirstFreePosition;
    TPlanner planner(module, metrics, plan);
    for (const TControlLine& line : ControlLines(module))
        planner.Control(line);
    plan.PanelVisible = !plan.InWindow && !plan.Controls.empty();
    plan.PanelHeight = plan.LowestFree + PanelBottomMargin;
}

// The tool button a menu entry's second value binds, and which hint word
// its hint replaces (-1 none). WRITEEEPROMBUTTON is accepted and binds none.
struct TButtonBinding {
    const char* Button;
    int HintWord;
};
const std::map<std::string, TButtonBinding>& ButtonBindings()
{
    static const std::map<std::string, TButtonBinding> bindings{
        {"READBUTTON", {"tbReadChip", 0}},       {"WRITEBUTTON", {"tbWriteChip", 1}},
        {"ERASEBUTTON", {"tbEraseChip", -1}},    {"CHECKBUTTON", {"tbCheckChip", 2}},
        {"WRITECHANGESBUTTON", {"tbWriteChanges", -1}}, {"WRITEEEPROMBUTTON", {"", -1}},
        {"CHIPINFOBUTTON", {"tbChipInfo", -1}},  {"MODULEINFOBUTTON", {"tbModuleInfo", -1}},
    };
    return bindings;
}

void PlanMenu(const TModuleInfo& module, TModulePlan& plan)
{
    for (int e = 1; e <= module.MenuCount && e <= TModuleInfo::MaxMenuEntries; ++e) {
        const TStringList& entry = module.Menu[static_cast<size_t>(e)];
        if (entry.Empty() || entry[0].find(' ') != std::string::npos)
            break;
        if (entry.Count() < 2)
            continue;
        TMenuEntryPlan item;
        item.Caption = entry[1];
        item.ObjectName = "mn" + entry[0];
        if (entry.Count() > 2) {
            const auto found = ButtonBindings().find(AnsiUpperCase(entry[2]));
            if (found != ButtonBindings().end() && *found->second.Button) {
                item.Button = found->second.Button;
                if (entry.Count() > 3) {
                    item.Hint = entry[3];
                    if (found->second.HintWord >= 0)
                        plan.HintWords[static_cast<size_t>(found->second.HintWord)] = entry[3];
                }
                if (entry.Count() > 4)
                    item.Shortcut = entry[4];
            }
        }
        plan.Menu.push_back(std::move(item));
    }
    plan.DeviceMenuEnabled = !plan.Menu.empty();
    plan.ParametersItem = plan.InWindow;
    plan.PinTester = module.GndMask != 0;
    if (plan.PinTester)
        plan.PinTesterCaption = LanguageText("[PIN_TESTER]", 1, "Pin tester");
}

TBufferPlan PlanBuffer(const std::string& name, int32_t size, int viewWidth)
{
    return TBufferPlan{name, size, size < 0, viewWidth == 16};
}

} // namespace

const std::vector<std::string>& DeviceToolButtons()
{
    static const std::vector<std::string> buttons{"tbReadChip",     "tbWriteChip", "tbEraseChip", "tbCheckChip",
                                                  "tbWriteChanges", "tbChipInfo",  "tbModuleInfo"};
    return buttons;
}

TModulePlan PlanModule(const TModuleInfo& module, uint32_t workParam, const TControlMetrics& metrics)
{
    TModulePlan plan;
    plan.Warnings = module.Warnings;
    PlanControls(module, metrics, plan);
    PlanMenu(module, plan);

    plan.Buffer1 = PlanBuffer(module.Buffer1Name, module.Buffer1Size, module.View1Width);
    plan.HasBuffer2 = !module.Buffer2Name.empty();
    if (plan.HasBuffer2)
        plan.Buffer2 = PlanBuffer(module.Buffer2Name, module.Buffer2Size, module.View2Width);
    plan.Tabs.push_back(module.Buffer1Name);
    if (plan.HasBuffer2)
        plan.Tabs.push_back(module.Buffer2Name);
    else if (!(workParam & wpAlwaysShowTabs))
        plan.Tabs.clear();
    plan.TabsOnTop = (workParam & wpTabsOnTop) != 0;
    plan.PanelOnTop = (workParam & wpParamPanelOnTop) != 0;

    if (!module.Voltage.empty())
        plan.VoltageItem = module.Voltage + " V";
    plan.Picture = module.Picture;
    plan.Info = module.Info;
    plan.Adapter = module.Adapter;
    plan.Uart = module.Uart;
    plan.GndMask = module.GndMask;
    return plan;
}

uint32_t CheckBoxClick(uint32_t tag, bool checked) { return (tag & ~1u) | (checked ? 1u : 0u); }

// The kind bits stay whatever the index: no selection (-1) counts as item 0.
uint32_t ComboBoxChange(uint32_t tag, int itemIndex)
{
    return (tag & TagKindMask) | (static_cast<uint32_t>(std::max(itemIndex, 0)) & TagValueMask);
}

uint32_t EditChange(uint32_t tag, const std::string& text)
{
    return (tag & TagKindMask) | (static_cast<uint32_t>(DigitTextValue(text)) & TagValueMask);
}

int64_t DigitTextValue(const std::string& text)
{
    const std::string t = AnsiUpperCase(text);
    const bool hex = t.size() > 2 && t.compare(0, 2, "0X") == 0;
    const std::string digits = hex ? t.substr(2) : t;
    const size_t first = !hex && !digits.empty() && digits[0] == '-' ? 1 : 0;
    if (digits.size() == first)
        return 0;
    for (size_t i = first; i < digits.size(); ++i)
        if (hex ? !IsHexDigit(digits[i]) : (digits[i] < '0' || digits[i] > '9'))
            return 0;
    return TryStrToInt64(hex ? "$" + digits : digits).value_or(0);
}

bool DigitKeyAccepted(char32_t c) { return c < 32 || (c >= '0' && c <= '9'); }

std::string ChipNameOf(const std::string& entry)
{
    const size_t slash = entry.rfind('\\');
    return slash == std::string::npos ? entry : entry.substr(slash + 1);
}

int FindChipEntry(const TStringList& chips, std::string& entry)
{
    if (const int index = chips.IndexOf(entry); index >= 0)
        return index;
    for (int i = 0; i < chips.Count(); ++i)
        if (ChipNameOf(chips[i]) == entry) {
            entry = chips[i];
            return i;
        }
    return -1;
}
