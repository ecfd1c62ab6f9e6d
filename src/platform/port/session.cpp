// The seam's key, joystick and poll calls, with the recording and playback of input between
// them and the devices. They are asked during static initialisation too, so the state lives in
// a function-local object built on first use.
#include "platform/port/session.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "platform/common/backend.h"
#include "platform/common/joystick_internal.h"
#include "platform/common/keyboard_internal.h"
#include "platform/common/window_internal.h"
#include "platform/input_poll.h"
#include "platform/keyboard.h"
#include "platform/window.h"

namespace platform {

namespace {

// The file is flushed at least this often, so a session that ends badly leaves what it played.
constexpr uint64_t kFlushEveryMs = 1000;

struct InputSession {
    std::optional<uint16_t> seed;  // what the system time's millisecond field reads as

    bool playing = false;
    bool started = false;  // the first poll of the playback has come
    Script script;
    std::unique_ptr<ScriptCursor> cursor;
    const ScriptLine* line = nullptr;  // the playback's line for the coming poll
    PollInput fed;  // what the playback gives the poll under way, and reads give until the next

    // The first joystick query of the run, the input device's look at start-up.
    bool looked = false;
    ScriptStart found;

    std::string path;
    std::FILE* file = nullptr;
    std::unique_ptr<ScriptWriter> writer;
    PollInput rest;  // what a poll reads from an absent or silent joystick
    PollInput read;  // what the poll under way has read so far
    // The last poll, written once the next one comes: a loss of focus after it is marked on it.
    PollInput last;
    bool last_waiting = false;
    uint64_t polls = 0;
    uint64_t flushed_at_ms = 0;

