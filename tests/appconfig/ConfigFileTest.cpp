#include <gtest/gtest.h>

#include <array>
#include <clocale>
#include <filesystem>
#include <limits>

#include "appconfig/ConfigFile.h"
#include "model/TextFile.h"

namespace {

using gc::appconfig::ConfigReadStatus;
using gc::appconfig::configurationText;
using gc::appconfig::parseConfiguration;
using gc::model::ConfigurationModel;

std::string goldenDefault() {
    const auto bytes = gc::model::readFileBytes(std::string(GC_SOURCE_DIR) +
                                                "/tests/appconfig/golden/default.trv");
    EXPECT_TRUE(bytes.has_value());
    return bytes.value_or("");
}

// The persisted state of a model, as text, without touching the model itself.
std::string persisted(const ConfigurationModel& model) {
    ConfigurationModel copy = model;
    return configurationText(copy);
}

// The default file cut after its line `count` (1-based), each line ending in "\n".
std::string firstLines(size_t count) {
    const std::string text = goldenDefault();
    size_t end = 0;
    for (size_t n = 0; n < count; ++n) end = text.find('\n', end) + 1;
    return text.substr(0, end);
}

std::string replaceLine(std::string text, const std::string& oldLine, const std::string& newLine) {
    const size_t at = text.find(oldLine + "\n");
    EXPECT_NE(at, std::string::npos) << oldLine;
    if (at != std::string::npos) text.replace(at, oldLine.size(), newLine);
    return text;
}

// A model that differs from the defaults in every persisted field.
ConfigurationModel variedModel() {
    ConfigurationModel m;
    m.Chip.Clock = 80000000;
    m.Chip.NameOfCFG = "my config.cfg";
    for (int c = 0; c < 4; ++c) {
        auto& ch = m.Channels[c];
        ch.Mix20bit = c % 2;
        ch.Shift = 7 - c;
        ch.Scale = c;
        ch.BigScale = c + 1;
        ch.Decimation = 2 + 1000 * c;
        ch.CoarseGain = 7 - c;
        ch.FineGain = 16383 - c;
        ch.NameOfCFIR = std::string(200, static_cast<char>('a' + c)) + ".taps";
        ch.NameOfPFIR = "p " + std::to_string(c) + " .taps";
        m.Work.CfirSelection[c] = 9 - c;
        m.Work.PfirSelection[c] = c * 2;
        m.Chip.Fc[c] = 1234567 * (c + 1);
        m.Chip.InputPort[c] = 3 - c;
        m.Chip.ChannelReset[c] = c == 2 ? -5 : 1;
        m.Chip.Phase[c] = std::array<float, 4>{0.0f, 1.570796f, 3.141593f, 6.283185f}[c];
        m.Chip.CoefInterpol[c] = std::array<float, 4>{0.03125f, 64.0f, 0.5f, 21.333334f}[c];
    }
    m.Chip.CoeffInterpol = -1;    // "ffffffff"
    m.Chip.NumMultiplies = 0x1c;  // reads back only when parsed as hexadecimal
    m.Chip.FinalShift = 15;
    m.Work.RfirSelection = 8;
    m.Chip.NameOfRFIR = std::string(200, 'r');
    m.Chip.ModeOfDdc = 2;
    m.Chip.MaskChan1x = 9;
    m.Chip.MaskChan2x = 2;
    m.Chip.MaskChan4x = 0;
    m.Chip.AsyncMode = 1;
    m.Chip.CombConfigPlis = 1;
    m.Chip.FullDebug = 347;
    m.Chip.VokType = -3;
    return m;
}

TEST(ConfigFile, DefaultModelWritesTheGoldenFile) {
    ConfigurationModel model;
    EXPECT_EQ(configurationText(model), goldenDefault());
    // The selections were copied into the stored index fields before writing.
    EXPECT_EQ(model.Channels[3].IndexCFIR, 4);
    EXPECT_EQ(model.Channels[0].IndexPFIR, 7);
    EXPECT_EQ(model.Chip.IndexRFIR, 3);

    const auto dir = std::filesystem::temp_directory_path() / "gc_appconfig_golden";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "std.trv").string();
    ASSERT_TRUE(gc::appconfig::writeConfiguration(path, model));
    EXPECT_EQ(gc::model::readFileBytes(path), goldenDefault());
    EXPECT_FALSE(gc::appconfig::writeConfiguration((dir / "absent" / "x.trv").string(), model));
    std::filesystem::remove_all(dir);
}

