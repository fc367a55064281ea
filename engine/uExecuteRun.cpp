#include "engine/uExecuteRun.h"

#include "engine/CompAndLoad.h"
#include "engine/ComUtils.h"
#include "engine/Engine.h"
#include "engine/Global.h"
#include "engine/LanguageTexts.h"
#include "engine/Modules.h"
#include "engine/uExecuteLock.h"
#include "engine/uHost.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Pump.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <chrono>

namespace {

// Host instructions between two message pumps of the stepping loop.
constexpr int PumpInterval = 50;
// What a port read gives when nothing came.
constexpr uint32_t NoData = 0x8000;

uint32_t PrintArgument(const std::string& arg, const THost& host)
{
    if (arg[0] == 'R' || arg[0] == 'r') {
        const int64_t n = StrToInt64Def(arg.substr(1), -1);
        return n >= 0 && n < static_cast<int64_t>(host.Vars.size()) ? host.Vars[static_cast<size_t>(n)] : 0;
    }
    return static_cast<uint32_t>(StrToInt64Def(arg, 0));
}

} // namespace

TExecuteRun::TExecuteRun(TExecuteView& view) : view_(view) {}

void TExecuteRun::Pump()
{
    PumpMessages();
    view_.Idle();
}

void TExecuteRun::SetCaption(const std::string& caption)
{
    Caption = caption;
    view_.CaptionChanged();
}

void TExecuteRun::SetButton(const std::string& caption)
{
    ButtonCaption = caption;
    view_.ButtonChanged();
}

void TExecuteRun::ClearLines()
{
    Lines.clear();
    view_.LinesCleared();
}

void TExecuteRun::AddLine(const std::string& line)
{
    Lines.push_back(line);
    view_.LineAdded();
}

void TExecuteRun::ResetWindow()
{
    Tag = 0;
    SetButton(CancelText);
    GaugePosition = 0;
    view_.GaugeChanged();
    ClearLines();
}

void TExecuteRun::btCancelClick()
{
    if (ButtonCaption != CancelText) {
        Tag = -1;
        return;
    }
    const std::string question = CancelQuestion + " \"" + Caption + "\" ?";
    if (ShowMessageBox(question, Caption, MB_YESNO | MB_ICONQUESTION) == IDYES)
        Tag = -1;
}

void TExecuteRun::StopWithError(const std::string& text)
{
    ShowMessageBox(text, "Error", MB_OK | MB_ICONERROR);
    stopTold_ = true;
    Tag = -1;
}

void TExecuteRun::LinkLost()
{
    // A confirmed Cancel ends the link's wait as if it failed: the user
    // asked for the stop and needs no second message about it.
    if (Tag == -1)
        return;
    // The run stops inside the script's USB access, so the module never
    // gets to say what its read left in the buffer: the run says it, in
    // the log and in the box, since the window closes with the box.
    const std::string stopped = ReadStoppedLine();
    if (stopped.empty()) {
        StopWithError(UsbLinkLostText);
        return;
    }
    AddLine(UsbLinkLostText);
    AddLine(stopped);
    StopWithError(std::string(UsbLinkLostText) + "\n" + stopped);
}

std::string TExecuteRun::ReadStoppedLine() const
{
    if (!filled_ || filledEnd_ == 0)
        return std::string();
    // As wide as the modules print the addresses of a buffer this size.
    const int digits = filled_->HoldsAddress(0x10000) ? 8 : 4;
    return "Read stopped at " + IntToHex(filledEnd_, digits) + ": only the bytes before it are the chip's";
}

void TExecuteRun::SayWhereTheReadStopped()
{
    const std::string stopped = ReadStoppedLine();
    if (stopped.empty())
        return;
    AddLine(stopped);
    ShowMessageBox(stopped, Caption, MB_OK | MB_ICONWARNING);
}

bool TExecuteRun::StoppedWhilePowered()
{
    if (Tag != -1)
        return false;
    DevicePowerOff();
    CloseDevice();
    return true;
}

