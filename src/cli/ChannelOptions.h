#pragma once
// What `measure` and `design` share: the options that name a channel and its requirement, and
// the engine loaded from CONFIG.trv with that channel current.
#include <string>
#include <vector>

#include "analysis/ChannelMeasure.h"
#include "cli/CliSupport.h"

namespace gc::cli {

struct ChannelOptions {
    int channel{-1};  // --channel N, 0..3; -1: the configuration's current channel
    gc::analysis::Requirement requirement;
    bool havePassband{false};
};

enum class OptionTaken { No, Yes, Error };

// When args[i] is --channel, --passband, --stopband, --ripple, --stopband-attenuation or
// --alias-rejection: takes it and its value (i moves past the value) and returns Yes, or Error
// with a usage message in `error` (no value, not a number, channel outside 0..3). No otherwise.
[[nodiscard]] OptionTaken takeChannelOption(const std::vector<std::string>& args, size_t& i,
                                            ChannelOptions& options, std::string& error);

// The engine from the built-in defaults with "Считать" of `config` (its reports printed), then
// the channel chosen as the main window's ComboBox7 would. False when CONFIG.trv itself is
// missing or damaged: nothing can be measured from it.
[[nodiscard]] bool loadChannel(Engine& engine, const std::string& config,
                               const FileSources& sources, int channel);

}  // namespace gc::cli
