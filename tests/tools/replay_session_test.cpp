// Whole scripted sessions through cellstorm-replay, read back from the trace.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "replay_run.h"

namespace {

constexpr int MENU = 6;
constexpr int NEW_GAME = 1;
constexpr int PLAYING = 4;
constexpr int PAUSED = 5;
constexpr int GAME_ENDING = 7;
constexpr int EXIT = 8;
constexpr int PIECE_FALLING = 1;
constexpr int PIECE_BLOCKED = 4;

// The game's state after each poll.
std::vector<int> states(const ReplayResult& run) {
    std::vector<int> out;
    for (const std::string& line : run.polls) {
        out.push_back(int(trace_number(line, "state")));
    }
    return out;
}

// The states in the order first met, each change once.
std::vector<int> state_changes(const ReplayResult& run) {
    std::vector<int> out;
    for (int state : states(run)) {
        if (out.empty() || out.back() != state) {
            out.push_back(state);
        }
    }
    return out;
}

TEST(ReplaySession, RunsFromTheTitleThroughPlayPauseAndMenuToShutdown) {
    ReplayScratch scratch;
    ReplayResult run = run_replay(scratch,
                                  "-\nenter\n20*-\np\n-\np\nesc\n-\nesc\n-\nesc\n-\n6*down\n"
                                  "enter\n");
    // The enter that chose the exit item is still held on the closing screen and leaves it.
    ASSERT_EQ(run.exit_code, 0) << run.errors;
    ASSERT_EQ(run.polls.size(), 38u);
    EXPECT_EQ(state_changes(run), (std::vector<int>{MENU, NEW_GAME, PLAYING, PAUSED, PLAYING, MENU,
                                                    PLAYING, MENU, EXIT}));
    int64_t last_time = -1;
    for (size_t i = 0; i < run.polls.size(); ++i) {
        EXPECT_EQ(trace_number(run.polls[i], "poll"), int64_t(i + 1));
        EXPECT_GT(trace_number(run.polls[i], "t"), last_time);
        last_time = trace_number(run.polls[i], "t");
    }
    // The game left for the menu and resumed keeps its piece and stays in progress.
    EXPECT_EQ(trace_number(run.polls[28], "in_progress"), 1);
    EXPECT_EQ(trace_text(run.polls[28], "grid", "piece"),
              trace_text(run.polls[30], "grid", "piece"));

    // Twelve sounds in slots 0..11, each claimed slot with its bytes.
    for (const char* name : {"\"menu_up\": 0", "\"intro\": 3", "\"song\": 8", "\"splash\": 11"}) {
        EXPECT_NE(run.header.find(name), std::string::npos) << name;
    }
    EXPECT_NE(run.header.find("{\"slot\": 11, \"bytes\": "), std::string::npos);
    EXPECT_EQ(run.header.find("\"bytes\": 0,"), std::string::npos);
    // Start-up: splash, then the menu's intro loop; the new game: select, song loop.
    EXPECT_NE(run.polls[0].find("\"sounds\": [[\"play\", 11, 0], [\"stop\", 8], [\"play\", 3, 1]]"),
              std::string::npos);
    EXPECT_NE(run.polls[1].find("[\"play\", 2, 0], [\"stop\", 3], [\"play\", 8, 1]"),
              std::string::npos);
    EXPECT_NE(run.polls.back().find("[\"stop\", 11]"), std::string::npos);
}

// Nothing but soft drops: the pieces pile up in the middle until one has no room. Classic deals
// the seven four-cell shapes, the second type all sixteen.
TEST(ReplaySession, GamesOfBothTypesEndByABlockedSpawn) {
    ReplayScratch scratch;
    for (int type : {0, 1}) {
        std::string choose_type = type == 0 ? "" : "2*down\nright\n2*up\n";
        ReplayResult run =
            run_replay(scratch, "-\n" + choose_type + "enter\n600*down\n", {"--max-polls", "500"});
        ASSERT_EQ(run.exit_code, 3) << run.errors;
        std::vector<int> seen = states(run);
        size_t end = size_t(std::find(seen.begin(), seen.end(), GAME_ENDING) - seen.begin());
        ASSERT_LT(end + 1, seen.size()) << type;
        EXPECT_EQ(trace_number(run.polls[end], "type", "menu"), type);
        EXPECT_EQ(trace_number(run.polls[end], "state", "piece"), PIECE_BLOCKED);
        EXPECT_NE(run.polls[end].find("[\"play\", 7, 0]"), std::string::npos);  // loser
        EXPECT_EQ(trace_number(run.polls[end + 1], "state"), MENU);
        EXPECT_EQ(trace_number(run.polls[end + 1], "in_progress"), 0);
        // The down still held moves the menu's cursor.
        EXPECT_EQ(trace_number(run.polls[end + 1], "cursor", "menu"), 1);

        int largest = 0;
        for (size_t i = 0; i < end; ++i) {
            if (seen[i] == PLAYING &&
                trace_number(run.polls[i], "state", "piece") == PIECE_FALLING) {
                largest = std::max(largest, int(trace_number(run.polls[i], "shape", "piece")));
            }
        }
        EXPECT_EQ(largest >= 7, type == 1) << largest;
        EXPECT_LT(largest, 16);
    }
}

}  // namespace
