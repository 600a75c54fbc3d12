#include "model/Numeric.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

#include "model/Language.h"

namespace gc::model {

int truncToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return std::numeric_limits<int>::max();
    if (value <= -2147483648.0) return std::numeric_limits<int>::min();
    return static_cast<int>(value);  // in range: truncation toward zero is defined
}

namespace {

// Decimal digits of |value| rounded to `digits` significant digits, and the decimal exponent
// of the first digit (value = 0.d1d2... * 10^(exp+1)).
void significantDigits(double value, int digits, std::string& mantissa, int& exponent) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", digits - 1, std::fabs(value));
    mantissa.clear();
    const char* p = buf;
    for (; *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') mantissa.push_back(*p);
    exponent = std::atoi(p + 1);
}

// Adds one unit at the last position of a digit string; returns true on a carry out.
bool incrementDigits(std::string& d) {
    for (int i = static_cast<int>(d.size()) - 1; i >= 0; --i) {
        if (d[i] == '9') {
            d[i] = '0';
        } else {
            ++d[i];
            return false;
        }
    }
    d.insert(d.begin(), '1');
    return true;
}

std::string nonFinite(double value) {
    if (std::isnan(value)) return "NAN";
    return value < 0 ? "-INF" : "INF";
}

}  // namespace

std::string formatGeneral(double value, int precision) {
    if (!std::isfinite(value)) return nonFinite(value);
    if (value == 0.0) return "0";
    std::string m;
    int e = 0;
    significantDigits(value, precision, m, e);
    while (m.size() > 1 && m.back() == '0') m.pop_back();
    std::string out = value < 0 ? "-" : "";
    if (e >= precision || e < -5) {
        out += m[0];
        if (m.size() > 1) out += "." + m.substr(1);
        out += "E" + std::to_string(e);
        return out;
    }
    if (e < 0) {
        out += "0." + std::string(static_cast<size_t>(-e - 1), '0') + m;
        return out;
    }
    const size_t intDigits = static_cast<size_t>(e) + 1;
    if (m.size() <= intDigits) {
        out += m + std::string(intDigits - m.size(), '0');
    } else {
        out += m.substr(0, intDigits) + "." + m.substr(intDigits);
    }
    return out;
}

std::string formatFixed(double value, int precision, int decimals) {
    if (!std::isfinite(value)) return nonFinite(value);
    if (precision < 1) precision = 1;
    if (decimals < 0) decimals = 0;
    std::string intPart;
    std::string fracPart;
    // The value is rounded once, at whichever cut comes first: `precision` significant digits
    // or `decimals` places after the point. Rounding to digits and then again to decimals
    // would turn 1.26649 into 1.2665 and then 1.267.
    int exact = 0;  // decimal exponent of the unrounded value
    if (value != 0.0) {
        std::string digits;
        significantDigits(value, 17, digits, exact);
    }
    if (value == 0.0 || exact + 1 + decimals < precision) {
        // Forty digits beyond the cut decide the rounding; a tie goes away from zero, as the
        // toolkit's conversion does (1.5625 -> 1.563), unlike printf's ties-to-even.
        std::vector<char> buf(static_cast<size_t>(decimals) + 400);
        std::snprintf(buf.data(), buf.size(), "%.*f", decimals + 40, std::fabs(value));
        const std::string text = buf.data();
        const auto point = text.find('.');
        std::string digits = text.substr(0, point) + text.substr(point + 1, decimals);
        if (text[point + 1 + static_cast<size_t>(decimals)] >= '5') incrementDigits(digits);
        intPart = digits.substr(0, digits.size() - static_cast<size_t>(decimals));
        fracPart = digits.substr(digits.size() - static_cast<size_t>(decimals));
    } else {
        std::string m;
        int e = 0;
        significantDigits(value, precision, m, e);
        if (e + 1 > precision) return formatGeneral(value, precision);
        // Lay the digits out around the decimal point.
        if (e >= 0) {
            for (int i = 0; i <= e; ++i) intPart += i < static_cast<int>(m.size()) ? m[i] : '0';
            for (int i = e + 1; i < static_cast<int>(m.size()); ++i) fracPart += m[i];
        } else {
            intPart = "0";
            fracPart = std::string(static_cast<size_t>(-e - 1), '0') + m;
        }
    }
    if (static_cast<int>(fracPart.size()) > decimals)
        fracPart.resize(static_cast<size_t>(decimals));
    fracPart += std::string(static_cast<size_t>(decimals) - fracPart.size(), '0');
    const bool allZero = intPart.find_first_not_of('0') == std::string::npos &&
                         fracPart.find_first_not_of('0') == std::string::npos;
    std::string out = (value < 0 && !allZero) ? "-" : "";
    out += intPart;
    if (decimals > 0) out += "." + fracPart;
    return out;
}

