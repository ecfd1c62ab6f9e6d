// Diagnostics on stderr: the game's log when the player asks for it, and the data files that
// could not be read, always, so a missing picture is never just a black screen.
#pragma once

namespace platform {

// True when CELLSTORM_LOG=stderr is set or the entry asked for it (the desktop's --verbose).
bool diagnostics_requested();
void request_diagnostics();

// One message as one line on stderr: line breaks and other control characters become spaces,
// leading and trailing ones are dropped.
void write_diagnostic(const char* text);

// Always one line on stderr naming a data file and what went wrong with it.
void report_data_file(const char* name, const char* problem);

}  // namespace platform
