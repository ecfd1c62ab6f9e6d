// The player's settings file (INI): display, key bindings and gamepad buttons. Read at start,
// written back at exit when something changed at run time; a file with mistakes in it is
// never overwritten, so the player's edits are not lost.
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

// One name = value line of the file in its section, over *settings: empty when it was taken,
// else why it was refused.
std::string read_setting_line(Settings* settings, const std::string& section,
                              const std::string& name, const std::string& value);

// cellstorm.ini in the backend's folder for the player's settings.
std::string default_settings_path();

// Reads path over *settings (which holds the defaults). Each bad line leaves its default and
// adds one line to *warnings. False when the file exists but is unreadable or has bad lines:
// it must then not be overwritten. A missing file is fine.
bool load_settings(const std::string& path, Settings* settings, std::vector<std::string>* warnings);

// The file's text, with comments for the player.
std::string settings_text(const Settings& settings);

// Makes the file's folder when missing; false with the reason when it cannot be written to.
bool prepare_settings_folder(const std::string& path, std::string* reason);

// Writes a temporary file beside path and renames it over path, so a crash never leaves half
// a file. False with the reason on failure.
bool save_settings(const std::string& path, const Settings& settings, std::string* reason);

// The settings the backend runs with; the display updates them as the player changes them.
Settings& active_settings();

}  // namespace platform::port
