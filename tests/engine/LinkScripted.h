#pragma once
// A transport whose device side is scripted by the test: it records every
// packet the link writes and hands out queued reply bytes.
#include "engine/Engine.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

struct TScriptedTransport : TEngineTransport {
    struct TPacket {
        int Pipe;
        std::vector<uint8_t> Bytes;
    };

    // Device behaviour the test sets.
    std::vector<std::string> Missing;  // pipes that fail to open
    std::deque<uint8_t> Replies;       // bytes the reply pipe holds
    int ReadChunk = 256;               // most bytes one read returns
    bool ReadsFail = false;
    bool WritesFail = false;
    bool Waits = true;                 // WaitingHelps
    // Called with each packet written to the command pipe; may queue replies.
    std::function<void(const std::vector<uint8_t>&)> OnCommand;

    // What the link did.
    std::vector<std::string> Opened;
    std::vector<TPacket> Packets;
    int Reads = 0;
    int OpenHandles = 0;

    int Open(const std::string& name) override
    {
        Opened.push_back(name);
        for (const std::string& m : Missing)
            if (m == name)
                return -1;
        ++OpenHandles;
        return name == "00" ? 0 : name == "01" ? 1 : 2;
    }
    void Close(int) override { --OpenHandles; }
    int Write(int handle, const uint8_t* data, int count) override
    {
        if (WritesFail)
            return -1;
        Packets.push_back({handle, std::vector<uint8_t>(data, data + count)});
        if (handle == 1 && OnCommand)
            OnCommand(Packets.back().Bytes);
        return count;
    }
    int Read(int, uint8_t* data, int count) override
    {
        ++Reads;
        if (ReadsFail)
            return -1;
        int n = 0;
        while (n < count && n < ReadChunk && !Replies.empty()) {
            data[n++] = Replies.front();
            Replies.pop_front();
        }
        return n;
    }
    bool WaitingHelps() const override { return Waits; }

    void Queue(std::initializer_list<uint8_t> bytes) { Replies.insert(Replies.end(), bytes); }
    void Queue(const std::string& bytes) { Replies.insert(Replies.end(), bytes.begin(), bytes.end()); }

    // Packets written to the command pipe, in order.
    std::vector<std::vector<uint8_t>> Commands() const
    {
        std::vector<std::vector<uint8_t>> out;
        for (const TPacket& p : Packets)
            if (p.Pipe == 1)
                out.push_back(p.Bytes);
        return out;
    }
};

// A scripted device that answers like the firmware where the module name
// and code uploads are concerned, and counts what it was asked.
struct TScriptedFirmware {
    std::string Name;
    int NameReads = 0;
    int NameStores = 0;
    int Uploads = 0;       // completed uploads
    bool RefuseBlocks = false;
    // Characters of a name it keeps; the rest is dropped, as the firmware
    // does.
    size_t NameRoom = 254;
    std::vector<uint8_t> Code;

    void Attach(TScriptedTransport* t)
    {
        t->OnCommand = [this, t](const std::vector<uint8_t>& p) { Answer(t, p); };
    }

private:
    void Answer(TScriptedTransport* t, const std::vector<uint8_t>& p)
    {
        if (storing_) {
            for (uint8_t b : p) {
                if (b == 0) {
                    storing_ = false;
                    Name = pending_;
                } else if (pending_.size() < NameRoom) {
                    pending_ += static_cast<char>(b);
                }
            }
            return;
        }
        if (blocks_ > 0 && p.size() == 32) {
            received_.insert(received_.end(), p.begin(), p.end());
            t->Queue({RefuseBlocks ? uint8_t{0x11} : uint8_t{0xBB}});
            if (RefuseBlocks)
                blocks_ = 0;
            if (received_.size() == 32 * blocks_) {
                uint8_t sum = 0;
                for (uint8_t b : received_)
                    sum = static_cast<uint8_t>(sum + b);
                t->Queue({sum});
                Code = received_;
                blocks_ = 0;
                ++Uploads;
            }
            return;
        }
        if (p.size() == 2 && p[0] == 7) {
            blocks_ = p[1];
            received_.clear();
            t->Queue({0xBB});
        } else if (p == std::vector<uint8_t>{9, 3}) {
            t->Queue({'o'});
            storing_ = true;
            pending_.clear();
            ++NameStores;
        } else if (p == std::vector<uint8_t>{9, 4}) {
            ++NameReads;
            t->Queue({'o', static_cast<uint8_t>(Name.size() + 1)});
            t->Queue(Name);
            t->Queue({0});
        }
    }

    bool storing_ = false;
    std::string pending_;
    size_t blocks_ = 0;
    std::vector<uint8_t> received_;
};
