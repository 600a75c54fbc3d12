// gc4016-cli simulate: a tone through the channel model of a saved configuration in every output
// mode, the written recordings read back, a recording as input, and bad inputs refused with one
// line and nothing written.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/CliRun.h"
#include "sim/Recording.h"

using gc::app::testing::TempFolder;
using gc::cli::testing::CliRun;
using gc::cli::testing::runCli;

namespace {

constexpr double kPi = 3.14159265358979323846;

class CliSimulateTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(runCli(scratch, scratch.str(), {"init", work}).status, 0); }
    CliRun simulate(const std::string& config, std::vector<std::string> args) {
        args.insert(args.begin(), {"simulate", config});
        return runCli(scratch, work, args);
    }
    // CONFIGS/std.trv with the output mode changed (the two- and one-channel modes need the
    // combined output firmware).
    std::string configInMode(int mode) {
        if (mode == 0) return "CONFIGS/std.trv";
        std::string text = gc::app::testing::fileText(work + "/CONFIGS/std.trv");
        const auto replace = [&text](const std::string& from, const std::string& to) {
            text.replace(text.find(from), from.size(), to);
        };
        replace("ModeOfDdc= 0 ", "ModeOfDdc= " + std::to_string(mode) + " ");
        replace("CombConfigPlis= 0 ", "CombConfigPlis= 1 ");
        const std::string name = "CONFIGS/mode" + std::to_string(mode) + ".trv";
        std::ofstream(work + "/" + name, std::ios::binary) << text;
        return name;
    }
    [[nodiscard]] bool exists(const std::string& name) const {
        struct stat info {};
        return ::stat((work + "/" + name).c_str(), &info) == 0;
    }
    TempFolder scratch;
    std::string work = scratch / "work";
};

double meanPowerDb(const std::string& path) {
    auto source = gc::sim::openRecording(path);
    std::vector<gc::sim::Sample> block(4096);
    double energy = 0.0;
    std::uint64_t count = 0;
    for (std::size_t n; (n = source->read(block.data(), block.size())) > 0;) {
        for (std::size_t i = 0; i < n; ++i) energy += std::norm(std::complex<double>(block[i]));
        count += n;
    }
    return 10.0 * std::log10(energy / static_cast<double>(count));
}

}  // namespace

TEST_F(CliSimulateTest, ToneThroughEveryOutputModeIntoARecording) {
    // std.trv: clock 100 MHz, CIC decimation 64, NCO at 10 MHz. The output rate is
    // clock / (4 D) in the four-channel mode, twice that with two channels, four times with one.
    const double rates[3] = {100e6 / 256, 100e6 / 128, 100e6 / 64};
    for (int mode = 0; mode < 3; ++mode) {
        SCOPED_TRACE(mode);
        const std::string out = mode == 1 ? "out.wav" : "out.sigmf-meta";
        const CliRun run =
            simulate(configInMode(mode),
                     {"--signal", "tone:f=9.97e6,level=-6,len=400000", "--out", out, "--json"});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        const nlohmann::json j = nlohmann::json::parse(run.out);
        EXPECT_EQ(j["input_rate_hz"].get<double>(), 100e6);
        EXPECT_EQ(j["output_rate_hz"].get<double>(), rates[mode]);
        EXPECT_EQ(j["input_samples"].get<std::uint64_t>(), 400000u);
        EXPECT_NEAR(j["output_samples"].get<double>(), 400000 * rates[mode] / 100e6, 2.0);
        // The NCO word of 10 MHz is 2^32 / 10 rounded: 9999999.986... Hz.
        EXPECT_NEAR(j["nco_frequency_hz"].get<double>(), 10e6, 0.1);
        EXPECT_EQ(j["centre_frequency_hz"], j["nco_frequency_hz"]);
        // The tone lands 30 kHz below the centre (0.014 Hz of NCO rounding aside).
        EXPECT_NEAR(j["signal_offset_hz"].get<double>(), -30000.0, 5.0);
        EXPECT_GT(j["snr_db"].get<double>(), 80.0);
        EXPECT_GT(j["sfdr_db"].get<double>(), 90.0);
        ASSERT_EQ(j["stages"].size(), 9u);
        EXPECT_EQ(j["stages"][0]["stage"], "input");
        // A -6 dBFS input reads -6 dBFS at the input stage and overflows nowhere.
        EXPECT_NEAR(j["stages"][0]["peak_dbfs"].get<double>(), -6.0, 0.01);
        for (const auto& stage : j["stages"]) EXPECT_EQ(stage["overflows"], 0) << stage["stage"];

        // The recording holds what was measured: its mean power is output_rms_dbfs.
        EXPECT_NEAR(meanPowerDb(work + "/" + out), j["output_rms_dbfs"].get<double>(), 1e-3);
        auto back = gc::sim::openRecording(work + "/" + out);
        EXPECT_TRUE(back->complexSamples());
        EXPECT_EQ(back->totalSamples(), j["output_samples"].get<std::uint64_t>());
        if (mode != 1) {
            EXPECT_EQ(back->sampleRateHz(), rates[mode]);
            EXPECT_EQ(back->centreFrequencyHz(), j["centre_frequency_hz"].get<double>());
        }
    }
}

