// Coefficient lists of other tools read into chip words, and the taps written back in the same
// formats.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "filters/TapFiles.h"
#include "filters/TapImport.h"
#include "model/ConfigurationModel.h"

namespace {

namespace fs = std::filesystem;
using gc::filters::importTapText;
using gc::filters::TapFileStatus;
using gc::filters::TapImport;
using gc::filters::TapKind;
using gc::filters::TapTextFormat;

// "v0<sep>v1<sep>...": the values 1..n (or `value` n times) as text.
std::string joined(const std::vector<std::string>& values, const std::string& separator) {
    std::string text;
    for (size_t i = 0; i < values.size(); ++i) text += (i ? separator : "") + values[i];
    return text;
}

std::vector<std::string> counting(int n) {
    std::vector<std::string> values;
    for (int i = 1; i <= n; ++i) values.push_back(std::to_string(i));
    return values;
}

std::vector<int> countingTaps(int n) {
    std::vector<int> taps;
    for (int i = 1; i <= n; ++i) taps.push_back(i);
    return taps;
}

}  // namespace

TEST(TapImport, ThisProgramsTapFilesReadAsTheTapFileReaderReadsThem) {
    // " %d\n" lines, with Windows line ends and a byte-order mark; 65536 is cut to 16 bits.
    std::string text = "\xEF\xBB\xBF";
    for (int i = 1; i <= 20; ++i) text += " " + std::to_string(i) + "\r\n";
    text += " 65536\r\n";
    const TapImport cfir = importTapText(text, TapKind::Cfir);
    ASSERT_EQ(cfir.status, TapFileStatus::Ok) << cfir.error;
    EXPECT_EQ(cfir.format, TapTextFormat::TapFile);
    EXPECT_FALSE(cfir.scaled);
    std::vector<int> expected = countingTaps(20);
    expected.push_back(0);
    EXPECT_EQ(cfir.taps, expected);
    EXPECT_EQ(cfir.tapSum, 210);  // 1 + ... + 20
    EXPECT_FALSE(cfir.symmetric);
    EXPECT_EQ(cfir.taps, gc::filters::readTapText(text, 16).taps);

    // The rest of a line after its number is ignored, as it always was; a last line without a
    // line end counts.
    const TapImport resampler = importTapText("5 volts\n-7\n5", TapKind::Rfir);
    ASSERT_EQ(resampler.status, TapFileStatus::Ok) << resampler.error;
    EXPECT_EQ(resampler.format, TapTextFormat::TapFile);
    EXPECT_EQ(resampler.taps, (std::vector<int>{5, -7, 5}));
    EXPECT_TRUE(resampler.symmetric);

    // 22 lines: the line of the 22nd number is named.
    const TapImport longer = importTapText(joined(counting(22), "\n") + "\n", TapKind::Cfir);
    EXPECT_EQ(longer.status, TapFileStatus::Damaged);
    EXPECT_EQ(longer.error, "строка 22: лишний коэффициент: у CFIR их 21");
    const TapImport shorter = importTapText(joined(counting(62), "\n") + "\n\n", TapKind::Pfir);
    EXPECT_EQ(shorter.error, "строка 62: файл кончается после 62 коэффициентов, у PFIR их 63");
}

