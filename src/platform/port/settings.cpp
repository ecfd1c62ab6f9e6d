#include "platform/port/settings.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/common/backend.h"
#include "platform/keyboard.h"
#include "platform/port/pad_buttons.h"

namespace platform::port {

const GameKey kGameKeys[kGameKeyCount] = {{VK_LEFT},  {VK_RIGHT},  {VK_UP}, {VK_DOWN}, {VK_RETURN},
                                          {VK_SPACE}, {VK_ESCAPE}, {VK_A},  {VK_S},    {VK_P}};

namespace {

// How a setting is read and written; slot says which of its kind it is.
enum class Kind {
    Flag,        // fullscreen
    Scale,       // scale
    Size,        // 0: window_width, 1: window_height
    Keys,        // the game key kGameKeys[slot]
    PadButtons,  // the joystick button slot + 1
};

struct SettingRow {
    const char* section;
    const char* key;
    const char* fallback;  // the default, as the file spells it
    const char* comment;   // the note above it in the file, or nullptr
    Kind kind;
    int slot;
};

struct Section {
    const char* name;
    const char* notes;  // between the [section] line and its first setting
};

const Section kSections[] = {
    {"display", ""},
    {"keys",
     "# Keys by the names on your keyboard (as SDL names them: A, Left, Return, Space,\n"
     "# Keypad 4, Left Shift, ...); several keys for one action are separated by commas.\n"
     "# Alt+Enter (full screen) and Alt+F4 (quit) are kept for themselves.\n"},
    {"gamepad",
     "# Which gamepad buttons give the game's joystick buttons: a, b, x, y, back, guide,\n"
     "# start, leftstick, rightstick, leftshoulder, rightshoulder, dpup, dpdown, dpleft,\n"
     "# dpright. The left stick and the d-pad move. A gamecontrollerdb.txt beside this\n"
     "# file teaches the game more gamepads.\n"},
};

// In the file's order, each section's settings together.
const SettingRow kSettings[] = {
    {"display", "fullscreen", "yes",
     "yes: the whole screen; no: a window. Alt+Enter switches while playing.", Kind::Flag, 0},
    {"display", "scale", "fit",
     "fit: as large as the screen allows; integer: whole-number steps only.", Kind::Scale, 0},
    {"display", "window_width", "0", "The window's size in pixels; 0 lets the game choose.",
     Kind::Size, 0},
    {"display", "window_height", "0", nullptr, Kind::Size, 1},
    {"keys", "left", "Left", "move left; in the menu: change the setting", Kind::Keys, 0},
    {"keys", "right", "Right", "move right; in the menu: change the setting", Kind::Keys, 1},
    {"keys", "up", "Up", "slow the fall; in the menu: previous item", Kind::Keys, 2},
    {"keys", "down", "Down", "drop faster; in the menu: next item", Kind::Keys, 3},
    {"keys", "enter", "Return, Keypad Enter", "select in the menu; leave the closing picture",
     Kind::Keys, 4},
    {"keys", "space", "Space", "select in the menu; leave the closing picture", Kind::Keys, 5},
    {"keys", "escape", "Escape", "open or leave the menu; leave the closing picture", Kind::Keys,
     6},
    {"keys", "turn_counter_clockwise", "A", "turn the piece counter-clockwise", Kind::Keys, 7},
    {"keys", "turn_clockwise", "S", "turn the piece clockwise", Kind::Keys, 8},
    {"keys", "pause", "P", "pause and resume", Kind::Keys, 9},
    {"gamepad", "button1", "b", "turn counter-clockwise", Kind::PadButtons, 0},
    {"gamepad", "button2", "a", "turn clockwise", Kind::PadButtons, 1},
    {"gamepad", "button3", "a", "select in the menu", Kind::PadButtons, 2},
    {"gamepad", "button4", "start", "pause", Kind::PadButtons, 3},
    {"gamepad", "button5", "back", "open the menu", Kind::PadButtons, 4},
};

std::vector<std::string> split_names(const std::string& text) {
    std::vector<std::string> names;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        if (comma == std::string::npos) {
            comma = text.size();
        }
        std::string name = text.substr(start, comma - start);
        const size_t first = name.find_first_not_of(" \t");
        const size_t last = name.find_last_not_of(" \t");
        if (first != std::string::npos) {
            names.push_back(name.substr(first, last - first + 1));
        }
        start = comma + 1;
    }
    return names;
}

std::string join_names(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : ", ") + name;
    }
    return text;
}

