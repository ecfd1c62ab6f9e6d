// cellstorm-replay run as a child process on the game's real data files: the script format, its
// limits and mistakes, a level-up played twice to the same bytes, a whole session's sound through
// the mixer with a paused screenshot, and what it says on stderr with the log on.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Replay {
    int exit_code = -1;  // -1 when the tool did not exit by itself
    std::string errors;
    std::vector<std::string> polls;  // the trace lines after the sound slots, poll 1 first
};

// A scratch directory, removed with everything in it at the end.
struct Scratch {
    std::string dir = (fs::temp_directory_path() / "replay_test_XXXXXX").string();
    Scratch() { EXPECT_NE(mkdtemp(dir.data()), nullptr); }
    ~Scratch() { fs::remove_all(dir); }
    std::string path(const std::string& name) const { return dir + "/" + name; }
};

std::string read_file(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// Runs the tool with exactly these arguments; a hung tool is killed (timeout's exit code 124).
Replay run_raw(const Scratch& scratch, const std::vector<std::string>& args) {
    std::string command = std::string("timeout 120 '") + REPLAY_TOOL + "'";
    for (const std::string& arg : args) {
        command += " '" + arg + "'";
    }
    fs::remove(scratch.path("trace.jsonl"));
    const int status =
        std::system((command + " >/dev/null 2>'" + scratch.path("stderr.txt") + "'").c_str());
    Replay run;
    run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.errors = read_file(scratch.path("stderr.txt"));
    std::istringstream trace(read_file(scratch.path("trace.jsonl")));
    for (std::string line; std::getline(trace, line);) {
        run.polls.push_back(line);
    }
    if (!run.polls.empty()) {
        run.polls.erase(run.polls.begin());
    }
    return run;
}

// Writes the script and runs the tool on the build's data with it, a seed and a trace.
Replay run(const Scratch& scratch, const std::string& script, std::vector<std::string> extra = {},
           int seed = 7) {
    std::ofstream(scratch.path("script.txt"), std::ios::binary) << script;
    extra.insert(extra.begin(),
                 {"--data", CELLSTORM_BIN_DIR, "--seed", std::to_string(seed), "--input",
                  scratch.path("script.txt"), "--trace", scratch.path("trace.jsonl")});
    return run_raw(scratch, extra);
}

// The number after "key": in a trace line; with `within`, the first one after "within":.
int64_t number(const std::string& line, const std::string& key, const std::string& within = "") {
    const size_t from = within.empty() ? 0 : line.find("\"" + within + "\": ");
    const size_t at = from == std::string::npos ? from : line.find("\"" + key + "\": ", from);
    EXPECT_NE(at, std::string::npos) << within << "." << key << " in " << line.substr(0, 100);
    return at == std::string::npos ? INT64_MIN
                                   : std::strtoll(&line[at + key.size() + 4], nullptr, 10);
}

constexpr int PLAY = 1, MENU = 6, CLOSING = 8;

// Comments, blank lines, blanks around the count and the key; space selects like Enter; once
// the script is used up nothing is held; --max-polls ends the run with 3.
TEST(ReplayScript, TheFormatsLinesActOnTheirPollsAndThePollLimitEndsWithThree) {
    Scratch scratch;
    Replay r =
        run(scratch, "# the menu\n-\n\n  space\n# the game\n2 * -\ndown\n", {"--max-polls", "9"});
    ASSERT_EQ(r.exit_code, 3) << r.errors;
    ASSERT_EQ(r.polls.size(), 9u);
    EXPECT_EQ(number(r.polls[0], "state"), MENU);
    EXPECT_EQ(number(r.polls[1], "state"), PLAY);
    auto step = [&](int poll) {
        return number(r.polls[poll - 1], "y", "piece") - number(r.polls[poll - 2], "y", "piece");
    };
    EXPECT_EQ(step(4), 2);
    EXPECT_EQ(step(5), 8) << "down held";
    EXPECT_EQ(step(9), 2) << "nothing held";
}

// A recording's header gives the joystick and its rest: 16383 below the rest is inside the
// dead zone, one more is down. A button still held leaves the closing picture.
TEST(ReplayScript, ARecordedJoystickRestsWhereItsHeaderSaysAndAButtonLeavesTheGame) {
    Scratch scratch;
    std::ofstream(scratch.path("recording.txt"))
        << "# seed 9\n# joystick 32767 40000\n-\njy=56383\n-\njy=56384\n5*-\njy=40000 jb=4\n";
    Replay r =
        run_raw(scratch, {"--data", CELLSTORM_BIN_DIR, "--input", scratch.path("recording.txt"),
                          "--trace", scratch.path("trace.jsonl")});
    ASSERT_EQ(r.exit_code, 0) << r.errors;
    ASSERT_EQ(r.polls.size(), 10u);
    EXPECT_EQ(number(r.polls[2], "cursor", "menu"), 0);
    EXPECT_EQ(number(r.polls[3], "cursor", "menu"), 1);
    EXPECT_EQ(number(r.polls[8], "cursor", "menu"), 6);
    EXPECT_EQ(number(r.polls[9], "state"), CLOSING);
}

TEST(ReplayScript, BadArgumentsAndScriptsEndWithTwoAndAMessage) {
    Scratch scratch;
    const std::string bin = CELLSTORM_BIN_DIR, script = scratch.path("script.txt");
    std::ofstream(script) << "-\n";
    const std::vector<std::vector<std::string>> cases = {
        {"--data", bin, "--seed", "1"},
        {"--data", "/nowhere", "--input", script},
        {"--data", bin, "--input", "/nowhere/script.txt"},
        {"--data", bin, "--input", script, "--seed", "1000"},
        {"--data", bin, "--input", script, "--seed", "-1"},
        {"--data", bin, "--input", script, "--seed", "x"},
        {"--data", bin, "--input", script, "--seed", "1", "--seed", "2"},
        {"--data", bin, "--input", script, "--max-polls", "0"},
        {"--data", bin, "--input", script, "--shot", "0:a.bmp"},
        {"--data", bin, "--input", script, "--shot", "a.bmp"},
        {"--data", bin, "--input", script, "--shot", "1:/nowhere/a.bmp"},
        {"--data", bin, "--input", script, "--trace", "/nowhere/t.jsonl"},
        {"--data", bin, "--input", script, "--fast"},
        {"--data", bin, "--input", script, "--trace"}};
    for (const auto& args : cases) {
        Replay r = run_raw(scratch, args);
        EXPECT_EQ(r.exit_code, 2) << args.back();
        EXPECT_NE(r.errors.find("cellstorm-replay: "), std::string::npos) << args.back();
    }
    // A script mistake names its line; jx= needs --joystick, and then a position up to 65535.
    for (const char* text : {"jump\n", "0*down\n", "- left\n", "3*\n", "jx=5\n", "-\njx=70000\n"}) {
        const bool joystick = std::strstr(text, "70000") != nullptr;
        Replay r = run(scratch, text, std::vector<std::string>(joystick, "--joystick"));
        EXPECT_EQ(r.exit_code, 2) << text;
        EXPECT_NE(r.errors.find(joystick ? "line 2: " : "line 1: "), std::string::npos) << text;
    }
}

// A recorded game on playfield 4 (the narrower well) from seed 7, each piece turned, shifted and
// dropped where a small planner reading the trace's well put it (the planner is in this file's
// history). One step a poll, ";" between steps. Played twice: the same bytes each time.
TEST(ReplayLevel, TenClearedRowsRaiseTheLevelAndTheSpeedTheSameWayEachRun) {
    std::string script =
        "-;down;3*right;up;enter;-;5*right;-;46*down;s;2*-;s;2*-;7*left;-;43*down;5*left;-;"
        "43*down;right;-;46*down;left;-;44*down;s;2*-;s;2*-;5*right;-;59*down;s;2*-;s;2*-;"
        "right;-;43*down;5*left;-;43*down;s;2*-;7*right;-;59*down;s;2*-;left;-;62*down;5*right;"
        "-;62*down;s;2*-;s;2*-;5*left;-;44*down;3*right;-;46*down;s;2*-;s;2*-;s;2*-;7*left;-;"
        "57*down;s;2*-;7*right;-;44*down;s;2*-;5*left;-;44*down;s;2*-;s;2*-;s;3*-;59*down;"
        "3*right;-;46*down;s;2*-;3*left;-;62*down;right;-;46*down;s;2*-;7*left;-;42*down;s;2*-;"
        "3*right;-;45*down;s;2*-;7*right;-;61*down;5*left;-;62*down;-;46*down;s;2*-;s;2*-;"
        "5*left;-;42*down;s;2*-;5*right;-;60*down";
    std::replace(script.begin(), script.end(), ';', '\n');
    Scratch scratch;
    std::vector<std::string> trace, shot;
    Replay r;
    for (int time = 0; time < 2; ++time) {
        r = run(scratch, script,
                {"--max-polls", "1575", "--shot", "1500:" + scratch.path("s.bmp")});
        ASSERT_EQ(r.polls.size(), 1575u) << r.errors;
        trace.push_back(read_file(scratch.path("trace.jsonl")));
        shot.push_back(read_file(scratch.path("s.bmp")));
    }
    EXPECT_EQ(trace[0], trace[1]);
    EXPECT_EQ(shot[0], shot[1]);
    size_t up = 1;
    while (up < r.polls.size() && number(r.polls[up], "level") == 0) {
        ++up;
    }
    ASSERT_LT(up, r.polls.size()) << "no level-up";
    const std::string &before = r.polls[up - 1], &after = r.polls[up];
    EXPECT_EQ(number(after, "level"), 1);
    EXPECT_GE(number(before, "lines"), 10);
    EXPECT_LT(number(after, "level_lines"), number(before, "level_lines"));
    EXPECT_GT(number(after, "score"), number(before, "score"));
    EXPECT_EQ(number(before, "speed", "piece"), 2);
    EXPECT_EQ(number(after, "speed", "piece"), 3);
    EXPECT_NE(after.find("[\"play\", 6, 0]"), std::string::npos);  // next_level
}

// The recorded tour (1,389 polls, seed 42) played on: a pause, Down held to the game over and on
// into the menu, a burst of clicks up and down it, and the exit item; its sound recorded as a
// device at 44.1 kHz would hear it, and a screenshot taken while paused.
TEST(ReplayMix, ASessionOfMusicClearsGameOverAndMenuClicksNeverClipsAndThePauseTextReads) {
    std::string script = read_file(TOUR_SCRIPT);
    ASSERT_FALSE(script.empty());
    script += "p\n4*-\np\n250*down\n10*-\n6*up\n6*down\n6*up\n6*down\n-\nenter\n";
    const int paused = 1389 + 4;
    Scratch scratch;
    Replay r = run(scratch, script,
                   {"--sound", scratch.path("mix.wav"), "--shot",
                    std::to_string(paused) + ":" + scratch.path("paused.bmp")},
                   42);
    ASSERT_EQ(r.exit_code, 0) << r.errors;
    ASSERT_EQ(number(r.polls[paused - 1], "state"), 5) << "paused";
    auto plays = [&](int slot) {
        const std::string event = "[\"play\", " + std::to_string(slot) + ", 0]";
        return std::count_if(r.polls.begin(), r.polls.end(),
                             [&](const std::string& p) { return p.find(event) != p.npos; });
    };
    EXPECT_GE(plays(4), 5) << "line clears";
    EXPECT_EQ(plays(7), 1) << "a game over";
    EXPECT_GE(plays(0) + plays(1), 20) << "menu clicks";

    const std::string wav = read_file(scratch.path("mix.wav"));
    std::vector<int16_t> mix(wav.size() / 2 - 22);  // after the 44-byte header; little-endian
    std::memcpy(mix.data(), wav.data() + 44, mix.size() * 2);
    EXPECT_GE(mix.size() / 44100.0, number(r.polls.back(), "t") / 1000.0) << "the whole session";
    size_t clipped = 0;
    int peak = 0;
    double sum = 0;
    for (int16_t v : mix) {
        clipped += v == 32767 || v == -32768;
        peak = std::max(peak, std::abs(int(v)));
        sum += double(v) * v;
    }
    EXPECT_EQ(clipped, 0u);
    EXPECT_LE(peak, 30934) << "-0.5 dBFS";
    EXPECT_GT(std::sqrt(sum / double(mix.size())), 32768 * 0.05) << "and not near silence";

    // The pause text's box, with a margin, holds the text's red and the black behind it only.
    // The shot is a 24-bit bottom-up BMP: blue, green, red from byte 54 on.
    const std::string shot = read_file(scratch.path("paused.bmp"));
    ASSERT_EQ(shot.size(), 54u + 640 * 480 * 3);
    int red = 0;
    for (int y = 429; y < 452; ++y) {
        for (int x = 445; x < 580; ++x) {
            const char* p = shot.data() + 54 + (479 - y) * 640 * 3 + x * 3;
            const uint32_t c = uint32_t(uint8_t(p[2])) << 16 | uint8_t(p[1]) << 8 | uint8_t(p[0]);
            ASSERT_TRUE(c == 0xFF0000 || c == 0) << x << "," << y << ": " << std::hex << c;
            red += c == 0xFF0000;
        }
    }
    EXPECT_GT(red, 300) << "the text is there";
}

// With the log on, a missing picture and a damaged sound are named, and the log's messages come
// one per line, the menu's message of every frame once with its count. (Without the log, the one
// missing-file line alone is pinned by the recorded sessions.)
TEST(ReplayLog, UnreadableFilesAreNamedAndTheLogGoesToStderrOnRequest) {
    Scratch scratch;
    const std::string data = scratch.path("data");
    fs::create_directory(data);
    for (const fs::directory_entry& entry : fs::directory_iterator(CELLSTORM_BIN_DIR)) {
        const std::string name = entry.path().filename().string();
        if (name != "CSSPL8.BMP" && name != "XSLOCK.VOC") {
            fs::create_symlink(entry.path(), data + "/" + name);
        }
    }
    std::ofstream(data + "/XSLOCK.VOC") << "not a sound";
    std::ofstream(scratch.path("script.txt")) << "-\n6*down\nenter\n";
    setenv("CELLSTORM_LOG", "stderr", 1);
    Replay r =
        run_raw(scratch, {"--data", data, "--seed", "3", "--input", scratch.path("script.txt")});
    unsetenv("CELLSTORM_LOG");
    ASSERT_EQ(r.exit_code, 0) << r.errors;
    for (const char* line :
         {"\ncellstorm: data file CSSPL8.BMP cannot be opened\n",
          "cellstorm: data file XSLOCK.VOC is refused: damaged, or not an 8-bit VOC\n",
          "\ncellstorm: ERROR: Load_Bitmap_File:couldn't find file CSSPL8.BMP\n",
          "\ncellstorm: filename:lv1DS8.BMP size=307200 width=640 height=480 bitsperpixel=8 ",
          "\ncellstorm: game menu\ncellstorm: (the line above ", "\ncellstorm: in exit state\n"}) {
        EXPECT_NE(r.errors.find(line), std::string::npos) << line << "\n" << r.errors;
    }
}

}  // namespace
