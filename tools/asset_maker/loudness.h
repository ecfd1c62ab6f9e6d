// How loud each sound of the game is made: the loudness plan, and the measure it is written in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "synth.h"

// Full scale is 128 steps either side of silence (the mixer's 1.0); no file peaks above this.
constexpr float PEAK_LIMIT_DB = -1.0f;
// Loudness of a one-shot sound: the RMS of its loudest 300 ms, or of all of it when shorter.
// Of a looping tune: the RMS of the whole loop.
constexpr size_t LOUDNESS_WINDOW = 3308;

enum class SoundGroup { Music, Effects, Alone };

struct LoudnessTarget {
    const char* name;
    SoundGroup group;
    bool loops;
    float loudness_db;  // dBFS, in the measure above
};

const std::vector<LoudnessTarget>& loudness_plan();
const LoudnessTarget& loudness_target(const std::string& name);

// The loudness and peak of samples (1.0 full scale) in dBFS.
float loudness_db(const std::vector<float>& samples, bool loops);
float peak_db(const std::vector<float>& samples);

// Scales the sound to its planned loudness and writes it as 8-bit unsigned, 128 silence.
// Throws std::runtime_error when that would take its peak above PEAK_LIMIT_DB: the plan and
// the sound disagree, and the build must say so rather than clip.
std::vector<uint8_t> to_planned_level(const Buffer& sound, const LoudnessTarget& target);
