#include "support/bmp_file.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace {

// value as `size` little-endian bytes.
void Put(std::vector<uint8_t>& bytes, uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes.push_back(uint8_t(value >> (8 * i)));
    }
}

std::vector<uint8_t> Pixel_Rows(const BmpLayout& layout, const std::vector<uint8_t>& pixels) {
    const size_t row_bits = size_t(layout.width) * layout.bit_count;
    const size_t stride = ((row_bits + 31) / 32) * 4;
    std::vector<uint8_t> data(stride * size_t(layout.rows), 0);
    for (int row = 0; row < layout.rows; ++row) {
        const int file_row = layout.top_down ? row : layout.rows - 1 - row;
        uint8_t* out = data.data() + size_t(file_row) * stride;
        for (size_t x = 0; x < row_bits / 8; ++x) {
            out[x] = layout.bit_count == 8 ? pixels[size_t(row) * size_t(layout.width) + x] : 0x11;
        }
    }
    return data;
}

}  // namespace

BmpColour bmp_test_colour(int index) {
    return BmpColour{uint8_t(index * 7 + 1), uint8_t(255 - index), uint8_t(index * 3 + 2)};
}

std::vector<uint8_t> bmp_test_pixels(int width, int rows) {
    std::vector<uint8_t> pixels(size_t(width) * size_t(rows));
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels[size_t(y) * size_t(width) + size_t(x)] = uint8_t((y * 31 + x * 7 + 3) % 251);
        }
    }
    return pixels;
}

std::vector<uint8_t> make_bmp_bytes(const BmpLayout& layout, const std::vector<uint8_t>& pixels) {
    if (pixels.size() != size_t(layout.width) * size_t(layout.rows)) {
        throw std::invalid_argument("pixel count does not match the layout");
    }
    const std::vector<uint8_t> data = Pixel_Rows(layout, pixels);
    const uint32_t off_bits = 54 + layout.header_extra + layout.table_entries * 4 + layout.gap;

    std::vector<uint8_t> bytes{'B', 'M'};
    Put(bytes, off_bits + uint32_t(data.size()), 4);
    Put(bytes, 0, 4);  // reserved
    Put(bytes, off_bits, 4);
    Put(bytes, 40 + layout.header_extra, 4);
    Put(bytes, uint32_t(layout.width), 4);
    Put(bytes, uint32_t(layout.top_down ? -layout.rows : layout.rows), 4);
    Put(bytes, 1, 2);  // planes
    Put(bytes, layout.bit_count, 2);
    Put(bytes, layout.compression, 4);
    Put(bytes, layout.zero_size_image ? 0 : uint32_t(data.size()), 4);
    Put(bytes, 2835, 4);  // pixels per metre, both ways
    Put(bytes, 2835, 4);
    Put(bytes, layout.clr_used, 4);
    Put(bytes, 0, 4);  // colours important
    bytes.insert(bytes.end(), layout.header_extra, uint8_t(0xDD));

    for (uint32_t index = 0; index < layout.table_entries; ++index) {
        const BmpColour c = bmp_test_colour(int(index));
        Put(bytes, uint32_t(c.blue | c.green << 8 | c.red << 16), 4);
    }
    bytes.insert(bytes.end(), layout.gap, uint8_t(0xEE));
    bytes.insert(bytes.end(), data.begin(), data.end());
    return bytes;
}

std::vector<uint8_t> make_bmp_bytes(const BmpLayout& layout) {
    return make_bmp_bytes(layout, bmp_test_pixels(layout.width, layout.rows));
}

bool write_bmp_bytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written =
        bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

std::string make_bmp_scratch_dir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr ? base : "/tmp") + "/cellstorm-bmp-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a scratch directory");
    }
    return pattern;
}
