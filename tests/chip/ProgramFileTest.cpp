#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "chip/ChipTestSupport.h"
#include "chip/ProgramFile.h"
#include "chip/RegisterImage.h"
#include "model/ConfigurationModel.h"
#include "model/TextFile.h"

namespace gc::chip {
namespace {

using gc::model::ConfigurationModel;

std::vector<std::string> linesOf(const std::string& text) { return gc::model::splitLines(text); }

// The register lines after the "Page Reg Val" heading.
std::vector<std::string> registerLines(const std::string& text) {
    const auto lines = linesOf(text);
    const auto heading = std::find(lines.begin(), lines.end(), "Page Reg Val");
    EXPECT_NE(heading, lines.end());
    return {heading + 1, lines.end()};
}

std::string headerLine(const std::string& text, const std::string& key) {
    for (const auto& line : linesOf(text))
        if (line.rfind(key, 0) == 0) return line;
    return "(absent)";
}

TEST(ProgramFile, GoldenFile) {
    const ConfigurationModel model = test::goldenModel();
    const RegisterImage image = test::goldenImage(model);
    EXPECT_EQ(programFileText(model, image), test::goldenText("program_mode1.prg.txt"));
}

TEST(ProgramFile, LayoutOfTheInitialImage) {
    ConfigurationModel model;
    model.Work.ActiveMask = 0xf;
    const std::string text = programFileText(model, RegisterImage{});
    ASSERT_EQ(text.back(), '\n');
    const auto lines = linesOf(text);
    ASSERT_EQ(lines.size(), 12u + 986u);
    EXPECT_EQ(lines[0], "*** Prog File for Graychip GC4016 ****");
    EXPECT_EQ(lines[1], "Clock= 100000000");
    EXPECT_EQ(lines[9], "MaskAdc= 0xf");
    EXPECT_EQ(lines[10], "MaskDdc= 0xf");
    EXPECT_EQ(lines[11], "Page Reg Val");
    const std::vector<std::string> firstLines(lines.begin() + 12, lines.begin() + 20);
    EXPECT_EQ(firstLines, (std::vector<std::string>{
                              "0    0   0xf8", "0    1   0x0", "0    3   0x0", "0    4   0x27",
                              "0    5   0xdc", "0    6   0x0", "0    7   0x0", "0    16   0xc"}));
    EXPECT_EQ(lines[lines.size() - 2], "98    0   0x0");
    EXPECT_EQ(lines[lines.size() - 1], "98    5   0x5c");

    const auto list = programWriteList(RegisterImage{});
    EXPECT_EQ(list.size(), 1054u);
    EXPECT_EQ(std::count_if(list.begin(), list.end(),
                            [](const RegisterWrite& w) { return w.reg == kPageRegister; }),
              68);
}

TEST(ProgramFile, PageRegisterSelectsTheGlobalPage) {
    RegisterImage image;
    image.Page = 7;  // registers 3..7 carry page 7 >> 1
    const auto lines = registerLines(programFileText(ConfigurationModel{}, image));
    EXPECT_EQ(lines[1], "0    1   0x0");
    EXPECT_EQ(lines[2], "3    3   0x0");
    EXPECT_EQ(lines[6], "3    7   0x0");
    EXPECT_EQ(lines[7], "0    16   0xc");
}

TEST(ProgramFile, AdcAndChannelMasks) {
    ConfigurationModel model;
    const RegisterImage image;

    model.Chip.ModeOfDdc = 1;
    model.Chip.MaskChan2x = 2;
    model.Chip.InputPort = {0, 1, 3, 0};
    model.Work.ActiveMask = 0xc;
    EXPECT_EQ(computeMaskAdc(model), 0x8u);
    std::string text = programFileText(model, image);
    EXPECT_EQ(headerLine(text, "MaskAdc="), "MaskAdc= 0x8");
    EXPECT_EQ(headerLine(text, "MaskDdc="), "MaskDdc= 0x4");

    model.Chip.ModeOfDdc = 2;
    model.Chip.MaskChan4x = 1;
    model.Work.ActiveMask = 0xf;
    text = programFileText(model, image);
    EXPECT_EQ(headerLine(text, "MaskAdc="), "MaskAdc= 0x1");
    EXPECT_EQ(headerLine(text, "MaskDdc="), "MaskDdc= 0x1");
    model.Chip.MaskChan4x = 0;
    EXPECT_EQ(computeMaskAdc(model), 0u);

    model.Chip.ModeOfDdc = 0;
    model.Chip.MaskChan1x = 0x5;
    model.Chip.InputPort = {2, 0, 2, 1};
    EXPECT_EQ(computeMaskAdc(model), 0x4u);
    model.Chip.InputPort = {40, 0, -1, 1};  // no such input: no bit, no invalid shift
    EXPECT_EQ(computeMaskAdc(model), 0u);

    // An output mode the chip does not have: no MaskDdc line.
    model.Chip.ModeOfDdc = 3;
    text = programFileText(model, image);
    EXPECT_EQ(headerLine(text, "MaskAdc="), "MaskAdc= 0x0");
    EXPECT_EQ(headerLine(text, "MaskDdc="), "(absent)");
    EXPECT_EQ(linesOf(text).size(), 11u + 986u);
}

TEST(ProgramFile, DecimationLines) {
    ConfigurationModel model;
    model.Channels[0].Decimation = 64;
    RegisterImage image;
    buildRegisterImage(model, image);
    EXPECT_EQ(headerLine(programFileText(model, image), "Decimation Channel0="),
              "Decimation Channel0= 256.000000");
    model.Chip.ModeOfDdc = 2;
    EXPECT_EQ(headerLine(programFileText(model, image), "Decimation Channel0="),
              "Decimation Channel0= 64.000000");

    // The value is taken from the register image and divided in extended precision before it
    // is rounded to float.
    model.Chip.ModeOfDdc = 0;
    image.Channels[1].DecimationRatio = 0xf002;  // bits 0-11: 2, so 3 * 4
    model.Chip.CoefInterpol[0] = 7.0f;
    EXPECT_EQ(headerLine(programFileText(model, image), "Decimation Channel1="),
              "Decimation Channel1= 1.714286");
    EXPECT_FLOAT_EQ(totalDecimation(model, image, 1), 12.0f / 7.0f);

    // No interpolation at all: what the float division gives, without dividing by zero.
    model.Chip.CoefInterpol[0] = 0.0f;
    EXPECT_EQ(headerLine(programFileText(model, image), "Decimation Channel3="),
              "Decimation Channel3= inf");
    model.Chip.CoefInterpol[0] = -0.0f;
    EXPECT_EQ(headerLine(programFileText(model, image), "Decimation Channel3="),
              "Decimation Channel3= -inf");
    model.Chip.CoefInterpol[0] = 1e-44f;  // beyond float: infinity, not an invalid conversion
    EXPECT_EQ(headerLine(programFileText(model, image), "Decimation Channel3="),
              "Decimation Channel3= inf");
    model.Chip.CoefInterpol[0] = 1.0f;
    model.Chip.ModeOfDdc = std::numeric_limits<int>::min();
    EXPECT_EQ(headerLine(programFileText(model, image), "Decimation Channel3="),
              "Decimation Channel3= inf");
}

TEST(ProgramFile, OddChannelPhaseOffsetIsAppliedOnACopy) {
    ConfigurationModel model;
    RegisterImage image;
    image.PhaseWord = {0x1234, 0, 0x1234, 0xc000};
    image.OddChannelPhaseOffset = 0x4000;
    const RegisterImage before = image;

    const std::string first = programFileText(model, image);
    const auto lines = registerLines(first);
    const auto page = [&](int p) {
        std::vector<std::string> out;
        for (const auto& l : lines)
            if (l.rfind(std::to_string(p) + " ", 0) == 0) out.push_back(l);
        return out;
    };
    EXPECT_EQ(page(6)[0], "6    16   0x34");
    EXPECT_EQ(page(6)[1], "6    17   0x12");
    EXPECT_EQ(page(14)[0], "14    16   0x0");
    EXPECT_EQ(page(14)[1], "14    17   0x40");
    EXPECT_EQ(page(22)[1], "22    17   0x12");
    EXPECT_EQ(page(30)[0], "30    16   0x0");  // 0xc000 + 0x4000 = 0x10000
    EXPECT_EQ(page(30)[1], "30    17   0x0");

    // The image keeps its words, so the same file comes out again.
    EXPECT_EQ(image, before);
    EXPECT_EQ(programFileText(model, image), first);
}

TEST(ProgramFile, WritingFiles) {
    const test::TempDir dir("gc-program-file");
    const ConfigurationModel model = test::goldenModel();
    const RegisterImage image = test::goldenImage(model);
    const std::string path = dir.file("saved.prg");

    ASSERT_TRUE(gc::model::writeFileAtomically(path, "old contents"));
    ASSERT_TRUE(writeProgramFile(path, model, image));
    EXPECT_EQ(test::readText(path), test::goldenText("program_mode1.prg.txt"));
    ASSERT_TRUE(writeProgramFile(path, model, image));
    EXPECT_EQ(test::readText(path), test::goldenText("program_mode1.prg.txt"));

    EXPECT_FALSE(writeProgramFile(dir.file("no-such-folder/saved.prg"), model, image));
}

}  // namespace
}  // namespace gc::chip
