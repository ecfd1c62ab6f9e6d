// The window and the picture in it. The game's 8-bit primary surface is shown through the
// palette in force: a 256-entry lookup and the scaler turn it into the picture at its final
// size in one pass (see show.h). Presents never wait for the vertical blank, so fades and
// frames keep their own timing.
#include <cstring>
#include <string>
#include <vector>

#ifdef __linux__
#include <unistd.h>
#endif

#include "platform/common/backend.h"
#include "platform/diagnostics.h"
#include "platform/port/placement.h"
#include "platform/port/settings.h"
#include "platform/sdl2/sdl2_backend.h"
#include "platform/sdl2/show.h"

namespace platform::sdl2 {

using namespace port;

namespace {

// Changes closer together than this (the 256 single-entry palette sets of a new picture)
// are shown as one present; the game's fastest steps, the fades, are 12 ms apart.
constexpr uint64_t kMinPresentGapMs = 5;

SDL_Window* window = nullptr;
SDL_Renderer* renderer = nullptr;
bool cursor_shown = true;
std::string title;

bool sound_enabled = true;

// The newest picture the game has made visible, and whether it still has to be shown.
std::vector<uint8_t> frame_pixels(size_t(SCREEN_WIDTH) * SCREEN_HEIGHT);
PaletteEntry frame_palette[256] = {};
bool frame_waiting = false;
// The whole window has to be drawn again, bars and all.
bool everything_waiting = true;
uint64_t last_present_ms = 0;

// The palette the lookup was built from.
PaletteEntry lookup_palette[256] = {};
uint32_t lookup[256] = {};
bool lookup_valid = false;

void destroy_window() {
    forget_picture();
    if (renderer != nullptr) {
        SDL_DestroyRenderer(renderer);
        renderer = nullptr;
    }
    if (window != nullptr) {
        SDL_DestroyWindow(window);
        window = nullptr;
    }
    lookup_valid = false;
}

// An OpenGL renderer whose driver is a software rasteriser (no graphics hardware, or a
// virtual display). A renderer the user chose by name is kept whatever it is.
bool rasterised_in_software(SDL_Renderer* candidate) {
    SDL_RendererInfo info{};
    if (SDL_GetHint(SDL_HINT_RENDER_DRIVER) != nullptr ||
        SDL_GetRendererInfo(candidate, &info) != 0 || SDL_strncmp(info.name, "opengl", 6) != 0) {
        return false;
    }
    using GetString = const unsigned char* (*)(unsigned int);
    constexpr unsigned int kGlRenderer = 0x1F01;
    auto get_string = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned char* name = get_string != nullptr ? get_string(kGlRenderer) : nullptr;
    if (name == nullptr) {
        return false;
    }
    const char* text = reinterpret_cast<const char*>(name);
    return SDL_strstr(text, "llvmpipe") != nullptr || SDL_strstr(text, "softpipe") != nullptr ||
           SDL_strstr(text, "Software Rasterizer") != nullptr;
}

// Without a graphics device OpenGL is drawn by the processor, so making its renderer (and
// loading its libraries) only to find that out and throw it away is skipped.
bool graphics_device_present() {
#ifdef __linux__
    if (SDL_GetHint(SDL_HINT_RENDER_DRIVER) != nullptr) {
        return true;
    }
    for (int minor = 128; minor < 136; ++minor) {
        const std::string node = "/dev/dri/renderD" + std::to_string(minor);
        if (access(node.c_str(), F_OK) == 0) {
            return true;
        }
    }
    return false;
#else
    return true;
#endif
}

// SDL falls back to drawing into memory when it finds no display; a game nobody can see
// would run on forever, so that counts as no display unless it was asked for (the tests).
bool shows_on_a_screen() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr) {
        return false;
    }
    if (SDL_strcmp(driver, "offscreen") != 0 && SDL_strcmp(driver, "dummy") != 0) {
        return true;
    }
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    return asked != nullptr && SDL_strstr(asked, driver) != nullptr;
}

