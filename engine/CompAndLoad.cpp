#include "engine/CompAndLoad.h"

#include "engine/Engine.h"
#include "engine/Global.h"
#include "engine/uHost.h"
#include "platform/Paths.h"
#include "platform/SysUtils.h"

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
    THost& host = CreateHostMachine();
    if (readable && stored == wanted && host.LoadedModule == moduleFile && HostMachineModule() == wanted) {
        host.ReloadExternalVariables(ModuleParameters);
        return clReady;
    }

    host.LoadExternalVariables(ModuleParameters);
    host.LoadedModule = modulePath;
    SetHostMachineModule("");
    host.Compile();
    if (!host.Errors.Empty()) {
        errors.Assign(host.Errors);
        return clCompileErrors;
    }
    host.LoadedModule = moduleFile;
    // Named after the lines the compiler read, in case the file changed
    // since the look above.
    SetHostMachineModule(StoredModuleName(moduleFile, host.Source));
    if (!host.UsesDevice)
        return clReady;

    if (!OpenDevice())
        return clDeviceFailed;
    if (UploadCode(host.Compiler.Code, host.Compiler.CodeLength) != 0) {
        CloseDevice();
        return clDeviceFailed;
    }
    if (!StoreModuleName(HostMachineModule()))
        return clDeviceFailed;
    return clReady;
}
