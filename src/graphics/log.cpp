#include "graphics/log.h"

#include <cstdio>
#include <string>

#include "platform/diagnostics.h"

namespace {

constexpr int LOG_CLOSED = -1;
constexpr int LOG_STDERR = 2;

// The menu hands over the same message every frame; a run of repeats is written as one count.
std::string last_message;
long repeats = 0;

void Write_Repeats() {
    if (repeats > 0) {
        char text[64];
        std::snprintf(text, sizeof text, "(the line above %ld more times)", repeats);
        platform::write_diagnostic(text);
    }
    repeats = 0;
}

}  // namespace

int log_handle = LOG_CLOSED;

int Log_Open() {
    if (platform::diagnostics_requested()) {
        log_handle = LOG_STDERR;
    }
    return log_handle != LOG_CLOSED;
}

int Log_Write(const char* text) {
    if (log_handle == LOG_CLOSED) {
        return 0;
    }
    const char* message = text != nullptr ? text : "";
    if (message == last_message) {
        ++repeats;
        return 1;
    }
    Write_Repeats();
    last_message = message;
    platform::write_diagnostic(message);
    return 1;
}

int Log_Close() {
    if (log_handle == LOG_CLOSED) {
        return 0;
    }
    Write_Repeats();
    last_message.clear();
    log_handle = LOG_CLOSED;
    return 1;
}