SDL_Rect desktop_bounds() {
    int display = window != nullptr ? SDL_GetWindowDisplayIndex(window) : 0;
    SDL_Rect bounds{0, 0, SCREEN_WIDTH, SCREEN_HEIGHT};
    if (SDL_GetDisplayBounds(display < 0 ? 0 : display, &bounds) != 0 || bounds.w <= 0 ||
        bounds.h <= 0) {
        bounds = SDL_Rect{0, 0, SCREEN_WIDTH, SCREEN_HEIGHT};
    }
    return bounds;
}

// Where a window goes: the player's size, or the largest whole-number size that leaves room
// for the desktop around it; centred.
SDL_Rect window_place() {
    const Settings& settings = active_settings();
    SDL_Rect usable{0, 0, SCREEN_WIDTH, SCREEN_HEIGHT};
    SDL_GetDisplayUsableBounds(window != nullptr ? SDL_GetWindowDisplayIndex(window) : 0, &usable);
    int width = settings.window_width;
    int height = settings.window_height;
    if (width <= 0 || height <= 0) {
        int steps =
            SDL_max(1, SDL_min((usable.w - 64) / SCREEN_WIDTH, (usable.h - 64) / SCREEN_HEIGHT));
        width = SCREEN_WIDTH * steps;
        height = SCREEN_HEIGHT * steps;
    }
    return {SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height};
}

void present() {
    if (!lookup_valid || std::memcmp(lookup_palette, frame_palette, sizeof lookup_palette) != 0) {
        std::memcpy(lookup_palette, frame_palette, sizeof lookup_palette);
        build_lookup(lookup_palette, lookup);
        lookup_valid = true;
    }
    show_picture(window, renderer, frame_pixels.data(), lookup, active_settings().scale,
                 everything_waiting);
    everything_waiting = false;
}

}  // namespace

bool ensure_window() {
    if (window != nullptr) {
        return true;
    }
    if (!init_subsystem(SDL_INIT_VIDEO)) {
        // The game says that it cannot start; the reason goes to the log.
        if (diagnostics_requested()) {
            SDL_LogError(SDL_LOG_CATEGORY_APPLICATION, "CELLSTORM: no display: %s", SDL_GetError());
        }
        return false;
    }
    if (!shows_on_a_screen()) {
        // The game says that it cannot start; the reason goes to the log.
        if (diagnostics_requested()) {
            SDL_LogError(SDL_LOG_CATEGORY_APPLICATION, "CELLSTORM: no display to show the game on");
        }
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    // No present that waits for the display.
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    // Full screen: made at the desktop's own size and place, so it covers the screen even
    // where no window manager carries out the full-screen request.
    const bool fullscreen = active_settings().fullscreen;
    SDL_Rect desktop = desktop_bounds();
    SDL_Rect place = fullscreen ? desktop : window_place();
    window = SDL_CreateWindow("CELLSTORM", place.x, place.y, place.w, place.h,
                              SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI |
                                  (fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0));
    if (window != nullptr) {
        // No smaller than the settings file takes, so the size it is left at can be saved.
        SDL_SetWindowMinimumSize(window, kMinWindowSize, kMinWindowSize);
        set_window_icon(window);
        renderer = graphics_device_present() ? SDL_CreateRenderer(window, -1, 0) : nullptr;
        if (renderer != nullptr && rasterised_in_software(renderer)) {
            // OpenGL drawn by the processor costs several times what writing the window's own
            // pixels does.
            SDL_DestroyRenderer(renderer);
            renderer = nullptr;
        }
        if (renderer == nullptr) {
            // Straight to the window's shared-memory image, not through a GL texture.
            SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
            SDL_Surface* surface = SDL_GetWindowSurface(window);
            if (surface != nullptr && surface->format->format != kTextureFormat) {
                // Pixels of another layout: SDL's own renderer converts them.
                renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
            }
        }
    }
    if (window == nullptr || (renderer == nullptr && SDL_GetWindowSurface(window) == nullptr)) {
        // The game says that it cannot start; the reason goes to the log.
        if (diagnostics_requested()) {
            SDL_LogError(SDL_LOG_CATEGORY_APPLICATION, "CELLSTORM: no window: %s", SDL_GetError());
        }
        destroy_window();
        return false;
    }
    SDL_ShowCursor(cursor_shown ? SDL_ENABLE : SDL_DISABLE);
    return true;
}

bool window_open() {
    return window != nullptr;
}

void set_sound_enabled(bool enabled) {
    sound_enabled = enabled;
}

void window_resized() {
    if (window != nullptr && (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP) == 0) {
        int width = 0;
        int height = 0;
        SDL_GetWindowSize(window, &width, &height);
        active_settings().window_width = SDL_clamp(width, kMinWindowSize, kMaxWindowSize);
        active_settings().window_height = SDL_clamp(height, kMinWindowSize, kMaxWindowSize);
    }
    redraw();
}

void flush_present(bool force) {
    if (!frame_waiting || window == nullptr) {
        return;
    }
    uint64_t now = backend::clock_ms();
    if (!force && now - last_present_ms < kMinPresentGapMs) {
        return;
    }
    present();
    frame_waiting = false;
    last_present_ms = backend::clock_ms();
}

void redraw() {
    everything_waiting = true;
    frame_waiting = true;
    flush_present(true);
}

}  // namespace platform::sdl2

