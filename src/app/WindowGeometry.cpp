#include "app/WindowGeometry.h"

#include <algorithm>

namespace gc::app {

ScreenRect keepInside(ScreenRect window, const ScreenRect& screen) {
    window.width = std::clamp(window.width, 1, std::max(1, screen.width));
    window.height = std::clamp(window.height, 1, std::max(1, screen.height));
    window.x = std::clamp(window.x, screen.x, screen.right() - window.width);
    window.y = std::clamp(window.y, screen.y, screen.bottom() - window.height);
    return window;
}

ScreenRect placeBeside(const ScreenRect& main, int width, int height, const ScreenRect& screen,
                       int slot) {
    const int y = main.y + std::max(0, slot) * kSlotStep;
    ScreenRect r{main.right() + kBesideGap, y, width, height};
    if (r.right() > screen.right()) {
        r.x = main.x - kBesideGap - width;
        if (r.x < screen.x) {
            // Stepped to the right with its slot, but never so far that it reaches the plot.
            const int settingsRight = main.x + main.width * kSettingsShareEighths / 8;
            r.x = std::min(main.x + std::max(0, slot) * kSlotStep,
                           std::max(main.x, settingsRight - width));
        }
    }
    return keepInside(r, screen);
}

}  // namespace gc::app
