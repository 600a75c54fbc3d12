#pragma once
// JSON documents as gc4016-cli prints them: one line, ", " between members and ": " after a
// key, numbers with the digits that give the double back (integral values without a point),
// null for a number that is not finite.
#include <iosfwd>
#include <nlohmann/json.hpp>

namespace gc::cli {

void writeJsonLine(std::ostream& out, const nlohmann::ordered_json& value);

}  // namespace gc::cli
