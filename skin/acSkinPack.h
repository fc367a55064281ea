#pragma once
// Reader of packed skins: the options text and image files of a skin in one
// archive (a ".asz" file or a stored skin's data). Only reading exists.
//
// Layout, integers 32-bit little-endian: "ASzf", the entry count, then per
// entry the name length, the name, the unpacked size and one zlib stream.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class EacSkinPack : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TacSkinFile {
    std::string FileName; // as stored
    bool IsBitmap = false; // the upper-cased extension is ".BMP"
    std::string Data;      // unpacked bytes
};

class TacSkinConvertor {
public:
    // Bounds that keep a hostile archive from exhausting memory.
    static constexpr int64_t MaxEntrySize = int64_t(64) << 20;
    static constexpr int64_t MaxTotalSize = int64_t(256) << 20;
    static constexpr int MaxNameLength = 4096;

    int ImageCount = 0; // image entries: all but the options entry
    std::vector<TacSkinFile> Files;
    std::string Options;

    // Unpacks an archive. The bytes are only read, never kept or freed; the
    // caller's data (a stored skin's own) stays with it. Raises EacSkinPack
    // for a wrong signature, an entry that does not fit the bytes or the
    // size bounds, a broken or wrongly sized zlib stream, and for an archive
    // without exactly one options entry; the convertor is then empty.
    void Unpack(std::string_view source);
    void Clear();

    // The first image entry whose upper-cased name equals the given name;
    // nullptr when none does.
    const TacSkinFile* FindFile(const std::string& upperName) const;
};

// Reads and unpacks a ".asz" file (native path). False when the file does
// not exist; raises EacSkinPack as Unpack does.
bool LoadSkinFile(const std::string& nativePath, TacSkinConvertor& convertor);