    bool in_poll = false;
    std::function<void()> observer;
};

InputSession& session() {
    static InputSession state;
    return state;
}

// The played keys that change go down or up, in the script's order, with their messages.
void hold_played_keys(InputSession& s, uint32_t keys) {
    for (int key = 0; key < SCRIPT_KEY_COUNT; ++key) {
        const uint32_t bit = 1u << key;
        if ((s.fed.keys & bit) != (keys & bit)) {
            common::post_key_message(script_key_codes[key], (keys & bit) != 0, false, false);
        }
    }
    s.fed.keys = keys;
}

int script_key(int virtual_key) {
    for (int key = 0; key < SCRIPT_KEY_COUNT; ++key) {
        if (script_key_codes[key] == virtual_key) {
            return key;
        }
    }
    return -1;
}

void reset_session_file(InputSession& s) {
    s.writer.reset();
    std::fclose(s.file);
    s.file = nullptr;
    s.path.clear();
}

// Stops recording after a failed write; the game goes on.
void check_recording(InputSession& s) {
    if (s.writer != nullptr && !s.writer->ok()) {
        std::fprintf(stderr, "cellstorm: cannot write the recording %s; recording stopped\n",
                     s.path.c_str());
        s.writer.reset();
        std::fclose(s.file);
        s.file = nullptr;
    }
}

}  // namespace

int16_t async_key_state(int virtual_key) {
    InputSession& s = session();
    // Read even during a playback: the devices stay current, and the player's taps are used up.
    bool held = common::live_key_held(virtual_key);
    const int key = script_key(virtual_key);
    if (key >= 0) {
        const uint32_t bit = 1u << key;
        held = s.playing ? (s.fed.keys & bit) != 0 : held;
        if (s.in_poll && held) {
            s.read.keys |= bit;
        }
    }
    return held ? INT16_MIN : 0;  // top bit: held
}

uint32_t joy_get_pos_ex(uint32_t joystick_id, JoyInfoEx* info) {
    InputSession& s = session();
    uint32_t result = JOYERR_NOERROR;
    if (!s.playing) {
        result = common::live_joystick_position(joystick_id, info);
        if (!s.looked) {
            s.looked = true;
            s.found.joystick = result == JOYERR_NOERROR;
            if (s.found.joystick) {
                s.found.joystick_x = info->dwXpos;
                s.found.joystick_y = info->dwYpos;
            }
        }
    } else if (info == nullptr || joystick_id != JOYSTICKID1) {
        result = JOYERR_PARMS;
    } else if (!s.script.start.joystick) {
        result = JOYERR_UNPLUGGED;
    } else {
        // Before the first line (the input device looking for its joystick) the stick rests.
        common::fill_position(s.fed.joystick_x, s.fed.joystick_y, s.fed.joystick_buttons, info);
    }
    if (s.in_poll && result == JOYERR_NOERROR) {
        s.read.joystick_x = info->dwXpos;
        s.read.joystick_y = info->dwYpos;
        s.read.joystick_buttons = info->dwButtons;
    }
    return result;
}

uint32_t joy_get_dev_caps(uint32_t joystick_id, JoyCaps* caps) {
    InputSession& s = session();
    if (!s.playing) {
        return common::live_joystick_caps(joystick_id, caps);
    }
    if (caps == nullptr || joystick_id != JOYSTICKID1) {
        return JOYERR_PARMS;
    }
    if (!s.script.start.joystick) {
        return JOYERR_UNPLUGGED;
    }
    *caps = JoyCaps{0, 65535, 0, 65535, 5};
    return JOYERR_NOERROR;
}

bool input_source_changed() {
    InputSession& s = session();
    if (s.observer) {
        s.observer();
    }
    if (!s.playing) {
        return false;
    }
    s.line = s.cursor->next();
    if (s.line == nullptr) {
        hold_played_keys(s, 0);
        s.playing = false;
        common::set_title_note("");
        return true;
    }
    const bool starting = !s.started;
    s.started = true;
    return starting;
}

void input_poll_begins() {
    InputSession& s = session();
    s.in_poll = true;
    // A joystick that does not answer gives the poll what a stick at rest gives.
    s.read = s.rest;
    if (s.playing && s.line != nullptr) {
        hold_played_keys(s, s.line->keys);
        s.fed.joystick_x = s.line->joystick_x.value_or(s.fed.joystick_x);
        s.fed.joystick_y = s.line->joystick_y.value_or(s.fed.joystick_y);
        s.fed.joystick_buttons = s.line->joystick_buttons.value_or(s.fed.joystick_buttons);
    }
}

void input_poll_ends() {
    InputSession& s = session();
    s.in_poll = false;
    ++s.polls;
    // The window's loss of focus after this poll of the playback reaches the game as the
    // player's did.
    if (s.playing && s.line != nullptr && s.line->unfocused) {
        common::post_to_window(WM_ACTIVATEAPP, 0, 0);
    }
    if (s.writer == nullptr) {
        return;
    }
    if (s.last_waiting) {
        s.writer->add(s.last);
    }
    s.last = s.read;
    s.last_waiting = true;
    const uint64_t now = backend::clock_ms();
    if (now - s.flushed_at_ms >= kFlushEveryMs) {
        s.writer->flush();
        s.flushed_at_ms = now;
    }
    check_recording(s);
}

namespace port {

uint16_t seeded_system_millis() {
    const std::optional<uint16_t>& seed = session().seed;
    return seed ? *seed : backend::system_millis();
}

void on_each_poll(std::function<void()> observer) {
    session().observer = std::move(observer);
}

void release_played_keys() {
    InputSession& s = session();
    hold_played_keys(s, 0);
}

bool playing_back() {
    return session().playing;
}

void focus_lost_seen() {
    InputSession& s = session();
    if (s.last_waiting) {
        s.last.unfocused = true;
    }
}

void reset_session() {
    InputSession& s = session();
    s.writer.reset();
    if (s.file != nullptr) {
        std::fclose(s.file);
    }
    s = InputSession();
}

void start_playback(Script script) {
    InputSession& s = session();
    // Moved, not copied: a long recording is held once.
    s.script = std::move(script);
    s.cursor = std::make_unique<ScriptCursor>(s.script);
    s.playing = true;
    if (s.script.start.seed) {
        s.seed = uint16_t(*s.script.start.seed);
    }
    s.rest.joystick_x = s.script.start.joystick_x;
    s.rest.joystick_y = s.script.start.joystick_y;
    s.fed = s.rest;
    common::set_title_note(" (playback)");
}

bool start_recording(const std::string& path, const std::string& about, std::string* error) {
    InputSession& s = session();
    // The joystick as the game found it: the recording's, or the one of the start-up look.
    ScriptStart start = s.playing ? s.script.start : s.found;
    // A FIFO nobody reads is refused at once rather than waited on; a device is written.
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd >= 0) {
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        s.file = fdopen(fd, "wb");
    }
    if (s.file == nullptr) {
        *error = "cannot write the recording " + path + " (" + std::strerror(errno) + ")";
        if (fd >= 0) {
            close(fd);
        }
        return false;
    }
    if (!s.seed) {
        s.seed = backend::system_millis();
    }
    start.seed = *s.seed;
    s.path = path;
    s.rest = PollInput();
    s.rest.joystick_x = start.joystick_x;
    s.rest.joystick_y = start.joystick_y;
    s.writer = std::make_unique<ScriptWriter>(s.file, about, start);
    s.writer->flush();
    s.flushed_at_ms = backend::clock_ms();
    // A file that takes nothing (a full disk, /dev/full) is refused before the game starts.
    if (!s.writer->ok()) {
        *error = "cannot write the recording " + path + " (" + std::strerror(errno) + ")";
        reset_session_file(s);
        return false;
    }
    return true;
}

bool finish_recording(const std::string& summary) {
    InputSession& s = session();
    if (s.writer == nullptr) {
        return s.file == nullptr && s.path.empty();
    }
    if (s.last_waiting) {
        s.writer->add(s.last);
        s.last_waiting = false;
    }
    s.writer->comment("end polls=" + std::to_string(s.polls) + " " + summary);
    s.writer->flush();
    const bool written = s.writer->ok();
    s.writer.reset();
    if (std::fclose(s.file) != 0 || !written) {
        std::fprintf(stderr, "cellstorm: cannot write the recording %s\n", s.path.c_str());
        s.file = nullptr;
        return false;
    }
    s.file = nullptr;
    return true;
}

}  // namespace port

}  // namespace platform
