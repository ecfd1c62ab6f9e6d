#include "asset_reader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

std::string data_path(const std::string& name) {
    return std::string(CELLSTORM_BIN_DIR) + "/" + name;
}

std::vector<uint8_t> read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

uint32_t le16(const std::vector<uint8_t>& b, size_t at) {
    return at + 2 <= b.size() ? uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 : 0;
}

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
    return le16(b, at) | le16(b, at + 2) << 16;
}

BmpFile load_bmp(const std::string& name) {
    BmpFile f;
    f.bytes = read_bytes(data_path(name));
    const auto& b = f.bytes;
    EXPECT_GE(b.size(), 1078u) << name;
    if (b.size() < 1078)
        return f;
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(le32(b, 2), b.size()) << name << ": file size field";
    EXPECT_EQ(le32(b, 10), 1078u) << name << ": pixel offset";
    EXPECT_EQ(le32(b, 14), 40u) << name << ": info header size";
    EXPECT_EQ(le16(b, 26), 1u) << name << ": planes";
    EXPECT_EQ(le16(b, 28), 8u) << name << ": bits per pixel";
    EXPECT_EQ(le32(b, 30), 0u) << name << ": compression";
    const uint32_t used = le32(b, 46);
    EXPECT_TRUE(used == 0 || used == 256) << name << ": colours used " << used;
    const int32_t height = int32_t(le32(b, 22));
    EXPECT_GT(height, 0) << name << ": rows must run bottom-up";
    f.width = int(le32(b, 18));
    f.height = height;
    EXPECT_EQ(f.width % 4, 0) << name << ": rows must need no padding";
    const size_t pixel_bytes = size_t(f.width) * size_t(f.height);
    EXPECT_EQ(b.size(), 1078 + pixel_bytes) << name;
    if (f.width <= 0 || f.height <= 0 || b.size() != 1078 + pixel_bytes)
        return BmpFile{};
    for (int i = 0; i < 256; ++i)
        f.palette[i] = Colour{b[54 + i * 4 + 2], b[54 + i * 4 + 1], b[54 + i * 4]};
    f.pixels.resize(pixel_bytes);
    for (int y = 0; y < f.height; ++y)
        std::copy_n(&b[1078 + size_t(f.height - 1 - y) * f.width], f.width,
                    &f.pixels[size_t(y) * f.width]);
    return f;
}

VocFile load_voc(const std::string& name) {
    VocFile f;
    f.bytes = read_bytes(data_path(name));
    const auto& b = f.bytes;
    EXPECT_GE(b.size(), 33u) << name;
    if (b.size() < 33)
        return f;
    EXPECT_EQ(std::string(b.begin(), b.begin() + 20), std::string("Creative Voice File\x1A"))
        << name;
    EXPECT_EQ(le16(b, 20), 26u) << name << ": header size";
    const uint32_t version = le16(b, 22);
    EXPECT_EQ(version, 0x010Au) << name;
    EXPECT_EQ(le16(b, 24), ((~version + 0x1234) & 0xFFFF)) << name << ": check word";
    EXPECT_EQ(b[26], 1) << name << ": first block must hold sound data";
    const uint32_t length = le32(b, 26) >> 8;
    EXPECT_EQ(b[30], 165) << name << ": time constant";
    EXPECT_EQ(b[31], 0) << name << ": 8-bit unpacked";
    EXPECT_GE(length, 3u) << name;
    EXPECT_EQ(b.size(), 26 + 4 + size_t(length) + 1) << name << ": one block and a terminator";
    if (length < 3 || b.size() != 26 + 4 + size_t(length) + 1)
        return VocFile{};
    EXPECT_EQ(b.back(), 0) << name << ": terminator";
    f.samples.assign(b.begin() + 32, b.begin() + 32 + (length - 2));
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
