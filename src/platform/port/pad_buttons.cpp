#include "platform/port/pad_buttons.h"

#include <iterator>

#include "platform/common/joystick_map.h"

namespace platform::port {

namespace {

// Indexed by PadButton.
const char* const kPadButtonNames[] = {"a",
                                       "b",
                                       "x",
                                       "y",
                                       "back",
                                       "guide",
                                       "start",
                                       "leftstick",
                                       "rightstick",
                                       "leftshoulder",
                                       "rightshoulder",
                                       "dpup",
                                       "dpdown",
                                       "dpleft",
                                       "dpright"};
static_assert(std::size(kPadButtonNames) == kPadDpadRight + 1, "a name for every pad button");

}  // namespace

int pad_button_from_name(const std::string& name) {
    for (size_t i = 0; i < std::size(kPadButtonNames); ++i) {
        if (same_ignoring_case(name, kPadButtonNames[i])) {
            return int(i);
        }
    }
    return -1;
}

bool same_ignoring_case(const std::string& a, const char* b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i) {
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return i == a.size() && b[i] == '\0';
}

}  // namespace platform::port
