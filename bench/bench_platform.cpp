// The platform's per-frame and per-buffer costs: showing a frame (palette lookup, scaling into
// the streaming texture, the copy and the present; on SDL's offscreen driver with its software
// renderer, so no display is needed), and the mixer making 10 ms of sound.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/common/mixer.h"
#include "platform/types.h"

#ifdef CELLSTORM_BENCH_SDL2_PRESENT
#include <SDL.h>

#include "platform/port/placement.h"
#include "platform/sdl2/show.h"
#endif

namespace {

#ifdef CELLSTORM_BENCH_SDL2_PRESENT

std::vector<uint8_t> Patterned_Screen() {
    std::vector<uint8_t> pixels(640 * 480);
    for (size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = uint8_t(i * 13 + i / 640);
    }
    return pixels;
}

// A fade step's palette: every entry changes, so every frame rebuilds the lookup.
void Fade_Palette(platform::PaletteEntry palette[256], int step) {
    for (int i = 0; i < 256; ++i) {
        palette[i] = {uint8_t(i + step), uint8_t(i * 3 + step), uint8_t(255 - i), 4};
    }
}

// One present of the game's screen on a desktop of range(0) x range(1), the picture fitted,
// as the game shows it without graphics hardware: the changed rows scaled straight into the
// window's own pixels and sent (SDL's offscreen driver, so no display is needed). range(2) 0:
// a fade step, every row changes; 1: a play frame, where a falling piece's rows change.
void BM_Present(benchmark::State& state) {
    const int width = int(state.range(0));
    const int height = int(state.range(1));
    const bool fade = state.range(2) == 0;
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 1);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        state.SkipWithError(SDL_GetError());
        return;
    }
    SDL_Window* window = SDL_CreateWindow("bench", 0, 0, width, height, 0);
    if (window == nullptr || SDL_GetWindowSurface(window) == nullptr) {
        state.SkipWithError(SDL_GetError());
    } else {
        std::vector<uint8_t> screen = Patterned_Screen();
        platform::PaletteEntry palette[256];
        uint32_t lookup[256];
        Fade_Palette(palette, 0);
        platform::port::build_lookup(palette, lookup);
        int step = 0;
        for (auto _ : state) {
            ++step;
            if (fade) {
                Fade_Palette(palette, step);
                platform::port::build_lookup(palette, lookup);
            } else {
                // A piece moved down one cell, and the score changed.
                const int top = 16 * (step % 24);
                for (int y = top; y < top + 32; ++y) {
                    for (int x = 200; x < 264; ++x) {
                        screen[size_t(y) * 640 + x] = uint8_t(step + x);
                    }
                }
                for (int x = 440; x < 600; ++x) {
                    screen[size_t(90) * 640 + x] = uint8_t(step);
                }
            }
            platform::sdl2::show_picture(window, nullptr, screen.data(), lookup,
                                         platform::port::ScaleMode::Fit, step == 1);
        }
    }
    platform::sdl2::forget_picture();
    if (window != nullptr) {
        SDL_DestroyWindow(window);
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
BENCHMARK(BM_Present)
    ->ArgNames({"w", "h", "play"})
    ->Args({1920, 1080, 0})
    ->Args({1920, 1080, 1})
    ->Args({2560, 1440, 0})
    ->Args({2560, 1440, 1})
    ->Unit(benchmark::kMicrosecond);

#endif

// 10 ms at 44.1 kHz with state.range(0) voices playing: the music loop and effects on top.
void BM_Mixer_10ms(benchmark::State& state) {
    auto& voices = platform::common::live_buffers();
    voices.clear();
    for (int v = 0; v < state.range(0); ++v) {
        auto voice = std::make_unique<platform::SoundBuffer>();
        voice->samples.resize(11025 * 20);
        for (size_t i = 0; i < voice->samples.size(); ++i) {
            voice->samples[i] = uint8_t(128 + ((i * (v + 3)) % 64) - 32);
        }
        voice->playing = true;
        voice->looping = true;
        voice->gain = platform::common::gain_for_volume(-600 * v);
        voices.push_back(std::move(voice));
    }
    std::vector<int16_t> out(441);
    for (auto _ : state) {
        platform::common::mix_s16(out.data(), out.size(), 44100);
        benchmark::DoNotOptimize(out.data());
    }
    voices.clear();
}
BENCHMARK(BM_Mixer_10ms)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);

}  // namespace
