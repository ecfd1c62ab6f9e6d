// 256-colour palettes: colours the game needs at exact places, the rest chosen from the art.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "canvas.h"

using Palette = std::array<Rgb, 256>;

struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // top-down
    Palette palette{};
};

class PaletteBuilder {
  public:
    PaletteBuilder();
    // Places c at a given index (index 0 is always black: the game clears to it).
    void fix(int index, Rgb c);
    // Places c in the first free index unless an entry already holds it.
    void add(Rgb c);
    // Art whose colours the free entries should serve; weight says how much it matters.
    void sample(const Canvas& art, int weight = 1);
    // Fills every free entry from the sampled art.
    Palette build() const;

  private:
    Palette entries_{};
    std::array<bool, 256> taken_{};
    std::vector<std::pair<uint32_t, uint64_t>> histogram_;  // packed colour, weight
};

// Index of the entry closest to c, looking only at the first `count` entries.
int nearest_index(const Palette& palette, Rgb c, int count = 256);
IndexedImage quantise(const Canvas& art, const Palette& palette);
