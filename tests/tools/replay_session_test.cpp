// Whole scripted sessions through cellstorm-replay, read back from the trace.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "replay_run.h"

namespace {

constexpr int MENU = 6, NEW_GAME = 1, PLAYING = 4, PAUSED = 5, GAME_ENDING = 7, EXIT = 8;
constexpr int PIECE_FALLING = 1, PIECE_BLOCKED = 4;

bool has(const std::string& line, const std::string& part) {
    return line.find(part) != std::string::npos;
}

TEST(ReplaySession, RunsFromTheTitleThroughPlayPauseAndMenuToShutdown) {
    ReplayScratch scratch;
    ReplayResult run = run_replay(scratch,
                                  "-\nenter\n20*-\np\n-\np\nesc\n-\nesc\n-\nesc\n-\n6*down\n"
                                  "enter\n");
    // The enter that chose the exit item is still held on the closing screen and leaves it.
    ASSERT_EQ(run.exit_code, 0) << run.errors;
    ASSERT_EQ(run.polls.size(), 38u);
    std::vector<int> changes;
    int64_t last_time = -1;
    for (size_t i = 0; i < run.polls.size(); ++i) {
        const int state = int(trace_number(run.polls[i], "state"));
        if (changes.empty() || changes.back() != state) {
            changes.push_back(state);
        }
        EXPECT_EQ(trace_number(run.polls[i], "poll"), int64_t(i + 1));
        EXPECT_GT(trace_number(run.polls[i], "t"), last_time);
        last_time = trace_number(run.polls[i], "t");
    }
    EXPECT_EQ(changes, (std::vector<int>{MENU, NEW_GAME, PLAYING, PAUSED, PLAYING, MENU, PLAYING,
                                         MENU, EXIT}));
    // The game left for the menu and resumed keeps its piece and stays in progress.
    EXPECT_EQ(trace_number(run.polls[28], "in_progress"), 1);
    EXPECT_EQ(trace_text(run.polls[28], "grid", "piece"),
              trace_text(run.polls[30], "grid", "piece"));

    // Twelve sounds in slots 0..11, each claimed slot with its bytes.
    for (const char* name : {"\"menu_up\": 0", "\"intro\": 3", "\"song\": 8", "\"splash\": 11"}) {
        EXPECT_TRUE(has(run.header, name)) << name;
    }
    EXPECT_TRUE(has(run.header, "{\"slot\": 11, \"bytes\": "));
    EXPECT_FALSE(has(run.header, "\"bytes\": 0,"));
    // Start-up: splash, then the menu's intro loop; the new game: select, song loop.
    EXPECT_TRUE(
        has(run.polls[0], "\"sounds\": [[\"play\", 11, 0], [\"stop\", 8], [\"play\", 3, 1]]"));
    EXPECT_TRUE(has(run.polls[1], "[\"play\", 2, 0], [\"stop\", 3], [\"play\", 8, 1]"));
    EXPECT_TRUE(has(run.polls.back(), "[\"stop\", 11]"));
}

// Nothing but soft drops: the pieces pile up in the middle until one has no room. Classic deals
// the seven four-cell shapes, the second type all sixteen.
TEST(ReplaySession, GamesOfBothTypesEndByABlockedSpawn) {
    ReplayScratch scratch;
    for (int type : {0, 1}) {
        SCOPED_TRACE(type);
        std::string choose_type = type == 0 ? "" : "2*down\nright\n2*up\n";
        ReplayResult run =
            run_replay(scratch, "-\n" + choose_type + "enter\n600*down\n", {"--max-polls", "500"});
        ASSERT_EQ(run.exit_code, 3) << run.errors;
        size_t end = 0;
        int largest = 0;
        for (; end < run.polls.size() && trace_number(run.polls[end], "state") != GAME_ENDING;
             ++end) {
            if (trace_number(run.polls[end], "state") == PLAYING &&
                trace_number(run.polls[end], "state", "piece") == PIECE_FALLING) {
                largest = std::max(largest, int(trace_number(run.polls[end], "shape", "piece")));
            }
        }
        ASSERT_LT(end + 1, run.polls.size());
        const std::string& ended = run.polls[end];
        const std::string& after = run.polls[end + 1];
        EXPECT_EQ(trace_number(ended, "type", "menu"), type);
        EXPECT_EQ(trace_number(ended, "state", "piece"), PIECE_BLOCKED);
        EXPECT_TRUE(has(ended, "[\"play\", 7, 0]"));  // loser
        EXPECT_EQ(trace_number(after, "state"), MENU);
        EXPECT_EQ(trace_number(after, "in_progress"), 0);
        EXPECT_EQ(trace_number(after, "cursor", "menu"), 1);  // the down still held moves it
        EXPECT_EQ(largest >= 7, type == 1) << largest;
        EXPECT_LT(largest, 16);
    }
}

}  // namespace

// A bar slid at speed 2 with down held onto the top edge of two fixed cells in column 6: it
// lands on them, and row 12 keeps its fixed cell.
TEST(ReplaySession, ABarSlidOntoAFixedCellLandsOnIt) {
    ReplayScratch scratch;
    const std::string data = scratch.path("data");
    std::filesystem::create_directory(data);
    for (const auto& entry : std::filesystem::directory_iterator(CELLSTORM_BIN_DIR)) {
        std::filesystem::create_symlink(entry.path(),
                                        data + "/" + entry.path().filename().string());
    }
    std::string layout;
    for (int row = 0; row < 25; ++row) {
        layout += row == 12 || row == 13 ? "1.....5..........1\n" : "1................1\n";
    }
    std::filesystem::remove(data + "/playf1.xpf");
    std::ofstream(data + "/playf1.xpf") << layout << "322222222222222223\n";
    std::ofstream(scratch.path("script.txt")) << "-\nenter\n-\n19*down\nleft down\n80*-\n";
    ReplayResult run = run_replay_raw(
        scratch, {"--data", data, "--seed", "1", "--input", scratch.path("script.txt"), "--trace",
                  scratch.path("trace.jsonl"), "--max-polls", "103"});
    ASSERT_EQ(run.polls.size(), 103u) << run.errors;
    const std::string& last = run.polls.back();
    const size_t well = last.find("\"well\": [");
    ASSERT_NE(well, std::string::npos);
    // Each row is 18 digits in quotes, rows joined by ", ".
    auto row = [&](int r) { return last.substr(well + 10 + size_t(r) * 22, 18); };
    EXPECT_EQ(row(11), "h00000bbbb0000000h");
    EXPECT_EQ(row(12), "h00000l0000000000h");
    EXPECT_EQ(row(13), "h00000l0000000000h");
}
