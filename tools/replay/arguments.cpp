#include "arguments.h"

#include <sys/stat.h>
#include <unistd.h>

#include <charconv>

#include "platform/common/input_script.h"

namespace replay {

const char* const usage_text =
    "usage: cellstorm-replay [--seed N] --input FILE [--data DIR] [--trace FILE]\n"
    "                        [--shot K:FILE.bmp]... [--sound FILE.wav] [--max-polls N]\n"
    "                        [--joystick]\n"
    "       cellstorm-replay --help | --version\n"
    "--seed may be left out when FILE says '# seed N', as a recording does.\n";

namespace {

constexpr uint64_t MAX_POLLS_LIMIT = uint64_t(1) << 62;

// Plain digits up to max: no sign, no blanks, and from_chars refuses what would wrap around.
bool read_count(const std::string& text, uint64_t max, uint64_t* value) {
    const char* end = text.data() + text.size();
    uint64_t number = 0;
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (error != std::errc() || stop != end || number > max) {
        return false;
    }
    *value = number;
    return true;
}

bool is_directory(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The directory a file would be written into.
std::string parent_directory(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool writable_directory_of(const std::string& path) {
    std::string dir = parent_directory(path);
    return is_directory(dir) && access(dir.c_str(), W_OK) == 0;
}

bool parse_shot(const std::string& text, Shot* shot, std::string* error) {
    size_t colon = text.find(':');
    if (colon == std::string::npos || colon + 1 >= text.size() ||
        !read_count(text.substr(0, colon), MAX_POLLS_LIMIT, &shot->poll) || shot->poll == 0) {
        *error = "--shot wants K:FILE.bmp with K a poll number from 1 on, not '" + text + "'";
        return false;
    }
    shot->path = text.substr(colon + 1);
    if (!writable_directory_of(shot->path)) {
        *error = "--shot " + text + ": cannot write into the directory '" +
                 parent_directory(shot->path) + "'";
        return false;
    }
    return true;
}

}  // namespace

bool parse_arguments(int argc, const char* const* argv, Options* options, std::string* error) {
    *options = Options();
    bool have_data = false;
    bool have_seed = false;
    bool have_input = false;
    bool have_trace = false;
    bool have_max = false;
    bool have_sound = false;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--joystick" || name == "--help" || name == "--version") {
            bool* flag = name == "--joystick" ? &options->joystick
                         : name == "--help"   ? &options->help
                                              : &options->version;
            *flag = true;
            continue;
        }
        bool* seen = name == "--data"        ? &have_data
                     : name == "--seed"      ? &have_seed
                     : name == "--input"     ? &have_input
                     : name == "--trace"     ? &have_trace
                     : name == "--max-polls" ? &have_max
                     : name == "--sound"     ? &have_sound
                                             : nullptr;
        if (seen == nullptr && name != "--shot") {
            *error = "unknown argument '" + name + "'";
            return false;
        }
        if (i + 1 >= argc || argv[i + 1][0] == '\0') {
            *error = name + " needs a value";
            return false;
        }
        if (seen != nullptr && *seen) {
            *error = name + " given twice";
            return false;
        }
        if (seen != nullptr) {
            *seen = true;
        }
        const std::string value = argv[++i];
        uint64_t number = 0;
        if (name == "--data") {
            if (!is_directory(value)) {
                *error = "--data '" + value + "' is not a directory";
                return false;
            }
            options->data_dir = value;
        } else if (name == "--seed") {
            if (!read_count(value, platform::MAX_SEED, &number)) {
                *error = "--seed wants a number from 0 to 999, not '" + value + "'";
                return false;
            }
            options->seed = uint32_t(number);
        } else if (name == "--input") {
            options->input_path = value;
        } else if (name == "--trace") {
            options->trace_path = value;
        } else if (name == "--sound") {
            if (!writable_directory_of(value)) {
                *error = "--sound " + value + ": cannot write into the directory '" +
                         parent_directory(value) + "'";
                return false;
            }
            options->sound_path = value;
        } else if (name == "--max-polls") {
            if (!read_count(value, MAX_POLLS_LIMIT, &number) || number == 0) {
                *error = "--max-polls wants a number of polls from 1 on, not '" + value + "'";
                return false;
            }
            options->max_polls = number;
        } else {
            Shot shot;
            if (!parse_shot(value, &shot, error)) {
                return false;
            }
            options->shots.push_back(shot);
        }
    }
    if (!have_input && !options->help && !options->version) {
        *error = "--input is required";
        return false;
    }
    return true;
}

}  // namespace replay
