#include "cli/MeasurePrint.h"

#include <cmath>
#include <cstdio>
#include <ostream>

#include "cli/JsonLine.h"

namespace gc::cli {

namespace {

std::string exact(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

std::string lineNumber(double v) {
    if (std::isnan(v)) return "none";
    if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
    return exact(v);
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
        nlohmann::ordered_json object;
        for (const Figure& f : figures) object[f.name] = f.value;
        object["meets"] = m.meets;
        object["warnings"] = warnings;
        writeJsonLine(out, object);
        out << '\n';
    } else {
        for (const Figure& f : figures) out << f.name << '=' << lineNumber(f.value) << '\n';
        out << "meets=" << (m.meets ? "true" : "false") << '\n';
        for (const std::string& w : warnings) out << "warning=" << w << '\n';
    }
}

}  // namespace gc::cli
