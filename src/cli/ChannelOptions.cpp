#include "cli/ChannelOptions.h"

#include "appconfig/ConfigFile.h"
#include "model/Numeric.h"

namespace gc::cli {

OptionTaken takeChannelOption(const std::vector<std::string>& args, size_t& i,
                              ChannelOptions& options, std::string& error) {
    const std::string& arg = args[i];
    auto& req = options.requirement;
    const bool real = arg == "--passband" || arg == "--stopband" || arg == "--ripple" ||
                      arg == "--stopband-attenuation" || arg == "--alias-rejection";
    if (!real && arg != "--channel") return OptionTaken::No;
    if (i + 1 >= args.size()) {
        error = arg + " needs a value";
        return OptionTaken::Error;
    }
    const std::string& value = args[++i];
    try {
        if (arg == "--channel") {
            options.channel = gc::model::parseInt(value);
            if (options.channel < 0 || options.channel > 3) {
                error = "--channel takes 0..3";
                return OptionTaken::Error;
            }
            return OptionTaken::Yes;
        }
        const double v = gc::model::parseReal(value);
        if (arg == "--passband") {
            req.passbandHz = v;
            options.havePassband = true;
        } else if (arg == "--stopband") {
            req.stopbandHz = v;
        } else if (arg == "--ripple") {
            req.rippleMaxDb = v;
        } else if (arg == "--stopband-attenuation") {
            req.stopbandMinDb = v;
        } else {
            req.aliasRejectionMinDb = v;
        }
        return OptionTaken::Yes;
    } catch (const gc::model::ConversionError& e) {
        error = arg + ": " + e.what();
        return OptionTaken::Error;
    }
}

bool loadChannel(Engine& engine, const std::string& config, const FileSources& sources,
                 int channel) {
    chooseSources(engine.state, sources);
    engine.presenter.startWithDefaults();
    const gc::app::LoadSave::LoadResult loaded = engine.loadSave.loadConfiguration(config);
    if (loaded.configuration != gc::appconfig::ConfigReadStatus::Ok) return false;
    if (channel >= 0) {
        engine.state.ComboBox7.index = channel;
        engine.presenter.onComboBox7Changed();
    }
    return true;
}

}  // namespace gc::cli
