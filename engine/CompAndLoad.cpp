#include "engine/CompAndLoad.h"

#include "engine/Engine.h"
#include "engine/Global.h"
#include "engine/uHost.h"
#include "platform/Paths.h"
#include "platform/SysUtils.h"

namespace {

// Stored name of what the host machine compiled last; empty when its
// compile failed or nothing was compiled.
std::string compiledName;

} // namespace

std::string StoredModuleName(const std::string& moduleFile, const TStringList& lines)
{
    uint64_t hash = 14695981039346656037ull; // 64-bit FNV-1a
    for (unsigned char c : lines.Text()) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return moduleFile + "|" + IntToHex(hash, 16);
}

int CompileAndLoadModule(TStringList& errors)
{
    errors.Clear();
    const int index = ChipList.IndexOf(CurrentChip);
    if (index < 0 || index >= ModuleFileList.Count())
        return clChipNotListed;
    const std::string moduleFile = ModuleFileList[index];
    const std::string modulePath = ProgramFolder() + "\\scripts\\" + moduleFile;

    std::string stored;
    if (!ReadModuleName(stored))
        return clDeviceFailed;

    // The name alone would keep an edited module running its old host and
    // device code: both sides must come from the file as it is now.
    TStringList current;
    const bool readable = current.LoadFromFile(NativePath(modulePath));
    const std::string wanted = StoredModuleName(moduleFile, current);
    if (!HostMachine)
        HostMachine = new THost;
    if (readable && stored == wanted && HostMachine->LoadedModule == moduleFile && compiledName == wanted) {
        HostMachine->ReloadExternalVariables(ModuleParameters);
        return clReady;
    }

    HostMachine->LoadExternalVariables(ModuleParameters);
    HostMachine->LoadedModule = modulePath;
    compiledName.clear();
    HostMachine->Compile();
    if (!HostMachine->Errors.Empty()) {
        errors.Assign(HostMachine->Errors);
        return clCompileErrors;
    }
    HostMachine->LoadedModule = moduleFile;
    // Named after the lines the compiler read, in case the file changed
    // since the look above.
    compiledName = StoredModuleName(moduleFile, HostMachine->Source);
    if (!HostMachine->UsesDevice)
        return clReady;

    if (!OpenDevice())
        return clDeviceFailed;
    if (UploadCode(HostMachine->Compiler.Code, HostMachine->Compiler.CodeLength) != 0) {
        CloseDevice();
        return clDeviceFailed;
    }
    if (!StoreModuleName(compiledName))
        return clDeviceFailed;
    return clReady;
}