namespace {

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

[[noreturn]] void notAnInteger(const std::string& text) {
    throw ConversionError(tx("\"%1\" не является целым числом", {text}));
}

// An integer written correctly that the 32-bit fields cannot hold.
[[noreturn]] void outOfRange(const std::string& text, bool hexadecimal) {
    if (hexadecimal)
        throw ConversionError(tx("Число \"%1\" вне допустимого диапазона %2..%3",
                                 {text, "0x00000000", "0xFFFFFFFF"}));
    throw ConversionError(
        tx("Число \"%1\" вне допустимого диапазона %2..%3", {text, "-2147483648", "2147483647"}));
}

}  // namespace

int parseInt(const std::string& text) {
    const std::string t = trimmed(text);
    size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        negative = t[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < t.size() && t[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= t.size()) notAnInteger(text);
    std::int64_t v = 0;
    for (; i < t.size(); ++i) {
        const char ch = t[i];
        int digit = -1;
        if (ch >= '0' && ch <= '9')
            digit = ch - '0';
        else if (base == 16 && ch >= 'a' && ch <= 'f')
            digit = ch - 'a' + 10;
        else if (base == 16 && ch >= 'A' && ch <= 'F')
            digit = ch - 'A' + 10;
        if (digit < 0) notAnInteger(text);
        v = v * base + digit;
        if (v > 0xFFFFFFFFLL) {
            // The rest must still be digits for the text to be a number at all.
            for (++i; i < t.size(); ++i) {
                const char rest = t[i];
                const bool isDigit =
                    (rest >= '0' && rest <= '9') ||
                    (base == 16 && ((rest >= 'a' && rest <= 'f') || (rest >= 'A' && rest <= 'F')));
                if (!isDigit) notAnInteger(text);
            }
            outOfRange(text, base == 16);
        }
    }
    if (base == 16) {
        // Hexadecimal text names a 32-bit pattern: 0x80000000 and above are negative.
        const auto pattern = static_cast<std::uint32_t>(v);
        // Negation on the unsigned pattern: "-0x80000000" has no int negation.
        return static_cast<int>(negative ? 0u - pattern : pattern);
    }
    if (negative) v = -v;
    if (v > std::numeric_limits<int>::max() || v < std::numeric_limits<int>::min())
        outOfRange(text, false);
    return static_cast<int>(v);
}

double parseReal(const std::string& text) {
    std::string t = trimmed(text);
    for (char& ch : t)
        if (ch == ',') ch = '.';
    const bool plain = !t.empty() && t.find_first_not_of("0123456789+-.eE") == std::string::npos;
    if (!plain) throw ConversionError(tx("\"%1\" не является числом", {text}));
    errno = 0;
    char* end = nullptr;
    const double v = std::strtod(t.c_str(), &end);
    if (end != t.c_str() + t.size() || !std::isfinite(v))
        throw ConversionError(tx("\"%1\" не является числом", {text}));
    return v;
}

std::string formatHexWord(int value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", static_cast<unsigned>(value));
    return buf;
}

}  // namespace gc::model
