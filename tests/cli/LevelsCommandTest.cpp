// gc4016-cli levels: the level plan of one channel of a saved configuration.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliRun.h"

using gc::app::testing::TempFolder;
using gc::cli::testing::CliRun;
using gc::cli::testing::runCli;

namespace {

void replaceInFile(const std::string& path, const std::string& from, const std::string& to) {
    std::string text = gc::app::testing::fileText(path);
    text.replace(text.find(from), from.size(), to);
    std::ofstream(path, std::ios::binary) << text;
}

class CliLevelsTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(runCli(scratch, scratch.str(), {"init", work}).status, 0); }
    CliRun levels(std::vector<std::string> args) {
        args.insert(args.begin(), {"levels", "CONFIGS/std.trv"});
        return runCli(scratch, work, args);
    }
    TempFolder scratch;
    std::string work = scratch / "work";
};

}  // namespace

// The start-up configuration, channel 0 (D 64, shift 4, scale 4, bigScale 4, coarse 0): a tone
// at the NCO comes out at its level plus the gain equation's total, which is the product of its
// factors; the CIC factor is 64^5 x 2^(4+4+24-62) = 1.
TEST_F(CliLevelsTest, PlansATone) {
    const CliRun run = levels({"--input-dbfs", "-10", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const auto plan = nlohmann::json::parse(run.out);
    ASSERT_EQ(plan["stages"].size(), 9u);
    const char* stages[] = {"input", "mixer",     "cic",       "coarse", "cfir",
                            "pfir",  "fine_gain", "resampler", "output"};
    for (std::size_t k = 0; k < 9; ++k) EXPECT_EQ(plan["stages"][k]["stage"], stages[k]);
    EXPECT_EQ(plan["stages"][0]["signal_dbfs"].get<double>(), -10.0);
    EXPECT_EQ(plan["stages"][0]["clip_input_dbfs"].get<double>(), 0.0);
    double product = 1.0;
    for (const auto& f : plan["gain"]) product *= f["value"].get<double>();
    EXPECT_NEAR(plan["total_gain"].get<double>(), product, 1e-12);
    EXPECT_EQ(plan["gain"][3]["factor"], "CIC");
    EXPECT_EQ(plan["gain"][3]["formula"], "64^5 x 2^(4+4+6x4-62)");
    EXPECT_DOUBLE_EQ(plan["gain"][3]["value"].get<double>(), 1.0);
    EXPECT_NEAR(plan["output_signal_dbfs"].get<double>(),
                -10.0 + 20.0 * std::log10(plan["total_gain"].get<double>()), 1e-6);
    EXPECT_DOUBLE_EQ(plan["output_rate_hz"].get<double>(), 100e6 / 256);
    EXPECT_EQ(plan["output_frequency_hz"].get<double>(), 0.0);
    EXPECT_EQ(plan["clips"], false);

    // The same as lines, a tone 20 kHz above the NCO of channel 1 (11 MHz); the automatic
    // scale gives it the same unity CIC.
    const CliRun lines = levels({"--input-dbfs", "-10", "--channel", "1", "--tone", "11020000"});
    ASSERT_EQ(lines.status, 0) << lines.err;
    EXPECT_EQ(lines.out.find("channel=1\n"), 0u) << lines.out;
    EXPECT_NE(lines.out.find("\nstage.cic.headroom_db="), std::string::npos);
    EXPECT_NE(lines.out.find("\ngain.CIC.formula=64^5 x 2^(4+4+6x4-62)\n"), std::string::npos);
    EXPECT_NE(lines.out.find("\nfirst_clip_stage="), std::string::npos);
    std::istringstream in(lines.out);
    std::string line;
    std::map<std::string, std::string> value;
    while (std::getline(in, line))
        value[line.substr(0, line.find('='))] = line.substr(line.find('=') + 1);
    EXPECT_NEAR(std::stod(value["output_frequency_hz"]), 20000.0, 0.05);  // the NCO word's step
    EXPECT_EQ(value["input"], "tone");
}

// Noise over a band; a clipping input is flagged.
TEST_F(CliLevelsTest, PlansNoiseAndClipping) {
    const CliRun run = levels({"--input-dbfs", "-20", "--noise-band", "1000000", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto plan = nlohmann::json::parse(run.out);
    EXPECT_EQ(plan["input"], "noise");
    EXPECT_EQ(plan["noise_band_hz"].get<double>(), 1e6);
    // Out of the 1 MHz of noise, the 390.6 kHz output band keeps less than half the power.
    const double out = plan["stages"][8]["signal_dbfs"].get<double>();
    const double mixer = plan["stages"][1]["signal_dbfs"].get<double>();
    EXPECT_LT(out - plan["total_gain_db"].get<double>(), -20.0);
    EXPECT_LT(mixer, -20.0);

    const CliRun hot = levels({"--input-dbfs", "3", "--json"});
    ASSERT_EQ(hot.status, 0) << hot.err;
    EXPECT_EQ(nlohmann::json::parse(hot.out)["clips"], true);
}

// Wrong usage, a channel the registers do not give, a missing configuration.
TEST_F(CliLevelsTest, RefusesWhatItCannotPlan) {
    EXPECT_EQ(levels({}).status, 2);
    EXPECT_EQ(levels({"--input-dbfs", "-6", "--tone", "1", "--noise-band", "2"}).status, 2);
    EXPECT_EQ(levels({"--input-dbfs", "-6", "--channel", "4"}).status, 2);
    const std::string trv = work + "/CONFIGS/std.trv";
    replaceInFile(trv, "MaskChan1x= 15 ", "MaskChan1x= 7 ");
    CliRun off = levels({"--input-dbfs", "-6", "--channel", "3", "--lang", "en"});
    EXPECT_EQ(off.status, 2);
    EXPECT_EQ(off.err, "levels: channel 3 is held in reset (not enabled)\n");
    EXPECT_EQ(off.out, "");
    replaceInFile(trv, "ModeOfDdc= 0 ", "ModeOfDdc= 1 ");
    replaceInFile(trv, "CombConfigPlis= 0 ", "CombConfigPlis= 1 ");
    const CliRun pair = levels({"--input-dbfs", "-6", "--channel", "1"});
    EXPECT_EQ(pair.status, 2);
    EXPECT_NE(pair.err.find("моделируйте канал 0"), std::string::npos) << pair.err;
    EXPECT_EQ(levels({"--input-dbfs", "-6", "--channel", "0"}).status, 0);
    const CliRun missing =
        runCli(scratch, work, {"levels", "CONFIGS/none.trv", "--input-dbfs", "-6"});
    EXPECT_EQ(missing.status, 5);
}
