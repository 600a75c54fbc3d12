// gc4016-cli response: the channel plot's arrays as CSV.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliRun.h"
#include "response/Response.h"

using gc::app::testing::TempFolder;
using gc::cli::testing::CliRun;
using gc::cli::testing::runCli;

namespace {

std::vector<std::vector<double>> csvRows(const std::string& text, std::string& header) {
    std::istringstream in(text);
    std::getline(in, header);
    std::vector<std::vector<double>> rows;
    std::string line;
    while (std::getline(in, line)) {
        std::vector<double> row;
        std::istringstream cells(line);
        std::string cell;
        while (std::getline(cells, cell, ',')) row.push_back(std::stod(cell));
        rows.push_back(row);
    }
    return rows;
}

}  // namespace

TEST(CliResponseTest, PrintsEveryStageAndTheChannelAtTheChosenStretch) {
    TempFolder scratch;
    const std::string work = scratch / "work";
    ASSERT_EQ(runCli(scratch, scratch.str(), {"init", work}).status, 0);

    const CliRun run =
        runCli(scratch, work, {"response", "CONFIGS/std.trv", "--channel", "1", "--stretch", "4"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    std::string header;
    const auto rows = csvRows(run.out, header);
    EXPECT_EQ(header, "k,freq_hz,cic,cfir,pfir,resampler,channel,level_db");
    ASSERT_EQ(rows.size(), 256u);

    // The CIC column is the CIC5 response of the default decimation at stretch 4.
    gc::response::ResponseArray cic{};
    gc::response::ComputeCicResponse(64, 4, cic);
    double peakLevel = -1e9;
    for (int k = 0; k < 256; ++k) {
        const auto& r = rows[k];
        ASSERT_EQ(r.size(), 8u);
        EXPECT_EQ(r[0], k);
        EXPECT_DOUBLE_EQ(r[1], 100e6 / 8.0 * k / 256.0);  // the plot spans clock / (2 S)
        EXPECT_DOUBLE_EQ(r[2], cic[k]);
        // With every stage included the channel is the product of the four stages.
        EXPECT_NEAR(r[6], r[2] * r[3] * r[4] * r[5], 1e-12 * std::fabs(r[6]));
        peakLevel = std::max(peakLevel, r[7]);
        EXPECT_LE(r[7], 0.0);
    }
    EXPECT_DOUBLE_EQ(peakLevel, 0.0);

    // Channel 0 has another CFIR set than channel 1 (cfir_68, cfir_34).
    const CliRun channel0 =
        runCli(scratch, work, {"response", "CONFIGS/std.trv", "--stretch", "4"});
    ASSERT_EQ(channel0.status, 0);
    std::string ignored;
    const auto rows0 = csvRows(channel0.out, ignored);
    EXPECT_NE(rows0[100][3], rows[100][3]);
    EXPECT_DOUBLE_EQ(rows0[100][2], rows[100][2]);
}

TEST(CliResponseTest, RefusesBadUsage) {
    TempFolder scratch;
    for (const std::vector<std::string>& args : {std::vector<std::string>{"response"},
                                                 {"response", "a.trv", "--stretch", "3"},
                                                 {"response", "a.trv", "--stretch", "8192"},
                                                 {"response", "a.trv", "--channel", "4"},
                                                 {"response", "a.trv", "--channel", "x"},
                                                 {"response", "a.trv", "--file-source", "xfir"},
                                                 {"response", "a.trv", "b.trv"}}) {
        EXPECT_EQ(runCli(scratch, scratch.str(), args).status, 2) << args.back();
    }
    const CliRun help = runCli(scratch, scratch.str(), {"response", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("k,freq_hz,cic,cfir,pfir,resampler,channel,level_db"),
              std::string::npos);
}
