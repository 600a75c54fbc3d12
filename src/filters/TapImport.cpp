#include "filters/TapImport.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "model/Language.h"
#include "model/TextFile.h"

namespace gc::filters {

namespace {

using gc::model::tx;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHexDigit(char c) { return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
    return s;
}

std::string lowered(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = lower(c);
    return out;
}

int tapBits(TapKind kind) { return kind == TapKind::Rfir ? kResamplerTapBits : kFirTapBits; }

std::string kindName(TapKind kind) {
    return kind == TapKind::Cfir ? "CFIR" : kind == TapKind::Pfir ? "PFIR" : "RESAMPLER";
}

std::string number(long long v) { return std::to_string(v); }

std::string real(double v, int digits = 6) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.*g", digits, v);
    return buf;
}

// One word of the text and the line (from 1) it stands on.
struct Token {
    std::string text;
    int line{0};
};

struct Value {
    double real{0.0};
    long long integer{0};
    bool isInteger{false};
    int line{0};
};

// A decimal integer, a real number ("1.5", "-.25", "3e-4") or, in radix 16, hexadecimal digits;
// an optional sign before any of them.
std::optional<Value> parseNumber(std::string_view text, int radix) {
    Value v;
    std::string_view digits = text;
    bool negative = false;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    if (digits.empty()) return std::nullopt;
    const char* end = digits.data() + digits.size();
    const bool allDigits =
        std::all_of(digits.begin(), digits.end(), radix == 16 ? isHexDigit : isDigit);
    if (allDigits) {
        std::uint64_t magnitude = 0;
        const auto [ptr, ec] = std::from_chars(digits.data(), end, magnitude, radix);
        if (ec != std::errc() || ptr != end || magnitude > (std::uint64_t{1} << 62))
            return std::nullopt;
        v.isInteger = true;
        v.integer =
            negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
        v.real = static_cast<double>(v.integer);
        return v;
    }
    if (radix != 10 || (!isDigit(digits.front()) && digits.front() != '.')) return std::nullopt;
    double magnitude = 0.0;
    const auto [ptr, ec] = std::from_chars(digits.data(), end, magnitude);
    if (ec != std::errc() || ptr != end || !std::isfinite(magnitude)) return std::nullopt;
    v.real = negative ? -magnitude : magnitude;
    return v;
}

// The text of a line before a "%" or "#" comment.
std::string_view withoutComment(std::string_view line) {
    const size_t at = line.find_first_of("%#");
    return at == std::string_view::npos ? line : line.substr(0, at);
}

bool isSeparator(char c) { return isSpace(c) || c == ',' || c == ';'; }

void splitWords(std::string_view text, int line, std::vector<Token>& tokens) {
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isSeparator(text[i])) ++i;
        const size_t start = i;
        while (i < text.size() && !isSeparator(text[i])) ++i;
        if (i > start) tokens.push_back({std::string(text.substr(start, i - start)), line});
    }
}

std::string lineError(int line, const std::string& what) {
    return tx("строка %1: %2", {number(line), what});
}

// Lists: every word of every line.
std::vector<Token> listTokens(const std::vector<std::string>& lines) {
    std::vector<Token> tokens;
    for (size_t i = 0; i < lines.size(); ++i)
        splitWords(withoutComment(lines[i]), static_cast<int>(i + 1), tokens);
    return tokens;
}

