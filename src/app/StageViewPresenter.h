#pragma once
// One stage response window (CIC, CFIR, PFIR or resampler) without the window: its plot state,
// arrays and texts, and one method per control event. The controls are those of the CFIR
// window (Button1..Button6, CheckBox1, Panel1..Panel4, Panel2 around CICPBox); stageTraits
// names the label controls that differ.
//
// Every draw recomputes the response from the model (the main window changes the model and
// asks for a refresh through UiPort::refreshWindow while the window's open flag is set). The
// UI paints by calling draw() from its paint event and then shows labels(); the handlers
// update the texts at once and ask for a repaint through UiPort::refreshWindow.
#include "app/ChannelPlotMouse.h"
#include "app/UiPort.h"
#include "model/ConfigurationModel.h"
#include "response/Canvas.h"
#include "response/StageView.h"

namespace gc::app {

class StageViewPresenter {
  public:
    StageViewPresenter(gc::response::StageKind kind, const gc::model::ConfigurationModel& model,
                       UiPort& ui);

    // DrawStageView onto the UI's canvas.
    void draw(gc::response::Canvas& canvas);
    // The texts from the current model and a repaint request (after a model change).
    void refresh();

    void onCICPBoxMouseDown(MouseButton button, int x, int y);
    void onCICPBoxMouseMove(int x, int y);
    void onCICPBoxMouseUp(MouseButton button, int x, int y);
    // Any button released on the frame around the plot removes the cursor; on the window's
    // background too, except in the resampler window.
    void onPanel2MouseUp(MouseButton button);
    void onFormMouseUp(MouseButton button);
    void onButton5Click();                // "<"
    void onButton6Click();                // ">"
    void onButton1Click();                // "*2"
    void onButton2Click();                // "/2"
    void onButton3Click();                // "max"
    void onButton4Click();                // "=1"
    void onCheckBox1Click(bool checked);  // "Alias" (absent in the resampler window)

    [[nodiscard]] gc::response::StageKind kind() const { return kind_; }
    [[nodiscard]] const gc::response::StageTraits& traits() const {
        return gc::response::stageTraits(kind_);
    }
    [[nodiscard]] Window window() const;
    [[nodiscard]] const gc::response::StageViewState& state() const { return state_; }
    [[nodiscard]] const gc::response::StageViewLabels& labels() const { return labels_; }
    [[nodiscard]] const gc::response::StageViewArrays& arrays() const { return arrays_; }

  private:
    void setCursor(int x, int y);
    void clearCursor();

    gc::response::StageKind kind_;
    const gc::model::ConfigurationModel& model_;
    UiPort& ui_;
    gc::response::StageViewState state_;
    gc::response::StageViewLabels labels_;
    gc::response::StageViewArrays arrays_;
};

}  // namespace gc::app
