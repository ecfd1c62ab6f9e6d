#include "support/screen_text.h"

#include <algorithm>
#include <vector>

#include "platform/common/font.h"

std::string screen_text_mismatch(const uint8_t* pixels, int x, int y, const std::string& text,
                                 uint8_t ink) {
    namespace font = platform::common;
    std::vector<uint8_t> want(640 * 480, uint8_t(ink + 1));
    if (pixels == nullptr || !font::draw_text(want.data(), 640, 480, 640, x, y, text.data(),
                                              int(text.size()), ink, -1)) {
        return "nothing to compare";
    }
    const int right = std::min(640, x + font::text_width(text.data(), int(text.size())) + 3);
    const int bottom = std::min(480, y + font::FONT_LINE_HEIGHT + 3);
    for (int py = std::max(0, y - 3); py < bottom; ++py) {
        for (int px = std::max(0, x - 3); px < right; ++px) {
            if ((want[py * 640 + px] == ink) != (pixels[py * 640 + px] == ink)) {
                return "\"" + text + "\" differs at " + std::to_string(px) + "," +
                       std::to_string(py) + ": " + std::to_string(pixels[py * 640 + px]);
            }
        }
    }
    return "";
}
