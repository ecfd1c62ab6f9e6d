#include "platform/port/options.h"

namespace platform::port {

namespace {

// One row per option: its name, whether it takes a value, and what it sets. A value may follow
// as the next argument or after '='. The setter returns false for a value it refuses.
struct OptionRow {
    const char* name;
    bool takes_value;
    bool (*apply)(Options* options, const std::string& value);
};

const OptionRow kOptions[] = {
    {"--window", false,
     [](Options* o, const std::string&) {
         o->window_given = true;
         o->fullscreen = false;
         return true;
     }},
    {"--fullscreen", false,
     [](Options* o, const std::string&) {
         o->window_given = true;
         o->fullscreen = true;
         return true;
     }},
    {"--scale", true,
     [](Options* o, const std::string& v) {
         if (v != "fit" && v != "integer") {
             return false;
         }
         o->scale_given = true;
         o->scale = v == "fit" ? ScaleMode::Fit : ScaleMode::Integer;
         return true;
     }},
    {"--no-sound", false,
     [](Options* o, const std::string&) {
         o->no_sound = true;
         return true;
     }},
    {"--verbose", false,
     [](Options* o, const std::string&) {
         o->verbose = true;
         return true;
     }},
    {"--data", true,
     [](Options* o, const std::string& v) {
         o->data_dir = v;
         return !v.empty();
     }},
    {"--config", true,
     [](Options* o, const std::string& v) {
         o->config_file = v;
         return !v.empty();
     }},
};

const char kUsage[] =
    "usage: cellstorm [OPTION]...\n"
    "  --window            play in a window\n"
    "  --fullscreen        play on the whole screen (the default)\n"
    "  --scale fit|integer fit: as large as the screen allows (default);\n"
    "                      integer: whole-number steps only\n"
    "  --no-sound          open no sound device; the game is silent\n"
    "  --data DIR          look for the game's data files in DIR first\n"
    "  --config FILE       read and write settings in FILE instead of\n"
    "                      $XDG_CONFIG_HOME/cellstorm/cellstorm.ini\n"
    "  --record FILE       write the keys and joystick of every poll to FILE\n"
    "  --playback FILE     play a recording back, then go on with the keys\n"
    "  --verbose           write the diagnostic log to stderr\n"
    "  --help              show this text and exit\n"
    "  --version           show the version and exit\n";

}  // namespace

ParseResult parse_options(int argc, const char* const* argv, Options* options, std::string* error) {
    *options = Options{};
    error->clear();
    bool help = false;
    bool version = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help") {
            help = true;
            continue;
        }
        if (argument == "--version") {
            version = true;
            continue;
        }
        const int taken = take_session_option(argc, argv, &i, &options->session, error);
        if (taken < 0) {
            return ParseResult::Bad;
        }
        if (taken > 0) {
            continue;
        }
        const size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const OptionRow* row = nullptr;
        for (const OptionRow& candidate : kOptions) {
            if (name == candidate.name) {
                row = &candidate;
            }
        }
        if (row == nullptr) {
            *error = "unknown option '" + argument + "'";
            return ParseResult::Bad;
        }
        std::string value;
        if (!row->takes_value && equals != std::string::npos) {
            *error = "option '" + argument + "' takes no value";
            return ParseResult::Bad;
        }
        if (row->takes_value) {
            if (equals != std::string::npos) {
                value = argument.substr(equals + 1);
            } else if (i + 1 < argc) {
                value = argv[++i];
            } else {
                *error = "option '" + name + "' needs a value";
                return ParseResult::Bad;
            }
        }
        if (!row->apply(options, value)) {
            *error = "bad value '" + value + "' for option '" + name + "'";
            return ParseResult::Bad;
        }
    }
    if (help) {
        return ParseResult::Help;
    }
    return version ? ParseResult::Version : ParseResult::Run;
}

const char* usage_text() {
    return kUsage;
}

}  // namespace platform::port
