#pragma once
// Writes packed skins for tests: the archive layout the reader takes, with
// room to break any field.
#include <zlib.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct TPackEntry {
    std::string name;
    std::string data;
};

inline void PutInt32(std::string& out, int32_t v)
{
    for (int i = 0; i < 4; ++i)
        out += char((uint32_t(v) >> (8 * i)) & 0xFF);
}

inline std::string Deflate(const std::string& data)
{
    uLongf size = compressBound(uLong(data.size()));
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.data()),
              uLong(data.size()), 9);
    out.resize(size);
    return out;
}

// One entry; statedSize < 0 states the true size.
inline std::string PackEntry(const TPackEntry& e, int32_t statedSize = -1)
{
    std::string out;
    PutInt32(out, int32_t(e.name.size()));
    out += e.name;
    PutInt32(out, statedSize < 0 ? int32_t(e.data.size()) : statedSize);
    out += Deflate(e.data);
    return out;
}

inline std::string PackSkin(const std::vector<TPackEntry>& entries)
{
    std::string out = "ASzf";
    PutInt32(out, int32_t(entries.size()));
    for (const TPackEntry& e : entries)
        out += PackEntry(e);
    return out;
}
