// Draw_Image is the per-frame hot path: the play background once, then one 16 x 16 block per
// occupied cell of the well.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "graphics/bitmap_file.h"
#include "graphics/image.h"

namespace {

// An image of the given size cut from a patterned picture, ready to draw.
BitmapImage Make_Loaded_Image(int width, int height) {
    std::vector<uint8_t> pixels(size_t(width) * size_t(height));
    for (size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = uint8_t(i * 7 + 3);
    }
    BitmapFile picture{};
    picture.bitmapinfoheader.biWidth = width;
    picture.bitmapinfoheader.biHeight = height;
    picture.buffer = pixels.data();
    BitmapImage image{};
    Create_Image(&image, 0, 0, width, height);
    Load_Image(&picture, &image, 0, 0, IMAGE_AT_PIXEL);
    return image;
}

void BM_Draw_Image_FullScreen(benchmark::State& state) {
    std::vector<uint8_t> screen(size_t(SCREEN_WIDTH) * SCREEN_HEIGHT);
    BitmapImage background = Make_Loaded_Image(SCREEN_WIDTH, SCREEN_HEIGHT);
    for (auto _ : state) {
        Draw_Image(screen.data(), &background);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * SCREEN_WIDTH * SCREEN_HEIGHT);
    Destroy_Image(&background);
}
BENCHMARK(BM_Draw_Image_FullScreen);

void BM_Draw_Image_Block16(benchmark::State& state) {
    std::vector<uint8_t> screen(size_t(SCREEN_WIDTH) * SCREEN_HEIGHT);
    BitmapImage block = Make_Loaded_Image(16, 16);
    int cell = 0;
    for (auto _ : state) {
        block.x = 32 + (cell % 18) * 16;
        block.y = 16 + (cell / 18) * 16;
        cell = (cell + 1) % (18 * 26);
        Draw_Image(screen.data(), &block);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()));
    Destroy_Image(&block);
}
BENCHMARK(BM_Draw_Image_Block16);

// A full well: 26 rows of 18 blocks, as in the busiest play frame.
void BM_Draw_Image_FullWell(benchmark::State& state) {
    std::vector<uint8_t> screen(size_t(SCREEN_WIDTH) * SCREEN_HEIGHT);
    BitmapImage block = Make_Loaded_Image(16, 16);
    for (auto _ : state) {
        for (int row = 0; row < 26; ++row) {
            for (int column = 0; column < 18; ++column) {
                block.x = 32 + column * 16;
                block.y = 16 + row * 16;
                Draw_Image(screen.data(), &block);
            }
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * 26 * 18);
    Destroy_Image(&block);
}
BENCHMARK(BM_Draw_Image_FullWell);

}  // namespace
