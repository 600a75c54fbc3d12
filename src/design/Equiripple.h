#pragma once
// The equiripple (Parks-McClellan) core: liquid-dsp's exchange algorithm with a desired
// response and weight given per frequency.
#include <functional>
#include <optional>
#include <vector>

namespace gc::design {

// A band of the design grid, in cycles per sample (0 <= from < to <= 0.5). Frequencies
// between bands are left free.
struct Band {
    double from{0.0};
    double to{0.5};
};

// Desired amplitude and weight (> 0) at frequency f (cycles per sample).
using ResponseFunction = std::function<void(double f, double& desired, double& weight)>;

// A symmetric filter of `length` taps whose amplitude approximates the desired one with the
// smallest weighted largest error over the bands. The first half of the taps (see
// halfCount), or nothing when the exchange algorithm fails for every small change of the band
// edges it is retried with.
[[nodiscard]] std::optional<std::vector<double>> equiripple(int length, std::vector<Band> bands,
                                                            const ResponseFunction& response);

}  // namespace gc::design
