// Data files opened by bare name, found where the game's files lie.
#pragma once
#include <cstdio>

namespace platform {

// Looks in the current directory, then beside the executable, then in the installed data
// directory (../share/games/cellstorm from the executable's), and opens the first match with
// fopen's mode. Null when none can be opened.
std::FILE* open_data_file(const char* name, const char* mode);

}  // namespace platform
