// The script format, the limits, the argument checks and the repeatability of cellstorm-replay.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "replay_run.h"

namespace {

std::string turned_clockwise(const std::string& grid) {
    std::string out(16, '0');
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            out[size_t(r * 4 + c)] = grid[size_t((3 - c) * 4 + r)];
        }
    }
    return out;
}

TEST(ReplayScript, EveryKeyCountCommentAndBlankLineActsOnItsOwnPoll) {
    ReplayScratch scratch;
    ReplayResult run = run_replay(scratch,
                                  "# the menu\n-\ndown\nright\n\nleft\n  up\n"
                                  "# space selects like enter\nspace\n"
                                  "-\nright\n2*-\nleft\ns\n2 * -\na\n-\ndown\nup\n"
                                  "p\n-\np\nesc\ndown\n",
                                  {"--max-polls", "25"});
    ASSERT_EQ(run.exit_code, 3) << run.errors;
    ASSERT_EQ(run.polls.size(), 25u);
    auto at = [&](int poll) { return run.polls[size_t(poll - 1)]; };
    auto menu = [&](int poll, const char* key) { return trace_number(at(poll), key, "menu"); };
    auto piece = [&](int poll, const char* key) { return trace_number(at(poll), key, "piece"); };

    EXPECT_EQ(menu(2, "cursor"), 1);
    EXPECT_EQ(menu(3, "playfield"), 1);
    EXPECT_EQ(menu(4, "playfield"), 0);
    EXPECT_EQ(menu(5, "cursor"), 0);
    EXPECT_EQ(trace_number(at(6), "state"), 1);
    EXPECT_EQ(piece(7, "x"), 112);
    EXPECT_EQ(piece(8, "x"), 128);
    EXPECT_EQ(piece(11, "x"), 112);
    // s turns clockwise, a back.
    std::string grid = trace_text(at(11), "grid", "piece");
    EXPECT_EQ(trace_text(at(12), "grid", "piece"), turned_clockwise(grid));
    EXPECT_EQ(trace_text(at(15), "grid", "piece"), grid);
    // Down adds six to the fall step of 2, up takes one off.
    EXPECT_EQ(piece(16, "y") - piece(15, "y"), 2);
    EXPECT_EQ(piece(17, "y") - piece(16, "y"), 8);
    EXPECT_EQ(piece(18, "y") - piece(17, "y"), 1);
    EXPECT_EQ(trace_number(at(19), "state"), 5);
    EXPECT_EQ(trace_number(at(20), "state"), 5);
    EXPECT_EQ(trace_number(at(21), "state"), 4);
    EXPECT_EQ(trace_number(at(22), "state"), 6);
    EXPECT_EQ(trace_number(at(22), "in_progress"), 1);
    EXPECT_EQ(menu(23, "cursor"), 1);
    // The script is used up: nothing is held any more.
    EXPECT_EQ(menu(25, "cursor"), 1);
}

// The stick stays where a line put it. Leaving by the joystick's select button holds no key, so
// the closing screen (which reads only the keyboard) would wait for ever: the run is given up.
TEST(ReplayScript, JoystickPositionsStayUntilChangedAndAStuckRunEnds) {
    ReplayScratch scratch;
    ReplayResult run = run_replay(scratch,
                                  "-\njy=65535\n-\njy=32767 jx=65535\n- jx=32767\n"
                                  "jy=65535\n3*-\njy=32767 jb=4\n",
                                  {"--joystick"});
    ASSERT_EQ(run.exit_code, 3) << run.errors;
    ASSERT_EQ(run.polls.size(), 10u);
    EXPECT_EQ(trace_number(run.polls[1], "cursor", "menu"), 1);
    EXPECT_EQ(trace_number(run.polls[2], "cursor", "menu"), 2);
    EXPECT_EQ(trace_number(run.polls[3], "type", "menu"), 1);
    EXPECT_EQ(trace_number(run.polls[4], "cursor", "menu"), 2);
    EXPECT_EQ(trace_number(run.polls[8], "cursor", "menu"), 6);
    EXPECT_EQ(trace_number(run.polls[9], "state"), 8);
}

