#include "app_script.h"

#include <gtest/gtest.h>

#include "app/winmain.h"
#include "platform/window.h"
#include "support/app_game.h"

AppScript& AppScript::when(Check ready, Action act) {
    steps_.push_back({std::move(ready), std::move(act), Action()});
    return *this;
}

AppScript& AppScript::during(Check done, Action every) {
    steps_.push_back({std::move(done), [] {}, std::move(every)});
    return *this;
}

AppScript& AppScript::hold(int virtual_key, int frames) {
    auto flips = std::make_shared<uint64_t>(0);
    then([virtual_key, flips] {
        *flips = platform::headless::flip_count();
        Press(virtual_key);
    });
    return when(
        [flips, frames] { return platform::headless::flip_count() >= *flips + uint64_t(frames); },
        [virtual_key] { Release(virtual_key); });
}

int AppScript::run(const std::string& data_dir, uint32_t millis, const Action& before) {
    app_start_platform(data_dir, millis);
    if (before) {
        before();
    }
    auto steps = std::make_shared<std::vector<Step>>(steps_);
    auto next = std::make_shared<size_t>(0);
    auto step_started = std::make_shared<uint64_t>(platform::headless::now());
    platform::headless::set_peek_hook([steps, next, step_started] {
        if (*next >= steps->size()) {
            return;
        }
        Step& step = (*steps)[*next];
        if (step.ready()) {
            step.act();
            ++*next;
            *step_started = platform::headless::now();
            return;
        }
        if (step.meanwhile) {
            step.meanwhile();
        }
        // The longest wait of the game is a few seconds.
        if (platform::headless::now() - *step_started > 60000) {
            *step_started = platform::headless::now();
            ADD_FAILURE() << "script stuck at step " << *next << " in game state " << game_state;
            platform::post_quit_message(99);
        }
    });
    const int code = WinMain(nullptr, nullptr, nullptr, 0);
    EXPECT_EQ(steps->size(), *next) << "steps run";
    return code;
}
