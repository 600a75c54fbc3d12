#pragma once
// The four stage response windows (CIC, CFIR, PFIR, resampler): one drawing parameterised by
// the stage, with the normal view against the stage's input rate and the alias view that folds
// the bands aliasing into the output band.
#include <array>
#include <string>

#include "model/ConfigurationModel.h"
#include "response/Canvas.h"
#include "response/Response.h"

namespace gc::response {

enum class StageKind { Cic, Cfir, Pfir, Resamp };

// What differs between the four windows.
struct StageTraits {
    const char* className;  // TCIC5Form, TCFIRForm, TPFIRForm, TResampForm
    const char* caption;    // window caption
    bool staysOnTop;
    int stretchMax;                        // largest horizontal stretch
    bool hasAlias;                         // the "Alias" check box exists
    bool formReleaseClears;                // a release on the window background removes the cursor
    bool closingClearsOpenFlag;            // the CIC window stays flagged open once opened
    int freqPrecision;                     // cursor frequency: significant digits ...
    int freqDecimals;                      // ... and decimals
    std::array<const char*, 4> topLabels;  // controls of the top denominators
    std::array<const char*, 4> bottomLabels;  // controls of the bottom MHz labels
};
[[nodiscard]] const StageTraits& stageTraits(StageKind kind);

// The plot state of one window; it survives hiding, showing and channel changes.
struct StageViewState {
    int Alias{0};     // alias view on (not in the resampler window)
    int Stretch{1};   // horizontal stretch, power of two 1..stretchMax (ignored by the alias view)
    int CursorX{-1};  // cursor column, -1 = no cursor
    int CursorY{-1};  // cursor row
    int Dragging{0};  // right button held on the plot
};

// The window's own arrays: the response, and for the CIC window the alias segment.
struct StageViewArrays {
    ResponseArray Response{};
    ResponseArray Segment{};
};

// Texts around the plot. top and bottom are shown by the controls stageTraits names.
struct StageViewLabels {
    std::array<std::string, 4> top{"8", "4", "8", "2"};
    std::array<std::string, 4> bottom{"12.5", "25.0", "37.5", "50.0"};
    std::string unit{"MHz"};         // of `bottom`: "MHz", "kHz" or "Hz"
    std::string Label17{"F/Fsamp"};  // frequency axis title
    std::string Panel1{"1"};         // stretch shown
    std::string Panel3;              // cursor frequency, MHz
    std::string Panel4;              // cursor level, dB
};

// The stage's input rate Fin in Hz (the normal view's reference) and its output rate in the
// alias view (CIC: clock / D; CFIR and PFIR: Fin / 2; the resampler has no alias view).
[[nodiscard]] double stageInputRate(StageKind kind, const gc::model::ConfigurationModel& model);
[[nodiscard]] double stageOutputRate(StageKind kind, const gc::model::ConfigurationModel& model);

// The red output-band marker of the normal view.
[[nodiscard]] int stageMarkerColumn(StageKind kind, const gc::model::ConfigurationModel& model,
                                    int stretch);

// The normal view's response at the window's stretch, into arrays.Response.
void computeStageResponse(StageKind kind, const gc::model::ConfigurationModel& model, int stretch,
                          ResponseArray& out);

// Label texts and, in the normal view, the cursor row, as a draw sets them; recomputes the
// normal view's response (not the alias bands). The cursor column is bounded to 0..255.
void updateStageViewLabels(StageKind kind, const gc::model::ConfigurationModel& model,
                           StageViewState& state, StageViewArrays& arrays, StageViewLabels& labels);

// DrawStageView: recomputes the window's response from the model and draws it.
void DrawStageView(Canvas& canvas, StageKind kind, const gc::model::ConfigurationModel& model,
                   StageViewState& state, StageViewArrays& arrays, StageViewLabels& labels);

}  // namespace gc::response