TEST(TapImport, ListsOfIntegersAndOfRealsScaledToTheChipWord) {
    // CSV: commas and blanks, Windows line ends, a trailing comma, a comment.
    const std::string csv = "% exported\r\n" + joined(counting(10), ", ") + ",\r\n" +
                            joined(counting(11), " ") + ",\r\n";
    const TapImport ints = importTapText(csv, TapKind::Cfir);
    ASSERT_EQ(ints.status, TapFileStatus::Ok) << ints.error;
    EXPECT_EQ(ints.format, TapTextFormat::List);
    std::vector<int> expected = countingTaps(10);
    for (int i = 1; i <= 11; ++i) expected.push_back(i);
    EXPECT_EQ(ints.taps, expected);

    // 21 taps of 0.5: scaled by 65536 / 10.5 each is 65536 / 21 = 3120.76..., rounded to 3121.
    const std::vector<std::string> halves(21, "0.5");
    const TapImport reals = importTapText(joined(halves, "\n") + "\n", TapKind::Cfir);
    ASSERT_EQ(reals.status, TapFileStatus::Ok) << reals.error;
    EXPECT_TRUE(reals.scaled);
    EXPECT_DOUBLE_EQ(reals.scale, 65536.0 / 10.5);
    EXPECT_EQ(reals.taps, std::vector<int>(21, 3121));
    EXPECT_EQ(reals.tapSum, 21 * 3121);
    EXPECT_DOUBLE_EQ(reals.gain, 21 * 3121 / 65536.0);
    const double exact = 65536.0 / 21.0;  // the scaled tap before rounding
    ASSERT_TRUE(reals.roundingErrorDb.has_value());
    EXPECT_NEAR(*reals.roundingErrorDb, 20.0 * std::log10((3121 - exact) / exact), 1e-9);
    EXPECT_NEAR(*reals.roundingErrorDb, -82.35, 0.01);
    EXPECT_TRUE(reals.symmetric);

    // A gain halves the tap sum: 32768 / 21 = 1560.38 -> 1560.
    const TapImport half = importTapText(joined(halves, ","), TapKind::Cfir, 0.5);
    EXPECT_EQ(half.taps, std::vector<int>(21, 1560));
    // A gain that pushes a tap beyond 16 bits is refused on its line.
    std::vector<std::string> spike(21, "0");
    spike[4] = "1e-3";
    const TapImport tooLoud = importTapText(joined(spike, "\n"), TapKind::Cfir);
    EXPECT_EQ(tooLoud.status, TapFileStatus::Damaged);
    EXPECT_EQ(tooLoud.error.rfind("строка 5: ", 0), 0u) << tooLoud.error;
    EXPECT_NE(tooLoud.error.find("16 бит"), std::string::npos) << tooLoud.error;

    // An unreadable value is named with its line.
    const TapImport bad = importTapText("0.1\n0.2\n0.3x\n", TapKind::Rfir);
    EXPECT_EQ(bad.status, TapFileStatus::Damaged);
    EXPECT_EQ(bad.error, "строка 3: \"0.3x\" не число");
    EXPECT_TRUE(bad.taps.empty());
}

TEST(TapImport, BracketedVectorsAndResamplerScaling) {
    // The resampler's largest tap goes to 2047: 0.5 -> 1023.5, rounded to even 1024.
    const TapImport res = importTapText("h = [0.5 1.0 ...\n  0.5];\n", TapKind::Rfir);
    ASSERT_EQ(res.status, TapFileStatus::Ok) << res.error;
    EXPECT_EQ(res.format, TapTextFormat::Vector);
    EXPECT_EQ(res.taps, (std::vector<int>{1024, 2047, 1024}));
    EXPECT_DOUBLE_EQ(res.scale, 2047.0);
    ASSERT_TRUE(res.roundingErrorDb.has_value());
    EXPECT_NEAR(*res.roundingErrorDb, 20.0 * std::log10(0.5 / 2047.0), 1e-9);
    EXPECT_TRUE(res.symmetric);

    // A column vector with semicolons, transposed, with a comment; integers are taken as they
    // are.
    const TapImport column = importTapText("b = [3; -1;  # first two\n 7]';\n", TapKind::Rfir);
    ASSERT_EQ(column.status, TapFileStatus::Ok) << column.error;
    EXPECT_EQ(column.taps, (std::vector<int>{3, -1, 7}));
    EXPECT_FALSE(column.scaled);
    EXPECT_FALSE(column.symmetric);

    EXPECT_EQ(importTapText("h = [1, 2,\n3,\n", TapKind::Rfir).error,
              "строка 2: нет закрывающей скобки \"]\"");
    EXPECT_EQ(importTapText("h = [1, 2] + 3;\n", TapKind::Rfir).error,
              "строка 1: лишний текст после \"]\": \"+ 3;\"");
}

TEST(TapImport, FpgaCoefficientFilesInRadixTenAndSixteen) {
    // Radix 16, two's complement of the word: FC00 is -1024 in 16 bits; "-10" is -16.
    std::vector<std::string> hex(21, "0000");
    hex[0] = "0400";
    hex[1] = "FC00";
    hex[2] = "-10";
    hex[20] = "7fff";
    const std::string coe =
        "; from the FPGA tool\r\nRadix = 16;\r\nCoefficient_Width = 16;\r\n"
        "CoefData = " +
        joined(hex, ",\r\n") + ";\r\n";
    const TapImport cfir = importTapText(coe, TapKind::Cfir);
    ASSERT_EQ(cfir.status, TapFileStatus::Ok) << cfir.error;
    EXPECT_EQ(cfir.format, TapTextFormat::CoefficientFile);
    std::vector<int> expected(21, 0);
    expected[0] = 1024;
    expected[1] = -1024;
    expected[2] = -16;
    expected[20] = 32767;
    EXPECT_EQ(cfir.taps, expected);
    // In the resampler's 12-bit word C00 is -1024.
    const TapImport res = importTapText("radix=16;\ncoefdata=400,C00,400;", TapKind::Rfir);
    EXPECT_EQ(res.taps, (std::vector<int>{1024, -1024, 1024}));

    // Radix 10 with reals, a value on a line of its own.
    const TapImport reals =
        importTapText("radix=10;\ncoefdata=\n0.25,\n0.5,\n0.25;\n", TapKind::Rfir);
    EXPECT_EQ(reals.taps, (std::vector<int>{1024, 2047, 1024}));  // 1023.5 rounds to even

    EXPECT_EQ(importTapText("radix=8;\ncoefdata=1,2;\n", TapKind::Rfir).error,
              "строка 1: основание 8 не поддерживается (10 или 16)");
    EXPECT_EQ(importTapText("radix=16;\ncoefdata=1,\n2G;\n", TapKind::Rfir).error,
              "строка 3: \"2G\" не число");
}