// Vectors: the words between "[" and "]"; after "]" only ";", "'", ")" or a comment.
std::vector<Token> vectorTokens(const std::vector<std::string>& lines, std::string& error) {
    std::vector<Token> tokens;
    enum { Before, Inside, After } state = Before;
    for (size_t i = 0; i < lines.size() && error.empty(); ++i) {
        const int line = static_cast<int>(i + 1);
        std::string_view text = withoutComment(lines[i]);
        if (state == Before) {
            const size_t open = text.find('[');
            if (open == std::string_view::npos) continue;
            text.remove_prefix(open + 1);
            state = Inside;
        }
        if (state == Inside) {
            const size_t close = text.find(']');
            std::string_view inside = text.substr(0, close);
            // "..." continues a line.
            std::string words(inside);
            for (size_t at = words.find("..."); at != std::string::npos; at = words.find("..."))
                words.replace(at, 3, " ");
            splitWords(words, line, tokens);
            if (close == std::string_view::npos) continue;
            text.remove_prefix(close + 1);
            state = After;
        }
        for (const char c : text) {
            if (!isSpace(c) && c != ';' && c != '\'' && c != ')') {
                error = lineError(
                    line, tx("лишний текст после \"]\": \"%1\"", {std::string(trim(text))}));
                break;
            }
        }
    }
    if (error.empty() && state != After)
        error = lineError(static_cast<int>(lines.size()), tx("нет закрывающей скобки \"]\""));
    return tokens;
}

// FPGA coefficient files: "key = value;" statements, ";" comment lines; radix and coefdata
// are taken, other keys (coefficient_width, ...) are passed over.
std::vector<Token> coefficientTokens(const std::vector<std::string>& lines, int& radix,
                                     std::string& error) {
    std::vector<Token> tokens;
    radix = 10;
    bool haveData = false;
    std::string statement;
    std::vector<int> statementLines;  // the line of each character of `statement`
    auto finish = [&]() {
        const std::string_view text = trim(statement);
        if (text.empty()) return;
        const int line = statementLines[static_cast<size_t>(text.data() - statement.data())];
        const size_t eq = text.find('=');
        if (eq == std::string_view::npos) {
            error = lineError(line, tx("непонятная запись \"%1\"", {std::string(text)}));
            return;
        }
        const std::string key = lowered(trim(text.substr(0, eq)));
        const size_t valueStart = statement.find('=') + 1;
        if (key == "radix") {
            const std::string value(trim(text.substr(eq + 1)));
            if (value != "10" && value != "16") {
                error = lineError(line, tx("основание %1 не поддерживается (10 или 16)", {value}));
                return;
            }
            radix = value == "10" ? 10 : 16;
        } else if (key == "coefdata") {
            haveData = true;
            size_t i = valueStart;
            while (i < statement.size()) {
                while (i < statement.size() && isSeparator(statement[i])) ++i;
                const size_t start = i;
                while (i < statement.size() && !isSeparator(statement[i])) ++i;
                if (i > start)
                    tokens.push_back({statement.substr(start, i - start), statementLines[start]});
            }
        }
        statement.clear();
        statementLines.clear();
    };
    for (size_t i = 0; i < lines.size() && error.empty(); ++i) {
        const int line = static_cast<int>(i + 1);
        const std::string_view text = trim(lines[i]);
        if (!text.empty() && text.front() == ';') continue;  // a comment line
        for (const char c : lines[i]) {
            if (c == ';') {
                finish();
                if (!error.empty()) break;
                continue;
            }
            statement += c;
            statementLines.push_back(line);
        }
        statement += ' ';
        statementLines.push_back(line);
    }
    if (error.empty()) finish();
    if (error.empty() && !haveData)
        error = lineError(static_cast<int>(lines.size()), tx("нет данных coefdata"));
    return tokens;
}

TapTextFormat detectFormat(const std::vector<std::string>& lines) {
    bool bracket = false;
    for (const std::string& line : lines) {
        const std::string start = lowered(trim(line).substr(0, 8));
        if (start.rfind("radix", 0) == 0 || start == "coefdata")
            return TapTextFormat::CoefficientFile;
        if (withoutComment(line).find('[') != std::string_view::npos) bracket = true;
    }
    if (bracket) return TapTextFormat::Vector;
    // This program's own files: each non-blank line starts with an integer (the rest of the line
    // is ignored, as the tap-file reader does), and no line holds a second number, a separator
    // or a real number.
    for (const std::string& line : lines) {
        const std::string_view text = trim(line);
        if (text.empty()) continue;
        if (text.find_first_of(",;") != std::string_view::npos) return TapTextFormat::List;
        size_t i = (text.front() == '+' || text.front() == '-') ? 1 : 0;
        if (i == text.size() || !isDigit(text[i])) return TapTextFormat::List;
        while (i < text.size() && isDigit(text[i])) ++i;
        if (i < text.size() && (text[i] == '.' || text[i] == 'e' || text[i] == 'E'))
            return TapTextFormat::List;
        std::vector<Token> words;
        splitWords(text.substr(i), 0, words);
        for (const Token& word : words)
            if (parseNumber(word.text, 10)) return TapTextFormat::List;
    }
    return TapTextFormat::TapFile;
}

