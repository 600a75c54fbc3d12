#pragma once
// The one configuration model and register image of the run, and the open flags of the
// auxiliary windows that the main window refreshes after a change.
#include <array>
#include <cstddef>

#include "app/UiPort.h"
#include "chip/RegisterImage.h"
#include "model/ConfigurationModel.h"

namespace gc::app {

// The open flags of the auxiliary windows, keyed by window. A flag is set by the main-window
// action that shows its window and cleared by the window when it closes (the CIC5 window keeps
// its flag once opened). TSync and TInfo have none: the main window never refreshes them.
class WindowFlags {
  public:
    [[nodiscard]] bool& operator[](Window window) { return flags_[static_cast<size_t>(window)]; }
    [[nodiscard]] bool operator[](Window window) const {
        return flags_[static_cast<size_t>(window)];
    }

  private:
    std::array<bool, kWindowCount> flags_{};
};

[[nodiscard]] constexpr bool hasOpenFlag(Window window) {
    return window != Window::Sync && window != Window::Info;
}

struct Session {
    gc::model::ConfigurationModel model;
    gc::chip::RegisterImage image;
    WindowFlags open;

    // The open flag of a window; null for a window without one.
    [[nodiscard]] bool* openFlag(Window window) {
        return hasOpenFlag(window) ? &open[window] : nullptr;
    }
    [[nodiscard]] bool isOpen(Window window) const { return open[window]; }
};

}  // namespace gc::app
