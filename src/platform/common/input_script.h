// Input scripts: one line per call of the input device's Poll. The replay tool plays them on
// the headless backend; the desktop game records them and plays them back.
//
//   [COUNT*]TOKENS     keys held during that poll (left right up down enter space esc a s p),
//                      or - for none; COUNT* stands for COUNT polls with the same keys.
//   unfocus            the window lost the focus after that poll (the player switched away).
//   jx=V jy=V jb=MASK  joystick position (0..65535) and button mask, only with a joystick;
//                      they stay until a later line changes them.
//   # seed N           the millisecond (0..999) the game seeds its random pieces from.
//   # joystick X Y     a joystick was present, resting at (X, Y); "# joystick none": none was.
//   # ...              any other comment; blank lines are skipped too.
#pragma once
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The keys a script can hold, in the order a poll applies them.
constexpr int SCRIPT_KEY_COUNT = 10;
extern const char* const script_key_names[SCRIPT_KEY_COUNT];
extern const int script_key_codes[SCRIPT_KEY_COUNT];

constexpr uint32_t MAX_SEED = 999;
constexpr uint32_t JOYSTICK_REST = 32767;

struct ScriptLine {
    uint64_t count = 1;
    uint32_t keys = 0;  // bit i: script_key_names[i] is held
    std::optional<uint32_t> joystick_x;
    std::optional<uint32_t> joystick_y;
    std::optional<uint32_t> joystick_buttons;
    bool unfocused = false;  // "unfocus": the window lost the focus after the poll
    int source_line = 0;     // 1-based, for messages
};

// What the comments at the top of a recording say about its start.
struct ScriptStart {
    std::optional<uint32_t> seed;
    bool joystick = false;
    uint32_t joystick_x = JOYSTICK_REST;  // where the stick rested at start-up
    uint32_t joystick_y = JOYSTICK_REST;
};

struct Script {
    ScriptStart start;
    std::vector<ScriptLine> lines;
    uint64_t polls = 0;  // sum of the counts
    std::string note;    // a warning for the player: the last line was cut short and dropped
};

// Parses the text of a script; joystick lines are allowed with `joystick` or after a
// "# joystick X Y" line. On a mistake returns false with error set to "line N: what is wrong".
// A last line without its newline that does not read (a recording cut short) is dropped, and
// the note says so.
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

// Everything one poll read.
struct PollInput {
    uint32_t keys = 0;  // bits as in ScriptLine
    uint32_t joystick_x = JOYSTICK_REST;
    uint32_t joystick_y = JOYSTICK_REST;
    uint32_t joystick_buttons = 0;
    bool unfocused = false;  // the window lost the focus after this poll
    bool operator==(const PollInput& other) const {
        return keys == other.keys && joystick_x == other.joystick_x &&
               joystick_y == other.joystick_y && joystick_buttons == other.joystick_buttons &&
               unfocused == other.unfocused;
    }
};

// Writes a recording as it is made: the header at once, then the polls, equal ones in a row
// folded into one COUNT* line. Joystick values are written only when they change.
class ScriptWriter {
  public:
    // file stays the caller's; `about` is the first comment line (what made the recording).
    ScriptWriter(std::FILE* file, const std::string& about, const ScriptStart& start);
    void add(const PollInput& poll);
    // Writes out the polls so far, the run still going included, and flushes the file.
    void flush();
    void comment(const std::string& text);
    // False once any write has failed.
    bool ok() const { return ok_; }

  private:
    void write(const std::string& text);
    void end_run();
    std::string run_line() const;

    std::FILE* file_;
    bool joystick_;
    PollInput written_;  // the joystick values the finished lines leave in place
    PollInput run_;
    uint64_t run_count_ = 0;
    long run_offset_ = -1;  // where the run's line starts, once it has been written out
    bool ok_ = true;
};

}  // namespace platform
