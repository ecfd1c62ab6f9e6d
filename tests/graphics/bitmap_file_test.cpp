#include "graphics/bitmap_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/headless/control.h"
#include "support/graphics_fixture.h"

namespace {

// Test pictures in the BMP form, in every layout the loader must read or refuse.
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
constexpr size_t INFO_OFFSET = 14, TABLE_OFFSET = 54;
constexpr size_t STANDARD_PIXELS_OFFSET = 1078;  // 256-entry table, no gap

PALETTEENTRY Colour(int index) {
    return {uint8_t(index * 7 + 1), uint8_t(255 - index), uint8_t(index * 3 + 2),
            platform::PC_NOCOLLAPSE};
}

// Pixel values top row first, each row different so flips and shifts show.
std::vector<uint8_t> Pixels(int width, int rows) {
    std::vector<uint8_t> pixels;
    for (int i = 0; i < width * rows; ++i) {
        pixels.push_back(uint8_t((i / width * 31 + i % width * 7 + 3) % 251));
    }
    return pixels;
}

void Put(std::vector<uint8_t>& bytes, uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes.push_back(uint8_t(value >> (8 * i)));
    }
}

std::vector<uint8_t> Bmp(const BmpLayout& layout) {
    const std::vector<uint8_t> pixels = Pixels(layout.width, layout.rows);
    const size_t row_bits = size_t(layout.width) * layout.bit_count;
    const size_t stride = ((row_bits + 31) / 32) * 4;
    std::vector<uint8_t> data(stride * size_t(layout.rows), 0);
    for (int row = 0; row < layout.rows; ++row) {
        uint8_t* out = data.data() + size_t(layout.top_down ? row : layout.rows - 1 - row) * stride;
        for (size_t x = 0; x < row_bits / 8; ++x) {
            out[x] = layout.bit_count == 8 ? pixels[size_t(row) * size_t(layout.width) + x] : 0x11;
        }
    }
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
        const PALETTEENTRY c = Colour(int(index));
        Put(bytes, uint32_t(c.peBlue | c.peGreen << 8 | c.peRed << 16), 4);
    }
    bytes.insert(bytes.end(), layout.gap, uint8_t(0xEE));
    bytes.insert(bytes.end(), data.begin(), data.end());
    return bytes;
}

class BitmapFileTest : public test_support::GraphicsTest {
  protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        std::filesystem::create_directories(dir_);
        platform::headless::set_data_dirs({dir_});
    }
    void TearDown() override {
        Unload_Bitmap_File(&bitmap_);
        std::filesystem::remove_all(dir_);
        GraphicsTest::TearDown();
    }

    // Writes the bytes as "TEST.BMP" and loads them into bitmap_.
    int Load(const std::vector<uint8_t>& bytes) {
        std::ofstream(dir_ + "/TEST.BMP", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return Load_Bitmap_File(&bitmap_, "TEST.BMP");
    }

    // A file made for layout gives its size, its pixels top row first, and its colours with the
    // rest of the palette black, flags 4 everywhere.
    void Expect_Loads(const BmpLayout& layout) {
        ASSERT_EQ(Load(Bmp(layout)), 1);
        const BITMAPINFOHEADER& info = bitmap_.bitmapinfoheader;
        EXPECT_EQ(info.biWidth, layout.width);
        EXPECT_EQ(info.biHeight, layout.rows);
        EXPECT_EQ(info.biSizeImage, uint32_t(layout.width * layout.rows));
        const std::vector<uint8_t> pixels = Pixels(layout.width, layout.rows);
        ASSERT_NE(bitmap_.buffer, nullptr);
        EXPECT_EQ(std::memcmp(bitmap_.buffer, pixels.data(), pixels.size()), 0);
        PALETTEENTRY want[256];
        for (int i = 0; i < 256; ++i) {
            const bool given = layout.clr_used == 0 || i < int(layout.clr_used);
            want[i] = given ? Colour(i) : PALETTEENTRY{0, 0, 0, platform::PC_NOCOLLAPSE};
        }
        EXPECT_EQ(std::memcmp(bitmap_.palette, want, sizeof want), 0);
    }

    // Loads a good file, then bytes: refused, and no pixels are left.
    void Expect_Refused(const std::vector<uint8_t>& bytes) {
        ASSERT_EQ(Load(Bmp(BmpLayout{})), 1);
        EXPECT_EQ(Load(bytes), 0);
        EXPECT_EQ(bitmap_.buffer, nullptr);
    }

    const std::string dir_ =
        (std::filesystem::temp_directory_path() / ("cellstorm-bmp-" + std::to_string(getpid())))
            .string();
    BitmapFile bitmap_{};
};

