// The settings file on disk: read through inih, written whole beside it and renamed over it.
#include <ini.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/common/backend.h"
#include "platform/port/settings.h"

namespace platform::port {

namespace {

struct Reading {
    std::FILE* file;
    Settings* settings;
    std::vector<std::string>* warnings;
    std::string path;
    int line = 0;  // of the line inih last took
};

// Reads lines for inih and counts them, so a warning can name its line.
char* read_line(char* text, int size, void* stream) {
    auto* reading = static_cast<Reading*>(stream);
    char* got = std::fgets(text, size, reading->file);
    if (got != nullptr && std::strchr(got, '\n') != nullptr) {
        ++reading->line;
    }
    return got;
}

int handle_entry(void* user, const char* section, const char* name, const char* value) {
    auto* reading = static_cast<Reading*>(user);
    std::string why = read_setting_line(reading->settings, section, name, value);
    if (!why.empty()) {
        reading->warnings->push_back(reading->path + " line " + std::to_string(reading->line) +
                                     ": " + why + "; the default is used");
    }
    return 1;
}

std::string folder_of(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool make_folders(const std::string& folder) {
    struct stat info {};
    if (stat(folder.c_str(), &info) == 0) {
        return S_ISDIR(info.st_mode);
    }
    const std::string parent = folder_of(folder);
    if (parent != folder && !make_folders(parent)) {
        return false;
    }
    return mkdir(folder.c_str(), 0755) == 0 || errno == EEXIST;
}

}  // namespace

std::string default_settings_path() {
    return backend::settings_folder() + "/cellstorm.ini";
}

bool load_settings(const std::string& path, Settings* settings,
                   std::vector<std::string>* warnings) {
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (file == nullptr) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return true;
        }
        warnings->push_back(path + ": cannot be read (" + std::strerror(errno) +
                            "); the defaults are used");
        return false;
    }
    Reading reading{file, settings, warnings, path};
    const size_t before = warnings->size();
    const int bad_line = ini_parse_stream(read_line, &reading, handle_entry, &reading);
    std::fclose(file);
    if (bad_line > 0) {
        warnings->push_back(path + " line " + std::to_string(bad_line) +
                            ": not a setting or a [section]; it is skipped");
    } else if (bad_line < 0) {
        warnings->push_back(path + ": cannot be read; the defaults are used");
    }
    return warnings->size() == before;
}

bool prepare_settings_folder(const std::string& path, std::string* reason) {
    const std::string folder = folder_of(path);
    if (!make_folders(folder) || access(folder.c_str(), W_OK) != 0) {
        *reason = folder + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool save_settings(const std::string& path, const Settings& settings, std::string* reason) {
    const std::string temporary = path + ".new";
    const std::string text = settings_text(settings);
    std::FILE* file = std::fopen(temporary.c_str(), "w");
    bool written = file != nullptr && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    written = file != nullptr && std::fflush(file) == 0 && fsync(fileno(file)) == 0 && written;
    if (file != nullptr && std::fclose(file) != 0) {
        written = false;
    }
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        *reason = path + ": " + std::strerror(errno);
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace platform::port
