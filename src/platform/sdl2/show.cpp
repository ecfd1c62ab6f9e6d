#include "platform/sdl2/show.h"

#include <vector>

#include "platform/port/placement.h"
#include "platform/port/scaler.h"

namespace platform::sdl2 {

namespace {

Scaler scaler;
SDL_Texture* texture = nullptr;
std::vector<SDL_Rect> changed;  // the window's rows to send

// The four black bars around the picture in an output of width x height.
void bars_around(const PictureRect& place, int width, int height, SDL_Rect bars[4]) {
    bars[0] = {0, 0, width, place.y};
    bars[1] = {0, place.y + place.h, width, height - place.y - place.h};
    bars[2] = {0, place.y, place.x, place.h};
    bars[3] = {place.x + place.w, place.y, width - place.x - place.w, place.h};
}

// The scaler at the picture's size; true when it was (re)made and everything must be drawn.
bool scaler_for(const PictureRect& place) {
    if (scaler.width() == place.w && scaler.height() == place.h) {
        return false;
    }
    scaler.set_size(place.w, place.h);
    return true;
}

void show_in_window_surface(SDL_Window* window, const uint8_t* pixels, const uint32_t lookup[256],
                            ScaleMode mode, bool everything) {
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (surface == nullptr || surface->format->format != kTextureFormat) {
        return;
    }
    PictureRect place = picture_rect(surface->w, surface->h, mode);
    everything = scaler_for(place) || everything;
    if (everything) {
        scaler.set_size(place.w, place.h);
    }
    const std::vector<RowSpan>& runs = scaler.update(pixels, lookup);
    if (runs.empty() && !everything) {
        return;
    }
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) {
        return;
    }
    changed.clear();
    for (const RowSpan& rows : runs) {
        auto* out = static_cast<uint8_t*>(surface->pixels) +
                    size_t(place.y + rows.first) * surface->pitch + size_t(place.x) * 4;
        scaler.write_rows(rows.first, rows.last, out, surface->pitch);
        changed.push_back({place.x, place.y + rows.first, place.w, rows.last - rows.first});
    }
    if (SDL_MUSTLOCK(surface)) {
        SDL_UnlockSurface(surface);
    }
    if (everything) {
        SDL_Rect bars[4];
        bars_around(place, surface->w, surface->h, bars);
        SDL_FillRects(surface, bars, 4, 0);
        SDL_UpdateWindowSurface(window);
        return;
    }
    SDL_UpdateWindowSurfaceRects(window, changed.data(), int(changed.size()));
}

void show_through_renderer(SDL_Renderer* renderer, const uint8_t* pixels,
                           const uint32_t lookup[256], ScaleMode mode, bool everything) {
    int width = 0;
    int height = 0;
    SDL_GetRendererOutputSize(renderer, &width, &height);
    PictureRect place = picture_rect(width, height, mode);
    if (scaler_for(place) || texture == nullptr) {
        forget_picture();
        texture = SDL_CreateTexture(renderer, kTextureFormat, SDL_TEXTUREACCESS_STREAMING,
                                    SDL_max(place.w, 1), SDL_max(place.h, 1));
        if (texture == nullptr) {
            return;
        }
        SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
        everything = true;
    }
    if (everything) {
        scaler.set_size(place.w, place.h);
    }
    // Only the rows that changed are scaled and sent; the texture keeps the rest.
    for (const RowSpan& rows : scaler.update(pixels, lookup)) {
        SDL_Rect run{0, rows.first, place.w, rows.last - rows.first};
        void* out = nullptr;
        int pitch = 0;
        if (SDL_LockTexture(texture, &run, &out, &pitch) == 0) {
            scaler.write_rows(rows.first, rows.last, out, pitch);
            SDL_UnlockTexture(texture);
        }
    }
    // The bars alone are painted black: clearing the whole output first would write every
    // pixel twice.
    SDL_Rect bars[4];
    bars_around(place, width, height, bars);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderFillRects(renderer, bars, 4);
    SDL_Rect target{place.x, place.y, place.w, place.h};
    SDL_RenderCopy(renderer, texture, nullptr, &target);
    SDL_RenderPresent(renderer);
}

}  // namespace

void show_picture(SDL_Window* window, SDL_Renderer* renderer, const uint8_t* pixels,
                  const uint32_t lookup[256], ScaleMode mode, bool everything) {
    if (renderer != nullptr) {
        show_through_renderer(renderer, pixels, lookup, mode, everything);
    } else if (window != nullptr) {
        show_in_window_surface(window, pixels, lookup, mode, everything);
    }
}

void forget_picture() {
    if (texture != nullptr) {
        SDL_DestroyTexture(texture);
        texture = nullptr;
    }
    scaler.set_size(0, 0);
}

}  // namespace platform::sdl2
