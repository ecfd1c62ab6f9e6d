// The backend's clock and every wait. The game blocks in its own loops, so each wait unwinds
// the module (ASYNCIFY) and lets the browser run: events, timers, the sound callback and
// drawing all happen inside these waits.
#include <emscripten.h>

#include "platform/common/backend.h"
#include "platform/common/clock_internal.h"
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

}  // namespace

namespace platform {

namespace web {

void yield_to_browser(uint32_t ms) {
    present_if_waiting();
    wait_in_browser(int(ms));
    advance_silent_audio();
}

}  // namespace web

namespace backend {

uint64_t clock_ms() {
    return uint64_t(emscripten_get_now());
}

void wait_until_ms(uint64_t deadline_ms) {
    // A timer may fire early by a fraction of a millisecond; the game's waits are minimums.
    for (double left = double(deadline_ms) - emscripten_get_now(); left > 0;
         left = double(deadline_ms) - emscripten_get_now()) {
        web::yield_to_browser(uint32_t(left + 0.999));
    }
}

void wait_for_input_until_ms(uint64_t deadline_ms) {
    wait_until_ms(deadline_ms);
}

uint16_t system_millis() {
    return common::system_clock_millis();
}

// Events, timers and sound all run inside the waits; nothing to do between them.
void polled() {}

uint32_t idle_wait_ms() {
    return 3;
}

}  // namespace backend

}  // namespace platform
