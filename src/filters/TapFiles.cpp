#include "filters/TapFiles.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "filters/TapImport.h"
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

// A CFIR or PFIR file of exactly N taps, in any format importTapFile recognises, into the file
// buffer and the taps in use.
template <size_t N>
TapFileStatus readFirFile(const std::string& path, TapKind kind, std::array<int, N>& fileTaps,
                          std::array<int, N>& tapsInUse, TapImport* detail) {
    TapImport imported = importTapFile(path, kind);
    const TapFileStatus status = imported.status;
    if (status == TapFileStatus::Ok && imported.taps.size() == N) {
        std::copy(imported.taps.begin(), imported.taps.end(), fileTaps.begin());
        tapsInUse = fileTaps;
    }
    if (detail) *detail = std::move(imported);
    return status;
}

// One line of a tap file into `result`; false when reading stops (the 512th number, or a line
// that is no number, which marks the file damaged).
bool takeTapLine(std::string_view line, int width, bool& first, TapFileRead& result) {
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
}

}  // namespace

TapFileRead readTapText(std::string_view text, int bits) {
    TapFileRead result;
    result.opened = true;
    const int width = std::clamp(bits, 1, 32);
    bool first = true;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!takeTapLine(line, width, first, result)) break;
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return result;
}

int reduceToBits(long long value, int bits) {
    return signExtend(static_cast<std::uint32_t>(static_cast<unsigned long long>(value)),
                      std::clamp(bits, 1, 32));
}

TapFileRead ReadTapFile(const std::string& path, int bits) {
    TapFileRead result;
    const int width = std::clamp(bits, 1, 32);
    bool first = true;
    // Reading stops at the 512th number or the first line that is none.
    const gc::model::TextRead read = gc::model::forEachLine(
        path, [&](std::string_view line) { return takeTapLine(line, width, first, result); });
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

TapFileStatus ReadCfirTapFile(ConfigurationModel& model, const std::string& path, int channel,
                              TapImport* detail) {
    if (!validChannel(channel)) return TapFileStatus::Missing;
    return readFirFile(path, TapKind::Cfir, model.CfirFileTaps[channel], model.CfirTaps[channel],
                       detail);
}

TapFileStatus ReadPfirTapFile(ConfigurationModel& model, const std::string& path, int channel,
                              TapImport* detail) {
    if (!validChannel(channel)) return TapFileStatus::Missing;
    return readFirFile(path, TapKind::Pfir, model.PfirFileTaps[channel], model.PfirTaps[channel],
                       detail);
}

TapFileStatus ReadResamplerTapFile(ConfigurationModel& model, const std::string& path,
                                   TapImport* detail) {
    TapImport imported = importTapFile(path, TapKind::Rfir);
    const TapFileStatus status = imported.status;
    if (status == TapFileStatus::Ok) {
        model.ResamplerTaps.fill(0);
        model.ResamplerFileTaps.fill(0);
        std::copy(imported.taps.begin(), imported.taps.end(), model.ResamplerFileTaps.begin());
        model.ResamplerFileTapCount = static_cast<int>(imported.taps.size());
    }
    if (detail) *detail = std::move(imported);
    return status;
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
