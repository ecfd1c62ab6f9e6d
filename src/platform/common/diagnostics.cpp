#include "platform/diagnostics.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace platform {
namespace {

bool requested_by_entry = false;

// Control characters, the line breaks the game's messages carry among them, become one space
// each run, so every message stays on its own line.
std::string one_line(const char* text) {
    std::string line;
    bool gap = false;
    for (const char* at = text; *at != '\0'; ++at) {
        const unsigned char c = static_cast<unsigned char>(*at);
        if (c < 0x20 || c == 0x7F) {
            gap = true;
            continue;
        }
        if (gap && !line.empty() && line.back() != ' ') {
            line += ' ';
        }
        gap = false;
        line += char(c);
    }
    return line;
}

}  // namespace

bool diagnostics_requested() {
    const char* log = std::getenv("CELLSTORM_LOG");
    return requested_by_entry || (log != nullptr && std::strcmp(log, "stderr") == 0);
}

void request_diagnostics() {
    requested_by_entry = true;
}

void write_diagnostic(const char* text) {
    std::fprintf(stderr, "cellstorm: %s\n", one_line(text != nullptr ? text : "").c_str());
}

void report_data_file(const char* name, const char* problem) {
    std::fprintf(stderr, "cellstorm: data file %s %s\n",
                 one_line(name != nullptr ? name : "").c_str(), problem != nullptr ? problem : "");
}

}  // namespace platform
