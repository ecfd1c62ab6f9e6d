#include "app/level_art.h"

#include <cstdio>

#include "frontend/main_menu.h"
#include "graphics/back_buffer.h"
#include "graphics/bitmap_file.h"
#include "graphics/display.h"
#include "graphics/image.h"

namespace {

constexpr int BLOCK_SIZE = 16;
constexpr int BLOCKS_PER_ROW = 8;

// Formats a picture name from its template; false when the prefix would not fit, so a cut-off
// name never opens some other file.
bool Format_Art_Name(char (&name)[80], const char* name_template, const char* prefix) {
    const int length = std::snprintf(name, sizeof name, name_template, prefix);
    return length > 0 && length < static_cast<int>(sizeof name);
}

}  // namespace

int Load_Level_Art(const char* prefix) {
    Free_Art_Images();
    if (prefix == nullptr) {
        return 0;
    }
    char name[80];
    if (!Format_Art_Name(name, "%sBLK8.BMP", prefix) || !Load_Bitmap_File(&work_bitmap, name)) {
        return 0;
    }
    for (int i = 0; i < BLOCK_IMAGE_COUNT; ++i) {
        Create_Image(&block_images[i], 0, 0, BLOCK_SIZE, BLOCK_SIZE);
        Load_Image(&work_bitmap, &block_images[i], i % BLOCKS_PER_ROW, i / BLOCKS_PER_ROW,
                   IMAGE_AT_CELL);
    }
    Unload_Bitmap_File(&work_bitmap);

    if (!Format_Art_Name(name, "%sDS8.BMP", prefix) || !Load_Bitmap_File(&work_bitmap, name)) {
        return 0;
    }
    Create_Image(&play_background, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
    Load_Image(&work_bitmap, &play_background, 0, 0, IMAGE_AT_PIXEL);
    // The palette stays in work_bitmap after its pixels are freed.
    Unload_Bitmap_File(&work_bitmap);
    DD_Fill_Surface(primary_surface, 0);
    DD_Fill_Surface(back_surface, 0);
    Set_Palette(work_bitmap.palette, 256);
    return 1;
}

int Free_Art_Images() {
    for (BitmapImage& block : block_images) {
        Destroy_Image(&block);
    }
    Destroy_Image(&play_background);
    Destroy_Image(&menu_background);
    for (BitmapImage& button : menu_buttons) {
        Destroy_Image(&button);
    }
    return 1;
}
