#include "design/Equiripple.h"

#include <liquid/liquid.h>

#include <algorithm>
#include <cmath>

#include "design/IntegerRefine.h"

namespace gc::design {

namespace {

struct CallbackData {
    const ResponseFunction* response;
};

int respond(double f, void* user, double* desired, double* weight) {
    const auto* data = static_cast<const CallbackData*>(user);
    double d = 0.0;
    double w = 1.0;
    (*data->response)(f, d, w);
    *desired = d;
    *weight = w > 0.0 ? w : 1e-12;
    return 0;
}

std::optional<std::vector<double>> runOnce(int length, const std::vector<Band>& bands,
                                           const ResponseFunction& response) {
    std::vector<float> edges;
    for (const Band& b : bands) {
        edges.push_back(static_cast<float>(b.from));
        edges.push_back(static_cast<float>(b.to));
    }
    CallbackData data{&response};
    firdespm q =
        firdespm_create_callback(static_cast<unsigned>(length), static_cast<unsigned>(bands.size()),
                                 edges.data(), LIQUID_FIRDESPM_BANDPASS, &respond, &data);
    if (q == nullptr) return std::nullopt;
    std::vector<float> h(static_cast<size_t>(length), 0.0f);
    const int rc = firdespm_execute(q, h.data());
    firdespm_destroy(q);
    if (rc != 0) return std::nullopt;
    double energy = 0.0;
    for (float v : h) {
        if (!std::isfinite(v)) return std::nullopt;
        energy += static_cast<double>(v) * v;
    }
    if (energy <= 0.0) return std::nullopt;
    std::vector<double> half(static_cast<size_t>(halfCount(length)));
    for (size_t k = 0; k < half.size(); ++k) half[k] = h[k];
    return half;
}

}  // namespace

std::optional<std::vector<double>> equiripple(int length, std::vector<Band> bands,
                                              const ResponseFunction& response) {
    if (length < 3 || bands.empty()) return std::nullopt;
    for (Band& b : bands) {
        b.from = std::clamp(b.from, 0.0, 0.5);
        b.to = std::clamp(b.to, b.from, 0.5);
    }
    // The exchange algorithm occasionally loses its reference set (the result is all zeros or
    // not finite); a tiny shift of the inner band edges gives it a different grid.
    for (int attempt = 0; attempt < 6; ++attempt) {
        std::vector<Band> shifted = bands;
        const double shift = attempt * 1e-4;
        for (size_t i = 0; i < shifted.size(); ++i) {
            if (shifted[i].from > 0.0) shifted[i].from = std::min(shifted[i].from + shift, 0.5);
            if (shifted[i].to < 0.5)
                shifted[i].to = std::max(shifted[i].to - shift, shifted[i].from);
        }
        if (auto half = runOnce(length, shifted, response)) return half;
    }
    return std::nullopt;
}

}  // namespace gc::design
