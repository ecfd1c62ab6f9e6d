// Scripted input for whole runs through WinMain: steps run from the headless peek hook, which is
// called before the message loop looks at its queue, so between two Game_Main calls.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/game_state.h"
#include "platform/headless/control.h"

class AppScript {
  public:
    using Check = std::function<bool()>;
    using Action = std::function<void()>;

    // Once ready() holds at a peek, act() runs and the next step becomes current. One step a
    // peek at most, so then() runs after exactly one more Game_Main call.
    AppScript& when(Check ready, Action act);
    AppScript& then(Action act) {
        return when([] { return true; }, std::move(act));
    }
    AppScript& wait(Check ready) {
        return when(std::move(ready), [] {});
    }
    // Runs every() at each peek until done() holds; then the next step becomes current.
    AppScript& during(Check done, Action every);
    // Holds a key through `frames` frames that flip the page (menu and play frames).
    AppScript& hold(int virtual_key, int frames = 1);

    // A fresh platform on data_dir seeded with millis, the script as its peek hook, and WinMain;
    // expects every step to have run. A step that waits a minute of virtual time fails and ends
    // the run. before runs once the platform is set up, just before WinMain. Returns WinMain's
    // exit code.
    int run(const std::string& data_dir, uint32_t millis = 0, const Action& before = {});

  private:
    struct Step {
        Check ready;
        Action act;
        Action meanwhile;  // at each peek while not ready
    };
    std::vector<Step> steps_;
};

inline AppScript::Check State_Is(int state) {
    return [state] { return game_state == state; };
}
// True from the n-th time it is asked on: lets n peeks go by.
inline AppScript::Check After_Peeks(int n) {
    auto left = std::make_shared<int>(n);
    return [left] { return --*left < 0; };
}
inline void Press(int virtual_key) {
    platform::headless::set_key(virtual_key, true);
}
inline void Release(int virtual_key) {
    platform::headless::set_key(virtual_key, false);
}
