#include "graphics/image.h"

#include <gtest/gtest.h>

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
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < width; ++x) {
            sheet.buffer[y * width + x] = Sheet_Pixel(x, y);
        }
    }
    return sheet;
}

// True when image pixel (c, r) is sheet pixel (column + c, row + r) for every pixel.
bool Cut_From(const BitmapImage& image, int column, int row) {
    for (int r = 0; r < image.height; ++r) {
        for (int c = 0; c < image.width; ++c) {
            if (image.buffer[r * image.width + c] != Sheet_Pixel(column + c, row + r)) {
                return false;
            }
        }
    }
    return true;
}

// A 640 x 480 destination with guard bytes on both sides, all filled with one value.
struct Screen {
    static constexpr size_t GUARD = 4096;
    std::vector<uint8_t> bytes = std::vector<uint8_t>(GUARD * 2 + 640 * 480, 0xAA);
    uint8_t* pixels() { return bytes.data() + GUARD; }
    // Every byte, guards included, is 0xAA except the image's pixels inside the screen.
    bool Shows_Only(const BitmapImage& image) const {
        for (size_t i = 0; i < bytes.size(); ++i) {
            const long offset = long(i) - long(GUARD);
            const long x = offset >= 0 ? offset % 640 : -1;
            const long y = offset >= 0 ? offset / 640 : -1;
            uint8_t expected = 0xAA;
            if (offset >= 0 && y < 480 && x >= image.x && x < long(image.x) + image.width &&
                y >= image.y && y < long(image.y) + image.height) {
                expected = image.buffer[(y - image.y) * image.width + (x - image.x)];
            }
            if (bytes[i] != expected) {
                return false;
            }
        }
        return true;
    }
};

TEST_F(ImageTest, CreateGivesAZeroedUndrawableImage) {
    BitmapImage image{};
    ASSERT_EQ(Create_Image(&image, 100, 50, 16, 12), 1);
    EXPECT_EQ(image.state, IMAGE_CREATED);
    EXPECT_EQ(image.x, 100);
    EXPECT_EQ(image.y, 50);
    EXPECT_EQ(image.num_bytes, 16 * 12);
    for (int i = 0; i < image.num_bytes; ++i) {
        EXPECT_EQ(image.buffer[i], 0);
    }
    Screen screen;
    EXPECT_EQ(Draw_Image(screen.pixels(), &image), 1);
    EXPECT_TRUE(screen.Shows_Only(BitmapImage{}));

    EXPECT_EQ(Destroy_Image(&image), 1);
    EXPECT_EQ(image.buffer, nullptr);
    EXPECT_EQ(image.width, 0);
    EXPECT_EQ(Destroy_Image(&image), 0);
    EXPECT_EQ(Destroy_Image(nullptr), 0);
}

TEST_F(ImageTest, CreateRefusesSizesWithNoPixels) {
    for (auto size : {std::pair{0, 5}, std::pair{5, 0}, std::pair{-3, 4}, std::pair{INT_MAX, 4}}) {
        BitmapImage image{};
        image.x = 9;
        EXPECT_EQ(Create_Image(&image, 1, 2, size.first, size.second), 0);
        EXPECT_EQ(image.buffer, nullptr);
        EXPECT_EQ(image.x, 9);
    }
}

TEST_F(ImageTest, CellsAndPixelPositionsCutTheRightRectangles) {
    BitmapFile blocks = Make_Sheet(8 * 17 + 1, 4 * 17 + 1);
    BitmapImage block{};
    Create_Image(&block, 0, 0, 16, 16);
    EXPECT_EQ(Load_Image(&blocks, &block, 7, 3, IMAGE_AT_CELL), 1);  // block 31 of the sheet
    EXPECT_EQ(block.state, IMAGE_LOADED);
    EXPECT_TRUE(Cut_From(block, 120, 52));
    Load_Image(&blocks, &block, 3, 2, IMAGE_AT_CELL);
    EXPECT_TRUE(Cut_From(block, 52, 35));
    Load_Image(&blocks, &block, 0, 0, IMAGE_AT_CELL);
    EXPECT_TRUE(Cut_From(block, 1, 1));
    Load_Image(&blocks, &block, 0, 0, IMAGE_AT_PIXEL);
    EXPECT_TRUE(Cut_From(block, 0, 0));
    Load_Image(&blocks, &block, 33, 17, IMAGE_AT_PIXEL);
    EXPECT_TRUE(Cut_From(block, 33, 17));
    EXPECT_EQ(block.x, 0);

    BitmapFile buttons = Make_Sheet(4 * 45 + 1, 2 * 45 + 1);
    BitmapImage button{};
    Create_Image(&button, 300, 200, 44, 44);
    Load_Image(&buttons, &button, 2, 1, IMAGE_AT_CELL);
    EXPECT_TRUE(Cut_From(button, 91, 46));
    EXPECT_EQ(button.x, 300);

    Destroy_Image(&block);
    Destroy_Image(&button);
    Unload_Bitmap_File(&blocks);
    Unload_Bitmap_File(&buttons);
}

