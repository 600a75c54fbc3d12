#include "filters/TapFiles.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "model/ConfigurationModel.h"
#include "model/Language.h"
#include "model/TextFile.h"

namespace gc::filters {

namespace {

using gc::model::ConfigurationModel;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

enum class LineKind { Blank, Number, Text };

// The integer a line starts with, after leading blanks. Digits are accumulated modulo 2^32,
// which keeps the low bits of any length of number exact and never overflows.
LineKind parseLine(std::string_view line, std::uint32_t& lowBits) {
    size_t i = 0;
    while (i < line.size() && isBlank(line[i])) ++i;
    if (i == line.size()) return LineKind::Blank;
    bool negative = false;
    if (line[i] == '+' || line[i] == '-') {
        negative = line[i] == '-';
        ++i;
    }
    if (i == line.size() || !isDigit(line[i])) return LineKind::Text;
    std::uint32_t value = 0;
    for (; i < line.size() && isDigit(line[i]); ++i)
        value = value * 10u + static_cast<std::uint32_t>(line[i] - '0');
    lowBits = negative ? 0u - value : value;
    return LineKind::Number;
}

int signExtend(std::uint32_t value, int bits) {
    if (bits >= 32) return static_cast<int>(static_cast<std::int32_t>(value));
    const std::uint32_t mask = (std::uint32_t{1} << bits) - 1u;
    const std::uint32_t sign = std::uint32_t{1} << (bits - 1);
    const std::uint32_t low = value & mask;
    const std::int64_t extended =
        (low & sign) ? static_cast<std::int64_t>(low) - (std::int64_t{1} << bits) : low;
    return static_cast<int>(extended);
}

bool validChannel(int channel) { return channel >= 0 && channel < gc::model::kChannelCount; }

// A CFIR or PFIR file of exactly N taps into the file buffer and the taps in use.
template <size_t N>
TapFileStatus readFirFile(const std::string& path, std::array<int, N>& fileTaps,
                          std::array<int, N>& tapsInUse) {
    const TapFileRead read = ReadTapFile(path, kFirTapBits);
    if (!read.opened) return TapFileStatus::Missing;
    if (read.damaged || read.taps.size() != N) return TapFileStatus::Damaged;
    std::copy(read.taps.begin(), read.taps.end(), fileTaps.begin());
    tapsInUse = fileTaps;
    return TapFileStatus::Ok;
}

}  // namespace

int reduceToBits(long long value, int bits) {
    return signExtend(static_cast<std::uint32_t>(static_cast<unsigned long long>(value)),
                      std::clamp(bits, 1, 32));
}

TapFileRead ReadTapFile(const std::string& path, int bits) {
    TapFileRead result;
    const int width = std::clamp(bits, 1, 32);
    bool first = true;
    // Reading stops at the 512th number or the first line that is none.
    const gc::model::TextRead read = gc::model::forEachLine(path, [&](std::string_view line) {
        constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
        if (first && line.substr(0, kByteOrderMark.size()) == kByteOrderMark)
            line.remove_prefix(kByteOrderMark.size());
        first = false;
        std::uint32_t value = 0;
        switch (parseLine(line, value)) {
            case LineKind::Blank:
                return true;
            case LineKind::Number:
                result.taps.push_back(signExtend(value, width));
                return static_cast<int>(result.taps.size()) < kTapFileMaxTaps;
            case LineKind::Text:
                result.damaged = true;
                return false;
        }
        return false;
    });
    switch (read.status) {
        case gc::model::TextReadStatus::Ok:
            result.opened = true;
            break;
        case gc::model::TextReadStatus::Missing:
        case gc::model::TextReadStatus::Unreadable:
            result = TapFileRead{};
            break;
        case gc::model::TextReadStatus::NotRegular:
        case gc::model::TextReadStatus::TooLarge:
            result = TapFileRead{};
            result.opened = true;
            result.damaged = true;
            break;
    }
    return result;
}

TapFileStatus ReadCfirTapFile(ConfigurationModel& model, const std::string& path, int channel) {
    if (!validChannel(channel)) return TapFileStatus::Missing;
    return readFirFile(path, model.CfirFileTaps[channel], model.CfirTaps[channel]);
}

TapFileStatus ReadPfirTapFile(ConfigurationModel& model, const std::string& path, int channel) {
    if (!validChannel(channel)) return TapFileStatus::Missing;
    return readFirFile(path, model.PfirFileTaps[channel], model.PfirTaps[channel]);
}

TapFileStatus ReadResamplerTapFile(ConfigurationModel& model, const std::string& path) {
    const TapFileRead read = ReadTapFile(path, kResamplerTapBits);
    if (!read.opened) return TapFileStatus::Missing;
    if (read.damaged) return TapFileStatus::Damaged;
    model.ResamplerTaps.fill(0);
    model.ResamplerFileTaps.fill(0);
    std::copy(read.taps.begin(), read.taps.end(), model.ResamplerFileTaps.begin());
    model.ResamplerFileTapCount = static_cast<int>(read.taps.size());
    return TapFileStatus::Ok;
}

std::string tapFileText(const int* taps, int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += gc::model::formatString(" %d\n", taps[i]);
    return text;
}

gc::model::WriteResult WriteCfirTapFile(const ConfigurationModel& model, const std::string& path) {
    const auto& taps = model.CfirTaps[model.currentIndex()];
    return gc::model::writeFileAtomically(path,
                                          tapFileText(taps.data(), static_cast<int>(taps.size())));
}

gc::model::WriteResult WritePfirTapFile(const ConfigurationModel& model, const std::string& path) {
    const auto& taps = model.PfirTaps[model.currentIndex()];
    return gc::model::writeFileAtomically(path,
                                          tapFileText(taps.data(), static_cast<int>(taps.size())));
}

gc::model::WriteResult WriteResamplerTapFile(const ConfigurationModel& model,
                                             const std::string& path) {
    const int count = std::clamp(model.Work.ResamplerTapCount, 0, gc::model::kResamplerTapMax);
    return gc::model::writeFileAtomically(path, tapFileText(model.ResamplerTaps.data(), count));
}

std::vector<std::string> tapFileReportLabels(TapKind kind, const std::string& path,
                                             TapFileStatus status) {
    if (status == TapFileStatus::Ok) return {};
    using gc::model::tx;
    std::string what = kind == TapKind::Cfir   ? tx("Файл коэфициентов CFIR")
                       : kind == TapKind::Pfir ? tx("Файл коэфициентов PFIR")
                                               : tx("Файл коэфициентов RFIR");
    return {std::move(what), path,
            status == TapFileStatus::Missing ? tx("отсутствует!") : tx("поврежден!")};
}

}  // namespace gc::filters
