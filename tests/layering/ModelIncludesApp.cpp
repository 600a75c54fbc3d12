// Compiled with the include roots of model only: model is the bottom layer. This file must not
// compile.
#include "app/Session.h"
