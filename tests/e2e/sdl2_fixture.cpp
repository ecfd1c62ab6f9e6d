#include "sdl2_fixture.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/common/audio_internal.h"
#include "platform/common/video_internal.h"
#include "platform/common/window_internal.h"
#include "platform/sdl2/present.h"
#include "platform/sdl2/sdl2_backend.h"

namespace sdl2_test {

using namespace platform;

namespace {

std::vector<Seen> messages;

intptr_t record(WindowHandle window, uint32_t message, uintptr_t wparam, intptr_t lparam) {
    messages.push_back({message, wparam, lparam});
    if (message == WM_DESTROY) {
        post_quit_message(0);
        return 0;
    }
    return default_window_proc(window, message, wparam, lparam);
}

// SDL ends with the test program, as it ends with the game, so nothing it holds looks leaked.
class EndSdl : public ::testing::Environment {
  public:
    void TearDown() override { SDL_Quit(); }
};
const auto* const end_sdl = ::testing::AddGlobalTestEnvironment(new EndSdl);

}  // namespace

const std::vector<Seen>& seen_messages() {
    return messages;
}

void Sdl2Window::SetUp() {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_RENDER_DRIVER", "software", 1);
    // The window's own pixels, not a GL texture: no software GL driver gets loaded.
    setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    messages.clear();
    common::reset_windows();
    WindowClass window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = record;
    window_class.lpszClassName = "SDL2TEST";
    ASSERT_TRUE(register_class(window_class));
    window = create_window(WS_EX_TOPMOST, "SDL2TEST", "CELLSTORM", WS_POPUP | WS_VISIBLE, 0, 0,
                           screen_width(), screen_height());
    ASSERT_NE(window, nullptr) << SDL_GetError();
    ASSERT_NE(sdl2::game_window(), nullptr);
}

void Sdl2Window::TearDown() {
    common::reset_audio();
    common::reset_windows();
    SDL_QuitSubSystem(SDL_INIT_AUDIO | SDL_INIT_VIDEO);
}

void Sdl2Window::drain_messages() {
    Message message{};
    while (peek_message(&message)) {
        if (message.message == WM_QUIT) {
            messages.push_back({WM_QUIT, message.wparam, 0});
            continue;
        }
        translate_message(message);
        dispatch_message(message);
    }
}

void Sdl2Display::SetUp() {
    Sdl2Window::SetUp();
    if (HasFatalFailure()) {
        return;
    }
    ASSERT_EQ(display_create(&display), OK);
    ASSERT_EQ(display_set_cooperative_level(display, window, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE),
              OK);
    ASSERT_EQ(display_set_mode(display, 640, 480, 8), OK);
    SurfaceDesc desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    desc.dwBackBufferCount = 1;
    ASSERT_EQ(display_create_surface(display, desc, &primary), OK);
    ASSERT_EQ(surface_get_attached(primary, DDSCAPS_BACKBUFFER, &back), OK);
    PaletteEntry black[256] = {};
    ASSERT_EQ(display_create_palette(display, DDPCAPS_8BIT | DDPCAPS_INITIALIZE, black, &palette),
              OK);
    ASSERT_EQ(surface_set_palette(primary, palette), OK);
}

void Sdl2Display::TearDown() {
    common::reset_video();
    Sdl2Window::TearDown();
}

void Sdl2Display::set_colour(int index, uint8_t r, uint8_t g, uint8_t b) {
    PaletteEntry entry{r, g, b, PC_NOCOLLAPSE};
    ASSERT_EQ(palette_set_entries(palette, 0, index, 1, &entry), OK);
}

void Sdl2Display::flip_with(uint8_t index, int x, int y, uint8_t other) {
    SurfaceDesc desc{};
    desc.dwSize = sizeof desc;
    ASSERT_EQ(surface_lock(back, &desc, DDLOCK_WAIT), OK);
    auto* bytes = static_cast<uint8_t*>(desc.lpSurface);
    std::memset(bytes, index, 640 * 480);
    bytes[y * 640 + x] = other;
    ASSERT_EQ(surface_unlock(back, desc.lpSurface), OK);
    ASSERT_EQ(surface_flip(primary, DDFLIP_WAIT), OK);
}

uint32_t Sdl2Display::shown_output(int x, int y) {
    SDL_Renderer* renderer = SDL_GetRenderer(sdl2::game_window());
    SDL_Rect one{x, y, 1, 1};
    uint32_t pixel = 0;
    EXPECT_EQ(SDL_RenderReadPixels(renderer, &one, SDL_PIXELFORMAT_RGB888, &pixel, 4), 0)
        << SDL_GetError();
    return pixel & 0xFFFFFF;
}

uint32_t Sdl2Display::shown(int x, int y) {
    int width = 0;
    int height = 0;
    SDL_GetRendererOutputSize(SDL_GetRenderer(sdl2::game_window()), &width, &height);
    sdl2::PictureRect place = sdl2::picture_rect(width, height);
    return shown_output(place.x + (2 * x + 1) * place.w / 1280,
                        place.y + (2 * y + 1) * place.h / 960);
}

}  // namespace sdl2_test
