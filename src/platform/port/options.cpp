#include "platform/port/options.h"

#include <sys/stat.h>
#include <unistd.h>

namespace platform::port {

namespace {

// One row per option, in the order --help lists them. A value may follow as the next argument
// or after '='. The setter returns false for a value it refuses.
struct OptionRow {
    const char* name;
    const char* value;  // as --help shows it; nullptr: the option takes none
    const char* help;   // '\n' continues it on the next line
    bool (*apply)(Options* options, const std::string& value);
    // A file that must not be empty nor given twice (the setter refuses a second one).
    bool once = false;
    // --help and --version answer instead of running; they are whole words, never "=...".
    ParseResult answer = ParseResult::Run;
    const char* short_name = nullptr;  // the same option in one letter, as --help lists it first
};

bool set_path(std::string* path, const std::string& value) {
    if (!path->empty()) {
        return false;
    }
    *path = value;
    return true;
}

const OptionRow kOptions[] = {
    {"--window", nullptr, "play in a window",
     [](Options* o, const std::string&) {
         o->window_given = true;
         o->fullscreen = false;
         return true;
     }},
    {"--fullscreen", nullptr, "play on the whole screen (the default)",
     [](Options* o, const std::string&) {
         o->window_given = true;
         o->fullscreen = true;
         return true;
     }},
    {"--scale", "fit|integer",
     "fit: as large as the screen allows (default);\ninteger: whole-number steps only",
     [](Options* o, const std::string& v) {
         if (v != "fit" && v != "integer") {
             return false;
         }
         o->scale_given = true;
         o->scale = v == "fit" ? ScaleMode::Fit : ScaleMode::Integer;
         return true;
     }},
    {"--no-sound", nullptr, "open no sound device; the game is silent",
     [](Options* o, const std::string&) {
         o->no_sound = true;
         return true;
     }},
    // A folder that cannot be read would only show later as missing pictures.
    {"--data", "DIR", "look for the game's data files in DIR first",
     [](Options* o, const std::string& v) {
         struct stat info;
         o->data_dir = v;
         return stat(v.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
                access(v.c_str(), R_OK | X_OK) == 0;
     }},
    {"--config", "FILE",
     "read and write settings in FILE instead of\n$XDG_CONFIG_HOME/cellstorm/cellstorm.ini",
     [](Options* o, const std::string& v) {
         o->config_file = v;
         return !v.empty();
     }},
    {"--record", "FILE", "write the keys and joystick of every poll to FILE",
     [](Options* o, const std::string& v) { return set_path(&o->session.record_path, v); }, true},
    {"--playback", "FILE", "play a recording back, then go on with the keys",
     [](Options* o, const std::string& v) { return set_path(&o->session.playback_path, v); }, true},
    {"--verbose", nullptr, "write the diagnostic log to stderr",
     [](Options* o, const std::string&) {
         o->verbose = true;
         return true;
     }},
    {"--help", nullptr, "show this text and exit", nullptr, false, ParseResult::Help, "-h"},
    {"--version", nullptr, "show the version and exit", nullptr, false, ParseResult::Version},
};

constexpr size_t kHelpColumn = 20;  // after the two-space indent

std::string make_usage() {
    std::string text = "usage: cellstorm [OPTION]...\n";
    for (const OptionRow& row : kOptions) {
        std::string head = "  ";
        if (row.short_name != nullptr) {
            head = head + row.short_name + ", ";
        }
        head += row.name;
        if (row.value != nullptr) {
            head = head + " " + row.value;
        }
        const size_t width = kHelpColumn + 2;
        head.append(head.size() < width ? width - head.size() : 1, ' ');
        for (const char* c = row.help; *c != '\0'; ++c) {
            head += *c == '\n' ? "\n" + std::string(width, ' ') : std::string(1, *c);
        }
        text += head + "\n";
    }
    return text;
}

}  // namespace

ParseResult parse_options(int argc, const char* const* argv, Options* options, std::string* error) {
    *options = Options{};
    error->clear();
    bool help = false;
    bool version = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const OptionRow* row = nullptr;
        for (const OptionRow& candidate : kOptions) {
            const bool named = name == candidate.name ||
                               (candidate.short_name != nullptr && name == candidate.short_name);
            if (named && (candidate.answer == ParseResult::Run || equals == std::string::npos)) {
                row = &candidate;
            }
        }
        if (row == nullptr) {
            *error = "unknown option '" + argument + "'";
            return ParseResult::Bad;
        }
        help = help || row->answer == ParseResult::Help;
        version = version || row->answer == ParseResult::Version;
        if (row->apply == nullptr) {
            continue;
        }
        std::string value;
        if (row->value == nullptr && equals != std::string::npos) {
            *error = "option '" + argument + "' takes no value";
            return ParseResult::Bad;
        }
        const bool missing = row->value != nullptr && equals == std::string::npos && i + 1 >= argc;
        if (row->value != nullptr && !missing) {
            value = equals != std::string::npos ? argument.substr(equals + 1) : argv[++i];
        }
        if (row->once && value.empty()) {
            *error = name + " needs a file name";
            return ParseResult::Bad;
        }
        if (missing) {
            *error = "option '" + name + "' needs a value";
            return ParseResult::Bad;
        }
        if (!row->apply(options, value)) {
            *error = row->once ? name + " given twice"
                               : "bad value '" + value + "' for option '" + name + "'";
            return ParseResult::Bad;
        }
    }
    if (help) {
        return ParseResult::Help;
    }
    return version ? ParseResult::Version : ParseResult::Run;
}

const char* usage_text() {
    static const std::string text = make_usage();
    return text.c_str();
}

}  // namespace platform::port
