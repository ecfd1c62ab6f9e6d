// A level-up played for real: a small planner places each piece from what the trace shows, and
// the tool replays the whole game again for every piece (a replay is cheap and exact).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "replay_run.h"

namespace {

using Well = std::vector<std::string>;

// The 4 x 4 box as 16 characters, row-major, like the trace's grid.
std::string turned_clockwise(const std::string& grid) {
    std::string out(16, '0');
    for (int i = 0; i < 16; ++i) {
        out[size_t(i)] = grid[size_t((3 - i % 4) * 4 + i / 4)];
    }
    return out;
}

// Writes the piece into the well at (row, column) when every cell is free there.
bool place(Well* well, const std::string& grid, int row, int column, bool write) {
    for (int i = 0; i < 16; ++i) {
        int r = row + i / 4, c = column + i % 4;
        if (grid[size_t(i)] == '1' && (r > 25 || c < 0 || c > 17 || (*well)[r][c] != '0')) {
            return false;
        }
    }
    for (int i = 0; write && i < 16; ++i) {
        if (grid[size_t(i)] == '1') {
            (*well)[size_t(row + i / 4)][size_t(column + i % 4)] = 'x';
        }
    }
    return true;
}

// Completed rows against height, covered holes and an uneven surface. Wall columns are full
// from the top row down; fixed cells alone never make a completed row.
double rate(const Well& well) {
    double value = 0;
    for (const std::string& row : well) {
        value +=
            row.find('0') == std::string::npos && row.find('x') != std::string::npos ? 0.76 : 0;
    }
    int last = -1;
    for (int c = 0; c < 18; ++c) {
        int top = 0, holes = 0;
        while (top < 25 && well[top][c] == '0') {
            ++top;
        }
        for (int r = top; r < 25; ++r) {
            holes += well[r][c] == '0';
        }
        if (top > 0) {
            value -= 0.51 * (25 - top) + 0.36 * holes +
                     (last < 0 ? 0 : 0.18 * std::abs(last - (25 - top)));
            last = 25 - top;
        }
    }
    return value;
}

// The polls that turn, shift and drop the piece to its best place.
std::vector<std::string> plan(const Well& well, std::string grid, int box_column) {
    double best = -1e9;
    int best_turns = 0, best_column = box_column;
    for (int turns = 0; turns < 4; ++turns, grid = turned_clockwise(grid)) {
        for (int column = -3; column < 18; ++column) {
            Well after = well;
            int row = 0;
            while (place(&after, grid, row + 1, column, false)) {
                ++row;
            }
            if (place(&after, grid, row, column, true) && rate(after) > best) {
                best = rate(after);
                best_turns = turns;
                best_column = column;
            }
        }
    }
    std::vector<std::string> polls;
    for (int t = 0; t < best_turns; ++t) {
        polls.insert(polls.end(), {"s", "-", "-"});  // a turn, then the two updates it blocks
    }
    // A held direction steps at once and then every second update.
    int steps = std::abs(best_column - box_column);
    polls.insert(polls.end(), size_t(steps > 0 ? 2 * steps - 1 : 0),
                 best_column > box_column ? "right" : "left");
    polls.push_back("-");
    polls.insert(polls.end(), 90, "down");  // falls, locks, clears and spawns the next
    return polls;
}

ReplayResult replay(const ReplayScratch& scratch, const std::vector<std::string>& polls) {
    std::string text;
    for (const std::string& poll : polls) {
        text += poll + "\n";
    }
    return run_replay(scratch, text, {"--max-polls", std::to_string(polls.size())});
}

TEST(ReplayLevel, TenClearedRowsRaiseTheLevelAndTheSpeed) {
    ReplayScratch scratch;
    // Playfield 4 (the narrower well), a new game, and its first frame, which spawns a piece.
    std::vector<std::string> polls = {"-", "down", "right", "right", "right", "up", "enter", "-"};
    ReplayResult run = replay(scratch, polls);
    ASSERT_EQ(run.polls.size(), 8u) << run.errors;
    ASSERT_EQ(trace_number(run.polls[4], "playfield", "menu"), 3);
    for (int piece = 0; piece < 60; ++piece) {
        const std::string now = run.polls.back();
        ASSERT_EQ(trace_number(now, "state"), 4) << "game over after " << piece << " pieces";
        std::vector<std::string> tried = polls;
        for (const std::string& poll : plan(trace_well(now), trace_text(now, "grid", "piece"),
                                            int(trace_number(now, "x", "piece") / 16))) {
            tried.push_back(poll);
        }
        run = replay(scratch, tried);
        ASSERT_EQ(run.polls.size(), tried.size()) << run.errors;
        // On to the poll that spawns the next piece, unless the level goes up on the way.
        size_t next = polls.size();
        for (; next < tried.size(); ++next) {
            const std::string& before = run.polls[next - 1];
            const std::string& after = run.polls[next];
            if (trace_number(after, "level") == 1) {
                EXPECT_EQ(trace_number(before, "level"), 0);
                EXPECT_GE(trace_number(before, "lines"), 10);
                EXPECT_LT(trace_number(after, "level_lines"), trace_number(before, "level_lines"));
                EXPECT_GT(trace_number(after, "score"), trace_number(before, "score"));
                EXPECT_EQ(trace_number(before, "speed", "piece"), 2);
                EXPECT_EQ(trace_number(after, "speed", "piece"), 3);
                EXPECT_NE(after.find("[\"play\", 6, 0]"), std::string::npos);  // next_level
                return;
            }
            if (trace_number(before, "state", "piece") == 0 &&
                trace_number(after, "state", "piece") == 1) {
                break;
            }
        }
        ASSERT_LT(next, tried.size()) << "no new piece after piece " << piece;
        polls.assign(tried.begin(), tried.begin() + long(next) + 1);
        run.polls.resize(next + 1);
    }
    FAIL() << "no level-up in 60 pieces";
}

}  // namespace
