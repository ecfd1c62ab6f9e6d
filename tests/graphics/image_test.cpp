#include "graphics/image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "support/graphics_fixture.h"

namespace {

using ImageTest = test_support::GraphicsTest;

uint8_t Sheet_Pixel(int x, int y) {
    return uint8_t(x * 3 + y * 11 + 1);
}

// A loaded sheet of width x rows whose every pixel tells where it came from.
BitmapFile Make_Sheet(int width, int rows) {
    BitmapFile sheet{};
    sheet.bitmapinfoheader.biWidth = width;
    sheet.bitmapinfoheader.biHeight = rows;
    sheet.buffer = new uint8_t[size_t(width) * size_t(rows)];
    for (int i = 0; i < width * rows; ++i) {
        sheet.buffer[i] = Sheet_Pixel(i % width, i / width);
    }
    return sheet;
}

// True when image pixel (c, r) is sheet pixel (column + c, row + r), or 0 where that lies
// outside a sheet of width x rows.
bool Cut_From(const BitmapImage& image, int column, int row, int width = 9999, int rows = 9999) {
    for (int i = 0; i < image.width * image.height; ++i) {
        const int x = column + i % image.width, y = row + i / image.width;
        const bool inside = x >= 0 && x < width && y >= 0 && y < rows;
        if (image.buffer[i] != (inside ? Sheet_Pixel(x, y) : 0)) {
            return false;
        }
    }
    return true;
}

// A 640 x 480 destination with guard bytes on both sides, all 0xAA to begin with.
struct Screen {
    static constexpr long GUARD = 4096;
    std::vector<uint8_t> bytes = std::vector<uint8_t>(GUARD * 2 + 640 * 480, 0xAA);
    uint8_t* pixels() { return bytes.data() + GUARD; }
    // Every byte, guards included, is 0xAA except the image's pixels inside the screen.
    bool Shows_Only(const BitmapImage& image) const {
        for (long i = -GUARD; i < long(bytes.size()) - GUARD; ++i) {
            const long x = i % 640, y = i / 640;
            const bool drawn = i >= 0 && y < 480 && x >= image.x &&
                               x < long(image.x) + image.width && y >= image.y &&
                               y < long(image.y) + image.height;
            if (bytes[i + GUARD] !=
                (drawn ? image.buffer[(y - image.y) * image.width + (x - image.x)] : 0xAA)) {
                return false;
            }
        }
        return true;
    }
};

TEST_F(ImageTest, OnlyWhatLiesInsideTheSourceIsCopiedAndNothingWithoutPixels) {
    BitmapFile small = Make_Sheet(320, 200);
    BitmapImage image{};
    struct Cut {
        int width, height, cx, cy, mode, column, row;
    };
    // A full screen from a smaller picture, over the top-left corner, far outside (nothing).
    const Cut cuts[] = {{640, 480, 0, 0, IMAGE_AT_PIXEL, 0, 0},
                        {4, 4, -2, -3, IMAGE_AT_PIXEL, -2, -3},
                        {16, 16, INT_MAX, INT_MIN, IMAGE_AT_CELL, -99, -99}};
    for (const Cut& c : cuts) {
        Create_Image(&image, 0, 0, c.width, c.height);
        Load_Image(&small, &image, c.cx, c.cy, c.mode);
        EXPECT_TRUE(Cut_From(image, c.column, c.row, 320, 200)) << c.cx << "," << c.cy;
        Destroy_Image(&image);
    }
    BitmapImage empty{};
    empty.width = empty.height = 16;
    EXPECT_EQ(Load_Image(&small, &empty, 0, 0, IMAGE_AT_CELL), 1);
    EXPECT_EQ(empty.state, IMAGE_CREATED);
    Unload_Bitmap_File(&small);
    Create_Image(&image, 0, 0, 16, 16);
    EXPECT_EQ(Load_Image(&small, &image, 0, 0, IMAGE_AT_CELL), 1);
    EXPECT_EQ(Load_Image(nullptr, &image, 0, 0, IMAGE_AT_CELL), 1);
    EXPECT_TRUE(Cut_From(image, -99, -99));  // still all zero
    Destroy_Image(&image);
}

TEST_F(ImageTest, DrawCopiesEveryPixelInsideTheScreenAndNothingElse) {
    BitmapFile sheet = Make_Sheet(64, 64);
    sheet.buffer[0] = 0;  // a zero pixel is copied like any other
    BitmapImage block{};
    Create_Image(&block, 100, 50, 16, 16);
    Load_Image(&sheet, &block, 0, 0, IMAGE_AT_PIXEL);
    const int places[][2] = {
        {100, 50}, {0, 0},     {624, 464}, {-5, 20},           {630, 100},
        {200, -9}, {300, 470}, {-15, -15}, {639, 479},         {-16, 0},
        {640, 0},  {0, 480},   {0, -16},   {INT_MAX, INT_MAX}, {INT_MIN, INT_MIN}};
    for (const auto& place : places) {
        block.x = place[0];
        block.y = place[1];
        Screen screen;
        EXPECT_EQ(Draw_Image(screen.pixels(), &block), 1);
        EXPECT_TRUE(screen.Shows_Only(block)) << place[0] << "," << place[1];
    }
    EXPECT_EQ(Draw_Image(nullptr, &block), 1);
    Destroy_Image(&block);
    Unload_Bitmap_File(&sheet);
}

TEST_F(ImageTest, AFullScreenPictureCopiesWhatItHasAndClearsTheRest) {
    std::vector<uint8_t> expected(640 * 480);
    const BitmapImage whole{IMAGE_LOADED, 0, 0, 640, 480, 640 * 480, expected.data()};
    Screen screen;
    for (auto size : {std::pair{100, 30}, std::pair{700, 500}, std::pair{0, 0}}) {
        BitmapFile picture = Make_Sheet(std::max(size.first, 1), std::max(size.second, 1));
        if (size.first == 0) {
            Unload_Bitmap_File(&picture);
        }
        EXPECT_EQ(Draw_Bitmap_Screen(screen.pixels(), &picture), 1);
        for (int i = 0; i < 640 * 480; ++i) {
            const int x = i % 640, y = i / 640;
            expected[i] = x < size.first && y < size.second ? Sheet_Pixel(x, y) : 0;
        }
        EXPECT_TRUE(screen.Shows_Only(whole)) << size.first;
        EXPECT_EQ(Draw_Bitmap_Screen(nullptr, &picture), 1);
        Unload_Bitmap_File(&picture);
    }
}

}  // namespace
