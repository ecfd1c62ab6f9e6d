#include "session.h"

#include "app/winmain.h"
#include "common/game_state.h"
#include "platform/headless/control.h"
#include "platform/port/session.h"
#include "platform/window.h"
#include "wav.h"

namespace replay {
namespace {

// The rate a sound recording is made at, as a desktop device commonly runs.
constexpr int SOUND_RATE = 44100;

// The game keeps the instance handle and never looks inside it.
char instance_tag;
char empty_command_line[] = "";
constexpr int SW_SHOWNORMAL = 1;

}  // namespace

Session::Session(const Options& options, platform::Script script, std::FILE* trace)
    : options_(options), trace_(trace), script_(std::move(script)) {
    // The arguments win over what the script says of its start.
    script_.start.seed = options.seed.value_or(0);
    script_.start.joystick = options.joystick;
}

int Session::run() {
    namespace headless = platform::headless;
    if (!options_.data_dir.empty()) {
        headless::set_data_dirs({options_.data_dir});
    }
    if (options_.joystick) {
        // What the game has once the playback runs out: the same stick, at rest.
        headless::set_joystick_present(true);
        headless::set_joystick_position(script_.start.joystick_x, script_.start.joystick_y, 0);
    }

    if (!options_.sound_path.empty()) {
        headless::capture_sound(SOUND_RATE);
    }
    // Nothing in the trace reads a pixel: without a screenshot the pictures need not be drawn.
    headless::set_pixels_drawn(!options_.shots.empty());
    // The script plays as the desktop game's --playback plays a recording.
    platform::port::reset_session();
    // The script is held once, by the playback.
    platform::port::start_playback(std::move(script_));
    platform::port::on_each_poll([this] { on_poll(); });
    headless::set_peek_hook([this] { on_peek(); });

    WinMain(&instance_tag, nullptr, empty_command_line, SW_SHOWNORMAL);

    headless::set_peek_hook(nullptr);
    platform::port::on_each_poll(nullptr);

    // Polls of a last Game_Main call that ended the loop without another peek.
    write_pending();
    for (const Shot& shot : options_.shots) {
        if (shot.poll > polls_ || shot.poll > options_.max_polls) {
            std::fprintf(stderr,
                         "cellstorm-replay: no screenshot %s: the run ended after %llu polls\n",
                         shot.path.c_str(), static_cast<unsigned long long>(polls_));
        }
    }
    if (trace_ != nullptr && std::fflush(trace_) != 0) {
        output_failed_ = true;
        std::fprintf(stderr, "cellstorm-replay: cannot write the trace %s\n",
                     options_.trace_path.c_str());
    }
    if (!options_.sound_path.empty() &&
        !write_wav(options_.sound_path, headless::captured_sound(), SOUND_RATE)) {
        output_failed_ = true;
        std::fprintf(stderr, "cellstorm-replay: cannot write the sound %s\n",
                     options_.sound_path.c_str());
    }
    if (output_failed_) {
        return EXIT_BAD_ARGUMENTS;
    }
    return stopping_ ? EXIT_POLL_LIMIT : EXIT_FINISHED;
}

void Session::on_poll() {
    ++polls_;
    turns_without_poll_ = 0;
    // Taken before the poll reads anything: each read moves the virtual clock on.
    if (polls_ <= options_.max_polls) {
        pending_.push_back({polls_, platform::headless::now()});
    }
    names_.refresh();
}

// Each peek is one turn of the message loop: the Game_Main call of any pending poll has
// returned by now.
void Session::on_peek() {
    ++turns_without_poll_;
    names_.refresh();
    write_pending();

    // The shutdown state never polls again, so what is left of the script can never be used:
    // the keys are let go, and their release is the message that ends the loop.
    if (game_state == FLOW_SHUTDOWN) {
        platform::port::release_played_keys();
    }

    if (!stopping_ &&
        (polls_ >= options_.max_polls || turns_without_poll_ > MAX_TURNS_WITHOUT_POLL)) {
        stopping_ = true;
        platform::post_quit_message(0);
    }
}

void Session::write_pending() {
    // The first Game_Main call loads the sounds; the header follows it.
    if (!header_written_ && (game_state != FLOW_STARTUP || !pending_.empty())) {
        header_written_ = true;
        write_line(header_line());
    }
    for (const Pending& poll : pending_) {
        write_line(poll_line(poll.poll, poll.time, names_, platform::headless::sound_events()));
        platform::headless::clear_sound_events();
        take_shots(poll.poll);
    }
    pending_.clear();
}

void Session::write_line(const std::string& line) {
    if (trace_ == nullptr || output_failed_) {
        return;
    }
    if (std::fputs(line.c_str(), trace_) < 0 || std::fputc('\n', trace_) == EOF) {
        output_failed_ = true;
        std::fprintf(stderr, "cellstorm-replay: cannot write the trace %s\n",
                     options_.trace_path.c_str());
    }
}

void Session::take_shots(uint64_t poll) {
    for (const Shot& shot : options_.shots) {
        if (shot.poll == poll && !platform::headless::save_screenshot(shot.path)) {
            output_failed_ = true;
            std::fprintf(stderr, "cellstorm-replay: cannot write the screenshot %s\n",
                         shot.path.c_str());
        }
    }
}

}  // namespace replay
