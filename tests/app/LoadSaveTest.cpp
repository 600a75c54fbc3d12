// "Считать", "Записать" and the tap-file buttons.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <array>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "app/LoadSaveTestSupport.h"
#include "appconfig/ConfigFile.h"
#include "chip/ChipConfigFile.h"
#include "chip/ProgramFile.h"
#include "filters/FilterTables.h"
#include "filters/TapFiles.h"
#include "filters/TapSelection.h"

using namespace gc::app;
using namespace gc::app::testing;
using Lines = std::vector<std::string>;
using Log = std::vector<std::string>;

namespace {

// The open dialog of the tap-file buttons: this program's tap files, other tools' coefficient
// files, any file.
constexpr const char* kTapOpenFilter =
    "FIRFilterl(*.taps)|*.taps|Коэффициенты других программ (*.csv *.txt *.m *.coe)|"
    "*.csv;*.txt;*.m;*.coe|Все файлы (*)|*";

std::array<int, 21> cfirRamp(int base) {
    std::array<int, 21> taps{};
    for (int i = 0; i < 21; ++i) taps[i] = base + i;
    return taps;
}

std::array<int, 63> pfirRamp(int base) {
    std::array<int, 63> taps{};
    for (int i = 0; i < 63; ++i) taps[i] = base - i;
    return taps;
}

bool sameRequest(const FileDialogRequest& r, const char* filter, const char* ext,
                 const char* folder) {
    return r.filter == filter && r.defaultExt == ext && r.initialDir == folder;
}

// The file-source choice of a configuration that takes every filter from its tap file.
constexpr const char* kAllFromFile = "*** Tap sources ***\nCFIR= file\nPFIR= file\nRFIR= file\n";

void chooseFileSources(MainState& state) {
    state.TblEnbCFIR.checked = state.TblEnbPFIR.checked = state.TblEnbRFIR.checked = false;
    state.FileEnbCFIR.checked = state.FileEnbPFIR.checked = state.FileEnbRFIR.checked = true;
}

// The file a save writes right after a start from the built-in defaults, stored once and
// checked by hand: AutoScale has turned channel 0's Scale 5 into 4 (CICScale 0x64, the others
// 0x65), channels 1 to 3 have not been current yet so their working taps are still zero, and
// the four-channel total decimation is 4 * 64.
std::string savedDefaults(const std::string& extension) {
    return fileText(std::string(GC_SOURCE_DIR) + "/tests/app/golden/defaults_saved." + extension);
}

// A rig started from the built-in defaults, its log cleared.
struct StartedRig : LoadSaveRig {
    explicit StartedRig(const std::string& root) : LoadSaveRig(root) {
        presenter.startWithDefaults();
        log.clear();
    }
};

}  // namespace

TEST(LoadTest, ReadsTheChosenConfigurationWithItsChipFileAndTapFiles) {
    TempFolder folder;
    gc::model::ConfigurationModel saved;
    saved.Chip.NameOfCFG = "mine.cfg";
    saved.Chip.Clock = 64000000;
    saved.Channels[0].Decimation = 100;
    saved.Channels[1].NameOfCFIR = "c1.taps";
    putFile(folder / "site/CONFIGS/a.trv", gc::appconfig::configurationText(saved));
    gc::chip::RegisterImage image;
    image.CountSync = 0x42;
    putFile(folder / "site/CONFIGS/mine.cfg", gc::chip::chipConfigurationText(image));
    putFile(folder / "site/FILTERS/cfir_68.taps", tapText(cfirRamp(10), 21));
    putFile(folder / "site/FILTERS/c1.taps", tapText(cfirRamp(500), 21));
    putFile(folder / "site/FILTERS/pfir_gsm.taps", tapText(pfirRamp(-3), 63));
    putFile(folder / "site/FILTERS/res_8x64_60.taps", tapText(std::array<int, 2>{7, 8}, 2));

    StartedRig rig(folder.str());
    rig.session.open[gc::app::Window::Filters] = true;
    rig.ui.answers.push_back("site/CONFIGS/a.trv");  // relative to the working folder
    rig.loadSave.onButton5Click();

    ASSERT_EQ(rig.ui.requests.size(), 1u);
    EXPECT_TRUE(sameRequest(rig.ui.requests[0], "*.trv", "", "CONFIGS"));
    EXPECT_TRUE(rig.ui.reports.empty()) << rig.ui.reportLines().front();
    EXPECT_EQ(rig.log, (Log{"askOpen", "cic", "plot", "refresh:Filters"}));
    EXPECT_EQ(rig.session.model.Work.ConfigFileName, "a.trv");
    EXPECT_EQ(rig.state.Panel25.text, "a.trv");
    EXPECT_EQ(rig.state.Panel1.text, "mine.cfg");
    EXPECT_EQ(rig.state.Edit1.text, "100");
    EXPECT_EQ(rig.state.Edit3.text, "64000000");
    EXPECT_EQ(rig.session.image.CountSync, 0x42);
    EXPECT_EQ(rig.session.model.CfirFileTaps[0], cfirRamp(10));
    EXPECT_EQ(rig.session.model.CfirFileTaps[1], cfirRamp(500));
    EXPECT_EQ(rig.session.model.PfirFileTaps[3], pfirRamp(-3));
    EXPECT_EQ(rig.session.model.ResamplerFileTapCount, 2);

    // Cancelled: nothing happens.
    rig.log.clear();
    rig.loadSave.onButton5Click();
    EXPECT_EQ(rig.log, (Log{"askOpen"}));
}

