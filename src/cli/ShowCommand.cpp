// gc4016-cli show: the main window as it stands after a start without configuration files.
#include <iostream>

#include "app/MainPresenter.h"
#include "app/MainState.h"
#include "app/Session.h"
#include "cli/CliSupport.h"

namespace gc::cli {

namespace {

int runShow(const std::vector<std::string>& args) {
    if (!args.empty()) {
        std::cerr << "show: нет параметров, лишнее: " << args.front() << '\n';
        return 2;
    }
    gc::app::Session session;
    gc::app::MainState state;
    CliUi ui(std::cerr);
    NullPlotSeam plot;
    gc::app::MainPresenter presenter(session, state, ui, plot);
    presenter.startWithDefaults();
    writeMainState(std::cout, state);
    return ui.reportCount == 0 ? 0 : 1;
}

[[maybe_unused]] const bool kRegistered = registerCommand(
    {"show", "print what the main window shows after a start with the built-in defaults",
     &runShow});

}  // namespace

}  // namespace gc::cli
