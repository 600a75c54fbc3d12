#include "app/ChannelPlotPresenter.h"

#include <utility>

#include "model/Derived.h"
#include "response/ComparisonPlot.h"

namespace gc::app {

using gc::response::StretchXMax;
using gc::response::StretchYMax;

ChannelPlotPresenter::ChannelPlotPresenter(const gc::model::ConfigurationModel& model, UiPort& ui)
    : model_(model), ui_(ui) {}

void ChannelPlotPresenter::computeCicResponse() {
    gc::response::ComputeCicResponse(model_.Work.CurrentDecimation, 1, arrays_.CicResponse);
}

void ChannelPlotPresenter::refreshChannelPlot() {
    gc::response::ComputeChannelResponse(model_, state_.StretchX, arrays_);
    comparison_.reset();
    if (comparisonSource_) {
        gc::response::ResponseArray other{};
        if (comparisonSource_(state_.StretchX, other)) comparison_ = other;
    }
    redraw();
}

void ChannelPlotPresenter::fitToChannel() {
    // The rate of the mode the plot draws (a mode outside 0..2 counts as 0).
    const double fo = gc::model::exactOutputRate(
        gc::response::responseMode(model_.Chip.ModeOfDdc), model_.Chip.CoefInterpol[0],
        model_.Work.WorkingClock, model_.Work.CurrentDecimation);
    const ChannelBands bands = bands_ ? bands_() : ChannelBands{};
    const double fp = bands.passbandHz.value_or(fo / 2.0);
    const double fs = bands.stopbandHz.value_or(fo / 2.0);
    setStretchX(gc::response::fitStretchX(model_.Work.WorkingClock, fo, fp, fs));
}

void ChannelPlotPresenter::draw(gc::response::Canvas& canvas) {
    gc::response::DrawChannelPlot(canvas, model_, arrays_.ChannelResponse, state_, labels_);
    if (comparison_)
        gc::response::drawComparison(canvas, *comparison_, state_.StretchY, currentName_,
                                     otherName_);
}

void ChannelPlotPresenter::setComparison(std::string currentName, std::string otherName,
                                         ComparisonSource source) {
    currentName_ = std::move(currentName);
    otherName_ = std::move(otherName);
    comparisonSource_ = std::move(source);
    refreshChannelPlot();
}

void ChannelPlotPresenter::clearComparison() {
    comparisonSource_ = nullptr;
    refreshChannelPlot();
}

void ChannelPlotPresenter::redraw() {
    gc::response::updateChannelPlotLabels(model_, arrays_.ChannelResponse, state_, labels_);
    ui_.repaintChannelPlot();
}

void ChannelPlotPresenter::setCursor(int x, int y) {
    // A drag may leave the plot: the column stays on it (and never reads as "no cursor").
    state_.CursorX = gc::response::plotColumn(x);
    state_.CursorY = y;
}

void ChannelPlotPresenter::setStretchX(int s) {
    state_.StretchX = s;
    refreshChannelPlot();
}

void ChannelPlotPresenter::onCICPBoxMouseDown(MouseButton button, int x, int y) {
    if (button == MouseButton::Right) {
        setCursor(x, y);
        redraw();
        state_.Dragging = 1;
        return;
    }
    redraw();
}

void ChannelPlotPresenter::onCICPBoxMouseMove(int x, int y) {
    if (state_.Dragging == 1) setCursor(x, y);
    redraw();
}

void ChannelPlotPresenter::onCICPBoxMouseUp(MouseButton button, int, int) {
    if (button == MouseButton::Right) state_.Dragging = 0;
}

void ChannelPlotPresenter::onPanel5MouseUp(MouseButton button) {
    if (button == MouseButton::Right) {
        state_.CursorX = -1;
        state_.CursorY = -1;
        state_.Dragging = 0;
    }
    redraw();
}

void ChannelPlotPresenter::onFormMouseUp(MouseButton button) { onPanel5MouseUp(button); }

void ChannelPlotPresenter::onButton27Click() {
    if (state_.CursorX != -1 && state_.CursorX != 0) {
        --state_.CursorX;
        redraw();
    }
}

void ChannelPlotPresenter::onButton28Click() {
    if (state_.CursorX != -1 && state_.CursorX != gc::response::PlotPoints - 1) {
        ++state_.CursorX;
        redraw();
    }
}

void ChannelPlotPresenter::onButton19Click() {
    if (state_.StretchX != StretchXMax) setStretchX(state_.StretchX * 2);
}

void ChannelPlotPresenter::onButton20Click() {
    if (state_.StretchX != 1) setStretchX(state_.StretchX / 2);
}

void ChannelPlotPresenter::onButton21Click() { setStretchX(StretchXMax); }

void ChannelPlotPresenter::onButton22Click() { setStretchX(1); }

void ChannelPlotPresenter::onButton23Click() {
    if (state_.StretchY != StretchYMax) {
        state_.StretchY *= 2;
        redraw();
    }
}

void ChannelPlotPresenter::onButton24Click() {
    if (state_.StretchY != 1) {
        state_.StretchY /= 2;
        redraw();
    }
}

void ChannelPlotPresenter::onButton25Click() {
    state_.StretchY = StretchYMax;
    redraw();
}

void ChannelPlotPresenter::onButton26Click() {
    state_.StretchY = 1;
    redraw();
}

void ChannelPlotPresenter::onButton11Click() { refreshChannelPlot(); }

}  // namespace gc::app
