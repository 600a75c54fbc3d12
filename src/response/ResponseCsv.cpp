#include "response/ResponseCsv.h"

#include <cstdio>

namespace gc::response {

namespace {

// Full precision: a text that reads back to the same double, "." whatever the locale's point.
std::string exact(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    std::string s = buf;
    for (char& c : s)
        if (c == ',') c = '.';
    return s;
}

}  // namespace

std::string responseCsv(const ResponseArrays& a, double clockHz, int stretchX,
                        const ResponseArray* alias) {
    const double peak = ResponsePeak(a.ChannelResponse);
    std::string out = "k,freq_hz,cic,cfir,pfir,resampler,channel,level_db";
    out += alias != nullptr ? ",alias\n" : "\n";
    for (int k = 0; k < PlotPoints; ++k) {
        const double freq = clockHz / (2.0 * stretchX) * k / PlotPoints;
        out += std::to_string(k) + ',' + exact(freq) + ',' + exact(a.CicResponse[k]) + ',' +
               exact(a.CfirResponse[k]) + ',' + exact(a.PfirResponse[k]) + ',' +
               exact(a.ResamplerResponse[k]) + ',' + exact(a.ChannelResponse[k]) + ',' +
               exact(levelDb(a.ChannelResponse[k], peak));
        if (alias != nullptr) out += ',' + exact((*alias)[k]);
        out += '\n';
    }
    return out;
}

}  // namespace gc::response
