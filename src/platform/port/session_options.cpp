#include "platform/port/session_options.h"

namespace platform::port {

int take_session_option(int argc, const char* const* argv, int* index, SessionOptions* options,
                        std::string* error) {
    const std::string name = argv[*index];
    std::string* path = name == "--record"     ? &options->record_path
                        : name == "--playback" ? &options->playback_path
                                               : nullptr;
    if (path == nullptr) {
        return 0;
    }
    if (*index + 1 >= argc || argv[*index + 1][0] == '\0') {
        *error = name + " needs a file name";
        return -1;
    }
    if (!path->empty()) {
        *error = name + " given twice";
        return -1;
    }
    *path = argv[++*index];
    return 1;
}

}  // namespace platform::port
