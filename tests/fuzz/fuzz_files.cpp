#include "fuzz_files.h"

#include <cstdio>
#include <cstdlib>

#include "common/main_window.h"
#include "graphics/display.h"
#include "platform/headless/control.h"
#include "platform/window.h"

const std::string& fuzz_data_dir() {
    static const std::string dir = [] {
        char pattern[] = "/tmp/cellstorm-fuzz-XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            std::abort();
        }
        platform::headless::reset();
        platform::headless::set_data_dirs({pattern});
        // A window and the display, as the game has them, so sounds get a device and pictures
        // reach the screen and its palette.
        platform::WindowClass window_class{};
        window_class.lpfnWndProc = platform::default_window_proc;
        window_class.lpszClassName = "FUZZ";
        platform::register_class(window_class);
        main_window =
            platform::create_window(0, "FUZZ", "FUZZ", platform::WS_POPUP, 0, 0, 640, 480);
        DD_Init(main_window);
        return std::string(pattern);
    }();
    return dir;
}

void fuzz_write_file(const char* name, const uint8_t* data, size_t size) {
    const std::string path = fuzz_data_dir() + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || (size > 0 && std::fwrite(data, 1, size, file) != size)) {
        std::abort();
    }
    std::fclose(file);
}

uint32_t fuzz_hash(const uint8_t* data, size_t size) {
    uint32_t hash = 2166136261u;
    for (size_t i = 0; i < size; i++) {
        hash = (hash ^ data[i]) * 16777619u;
    }
    return hash;
}
