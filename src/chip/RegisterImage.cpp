#include "chip/RegisterImage.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "model/ConfigurationModel.h"
#include "model/Fields.h"
#include "model/Numeric.h"

namespace gc::chip {

namespace {

// Power-on coefficient sets: the stored halves of "cfir_68" and "pfir_gsm". The build replaces
// them before any file is written, and the start-up chip configuration file replaces them too.
constexpr std::array<int, 11> kInitialCfir{12,    -93,   -62,  804,   1283, -1273,
                                           -5197, -3512, 8332, 24823, 32767};
constexpr std::array<int, 32> kInitialPfir{132,  182,  1,     -309,  -330,  119,   560,   343,
                                           -424, -834, -278,  696,   960,   149,   -916,  -1132,
                                           -212, 1075, 1514,  421,   -1518, -2374, -673,  2529,
                                           3817, 726,  -4796, -6888, -650,  12967, 26898, 32767};

using gc::model::bitSet;
using gc::model::bitsOf;
using gc::model::withBitGroup;

// Register channel k takes its settings from this model channel in the given output mode;
// -1 for a mode the chip does not have.
[[nodiscard]] int sourceChannel(int mode, int k) {
    switch (mode) {
        case 0:
            return k;
        case 1:
            return k < 2 ? 0 : 2;
        case 2:
            return 0;
        default:
            return -1;
    }
}

// 2^32 * frequency / clock truncated toward zero, low 32 bits. Exact integer arithmetic: the
// numerator fits in 64 bits for every int frequency, and a clock of 0 gives 0.
[[nodiscard]] std::uint32_t frequencyWord(int frequencyHz, int clockHz) {
    if (clockHz == 0) return 0;
    const std::int64_t numerator = static_cast<std::int64_t>(frequencyHz) * 4294967296LL;
    // -2^63 / -1 is the one quotient that does not fit; its low 32 bits are 0.
    if (numerator == std::numeric_limits<std::int64_t>::min() && clockHz == -1) return 0;
    const std::int64_t quotient = numerator / clockHz;  // truncates toward zero
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(quotient));
}

// 65536 * phase / 6.2831853: the chip's phase word uses the reciprocal of 6.2831853, not of 2*pi.
[[nodiscard]] std::uint32_t phaseWord(float phaseRad) {
    const double turns = 65536.0 * static_cast<double>(phaseRad) * 0.15915494327375637;
    return static_cast<std::uint32_t>(gc::model::truncToInt(turns));
}

// 2^26 / interpolation, truncated and saturated; 2^26 stands for the ratio 1.0. The quotient is
// truncated in extended precision so that it is exact for every float interpolation value.
[[nodiscard]] int resamplerRatio(float interpolation) {
    if (interpolation == 0.0f) return std::numeric_limits<int>::max();
    const long double quotient = 67108864.0L / static_cast<long double>(interpolation);
    return gc::model::truncToInt(static_cast<double>(std::trunc(quotient)));
}

}  // namespace

RegisterImage::RegisterImage() {
    for (std::size_t k = 0; k < Channels.size(); ++k) {
        Channels[k].CFIR = kInitialCfir;
        Channels[k].PFIR = kInitialPfir;
        Channels[k].Input = static_cast<int>(k);
    }
    Channels[0].Phase = 0xffff;
    Channels[0].Frequency = 0x7fffffff;
    Channels[0].ChannelReset = 0x0c;
    // The resampler coefficients start as zeros; the build loads the filter in use.
}

namespace {

[[nodiscard]] bool sameChannel(const RegisterChannel& a, const RegisterChannel& b) {
    return a.CFIR == b.CFIR && a.PFIR == b.PFIR && a.Phase == b.Phase &&
           a.Frequency == b.Frequency && a.ChannelReset == b.ChannelReset &&
           a.FrequencySync == b.FrequencySync && a.NCOSync == b.NCOSync && a.Blank == b.Blank &&
           a.DecSync == b.DecSync && a.DecimationRatio == b.DecimationRatio &&
           a.CICScale == b.CICScale && a.SplitIQ == b.SplitIQ && a.CFIRControl == b.CFIRControl &&
           a.PFIRControl == b.PFIRControl && a.Input == b.Input && a.PeakControl == b.PeakControl &&
           a.FineGain == b.FineGain;
}

}  // namespace

