// The process entry of the desktop game: reads the command line and the settings file, sets up
// a recording or a playback of the input, hands over to the game's own entry, and writes back
// what the player changed while playing.
#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "app/winmain.h"
#include "platform/common/file_read.h"
#include "platform/common/files_internal.h"
#include "platform/diagnostics.h"
#include "platform/port/bindings.h"
#include "platform/port/options.h"
#include "platform/port/session.h"
#include "platform/port/settings.h"
#include "platform/sdl2/sdl2_backend.h"

#ifndef CELLSTORM_VERSION
#define CELLSTORM_VERSION "unknown"
#endif

namespace {

using namespace platform::sdl2;
using namespace platform::port;

// The game keeps the instance handle and never looks inside it.
char instance_tag;
char empty_command_line[] = "";
constexpr int SW_SHOWNORMAL = 1;
constexpr int EXIT_RECORDING_FAILED = 1;
constexpr int EXIT_BAD_COMMAND_LINE = 2;
// Far beyond SDL's own database of every known pad (about 300 KiB).
constexpr size_t kMaxPadDatabase = size_t(4) << 20;

// A SIGTERM or SIGINT while the files are read; SDL then takes them over as its quit.
volatile std::sig_atomic_t stop_asked = 0;
struct sigaction sdl_actions[2];  // what SIGTERM and SIGINT did before
constexpr int kStopSignals[2] = {SIGTERM, SIGINT};

extern "C" void note_stop(int) {
    stop_asked = 1;
}

void catch_stop() {
    for (int i = 0; i < 2; ++i) {
        struct sigaction action {};
        action.sa_handler = note_stop;
        sigemptyset(&action.sa_mask);
        sigaction(kStopSignals[i], &action, &sdl_actions[i]);
    }
}

void hand_stop_to_sdl() {
    for (int i = 0; i < 2; ++i) {
        sigaction(kStopSignals[i], &sdl_actions[i], nullptr);
    }
}

struct SettingsFile {
    std::string path;
    Settings as_read;  // the file's values (defaults where it had none)
    bool rewritable;   // it could be read, and its folder takes files
};

SettingsFile read_settings(const Options& options) {
    SettingsFile file;
    file.path = options.config_file.empty() ? default_settings_path() : options.config_file;
    file.as_read = default_settings();
    std::vector<std::string> warnings;
    file.rewritable = load_settings(file.path, &file.as_read, &warnings);
    for (const std::string& line : keys_bound_twice(file.as_read)) {
        warnings.push_back(line);
    }
    for (const std::string& warning : warnings) {
        std::fprintf(stderr, "cellstorm: %s\n", warning.c_str());
    }
    // Made with its notes at the first run; a file already there is not touched. A file that
    // cannot be read has said so already.
    std::string reason;
    if (file.rewritable && (!prepare_settings_folder(file.path, &reason) ||
                            !save_settings(file.path, file.as_read, file.as_read, &reason))) {
        std::fprintf(stderr, "cellstorm: settings will not be saved (%s)\n", reason.c_str());
        file.rewritable = false;
    }
    return file;
}

// More gamepads from the player's own database beside the settings file; the joystick already
// opened is opened again so a mapping for it applies. Read here, so a FIFO or a device of that
// name cannot hold up the start.
void add_pad_database(const std::string& settings_path) {
    const std::string path =
        settings_path.substr(0, settings_path.rfind('/') + 1) + "gamecontrollerdb.txt";
    std::string text;
    std::string reason;
    switch (platform::common::read_whole_file(path, kMaxPadDatabase, &text, &reason)) {
        case platform::common::FileRead::Missing:
            return;
        case platform::common::FileRead::Read:
            break;
        default:
            std::fprintf(stderr, "cellstorm: %s: %s; not read\n", path.c_str(), reason.c_str());
            return;
    }
    if (init_subsystem(SDL_INIT_GAMECONTROLLER) &&
        SDL_GameControllerAddMappingsFromRW(SDL_RWFromConstMem(text.data(), int(text.size())), 1) >
            0) {
        reopen_joystick();
    }
}

// What the player changed while playing goes into the file; the rest stays as the file has
// it, even where an option overrode it for this run.
void write_back(const SettingsFile& file, const Settings& started, const Settings& now) {
    if (!file.rewritable) {
        return;
    }
    Settings saved = file.as_read;
    if (now.fullscreen != started.fullscreen) {
        saved.fullscreen = now.fullscreen;
    }
    if (now.window_width != started.window_width || now.window_height != started.window_height) {
        saved.window_width = now.window_width;
        saved.window_height = now.window_height;
    }
    std::string reason;
    if (!save_settings(file.path, file.as_read, saved, &reason)) {
        std::fprintf(stderr, "cellstorm: settings not saved (%s)\n", reason.c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    SDL_SetMainReady();
    catch_stop();
    Options options;
    std::string error;
    switch (parse_options(argc, argv, &options, &error)) {
        case ParseResult::Bad:
            std::fprintf(stderr, "cellstorm: %s\n%s", error.c_str(), usage_text());
            return EXIT_BAD_COMMAND_LINE;
        case ParseResult::Help:
            std::fputs(usage_text(), stdout);
            return 0;
        case ParseResult::Version:
            std::printf("cellstorm %s\n", CELLSTORM_VERSION);
            return 0;
        case ParseResult::Run:
            break;
    }
    if (options.verbose) {
        platform::request_diagnostics();
    }
    if (!options.data_dir.empty()) {
        std::vector<std::string> dirs = platform::common::default_search_dirs();
        dirs.insert(dirs.begin(), options.data_dir);
        platform::common::set_search_dirs(dirs);
    }
    SettingsFile file = read_settings(options);
    Settings started = file.as_read;
    if (options.window_given) {
        started.fullscreen = options.fullscreen;
    }
    if (options.scale_given) {
        started.scale = options.scale;
    }
    active_settings() = started;
    set_bindings(started);
    set_sound_enabled(!options.no_sound);
    // From here SDL turns SIGTERM and SIGINT into its quit, which ends the game as its window's
    // close does (it takes over only signals left to their default, when its events start).
    hand_stop_to_sdl();
    if (stop_asked != 0) {
        shutdown();
        return 0;
    }
    init_subsystem(SDL_INIT_EVENTS);
    add_pad_database(file.path);

    if (!options.session.playback_path.empty()) {
        platform::Script script;
        if (!platform::load_script(options.session.playback_path, false, &script, &error)) {
            std::fprintf(stderr, "cellstorm: %s\n", error.c_str());
            return EXIT_BAD_COMMAND_LINE;
        }
        if (!script.note.empty()) {
            std::fprintf(stderr, "cellstorm: %s\n", script.note.c_str());
        }
        start_playback(std::move(script));
    }
    if (!options.session.record_path.empty() &&
        !start_recording(options.session.record_path, "cellstorm " CELLSTORM_VERSION " recording",
                         &error)) {
        std::fprintf(stderr, "cellstorm: %s\n", error.c_str());
        return EXIT_BAD_COMMAND_LINE;
    }

    int exit_code = WinMain(&instance_tag, nullptr, empty_command_line, SW_SHOWNORMAL);
    // A recording that could not be written in full is not a success.
    if (!finish_recording(Game_Summary()) && exit_code == 0) {
        exit_code = EXIT_RECORDING_FAILED;
    }
    write_back(file, started, active_settings());
    shutdown();
    return exit_code;
}
