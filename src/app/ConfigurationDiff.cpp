#include "app/ConfigurationDiff.h"

#include <algorithm>
#include <map>

#include "model/TextFile.h"

namespace gc::app {

namespace {

std::string trimmed(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

// "*** Filter of Channel 2 ***", "--- Mode Channel 2 ---": "Channel 2 "; other sections: "".
std::string sectionPrefix(const std::string& header) {
    const size_t at = header.find("Channel ");
    if (at == std::string::npos) return {};
    size_t end = at + 8;
    while (end < header.size() && header[end] >= '0' && header[end] <= '9') ++end;
    return end > at + 8 ? header.substr(at, end - at) + " " : std::string();
}

bool isHeader(const std::string& line) {
    return line.rfind("***", 0) == 0 || line.rfind("---", 0) == 0;
}

}  // namespace

std::vector<KeyedField> keyedFields(const std::string& text) {
    std::vector<KeyedField> fields;
    std::map<std::string, int> seen;
    std::string prefix;
    for (const std::string& line : gc::model::splitLines(text)) {
        if (isHeader(line)) {
            prefix = sectionPrefix(line);
            continue;
        }
        const size_t eq = line.find('=');
        const std::string key =
            eq == std::string::npos ? std::string() : trimmed(line.substr(0, eq));
        if (key.empty()) {
            // A continuation of the value before (the CFIR[] and PFIR[] lists).
            const std::string more = trimmed(line);
            if (!fields.empty() && !more.empty()) fields.back().value += " " + more;
            continue;
        }
        std::string name = prefix + key;
        // A key that stands twice in one section keeps both, the second named "#2".
        const int count = ++seen[name];
        if (count > 1) name += " #" + std::to_string(count);
        fields.push_back({name, trimmed(line.substr(eq + 1))});
    }
    return fields;
}

std::vector<FieldDifference> fieldDifferences(const std::string& a, const std::string& b) {
    const std::vector<KeyedField> fa = keyedFields(a);
    const std::vector<KeyedField> fb = keyedFields(b);
    std::map<std::string, const KeyedField*> inB;
    for (const KeyedField& f : fb) inB.emplace(f.name, &f);
    std::vector<FieldDifference> out;
    for (const KeyedField& f : fa) {
        const auto other = inB.find(f.name);
        if (other == inB.end()) {
            out.push_back({f.name, f.value, "", true, false});
        } else {
            if (other->second->value != f.value)
                out.push_back({f.name, f.value, other->second->value, true, true});
            inB.erase(other);
        }
    }
    for (const KeyedField& f : fb)
        if (inB.count(f.name)) out.push_back({f.name, "", f.value, false, true});
    return out;
}

}  // namespace gc::app
