#pragma once
// Bit groups of register values, the item a list shows for a value and the counts that the
// windows show from one: the one definition of each, used by the model, the chip and the
// presenters.
#include <cstddef>
#include <string>

namespace gc::model {

// The group of `count` bits starting at bit `first` of a register value, as an unsigned number.
// Works on the two's-complement pattern, so a negative register value is read bit by bit too.
[[nodiscard]] constexpr int bitGroup(int value, int first, int count) {
    const unsigned mask = (count >= 32) ? ~0u : ((1u << count) - 1u);
    return static_cast<int>((static_cast<unsigned>(value) >> first) & mask);
}

[[nodiscard]] constexpr bool bitSet(int value, int bit) { return bitGroup(value, bit, 1) != 0; }

// `value` with bits first..first+count-1 replaced by the low `count` bits of `group`; every other
// bit is kept. Unsigned arithmetic throughout, so no value can overflow.
[[nodiscard]] constexpr int withBitGroup(int value, int first, int count, unsigned group) {
    const unsigned mask = ((count >= 32) ? ~0u : ((1u << count) - 1u)) << first;
    const unsigned placed = (group << first) & mask;
    return static_cast<int>((static_cast<unsigned>(value) & ~mask) | placed);
}
[[nodiscard]] constexpr int withBitGroup(int value, int first, int count, int group) {
    return withBitGroup(value, first, count, static_cast<unsigned>(group));
}

// The two's-complement bit pattern of a value, for arithmetic on register fields that must not
// overflow (a count stored less one: bitsOf(count) - 1u).
[[nodiscard]] constexpr unsigned bitsOf(int value) { return static_cast<unsigned>(value); }

[[nodiscard]] constexpr int withBit(int value, int bit, bool set) {
    return withBitGroup(value, bit, 1, set ? 1 : 0);
}

// The item index a list of `itemCount` items shows for a value: the value itself when the list
// has such an item, otherwise -1 (no item selected).
[[nodiscard]] constexpr int shownIndex(int value, int itemCount) {
    return value >= 0 && value < itemCount ? value : -1;
}
[[nodiscard]] constexpr int shownIndex(int value, std::size_t itemCount) {
    return value >= 0 && static_cast<std::size_t>(value) < itemCount ? value : -1;
}

// A count the chip stores less one, shown from 1: the value plus 1, without overflow for any
// register value.
[[nodiscard]] inline std::string plusOne(int value) {
    return std::to_string(static_cast<long long>(value) + 1);
}

}  // namespace gc::model
