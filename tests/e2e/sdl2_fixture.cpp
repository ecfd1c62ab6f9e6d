#include "sdl2_fixture.h"

#include <SDL.h>

#include <cstdlib>

#include "platform/common/audio_internal.h"
#include "platform/common/window_internal.h"
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
    window = test_support::create_test_window(record);
    ASSERT_NE(window, nullptr) << SDL_GetError();
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

}  // namespace sdl2_test
