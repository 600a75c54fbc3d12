#include "sim/ProgramDecoder.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace gc::sim {

namespace {

[[nodiscard]] std::string trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

[[noreturn]] void failAt(int lineNumber, const std::string& what) {
    throw std::runtime_error("program file, line " + std::to_string(lineNumber) + ": " + what);
}

// A whole token as a number in the given base; false when it is not one.
[[nodiscard]] bool parseNumber(const std::string& token, int base, long long& value) {
    if (token.empty()) return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtoll(token.c_str(), &end, base);
    return errno == 0 && end != nullptr && *end == '\0';
}

}  // namespace

ProgramFileContents parseProgramFile(const std::string& text) {
    ProgramFileContents contents;
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    bool inWrites = false;
    while (std::getline(lines, line)) {
        ++lineNumber;
        const std::string t = trimmed(line);
        if (!inWrites) {
            if (t == "Page Reg Val") {
                inWrites = true;
            } else if (t.rfind("Clock=", 0) == 0) {
                long long clock = 0;
                if (!parseNumber(trimmed(t.substr(6)), 10, clock) || clock <= 0)
                    failAt(lineNumber,
                           "the clock \"" + t.substr(6) + "\" is not a positive number");
                contents.clockHz = static_cast<double>(clock);
            }
            continue;
        }
        if (t.empty()) continue;
        std::istringstream fields(t);
        std::string pageText, regText, valueText, extra;
        fields >> pageText >> regText >> valueText;
        if (valueText.empty() || (fields >> extra))
            failAt(lineNumber, "expected \"page register 0xvalue\", found \"" + t + "\"");
        long long page = 0, reg = 0, value = 0;
        if (!parseNumber(pageText, 10, page) || page < 0 || page > 127)
            failAt(lineNumber, "page \"" + pageText + "\" is not 0..127");
        if (!parseNumber(regText, 10, reg) || reg < 0 || reg > 31)
            failAt(lineNumber, "register \"" + regText + "\" is not 0..31");
        if (valueText.rfind("0x", 0) != 0 || !parseNumber(valueText.substr(2), 16, value) ||
            value < 0 || value > 0xff)
            failAt(lineNumber, "value \"" + valueText + "\" is not a byte 0x0..0xff");
        contents.writes.push_back(
            {static_cast<int>(page), static_cast<int>(reg), static_cast<int>(value)});
    }
    if (!inWrites) throw std::runtime_error("program file: no \"Page Reg Val\" line");
    return contents;
}

RegisterBank::RegisterBank(const std::vector<ProgramWrite>& writes) {
    bytes_.fill(-1);
    for (const ProgramWrite& w : writes)
        bytes_[slot(w.page, w.reg)] = static_cast<std::int16_t>(w.value);
}

std::size_t RegisterBank::slot(int page, int reg) const {
    // Global registers live on page 0 of the table whatever page was in force.
    const int p = reg < 16 ? 0 : page;
    return static_cast<std::size_t>(p * 32 + reg);
}

bool RegisterBank::written(int page, int reg) const {
    if (page < 0 || page > 127 || reg < 0 || reg > 31) return false;
    return bytes_[slot(page, reg)] >= 0;
}

int RegisterBank::byte(int page, int reg) const {
    if (!written(page, reg))
        throw std::runtime_error("program file: no write to page " + std::to_string(page) +
                                 " register " + std::to_string(reg));
    return bytes_[slot(page, reg)];
}

int RegisterBank::word16(int page, int reg) const {
    return byte(page, reg) | (byte(page, reg + 1) << 8);
}

int signed16(int pattern) {
    const int v = pattern & 0xffff;
    return v >= 0x8000 ? v - 0x10000 : v;
}

int signed12(int pattern) {
    const int v = pattern & 0xfff;
    return v >= 0x800 ? v - 0x1000 : v;
}

}  // namespace gc::sim
