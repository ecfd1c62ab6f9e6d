// Strict number parsing for command lines and input scripts: plain digits only, no sign, no
// spaces, no silent wrap-around.
#pragma once
#include <cstdint>
#include <string>

namespace platform {

// Decimal digits whose value is at most max.
bool parse_count(const std::string& text, uint64_t max, uint64_t* value);

// A 32-bit mask: decimal digits, or 0x followed by hexadecimal digits.
bool parse_mask(const std::string& text, uint64_t* value);

}  // namespace platform
