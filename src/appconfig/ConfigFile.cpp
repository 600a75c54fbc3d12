#include "appconfig/ConfigFile.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <type_traits>
#include <vector>

#include "model/TextFile.h"

namespace gc::appconfig {

using gc::model::ChannelSettings;
using gc::model::ChipSettings;
using gc::model::ConfigurationModel;
using gc::model::kChannelCount;

namespace {

enum class Kind { Marker, Decimal, Hex, Real, Name };

// One line of the file. A key line is `key`, one blank and the value; numbers are followed by
// one more blank. The reader compares the first `compared` characters of the line with the
// key's and takes the value from offset key.size() + 1.
struct Line {
    std::string key;  // the whole marker line, or the key with its "="
    size_t compared{0};
    Kind kind{Kind::Marker};
    int* integer{nullptr};
    float* real{nullptr};
    std::string* name{nullptr};
};

// The parts of the file: the required head, then three optional parts, each present when its
// first line matches. All lines of a present part are required.
struct Part {
    size_t first;
    size_t count;
    bool absenceEndsReading;  // otherwise the line read in place of the opener is dropped
};

constexpr size_t kRequiredLines = 57;  // header .. NameOfRFIR
constexpr Part kOptionalParts[] = {
    {57, 13, false},  // "*** New Param  ***", Fc0 .. ChannelReset3
    {70, 12, true},   // ModeOfDdc .. VokType
    {82, 4, true},    // CoefInterpol0 .. CoefInterpol3
};
constexpr size_t kLineCount = 86;

Line marker(const std::string& text) { return Line{text, text.size(), Kind::Marker}; }

Line integerLine(const std::string& key, int& field, Kind kind = Kind::Decimal) {
    Line l{key, key.size(), kind};
    l.integer = &field;
    return l;
}

Line realLine(const std::string& key, float& field) {
    Line l{key, key.size(), Kind::Real};
    l.real = &field;
    return l;
}

Line nameLine(const std::string& key, std::string& field) {
    Line l{key, key.size(), Kind::Name};
    l.name = &field;
    return l;
}

// The file's lines in order, bound to the fields they carry. The head (channel blocks, Clock,
// NameOfCFG, resampler block) binds to `channels` and `headChip`, the optional parts to
// `tailChip`; the reader holds the head aside in copies, the writer passes the model itself.
std::vector<Line> fileLayout(std::array<ChannelSettings, kChannelCount>& channels,
                             ChipSettings& headChip, ChipSettings& tailChip) {
    std::vector<Line> lines;
    lines.reserve(kLineCount);
    lines.push_back(marker("*** Config of Tessarovink ***"));
    lines.push_back(integerLine("Clock=", headChip.Clock));
    lines.push_back(nameLine("NameOfCFG=", headChip.NameOfCFG));
    for (int c = 0; c < kChannelCount; ++c) {
        ChannelSettings& ch = channels[c];
        lines.push_back(marker("*** Filter of Channel " + std::to_string(c) + " ***"));
        lines.push_back(integerLine("Mix20bit=", ch.Mix20bit));
        lines.push_back(integerLine("Shift=", ch.Shift));
        lines.push_back(integerLine("Scale=", ch.Scale));
        lines.push_back(integerLine("BigScale=", ch.BigScale));
        lines.push_back(integerLine("Decimation=", ch.Decimation));
        lines.push_back(integerLine("CoarseGain=", ch.CoarseGain));
        lines.push_back(integerLine("FineGain=", ch.FineGain));
        lines.push_back(integerLine("IndexCFIR=", ch.IndexCFIR));
        lines.push_back(integerLine("IndexPFIR=", ch.IndexPFIR));
        lines.push_back(nameLine("NameOfCFIR=", ch.NameOfCFIR));
        lines.push_back(nameLine("NameOfPFIR=", ch.NameOfPFIR));
    }
    lines.push_back(marker("*** Resampler of GC4016 ***"));
    lines.push_back(integerLine("CoeffInterpol=", headChip.CoeffInterpol, Kind::Hex));
    lines.push_back(integerLine("NumMultiplies=", headChip.NumMultiplies, Kind::Hex));
    lines.push_back(integerLine("FinalShift=", headChip.FinalShift));
    lines.push_back(integerLine("IndexRFIR=", headChip.IndexRFIR));
    lines.push_back(nameLine("NameOfRFIR=", headChip.NameOfRFIR));

    lines.push_back(marker("*** New Param  ***"));
    const auto perChannel = [&](const std::string& stem, auto& values) {
        for (int c = 0; c < kChannelCount; ++c) {
            const std::string key = stem + std::to_string(c) + "=";
            if constexpr (std::is_same_v<std::decay_t<decltype(values[0])>, float>) {
                lines.push_back(realLine(key, values[c]));
            } else {
                lines.push_back(integerLine(key, values[c]));
            }
        }
    };
    perChannel("Fc", tailChip.Fc);
    perChannel("InputPort", tailChip.InputPort);
    perChannel("ChannelReset", tailChip.ChannelReset);
    lines.push_back(integerLine("ModeOfDdc=", tailChip.ModeOfDdc));
    perChannel("Phase", tailChip.Phase);
    lines.push_back(integerLine("MaskChan1x=", tailChip.MaskChan1x));
    lines.push_back(integerLine("MaskChan2x=", tailChip.MaskChan2x));
    lines.push_back(integerLine("MaskChan4x=", tailChip.MaskChan4x));
    lines.push_back(integerLine("AsyncMode=", tailChip.AsyncMode));
    Line comb = integerLine("CombConfigPlis=", tailChip.CombConfigPlis);
    comb.compared = 5;  // older files are recognised by "CombC" alone
    lines.push_back(comb);
    lines.push_back(integerLine("FullDebug=", tailChip.FullDebug));
    lines.push_back(integerLine("VokType=", tailChip.VokType));
    perChannel("CoefInterpol", tailChip.CoefInterpol);
    return lines;
}

std::string lineText(const Line& line) {
    switch (line.kind) {
        case Kind::Marker:
            return line.key + "\n";
        case Kind::Decimal:
            return line.key + " " + std::to_string(*line.integer) + " \n";
        case Kind::Hex: {
            char buf[16];
            const auto pattern = static_cast<std::uint32_t>(*line.integer);
            const auto res = std::to_chars(buf, buf + sizeof buf, pattern, 16);
            return line.key + " " + std::string(buf, res.ptr) + " \n";
        }
        case Kind::Real:
            return line.key + " " + formatRealValue(*line.real) + " \n";
        case Kind::Name:
            return line.key + " " + *line.name + "\n";
    }
    return {};
}

bool matches(const std::string& text, const Line& line) {
    return text.size() >= line.compared &&
           text.compare(0, line.compared, line.key, 0, line.compared) == 0;
}

void store(const Line& line, const std::string& text) {
    const size_t offset = line.key.size() + 1;
    const std::string value = offset < text.size() ? text.substr(offset) : std::string();
    switch (line.kind) {
        case Kind::Marker:
            break;
        case Kind::Decimal:
            *line.integer = parseDecimalValue(value);
            break;
        case Kind::Hex:
            *line.integer = parseHexValue(value);
            break;
        case Kind::Real:
            *line.real = parseRealValue(value);
            break;
        case Kind::Name: {
            // A name written on another system may carry its line end's "\r" or blanks.
            std::string name = value;
            while (!name.empty() &&
                   (name.back() == '\r' || name.back() == ' ' || name.back() == '\t'))
                name.pop_back();
            *line.name = std::move(name);
            break;
        }
    }
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Whether the decimal number in [first, last) (digits, point, exponent) lies beyond the
// floating-point range rather than below it: the decimal exponent of its leading digit is
// positive.
bool beyondRange(const char* first, const char* last) {
    long long lead = 0;
    bool found = false;
    const char* p = first;
    for (; p < last && isDigit(*p); ++p) {
        if (found) {
            ++lead;
        } else if (*p != '0') {
            found = true;
        }
    }
    if (p < last && *p == '.') {
        for (++p; p < last && isDigit(*p); ++p) {
            if (!found) {
                --lead;
                found = *p != '0';
            }
        }
    }
    if (!found) return false;
    if (p < last && (*p == 'e' || *p == 'E')) {
        ++p;
        bool negative = false;
        if (p < last && (*p == '+' || *p == '-')) negative = *p++ == '-';
        long long exponent = 0;
        for (; p < last && isDigit(*p); ++p) {
            if (exponent < 1'000'000'000) exponent = exponent * 10 + (*p - '0');
        }
        lead += negative ? -exponent : exponent;
    }
    return lead > 0;
}

}  // namespace

int parseDecimalValue(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    constexpr long long kLimit = 1LL << 32;
    long long magnitude = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        if (magnitude < kLimit) magnitude = magnitude * 10 + (text[i] - '0');
    }
    const long long value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

int parseHexValue(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i + 2 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        hexDigit(text[i + 2]) >= 0) {
        i += 2;
    }
    constexpr std::uint64_t kAllOnes = 0xffffffffu;
    std::uint64_t pattern = 0;
    for (; i < text.size() && hexDigit(text[i]) >= 0; ++i) {
        pattern = pattern * 16 + static_cast<std::uint64_t>(hexDigit(text[i]));
        if (pattern > kAllOnes) pattern = kAllOnes;
    }
    if (negative) pattern = (0x100000000u - pattern) & kAllOnes;
    // The 32-bit pattern as a two's-complement value.
    const auto wide = static_cast<long long>(pattern);
    return static_cast<int>(wide > std::numeric_limits<int>::max() ? wide - 0x100000000LL : wide);
}

float parseRealValue(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // from_chars would take a second sign; a number has only one.
    if (i >= text.size() || text[i] == '+' || text[i] == '-') return 0.0f;
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    float value = 0.0f;
    const auto res = std::from_chars(first, last, value, std::chars_format::general);
    if (res.ec == std::errc::invalid_argument) return 0.0f;
    if (res.ec == std::errc::result_out_of_range) {
        value = beyondRange(first, res.ptr) ? std::numeric_limits<float>::infinity() : 0.0f;
    }
    return negative ? -value : value;
}

std::string formatRealValue(float value) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value),
                                   std::chars_format::fixed, 6);
    return std::string(buf, res.ptr);
}

