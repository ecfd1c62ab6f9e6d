// The replay tool's two readers of outside text: the input script, and the command line (the
// input split at newlines into arguments).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "arguments.h"
#include "platform/common/input_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (bool joystick : {false, true}) {
        platform::Script script;
        std::string error;
        if (platform::parse_script(text, joystick, &script, &error)) {
            platform::ScriptCursor cursor(script);
            // A count can be huge; walking the first polls is enough to use every line.
            for (int poll = 0; poll < 10000 && cursor.next() != nullptr; poll++) {
            }
        }
    }

    std::vector<std::string> words{"cellstorm-replay"};
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        words.push_back(text.substr(start, end - start));
    }
    words.push_back(text.substr(start));
    std::vector<const char*> argv;
    for (const std::string& word : words) {
        argv.push_back(word.c_str());
    }
    argv.push_back(nullptr);
    replay::Options options;
    std::string error;
    replay::parse_arguments(int(words.size()), argv.data(), &options, &error);
    return 0;
}
