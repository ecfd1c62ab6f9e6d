// The recorded tour played on to its game over, through the menu and out, with its sound
// recorded as a device at 44.1 kHz would hear it and a screenshot taken while paused.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "replay_run.h"

namespace {

constexpr int PAUSED = 5, EXIT = 8;
// The tour's own polls; the README's pictures come from its last one.
constexpr int TOUR_POLLS = 1389;
// -0.5 dBFS
constexpr int PEAK_LIMIT = 30934;

std::vector<int16_t> wav_samples(const std::string& bytes) {
    std::vector<int16_t> samples;
    for (size_t i = 44; i + 1 < bytes.size(); i += 2) {
        samples.push_back(int16_t(uint8_t(bytes[i]) | (uint8_t(bytes[i + 1]) << 8)));
    }
    return samples;
}

// Red, green, blue of pixel (x, y) of a 24-bit bottom-up 640 x 480 BMP as the tool writes it.
struct Shot {
    std::string bytes;
    uint32_t at(int x, int y) const {
        const size_t i = 54 + size_t(479 - y) * 640 * 3 + size_t(x) * 3;
        return uint32_t(uint8_t(bytes[i + 2])) << 16 | uint32_t(uint8_t(bytes[i + 1])) << 8 |
               uint8_t(bytes[i]);
    }
};

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
    int line_clears = 0, game_overs = 0, clicks = 0;
    for (const std::string& poll : run.polls) {
        line_clears += poll.find("[\"play\", 4, 0]") != std::string::npos;
        game_overs += poll.find("[\"play\", 7, 0]") != std::string::npos;
        clicks += poll.find("[\"play\", 0, 0]") != std::string::npos ||
                  poll.find("[\"play\", 1, 0]") != std::string::npos;
    }
    EXPECT_GE(line_clears, 5);
    EXPECT_EQ(game_overs, 1);
    EXPECT_GE(clicks, 20);

    const std::vector<int16_t> mix = wav_samples(read_file(scratch.path("mix.wav")));
    const double seconds = double(mix.size()) / 44100;
    const double played = double(trace_number(run.polls.back(), "t")) / 1000;
    EXPECT_GE(seconds, played) << "the whole session, closing jingle included";
    EXPECT_LE(seconds, played + 10);
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
    Shot shot{read_file(scratch.path("paused.bmp"))};
    ASSERT_EQ(shot.bytes.size(), 54u + 640 * 480 * 3);
    int red = 0;
    for (int y = 429; y < 452; ++y) {
        for (int x = 445; x < 580; ++x) {
            const uint32_t c = shot.at(x, y);
            ASSERT_TRUE(c == 0xFF0000 || c == 0) << x << "," << y << ": " << std::hex << c;
            red += c == 0xFF0000;
        }
    }
    EXPECT_GT(red, 300) << "the text is there";
}

}  // namespace