TEST(TapImport, ExportWritesEachFormatAndReadsBack) {
    const std::vector<int> taps{1, -2, 300};
    using gc::filters::tapExportText;
    EXPECT_EQ(tapExportText(taps, TapTextFormat::TapFile, TapKind::Rfir), " 1\n -2\n 300\n");
    EXPECT_EQ(tapExportText(taps, TapTextFormat::List, TapKind::Rfir), "1,-2,300\n");
    EXPECT_EQ(tapExportText(taps, TapTextFormat::Vector, TapKind::Rfir), "h = [1, -2, 300];\n");
    EXPECT_EQ(tapExportText(taps, TapTextFormat::CoefficientFile, TapKind::Rfir),
              "radix=10;\ncoefdata=\n1,\n-2,\n300;\n");
    EXPECT_EQ(tapExportText(taps, TapTextFormat::CoefficientFile, TapKind::Rfir, 16),
              "radix=16;\ncoefdata=\n001,\nFFE,\n12C;\n");
    EXPECT_EQ(tapExportText(taps, TapTextFormat::CoefficientFile, TapKind::Pfir, 16),
              "radix=16;\ncoefdata=\n0001,\nFFFE,\n012C;\n");

    // Every format of a full PFIR with negatives reads back to the same taps.
    std::vector<int> pfir;
    for (int i = 0; i < 63; ++i) pfir.push_back((i % 7 - 3) * 4099);
    for (const TapTextFormat format : {TapTextFormat::TapFile, TapTextFormat::List,
                                       TapTextFormat::Vector, TapTextFormat::CoefficientFile}) {
        for (const int radix : {10, 16}) {
            const TapImport back =
                importTapText(tapExportText(pfir, format, TapKind::Pfir, radix), TapKind::Pfir);
            ASSERT_EQ(back.status, TapFileStatus::Ok) << back.error;
            EXPECT_EQ(back.format, format);
            EXPECT_EQ(back.taps, pfir);
        }
        EXPECT_EQ(gc::filters::tapTextFormatFromName(gc::filters::tapTextFormatName(format)),
                  format);
    }
}

TEST(TapImport, TheTapFileReadersTakeEveryFormat) {
    const fs::path dir = fs::temp_directory_path() / "gc_tapimport_readers";
    fs::create_directories(dir);
    const std::string coe = (dir / "a.coe").string();
    std::ofstream(coe, std::ios::binary)
        << "radix=10;\ncoefdata=" << joined(counting(21), ",") << ";\n";
    gc::model::ConfigurationModel model;
    TapImport detail;
    ASSERT_EQ(gc::filters::ReadCfirTapFile(model, coe, 2, &detail), TapFileStatus::Ok);
    EXPECT_EQ(detail.format, TapTextFormat::CoefficientFile);
    EXPECT_EQ(model.CfirTaps[2][20], 21);
    EXPECT_EQ(model.CfirFileTaps[2][0], 1);

    // A failed import leaves the taps as they were and says why.
    const std::string bad = (dir / "b.csv").string();
    std::ofstream(bad, std::ios::binary) << joined(counting(20), ",") << ",x\n";
    const auto before = model.CfirTaps[2];
    EXPECT_EQ(gc::filters::ReadCfirTapFile(model, bad, 2, &detail), TapFileStatus::Damaged);
    EXPECT_EQ(detail.error, "строка 1: \"x\" не число");
    EXPECT_EQ(model.CfirTaps[2], before);
    EXPECT_EQ(gc::filters::ReadResamplerTapFile(model, (dir / "none").string(), &detail),
              TapFileStatus::Missing);

    const std::string res = (dir / "r.m").string();
    std::ofstream(res, std::ios::binary) << "r = [0.5, 1, 0.5];\n";
    ASSERT_EQ(gc::filters::ReadResamplerTapFile(model, res, &detail), TapFileStatus::Ok);
    EXPECT_EQ(model.ResamplerFileTapCount, 3);
    EXPECT_EQ(model.ResamplerFileTaps[1], 2047);
    fs::remove_all(dir);
}
