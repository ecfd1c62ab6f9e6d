// The player's settings file (INI): display, key bindings and gamepad buttons. Read at start,
// made with its notes when missing; at exit only the lines of what changed at run time are
// written, so the player's notes and the lines the game cannot use stay as the player wrote them.
#pragma once
#include <string>
#include <vector>

#include "platform/port/options.h"

namespace platform::port {

constexpr int kGameKeyCount = 10;

// The virtual key each setting of [keys] gives the game, in the file's order.
struct GameKey {
    int virtual_key;
};
extern const GameKey kGameKeys[kGameKeyCount];

// The game's joystick buttons 1 ... 5 as gamepad buttons.
constexpr int kJoyButtonCount = 5;

// A window's width or height as the file takes it (0 too: chosen from the screen).
constexpr int kMinWindowSize = 160;
constexpr int kMaxWindowSize = 16384;

constexpr int kSettingCount = 19;
constexpr int kSectionCount = 3;

// Where a file's settings are, as its reading found them: line numbers from 1, 0 for none.
struct SettingsLayout {
    int setting_line[kSettingCount] = {};  // the last line each setting was taken from
    int section_end[kSectionCount] = {};   // the last line with a setting in the section
};

// default_settings() gives each its default.
struct Settings {
    bool fullscreen = false;
    ScaleMode scale = ScaleMode::Fit;
    int window_width = 0;  // 0: chosen from the screen
    int window_height = 0;
    std::vector<std::string> keys[kGameKeyCount];           // key names, as the backend knows them
    std::vector<std::string> pad_buttons[kJoyButtonCount];  // gamepad button names
};

Settings default_settings();

// Line number line, name = value in its section, over *settings and noted in *layout: empty
// when it was taken, else why it was refused. A list of names with some the game does not know
// is taken without them, and says which they were.
std::string read_setting_line(Settings* settings, const std::string& section,
                              const std::string& name, const std::string& value, int line,
                              SettingsLayout* layout);

// inih's own test for a [section] line, from its '[': a ']' before any inline comment.
bool is_section_line(const char* start);

// The backend's code for a key name as the file spells it (0: no such key).
int key_code(const std::string& name);

// One line for each key bound to several of the game's keys: it gives them all.
std::vector<std::string> keys_bound_twice(const Settings& settings);

// cellstorm.ini in the backend's folder for the player's settings.
std::string default_settings_path();

// Reads path over *settings (which holds the defaults). Each bad line is skipped and adds one
// line to *warnings. False when the file exists but cannot be read: it must then not be
// overwritten. A missing file is fine.
bool load_settings(const std::string& path, Settings* settings, std::vector<std::string>* warnings);

// A whole file's text, with notes for the player.
std::string settings_text(const Settings& settings);

// text, laid out as layout says, with each setting that differs between before and after set
// to after's: on the line it was last taken from, else after the last setting of its section,
// else in its section added at the end. Every other line stays as it is.
std::string edit_settings_text(const std::string& text, const SettingsLayout& layout,
                               const Settings& before, const Settings& after);

// Makes the file's folder when missing; false with the reason when it cannot be written to.
bool prepare_settings_folder(const std::string& path, std::string* reason);

// Writes into path what changed from before to after (the whole of after, with notes, when
// path is missing) through a temporary file beside it renamed over it, so a crash never leaves
// half a file. False with the reason on failure.
bool save_settings(const std::string& path, const Settings& before, const Settings& after,
                   std::string* reason);

// The settings the backend runs with; the display updates them as the player changes them.
Settings& active_settings();

}  // namespace platform::port
