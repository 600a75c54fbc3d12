#pragma once
// The channel requirement of a configuration, kept in a file of its own beside it ("NAME.req"
// beside "NAME.trv"), keyed in the manner of the configuration file:
//
//   *** Channel requirement ***            header
//   PassbandHz= 80000                      Fp, required
//   StopbandHz= 195312.5                   Fs, optional (absent: Fo/2)
//   RippleMaxDb= 0.5                       optional limits, absent when not given
//   StopbandMinDb= 80
//   AliasRejectionMinDb= 90
//
// A value starts one character after its key's "=" and numbers end in one blank, as in the
// configuration file; numbers are the shortest text that reads back to the same double, with
// "." as the point. Lines appear in this order; the optional ones only when given. No file
// means no requirement.
#include <string>

#include "analysis/ChannelMeasure.h"

namespace gc::appconfig {

enum class RequirementReadStatus {
    Ok,       // read; the requirement holds what the file says
    Missing,  // no such file (no requirement); the requirement is unchanged
    Damaged,  // not a requirement file, a line not as expected, or too large; unchanged
};

// "CONFIGS/a.trv" -> "CONFIGS/a.req".
[[nodiscard]] std::string requirementPath(const std::string& configPath);

// The whole file text.
[[nodiscard]] std::string requirementText(const gc::analysis::Requirement& requirement);

// Writes requirementText to `path`, replacing the file atomically. False when it cannot be
// written; the old file then stays as it was.
[[nodiscard]] bool writeRequirement(const std::string& path,
                                    const gc::analysis::Requirement& requirement);

// Reads a whole file's text. Every line must be known, in order, at most once; the pass-band
// edge is required; values must be finite numbers. `requirement` changes only on Ok.
[[nodiscard]] RequirementReadStatus parseRequirement(const std::string& text,
                                                     gc::analysis::Requirement& requirement);

// parseRequirement of the file at `path`. Something that is not a regular file, or larger than
// kRequirementFileMax bytes, is Damaged; a path that does not exist is Missing.
inline constexpr long kRequirementFileMax = 4096;
[[nodiscard]] RequirementReadStatus readRequirement(const std::string& path,
                                                    gc::analysis::Requirement& requirement);

// Removes the file of a configuration that no longer has a requirement. True when there is no
// file afterwards; a folder of that name is left and gives false.
[[nodiscard]] bool removeRequirement(const std::string& path);

}  // namespace gc::appconfig
