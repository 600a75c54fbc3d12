#include "cli/MeasurePrint.h"

#include <cmath>
#include <cstdio>
#include <ostream>

namespace gc::cli {

namespace {

std::string exact(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

std::string jsonNumber(double v) { return std::isfinite(v) ? exact(v) : "null"; }
std::string lineNumber(double v) {
    if (std::isnan(v)) return "none";
    if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
    return exact(v);
}

std::string jsonString(const std::string& s) {
    std::string out = "\"";
    for (const unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

}  // namespace

void writeMeasurement(std::ostream& out, const gc::analysis::Measurement& m,
                      const std::vector<std::string>& warnings, bool json) {
    const double bandwidth = m.bandwidth3dbHz ? *m.bandwidth3dbHz : std::nan("");

    struct Figure {
        const char* name;
        double value;
    };
    const Figure figures[] = {{"output_rate_hz", m.outputRateHz},
                              {"passband_hz", m.passbandHz},
                              {"stopband_hz", m.stopbandHz},
                              {"ripple_db", m.rippleDb},
                              {"bandwidth_3db_hz", bandwidth},
                              {"stopband_attenuation_db", m.stopbandAttenuationDb},
                              {"stopband_worst_hz", m.stopbandWorstHz},
                              {"alias_rejection_db", m.aliasRejectionDb},
                              {"alias_worst_hz", m.aliasWorstHz}};
    if (json) {
        out << '{';
        for (const Figure& f : figures)
            out << '"' << f.name << "\": " << jsonNumber(f.value) << ", ";
        out << "\"meets\": " << (m.meets ? "true" : "false") << ", \"warnings\": [";
        for (size_t i = 0; i < warnings.size(); ++i)
            out << (i ? ", " : "") << jsonString(warnings[i]);
        out << "]}\n";
    } else {
        for (const Figure& f : figures) out << f.name << '=' << lineNumber(f.value) << '\n';
        out << "meets=" << (m.meets ? "true" : "false") << '\n';
        for (const std::string& w : warnings) out << "warning=" << w << '\n';
    }
}

}  // namespace gc::cli
