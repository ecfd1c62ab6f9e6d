// The seam's clock over the backend's: the tick count, sleeps and the system time. The game
// waits by spinning on the tick count, so a read that finds the same millisecond as the read
// just before, with no wait between them, waits for the next millisecond: the spin wakes once a
// millisecond, when the count can have changed. A read after any other wait (a sleep, an idle
// peek) is never held back, so a frame that starts there does not start late.
//
// A frame that reads the clock once, sleeps and then spins (the play frame) spins towards the
// same distance from that read every time. Once two frames of the same shape have shown the
// same distance, the spin's first repeated read sleeps straight to it. The distance learnt is
// the least the game could have meant (one past the last read it went on spinning at), so the
// sleep never ends after the game's own deadline; a spin that goes on past it is spun as before
// and teaches the new distance.
#include "platform/clock.h"

#include <chrono>

#include "platform/common/backend.h"
#include "platform/common/clock_internal.h"
#include "platform/port/session.h"

namespace platform {

namespace {

// Frames of the same shape that must agree before a spin is slept through.
constexpr int kAgreementsNeeded = 2;

struct ClockState {
    uint64_t last_read = UINT64_MAX;
    uint64_t waits = 0;
    uint64_t waits_at_last_read = 0;

    // Reads since the last wait of any kind.
    uint64_t reads_since_wait = 0;
    // The frame shape: exactly one read (the anchor), then a sleep of slept_ms, then the spin.
    bool shaped = false;
    uint64_t anchor = 0;
    uint32_t slept_ms = 0;
    // The reads after that sleep.
    uint64_t run_reads = 0;
    uint64_t run_previous = 0;
    bool run_ended_by_sleep_through = false;

    // What the frames so far have shown.
    uint32_t learnt_sleep_ms = 0;
    uint64_t learnt_distance = 0;
    int agreements = 0;
};

ClockState& clock_state() {
    static ClockState state;
    return state;
}

// The reads after a shaped frame's sleep are over: what did they show?
void end_run(ClockState& c) {
    if (!c.shaped) {
        return;
    }
    c.shaped = false;
    if (c.run_ended_by_sleep_through || c.run_reads < 2) {
        // Stopped where it was slept to (nothing new), or never spun (a frame that ran long).
        return;
    }
    const uint64_t distance = c.run_previous + 1 - c.anchor;
    if (c.learnt_sleep_ms == c.slept_ms && c.learnt_distance == distance) {
        ++c.agreements;
    } else {
        c.learnt_sleep_ms = c.slept_ms;
        c.learnt_distance = distance;
        c.agreements = 1;
    }
}

}  // namespace

namespace common {

void count_wait() {
    ClockState& c = clock_state();
    end_run(c);
    ++c.waits;
    c.reads_since_wait = 0;
}

uint16_t system_clock_millis() {
    auto since_epoch = std::chrono::system_clock::now().time_since_epoch();
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(since_epoch).count();
    return uint16_t(((ms % 1000) + 1000) % 1000);
}

void reset_clock() {
    clock_state() = ClockState();
}

}  // namespace common

uint32_t tick_count() {
    ClockState& c = clock_state();
    uint64_t now = backend::clock_ms();
    bool slept_through = false;
    if (now == c.last_read && c.waits == c.waits_at_last_read) {
        const uint64_t deadline = c.anchor + c.learnt_distance;
        if (c.shaped && c.agreements >= kAgreementsNeeded && c.learnt_sleep_ms == c.slept_ms &&
            deadline > now + 1) {
            // On to the millisecond before, then to the deadline itself: a backend whose long
            // waits end anywhere within their last millisecond ends a one-millisecond wait on
            // its edge, so the frame neither loses nor gains a millisecond.
            backend::wait_until_ms(deadline - 1);
            backend::wait_until_ms(deadline);
            slept_through = true;
        } else {
            backend::wait_until_ms(now + 1);
        }
        now = backend::clock_ms();
    }
    if (c.shaped) {
        ++c.run_reads;
        c.run_previous = c.last_read;
        c.run_ended_by_sleep_through = slept_through;
    }
    ++c.reads_since_wait;
    c.last_read = now;
    c.waits_at_last_read = c.waits;
    // After the reading, so a wait that starts here includes what the backend does now.
    backend::polled();
    return uint32_t(now);
}

void sleep_ms(uint32_t ms) {
    ClockState& c = clock_state();
    const bool one_read = c.reads_since_wait == 1;
    const uint64_t anchor = c.last_read;
    common::count_wait();
    c.shaped = one_read;
    c.anchor = anchor;
    c.slept_ms = ms;
    c.run_reads = 0;
    c.run_ended_by_sleep_through = false;
    backend::wait_until_ms(backend::clock_ms() + ms);
}

uint16_t system_time_millis() {
    return port::seeded_system_millis();
}

}  // namespace platform
