#include "app_script.h"

#include <gtest/gtest.h>

#include "app/game_state.h"
#include "platform/headless/control.h"
#include "platform/window.h"

AppScript& AppScript::when(Check ready, Action act) {
    steps_.push_back({std::move(ready), std::move(act), Action()});
    return *this;
}

AppScript& AppScript::then(Action act) {
    return when([] { return true; }, std::move(act));
}

AppScript& AppScript::wait(Check ready) {
    return when(std::move(ready), [] {});
}

AppScript& AppScript::hold(int virtual_key, int frames) {
    auto flips = std::make_shared<uint64_t>(0);
    then([virtual_key, flips] {
        *flips = platform::headless::flip_count();
        platform::headless::set_key(virtual_key, true);
    });
    return when(
        [flips, frames] { return platform::headless::flip_count() >= *flips + uint64_t(frames); },
        [virtual_key] { platform::headless::set_key(virtual_key, false); });
}

AppScript& AppScript::during(Check done, Action every) {
    steps_.push_back({std::move(done), [] {}, std::move(every)});
    return *this;
}

void AppScript::install() {
    auto steps = std::make_shared<std::vector<Step>>(steps_);
    std::shared_ptr<size_t> next = next_;
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
        // A step that never comes ends the run instead of hanging it.
        if (platform::headless::now() - *step_started > MAX_STEP_WAIT_MS) {
            *step_started = platform::headless::now();
            ADD_FAILURE() << "script stuck at step " << *next << " in game state " << game_state;
            platform::post_quit_message(APP_SCRIPT_STUCK);
        }
    });
}
