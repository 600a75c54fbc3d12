#include "chip/ChipConfigFile.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <string_view>
#include <vector>

#include "chip/FixedText.h"
#include "model/Numeric.h"
#include "model/TextFile.h"

namespace gc::chip {

namespace {

using gc::model::formatString;

constexpr std::string_view kHeader = "*** Config Graychip ****";
constexpr std::string_view kGlobalCaption = "--- Global Registers ---";
constexpr std::string_view kResamplerCaption = "------ Resampler -------";
constexpr std::string_view kOutputCaption = "----OutputControl ------";

[[nodiscard]] unsigned hex(int value) { return static_cast<unsigned>(value); }

// Appends `lead` and `count` decimal values separated by single blanks.
void appendRow(std::string& text, const char* lead, const int* values, int count) {
    text += lead;
    for (int i = 0; i < count; ++i) {
        if (i > 0) text += ' ';
        text += std::to_string(values[i]);
    }
}

void appendChannel(std::string& text, const RegisterChannel& ch, int k) {
    text += formatString("\n--- Mode Channel %d ---", k);
    appendRow(text, "\nCFIR[]= ", ch.CFIR.data(), 11);
    appendRow(text, "\nPFIR[]= ", ch.PFIR.data(), 11);
    appendRow(text, "\n         ", ch.PFIR.data() + 11, 11);
    appendRow(text, "\n         ", ch.PFIR.data() + 22, 10);
    text += ' ';  // the last PFIR row ends with a blank
    text += "\nPhase= " + fixedSixDecimals(static_cast<double>(ch.Phase));
    text += formatString("\nFrequency= %d", ch.Frequency);
    text += formatString("\nChannelReset= %x", hex(ch.ChannelReset));
    text += formatString("\nFrequencySync= %x", hex(ch.FrequencySync));
    text += formatString("\nNCOSync= %x", hex(ch.NCOSync));
    text += formatString("\nBlank= %x", hex(ch.Blank));
    text += formatString("\nDecSync= %x", hex(ch.DecSync));
    text += formatString("\nDecimationRatio= %x", hex(ch.DecimationRatio));
    text += formatString("\nCICScale= %x", hex(ch.CICScale));
    text += formatString("\nSplitIQ= %x", hex(ch.SplitIQ));
    text += formatString("\nCFIRControl= %x", hex(ch.CFIRControl));
    text += formatString("\nPFIRControl= %x", hex(ch.PFIRControl));
    text += formatString("\nInput= %x", hex(ch.Input));
    text += formatString("\nPeakControl= %x", hex(ch.PeakControl));
    text += formatString("\nFineGain= %x", hex(ch.FineGain));
}

// ---- reading ----

// Any line that is not as expected; caught in parseChipConfiguration, never escapes.
struct DamagedFile {};

[[nodiscard]] bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

[[nodiscard]] int digitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

// One integer at the start of `text` as the C library converts it: leading white space, an
// optional sign, for base 16 an optional "0x", then digits of the base up to the first other
// character. Advances `text` past it; nothing when no digit is there. Decimal values saturate
// to the 32-bit range; hexadecimal ones name a 32-bit pattern ("ffffff9c" is -100, as "%x"
// writes it), saturating at 0xffffffff.
[[nodiscard]] bool takeInt(std::string_view& text, int base, int& out) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (base == 16 && i + 2 < text.size() && text[i] == '0' &&
        (text[i + 1] == 'x' || text[i + 1] == 'X') && digitValue(text[i + 2]) < 16)
        i += 2;
    const std::size_t firstDigit = i;
    constexpr std::uint64_t kCap = 0x100000000ULL;  // above every 32-bit magnitude
    std::uint64_t magnitude = 0;
    for (; i < text.size() && digitValue(text[i]) < base; ++i)
        magnitude = std::min(kCap, magnitude * static_cast<std::uint64_t>(base) +
                                       static_cast<std::uint64_t>(digitValue(text[i])));
    if (i == firstDigit) return false;
    text.remove_prefix(i);

    if (base == 16) {
        auto pattern =
            static_cast<std::uint32_t>(std::min<std::uint64_t>(magnitude, 0xffffffffULL));
        if (negative) pattern = 0u - pattern;
        out = static_cast<int>(pattern);
        return true;
    }
    const std::int64_t value =
        negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    if (value > std::numeric_limits<int>::max())
        out = std::numeric_limits<int>::max();
    else if (value < std::numeric_limits<int>::min())
        out = std::numeric_limits<int>::min();
    else
        out = static_cast<int>(value);
    return true;
}

// A single value; a missing number gives 0.
[[nodiscard]] int singleInt(std::string_view text, int base) {
    int value = 0;
    return takeInt(text, base, value) ? value : 0;
}

// Exactly `count` numbers separated by white space; fewer make the file damaged, so that no
// entry silently keeps a value the file did not give. Anything after them is ignored.
template <std::size_t N>
void rowInts(std::string_view text, int base, int* out) {
    for (std::size_t i = 0; i < N; ++i)
        if (!takeInt(text, base, out[i])) throw DamagedFile{};
}

// A decimal real number at the start of the text, truncated toward zero; 0 when there is none.
[[nodiscard]] int truncatedReal(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) return 0;  // no second sign
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    double value = 0.0;
    const auto result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ptr == first) return 0;
    if (result.ec == std::errc::result_out_of_range) {
        // Too large saturates; too small is 0.
        const std::string_view number(first, static_cast<std::size_t>(result.ptr - first));
        const auto e = number.find_first_of("eE");
        const bool tiny =
            e != std::string_view::npos && e + 1 < number.size() && number[e + 1] == '-';
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return gc::model::truncToInt(negative ? -value : value);
}

