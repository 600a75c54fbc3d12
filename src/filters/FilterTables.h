#pragma once
// The built-in coefficient library: CFIR, PFIR and resampler sets, in the order of the items
// of their selection lists (ComboBox1, ComboBox4, ComboBox5). Only the first half of each
// symmetric filter is stored; the selection mirrors it.
#include <array>
#include <optional>
#include <string_view>

namespace gc::filters {

struct FilterTable {
    std::string_view name;  // list item text, for example "cfir_68"
    int tapCount;           // full filter length (1 for the bypass resampler)
    const int* taps;        // stored taps
    int storedCount;        // number of stored taps (11, 32, or tapCount / 2; 1 for bypass)
};

inline constexpr int kCfirSetCount = 10;
inline constexpr int kPfirSetCount = 10;
inline constexpr int kResamplerSetCount = 9;

[[nodiscard]] const std::array<FilterTable, kCfirSetCount>& cfirLibrary();
[[nodiscard]] const std::array<FilterTable, kPfirSetCount>& pfirLibrary();
[[nodiscard]] const std::array<FilterTable, kResamplerSetCount>& resamplerLibrary();

// The stop-band attenuation a resampler set reaches, in dB relative to its DC gain over its
// own stop band (how it is measured: tools/README.md), by library index (the item index of
// ComboBox5). None for the bypass set and for an index outside the library.
[[nodiscard]] std::optional<double> resamplerStopbandDb(int index);

}  // namespace gc::filters
