// The gain of sample n is the mean of the released gains of the last L samples, each of which
// is at most the least gain any sample in its own window of L asked for. The sample leaving the
// delay line lies in every one of those windows, so its gain never exceeds what it asked for:
// nothing gets past the ceiling, however sudden the peak.
#include "platform/common/limiter.h"

#include <algorithm>
#include <cmath>

namespace platform::common {
namespace {

constexpr double LOOKAHEAD_SECONDS = 0.001;
constexpr double RELEASE_SECONDS = 0.04;

// What a sample of this size asks for: nothing below the knee, then a curve that leaves the
// knee smoothly and never quite reaches the ceiling.
float wanted_gain(float size) {
    if (size <= Limiter::KNEE) {
        return 1.0f;
    }
    constexpr float SPAN = Limiter::CEILING - Limiter::KNEE;
    return (Limiter::KNEE + SPAN * std::tanh((size - Limiter::KNEE) / SPAN)) / size;
}

}  // namespace

void Limiter::reset(int rate) {
    size_t length = std::max<size_t>(1, size_t(std::lround(std::max(rate, 1) * LOOKAHEAD_SECONDS)));
    ring_.assign(length, Slot{});
    at_ = 0;
    wanting_ = 0;
    reducing_ = 0;
    release_ = 1.0f;
    release_step_ = float(1.0 - std::exp(-1.0 / (RELEASE_SECONDS * std::max(rate, 1))));
}

void Limiter::process(float* samples, size_t count) {
    const size_t length = ring_.size();
    for (size_t i = 0; i < count; ++i) {
        Slot& slot = ring_[at_];
        wanting_ -= slot.wanted < 1.0f;
        reducing_ -= slot.released < 1.0f;
        slot.sample = samples[i];
        slot.wanted = wanted_gain(std::fabs(samples[i]));
        wanting_ += slot.wanted < 1.0f;

        float least = 1.0f;
        if (wanting_ > 0) {
            for (const Slot& s : ring_) {
                least = std::min(least, s.wanted);
            }
        }
        if (least < release_) {
            release_ = least;
        } else {
            release_ += (least - release_) * release_step_;
            if (least == 1.0f && release_ > 0.99999f) {
                release_ = 1.0f;
            }
        }
        slot.released = release_;
        reducing_ += slot.released < 1.0f;

        float gain = 1.0f;
        if (reducing_ > 0) {
            double sum = 0.0;
            for (const Slot& s : ring_) {
                sum += s.released;
            }
            gain = float(sum / double(length));
        }
        at_ = (at_ + 1) % length;
        samples[i] = ring_[at_].sample * gain;
    }
}

}  // namespace platform::common
