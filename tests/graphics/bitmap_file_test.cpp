#include "graphics/bitmap_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/headless/control.h"
#include "support/bmp_file.h"
#include "support/graphics_fixture.h"

namespace {

class BitmapFileTest : public test_support::GraphicsTest {
  protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        dir_ = make_bmp_scratch_dir();
        platform::headless::set_data_dirs({dir_});
    }
    void TearDown() override {
        Unload_Bitmap_File(&bitmap_);
        std::filesystem::remove_all(dir_);
        GraphicsTest::TearDown();
    }

    // Writes the bytes as "TEST.BMP" and loads them into bitmap_.
    int Load(const std::vector<uint8_t>& bytes) {
        EXPECT_TRUE(write_bmp_bytes(dir_ + "/TEST.BMP", bytes));
        return Load_Bitmap_File(&bitmap_, "TEST.BMP");
    }

    // A file made for layout gives its size, its pixels top row first, and its colours with the
    // rest of the palette black, flags 4 everywhere.
    void Expect_Loads(const BmpLayout& layout) {
        ASSERT_EQ(Load(make_bmp_bytes(layout)), 1);
        const BITMAPINFOHEADER& info = bitmap_.bitmapinfoheader;
        EXPECT_EQ(info.biWidth, layout.width);
        EXPECT_EQ(info.biHeight, layout.rows);
        EXPECT_EQ(info.biSizeImage, uint32_t(layout.width * layout.rows));
        const std::vector<uint8_t> pixels = bmp_test_pixels(layout.width, layout.rows);
        ASSERT_NE(bitmap_.buffer, nullptr);
        EXPECT_EQ(std::memcmp(bitmap_.buffer, pixels.data(), pixels.size()), 0);
        PALETTEENTRY want[256];
        for (int i = 0; i < 256; ++i) {
            const bool given = layout.clr_used == 0 || i < int(layout.clr_used);
            const BmpColour c = given ? bmp_test_colour(i) : BmpColour{0, 0, 0};
            want[i] = PALETTEENTRY{c.red, c.green, c.blue, platform::PC_NOCOLLAPSE};
        }
        EXPECT_EQ(std::memcmp(bitmap_.palette, want, sizeof want), 0);
    }

    // Loads a good file, then bytes: refused, and no pixels are left.
    void Expect_Refused(const std::vector<uint8_t>& bytes) {
        ASSERT_EQ(Load(make_bmp_bytes(BmpLayout{})), 1);
        EXPECT_EQ(Load(bytes), 0);
        EXPECT_EQ(bitmap_.buffer, nullptr);
    }

    std::string dir_;
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
    std::vector<uint8_t> bytes = make_bmp_bytes(BmpLayout{});
    const uint8_t stored[4] = {10, 20, 30, 0};  // entry 5 as blue, green, red, reserved
    std::memcpy(&bytes[BMP_TEST_TABLE_OFFSET + 5 * 4], stored, 4);
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
        Expect_Refused(make_bmp_bytes(layout));
    }
    // Not "BM", a negative width, pixels far past the end or inside the info header, and an info
    // header size near 4 GB.
    const std::pair<size_t, uint8_t> patches[] = {{0, 'X'},
                                                  {BMP_TEST_INFO_OFFSET + 7, 0xFF},
                                                  {13, 0x7F},
                                                  {11, 0},
                                                  {BMP_TEST_INFO_OFFSET + 3, 0xF0}};
    for (const auto& patch : patches) {
        SCOPED_TRACE(patch.first);
        std::vector<uint8_t> bytes = make_bmp_bytes(BmpLayout{});
        bytes[patch.first] = patch.second;
        bytes[10] = patch.first == 11 ? 20 : bytes[10];
        Expect_Refused(bytes);
    }
}

TEST_F(BitmapFileTest, TruncatedFilesAndGarbageAreRefused) {
    const std::vector<uint8_t> whole = make_bmp_bytes(BmpLayout{8, 3});
    const size_t pixels = BMP_TEST_STANDARD_PIXELS_OFFSET;
    // Each header boundary and either side of it, inside each header, the table and the rows.
    const size_t lengths[] = {
        0,          1,      2,          3,          8,          13,          14,
        15,         30,     53,         54,         55,         57,          600,
        pixels - 1, pixels, pixels + 1, pixels + 7, pixels + 8, pixels + 12, whole.size() - 1};
    for (size_t length : lengths) {
        SCOPED_TRACE(length);
        Expect_Refused(std::vector<uint8_t>(whole.begin(), whole.begin() + long(length)));
    }
    uint32_t state = 12345;
    for (int file = 0; file < 40; ++file) {
        std::vector<uint8_t> bytes{'B', 'M'};
        for (int i = 0; i < 1200; ++i) {
            state = state * 1103515245u + 12345u;
            bytes.push_back(uint8_t(state >> 16));
        }
        Expect_Refused(bytes);
    }
    EXPECT_EQ(Load(whole), 1);
}

}  // namespace
