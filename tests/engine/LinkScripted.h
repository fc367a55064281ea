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
