#pragma once
// A UiPort that counts the repaint and refresh requests of the plot presenters.
#include <map>

#include "app/UiPort.h"

namespace gc::testing {

class RecordingUiPort : public gc::app::UiPort {
  public:
    int channelRepaints{0};
    std::map<gc::app::Window, int> refreshes;

    void showError(const gc::app::ErrorReport&) override {}
    void showConversionError(const std::string&) override {}
    std::optional<std::string> askOpenFile(const gc::app::FileDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<std::string> askSaveFile(const gc::app::FileDialogRequest&) override {
        return std::nullopt;
    }
    void showWindow(gc::app::Window) override {}
    void refreshWindow(gc::app::Window window) override { ++refreshes[window]; }
    void repaintChannelPlot() override { ++channelRepaints; }
};

}  // namespace gc::testing
