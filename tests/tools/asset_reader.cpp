#include "asset_reader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

uint32_t le16(const std::vector<uint8_t>& b, size_t at) {
    return at + 2 <= b.size() ? uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 : 0;
}

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
    return le16(b, at) | le16(b, at + 2) << 16;
}

}  // namespace

std::string data_path(const std::string& name) {
    return std::string(CELLSTORM_BIN_DIR) + "/" + name;
}

std::vector<uint8_t> read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

BmpFile load_bmp(const std::string& name) {
    SCOPED_TRACE(name);
    const std::vector<uint8_t> b = read_bytes(data_path(name));
    BmpFile f;
    f.width = int(le32(b, 18));
    f.height = int(int32_t(le32(b, 22)));  // positive: rows run bottom-up
    const uint32_t used = le32(b, 46);
    const bool standard = b.size() >= 1078 && b[0] == 'B' && b[1] == 'M' &&
                          le32(b, 2) == b.size() && le32(b, 10) == 1078 && le32(b, 14) == 40 &&
                          le16(b, 26) == 1 && le16(b, 28) == 8 && le32(b, 30) == 0 &&
                          (used == 0 || used == 256) && f.width > 0 && f.width % 4 == 0 &&
                          f.height > 0 && b.size() == 1078 + size_t(f.width) * size_t(f.height);
    EXPECT_TRUE(standard) << "not a standard 8-bit BMP of " << b.size() << " bytes";
    if (!standard) {
        return BmpFile{};
    }
    for (int i = 0; i < 256; ++i)
        f.palette[i] = Colour{b[54 + i * 4 + 2], b[54 + i * 4 + 1], b[54 + i * 4]};
    f.pixels.resize(size_t(f.width) * size_t(f.height));
    for (int y = 0; y < f.height; ++y)
        std::copy_n(&b[1078 + size_t(f.height - 1 - y) * f.width], f.width,
                    &f.pixels[size_t(y) * f.width]);
    return f;
}

VocFile load_voc(const std::string& name) {
    SCOPED_TRACE(name);
    const std::vector<uint8_t> b = read_bytes(data_path(name));
    const uint32_t length = le32(b, 26) >> 8;
    const uint32_t version = le16(b, 22);
    const bool framed =
        b.size() >= 33 &&
        std::string(b.begin(), b.begin() + 20) == std::string("Creative Voice File\x1A") &&
        le16(b, 20) == 26 && version == 0x010A && le16(b, 24) == ((~version + 0x1234) & 0xFFFF) &&
        b[26] == 1 && b[30] == 165 && b[31] == 0 && length >= 3 &&
        b.size() == 26 + 4 + size_t(length) + 1 && b.back() == 0;
    EXPECT_TRUE(framed) << "not one 8-bit sound block at 11,025 Hz and a terminator";
    VocFile f;
    f.file_bytes = b.size();
    if (framed) {
        f.samples.assign(b.begin() + 32, b.begin() + 32 + (length - 2));
    }
    return f;
}

int luminance(Colour c) {
    return (c.r * 299 + c.g * 587 + c.b * 114) / 1000;
}

int distance_squared(Colour a, Colour b) {
    return (a.r - b.r) * (a.r - b.r) + (a.g - b.g) * (a.g - b.g) + (a.b - b.b) * (a.b - b.b);
}

int nearest_index(const std::array<Colour, 256>& palette, Colour c) {
    int best = 0;
    for (int i = 1; i < 256; ++i)
        if (distance_squared(palette[i], c) < distance_squared(palette[best], c))
            best = i;
    return best;
}
