#include "app/MainWriteBack.h"

#include "app/MainModule.h"
#include "engine/ModulesReader.h"
#include "platform/Cp1251.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <optional>

namespace {

struct TDeclaration {
    std::string Kind; // upper-cased
    std::string Name; // upper-cased first parameter
    TStringList Params;
    std::vector<modules::TTokenPlace> Places;
};

// The control declared at `line` as the module reader reads it; nothing for
// one the reader drops.
std::optional<TDeclaration> readDeclaration(const TStringList& lines, int line)
{
    modules::TLineReader reader(lines, line);
    TDeclaration d;
    d.Kind = AnsiUpperCase(reader.NextToken());
    if (reader.NextToken() != "(")
        return std::nullopt;
    if (modules::ReadControlParameters(reader, d.Params, &d.Places) != modules::TControlEnd::Complete)
        return std::nullopt;
    d.Name = AnsiUpperCase(d.Params[0]);
    return d;
}

const char* kindWord(TParamKind kind)
{
    switch (kind) {
    case TParamKind::CheckBox:
        return "CHECKBOX";
    case TParamKind::ComboBox:
        return "COMBOBOX";
    case TParamKind::HexEdit:
        return "HEXEDIT";
    case TParamKind::Digit:
        return "DIGIT";
    case TParamKind::Button:
        return "BUTTON";
    }
    return "";
}

bool isHexText(const std::string& text) { return text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'); }

// A number field's new value in the notation of its old text.
std::string digitText(const std::string& old, uint32_t value)
{
    if (!isHexText(old))
        return IntToStr(value);
    std::string digits = IntToHex(value, static_cast<int>(old.size() - 2));
    const bool lower = std::any_of(old.begin() + 2, old.end(), [](char c) { return c >= 'a' && c <= 'f'; }) &&
                       std::none_of(old.begin() + 2, old.end(), [](char c) { return c >= 'A' && c <= 'F'; });
    return old.substr(0, 2) + (lower ? AnsiLowerCase(digits) : digits);
}

// Which parameter holds the control's value and its new text; nothing when
// the declaration already reads back as the control's value.
struct TValueEdit {
    int Param = 0; // 0-based; Params.Count() when it is to be added
    std::string Text;
};

std::optional<TValueEdit> valueEdit(const TDeclaration& d, const TControlState& control)
{
    const int count = d.Params.Count();
    const uint32_t wanted = control.Tag & TagValueMask;
    switch (control.Kind) {
    case TParamKind::CheckBox: {
        const bool checked = (control.Tag & 1) != 0;
        if (count < 4 || (count > 4 && d.Params[4] == "1") == checked)
            return std::nullopt;
        return TValueEdit{4, checked ? "1" : "0"};
    }
    case TParamKind::ComboBox: {
        // p6 .. p(k-1) are the items, pk the selected index.
        const int items = count - 6;
        if (items < 1)
            return std::nullopt;
        const int index = std::min(static_cast<int>(wanted & 0xFFFF), items - 1);
        if (std::clamp(StrToIntDef(d.Params[count - 1], 0), 0, items - 1) == index)
            return std::nullopt;
        return TValueEdit{count - 1, IntToStr(index)};
    }
    case TParamKind::Digit: {
        if (count < 4)
            return std::nullopt;
        const std::string old = count > 4 ? d.Params[4] : std::string();
        const int64_t current = std::clamp<int64_t>(DigitTextValue(AnsiUpperCase(old)), 0, TagValueMask);
        if (current == wanted)
            return std::nullopt;
        return TValueEdit{4, digitText(old, wanted)};
    }
    case TParamKind::HexEdit:
    case TParamKind::Button:
        break;
    }
    return std::nullopt;
}

// false when the value's old text holds "[": the sections of a module are
// found by such mentions anywhere in a line, and with one gone the next
// write-back would find them elsewhere or not at all.
bool applyEdit(TStringList& lines, const TDeclaration& d, const TValueEdit& edit)
{
    if (edit.Param < d.Params.Count()) {
        const modules::TTokenPlace& place = d.Places[static_cast<size_t>(edit.Param)];
        std::string& line = lines[place.Line];
        if (line.find('[', place.Start) < place.End)
            return false;
        line.replace(place.Start, place.End - place.Start, edit.Text);
        return true;
    }
    const modules::TTokenPlace& after = d.Places.back();
    lines[after.Line].insert(after.End, ", " + edit.Text);
    return true;
}

} // namespace

int WriteControlDefaults(TStringList& lines, const TModuleInfo& module, const std::vector<TControlState>& controls)
{
    std::vector<TDeclaration> declarations;
    for (int line : module.ControlLines)
        if (auto d = readDeclaration(lines, line))
            declarations.push_back(std::move(*d));
    int changed = 0;
    std::vector<const TDeclaration*> taken;
    for (const TControlState& control : controls) {
        const std::string name = AnsiUpperCase(control.Name);
        const std::string kind = kindWord(control.Kind);
        // The first declaration of this kind and name that no earlier
        // control of the same name has taken.
        const auto it = std::find_if(declarations.begin(), declarations.end(), [&](const TDeclaration& d) {
            return d.Kind == kind && d.Name == name && std::find(taken.begin(), taken.end(), &d) == taken.end();
        });
        if (it == declarations.end())
            continue;
        taken.push_back(&*it);
        if (const auto edit = valueEdit(*it, control); edit && applyEdit(lines, *it, *edit))
            ++changed;
    }
    return changed;
}

std::string ModuleVoltageOfItem(const std::string& item)
{
    std::string voltage = Trim(item);
    if (voltage.size() > 2 && voltage.compare(voltage.size() - 2, 2, " V") == 0)
        voltage = Trim(voltage.substr(0, voltage.size() - 2));
    return TModuleInfo().Voltages.IndexOf(voltage) >= 0 ? voltage : std::string();
}