void describe(TapImport& result) {
    const auto& taps = result.taps;
    result.tapSum = 0;
    for (const int t : taps) result.tapSum += t;
    result.gain = static_cast<double>(result.tapSum) / kFirUnityTapSum;
    result.symmetric = std::equal(taps.begin(), taps.begin() + taps.size() / 2, taps.rbegin());
}

TapImport failed(TapImport result, std::string error) {
    result.status = TapFileStatus::Damaged;
    result.error = std::move(error);
    result.taps.clear();
    return result;
}

std::string countError(TapKind kind, size_t count, int line) {
    if (kind == TapKind::Rfir)
        return lineError(
            line, tx("лишний коэффициент: у RESAMPLER их не более %1", {number(kTapFileMaxTaps)}));
    const int wanted = kind == TapKind::Cfir ? 21 : 63;
    if (count > static_cast<size_t>(wanted))
        return lineError(line,
                         tx("лишний коэффициент: у %1 их %2", {kindName(kind), number(wanted)}));
    return lineError(line,
                     tx("файл кончается после %1 коэффициентов, у %2 их %3",
                        {number(static_cast<long long>(count)), kindName(kind), number(wanted)}));
}

// The line of the last non-blank line (the end of the file for "too few").
int lastTextLine(const std::vector<std::string>& lines) {
    for (size_t i = lines.size(); i > 0; --i)
        if (!trim(lines[i - 1]).empty()) return static_cast<int>(i);
    return static_cast<int>(lines.size());
}

TapImport importTapFileLines(const std::vector<std::string>& lines, TapKind kind) {
    TapImport result;
    result.format = TapTextFormat::TapFile;
    std::string text;
    for (const std::string& line : lines) text += line + '\n';
    const TapFileRead read = readTapText(text, tapBits(kind));
    if (read.damaged) {
        // The reader stopped at the first line that holds no number.
        int line = 0;
        for (size_t i = 0, numbers = 0; i < lines.size(); ++i) {
            const std::string_view t = trim(lines[i]);
            if (t.empty()) continue;
            if (numbers == read.taps.size()) {
                line = static_cast<int>(i + 1);
                break;
            }
            ++numbers;
        }
        return failed(result,
                      lineError(line, tx("\"%1\" не число", {std::string(trim(lines[line - 1]))})));
    }
    if (!tapCountFits(kind, read.taps.size())) {
        // The line of the 22nd (64th) number, or the end of the file.
        int line = lastTextLine(lines);
        if (read.taps.size() > 0 && kind != TapKind::Rfir) {
            const size_t wanted = kind == TapKind::Cfir ? 21 : 63;
            for (size_t i = 0, numbers = 0; i < lines.size(); ++i) {
                if (trim(lines[i]).empty()) continue;
                if (++numbers == wanted + 1) {
                    line = static_cast<int>(i + 1);
                    break;
                }
            }
        }
        return failed(result, countError(kind, read.taps.size(), line));
    }
    result.taps = read.taps;
    describe(result);
    return result;
}

