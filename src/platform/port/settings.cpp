#include "platform/port/settings.h"

#include <ini.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/common/backend.h"
#include "platform/keyboard.h"
#include "platform/port/bindings.h"

namespace platform::port {

const GameKey kGameKeys[kGameKeyCount] = {
    {"left", VK_LEFT, "Left", "move left; in the menu: change the setting"},
    {"right", VK_RIGHT, "Right", "move right; in the menu: change the setting"},
    {"up", VK_UP, "Up", "slow the fall; in the menu: previous item"},
    {"down", VK_DOWN, "Down", "drop faster; in the menu: next item"},
    {"enter", VK_RETURN, "Return, Keypad Enter", "select in the menu; leave the closing picture"},
    {"space", VK_SPACE, "Space", "select in the menu; leave the closing picture"},
    {"escape", VK_ESCAPE, "Escape", "open or leave the menu; leave the closing picture"},
    {"turn_counter_clockwise", VK_A, "A", "turn the piece counter-clockwise"},
    {"turn_clockwise", VK_S, "S", "turn the piece clockwise"},
    {"pause", VK_P, "P", "pause and resume"},
};

namespace {

const char* const kPadDefaults[kJoyButtonCount] = {"b", "a", "a", "start", "back"};
const char* const kPadComments[kJoyButtonCount] = {"turn counter-clockwise", "turn clockwise",
                                                   "select in the menu", "pause", "open the menu"};

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
        if (strcasecmp(value.c_str(), yes) == 0) {
            *flag = true;
            return true;
        }
    }
    for (const char* no : {"no", "false", "off", "0"}) {
        if (strcasecmp(value.c_str(), no) == 0) {
            *flag = false;
            return true;
        }
    }
    return false;
}

bool read_size(const std::string& value, int* size) {
    char* end = nullptr;
    errno = 0;
    long number = std::strtol(value.c_str(), &end, 10);
    if (value.empty() || *end != '\0' || errno != 0 || (number != 0 && number < 160) ||
        number > 16384) {
        return false;
    }
    *size = int(number);
    return true;
}

struct Reading {
    std::FILE* file;
    Settings* settings;
    std::vector<std::string>* warnings;
    std::string path;
    int line = 0;  // of the line inih last took
};

// Reads lines for inih and counts them, so a warning can name its line.
char* read_line(char* text, int size, void* stream) {
    auto* reading = static_cast<Reading*>(stream);
    char* got = std::fgets(text, size, reading->file);
    if (got != nullptr && std::strchr(got, '\n') != nullptr) {
        ++reading->line;
    }
    return got;
}

// Why a line was refused, or empty when it was taken.
std::string take(Settings* s, const std::string& section, const std::string& name,
                 const std::string& value) {
    if (section == "display") {
        if (name == "fullscreen") {
            return read_flag(value, &s->fullscreen) ? "" : "fullscreen is yes or no";
        }
        if (name == "scale") {
            if (value != "fit" && value != "integer") {
                return "scale is fit or integer";
            }
            s->scale = value == "fit" ? ScaleMode::Fit : ScaleMode::Integer;
            return "";
        }
        if (name == "window_width" || name == "window_height") {
            int* size = name == "window_width" ? &s->window_width : &s->window_height;
            return read_size(value, size) ? "" : name + " is 0 or 160 ... 16384";
        }
    } else if (section == "keys") {
        for (int i = 0; i < kGameKeyCount; ++i) {
            if (name != kGameKeys[i].name) {
                continue;
            }
            std::vector<std::string> names = split_names(value);
            for (const std::string& key : names) {
                if (backend::key_from_name(key) == 0) {
                    return "no key is named '" + key + "'";
                }
            }
            s->keys[i] = names;
            return "";
        }
    } else if (section == "gamepad") {
        for (int i = 0; i < kJoyButtonCount; ++i) {
            if (name != "button" + std::to_string(i + 1)) {
                continue;
            }
            std::vector<std::string> names = split_names(value);
            for (const std::string& button : names) {
                if (pad_button_from_name(button) < 0) {
                    return "no gamepad button is named '" + button + "'";
                }
            }
            s->pad_buttons[i] = names;
            return "";
        }
    } else {
        return "unknown section [" + section + "]";
    }
    return "unknown setting '" + name + "' in [" + section + "]";
}

int handle_entry(void* user, const char* section, const char* name, const char* value) {
    auto* reading = static_cast<Reading*>(user);
    std::string why = take(reading->settings, section, name, value);
    if (!why.empty()) {
        reading->warnings->push_back(reading->path + " line " + std::to_string(reading->line) +
                                     ": " + why + "; the default is used");
    }
    return 1;
}

