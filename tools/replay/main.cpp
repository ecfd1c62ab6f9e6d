// cellstorm-replay: the real game, headless, from a seed and an input script, with a trace of
// every poll and screenshots on request. Same arguments and files, same bytes out.
#include <cstdio>
#include <string>
#include <utility>

#include "arguments.h"
#include "platform/common/input_script.h"
#include "session.h"

#ifndef CELLSTORM_VERSION
#define CELLSTORM_VERSION "unknown"
#endif

namespace {

int fail(const std::string& message, bool usage) {
    std::fprintf(stderr, "cellstorm-replay: %s\n", message.c_str());
    if (usage) {
        std::fputs(replay::usage_text, stderr);
    }
    return replay::EXIT_BAD_ARGUMENTS;
}

}  // namespace

int main(int argc, char** argv) {
    replay::Options options;
    std::string error;
    if (!replay::parse_arguments(argc, argv, &options, &error)) {
        return fail(error, true);
    }
    if (options.help) {
        std::fputs(replay::usage_text, stdout);
        return 0;
    }
    if (options.version) {
        std::printf("cellstorm-replay %s\n", CELLSTORM_VERSION);
        return 0;
    }
    platform::Script script;
    if (!platform::load_script(options.input_path, options.joystick, &script, &error)) {
        return fail(error, false);
    }
    if (!script.note.empty()) {
        std::fprintf(stderr, "cellstorm-replay: %s\n", script.note.c_str());
    }
    // A recording says how its game started; --seed and --joystick still win.
    options.joystick = options.joystick || script.start.joystick;
    if (!options.seed) {
        if (!script.start.seed) {
            return fail("no --seed, and the script has no '# seed N' line", true);
        }
        options.seed = script.start.seed;
    }
    std::FILE* trace = nullptr;
    if (!options.trace_path.empty()) {
        trace = std::fopen(options.trace_path.c_str(), "wb");
        if (trace == nullptr) {
            return fail("cannot write the trace " + options.trace_path, false);
        }
    }

    replay::Session session(options, std::move(script), trace);
    int exit_code = session.run();
    if (trace != nullptr && std::fclose(trace) != 0) {
        return fail("cannot write the trace " + options.trace_path, false);
    }
    return exit_code;
}
