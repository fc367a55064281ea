#pragma once
// A minimal PNG writer for the pictures drawn into the program: 8-bit RGBA,
// no interlace, every row with filter 0.
#include <cstdint>
#include <string>
#include <vector>

struct TRgbaPicture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba; // row by row, top first, four bytes a pixel

    TRgbaPicture(int w, int h) : width(w), height(h), rgba(size_t(w) * size_t(h) * 4, 0) {}
    uint8_t* at(int x, int y) { return rgba.data() + (size_t(y) * size_t(width) + size_t(x)) * 4; }
};

std::string EncodePng(const TRgbaPicture& picture);
