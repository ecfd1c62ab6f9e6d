#include "script.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "numbers.h"
#include "platform/keyboard.h"

namespace replay {

const char* const script_key_names[SCRIPT_KEY_COUNT] = {"left",  "right", "up", "down", "enter",
                                                        "space", "esc",   "a",  "s",    "p"};
const int script_key_codes[SCRIPT_KEY_COUNT] = {
    platform::VK_LEFT,   platform::VK_RIGHT, platform::VK_UP,     platform::VK_DOWN,
    platform::VK_RETURN, platform::VK_SPACE, platform::VK_ESCAPE, platform::VK_A,
    platform::VK_S,      platform::VK_P};

namespace {

constexpr uint64_t MAX_LINE_COUNT = 1000000000;  // far beyond any run, far from overflow
constexpr uint32_t MAX_AXIS = 65535;

std::string trim(const std::string& text) {
    const char* blanks = " \t\r\n";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) {
        return std::string();
    }
    size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

int key_index(const std::string& token) {
    for (int i = 0; i < SCRIPT_KEY_COUNT; ++i) {
        if (token == script_key_names[i]) {
            return i;
        }
    }
    return -1;
}

// One jx=, jy= or jb= token into the line. False with a reason when it is not one.
bool parse_joystick_token(const std::string& token, ScriptLine* line, std::string* reason) {
    std::string name = token.substr(0, 3);
    std::string value = token.substr(3);
    uint64_t number = 0;
    if (name == "jb=") {
        if (!parse_mask(value, &number)) {
            *reason = "button mask '" + value + "' is not a number from 0 to 0xFFFFFFFF";
            return false;
        }
        line->joystick_buttons = uint32_t(number);
        return true;
    }
    if (!parse_count(value, MAX_AXIS, &number)) {
        *reason = "position '" + value + "' is not a number from 0 to 65535";
        return false;
    }
    (name == "jx=" ? line->joystick_x : line->joystick_y) = uint32_t(number);
    return true;
}

bool parse_line(const std::string& text, bool joystick, ScriptLine* line, std::string* reason) {
    std::string tokens = text;
    size_t star = text.find('*');
    if (star != std::string::npos) {
        std::string count = trim(text.substr(0, star));
        if (!parse_count(count, MAX_LINE_COUNT, &line->count) || line->count == 0) {
            *reason = "repeat count '" + count + "' is not a number from 1 to 1000000000";
            return false;
        }
        tokens = text.substr(star + 1);
    }
    std::istringstream words(tokens);
    std::string token;
    bool none = false;
    bool any = false;
    while (words >> token) {
        any = true;
        if (token == "-") {
            none = true;
        } else if (token.size() > 3 &&
                   (token.compare(0, 3, "jx=") == 0 || token.compare(0, 3, "jy=") == 0 ||
                    token.compare(0, 3, "jb=") == 0)) {
            if (!joystick) {
                *reason = "'" + token + "' needs --joystick";
                return false;
            }
            if (!parse_joystick_token(token, line, reason)) {
                return false;
            }
        } else {
            int key = key_index(token);
            if (key < 0) {
                *reason = "unknown key '" + token +
                          "' (keys: left right up down enter space esc a s p, or - for none)";
                return false;
            }
            line->keys |= 1u << key;
        }
    }
    if (!any) {
        *reason = "no keys after the repeat count (use - for none)";
        return false;
    }
    if (none && line->keys != 0) {
        *reason = "'-' (no keys) together with keys";
        return false;
    }
    return true;
}

}  // namespace

bool parse_script(const std::string& text, bool joystick, Script* script, std::string* error) {
    *script = Script();
    std::istringstream input(text);
    std::string raw;
    int number = 0;
    while (std::getline(input, raw)) {
        ++number;
        std::string text_line = trim(raw);
        if (text_line.empty() || text_line[0] == '#') {
            continue;
        }
        ScriptLine line;
        line.source_line = number;
        std::string reason;
        if (!parse_line(text_line, joystick, &line, &reason)) {
            *error = "line " + std::to_string(number) + ": " + reason;
            return false;
        }
        script->polls += line.count;
        script->lines.push_back(line);
    }
    return true;
}

bool load_script(const std::string& path, bool joystick, Script* script, std::string* error) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        *error = path + ": cannot read the script (" + std::strerror(errno) + ")";
        return false;
    }
    std::string text;
    char block[4096];
    size_t got = 0;
    while ((got = std::fread(block, 1, sizeof(block), file)) > 0) {
        text.append(block, got);
    }
    // A directory opens but does not read.
    bool failed = std::ferror(file) != 0;
    int reason = errno;
    std::fclose(file);
    if (failed) {
        *error = path + ": cannot read the script (" + std::strerror(reason) + ")";
        return false;
    }
    if (!parse_script(text, joystick, script, error)) {
        *error = path + ": " + *error;
        return false;
    }
    return true;
}

const ScriptLine* ScriptCursor::next() {
    while (line_ < script_.lines.size() && used_ >= script_.lines[line_].count) {
        ++line_;
        used_ = 0;
    }
    if (line_ >= script_.lines.size()) {
        return nullptr;
    }
    ++used_;
    return &script_.lines[line_];
}

}  // namespace replay