TEST(LoadTest, MissingFilesAreEachReportedAndTheTapsInUseKept) {
    TempFolder folder;
    gc::model::ConfigurationModel defaults;
    putFile(folder / "CONFIGS/lone.trv", gc::appconfig::configurationText(defaults));
    putFile(folder / "CONFIGS/lone.src", kAllFromFile);
    StartedRig rig(folder.str());
    chooseFileSources(rig.state);
    auto& model = rig.session.model;
    for (int c = 0; c < 4; ++c) {
        model.CfirFileTaps[c] = model.CfirTaps[c] = cfirRamp(40 * c);
        model.PfirFileTaps[c] = model.PfirTaps[c] = pfirRamp(-40 * c);
    }
    model.ResamplerFileTaps.fill(0);
    model.ResamplerFileTaps[0] = 9;
    model.ResamplerFileTapCount = 64;
    rig.presenter.applyTapSelections();
    rig.presenter.recalculate();
    const auto resamplerBefore = model.ResamplerTaps;

    rig.loadSave.loadConfiguration(folder / "CONFIGS/lone.trv");
    const std::string c = "Файл коэфициентов CFIR ../FILTERS/cfir_68.taps отсутствует!";
    const std::string p = "Файл коэфициентов PFIR ../FILTERS/pfir_gsm.taps отсутствует!";
    EXPECT_EQ(rig.ui.reportLines(),
              (Lines{"Файл конфигурации sinc.cfg отсутствует!", c, p, c, p, c, p, c, p,
                     "Файл коэфициентов RFIR ../FILTERS/res_8x64_60.taps отсутствует!"}));
    for (int ch = 0; ch < 4; ++ch) {
        EXPECT_EQ(model.CfirTaps[ch], cfirRamp(40 * ch));
        EXPECT_EQ(model.PfirTaps[ch], pfirRamp(-40 * ch));
    }
    EXPECT_EQ(model.ResamplerTaps, resamplerBefore);
    EXPECT_EQ(model.Work.ResamplerTapCount, 64);
    EXPECT_EQ(rig.state.Panel25.text, "lone.trv");

    // A missing configuration is reported under its bare name and the road goes on.
    rig.ui.reports.clear();
    rig.log.clear();
    rig.loadSave.loadConfiguration(folder / "CONFIGS/none.trv");
    ASSERT_EQ(rig.ui.reports.size(), 11u);
    EXPECT_EQ(rig.ui.reportLines()[0], "Файл конфигурации none.trv отсутствует!");
    EXPECT_EQ(rig.log.back(), "plot");
    EXPECT_EQ(model.Work.ConfigFileName, "none.trv");
}

