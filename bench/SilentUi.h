#pragma once
// A UiPort for presenters timed without a window: every request is dropped.
#include "app/UiPort.h"

namespace gc::bench {

class SilentUi : public gc::app::UiPort {
  public:
    void showError(const gc::app::ErrorReport&) override {}
    void showConversionError(const std::string&) override {}
    std::optional<std::string> askOpenFile(const gc::app::FileDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<std::string> askSaveFile(const gc::app::FileDialogRequest&) override {
        return std::nullopt;
    }
    void showWindow(gc::app::Window) override {}
    void refreshWindow(gc::app::Window) override {}
    void repaintChannelPlot() override {}
};

}  // namespace gc::bench
