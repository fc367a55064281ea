#pragma once
// The lines of a text dump, read in blocks of a fixed size whether they come
// from a file or from a text in memory, so that no reader ever holds a whole
// file: dumps of large chips run to tens of megabytes of text.
#include "buffer/FileServImage.h"
#include "platform/Files.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// Receives the 0-based index of a line and its characters, blanks trimmed
// from both ends; false stops the reading.
using TDumpLineFunc = std::function<bool(int64_t index, const char* begin, const char* end)>;

// Size of the blocks the lines are read in; the longest line a dump may
// hold. The longest sound record (EEF, 65,531 data bytes) is far shorter.
constexpr size_t DumpLineBlockSize = size_t(1) << 20;

class TDumpLines {
public:
    virtual ~TDumpLines() = default;
    // Calls f for each line from the first one, until f returns false. Lines
    // end at LF or CR LF, or at CR when the first block holds no LF. May be
    // called again to read the lines once more. false when the text cannot
    // be read or a line is longer than a block (error says which).
    bool ForEach(const TDumpLineFunc& f, TDumpError& error) const;

protected:
    explicit TDumpLines(size_t blockSize) : blockSize_(blockSize) {}
    // Starts reading from the beginning; false when that is impossible.
    virtual bool Rewind(std::string& error) const = 0;
    // Up to n next characters at out; the count, 0 at the end; -1 on error.
    virtual int64_t Read(char* out, size_t n, std::string& error) const = 0;

private:
    size_t blockSize_;
};

// A text held by the caller, which must outlive this object.
class TDumpTextLines : public TDumpLines {
public:
    explicit TDumpTextLines(const std::string& text, size_t blockSize = DumpLineBlockSize)
        : TDumpLines(blockSize), text_(text)
    {
    }

private:
    const std::string& text_;
    mutable size_t pos_ = 0;
    bool Rewind(std::string& error) const override;
    int64_t Read(char* out, size_t n, std::string& error) const override;
};

// A file by its code page 1251 program name.
class TDumpFileLines : public TDumpLines {
public:
    explicit TDumpFileLines(const std::string& fileName, size_t blockSize = DumpLineBlockSize);

private:
    std::string fileName_;
    mutable TFileReader file_;
    bool Rewind(std::string& error) const override;
    int64_t Read(char* out, size_t n, std::string& error) const override;
};