bool operator==(const RegisterImage& a, const RegisterImage& b) {
    for (std::size_t k = 0; k < a.Channels.size(); ++k)
        if (!sameChannel(a.Channels[k], b.Channels[k])) return false;
    return a.GlobalReset == b.GlobalReset && a.Status == b.Status && a.Page == b.Page &&
           a.GeneralSyncs == b.GeneralSyncs && a.CountSync == b.CountSync &&
           a.CounterByte0 == b.CounterByte0 && a.CounterByte1 == b.CounterByte1 &&
           a.ResamplerCoeff == b.ResamplerCoeff && a.NChannels == b.NChannels &&
           a.NMultiplies == b.NMultiplies && a.FilterSelect == b.FilterSelect &&
           a.FinalShift == b.FinalShift && a.ChannelMap == b.ChannelMap && a.AddTo == b.AddTo &&
           a.ClockDivide == b.ClockDivide && a.RatioMap == b.RatioMap &&
           a.ResamplerRatio == b.ResamplerRatio && a.TristateControl == b.TristateControl &&
           a.OutputFormat == b.OutputFormat && a.OutputMode == b.OutputMode &&
           a.OutputFrameControl == b.OutputFrameControl && a.OutputWordSize == b.OutputWordSize &&
           a.OutputClockControl == b.OutputClockControl &&
           a.SerialMixControl == b.SerialMixControl && a.OutputTag == b.OutputTag &&
           a.Miscell == b.Miscell && a.FrequencyWord == b.FrequencyWord &&
           a.PhaseWord == b.PhaseWord && a.OddChannelPhaseOffset == b.OddChannelPhaseOffset;
}

void buildRegisterImage(const gc::model::ConfigurationModel& model, RegisterImage& image) {
    const auto& chip = model.Chip;
    const int mode = chip.ModeOfDdc;

    if (sourceChannel(mode, 0) >= 0) {
        for (int k = 0; k < gc::model::kChannelCount; ++k) {
            const int s = sourceChannel(mode, k);
            const auto& settings = model.Channels[static_cast<std::size_t>(s)];
            auto& reg = image.Channels[static_cast<std::size_t>(k)];

            reg.CICScale = withBitGroup(reg.CICScale, 6, 1, bitsOf(settings.Mix20bit));
            reg.CICScale = withBitGroup(reg.CICScale, 0, 3, bitsOf(settings.Scale));
            reg.CICScale = withBitGroup(reg.CICScale, 3, 3, bitsOf(settings.BigScale));
            reg.ChannelReset = withBitGroup(reg.ChannelReset, 0, 3, bitsOf(settings.Shift));
            reg.DecimationRatio =
                withBitGroup(reg.DecimationRatio, 0, 12, bitsOf(settings.Decimation) - 1u);
            reg.CFIRControl = withBitGroup(reg.CFIRControl, 4, 3, bitsOf(settings.CoarseGain));
            reg.Input =
                withBitGroup(reg.Input, 0, 3, bitsOf(chip.InputPort[static_cast<std::size_t>(s)]));
            // Enabled register channels are released from reset, the others held in it; the
            // mask bit is that of the register channel, not of the source channel.
            const bool enabled = bitSet(model.Work.ActiveMask, static_cast<int>(k));
            reg.ChannelReset = withBitGroup(reg.ChannelReset, 7, 1, enabled ? 0u : 1u);
            reg.FineGain = settings.FineGain;

            const auto& cfir = model.CfirTaps[static_cast<std::size_t>(s)];
            const auto& pfir = model.PfirTaps[static_cast<std::size_t>(s)];
            for (std::size_t i = 0; i < reg.CFIR.size(); ++i) reg.CFIR[i] = cfir[i];
            for (std::size_t i = 0; i < reg.PFIR.size(); ++i) reg.PFIR[i] = pfir[i];
            reg.Frequency = chip.Fc[static_cast<std::size_t>(s)];
        }
        // The frequency follows the source channel through the Frequency field; the phase is
        // always that of the register channel itself.
        for (std::size_t k = 0; k < image.Channels.size(); ++k) {
            image.FrequencyWord[k] = frequencyWord(image.Channels[k].Frequency, chip.Clock);
            image.PhaseWord[k] = phaseWord(chip.Phase[k]);
        }
    }

    // The resampler filter is symmetric: only its first half is loaded.
    image.ResamplerCoeff.fill(0);
    const int half = model.Work.ResamplerTapCount / 2;
    for (int i = 0; i < half && i < static_cast<int>(image.ResamplerCoeff.size()); ++i)
        image.ResamplerCoeff[static_cast<std::size_t>(i)] =
            model.ResamplerTaps[static_cast<std::size_t>(i)];
    // Bit 6 of NMultiplies is the no-symmetry bypass bit and stays as the selection left it.
    image.NMultiplies = withBitGroup(image.NMultiplies, 0, 6, bitsOf(chip.NumMultiplies) - 1u);
    image.FinalShift = withBitGroup(image.FinalShift, 0, 4, bitsOf(chip.FinalShift));
    image.ResamplerRatio.fill(resamplerRatio(chip.CoefInterpol[0]));
}

}  // namespace gc::chip
