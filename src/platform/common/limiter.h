// The last stage of the mix: a look-ahead peak limiter. Below its knee (-1 dBFS) it leaves the
// signal exactly as it is; above, a soft knee bends the level towards a ceiling just under full
// scale. The gain comes down over the look-ahead (about 1 ms) so it is fully down when the peak
// leaves the delay line, and comes back up over tens of milliseconds so it does not pump.
#pragma once
#include <cstddef>
#include <vector>

namespace platform::common {

class Limiter {
  public:
    static constexpr float KNEE = 0.891251f;     // -1 dBFS
    static constexpr float CEILING = 0.933254f;  // -0.6 dBFS

    // Empties the delay line and sets the time constants for a stream of rate samples a second.
    void reset(int rate);
    // Limits count samples (1.0 is full scale) in place, after a reset(); what comes out is the
    // look-ahead (1 ms) late.
    void process(float* samples, size_t count);

  private:
    struct Slot {
        float sample = 0.0f;
        float wanted = 1.0f;    // the gain this sample asks for on its own
        float released = 1.0f;  // the gain after the release, as it stood at this sample
    };
    std::vector<Slot> ring_;
    size_t at_ = 0;
    size_t wanting_ = 0;    // slots whose wanted gain is below 1
    size_t reducing_ = 0;   // slots whose released gain is below 1
    float release_ = 1.0f;  // the gain the release has come back up to
    float release_step_ = 0.0f;
};

}  // namespace platform::common
