// The real game played by a small bot through WinMain, game after game over the shipped layouts,
// both game types and several starting levels, with the well's rules checked after every poll.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/winmain.h"
#include "common/game_state.h"
#include "game/line_clear.h"
#include "game/piece.h"
#include "game/playfield_file.h"
#include "game/shapes.h"
#include "game/well.h"
#include "platform/keyboard.h"
#include "platform/window.h"
#include "support/app_game.h"
#include "support/play_watch.h"

namespace hl = platform::headless;

namespace {

constexpr int PLAY_POLLS = 20000;
const int bot_keys[] = {platform::VK_LEFT, platform::VK_RIGHT, platform::VK_DOWN, platform::VK_S,
                        platform::VK_RETURN};

void Hold_Only(int held_mask) {
    for (int i = 0; i < 5; i++) {
        hl::set_key(bot_keys[i], (held_mask >> i & 1) != 0);
    }
}

// Where the body would come to rest if dropped straight down at box column x (pixels), as the
// lowest free row of its box, or -1 when it does not fit at the top.
int Rest_Row(const Shape& body, int x) {
    auto fits = [&](int row) {
        for (int r = 0; r < SHAPE_SIZE; r++) {
            for (int c = 0; c < SHAPE_SIZE; c++) {
                if (body.grid[r][c] && Well_Occupied(row + r, Pixel_To_Cell(x) + c)) {
                    return false;
                }
            }
        }
        return true;
    };
    int row = -1;
    while (fits(row + 1)) {
        row++;
    }
    return row;
}

// Aims most pieces where they come to rest lowest, the others anywhere with a few turns;
// sometimes drops them, and now and then jerks them aside, which is what slides pieces onto
// the edges of stacks.
class Bot {
  public:
    void poll() {
        if (game_state == FLOW_PLAYING) {
            play();
        } else if (game_state == FLOW_MENU) {
            choose_next_game();
        } else {
            Hold_Only(0);
        }
        playing_ = game_state == FLOW_PLAYING;
        cursor_shown = cursor_shown || hl::cursor_visible();
    }

    int play_polls = 0, games = 0, lines = 0, types_seen = 0;
    bool cursor_shown = false;  // while the game runs, the pointer stays hidden
    std::string broken;

  private:
    uint32_t next() {
        random_ = random_ * 1664525u + 1013904223u;
        return random_ >> 8;
    }

    void play() {
        // Polls of the input device, one per play frame, each of which flips the page.
        play_polls += hl::flip_count() != last_flips_ ? 1 : 0;
        last_flips_ = hl::flip_count();
        if (!playing_) {
            watch_.start();
        } else if (broken.empty()) {
            broken = watch_.check();
            if (!broken.empty()) {
                broken += " (game " + std::to_string(games) + ", poll " +
                          std::to_string(play_polls) + ")";
            }
        }
        lines = lines_total > lines ? lines_total : lines;
        if (piece.y < last_y_) {  // a new piece
            target_x_ = 16 * int(next() % 16) - 16;
            turns_ = next() % 4 == 0 ? int(next() % 4) : 0;
            for (int x = -48, best = -1; turns_ == 0 && x < 16 * WELL_COLUMNS; x += 16) {
                const int row = Rest_Row(piece.body, x) * 16 + int(next() % 16);
                if (row > best) {
                    best = row;
                    target_x_ = x;
                }
            }
            drop_ = next() % 2 == 0;
        } else if (turns_ > 0 && std::memcmp(last_grid_, piece.body.grid, sizeof last_grid_)) {
            turns_--;
        }
        last_y_ = piece.y;
        std::memcpy(last_grid_, piece.body.grid, sizeof last_grid_);
        int held = 0;
        const uint32_t jerk = next() % 16;
        if (jerk < 2) {
            held |= 1 << jerk;  // left or right, whatever the aim
        } else if (piece.x > target_x_) {
            held |= 1;
        } else if (piece.x < target_x_) {
            held |= 2;
        }
        if (drop_ || piece.x == target_x_) {
            held |= 4;
        }
        if (turns_ > 0) {
            held |= 8;
        }
        Hold_Only(held);
    }

    // In the menu: the next layout, type and level, and Enter held until the game starts (a
    // key change is a message, and the loop runs no frame while messages wait).
    void choose_next_game() {
        if (play_polls >= PLAY_POLLS) {
            Hold_Only(0);
            if (!closing_) {
                platform::post_message(hl::main_window(), platform::WM_USER, 1, 0);
                closing_ = true;
            }
        } else if (!hl::key_down(platform::VK_RETURN)) {
            // Only wParam 1 asks the window to close; the bot plays on through the others.
            for (uintptr_t wparam : {0u, 2u}) {
                platform::post_message(hl::main_window(), platform::WM_USER, wparam, 0);
            }
            playfield_number = games % PLAYFIELD_COUNT;
            game_type = games % 2;
            level = (games * 3) % 10;
            types_seen |= 1 << game_type;
            games++;
            last_y_ = 1 << 30;
            Hold_Only(16);
        }
    }

    PlayWatch watch_;
    uint32_t random_ = 12345;
    bool playing_ = false, drop_ = false, closing_ = false;
    int target_x_ = 112, turns_ = 0, last_y_ = 0;
    uint64_t last_flips_ = 0;
    uint8_t last_grid_[4][4] = {};
};

}  // namespace

TEST(WholeRun, ABotPlaysThousandsOfFramesAndTheWellKeepsItsRules) {
    app_expect_in_child(
        [] {
            Bot bot;
            app_start_platform(CELLSTORM_BIN_DIR, 1);  // the shipped layouts and art
            hl::set_peek_hook([&bot] { bot.poll(); });
            EXPECT_EQ(0, WinMain(nullptr, nullptr, nullptr, 0));
            EXPECT_EQ("", bot.broken);
            EXPECT_GE(bot.play_polls, PLAY_POLLS);
            EXPECT_GE(bot.games, 6);
            EXPECT_EQ(bot.types_seen, 3);
            EXPECT_GT(bot.lines, 0);
            EXPECT_EQ(nullptr, hl::main_window());
            EXPECT_FALSE(bot.cursor_shown);
            EXPECT_TRUE(hl::cursor_visible());
            EXPECT_EQ(nullptr, hl::primary_pixels());
        },
        600);
}
