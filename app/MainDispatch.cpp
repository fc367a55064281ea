#include "app/MainDispatch.h"

#include "engine/Global.h"
#include "engine/uFindSignature.h"
#include "platform/Cp1251.h"
#include "platform/SysUtils.h"

namespace {

// The exit value by which a script asks for the automatic backup.
constexpr uint32_t BackupExitValue = 0x7FFFFFFF;

std::string HexEditKey(const std::string& name) { return "." + name + ":"; }

void WriteBackHexEdit(const TStringList& list, TControlState& control)
{
    // The host machine gives the name back upper-cased.
    const std::string key = HexEditKey(AnsiUpperCase(control.Name));
    for (const std::string& entry : list) {
        if (entry.compare(0, key.size(), key) == 0) {
            control.Text = entry.substr(entry.find(':') + 1);
            return;
        }
    }
}

void WriteBackValue(uint32_t value, TControlState& control)
{
    uint32_t v = value & TagValueMask;
    const uint32_t kind = control.Tag & TagKindMask;
    switch (control.Kind) {
    case TParamKind::CheckBox:
        v &= 1;
        control.Checked = v == 1;
        break;
    case TParamKind::ComboBox:
        // A list without items selects nothing and keeps its kind bits.
        if (control.ItemCount <= 0) {
            v = 0;
            break;
        }
        if (v >= static_cast<uint32_t>(control.ItemCount))
            v = static_cast<uint32_t>(control.ItemCount - 1);
        control.ItemIndex = static_cast<int>(v);
        break;
    case TParamKind::Digit: {
        const std::string upper = AnsiUpperCase(control.Text);
        control.Text = upper.size() > 2 && upper.compare(0, 2, "0X") == 0 ? "0x" + IntToHex(v, 4) : IntToStr(v);
        break;
    }
    case TParamKind::HexEdit:
    case TParamKind::Button:
        return;
    }
    control.Tag = kind | v;
}

} // namespace

std::string CommandText(TSenderKind kind, const std::string& name, const std::string& caption)
{
    switch (kind) {
    case TSenderKind::MenuItem:
    case TSenderKind::ToolButton:
        return caption;
    case TSenderKind::PushButton:
        return name + "|" + caption;
    case TSenderKind::None:
        break;
    }
    return {};
}

std::string LastCommandOf(const std::string& commandText) { return AnsiUpperCase(WithoutFirstAmpersand(commandText)); }

bool NeedsConfirmation(const std::string& lastCommand, uint32_t workParam)
{
    if (!(workParam & wpAskBeforeWrite))
        return false;
    return lastCommand == "WRITE" || lastCommand == "WRITE CHANGES" || lastCommand == "ERASE";
}

void FillModuleParameters(const std::vector<TControlState>& controls, const TDispatchState& state,
                          TStringList& list)
{
    list.Clear();
    for (const TControlState& control : controls) {
        if (control.Name.empty())
            continue;
        if (control.Kind == TParamKind::HexEdit)
            list.AddObject(HexEditKey(control.Name) + control.Text, control.Tag);
        else
            list.AddObject(control.Name, control.Tag & TagValueMask);
    }
    list.AddObject("ActiveBuffer", static_cast<uint32_t>(state.ActiveBuffer));
    list.AddObject("WordMode1", state.WordMode1 ? 1 : 0);
    list.AddObject("WordMode2", state.WordMode2 ? 1 : 0);
    list.AddObject("GlobalVerify", state.WorkParam & wpVerifyAfterWrite);
    list.AddObject("ForceCloseAfterWrite", state.WorkParam & wpCloseAfterWrite);
    list.AddObject("ForceCloseAfterRead", state.WorkParam & wpCloseAfterRead);
    list.AddObject("ForceCloseAfterVerify", state.WorkParam & wpCloseAfterVerify);
}

void WriteBackControls(const TStringList& list, std::vector<TControlState>& controls)
{
    for (TControlState& control : controls) {
        if (control.Name.empty())
            continue;
        if (control.Kind == TParamKind::HexEdit) {
            WriteBackHexEdit(list, control);
            continue;
        }
        if (AnsiUpperCase(control.Name).compare(0, 2, "BT") == 0)
            continue;
        const int i = list.IndexOf(control.Name);
        if (i >= 0)
            WriteBackValue(list.Objects(i), control);
    }
}

TExitReaction ExitReaction(uint32_t exitValue)
{
    TExitReaction reaction;
    if (exitValue == 0)
        return reaction;
    if (exitValue == BackupExitValue) {
        reaction.Action = TExitAction::Backup;
        return reaction;
    }
    if (FindModuleBySignature(static_cast<int32_t>(exitValue), reaction.ChipEntry))
        reaction.Action = TExitAction::SignatureSwitch;
    else
        reaction.ChipEntry.clear();
    return reaction;
}
