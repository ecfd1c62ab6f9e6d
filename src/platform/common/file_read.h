// Reading a whole file the player may have named wrongly: only a regular file is opened, it
// never blocks, and reading stops past a size no real file of its kind reaches.
#pragma once
#include <cstddef>
#include <string>

namespace platform::common {

enum class FileRead { Read, Missing, NotRegular, TooLarge, Failed };

// The whole of path into *text, at most max bytes. Anything but Read gives *reason, a few
// words for a message.
FileRead read_whole_file(const std::string& path, size_t max, std::string* text,
                         std::string* reason);

}  // namespace platform::common