class LineCursor {
  public:
    explicit LineCursor(const std::vector<std::string>& lines) : lines_(lines) {}

    // The next line, whatever it holds; the end of the file makes it damaged.
    [[nodiscard]] std::string_view any() {
        if (next_ >= lines_.size()) throw DamagedFile{};
        return lines_[next_++];
    }

    // The next line, which must begin with `key` (case-sensitive, the whole key); returns the
    // value text, which starts one character after the key (the blank after the "=").
    [[nodiscard]] std::string_view keyed(std::string_view key) {
        const std::string_view line = any();
        if (line.substr(0, key.size()) != key) throw DamagedFile{};
        return line.size() > key.size() + 1 ? line.substr(key.size() + 1) : std::string_view{};
    }

    void caption(std::string_view key) { static_cast<void>(keyed(key)); }
    [[nodiscard]] int hexValue(std::string_view key) { return singleInt(keyed(key), 16); }

  private:
    const std::vector<std::string>& lines_;
    std::size_t next_ = 0;
};

void readChannel(LineCursor& in, RegisterChannel& ch) {
    static_cast<void>(in.any());  // "--- Mode Channel k ---": content ignored
    rowInts<11>(in.keyed("CFIR[]="), 10, ch.CFIR.data());
    rowInts<11>(in.keyed("PFIR[]="), 10, ch.PFIR.data());
    rowInts<11>(in.any(), 10, ch.PFIR.data() + 11);
    rowInts<10>(in.any(), 10, ch.PFIR.data() + 22);
    ch.Phase = truncatedReal(in.keyed("Phase="));
    ch.Frequency = singleInt(in.keyed("Frequency="), 10);
    ch.ChannelReset = in.hexValue("ChannelReset=");
    ch.FrequencySync = in.hexValue("FrequencySync=");
    ch.NCOSync = in.hexValue("NCOSync=");
    ch.Blank = in.hexValue("Blank=");
    ch.DecSync = in.hexValue("DecSync=");
    ch.DecimationRatio = in.hexValue("DecimationRatio=");
    ch.CICScale = in.hexValue("CICScale=");
    ch.SplitIQ = in.hexValue("SplitIQ=");
    ch.CFIRControl = in.hexValue("CFIRControl=");
    ch.PFIRControl = in.hexValue("PFIRControl=");
    ch.Input = in.hexValue("Input=");
    ch.PeakControl = in.hexValue("PeakControl=");
    ch.FineGain = in.hexValue("FineGain=");
}

void readAll(LineCursor& in, RegisterImage& r) {
    in.caption(kHeader);
    in.caption(kGlobalCaption);
    r.GlobalReset = in.hexValue("GlobalReset=");
    r.Status = in.hexValue("Status=");
    r.Page = in.hexValue("Page=");
    r.GeneralSyncs = in.hexValue("GeneralSyncs=");
    r.CountSync = in.hexValue("CountSync=");
    r.CounterByte0 = in.hexValue("CounterByte0=");
    r.CounterByte1 = in.hexValue("CounterByte1=");
    for (auto& ch : r.Channels) readChannel(in, ch);

    in.caption(kResamplerCaption);
    rowInts<6>(in.keyed("ResamplerCoeff[]="), 10, r.ResamplerCoeff.data());
    for (std::size_t row = 0; row < 25; ++row)
        rowInts<10>(in.any(), 10, r.ResamplerCoeff.data() + 6 + 10 * row);
    r.NChannels = in.hexValue("NChannels=");
    r.NMultiplies = in.hexValue("NMultiplies=");
    r.FilterSelect = in.hexValue("FilterSelect=");
    r.FinalShift = in.hexValue("FinalShift=");
    r.ChannelMap = in.hexValue("ChannelMap=");
    r.AddTo = in.hexValue("AddTo=");
    r.ClockDivide = in.hexValue("ClockDivide=");
    r.RatioMap = in.hexValue("RatioMap=");
    rowInts<4>(in.keyed("ResamplerRatio[]="), 16, r.ResamplerRatio.data());

    in.caption(kOutputCaption);
    r.TristateControl = in.hexValue("TristateControl=");
    r.OutputFormat = in.hexValue("OutputFormat=");
    r.OutputMode = in.hexValue("OutputMode=");
    r.OutputFrameControl = in.hexValue("OutputFrameControl=");
    r.OutputWordSize = in.hexValue("OutputWordSize=");
    r.OutputClockControl = in.hexValue("OutputClockControl=");
    r.SerialMixControl = in.hexValue("SerialMixControl=");
    rowInts<4>(in.keyed("OutputTag[]="), 16, r.OutputTag.data());
    r.Miscell = in.hexValue("Miscell=");
}

}  // namespace

