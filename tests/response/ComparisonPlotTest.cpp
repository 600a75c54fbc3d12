// "Сравнить с...": a second configuration's channel over the main plot with a legend, and its
// figures beside the current ones in the requirement window.
#include <gtest/gtest.h>

#include <string>

#include "app/LoadSaveTestSupport.h"
#include "app/Program.h"
#include "app/WorkingFolder.h"
#include "appconfig/ConfigFile.h"
#include "response/ComparisonPlot.h"
#include "response/RecordingCanvas.h"

using gc::app::testing::fileText;
using gc::app::testing::putFile;
using gc::app::testing::ScriptedUi;
using gc::app::testing::TempFolder;
using gc::response::kComparisonColour;
using gc::testing::RecordingCanvas;

TEST(ComparisonPlot, TheComparedCurveInItsColourAndALegendOfBothNames) {
    // A flat response at its peak lies on row 0 (0 dB); a tenth of it on row 40 (-20 dB).
    gc::response::ResponseArray other{};
    other.fill(1.0);
    other[128] = 0.1;
    RecordingCanvas canvas;
    gc::response::drawComparison(canvas, other, 1, "std.trv", "narrow.trv");

    const auto blue = canvas.linesIn(kComparisonColour);
    ASSERT_EQ(blue.size(), 255u + 1u);  // the curve, then the legend's sample line
    EXPECT_EQ(blue[0].y0, 0);
    EXPECT_EQ(blue[127].y1, 40);  // the segment into column 128
    EXPECT_EQ(blue[128].y0, 40);
    EXPECT_EQ(blue[254].y1, 0);
    // The legend: a white box in the top right corner, 110 x 26 plot pixels 3 from the edges,
    // framed in black; a black then a blue sample line, each followed by its name.
    ASSERT_EQ(canvas.fills.size(), 1u);
    EXPECT_EQ(canvas.fills[0].x, 256 - 3 - 110);
    EXPECT_EQ(canvas.fills[0].y, 3);
    EXPECT_EQ(canvas.fills[0].w, 110);
    EXPECT_EQ(canvas.fills[0].h, 26);
    EXPECT_EQ(canvas.fills[0].colour, gc::response::kWhite);
    ASSERT_EQ(canvas.texts.size(), 2u);
    EXPECT_EQ(canvas.texts[0].text, "std.trv");
    EXPECT_EQ(canvas.texts[1].text, "narrow.trv");
    EXPECT_EQ(canvas.texts[0].x, 143 + 20);
    EXPECT_EQ(canvas.texts[0].y, 3 + 1 + 6);
    EXPECT_EQ(canvas.texts[1].y, 3 + 1 + 6 + 12);
    EXPECT_EQ(canvas.texts[0].maxWidth, 110 - 24);
    const auto& sample = blue.back();
    EXPECT_EQ(sample.y0, canvas.texts[1].y);
    EXPECT_EQ(sample.width, 2);
}

namespace {

// A working folder with a second configuration: channel 0 decimating by 128 instead of 64.
struct CompareRig {
    CompareRig() {
        gc::app::testing::RecordingUi silent(log);
        EXPECT_TRUE(gc::app::writeWorkingFolder(gc::app::workingFolderFiles(folder.str()), silent));
        std::string narrow = fileText(folder / "CONFIGS/std.trv");
        narrow.replace(narrow.find("Decimation= 64 "), 15, "Decimation= 128 ");
        putFile(folder / "CONFIGS/narrow.trv", narrow);
        program.loadSave.start();
        log.clear();
    }
    // The channel response of `config` as the main plot shows it when it is the configuration
    // read, with channel `channel` chosen.
    gc::response::ResponseArray mainResponseOf(const std::string& config, int channel) {
        std::vector<std::string> otherLog;
        ScriptedUi otherUi(otherLog);
        gc::app::Program other(otherUi, gc::appconfig::Workspace(folder.str()));
        other.presenter.startWithDefaults();
        other.loadSave.loadConfiguration(config);
        other.state.ComboBox7.index = channel;
        other.presenter.onComboBox7Changed();
        return other.plot.arrays().ChannelResponse;
    }

    TempFolder folder;
    std::vector<std::string> log;
    ScriptedUi ui{log};
    gc::app::Program program{ui, gc::appconfig::Workspace(folder.str())};
};

}  // namespace

