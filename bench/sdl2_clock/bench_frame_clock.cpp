// The lengths of frames and the wake-ups they cost under the desktop's real clock: a loop that
// asks the clock what the game's play frame and menu frame ask (a peek of the message loop,
// the frame's start read, its sleep, its spin), measured by the machine's own clock.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "platform/clock.h"
#include "platform/sdl2/sdl2_backend.h"
#include "platform/window.h"

namespace {

using Clock = std::chrono::steady_clock;

long wakeups() {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return usage.ru_nvcsw + usage.ru_nivcsw;
}

void peek() {
    platform::Message message{};
    while (platform::peek_message(&message)) {
    }
}

void play_frame() {
    peek();
    const uint32_t start = platform::tick_count();
    platform::sleep_ms(20);
    while (platform::tick_count() - start < 43) {
    }
}

void menu_frame() {
    peek();
    platform::sleep_ms(100);
}

void run_frames(benchmark::State& state, void (*frame)()) {
    // With a display (DISPLAY set, e.g. Xvfb) the waits are those of the game's window: on its
    // events.
    state.counters["window"] = platform::sdl2::ensure_window() ? 1 : 0;
    for (int i = 0; i < 10; ++i) {
        frame();  // what the clock learns from the first frames is not measured
    }
    std::vector<double> lengths;
    const long woken = wakeups();
    auto last = Clock::now();
    const auto first = last;
    for (auto _ : state) {
        frame();
        const auto now = Clock::now();
        lengths.push_back(std::chrono::duration<double, std::milli>(now - last).count());
        last = now;
    }
    std::sort(lengths.begin(), lengths.end());
    const double seconds = std::chrono::duration<double>(last - first).count();
    state.counters["median_ms"] = lengths[lengths.size() / 2];
    state.counters["p95_ms"] = lengths[std::min(lengths.size() - 1, lengths.size() * 95 / 100)];
    state.counters["wakeups_per_s"] = double(wakeups() - woken) / seconds;
}

void BM_Play_Frame(benchmark::State& state) {
    run_frames(state, play_frame);
}
BENCHMARK(BM_Play_Frame)->Iterations(200)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Menu_Frame(benchmark::State& state) {
    run_frames(state, menu_frame);
}
BENCHMARK(BM_Menu_Frame)->Iterations(50)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
