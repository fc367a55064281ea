#pragma once
// Brings the selected module's compiled scripts into the host machine and
// its device code into the programmer, skipping both when they are there
// already.
#include "platform/StringList.h"

#include <string>

// Result codes of CompileAndLoadModule.
enum : int {
    clReady = 0,
    clChipNotListed = -1,  // CurrentChip is not in ChipList
    clDeviceFailed = -2,   // the programmer is not reachable or the upload failed
    clCompileErrors = -3,  // the scripts have errors; they are in `errors`
};

// Works on CurrentChip, ModuleParameters and HostMachine (created when
// missing). On clCompileErrors `errors` holds the compiler's lines; the
// caller shows them.
int CompileAndLoadModule(TStringList& errors);

// The name the programmer keeps for a module: the module file and a
// fingerprint of the lines compiled, so an edited module is never taken for
// the one whose code the programmer holds. Never longer than the
// programmer gives back (MaxModuleNameLength): the path of a longer one is
// cut from its start.
std::string StoredModuleName(const std::string& moduleFile, const TStringList& lines);
