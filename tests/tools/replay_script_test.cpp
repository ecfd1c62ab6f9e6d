// The script format, the limits, the argument checks and the repeatability of cellstorm-replay.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "replay_run.h"

namespace {

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
    auto at = [&](int poll, const char* key, const char* within = "") {
        return trace_number(run.polls[size_t(poll - 1)], key, within);
    };
    auto grid = [&](int poll) { return trace_text(run.polls[size_t(poll - 1)], "grid", "piece"); };

    EXPECT_EQ(at(2, "cursor", "menu"), 1);
    EXPECT_EQ(at(3, "playfield", "menu"), 1);
    EXPECT_EQ(at(4, "playfield", "menu"), 0);
    EXPECT_EQ(at(5, "cursor", "menu"), 0);
    EXPECT_EQ(at(6, "state"), 1);
    EXPECT_EQ(at(7, "x", "piece"), 112);
    EXPECT_EQ(at(8, "x", "piece"), 128);
    EXPECT_EQ(at(11, "x", "piece"), 112);
    // s turns clockwise, a back.
    EXPECT_EQ(grid(12), turned_clockwise(grid(11)));
    EXPECT_EQ(grid(15), grid(11));
    // Down adds six to the fall step of 2, up takes one off.
    EXPECT_EQ(at(16, "y", "piece") - at(15, "y", "piece"), 2);
    EXPECT_EQ(at(17, "y", "piece") - at(16, "y", "piece"), 8);
    EXPECT_EQ(at(18, "y", "piece") - at(17, "y", "piece"), 1);
    const int states[] = {5, 5, 4, 6};  // p, -, p, esc
    for (int poll = 19; poll <= 22; ++poll) {
        EXPECT_EQ(at(poll, "state"), states[poll - 19]) << poll;
    }
    EXPECT_EQ(at(22, "in_progress"), 1);
    EXPECT_EQ(at(23, "cursor", "menu"), 1);
    // The script is used up: nothing is held any more.
    EXPECT_EQ(at(25, "cursor", "menu"), 1);
}

// The stick stays where a line put it. Leaving by the joystick's select button, the button
// still held ends the closing picture too: a gamepad alone can leave the game.
TEST(ReplayScript, JoystickPositionsStayUntilChangedAndAButtonLeavesTheClosingPicture) {
    ReplayScratch scratch;
    ReplayResult run = run_replay(scratch,
                                  "-\njy=65535\n-\njy=32767 jx=65535\n- jx=32767\n"
                                  "jy=65535\n3*-\njy=32767 jb=4\n",
                                  {"--joystick"});
    ASSERT_EQ(run.exit_code, 0) << run.errors;
    ASSERT_EQ(run.polls.size(), 10u);
    EXPECT_EQ(trace_number(run.polls[1], "cursor", "menu"), 1);
    EXPECT_EQ(trace_number(run.polls[2], "cursor", "menu"), 2);
    EXPECT_EQ(trace_number(run.polls[4], "cursor", "menu"), 2);
    EXPECT_EQ(trace_number(run.polls[8], "cursor", "menu"), 6);
    EXPECT_EQ(trace_number(run.polls[3], "type", "menu"), 1);
    EXPECT_EQ(trace_number(run.polls[9], "state"), 8);
}

// A recording brings its seed and its joystick, resting where it rested: the same run as with
// --seed and --joystick, the stick read against that rest.
TEST(ReplayScript, ARecordingsHeaderGivesTheSeedAndTheJoystick) {
    ReplayScratch scratch;
    const std::string moves = "-\njy=56383\n-\njy=56384\n-\n";
    std::ofstream(scratch.path("recording.txt")) << "# seed 9\n# joystick 32767 40000\n" + moves;
    ReplayResult recorded = run_replay_raw(
        scratch, {"--data", CELLSTORM_BIN_DIR, "--input", scratch.path("recording.txt"), "--trace",
                  scratch.path("trace.jsonl"), "--max-polls", "5"});
    ASSERT_EQ(recorded.exit_code, 3) << recorded.errors;
    ASSERT_EQ(recorded.polls.size(), 5u);
    // 16383 below the rest is inside the dead zone, one more is down.
    EXPECT_EQ(trace_number(recorded.polls[1], "cursor", "menu"), 0);
    EXPECT_EQ(trace_number(recorded.polls[3], "cursor", "menu"), 1);
    ReplayResult flagged = run_replay_raw(
        scratch, {"--data", CELLSTORM_BIN_DIR, "--input", scratch.path("recording.txt"), "--trace",
                  scratch.path("trace.jsonl"), "--max-polls", "5", "--seed", "9", "--joystick"});
    EXPECT_EQ(flagged.polls, recorded.polls);
}

TEST(ReplayScript, BadArgumentsAndScriptsEndWithTwoAndAMessage) {
    ReplayScratch scratch;
    std::ofstream(scratch.path("script.txt")) << "-\n";
    const std::vector<std::string> good = {"--data", CELLSTORM_BIN_DIR, "--seed",
                                           "1",      "--input",         scratch.path("script.txt")};
    std::vector<std::vector<std::string>> cases = {{"--data", CELLSTORM_BIN_DIR, "--seed", "1"}};
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
    std::vector<std::string> trace, shot;
    for (int seed : {5, 5, 6}) {
        ReplayResult run =
            run_replay(scratch, "-\nenter\n30*-\n40*down\nleft\n20*s\n",
                       {"--max-polls", "120", "--shot", "100:" + scratch.path("shot.bmp")}, seed);
        ASSERT_EQ(run.exit_code, 3) << run.errors;
        ASSERT_EQ(run.polls.size(), 120u);
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
