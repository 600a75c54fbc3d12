#pragma once
// The mouse buttons that the plot windows tell apart (the main plot and the stage views).

namespace gc::app {

enum class MouseButton { Left, Right, Middle };

}  // namespace gc::app
