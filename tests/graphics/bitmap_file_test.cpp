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

namespace headless = platform::headless;

class BitmapFileTest : public test_support::GraphicsTest {
  protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        dir_ = make_bmp_scratch_dir();
        headless::set_data_dirs({dir_});
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

    // Loads a file made for layout and checks the pixels and the table entries it gave.
    void Expect_Loads(const BmpLayout& layout) {
        ASSERT_EQ(Load(make_bmp_bytes(layout)), 1);
        const BITMAPINFOHEADER& info = bitmap_.bitmapinfoheader;
        EXPECT_EQ(info.biWidth, layout.width);
        EXPECT_EQ(info.biHeight, layout.rows);
        EXPECT_EQ(info.biSizeImage, uint32_t(layout.width * layout.rows));
        const std::vector<uint8_t> expected = bmp_test_pixels(layout.width, layout.rows);
        ASSERT_NE(bitmap_.buffer, nullptr);
        EXPECT_EQ(std::memcmp(bitmap_.buffer, expected.data(), expected.size()), 0);
        const int given = layout.clr_used == 0 ? 256 : int(layout.clr_used);
        for (int i = 0; i < 256; ++i) {
            SCOPED_TRACE(i);
            const PALETTEENTRY& entry = bitmap_.palette[i];
            const BmpColour colour = i < given ? bmp_test_colour(i) : BmpColour{0, 0, 0};
            EXPECT_EQ(entry.peRed, colour.red);
            EXPECT_EQ(entry.peGreen, colour.green);
            EXPECT_EQ(entry.peBlue, colour.blue);
            EXPECT_EQ(entry.peFlags, platform::PC_NOCOLLAPSE);
        }
    }

    std::string dir_;
    BitmapFile bitmap_{};
};

TEST_F(BitmapFileTest, StandardPictureLoadsTopRowFirstWithColoursInRedGreenBlueOrder) {
    BmpLayout layout;
    layout.width = 640;
    layout.rows = 480;
    std::vector<uint8_t> bytes = make_bmp_bytes(layout);
    // Table entry 5 stored as blue 10, green 20, red 30, reserved 0.
    const uint8_t stored[4] = {10, 20, 30, 0};
    std::memcpy(&bytes[BMP_TEST_TABLE_OFFSET + 5 * 4], stored, 4);
    ASSERT_EQ(Load(bytes), 1);

    EXPECT_EQ(bitmap_.bitmapfileheader.bfType, BITMAP_ID);
    EXPECT_EQ(bitmap_.bitmapfileheader.bfOffBits, BMP_TEST_STANDARD_PIXELS_OFFSET);
    EXPECT_EQ(bitmap_.bitmapinfoheader.biSizeImage, 640u * 480u);
    EXPECT_EQ(bitmap_.bitmapinfoheader.biBitCount, 8);
    // The file keeps the bottom row first; the buffer has the top row first.
    const std::vector<uint8_t> top_down = bmp_test_pixels(640, 480);
    ASSERT_NE(bitmap_.buffer, nullptr);
    EXPECT_EQ(std::memcmp(bitmap_.buffer, top_down.data(), top_down.size()), 0);
    EXPECT_EQ(std::memcmp(bitmap_.buffer, &bytes[bytes.size() - 640], 640), 0);

    const PALETTEENTRY& entry = bitmap_.palette[5];
    EXPECT_EQ(entry.peRed, 30);
    EXPECT_EQ(entry.peGreen, 20);
    EXPECT_EQ(entry.peBlue, 10);
    EXPECT_EQ(entry.peFlags, platform::PC_NOCOLLAPSE);
    EXPECT_EQ(bitmap_.palette[200].peRed, bmp_test_colour(200).red);
}

TEST_F(BitmapFileTest, ShortColourTablesLeaveTheRestBlack) {
    for (uint32_t entries : {16u, 64u}) {
        SCOPED_TRACE(entries);
        BmpLayout layout;
        layout.table_entries = entries;
        layout.clr_used = entries;
        Expect_Loads(layout);
    }
}

