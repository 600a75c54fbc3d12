#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "chip/RegisterImage.h"
#include "filters/TapFiles.h"
#include "filters/TapSelection.h"
#include "model/ConfigurationModel.h"
#include "model/TextFile.h"

namespace {

namespace fs = std::filesystem;
using gc::filters::TapFileStatus;
using gc::filters::TapKind;
using gc::model::ConfigurationModel;

class TapFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("gc_tapfiles_" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string write(const std::string& name, const std::string& content) {
        const std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    static std::string numberLines(int count, int first = 1) {
        std::string text;
        for (int i = 0; i < count; ++i) text += " " + std::to_string(first + i) + "\n";
        return text;
    }
    static std::string read(const std::string& path) {
        return gc::model::readFileBytes(path).value_or("<missing>");
    }

    fs::path dir_;
};

TEST_F(TapFiles, ValuesAreCutToTheCoefficientWidth) {
    const auto fir =
        gc::filters::ReadTapFile(write("w16.taps",
                                       " 32767\n 32768\n 65536\n -1\n -32769\n+5\n 4294967297\n"
                                       " -4294967297\n 123456789012345678901234567890\n"),
                                 16);
    ASSERT_TRUE(fir.opened);
    EXPECT_FALSE(fir.damaged);
    // 123456789012345678901234567890 mod 65536 = 2770 (its low 16 bits).
    EXPECT_EQ(fir.taps, (std::vector<int>{32767, -32768, 0, -1, 32767, 5, 1, -1, 2770}));

    const auto res = gc::filters::ReadTapFile(write("w12.taps", "2047\n2048\n4096\n-2049\n"), 12);
    EXPECT_EQ(res.taps, (std::vector<int>{2047, -2048, 0, 2047}));

    EXPECT_EQ(gc::filters::reduceToBits(65535, 16), -1);
    EXPECT_EQ(gc::filters::reduceToBits(-2048, 12), -2048);
    EXPECT_EQ(gc::filters::reduceToBits(0x80000000LL, 32), -2147483647 - 1);
}

TEST_F(TapFiles, LinesOfAnyLengthBlankLinesAndAMissingLastLineEnd) {
    // A long line is one line; the 79-character limit of old readers does not split it.
    const std::string longLine = std::string(200, ' ') + "5" + std::string(100, ' ') + "\n";
    auto r = gc::filters::ReadTapFile(write("long.taps", longLine + " 6"), 16);
    EXPECT_EQ(r.taps, (std::vector<int>{5, 6}));  // the last line has no line end and counts

    r = gc::filters::ReadTapFile(write("blank.taps", "1\n\n   \n\t\r\n2\r\n 3 trailing text\n\n"),
                                 16);
    EXPECT_FALSE(r.damaged);
    EXPECT_EQ(r.taps, (std::vector<int>{1, 2, 3}));

    r = gc::filters::ReadTapFile(write("bom.taps", "\xEF\xBB\xBF 7\n 8\n"), 16);
    EXPECT_FALSE(r.damaged);
    EXPECT_EQ(r.taps, (std::vector<int>{7, 8}));

    r = gc::filters::ReadTapFile(write("empty.taps", ""), 12);
    EXPECT_TRUE(r.opened);
    EXPECT_TRUE(r.taps.empty());
}

TEST_F(TapFiles, TextWithoutANumberDamagesTheFileAndMissingFilesAreNotOpened) {
    for (const char* content : {"1\nabc\n2\n", "x12\n", " -\n", "1\n+ 2\n", "abc 12\n"}) {
        SCOPED_TRACE(content);
        const auto r = gc::filters::ReadTapFile(write("bad.taps", content), 16);
        EXPECT_TRUE(r.opened);
        EXPECT_TRUE(r.damaged);
    }
    EXPECT_FALSE(gc::filters::ReadTapFile(path("none.taps"), 16).opened);
    EXPECT_FALSE(gc::filters::ReadTapFile(dir_.string(), 16).opened);  // a folder is no file

    // A FIFO or a device is damaged at once, without blocking or reading forever; so is a file
    // far over the size limit (a sparse one here, nothing of it read).
    ASSERT_EQ(::mkfifo(path("fifo.taps").c_str(), 0600), 0);
    const std::string huge = write("huge.taps", "");
    fs::resize_file(huge, std::uintmax_t{1} << 30);
    for (const std::string& name : {path("fifo.taps"), std::string("/dev/zero"), huge}) {
        SCOPED_TRACE(name);
        const auto r = gc::filters::ReadTapFile(name, 16);
        EXPECT_TRUE(r.opened);
        EXPECT_TRUE(r.damaged);
        EXPECT_TRUE(r.taps.empty());
    }
    ConfigurationModel model;
    const auto before = model.ResamplerFileTaps;
    EXPECT_EQ(gc::filters::ReadResamplerTapFile(model, path("fifo.taps")), TapFileStatus::Damaged);
    EXPECT_EQ(model.ResamplerFileTaps, before);

    // Only the first 512 numbers are taken; what follows them is not looked at.
    const auto r = gc::filters::ReadTapFile(write("long.taps", numberLines(600) + "junk\n"), 12);
    EXPECT_FALSE(r.damaged);
    ASSERT_EQ(r.taps.size(), 512u);
    EXPECT_EQ(r.taps.front(), 1);
    EXPECT_EQ(r.taps.back(), 512);
}

TEST_F(TapFiles, CfirAndPfirFilesNeedTheirExactCount) {
    ConfigurationModel model;
    model.CfirTaps[0].fill(-7);
    const std::string good = write("cfir21.taps", numberLines(21, 100));
    EXPECT_EQ(gc::filters::ReadCfirTapFile(model, good, 2), TapFileStatus::Ok);
    for (int i = 0; i < 21; ++i) {
        EXPECT_EQ(model.CfirFileTaps[2][i], 100 + i);
        EXPECT_EQ(model.CfirTaps[2][i], 100 + i);
    }
    for (int v : model.CfirTaps[0]) EXPECT_EQ(v, -7);  // another channel is untouched

    // Refusals leave both arrays as they were.
    const auto fileBefore = model.CfirFileTaps;
    const auto inUseBefore = model.CfirTaps;
    EXPECT_EQ(gc::filters::ReadCfirTapFile(model, write("c20.taps", numberLines(20)), 2),
              TapFileStatus::Damaged);
    EXPECT_EQ(gc::filters::ReadCfirTapFile(model, write("c22.taps", numberLines(22)), 2),
              TapFileStatus::Damaged);
    EXPECT_EQ(gc::filters::ReadCfirTapFile(model, write("cx.taps", numberLines(20) + "x\n"), 2),
              TapFileStatus::Damaged);
    EXPECT_EQ(gc::filters::ReadCfirTapFile(model, path("none.taps"), 2), TapFileStatus::Missing);
    EXPECT_EQ(gc::filters::ReadCfirTapFile(model, good, 4), TapFileStatus::Missing);
    EXPECT_EQ(model.CfirFileTaps, fileBefore);
    EXPECT_EQ(model.CfirTaps, inUseBefore);

    // 21 taps without a final line end are 21 taps.
    std::string noEnd = numberLines(21, -10);
    noEnd.pop_back();
    EXPECT_EQ(gc::filters::ReadCfirTapFile(model, write("c21.taps", noEnd), 1), TapFileStatus::Ok);
    EXPECT_EQ(model.CfirTaps[1][20], 10);

    EXPECT_EQ(gc::filters::ReadPfirTapFile(model, write("p63.taps", numberLines(63)), 3),
              TapFileStatus::Ok);
    EXPECT_EQ(model.PfirFileTaps[3][62], 63);
    EXPECT_EQ(model.PfirTaps[3][0], 1);
    EXPECT_EQ(gc::filters::ReadPfirTapFile(model, write("p21.taps", numberLines(21)), 3),
              TapFileStatus::Damaged);
    EXPECT_EQ(model.PfirTaps[3][62], 63);
}

TEST_F(TapFiles, ResamplerFilesOfAnyCountUpTo512) {
    ConfigurationModel model;
    gc::chip::RegisterImage image;
    model.ResamplerTaps.fill(9);
    model.ResamplerFileTaps.fill(9);
    EXPECT_EQ(gc::filters::ReadResamplerTapFile(model, write("r600.taps", numberLines(600))),
              TapFileStatus::Ok);
    EXPECT_EQ(model.ResamplerFileTapCount, 512);
    EXPECT_EQ(model.ResamplerFileTaps[511], 512);
    for (int v : model.ResamplerTaps) ASSERT_EQ(v, 0);
    gc::filters::ApplyResamplerSelection(model, image, gc::filters::TapSource::File);
    EXPECT_EQ(model.Work.Ndelay, 64);
    EXPECT_EQ(model.Chip.NumMultiplies, 8);
    EXPECT_EQ(model.ResamplerTaps[511], 512);

    EXPECT_EQ(gc::filters::ReadResamplerTapFile(model, write("r3.taps", "2048\n2047\n-1\n")),
              TapFileStatus::Ok);
    EXPECT_EQ(model.ResamplerFileTapCount, 3);
    EXPECT_EQ(model.ResamplerFileTaps[0], -2048);
    EXPECT_EQ(model.ResamplerFileTaps[3], 0);  // nothing left over from the longer file

    EXPECT_EQ(gc::filters::ReadResamplerTapFile(model, write("r0.taps", "")), TapFileStatus::Ok);
    EXPECT_EQ(model.ResamplerFileTapCount, 0);
    gc::filters::ApplyResamplerSelection(model, image, gc::filters::TapSource::File);
    EXPECT_EQ(model.Work.Ndelay, 64);
    EXPECT_EQ(model.Chip.NumMultiplies, 0);

    // Failures change nothing.
    model.ResamplerTaps.fill(4);
    EXPECT_EQ(gc::filters::ReadResamplerTapFile(model, write("rbad.taps", "1\ntwo\n")),
              TapFileStatus::Damaged);
    EXPECT_EQ(gc::filters::ReadResamplerTapFile(model, path("none.taps")), TapFileStatus::Missing);
    // A folder (the name of an empty file name) is missing, not an empty filter.
    EXPECT_EQ(gc::filters::ReadResamplerTapFile(model, dir_.string() + "/"),
              TapFileStatus::Missing);
    EXPECT_EQ(model.ResamplerFileTapCount, 0);
    EXPECT_EQ(model.ResamplerTaps[100], 4);
}

TEST_F(TapFiles, WrittenCfirFileMatchesItsGoldenText) {
    ConfigurationModel model;
    model.Work.CurrentChannel = 1;
    model.Work.CfirSelection[1] = 3;  // cfir_68
    gc::filters::ApplyCfirSelection(model, gc::filters::TapSource::Table);
    const std::string file = path("cfir_68.taps");
    ASSERT_TRUE(gc::filters::WriteCfirTapFile(model, file));
    EXPECT_EQ(read(file),
              " 12\n -93\n -62\n 804\n 1283\n -1273\n -5197\n -3512\n 8332\n 24823\n 32767\n"
              " 24823\n 8332\n -3512\n -5197\n -1273\n 1283\n 804\n -62\n -93\n 12\n");
    // The file reads back into the same taps.
    ConfigurationModel other;
    EXPECT_EQ(gc::filters::ReadCfirTapFile(other, file, 0), TapFileStatus::Ok);
    EXPECT_EQ(other.CfirTaps[0], model.CfirTaps[1]);
}

TEST_F(TapFiles, WritersOfBypassSetsAndUnwritablePaths) {
    ConfigurationModel model;
    gc::chip::RegisterImage image;
    model.Work.CfirSelection[0] = 0;  // cfir_bypass: centre 65536 is written but reads back as 0
    gc::filters::ApplyCfirSelection(model, gc::filters::TapSource::Table);
    const std::string cfir = path("bypass.taps");
    ASSERT_TRUE(gc::filters::WriteCfirTapFile(model, cfir));
    EXPECT_NE(read(cfir).find("\n 65536\n"), std::string::npos);
    EXPECT_EQ(gc::filters::ReadCfirTapFile(model, cfir, 0), TapFileStatus::Ok);
    EXPECT_EQ(model.CfirTaps[0][10], 0);

    model.Work.PfirSelection[0] = 7;  // pfir_gsm round trip
    gc::filters::ApplyPfirSelection(model, gc::filters::TapSource::Table);
    const auto pfir = model.PfirTaps[0];
    ASSERT_TRUE(gc::filters::WritePfirTapFile(model, path("gsm.taps")));
    model.PfirTaps[0].fill(0);
    EXPECT_EQ(gc::filters::ReadPfirTapFile(model, path("gsm.taps"), 0), TapFileStatus::Ok);
    EXPECT_EQ(model.PfirTaps[0], pfir);

    model.Work.RfirSelection = 0;  // res_bypass: 224 lines, 1024 then zeros
    gc::filters::ApplyResamplerSelection(model, image, gc::filters::TapSource::Table);
    ASSERT_TRUE(gc::filters::WriteResamplerTapFile(model, path("res.taps")));
    std::string expected = " 1024\n";
    for (int i = 1; i < 224; ++i) expected += " 0\n";
    EXPECT_EQ(read(path("res.taps")), expected);

    EXPECT_FALSE(gc::filters::WriteCfirTapFile(model, path("no/such/folder/x.taps")));
    EXPECT_FALSE(gc::filters::WriteResamplerTapFile(model, dir_.string()));  // a folder
    EXPECT_EQ(gc::filters::tapFileText(nullptr, 0), "");
}

TEST(TapFileReports, LabelsByKindAndStatus) {
    using gc::filters::tapFileReportLabels;
    EXPECT_EQ(
        tapFileReportLabels(TapKind::Cfir, "FILTERS/a.taps", TapFileStatus::Missing),
        (std::vector<std::string>{"Файл коэфициентов CFIR", "FILTERS/a.taps", "отсутствует!"}));
    EXPECT_EQ(tapFileReportLabels(TapKind::Pfir, "b.taps", TapFileStatus::Damaged),
              (std::vector<std::string>{"Файл коэфициентов PFIR", "b.taps", "поврежден!"}));
    EXPECT_EQ(tapFileReportLabels(TapKind::Rfir, "c.taps", TapFileStatus::Damaged),
              (std::vector<std::string>{"Файл коэфициентов RFIR", "c.taps", "поврежден!"}));
    EXPECT_TRUE(tapFileReportLabels(TapKind::Rfir, "c.taps", TapFileStatus::Ok).empty());
}

}  // namespace
