// Test pictures in the BMP form, in every layout the loader must read or refuse.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Offsets inside a file made by make_bmp_bytes, for tests that cut or damage it.
constexpr size_t BMP_TEST_INFO_OFFSET = 14;
constexpr size_t BMP_TEST_TABLE_OFFSET = 54;
constexpr size_t BMP_TEST_STANDARD_PIXELS_OFFSET = 1078;  // 256-entry table, no gap

struct BmpLayout {
    int width = 8;
    int rows = 4;
    bool top_down = false;     // written top row first, with a negative height
    uint16_t bit_count = 8;    // other counts get rows of the matching length, filled with 0x11
    uint32_t compression = 0;  // written as is; the pixels are plain rows whatever it says
    uint32_t table_entries = 256;
    uint32_t clr_used = 0;      // written as is; 0 means "all 256"
    uint32_t gap = 0;           // bytes between the colour table and the pixels (bfOffBits follows)
    uint32_t header_extra = 0;  // bytes of a newer, longer info header beyond the first 40
    bool zero_size_image = false;
};

// The colour the helper writes into table entry index.
struct BmpColour {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};
BmpColour bmp_test_colour(int index);

// width x rows pixel values, top row first, each row different so flips and shifts show.
std::vector<uint8_t> bmp_test_pixels(int width, int rows);

// The whole file for layout with the given top-down pixels (width x rows bytes).
std::vector<uint8_t> make_bmp_bytes(const BmpLayout& layout, const std::vector<uint8_t>& pixels);
// The same with bmp_test_pixels.
std::vector<uint8_t> make_bmp_bytes(const BmpLayout& layout);

// Writes bytes to path; false when the file cannot be written.
bool write_bmp_bytes(const std::string& path, const std::vector<uint8_t>& bytes);

// A fresh empty directory for one test's files.
std::string make_bmp_scratch_dir();
