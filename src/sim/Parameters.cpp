#include <string>
#include <vector>

#include "sim/ChannelModel.h"

namespace gc::sim {

namespace {

[[nodiscard]] std::string bitsText(int bits) { return std::to_string(bits) + " bit"; }

[[nodiscard]] std::string orFromRegisters(int value, const char* what) {
    return value > 0 ? std::to_string(value) : std::string("from ") + what;
}

}  // namespace

std::vector<ParameterRow> describeParameters(const ModelParameters& p) {
    std::vector<ParameterRow> rows;
    const auto add = [&rows](std::string name, std::string value, std::string en, std::string ru) {
        rows.push_back({std::move(name), std::move(value), std::move(en), std::move(ru)});
    };
    add("clockHz",
        p.clockHz > 0.0 ? std::to_string(static_cast<long long>(p.clockHz)) + " Hz"
                        : "from the program file header",
        "input clock: the NCO and the CIC integrators run at it",
        "тактовая частота входа: на ней работают NCO и интеграторы CIC");
    add("resamplerPhases",
        orFromRegisters(p.resamplerPhases, "NMULT: largest 2^k <= 64, x NMULT <= 512"),
        "resampler phase count NDELAY (the registers hold only NMULT)",
        "число фаз ресемплера NDELAY (в регистрах только NMULT)");
    add("inputBits", orFromRegisters(p.inputBits, "the Input register (14 or 16 bit)"),
        "input word; floats are rounded to it and enter as a 19-bit word",
        "входное слово; отсчёты округляются до него и входят 19-битным словом");
    add("ncoAmplitudeBits", bitsText(p.ncoAmplitudeBits), "NCO sine/cosine amplitude, signed",
        "амплитуда синуса/косинуса NCO, со знаком");
    add("ncoTableBits", bitsText(p.ncoTableBits),
        "top phase bits that address the sine/cosine table",
        "старшие разряды фазы, адресующие таблицу синуса/косинуса");
    add("ncoPhaseDither", p.ncoPhaseDither ? "on" : "off",
        "random low phase bits added before the look-up",
        "случайные младшие разряды фазы перед выборкой из таблицы");
    add("mixerNarrowBits", bitsText(p.mixerNarrowBits),
        "mixer output without the 20-bit mixer option", "выход смесителя без режима 20 бит");
    add("rounding", p.rounding == Rounding::HalfUp ? "half up" : "truncate",
        "every rounding step of the chain", "каждое округление в тракте");
    add("cicIntegrators", "wide enough, wrapping",
        "CIC integrators wrap around in two's complement and never lose bits; the pre-scale "
        "2^(shift+scale+6*bigScale-62) loses none (fixed)",
        "интеграторы CIC достаточной ширины, переполнение по модулю; предмасштаб без потери "
        "разрядов (неизменно)");
    add("cicOutputBits", bitsText(p.cicOutputBits),
        "CIC output word, saturating; an overflow is counted above full scale",
        "выходное слово CIC с насыщением; переполнение считается выше полной шкалы");
    add("coarseOutputBits", bitsText(p.coarseOutputBits),
        "coarse gain x 2^coarse (0..7) between CIC and CFIR, saturating",
        "грубое усиление x 2^coarse (0..7) между CIC и CFIR, с насыщением");
    add("cfirOutputBits", bitsText(p.cfirOutputBits),
        "CFIR: full-precision sum / 2^16, rounded, saturated to this word",
        "CFIR: полная точность суммы / 2^16, округление, насыщение до этого слова");
    add("pfirOutputBits", bitsText(p.pfirOutputBits), "PFIR: as the CFIR", "PFIR: как CFIR");
    add("resamplerInputBits", bitsText(p.resamplerInputBits),
        "fine gain FINE_GAIN/1024 between PFIR and resampler, rounded, saturated to this word",
        "точное усиление FINE_GAIN/1024 между PFIR и ресемплером, округление, насыщение до "
        "этого слова");
    add("resamplerNearestPhase", p.resamplerNearestPhase ? "nearest" : "below",
        "polyphase branch taken for an output instant",
        "ветвь полифазного фильтра для момента выхода");
    add("resamplerOutputBits", bitsText(p.resamplerOutputBits),
        "resampler: full-precision sum x 2^(finalShift-15), rounded, saturated to this word",
        "ресемплер: полная точность суммы x 2^(finalShift-15), округление, насыщение");
    add("outputBits", orFromRegisters(p.outputBits, "the round field (12/16/20/24 bit)"),
        "output word, rounded and saturated", "выходное слово, округление и насыщение");
    add("pairModes", "interleaved CICs",
        "two- and one-channel modes: the pair's CICs decimate half a period apart and "
        "interleave (CFIR input 2 clock/D); the PFIR does not decimate in the one-channel mode "
        "(fixed)",
        "режимы 2 и 1 канала: CIC пары сдвинуты на половину периода и чередуются (вход CFIR "
        "2 clock/D); в режиме 1 канала PFIR не децимирует (неизменно)");
    return rows;
}

}  // namespace gc::sim
