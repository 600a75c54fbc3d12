#pragma once
// Number conversions shared by every layer: saturating float-to-int truncation, the display
// formats of the main window and the parsing of typed numbers.
#include <stdexcept>
#include <string>

namespace gc::model {

// A typed text that is not a number. The message is Russian and names the text; the
// presenters catch it at their entry points and hand it to the UI.
class ConversionError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Truncates toward zero and saturates to the 32-bit range; NaN gives 0. Every
// float-to-integer conversion of the program goes through here.
[[nodiscard]] int truncToInt(double value);

// "fixed P, D": rounded once, at P significant digits or at D decimals, whichever cut comes
// first, and written with exactly D decimals; a value with more than P digits before the point
// comes out in exponent form
// ("1E8", "1.2345679E8"). The decimal separator is ".".
[[nodiscard]] std::string formatFixed(double value, int precision, int decimals);

// The general real-number format: up to 15 significant digits, no trailing zeros, exponent
// form for very large or small magnitudes.
[[nodiscard]] std::string formatGeneral(double value, int precision = 15);

// An integer as typed: optional blanks, sign, decimal digits, or "0x"/"$" hexadecimal.
// Throws ConversionError for anything else or for a value outside the 32-bit range.
[[nodiscard]] int parseInt(const std::string& text);

// A real number as typed: "." or "," as the decimal separator, surrounding blanks allowed.
[[nodiscard]] double parseReal(const std::string& text);

// "0x" followed by 8 upper-case hexadecimal digits of the 32-bit pattern.
[[nodiscard]] std::string formatHexWord(int value);

}  // namespace gc::model
