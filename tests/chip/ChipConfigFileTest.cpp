#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "chip/ChipConfigFile.h"
#include "chip/ChipTestSupport.h"
#include "chip/RegisterImage.h"
#include "model/TextFile.h"

namespace gc::chip {
namespace {

// Every field of the file set to a random value; rows hold coefficients of six and seven
// characters (-10000 and below), so some lines are far longer than 79 characters.
RegisterImage randomImage(std::mt19937& rng) {
    std::uniform_int_distribution<int> any(INT_MIN, INT_MAX);
    std::uniform_int_distribution<int> coeff(-999999, 999999);
    std::uniform_int_distribution<int> small(0, 0xff);
    RegisterImage r;
    for (int* f : {&r.GlobalReset,
                   &r.Status,
                   &r.Page,
                   &r.GeneralSyncs,
                   &r.CountSync,
                   &r.CounterByte0,
                   &r.CounterByte1,
                   &r.NChannels,
                   &r.NMultiplies,
                   &r.FilterSelect,
                   &r.FinalShift,
                   &r.ChannelMap,
                   &r.AddTo,
                   &r.ClockDivide,
                   &r.RatioMap,
                   &r.TristateControl,
                   &r.OutputFormat,
                   &r.OutputMode,
                   &r.OutputFrameControl,
                   &r.OutputWordSize,
                   &r.OutputClockControl,
                   &r.SerialMixControl,
                   &r.Miscell})
        *f = small(rng);
    for (auto& ch : r.Channels) {
        for (int& c : ch.CFIR) c = coeff(rng);
        for (int& c : ch.PFIR) c = coeff(rng);
        for (int* f : {&ch.Phase, &ch.Frequency, &ch.ChannelReset, &ch.FrequencySync, &ch.NCOSync,
                       &ch.Blank, &ch.DecSync, &ch.DecimationRatio, &ch.CICScale, &ch.SplitIQ,
                       &ch.CFIRControl, &ch.PFIRControl, &ch.Input, &ch.PeakControl, &ch.FineGain})
            *f = any(rng);
    }
    for (int& c : r.ResamplerCoeff) c = coeff(rng);
    for (int& v : r.ResamplerRatio) v = any(rng);
    for (int& v : r.OutputTag) v = any(rng);
    r.ResamplerCoeff[0] = INT_MIN;
    r.ResamplerCoeff[255] = INT_MAX;
    r.Channels[1].Phase = INT_MIN;
    r.Channels[2].FineGain = -1;
    return r;
}

// The file text with line `index` (counted from 0) replaced.
std::string withLine(const std::string& text, std::size_t index, const std::string& line) {
    auto lines = gc::model::splitLines(text);
    lines.at(index) = line;
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) out += (i ? "\n" : "") + lines[i];
    return out;
}

// Index of the first line that begins with `key`.
std::size_t lineOf(const std::string& text, const std::string& key) {
    const auto lines = gc::model::splitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].rfind(key, 0) == 0) return i;
    ADD_FAILURE() << key;
    return 0;
}

TEST(ChipConfigFile, GoldenFile) {
    const auto model = test::goldenModel();
    const RegisterImage image = test::goldenImage(model);
    const std::string expected = test::goldenText("chip_mode1.cfg.txt");
    EXPECT_EQ(chipConfigurationText(image), expected);

    const test::TempDir dir("gc-chip-golden");
    const std::string path = dir.file("saved.cfg");
    ASSERT_TRUE(writeChipConfiguration(path, image));
    EXPECT_EQ(test::readText(path), expected);
    EXPECT_FALSE(writeChipConfiguration(dir.file("missing/saved.cfg"), image));
}

TEST(ChipConfigFile, LayoutOfTheInitialImage) {
    const std::string text = chipConfigurationText(RegisterImage{});
    ASSERT_NE(text.back(), '\n');
    const auto lines = gc::model::splitLines(text);
    ASSERT_EQ(lines.size(), 135u);
    EXPECT_EQ(lines[0], "*** Config Graychip ****");
    EXPECT_EQ(lines[1], "--- Global Registers ---");
    EXPECT_EQ(lines[14], "Phase= 65535.000000");
    EXPECT_EQ(lines[34], "Phase= 17.000000");
    EXPECT_EQ(lines[134], "Miscell= 2");
}

