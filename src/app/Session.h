#pragma once
// The application object: the one configuration model and register image of the run, and the
// open flags of the auxiliary windows that the main window refreshes after a change.
#include "chip/RegisterImage.h"
#include "model/ConfigurationModel.h"

namespace gc::app {

struct Session {
    gc::model::ConfigurationModel model;
    gc::chip::RegisterImage image;

    // Set by the main-window action that shows the window, cleared by the window when it
    // closes (the CIC5 window keeps its flag once opened).
    bool CicWindowOpen{false};        // TCIC5Form
    bool CfirWindowOpen{false};       // TCFIRForm
    bool PfirWindowOpen{false};       // TPFIRForm
    bool ResamplerWindowOpen{false};  // TResampForm
    bool InpBlockOpen{false};         // TInpBlock, input block editor
    bool FreqOpen{false};             // TFreq, resampler editor
    bool OutBlockOpen{false};         // TOutBlock, output block editor
    bool FiltersOpen{false};          // TFilters, filter control editor
};

}  // namespace gc::app
