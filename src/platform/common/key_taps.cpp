#include "platform/common/key_taps.h"

#include "platform/common/window_internal.h"

namespace platform {

namespace {

struct VirtualKey {
    int holders = 0;  // physical keys holding it
    bool pressed_since_query = false;
    double pressed_at_ms = 0;
    uint32_t release_message = 0;  // held back until the press has been read: 0 when none
    intptr_t release_lparam = 0;
};
VirtualKey virtual_keys[256];

bool tap_remembered(const VirtualKey& state, double now_ms) {
    return state.pressed_since_query && now_ms - state.pressed_at_ms <= kTapMemoryMs;
}

void post_held_back_release(int key) {
    VirtualKey& state = virtual_keys[key];
    if (state.release_message != 0) {
        common::post_to_window(state.release_message, uintptr_t(key), state.release_lparam);
        state.release_message = 0;
    }
}

bool valid_key(int key) {
    return key > 0 && key <= 255;
}

}  // namespace

void count_key_change(int key, bool down, double now_ms) {
    if (!valid_key(key)) {
        return;
    }
    VirtualKey& state = virtual_keys[key];
    if (!down) {
        state.holders = state.holders > 0 ? state.holders - 1 : 0;
        return;
    }
    ++state.holders;
    post_held_back_release(key);
    state.pressed_since_query = true;
    state.pressed_at_ms = now_ms;
}

void post_key_release(int key, bool changed, uint32_t message, intptr_t lparam, double now_ms) {
    if (changed && valid_key(key)) {
        VirtualKey& state = virtual_keys[key];
        if (state.holders == 0 && tap_remembered(state, now_ms)) {
            state.release_message = message;
            state.release_lparam = lparam;
            return;
        }
    }
    common::post_to_window(message, uintptr_t(key), lparam);
}

void let_go_of_all_keys() {
    for (VirtualKey& state : virtual_keys) {
        state.holders = 0;
    }
}

void release_forgotten_taps(double now_ms) {
    for (int key = 1; key < 256; ++key) {
        VirtualKey& state = virtual_keys[key];
        if (state.release_message != 0 && !tap_remembered(state, now_ms)) {
            state.pressed_since_query = false;
            post_held_back_release(key);
        }
    }
}

void reset_key_taps() {
    for (VirtualKey& state : virtual_keys) {
        state = VirtualKey();
    }
}

bool read_key(int key, double now_ms) {
    if (!valid_key(key)) {
        return false;
    }
    VirtualKey& state = virtual_keys[key];
    const bool held = state.holders > 0 || tap_remembered(state, now_ms);
    state.pressed_since_query = false;
    post_held_back_release(key);
    return held;
}

}  // namespace platform