namespace platform::backend {

void toggle_fullscreen() {
    using namespace sdl2;
    if (window == nullptr) {
        return;
    }
    if ((SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
        active_settings().fullscreen = false;
        SDL_SetWindowFullscreen(window, 0);
        SDL_Rect place = window_place();
        SDL_SetWindowSize(window, place.w, place.h);
        SDL_SetWindowPosition(window, place.x, place.y);
    } else {
        active_settings().fullscreen = true;
        SDL_Rect desktop = desktop_bounds();
        SDL_SetWindowPosition(window, desktop.x, desktop.y);
        SDL_SetWindowSize(window, desktop.w, desktop.h);
        SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    }
    redraw();
}

bool step_fails(Step step) {
    switch (step) {
        case Step::CreateWindow:
        case Step::DisplayCreate:
            return !sdl2::ensure_window();
        case Step::SoundCreate:
            // Sound turned off: no device, exactly as on a machine without one.
            return !sdl2::sound_enabled;
        default:
            // Everything else is done in memory, or fails by its own call (the audio device).
            return false;
    }
}

void window_created(int width, int height, const char* title) {
    // The window always covers the desktop; the size the game asks for is the desktop's.
    (void)width;
    (void)height;
    if (!sdl2::ensure_window()) {
        return;
    }
    window_title_changed(title);
    SDL_ShowWindow(sdl2::window);
    SDL_RaiseWindow(sdl2::window);
    sdl2::redraw();
}

void window_title_changed(const char* title) {
    sdl2::title = title != nullptr ? title : "";
    if (sdl2::window != nullptr) {
        SDL_SetWindowTitle(sdl2::window, sdl2::title.c_str());
    }
}

void window_destroyed() {
    sdl2::destroy_window();
    sdl2::frame_waiting = false;
    sdl2::everything_waiting = true;
}

void cursor_visible(bool visible) {
    sdl2::cursor_shown = visible;
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
        SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
    }
}

void primary_changed(const uint8_t* pixels, const PaletteEntry palette[256]) {
    if (sdl2::window == nullptr || pixels == nullptr || palette == nullptr) {
        return;
    }
    const size_t bytes = sdl2::frame_pixels.size();
    bool same = std::memcmp(sdl2::frame_palette, palette, sizeof sdl2::frame_palette) == 0 &&
                std::memcmp(sdl2::frame_pixels.data(), pixels, bytes) == 0;
    if (same) {
        // Text drawn again over itself (the pause line, every paused frame): nothing new.
        return;
    }
    std::memcpy(sdl2::frame_palette, palette, sizeof sdl2::frame_palette);
    std::memcpy(sdl2::frame_pixels.data(), pixels, bytes);
    // Shown at the game's next clock read, sleep or message peek, which follow within moments:
    // the present then takes its time out of the wait the game is starting, not on top of it.
    sdl2::frame_waiting = true;
}

}  // namespace platform::backend
