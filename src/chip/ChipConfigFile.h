#pragma once
// The chip configuration file (".cfg"): the whole register image as named register values, one
// register or one row of coefficients per line; written by "Записать", read at start-up and by
// "Считать".
#include <cstddef>
#include <string>
#include <vector>

#include "chip/RegisterImage.h"
#include "model/TextFile.h"

namespace gc::chip {

enum class ChipConfigStatus {
    Ok,       // every line recognised; the image was replaced
    Missing,  // the file cannot be opened; the image is unchanged
    Damaged,  // a line is not as expected, or the name is no regular file or far too large;
              // the image is unchanged
};

inline constexpr std::size_t kChipConfigLineCount = 135;

// The file text: 135 lines, no line end after the last one. The derived NCO words and the
// odd-channel phase offset are not part of the file.
[[nodiscard]] std::string chipConfigurationText(const RegisterImage& image);

// Replaces the file at `path` atomically; false (with the system's reason) when it cannot be
// written.
[[nodiscard]] gc::model::WriteResult writeChipConfiguration(const std::string& path,
                                                            const RegisterImage& image);

// Reads a file text into a staging copy of `image` and, only when every line is recognised,
// copies it over `image` in one step. Lines of any length are accepted; a coefficient or
// register row with fewer numbers than it must hold makes the file damaged.
[[nodiscard]] ChipConfigStatus parseChipConfiguration(const std::string& text,
                                                      RegisterImage& image);
[[nodiscard]] ChipConfigStatus parseChipConfigurationLines(const std::vector<std::string>& lines,
                                                           RegisterImage& image);

// The same for a file, of which at most its 135 lines are read; a name that is no regular
// file, or a file over the size limit, is Damaged without being read; one that cannot be opened
// is Missing. The caller reports Missing or Damaged ("Файл конфигурации", the path
// as given, "отсутствует!" / "поврежден!").
[[nodiscard]] ChipConfigStatus readChipConfiguration(const std::string& path, RegisterImage& image);

}  // namespace gc::chip
