#include "vprog/VirtualProgrammer.h"

#include "engine/Engine.h"

namespace {

constexpr int UploadBlock = 32;
constexpr int MaxUploadBlocks = TDeviceCpu::CodeSize / UploadBlock;
constexpr uint8_t BlockRefused = 0xEE;
constexpr uint8_t PowerGood = 1;

} // namespace

TVirtualProgrammer::TVirtualProgrammer() : cpu_(lines_, input_, output_) {}

const std::string& TVirtualProgrammer::FirmwareText()
{
    static const std::string text = "Tarku virtual programmer\r\nSimulated firmware 1.0, no hardware attached";
    return text;
}

void TVirtualProgrammer::RunDevice(size_t wantOutput)
{
    if (cpu_.Running()) {
        cpu_.Run(std::min(wantOutput, OutputLimit));
        if (!cpu_.Running())
            input_.Clear();
    }
}

void TVirtualProgrammer::Write(const uint8_t* data, size_t count)
{
    // A running procedure first gets as far as it can: a real controller
    // would have run on while the host was busy.
    RunDevice(OutputLimit);
    for (size_t i = 0; i < count; ++i) {
        if (cpu_.Running()) {
            input_.Push(data + i, count - i);
            RunDevice(OutputLimit);
            return;
        }
        CommandByte(data[i]);
    }
}

size_t TVirtualProgrammer::Read(uint8_t* data, size_t count)
{
    if (output_.Size() < count)
        RunDevice(count);
    return output_.Pop(data, count);
}

bool TVirtualProgrammer::HasOutput()
{
    if (output_.Empty())
        RunDevice(1);
    return !output_.Empty();
}

void TVirtualProgrammer::Control(const uint8_t* data, size_t count)
{
    if (count == 0)
        return;
    cpu_.Abort();
    input_.Clear();
    output_.Clear();
    state_ = TState::Command;
}

void TVirtualProgrammer::Reply(const uint8_t* data, size_t count)
{
    // A host that sends commands and never reads gets no more than a full
    // queue of answers.
    if (output_.Size() + count <= OutputLimit)
        output_.Push(data, count);
}

void TVirtualProgrammer::CommandByte(uint8_t b)
{
    switch (state_) {
    case TState::Command:
        opcode_ = b;
        switch (b) {
        case 0:
            Reply(SerialNumber.data(), SerialNumber.size());
            break;
        case 1: case 2: case 3: case 4: case 5: case 7:
            state_ = TState::Argument;
            break;
        case 6:
            Reply(lines_.Levels());
            break;
        case 8:
            Reply(static_cast<uint8_t>(FirmwareText().size()));
            Reply(reinterpret_cast<const uint8_t*>(FirmwareText().data()), FirmwareText().size());
            break;
        case 9:
            state_ = TState::Nine;
            break;
        default: // no such command: ignored
            break;
        }
        break;
    case TState::Argument:
        state_ = TState::Command;
        Argument(b);
        break;
    case TState::Nine:
        state_ = TState::Command;
        NineCommand(b);
        break;
    case TState::AddressHigh:
        addressHigh_ = b;
        state_ = TState::AddressLow;
        break;
    case TState::AddressLow:
        state_ = TState::Command;
        Reply(UsbProcStarted);
        cpu_.Start(static_cast<uint16_t>((addressHigh_ << 8) | b));
        break;
    case TState::Setting:
        adapterSetting_ = b;
        state_ = TState::Command;
        break;
    case TState::Name:
        if (b == 0) {
            storedName_ = nameBuffer_;
            state_ = TState::Command;
        } else if (nameBuffer_.size() < MaxNameLength) {
            nameBuffer_ += static_cast<char>(b);
        }
        break;
    case TState::Upload:
        UploadByte(b);
        break;
    }
}

void TVirtualProgrammer::Argument(uint8_t b)
{
    switch (opcode_) {
    case 1: lines_.SetSupply(b == 0); break;
    case 2: lines_.SetVoltageCode(b); break;
    case 3: lines_.SetVccLines(b); break;
    case 4: lines_.SetGndLines(b); break;
    case 5: lines_.SetLatch(b); break;
    case 7:
        // A count beyond the code memory is taken block by block but every
        // block is refused, so the host stops and nothing is stored.
        uploadBlocks_ = b;
        uploadRefused_ = b > MaxUploadBlocks;
        uploadFill_ = uploadReceived_ = 0;
        uploadSum_ = 0;
        uploadImage_.fill(0);
        Reply(UsbBlockAck);
        if (uploadBlocks_ == 0)
            Reply(0);
        else
            state_ = TState::Upload;
        break;
    default: break;
    }
}

void TVirtualProgrammer::UploadByte(uint8_t b)
{
    uploadSum_ = static_cast<uint8_t>(uploadSum_ + b);
    if (!uploadRefused_)
        uploadImage_[static_cast<size_t>(uploadReceived_ * UploadBlock + uploadFill_)] = b;
    if (++uploadFill_ < UploadBlock)
        return;
    uploadFill_ = 0;
    ++uploadReceived_;
    Reply(uploadRefused_ ? BlockRefused : UsbBlockAck);
    if (uploadReceived_ < uploadBlocks_)
        return;
    state_ = TState::Command;
    if (uploadRefused_) {
        Reply(static_cast<uint8_t>(~uploadSum_));
        return;
    }
    cpu_.LoadCode(uploadImage_.data(), uploadImage_.size());
    Reply(uploadSum_);
}

void TVirtualProgrammer::NineCommand(uint8_t sub)
{
    switch (sub) {
    case 0:
        Reply(UsbAck);
        state_ = TState::AddressHigh;
        break;
    case 1:
        Reply(UsbAck);
        Reply(lines_.SupplyOn() && !lines_.Overload() ? PowerGood : 0);
        break;
    case 2:
        Reply(UsbAck);
        state_ = TState::Setting;
        break;
    case 3:
        Reply(UsbAck);
        nameBuffer_.clear();
        state_ = TState::Name;
        break;
    case 4:
        Reply(UsbAck);
        Reply(static_cast<uint8_t>(storedName_.size() + 1));
        Reply(reinterpret_cast<const uint8_t*>(storedName_.data()), storedName_.size());
        Reply(0);
        break;
    default: // no such sub-command: ignored
        break;
    }
}
