// Small pieces shared by the whole-run scenarios.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>

#include "app/game_state.h"
#include "platform/headless/control.h"

namespace scenario {

inline std::function<bool()> State_Is(int state) {
    return [state] { return game_state == state; };
}

inline void Press(int virtual_key) {
    platform::headless::set_key(virtual_key, true);
}
inline void Release(int virtual_key) {
    platform::headless::set_key(virtual_key, false);
}

// True from the n-th time it is asked on: lets n peeks go by.
inline std::function<bool()> After_Peeks(int n) {
    auto left = std::make_shared<int>(n);
    return [left] { return --*left < 0; };
}

}  // namespace scenario
