#include "chip/ProgramFile.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>

#include "chip/FixedText.h"
#include "model/ConfigurationModel.h"
#include "model/Fields.h"
#include "model/TextFile.h"

namespace gc::chip {

namespace {

// Byte n of a register value, least significant first, from its two's-complement pattern
// (-93 gives 0xa3 and 0xff).
[[nodiscard]] int byteOf(std::uint32_t value, int n) {
    return static_cast<int>((value >> (8 * n)) & 0xffu);
}

[[nodiscard]] int byteOf(int value, int n) { return byteOf(static_cast<std::uint32_t>(value), n); }

// The page that a write of `value` to the page register selects: value shifted right by one,
// rounding toward minus infinity as an arithmetic shift does.
[[nodiscard]] int pageSelectedBy(int value) { return (value - (value & 1)) / 2; }

class WriteList {
  public:
    void page(int page) { writes_.push_back({kPageRegister, 2 * page}); }
    void write(int reg, int value) { writes_.push_back({reg, value}); }
    // A 16-bit quantity over two consecutive registers, low byte first.
    void write16(int reg, int value) {
        write(reg, byteOf(value, 0));
        write(reg + 1, byteOf(value, 1));
    }
    [[nodiscard]] std::vector<RegisterWrite> take() { return std::move(writes_); }

