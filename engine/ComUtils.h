#pragma once
// The serial port of modules that talk to a target besides the programmer.
// One open port at a time in practice; handles are what OpenComPort gives.
#include <cstdint>
#include <string>

// Line settings as the port keeps them. Parity: 0 none, 1 odd, 2 even,
// 3 mark (always 1), 4 space (always 0). Stop bits: 0 one, 1 one and a half,
// 2 two. Flags: the flow control, 0 none (the only value set-up writes),
// 1 hardware, 2 software.
struct TComSettings {
    int32_t BaudRate = 0;
    int32_t ByteSize = 0;
    int32_t Parity = 0;
    int32_t StopBits = 0;
    uint32_t Flags = 0;
};

// Handle of the open port; -1 when closed.
extern int ComHandle;
// The record read from the port at set-up and changed by SetComLine.
extern TComSettings ComSettings;

// The device path of a port name: "COM<n>" is the n-th serial device of the
// system (so the default "COM1" is the first); any other name is a device
// path or a name under /dev. Empty when a "COM<n>" has no such device.
std::string ComPortPath(const std::string& portName);

// Opens the port for reading and writing, not shared; false (handle -1)
// when it cannot be opened.
bool OpenComPort(const std::string& portName, int& handle);
// Queue sizes, line settings with no flow control and DTR and RTS low, and
// the time-outs: reads wait readTimeout ms, writes 100 ms plus 100 ms per
// byte. False when any part of it was refused by the port.
bool SetupComPort(int handle, int32_t baud, int32_t byteSize, int32_t parity, int32_t stopBits, int32_t readTimeout,
                  int32_t queueSize);
// Sets the four line fields of ComSettings and writes the record to the port.
bool SetComLine(int handle, int32_t baud, int32_t byteSize, int32_t parity, int32_t stopBits);

// One byte with the read time-out of the set-up: true with the byte, false
// when none came in time or the port failed.
bool ComReadByte(int handle, uint8_t& b);
bool ComWriteByte(int handle, uint8_t b);
bool SetComRts(int handle, bool on);
bool SetComDtr(int handle, bool on);
// Closes the port and sets the handle to -1.
void CloseComPort(int& handle);

// The port of a module that uses one, as loading the module and each run of
// it open it: the port the settings name (ComName) at 19200 baud, 8 data
// bits, no parity, one stop bit, with the read time-out and queue size of
// the settings. False when it cannot be opened or set up: the port stays
// closed and the caller goes on without it.
bool OpenModuleComPort();
// What loading a module says when OpenModuleComPort failed.
std::string ComPortFailedText();
