// The recorded tour played on to its game over, through the menu and out, with its sound
// recorded as a device at 44.1 kHz would hear it and a screenshot taken while paused.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "replay_run.h"

namespace {

constexpr int PAUSED = 5, EXIT = 8;
// The tour's own polls; the README's pictures come from its last one.
constexpr int TOUR_POLLS = 1389;
// -0.5 dBFS
constexpr int PEAK_LIMIT = 30934;

TEST(ReplayMix, ASessionOfMusicClearsGameOverAndMenuClicksNeverClipsAndThePauseTextReads) {
    std::string script = read_file(TOUR_SCRIPT);
    ASSERT_FALSE(script.empty());
    // A pause, then down held to the game over and on into the menu, a burst of clicks up and
    // down the menu, and the exit item.
    script += "p\n4*-\np\n250*down\n10*-\n6*up\n6*down\n6*up\n6*down\n-\nenter\n";
    const int paused_poll = TOUR_POLLS + 4;
    ReplayScratch scratch;
    ReplayResult run = run_replay(scratch, script,
                                  {"--sound", scratch.path("mix.wav"), "--shot",
                                   std::to_string(paused_poll) + ":" + scratch.path("paused.bmp")},
                                  42);
    ASSERT_EQ(run.exit_code, 0) << run.errors;
    ASSERT_EQ(trace_number(run.polls[paused_poll - 1], "state"), PAUSED);
    ASSERT_EQ(trace_number(run.polls.back(), "state"), EXIT);
    auto plays = [&](int slot) {
        const std::string event = "[\"play\", " + std::to_string(slot) + ", 0]";
        return std::count_if(run.polls.begin(), run.polls.end(), [&](const std::string& poll) {
            return poll.find(event) != std::string::npos;
        });
    };
    EXPECT_GE(plays(4), 5) << "line clears";
    EXPECT_EQ(plays(7), 1) << "a game over";
    EXPECT_GE(plays(0) + plays(1), 20) << "menu clicks";

    const std::string wav = read_file(scratch.path("mix.wav"));
    std::vector<int16_t> mix(wav.size() / 2 - 22);  // after the 44-byte header; little-endian
    std::memcpy(mix.data(), wav.data() + 44, mix.size() * 2);
    EXPECT_GE(mix.size() / 44100.0, trace_number(run.polls.back(), "t") / 1000.0)
        << "the whole session";
    size_t clipped = 0;
    int peak = 0;
    double sum = 0;
    for (int16_t v : mix) {
        clipped += v == 32767 || v == -32768;
        peak = std::max(peak, std::abs(int(v)));
        sum += double(v) * v;
    }
    EXPECT_EQ(clipped, 0u);
    EXPECT_LE(peak, PEAK_LIMIT);
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

}  // namespace
