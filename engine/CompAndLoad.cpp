#include "engine/CompAndLoad.h"

#include "engine/Engine.h"
#include "engine/Global.h"
#include "engine/uHost.h"
#include "platform/Paths.h"
#include "platform/SysUtils.h"

namespace {

// 64-bit FNV-1a, continued from `hash`.
uint64_t Fingerprint(const std::string& bytes, uint64_t hash = 14695981039346656037ull)
{
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

} // namespace

std::string StoredModuleName(const std::string& moduleFile, const TStringList& lines)
{
    const uint64_t text = Fingerprint(lines.Text());
    const std::string name = moduleFile + "|" + IntToHex(text, 16);
    if (name.size() <= MaxModuleNameLength)
        return name;
    // A name the programmer could not give back whole would never match:
    // the end of the path stays, and the fingerprint covers the whole path
    // so that two modules cut to the same end still differ.
    const std::string fingerprint = "|" + IntToHex(Fingerprint(moduleFile, text), 16);
    const size_t room = MaxModuleNameLength - fingerprint.size();
    return moduleFile.substr(moduleFile.size() - room) + fingerprint;
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
