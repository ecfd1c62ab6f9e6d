// The desktop game's command line.
#pragma once
#include <string>

namespace platform::port {

enum class ScaleMode { Fit, Integer };

struct SessionOptions {
    std::string record_path;    // --record FILE; empty: no recording
    std::string playback_path;  // --playback FILE; empty: no playback
};

// What the command line asked for; an option not given leaves its "given" flag false, so the
// settings file decides.
struct Options {
    bool window_given = false;
    bool fullscreen = true;
    bool scale_given = false;
    ScaleMode scale = ScaleMode::Fit;
    bool no_sound = false;
    bool verbose = false;
    std::string data_dir;     // empty: the usual places only
    std::string config_file;  // empty: the usual settings file
    SessionOptions session;
};

enum class ParseResult { Run, Help, Version, Bad };

// Reads argv[1 ...]. On Bad, error names the offending argument in one line.
ParseResult parse_options(int argc, const char* const* argv, Options* options, std::string* error);

// The usage text for --help and after a bad option.
const char* usage_text();

}  // namespace platform::port
