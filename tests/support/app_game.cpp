#include "app_game.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <exception>
#include <filesystem>

#include "common/random.h"
#include "game/piece.h"
#include "game/shapes.h"
#include "sound/sound_slots.h"
#include "support/app_data.h"

using platform::headless::SoundEvent;

void app_expect_in_child(const std::function<void()>& body, unsigned timeout_seconds) {
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t child = fork();
    ASSERT_GE(child, 0) << "fork failed";
    if (child == 0) {
        alarm(timeout_seconds);
        int code = 2;
        try {
            body();
            code = ::testing::Test::HasFailure() ? 1 : 0;
        } catch (const std::exception& error) {
            std::fprintf(stderr, "child threw: %s\n", error.what());
        } catch (...) {
        }
        std::fflush(stdout);
        std::fflush(stderr);
        _exit(code);  // skips the parent's atexit work (gtest's reports)
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    std::error_code ignored;
    std::filesystem::remove_all(app_scratch_root(child), ignored);
    if (WIFSIGNALED(status)) {
        ADD_FAILURE() << (WTERMSIG(status) == SIGALRM ? "child ran out of time (hung?)"
                                                      : "child killed by a signal");
    } else {
        EXPECT_EQ(0, WEXITSTATUS(status)) << "child failed (1: see its output above, 2: threw)";
    }
}

void app_start_platform(const std::string& data_dir, uint32_t millis) {
    platform::headless::reset();
    platform::headless::set_data_dirs({data_dir});
    platform::headless::set_system_millis(millis);
}

namespace {

// The log's events of the id's buffer and of that kind; a silent id has none.
template <typename Each>
void For_Events(int id, SoundEvent::Kind kind, Each each) {
    const platform::SoundBuffer* buffer =
        id >= 0 && id < SOUND_SLOT_COUNT ? sound_slots[id].buffer : nullptr;
    for (const SoundEvent& event : platform::headless::sound_events()) {
        if (buffer != nullptr && event.buffer == buffer && event.kind == kind) {
            each(event);
        }
    }
}

}  // namespace

int app_count_sound_events(int id, SoundEvent::Kind kind, int32_t value) {
    int count = 0;
    For_Events(id, kind, [&](const SoundEvent& event) {
        count += value == -1 || event.value == value ? 1 : 0;
    });
    return count;
}

int64_t app_last_sound_event_time(int id, SoundEvent::Kind kind) {
    int64_t time = -1;
    For_Events(id, kind, [&](const SoundEvent& event) { time = int64_t(event.time); });
    return time;
}

// Start-up and a new game each reset the piece once; the first spawn plays the second reset's
// next shape. Nothing else draws from the generator before the first play frame.
int app_seed_for_first_shape(int shape) {
    const Piece saved = piece;
    int found = -1;
    for (int millis = 0; millis < 1000 && found < 0; ++millis) {
        Random_Seed(uint32_t(millis));
        Set_Game_Type(GAME_CLASSIC);
        Reset_Piece(&piece);
        Reset_Piece(&piece);
        found = piece.next_shape == shape ? millis : -1;
    }
    piece = saved;
    return found;
}

int app_count_screen_pixels(int x, int y, int w, int h, uint8_t value) {
    const uint8_t* pixels = platform::headless::primary_pixels();
    int count = 0;
    for (int row = y; pixels != nullptr && row < y + h; ++row) {
        for (int column = x; column < x + w; ++column) {
            count += pixels[row * 640 + column] == value ? 1 : 0;
        }
    }
    return count;
}