TEST_F(CliSimulateTest, ARecordingGivesWhatTheSameGeneratedSignalGives) {
    // The tone of "tone:f=10.02e6,level=-10,len=200000" written by hand as rf32_le at 100 MHz.
    const double a = std::pow(10.0, -10.0 / 20.0);
    std::string data;
    for (int k = 0; k < 200000; ++k) {
        const float x =
            static_cast<float>(a * std::cos(2 * kPi * std::fmod(10.02e6 * k / 100e6, 1.0)));
        char bytes[4];
        std::memcpy(bytes, &x, 4);
        data.append(bytes, 4);
    }
    std::ofstream(work + "/in.sigmf-data", std::ios::binary) << data;
    std::ofstream(work + "/in.sigmf-meta", std::ios::binary)
        << R"({"global": {"core:datatype": "rf32_le", "core:sample_rate": 100000000, "core:version": "1.0.0"}, "captures": [{"core:sample_start": 0}], "annotations": []})";
    const CliRun fromFile = simulate(
        "CONFIGS/std.trv", {"--input", "in.sigmf-meta", "--out", "a.wav", "--spectrum", "a.csv"});
    const CliRun generated = simulate(
        "CONFIGS/std.trv", {"--signal", "tone:f=10.02e6,level=-10,len=200000", "--out", "b.wav"});
    ASSERT_EQ(fromFile.status, 0) << fromFile.err;
    ASSERT_EQ(generated.status, 0) << generated.err;
    const auto value = [](const std::string& out, const std::string& name) {
        const auto at = out.find(name + "=");
        return std::stod(out.substr(at + name.size() + 1));
    };
    for (const char* name : {"output_level_dbfs", "output_rms_dbfs", "snr_db", "signal_offset_hz"})
        EXPECT_NEAR(value(fromFile.out, name), value(generated.out, name), 1e-3) << name;
    EXPECT_NE(fromFile.out.find("stage         overflows  peak_dbfs\ninput"), std::string::npos);
    const std::string csv = gc::app::testing::fileText(work + "/a.csv");
    EXPECT_EQ(csv.rfind("offset_hz,frequency_hz,level_dbfs\n", 0), 0u);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 128);  // 781 outputs: 128 bins

    // A recording at another rate than the channel's is run, with a note.
    std::ofstream(work + "/in.sigmf-meta", std::ios::binary)
        << R"({"global": {"core:datatype": "rf32_le", "core:sample_rate": 50000000}})";
    const CliRun other =
        simulate("CONFIGS/std.trv", {"--input", "in.sigmf-meta", "--out", "c.wav"});
    EXPECT_EQ(other.status, 0) << other.err;
    EXPECT_NE(other.out.find("note="), std::string::npos);
}

TEST_F(CliSimulateTest, BadInputsAreOneLineAndWriteNothing) {
    std::ofstream(work + "/keep.wav", std::ios::binary) << "old";
    const auto refused = [&](const std::vector<std::string>& args, int status,
                             const std::string& config = "CONFIGS/std.trv") {
        std::vector<std::string> all = args;
        all.insert(all.end(), {"--out", "keep.wav"});
        const CliRun run = simulate(config, all);
        EXPECT_EQ(run.status, status) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(gc::app::testing::fileText(work + "/keep.wav"), "old");
        return run.err;
    };
    std::ofstream(work + "/bad.sigmf-meta", std::ios::binary) << "{not json";
    std::ofstream(work + "/bad.sigmf-data", std::ios::binary) << "1234";
    EXPECT_NE(refused({"--input", "bad.sigmf-meta"}, 5).find("bad.sigmf-meta"), std::string::npos);
    EXPECT_NE(refused({"--input", "gone.sigmf-meta"}, 5).find("gone.sigmf-meta"),
              std::string::npos);
    std::ofstream(work + "/short.sigmf-meta", std::ios::binary)
        << R"({"global": {"core:datatype": "ci16_le"}, "annotations": [{"core:sample_start": 0, "core:sample_count": 100}]})";
    std::ofstream(work + "/short.sigmf-data", std::ios::binary) << std::string(40, '\0');
    EXPECT_NE(refused({"--input", "short.sigmf-meta"}, 5).find("short.sigmf-data"),
              std::string::npos);
    std::ofstream(work + "/odd.sigmf-meta", std::ios::binary)
        << R"({"global": {"core:datatype": "cq16_le"}})";
    EXPECT_NE(refused({"--input", "odd.sigmf-meta"}, 5).find("cq16_le"), std::string::npos);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(::mkfifo((work + "/pipe.wav").c_str(), 0644), 0);
    refused({"--input", "pipe.wav"}, 5);
    std::filesystem::create_symlink("/dev/zero", work + "/dev.sigmf-meta");
    refused({"--input", "dev.sigmf-meta"}, 5);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    refused({"--signal", "tone:f=1e6"}, 5, "CONFIGS/none.trv");

    // Wrong usage.
    refused({}, 2);
    refused({"--signal", "tone:f=1e6", "--input", "x.wav"}, 2);
    refused({"--signal", "tone:f=60e6"}, 2);
    refused({"--signal", "ping:f=1"}, 2);
    refused({"--input", "x.iq"}, 2);
    const CliRun noOut = simulate("CONFIGS/std.trv", {"--signal", "tone:f=1e6", "--out", "x.txt"});
    EXPECT_EQ(noOut.status, 2);

    // An output that cannot be written.
    const CliRun unwritable =
        simulate("CONFIGS/std.trv", {"--signal", "tone:f=1e6,len=1000", "--out", "no/dir/x.wav"});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.err.find("no/dir/x.wav"), std::string::npos);
}
