// The picture on the page: the game's 8-bit primary surface goes through a 256-entry lookup
// into RGBA pixels that the page puts on its 640 x 480 canvas; the page scales the canvas to
// fit with the 4:3 aspect kept, pixels sharp, black around it. Changes (a flip, the 256
// single-entry palette sets of a new picture, text) are only copied here; the canvas is drawn
// once when the game next yields, since the browser shows nothing new before that anyway.
#include <emscripten.h>

#include <cstring>

#include "platform/common/backend.h"
#include "platform/web/web_backend.h"

namespace platform::web {

namespace {

constexpr size_t kPixels = size_t(SCREEN_WIDTH) * SCREEN_HEIGHT;

uint8_t frame_pixels[kPixels];
PaletteEntry frame_palette[256];
bool frame_waiting = false;
bool window_live = false;

uint32_t rgba[kPixels];
uint32_t changes = 0;

void show_on_page() {
    uint32_t lookup[256];
    // Bytes R, G, B, A in memory: the canvas's own order on a little-endian module.
    for (int i = 0; i < 256; ++i) {
        lookup[i] = uint32_t(frame_palette[i].peRed) | (uint32_t(frame_palette[i].peGreen) << 8) |
                    (uint32_t(frame_palette[i].peBlue) << 16) | 0xFF000000u;
    }
    for (size_t i = 0; i < kPixels; ++i) {
        rgba[i] = lookup[frame_pixels[i]];
    }
    EM_ASM({ Module.cellstormShow($0, $1, $2); }, rgba, SCREEN_WIDTH, SCREEN_HEIGHT);
}

}  // namespace

void present_if_waiting() {
    if (frame_waiting && window_live) {
        frame_waiting = false;
        show_on_page();
    }
}

}  // namespace platform::web

// How many times the game has changed the visible picture (flips, palette sets, text): the
// browser test reads the frame rate from it.
extern "C" EMSCRIPTEN_KEEPALIVE uint32_t cellstorm_picture_changes() {
    return platform::web::changes;
}

namespace platform::backend {

bool step_fails(Step /*step*/) {
    // The page is the display; everything else is done in memory, and the sound device fails
    // by its own call when the browser has no audio.
    return false;
}

void window_title_changed(const char* /*title*/) {}

// The page's files are all in its one folder; the player's settings have no folder here.
std::string program_folder() {
    return std::string();
}

std::string settings_folder() {
    return std::string();
}

void window_created(int /*width*/, int /*height*/, const char* /*title*/) {
    web::window_live = true;
    web::frame_waiting = true;
}

void window_destroyed() {
    web::window_live = false;
    web::frame_waiting = false;
}

void cursor_visible(bool visible) {
    EM_ASM({ Module.cellstormCursor($0); }, visible ? 1 : 0);
}

void primary_changed(const uint8_t* pixels, const PaletteEntry palette[256]) {
    if (pixels == nullptr || palette == nullptr) {
        return;
    }
    ++web::changes;
    if (std::memcmp(web::frame_palette, palette, sizeof web::frame_palette) == 0 &&
        std::memcmp(web::frame_pixels, pixels, sizeof web::frame_pixels) == 0) {
        // Most play frames draw what the last one did (the piece falls every few frames):
        // the page is spared drawing the same picture again.
        return;
    }
    std::memcpy(web::frame_palette, palette, sizeof web::frame_palette);
    std::memcpy(web::frame_pixels, pixels, sizeof web::frame_pixels);
    web::frame_waiting = true;
}

}  // namespace platform::backend