bool read_flag(const std::string& value, bool* flag) {
    for (const char* yes : {"yes", "true", "on", "1"}) {
        if (same_ignoring_case(value, yes)) {
            *flag = true;
            return true;
        }
    }
    for (const char* no : {"no", "false", "off", "0"}) {
        if (same_ignoring_case(value, no)) {
            *flag = false;
            return true;
        }
    }
    return false;
}

// Players' files have always been read this way: a leading '+' is taken, and "-0" is 0.
bool read_size(const std::string& value, int* size) {
    const char* first = value.data();
    const char* end = first + value.size();
    if (value.size() > 1 && value[0] == '+' && value[1] != '-') {
        ++first;
    }
    long number = 0;
    const auto [stop, error] = std::from_chars(first, end, number);
    if (error != std::errc() || stop != end || (number != 0 && number < 160) || number > 16384) {
        return false;
    }
    *size = int(number);
    return true;
}

// Why value is refused for row, or empty when it is taken. The defaults are taken unchecked,
// so they do not wait for a backend to know key names.
std::string read_setting(const SettingRow& row, const std::string& value, bool check, Settings* s) {
    const std::string key = row.key;
    std::vector<std::string> names = split_names(value);
    switch (row.kind) {
        case Kind::Flag:
            return read_flag(value, &s->fullscreen) ? "" : key + " is yes or no";
        case Kind::Scale:
            if (value != "fit" && value != "integer") {
                return key + " is fit or integer";
            }
            s->scale = value == "fit" ? ScaleMode::Fit : ScaleMode::Integer;
            return "";
        case Kind::Size:
            return read_size(value, row.slot == 0 ? &s->window_width : &s->window_height)
                       ? ""
                       : key + " is 0 or 160 ... 16384";
        case Kind::Keys:
            for (const std::string& name : names) {
                if (check && backend::key_from_name(name) == 0) {
                    return "no key is named '" + name + "'";
                }
            }
            s->keys[row.slot] = names;
            return "";
        case Kind::PadButtons:
            for (const std::string& name : names) {
                if (check && pad_button_from_name(name) < 0) {
                    return "no gamepad button is named '" + name + "'";
                }
            }
            s->pad_buttons[row.slot] = names;
            return "";
    }
    return "";
}

std::string written_value(const SettingRow& row, const Settings& s) {
    switch (row.kind) {
        case Kind::Flag:
            return s.fullscreen ? "yes" : "no";
        case Kind::Scale:
            return s.scale == ScaleMode::Fit ? "fit" : "integer";
        case Kind::Size:
            return std::to_string(row.slot == 0 ? s.window_width : s.window_height);
        case Kind::Keys:
            return join_names(s.keys[row.slot]);
        case Kind::PadButtons:
            return join_names(s.pad_buttons[row.slot]);
    }
    return "";
}

}  // namespace

Settings default_settings() {
    Settings s;
    for (const SettingRow& row : kSettings) {
        read_setting(row, row.fallback, false, &s);
    }
    return s;
}

std::string read_setting_line(Settings* s, const std::string& section, const std::string& name,
                              const std::string& value) {
    bool known_section = false;
    for (const Section& known : kSections) {
        known_section = known_section || section == known.name;
    }
    if (!known_section) {
        return "unknown section [" + section + "]";
    }
    for (const SettingRow& row : kSettings) {
        if (section == row.section && name == row.key) {
            return read_setting(row, value, true, s);
        }
    }
    return "unknown setting '" + name + "' in [" + section + "]";
}

std::string settings_text(const Settings& s) {
    std::string text =
        "# CELLSTORM settings. Written back when you leave the game, unless a line in it\n"
        "# cannot be read: then it is left as you wrote it. Lines starting with # are notes.\n";
    for (const Section& section : kSections) {
        text += "\n[" + std::string(section.name) + "]\n" + section.notes;
        for (const SettingRow& row : kSettings) {
            if (section.name != std::string(row.section)) {
                continue;
            }
            if (row.comment != nullptr) {
                text += "# " + std::string(row.comment) + "\n";
            }
            text += std::string(row.key) + " = " + written_value(row, s) + "\n";
        }
    }
    return text;
}

Settings& active_settings() {
    static Settings settings = default_settings();
    return settings;
}

}  // namespace platform::port
