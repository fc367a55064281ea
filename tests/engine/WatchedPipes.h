#pragma once
#include "engine/EnginePipes.h"
#include "engine/EngineTransport.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

// The link to the vprog tool with the test's hands on it: the test acts
// when a command is about to go out or a poll finds no reply, and sees
// every command that went to the tool.
class TWatchedPipes : public TEngineTransport {
public:
    TWatchedPipes(const std::string& folder, int drainWaitMs) : pipes_(folder, drainWaitMs) {}

    std::function<void(const std::vector<uint8_t>&)> BeforeCommand;
    std::function<void()> OnEmptyRead;
    // Called with the count of reply bytes read so far, after each read
    // that brought some.
    std::function<void(size_t)> OnData;
    std::vector<std::vector<uint8_t>> Commands;
    size_t BytesRead = 0;

    bool Claim() override { return pipes_.Claim(); }
    void Release() override { pipes_.Release(); }
    int Open(const std::string& pipeName) override
    {
        const int handle = pipes_.Open(pipeName);
        if (handle >= 0)
            names_[handle] = pipeName;
        return handle;
    }
    std::string OpenError() const override { return pipes_.OpenError(); }
    void Close(int handle) override
    {
        names_.erase(handle);
        pipes_.Close(handle);
    }
    int Write(int handle, const uint8_t* data, int count) override
    {
        if (auto name = names_.find(handle); name != names_.end() && name->second == "01") {
            Commands.emplace_back(data, data + count);
            if (BeforeCommand)
                BeforeCommand(Commands.back());
        }
        return pipes_.Write(handle, data, count);
    }
    int Read(int handle, uint8_t* data, int count) override
    {
        const int n = pipes_.Read(handle, data, count);
        if (n == 0 && OnEmptyRead)
            OnEmptyRead();
        if (n > 0) {
            BytesRead += static_cast<size_t>(n);
            if (OnData)
                OnData(BytesRead);
        }
        return n;
    }
    bool WaitingHelps() const override { return pipes_.WaitingHelps(); }

private:
    TEnginePipes pipes_;
    std::map<int, std::string> names_;
};

// A point of a module's run where a test strikes: just before the n-th
// device procedure start goes out, just before the n-th command block of
// the script goes out (its reply then never comes), or once n reply bytes
// have been read (the rest of a stream).
enum class TFaultPoint { ProcedureStart, Block, ReplyBytes };

// Calls `strike` once, when the run over `link` reaches the point.
inline void StrikeAt(TWatchedPipes& link, TFaultPoint at, size_t nth, std::function<void()> strike)
{
    auto struck = std::make_shared<bool>(false);
    link.BeforeCommand = [=, seen = size_t{0}, scriptRuns = false](const std::vector<uint8_t>& command) mutable {
        if (*struck || at == TFaultPoint::ReplyBytes)
            return;
        // The upload before the script sends blocks of its own; the
        // script's blocks follow its procedure starts.
        const bool start = command == std::vector<uint8_t>{9, 0};
        scriptRuns = scriptRuns || start;
        const bool block = scriptRuns && command.size() >= 3;
        if (((at == TFaultPoint::ProcedureStart && start) || (at == TFaultPoint::Block && block)) && ++seen == nth) {
            *struck = true;
            strike();
        }
    };
    link.OnData = [=](size_t bytes) {
        if (!*struck && at == TFaultPoint::ReplyBytes && bytes >= nth) {
            *struck = true;
            strike();
        }
    };
}
