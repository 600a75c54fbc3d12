#include "app/ComparePresenter.h"

#include <utility>

#include "app/Program.h"
#include "appconfig/ConfigFile.h"
#include "model/Language.h"
#include "response/Response.h"

namespace gc::app {

// The compared program's reports reach the user as the current program's do; it has no windows,
// no dialogs and no plot of its own to show.
class ComparePresenter::ForwardingUi final : public UiPort {
  public:
    explicit ForwardingUi(UiPort& ui) : ui_(ui) {}
    void showError(const ErrorReport& report) override { ui_.showError(report); }
    void showConversionError(const std::string& message) override {
        ui_.showConversionError(message);
    }
    std::optional<std::string> askOpenFile(const FileDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<std::string> askSaveFile(const FileDialogRequest&) override {
        return std::nullopt;
    }
    void showWindow(Window) override {}
    void refreshWindow(Window) override {}
    void repaintChannelPlot() override {}

  private:
    UiPort& ui_;
};

ComparePresenter::ComparePresenter(Session& session, UiPort& ui, ChannelPlotPresenter& plot,
                                   RequirementPresenter& requirement,
                                   gc::appconfig::Workspace workspace)
    : session_(session),
      ui_(ui),
      plot_(plot),
      requirement_(requirement),
      workspace_(std::move(workspace)) {}

ComparePresenter::~ComparePresenter() = default;

void ComparePresenter::onCompareClick() {
    const auto chosen = ui_.askOpenFile({"*.trv", "", "CONFIGS"});
    if (chosen) (void)compareWith(*chosen);
}

bool ComparePresenter::compareWith(const std::string& path) {
    auto ui = std::make_unique<ForwardingUi>(ui_);
    auto other = std::make_unique<Program>(*ui, workspace_);
    other->presenter.startWithDefaults();
    const LoadSave::LoadResult loaded = other->loadSave.loadConfiguration(path);
    if (loaded.configuration != gc::appconfig::ConfigReadStatus::Ok) return false;
    otherUi_ = std::move(ui);
    other_ = std::move(other);
    otherName_ = gc::appconfig::bareName(path);

    const std::string& current = session_.model.Work.ConfigFileName;
    plot_.setComparison(current.empty() ? gc::model::tx("Текущая") : current, otherName_,
                        [this](int stretchX, gc::response::ResponseArray& out) {
                            if (!other_) return false;
                            followCurrentChannel();
                            gc::response::ResponseArrays arrays;
                            gc::response::ComputeChannelResponse(other_->session.model, stretchX,
                                                                 arrays);
                            out = arrays.ChannelResponse;
                            return true;
                        });
    requirement_.setComparison(otherName_, [this] { return otherChain(); });
    if (session_.isOpen(Window::Requirement)) ui_.refreshWindow(Window::Requirement);
    return true;
}

void ComparePresenter::onCompareOffClick() {
    if (!other_) return;
    plot_.clearComparison();
    requirement_.setComparison({}, nullptr);
    other_.reset();
    otherUi_.reset();
    otherName_.clear();
    if (session_.isOpen(Window::Requirement)) ui_.refreshWindow(Window::Requirement);
}

std::optional<gc::analysis::ChainSpec> ComparePresenter::otherChain() {
    if (!other_) return std::nullopt;
    followCurrentChannel();
    return gc::analysis::chainFromModel(other_->session.model);
}

// The compared channel is the one with the current channel's number, chosen as the channel list
// of its own window would choose it.
void ComparePresenter::followCurrentChannel() {
    const int channel = session_.model.currentIndex();
    if (other_->session.model.currentIndex() == channel) return;
    other_->state.ComboBox7.index = channel;
    other_->presenter.onComboBox7Changed();
}

}  // namespace gc::app
