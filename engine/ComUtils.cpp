#include "engine/ComUtils.h"

#include "engine/Global.h"

#include <QSerialPort>
#include <QSerialPortInfo>

#include <termios.h>

#include <algorithm>
#include <map>
#include <memory>

int ComHandle = -1;
TComSettings ComSettings;

namespace {

struct TOpenPort {
    std::unique_ptr<QSerialPort> Port;
    int ReadTimeout = 0;
};

constexpr int ModulePortBaud = 19200;
constexpr int WriteTimeoutPerByte = 100;
constexpr int WriteTimeoutConstant = 100;

std::map<int, TOpenPort>& Ports()
{
    static std::map<int, TOpenPort> ports;
    return ports;
}

TOpenPort* Find(int handle)
{
    auto it = Ports().find(handle);
    return it == Ports().end() ? nullptr : &it->second;
}

// A driver may accept line settings it cannot carry out (a pseudo-terminal
// drops parity); what the terminal holds afterwards is the truth.
bool TerminalHolds(int fd, const TComSettings& s)
{
    termios t{};
    if (tcgetattr(fd, &t) != 0)
        return false;
    static constexpr tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    static constexpr tcflag_t parities[] = {0, PARENB | PARODD, PARENB, PARENB | PARODD | CMSPAR, PARENB | CMSPAR};
    const bool twoStops = s.StopBits != 0;
    return (t.c_cflag & CSIZE) == sizes[s.ByteSize - 5] &&
           (t.c_cflag & (PARENB | PARODD | CMSPAR)) == parities[s.Parity] && ((t.c_cflag & CSTOPB) != 0) == twoStops;
}

bool ApplySettings(QSerialPort& port, const TComSettings& s)
{
    static constexpr QSerialPort::Parity parities[] = {QSerialPort::NoParity, QSerialPort::OddParity,
                                                       QSerialPort::EvenParity, QSerialPort::MarkParity,
                                                       QSerialPort::SpaceParity};
    static constexpr QSerialPort::StopBits stopBits[] = {QSerialPort::OneStop, QSerialPort::OneAndHalfStop,
                                                         QSerialPort::TwoStop};
    static constexpr QSerialPort::FlowControl flows[] = {QSerialPort::NoFlowControl, QSerialPort::HardwareControl,
                                                         QSerialPort::SoftwareControl};
    // Each field the port can take is set, so one it cannot (4-bit bytes,
    // which no terminal here carries) leaves only that field as it was; the
    // result says whether it took all of them.
    bool ok = s.BaudRate > 0 && port.setBaudRate(s.BaudRate);
    ok = s.ByteSize >= 5 && s.ByteSize <= 8 && port.setDataBits(static_cast<QSerialPort::DataBits>(s.ByteSize)) && ok;
    ok = s.Parity >= 0 && s.Parity <= 4 && port.setParity(parities[s.Parity]) && ok;
    ok = s.StopBits >= 0 && s.StopBits <= 2 && port.setStopBits(stopBits[s.StopBits]) && ok;
    ok = s.Flags <= 2 && port.setFlowControl(flows[s.Flags]) && ok;
    return ok && TerminalHolds(static_cast<int>(port.handle()), s);
}

// The four line fields of ComSettings.
void StoreLine(int32_t baud, int32_t byteSize, int32_t parity, int32_t stopBits)
{
    ComSettings.BaudRate = baud;
    ComSettings.ByteSize = byteSize;
    ComSettings.Parity = parity;
    ComSettings.StopBits = stopBits;
}

TComSettings ReadSettings(const QSerialPort& port)
{
    TComSettings s;
    s.BaudRate = port.baudRate();
    s.ByteSize = port.dataBits();
    switch (port.parity()) {
    case QSerialPort::OddParity: s.Parity = 1; break;
    case QSerialPort::EvenParity: s.Parity = 2; break;
    case QSerialPort::MarkParity: s.Parity = 3; break;
    case QSerialPort::SpaceParity: s.Parity = 4; break;
    default: s.Parity = 0; break;
    }
    s.StopBits = port.stopBits() == QSerialPort::OneAndHalfStop ? 1 : port.stopBits() == QSerialPort::TwoStop ? 2 : 0;
    s.Flags = port.flowControl() == QSerialPort::HardwareControl   ? 1
              : port.flowControl() == QSerialPort::SoftwareControl ? 2
                                                                   : 0;
    return s;
}

} // namespace

