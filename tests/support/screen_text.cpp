#include "support/screen_text.h"

#include <algorithm>
#include <vector>

#include "platform/common/font.h"

namespace {

constexpr int W = 640;
constexpr int H = 480;
constexpr int MARGIN = 3;

}  // namespace

int screen_text_width(const std::string& text) {
    return platform::common::text_width(text.data(), int(text.size()));
}

std::string screen_text_mismatch(const uint8_t* pixels, int x, int y, const std::string& text,
                                 uint8_t ink) {
    if (pixels == nullptr) {
        return "no pixels";
    }
    const uint8_t paper = ink == 0 ? 1 : 0;
    std::vector<uint8_t> expected(size_t(W) * H, paper);
    if (!platform::common::draw_text(expected.data(), W, H, W, x, y, text.data(), int(text.size()),
                                     ink, -1)) {
        return "no font";
    }
    const int left = std::max(0, x - MARGIN);
    const int right = std::min(W, x + screen_text_width(text) + MARGIN);
    const int top = std::max(0, y - MARGIN);
    const int bottom = std::min(H, y + platform::common::FONT_LINE_HEIGHT + MARGIN);
    int inked = 0;
    for (int py = top; py < bottom; ++py) {
        for (int px = left; px < right; ++px) {
            const size_t at = size_t(py) * W + size_t(px);
            const bool want = expected[at] == ink;
            inked += want ? 1 : 0;
            if (want != (pixels[at] == ink)) {
                return "\"" + text + "\" differs at (" + std::to_string(px) + ", " +
                       std::to_string(py) + "): pixel " + std::to_string(pixels[at]) +
                       (want ? ", expected ink " : ", expected no ink ") + std::to_string(ink);
            }
        }
    }
    return inked > 0 ? "" : "\"" + text + "\" covers no pixel";
}

std::set<uint8_t> screen_values_in(const uint8_t* pixels, int x, int y, int w, int h,
                                   uint8_t except) {
    std::set<uint8_t> values;
    for (int py = std::max(0, y); py < std::min(H, y + h); ++py) {
        for (int px = std::max(0, x); px < std::min(W, x + w); ++px) {
            const uint8_t value = pixels[size_t(py) * W + size_t(px)];
            if (value != except) {
                values.insert(value);
            }
        }
    }
    return values;
}
