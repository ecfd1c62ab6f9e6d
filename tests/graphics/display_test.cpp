// The display's set-up, fill and palette, and images cut from pictures and drawn at the edges.
#include "graphics/display.h"
#include "graphics/image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "graphics/back_buffer.h"
#include "platform/headless/control.h"
#include "support/graphics_fixture.h"

namespace {

namespace headless = platform::headless;
using platform::backend::Step;
using DisplayTest = test_support::GraphicsTest;

bool All_Bytes(const uint8_t* pixels, uint8_t value) {
    return std::count(pixels, pixels + SCREEN_WIDTH * SCREEN_HEIGHT, value) == 640 * 480;
}

bool Nothing_Held() {
    return !dd_object && !primary_surface && !back_surface && !dd_palette &&
           !headless::primary_pixels();
}

// shadow_palette and the hardware palette both hold exactly these 256 entries.
bool Showing(const PALETTEENTRY* palette) {
    return !std::memcmp(shadow_palette, palette, 1024) &&
           !std::memcmp(headless::hardware_palette().data(), palette, 1024);
}

// A palette whose entry i is distinct for every i (flags 4), for telling entries apart.
void Make_Palette(PALETTEENTRY out[256], int seed) {
    for (int i = 0; i < 256; ++i) {
        out[i] = PALETTEENTRY{uint8_t(i + seed), uint8_t(i * 3 + seed), uint8_t(255 - i),
                              platform::PC_NOCOLLAPSE};
    }
}

TEST_F(DisplayTest, AFailingStepReleasesEverythingMadeSoFarAndStopsAtOnce) {
    // Each required step, and the step after it that must not be tried once it has failed.
    const Step steps[][2] = {{Step::DisplayCreate, Step::DisplayCooperativeLevel},
                             {Step::DisplayCooperativeLevel, Step::DisplayMode},
                             {Step::DisplayMode, Step::CreateSurface},
                             {Step::CreateSurface, Step::GetAttachedSurface},
                             {Step::GetAttachedSurface, Step::CreatePalette},
                             {Step::CreatePalette, Step::CreatePalette}};
    for (const auto& step : steps) {
        SCOPED_TRACE(int(step[0]));
        const uint64_t next_calls = headless::step_calls(step[1]);
        headless::fail(step[0], 1);
        EXPECT_EQ(DD_Init(window_), 0);
        EXPECT_TRUE(Nothing_Held());
        EXPECT_EQ(headless::step_calls(step[1]), next_calls + (step[0] == step[1]));
        ASSERT_EQ(DD_Init(window_), 1);  // nothing of the failed attempt is in the way
        EXPECT_EQ(DD_Shutdown(), 1);
    }
}

TEST_F(DisplayTest, FillSetsEveryByteOrNothingWhenTheSurfaceCannotBeLocked) {
    ASSERT_EQ(DD_Init(window_), 1);
    EXPECT_EQ(DD_Fill_Surface(back_surface, 5), 1);
    EXPECT_TRUE(All_Bytes(headless::back_pixels(), 5) && All_Bytes(headless::primary_pixels(), 0));
    ASSERT_EQ(DD_Lock_Back_Surface(), 1);
    EXPECT_EQ(DD_Fill_Surface(back_surface, 6), 1);  // already locked by the game
    DD_Unlock_Back_Surface();
    headless::fail(Step::SurfaceLock, 1);
    EXPECT_EQ(DD_Fill_Surface(back_surface, 7) + DD_Fill_Surface(nullptr, 8), 2);
    EXPECT_TRUE(All_Bytes(headless::back_pixels(), 5));
}

TEST_F(DisplayTest, SetPaletteChangesTheFirstCountEntriesOneCallEachRestoreAllInOne) {
    ASSERT_EQ(DD_Init(window_), 1);
    PALETTEENTRY first[256], second[256], mixed[256], saved[256];
    Make_Palette(first, 10);
    Make_Palette(second, 90);
    second[9].peFlags = 0;  // flags are kept as given
    struct Case {
        const PALETTEENTRY* entries;
        int count;
        const PALETTEENTRY* showing;
    };
    std::memcpy(mixed, second, 16 * sizeof(PALETTEENTRY));
    std::memcpy(mixed + 16, first + 16, 240 * sizeof(PALETTEENTRY));
    for (Case c : {Case{first, 256, first}, Case{second, 0, first}, Case{second, -5, first},
                   Case{second, 16, mixed}}) {
        const uint64_t calls = headless::palette_set_count();
        EXPECT_EQ(Set_Palette(c.entries, c.count), 1);
        EXPECT_EQ(headless::palette_set_count() - calls, uint64_t(std::max(c.count, 0)));
        EXPECT_TRUE(Showing(c.showing)) << c.count;
    }
    EXPECT_EQ(Save_Palette(saved), 1);
    EXPECT_EQ(std::memcmp(saved, mixed, sizeof saved), 0);
    const uint64_t calls = headless::palette_set_count();
    EXPECT_EQ(Restore_Palette(first), 1);
    EXPECT_EQ(headless::palette_set_count(), calls + 1);
    EXPECT_TRUE(Showing(first));
    EXPECT_EQ(Set_Palette_Entry(&second[0], -1) + Set_Palette_Entry(&second[0], 256), 0);
    EXPECT_TRUE(Showing(first));
}

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
