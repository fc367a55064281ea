#pragma once
// The whole road of a device operation without windows: the example chip
// modules of data/scripts in a program folder of their own, the parameter
// list filled as the main window fills it, RunModuleProcedure with a view
// that records what the window would show, the link to a virtual
// programmer in this process, and a simulated chip in its socket.
#include "engine/CompAndLoad.h"
#include "engine/Engine.h"
#include "engine/Global.h"
#include "engine/Modules.h"
#include "engine/uExecuteRun.h"
#include "engine/uExecuteRun.h"
#include "engine/uHost.h"
#include "buffer/HDumpBuffer.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "vprog/Chip24Cxx.h"
#include "vprog/Chip25Flash.h"
#include "vprog/Socket.h"
#include "vprog/VirtualUsb.h"

#include "ProgramStateGuard.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace e2e {

// The run window as a test sees it.
class TRecordingView : public TExecuteView {
public:
    TExecuteRun Run{*this};
    struct TPinTest {
        int16_t Result;
        uint8_t Mask;
    };
    std::vector<TPinTest> PinTests;
    bool PinTesterGoesOn = false;
    std::vector<std::string> CompilerErrors;
    // Called at every pump; the default presses Close once the run ended.
    std::function<void()> OnIdle;
    int Pumps = 0;

    void ShowWindow() override {}
    void HideWindow() override {}
    bool ShowPinTester(int16_t result, uint8_t mask, const std::string&) override
    {
        PinTests.push_back({result, mask});
        return PinTesterGoesOn;
    }
    void ShowCompilerErrors(const TStringList& errors) override
    {
        for (const std::string& e : errors)
            CompilerErrors.push_back(e);
    }
    void Idle() override
    {
        ++Pumps;
        if (OnIdle)
            OnIdle();
        if (Run.ButtonCaption == Run.CloseText)
            Run.Tag = -1;
    }
};

// A program folder with the shipped modules and signature table, the chip
// list built from them, a virtual programmer with a chip in its socket.
class TBench {
public:
    testsupport::TProgramStateGuard State;
    testsupport::TempDir Folder;
    TVirtualProgrammer Programmer;
    TRecordingView View;
    // The run the bench drives: the recording view's, or a real window's.
    TExecuteRun* Runner = &View.Run;
    TDumpBuffer Buffer1;
    TDumpBuffer Buffer2;
    std::vector<std::string> Boxes; // "caption: text" of every message box
    std::function<int(const std::string&)> BoxAnswer; // default: first button
    // Parameter controls' values by name, replacing the module's defaults.
    std::map<std::string, uint32_t> Controls;
    uint32_t Options = wpVerifyAfterWrite | wpCloseAfterRead | wpCloseAfterWrite | wpCloseAfterVerify;

    TBench()
    {
        SetProgramFolder(Folder.path());
        ForceDirectories(Folder.file("scripts"));
        for (const std::string& name : ListFolder(testsupport::DataPath("scripts"), false, true))
            testsupport::WriteFileBytes(Folder.file("scripts/" + name),
                                        testsupport::ReadFileBytes(testsupport::DataPath("scripts/" + name)));
        testsupport::WriteFileBytes(Folder.file("signatures.cfg"),
                                    testsupport::ReadFileBytes(testsupport::DataPath("signatures.cfg")));
        for (const std::string& name : ListFolder(Folder.file("scripts"), false, true))
            if (ExtractFileExt(name) == ".chl")
                ListChips(name);
        SetUsbTransport(std::make_unique<TVirtualUsb>(Programmer));
        PowerOnDelay = 0;
        previousBoxes_ = SetMessageBoxHandler([this](const std::string& text, const std::string& caption, unsigned) {
            Boxes.push_back(caption + ": " + text);
            return BoxAnswer ? BoxAnswer(text) : int{IDOK};
        });
        View.Run.Buffer1 = &Buffer1;
        View.Run.Buffer2 = &Buffer2;
    }
    ~TBench()
    {
        SetMessageBoxHandler(previousBoxes_);
        // The transport reaches Programmer, which goes before State.
        SetUsbTransport(nullptr);
    }

    // Adds a module file (a fixture) to the scripts folder and its chips
    // to the chip list.
    void AddModule(const std::string& path)
    {
        const std::string name = ExtractFileName(path);
        testsupport::WriteFileBytes(Folder.file("scripts/" + name), testsupport::ReadFileBytes(path));
        ListChips(name);
    }

    // Puts a chip with its image in this bench's folder into the socket.
    void Insert(const std::string& chip, TSocketSetup setup = {})
    {
        setup.Chip = chip;
        if (setup.Image.empty())
            setup.Image = Folder.file("chip.bin");
        const std::string error = InsertChip(Programmer.Lines(), setup, &inserted_);
        ASSERT_EQ(error, "");
    }
    template <class T>
    T& Chip()
    {
        return dynamic_cast<T&>(*inserted_);
    }

