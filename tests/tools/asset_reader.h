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
    std::vector<uint8_t> bytes;
    int width = 0;
    int height = 0;
    std::array<Colour, 256> palette{};
    std::vector<uint8_t> pixels;  // top-down

    int at(int x, int y) const { return pixels[size_t(y) * width + x]; }
    Colour colour(int x, int y) const { return palette[at(x, y)]; }
};

struct VocFile {
    std::vector<uint8_t> bytes;
    std::vector<uint8_t> samples;
    double seconds() const { return samples.size() / 11025.0; }
};

std::string data_path(const std::string& name);
std::vector<uint8_t> read_bytes(const std::string& path);
uint32_t le16(const std::vector<uint8_t>& b, size_t at);
uint32_t le32(const std::vector<uint8_t>& b, size_t at);

// Loads an 8-bit BMP; fails the calling test (and returns an empty file) if it cannot.
BmpFile load_bmp(const std::string& name);
// Loads a VOC's first sound-data block; fails the calling test if the framing is off.
VocFile load_voc(const std::string& name);

// Rough brightness, 0 … 255.
int luminance(Colour c);
int nearest_index(const std::array<Colour, 256>& palette, Colour c);
int distance_squared(Colour a, Colour b);