TEST(LoadTest, AllFourChannelsTakeTheirTapsFromTheirSourceAfterALoad) {
    TempFolder folder;
    gc::model::ConfigurationModel saved;
    for (int c = 0; c < 4; ++c) {
        saved.Channels[c].NameOfCFIR = "c" + std::to_string(c) + ".taps";
        saved.Channels[c].NameOfPFIR = "p" + std::to_string(c) + ".taps";
        putFile(folder / ("FILTERS/c" + std::to_string(c) + ".taps"),
                tapText(cfirRamp(1000 * c), 21));
        putFile(folder / ("FILTERS/p" + std::to_string(c) + ".taps"),
                tapText(pfirRamp(-1000 * c), 63));
    }
    saved.Work.CfirSelection = {0, 5, 6, 7};
    saved.Work.PfirSelection = {9, 8, 7, 6};
    putFile(folder / "CONFIGS/four.trv", gc::appconfig::configurationText(saved));

    // File source: every channel gets its own file's taps, not only the current one.
    putFile(folder / "CONFIGS/four.src", kAllFromFile);
    {
        StartedRig rig(folder.str());
        rig.loadSave.loadConfiguration("CONFIGS/four.trv");
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(rig.session.model.CfirTaps[c], cfirRamp(1000 * c)) << c;
            EXPECT_EQ(rig.session.model.PfirTaps[c], pfirRamp(-1000 * c)) << c;
        }
        // So the chip files hold every channel's taps without visiting the channels.
        ASSERT_TRUE(rig.loadSave.saveConfiguration("CONFIGS/out.trv"));
        gc::chip::RegisterImage written;
        ASSERT_EQ(gc::chip::readChipConfiguration(folder / "CONFIGS/out.cfg", written),
                  gc::chip::ChipConfigStatus::Ok);
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(written.Channels[c].CFIR[0], 1000 * c) << c;
            EXPECT_EQ(written.Channels[c].PFIR[5], -1000 * c - 5) << c;
        }
    }
    // Table source: every channel's taps follow its loaded selection, whatever they were.
    std::filesystem::remove(folder / "CONFIGS/four.src");
    {
        StartedRig rig(folder.str());
        for (int c = 0; c < 4; ++c) {
            rig.session.model.CfirTaps[c].fill(7);
            rig.session.model.PfirTaps[c].fill(7);
        }
        rig.loadSave.loadConfiguration("CONFIGS/four.trv");
        gc::model::ConfigurationModel expected;
        expected.Work.CfirSelection = saved.Work.CfirSelection;
        expected.Work.PfirSelection = saved.Work.PfirSelection;
        for (int c = 0; c < 4; ++c) {
            gc::filters::ApplyCfirSelectionFor(expected, c, gc::filters::TapSource::Table);
            gc::filters::ApplyPfirSelectionFor(expected, c, gc::filters::TapSource::Table);
            EXPECT_EQ(rig.session.model.CfirTaps[c], expected.CfirTaps[c]) << c;
            EXPECT_EQ(rig.session.model.PfirTaps[c], expected.PfirTaps[c]) << c;
        }
    }
}

TEST(LoadTest, OutputBlockFollowsTheLoadedChannelsNotThePreviousOnes) {
    TempFolder folder;
    gc::model::ConfigurationModel saved;
    saved.Chip.CombConfigPlis = 1;  // combined firmware, synchronous, four-channel mode
    saved.Chip.MaskChan1x = 11;     // channels 0, 1 and 3
    putFile(folder / "CONFIGS/three.trv", gc::appconfig::configurationText(saved));

    // Combined firmware with all four channels before the load.
    StartedRig rig(folder.str());
    rig.session.model.Chip.CombConfigPlis = 1;
    rig.presenter.recalculate();
    ASSERT_EQ(rig.session.image.OutputFrameControl, 0x08);

    rig.loadSave.loadConfiguration("CONFIGS/three.trv");
    EXPECT_EQ(rig.session.model.Work.ActiveCount, 3);
    EXPECT_EQ(rig.session.image.OutputFrameControl, 0x06);
    EXPECT_EQ(rig.session.image.OutputWordSize, 0x05);

    // The same file as the start-up file gives the same output block.
    putFile(folder / "CONFIGS/std.trv", gc::appconfig::configurationText(saved));
    LoadSaveRig started(folder.str());
    started.loadSave.start();
    EXPECT_EQ(started.session.image.OutputFrameControl, 0x06);
    EXPECT_EQ(started.session.image.OutputWordSize, 0x05);
}

