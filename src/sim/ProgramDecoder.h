#pragma once
// Reads a program file back into the register writes it lists and the registers they leave
// behind: the inverse of the program file writer, for the channel model.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace gc::sim {

// One register write as the program file lists it: the page in force, the register, the byte.
struct ProgramWrite {
    int page{0};
    int reg{0};
    int value{0};
};

struct ProgramFileContents {
    std::optional<double> clockHz;  // the header's "Clock=" line, when present
    std::vector<ProgramWrite> writes;
};

// Parses the text. Throws std::runtime_error naming the line for a missing "Page Reg Val" line,
// a line that is not three numbers, or a page, register or value out of range (page 0..127,
// register 0..31, value 0..0xff).
[[nodiscard]] ProgramFileContents parseProgramFile(const std::string& text);

// The registers after the writes, in order: the last write to a register wins. Registers 0..15
// are global (the same on every page), 16..31 are paged.
class RegisterBank {
  public:
    explicit RegisterBank(const std::vector<ProgramWrite>& writes);
    // The byte last written; throws std::runtime_error naming the register when none was.
    [[nodiscard]] int byte(int page, int reg) const;
    // Two consecutive registers, low byte first, as an unsigned 16-bit value.
    [[nodiscard]] int word16(int page, int reg) const;
    [[nodiscard]] bool written(int page, int reg) const;

  private:
    [[nodiscard]] std::size_t slot(int page, int reg) const;
    std::array<std::int16_t, 128 * 32> bytes_{};  // -1: never written
};

// 16-bit and 12-bit two's-complement patterns as signed values.
[[nodiscard]] int signed16(int pattern);
[[nodiscard]] int signed12(int pattern);

}  // namespace gc::sim
