#pragma once
// "Сравнить с...": a second configuration read beside the current one, never into it. Its
// channel (the one with the current channel's number) is drawn over the main plot in its own
// colour with a legend of both names, and the requirement window shows its figures beside the
// current ones. It stays until "Убрать сравнение" or the next comparison.
#include <memory>
#include <optional>
#include <string>

#include "analysis/ChannelMeasure.h"
#include "app/ChannelPlotPresenter.h"
#include "app/RequirementPresenter.h"
#include "app/Session.h"
#include "app/UiPort.h"
#include "appconfig/Workspace.h"

namespace gc::app {

struct Program;

class ComparePresenter {
  public:
    ComparePresenter(Session& session, UiPort& ui, ChannelPlotPresenter& plot,
                     RequirementPresenter& requirement, gc::appconfig::Workspace workspace);
    ~ComparePresenter();
    ComparePresenter(const ComparePresenter&) = delete;
    ComparePresenter& operator=(const ComparePresenter&) = delete;

    // "Сравнить с...": asks for a configuration as "Считать" does and reads it with its chip
    // configuration and tap files (from "../FILTERS/" beside it) as "Считать" would, reporting
    // what is missing or damaged. A configuration that cannot be read changes nothing.
    void onCompareClick();
    // Reads `path` for the comparison (the dialog's answer). False when it cannot be read.
    bool compareWith(const std::string& path);
    // "Убрать сравнение".
    void onCompareOffClick();

    [[nodiscard]] bool comparing() const { return other_ != nullptr; }
    [[nodiscard]] const std::string& otherName() const { return otherName_; }
    // The compared configuration's chain for the current channel number.
    [[nodiscard]] std::optional<gc::analysis::ChainSpec> otherChain();

  private:
    class ForwardingUi;
    void followCurrentChannel();

    Session& session_;
    UiPort& ui_;
    ChannelPlotPresenter& plot_;
    RequirementPresenter& requirement_;
    gc::appconfig::Workspace workspace_;
    std::unique_ptr<ForwardingUi> otherUi_;
    std::unique_ptr<Program> other_;
    std::string otherName_;
};

}  // namespace gc::app
