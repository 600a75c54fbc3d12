#include "model/ConfigurationModel.h"

namespace gc::model {

void applyToAllChannels(ConfigurationModel& model) {
    const int c = model.currentIndex();
    // Copy from a snapshot so that overwriting the current channel's own slot changes nothing.
    const ChannelSettings src = model.Channels[c];
    const int fc = model.Chip.Fc[c];
    const float phase = model.Chip.Phase[c];
    const int port = model.Chip.InputPort[c];
    const auto cfir = model.CfirTaps[c];
    const auto pfir = model.PfirTaps[c];
    const auto cfirFile = model.CfirFileTaps[c];
    const auto pfirFile = model.PfirFileTaps[c];
    const int cfirSel = model.Work.CfirSelection[c];
    const int pfirSel = model.Work.PfirSelection[c];
    for (int i = 0; i < kChannelCount; ++i) {
        ChannelSettings& dst = model.Channels[i];
        dst.Mix20bit = src.Mix20bit;
        dst.Shift = src.Shift;
        dst.Scale = src.Scale;
        dst.BigScale = src.BigScale;
        dst.Decimation = src.Decimation;
        dst.CoarseGain = src.CoarseGain;
        dst.FineGain = src.FineGain;
        model.Chip.Fc[i] = fc;
        model.Chip.Phase[i] = phase;
        model.Chip.InputPort[i] = port;
        dst.NameOfCFIR = src.NameOfCFIR;
        dst.NameOfPFIR = src.NameOfPFIR;
        model.CfirTaps[i] = cfir;
        model.PfirTaps[i] = pfir;
        // The file buffers travel too, so that a channel made current later re-derives the
        // copied taps under the file source instead of its own older file.
        model.CfirFileTaps[i] = cfirFile;
        model.PfirFileTaps[i] = pfirFile;
        model.Work.CfirSelection[i] = cfirSel;
        model.Work.PfirSelection[i] = pfirSel;
    }
}

}  // namespace gc::model
