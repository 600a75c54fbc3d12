#pragma once
// The response sums written the plain way, one sine or cosine per tap and point, exactly as the
// chip documentation states them. The tests hold the fast arithmetic against these, and the
// benchmarks time them as the "before" figures.
#include <algorithm>
#include <cmath>

#include "model/ConfigurationModel.h"
#include "response/Response.h"

namespace gc::reference {

using gc::response::kPi;
using gc::response::PlotPoints;
using gc::response::ResponseArray;

inline void firResponse(const int* h, int m, double x, int a, int b, ResponseArray& out) {
    for (int k = 0; k < PlotPoints; ++k) {
        const double theta = x * (k + a) / b;
        double re = 0.0;
        double im = 0.0;
        for (int j = 0; j < m; ++j) {
            re += static_cast<double>(h[j]) * std::cos(j * theta);
            im += static_cast<double>(h[j]) * std::sin(j * theta);
        }
        out[k] = std::sqrt(re * re + im * im);
    }
}

inline void cicSegment(int d, int a, ResponseArray& out) {
    const double w = kPi / (static_cast<double>(d) * 2 * PlotPoints);
    for (int k = 1; k < PlotPoints; ++k) {
        const double n = static_cast<double>(k + a);
        const double e = gc::response::rectifyCicRatio(std::sin(n * d * w) / std::sin(n * w));
        out[k] = e * e * e * e * e;
    }
    out[0] = out[1];
}

inline void cicResponse(int d, int s, ResponseArray& out) {
    const double w = kPi / (2 * PlotPoints);
    for (int k = 1; k < PlotPoints; ++k) {
        const double e = gc::response::rectifyCicRatio(
            std::sin((static_cast<double>(d) / s) * k * w) / std::sin(k * w / s));
        out[k] = e * e * e * e * e;
    }
    out[0] = out[1];
}

// The channel response with the steps of the stage table, mode 0, 1 or 2.
inline void channelResponse(const gc::model::ConfigurationModel& m, int s,
                            gc::response::ResponseArrays& r) {
    const int d = m.Work.CurrentDecimation;
    const int ch = m.Work.CurrentChannel;
    const int nd = m.Work.Ndelay;
    const int mode = m.Chip.ModeOfDdc;
    const double cfir[3] = {d * kPi / PlotPoints, 0.5 * d * kPi / PlotPoints,
                            0.5 * d * kPi / PlotPoints};
    const double pfir[3] = {(2 * d) * kPi / PlotPoints, d * kPi / PlotPoints, d * kPi / PlotPoints};
    const double res[3] = {4 * d * kPi / (PlotPoints * nd), 2 * d * kPi / (PlotPoints * nd),
                           d * kPi / (PlotPoints * nd)};
    cicResponse(d, s, r.CicResponse);
    r.ChannelResponse = r.CicResponse;
    if (m.Work.StageEnabled[0] == 1) {
        firResponse(m.CfirTaps[ch].data(), 21, cfir[mode], 0, s, r.CfirResponse);
        for (int k = 0; k < PlotPoints; ++k) r.ChannelResponse[k] *= r.CfirResponse[k];
    }
    if (m.Work.StageEnabled[1] == 1) {
        firResponse(m.PfirTaps[ch].data(), 63, pfir[mode], 0, s, r.PfirResponse);
        for (int k = 0; k < PlotPoints; ++k) r.ChannelResponse[k] *= r.PfirResponse[k];
    }
    if (m.Work.StageEnabled[2] == 1) {
        firResponse(m.ResamplerTaps.data(), m.Work.ResamplerTapCount, res[mode], 0, s,
                    r.ResamplerResponse);
        for (int k = 0; k < PlotPoints; ++k) r.ChannelResponse[k] *= r.ResamplerResponse[k];
    }
}

// The plot row as the formula states it, log10 straight from the ratio.
inline int row(double v, double peak, int y) {
    return -static_cast<int>(std::trunc(std::log10(v / peak) * 40 * y));
}

}  // namespace gc::reference