TEST(ReplayScript, MaxPollsEndsTheRunAfterThatManyPolls) {
    ReplayScratch scratch;
    ReplayResult run = run_replay(scratch, "5*-\n", {"--max-polls", "3"});
    EXPECT_EQ(run.exit_code, 3);
    EXPECT_EQ(run.polls.size(), 3u);
    EXPECT_NE(run.header.find("\"ids\": {"), std::string::npos);
}

TEST(ReplayScript, BadArgumentsAndScriptsEndWithTwoAndAMessage) {
    ReplayScratch scratch;
    std::ofstream(scratch.path("script.txt")) << "-\n";
    const std::vector<std::string> good = {"--data", CELLSTORM_BIN_DIR, "--seed",
                                           "1",      "--input",         scratch.path("script.txt")};
    std::vector<std::vector<std::string>> cases = {{good.begin() + 2, good.end()}};
    for (auto [index, value] : std::vector<std::pair<int, std::string>>{
             {1, "/nowhere"}, {3, "1000"}, {3, "-1"}, {3, "x"}, {5, "/nowhere/script.txt"}}) {
        cases.push_back(good);
        cases.back()[size_t(index)] = value;
    }
    for (std::vector<std::string> tail :
         std::vector<std::vector<std::string>>{{"--seed", "2"},
                                               {"--max-polls", "0"},
                                               {"--shot", "0:a.bmp"},
                                               {"--shot", "a.bmp"},
                                               {"--shot", "1:/nowhere/a.bmp"},
                                               {"--trace", "/nowhere/t.jsonl"},
                                               {"--fast"},
                                               {"--trace"}}) {
        cases.push_back(good);
        cases.back().insert(cases.back().end(), tail.begin(), tail.end());
    }
    for (const auto& args : cases) {
        ReplayResult run = run_replay_raw(scratch, args);
        EXPECT_EQ(run.exit_code, 2) << args.back();
        EXPECT_NE(run.errors.find("cellstorm-replay: "), std::string::npos) << args.back();
    }
    // A script mistake names its line; jx= needs --joystick, and then a position up to 65535.
    for (const char* text : {"jump\n", "0*down\n", "- left\n", "3*\n", "jx=5\n", "-\njx=70000\n"}) {
        bool joystick = std::string(text).find("70000") != std::string::npos;
        ReplayResult run =
            run_replay(scratch, text, std::vector<std::string>(joystick, "--joystick"));
        EXPECT_EQ(run.exit_code, 2) << text;
        EXPECT_NE(run.errors.find(joystick ? "line 2: " : "line 1: "), std::string::npos) << text;
    }
}

TEST(ReplayScript, TheSameRunGivesTheSameBytesAndTheSeedChangesTheGame) {
    ReplayScratch scratch;
    const std::string script = "-\nenter\n30*-\n40*down\nleft\n20*s\n";
    std::vector<std::string> trace;
    std::vector<std::string> shot;
    for (int seed : {5, 5, 6}) {
        ReplayResult run =
            run_replay(scratch, script,
                       {"--max-polls", "120", "--shot", "100:" + scratch.path("shot.bmp")}, seed);
        ASSERT_EQ(run.exit_code, 3) << run.errors;
        trace.push_back(read_file(scratch.path("trace.jsonl")));
        shot.push_back(read_file(scratch.path("shot.bmp")));
    }
    EXPECT_EQ(trace[0], trace[1]);
    EXPECT_EQ(shot[0], shot[1]);
    EXPECT_NE(trace[0], trace[2]);
    // A 24-bit picture of the whole 640 x 480 screen.
    ASSERT_EQ(shot[0].size(), 54u + 640 * 480 * 3);
    EXPECT_EQ(shot[0].substr(0, 2), "BM");
    EXPECT_EQ(shot[0][28], 24);
}

}  // namespace
