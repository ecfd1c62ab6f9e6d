#include "platform/port/scaler.h"

#include "platform/types.h"

#include <algorithm>
#include <cstring>

namespace platform::port {

namespace {

// a and b are 0x00RRGGBB; weight is b's share out of 256.
inline uint32_t mix(uint32_t a, uint32_t b, uint32_t weight) {
    const uint32_t keep = 256 - weight;
    uint32_t red_blue = ((a & 0xFF00FFu) * keep + (b & 0xFF00FFu) * weight) >> 8;
    uint32_t green = ((a & 0x00FF00u) * keep + (b & 0x00FF00u) * weight) >> 8;
    return (red_blue & 0xFF00FFu) | (green & 0x00FF00u);
}

// Output pixel i samples the blown-up picture (source x factor pixels) at its centre; the two
// blown-up pixels around that point belong to one source pixel except at a seam.
template <typename Tap>
std::vector<Tap> taps(int source, int output) {
    std::vector<Tap> result(size_t(std::max(output, 0)));
    if (output <= 0) {
        return result;
    }
    const int64_t factor = std::max<int64_t>(1, (output + source - 1) / source);
    const int64_t blown = source * factor;
    for (int i = 0; i < output; ++i) {
        // Position in blown-up pixels, in 1/256ths, of output pixel i's centre.
        int64_t at = (int64_t(2 * i + 1) * blown * 128) / output - 128;
        at = std::clamp<int64_t>(at, 0, (blown - 1) * 256);
        const int64_t left = at >> 8;
        const int64_t right = std::min(left + 1, blown - 1);
        Tap& tap = result[size_t(i)];
        tap.near = uint16_t(left / factor);
        tap.far = uint16_t(right / factor);
        tap.weight = tap.near == tap.far ? 0 : uint16_t(at & 255);
    }
    return result;
}

}  // namespace

void Scaler::set_size(int width, int height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    columns_ = taps<Tap>(SCREEN_WIDTH, width_);
    rows_ = taps<Tap>(SCREEN_HEIGHT, height_);
    wide_rows_.assign(size_t(width_) * SCREEN_HEIGHT, 0);
    last_pixels_.assign(size_t(SCREEN_WIDTH) * SCREEN_HEIGHT, 0);
    all_stale_ = true;
}

void Scaler::scale_source_row(int y, const uint8_t* pixels, const uint32_t lookup[256]) {
    const uint8_t* in = pixels + size_t(y) * SCREEN_WIDTH;
    uint32_t* out = wide_rows_.data() + size_t(y) * width_;
    for (int x = 0; x < width_; ++x) {
        const Tap& tap = columns_[size_t(x)];
        const uint32_t colour = lookup[in[tap.near]];
        out[x] = tap.weight == 0 ? colour : mix(colour, lookup[in[tap.far]], tap.weight);
    }
}

const std::vector<RowSpan>& Scaler::update(const uint8_t* pixels, const uint32_t lookup[256]) {
    changed_.clear();
    if (width_ == 0 || height_ == 0) {
        return changed_;
    }
    const bool all = all_stale_ || std::memcmp(lookup, last_lookup_, sizeof last_lookup_) != 0;
    bool changed[SCREEN_HEIGHT];
    for (int y = 0; y < SCREEN_HEIGHT; ++y) {
        const size_t at = size_t(y) * SCREEN_WIDTH;
        changed[y] = all || std::memcmp(pixels + at, &last_pixels_[at], SCREEN_WIDTH) != 0;
        if (changed[y]) {
            std::memcpy(&last_pixels_[at], pixels + at, SCREEN_WIDTH);
            scale_source_row(y, pixels, lookup);
        }
    }
    std::memcpy(last_lookup_, lookup, sizeof last_lookup_);
    all_stale_ = false;
    for (int y = 0; y < height_; ++y) {
        const Tap& tap = rows_[size_t(y)];
        if (!changed[tap.near] && (tap.weight == 0 || !changed[tap.far])) {
            continue;
        }
        if (!changed_.empty() && changed_.back().last == y) {
            changed_.back().last = y + 1;
        } else {
            changed_.push_back({y, y + 1});
        }
    }
    return changed_;
}

void Scaler::write_rows(int first, int last, void* out, int pitch) const {
    auto* row_out = static_cast<uint8_t*>(out);
    for (int y = std::max(first, 0); y < std::min(last, height_); ++y, row_out += pitch) {
        const Tap& tap = rows_[size_t(y)];
        const uint32_t* near = wide_rows_.data() + size_t(tap.near) * width_;
        auto* dst = reinterpret_cast<uint32_t*>(row_out);
        if (tap.weight == 0) {
            std::memcpy(dst, near, size_t(width_) * 4);
            continue;
        }
        const uint32_t* far = wide_rows_.data() + size_t(tap.far) * width_;
        for (int x = 0; x < width_; ++x) {
            dst[x] = mix(near[x], far[x], tap.weight);
        }
    }
}

}  // namespace platform::port