std::string configurationText(ConfigurationModel& model) {
    for (int c = 0; c < kChannelCount; ++c) {
        model.Channels[c].IndexCFIR = model.Work.CfirSelection[c];
        model.Channels[c].IndexPFIR = model.Work.PfirSelection[c];
    }
    model.Chip.IndexRFIR = model.Work.RfirSelection;

    std::string text;
    for (const Line& line : fileLayout(model.Channels, model.Chip, model.Chip)) {
        text += lineText(line);
    }
    return text;
}

gc::model::WriteResult writeConfiguration(const std::string& path, ConfigurationModel& model) {
    return gc::model::writeFileAtomically(path, configurationText(model));
}

ConfigReadStatus parseConfiguration(const std::string& text, ConfigurationModel& model) {
    return parseConfigurationLines(gc::model::splitLines(text), model);
}

ConfigReadStatus parseConfigurationLines(const std::vector<std::string>& fileLines,
                                         ConfigurationModel& model) {
    size_t next = 0;
    const auto take = [&]() -> const std::string* {
        return next < fileLines.size() ? &fileLines[next++] : nullptr;
    };

    // The head is read into copies and reaches the model only as the commit rule says.
    std::array<ChannelSettings, kChannelCount> heldChannels = model.Channels;
    ChipSettings heldChip = model.Chip;
    const std::vector<Line> layout = fileLayout(heldChannels, heldChip, model.Chip);

    const auto readRequired = [&](size_t first, size_t count) {
        for (size_t k = first; k < first + count; ++k) {
            const std::string* line = take();
            if (line == nullptr || !matches(*line, layout[k])) return false;
            store(layout[k], *line);
        }
        return true;
    };

    if (!readRequired(0, kRequiredLines)) return ConfigReadStatus::Damaged;
    model.Chip.Clock = heldChip.Clock;
    model.Chip.NameOfCFG = heldChip.NameOfCFG;

    for (const Part& part : kOptionalParts) {
        const std::string* opener = take();
        if (opener == nullptr || !matches(*opener, layout[part.first])) {
            if (part.absenceEndsReading) break;
            continue;
        }
        store(layout[part.first], *opener);
        if (!readRequired(part.first + 1, part.count - 1)) return ConfigReadStatus::Damaged;
    }

    for (int c = 0; c < kChannelCount; ++c) {
        model.Channels[c] = heldChannels[c];  // every ChannelSettings field is in the file
        model.Work.CfirSelection[c] = heldChannels[c].IndexCFIR;
        model.Work.PfirSelection[c] = heldChannels[c].IndexPFIR;
    }
    model.Chip.CoeffInterpol = heldChip.CoeffInterpol;
    model.Chip.NumMultiplies = heldChip.NumMultiplies;
    model.Chip.FinalShift = heldChip.FinalShift;
    model.Chip.IndexRFIR = heldChip.IndexRFIR;
    model.Work.RfirSelection = heldChip.IndexRFIR;
    model.Chip.NameOfRFIR = heldChip.NameOfRFIR;
    return ConfigReadStatus::Ok;
}

ConfigReadStatus readConfiguration(const std::string& path, ConfigurationModel& model,
                                   int* systemError) {
    using gc::model::TextReadStatus;
    // Lines past the last key are never looked at, so never read.
    const gc::model::TextLines file = gc::model::readTextLines(path, kLineCount);
    if (systemError != nullptr) *systemError = file.read.error;
    switch (file.read.status) {
        case TextReadStatus::Ok:
            return parseConfigurationLines(file.lines, model);
        case TextReadStatus::Missing:
            return ConfigReadStatus::Missing;
        case TextReadStatus::Unreadable:
            return ConfigReadStatus::Unreadable;
        case TextReadStatus::NotRegular:
        case TextReadStatus::TooLarge:
            return ConfigReadStatus::Damaged;
    }
    return ConfigReadStatus::Damaged;
}

}  // namespace gc::appconfig
