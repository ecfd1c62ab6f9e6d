// The process entry of the browser game: hands over to the game's own entry, then tells the
// page that the game has ended.
#include <emscripten.h>

#include "app/winmain.h"
#include "platform/diagnostics.h"

namespace {
// The game keeps the instance handle and never looks inside it.
char instance_tag;
char empty_command_line[] = "";
constexpr int SW_SHOWNORMAL = 1;
}  // namespace

int main() {
    // cellstorm.html?verbose sends the game's diagnostic log to the browser's console, as
    // --verbose does on the desktop.
    if (EM_ASM_INT({ return new URLSearchParams(location.search).has('verbose') ? 1 : 0; }) != 0) {
        platform::request_diagnostics();
    }
    int exit_code = WinMain(&instance_tag, nullptr, empty_command_line, SW_SHOWNORMAL);
    EM_ASM({ Module.cellstormEnded(); });
    return exit_code;
}