TEST_F(BitmapFileTest, OtherValidLayoutsLoadAsTheStandardOneWould) {
    BmpLayout padded;
    padded.width = 13;
    padded.rows = 5;
    Expect_Loads(padded);

    BmpLayout top_down;
    top_down.width = 12;
    top_down.rows = 7;
    top_down.top_down = true;
    Expect_Loads(top_down);

    BmpLayout no_size;
    no_size.width = 7;
    no_size.rows = 3;
    no_size.zero_size_image = true;
    Expect_Loads(no_size);

    BmpLayout gap;
    gap.gap = 100;
    Expect_Loads(gap);

    BmpLayout long_header;
    long_header.header_extra = 124 - 40;
    Expect_Loads(long_header);

    BmpLayout single;
    single.width = 1;
    single.rows = 1;
    Expect_Loads(single);
}

TEST_F(BitmapFileTest, AMissingFileLeavesTheRecordAsItWas) {
    BmpLayout layout;
    ASSERT_EQ(Load(make_bmp_bytes(layout)), 1);
    const BitmapFile before = bitmap_;
    auto expect_unchanged = [&] {
        EXPECT_EQ(bitmap_.buffer, before.buffer);
        EXPECT_EQ(bitmap_.bitmapfileheader.bfOffBits, before.bitmapfileheader.bfOffBits);
        EXPECT_EQ(bitmap_.bitmapinfoheader.biWidth, before.bitmapinfoheader.biWidth);
        EXPECT_EQ(std::memcmp(bitmap_.palette, before.palette, sizeof(before.palette)), 0);
    };
    EXPECT_EQ(Load_Bitmap_File(&bitmap_, "NOTHERE.BMP"), 0);
    expect_unchanged();
    EXPECT_EQ(Load_Bitmap_File(&bitmap_, nullptr), 0);
    expect_unchanged();
}

TEST_F(BitmapFileTest, FilesOfOtherKindsAreRefused) {
    struct Case {
        const char* what;
        BmpLayout layout;
    };
    std::vector<Case> cases;
    auto add = [&cases](const char* what, auto change) {
        BmpLayout layout;
        change(layout);
        cases.push_back({what, layout});
    };
    add("run-length", [](BmpLayout& l) { l.compression = 1; });
    add("4 bits", [](BmpLayout& l) {
        l.bit_count = 4;
        l.table_entries = 16;
    });
    add("24 bits", [](BmpLayout& l) {
        l.bit_count = 24;
        l.table_entries = 0;
    });
    add("width 0", [](BmpLayout& l) { l.width = 0; });
    add("height 0", [](BmpLayout& l) { l.rows = 0; });
    add("too wide", [](BmpLayout& l) {
        l.width = BITMAP_MAX_SIDE + 1;
        l.rows = 1;
    });
    add("too tall", [](BmpLayout& l) {
        l.width = 1;
        l.rows = BITMAP_MAX_SIDE + 1;
    });
    add("too tall top-down", [](BmpLayout& l) {
        l.width = 1;
        l.rows = BITMAP_MAX_SIDE + 1;
        l.top_down = true;
    });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BmpLayout held;
        ASSERT_EQ(Load(make_bmp_bytes(held)), 1);
        EXPECT_EQ(Load(make_bmp_bytes(c.layout)), 0);
        EXPECT_EQ(bitmap_.buffer, nullptr);
    }

    // Damaged fields: a negative width, pixels far past the end or inside the info header, and
    // an info header size near 4 GB.
    const std::pair<size_t, uint8_t> patches[] = {
        {BMP_TEST_INFO_OFFSET + 7, 0xFF}, {13, 0x7F}, {11, 0}, {BMP_TEST_INFO_OFFSET + 3, 0xF0}};
    for (const auto& patch : patches) {
        SCOPED_TRACE(patch.first);
        std::vector<uint8_t> bytes = make_bmp_bytes(BmpLayout{});
        bytes[patch.first] = patch.second;
        if (patch.first == 11) {
            bytes[10] = 20;
        }
        EXPECT_EQ(Load(bytes), 0);
        EXPECT_EQ(bitmap_.buffer, nullptr);
    }
}

