#include "platform/common/numbers.h"

namespace platform {
namespace {

int digit_value(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9') {
        value = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        value = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        value = c - 'A' + 10;
    }
    return value < base ? value : -1;
}

bool parse_digits(const std::string& text, size_t start, int base, uint64_t max, uint64_t* value) {
    if (start >= text.size()) {
        return false;
    }
    uint64_t result = 0;
    for (size_t i = start; i < text.size(); ++i) {
        int digit = digit_value(text[i], base);
        if (digit < 0 || result > (max - uint64_t(digit)) / uint64_t(base)) {
            return false;
        }
        result = result * uint64_t(base) + uint64_t(digit);
    }
    *value = result;
    return true;
}

}  // namespace

bool parse_count(const std::string& text, uint64_t max, uint64_t* value) {
    return parse_digits(text, 0, 10, max, value);
}

bool parse_mask(const std::string& text, uint64_t* value) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        return parse_digits(text, 2, 16, 0xFFFFFFFFu, value);
    }
    return parse_digits(text, 0, 10, 0xFFFFFFFFu, value);
}

}  // namespace platform