void TExecuteRun::RunModuleProcedure(const std::string& operationIn, int voltageIndex)
{
    // A second run started from inside this one (its pumping lets events
    // through) would share the link and the host machine: refuse it.
    if (RunInProgress())
        return;
    TRunLock lock;
    std::string operation = operationIn;
    // The caller acts on the exit value (a backup, a chip signature): a run
    // that stops before its script ran must not hand on the last run's.
    ExitValue = 0;
    OpenWindow(operation);

    TModuleInfo module;
    std::string name;
    if (ResolveProcedure(operation, module, name) && CompileForRun(name, operation)) {
        // Every run ends with the serial port closed; loading the module
        // opened it for the first run only, so each later run of a module
        // that uses it opens it again. A port that cannot be opened was
        // reported by the load: the script reads no data from it.
        if (module.Uart != 0 && ComHandle == -1)
            OpenModuleComPort();
        // From here on Cancel also ends the link's waits for a programmer
        // that stopped answering.
        UsbStopWaiting = [this] { return Tag == -1; };
        if (PowerUpForRun(name, voltageIndex, module)) {
            StepUntilTheEnd();
            ShowDeviceFault();
            PowerDown();
            WriteBack();
        }
        UsbStopWaiting = nullptr;
        // The script may have opened the serial port; it ends with the run.
        if (ComHandle != -1)
            CloseComPort(ComHandle);
    }
    // A run that stopped on the way (a module name that did not come, a
    // power status that did not) may have left the link open: the
    // programmer is not kept from other programs once the run is over.
    CloseDevice();
    view_.HideWindow();
}

void TExecuteRun::OpenWindow(const std::string& operation)
{
    ClearLines();
    SetCaption(WithoutFirstAmpersand(operation));
    view_.ShowWindow();
    Pump();
}

bool TExecuteRun::ResolveProcedure(std::string& operation, TModuleInfo& module, std::string& name)
{
    const int index = ChipList.IndexOf(CurrentChip);
    if (index < 0 || index >= ModuleFileList.Count()) {
        ShowMessageBox(CurrentChip + " " + MessageText(msgDeviceNotFound), "Tarku", MB_OK | MB_ICONWARNING);
        return false;
    }
    module.LoadFromFile(ProgramFolder() + "\\scripts\\" + ModuleFileList[index]);
    ResetWindow();

    const int stoppedAt = FindProcedureName(operation, module, name);
    if (!name.empty())
        return true;
    if (stoppedAt > 0) {
        const TStringList& entry = module.Menu[static_cast<size_t>(stoppedAt)];
        const std::string caption = entry.Count() > 1 ? entry[1] : std::string();
        ShowMessageBox(MessageText(msgErrorExecuteCommand) + ": " + entry[0], caption, MB_OK | MB_ICONWARNING);
    } else {
        ShowMessageBox(MessageText(msgPatternNotFound) + " \"" + operation + "\".", operation, MB_OK | MB_ICONWARNING);
    }
    return false;
}

int TExecuteRun::FindProcedureName(std::string& operation, const TModuleInfo& module, std::string& name)
{
    if (AnsiUpperCase(operation).rfind("BT", 0) == 0) {
        const size_t bar = operation.find('|');
        name = operation.substr(2, bar == std::string::npos ? std::string::npos : bar - 2);
        SetCaption(name);
        operation = bar == std::string::npos ? std::string() : operation.substr(bar + 1);
        return name.empty() && module.MenuCount > 0 ? 1 : 0;
    }
    // Menu captions are compared without their first "&".
    const std::string wanted = AnsiUpperCase(WithoutFirstAmpersand(operation));
    for (int i = 1; i <= module.MenuCount; ++i) {
        const TStringList& entry = module.Menu[static_cast<size_t>(i)];
        if (entry.Count() > 1 && AnsiUpperCase(WithoutFirstAmpersand(entry[1])) == wanted) {
            name = entry[0];
            return i;
        }
    }
    return 0;
}

bool TExecuteRun::CompileForRun(const std::string& name, const std::string& operation)
{
    TStringList errors;
    const int rc = CompileAndLoadModule(errors);
    if (rc == clChipNotListed)
        ShowMessageBox(CurrentChip + " " + MessageText(msgDeviceNotFound), "Tarku", MB_OK | MB_ICONWARNING);
    else if (rc == clDeviceFailed)
        ShowMessageBox(LinkNotOpenText(), "Tarku", MB_OK | MB_ICONERROR);
    else if (rc < 0)
        view_.ShowCompilerErrors(errors);
    if (rc < 0)
        return false;
    if (!HostMachine->SelectProcedure(name)) {
        ShowMessageBox("Procedure \"" + name + "\" not found.", operation, MB_OK | MB_ICONWARNING);
        return false;
    }
    return true;
}

