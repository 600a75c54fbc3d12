#include "cli/JsonLine.h"

#include <cmath>
#include <cstdio>
#include <ostream>

namespace gc::cli {

void writeJsonLine(std::ostream& out, const nlohmann::ordered_json& value) {
    if (value.is_object()) {
        out << '{';
        bool first = true;
        for (const auto& [key, member] : value.items()) {
            if (!first) out << ", ";
            out << nlohmann::ordered_json(key).dump() << ": ";
            writeJsonLine(out, member);
            first = false;
        }
        out << '}';
    } else if (value.is_array()) {
        out << '[';
        for (size_t i = 0; i < value.size(); ++i) {
            if (i) out << ", ";
            writeJsonLine(out, value[i]);
        }
        out << ']';
    } else if (value.is_number_float()) {
        const double v = value.get<double>();
        if (!std::isfinite(v)) {
            out << "null";
        } else {
            char buf[40];
            std::snprintf(buf, sizeof buf, "%.17g", v);
            out << buf;
        }
    } else {
        // Texts that are not valid UTF-8 keep their readable part rather than failing.
        out << value.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    }
}

}  // namespace gc::cli
