// Compiled with the include roots of chip and model: the arrow chip -> model. This file must
// compile, so that the two that must not are refused for their includes and nothing else.
#include "chip/RegisterImage.h"
#include "model/Derived.h"

int main() { return gc::model::shownIndex(1, 2); }