bool TExecuteRun::PowerUpForRun(const std::string& name, int voltageIndex, const TModuleInfo& module)
{
    if (!HostMachine->UsesDevice)
        return true;
    std::string picture;
    if (!module.Picture.empty())
        picture = NativePath(ProgramFolder() + "\\bmps\\" + module.Picture);
    return PowerUp(name, voltageIndex, module.VccMask, module.GndMask, module.PinTestMask, picture);
}

void TExecuteRun::StepUntilTheEnd()
{
    ExitValue = 0;
    deviceRan_ = false;
    filled_ = nullptr;
    filledEnd_ = 0;
    stopTold_ = false;
    view_.ShowWindow();
    Pump();
    ConnectCallbacks(true);
    HostMachine->ExitValue = 0;
    Pump();
    const bool ended = StepLoop();
    ConnectCallbacks(false);
    // A Cancel closes the window at once: the box is what the user sees.
    if (!ended && !stopTold_)
        SayWhereTheReadStopped();
}

void TExecuteRun::ShowDeviceFault()
{
    // The fault stays with the programmer until its next procedure starts:
    // only a run that started one may report it.
    if (!deviceRan_)
        return;
    const std::string fault = UsbDeviceFault();
    if (!fault.empty())
        AddLine("Device fault: " + fault);
}

void TExecuteRun::PowerDown()
{
    THost& host = *HostMachine;
    if (host.UsesDevice) {
        // A device procedure may still be running (the script stopped
        // while it waited for input): it would take the power-off command
        // as data. Reopening the link resets the firmware to command mode
        // first.
        OpenDevice();
        DevicePowerOff();
    }
    ExitValue = host.ExitValue;
    // A run that ends without an exit value shows its log until Close.
    if (ExitValue == 0 && ButtonCaption == CloseText) {
        while (Tag != -1) {
            WaitForMessages();
            view_.Idle();
        }
    }
    if (host.UsesDevice)
        CloseDevice();
}

void TExecuteRun::WriteBack() { HostMachine->StoreExternalVariables(ModuleParameters); }

void TExecuteRun::ConnectCallbacks(bool connect)
{
    THost& host = *HostMachine;
    if (!connect) {
        // The host machine outlives this run object.
        host.OnPrint = nullptr;
        host.OnSetupUart = nullptr;
        host.OnInPort = host.OnOutPort = nullptr;
        host.OnBufferWrite = host.OnSelectWrite = nullptr;
        host.OnBufferRead = host.OnSelectRead = nullptr;
        host.OnDeviceRun = nullptr;
        host.StopWaiting = nullptr;
        return;
    }
    host.OnPrint = [this](uint32_t r) { OnPrint(r); };
    host.OnSetupUart = [this](uint32_t s) { OnSetupUart(s); };
    host.OnInPort = [this](uint32_t p, uint32_t& v) { OnInPort(p, v); };
    host.OnOutPort = [this](uint32_t p, uint32_t& v) { OnOutPort(p, v); };
    host.OnBufferWrite = [this](int b, uint32_t a, uint32_t v) { OnBufferWrite(b, a, v); };
    host.OnBufferRead = [this](int b, uint32_t a, uint32_t& v) { OnBufferRead(b, a, v); };
    host.OnSelectWrite = [this](int b, uint32_t a, uint32_t v) { OnSelectWrite(b, a, v); };
    host.OnSelectRead = [this](int b, uint32_t a, uint32_t& v) { OnSelectRead(b, a, v); };
    host.OnDeviceRun = [this](uint16_t a) { OnDeviceRun(a); };
    // A confirmed Cancel ends a long DELAY at once instead of after it.
    host.StopWaiting = [this] { return Tag == -1; };
}

bool TExecuteRun::PowerUp(const std::string& name, int voltageIndex, uint8_t vccMask, uint8_t gndMask,
                          uint8_t pinTestMask, const std::string& picture)
{
    if (!OpenDevice()) {
        ShowMessageBox(LinkNotOpenText(), "Tarku", MB_OK | MB_ICONERROR);
        return false;
    }
    const bool testPins =
        (WorkParam & wpPinTestBeforeRun) != 0 && gndMask != 0 && AnsiUpperCase(name) != "INFO" && pinTestMask != 0;
    if (testPins) {
        // The pin test powers the chip itself; its lines follow.
        if (!TestPinsBeforeRun(voltageIndex, gndMask, pinTestMask, picture))
            return false;
        SetGndPins(gndMask);
        SetVccPins(vccMask);
    }
    Pump();
    if (!testPins && !SetDevicePower(vccMask, gndMask, voltageIndex)) {
        CloseDevice();
        ShowMessageBox(MessageText(msgProgrammerNotPresent), "Error", MB_OK | MB_ICONERROR);
        return false;
    }
    return PowerStatusGood();
}

