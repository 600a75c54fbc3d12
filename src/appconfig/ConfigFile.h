#pragma once
// The application configuration file ("*.trv"): the four channel records, the chip-wide
// settings and the three built-in table selections, one key line each, in a fixed order.
//
//   *** Config of Tessarovink ***          header
//   Clock= 100000000                       numbers end in one blank before the line end
//   NameOfCFG= sinc.cfg                    names end directly at the line end
//   *** Filter of Channel 0 *** ...        four channel blocks, then the resampler block
//   *** New Param  *** ...                 optional: NCO, ADC inputs, channel resets
//   ModeOfDdc= ... VokType=                optional: output mode, phases, masks, flags
//   CoefInterpol0= ... CoefInterpol3=      optional: interpolation factors
//
// A value starts one character after its key (the writer's blank). Lines may be of any length
// and may end in CR LF; a last line without a line end is taken whole.
#include <string>
#include <vector>

#include "model/ConfigurationModel.h"
#include "model/TextFile.h"

namespace gc::appconfig {

enum class ConfigReadStatus {
    Ok,          // read; everything the file holds reached the model
    Missing,     // no such file (or a folder); the model is unchanged
    Unreadable,  // exists but cannot be read (permissions, I/O error); the model is unchanged
    Damaged,     // a line is not as expected, or the name is no regular file or far too large;
                 // see parseConfiguration for what reached the model
};

// The whole file text for `model`. First copies the table selections into the stored fields:
// IndexCFIR/IndexPFIR of each channel from CfirSelection/PfirSelection, IndexRFIR from
// RfirSelection.
[[nodiscard]] std::string configurationText(gc::model::ConfigurationModel& model);

// Writes configurationText(model) to `path`, replacing the file atomically. False (with the
// system's reason) when the file cannot be written; the old file then stays as it was and the
// caller reports it.
[[nodiscard]] gc::model::WriteResult writeConfiguration(const std::string& path,
                                                        gc::model::ConfigurationModel& model);

// Reads `text` (a whole file's bytes) into `model`. The header, Clock, NameOfCFG, the channel
// blocks and the resampler block are required. Clock and NameOfCFG reach the model once the
// NameOfRFIR line has matched; values of the optional parts reach it as they are parsed; the
// channel blocks, the resampler block and the table selections (CfirSelection, PfirSelection,
// RfirSelection from the Index fields) only when the whole read succeeds. Names lose trailing
// carriage returns and blanks.
[[nodiscard]] ConfigReadStatus parseConfiguration(const std::string& text,
                                                  gc::model::ConfigurationModel& model);
// The same for the file's lines.
[[nodiscard]] ConfigReadStatus parseConfigurationLines(const std::vector<std::string>& lines,
                                                       gc::model::ConfigurationModel& model);

// parseConfiguration of the file at `path`, of which only the lines the format holds are read.
// Missing or Unreadable (model unchanged) when it cannot be read, with the system's errno in
// `systemError` if given; a name that is no regular file, or a file over the size limit, is
// Damaged without being read.
[[nodiscard]] ConfigReadStatus readConfiguration(const std::string& path,
                                                 gc::model::ConfigurationModel& model,
                                                 int* systemError = nullptr);

// Value conversions of the file, exposed for the other keyed readers.
// Decimal integer: leading blanks, optional sign, digits up to the first other character,
// 0 if there are none; saturates to the 32-bit range.
[[nodiscard]] int parseDecimalValue(const std::string& text);
// Hexadecimal integer as "%x" writes it (the 32-bit pattern, so "ffffffff" is -1): leading
// blanks, optional sign, optional "0x", hexadecimal digits; saturates at 8 digits' worth.
[[nodiscard]] int parseHexValue(const std::string& text);
// Decimal floating-point text: leading blanks, then the longest prefix that reads as a number
// ("1.5", "-2e3", "inf", "nan"), 0 if none; correctly rounded to single precision, beyond its
// range infinity or zero. Independent of the process locale: the point is always ".".
[[nodiscard]] float parseRealValue(const std::string& text);
// "%f" of `value`: six decimals, "." as the point, whatever the process locale.
[[nodiscard]] std::string formatRealValue(float value);

}  // namespace gc::appconfig
