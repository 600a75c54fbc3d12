#pragma once
// "%f" text for the chip files without the C library's locale: the files always use ".", even
// when the user interface has switched the process locale to one with a decimal comma.
#include <string>

namespace gc::chip {

// The value with six decimals, as "%f" writes it in the "C" locale ("256.000000", "-3.500000",
// "inf", "nan").
[[nodiscard]] std::string fixedSixDecimals(double value);

}  // namespace gc::chip
