#pragma once
// The contents of a simulated chip and the image file that keeps them
// between runs. The file is read once when the chip goes into the socket
// and written back when the chip loses its supply (the programmer switches
// off after every operation) or leaves the socket, so a long write does not
// rewrite the file page by page.
#include <cstdint>
#include <string>
#include <vector>

class TChipImage {
public:
    // `size` bytes, erased to `erased`; the file (a native path, may be
    // empty for a chip without one) is read over them when it exists. A
    // shorter file leaves the rest erased, a longer one is cut.
    TChipImage(size_t size, uint8_t erased, std::string nativePath);

    std::vector<uint8_t>& Data() { return data_; }
    const std::vector<uint8_t>& Data() const { return data_; }
    size_t Size() const { return data_.size(); }
    const std::string& FileName() const { return file_; }

    // Marks the contents changed since the last save.
    void Touch() { dirty_ = true; }
    bool Dirty() const { return dirty_; }
    // Writes the file when the contents changed; false when that failed.
    bool Save();

private:
    std::vector<uint8_t> data_;
    std::string file_;
    bool dirty_ = false;
};
