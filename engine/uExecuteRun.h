#pragma once
// The run of one module procedure: compile and upload, pin test, power,
// stepping the host machine with its nine callbacks, power off and the
// parameters written back. The run keeps the state its window shows (caption,
// log lines, gauge, button) and tells a TExecuteView what changed, so the
// whole routine runs without widgets as well as in TfmExecute.
#include "engine/uExecuteBuffer.h"
#include "platform/StringList.h"

#include <cstdint>
#include <string>
#include <vector>

// What the run needs of its window.
class TModuleInfo;

// The log line of a SETUPUART whose settings the open port did not take.
inline constexpr const char* SerialSettingsRefusedText = "The serial port did not take the line settings.";

class TExecuteView {
public:
    virtual ~TExecuteView() = default;

    virtual void ShowWindow() = 0;
    virtual void HideWindow() = 0;
    virtual void CaptionChanged() {}
    virtual void LinesCleared() {}
    virtual void LineAdded() {}
    virtual void LastLineChanged() {}
    virtual void GaugeChanged() {}
    virtual void ButtonChanged() {}

    // The pin tester in run mode after a failed pin test: result and mask of
    // the test, the native path of the chip picture (empty: none). True when
    // the user goes on, false on Cancel.
    virtual bool ShowPinTester(int16_t result, uint8_t mask, const std::string& picture) = 0;
    virtual void ShowCompilerErrors(const TStringList& errors) = 0;

    // Called wherever the run pumps messages, after the pump.
    virtual void Idle() {}
};

class TExecuteRun {
public:
    explicit TExecuteRun(TExecuteView& view);

    // Texts, taken from the language tables when the window is created.
    std::string CloseText = "Close";
    std::string CancelText = "Cancel";
    std::string CancelQuestion = "Are you sure to cancel ";

    // The buffers the script reaches: buffer 1 and buffer 2 (null or empty
    // when the module has none). The caller repaints them after the run.
    TExecuteBuffer* Buffer1 = nullptr;
    TExecuteBuffer* Buffer2 = nullptr;

    // Window state.
    std::string Caption;
    std::string ButtonCaption;
    std::vector<std::string> Lines;
    uint32_t GaugePosition = 0;
    uint32_t GaugeMax = 100;
    // The stop flag: -1 stops the run (cancel confirmed, Close pressed, or an
    // error during stepping).
    int32_t Tag = 0;
    // The host machine's exit value of the last run: 0x7FFFFFFF asks for a
    // backup, another non-zero value is a chip signature.
    uint32_t ExitValue = 0;

    // Runs the procedure of a device menu caption, or of "BT" + procedure +
    // "|" + caption (a module button), at the supply voltage of the index.
    void RunModuleProcedure(const std::string& operation, int voltageIndex);

    // The window's button: Cancel asks first, Close stops at once.
    void btCancelClick();

    // The host machine's callbacks.
    void OnPrint(uint32_t record);
    void OnSetupUart(uint32_t settings);
    void OnInPort(uint32_t port, uint32_t& value);
    void OnOutPort(uint32_t port, uint32_t& value);
    void OnBufferWrite(int buffer, uint32_t address, uint32_t value);
    void OnBufferRead(int buffer, uint32_t address, uint32_t& value);
    void OnSelectWrite(int buffer, uint32_t address, uint32_t value);
    void OnSelectRead(int buffer, uint32_t address, uint32_t& value);
    void OnDeviceRun(uint16_t address);

    // Log lines as OnPrint writes them.
    void AddLine(const std::string& line);
    void ClearLines();

    // The print text of record `record` with its arguments filled in; the
    // text of a record that does not exist is empty.
    std::string PrintText(uint32_t record) const;

private:
    // The steps of RunModuleProcedure. Those giving bool stop the run with
    // false, after a box or a window has told the user why.
    void OpenWindow(const std::string& operation);
    // The module of the current chip and the procedure the operation names;
    // a button's operation is cut down to its caption.
    bool ResolveProcedure(std::string& operation, TModuleInfo& module, std::string& name);
    // The procedure's name, and the menu entry the search stopped at (0 for
    // none), which names a menu entry without a procedure.
    int FindProcedureName(std::string& operation, const TModuleInfo& module, std::string& name);
    // The module compiled and uploaded, and the procedure selected.
    bool CompileForRun(const std::string& name, const std::string& operation);
    bool PowerUpForRun(const std::string& name, int voltageIndex, const TModuleInfo& module);
    void StepUntilTheEnd();
    // After a run stopped before its script ended without a box of its own
    // (Cancel, Esc): the log and a box say where the chip's bytes end.
    void SayWhereTheReadStopped();
    // "Read stopped at ..." for the buffer the script was filling; empty
    // when it wrote no byte.
    std::string ReadStoppedLine() const;
    // A fault of the device code the run started, as a log line.
    void ShowDeviceFault();
    void PowerDown();
    void WriteBack();

    void Pump();
    void SetCaption(const std::string& caption);
    void SetButton(const std::string& caption);
    void ResetWindow();
    // Link, pin test, supply and power status; false when the run stops
    // there (a box has been shown).
    bool PowerUp(const std::string& name, int voltageIndex, uint8_t vccMask, uint8_t gndMask, uint8_t pinTestMask,
                 const std::string& picture);
    // The supply on with no line switched, the contacts tested and a failed
    // test shown in the pin tester; false when the run stops.
    bool TestPinsBeforeRun(int voltageIndex, uint8_t gndMask, uint8_t pinTestMask, const std::string& picture);
    // After the supply settled: false, with the link closed as the failure
    // needs, on a lost link or an overload not to be ignored.
    bool PowerStatusGood();
    void ConnectCallbacks(bool connect);
    // True when the procedure ended, false when the run stopped it.
    bool StepLoop();
    void StopWithError(const std::string& text);
    // The programmer stopped answering during stepping.
    void LinkLost();
    // After a wait with the supply on: true, with the supply off and the
    // link closed, when Cancel was confirmed.
    bool StoppedWhilePowered();
    TExecuteBuffer* CheckedBuffer(int buffer, uint32_t address);

    TExecuteView& view_;
    int pumpCounter_ = 0;
    // Whether this run started a device procedure.
    bool deviceRan_ = false;
    // The buffer the script wrote last and the end of what it wrote there:
    // a read fills its buffer from the start, so the end is where the
    // chip's bytes end when the run stops it.
    const TExecuteBuffer* filled_ = nullptr;
    int64_t filledEnd_ = 0;
    // Whether a box has told why the run stopped.
    bool stopTold_ = false;
};
