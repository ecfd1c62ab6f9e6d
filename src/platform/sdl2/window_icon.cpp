// The window's icon: the same picture as the desktop's icon, from the data file CSICON.BMP.
#include <cstdio>
#include <vector>

#include "platform/files.h"
#include "platform/sdl2/sdl2_backend.h"

namespace platform::sdl2 {

namespace {

// A 256 x 256 icon at 32 bits with its header; anything larger is not our icon.
constexpr size_t kMaxIconBytes = 14 + 124 + 256 * 256 * 4;
constexpr int kMaxIconSide = 256;

}  // namespace

void set_window_icon(SDL_Window* window) {
    std::FILE* file = open_data_file("CSICON.BMP", "rb");
    if (file == nullptr) {
        return;
    }
    std::vector<unsigned char> bytes(kMaxIconBytes + 1);
    size_t length = std::fread(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    if (length == 0 || length > kMaxIconBytes) {
        return;
    }
    SDL_Surface* icon = SDL_LoadBMP_RW(SDL_RWFromConstMem(bytes.data(), int(length)), 1);
    if (icon == nullptr) {
        return;
    }
    if (icon->w > 0 && icon->h > 0 && icon->w <= kMaxIconSide && icon->h <= kMaxIconSide) {
        SDL_SetWindowIcon(window, icon);
    }
    SDL_FreeSurface(icon);
}

}  // namespace platform::sdl2
