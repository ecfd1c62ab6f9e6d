// The clock and every wait. The game blocks in its own loops, so each wait unwinds the module
// (ASYNCIFY) and lets the browser run: events, timers, the sound callback and drawing all
// happen inside these waits. A tick-count read that finds the same millisecond as the one
// just before waits a millisecond, so the game's spins on the clock cost next to nothing.
#include <emscripten.h>

#include <chrono>

#include "platform/clock.h"
#include "platform/web/web_backend.h"

namespace {

// Woken by a scheduled task, or else by a message, rather than straight by a timer: a timer set
// from a timer's own callback is stretched to 4 ms by the browser after a few in a row, and
// the frame waits would grow by that much.
// clang-format off
EM_ASYNC_JS(void, wait_in_browser, (int ms), {
    if (typeof scheduler !== 'undefined' && scheduler.postTask) {
        await scheduler.postTask(function() {}, { delay: ms });
        return;
    }
    if (!Module.cellstormWaker) {
        const channel = new MessageChannel();
        channel.port1.onmessage = function() {
            const wake = Module.cellstormWake;
            Module.cellstormWake = null;
            if (wake) wake();
        };
        Module.cellstormWaker = channel.port2;
    }
    await new Promise(function(resolve) {
        Module.cellstormWake = resolve;
        if (ms > 0) {
            setTimeout(function() { Module.cellstormWaker.postMessage(0); }, ms);
        } else {
            Module.cellstormWaker.postMessage(0);
        }
    });
});
// clang-format on

uint32_t last_tick_read = 0;
// Waits so far, and their count at the last tick-count read.
uint32_t waits = 0;
uint32_t waits_at_last_read = 0;

uint32_t now_ms() {
    return uint32_t(uint64_t(emscripten_get_now()));
}

}  // namespace

namespace platform {

namespace web {

void yield_to_browser(uint32_t ms) {
    present_if_waiting();
    ++waits;
    wait_in_browser(int(ms));
    advance_silent_audio();
}

}  // namespace web

uint32_t tick_count() {
    uint32_t now = now_ms();
    // Only a spin waits here: a read after some other wait (a frame's first, after the message
    // loop's) must not make the frame start late.
    if (now == last_tick_read && waits == waits_at_last_read) {
        web::yield_to_browser(1);
        now = now_ms();
    }
    last_tick_read = now;
    waits_at_last_read = waits;
    return now;
}

void sleep_ms(uint32_t ms) {
    const double deadline = emscripten_get_now() + ms;
    // A timer may fire early by a fraction of a millisecond; the game's waits are minimums.
    for (double left = ms; left > 0; left = deadline - emscripten_get_now()) {
        web::yield_to_browser(uint32_t(left + 0.999));
    }
}

uint16_t system_time_millis() {
    auto since_epoch = std::chrono::system_clock::now().time_since_epoch();
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(since_epoch).count();
    return uint16_t(((ms % 1000) + 1000) % 1000);
}

}  // namespace platform