TapImport importValues(TapImport result, const std::vector<Value>& values, TapKind kind,
                       std::optional<double> gain, int lastLine) {
    if (!tapCountFits(kind, values.size())) {
        const size_t wanted = kind == TapKind::Cfir ? 21 : kind == TapKind::Pfir ? 63 : 512;
        const int line = values.size() > wanted ? values[wanted].line : lastLine;
        return failed(result, countError(kind, values.size(), line));
    }
    const int bits = tapBits(kind);
    const bool allIntegers =
        std::all_of(values.begin(), values.end(), [](const Value& v) { return v.isInteger; });
    if (allIntegers) {
        for (const Value& v : values) result.taps.push_back(reduceToBits(v.integer, bits));
        describe(result);
        return result;
    }
    double sum = 0.0;
    double absSum = 0.0;
    double largest = 0.0;
    for (const Value& v : values) {
        sum += v.real;
        absSum += std::fabs(v.real);
        largest = std::max(largest, std::fabs(v.real));
    }
    const int top = (1 << (bits - 1)) - 1;
    double scale = 1.0;
    if (kind == TapKind::Rfir) {
        if (largest > 0.0) scale = kResamplerFullScale / largest;
    } else if (std::fabs(sum) > 1e-12 * absSum) {
        scale = kFirUnityTapSum * gain.value_or(1.0) / sum;
    } else if (largest > 0.0) {
        scale = top / largest;  // no DC gain to scale to (a high-pass): the largest at full scale
    }
    result.scaled = true;
    result.scale = scale;
    double worst = 0.0;
    for (const Value& v : values) {
        const double exact = v.real * scale;
        const double rounded = std::nearbyint(exact);
        if (rounded > top || rounded < -top - 1)
            return failed(result, lineError(v.line, tx("%1 после масштабирования (%2) не "
                                                       "помещается в %3 бит",
                                                       {real(v.real), real(exact), number(bits)})));
        worst = std::max(worst, std::fabs(rounded - exact));
        result.taps.push_back(static_cast<int>(rounded));
    }
    const double peak = largest * std::fabs(scale);
    if (worst > 0.0 && peak > 0.0) result.roundingErrorDb = 20.0 * std::log10(worst / peak);
    describe(result);
    return result;
}

TapImport importLines(std::vector<std::string> lines, TapKind kind, std::optional<double> gain) {
    if (!lines.empty() && lines.front().rfind(kByteOrderMark, 0) == 0)
        lines.front().erase(0, kByteOrderMark.size());
    TapImport result;
    result.format = detectFormat(lines);
    if (result.format == TapTextFormat::TapFile) return importTapFileLines(lines, kind);
    std::string error;
    int radix = 10;
    std::vector<Token> tokens;
    switch (result.format) {
        case TapTextFormat::Vector:
            tokens = vectorTokens(lines, error);
            break;
        case TapTextFormat::CoefficientFile:
            tokens = coefficientTokens(lines, radix, error);
            break;
        default:
            tokens = listTokens(lines);
            break;
    }
    if (!error.empty()) return failed(result, error);
    std::vector<Value> values;
    for (const Token& token : tokens) {
        std::optional<Value> value = parseNumber(token.text, radix);
        if (!value)
            return failed(result, lineError(token.line, tx("\"%1\" не число", {token.text})));
        value->line = token.line;
        values.push_back(*value);
    }
    return importValues(result, values, kind, gain, lastTextLine(lines));
}

std::string hexWord(int value, int bits) {
    const unsigned mask = (1u << bits) - 1u;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*X", (bits + 3) / 4, static_cast<unsigned>(value) & mask);
    return buf;
}

}  // namespace

bool tapCountFits(TapKind kind, size_t count) {
    switch (kind) {
        case TapKind::Cfir:
            return count == 21;
        case TapKind::Pfir:
            return count == 63;
        case TapKind::Rfir:
            return count <= static_cast<size_t>(kTapFileMaxTaps);
    }
    return false;
}

TapImport importTapText(std::string_view text, TapKind kind, std::optional<double> gain) {
    return importLines(gc::model::splitLines(std::string(text)), kind, gain);
}

