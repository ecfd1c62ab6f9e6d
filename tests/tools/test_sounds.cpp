// The sounds: standard VOC files the game can load whole, of sensible lengths, at the levels
// the loudness plan gives them, the effects starting and ending in silence and the tunes
// looping without a click.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>

#include "asset_reader.h"
#include "loudness.h"

namespace {

double rms(const std::vector<uint8_t>& s, size_t from, size_t count) {
    double sum = 0;
    for (size_t i = from; i < from + count; ++i)
        sum += (s[i] - 128.0) * (s[i] - 128.0);
    return std::sqrt(sum / count);
}

std::vector<float> full_scale(const std::vector<uint8_t>& s) {
    std::vector<float> out;
    for (uint8_t v : s)
        out.push_back((v - 128) / 128.0f);
    return out;
}

TEST(Sounds, AreLoadableAtTheirPlannedLevelsAndEffectsStartAndEndInSilence) {
    const struct {
        const char* name;
        double min_seconds, max_seconds;
    } sounds[] = {
        {"XSMNUUP.VOC", 0.03, 0.3}, {"XSMNUDWN.VOC", 0.03, 0.3}, {"XSMNUSEL.VOC", 0.05, 0.3},
        {"XSLINE.VOC", 0.2, 1.2},   {"XSLOCK.VOC", 0.03, 0.25},  {"XSNEXTL.VOC", 0.5, 2.5},
        {"XSLOSER.VOC", 0.8, 4.0},  {"XSVOICE1.VOC", 0.3, 2.0},  {"CSSPL.VOC", 1.5, 3.0},
        {"CSTRAIL.VOC", 1.0, 5.0},  {"XSINTRO.VOC", 20.0, 55.0}, {"XSSONG1.VOC", 20.0, 55.0}};
    std::map<std::string, float> loudness;
    float music = 0, quietest_effect = 0, loudest_effect = -100;
    for (const auto& e : sounds) {
        SCOPED_TRACE(e.name);
        VocFile f = load_voc(e.name);
        const std::vector<uint8_t>& s = f.samples;
        ASSERT_FALSE(s.empty());
        EXPECT_LE(f.file_bytes, 640000u) << "the game reads at most 640,000 bytes";
        EXPECT_GE(s.size() / 11025.0, e.min_seconds);
        EXPECT_LE(s.size() / 11025.0, e.max_seconds);
        const LoudnessTarget& plan = loudness_target(e.name);
        const float level = loudness[e.name] = loudness_db(full_scale(s), plan.loops);
        EXPECT_LE(peak_db(full_scale(s)), -1.0f);
        EXPECT_NEAR(level, plan.loudness_db, 0.5f);
        if (plan.group == SoundGroup::Music && plan.loops)
            music = level;
        if (plan.group == SoundGroup::Effects) {
            quietest_effect = std::min(quietest_effect, level);
            loudest_effect = std::max(loudest_effect, level);
        }
        if (!plan.loops) {
            EXPECT_LE(std::abs(s.front() - 128), 3);
            EXPECT_LE(std::abs(s.back() - 128), 2);
        }
    }
    EXPECT_NEAR(music, -18.0f, 1.0f);
    EXPECT_LE(loudest_effect - quietest_effect, 3.0f) << "the effects sit together";
    EXPECT_LE(loudest_effect - music, 3.0f) << "and near the music";
    EXPECT_GE(quietest_effect - music, -3.0f);
    EXPECT_LE(loudness["XSLOSER.VOC"], loudness["XSLINE.VOC"]);
}

// The tunes loop: the step from the last sample back to the first must look like any other
// step of the tune, in value and in slope, and the level must carry on across the seam.
TEST(Music, TwoDifferentTunesLoopWithoutAJumpAtTheSeam) {
    std::vector<uint8_t> tunes[2];
    for (int t = 0; t < 2; ++t) {
        SCOPED_TRACE(t);
        const std::vector<uint8_t>& s = tunes[t] =
            load_voc(t == 0 ? "XSINTRO.VOC" : "XSSONG1.VOC").samples;
        ASSERT_GT(s.size(), 11025u);
        const size_t n = s.size();
        std::vector<int> steps, bends;
        for (size_t i = 2; i < n; ++i) {
            steps.push_back(std::abs(s[i] - s[i - 1]));
            bends.push_back(std::abs(s[i] - 2 * s[i - 1] + s[i - 2]));
        }
        std::sort(steps.begin(), steps.end());
        std::sort(bends.begin(), bends.end());
        const int step_99 = std::max(2, steps[size_t(0.99 * (steps.size() - 1))]);
        const int bend_99 = std::max(2, bends[size_t(0.99 * (bends.size() - 1))]);
        EXPECT_LE(std::abs(s[0] - s[n - 1]), step_99);
        EXPECT_LE(std::abs(s[0] - 2 * s[n - 1] + s[n - 2]), bend_99);
        EXPECT_LE(std::abs(s[1] - 2 * s[0] + s[n - 1]), bend_99);
        // The last and first fifth of a second are equally loud: no drop-out before the seam.
        const size_t w = 2205;
        const double end = rms(s, n - w, w), start = rms(s, 0, w);
        EXPECT_GT(end, 0.5 * start);
        EXPECT_GT(start, 0.5 * end);
        EXPECT_GT(std::min(start, end), 3.0);
    }
    EXPECT_NE(tunes[0], tunes[1]);
}

}  // namespace
