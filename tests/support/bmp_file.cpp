#include "support/bmp_file.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace {

void Put16(std::vector<uint8_t>& bytes, uint32_t value) {
    bytes.push_back(uint8_t(value & 0xFF));
    bytes.push_back(uint8_t((value >> 8) & 0xFF));
}

void Put32(std::vector<uint8_t>& bytes, uint32_t value) {
    Put16(bytes, value & 0xFFFF);
    Put16(bytes, value >> 16);
}

// Encoded runs of one pixel each, a row end after every row and the end mark.
std::vector<uint8_t> Run_Length_Rows(const BmpLayout& layout, const std::vector<uint8_t>& pixels) {
    std::vector<uint8_t> data;
    for (int row = layout.rows - 1; row >= 0; --row) {
        for (int x = 0; x < layout.width; ++x) {
            data.push_back(1);
            data.push_back(pixels[size_t(row) * size_t(layout.width) + size_t(x)]);
        }
        data.push_back(0);
        data.push_back(0);
    }
    data.push_back(0);
    data.push_back(1);
    return data;
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
    const std::vector<uint8_t> data =
        layout.compression == 1 ? Run_Length_Rows(layout, pixels) : Pixel_Rows(layout, pixels);
    const uint32_t off_bits = 54 + layout.header_extra + layout.table_entries * 4 + layout.gap;

    std::vector<uint8_t> bytes;
    bytes.push_back('B');
    bytes.push_back('M');
    Put32(bytes, off_bits + uint32_t(data.size()));
    Put16(bytes, 0);
    Put16(bytes, 0);
    Put32(bytes, off_bits);

    Put32(bytes, 40 + layout.header_extra);
    Put32(bytes, uint32_t(layout.width));
    Put32(bytes, uint32_t(layout.top_down ? -layout.rows : layout.rows));
    Put16(bytes, 1);
    Put16(bytes, layout.bit_count);
    Put32(bytes, layout.compression);
    Put32(bytes, layout.zero_size_image ? 0 : uint32_t(data.size()));
    Put32(bytes, 2835);
    Put32(bytes, 2835);
    Put32(bytes, layout.clr_used);
    Put32(bytes, 0);
    bytes.insert(bytes.end(), layout.header_extra, uint8_t(0xDD));

    for (uint32_t index = 0; index < layout.table_entries; ++index) {
        const BmpColour colour = bmp_test_colour(int(index));
        bytes.push_back(colour.blue);
        bytes.push_back(colour.green);
        bytes.push_back(colour.red);
        bytes.push_back(0);
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
