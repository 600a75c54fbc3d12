#include "cli/ChannelOptions.h"

#include "appconfig/ConfigFile.h"
#include "model/Numeric.h"

namespace gc::cli {

void addChannelOptions(CLI::App& app, ChannelOptions& options) {
    gc::analysis::Requirement& req = options.requirement;
    addValue(app, "--passband", "HZ", "pass-band edge Fp, 0 < Fp < Fo/2 (Fo the output rate)",
             [&options](const std::string& value) {
                 options.requirement.passbandHz = gc::model::parseReal(value);
                 options.havePassband = true;
             })
        ->required();
    addReal(app, "--stopband", "HZ", req.stopbandHz,
            "stop-band edge Fs, Fp < Fs <= clock/2 (default Fo/2)");
    addReal(app, "--ripple", "DB", req.rippleMaxDb, "largest allowed pass-band ripple");
    addReal(app, "--stopband-attenuation", "DB", req.stopbandMinDb,
            "smallest allowed attenuation over [Fs, clock/2]");
    addReal(app, "--alias-rejection", "DB", req.aliasRejectionMinDb,
            "smallest allowed rejection of the aliases folded into\n[0, Fp] of the output");
    addInt(app, "--channel", "N", options.channel, 0, 3,
           "channel 0..3 (default: the configuration's current one)");
}

bool loadChannel(Engine& engine, const std::string& config, const FileSources& sources,
                 int channel) {
    const gc::app::LoadSave::LoadResult loaded = engine.loadFromDefaults(config, sources);
    if (loaded.configuration != gc::appconfig::ConfigReadStatus::Ok) return false;
    if (channel >= 0) {
        engine.state.ComboBox7.index = channel;
        engine.presenter.onComboBox7Changed();
    }
    return true;
}

}  // namespace gc::cli
