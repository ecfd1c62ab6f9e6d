// A hostile picture, loaded and then used every way the game uses one: images cut at pixels
// and at sheet cells, drawn partly off the screen, shown full screen, and as level art.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/level_art.h"
#include "fuzz_files.h"
#include "game/play_screen.h"
#include "graphics/bitmap_file.h"
#include "graphics/image.h"

namespace {

struct Cut {
    int width, height, cx, cy, mode, draw_x, draw_y;
};

// Sheet cells and pixel rectangles at the picture's corners and past its edges.
const Cut cuts[] = {
    {16, 16, 0, 0, IMAGE_AT_CELL, 0, 0},         {16, 16, 7, 3, IMAGE_AT_CELL, 630, 470},
    {44, 44, 3, 1, IMAGE_AT_CELL, -20, -20},     {44, 44, 40, 40, IMAGE_AT_CELL, 600, 0},
    {640, 480, 0, 0, IMAGE_AT_PIXEL, 0, 0},      {100, 50, 600, 460, IMAGE_AT_PIXEL, -50, 450},
    {3, 700, -5, -5, IMAGE_AT_PIXEL, 320, -300}, {700, 3, 1, 1, IMAGE_AT_PIXEL, -30, 479},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::vector<uint8_t> screen(640 * 480);
    fuzz_write_file("FZBLK8.BMP", data, size);
    fuzz_write_file("FZDS8.BMP", data, size);
    if (Load_Bitmap_File(&work_bitmap, "FZBLK8.BMP")) {
        for (const Cut& cut : cuts) {
            BitmapImage image{};
            if (Create_Image(&image, cut.draw_x, cut.draw_y, cut.width, cut.height)) {
                Load_Image(&work_bitmap, &image, cut.cx, cut.cy, cut.mode);
                Draw_Image(screen.data(), &image);
                Destroy_Image(&image);
            }
        }
        Draw_Bitmap_Screen(screen.data(), &work_bitmap);
        Unload_Bitmap_File(&work_bitmap);
    }
    Load_Level_Art("FZ");
    for (const BitmapImage& block : block_images) {
        Draw_Image(screen.data(), &block);
    }
    Draw_Image(screen.data(), &play_background);
    Free_Art_Images();
    return 0;
}
