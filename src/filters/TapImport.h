#pragma once
// Coefficient lists written by other tools, read into the chip words of one filter, and the
// taps in use written back in the same formats. The format is recognised from the content:
//   - this program's tap file: one integer per line (read exactly as ReadTapFile reads it);
//   - a list: numbers separated by line ends, commas, semicolons or blanks (CSV columns);
//   - a bracketed vector: "h = [0.1, 0.2, ...];" over any number of lines;
//   - an FPGA coefficient file: "radix=10;" or "radix=16;" then "coefdata=v,v,...;", with
//     ";" comment lines; radix-16 values are the word's two's complement ("FFE6" is -26 in a
//     16-bit word) or carry a sign.
// "%" and "#" start a comment in lists and vectors; a UTF-8 byte-order mark and "\r\n" line ends
// are taken as they come. Integers are chip words, cut to the coefficient width as tap files
// are. Floating-point values are scaled to the chip's word: CFIR and PFIR taps to a tap sum of
// 65536 times the gain (1 unless given), the resampler's so that the largest is 2047, its 12-bit
// full scale; then rounded to the nearest integer.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "filters/TapFiles.h"

namespace gc::filters {

enum class TapTextFormat { TapFile, List, Vector, CoefficientFile };

inline constexpr double kFirUnityTapSum = 65536.0;  // CFIR/PFIR tap sum of gain 1
inline constexpr int kResamplerFullScale = 2047;    // largest 12-bit tap

struct TapImport {
    TapFileStatus status{TapFileStatus::Ok};
    std::string error;  // Damaged: what is wrong, naming the line (interface language)
    TapTextFormat format{TapTextFormat::TapFile};
    std::vector<int> taps;  // the chip words
    bool scaled{false};     // floating-point values, scaled to the chip's word
    double scale{1.0};      // the factor the values were multiplied by before rounding
    long long tapSum{0};
    double gain{0.0};  // CFIR/PFIR: tapSum / 65536
    // Scaled values: the largest rounding error relative to the largest tap, in dB; none when
    // every scaled value was an integer already.
    std::optional<double> roundingErrorDb;
    bool symmetric{false};  // taps[i] == taps[n - 1 - i]
};

// The number of taps a filter of `kind` holds: 21, 63, or up to 512 for the resampler.
[[nodiscard]] bool tapCountFits(TapKind kind, size_t count);

// Reads `text` as a filter of `kind`. `gain` (CFIR/PFIR only) sets the tap sum of scaled values
// to 65536 * gain.
[[nodiscard]] TapImport importTapText(std::string_view text, TapKind kind,
                                      std::optional<double> gain = std::nullopt);
// The same from a file: Missing when it cannot be opened; a name that is no regular file or a
// file over the size limit is Damaged unread.
[[nodiscard]] TapImport importTapFile(const std::string& path, TapKind kind,
                                      std::optional<double> gain = std::nullopt);

// What the user is told about an import, one line each, in the interface language: the
// format, the count, the scaling and its largest rounding error, the gain, the symmetry.
[[nodiscard]] std::vector<std::string> tapImportSummary(const TapImport& import, TapKind kind);

// "taps", "csv", "vector", "coe" and back.
[[nodiscard]] std::optional<TapTextFormat> tapTextFormatFromName(std::string_view name);
[[nodiscard]] std::string_view tapTextFormatName(TapTextFormat format);

// The text of `taps` in `format`: the tap file " %d\n" per tap; a list "v,v,...\n"; a vector
// "h = [v, v, ...];\n"; a coefficient file "radix=R;\ncoefdata=\nv,\n...v;\n" whose radix-16
// values are the two's complement of the coefficient width (4 hexadecimal digits for CFIR and
// PFIR, 3 for the resampler).
[[nodiscard]] std::string tapExportText(const std::vector<int>& taps, TapTextFormat format,
                                        TapKind kind, int radix = 10);

}  // namespace gc::filters
