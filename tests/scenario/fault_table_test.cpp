// Every platform failure the game handles, injected into the whole program at start-up, during
// play, once and for good: the game does what it promises for that failure and ends with exit
// code 0 and nothing leaked, or at start-up without a window or display says so and ends with 1.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

#include "app/winmain.h"
#include "common/game_state.h"
#include "frontend/main_menu.h"
#include "game/piece.h"
#include "platform/common/backend.h"
#include "platform/keyboard.h"
#include "sound/sound_slots.h"
#include "support/app_game.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace hl = platform::headless;
using Step = platform::backend::Step;
using Kind = hl::SoundEvent::Kind;

namespace {

// What the player gets when the step fails at start-up; later failures always leave the game
// playing on.
enum class Outcome {
    EndsAtOnce,  // no window or no display: WinMain says why and returns 1 before the title
    Silent,      // no sound device, or no sound loads: everything else as usual
    PlaysOn,     // a frame without a picture or text, a sound that does not start, ...
};

enum class Moment { StartUp, Play };

struct Case {
    Step step;
    const char* name;
    Outcome at_start;
};

#define CASE(name, outcome) \
    { Step::name, #name, Outcome::outcome }
const Case kCases[] = {
    CASE(RegisterClass, EndsAtOnce),
    CASE(CreateWindow, EndsAtOnce),
    CASE(DisplayCreate, EndsAtOnce),
    CASE(DisplayCooperativeLevel, EndsAtOnce),
    CASE(DisplayMode, EndsAtOnce),
    CASE(CreateSurface, EndsAtOnce),
    CASE(GetAttachedSurface, EndsAtOnce),
    CASE(CreatePalette, EndsAtOnce),
    CASE(SurfaceLock, PlaysOn),
    CASE(SurfaceGetDC, PlaysOn),
    CASE(SoundCreate, Silent),
    CASE(SoundCooperativeLevel, Silent),
    CASE(SoundCreateBuffer, Silent),
    CASE(SoundBufferLock, Silent),
    CASE(SoundBufferUnlock, Silent),
    CASE(SoundBufferPlay, PlaysOn),
    CASE(SoundBufferSetPosition, PlaysOn),
    CASE(JoystickPosition, PlaysOn),
    CASE(JoystickCaps, PlaysOn),
};
static_assert(std::size(kCases) == size_t(Step::JoystickCaps) + 1, "one case per step");

void Expect_No_Leak() {
#if defined(__SANITIZE_ADDRESS__)
    EXPECT_EQ(0, __lsan_do_recoverable_leak_check());
#endif
}

// Start, a new game played for a while, Esc to the menu, the exit item and the closing screen,
// each key pressed once the game has reached the screen it is for. The fault goes in at the
// moment asked for.
void Run_With_Fault(const Case& c, Moment moment, int times) {
    const bool for_good = times < 0;
    const auto inject = [&c, times] { hl::fail(c.step, times); };
    app_start_platform(CELLSTORM_BIN_DIR);  // the game's own data files
    if (moment == Moment::StartUp) {
        inject();
    }
    if (moment == Moment::StartUp && c.at_start == Outcome::EndsAtOnce) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(1, WinMain(nullptr, nullptr, nullptr, 0));
        const char* what = c.step == Step::RegisterClass  ? "window class could not be registered"
                           : c.step == Step::CreateWindow ? "window could not be created"
                                                          : "display could not be set up";
        EXPECT_EQ("cellstorm: cannot start: the " + std::string(what) + "\n",
                  testing::internal::GetCapturedStderr());
        EXPECT_EQ(FLOW_STARTUP, game_state);
        EXPECT_EQ(nullptr, hl::main_window());
        EXPECT_EQ(nullptr, hl::primary_pixels());
        Expect_No_Leak();
        return;
    }
    uint64_t injected_at = 0, started = 0;
    int fallen = 0, peeks = 0;
    auto key = [](int virtual_key) { return [virtual_key] { hl::set_key(virtual_key, true); }; };
    auto state_is = [](int state) { return [state] { return game_state == state; }; };
    const std::pair<std::function<bool()>, std::function<void()>> steps[] = {
        {state_is(FLOW_MENU), key(platform::VK_RETURN)},
        {state_is(FLOW_PLAYING),
         [&] {
             hl::release_all_keys();
             peeks = 0;
         }},
        {[&] { return peeks == 10; },
         [&] {
             if (moment == Moment::Play) {
                 injected_at = hl::now();
                 inject();
             }
         }},
        {[&] { return peeks == 50; },
         [&] {
             fallen = piece.y;
             hl::set_key(platform::VK_ESCAPE, true);
         }},
        {state_is(FLOW_MENU),
         [] {
             hl::release_all_keys();
             menu_cursor = MENU_ITEM_EXIT;
         }},
        {[] { return true; }, key(platform::VK_RETURN)},
        {state_is(FLOW_CLOSING_SCREEN), key(platform::VK_SPACE)},
        {state_is(FLOW_SHUTDOWN), [] { hl::release_all_keys(); }},
    };
    size_t step = 0;
    hl::set_peek_hook([&] {
        ++peeks;
        if (step < std::size(steps) && steps[step].first()) {
            steps[step++].second();
            started = hl::now();
        } else if (step < std::size(steps) && hl::now() - started > 60000) {
            ADD_FAILURE() << "stuck at step " << step << " in game state " << game_state;
            started = hl::now();
            platform::post_quit_message(99);
        }
    });
    EXPECT_EQ(0, WinMain(nullptr, nullptr, nullptr, 0));
    EXPECT_EQ(std::size(steps), step);
    EXPECT_EQ(FLOW_SHUTDOWN, game_state);
    EXPECT_GT(fallen, 0) << "the piece fell";
    EXPECT_FALSE(hl::audio_device_open());
    int plays_after = 0;
    for (const hl::SoundEvent& event : hl::sound_events()) {
        plays_after += event.kind == Kind::Play && event.time >= injected_at ? 1 : 0;
    }
    // Without a device nothing ever sounds; without buffers, or with every start or rewind
    // refused, nothing starts from then on. Any other failure leaves sounds starting.
    const bool no_device = moment == Moment::StartUp &&
                           (c.step == Step::SoundCreate || c.step == Step::SoundCooperativeLevel);
    const bool none_start =
        for_good && (c.step == Step::SoundBufferPlay || c.step == Step::SoundBufferSetPosition ||
                     (moment == Moment::StartUp && c.at_start == Outcome::Silent));
    EXPECT_EQ(no_device || none_start, plays_after == 0) << plays_after << " sounds started";
    Expect_No_Leak();
}

class FaultTable : public ::testing::TestWithParam<Case> {};

TEST_P(FaultTable, TheGameGetsThroughEveryFailureItHandles) {
    for (Moment moment : {Moment::StartUp, Moment::Play}) {
        for (int times : {1, -1}) {
            SCOPED_TRACE(std::string(times < 0 ? "for good" : "once") + " at moment " +
                         std::to_string(int(moment)));
            app_expect_in_child([&] { Run_With_Fault(GetParam(), moment, times); });
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryStep, FaultTable, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
