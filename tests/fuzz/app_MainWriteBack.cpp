// Module files are written by people, and the defaults write-back edits them
// in place: on any module bytes it must not crash, must keep every control
// the module loader builds, and a second write-back of the same values must
// change nothing.
#include "app/ChipSel.h"
#include "app/ChipSelWriteBack.h"
#include "app/MainModule.h"
#include "engine/Global.h"
#include "engine/Modules.h"
#include "platform/MessageBox.h"

#include "FixedMetrics.h"
#include "FuzzProgramFolder.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// Warnings of the loader are answered, never shown.
const testsupport::TempDir& programFolder()
{
    static const bool quiet = [] {
        SetMessageBoxHandler([](const std::string&, const std::string&, unsigned) { return IDOK; });
        return true;
    }();
    (void)quiet;
    return testsupport::FuzzProgramFolder();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const testsupport::TempDir& dir = programFolder();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    TModuleInfo module;
    module.LoadFromText(bytes, "m.chl");
    const TModulePlan plan = PlanModule(module, WorkParamDefault, TFixedMetrics());

    // Each control takes a value from the input's bytes, so that values
    // both equal to and different from the declared ones are written.
    TModuleDefaults defaults;
    defaults.Voltage = module.Voltages.Count() > 0 ? module.Voltages[size % module.Voltages.Count()] : "5.0";
    defaults.PinTestMask = size > 0 ? data[0] : 0;
    defaults.Controls.emplace();
    for (size_t i = 0; i < plan.Controls.size(); ++i) {
        const TParameterControl& c = plan.Controls[i];
        TControlState state;
        state.Kind = c.Kind;
        state.Name = c.Name;
        const uint32_t value = size > 0 ? data[(i * 7 + 1) % size] : 0;
        state.Tag = (c.Tag & ~0xFFFFu) | ((c.Tag + value) & 0xFFFFu);
        defaults.Controls->push_back(state);
    }

    const std::string native = dir.file("scripts/m.chl");
    testsupport::WriteFileBytes(native, bytes);
    const std::string file = ScriptsFolder() + "\\m.chl";
    if (!WriteModuleDefaults(file, defaults))
        return 0;
    const std::string once = testsupport::ReadFileBytes(native);
    TModuleInfo written;
    written.LoadFromText(once, "m.chl");
    // In a module the loader reads without a complaint a value may be added
    // to a declaration and a statement to the description, but no control
    // comes or goes. (A malformed declaration may run on over the lines the
    // write-back rewrites, so what it swallows can change.)
    const TModulePlan after = PlanModule(written, WorkParamDefault, TFixedMetrics());
    if (module.Warnings.Empty() && plan.Warnings.Empty()) {
        if (after.Controls.size() != plan.Controls.size())
            std::abort();
        for (size_t i = 0; i < plan.Controls.size(); ++i)
            if (after.Controls[i].Kind != plan.Controls[i].Kind || after.Controls[i].Name != plan.Controls[i].Name)
                std::abort();
    }
    if (!WriteModuleDefaults(file, defaults) || testsupport::ReadFileBytes(native) != once)
        std::abort();
    return 0;
}
