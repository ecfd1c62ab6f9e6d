#include "platform/common/input_script.h"

#include <charconv>
#include <cstdio>
#include <sstream>

#include "platform/common/file_read.h"
#include "platform/keyboard.h"

namespace platform {

const char* const script_key_names[SCRIPT_KEY_COUNT] = {"left",  "right", "up", "down", "enter",
                                                        "space", "esc",   "a",  "s",    "p"};
const int script_key_codes[SCRIPT_KEY_COUNT] = {VK_LEFT,  VK_RIGHT,  VK_UP, VK_DOWN, VK_RETURN,
                                                VK_SPACE, VK_ESCAPE, VK_A,  VK_S,    VK_P};

namespace {

constexpr uint64_t MAX_LINE_COUNT = 1000000000;  // far beyond any run, far from overflow
constexpr uint32_t MAX_AXIS = 65535;
// Hours of play, folded into runs, stay far below this.
constexpr size_t MAX_SCRIPT_SIZE = size_t(64) << 20;

// Plain digits up to max: no sign, no blanks, and from_chars refuses what would wrap around.
bool read_count(const std::string& text, uint64_t max, uint64_t* value, int base = 10) {
    const char* end = text.data() + text.size();
    uint64_t number = 0;
    const auto [stop, error] = std::from_chars(text.data(), end, number, base);
    if (error != std::errc() || stop != end || number > max) {
        return false;
    }
    *value = number;
    return true;
}

// A 32-bit mask, decimal or 0x and hexadecimal digits.
bool read_mask(const std::string& text, uint64_t* value) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        return read_count(text.substr(2), 0xFFFFFFFFu, value, 16);
    }
    return read_count(text, 0xFFFFFFFFu, value);
}

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
        if (!read_mask(value, &number)) {
            *reason = "button mask '" + value + "' is not a number from 0 to 0xFFFFFFFF";
            return false;
        }
        line->joystick_buttons = uint32_t(number);
        return true;
    }
    if (!read_count(value, MAX_AXIS, &number)) {
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
        if (!read_count(count, MAX_LINE_COUNT, &line->count) || line->count == 0) {
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
        } else if (token == "unfocus") {
            line->unfocused = true;
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

// A "# seed N" or "# joystick ..." line into the start; other comments change nothing.
bool parse_header(const std::string& comment, ScriptStart* start, std::string* reason) {
    std::istringstream words(comment.substr(1));
    std::string name, first, second, extra;
    words >> name >> first >> second >> extra;
    uint64_t x = 0;
    uint64_t y = 0;
    if (name == "seed") {
        if (!read_count(first, MAX_SEED, &x) || !second.empty()) {
            *reason = "'# seed' wants one number from 0 to 999";
            return false;
        }
        start->seed = uint32_t(x);
    } else if (name == "joystick") {
        if (first == "none" && second.empty()) {
            start->joystick = false;
            return true;
        }
        if (!read_count(first, MAX_AXIS, &x) || !read_count(second, MAX_AXIS, &y) ||
            !extra.empty()) {
            *reason = "'# joystick' wants none, or two positions from 0 to 65535";
            return false;
        }
        start->joystick = true;
        start->joystick_x = uint32_t(x);
        start->joystick_y = uint32_t(y);
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
        std::string reason;
        ScriptLine line;
        line.source_line = number;
        const bool comment = !text_line.empty() && text_line[0] == '#';
        const bool read =
            comment ? parse_header(text_line, &script->start, &reason)
                    : text_line.empty() ||
                          parse_line(text_line, joystick || script->start.joystick, &line, &reason);
        // Without its newline the line is the end of a recording that was cut (a full disk,
        // a crash): what came before it still plays.
        if (!read && input.eof()) {
            script->note = "line " + std::to_string(number) + " is cut short (" + reason +
                           "); dropped, the script ends after poll " +
                           std::to_string(script->polls);
            return true;
        }
        if (!read) {
            *error = "line " + std::to_string(number) + ": " + reason;
            return false;
        }
        if (text_line.empty() || comment) {
            continue;
        }
        script->polls += line.count;
        script->lines.push_back(line);
    }
    return true;
}

bool load_script(const std::string& path, bool joystick, Script* script, std::string* error) {
    std::string text;
    std::string reason;
    if (common::read_whole_file(path, MAX_SCRIPT_SIZE, &text, &reason) != common::FileRead::Read) {
        *error = path + ": cannot read the script (" + reason + ")";
        return false;
    }
    if (!parse_script(text, joystick, script, error)) {
        *error = path + ": " + *error;
        return false;
    }
    if (!script->note.empty()) {
        script->note = path + ": " + script->note;
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

ScriptWriter::ScriptWriter(std::FILE* file, const std::string& about, const ScriptStart& start)
    : file_(file), joystick_(start.joystick) {
    written_.joystick_x = start.joystick_x;
    written_.joystick_y = start.joystick_y;
    comment(about);
    if (start.seed) {
        comment("seed " + std::to_string(*start.seed));
    }
    comment(joystick_ ? "joystick " + std::to_string(start.joystick_x) + " " +
                            std::to_string(start.joystick_y)
                      : std::string("joystick none"));
}

void ScriptWriter::add(const PollInput& poll) {
    if (run_count_ > 0 && !(poll == run_)) {
        end_run();
    }
    run_ = poll;
    ++run_count_;
}

void ScriptWriter::flush() {
    if (run_count_ > 0) {
        // The run so far goes out now. It is the last line of the file, so while it goes on it
        // is written again over itself with its longer count; where the file cannot be wound
        // back (a pipe), the run is cut here instead.
        if (run_offset_ < 0) {
            run_offset_ = std::ftell(file_);
        } else if (std::fseek(file_, run_offset_, SEEK_SET) != 0) {
            ok_ = false;
        }
        write(run_line());
        if (run_offset_ < 0) {
            written_ = run_;
            run_count_ = 0;
        }
    }
    if (ok_ && std::fflush(file_) != 0) {
        ok_ = false;
    }
}

void ScriptWriter::comment(const std::string& text) {
    end_run();
    write("# " + text + "\n");
}

void ScriptWriter::write(const std::string& text) {
    if (ok_ && std::fwrite(text.data(), 1, text.size(), file_) != text.size()) {
        ok_ = false;
    }
}

void ScriptWriter::end_run() {
    if (run_count_ == 0) {
        return;
    }
    if (run_offset_ >= 0 && std::fseek(file_, run_offset_, SEEK_SET) != 0) {
        ok_ = false;
    }
    write(run_line());
    run_offset_ = -1;
    written_ = run_;
    run_count_ = 0;
}

std::string ScriptWriter::run_line() const {
    std::string line = run_count_ > 1 ? std::to_string(run_count_) + "*" : std::string();
    std::string keys;
    for (int key = 0; key < SCRIPT_KEY_COUNT; ++key) {
        if (run_.keys & (1u << key)) {
            keys += (keys.empty() ? "" : " ") + std::string(script_key_names[key]);
        }
    }
    line += keys.empty() ? "-" : keys;
    line += run_.unfocused ? " unfocus" : "";
    if (joystick_) {
        if (run_.joystick_x != written_.joystick_x) {
            line += " jx=" + std::to_string(run_.joystick_x);
        }
        if (run_.joystick_y != written_.joystick_y) {
            line += " jy=" + std::to_string(run_.joystick_y);
        }
        if (run_.joystick_buttons != written_.joystick_buttons) {
            line += " jb=" + std::to_string(run_.joystick_buttons);
        }
    }
    return line + "\n";
}

}  // namespace platform
