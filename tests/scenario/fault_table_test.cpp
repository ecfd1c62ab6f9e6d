// Every platform failure the game handles, injected into the whole program at start-up, during
// play, once and for good: the game does what it promises for that failure and
// still ends with exit code 0 and nothing leaked.
#include <gtest/gtest.h>

#include <string>

#include "app/winmain.h"
#include "game/piece.h"
#include "platform/common/backend.h"
#include "platform/keyboard.h"
#include "sound/sound_slots.h"
#include "support/app_game.h"
#include "support/app_script.h"

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
    EndsAtOnce,  // no window or no display: WinMain returns 0 before the title
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

// Start, a new game played for a while, Esc to the menu, the exit item and the closing screen.
// The fault goes in at the moment asked for.
void Run_With_Fault(const Case& c, Moment moment, int times) {
    const bool for_good = times < 0;
    const auto inject = [&c, times] { hl::fail(c.step, times); };
    uint64_t injected_at = 0;
    int fallen = 0;
    AppScript script;
    script.wait(State_Is(FLOW_MENU)).then([] { Press(platform::VK_RETURN); });
    script.when(State_Is(FLOW_PLAYING), [] { Release(platform::VK_RETURN); });
    script.wait(After_Peeks(10)).then([&] {
        if (moment == Moment::Play) {
            injected_at = hl::now();
            inject();
        }
    });
    script.wait(After_Peeks(40)).then([&] {
        fallen = piece.y;
        Press(platform::VK_ESCAPE);
    });
    script.when(State_Is(FLOW_MENU), [] { Release(platform::VK_ESCAPE); });
    script.hold(platform::VK_DOWN, 6).then([] { Press(platform::VK_RETURN); });
    script.when(State_Is(FLOW_CLOSING_SCREEN), [] {
        Release(platform::VK_RETURN);
        Press(platform::VK_SPACE);
    });
    script.when(State_Is(FLOW_SHUTDOWN), [] { Release(platform::VK_SPACE); });

    const std::string dir = CELLSTORM_BIN_DIR;  // the game's own data files
    if (moment == Moment::StartUp && c.at_start == Outcome::EndsAtOnce) {
        app_start_platform(dir);
        inject();
        EXPECT_EQ(0, WinMain(nullptr, nullptr, nullptr, 0));
        EXPECT_EQ(FLOW_STARTUP, game_state);
        EXPECT_EQ(nullptr, hl::main_window());
        EXPECT_EQ(nullptr, hl::primary_pixels());
        Expect_No_Leak();
        return;
    }
    const int code = script.run(dir, 0, moment == Moment::StartUp ? inject : AppScript::Action());
    EXPECT_EQ(0, code);
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
