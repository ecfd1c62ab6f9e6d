// The visible screen in memory, and its capture as a 24-bit BMP.
#include <cstdio>

#include "platform/common/video_internal.h"
#include "platform/headless/control.h"

namespace platform::headless {
namespace {

void put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

}  // namespace

const uint8_t* primary_pixels() {
    const Surface* primary = common::visible_primary();
    return primary ? primary->pixels.data() : nullptr;
}

const uint8_t* back_pixels() {
    const Surface* back = common::visible_back();
    return back ? back->pixels.data() : nullptr;
}

std::array<PaletteEntry, 256> hardware_palette() {
    return common::hardware_palette();
}

std::vector<uint8_t> screenshot_bmp() {
    const uint8_t* pixels = primary_pixels();
    if (pixels == nullptr) {
        return {};
    }
    const std::array<PaletteEntry, 256> palette = hardware_palette();
    const uint32_t row_bytes = SCREEN_WIDTH * 3;  // 1920: already a multiple of four
    const uint32_t image_bytes = row_bytes * SCREEN_HEIGHT;
    std::vector<uint8_t> out;
    out.reserve(54 + image_bytes);
    put16(out, 0x4D42);  // "BM"
    put32(out, 54 + image_bytes);
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, SCREEN_WIDTH);
    put32(out, SCREEN_HEIGHT);  // positive: bottom row first
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);
    put32(out, image_bytes);
    put32(out, 2835);  // 72 dpi
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = SCREEN_HEIGHT - 1; y >= 0; --y) {
        const uint8_t* row = pixels + size_t(y) * SCREEN_WIDTH;
        for (int x = 0; x < SCREEN_WIDTH; ++x) {
            const PaletteEntry& entry = palette[row[x]];
            out.push_back(entry.peBlue);
            out.push_back(entry.peGreen);
            out.push_back(entry.peRed);
        }
    }
    return out;
}

bool save_screenshot(const std::string& path) {
    std::vector<uint8_t> bytes = screenshot_bmp();
    if (bytes.empty()) {
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

uint64_t flip_count() {
    return common::video_counters().flips;
}
uint64_t palette_set_count() {
    return common::video_counters().palette_entry_sets;
}

}  // namespace platform::headless
