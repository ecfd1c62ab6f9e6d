// The command-line options of recording and playback.
#pragma once
#include <string>

namespace platform::port {

struct SessionOptions {
    std::string record_path;    // --record FILE; empty: no recording
    std::string playback_path;  // --playback FILE; empty: no playback
};

// Takes the option at argv[*index] when it is --record or --playback, with its value, and moves
// *index past them. 1 when taken, 0 when the option is another's, -1 with error on a mistake.
int take_session_option(int argc, const char* const* argv, int* index, SessionOptions* options,
                        std::string* error);

}  // namespace platform::port