TEST(ChipConfigFile, RoundTrips) {
    std::mt19937 rng(4016);
    for (int round = 0; round < 20; ++round) {
        const RegisterImage written = randomImage(rng);
        const std::string text = chipConfigurationText(written);
        // The derived words are not in the file: the target keeps its own.
        RegisterImage target;
        target.FrequencyWord = {1, 2, 3, 4};
        target.PhaseWord = {5, 6, 7, 8};
        target.OddChannelPhaseOffset = 0x4000;
        RegisterImage expected = written;
        expected.FrequencyWord = target.FrequencyWord;
        expected.PhaseWord = target.PhaseWord;
        expected.OddChannelPhaseOffset = target.OddChannelPhaseOffset;

        ASSERT_EQ(parseChipConfiguration(text, target), ChipConfigStatus::Ok) << round;
        EXPECT_EQ(target, expected) << round;
        EXPECT_EQ(chipConfigurationText(target), text) << round;
    }

    // Through a file, with lines far beyond 79 characters.
    RegisterImage wide;
    for (auto& ch : wide.Channels) ch.PFIR.fill(-1000000);
    wide.ResamplerCoeff.fill(-10000);
    const std::string text = chipConfigurationText(wide);
    EXPECT_GT(gc::model::splitLines(text)[lineOf(text, "PFIR[]=") + 1].size(), 79u);
    const test::TempDir dir("gc-chip-roundtrip");
    ASSERT_TRUE(writeChipConfiguration(dir.file("wide.cfg"), wide));
    RegisterImage read;
    ASSERT_EQ(readChipConfiguration(dir.file("wide.cfg"), read), ChipConfigStatus::Ok);
    EXPECT_EQ(read, wide);
}

TEST(ChipConfigFile, MissingAndDamagedFilesChangeNothing) {
    std::mt19937 rng(7);
    const RegisterImage original = randomImage(rng);
    const std::string text = chipConfigurationText(RegisterImage{});
    const auto lines = gc::model::splitLines(text);
    RegisterImage image = original;

    const test::TempDir dir("gc-chip-damaged");
    EXPECT_EQ(readChipConfiguration(dir.file("absent.cfg"), image), ChipConfigStatus::Missing);
    EXPECT_EQ(readChipConfiguration(dir.file(""), image), ChipConfigStatus::Missing);  // a folder
    EXPECT_EQ(image, original);

    // Names that are no regular file, and files far over any chip configuration's size, are
    // damaged at once: nothing blocks, nothing is read whole.
    ASSERT_EQ(::mkfifo(dir.file("fifo.cfg").c_str(), 0600), 0);
    ASSERT_TRUE(gc::model::writeFileAtomically(dir.file("huge.cfg"), ""));
    std::filesystem::resize_file(dir.file("huge.cfg"), std::uintmax_t{1} << 30);
    for (const std::string& name :
         {dir.file("fifo.cfg"), std::string("/dev/zero"), dir.file("huge.cfg")}) {
        EXPECT_EQ(readChipConfiguration(name, image), ChipConfigStatus::Damaged) << name;
        EXPECT_EQ(image, original);
    }
    // Whatever follows the last line is never looked at.
    ASSERT_TRUE(gc::model::writeFileAtomically(dir.file("tail.cfg"),
                                               text + "\n" + std::string(100000, '\n')));
    EXPECT_EQ(readChipConfiguration(dir.file("tail.cfg"), image), ChipConfigStatus::Ok);
    EXPECT_EQ(image, RegisterImage{});
    image = original;

    // Cut short after any line before "Miscell=", or inside a line's key.
    std::string cut;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        EXPECT_EQ(parseChipConfiguration(cut, image), ChipConfigStatus::Damaged) << n;
        const std::string partial = cut + (n ? "\n" : "") + lines[n].substr(0, 3);
        EXPECT_EQ(parseChipConfiguration(partial, image), ChipConfigStatus::Damaged) << n;
        cut += (n ? "\n" : "") + lines[n];
    }
    EXPECT_EQ(image, original);
    ASSERT_TRUE(
        gc::model::writeFileAtomically(dir.file("short.cfg"), text.substr(0, text.rfind('\n'))));
    EXPECT_EQ(readChipConfiguration(dir.file("short.cfg"), image), ChipConfigStatus::Damaged);
    EXPECT_EQ(image, original);

    const auto damaged = [&](std::size_t index, const std::string& line) {
        RegisterImage target = original;
        const auto status = parseChipConfiguration(withLine(text, index, line), target);
        EXPECT_EQ(target, original) << line;
        return status == ChipConfigStatus::Damaged;
    };
    EXPECT_TRUE(damaged(0, "*** Config Graychip ***"));   // three closing stars
    EXPECT_TRUE(damaged(1, "--- Global registers ---"));  // keys are case-sensitive
    EXPECT_TRUE(damaged(3, "Page= 0"));                   // a line out of order
    EXPECT_TRUE(damaged(2, "GlobalReset"));               // a key cut short
    EXPECT_TRUE(damaged(lineOf(text, "Miscell="), "miscell= 2"));
    // Rows with fewer numbers than they must hold.
    EXPECT_TRUE(damaged(10, "CFIR[]= 1 2 3 4 5 6 7 8 9 10"));
    EXPECT_TRUE(damaged(13, "         1 2 3 4 5 6 7 8 9"));
    EXPECT_TRUE(damaged(13, "         1 2 3 4 5 6 7 8 9 x10"));
    EXPECT_TRUE(damaged(91, "               1 2 3 4 5 6 7 8 9"));
    EXPECT_TRUE(damaged(lineOf(text, "ResamplerRatio[]="), "ResamplerRatio[]= 1 2 3"));
    EXPECT_TRUE(damaged(lineOf(text, "OutputTag[]="), "OutputTag[]="));
    // A whole row missing shifts everything after it.
    auto shortened = lines;
    shortened.erase(shortened.begin() + 92);
    std::string joined;
    for (std::size_t i = 0; i < shortened.size(); ++i) joined += (i ? "\n" : "") + shortened[i];
    image = original;
    EXPECT_EQ(parseChipConfiguration(joined, image), ChipConfigStatus::Damaged);
    EXPECT_EQ(image, original);
}