std::string chipConfigurationText(const RegisterImage& r) {
    std::string text(kHeader);
    text += '\n';
    text += kGlobalCaption;
    text += formatString("\nGlobalReset= %x", hex(r.GlobalReset));
    text += formatString("\nStatus= %x", hex(r.Status));
    text += formatString("\nPage= %x", hex(r.Page));
    text += formatString("\nGeneralSyncs= %x", hex(r.GeneralSyncs));
    text += formatString("\nCountSync= %x", hex(r.CountSync));
    text += formatString("\nCounterByte0= %x", hex(r.CounterByte0));
    text += formatString("\nCounterByte1= %x", hex(r.CounterByte1));
    for (std::size_t k = 0; k < r.Channels.size(); ++k)
        appendChannel(text, r.Channels[k], static_cast<int>(k));

    text += '\n';
    text += kResamplerCaption;
    appendRow(text, "\nResamplerCoeff[]= ", r.ResamplerCoeff.data(), 6);
    for (std::size_t row = 0; row < 25; ++row)
        appendRow(text, "\n               ", r.ResamplerCoeff.data() + 6 + 10 * row, 10);
    text += formatString("\nNChannels= %x", hex(r.NChannels));
    text += formatString("\nNMultiplies= %x", hex(r.NMultiplies));
    text += formatString("\nFilterSelect= %x", hex(r.FilterSelect));
    text += formatString("\nFinalShift= %x", hex(r.FinalShift));
    text += formatString("\nChannelMap= %x", hex(r.ChannelMap));
    text += formatString("\nAddTo= %x", hex(r.AddTo));
    text += formatString("\nClockDivide= %x", hex(r.ClockDivide));
    text += formatString("\nRatioMap= %x", hex(r.RatioMap));
    text +=
        formatString("\nResamplerRatio[]= %x %x %x %x", hex(r.ResamplerRatio[0]),
                     hex(r.ResamplerRatio[1]), hex(r.ResamplerRatio[2]), hex(r.ResamplerRatio[3]));

    text += '\n';
    text += kOutputCaption;
    text += formatString("\nTristateControl= %x", hex(r.TristateControl));
    text += formatString("\nOutputFormat= %x", hex(r.OutputFormat));
    text += formatString("\nOutputMode= %x", hex(r.OutputMode));
    text += formatString("\nOutputFrameControl= %x", hex(r.OutputFrameControl));
    text += formatString("\nOutputWordSize= %x", hex(r.OutputWordSize));
    text += formatString("\nOutputClockControl= %x", hex(r.OutputClockControl));
    text += formatString("\nSerialMixControl= %x", hex(r.SerialMixControl));
    text += formatString("\nOutputTag[]= %x %x %x %x", hex(r.OutputTag[0]), hex(r.OutputTag[1]),
                         hex(r.OutputTag[2]), hex(r.OutputTag[3]));
    text += formatString("\nMiscell= %x", hex(r.Miscell));
    return text;
}

gc::model::WriteResult writeChipConfiguration(const std::string& path, const RegisterImage& image) {
    return gc::model::writeFileAtomically(path, chipConfigurationText(image));
}

ChipConfigStatus parseChipConfiguration(const std::string& text, RegisterImage& image) {
    return parseChipConfigurationLines(gc::model::splitLines(text), image);
}

ChipConfigStatus parseChipConfigurationLines(const std::vector<std::string>& lines,
                                             RegisterImage& image) {
    LineCursor in(lines);
    // Staged on a copy: the image changes only when the whole file was recognised. The derived
    // NCO words are not in the file and keep their values.
    RegisterImage staging = image;
    try {
        readAll(in, staging);
    } catch (const DamagedFile&) {
        return ChipConfigStatus::Damaged;
    }
    image = staging;
    return ChipConfigStatus::Ok;
}

ChipConfigStatus readChipConfiguration(const std::string& path, RegisterImage& image) {
    using gc::model::TextReadStatus;
    // Only the file's own lines are read; anything after "Miscell=" is never looked at.
    const gc::model::TextLines file = gc::model::readTextLines(path, kChipConfigLineCount);
    switch (file.read.status) {
        case TextReadStatus::Ok:
            return parseChipConfigurationLines(file.lines, image);
        case TextReadStatus::Missing:
        case TextReadStatus::Unreadable:
            return ChipConfigStatus::Missing;
        case TextReadStatus::NotRegular:
        case TextReadStatus::TooLarge:
            return ChipConfigStatus::Damaged;
    }
    return ChipConfigStatus::Damaged;
}

}  // namespace gc::chip
