// The input script of a replay: one line per call of the input device's Poll.
//
//   [COUNT*]TOKENS     keys held during that poll (left right up down enter space esc a s p),
//                      or - for none; COUNT* stands for COUNT polls with the same keys.
//   jx=V jy=V jb=MASK  joystick position (0..65535) and button mask, only with a joystick;
//                      they stay until a later line changes them.
//   # ...              comment; blank lines are skipped too.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace replay {

// The keys a script can hold, in the order a poll applies them.
constexpr int SCRIPT_KEY_COUNT = 10;
extern const char* const script_key_names[SCRIPT_KEY_COUNT];
extern const int script_key_codes[SCRIPT_KEY_COUNT];

struct ScriptLine {
    uint64_t count = 1;
    uint32_t keys = 0;  // bit i: script_key_names[i] is held
    std::optional<uint32_t> joystick_x;
    std::optional<uint32_t> joystick_y;
    std::optional<uint32_t> joystick_buttons;
    int source_line = 0;  // 1-based, for messages
};

struct Script {
    std::vector<ScriptLine> lines;
    uint64_t polls = 0;  // sum of the counts
};

// Parses the text of a script. On a mistake returns false with error set to
// "line N: what is wrong".
bool parse_script(const std::string& text, bool joystick, Script* script, std::string* error);

// Reads and parses a script file; error names the file on failure.
bool load_script(const std::string& path, bool joystick, Script* script, std::string* error);

// Walks a script poll by poll.
class ScriptCursor {
  public:
    explicit ScriptCursor(const Script& script) : script_(script) {}
    // The line for the next poll, or null once the script is used up.
    const ScriptLine* next();

  private:
    const Script& script_;
    size_t line_ = 0;
    uint64_t used_ = 0;  // polls already taken from the current line
};

}  // namespace replay
