#pragma once
// The response work the main window's handlers set off: the CIC response table and the
// channel plot. Implemented beside the response computation; tests record the calls.
namespace gc::app {

class ChannelPlotSeam {
  public:
    virtual ~ChannelPlotSeam() = default;
    // ComputeCicResponse: the CIC response table for CurrentDecimation.
    virtual void computeCicResponse() = 0;
    // RefreshChannelPlot: recompute the channel response and redraw the main plot.
    virtual void refreshChannelPlot() = 0;
    // "Fit to the channel": the horizontal stretch that shows the channel's bands, then
    // RefreshChannelPlot. Nothing where there is no plot.
    virtual void fitToChannel() {}
};

}  // namespace gc::app
