// Reads the generated data files back, checking their framing on the way.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct Colour {
    int r, g, b;
    bool operator==(const Colour& o) const { return r == o.r && g == o.g && b == o.b; }
};

struct BmpFile {
    int width = 0;
    int height = 0;
    std::array<Colour, 256> palette{};
    std::vector<uint8_t> pixels;  // top-down

    int at(int x, int y) const { return pixels[size_t(y) * width + x]; }
    Colour colour(int x, int y) const { return palette[at(x, y)]; }
};

struct VocFile {
    size_t file_bytes = 0;
    std::vector<uint8_t> samples;
};

std::string data_path(const std::string& name);
std::vector<uint8_t> read_bytes(const std::string& path);

// Loads an 8-bit BMP in the standard layout (256-entry table, pixels at 1,078, bottom-up, no row
// padding); fails the calling test and returns an empty file if it is not one.
BmpFile load_bmp(const std::string& name);
// Loads a VOC of one sound-data block (time constant 165, 8-bit) and its terminator; fails the
// calling test and returns no samples if the framing is off.
VocFile load_voc(const std::string& name);

// Rough brightness, 0 … 255.
int luminance(Colour c);
int distance_squared(Colour a, Colour b);
int nearest_index(const std::array<Colour, 256>& palette, Colour c);