bool TExecuteRun::TestPinsBeforeRun(int voltageIndex, uint8_t gndMask, uint8_t pinTestMask, const std::string& picture)
{
    if (!SetDevicePower(0, 0, voltageIndex)) {
        CloseDevice();
        ShowMessageBox(MessageText(msgProgrammerNotPresent), "Error", MB_OK | MB_ICONERROR);
        return false;
    }
    const int16_t r = TestPins(gndMask);
    const bool failed = (static_cast<uint16_t>(r) & (0xFF00u | pinTestMask)) != 0;
    if (failed) {
        const std::string shown = !picture.empty() && FileExists(picture) ? picture : std::string();
        if (!view_.ShowPinTester(r, gndMask, shown)) {
            DevicePowerOff();
            CloseDevice();
            return false;
        }
    } else {
        AddLine("Pin test OK.");
    }
    // The levels of the test's last round stay: a device procedure sets
    // the lines it uses before it uses them.
    return true;
}

bool TExecuteRun::PowerStatusGood()
{
    // In 1 ms steps, so a confirmed Cancel switches the supply off at once;
    // against the clock, since each step sleeps a little longer than asked.
    const auto settled = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(PowerOnDelay, 0));
    while (Tag != -1 && std::chrono::steady_clock::now() < settled) {
        PumpingSleep(1);
        view_.Idle();
    }
    if (StoppedWhilePowered())
        return false;
    uint8_t status = 0;
    if (!ReadDeviceStatus(status)) {
        if (StoppedWhilePowered())
            return false;
        DevicePowerOff();
        ShowMessageBox(MessageText(msgProgrammerNotPresent), "Tarku", MB_OK | MB_ICONERROR);
        return false;
    }
    if (status == 0 && (WorkParam & wpIgnoreOverload) == 0) {
        DevicePowerOff();
        CloseDevice();
        ShowMessageBox(MessageText(msgPowerOverload), "Tarku", MB_OK | MB_ICONWARNING);
        return false;
    }
    return true;
}

bool TExecuteRun::StepLoop()
{
    THost& host = *HostMachine;
    pumpCounter_ = PumpInterval;
    for (;;) {
        const int result = host.Step();
        if (result == THost::StepEnded) {
            SetButton(CloseText);
            return true;
        }
        if (result == THost::StepFault) {
            // Going on would run whatever follows the faulty instruction.
            // A block the link did not take is a lost link like any other.
            if (host.RunError == UsbLinkLostText)
                LinkLost();
            else
                StopWithError(host.RunError.empty() ? std::string("Host program stopped.") : host.RunError);
            return false;
        }
        if (--pumpCounter_ <= 0) {
            pumpCounter_ = PumpInterval;
            Pump();
        }
        if (Tag == -1)
            return false;
    }
}

// ---- callbacks ----

std::string TExecuteRun::PrintText(uint32_t record) const
{
    const THost* host = HostMachine;
    if (!host || record >= static_cast<uint32_t>(host->PrintRecords.Count()))
        return std::string();
    const TStringList& records = host->PrintRecords;
    const std::string& quoted = records[static_cast<int>(record)];
    std::string text = quoted.size() >= 2 ? quoted.substr(1, quoted.size() - 2) : std::string();
    int next = static_cast<int>(record) + 1;
    for (;;) {
        const size_t p = text.find('%');
        if (p == std::string::npos || next >= records.Count())
            break;
        const std::string& arg = records[next++];
        if (arg.empty())
            break;
        const uint32_t v = PrintArgument(arg, *host);
        // A "%" at the very end has no specifier: like an unknown one it
        // stays and uses up the argument.
        const char spec = p + 1 < text.size() ? static_cast<char>(AnsiUpperChar(static_cast<unsigned char>(text[p + 1])))
                                              : '\0';
        std::string by;
        switch (spec) {
        case 'B': by = IntToHex(v & 0xFF, 2); break;
        case 'C': by = std::string(1, static_cast<char>(v & 0xFF)); break;
        case 'D': by = IntToHex(v, 8); break;
        case 'H': by = IntToHex(v & 0xFFFF, 4); break;
        case 'I': by = IntToStr(static_cast<int32_t>(v)); break;
        default: continue;
        }
        text.replace(p, 2, by);
    }
    return text;
}