TEST(ConfigFile, VariedModelsRoundTrip) {
    ConfigurationModel written = variedModel();
    const std::string text = configurationText(written);
    EXPECT_NE(text.find("NumMultiplies= 1c \n"), std::string::npos);

    ConfigurationModel read;
    ASSERT_EQ(parseConfiguration(text, read), ConfigReadStatus::Ok);
    EXPECT_EQ(configurationText(read), text);
    EXPECT_EQ(read.Channels[1].NameOfCFIR, std::string(200, 'b') + ".taps");
    EXPECT_EQ(read.Channels[2].NameOfPFIR, "p 2 .taps");
    EXPECT_EQ(read.Chip.NumMultiplies, 28);
    EXPECT_EQ(read.Chip.CoeffInterpol, -1);
    EXPECT_EQ(read.Chip.Phase, written.Chip.Phase);
    EXPECT_EQ(read.Work.CfirSelection, written.Work.CfirSelection);
    EXPECT_EQ(read.Work.RfirSelection, 8);

    // Extreme integers survive too.
    ConfigurationModel extreme;
    extreme.Chip.Clock = std::numeric_limits<int>::min();
    extreme.Chip.CoeffInterpol = std::numeric_limits<int>::min();
    extreme.Chip.NumMultiplies = std::numeric_limits<int>::max();
    ConfigurationModel back;
    ASSERT_EQ(parseConfiguration(persisted(extreme), back), ConfigReadStatus::Ok);
    EXPECT_EQ(back.Chip.Clock, std::numeric_limits<int>::min());
    EXPECT_EQ(back.Chip.CoeffInterpol, std::numeric_limits<int>::min());
    EXPECT_EQ(back.Chip.NumMultiplies, std::numeric_limits<int>::max());
}

TEST(ConfigFile, LineEndsOfAnyKind) {
    const std::string lf = persisted(variedModel());
    std::string crlf;
    for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    ConfigurationModel fromCrlf;
    ASSERT_EQ(parseConfiguration(crlf, fromCrlf), ConfigReadStatus::Ok);
    EXPECT_EQ(persisted(fromCrlf), lf);

    // Names written elsewhere with stray carriage returns or blanks before the line end read
    // as the same names; blanks inside a name stay.
    std::string stray;
    for (const std::string& line : gc::model::splitLines(lf)) {
        const bool name = line.rfind("NameOf", 0) == 0;
        stray += line + (name ? " \t\r\r  \r\n" : "\n");
    }
    ConfigurationModel fromStray;
    ASSERT_EQ(parseConfiguration(stray, fromStray), ConfigReadStatus::Ok);
    EXPECT_EQ(persisted(fromStray), lf);
    EXPECT_EQ(fromStray.Channels[3].NameOfPFIR, "p 3 .taps");
    EXPECT_EQ(fromStray.Chip.NameOfCFG, "my config.cfg");

    // A last line without a line end gives its value up to the end of the text.
    std::string cut = firstLines(57);
    cut.pop_back();
    ConfigurationModel old;
    ASSERT_EQ(parseConfiguration(cut, old), ConfigReadStatus::Ok);
    EXPECT_EQ(old.Chip.NameOfRFIR, "res_8x64_60.taps");
    std::string full = lf;
    full.pop_back();  // "CoefInterpol3= 21.333334 " without its line end
    ConfigurationModel last;
    ASSERT_EQ(parseConfiguration(full, last), ConfigReadStatus::Ok);
    EXPECT_EQ(last.Chip.CoefInterpol[3], variedModel().Chip.CoefInterpol[3]);
}