TEST(ComparePresenter, DrawsTheSecondConfigurationsChannelWithoutTouchingTheCurrentOne) {
    CompareRig rig;
    auto& program = rig.program;
    gc::model::ConfigurationModel before = program.session.model;
    const std::string textBefore = gc::appconfig::configurationText(before);

    rig.ui.answers.push_back("CONFIGS/narrow.trv");
    program.compare.onCompareClick();
    ASSERT_TRUE(program.compare.comparing());
    EXPECT_EQ(program.compare.otherName(), "narrow.trv");
    EXPECT_TRUE(rig.ui.reports.empty());
    gc::model::ConfigurationModel after = program.session.model;
    EXPECT_EQ(gc::appconfig::configurationText(after), textBefore);
    // The compared curve is what the main plot shows with narrow.trv read.
    ASSERT_TRUE(program.plot.comparisonResponse().has_value());
    EXPECT_EQ(*program.plot.comparisonResponse(), rig.mainResponseOf("CONFIGS/narrow.trv", 0));
    EXPECT_NE(*program.plot.comparisonResponse(), program.plot.arrays().ChannelResponse);

    // The plot draws it, with both names.
    RecordingCanvas canvas;
    program.plot.draw(canvas);
    ASSERT_EQ(canvas.texts.size(), 2u);
    EXPECT_EQ(canvas.texts[0].text, "std.trv");
    EXPECT_EQ(canvas.texts[1].text, "narrow.trv");
    EXPECT_FALSE(canvas.linesIn(kComparisonColour).empty());

    // Another current channel: the compared channel follows.
    program.state.ComboBox7.index = 2;
    program.presenter.onComboBox7Changed();
    EXPECT_EQ(*program.plot.comparisonResponse(), rig.mainResponseOf("CONFIGS/narrow.trv", 2));

    // A configuration that cannot be read is reported and keeps the comparison as it was.
    EXPECT_FALSE(program.compare.compareWith("CONFIGS/none.trv"));
    EXPECT_EQ(rig.ui.reportLines(),
              (std::vector<std::string>{"Файл конфигурации none.trv отсутствует!"}));
    EXPECT_EQ(program.compare.otherName(), "narrow.trv");

    program.compare.onCompareOffClick();
    EXPECT_FALSE(program.compare.comparing());
    EXPECT_FALSE(program.plot.comparisonResponse().has_value());
    RecordingCanvas plain;
    program.plot.draw(plain);
    EXPECT_TRUE(plain.texts.empty());
    EXPECT_TRUE(plain.linesIn(kComparisonColour).empty());
}

TEST(ComparePresenter, TheRequirementWindowShowsTheComparedFiguresBeside) {
    CompareRig rig;
    auto& program = rig.program;
    auto& req = program.requirementState;
    req.EditFp.text = "80000";
    req.EditRmax.text = "1";
    program.requirement.onEditFpEnter();
    ASSERT_TRUE(program.compare.compareWith("CONFIGS/narrow.trv"));
    EXPECT_EQ(req.LabelComparisonName, "narrow.trv");
    // Decimating by 128 instead of 64 halves the output rate: 390625 -> 195312.5 Hz.
    EXPECT_EQ(req.PanelOutputRate, "390625.0");
    EXPECT_EQ(req.PanelCmpOutputRate, "195312.5");
    // The compared figures are those the current ones would be with narrow.trv read; Fp 80000
    // is still inside its half output rate 97656.25 Hz.
    ScriptedUi otherUi(rig.log);
    gc::app::Program other(otherUi, gc::appconfig::Workspace(rig.folder.str()));
    other.presenter.startWithDefaults();
    other.loadSave.loadConfiguration("CONFIGS/narrow.trv");
    other.requirementState.EditFp.text = "80000";
    other.requirementState.EditRmax.text = "1";
    other.requirement.onEditFpEnter();
    EXPECT_EQ(req.PanelCmpRipple.text, other.requirementState.PanelRipple.text);
    EXPECT_EQ(req.PanelCmpRipple.colour, other.requirementState.PanelRipple.colour);
    EXPECT_EQ(req.PanelCmpStopband.text, other.requirementState.PanelStopband.text);
    EXPECT_EQ(req.PanelCmpAlias.text, other.requirementState.PanelAlias.text);
    EXPECT_EQ(req.PanelCmpBandwidth, other.requirementState.PanelBandwidth);
    EXPECT_NE(req.PanelCmpRipple.text, "");

    program.compare.onCompareOffClick();
    EXPECT_EQ(req.LabelComparisonName, "");
    EXPECT_EQ(req.PanelCmpOutputRate, "");
}
