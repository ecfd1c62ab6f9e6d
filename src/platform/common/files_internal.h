// Where open_data_file looks, replaceable for tests and tools.
#pragma once
#include <string>
#include <vector>

namespace platform::common {

// The current directory (""), the executable's directory and the installed data directory
// as seen from the executable's.
std::vector<std::string> default_search_dirs();

// Replaces the directories open_data_file searches, in order; "" is the current directory.
void set_search_dirs(std::vector<std::string> dirs);
const std::vector<std::string>& search_dirs();

// Back to the default directories.
void reset_search_dirs();

}  // namespace platform::common
