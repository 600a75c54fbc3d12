#pragma once
// The tap files of one design, as the design window and `gc4016-cli design` write them: one set
// NAME_cfir.taps, NAME_pfir.taps and, when a resampler prototype was designed, NAME_res.taps,
// written together so that the files of two designs never end up side by side.
#include <string>
#include <vector>

#include "appconfig/Reports.h"
#include "design/ChannelDesign.h"

namespace gc::app {

// A name fit for a design's files: not empty, no folder in it ("/" or "\"), not "." or "..".
[[nodiscard]] bool validDesignName(const std::string& name);

// The default NAME for channel `channel` (0..3) of the configuration `configFileName`
// ("CONFIGS/rx.trv", channel 1 -> "rx_ch1"; no configuration name -> "design_ch1").
[[nodiscard]] std::string defaultDesignName(const std::string& configFileName, int channel);

struct DesignFile {
    std::string bare;  // NAME_cfir.taps ...
    gc::appconfig::FileKind kind;
    std::string text;  // in the tap-file format
};
// The files of `design` under `name`, CFIR first.
[[nodiscard]] std::vector<DesignFile> designFiles(const gc::design::ChannelDesign& design,
                                                  const std::string& name);

}  // namespace gc::app
