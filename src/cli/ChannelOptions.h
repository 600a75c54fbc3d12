#pragma once
// What `measure` and `design` share: the options that name a channel and its requirement, and
// the engine loaded from CONFIG.trv with that channel current.
#include <string>

#include "analysis/ChannelMeasure.h"
#include "cli/CliSupport.h"
#include "cli/CommandLine.h"

namespace gc::cli {

struct ChannelOptions {
    int channel{-1};  // --channel N, 0..3; -1: the configuration's current channel
    gc::analysis::Requirement requirement;
    bool havePassband{false};
};

// Declares --passband (required), --stopband, --ripple, --stopband-attenuation,
// --alias-rejection and --channel into `options`.
void addChannelOptions(CLI::App& app, ChannelOptions& options);

// The engine from the built-in defaults with "Считать" of `config` (its reports printed), then
// the channel chosen as the main window's ComboBox7 would. False when CONFIG.trv itself is
// missing or damaged: nothing can be measured from it.
[[nodiscard]] bool loadChannel(Engine& engine, const std::string& config,
                               const FileSources& sources, int channel);

}  // namespace gc::cli
