#pragma once
// design --apply: the configuration pointed at the tap files the design wrote.
#include <string>

namespace gc::cli {

// With --apply the tap files must be found where the configuration looks for them: the folder
// "../FILTERS/" beside CONFIG. Empty when `out` is that folder, else the usage message.
[[nodiscard]] std::string applyFolderProblem(const std::string& config, const std::string& out);

// Reads CONFIG.trv afresh, names NAME_cfir.taps and NAME_pfir.taps as the tap files of
// `channel` (and NAME_res.taps as the resampler's when `resampler`) and chooses the tap files as
// the source of those filters in NAME.src beside it; writes both back as one set, each replaced
// atomically; nothing else of them changes. The exit status: 0, 1 (not written, reported with
// the system's reason) or 5 (it can no longer be read).
[[nodiscard]] int applyDesign(const std::string& config, int channel, const std::string& name,
                              bool resampler);

}  // namespace gc::cli