TEST(SaveTest, WritesTheThreeFilesUnderTheNameUpToItsLastDot) {
    TempFolder folder;
    StartedRig rig(folder.str());
    std::filesystem::create_directories(folder / "CONFIGS");
    rig.ui.answers.push_back("CONFIGS/a.b.trv");
    rig.loadSave.onButton6Click();

    ASSERT_EQ(rig.ui.requests.size(), 1u);
    EXPECT_TRUE(sameRequest(rig.ui.requests[0], "*.trv", "trv", "CONFIGS"));
    EXPECT_TRUE(rig.ui.reports.empty());
    EXPECT_EQ(rig.state.Panel25.text, "a.b.trv");
    EXPECT_EQ(fileText(folder / "CONFIGS/a.b.trv"), savedDefaults("trv"));
    EXPECT_EQ(fileText(folder / "CONFIGS/a.b.cfg"), savedDefaults("cfg"));
    EXPECT_EQ(fileText(folder / "CONFIGS/a.b.prg"), savedDefaults("prg"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder / "CONFIGS"),
                            std::filesystem::directory_iterator()),
              3);
    // The image was completed from the model before the chip files were written.
    EXPECT_EQ(rig.session.image.Channels[2].Frequency, 12000000);

    // Cancelled: nothing asked beyond the dialog.
    rig.log.clear();
    rig.loadSave.onButton6Click();
    EXPECT_EQ(rig.log, (Log{"askSave"}));
}

TEST(SaveTest, RefusedChecksAskNothingAndWriteNothing) {
    TempFolder folder;
    std::filesystem::create_directories(folder / "CONFIGS");
    StartedRig rig(folder.str());
    rig.session.model.Channels[1].Decimation = 4;  // below the four-channel minimum of 8
    rig.ui.answers.push_back("CONFIGS/x.trv");
    rig.loadSave.onButton6Click();
    EXPECT_EQ(rig.log, (Log{"error:ErrDecim"}));
    ASSERT_EQ(rig.ui.reports.size(), 1u);
    EXPECT_EQ(rig.ui.reports[0].labels.at(2), "8");
    EXPECT_TRUE(std::filesystem::is_empty(folder / "CONFIGS"));
    EXPECT_EQ(rig.session.model.Work.ConfigFileName, "");
}

