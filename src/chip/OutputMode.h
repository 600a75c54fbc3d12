#pragma once
// The output block of the register image for the chosen output firmware, output mode and
// synchronous or asynchronous output.
namespace gc::chip {

struct RegisterImage;

// Writes TristateControl, OutputFormat, OutputMode, OutputFrameControl, OutputWordSize,
// OutputClockControl, SerialMixControl, the four OutputTag, Miscell, ChannelMap, SplitIQ of
// channels 0..3, PFIRControl of channels 0 and 1, and OddChannelPhaseOffset.
//   comb:        CombConfigPlis (0 standard firmware, 1 combined firmware)
//   mode:        ModeOfDdc (0 four, 1 two, 2 one channel; other values skip the mode part)
//   async:       AsyncMode (0 synchronous, 1 asynchronous)
//   activeCount: ActiveCount, the number of enabled DDC channels
// With the standard firmware mode and async are ignored.
void applyOutputMode(RegisterImage& image, int comb, int mode, int async, int activeCount);

}  // namespace gc::chip
