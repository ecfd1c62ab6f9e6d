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

#include "platform/sdl2/present.h"
#include "platform/sdl2/scaler.h"
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

// One present of the game's screen on a desktop of range(0) x range(1), the picture fitted:
// scaling the changed rows into the texture, the bars, the copy and the present, on SDL's
// offscreen driver with its software renderer (as without graphics hardware). range(2) 0: a
// fade step, every row changes; 1: a play frame, a falling piece's rows change.
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
    SDL_Renderer* renderer =
        window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE) : nullptr;
    auto place = platform::sdl2::picture_rect(width, height, platform::sdl2::ScaleMode::Fit);
    SDL_Texture* texture = renderer
                               ? SDL_CreateTexture(renderer, platform::sdl2::kTextureFormat,
                                                   SDL_TEXTUREACCESS_STREAMING, place.w, place.h)
                               : nullptr;
    if (texture == nullptr) {
        state.SkipWithError(SDL_GetError());
    } else {
        SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
        std::vector<uint8_t> screen = Patterned_Screen();
        platform::PaletteEntry palette[256];
        uint32_t lookup[256];
        Fade_Palette(palette, 0);
        platform::sdl2::build_lookup(palette, lookup);
        platform::sdl2::Scaler scaler;
        scaler.set_size(place.w, place.h);
        SDL_Rect target{place.x, place.y, place.w, place.h};
        SDL_Rect bars[2] = {{0, 0, place.x, height},
                            {place.x + place.w, 0, width - place.x - place.w, height}};
        int step = 0;
        for (auto _ : state) {
            ++step;
            if (fade) {
                Fade_Palette(palette, step);
                platform::sdl2::build_lookup(palette, lookup);
            } else {
                // A four-row piece moved down one cell: 32 rows of the well change.
                const int top = 16 * (step % 24);
                for (int y = top; y < top + 32; ++y) {
                    for (int x = 200; x < 264; ++x) {
                        screen[size_t(y) * 640 + x] = uint8_t(step + x);
                    }
                }
            }
            for (const platform::sdl2::RowSpan& rows : scaler.update(screen.data(), lookup)) {
                SDL_Rect changed{0, rows.first, place.w, rows.last - rows.first};
                void* out = nullptr;
                int pitch = 0;
                if (SDL_LockTexture(texture, &changed, &out, &pitch) == 0) {
                    scaler.write_rows(rows.first, rows.last, out, pitch);
                    SDL_UnlockTexture(texture);
                }
            }
            SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
            SDL_RenderFillRects(renderer, bars, 2);
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
