#include "chip/OutputMode.h"

#include "chip/RegisterImage.h"

namespace gc::chip {

namespace {

constexpr int kOddChannelQuarterTurn = 0x4000;  // 90 degrees of the 16-bit NCO phase word

void setSplitIQ(RegisterImage& image, int even, int odd) {
    image.Channels[0].SplitIQ = even;
    image.Channels[1].SplitIQ = odd;
    image.Channels[2].SplitIQ = even;
    image.Channels[3].SplitIQ = odd;
}

void setPfirControl(RegisterImage& image, int value) {
    image.Channels[0].PFIRControl = value;
    image.Channels[1].PFIRControl = value;
}

// Four independent outputs: no I/Q split, straight channel map, no phase offset.
void setIndependentOutputs(RegisterImage& image) {
    setSplitIQ(image, 0, 0);
    image.ChannelMap = 0xE4;
    setPfirControl(image, 0);
    image.OddChannelPhaseOffset = 0;
}

}  // namespace

void applyOutputMode(RegisterImage& image, int comb, int mode, int async, int activeCount) {
    if (comb == 0) {
        image.TristateControl = 0x7F;
        image.OutputFormat = 0x40;
        image.OutputMode = 0x28;
        image.OutputFrameControl = 0x01;
        image.OutputWordSize = 0xD9;
        image.OutputClockControl = 0xB0;
        image.SerialMixControl = 0xE4;
        image.OutputTag = {0x10, 0x32, 0x64, 0x76};
        image.Miscell = 0x02;
        setIndependentOutputs(image);
        return;
    }

    image.TristateControl = 0x7F;
    image.OutputMode = 0x4A;
    image.OutputClockControl = 0x00;
    image.SerialMixControl = 0xE4;
    image.OutputTag = {0x11, 0x22, 0x44, 0x88};
    image.Miscell = 0x03;

    if (async == 0) {
        image.OutputFormat = 0x40;
        // Frame control and word size follow the number of enabled outputs; a combined mode
        // joins 2^mode DDC channels into one output; more than four leave both as they are.
        const int outputs = (mode >= 0 && mode < 31) ? activeCount >> mode : activeCount;
        constexpr int kFrameControl[] = {0x01, 0x02, 0x04, 0x06, 0x08};
        constexpr int kWordSize[] = {0x01, 0x01, 0x03, 0x05, 0x07};
        if (outputs >= 0 && outputs <= 4) {
            image.OutputFrameControl = kFrameControl[outputs];
            image.OutputWordSize = kWordSize[outputs];
        }
        setIndependentOutputs(image);
    }
    if (async == 1) {
        image.OutputFormat = 0x48;
        image.OutputFrameControl = 0x01;
        image.OutputWordSize = 0x09;
    }

    switch (mode) {
        case 0:
            setIndependentOutputs(image);
            break;
        case 1:
            setSplitIQ(image, 0x30, 0x50);
            image.ChannelMap = 0x50;
            setPfirControl(image, 0);
            image.OddChannelPhaseOffset = kOddChannelQuarterTurn;
            break;
        case 2:
            setSplitIQ(image, 0x30, 0x50);
            image.ChannelMap = 0x00;
            setPfirControl(image, 0x06);
            image.OddChannelPhaseOffset = kOddChannelQuarterTurn;
            break;
        default:
            break;
    }
}

}  // namespace gc::chip
