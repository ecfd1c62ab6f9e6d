#include <gtest/gtest.h>

#include <string>

#include "platform/joystick.h"
#include "platform/video.h"
#include "support/headless_fixture.h"

namespace {

using namespace platform;
namespace headless = platform::headless;
using backend::Step;

// The steps the game plays on through, so the whole-program fault table cannot tell an injected
// fault from none; every other step's fault ends the game at start-up or silences it there.
struct World {
    test_support::TestDisplay d;
    SurfaceDesc desc{};
    DeviceContext* dc = nullptr;
    JoyInfoEx info{};
    JoyCaps caps{};

    World() {
        test_support::create_test_display(test_support::create_test_window(), &d);
        headless::set_joystick_present(true);
        info.dwSize = sizeof(info);
    }
};

struct Case {
    Step step;
    const char* name;
    bool (*succeeds)(World&);  // tries the step once
};
#define STEP(name, ...)                                                 \
    {                                                                   \
        Step::name, #name, [](World& w) -> bool { return __VA_ARGS__; } \
    }

constexpr Case kCases[] = {
    STEP(SurfaceLock, surface_lock(w.d.back, &w.desc, 0) == OK && w.desc.lpSurface != nullptr),
    STEP(SurfaceGetDC, surface_get_dc(w.d.back, &w.dc) == OK && w.dc != nullptr),
    STEP(JoystickPosition, joy_get_pos_ex(JOYSTICKID1, &w.info) == JOYERR_NOERROR),
    STEP(JoystickCaps, joy_get_dev_caps(JOYSTICKID1, &w.caps) == JOYERR_NOERROR && w.caps.wXmax),
};

class Faults : public test_support::HeadlessTest, public ::testing::WithParamInterface<Case> {};

// Without the fault the step succeeds; with it, it reports the failure it stands for.
TEST_P(Faults, EachInjectedFaultIsReportedAsThatFailure) {
    for (bool faulty : {false, true}) {
        headless::reset();
        World world;
        if (faulty) {
            headless::fail(GetParam().step);
        }
        EXPECT_EQ(GetParam().succeeds(world), !faulty) << (faulty ? "with" : "without") << " fault";
    }
}

INSTANTIATE_TEST_SUITE_P(EveryStep, Faults, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
