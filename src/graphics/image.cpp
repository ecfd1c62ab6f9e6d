#include "graphics/image.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "graphics/display.h"

namespace {

bool Has_Pixels(const BitmapImage& image) {
    return image.buffer != nullptr && image.width > 0 && image.height > 0 &&
           int64_t(image.width) * image.height <= image.num_bytes;
}

// Rows of a loaded bitmap: the loader leaves them top-down and counts them positive, but a
// record filled by hand may still carry the file's sign.
int64_t Bitmap_Rows(const BitmapFile& bitmap) {
    const int64_t height = bitmap.bitmapinfoheader.biHeight;
    return height < 0 ? -height : height;
}

}  // namespace

int Create_Image(BitmapImage* image, int x, int y, int width, int height) {
    if (image == nullptr) {
        return 0;
    }
    const int64_t size = int64_t(width) * height;
    if (width <= 0 || height <= 0 || size > INT32_MAX) {
        image->buffer = nullptr;
        return 0;
    }
    uint8_t* pixels = new (std::nothrow) uint8_t[size_t(size)];
    if (pixels == nullptr) {
        image->buffer = nullptr;
        return 0;
    }
    std::memset(pixels, 0, size_t(size));
    image->buffer = pixels;
    image->state = IMAGE_CREATED;
    image->width = width;
    image->height = height;
    image->x = x;
    image->y = y;
    image->num_bytes = int(size);
    return 1;
}

int Destroy_Image(BitmapImage* image) {
    if (image == nullptr || image->buffer == nullptr) {
        return 0;
    }
    delete[] image->buffer;
    *image = BitmapImage{};
    return 1;
}

int Load_Image(const BitmapFile* bitmap, BitmapImage* image, int cx, int cy, int mode) {
    if (image == nullptr || bitmap == nullptr || !Has_Pixels(*image)) {
        return 1;
    }
    int64_t column = cx;
    int64_t row = cy;
    if (mode != IMAGE_AT_PIXEL) {
        column = int64_t(cx) * (image->width + 1) + 1;
        row = int64_t(cy) * (image->height + 1) + 1;
    }

    const int64_t source_width = bitmap->bitmapinfoheader.biWidth;
    const int64_t source_rows = Bitmap_Rows(*bitmap);
    if (bitmap->buffer != nullptr && source_width > 0) {
        const int64_t first_column = std::max<int64_t>(column, 0);
        const int64_t end_column = std::min<int64_t>(column + image->width, source_width);
        const int64_t first_row = std::max<int64_t>(row, 0);
        const int64_t end_row = std::min<int64_t>(row + image->height, source_rows);
        if (first_column < end_column) {
            const size_t count = size_t(end_column - first_column);
            for (int64_t r = first_row; r < end_row; ++r) {
                const uint8_t* from = bitmap->buffer + r * source_width + first_column;
                uint8_t* to = image->buffer + (r - row) * image->width + (first_column - column);
                std::memcpy(to, from, count);
            }
        }
    }
    image->state = IMAGE_LOADED;
    return 1;
}

int Draw_Image(uint8_t* dest, const BitmapImage* image) {
    if (dest == nullptr || image == nullptr || image->state != IMAGE_LOADED ||
        !Has_Pixels(*image)) {
        return 1;
    }
    const int64_t x = image->x;
    const int64_t y = image->y;
    const int64_t first_column = std::max<int64_t>(x, 0);
    const int64_t end_column = std::min<int64_t>(x + image->width, SCREEN_WIDTH);
    const int64_t first_row = std::max<int64_t>(y, 0);
    const int64_t end_row = std::min<int64_t>(y + image->height, SCREEN_HEIGHT);
    if (first_column >= end_column || first_row >= end_row) {
        return 1;
    }
    const size_t count = size_t(end_column - first_column);
    const uint8_t* from = image->buffer + (first_row - y) * image->width + (first_column - x);
    uint8_t* to = dest + first_row * SCREEN_WIDTH + first_column;
    for (int64_t r = first_row; r < end_row; ++r) {
        std::memcpy(to, from, count);
        from += image->width;
        to += SCREEN_WIDTH;
    }
    return 1;
}

int Draw_Bitmap_Screen(uint8_t* dest, const BitmapFile* bitmap) {
    if (dest == nullptr) {
        return 1;
    }
    int64_t width = 0;
    int64_t rows = 0;
    if (bitmap != nullptr && bitmap->buffer != nullptr && bitmap->bitmapinfoheader.biWidth > 0) {
        width = bitmap->bitmapinfoheader.biWidth;
        rows = std::min<int64_t>(Bitmap_Rows(*bitmap), SCREEN_HEIGHT);
    }
    if (width == SCREEN_WIDTH && rows == SCREEN_HEIGHT) {
        std::memcpy(dest, bitmap->buffer, size_t(SCREEN_WIDTH) * SCREEN_HEIGHT);
        return 1;
    }
    const size_t count = size_t(std::min<int64_t>(width, SCREEN_WIDTH));
    for (int64_t r = 0; r < SCREEN_HEIGHT; ++r) {
        uint8_t* to = dest + r * SCREEN_WIDTH;
        size_t copied = 0;
        if (r < rows) {
            std::memcpy(to, bitmap->buffer + r * width, count);
            copied = count;
        }
        std::memset(to + copied, 0, SCREEN_WIDTH - copied);
    }
    return 1;
}
