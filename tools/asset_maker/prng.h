// A small seeded generator: the same pictures and sounds come out of every build.
#pragma once

#include <cstdint>

class Prng {
  public:
    explicit Prng(uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
    uint32_t next() {
        // xorshift32
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    // 0 <= value < 1
    float uniform() { return float(next() >> 8) / 16777216.0f; }
    // -1 <= value < 1
    float signed_unit() { return uniform() * 2.0f - 1.0f; }
    int below(int n) { return int(next() % uint32_t(n)); }

  private:
    uint32_t state_;
};

// Stateless noise for textures: a repeatable value 0 … 1 per pixel and seed.
inline float hash_noise(int x, int y, uint32_t seed) {
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return float(h & 0xFFFF) / 65535.0f;
}