TEST(ChipConfigFile, HandEditedValues) {
    const std::string text = chipConfigurationText(RegisterImage{});
    const auto read = [](const std::string& edited) {
        RegisterImage image;
        image.Miscell = -7;
        EXPECT_EQ(parseChipConfiguration(edited, image), ChipConfigStatus::Ok);
        return image;
    };
    EXPECT_EQ(read(text), RegisterImage{});

    EXPECT_EQ(read(withLine(text, 3, "Status= 10")).Status, 16);
    EXPECT_EQ(read(withLine(text, 3, "Status= 0x1F")).Status, 31);
    EXPECT_EQ(read(withLine(text, 3, "Status= -0x10")).Status, -16);
    EXPECT_EQ(read(withLine(text, 3, "Status= 0xg")).Status, 0);  // "0" then a stop
    EXPECT_EQ(read(withLine(text, 3, "Status= 1fz9")).Status, 31);
    EXPECT_EQ(read(withLine(text, 3, "Status=")).Status, 0);  // missing number
    EXPECT_EQ(read(withLine(text, 3, "Status= ffffff9c")).Status, -100);
    EXPECT_EQ(read(withLine(text, 3, "Status= 123456789a")).Status, -1);  // saturates
    // The value starts one character after the key, where the writer puts a blank.
    EXPECT_EQ(read(withLine(text, 3, "Status=12")).Status, 2);
    EXPECT_EQ(read(withLine(text, 3, "Status=\t\t 12")).Status, 0x12);

    const std::size_t phase = lineOf(text, "Phase=");
    EXPECT_EQ(read(withLine(text, phase, "Phase= 12.9")).Channels[0].Phase, 12);
    EXPECT_EQ(read(withLine(text, phase, "Phase= -12.9")).Channels[0].Phase, -12);
    EXPECT_EQ(read(withLine(text, phase, "Phase= -1e999")).Channels[0].Phase, INT_MIN);
    EXPECT_EQ(read(withLine(text, phase, "Phase= 7,5")).Channels[0].Phase, 7);
    const std::size_t frequency = lineOf(text, "Frequency=");
    EXPECT_EQ(read(withLine(text, frequency, "Frequency= 99999999999")).Channels[0].Frequency,
              INT_MAX);
    EXPECT_EQ(read(withLine(text, frequency, "Frequency= 10x")).Channels[0].Frequency, 10);

    // Captions and unkeyed continuation rows may be changed; extra numbers are ignored.
    RegisterImage edited = read(withLine(text, 29, "--- Режим канала 1 (правка) ---"));
    EXPECT_EQ(edited, RegisterImage{});
    edited = read(withLine(text, 12, "\t-1 -2 -3 -4 -5 -6 -7 -8 -9 -10 -11 99"));
    EXPECT_EQ(edited.Channels[0].PFIR[11], -1);
    EXPECT_EQ(edited.Channels[0].PFIR[21], -11);
    EXPECT_EQ(edited.Channels[0].PFIR[22], RegisterImage{}.Channels[0].PFIR[22]);
    edited = read(withLine(text, 115, "1 2 3 4 5 6 7 8 9 +10"));
    EXPECT_EQ(edited.ResamplerCoeff[246], 1);
    EXPECT_EQ(edited.ResamplerCoeff[255], 10);
    edited = read(withLine(text, lineOf(text, "OutputTag[]="), "OutputTag[]= 0xa b -1 10"));
    EXPECT_EQ(edited.OutputTag, (std::array<int, 4>{10, 11, -1, 16}));
    // Anything after the last key is ignored.
    EXPECT_EQ(read(text + "\nExtra= 5\n\n"), RegisterImage{});

    // Line ends written on another system.
    std::string crlf;
    for (const auto& line : gc::model::splitLines(text)) crlf += line + "\r\n";
    EXPECT_EQ(read(crlf), RegisterImage{});
}

}  // namespace
}  // namespace gc::chip
