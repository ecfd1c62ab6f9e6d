#include "platform/port/settings.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <iterator>

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
static_assert(std::size(kSettings) == kSettingCount && std::size(kSections) == kSectionCount,
              "the layout has a line for each setting and section");

// Key names the file's own syntax would take apart (a comma ends a name, a ';' after a space
// starts a note, a '#' or '=' reads as one) are written as words, which SDL names no key.
const std::pair<const char*, const char*> kNameWords[] = {
    {",", "Comma"}, {";", "Semicolon"}, {"#", "Hash"}, {"=", "Equals"}};

// name with each word of it swapped for the other form, ' ' itself as "Space".
std::string swap_words(const std::string& name, bool to_words) {
    if (to_words && name == " ") {
        return "Space";
    }
    std::string out;
    for (size_t start = 0; start <= name.size();) {
        const size_t end = std::min(name.find(' ', start), name.size());
        std::string word = name.substr(start, end - start);
        for (const auto& [symbol, spelled] : kNameWords) {
            if (to_words ? word == symbol : same_ignoring_case(word, spelled)) {
                word = to_words ? spelled : symbol;
            }
        }
        out += (start == 0 ? "" : " ") + word;
        start = end + 1;
    }
    return out;
}

int section_index(const std::string& name) {
    for (int i = 0; i < kSectionCount; ++i) {
        if (name == kSections[i].name) {
            return i;
        }
    }
    return -1;
}

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

std::string join_names(const std::vector<std::string>& names, bool keys) {
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : ", ") + (keys ? swap_words(name, true) : name);
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
    if (error != std::errc() || stop != end || (number != 0 && number < kMinWindowSize) ||
        number > kMaxWindowSize) {
        return false;
    }
    *size = int(number);
    return true;
}

// Why value is refused for row (*taken false), or which of its names are, or empty. The
// defaults are taken unchecked, so they do not wait for a backend to know key names.
std::string read_setting(const SettingRow& row, const std::string& value, bool check, Settings* s,
                         bool* taken) {
    const std::string key = row.key;
    *taken = false;
    switch (row.kind) {
        case Kind::Flag:
            *taken = read_flag(value, &s->fullscreen);
            return *taken ? "" : key + " is yes or no";
        case Kind::Scale:
            if (value != "fit" && value != "integer") {
                return key + " is fit or integer";
            }
            s->scale = value == "fit" ? ScaleMode::Fit : ScaleMode::Integer;
            *taken = true;
            return "";
        case Kind::Size:
            *taken = read_size(value, row.slot == 0 ? &s->window_width : &s->window_height);
            return *taken ? "" : key + " is 0 or 160 ... 16384";
        case Kind::Keys:
        case Kind::PadButtons: {
            // A mistyped name costs only itself; a line of nothing but mistakes keeps the default.
            const bool keys = row.kind == Kind::Keys;
            const std::vector<std::string> names = split_names(value);
            std::vector<std::string> known;
            std::string unknown;
            for (const std::string& name : names) {
                if (!check || (keys ? key_code(name) != 0 : pad_button_from_name(name) >= 0)) {
                    known.push_back(name);
                } else {
                    unknown += (unknown.empty() ? "'" : ", '") + name + "'";
                }
            }
            *taken = names.empty() || !known.empty();
            if (*taken) {
                (keys ? s->keys : s->pad_buttons)[row.slot] = known;
            }
            return unknown.empty()
                       ? ""
                       : (keys ? "no key is named " : "no gamepad button is named ") + unknown;
        }
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
            return join_names(s.keys[row.slot], true);
        case Kind::PadButtons:
            return join_names(s.pad_buttons[row.slot], false);
    }
    return "";
}

// An empty list is written as nothing at all, with no space left at the end of the line.
std::string setting_line(const SettingRow& row, const Settings& s) {
    const std::string value = written_value(row, s);
    return std::string(row.key) + (value.empty() ? " =" : " = " + value);
}

// Where a setting added after line `end` goes: there, unless an indented line follows before the
// next [section], which inih would read as the new setting's value going on; then after it.
int past_indented(const std::vector<std::string>& lines, int end) {
    int indented = end;
    for (int next = end; next < int(lines.size()); ++next) {
        const size_t first = lines[next].find_first_not_of(" \t\r\n\f\v");
        if (first != std::string::npos && lines[next][first] == '[' &&
            is_section_line(lines[next].c_str() + first)) {
            break;
        }
        indented = first != std::string::npos && first > 0 ? next + 1 : indented;
    }
    return indented;
}

}  // namespace

bool is_section_line(const char* start) {
    bool was_space = false;
    for (const char* c = start + 1; *c != '\0'; ++c) {
        if (*c == ']' || (was_space && *c == ';')) {
            return *c == ']';
        }
        was_space = std::isspace(static_cast<unsigned char>(*c)) != 0;
    }
    return false;
}

int key_code(const std::string& name) {
    const int code = backend::key_from_name(name);
    return code != 0 ? code : backend::key_from_name(swap_words(name, false));
}

