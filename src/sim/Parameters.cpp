#include <string>
#include <vector>

#include "model/Language.h"
#include "sim/ChannelModel.h"

namespace gc::sim {

namespace {

using gc::model::tx;

[[nodiscard]] std::string bitsText(int bits) { return tx("%1 бит", {std::to_string(bits)}); }

}  // namespace

std::vector<ParameterRow> describeParameters(const ModelParameters& p) {
    std::vector<ParameterRow> rows;
    const auto add = [&rows](std::string name, std::string value, std::string meaning) {
        rows.push_back({std::move(name), std::move(value), std::move(meaning)});
    };
    add("clockHz",
        p.clockHz > 0.0 ? tx("%1 Гц", {std::to_string(static_cast<long long>(p.clockHz))})
                        : tx("из заголовка программного файла"),
        tx("Тактовая частота входа: на ней работают NCO и интеграторы CIC"));
    add("resamplerPhases",
        p.resamplerPhases > 0 ? std::to_string(p.resamplerPhases)
                              : tx("наибольшая 2^k <= 64 при 2^k x NMULT <= 512"),
        tx("Число фаз ресемплера NDELAY (в регистрах только NMULT)"));
    add("inputBits", p.inputBits > 0 ? bitsText(p.inputBits) : tx("по регистру Input (14 или 16)"),
        tx("Входное слово: отсчёты округляются до него и входят 19-битным словом"));
    add("ncoAmplitudeBits", bitsText(p.ncoAmplitudeBits),
        tx("Амплитуда синуса и косинуса NCO, со знаком"));
    add("ncoTableBits", bitsText(p.ncoTableBits),
        tx("Старшие разряды фазы, адресующие таблицу синуса и косинуса"));
    add("ncoPhaseDither", p.ncoPhaseDither ? tx("вкл") : tx("выкл"),
        tx("Случайные младшие разряды фазы перед выборкой из таблицы"));
    add("mixerNarrowBits", bitsText(p.mixerNarrowBits), tx("Выход смесителя без режима 20 бит"));
    add("rounding", p.rounding == Rounding::HalfUp ? tx("половина вверх") : tx("отбрасывание"),
        tx("Каждое округление в тракте"));
    add("cicIntegrators", tx("достаточной ширины, по модулю"),
        tx("Интеграторы CIC не теряют разрядов, предмасштаб 2^(shift+scale+6 bigScale-62) "
           "тоже (неизменно)"));
    add("cicOutputBits", bitsText(p.cicOutputBits),
        tx("Выходное слово CIC с насыщением; переполнение считается выше полной шкалы"));
    add("coarseOutputBits", bitsText(p.coarseOutputBits),
        tx("Грубое усиление x 2^coarse (0..7) между CIC и CFIR, с насыщением"));
    add("cfirOutputBits", bitsText(p.cfirOutputBits),
        tx("CFIR: сумма полной точности / 2^16, округление, насыщение до этого слова"));
    add("pfirOutputBits", bitsText(p.pfirOutputBits), tx("PFIR: как CFIR"));
    add("resamplerInputBits", bitsText(p.resamplerInputBits),
        tx("Точное усиление FINE_GAIN/1024 между PFIR и ресемплером, округление и насыщение до "
           "этого слова"));
    add("resamplerNearestPhase", p.resamplerNearestPhase ? tx("ближайшая") : tx("нижняя"),
        tx("Ветвь полифазного фильтра для момента выходного отсчёта"));
    add("resamplerOutputBits", bitsText(p.resamplerOutputBits),
        tx("Ресемплер: сумма полной точности x 2^(finalShift-15), округление, насыщение"));
    add("outputBits", p.outputBits > 0 ? bitsText(p.outputBits) : tx("по полю Round (12/16/20/24)"),
        tx("Выходное слово, округление и насыщение"));
    add("pairModes", tx("чередование CIC пары"),
        tx("Режимы 2 и 1 канала: CIC пары децимируют со сдвигом в полпериода и чередуются "
           "(вход CFIR 2 clock/D); в режиме 1 канала PFIR не децимирует (неизменно)"));
    return rows;
}

}  // namespace gc::sim
