// The settings file on disk: read through inih line by line; what changed is written into its
// text, which goes to a new file beside it renamed over it.
#include <fcntl.h>
#include <ini.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/common/backend.h"
#include "platform/common/file_read.h"
#include "platform/port/settings.h"

namespace platform::port {

namespace {

using common::FileRead;

// Far more than any settings file.
constexpr size_t kMaxFileSize = size_t(1) << 20;
// A file of nothing but mistakes is not named line by line.
constexpr int kMaxWarnings = 10;

struct Reading {
    const std::string* text = nullptr;
    Settings* settings = nullptr;
    std::vector<std::string>* warnings = nullptr;
    SettingsLayout* layout = nullptr;
    std::string path;
    size_t at = 0;         // where the next line starts
    int line = 0;          // of the line inih was last given
    std::string given;     // that line, as inih was given it
    bool handled = false;  // it went to handle_entry, or it is already named
    int warned = 0;        // lines named so far
};

void warn(Reading* reading, const std::string& why) {
    if (++reading->warned <= kMaxWarnings) {
        reading->warnings->push_back(reading->path + " line " + std::to_string(reading->line) +
                                     ": " + why);
    }
}

// inih tells only the first line it could not use: every line that is not blank, a note or a
// [section] and went to no handle_entry is named here.
void finish_line(Reading* reading) {
    if (reading->line == 0 || reading->handled) {
        return;
    }
    reading->handled = true;
    std::string& text = reading->given;
    if (reading->line == 1 && text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        text.erase(0, 3);
    }
    const size_t first = text.find_first_not_of(" \t\r\n\f\v");
    if (first != std::string::npos && text[first] != '#' && text[first] != ';' &&
        !(text[first] == '[' && is_section_line(text.c_str() + first))) {
        warn(reading, "not a setting or a [section]; the line is ignored");
    }
}

// Hands inih one line at a time and counts them, so a warning names its line. A line longer
// than inih's buffer is ignored whole, not read as several.
char* read_line(char* buffer, int size, void* stream) {
    auto* reading = static_cast<Reading*>(stream);
    finish_line(reading);
    const std::string& text = *reading->text;
    if (reading->at >= text.size() || size < 2) {
        return nullptr;
    }
    const size_t end = std::min(text.find('\n', reading->at), text.size());
    reading->given = text.substr(reading->at, end - reading->at);
    reading->given.resize(std::strlen(reading->given.c_str()));  // inih stops at a NUL too
    reading->at = end + 1;
    ++reading->line;
    reading->handled = false;
    if (reading->given.size() > size_t(size) - 2) {
        const size_t first = reading->given.find_first_not_of(" \t");
        if (first != std::string::npos && reading->given[first] != '#' &&
            reading->given[first] != ';') {
            warn(reading,
                 "longer than " + std::to_string(size - 2) + " characters; the line is ignored");
        }
        reading->given.clear();
        reading->handled = true;
    }
    std::memcpy(buffer, reading->given.c_str(), reading->given.size());
    std::memcpy(buffer + reading->given.size(), "\n", 2);
    return buffer;
}

int handle_entry(void* user, const char* section, const char* name, const char* value) {
    auto* reading = static_cast<Reading*>(user);
    reading->handled = true;
    const std::string why =
        read_setting_line(reading->settings, section, name, value, reading->line, reading->layout);
    if (!why.empty()) {
        warn(reading, why);
    }
    return 1;
}

void read_settings_text(const std::string& path, const std::string& text, Settings* settings,
                        std::vector<std::string>* warnings, SettingsLayout* layout) {
    Reading reading;
    reading.text = &text;
    reading.settings = settings;
    reading.warnings = warnings;
    reading.layout = layout;
    reading.path = path;
    ini_parse_stream(read_line, &reading, handle_entry, &reading);
    finish_line(&reading);
    if (reading.warned > kMaxWarnings) {
        warnings->push_back(path + ": ... and " + std::to_string(reading.warned - kMaxWarnings) +
                            " more lines like these");
    }
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

// The file a chain of symbolic links ends at, which need not exist: the new text goes there,
// and the links stay links.
std::string link_target(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        char target[4096];
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return path;
        }
        const ssize_t length = readlink(path.c_str(), target, sizeof target - 1);
        if (length <= 0) {
            return path;
        }
        target[length] = '\0';
        path = target[0] == '/' ? std::string(target) : folder_of(path) + "/" + target;
    }
    return path;
}

// text into a new file beside path, with the old file's permissions, on the disk before it is
// renamed over path: a crash or another game writing at the same moment never leaves half a
// file. The name is the process's own, so two writers never share one.
bool replace_file(const std::string& path, const std::string& text, std::string* reason) {
    struct stat info {};
    mode_t mode = 0;
    if (stat(path.c_str(), &info) == 0) {
        mode = info.st_mode & 07777;
    } else {
        mode = umask(022);
        umask(mode);
        mode = 0666 & ~mode;
    }
    std::string temporary = path + ".XXXXXX";
    const int fd = mkstemp(&temporary[0]);
    if (fd < 0) {
        *reason = folder_of(path) + ": " + std::strerror(errno);
        return false;
    }
    bool written = fchmod(fd, mode) == 0;
    for (size_t at = 0; written && at < text.size();) {
        const ssize_t put = write(fd, text.data() + at, text.size() - at);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        written = put > 0;
        at += written ? size_t(put) : 0;
    }
    written = written && fsync(fd) == 0;
    written = close(fd) == 0 && written;
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        *reason = path + ": " + std::strerror(errno);
        unlink(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace

std::string default_settings_path() {
    return backend::settings_folder() + "/cellstorm.ini";
}

bool load_settings(const std::string& path, Settings* settings,
                   std::vector<std::string>* warnings) {
    std::string text;
    std::string reason;
    switch (common::read_whole_file(path, kMaxFileSize, &text, &reason)) {
        case FileRead::Missing:
            return true;
        case FileRead::NotRegular:
        case FileRead::TooLarge:
        case FileRead::Failed:
            warnings->push_back(path + ": " + reason +
                                "; the defaults are used and settings will not be saved");
            return false;
        case FileRead::Read:
            break;
    }
    SettingsLayout layout;
    read_settings_text(path, text, settings, warnings, &layout);
    return true;
}

bool prepare_settings_folder(const std::string& path, std::string* reason) {
    const std::string folder = folder_of(link_target(path));
    if (!make_folders(folder) || access(folder.c_str(), W_OK) != 0) {
        *reason = folder + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool save_settings(const std::string& path, const Settings& before, const Settings& after,
                   std::string* reason) {
    const std::string target = link_target(path);
    std::string old_text;
    std::string text;
    switch (common::read_whole_file(target, kMaxFileSize, &old_text, reason)) {
        case FileRead::Missing:
            text = settings_text(after);
            break;
        case FileRead::NotRegular:
        case FileRead::TooLarge:
        case FileRead::Failed:
            *reason = target + ": " + *reason;
            return false;
        case FileRead::Read: {
            Settings scratch = default_settings();
            std::vector<std::string> warnings;
            SettingsLayout layout;
            read_settings_text(path, old_text, &scratch, &warnings, &layout);
            text = edit_settings_text(old_text, layout, before, after);
            if (text == old_text) {
                return true;
            }
        }
    }
    return replace_file(target, text, reason);
}

}  // namespace platform::port
