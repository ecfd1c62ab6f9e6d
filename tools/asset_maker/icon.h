// The game's icon: the logo's chrome lettering, a C, over a pile of cells on the storm sky.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lettering.h"

// Drawn once at this size and shrunk by whole factors, so every size is an even box average.
constexpr int ICON_MASTER_SIZE = 768;
// The sizes desktops look for, and the one the window gets.
constexpr int ICON_SIZES[] = {16, 32, 48, 64, 128, 256};
constexpr int WINDOW_ICON_SIZE = 64;

struct IconImage {
    int size = 0;
    std::vector<uint8_t> rgba;  // top-down rows, straight (not premultiplied) alpha
};

// The icon at every size in `sizes`, each of which must divide ICON_MASTER_SIZE.
std::vector<IconImage> make_icons(Fonts& fonts, const std::vector<int>& sizes);

// The window's icon, CSICON.BMP, into data_dir; unless icon_dir is empty, every size of the
// desktop's icon into it as cellstorm-SIZE.png. Throws when a file cannot be written.
void write_icons(Fonts& fonts, const std::string& data_dir, const std::string& icon_dir);

// PNG through libpng: 8-bit RGBA, no time stamp, so the same icon gives the same bytes.
std::vector<uint8_t> encode_png(const IconImage& icon);
// 32-bit BMP with an alpha mask (BITMAPV4HEADER), which SDL reads for the window's icon.
std::vector<uint8_t> encode_bmp_rgba(const IconImage& icon);
