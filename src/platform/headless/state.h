// The headless backend's process state, in one function-local static so it is ready whenever it
// is first asked for, during static initialisation too.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/headless/control.h"

namespace platform::headless::detail {

constexpr size_t STEP_COUNT = size_t(backend::Step::JoystickCaps) + 1;

struct Joystick {
    bool present = false;
    uint32_t x = 32767;
    uint32_t y = 32767;
    uint32_t buttons = 0;
};

struct State {
    uint64_t now = 0;
    uint32_t system_millis = 0;
    std::array<bool, 256> keys{};
    std::vector<std::string> key_names;
    Joystick joystick;
    std::array<int, STEP_COUNT> faults{};  // 0 none, -1 always, N the next N calls
    std::array<uint64_t, STEP_COUNT> step_calls{};
    std::vector<SoundEvent> sound_events;
    bool audio_open = false;
    int capture_rate = 0;  // 0: no capture, sounds only move on
    uint64_t capture_ms = 0;
    std::vector<int16_t> captured;
    bool cursor_visible = true;
    std::function<void()> peek_hook;
    bool in_peek_hook = false;
    bool pixels_skipped = false;
};

State& state();

// Lets ms of virtual time pass, moving playing sounds on (through the mixer while capturing).
void pass_time(uint64_t ms);

}  // namespace platform::headless::detail
