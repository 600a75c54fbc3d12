#pragma once
// The program put together, once for the window program and the command-line tool: the one
// session of the run, the main window's state and presenter, the channel plot and the loading
// and saving of files, all reporting through the UiPort they are given. The window program adds
// its windows around it; the command-line tool drives it without any.
#include "app/ChannelPlotPresenter.h"
#include "app/ComparePresenter.h"
#include "app/DesignPresenter.h"
#include "app/LevelsPresenter.h"
#include "app/LoadSave.h"
#include "app/MainPresenter.h"
#include "app/MainState.h"
#include "app/RequirementPresenter.h"
#include "app/Session.h"
#include "app/SimulationPresenter.h"
#include "app/UiPort.h"
#include "appconfig/Workspace.h"

namespace gc::app {

struct Program {
    // `ui` must outlive the program; `workspace` is the folder "CONFIGS/" and "FILTERS/" are
    // relative to.
    Program(UiPort& ui, gc::appconfig::Workspace workspace);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    Session session;
    MainState state;
    ChannelPlotPresenter plot;
    MainPresenter presenter;
    // The channel's requirement ("Требования к каналу"), kept per configuration in NAME.req.
    RequirementState requirementState;
    RequirementPresenter requirement;
    // Reads and writes NAME.req with the configuration, so it comes after the requirement.
    LoadSave loadSave;
    // "Синтез фильтров": taps designed for that requirement, saved as the channel's tap files.
    DesignState designState;
    DesignPresenter design;
    // "Моделирование": a signal through the fixed-point model of the current channel.
    SimulationState simulationState;
    SimulationPresenter simulation;
    // "Уровни": the level plan of the current channel for an input level.
    LevelsState levelsState;
    LevelsPresenter levels;
    // "Сравнить с...": a second configuration over the plot and beside the figures.
    ComparePresenter compare;
};

}  // namespace gc::app