  private:
    std::vector<RegisterWrite> writes_;
};

void channelWrites(WriteList& list, const RegisterImage& image, int k) {
    const auto& ch = image.Channels[static_cast<std::size_t>(k)];
    const int base = 8 * k;

    list.page(base);
    for (int i = 0; i < 8; ++i) list.write16(16 + 2 * i, ch.CFIR[static_cast<std::size_t>(i)]);
    list.page(base + 1);
    for (int i = 8; i < 11; ++i)
        list.write16(16 + 2 * (i - 8), ch.CFIR[static_cast<std::size_t>(i)]);
    for (int p = 0; p < 4; ++p) {
        list.page(base + 2 + p);
        for (int j = 0; j < 8; ++j)
            list.write16(16 + 2 * j, ch.PFIR[static_cast<std::size_t>(8 * p + j)]);
    }

    // Odd channels carry a quarter-turn offset in the two- and one-channel modes. It is added
    // on a local copy so that the image, and a second file written from it, stay as they were.
    std::uint32_t phase = image.PhaseWord[static_cast<std::size_t>(k)];
    if (k == 1 || k == 3) phase += static_cast<std::uint32_t>(image.OddChannelPhaseOffset);
    const std::uint32_t frequency = image.FrequencyWord[static_cast<std::size_t>(k)];
    list.page(base + 6);
    list.write(16, byteOf(phase, 0));
    list.write(17, byteOf(phase, 1));
    for (int n = 0; n < 4; ++n) list.write(18 + n, byteOf(frequency, n));

    list.page(base + 7);
    list.write(16, ch.ChannelReset);
    list.write(17, ch.FrequencySync);
    list.write(18, ch.NCOSync);
    list.write(19, ch.Blank);
    list.write(20, ch.DecSync);
    list.write16(21, ch.DecimationRatio);
    list.write(23, ch.CICScale);
    list.write(24, ch.SplitIQ);
    list.write(25, ch.CFIRControl);
    list.write(26, ch.PFIRControl);
    list.write(27, ch.Input);
    list.write(28, ch.PeakControl);
    list.write16(30, ch.FineGain);  // register 29 is not used
}

}  // namespace

std::uint32_t computeMaskAdc(const gc::model::ConfigurationModel& model) {
    const auto& chip = model.Chip;
    std::uint32_t mask = 0;
    const auto addInputOf = [&](int channel) {
        const int port = chip.InputPort[static_cast<std::size_t>(channel)];
        if (port >= 0 && port < 32) mask |= 1u << port;
    };
    using gc::model::bitSet;
    switch (chip.ModeOfDdc) {
        case 0:
            for (int i = 0; i < gc::model::kChannelCount; ++i)
                if (bitSet(chip.MaskChan1x, i)) addInputOf(i);
            break;
        case 1:
            for (int pair = 0; pair < 2; ++pair)
                if (bitSet(chip.MaskChan2x, pair)) addInputOf(2 * pair);
            break;
        case 2:
            if (bitSet(chip.MaskChan4x, 0)) addInputOf(0);
            break;
        default:
            break;
    }
    return mask;
}

float totalDecimation(const gc::model::ConfigurationModel& model, const RegisterImage& image,
                      int channel) {
    const int ratio = image.Channels[static_cast<std::size_t>(channel)].DecimationRatio;
    const long double stages = static_cast<long double>(((ratio & 0xfff) + 1) * 4);
    const float interpolation = model.Chip.CoefInterpol[0];
    long double value = 0.0L;
    if (interpolation == 0.0f) {
        // What the float division gives, without dividing by zero.
        value = std::copysign(std::numeric_limits<long double>::infinity(),
                              static_cast<long double>(interpolation));
    } else {
        value = stages / static_cast<long double>(interpolation);
    }
    // Division by 2^ModeOfDdc as a scaling: defined for any mode value, never a division by 0.
    value = std::ldexp(value, -std::clamp(model.Chip.ModeOfDdc, -20000, 20000));
    if (std::isfinite(value) && std::fabs(value) > static_cast<long double>(FLT_MAX))
        return value < 0 ? -std::numeric_limits<float>::infinity()
                         : std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

std::vector<RegisterWrite> programWriteList(const RegisterImage& image) {
    WriteList list;
    list.write(0, image.GlobalReset);
    list.write(1, image.Status);
    list.write(kPageRegister, image.Page);
    list.write(3, 0);
    list.write(4, image.GeneralSyncs);
    list.write(5, image.CountSync);
    list.write(6, image.CounterByte0);
    list.write(7, image.CounterByte1);

    for (int k = 0; k < 4; ++k) channelWrites(list, image, k);

    // Resampler coefficients: 12 bits each, 8 per page.
    for (int p = 32; p < 64; ++p) {
        list.page(p);
        for (int j = 0; j < 8; ++j) {
            const int coeff = image.ResamplerCoeff[static_cast<std::size_t>(8 * (p - 32) + j)];
            list.write(16 + 2 * j, byteOf(coeff, 0));
            list.write(17 + 2 * j, byteOf(coeff, 1) & 0x0f);
        }
    }

    list.page(64);
    list.write(16, image.NChannels);
    list.write(17, image.NMultiplies);
    list.write(18, image.FilterSelect);
    list.write(19, image.FinalShift);
    list.write(20, image.ChannelMap);
    list.write(21, image.AddTo);
    list.write(22, image.ClockDivide);
    list.write(23, image.RatioMap);

    list.page(65);
    for (int j = 0; j < 4; ++j)
        for (int n = 0; n < 4; ++n)
            list.write(16 + 4 * j + n,
                       byteOf(image.ResamplerRatio[static_cast<std::size_t>(j)], n));

    list.page(98);
    list.write(16, image.TristateControl);
    list.write(17, image.OutputFormat);
    list.write(18, image.OutputMode);
    list.write(19, image.OutputFrameControl);
    list.write(20, image.OutputWordSize);
    list.write(21, image.OutputClockControl);
    list.write(22, image.SerialMixControl);
    for (int j = 0; j < 4; ++j) list.write(23 + j, image.OutputTag[static_cast<std::size_t>(j)]);
    list.write(27, 0);
    list.write(28, image.Miscell);

    // The global reset is released last, then the sync counter is started.
    list.write(0, 0);
    list.write(5, image.CountSync & 0x7f);
    return list.take();
}

std::string programFileText(const gc::model::ConfigurationModel& model,
                            const RegisterImage& image) {
    using gc::model::formatString;
    const auto& chip = model.Chip;
    const std::uint32_t maskAdc = computeMaskAdc(model);

    std::string text = "*** Prog File for Graychip GC4016 ****\n";
    text += formatString("Clock= %d\n", model.Work.WorkingClock);
    for (int k = 0; k < 4; ++k)
        text += "Decimation Channel" + std::to_string(k) + "= " +
                fixedSixDecimals(totalDecimation(model, image, k)) + "\n";
    text += formatString("VokType= %d\n", chip.VokType);
    text += formatString("ModeOfDdc= %d\n", chip.ModeOfDdc);
    text += formatString("AsyncMode= %d\n", chip.AsyncMode);
    text += formatString("MaskAdc= 0x%x\n", maskAdc);
    const auto active = static_cast<unsigned>(model.Work.ActiveMask);
    switch (chip.ModeOfDdc) {
        case 0:
            text += formatString("MaskDdc= 0x%x\n", active);
            break;
        case 1:
            text += formatString("MaskDdc= 0x%x\n", active & 5u);
            break;
        case 2:
            text += formatString("MaskDdc= 0x%x\n", active & 1u);
            break;
        default:
            break;  // no such mode: no line
    }
    text += "Page Reg Val\n";

    int page = 0;
    for (const RegisterWrite& w : programWriteList(image)) {
        if (w.reg == kPageRegister) {
            page = pageSelectedBy(w.value);
            continue;
        }
        text += formatString("%d    %d   0x%x\n", page, w.reg, static_cast<unsigned>(w.value));
    }
    return text;
}

gc::model::WriteResult writeProgramFile(const std::string& path,
                                        const gc::model::ConfigurationModel& model,
                                        const RegisterImage& image) {
    return gc::model::writeFileAtomically(path, programFileText(model, image));
}

}  // namespace gc::chip
