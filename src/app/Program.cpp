#include "app/Program.h"

#include <utility>

namespace gc::app {

Program::Program(UiPort& ui, gc::appconfig::Workspace workspace)
    : plot(session.model, ui),
      presenter(session, state, ui, plot),
      loadSave(session, state, ui, plot, presenter, std::move(workspace)),
      requirement(session, requirementState, ui) {}

}  // namespace gc::app
