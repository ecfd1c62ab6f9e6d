// The seam's key, joystick and system-time readers, with the recording and playback of input
// between them and the devices. They are asked during static initialisation too, so the state
// lives in a function-local object built on first use.
#include "platform/port/session.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

#include "platform/clock.h"
#include "platform/input_poll.h"
#include "platform/keyboard.h"
#include "platform/sdl2/sdl2_backend.h"

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
    PollInput fed;                     // what the playback gives the poll under way

    // The first joystick query of the run, the input device's look at start-up.
    bool looked = false;
    ScriptStart found;

    std::string path;
    std::FILE* file = nullptr;
    std::unique_ptr<ScriptWriter> writer;
    PollInput rest;  // what a poll reads from an absent or silent joystick
    PollInput read;  // what the poll under way has read so far
    uint64_t polls = 0;
    uint64_t flushed_at_ms = 0;

    bool in_poll = false;
};

InputSession& session() {
    static InputSession state;
    return state;
}

int script_key(int virtual_key) {
    for (int key = 0; key < SCRIPT_KEY_COUNT; ++key) {
        if (script_key_codes[key] == virtual_key) {
            return key;
        }
    }
    return -1;
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
    const int key = script_key(virtual_key);
    if (!s.in_poll || key < 0) {
        return sdl2::live_key_state(virtual_key);
    }
    const uint32_t bit = 1u << key;
    const bool held = s.playing ? (s.fed.keys & bit) != 0 : sdl2::live_key_state(virtual_key) < 0;
    if (held) {
        s.read.keys |= bit;
    }
    return held ? INT16_MIN : 0;
}

uint32_t joy_get_pos_ex(uint32_t joystick_id, JoyInfoEx* info) {
    InputSession& s = session();
    uint32_t result = JOYERR_NOERROR;
    if (!s.playing) {
        result = sdl2::live_joystick_position(joystick_id, info);
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
        // Outside a poll (the input device looking for its joystick) the stick is at rest.
        const PollInput& at = s.in_poll ? s.fed : s.rest;
        const uint32_t size = info->dwSize;
        const uint32_t flags = info->dwFlags;
        std::memset(info, 0, sizeof(*info));
        info->dwSize = size;
        info->dwFlags = flags;
        info->dwXpos = at.joystick_x;
        info->dwYpos = at.joystick_y;
        info->dwButtons = at.joystick_buttons;
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
        return sdl2::live_joystick_caps(joystick_id, caps);
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
    if (!s.playing) {
        return false;
    }
    s.line = s.cursor->next();
    if (s.line == nullptr) {
        s.playing = false;
        sdl2::set_title_note("");
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
        s.fed.keys = s.line->keys;
        s.fed.joystick_x = s.line->joystick_x.value_or(s.fed.joystick_x);
        s.fed.joystick_y = s.line->joystick_y.value_or(s.fed.joystick_y);
        s.fed.joystick_buttons = s.line->joystick_buttons.value_or(s.fed.joystick_buttons);
    }
}

void input_poll_ends() {
    InputSession& s = session();
    s.in_poll = false;
    ++s.polls;
    if (s.writer == nullptr) {
        return;
    }
    s.writer->add(s.read);
    const uint64_t now = SDL_GetTicks64();
    if (now - s.flushed_at_ms >= kFlushEveryMs) {
        s.writer->flush();
        s.flushed_at_ms = now;
    }
    check_recording(s);
}

uint16_t system_time_millis() {
    const std::optional<uint16_t>& seed = session().seed;
    return seed ? *seed : sdl2::live_system_millis();
}

namespace port {

void start_playback(const Script& script) {
    InputSession& s = session();
    s.script = script;
    s.cursor = std::make_unique<ScriptCursor>(s.script);
    s.playing = true;
    if (script.start.seed) {
        s.seed = uint16_t(*script.start.seed);
    }
    s.rest.joystick_x = script.start.joystick_x;
    s.rest.joystick_y = script.start.joystick_y;
    s.fed = s.rest;
    sdl2::set_title_note(" (playback)");
}

bool start_recording(const std::string& path, const std::string& about, std::string* error) {
    InputSession& s = session();
    // The joystick as the game found it: the recording's, or the one of the start-up look.
    ScriptStart start = s.playing ? s.script.start : s.found;
    s.file = std::fopen(path.c_str(), "wb");
    if (s.file == nullptr) {
        *error = "cannot write the recording " + path + " (" + std::strerror(errno) + ")";
        return false;
    }
    if (!s.seed) {
        s.seed = sdl2::live_system_millis();
    }
    start.seed = *s.seed;
    s.path = path;
    s.rest = PollInput();
    s.rest.joystick_x = start.joystick_x;
    s.rest.joystick_y = start.joystick_y;
    s.writer = std::make_unique<ScriptWriter>(s.file, about, start);
    s.writer->flush();
    s.flushed_at_ms = SDL_GetTicks64();
    check_recording(s);
    return true;
}

bool finish_recording(const std::string& summary) {
    InputSession& s = session();
    if (s.writer == nullptr) {
        return s.file == nullptr && s.path.empty();
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
