// Compiled with the include roots of chip and model only: filters sits beside chip and uses it,
// so chip may not use filters. This file must not compile.
#include "filters/TapSelection.h"