std::string ComPortPath(const std::string& portName)
{
    const bool comName = portName.size() > 3 && (portName[0] == 'C' || portName[0] == 'c') &&
                         (portName[1] == 'O' || portName[1] == 'o') && (portName[2] == 'M' || portName[2] == 'm') &&
                         std::all_of(portName.begin() + 3, portName.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!comName)
        return portName.empty() || portName[0] == '/' ? portName : "/dev/" + portName;
    const long number = portName.size() > 9 ? 0 : std::stol(portName.substr(3));
    std::vector<std::string> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        devices.push_back(info.systemLocation().toStdString());
    std::sort(devices.begin(), devices.end());
    if (number < 1 || static_cast<size_t>(number) > devices.size())
        return {};
    return devices[static_cast<size_t>(number - 1)];
}

bool OpenComPort(const std::string& portName, int& handle)
{
    handle = -1;
    const std::string path = ComPortPath(portName);
    if (path.empty())
        return false;
    auto port = std::make_unique<QSerialPort>();
    port->setPortName(QString::fromStdString(path));
    if (!port->open(QIODevice::ReadWrite))
        return false;
    const int fd = static_cast<int>(port->handle());
    if (fd < 0)
        return false;
    Ports()[fd] = TOpenPort{std::move(port), 0};
    handle = fd;
    return true;
}

bool SetupComPort(int handle, int32_t baud, int32_t byteSize, int32_t parity, int32_t stopBits, int32_t readTimeout,
                  int32_t queueSize)
{
    TOpenPort* open = Find(handle);
    if (!open)
        return false;
    QSerialPort& port = *open->Port;
    port.setReadBufferSize(std::max(queueSize, 0));
    ComSettings = ReadSettings(port);
    StoreLine(baud, byteSize, parity, stopBits);
    ComSettings.Flags = 0;
    bool ok = ApplySettings(port, ComSettings);
    // A pseudo-terminal has no modem lines; a port that cannot drop them is
    // still usable, so only the line settings decide the result.
    port.setDataTerminalReady(false);
    port.setRequestToSend(false);
    open->ReadTimeout = std::max(readTimeout, 0);
    ok = queueSize >= 0 && readTimeout >= 0 && ok;
    return ok;
}

bool SetComLine(int handle, int32_t baud, int32_t byteSize, int32_t parity, int32_t stopBits)
{
    StoreLine(baud, byteSize, parity, stopBits);
    TOpenPort* open = Find(handle);
    return open && ApplySettings(*open->Port, ComSettings);
}

bool ComReadByte(int handle, uint8_t& b)
{
    TOpenPort* open = Find(handle);
    if (!open)
        return false;
    QSerialPort& port = *open->Port;
    if (port.bytesAvailable() == 0 && !port.waitForReadyRead(open->ReadTimeout))
        return false;
    char c;
    if (port.read(&c, 1) != 1)
        return false;
    b = static_cast<uint8_t>(c);
    return true;
}

bool ComWriteByte(int handle, uint8_t b)
{
    TOpenPort* open = Find(handle);
    if (!open)
        return false;
    const char c = static_cast<char>(b);
    if (open->Port->write(&c, 1) != 1)
        return false;
    return open->Port->waitForBytesWritten(WriteTimeoutConstant + WriteTimeoutPerByte);
}

bool SetComRts(int handle, bool on)
{
    TOpenPort* open = Find(handle);
    return open && open->Port->setRequestToSend(on);
}

bool SetComDtr(int handle, bool on)
{
    TOpenPort* open = Find(handle);
    return open && open->Port->setDataTerminalReady(on);
}

void CloseComPort(int& handle)
{
    Ports().erase(handle);
    handle = -1;
}

bool OpenModuleComPort()
{
    if (OpenComPort(ComName, ComHandle) &&
        SetupComPort(ComHandle, ModulePortBaud, 8, 0, 0, SerialTimeOut, SerialBufferSize))
        return true;
    if (ComHandle != -1)
        CloseComPort(ComHandle);
    return false;
}

std::string ComPortFailedText() { return "Can not open serial port " + ComName; }
