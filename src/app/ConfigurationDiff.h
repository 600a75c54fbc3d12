#pragma once
// Two configurations compared field by field: the settings as the configuration file names them
// and the register fields as the chip configuration file names them. Fields of a channel's
// section are named "Channel N Key"; the others by their key.
#include <string>
#include <vector>

namespace gc::app {

// One "Key= value" line of a keyed file, named with its section; the continuation lines of a
// value (the CFIR[]/PFIR[] lists) belong to it.
struct KeyedField {
    std::string name;
    std::string value;
};

[[nodiscard]] std::vector<KeyedField> keyedFields(const std::string& text);

// A field whose values differ; `inA` / `inB` false when one text has no such field.
struct FieldDifference {
    std::string name;
    std::string a;
    std::string b;
    bool inA{true};
    bool inB{true};
};

// The differing fields, in the order of `a`, then those only `b` holds. Equal fields are left
// out, so two equal texts give nothing.
[[nodiscard]] std::vector<FieldDifference> fieldDifferences(const std::string& a,
                                                            const std::string& b);

}  // namespace gc::app
