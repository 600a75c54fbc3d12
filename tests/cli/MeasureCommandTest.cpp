// gc4016-cli measure: the requirement figures of one channel, and response --alias.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliRun.h"

using gc::app::testing::TempFolder;
using gc::cli::testing::CliRun;
using gc::cli::testing::runCli;

namespace {

std::vector<std::pair<std::string, std::string>> pairs(const std::string& text) {
    std::vector<std::pair<std::string, std::string>> out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        const auto eq = line.find('=');
        out.emplace_back(line.substr(0, eq), line.substr(eq + 1));
    }
    return out;
}

void replaceInFile(const std::string& path, const std::string& from, const std::string& to) {
    std::string text = gc::app::testing::fileText(path);
    text.replace(text.find(from), from.size(), to);
    std::ofstream(path, std::ios::binary) << text;
}

class CliMeasureTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(runCli(scratch, scratch.str(), {"init", work}).status, 0); }
    CliRun measure(std::vector<std::string> args) {
        args.insert(args.begin(), {"measure", "CONFIGS/std.trv"});
        return runCli(scratch, work, args);
    }
    TempFolder scratch;
    std::string work = scratch / "work";
};

}  // namespace

TEST_F(CliMeasureTest, PrintsTheFiguresAndExitsByTheLimits) {
    const CliRun run = measure({"--passband", "80000", "--ripple", "1"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const auto lines = pairs(run.out);
    const std::vector<std::string> names{"output_rate_hz",    "passband_hz",
                                         "stopband_hz",       "ripple_db",
                                         "bandwidth_3db_hz",  "stopband_attenuation_db",
                                         "stopband_worst_hz", "alias_rejection_db",
                                         "alias_worst_hz",    "meets"};
    ASSERT_EQ(lines.size(), names.size());
    std::map<std::string, std::string> value;
    for (size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(lines[i].first, names[i]);
        value[lines[i].first] = lines[i].second;
    }
    EXPECT_EQ(value["output_rate_hz"], "390625");
    EXPECT_EQ(value["passband_hz"], "80000");
    EXPECT_EQ(value["stopband_hz"], "195312.5");  // Fo/2 by default
    EXPECT_EQ(value["meets"], "true");
    const double ripple = std::stod(value["ripple_db"]);
    EXPECT_GT(ripple, 0.0);
    EXPECT_LT(ripple, 1.0);
    const double stop = std::stod(value["stopband_attenuation_db"]);

    // The same channel with a stop-band limit just above and just below what it reaches.
    EXPECT_EQ(measure({"--passband", "80000", "--stopband-attenuation", std::to_string(stop + 0.1)})
                  .status,
              4);
    EXPECT_EQ(measure({"--passband", "80000", "--stopband-attenuation", std::to_string(stop - 0.1)})
                  .status,
              0);
    // A comma as the decimal separator, an explicit stop band, JSON.
    const CliRun json = measure(
        {"--passband", "80000,5", "--stopband", "250000", "--json", "--alias-rejection", "500"});
    EXPECT_EQ(json.status, 4);
    EXPECT_EQ(json.out.rfind("{\"output_rate_hz\": 390625, \"passband_hz\": 80000.5, "
                             "\"stopband_hz\": 250000, \"ripple_db\": ",
                             0),
              0u)
        << json.out;
    EXPECT_NE(json.out.find("\"meets\": false, \"warnings\": []}\n"), std::string::npos);
}

TEST_F(CliMeasureTest, WarningsInLinesAndJson) {
    replaceInFile(work + "/CONFIGS/std.trv", "Fc0= 10000000 ", "Fc0= 60000000 ");
    const std::string warning =
        "Частота NCO 60000000 Гц выше половины тактовой частоты (50000000 Гц): канал "
        "настроится на зеркальную частоту 40000000 Гц";
    const CliRun lines = measure({"--passband", "80000"});
    EXPECT_EQ(lines.status, 0);
    EXPECT_NE(lines.out.find("\nwarning=" + warning + "\n"), std::string::npos) << lines.out;
    const CliRun json = measure({"--passband", "80000", "--json"});
    EXPECT_NE(json.out.find("\"warnings\": [\"" + warning + "\"]}"), std::string::npos);
}

TEST_F(CliMeasureTest, WrongUsageAndUnreadableConfigurations) {
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{}, "--passband HZ is required"},
        {{"--passband"}, "--passband needs a value"},
        {{"--passband", "abc"}, "не является числом"},
        {{"--passband", "195312.5"}, "Граница полосы пропускания"},
        {{"--passband", "0"}, "Граница полосы пропускания"},
        {{"--passband", "80000", "--stopband", "50000001"}, "Граница полосы заграждения"},
        {{"--passband", "80000", "--stopband", "70000"}, "Граница полосы заграждения"},
        {{"--passband", "80000", "--ripple", "-1"}, "неравномерность"},
        {{"--passband", "80000", "--channel", "4"}, "--channel takes 0..3"},
        {{"--passband", "80000", "--bogus"}, "unknown option --bogus"},
    };
    for (const Case& c : cases) {
        const CliRun run = measure(c.args);
        EXPECT_EQ(run.status, 2) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
    // A folder as CONFIG is wrong usage, not a missing file.
    for (const char* folder : {"CONFIGS", "CONFIGS/std.trv/"}) {
        const CliRun run = runCli(scratch, work, {"measure", folder, "--passband", "1"});
        EXPECT_EQ(run.status, 2) << folder;
        EXPECT_NE(run.err.find("names a folder"), std::string::npos) << run.err;
    }
    const CliRun missing =
        runCli(scratch, work, {"measure", "CONFIGS/none.trv", "--passband", "1"});
    EXPECT_EQ(missing.status, 5);
    EXPECT_NE(missing.err.find("Файл конфигурации none.trv отсутствует!"), std::string::npos)
        << missing.err;
    std::ofstream(work + "/CONFIGS/bad.trv") << "not a configuration\n";
    const CliRun damaged = runCli(scratch, work, {"measure", "CONFIGS/bad.trv", "--passband", "1"});
    EXPECT_EQ(damaged.status, 5);
    EXPECT_NE(damaged.err.find("Файл конфигурации bad.trv поврежден!"), std::string::npos)
        << damaged.err;
    EXPECT_EQ(damaged.out, "");
}

TEST_F(CliMeasureTest, ResponseAliasColumn) {
    const CliRun plain = runCli(scratch, work, {"response", "CONFIGS/std.trv", "--stretch", "64"});
    const CliRun run =
        runCli(scratch, work, {"response", "CONFIGS/std.trv", "--stretch", "64", "--alias"});
    ASSERT_EQ(run.status, 0) << run.err;
    std::istringstream in(run.out);
    std::istringstream base(plain.out);
    std::string line, baseLine;
    std::getline(in, line);
    std::getline(base, baseLine);
    EXPECT_EQ(line, baseLine + ",alias");
    for (int k = 0; k < 256; ++k) {
        ASSERT_TRUE(std::getline(in, line));
        ASSERT_TRUE(std::getline(base, baseLine));
        // the plain columns unchanged, one more at the end
        ASSERT_EQ(line.rfind(baseLine + ",", 0), 0u) << k;
        const double alias = std::stod(line.substr(baseLine.size() + 1));
        // Fo/2 = 195312.5 Hz is column 64 at stretch 64: the curve ends there, and there the
        // image Fo - Fo/2 is the point itself.
        if (k <= 64)
            EXPECT_GT(alias, 0.0) << k;
        else
            EXPECT_EQ(alias, 0.0) << k;
        if (k == 64) {
            std::vector<std::string> cells;
            std::istringstream cs(baseLine);
            std::string cell;
            while (std::getline(cs, cell, ',')) cells.push_back(cell);
            EXPECT_NEAR(alias / std::stod(cells[6]), 1.0, 1e-9);
        }
    }
}
