// Where the program lies and where the player's settings go.
#include <SDL.h>

#include <cstdlib>
#include <string>

#include "platform/common/backend.h"

namespace platform::backend {

std::string program_folder() {
    char* base = SDL_GetBasePath();
    if (base == nullptr) {
        return std::string();
    }
    std::string folder = base;
    SDL_free(base);
    while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) {
        folder.pop_back();
    }
    return folder;
}

// $XDG_CONFIG_HOME/cellstorm, or ~/.config/cellstorm when that is unset (or not absolute).
std::string settings_folder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') {
        return std::string(config) + "/cellstorm";
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.config/cellstorm";
}

}  // namespace platform::backend
