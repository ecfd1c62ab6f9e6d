// The command line of cellstorm-replay.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace replay {

struct Shot {
    uint64_t poll;
    std::string path;
};

struct Options {
    std::string data_dir;          // empty: the data is looked for where the game looks
    std::optional<uint32_t> seed;  // without --seed: the script's own
    std::string input_path;
    std::string trace_path;  // empty: no trace
    std::vector<Shot> shots;
    std::string sound_path;  // empty: no sound recording
    uint64_t max_polls = 1000000;
    bool joystick = false;
    bool help = false;  // --help or --version: answer, and run nothing
    bool version = false;
};

extern const char* const usage_text;

// Reads argv[1..argc-1]. On a mistake returns false with error saying what is wrong. Checks
// only the form of the arguments and that the data directory and the directories of each
// screenshot and of the sound recording exist; files are opened by the caller. With --help or
// --version no --input is needed.
bool parse_arguments(int argc, const char* const* argv, Options* options, std::string* error);

}  // namespace replay