Settings default_settings() {
    Settings s;
    bool taken = false;
    for (const SettingRow& row : kSettings) {
        read_setting(row, row.fallback, false, &s, &taken);
    }
    return s;
}

std::string read_setting_line(Settings* s, const std::string& section, const std::string& name,
                              const std::string& value, int line, SettingsLayout* layout) {
    const int in = section_index(section);
    if (in < 0) {
        return "unknown section [" + section + "]; the line is ignored";
    }
    layout->section_end[in] = line;
    for (int i = 0; i < kSettingCount; ++i) {
        if (section == kSettings[i].section && name == kSettings[i].key) {
            bool taken = false;
            const std::string why = read_setting(kSettings[i], value, true, s, &taken);
            if (taken) {
                layout->setting_line[i] = line;
            }
            return why.empty() ? why
                               : why + (taken ? "; the line's other names are used"
                                              : "; the line is ignored");
        }
    }
    return "unknown setting '" + name + "' in [" + section + "]; the line is ignored";
}

std::vector<std::string> keys_bound_twice(const Settings& s) {
    struct Shared {
        int code;
        std::string name;
        std::vector<std::string> actions;
    };
    std::vector<Shared> keys;
    for (const SettingRow& row : kSettings) {
        if (row.kind != Kind::Keys) {
            continue;
        }
        for (const std::string& name : s.keys[row.slot]) {
            const int code = key_code(name);
            auto key = std::find_if(keys.begin(), keys.end(),
                                    [&](const Shared& k) { return k.code == code; });
            if (code == 0) {
                continue;
            }
            if (key == keys.end()) {
                keys.push_back({code, name, {row.key}});
            } else if (key->actions.back() != row.key) {
                key->actions.push_back(row.key);
            }
        }
    }
    std::vector<std::string> lines;
    for (const Shared& key : keys) {
        const size_t count = key.actions.size();
        if (count < 2) {
            continue;
        }
        std::string line = key.name + " is bound to ";
        for (size_t i = 0; i < count; ++i) {
            line += (i == 0 ? "" : i + 1 == count ? " and " : ", ") + key.actions[i];
        }
        lines.push_back(line + (count == 2 ? "; it does both" : "; it does all of them"));
    }
    return lines;
}

std::string settings_text(const Settings& s) {
    std::string text =
        "# CELLSTORM settings. What you change while playing is written back when you leave\n"
        "# the game; every other line stays as you wrote it. Lines starting with # are notes.\n";
    for (const Section& section : kSections) {
        text += "\n[" + std::string(section.name) + "]\n" + section.notes;
        for (const SettingRow& row : kSettings) {
            if (section.name != std::string(row.section)) {
                continue;
            }
            if (row.comment != nullptr) {
                text += "# " + std::string(row.comment) + "\n";
            }
            text += setting_line(row, s) + "\n";
        }
    }
    return text;
}

std::string edit_settings_text(const std::string& text, const SettingsLayout& layout,
                               const Settings& before, const Settings& after) {
    std::vector<std::string> lines;  // without their '\n', numbered from 1 as the reading counts
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    std::vector<std::string> added(lines.size() + 1);  // after each line
    std::string new_sections[kSectionCount];
    for (int i = 0; i < kSettingCount; ++i) {
        const SettingRow& row = kSettings[i];
        const std::string setting = setting_line(row, after);
        if (setting == setting_line(row, before)) {
            continue;
        }
        const int at = layout.setting_line[i];
        // A section that holds no setting yet gets one at the end: after its header the next
        // line might be an indented one, which would then continue the new setting's value.
        const int end = layout.section_end[section_index(row.section)];
        if (at > 0 && at <= int(lines.size())) {
            // The old line's byte-order mark and carriage return stay with it.
            std::string& old = lines[at - 1];
            const bool mark = at == 1 && old.compare(0, 3, "\xEF\xBB\xBF") == 0;
            const bool cr = !old.empty() && old.back() == '\r';
            old = (mark ? "\xEF\xBB\xBF" : "") + setting + (cr ? "\r" : "");
        } else if (end > 0 && end <= int(lines.size())) {
            added[past_indented(lines, end)] += setting + "\n";
        } else {
            new_sections[section_index(row.section)] += setting + "\n";
        }
    }
    std::string out;
    const bool ends_line = text.empty() || text.back() == '\n';
    for (size_t i = 0; i < lines.size(); ++i) {
        const bool last = i + 1 == lines.size();
        out += lines[i] + (!last || ends_line || !added[i + 1].empty() ? "\n" : "") + added[i + 1];
    }
    for (int i = 0; i < kSectionCount; ++i) {
        if (!new_sections[i].empty()) {
            out += std::string(out.empty()          ? ""
                               : out.back() == '\n' ? "\n"
                                                    : "\n\n") +
                   "[" + kSections[i].name + "]\n" + new_sections[i];
        }
    }
    return out;
}

Settings& active_settings() {
    static Settings settings = default_settings();
    return settings;
}

}  // namespace platform::port
