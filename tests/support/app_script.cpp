#include "app_script.h"

#include "platform/headless/control.h"

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
    platform::headless::set_peek_hook([steps, next] {
        if (*next >= steps->size()) {
            return;
        }
        Step& step = (*steps)[*next];
        if (step.ready()) {
            step.act();
            ++*next;
        } else if (step.meanwhile) {
            step.meanwhile();
        }
    });
}
