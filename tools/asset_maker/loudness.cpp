#include "loudness.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

float to_db(double level) {
    return float(20.0 * std::log10(std::max(level, 1e-9)));
}

}  // namespace

// The tunes sit at -18 dBFS. The effects sit together, 1 to 2.5 dB over the tunes' average so
// they cut through without jumping out: the frequent landing knock lowest, the game over a
// little under the line clear. The spoken exclamation shares the tunes' volume setting and
// sits at the level of their louder bars. The title and closing jingles play alone.
const std::vector<LoudnessTarget>& loudness_plan() {
    static const std::vector<LoudnessTarget> plan = {
        {"XSMNUUP.VOC", SoundGroup::Effects, false, -15.5f},
        {"XSMNUDWN.VOC", SoundGroup::Effects, false, -15.5f},
        {"XSMNUSEL.VOC", SoundGroup::Effects, false, -15.5f},
        {"XSINTRO.VOC", SoundGroup::Music, true, -18.0f},
        {"XSLINE.VOC", SoundGroup::Effects, false, -15.5f},
        {"XSLOCK.VOC", SoundGroup::Effects, false, -17.0f},
        {"XSNEXTL.VOC", SoundGroup::Effects, false, -15.5f},
        {"XSLOSER.VOC", SoundGroup::Effects, false, -16.0f},
        {"XSSONG1.VOC", SoundGroup::Music, true, -18.0f},
        {"XSVOICE1.VOC", SoundGroup::Music, false, -16.0f},
        {"CSTRAIL.VOC", SoundGroup::Alone, false, -16.0f},
        {"CSSPL.VOC", SoundGroup::Alone, false, -16.0f},
    };
    return plan;
}

const LoudnessTarget& loudness_target(const std::string& name) {
    for (const LoudnessTarget& target : loudness_plan())
        if (name == target.name)
            return target;
    throw std::runtime_error("no loudness planned for " + name);
}

float loudness_db(const std::vector<float>& samples, bool loops) {
    if (samples.empty())
        return to_db(0.0);
    const size_t window = loops ? samples.size() : std::min(samples.size(), LOUDNESS_WINDOW);
    double sum = 0.0, loudest = 0.0;
    for (size_t i = 0; i < samples.size(); ++i) {
        sum += double(samples[i]) * samples[i];
        if (i >= window)
            sum -= double(samples[i - window]) * samples[i - window];
        if (i + 1 >= window)
            loudest = std::max(loudest, sum);
    }
    return to_db(std::sqrt(loudest / double(window)));
}

float peak_db(const std::vector<float>& samples) {
    float peak = 0.0f;
    for (float v : samples)
        peak = std::max(peak, std::fabs(v));
    return to_db(peak);
}

std::vector<uint8_t> to_planned_level(const Buffer& sound, const LoudnessTarget& target) {
    const float gain =
        std::pow(10.0f, (target.loudness_db - loudness_db(sound, target.loops)) / 20);
    Buffer scaled(sound.size());
    for (size_t i = 0; i < sound.size(); ++i)
        scaled[i] = sound[i] * gain;
    // Half a step of rounding may still come on top.
    if (peak_db(scaled) > PEAK_LIMIT_DB - 0.07f)
        throw std::runtime_error(std::string(target.name) + " would peak above the plan's limit");
    std::vector<uint8_t> out(scaled.size());
    for (size_t i = 0; i < scaled.size(); ++i)
        out[i] = uint8_t(std::clamp(128L + std::lround(scaled[i] * 128.0f), 0L, 255L));
    return out;
}
