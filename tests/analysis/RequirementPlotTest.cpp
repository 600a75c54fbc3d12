#include <gtest/gtest.h>

#include <cmath>

#include "AnalysisTestSupport.h"
#include "analysis/RequirementPlot.h"
#include "response/RecordingCanvas.h"

namespace gc::analysis {
namespace {

using gc::response::PenStyle;
using gc::testing::RecordingCanvas;

TEST(RequirementPlot, AliasCurveFollowsThePlotColumnsUpToHalfTheOutputRate) {
    const ChannelChain chain(testing::libraryChain(64, 3, 7, 3));  // Fo 390625
    EXPECT_DOUBLE_EQ(columnFrequencyHz(100e6, 64, 64), 195312.5);
    EXPECT_DOUBLE_EQ(columnFrequencyHz(100e6, 1, 128), 25e6);

    const AliasCurve curve = aliasCurve(chain, 64);
    ASSERT_EQ(curve.columns, 65);  // column 64 is Fo/2 itself
    for (int k : {0, 1, 30, 64})
        EXPECT_DOUBLE_EQ(curve.values[k], aliasMagnitude(chain, columnFrequencyHz(100e6, 64, k)));
    for (int k = 65; k < 256; ++k) EXPECT_EQ(curve.values[k], 0.0);
    // At stretch 1 column 1 is Fo/2 itself.
    EXPECT_EQ(aliasCurve(chain, 1).columns, 2);
    ChainSpec noRate = testing::libraryChain(64, 3, 7, 3);
    noRate.outputRateHz = 0;
    EXPECT_EQ(aliasCurve(ChannelChain(noRate), 64).columns, 0);
}

TEST(RequirementPlot, OverlayDrawsTheMaskAndTheAliasCurve) {
    RequirementOverlay o;
    o.clockHz = 100e6;
    o.stretchX = 64;
    o.stretchY = 1;
    o.plotPeak = 1000.0;
    o.referenceLevel = 1000.0;
    o.passbandHz = 80000.0;        // column 26
    o.stopbandHz = 195312.5;       // column 64
    o.rippleMaxDb = 1.0;           // row 2
    o.stopbandMinDb = 80.0;        // row 160
    o.aliasRejectionMinDb = 90.0;  // row 180
    AliasCurve curve;
    curve.columns = 3;
    curve.values[0] = 1.0;   // -60 dB: row 120
    curve.values[1] = 0.1;   // row 160
    curve.values[2] = 0.01;  // row 200

    RecordingCanvas canvas;
    drawRequirementOverlay(canvas, o, curve);
    const auto mask = canvas.linesIn(kMaskColour);
    ASSERT_EQ(mask.size(), 5u);
    auto is = [](const RecordingCanvas::Line& l, int x0, int y0, int x1, int y1) {
        return l.x0 == x0 && l.y0 == y0 && l.x1 == x1 && l.y1 == y1 && l.style == PenStyle::Solid;
    };
    EXPECT_TRUE(is(mask[0], 0, 0, 26, 0));
    // -1 dB on the plot's own row rule (log10 of the ratio read back: row 1 or 2)
    const int rippleRow = gc::response::ResponseRow(1000.0 * std::pow(10.0, -0.05), 1000.0, 1);
    EXPECT_NEAR(rippleRow, 2, 1);
    EXPECT_TRUE(is(mask[1], 0, rippleRow, 26, rippleRow));
    EXPECT_TRUE(is(mask[2], 26, 0, 26, rippleRow));
    EXPECT_TRUE(is(mask[3], 64, 0, 64, 160)) << mask[3].x0 << ' ' << mask[3].y1;
    EXPECT_TRUE(is(mask[4], 64, 160, 256, 160)) << mask[4].x1 << ' ' << mask[4].y1;
    const auto alias = canvas.linesIn(kAliasColour);
    ASSERT_EQ(alias.size(), 3u);
    EXPECT_EQ(alias[0].style, PenStyle::Dotted);
    EXPECT_EQ(alias[0].y0, 180);
    EXPECT_EQ(alias[0].x1, 26);
    EXPECT_TRUE(alias[1].x0 == 0 && alias[1].y0 == 120 && alias[1].x1 == 1 && alias[1].y1 == 160);
    EXPECT_TRUE(alias[2].x1 == 2 && alias[2].y1 == 200 && alias[2].style == PenStyle::Solid);
    EXPECT_EQ(canvas.calls.back(), "pen");  // left black and solid for whoever draws next

    // The reference below the plot's peak lowers the whole mask; a larger vertical stretch
    // spreads it.
    o.referenceLevel = 100.0;  // -20 dB
    o.stretchY = 2;
    RecordingCanvas lowered;
    drawRequirementOverlay(lowered, o, AliasCurve{});
    const auto m2 = lowered.linesIn(kMaskColour);
    EXPECT_EQ(m2[0].y0, 80);
    EXPECT_NEAR(m2[1].y0, 84, 1);  // 10^(-21/20) read back through log10
    EXPECT_EQ(m2[4].y1, 400);
    EXPECT_TRUE(lowered.linesIn(kAliasColour).size() == 1u);  // the limit only, no curve

    // Without limits: the P level over the pass band, its edge, and a dotted stop-band edge.
    RequirementOverlay bare = o;
    bare.rippleMaxDb.reset();
    bare.stopbandMinDb.reset();
    bare.aliasRejectionMinDb.reset();
    RecordingCanvas plain;
    drawRequirementOverlay(plain, bare, AliasCurve{});
    const auto m3 = plain.linesIn(kMaskColour);
    ASSERT_EQ(m3.size(), 3u);
    EXPECT_TRUE(m3[1].x0 == 26 && m3[1].y0 == 0 && m3[1].y1 == 80);
    EXPECT_TRUE(m3[2].x0 == 64 && m3[2].y1 == 240 && m3[2].style == PenStyle::Dotted);

    // No peak (an all-zero response): nothing that needs a level is drawn.
    bare.plotPeak = 0.0;
    RecordingCanvas empty;
    drawRequirementOverlay(empty, bare, curve);
    EXPECT_EQ(empty.linesIn(kAliasColour).size(), 0u);
    EXPECT_EQ(empty.linesIn(kMaskColour).size(), 1u);  // the stop-band edge needs no level
}

}  // namespace
}  // namespace gc::analysis
