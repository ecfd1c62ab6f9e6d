#include "file_formats.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

}  // namespace

std::vector<uint8_t> encode_bmp(const IndexedImage& image) {
    if (image.width <= 0 || image.height <= 0 || image.width % 4 != 0 ||
        image.pixels.size() != size_t(image.width) * image.height)
        throw std::invalid_argument("picture size");
    const uint32_t pixel_bytes = uint32_t(image.width) * uint32_t(image.height);
    std::vector<uint8_t> out;
    out.reserve(BMP_PIXEL_OFFSET + pixel_bytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, BMP_PIXEL_OFFSET + pixel_bytes);
    put32(out, 0);
    put32(out, BMP_PIXEL_OFFSET);
    put32(out, 40);
    put32(out, uint32_t(image.width));
    put32(out, uint32_t(image.height));
    put16(out, 1);  // planes
    put16(out, 8);  // bits per pixel
    put32(out, 0);  // uncompressed
    put32(out, pixel_bytes);
    put32(out, 2835);  // 72 dpi
    put32(out, 2835);
    put32(out, 256);
    put32(out, 0);
    for (const Rgb& c : image.palette) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
    for (int y = image.height - 1; y >= 0; --y) {
        const uint8_t* row = &image.pixels[size_t(y) * image.width];
        out.insert(out.end(), row, row + image.width);
    }
    return out;
}

std::vector<uint8_t> encode_voc(const std::vector<uint8_t>& samples) {
    static const char signature[] = "Creative Voice File\x1A";
    std::vector<uint8_t> out(signature, signature + 20);
    const uint16_t version = 0x010A;
    put16(out, 26);
    put16(out, version);
    put16(out, uint16_t(~version + 0x1234));
    const uint32_t block_length = uint32_t(samples.size()) + 2;
    if (block_length > 0xFFFFFF)
        throw std::invalid_argument("sound too long");
    out.push_back(1);  // sound data
    out.push_back(uint8_t(block_length));
    out.push_back(uint8_t(block_length >> 8));
    out.push_back(uint8_t(block_length >> 16));
    out.push_back(VOC_TIME_CONSTANT);
    out.push_back(0);  // 8-bit unsigned, unpacked
    out.insert(out.end(), samples.begin(), samples.end());
    out.push_back(0);  // terminator block
    if (out.size() > VOC_MAX_FILE_BYTES)
        throw std::invalid_argument("sound file too large");
    return out;
}

void write_file(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        throw std::runtime_error("cannot create " + path);
    size_t written = std::fwrite(bytes.data(), 1, bytes.size(), f);
    bool closed = std::fclose(f) == 0;
    if (written != bytes.size() || !closed)
        throw std::runtime_error("cannot write " + path);
}
