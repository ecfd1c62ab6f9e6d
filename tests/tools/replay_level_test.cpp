// A level-up played for real: a recorded game on playfield 4 (the narrower well) from seed 7,
// each piece turned, shifted and dropped where a small planner reading the trace's well put it
// (the planner is in this file's history). One step a poll, ";" between steps.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "replay_run.h"

namespace {

TEST(ReplayLevel, TenClearedRowsRaiseTheLevelAndTheSpeed) {
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
    ReplayScratch scratch;
    ReplayResult run = run_replay(scratch, script, {"--max-polls", "1575"});
    ASSERT_EQ(run.polls.size(), 1575u) << run.errors;
    ASSERT_EQ(trace_number(run.polls[4], "playfield", "menu"), 3);
    size_t up = 1;
    while (up < run.polls.size() && trace_number(run.polls[up], "level") == 0) {
        ++up;
    }
    ASSERT_LT(up, run.polls.size()) << "no level-up";
    const std::string& before = run.polls[up - 1];
    const std::string& after = run.polls[up];
    EXPECT_EQ(trace_number(after, "level"), 1);
    EXPECT_GE(trace_number(before, "lines"), 10);
    EXPECT_LT(trace_number(after, "level_lines"), trace_number(before, "level_lines"));
    EXPECT_GT(trace_number(after, "score"), trace_number(before, "score"));
    EXPECT_EQ(trace_number(before, "speed", "piece"), 2);
    EXPECT_EQ(trace_number(after, "speed", "piece"), 3);
    EXPECT_NE(after.find("[\"play\", 6, 0]"), std::string::npos);  // next_level
}

}  // namespace
