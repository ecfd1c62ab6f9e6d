// The 8-bit screen converted through the palette and scaled to its final size in one pass,
// sharp-bilinear: as if blown up with nearest-neighbour by the smallest whole factor that
// reaches the final size and then brought to it with linear filtering, so each game pixel
// keeps a flat middle and only a seam under one output pixel wide is blended. At a whole-number
// scale nothing is blended at all. Rows whose pixels did not change are not scaled again.
#pragma once
#include <cstdint>
#include <vector>

namespace platform::port {

struct RowSpan {
    int first = 0;
    int last = 0;  // one past the last; first == last when nothing changed
};

class Scaler {
  public:
    // The size of the scaled picture; everything is drawn anew on the next update.
    void set_size(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }

    // Takes the 640 x 480 indices and their colours; returns the runs of output rows that
    // changed, top to bottom (none when nothing did).
    const std::vector<RowSpan>& update(const uint8_t* pixels, const uint32_t lookup[256]);

    // Writes output rows [first, last) at out, pitch bytes apart.
    void write_rows(int first, int last, void* out, int pitch) const;

  private:
    struct Tap {
        uint16_t near;    // source pixel
        uint16_t far;     // its neighbour, blended in
        uint16_t weight;  // of far, 0 ... 256
    };
    void scale_source_row(int y, const uint8_t* pixels, const uint32_t lookup[256]);

    int width_ = 0;
    int height_ = 0;
    std::vector<Tap> columns_;
    std::vector<Tap> rows_;
    std::vector<uint32_t> wide_rows_;  // each source row scaled across, width_ apart
    std::vector<uint8_t> last_pixels_;
    std::vector<RowSpan> changed_;
    uint32_t last_lookup_[256] = {};
    bool all_stale_ = true;
};

}  // namespace platform::port
