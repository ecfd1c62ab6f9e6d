// 8-bit BMP pictures: headers, a 256-entry palette and top-down pixels.
#pragma once
#include <cstdint>

#include "graphics/display.h"

struct BITMAPFILEHEADER {
    uint16_t bfType;
    uint32_t bfSize;
    uint16_t bfReserved1;
    uint16_t bfReserved2;
    uint32_t bfOffBits;
};

struct BITMAPINFOHEADER {
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight;
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression;
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
};

// "BM" read as a little-endian word.
constexpr uint16_t BITMAP_ID = 0x4D42;
// Larger pictures are refused: the game's biggest is 640 x 480.
constexpr int BITMAP_MAX_SIDE = 8192;

// After a successful load the headers describe the pixels held: buffer is biWidth x biHeight
// bytes (biHeight made positive), rows from the top down, and biSizeImage is that size. Every
// other header field is as read from the file.
struct BitmapFile {
    BITMAPFILEHEADER bitmapfileheader;
    BITMAPINFOHEADER bitmapinfoheader;
    PALETTEENTRY palette[256];
    uint8_t* buffer;
};

// The one record every picture loader reuses: load, use, unload.
extern BitmapFile work_bitmap;

// 1 loaded. 0 when the file is missing (record untouched) or is not an uncompressed 8-bit BMP
// of 1..8192 pixels a side that holds everything its headers promise (buffer then null).
int Load_Bitmap_File(BitmapFile* bitmap, const char* filename);
// Frees the pixels; the headers and palette stay. Always 1.
int Unload_Bitmap_File(BitmapFile* bitmap);