TEST(ConfigFile, OptionalPartsMayBeMissing) {
    const ConfigurationModel varied = variedModel();

    // An older file ends after NameOfRFIR: the head is taken, later values stay as they were.
    ConfigurationModel model = varied;
    ASSERT_EQ(parseConfiguration(firstLines(57), model), ConfigReadStatus::Ok);
    EXPECT_EQ(model.Chip.Clock, 100000000);
    EXPECT_EQ(model.Channels[1].Decimation, 64);
    EXPECT_EQ(model.Work.CfirSelection[1], 2);
    EXPECT_EQ(model.Chip.Fc, varied.Chip.Fc);
    EXPECT_EQ(model.Chip.ModeOfDdc, 2);

    // The "New Param" part alone is accepted.
    model = varied;
    ASSERT_EQ(parseConfiguration(firstLines(70), model), ConfigReadStatus::Ok);
    EXPECT_EQ(model.Chip.Fc[3], 13000000);
    EXPECT_EQ(model.Chip.ChannelReset[2], 0);
    EXPECT_EQ(model.Chip.ModeOfDdc, 2);

    // Without the marker the line in its place is dropped: a ModeOfDdc line there is lost, and
    // the Phase0 line after it does not open the next part, so the rest is ignored.
    model = varied;
    const std::string noMarker = firstLines(57) + goldenDefault().substr(firstLines(70).size());
    ASSERT_EQ(parseConfiguration(noMarker, model), ConfigReadStatus::Ok);
    EXPECT_EQ(model.Chip.ModeOfDdc, 2);
    EXPECT_EQ(model.Chip.Phase, varied.Chip.Phase);
    EXPECT_EQ(model.Chip.Fc, varied.Chip.Fc);

    // Any other line in the marker's place is dropped too, and exactly that one line: the
    // ModeOfDdc part right after it is read.
    model = varied;
    const std::string otherLine = firstLines(57) + "*** Param ***\n" +
                                  "ModeOfDdc= 1 \nPhase0= 0.5 \nPhase1= 1.5 \nPhase2= 2.5 \n"
                                  "Phase3= 3.5 \nMaskChan1x= 6 \nMaskChan2x= 2 \n"
                                  "MaskChan4x= 0 \nAsyncMode= 1 \nCombConfigPlis= 1 \n"
                                  "FullDebug= 0 \nVokType= 2 \nCoefInterpol0= 2.0 \n"
                                  "CoefInterpol1= 1.0 \nCoefInterpol2= 1.0 \nCoefInterpol3= 1.0 \n";
    ASSERT_EQ(parseConfiguration(otherLine, model), ConfigReadStatus::Ok);
    EXPECT_EQ(model.Chip.ModeOfDdc, 1);
    EXPECT_EQ(model.Chip.Phase, (std::array<float, 4>{0.5f, 1.5f, 2.5f, 3.5f}));
    EXPECT_EQ(model.Chip.MaskChan1x, 6);
    EXPECT_EQ(model.Chip.VokType, 2);
    EXPECT_EQ(model.Chip.CoefInterpol[0], 2.0f);
    EXPECT_EQ(model.Chip.Fc, varied.Chip.Fc);
    EXPECT_EQ(model.Chip.InputPort, varied.Chip.InputPort);
    EXPECT_EQ(model.Channels[1].Decimation, 64);

    // Once ModeOfDdc is present its part is required; what was parsed before stays.
    model = varied;
    ASSERT_EQ(parseConfiguration(firstLines(71), model), ConfigReadStatus::Damaged);
    EXPECT_EQ(model.Chip.ModeOfDdc, 0);
    EXPECT_EQ(model.Chip.Fc[0], 10000000);

    // CoefInterpol0 present, CoefInterpol1.. missing.
    model = varied;
    ASSERT_EQ(parseConfiguration(firstLines(83), model), ConfigReadStatus::Damaged);
    EXPECT_EQ(model.Chip.CoefInterpol[0], 1.0f);
    EXPECT_EQ(model.Chip.CoefInterpol[1], varied.Chip.CoefInterpol[1]);
}

TEST(ConfigFile, DamagedFilesKeepTheCommitRule) {
    const ConfigurationModel varied = variedModel();
    const std::string before = persisted(varied);

    for (const std::string& text :
         {std::string(), "*** Config of Tessarovin ***\n" + goldenDefault().substr(30),
          replaceLine(goldenDefault(), "Scale= 5 ", "Scales= 5 "),
          replaceLine(goldenDefault(), "NameOfRFIR= res_8x64_60.taps", "NameOfRFIR"),
          firstLines(56)}) {
        ConfigurationModel model = varied;
        EXPECT_EQ(parseConfiguration(text, model), ConfigReadStatus::Damaged);
        EXPECT_EQ(persisted(model), before);
        EXPECT_EQ(model.Work.CfirSelection, varied.Work.CfirSelection);
    }

    // Damage after line 57 changes Clock, NameOfCFG and what was parsed before it only.
    ConfigurationModel model = varied;
    ASSERT_EQ(parseConfiguration(replaceLine(goldenDefault(), "Fc2= 12000000 ", "Fc 2= 1 "), model),
              ConfigReadStatus::Damaged);
    EXPECT_EQ(model.Chip.Clock, 100000000);
    EXPECT_EQ(model.Chip.NameOfCFG, "sinc.cfg");
    EXPECT_EQ(model.Chip.Fc[1], 11000000);
    EXPECT_EQ(model.Chip.Fc[2], varied.Chip.Fc[2]);
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(model.Channels[c].Decimation, varied.Channels[c].Decimation);
        EXPECT_EQ(model.Channels[c].NameOfCFIR, varied.Channels[c].NameOfCFIR);
    }
    EXPECT_EQ(model.Chip.NumMultiplies, 0x1c);
    EXPECT_EQ(model.Chip.NameOfRFIR, varied.Chip.NameOfRFIR);
    EXPECT_EQ(model.Work.RfirSelection, 8);

    ConfigurationModel untouched = varied;
    EXPECT_EQ(gc::appconfig::readConfiguration("/nonexistent/CONFIGS/std.trv", untouched),
              ConfigReadStatus::Missing);
    EXPECT_EQ(gc::appconfig::readConfiguration(std::filesystem::temp_directory_path().string(),
                                               untouched),
              ConfigReadStatus::Missing);  // a folder is no file
    EXPECT_EQ(persisted(untouched), before);
}