TapImport importTapFile(const std::string& path, TapKind kind, std::optional<double> gain) {
    gc::model::TextLines read = gc::model::readTextLines(path, gc::model::kTextFileByteLimit);
    switch (read.read.status) {
        case gc::model::TextReadStatus::Ok:
            return importLines(std::move(read.lines), kind, gain);
        case gc::model::TextReadStatus::Missing:
        case gc::model::TextReadStatus::Unreadable: {
            TapImport missing;
            missing.status = TapFileStatus::Missing;
            return missing;
        }
        case gc::model::TextReadStatus::NotRegular:
        case gc::model::TextReadStatus::TooLarge:
            break;
    }
    TapImport damaged;
    damaged.status = TapFileStatus::Damaged;
    damaged.error = tx("не обычный файл или слишком большой");
    return damaged;
}

std::vector<std::string> tapImportSummary(const TapImport& import, TapKind kind) {
    std::vector<std::string> lines;
    const char* formats[] = {"файл коэффициентов (целое число в строке)", "список чисел",
                             "вектор в скобках", "файл коэффициентов ПЛИС (coefdata)"};
    lines.push_back(tx("Формат: %1", {tx(formats[static_cast<int>(import.format)])}));
    lines.push_back(tx("Коэффициентов: %1", {number(static_cast<long long>(import.taps.size()))}));
    if (import.scaled) {
        lines.push_back(
            tx("Числа с плавающей точкой умножены на %1 и округлены", {real(import.scale, 8)}));
        lines.push_back(import.roundingErrorDb
                            ? tx("Наибольшая ошибка округления: %1 дБ от наибольшего коэффициента",
                                 {real(*import.roundingErrorDb, 4)})
                            : tx("Ошибки округления нет"));
    }
    if (kind == TapKind::Rfir) {
        int largest = 0;
        for (const int t : import.taps) largest = std::max(largest, std::abs(t));
        lines.push_back(tx("Сумма коэффициентов %1, наибольший по модулю %2",
                           {number(import.tapSum), number(largest)}));
    } else {
        lines.push_back(tx("Усиление %1 (сумма коэффициентов %2)",
                           {real(import.gain, 6), number(import.tapSum)}));
    }
    lines.push_back(import.symmetric ? tx("Коэффициенты симметричны")
                                     : tx("Коэффициенты не симметричны"));
    return lines;
}

std::optional<TapTextFormat> tapTextFormatFromName(std::string_view name) {
    for (const TapTextFormat format : {TapTextFormat::TapFile, TapTextFormat::List,
                                       TapTextFormat::Vector, TapTextFormat::CoefficientFile})
        if (tapTextFormatName(format) == name) return format;
    return std::nullopt;
}

std::string_view tapTextFormatName(TapTextFormat format) {
    switch (format) {
        case TapTextFormat::TapFile:
            return "taps";
        case TapTextFormat::List:
            return "csv";
        case TapTextFormat::Vector:
            return "vector";
        case TapTextFormat::CoefficientFile:
            return "coe";
    }
    return "taps";
}

std::string tapExportText(const std::vector<int>& taps, TapTextFormat format, TapKind kind,
                          int radix) {
    const int n = static_cast<int>(taps.size());
    std::string text;
    switch (format) {
        case TapTextFormat::TapFile:
            return tapFileText(taps.data(), n);
        case TapTextFormat::List:
            for (int i = 0; i < n; ++i) text += (i ? "," : "") + std::to_string(taps[i]);
            return text + '\n';
        case TapTextFormat::Vector:
            text = "h = [";
            for (int i = 0; i < n; ++i) text += (i ? ", " : "") + std::to_string(taps[i]);
            return text + "];\n";
        case TapTextFormat::CoefficientFile:
            text = "radix=" + std::to_string(radix == 16 ? 16 : 10) + ";\ncoefdata=\n";
            for (int i = 0; i < n; ++i) {
                text += radix == 16 ? hexWord(taps[i], tapBits(kind)) : std::to_string(taps[i]);
                text += i + 1 < n ? ",\n" : ";\n";
            }
            if (n == 0) text += ";\n";
            return text;
    }
    return text;
}

}  // namespace gc::filters
