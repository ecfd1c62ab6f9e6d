// The platform's per-frame and per-buffer costs: showing a frame (palette lookup, conversion
// into the streaming texture, the scaled copy and the present; on SDL's offscreen driver with
// its software renderer, so no display is needed), and the mixer making 10 ms of sound.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/common/mixer.h"
#include "platform/types.h"

#ifdef CELLSTORM_BENCH_SDL2_PRESENT
#include <SDL.h>

#include "platform/sdl2/present.h"
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

void BM_Present_Convert(benchmark::State& state) {
    std::vector<uint8_t> screen = Patterned_Screen();
    std::vector<uint32_t> out(640 * 480);
    platform::PaletteEntry palette[256];
    uint32_t lookup[256];
    int step = 0;
    for (auto _ : state) {
        Fade_Palette(palette, step++);
        platform::sdl2::build_lookup(palette, lookup);
        platform::sdl2::convert_pixels(screen.data(), lookup, out.data(), 640 * 4);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * 640 * 480);
}
BENCHMARK(BM_Present_Convert);

// The whole present at twice the size, as on a 1280 x 1024 desktop.
void BM_Present_Frame(benchmark::State& state) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    // As the game draws without graphics hardware: SDL's scaler into the window's own pixels.
    setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 1);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        state.SkipWithError(SDL_GetError());
        return;
    }
    SDL_Window* window = SDL_CreateWindow("bench", 0, 0, 1280, 1024, 0);
    SDL_Renderer* renderer =
        window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE) : nullptr;
    SDL_Texture* texture = renderer ? SDL_CreateTexture(renderer, platform::sdl2::kTextureFormat,
                                                        SDL_TEXTUREACCESS_STREAMING, 640, 480)
                                    : nullptr;
    if (texture == nullptr) {
        state.SkipWithError(SDL_GetError());
    } else {
        SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
        std::vector<uint8_t> screen = Patterned_Screen();
        platform::PaletteEntry palette[256];
        uint32_t lookup[256];
        auto place = platform::sdl2::picture_rect(1280, 1024);
        SDL_Rect target{place.x, place.y, place.w, place.h};
        int step = 0;
        for (auto _ : state) {
            Fade_Palette(palette, step++);
            platform::sdl2::build_lookup(palette, lookup);
            platform::sdl2::upload_frame(texture, screen.data(), lookup);
            SDL_RenderCopy(renderer, texture, nullptr, &target);
            SDL_RenderPresent(renderer);
        }
    }
    if (renderer != nullptr) {
        SDL_DestroyRenderer(renderer);
    }
    if (window != nullptr) {
        SDL_DestroyWindow(window);
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
BENCHMARK(BM_Present_Frame)->Unit(benchmark::kMicrosecond);

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