TEST(SaveTest, TheThreeFilesAreReplacedAsOneSet) {
    TempFolder folder;
    StartedRig rig(folder.str());
    const std::string trv = folder / "nowhere/x.trv";
    EXPECT_FALSE(rig.loadSave.saveConfiguration(trv));
    EXPECT_EQ(rig.ui.reportLines(),
              (Lines{"Файл конфигурации " + trv +
                         " не может быть записан! (нет такого файла или каталога)",
                     "Файл конфигурации " + folder / "nowhere/x.cfg" + " не может быть записан!",
                     "Файл программы " + folder / "nowhere/x.prg" + " не может быть записан!"}));
    EXPECT_FALSE(std::filesystem::exists(folder / "nowhere"));

    // A previous set; then one of the three cannot be replaced: the reason is given for that
    // one, and the whole previous set stays, with no temporary file left behind.
    const std::string oldTrv = "old trv", oldPrg = "old prg";
    putFile(folder / "CONFIGS/y.trv", oldTrv);
    putFile(folder / "CONFIGS/y.prg", oldPrg);
    std::filesystem::create_directories(folder / "CONFIGS/y.cfg/blocked");
    rig.ui.reports.clear();
    EXPECT_FALSE(rig.loadSave.saveConfiguration("CONFIGS/y.trv"));
    EXPECT_EQ(rig.ui.reportLines(),
              (Lines{"Файл конфигурации CONFIGS/y.trv не может быть записан!",
                     "Файл конфигурации CONFIGS/y.cfg не может быть записан! (это каталог)",
                     "Файл программы CONFIGS/y.prg не может быть записан!"}));
    EXPECT_EQ(fileText(folder / "CONFIGS/y.trv"), oldTrv);
    EXPECT_EQ(fileText(folder / "CONFIGS/y.prg"), oldPrg);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder / "CONFIGS"),
                            std::filesystem::directory_iterator()),
              3);

    // The disk fills up while the program file is written (a file size limit stands in for
    // it): the reason is given, and the whole previous set stays.
    std::filesystem::remove_all(folder / "CONFIGS/y.cfg");
    putFile(folder / "CONFIGS/y.cfg", "old cfg");
    {
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        rlimit limit = saved;
        limit.rlim_cur = 8000;  // above the .trv and .cfg, below the .prg
        ::setrlimit(RLIMIT_FSIZE, &limit);
        rig.ui.reports.clear();
        const bool written = rig.loadSave.saveConfiguration("CONFIGS/y.trv");
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);
        EXPECT_FALSE(written);
    }
    EXPECT_EQ(rig.ui.reportLines().at(2),
              "Файл программы CONFIGS/y.prg не может быть записан! (файл слишком велик)");
    EXPECT_EQ(fileText(folder / "CONFIGS/y.trv"), oldTrv);
    EXPECT_EQ(fileText(folder / "CONFIGS/y.cfg"), "old cfg");
    EXPECT_EQ(fileText(folder / "CONFIGS/y.prg"), oldPrg);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder / "CONFIGS"),
                            std::filesystem::directory_iterator()),
              3);

    // Once the way is clear, all three are replaced, each keeping its permission bits.
    ::chmod((folder / "CONFIGS/y.trv").c_str(), 0600);
    ::chmod((folder / "CONFIGS/y.prg").c_str(), 0640);
    rig.ui.reports.clear();
    EXPECT_TRUE(rig.loadSave.saveConfiguration("CONFIGS/y.trv"));
    EXPECT_TRUE(rig.ui.reports.empty());
    EXPECT_EQ(fileText(folder / "CONFIGS/y.trv"), savedDefaults("trv"));
    EXPECT_EQ(fileText(folder / "CONFIGS/y.cfg"), savedDefaults("cfg"));
    EXPECT_EQ(fileText(folder / "CONFIGS/y.prg"), savedDefaults("prg"));
    struct stat info {};
    ASSERT_EQ(::stat((folder / "CONFIGS/y.trv").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat((folder / "CONFIGS/y.prg").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(TapButtonsTest, ReadingATapFileIntoTheCurrentChannel) {
    TempFolder folder;
    putFile(folder / "FILTERS/new.taps", tapText(cfirRamp(300), 21));
    putFile(folder / "FILTERS/short.taps", tapText(cfirRamp(300), 20));
    StartedRig rig(folder.str());
    chooseFileSources(rig.state);
    rig.session.model.Work.CurrentChannel = 2;
    rig.presenter.recalculate();
    rig.session.open[gc::app::Window::Cfir] = true;
    const auto channel0Before = rig.session.model.CfirTaps[0];
    std::string panel9AtRefresh;
    rig.ui.onRefresh = [&](Window) { panel9AtRefresh = rig.state.Panel9.text; };

    rig.ui.answers.push_back(folder / "FILTERS/new.taps");
    rig.loadSave.onSpeedButton1Click();
    EXPECT_TRUE(sameRequest(rig.ui.requests.at(0), kTapOpenFilter, "tbl", "FILTERS"));
    EXPECT_TRUE(rig.ui.reports.empty());
    EXPECT_EQ(rig.log, (Log{"askOpen", "plot", "refresh:Cfir"}));
    EXPECT_EQ(panel9AtRefresh, "cfir_68.taps");  // the window is refreshed before recalculate
    EXPECT_EQ(rig.state.Panel9.text, "new.taps");
    EXPECT_EQ(rig.session.model.Channels[2].NameOfCFIR, "new.taps");
    EXPECT_EQ(rig.session.model.CfirTaps[2], cfirRamp(300));
    EXPECT_EQ(rig.session.model.CfirTaps[0], channel0Before);

    // A damaged file is reported under its bare name and changes nothing.
    rig.log.clear();
    rig.ui.answers.push_back(folder / "FILTERS/short.taps");
    rig.loadSave.onSpeedButton1Click();
    EXPECT_EQ(rig.ui.reportLines(), (Lines{"Файл коэфициентов CFIR short.taps поврежден!"}));
    EXPECT_EQ(rig.log, (Log{"askOpen", "error:ErrFileCoeff"}));
    EXPECT_EQ(rig.session.model.Channels[2].NameOfCFIR, "new.taps");
    EXPECT_EQ(rig.session.model.CfirTaps[2], cfirRamp(300));

    // PFIR the same way.
    putFile(folder / "FILTERS/p.taps", tapText(pfirRamp(20), 63));
    rig.ui.answers.push_back(folder / "FILTERS/p.taps");
    rig.loadSave.onSpeedButton2Click();
    EXPECT_EQ(rig.session.model.PfirTaps[2], pfirRamp(20));
    EXPECT_EQ(rig.state.Panel10.text, "p.taps");
}

TEST(TapButtonsTest, ReadingAResamplerFileRefreshesItsWindowLast) {
    TempFolder folder;
    std::array<int, 64> taps{};
    for (int i = 0; i < 64; ++i) taps[i] = 30 + i;
    putFile(folder / "FILTERS/r64.taps", tapText(taps, 64));
    StartedRig rig(folder.str());
    chooseFileSources(rig.state);
    rig.session.open[gc::app::Window::Resamp] = true;
    std::string countAtRefresh;
    rig.ui.onRefresh = [&](Window) { countAtRefresh = rig.state.Panel20.text; };

    rig.ui.answers.push_back("FILTERS/r64.taps");
    rig.loadSave.onSpeedButton3Click();
    EXPECT_TRUE(sameRequest(rig.ui.requests.at(0), kTapOpenFilter, "tbl", "FILTERS"));
    EXPECT_EQ(rig.log, (Log{"askOpen", "plot", "refresh:Resamp"}));
    EXPECT_EQ(countAtRefresh, "64");  // recalculate ran before the refresh
    EXPECT_EQ(rig.session.model.Chip.NameOfRFIR, "r64.taps");
    EXPECT_EQ(rig.state.Panel11.text, "r64.taps");
    EXPECT_EQ(rig.session.model.ResamplerTaps[63], 93);

    rig.log.clear();
    rig.ui.answers.push_back("FILTERS/none.taps");
    rig.loadSave.onSpeedButton3Click();
    EXPECT_EQ(rig.ui.reportLines(), (Lines{"Файл коэфициентов RFIR none.taps отсутствует!"}));
    EXPECT_EQ(rig.session.model.Chip.NameOfRFIR, "r64.taps");
}

TEST(TapButtonsTest, ReadingCoefficientsOfOtherToolsSaysWhatTheImportDid) {
    TempFolder folder;
    // 21 CFIR taps of 0.5 as a vector: 65536 / 21 = 3120.76 each, rounded to 3121.
    std::string vector = "h = [";
    for (int i = 0; i < 21; ++i) vector += i ? ", 0.5" : "0.5";
    putFile(folder / "FILTERS/lp.m", vector + "];\r\n");
    putFile(folder / "FILTERS/bad.csv", "1,2,3,\n4,x5\n");
    StartedRig rig(folder.str());
    chooseFileSources(rig.state);
    rig.session.model.Work.CurrentChannel = 1;
    rig.presenter.recalculate();

    rig.ui.answers.push_back(folder / "FILTERS/lp.m");
    rig.loadSave.onSpeedButton1Click();
    EXPECT_TRUE(rig.ui.reports.empty());
    EXPECT_EQ(rig.log, (Log{"askOpen", "notice", "plot"}));
    EXPECT_EQ(rig.session.model.CfirTaps[1],
              (std::array<int, 21>{3121, 3121, 3121, 3121, 3121, 3121, 3121, 3121, 3121, 3121, 3121,
                                   3121, 3121, 3121, 3121, 3121, 3121, 3121, 3121, 3121, 3121}));
    EXPECT_EQ(rig.session.model.Channels[1].NameOfCFIR, "lp.m");
    ASSERT_EQ(rig.ui.notices.size(), 1u);
    const Lines& notice = rig.ui.notices[0];
    ASSERT_EQ(notice.size(), 7u);
    EXPECT_EQ(notice[0], "lp.m");
    EXPECT_EQ(notice[1], "Формат: вектор в скобках");
    EXPECT_EQ(notice[2], "Коэффициентов: 21");
    EXPECT_EQ(notice[3], "Числа с плавающей точкой умножены на 6241.5238 и округлены");
    EXPECT_EQ(notice[4], "Наибольшая ошибка округления: -82.35 дБ от наибольшего коэффициента");
    EXPECT_EQ(notice[5], "Усиление 1.00008 (сумма коэффициентов 65541)");
    EXPECT_EQ(notice[6], "Коэффициенты симметричны");

    // An unreadable value: the file report, then the line that failed; nothing changes.
    rig.log.clear();
    rig.ui.answers.push_back(folder / "FILTERS/bad.csv");
    rig.loadSave.onSpeedButton2Click();
    EXPECT_EQ(rig.ui.reportLines(), (Lines{"Файл коэфициентов PFIR bad.csv поврежден!"}));
    EXPECT_EQ(rig.ui.conversionErrors, (Lines{"bad.csv: строка 2: \"x5\" не число"}));
    EXPECT_EQ(rig.log, (Log{"askOpen", "error:ErrFileCoeff", "conversion"}));
    EXPECT_EQ(rig.session.model.Channels[1].NameOfPFIR, "pfir_gsm.taps");
}

TEST(TapButtonsTest, SavingTheTapsInUse) {
    TempFolder folder;
    std::filesystem::create_directories(folder / "FILTERS");
    StartedRig rig(folder.str());
    chooseFileSources(rig.state);
    auto& model = rig.session.model;
    model.Work.CurrentChannel = 1;
    model.CfirTaps[1] = cfirRamp(-9);
    model.PfirTaps[1] = pfirRamp(77);
    rig.presenter.recalculate();

    rig.ui.answers.push_back("FILTERS/mine.taps");
    rig.loadSave.onSpeedButton10Click();
    EXPECT_TRUE(sameRequest(rig.ui.requests.at(0), "CFIRFilter(*.taps)|*.taps", "taps", "FILTERS"));
    EXPECT_EQ(fileText(folder / "FILTERS/mine.taps"), tapText(cfirRamp(-9), 21));
    EXPECT_EQ(model.Channels[1].NameOfCFIR, "mine.taps");
    EXPECT_EQ(rig.state.Panel9.text, "mine.taps");

    rig.ui.answers.push_back(folder / "FILTERS/pm.taps");
    rig.loadSave.onSpeedButton5Click();
    EXPECT_EQ(fileText(folder / "FILTERS/pm.taps"), tapText(pfirRamp(77), 63));
    EXPECT_EQ(model.Channels[1].NameOfPFIR, "pm.taps");

    rig.ui.answers.push_back("FILTERS/rm.taps");
    rig.loadSave.onSpeedButton6Click();
    EXPECT_TRUE(sameRequest(rig.ui.requests.at(2), "CFIRFilter(*.taps)|*.taps", "taps", "FILTERS"));
    EXPECT_EQ(fileText(folder / "FILTERS/rm.taps"),
              tapText(model.ResamplerTaps, static_cast<size_t>(model.Work.ResamplerTapCount)));
    EXPECT_EQ(model.Chip.NameOfRFIR, "rm.taps");
    EXPECT_TRUE(rig.ui.reports.empty());

    // A file that cannot be created is reported with the reason, and the configuration keeps
    // its old name.
    rig.ui.answers.push_back("nowhere/x.taps");
    rig.loadSave.onSpeedButton10Click();
    rig.ui.answers.push_back("nowhere/y.taps");
    rig.loadSave.onSpeedButton6Click();
    EXPECT_EQ(rig.ui.reportLines(),
              (Lines{"Файл коэфициентов CFIR nowhere/x.taps не может быть записан! (нет такого "
                     "файла или каталога)",
                     "Файл коэфициентов RFIR nowhere/y.taps не может быть записан! (нет такого "
                     "файла или каталога)"}));
    EXPECT_EQ(model.Channels[1].NameOfCFIR, "mine.taps");
    EXPECT_EQ(model.Chip.NameOfRFIR, "rm.taps");
    EXPECT_EQ(rig.state.Panel9.text, "mine.taps");
}