TEST(ConfigFile, KeysAreComparedByTheirLeadingCharacters) {
    std::string text = replaceLine(goldenDefault(), "CombConfigPlis= 0 ", "CombCxxxxxxxxxx= 1 ");
    text = replaceLine(text, "NameOfCFIR= cfir_68.taps", "NameOfCFIR=  two.taps");
    text = replaceLine(text, "Clock= 100000000 ", "Clock=  42 ");
    text = replaceLine(text, "Decimation= 64 ", "Decimation=x");
    text = replaceLine(text, "*** Filter of Channel 1 ***", "*** Filter of Channel 1 *** old");
    ConfigurationModel model;
    ASSERT_EQ(parseConfiguration(text, model), ConfigReadStatus::Ok);
    EXPECT_EQ(model.Chip.CombConfigPlis, 1);
    EXPECT_EQ(model.Channels[0].NameOfCFIR, " two.taps");
    EXPECT_EQ(model.Chip.Clock, 42);
    EXPECT_EQ(model.Channels[0].Decimation, 0);
}

TEST(ConfigFile, ValueConversions) {
    using namespace gc::appconfig;
    EXPECT_EQ(parseDecimalValue(" \t-12abc"), -12);
    EXPECT_EQ(parseDecimalValue("abc"), 0);
    EXPECT_EQ(parseDecimalValue("99999999999999999999"), std::numeric_limits<int>::max());
    EXPECT_EQ(parseDecimalValue("-99999999999"), std::numeric_limits<int>::min());

    EXPECT_EQ(parseHexValue(" 1c "), 28);
    EXPECT_EQ(parseHexValue("FFFFFFFF"), -1);
    EXPECT_EQ(parseHexValue("0x10"), 16);
    EXPECT_EQ(parseHexValue("-a"), -10);
    EXPECT_EQ(parseHexValue("123456789"), -1);

    EXPECT_FLOAT_EQ(parseRealValue("  1.5e2x"), 150.0f);
    EXPECT_EQ(parseRealValue("x1"), 0.0f);
    EXPECT_EQ(parseRealValue("+-1"), 0.0f);
    EXPECT_EQ(parseRealValue("1e60"), std::numeric_limits<float>::infinity());
    EXPECT_EQ(parseRealValue("-123456789e40"), -std::numeric_limits<float>::infinity());
    EXPECT_EQ(parseRealValue("0.00001e-60"), 0.0f);
    EXPECT_EQ(parseRealValue("1e"), 1.0f);

    EXPECT_EQ(formatRealValue(16777216.0f), "16777216.000000");
    EXPECT_EQ(parseRealValue(formatRealValue(-std::numeric_limits<float>::infinity())),
              -std::numeric_limits<float>::infinity());
}

// A process locale with a decimal comma (a desktop session's, for example) changes nothing in
// the file.
TEST(ConfigFile, RealsIgnoreTheProcessLocale) {
    using namespace gc::appconfig;
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    bool commaLocale = false;
    for (const char* name : {"ru_RU.UTF-8", "ru_RU.utf8", "de_DE.UTF-8", "de_DE.utf8"}) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            commaLocale = true;
            break;
        }
    }
    if (!commaLocale) GTEST_SKIP() << "no decimal-comma locale installed";
    const std::string written = formatRealValue(2.5f);
    const float read = parseRealValue("2.5");
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_EQ(written, "2.500000");
    EXPECT_EQ(read, 2.5f);
}

}  // namespace
