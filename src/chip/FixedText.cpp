#include "chip/FixedText.h"

#include <charconv>
#include <cmath>

namespace gc::chip {

std::string fixedSixDecimals(double value) {
    if (std::isnan(value)) return std::signbit(value) ? "-nan" : "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    // The largest double has 309 integer digits; 6 decimals, sign and point fit well below 400.
    char buf[400];
    const auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 6);
    return std::string(buf, result.ptr);
}

}  // namespace gc::chip
