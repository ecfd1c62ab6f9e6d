// The sounds: standard VOC files the game can load whole, of sensible lengths, unclipped,
// the effects starting and ending in silence and the tunes looping without a click.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "asset_reader.h"

namespace {

struct Expected {
    const char* name;
    double min_seconds, max_seconds;
};

const Expected SOUNDS[] = {
    {"XSMNUUP.VOC", 0.03, 0.3}, {"XSMNUDWN.VOC", 0.03, 0.3}, {"XSMNUSEL.VOC", 0.05, 0.3},
    {"XSLINE.VOC", 0.2, 1.2},   {"XSLOCK.VOC", 0.03, 0.25},  {"XSNEXTL.VOC", 0.5, 2.5},
    {"XSLOSER.VOC", 0.8, 4.0},  {"XSVOICE1.VOC", 0.3, 2.0},  {"CSSPL.VOC", 1.5, 3.0},
    {"CSTRAIL.VOC", 1.0, 5.0},  {"XSINTRO.VOC", 20.0, 55.0}, {"XSSONG1.VOC", 20.0, 55.0}};

const char* const MUSIC[] = {"XSINTRO.VOC", "XSSONG1.VOC"};

bool is_music(const std::string& name) {
    return name == MUSIC[0] || name == MUSIC[1];
}

double rms(const std::vector<uint8_t>& s, size_t from, size_t count) {
    double sum = 0;
    for (size_t i = from; i < from + count; ++i)
        sum += (s[i] - 128.0) * (s[i] - 128.0);
    return std::sqrt(sum / count);
}

TEST(Sounds, AreVocFilesOfOneBlockWithinTheLoadersLimit) {
    for (const Expected& e : SOUNDS) {
        SCOPED_TRACE(e.name);
        VocFile f = load_voc(e.name);
        ASSERT_FALSE(f.samples.empty());
        EXPECT_LE(f.bytes.size(), 640000u) << "the game reads at most 640,000 bytes";
        EXPECT_GE(f.seconds(), e.min_seconds);
        EXPECT_LE(f.seconds(), e.max_seconds);
    }
}

TEST(Sounds, AreAudibleAndNeverClip) {
    for (const Expected& e : SOUNDS) {
        SCOPED_TRACE(e.name);
        VocFile f = load_voc(e.name);
        ASSERT_FALSE(f.samples.empty());
        auto [lo, hi] = std::minmax_element(f.samples.begin(), f.samples.end());
        EXPECT_GT(*lo, 2);
        EXPECT_LT(*hi, 253);
        EXPECT_GT(*hi - *lo, 100) << "loud enough to hear over the music";
        EXPECT_GT(rms(f.samples, 0, f.samples.size()), 4.0);
    }
}

TEST(Sounds, EffectsStartAndEndInSilence) {
    for (const Expected& e : SOUNDS) {
        if (is_music(e.name))
            continue;
        SCOPED_TRACE(e.name);
        VocFile f = load_voc(e.name);
        ASSERT_GE(f.samples.size(), 2u);
        EXPECT_LE(std::abs(f.samples.front() - 128), 3);
        EXPECT_LE(std::abs(f.samples.back() - 128), 2);
    }
}

// The tunes loop: the step from the last sample back to the first must look like any other
// step of the tune, in value and in slope, and the level must carry on across the seam.
TEST(Music, LoopsWithoutAJumpAtTheSeam) {
    for (const char* name : MUSIC) {
        SCOPED_TRACE(name);
        VocFile f = load_voc(name);
        const auto& s = f.samples;
        ASSERT_GT(s.size(), 11025u);
        const size_t n = s.size();
        std::vector<int> steps, bends;
        for (size_t i = 2; i < n; ++i) {
            steps.push_back(std::abs(s[i] - s[i - 1]));
            bends.push_back(std::abs(s[i] - 2 * s[i - 1] + s[i - 2]));
        }
        auto percentile = [](std::vector<int> v, double p) {
            std::sort(v.begin(), v.end());
            return v[size_t(p * (v.size() - 1))];
        };
        const int seam_step = std::abs(s[0] - s[n - 1]);
        const int seam_bend = std::abs(s[0] - 2 * s[n - 1] + s[n - 2]);
        const int seam_bend2 = std::abs(s[1] - 2 * s[0] + s[n - 1]);
        EXPECT_LE(seam_step, std::max(2, percentile(steps, 0.99)));
        EXPECT_LE(seam_bend, std::max(2, percentile(bends, 0.99)));
        EXPECT_LE(seam_bend2, std::max(2, percentile(bends, 0.99)));
        // The last and first fifth of a second are equally loud: no drop-out before the seam.
        const size_t w = 2205;
        double end = rms(s, n - w, w), start = rms(s, 0, w);
        EXPECT_GT(end, 0.5 * start);
        EXPECT_GT(start, 0.5 * end);
        EXPECT_GT(std::min(start, end), 3.0);
    }
}

TEST(Music, TheTwoTunesDiffer) {
    VocFile a = load_voc(MUSIC[0]), b = load_voc(MUSIC[1]);
    EXPECT_NE(a.samples, b.samples);
}

}  // namespace