    // Selects the chip entry whose last level is `name`, sizes the buffers
    // as the module loader does and keeps the module's control defaults.
    void Select(const std::string& name)
    {
        CurrentChip.clear();
        for (const std::string& entry : ChipList)
            if (ExtractFileName(entry) == name)
                CurrentChip = entry;
        ASSERT_FALSE(CurrentChip.empty()) << name;
        module_ = std::make_unique<TModuleInfo>();
        module_->LoadFromFile(NativePath("scripts\\" + ModuleFileList[ChipList.IndexOf(CurrentChip)]));
        Buffer1.SetSize(module_->Buffer1Size);
        Buffer1.EraseBuffer();
        if (!module_->Buffer2Name.empty()) {
            Buffer2.SetSize(module_->Buffer2Size);
            Buffer2.EraseBuffer();
        } else {
            Buffer2.SetSize(-1);
        }
        Controls.clear();
    }
    const TModuleInfo& Module() const { return *module_; }

    // The parameter list as the dispatcher fills it: each control with its
    // value, then the fixed entries.
    void FillParameters()
    {
        ModuleParameters.Clear();
        const TStringList& in = module_->Interface;
        for (int i = 1; i < in.Count(); ++i) {
            if (in[i].empty() || in[i][0] != 'I' || i + 2 >= in.Count())
                continue;
            const std::string& kind = in[i + 1];
            const std::string& name = in[i + 2];
            int end = i + 1;
            while (end < in.Count() && in[end] != "-")
                ++end;
            uint32_t value = 0;
            if (kind == "CHECKBOX" && i + 6 < in.Count())
                value = in[i + 6] == "1" ? 1 : 0;
            else if (kind == "COMBOBOX")
                value = static_cast<uint32_t>(std::stoul(in[end - 1]));
            if (auto c = Controls.find(name); c != Controls.end())
                value = c->second;
            ModuleParameters.AddObject(name, value);
            i = end;
        }
        ModuleParameters.AddObject("ActiveBuffer", 0);
        ModuleParameters.AddObject("WordMode1", 0);
        ModuleParameters.AddObject("WordMode2", 0);
        ModuleParameters.AddObject("GlobalVerify", Options & wpVerifyAfterWrite);
        ModuleParameters.AddObject("ForceCloseAfterWrite", Options & wpCloseAfterWrite);
        ModuleParameters.AddObject("ForceCloseAfterRead", Options & wpCloseAfterRead);
        ModuleParameters.AddObject("ForceCloseAfterVerify", Options & wpCloseAfterVerify);
    }
    uint32_t Parameter(const std::string& name) const
    {
        const int i = ModuleParameters.IndexOf(name);
        return i < 0 ? 0xFFFFFFFF : ModuleParameters.Objects(i);
    }

    // One device operation by its menu caption, at the module's own supply
    // voltage (5.0 V when it names none) unless one is given.
    uint32_t Run(const std::string& caption, int voltageIndex = -1)
    {
        if (voltageIndex < 0) {
            const int own = module_ ? module_->Voltages.IndexOf(module_->Voltage) : -1;
            voltageIndex = own >= 0 ? own : 8;
        }
        Boxes.clear();
        Runner->Lines.clear();
        FillParameters();
        Runner->RunModuleProcedure(caption, voltageIndex);
        return Runner->ExitValue;
    }
    std::string Log() const
    {
        std::string s;
        for (const std::string& line : Runner->Lines)
            s += line + "\n";
        return s;
    }
    bool SupplyOn() { return Programmer.Lines().SupplyOn(); }
    // The contents of the chip in the socket.
    std::vector<uint8_t>& ChipData()
    {
        if (auto* eeprom = dynamic_cast<TChip24Cxx*>(inserted_))
            return eeprom->Image().Data();
        return dynamic_cast<TChip25Flash&>(*inserted_).Image().Data();
    }

    std::vector<uint8_t> Buffer(size_t size) const
    {
        return std::vector<uint8_t>(Buffer1.Data.begin(), Buffer1.Data.begin() + static_cast<std::ptrdiff_t>(size));
    }
    void FillRandom(size_t size, unsigned seed)
    {
        std::mt19937 random(seed);
        for (size_t i = 0; i < size; ++i)
            Buffer1.Data[i] = static_cast<uint8_t>(random());
    }

private:
    // Adds the chips of module file `name` in the scripts folder to the chip list.
    void ListChips(const std::string& name)
    {
        TStringList locations;
        ReadModuleLocation(Folder.file("scripts/" + name), locations);
        for (const std::string& entry : locations) {
            ChipList.Add(entry);
            ModuleFileList.Add(name);
        }
    }

    TSimChip* inserted_ = nullptr;
    std::unique_ptr<TModuleInfo> module_;
    MessageBoxHandler previousBoxes_;
};

} // namespace e2e
