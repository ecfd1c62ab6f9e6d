// The recording writer against its reader: after every flush the file reads back as exactly the
// polls written, and any cut of it still reads.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/common/input_script.h"

using platform::PollInput;

// The polls the first cut bytes of the file read as; aborts when they do not read.
std::vector<PollInput> polls_of(std::FILE* file, size_t cut, PollInput poll) {
    std::string text(std::min(cut, size_t(std::ftell(file))), '\0');
    platform::Script script;
    std::string error;
    if (pread(fileno(file), &text[0], text.size(), 0) != ssize_t(text.size()) ||
        !platform::parse_script(text, false, &script, &error)) {
        std::abort();
    }
    std::vector<PollInput> polls;
    for (const platform::ScriptLine& line : script.lines) {
        poll = {line.keys, line.joystick_x.value_or(poll.joystick_x),
                line.joystick_y.value_or(poll.joystick_y),
                line.joystick_buttons.value_or(poll.joystick_buttons), line.unfocused};
        polls.insert(polls.end(), line.count, poll);
    }
    return polls;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const uint32_t first = size > 0 ? data[0] : 0;
    const bool stick = first % 2 != 0;
    const PollInput rest{0, stick ? 40000u : 32767u};
    std::FILE* file = std::tmpfile();
    platform::ScriptWriter writer(file, "fuzz", {first, stick, rest.joystick_x});
    std::vector<PollInput> written;
    // Each byte is a poll (its keys, a loss of focus, the stick when there is one) and whether
    // the file is flushed after it.
    for (size_t at = 1; at < size && at < 4096; ++at) {
        const uint32_t b = data[at], x = !stick ? rest.joystick_x : b & 0x40 ? 0 : 65535;
        written.push_back({b & 0x1F, x, rest.joystick_y, stick ? b >> 6 : 0, (b & 0x20) != 0});
        writer.add(written.back());
        if ((b & 0x80) != 0 || at + 1 == size) {
            writer.flush();
            if (!writer.ok() || polls_of(file, SIZE_MAX, rest) != written) {
                std::abort();
            }
        }
    }
    writer.flush();  // the header, when no poll came
    for (size_t cut = 0, end = size_t(std::ftell(file)); cut < end; cut += 1 + end / 64) {
        polls_of(file, cut, rest);
    }
    return std::fclose(file);
}
