#pragma once
// The printing of a channel's figures against a requirement, shared by "measure" and
// "design": NAME=VALUE lines or one JSON object, with the warnings.
#include <iosfwd>
#include <string>
#include <vector>

#include "analysis/ChannelMeasure.h"

namespace gc::cli {

// Lines: output_rate_hz, passband_hz, stopband_hz, ripple_db, bandwidth_3db_hz,
// stopband_attenuation_db, stopband_worst_hz, alias_rejection_db, alias_worst_hz (full
// precision; "none" or "inf" where there is no finite value), meets=true|false, then one
// warning=TEXT line per warning. JSON: the same keys in one object, null for no value.
void writeMeasurement(std::ostream& out, const gc::analysis::Measurement& m,
                      const std::vector<std::string>& warnings, bool json);

}  // namespace gc::cli