std::string folder_of(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool make_folders(const std::string& folder) {
    struct stat info {};
    if (stat(folder.c_str(), &info) == 0) {
        return S_ISDIR(info.st_mode);
    }
    const std::string parent = folder_of(folder);
    if (parent != folder && !make_folders(parent)) {
        return false;
    }
    return mkdir(folder.c_str(), 0755) == 0 || errno == EEXIST;
}

}  // namespace

Settings default_settings() {
    Settings s;
    for (int i = 0; i < kGameKeyCount; ++i) {
        s.keys[i] = split_names(kGameKeys[i].defaults);
    }
    for (int i = 0; i < kJoyButtonCount; ++i) {
        s.pad_buttons[i] = split_names(kPadDefaults[i]);
    }
    return s;
}

std::string default_settings_path() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (config != nullptr && config[0] == '/') {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home != nullptr ? home : "") + "/.config";
    }
    return base + "/cellstorm/cellstorm.ini";
}

bool load_settings(const std::string& path, Settings* settings,
                   std::vector<std::string>* warnings) {
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (file == nullptr) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return true;
        }
        warnings->push_back(path + ": cannot be read (" + std::strerror(errno) +
                            "); the defaults are used");
        return false;
    }
    Reading reading{file, settings, warnings, path};
    const size_t before = warnings->size();
    const int bad_line = ini_parse_stream(read_line, &reading, handle_entry, &reading);
    std::fclose(file);
    if (bad_line > 0) {
        warnings->push_back(path + " line " + std::to_string(bad_line) +
                            ": not a setting or a [section]; it is skipped");
    } else if (bad_line < 0) {
        warnings->push_back(path + ": cannot be read; the defaults are used");
    }
    return warnings->size() == before;
}

std::string settings_text(const Settings& s) {
    std::string text =
        "# CELLSTORM settings. Written back when you leave the game, unless a line in it\n"
        "# cannot be read: then it is left as you wrote it. Lines starting with # are notes.\n"
        "\n[display]\n"
        "# yes: the whole screen; no: a window. Alt+Enter switches while playing.\n"
        "fullscreen = ";
    text += s.fullscreen ? "yes" : "no";
    text += "\n# fit: as large as the screen allows; integer: whole-number steps only.\nscale = ";
    text += s.scale == ScaleMode::Fit ? "fit" : "integer";
    text += "\n# The window's size in pixels; 0 lets the game choose.\nwindow_width = " +
            std::to_string(s.window_width) +
            "\nwindow_height = " + std::to_string(s.window_height) + "\n";
    text +=
        "\n[keys]\n"
        "# Keys by the names on your keyboard (as SDL names them: A, Left, Return, Space,\n"
        "# Keypad 4, Left Shift, ...); several keys for one action are separated by commas.\n"
        "# Alt+Enter (full screen) and Alt+F4 (quit) are kept for themselves.\n";
    for (int i = 0; i < kGameKeyCount; ++i) {
        text += "# " + std::string(kGameKeys[i].comment) + "\n" + kGameKeys[i].name + " = " +
                join_names(s.keys[i]) + "\n";
    }
    text +=
        "\n[gamepad]\n"
        "# Which gamepad buttons give the game's joystick buttons: a, b, x, y, back, guide,\n"
        "# start, leftstick, rightstick, leftshoulder, rightshoulder, dpup, dpdown, dpleft,\n"
        "# dpright. The left stick and the d-pad move. A gamecontrollerdb.txt beside this\n"
        "# file teaches the game more gamepads.\n";
    for (int i = 0; i < kJoyButtonCount; ++i) {
        text += "# " + std::string(kPadComments[i]) + "\nbutton" + std::to_string(i + 1) + " = " +
                join_names(s.pad_buttons[i]) + "\n";
    }
    return text;
}

bool prepare_settings_folder(const std::string& path, std::string* reason) {
    const std::string folder = folder_of(path);
    if (!make_folders(folder) || access(folder.c_str(), W_OK) != 0) {
        *reason = folder + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool save_settings(const std::string& path, const Settings& settings, std::string* reason) {
    const std::string temporary = path + ".new";
    const std::string text = settings_text(settings);
    std::FILE* file = std::fopen(temporary.c_str(), "w");
    bool written = file != nullptr && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    written = file != nullptr && std::fflush(file) == 0 && fsync(fileno(file)) == 0 && written;
    if (file != nullptr && std::fclose(file) != 0) {
        written = false;
    }
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        *reason = path + ": " + std::strerror(errno);
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

Settings& active_settings() {
    static Settings settings = default_settings();
    return settings;
}

}  // namespace platform::port
