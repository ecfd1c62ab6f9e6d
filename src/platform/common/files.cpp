// Data files by bare name: the current directory, beside the executable, the installed data
// (found from the executable's folder, so an installed tree runs wherever it lies).
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/common/backend.h"
#include "platform/common/files_internal.h"
#include "platform/files.h"

#ifndef CELLSTORM_DATA_FROM_PROGRAM
#define CELLSTORM_DATA_FROM_PROGRAM "../share/games/cellstorm"
#endif

namespace platform {
namespace {

struct SearchState {
    bool custom = false;
    std::vector<std::string> dirs;
};

SearchState& search_state() {
    static SearchState instance;
    return instance;
}

std::string join(const std::string& dir, const char* name) {
    if (dir.empty() || name[0] == '/') {
        return name;
    }
    return dir.back() == '/' ? dir + name : dir + "/" + name;
}

bool is_regular_file(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool reads_only(const char* mode) {
    return mode[0] == 'r' && std::strchr(mode, '+') == nullptr;
}

}  // namespace

std::FILE* open_data_file(const char* name, const char* mode) {
    if (name == nullptr || name[0] == '\0' || mode == nullptr || mode[0] == '\0') {
        return nullptr;
    }
    const std::vector<std::string>& dirs = common::search_dirs();
    // Writing goes to the first directory only; reading takes the first file found.
    if (!reads_only(mode)) {
        return dirs.empty() ? nullptr : std::fopen(join(dirs.front(), name).c_str(), mode);
    }
    for (const std::string& dir : dirs) {
        std::string path = join(dir, name);
        if (!is_regular_file(path)) {
            continue;
        }
        if (std::FILE* file = std::fopen(path.c_str(), mode)) {
            return file;
        }
    }
    return nullptr;
}

namespace common {

std::vector<std::string> default_search_dirs() {
    std::vector<std::string> dirs{std::string()};
    std::string beside = backend::program_folder();
    if (!beside.empty()) {
        dirs.push_back(beside);
        dirs.push_back(join(beside, CELLSTORM_DATA_FROM_PROGRAM));
    }
    return dirs;
}

void set_search_dirs(std::vector<std::string> dirs) {
    search_state().custom = true;
    search_state().dirs = std::move(dirs);
}

const std::vector<std::string>& search_dirs() {
    SearchState& s = search_state();
    if (!s.custom && s.dirs.empty()) {
        s.dirs = default_search_dirs();
    }
    return s.dirs;
}

void reset_search_dirs() {
    search_state().custom = false;
    search_state().dirs.clear();
}

}  // namespace common
}  // namespace platform