void TExecuteRun::OnPrint(uint32_t record)
{
    const std::string text = PrintText(record);
    const bool replace = text.rfind("\\r", 0) == 0;
    const bool append = text.rfind("\\;", 0) == 0;
    // Without a line to change, the rest starts a line of its own.
    if ((replace || append) && !Lines.empty()) {
        Lines.back() = replace ? text.substr(2) : Lines.back() + text.substr(2);
        view_.LastLineChanged();
    } else if (replace || append) {
        AddLine(text.substr(2));
    } else {
        AddLine(text);
    }
}

void TExecuteRun::OnSetupUart(uint32_t w)
{
    const bool taken = SetComLine(ComHandle, static_cast<int32_t>(w >> 12), static_cast<int32_t>((w >> 8) & 0xF),
                                  static_cast<int32_t>((w >> 4) & 0xF), static_cast<int32_t>(w & 0xF));
    // The script goes on either way; the log says why its bytes may come
    // out garbled. Without a port the load has said so already.
    if (!taken && ComHandle != -1)
        AddLine(SerialSettingsRefusedText);
}

void TExecuteRun::OnInPort(uint32_t port, uint32_t& value)
{
    switch (port) {
    case 0: {
        uint8_t b = 0;
        const int rc = DeviceReadByte(b);
        if (rc == 0)
            value = b;
        else if (rc == 1)
            value = NoData;
        else
            LinkLost();
        break;
    }
    case 1: value = GaugePosition; break;
    case 2: value = GaugeMax; break;
    case 3: {
        uint8_t b = 0;
        if (ComHandle != -1 && ComReadByte(ComHandle, b)) {
            value = b;
        } else {
            value = NoData;
            Pump();
            pumpCounter_ = PumpInterval;
        }
        break;
    }
    default: break;
    }
}

void TExecuteRun::OnOutPort(uint32_t port, uint32_t& value)
{
    switch (port) {
    case 0:
        if (!DeviceWriteByte(static_cast<uint8_t>(value)))
            LinkLost();
        break;
    case 1:
        GaugePosition = value;
        view_.GaugeChanged();
        break;
    case 2:
        GaugeMax = value;
        view_.GaugeChanged();
        break;
    case 3:
        if (ComHandle != -1)
            ComWriteByte(ComHandle, static_cast<uint8_t>(value));
        break;
    case 4:
    case 5:
        if (ComHandle != -1) {
            if (port == 4)
                SetComRts(ComHandle, value != 0);
            else
                SetComDtr(ComHandle, value != 0);
            Pump();
        }
        break;
    default: break;
    }
}

TExecuteBuffer* TExecuteRun::CheckedBuffer(int buffer, uint32_t address)
{
    TExecuteBuffer* target = buffer == 0 ? Buffer1 : Buffer2;
    if (target && target->HoldsAddress(address))
        return target;
    // A script address outside the buffer would reach memory that is not
    // the buffer's: the run stops instead.
    StopWithError("Address 0x" + IntToHex(address, 8) + " is outside buffer " + (buffer == 0 ? "1" : "2") + ".");
    return nullptr;
}

void TExecuteRun::OnBufferWrite(int buffer, uint32_t address, uint32_t value)
{
    TExecuteBuffer* b = CheckedBuffer(buffer, address);
    if (!b)
        return;
    b->WriteByte(address, static_cast<uint8_t>(value));
    if (b != filled_) {
        filled_ = b;
        filledEnd_ = 0;
    }
    filledEnd_ = std::max(filledEnd_, static_cast<int64_t>(address) + 1);
}

void TExecuteRun::OnBufferRead(int buffer, uint32_t address, uint32_t& value)
{
    if (TExecuteBuffer* b = CheckedBuffer(buffer, address))
        value = b->ReadByte(address);
}

void TExecuteRun::OnSelectWrite(int buffer, uint32_t address, uint32_t value)
{
    if (TExecuteBuffer* b = CheckedBuffer(buffer, address))
        b->WriteMatch(address, value != 0);
}

void TExecuteRun::OnSelectRead(int buffer, uint32_t address, uint32_t& value)
{
    if (TExecuteBuffer* b = CheckedBuffer(buffer, address))
        value = b->ReadMatch(address) ? 1 : 0;
}

void TExecuteRun::OnDeviceRun(uint16_t address)
{
    deviceRan_ = true;
    if (!RunDeviceProcedure(address))
        LinkLost();
}
