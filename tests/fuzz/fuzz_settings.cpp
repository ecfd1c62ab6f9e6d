// The settings file and its lists of keys and pad buttons: what is read from any file, written
// back into it with changes, reads back as the settings written; written whole, the same again.
#include <cstdlib>
#include <string>

#include "fuzz_files.h"
#include "platform/headless/control.h"
#include "platform/port/settings.h"

using namespace platform::port;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // SDL's spelling: the defaults, and names the file's own syntax would take apart.
    const std::vector<std::string> names = {
        "Left", "Right", "Up", "Down", "Return", "Space", "Escape",   "A",
        "S",    "P",     ";",  ",",    "#",      "=",     "Keypad ,", "Keypad Enter"};
    const std::string path = fuzz_data_dir() + "/cellstorm.ini";  // a fresh backend first
    platform::headless::name_keys(names);
    const auto read_back = [&path] {
        Settings read = default_settings();
        std::vector<std::string> warnings;
        return load_settings(path, &read, &warnings) ? read : (std::abort(), read);
    };
    fuzz_write_file("cellstorm.ini", data, size);
    const Settings read = read_back();
    Settings changed = read;
    FuzzRandom random{fuzz_hash(data, size)};
    changed.fullscreen = random.next() % 2 == 0;
    changed.window_width = random.next() % 2 == 0 ? 0 : kMinWindowSize + int(random.next() % 999);
    changed.keys[random.next() % kGameKeyCount] = {names[random.next() % names.size()],
                                                   names[random.next() % names.size()]};
    const std::string wanted = settings_text(changed);
    std::string reason;
    if (!save_settings(path, read, changed, &reason) || settings_text(read_back()) != wanted) {
        std::abort();
    }
    fuzz_write_file("cellstorm.ini", reinterpret_cast<const uint8_t*>(wanted.data()),
                    wanted.size());
    return settings_text(read_back()) == wanted ? 0 : (std::abort(), 0);
}
