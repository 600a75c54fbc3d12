#include <gtest/gtest.h>

#include <vector>

#include "chip/RegisterImage.h"
#include "filters/FilterTables.h"
#include "filters/TapSelection.h"
#include "model/ConfigurationModel.h"

namespace {

using gc::chip::RegisterImage;
using gc::filters::TapSource;
using gc::model::ConfigurationModel;

TEST(TapSelection, CfirAndPfirTablesAreMirroredAboutTheCentre) {
    ConfigurationModel model;
    model.Work.CurrentChannel = 2;
    model.Work.CfirSelection[2] = 3;  // cfir_68
    model.Work.PfirSelection[2] = 0;  // pfir_bypass
    gc::filters::ApplyCfirSelection(model, TapSource::Table);
    gc::filters::ApplyPfirSelection(model, TapSource::Table);
    const std::vector<int> cfir68{12,    -93,   -62,   804,   1283,  -1273, -5197,
                                  -3512, 8332,  24823, 32767, 24823, 8332,  -3512,
                                  -5197, -1273, 1283,  804,   -62,   -93,   12};
    EXPECT_EQ(std::vector<int>(model.CfirTaps[2].begin(), model.CfirTaps[2].end()), cfir68);
    for (int i = 0; i < 63; ++i) EXPECT_EQ(model.PfirTaps[2][i], i == 31 ? 65536 : 0) << i;
    // Other channels are untouched.
    for (int v : model.CfirTaps[0]) EXPECT_EQ(v, 0);

    model.Work.PfirSelection[2] = 7;  // pfir_gsm
    gc::filters::ApplyPfirSelection(model, TapSource::Table);
    const auto& p = model.PfirTaps[2];
    for (int j = 0; j < 31; ++j) EXPECT_EQ(p[32 + j], p[30 - j]);
    EXPECT_EQ(p[0], 132);
    EXPECT_EQ(p[62], 132);
    EXPECT_EQ(p[31], 32767);

    model.Work.CfirSelection[1] = 0;  // cfir_bypass, for a channel that is not current
    gc::filters::ApplyCfirSelectionFor(model, 1, TapSource::Table);
    for (int i = 0; i < 21; ++i) EXPECT_EQ(model.CfirTaps[1][i], i == 10 ? 65536 : 0);
}

TEST(TapSelection, FileSourceCopiesTheFileBuffersUnmirrored) {
    ConfigurationModel model;
    model.Work.CurrentChannel = 1;
    for (int i = 0; i < 21; ++i) model.CfirFileTaps[1][i] = i + 1;  // not symmetric
    for (int i = 0; i < 63; ++i) model.PfirFileTaps[1][i] = -i;
    model.CfirTaps[1].fill(99);
    gc::filters::ApplyCfirSelection(model, TapSource::File);
    gc::filters::ApplyPfirSelection(model, TapSource::File);
    EXPECT_EQ(model.CfirTaps[1], model.CfirFileTaps[1]);
    EXPECT_EQ(model.PfirTaps[1], model.PfirFileTaps[1]);

    // Before any file was read the buffers are zero, and so are the taps in use.
    ConfigurationModel fresh;
    fresh.CfirTaps[0].fill(5);
    gc::filters::ApplyCfirSelection(fresh, TapSource::File);
    for (int v : fresh.CfirTaps[0]) EXPECT_EQ(v, 0);
}

TEST(TapSelection, OutOfRangeIndicesNeverReadOutsideTheLibrary) {
    ConfigurationModel model;
    model.Work.CfirSelection[0] = 42;
    model.Work.PfirSelection[0] = -3;
    model.Work.RfirSelection = 1000;
    RegisterImage image;
    gc::filters::ApplyCfirSelection(model, TapSource::Table);
    gc::filters::ApplyPfirSelection(model, TapSource::Table);
    gc::filters::ApplyResamplerSelection(model, image, TapSource::Table);
    EXPECT_EQ(model.CfirTaps[0][10], 32767);  // bounded to the last set, cfir_umts
    EXPECT_EQ(model.CfirTaps[0][0], -8);
    EXPECT_EQ(model.PfirTaps[0][31], 65536);       // bounded to the first set, pfir_bypass
    EXPECT_EQ(model.Work.ResamplerTapCount, 304);  // the last set, res_19x16_80

    // A channel outside 0..3 changes nothing.
    const auto before = model.CfirTaps;
    gc::filters::ApplyCfirSelectionFor(model, 4, TapSource::Table);
    gc::filters::ApplyPfirSelectionFor(model, -1, TapSource::File);
    EXPECT_EQ(model.CfirTaps, before);
}

struct ResamplerCase {
    int selection;
    int count, ndelay, multiplies;
};

TEST(TapSelection, ResamplerTableDerivesLengthPhasesAndMultiplies) {
    const ResamplerCase cases[] = {{0, 224, 32, 7}, {1, 384, 64, 6},  {2, 448, 64, 7},
                                   {3, 512, 64, 8}, {4, 512, 64, 8},  {5, 288, 32, 9},
                                   {6, 384, 64, 6}, {7, 480, 32, 15}, {8, 304, 16, 19}};
    for (const ResamplerCase& c : cases) {
        SCOPED_TRACE(c.selection);
        ConfigurationModel model;
        RegisterImage image;
        image.NMultiplies = c.selection == 0 ? 0x07 : 0x47;
        model.ResamplerTaps.fill(77);
        model.Work.RfirSelection = c.selection;
        gc::filters::ApplyResamplerSelection(model, image, TapSource::Table);
        EXPECT_EQ(model.Work.ResamplerTapCount, c.count);
        EXPECT_EQ(model.Work.Ndelay, c.ndelay);
        EXPECT_EQ(model.Chip.NumMultiplies, c.multiplies);
        EXPECT_FALSE(model.Work.ResamplerLengthError);
        const bool bypass = c.selection == 0;
        EXPECT_EQ(image.NMultiplies, bypass ? 0x47 : 0x07);

        const auto& set = gc::filters::resamplerLibrary()[c.selection];
        if (bypass) {
            EXPECT_EQ(model.ResamplerTaps[0], 1024);
            for (int i = 1; i < 512; ++i) ASSERT_EQ(model.ResamplerTaps[i], 0) << i;
        } else {
            const int h = set.tapCount / 2;
            for (int i = 0; i < h; ++i) {
                ASSERT_EQ(model.ResamplerTaps[i], set.taps[i]) << i;
                ASSERT_EQ(model.ResamplerTaps[2 * h - 1 - i], set.taps[i]) << i;
            }
            EXPECT_EQ(model.ResamplerTaps[h - 1], 2047);
            EXPECT_EQ(model.ResamplerTaps[h], 2047);
            for (int i = set.tapCount; i < 512; ++i) ASSERT_EQ(model.ResamplerTaps[i], 0) << i;
        }
    }
}

TEST(TapSelection, ResamplerFileLengthsAndPhaseSearch) {
    struct FileCase {
        int count, ndelay, multiplies;
        bool error;
        int usedCount;
    };
    const FileCase cases[] = {
        {100, 4, 25, false, 100}, {102, 4, 25, true, 102},  {0, 64, 0, false, 0},
        {1, 32, 7, false, 224},   {512, 64, 8, false, 512}, {48, 16, 3, false, 48},
        {3, 4, 0, true, 3},       {600, 64, 8, false, 512}, {-5, 64, 0, false, 0},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.count);
        ConfigurationModel model;
        RegisterImage image;
        image.NMultiplies = c.count == 1 ? 0x07 : 0x47;
        for (int i = 0; i < 512; ++i) model.ResamplerFileTaps[i] = i + 1;
        model.ResamplerFileTapCount = c.count;
        model.ResamplerTaps.fill(-1);
        gc::filters::ApplyResamplerSelection(model, image, TapSource::File);
        EXPECT_EQ(model.Work.ResamplerTapCount, c.usedCount);
        EXPECT_EQ(model.Work.Ndelay, c.ndelay);
        EXPECT_EQ(model.Chip.NumMultiplies, c.multiplies);
        EXPECT_EQ(model.Work.ResamplerLengthError, c.error);
        EXPECT_EQ(image.NMultiplies, c.count == 1 ? 0x47 : 0x07);
        const int copied = c.count < 0 ? 0 : (c.count > 512 ? 512 : c.count);
        for (int i = 0; i < 512; ++i)
            ASSERT_EQ(model.ResamplerTaps[i], i < copied ? i + 1 : 0) << i;
    }
}

}  // namespace
