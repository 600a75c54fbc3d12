#pragma once
// The channel plot's arrays as CSV, one row per plot point:
//   k,freq_hz,cic,cfir,pfir,resampler,channel,level_db[,alias]
// with the linear magnitudes as the plot holds them, the point's absolute frequency and the
// channel level relative to its peak. Written by "gc4016-cli response" and by the main
// window's "Сохранить данные...".
#include <string>

#include "response/Response.h"

namespace gc::response {

// `clockHz`: the working clock; `stretchX`: the plot's horizontal stretch (the plot spans 0 to
// clock / (2 stretchX)); `alias`: a column of PlotPoints values, or null for none.
[[nodiscard]] std::string responseCsv(const ResponseArrays& arrays, double clockHz, int stretchX,
                                      const ResponseArray* alias = nullptr);

}  // namespace gc::response
