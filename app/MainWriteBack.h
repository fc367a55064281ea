#pragma once
// The main window's module defaults: on a Ctrl + left click on the
// parameter panel the current values of the module's parameter controls and
// the chosen supply voltage become the defaults in the module file itself.
#include "app/MainDispatch.h"
#include "engine/Modules.h"
#include "platform/StringList.h"

#include <string>
#include <vector>

// Edits, in `lines`, the declarations of the controls that the module reader
// found in them (`module` was loaded from these lines): each control's
// value parameter gets the control's value. A control is matched by kind
// and name (without regard to case); the k-th control of a name takes the
// k-th declaration of that kind and name. Only the value's token changes,
// and only when it reads back as a different value: a check box's fifth
// parameter ("1" checked), a combo box's last one (the item index), a
// number field's fifth one in the notation it had (hexadecimal with its
// prefix, digit count and letter case, or decimal), added after the fourth
// parameter when missing. Hex byte fields and buttons hold no value the
// user sets. Returns how many declarations changed.
int WriteControlDefaults(TStringList& lines, const TModuleInfo& module, const std::vector<TControlState>& controls);

// The module voltage of a supply voltage item ("5.0 V" gives "5.0"); empty
// when the item is not one of the module voltages.
std::string ModuleVoltageOfItem(const std::string& item);
