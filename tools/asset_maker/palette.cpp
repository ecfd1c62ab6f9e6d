#include "palette.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <stdexcept>

namespace {

uint32_t pack(Rgb c) {
    return uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
}
Rgb unpack(uint32_t v) {
    return Rgb{uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
}

// Green weighs most and blue least, roughly as the eye does.
int distance(Rgb a, Rgb b) {
    int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

struct Sample {
    Rgb colour;
    uint64_t weight;
};

using Box = std::vector<Sample>;

// Weighted squared error of the box around its mean, per channel.
std::array<double, 3> channel_error(const Box& box) {
    double w = 0, sum[3] = {0, 0, 0}, sq[3] = {0, 0, 0};
    for (const Sample& s : box) {
        double v[3] = {double(s.colour.r), double(s.colour.g), double(s.colour.b)};
        for (int c = 0; c < 3; ++c) {
            sum[c] += v[c] * s.weight;
            sq[c] += v[c] * v[c] * s.weight;
        }
        w += s.weight;
    }
    std::array<double, 3> err{};
    for (int c = 0; c < 3; ++c)
        err[c] = w > 0 ? sq[c] - sum[c] * sum[c] / w : 0;
    return err;
}

uint8_t channel(Rgb c, int axis) {
    return axis == 0 ? c.r : axis == 1 ? c.g : c.b;
}

Rgb mean(const Box& box) {
    double w = 0, r = 0, g = 0, b = 0;
    for (const Sample& s : box) {
        r += s.colour.r * double(s.weight);
        g += s.colour.g * double(s.weight);
        b += s.colour.b * double(s.weight);
        w += s.weight;
    }
    return Rgb{uint8_t(r / w + 0.5), uint8_t(g / w + 0.5), uint8_t(b / w + 0.5)};
}

// Splits the boxes with the largest error at their weighted median until there are `count`.
std::vector<Rgb> median_cut(const Box& all, int count) {
    std::vector<Box> boxes;
    if (!all.empty())
        boxes.push_back(all);
    while (int(boxes.size()) < count) {
        int worst = -1, axis = 0;
        double worst_error = 0;
        for (int i = 0; i < int(boxes.size()); ++i) {
            if (boxes[i].size() < 2)
                continue;
            auto err = channel_error(boxes[i]);
            int a = int(std::max_element(err.begin(), err.end()) - err.begin());
            double total = err[0] + err[1] + err[2];
            if (total > worst_error) {
                worst_error = total;
                worst = i;
                axis = a;
            }
        }
        if (worst < 0)
            break;
        Box box = std::move(boxes[worst]);
        std::sort(box.begin(), box.end(), [axis](const Sample& a, const Sample& b) {
            uint8_t ca = channel(a.colour, axis), cb = channel(b.colour, axis);
            return ca != cb ? ca < cb : pack(a.colour) < pack(b.colour);
        });
        uint64_t total = 0, run = 0;
        for (const Sample& s : box)
            total += s.weight;
        size_t cut = 1;
        for (size_t i = 0; i + 1 < box.size(); ++i) {
            run += box[i].weight;
            cut = i + 1;
            if (run * 2 >= total)
                break;
        }
        boxes[worst] = Box(box.begin(), box.begin() + cut);
        boxes.push_back(Box(box.begin() + cut, box.end()));
    }
    std::vector<Rgb> out;
    for (const Box& b : boxes)
        out.push_back(mean(b));
    return out;
}

}  // namespace

PaletteBuilder::PaletteBuilder() {
    fix(0, Rgb{0, 0, 0});
}

void PaletteBuilder::fix(int index, Rgb c) {
    if (index < 0 || index > 255)
        throw std::out_of_range("palette index");
    if (taken_[index] && entries_[index] != c)
        throw std::logic_error("palette index taken twice");
    entries_[index] = c;
    taken_[index] = true;
}

void PaletteBuilder::add(Rgb c) {
    for (int i = 0; i < 256; ++i)
        if (taken_[i] && entries_[i] == c)
            return;
    for (int i = 0; i < 256; ++i)
        if (!taken_[i]) {
            fix(i, c);
            return;
        }
    throw std::length_error("palette full");
}

void PaletteBuilder::sample(const Canvas& art, int weight) {
    std::map<uint32_t, uint64_t> counts;
    for (const auto& [colour, w] : histogram_)
        counts[colour] += w;
    for (Rgb p : art.pixels)
        counts[pack(p)] += uint64_t(weight);
    histogram_.assign(counts.begin(), counts.end());
}

Palette PaletteBuilder::build() const {
    std::vector<int> free_slots;
    for (int i = 0; i < 256; ++i)
        if (!taken_[i])
            free_slots.push_back(i);
    // Colours a fixed entry already shows well need no entry of their own.
    Box wanted;
    for (const auto& [packed, w] : histogram_) {
        Rgb c = unpack(packed);
        int best = 1 << 30;
        for (int i = 0; i < 256; ++i)
            if (taken_[i])
                best = std::min(best, distance(c, entries_[i]));
        if (best > 27)
            wanted.push_back(Sample{c, w});
    }
    Palette out = entries_;
    if (free_slots.empty() || wanted.empty())
        return out;
    std::vector<Rgb> chosen = median_cut(wanted, int(free_slots.size()));
    // A few rounds of nearest-centre refinement, the fixed entries held still.
    std::vector<bool> movable(256, false);
    for (size_t i = 0; i < chosen.size(); ++i) {
        out[free_slots[i]] = chosen[i];
        movable[free_slots[i]] = true;
    }
    for (int round = 0; round < 4; ++round) {
        std::vector<std::array<double, 4>> acc(256, {0, 0, 0, 0});
        for (const Sample& s : wanted) {
            int k = nearest_index(out, s.colour);
            acc[k][0] += s.colour.r * double(s.weight);
            acc[k][1] += s.colour.g * double(s.weight);
            acc[k][2] += s.colour.b * double(s.weight);
            acc[k][3] += double(s.weight);
        }
        for (int k = 0; k < 256; ++k)
            if (movable[k] && acc[k][3] > 0)
                out[k] =
                    Rgb{uint8_t(acc[k][0] / acc[k][3] + 0.5), uint8_t(acc[k][1] / acc[k][3] + 0.5),
                        uint8_t(acc[k][2] / acc[k][3] + 0.5)};
    }
    return out;
}

int nearest_index(const Palette& palette, Rgb c, int count) {
    int best = 0, best_d = 1 << 30;
    for (int i = 0; i < count; ++i) {
        int d = distance(c, palette[i]);
        if (d < best_d) {
            best_d = d;
            best = i;
        }
    }
    return best;
}

IndexedImage quantise(const Canvas& art, const Palette& palette) {
    IndexedImage img;
    img.width = art.width;
    img.height = art.height;
    img.palette = palette;
    img.pixels.resize(art.pixels.size());
    std::map<uint32_t, uint8_t> cache;
    for (size_t i = 0; i < art.pixels.size(); ++i) {
        uint32_t key = pack(art.pixels[i]);
        auto it = cache.find(key);
        if (it == cache.end())
            it = cache.emplace(key, uint8_t(nearest_index(palette, art.pixels[i]))).first;
        img.pixels[i] = it->second;
    }
    return img;
}
