#include <gtest/gtest.h>

#include <string>

#include "model/ConfigurationModel.h"

using namespace gc::model;

TEST(ApplyToAllChannels, CopiesTheChannelAndLeavesTheChipAlone) {
    ConfigurationModel model;
    // Make every channel and every chip-wide field tell its origin.
    for (int i = 0; i < kChannelCount; ++i) {
        ChannelSettings& ch = model.Channels[i];
        ch.Mix20bit = i % 2;
        ch.Shift = i;
        ch.Scale = i + 1;
        ch.BigScale = i + 2;
        ch.Decimation = 10 + i;
        ch.CoarseGain = 7 - i;
        ch.FineGain = 100 * i;
        ch.IndexCFIR = 20 + i;
        ch.IndexPFIR = 30 + i;
        ch.NameOfCFIR = "c" + std::to_string(i) + ".taps";
        ch.NameOfPFIR = "p" + std::to_string(i) + ".taps";
        model.Chip.Fc[i] = 1000 * i;
        model.Chip.Phase[i] = 0.5f * static_cast<float>(i);
        model.Chip.InputPort[i] = 3 - i;
        model.Chip.ChannelReset[i] = 40 + i;
        model.Chip.CoefInterpol[i] = 2.0f + static_cast<float>(i);
        model.CfirTaps[i].fill(i + 1);
        model.PfirTaps[i].fill(-(i + 1));
        model.CfirFileTaps[i].fill(50 + i);
        model.PfirFileTaps[i].fill(60 + i);
        model.Work.CfirSelection[i] = i;
        model.Work.PfirSelection[i] = 9 - i;
    }
    model.Chip.ModeOfDdc = 1;
    model.Chip.MaskChan1x = 5;
    model.Chip.MaskChan2x = 2;
    model.Chip.MaskChan4x = 0;
    model.Chip.NumMultiplies = 19;
    model.Chip.FinalShift = 3;
    model.Work.RfirSelection = 8;
    model.ResamplerTaps[0] = 77;
    model.Work.CurrentChannel = 2;
    const ConfigurationModel before = model;

    applyToAllChannels(model);

    for (int i = 0; i < kChannelCount; ++i) {
        SCOPED_TRACE(i);
        const ChannelSettings& ch = model.Channels[i];
        const ChannelSettings& src = before.Channels[2];
        EXPECT_EQ(ch.Mix20bit, src.Mix20bit);
        EXPECT_EQ(ch.Shift, src.Shift);
        EXPECT_EQ(ch.Scale, src.Scale);
        EXPECT_EQ(ch.BigScale, src.BigScale);
        EXPECT_EQ(ch.Decimation, src.Decimation);
        EXPECT_EQ(ch.CoarseGain, src.CoarseGain);
        EXPECT_EQ(ch.FineGain, src.FineGain);
        EXPECT_EQ(ch.NameOfCFIR, "c2.taps");
        EXPECT_EQ(ch.NameOfPFIR, "p2.taps");
        EXPECT_EQ(model.Chip.Fc[i], 2000);
        EXPECT_EQ(model.Chip.Phase[i], 1.0f);
        EXPECT_EQ(model.Chip.InputPort[i], 1);
        EXPECT_EQ(model.CfirTaps[i], before.CfirTaps[2]);
        EXPECT_EQ(model.PfirTaps[i], before.PfirTaps[2]);
        EXPECT_EQ(model.Work.CfirSelection[i], 2);
        EXPECT_EQ(model.Work.PfirSelection[i], 7);
        // The file buffers travel with the taps, so a channel made current later under the
        // file source re-derives the copied taps.
        EXPECT_EQ(model.CfirFileTaps[i], before.CfirFileTaps[2]);
        EXPECT_EQ(model.PfirFileTaps[i], before.PfirFileTaps[2]);
        // Not touched.
        EXPECT_EQ(ch.IndexCFIR, 20 + i);
        EXPECT_EQ(ch.IndexPFIR, 30 + i);
        EXPECT_EQ(model.Chip.ChannelReset[i], 40 + i);
        EXPECT_EQ(model.Chip.CoefInterpol[i], before.Chip.CoefInterpol[i]);
    }
    EXPECT_EQ(model.Chip.ModeOfDdc, 1);
    EXPECT_EQ(model.Chip.MaskChan1x, 5);
    EXPECT_EQ(model.Chip.MaskChan2x, 2);
    EXPECT_EQ(model.Chip.MaskChan4x, 0);
    EXPECT_EQ(model.Chip.NumMultiplies, 19);
    EXPECT_EQ(model.Chip.FinalShift, 3);
    EXPECT_EQ(model.Work.RfirSelection, 8);
    EXPECT_EQ(model.ResamplerTaps, before.ResamplerTaps);
    EXPECT_EQ(model.Work.CurrentChannel, 2);
}
