#include "cli/TapCommands.h"

namespace gc::cli {

CLI::Option* addTapKind(CLI::App& app, gc::filters::TapKind& kind) {
    return addValue(app, "--kind", "cfir|pfir|resampler", "the filter the taps belong to",
                    [&kind](const std::string& value) {
                        if (value == "cfir")
                            kind = gc::filters::TapKind::Cfir;
                        else if (value == "pfir")
                            kind = gc::filters::TapKind::Pfir;
                        else if (value == "resampler")
                            kind = gc::filters::TapKind::Rfir;
                        else
                            throw UsageError("--kind takes cfir, pfir or resampler");
                    });
}

gc::appconfig::FileKind tapFileKind(gc::filters::TapKind kind) {
    switch (kind) {
        case gc::filters::TapKind::Cfir:
            return gc::appconfig::FileKind::CfirTaps;
        case gc::filters::TapKind::Pfir:
            return gc::appconfig::FileKind::PfirTaps;
        case gc::filters::TapKind::Rfir:
            break;
    }
    return gc::appconfig::FileKind::RfirTaps;
}

}  // namespace gc::cli