TEST_F(BitmapFileTest, EveryValidLayoutLoadsAsTheStandardOneWould) {
    // width, rows, top-down, bits, compression, table entries, biClrUsed, gap before the
    // pixels, extra info header bytes, zero biSizeImage
    const BmpLayout layouts[] = {{640, 480},
                                 {8, 4, false, 8, 0, 16, 16},
                                 {8, 4, false, 8, 0, 64, 64},
                                 {8, 4, false, 8, 0, 256, 257, 100},
                                 {13, 5},
                                 {12, 7, true},
                                 {7, 3, false, 8, 0, 256, 0, 0, 0, true},
                                 {8, 4, false, 8, 0, 256, 0, 100},
                                 {8, 4, false, 8, 0, 256, 0, 0, 124 - 40},
                                 {1, 1}};
    for (const BmpLayout& layout : layouts) {
        SCOPED_TRACE(testing::Message() << layout.width << "x" << layout.rows);
        Expect_Loads(layout);
    }
    std::vector<uint8_t> bytes = Bmp(BmpLayout{});
    const uint8_t stored[4] = {10, 20, 30, 0};  // entry 5 as blue, green, red, reserved
    std::memcpy(&bytes[TABLE_OFFSET + 5 * 4], stored, 4);
    ASSERT_EQ(Load(bytes), 1);
    const PALETTEENTRY five{30, 20, 10, platform::PC_NOCOLLAPSE};
    EXPECT_EQ(std::memcmp(&bitmap_.palette[5], &five, sizeof five), 0);
}

TEST_F(BitmapFileTest, OtherKindsAndDamagedFieldsAreRefused) {
    const BmpLayout refused[] = {{8, 4, false, 8, 1},  // run-length
                                 {8, 4, false, 4, 0, 16},
                                 {8, 4, false, 24, 0, 0},
                                 {0, 4},
                                 {8, 0},
                                 {BITMAP_MAX_SIDE + 1, 1},
                                 {1, BITMAP_MAX_SIDE + 1},
                                 {1, BITMAP_MAX_SIDE + 1, true}};
    for (const BmpLayout& layout : refused) {
        SCOPED_TRACE(testing::Message() << layout.width << "x" << layout.rows << " "
                                        << layout.bit_count << " " << layout.compression);
        Expect_Refused(Bmp(layout));
    }
    // Not "BM", a negative width, pixels far past the end or inside the info header, and an info
    // header size near 4 GB.
    const std::pair<size_t, uint8_t> patches[] = {
        {0, 'X'}, {INFO_OFFSET + 7, 0xFF}, {13, 0x7F}, {11, 0}, {INFO_OFFSET + 3, 0xF0}};
    for (const auto& patch : patches) {
        SCOPED_TRACE(patch.first);
        std::vector<uint8_t> bytes = Bmp(BmpLayout{});
        bytes[patch.first] = patch.second;
        bytes[10] = patch.first == 11 ? 20 : bytes[10];
        Expect_Refused(bytes);
    }
}

TEST_F(BitmapFileTest, TruncatedFilesAreRefused) {
    const std::vector<uint8_t> whole = Bmp(BmpLayout{8, 3});
    const size_t pixels = STANDARD_PIXELS_OFFSET;
    // Each header boundary and either side of it, inside each header, the table and the rows.
    const size_t lengths[] = {
        0,          1,      2,          3,          8,          13,          14,
        15,         30,     53,         54,         55,         57,          600,
        pixels - 1, pixels, pixels + 1, pixels + 7, pixels + 8, pixels + 12, whole.size() - 1};
    for (size_t length : lengths) {
        SCOPED_TRACE(length);
        Expect_Refused(std::vector<uint8_t>(whole.begin(), whole.begin() + long(length)));
    }
    EXPECT_EQ(Load(whole), 1);
}

}  // namespace
