// Images: rectangles of 8-bit pixels cut from a loaded bitmap and drawn into the back buffer.
#pragma once
#include <cstdint>

#include "graphics/bitmap_file.h"

// state values
constexpr int IMAGE_CREATED = 0;  // pixels all 0, not drawable
constexpr int IMAGE_LOADED = 1;   // cut from a bitmap, drawable

// Load_Image modes
constexpr int IMAGE_AT_PIXEL = 0;
constexpr int IMAGE_AT_CELL = 1;

// A zeroed record is an empty image. buffer holds width x height bytes, rows from the top down.
struct BitmapImage {
    int state;
    int x;
    int y;
    int width;
    int height;
    int num_bytes;
    uint8_t* buffer;
};

// 1, or 0 when the pixels cannot be allocated (buffer null, other fields unchanged).
// Pixels the record still holds are not freed: destroy an image before creating it again.
int Create_Image(BitmapImage* image, int x, int y, int width, int height);
// 1 freed and zeroed, 0 when the record or its buffer is null.
int Destroy_Image(BitmapImage* image);
// Copies the image's rectangle out of the bitmap: at pixel (cx, cy) with mode 0, or cell
// (cx, cy) of a sheet of one-pixel-framed cells otherwise. Only what lies inside the bitmap is
// copied; an image without pixels is left alone. Always 1.
int Load_Image(const BitmapFile* bitmap, BitmapImage* image, int cx, int cy, int mode);
// Opaque copy at (x, y) into a 640 x 480 buffer of stride 640, clipped to it; nothing through a
// null destination. Always 1.
int Draw_Image(uint8_t* dest, const BitmapImage* image);
// A full-screen picture into a 640 x 480 buffer: its top-left part as far as the picture
// reaches, colour 0 wherever it does not. Nothing through a null destination. Always 1.
int Draw_Bitmap_Screen(uint8_t* dest, const BitmapFile* bitmap);
