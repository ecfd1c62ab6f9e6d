// One replay: the real WinMain on the headless backend, the script played back poll by poll as
// the desktop game's --playback plays it, and the trace and screenshots written at the end of each
// frame that polled.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "arguments.h"
#include "platform/common/input_script.h"
#include "trace.h"

namespace replay {

constexpr int EXIT_FINISHED = 0;
constexpr int EXIT_BAD_ARGUMENTS = 2;
constexpr int EXIT_POLL_LIMIT = 3;

// Turns of the message loop allowed in a row without a poll. The keys change only at polls
// (and at shutdown), so a stretch this long without one would never end; it is given up like
// a run past --max-polls. The longest honest stretches (title, game-ending hold, closing
// screen) take a handful of turns.
constexpr uint64_t MAX_TURNS_WITHOUT_POLL = 100000;

class Session {
  public:
    // trace may be null (no trace). The session must outlive run().
    Session(const Options& options, platform::Script script, std::FILE* trace);

    // Runs the game to its end or to a limit. Returns EXIT_FINISHED when WinMain returned by
    // itself, EXIT_POLL_LIMIT when a limit stopped it, EXIT_BAD_ARGUMENTS when the trace or a
    // screenshot could not be written (the message is then on stderr).
    int run();

  private:
    struct Pending {
        uint64_t poll;
        uint64_t time;
    };

    void on_poll();
    void on_peek();
    void write_pending();
    void write_line(const std::string& line);
    void take_shots(uint64_t poll);

    const Options& options_;
    std::FILE* trace_;
    platform::Script script_;
    SoundSlotNames names_;
    std::vector<Pending> pending_;
    uint64_t polls_ = 0;
    uint64_t turns_without_poll_ = 0;
    bool header_written_ = false;
    bool stopping_ = false;
    bool output_failed_ = false;
};

}  // namespace replay
