#pragma once
// The link to the programmer: its three pipe files (replies "00", commands
// "01", control "02") and the command protocol its firmware answers. Free
// routines on program-wide state; every wait polls in 1 ms steps and pumps
// messages so the windows stay alive. No routine shows a message: each
// returns its result and the caller reports.
#include "engine/EngineTransport.h"
#include "platform/StringList.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

// Pipe handles of the open link; -1 while closed.
extern int UsbOutHandle;     // "01": commands
extern int UsbInHandle;      // "00": replies
extern int UsbControlHandle; // "02": control

// Size of the device code image the firmware holds.
constexpr int DeviceCodeSize = 2048;
// Bytes gathered between BeginBlock and EndBlock before they must be sent.
constexpr int UsbBlockSize = 260;
// Acknowledgement of the 9-commands and the end mark of a procedure start.
constexpr uint8_t UsbAck = 0x6F;          // "o"
constexpr uint8_t UsbProcStarted = 0x55;  // "U"
constexpr uint8_t UsbBlockAck = 0xBB;
// Longest module name the name read can give back.
constexpr size_t MaxModuleNameLength = 254;

// What the user is told when the programmer stops answering on its pipes:
// one closed, a read or a send failing.
constexpr const char* UsbLinkLostText = "Tarku not present.";

// The transport under the link. The program installs one at start-up (the
// in-process virtual programmer unless the settings name a pipe folder);
// without one every open fails. Installing closes the link first.
void SetUsbTransport(std::unique_ptr<TEngineTransport> transport);
TEngineTransport* UsbTransport();

// OpenDevice takes the programmer for this program first (another program
// holding it fails the open) and keeps it across the reopens of one use;
// CloseDevice lets it go.
bool OpenDevice();
void CloseDevice();
// After an OpenDevice that failed: what was missing, when the transport can
// tell (a pipe folder, a pipe file, a server), or UsbInUseText; empty
// otherwise.
std::string UsbOpenError();
// After an OpenDevice that failed: another program holds the programmer.
bool UsbInUse();

constexpr const char* UsbInUseText = "The programmer is in use by another program.";

// Asked at every poll while the link waits for a reply: true ends the wait
// at once, as a time-out, so a stop request (a confirmed Cancel) does not
// wait for a programmer that stopped answering. Null asks nothing.
extern std::function<bool()> UsbStopWaiting;

// Why the device procedure last run on the programmer stopped (a fault of
// the device code), as the transport can tell; empty otherwise.
std::string UsbDeviceFault();

// 0 with the byte, 1 when no byte came within UsbTimeOut polls (or the wait
// was stopped), -1 when the reply pipe is closed, a read fails or the
// programmer has gone.
int DeviceReadByte(uint8_t& b);
// In block mode the byte is gathered (a full block is sent first);
// otherwise it is written at once.
bool DeviceWriteByte(uint8_t b);
void BeginBlock();
// Sends the gathered bytes in one write; false when that write fails.
bool EndBlock();
bool UsbBlockMode();

bool DevicePowerOn();
bool DevicePowerOff();
bool SetVoltageCode(uint8_t code);
bool SetVccPins(uint8_t mask);
bool SetGndPins(uint8_t mask);
void SetOutputLevels(uint8_t levels);

// Supply voltage code of an index into the nine supply voltages.
uint8_t VoltageCode(int voltageIndex);

// Uploads `length` code bytes of the image in acknowledged 32-byte blocks.
// 0 done, -1 the command was not written (or the length does not fit the
// image), -3 a reply timed out or failed, -4 a block was not acknowledged
// or the checksum differs.
int UploadCode(std::span<const uint8_t> image, int length);

// Starts the device procedure at a code address; true once the firmware
// reported the start. Discards bytes gathered in block mode.
bool RunDeviceProcedure(uint16_t address);

// Supply on at the voltage of the index, with the given ground and supply
// lines; the adapter set-up first when the loaded module asks for it.
bool SetDevicePower(uint8_t vccMask, uint8_t gndMask, int voltageIndex);

// Opens the link and reads the firmware's information text into lines;
// the link stays open.
bool ReadFirmwareInfo(TStringList& lines);
// Power status; 0 means overload or no supply.
bool ReadDeviceStatus(uint8_t& status);
// Pin contact test against the ground lines in mask: -1 when the chip is
// missing, its ground has no contact, or the link failed before the line
// rounds; else a set bit for each line whose contact was not confirmed.
int16_t TestPins(uint8_t mask);
// Store and read the name of the module whose code the programmer holds.
// Each opens the link and closes it after success. The store awaits no
// answer. The name read is answered with a length byte that counts the
// terminating 0, so no name longer than MaxModuleNameLength comes back.
bool StoreModuleName(const std::string& name);
bool ReadModuleName(std::string& name);
// The programmer's six-byte serial number.
bool ReadSerialNumber(uint8_t (&serial)[6]);
