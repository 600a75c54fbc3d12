#pragma once
// The main window's response plot without the window: the plot state, the channel response
// arrays and the label texts, with one method per control event around CICPBox.
//
// The arrays are recomputed only when the model changed (refreshChannelPlot, the stretch-X
// buttons, "R"); cursor and stretch-Y events only update the texts and ask for a repaint. The
// UI paints by calling draw() from its paint event and then shows labels().
#include <functional>
#include <optional>
#include <string>

#include "app/ChannelPlotMouse.h"
#include "app/ChannelPlotSeam.h"
#include "app/UiPort.h"
#include "model/ConfigurationModel.h"
#include "response/Canvas.h"
#include "response/ChannelPlot.h"
#include "response/Response.h"

namespace gc::app {

class ChannelPlotPresenter : public ChannelPlotSeam {
  public:
    ChannelPlotPresenter(const gc::model::ConfigurationModel& model, UiPort& ui);

    // ComputeCicResponse (1, CicResponse): the CIC response table step of the refreshes.
    // The next refreshChannelPlot recomputes it at StretchX, so nothing is repainted.
    void computeCicResponse() override;
    // RefreshChannelPlot: the channel response at StretchX, the texts, and a repaint.
    void refreshChannelPlot() override;
    // "По каналу" (ButtonFit) and its key: StretchX from fitStretchX for the channel's exact
    // output rate and its bands (those of `bands`, else the whole output band [0, Fo/2]),
    // then RefreshChannelPlot.
    void fitToChannel() override;
    void onButtonFitClick() { fitToChannel(); }

    // The pass-band and stop-band edges the fit shows, Hz, where a requirement gives them.
    struct ChannelBands {
        std::optional<double> passbandHz;
        std::optional<double> stopbandHz;
    };
    void setBandsSource(std::function<ChannelBands()> bands) { bands_ = std::move(bands); }

    // DrawChannelPlot onto the UI's canvas, from the arrays as they stand.
    void draw(gc::response::Canvas& canvas);

    // CICPBox. Right button: places the cursor (the column bounded to the plot) and starts a
    // drag; a move while dragging moves it. The left button only redraws.
    void onCICPBoxMouseDown(MouseButton button, int x, int y);
    void onCICPBoxMouseMove(int x, int y);
    void onCICPBoxMouseUp(MouseButton button, int x, int y);
    // A right-button release on the frame (Panel5) or the window's background removes the
    // cursor; other buttons only redraw.
    void onPanel5MouseUp(MouseButton button);
    void onFormMouseUp(MouseButton button);
    void onButton27Click();  // "<"
    void onButton28Click();  // ">"
    void onButton19Click();  // X "*2"
    void onButton20Click();  // X "/2"
    void onButton21Click();  // X "max"
    void onButton22Click();  // X "=1"
    void onButton23Click();  // Y "*2"
    void onButton24Click();  // Y "/2"
    void onButton25Click();  // Y "max"
    void onButton26Click();  // Y "=1"
    void onButton11Click();  // "R" (hidden): recompute and redraw

    // A second configuration drawn over the channel response ("Сравнить с..."), with a legend
    // of both names. `source` computes its channel response at a horizontal stretch whenever the
    // plot's arrays are computed (false: nothing to draw). Setting and clearing recompute and
    // repaint.
    using ComparisonSource = std::function<bool(int stretchX, gc::response::ResponseArray& out)>;
    void setComparison(std::string currentName, std::string otherName, ComparisonSource source);
    void clearComparison();
    [[nodiscard]] bool comparing() const { return static_cast<bool>(comparisonSource_); }
    // The compared channel response as last computed (empty while none is shown).
    [[nodiscard]] const std::optional<gc::response::ResponseArray>& comparisonResponse() const {
        return comparison_;
    }

    [[nodiscard]] const gc::response::ChannelPlotState& state() const { return state_; }
    [[nodiscard]] const gc::response::ChannelPlotLabels& labels() const { return labels_; }
    [[nodiscard]] const gc::response::ResponseArrays& arrays() const { return arrays_; }

  private:
    void redraw();  // texts now, picture at the next paint
    void setCursor(int x, int y);
    void setStretchX(int s);

    const gc::model::ConfigurationModel& model_;
    UiPort& ui_;
    gc::response::ChannelPlotState state_;
    gc::response::ChannelPlotLabels labels_;
    gc::response::ResponseArrays arrays_;
    ComparisonSource comparisonSource_;
    std::string currentName_;
    std::string otherName_;
    std::optional<gc::response::ResponseArray> comparison_;
    std::function<ChannelBands()> bands_;
};

}  // namespace gc::app