TEST_F(ImageTest, OnlyWhatLiesInsideTheSourceIsCopied) {
    BitmapFile small = Make_Sheet(320, 200);
    BitmapImage background{};
    Create_Image(&background, 0, 0, 640, 480);
    Load_Image(&small, &background, 0, 0, IMAGE_AT_PIXEL);
    EXPECT_EQ(background.state, IMAGE_LOADED);
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            const uint8_t expected = (x < 320 && y < 200) ? Sheet_Pixel(x, y) : 0;
            ASSERT_EQ(background.buffer[y * 640 + x], expected) << x << "," << y;
        }
    }

    // A cut hanging over the top-left corner takes the part that overlaps.
    BitmapImage corner{};
    Create_Image(&corner, 0, 0, 4, 4);
    Load_Image(&small, &corner, -2, -3, IMAGE_AT_PIXEL);
    EXPECT_EQ(corner.buffer[0], 0);
    EXPECT_EQ(corner.buffer[3 * 4 + 2], Sheet_Pixel(0, 0));
    EXPECT_EQ(corner.buffer[3 * 4 + 3], Sheet_Pixel(1, 0));

    // Cells far outside the sheet copy nothing.
    BitmapImage far{};
    Create_Image(&far, 0, 0, 16, 16);
    Load_Image(&small, &far, INT_MAX, INT_MIN, IMAGE_AT_CELL);
    for (int i = 0; i < far.num_bytes; ++i) {
        EXPECT_EQ(far.buffer[i], 0);
    }
    Destroy_Image(&background);
    Destroy_Image(&corner);
    Destroy_Image(&far);
    Unload_Bitmap_File(&small);
}

TEST_F(ImageTest, LoadWithoutPixelsWritesNothing) {
    BitmapFile sheet = Make_Sheet(32, 32);
    BitmapImage empty{};
    empty.width = 16;
    empty.height = 16;
    EXPECT_EQ(Load_Image(&sheet, &empty, 0, 0, IMAGE_AT_CELL), 1);
    EXPECT_EQ(empty.state, IMAGE_CREATED);
    EXPECT_EQ(empty.buffer, nullptr);

    Unload_Bitmap_File(&sheet);
    BitmapImage image{};
    Create_Image(&image, 0, 0, 16, 16);
    EXPECT_EQ(Load_Image(&sheet, &image, 0, 0, IMAGE_AT_CELL), 1);
    for (int i = 0; i < image.num_bytes; ++i) {
        EXPECT_EQ(image.buffer[i], 0);
    }
    EXPECT_EQ(Load_Image(nullptr, &image, 0, 0, IMAGE_AT_CELL), 1);
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
        SCOPED_TRACE(testing::Message() << place[0] << "," << place[1]);
        block.x = place[0];
        block.y = place[1];
        Screen screen;
        EXPECT_EQ(Draw_Image(screen.pixels(), &block), 1);
        EXPECT_TRUE(screen.Shows_Only(block));
    }
    EXPECT_EQ(Draw_Image(nullptr, &block), 1);
    Destroy_Image(&block);
    Unload_Bitmap_File(&sheet);
}

TEST_F(ImageTest, AFullScreenImageCoversTheWholeBuffer) {
    BitmapFile picture = Make_Sheet(640, 480);
    BitmapImage background{};
    Create_Image(&background, 0, 0, 640, 480);
    Load_Image(&picture, &background, 0, 0, IMAGE_AT_PIXEL);
    Screen screen;
    Draw_Image(screen.pixels(), &background);
    EXPECT_TRUE(screen.Shows_Only(background));
    EXPECT_EQ(std::memcmp(screen.pixels(), picture.buffer, 640 * 480), 0);
    Destroy_Image(&background);
    Unload_Bitmap_File(&picture);
}

TEST_F(ImageTest, AFullScreenPictureCopiesWhatItHasAndClearsTheRest) {
    BitmapImage whole{};
    whole.state = IMAGE_LOADED;
    whole.width = 640;
    whole.height = 480;

    BitmapFile small = Make_Sheet(100, 30);
    Screen screen;
    EXPECT_EQ(Draw_Bitmap_Screen(screen.pixels(), &small), 1);
    std::vector<uint8_t> expected(640 * 480, 0);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 100; ++x) {
            expected[y * 640 + x] = Sheet_Pixel(x, y);
        }
    }
    whole.buffer = expected.data();
    EXPECT_TRUE(screen.Shows_Only(whole));

    BitmapFile large = Make_Sheet(700, 500);
    Draw_Bitmap_Screen(screen.pixels(), &large);
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            expected[y * 640 + x] = Sheet_Pixel(x, y);
        }
    }
    EXPECT_TRUE(screen.Shows_Only(whole));

    Unload_Bitmap_File(&large);
    Draw_Bitmap_Screen(screen.pixels(), &large);
    std::fill(expected.begin(), expected.end(), 0);
    EXPECT_TRUE(screen.Shows_Only(whole));
    EXPECT_EQ(Draw_Bitmap_Screen(nullptr, &small), 1);
    Unload_Bitmap_File(&small);
}

}  // namespace