TEST_F(BitmapFileTest, ATruncatedFileIsRefusedWhereverItEnds) {
    BmpLayout layout;
    layout.width = 8;
    layout.rows = 3;
    const std::vector<uint8_t> whole = make_bmp_bytes(layout);
    const size_t pixels = BMP_TEST_STANDARD_PIXELS_OFFSET;
    // Each header boundary and either side of it, inside each header, the table and the rows.
    const size_t lengths[] = {
        0,          1,      2,          3,          8,          13,          14,
        15,         30,     53,         54,         55,         57,          600,
        pixels - 1, pixels, pixels + 1, pixels + 7, pixels + 8, pixels + 12, whole.size() - 1};
    for (size_t length : lengths) {
        SCOPED_TRACE(length);
        BmpLayout held;
        ASSERT_EQ(Load(make_bmp_bytes(held)), 1);
        EXPECT_EQ(Load(std::vector<uint8_t>(whole.begin(), whole.begin() + long(length))), 0);
        EXPECT_EQ(bitmap_.buffer, nullptr);
    }
    EXPECT_EQ(Load(whole), 1);
}

TEST_F(BitmapFileTest, GarbageIsRefused) {
    uint32_t state = 12345;
    for (int file = 0; file < 40; ++file) {
        SCOPED_TRACE(file);
        std::vector<uint8_t> bytes{'B', 'M'};
        for (int i = 0; i < 1200; ++i) {
            state = state * 1103515245u + 12345u;
            bytes.push_back(uint8_t(state >> 16));
        }
        EXPECT_EQ(Load(bytes), 0);
        EXPECT_EQ(bitmap_.buffer, nullptr);
    }
    std::vector<uint8_t> not_bm = make_bmp_bytes(BmpLayout{});
    not_bm[0] = 'X';
    EXPECT_EQ(Load(not_bm), 0);
    EXPECT_EQ(bitmap_.bitmapfileheader.bfType, 0x4D58);
    EXPECT_EQ(bitmap_.buffer, nullptr);
}

TEST_F(BitmapFileTest, UnloadFreesThePixelsAndKeepsTheRest) {
    BmpLayout layout;
    ASSERT_EQ(Load(make_bmp_bytes(layout)), 1);
    EXPECT_EQ(Unload_Bitmap_File(&bitmap_), 1);
    EXPECT_EQ(bitmap_.buffer, nullptr);
    EXPECT_EQ(bitmap_.bitmapinfoheader.biWidth, layout.width);
    EXPECT_EQ(bitmap_.palette[3].peRed, bmp_test_colour(3).red);
    EXPECT_EQ(Unload_Bitmap_File(&bitmap_), 1);
    EXPECT_EQ(Unload_Bitmap_File(nullptr), 1);
}

TEST_F(BitmapFileTest, FlipReversesTheRows) {
    uint8_t one[3] = {1, 2, 3};
    EXPECT_EQ(Flip_Bitmap(one, 3, 1), 1);
    EXPECT_EQ(std::memcmp(one, "\1\2\3", 3), 0);
    uint8_t odd[6] = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(Flip_Bitmap(odd, 2, 3), 1);
    EXPECT_EQ(std::memcmp(odd, "\5\6\3\4\1\2", 6), 0);
    EXPECT_EQ(Flip_Bitmap(nullptr, 4, 4), 0);
    EXPECT_EQ(Flip_Bitmap(odd, 0, 4), 0);
}

}  // namespace
