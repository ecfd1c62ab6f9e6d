// Whole runs of the real game through cellstorm-replay: a seed and a script of held keys, whose
// trace must match the recorded one poll by poll. Each recorded line holds the poll, its time and
// only the fields that changed since the poll before (sounds whenever there are any); what the
// game said on stderr and hashes of the screenshots taken on the way end the file. After an
// intended change, run with CELLSTORM_REWRITE_TRACES=1 to record the traces again, and say in
// the commit why they changed.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string sessions_dir = CELLSTORM_SOURCE_DIR "/tests/scenario/sessions/";

struct Recorded {
    const char* name;    // expected trace: sessions/NAME.trace
    const char* script;  // sessions/SCRIPT.script
    int seed;
    bool joystick;
    std::vector<int> shots;  // polls whose screen is hashed
    const char* missing;     // a data file taken away, or ""
};

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// "name": value pairs of one JSON object, nested objects flattened to parent.name.
void Split(const std::string& json, const std::string& prefix,
           std::vector<std::pair<std::string, std::string>>* out) {
    size_t at = 1;
    while (at < json.size() && json[at] != '}') {
        const size_t open = json.find('"', at), close = json.find('"', open + 1);
        const std::string name = prefix + json.substr(open + 1, close - open - 1);
        const size_t start = json.find(':', close) + 2;
        size_t end = start;
        int depth = 0;
        bool quoted = false;
        for (; end < json.size(); ++end) {
            const char c = json[end];
            if (c == '"') {
                quoted = !quoted;
            } else if (!quoted && (c == '[' || c == '{')) {
                ++depth;
            } else if (!quoted && (c == ']' || c == '}') && depth-- == 0) {
                break;
            } else if (!quoted && c == ',' && depth == 0) {
                break;
            }
        }
        const std::string value = json.substr(start, end - start);
        if (value[0] == '{') {
            Split(value, name + ".", out);
        } else {
            out->push_back({name, value});
        }
        at = json[end] == ',' ? end + 1 : end;
    }
}

std::string Compact(const std::string& trace) {
    std::istringstream lines(trace);
    std::string line, out;
    std::getline(lines, line);
    out += line + '\n';  // the sound slots
    std::map<std::string, std::string> last;
    while (std::getline(lines, line)) {
        std::vector<std::pair<std::string, std::string>> fields;
        Split(line, "", &fields);
        std::string row = fields.at(0).second;
        for (size_t i = 1; i < fields.size(); ++i) {
            const auto& [name, value] = fields[i];
            if (name == "t" || (name == "sounds" ? value != "[]" : last[name] != value)) {
                row += ' ' + name + '=' + value;
            }
            last[name] = value;
        }
        out += row + '\n';
    }
    return out;
}

uint64_t Hash(const std::string& bytes) {
    uint64_t hash = 14695981039346656037u;
    for (unsigned char c : bytes) {
        hash = (hash ^ c) * 1099511628211u;
    }
    return hash;
}

std::string Replay(const Recorded& r, const fs::path& scratch) {
    fs::path data = CELLSTORM_BIN_DIR;
    if (*r.missing != 0) {
        data = scratch / "data";
        fs::create_directories(data);
        for (const auto& entry : fs::directory_iterator(CELLSTORM_BIN_DIR)) {
            if (entry.path().filename() != r.missing) {
                fs::create_symlink(entry.path(), data / entry.path().filename());
            }
        }
    }
    // Quoted, for a checkout whose path has spaces in it.
    auto quoted = [](const fs::path& path) { return "'" + path.string() + "' "; };
    std::string command = quoted(fs::path(CELLSTORM_BIN_DIR) / "cellstorm-replay") + "--data " +
                          quoted(data) + "--seed " + std::to_string(r.seed) + " --input " +
                          quoted(sessions_dir + r.script + ".script") + "--trace " +
                          quoted(scratch / "trace") + "--max-polls 3000" +
                          (r.joystick ? " --joystick" : "");
    for (int poll : r.shots) {
        command += " --shot " +
                   quoted(std::to_string(poll) + ":" + (scratch / std::to_string(poll)).string());
    }
    const int status = std::system((command + " 2>" + quoted(scratch / "stderr")).c_str());
    std::string out = "exit " + std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) +
                      '\n' + Compact(Read((scratch / "trace").string()));
    out += Read((scratch / "stderr").string());
    for (int poll : r.shots) {
        out += "shot " + std::to_string(poll) + ' ' +
               std::to_string(Hash(Read((scratch / std::to_string(poll)).string()))) + '\n';
    }
    return out;
}

}  // namespace

TEST(Recorded, SessionsGiveTheirRecordedTraces) {
    const Recorded sessions[] = {
        {"menu", "menu", 321, false, {1, 6, 7, 8, 9, 10, 11, 12, 63, 73, 101, 140, 147, 154}, ""},
        {"classic", "classic", 1, false, {16, 75, 77, 80, 85, 95, 200}, ""},
        {"dorodo", "dorodo", 14, false, {300}, ""},
        {"joystick", "joystick", 9, true, {}, ""},
        {"held_keys", "held_keys", 5, false, {}, ""},
        {"no_closing_picture", "short", 3, false, {}, "CSTRAIL8.BMP"},
        {"no_title", "short", 3, false, {}, "CSSPL8.BMP"},
        {"no_menu_picture", "short", 3, false, {2}, "CSCON8.BMP"},
        {"no_buttons", "short", 3, false, {2}, "XCNBUT8.BMP"},
        {"no_blocks", "short", 3, false, {30}, "lv1BLK8.BMP"},
        {"no_background", "short", 3, false, {30}, "lv1DS8.BMP"},
    };
    const bool rewrite = std::getenv("CELLSTORM_REWRITE_TRACES") != nullptr;
    for (const Recorded& r : sessions) {
        const fs::path scratch = fs::temp_directory_path() /
                                 ("cellstorm-recorded-" + std::to_string(getpid()) + "-" + r.name);
        fs::remove_all(scratch);
        fs::create_directories(scratch);
        const std::string actual = Replay(r, scratch);
        fs::remove_all(scratch);
        const std::string path = sessions_dir + r.name + ".trace";
        if (rewrite) {
            std::ofstream(path, std::ios::binary) << actual;
            continue;
        }
        std::istringstream want(Read(path)), got(actual);
        std::string w, g;
        for (int line = 1; want || got; ++line) {
            w.clear();
            g.clear();
            std::getline(want, w);
            std::getline(got, g);
            if (w != g) {
                ADD_FAILURE() << r.name << ".trace line " << line << "\n  recorded: " << w
                              << "\n  now:      " << g;
                break;
            }
        }
    }
}
