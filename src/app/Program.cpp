#include "app/Program.h"

#include <utility>

namespace gc::app {

Program::Program(UiPort& ui, gc::appconfig::Workspace workspace)
    : plot(session.model, ui),
      presenter(session, state, ui, plot),
      requirement(session, requirementState, ui),
      loadSave(session, state, ui, plot, presenter, requirement, workspace),
      design(session, designState, state, ui, presenter, requirement, workspace),
      simulation(session, simulationState, ui, workspace),
      levels(session, levelsState, ui),
      compare(session, ui, plot, requirement, std::move(workspace)) {
    // The fit shows the requirement's bands when there is one.
    plot.setBandsSource([this] {
        ChannelPlotPresenter::ChannelBands bands;
        if (const auto& r = requirement.requirement()) {
            bands.passbandHz = r->passbandHz;
            bands.stopbandHz = r->stopbandHz;
        }
        return bands;
    });
}

}  // namespace gc::app
