#include "app/DesignFiles.h"

#include "appconfig/Workspace.h"
#include "filters/TapFiles.h"

namespace gc::app {

namespace ac = gc::appconfig;

bool validDesignName(const std::string& name) {
    return !name.empty() && name.find_first_of("/\\") == std::string::npos && name != "." &&
           name != "..";
}

std::string defaultDesignName(const std::string& configFileName, int channel) {
    std::string stem = ac::bareName(configFileName);
    const auto dot = stem.rfind('.');
    if (dot != std::string::npos && dot > 0) stem.erase(dot);
    if (stem.empty()) stem = "design";
    return stem + "_ch" + std::to_string(channel);
}

std::vector<DesignFile> designFiles(const gc::design::ChannelDesign& design,
                                    const std::string& name) {
    const auto text = [](const std::vector<int>& taps) {
        return gc::filters::tapFileText(taps.data(), static_cast<int>(taps.size()));
    };
    std::vector<DesignFile> files{
        {name + "_cfir.taps", ac::FileKind::CfirTaps, text(design.cfirTaps)},
        {name + "_pfir.taps", ac::FileKind::PfirTaps, text(design.pfirTaps)}};
    if (!design.resamplerTaps.empty())
        files.push_back({name + "_res.taps", ac::FileKind::RfirTaps, text(design.resamplerTaps)});
    return files;
}

}  // namespace gc::app
