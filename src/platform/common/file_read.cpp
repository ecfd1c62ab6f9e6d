#include "platform/common/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform::common {

namespace {

std::string size_words(size_t max) {
    return max % (size_t(1) << 20) == 0 ? std::to_string(max >> 20) + " MiB"
                                        : std::to_string(max) + " bytes";
}

}  // namespace

FileRead read_whole_file(const std::string& path, size_t max, std::string* text,
                         std::string* reason) {
    text->clear();
    // The kind is asked before opening: opening a FIFO waits for a writer, a device may act.
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        *reason = std::strerror(errno);
        return errno == ENOENT || errno == ENOTDIR ? FileRead::Missing : FileRead::Failed;
    }
    if (!S_ISREG(info.st_mode)) {
        *reason = "not a regular file";
        return FileRead::NotRegular;
    }
    // It may have been swapped since: not blocking, and asked again once open.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        *reason = std::strerror(errno);
        return errno == ENOENT ? FileRead::Missing : FileRead::Failed;
    }
    FileRead result = FileRead::Read;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        *reason = "not a regular file";
        result = FileRead::NotRegular;
    }
    char chunk[65536];
    while (result == FileRead::Read) {
        const ssize_t got = read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            *reason = std::strerror(errno);
            result = FileRead::Failed;
        } else if (got == 0) {
            break;
        } else if (text->size() + size_t(got) > max) {
            *reason = "larger than " + size_words(max);
            result = FileRead::TooLarge;
        } else {
            text->append(chunk, size_t(got));
        }
    }
    close(fd);
    if (result != FileRead::Read) {
        text->clear();
    }
    return result;
}

}  // namespace platform::common
