// Start-up and exit with "CONFIGS/std.trv".
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/LoadSaveTestSupport.h"
#include "appconfig/ConfigFile.h"
#include "chip/ChipConfigFile.h"
#include "filters/TapSelection.h"

using namespace gc::app;
using namespace gc::app::testing;
using Lines = std::vector<std::string>;

namespace {

// A configuration file as the program writes it, from a default model changed by `edit`.
template <typename Edit>
std::string configText(Edit edit) {
    gc::model::ConfigurationModel model;
    edit(model);
    return gc::appconfig::configurationText(model);
}

std::string defaultConfigText() {
    return configText([](gc::model::ConfigurationModel&) {});
}

}  // namespace

TEST(StartTest, MissingWorkingFolderReportsElevenFilesAndKeepsTheDefaults) {
    TempFolder folder;
    LoadSaveRig rig(folder / "absent");
    rig.loadSave.start();

    EXPECT_EQ(rig.ui.reportLines(),
              (Lines{"Файл конфигурации CONFIGS/std.trv отсутствует!",
                     "Файл конфигурации CONFIGS/sinc.cfg отсутствует!",
                     "Файл коэфициентов CFIR FILTERS/cfir_68.taps отсутствует!",
                     "Файл коэфициентов PFIR FILTERS/pfir_gsm.taps отсутствует!",
                     "Файл коэфициентов CFIR FILTERS/cfir_68.taps отсутствует!",
                     "Файл коэфициентов PFIR FILTERS/pfir_gsm.taps отсутствует!",
                     "Файл коэфициентов CFIR FILTERS/cfir_68.taps отсутствует!",
                     "Файл коэфициентов PFIR FILTERS/pfir_gsm.taps отсутствует!",
                     "Файл коэфициентов CFIR FILTERS/cfir_68.taps отсутствует!",
                     "Файл коэфициентов PFIR FILTERS/pfir_gsm.taps отсутствует!",
                     "Файл коэфициентов RFIR FILTERS/res_8x64_60.taps отсутствует!"}));
    for (const ErrorReport& report : rig.ui.reports)
        EXPECT_EQ(report.window, ErrorWindow::ErrFileCoeff);
    // The response work, then all eleven reports in one window.
    EXPECT_EQ(rig.log, (std::vector<std::string>{"cic", "plot", "errors:11"}));

    EXPECT_EQ(rig.state.Edit1.text, "64");
    EXPECT_EQ(rig.state.Edit3.text, "100000000");
    EXPECT_EQ(rig.state.Panel25.text, "std.trv");
    EXPECT_EQ(rig.state.Panel1.text, "sinc.cfg");
    EXPECT_EQ(rig.session.model.Work.ConfigFileName, "std.trv");
    EXPECT_FALSE(rig.session.model.Work.ServiceMode);
    LoadSaveRig withoutFiles(folder / "absent");
    withoutFiles.presenter.startWithDefaults();
    EXPECT_EQ(rig.session.image, withoutFiles.session.image);

    // Every channel's taps come from its own library set.
    gc::model::ConfigurationModel expected;
    for (int c = 0; c < 4; ++c) {
        gc::filters::ApplyCfirSelectionFor(expected, c, gc::filters::TapSource::Table);
        gc::filters::ApplyPfirSelectionFor(expected, c, gc::filters::TapSource::Table);
        EXPECT_EQ(rig.session.model.CfirTaps[c], expected.CfirTaps[c]) << "channel " << c;
        EXPECT_EQ(rig.session.model.PfirTaps[c], expected.PfirTaps[c]) << "channel " << c;
    }
    EXPECT_EQ(rig.session.model.Work.ResamplerTapCount, 512);
    EXPECT_EQ(rig.state.Panel20.text, "512");
}

TEST(StartTest, ServiceModeComesFromTheStartupFileOnlyAndFullDebugReturnsAtExit) {
    TempFolder folder;
    putFile(folder / "CONFIGS/std.trv", configText([](auto& m) { m.Chip.FullDebug = 347; }));
    {
        LoadSaveRig rig(folder.str());
        rig.loadSave.start();
        EXPECT_TRUE(rig.session.model.Work.ServiceMode);
        EXPECT_EQ(rig.session.model.Work.SavedFullDebug, 347);
        EXPECT_EQ(rig.session.model.Chip.FullDebug, 0);
        for (const ButtonState* b : {&rig.state.Button1, &rig.state.Button2, &rig.state.Button3,
                                     &rig.state.Button4, &rig.state.Button10})
            EXPECT_TRUE(b->visible);

        // A configuration saved while the program runs stores 0 ...
        rig.ui.answers.push_back(folder / "CONFIGS/run.trv");
        rig.loadSave.onButton6Click();
        EXPECT_NE(fileText(folder / "CONFIGS/run.trv").find("\nFullDebug= 0 \n"),
                  std::string::npos);

        rig.loadSave.exit();
        EXPECT_NE(fileText(folder / "CONFIGS/std.trv").find("\nFullDebug= 347 \n"),
                  std::string::npos);
    }
    {
        // "Считать" of a file holding 347 does not switch the mode on, and the exit writes
        // the start-up value back in place of the loaded one.
        putFile(folder / "CONFIGS/std.trv", configText([](auto&) {}));
        putFile(folder / "CONFIGS/service.trv",
                configText([](auto& m) { m.Chip.FullDebug = 347; }));
        LoadSaveRig rig(folder.str());
        rig.loadSave.start();
        rig.loadSave.loadConfiguration(folder / "CONFIGS/service.trv");
        EXPECT_EQ(rig.session.model.Chip.FullDebug, 347);
        EXPECT_FALSE(rig.session.model.Work.ServiceMode);
        EXPECT_FALSE(rig.state.Button3.visible);
        rig.loadSave.exit();
        EXPECT_NE(fileText(folder / "CONFIGS/std.trv").find("\nFullDebug= 0 \n"),
                  std::string::npos);
    }
    {
        putFile(folder / "CONFIGS/std.trv", configText([](auto& m) { m.Chip.FullDebug = 346; }));
        LoadSaveRig rig(folder.str());
        rig.loadSave.start();
        EXPECT_FALSE(rig.session.model.Work.ServiceMode);
        EXPECT_FALSE(rig.state.Button10.visible);
        EXPECT_FALSE(rig.state.Button1.visible);
    }
}

TEST(StartTest, StartupReadsTheNamedChipConfigurationAndTapFiles) {
    TempFolder folder;
    putFile(folder / "CONFIGS/std.trv", configText([](auto& m) {
                m.Chip.NameOfCFG = "other.cfg";
                m.Chip.Clock = 80000000;
                m.Channels[2].Decimation = 100;
            }));
    gc::chip::RegisterImage image;
    image.GeneralSyncs = 0x55;
    image.Channels[3].FineGain = 777;
    putFile(folder / "CONFIGS/other.cfg", gc::chip::chipConfigurationText(image));
    std::array<int, 21> cfir{};
    std::array<int, 63> pfir{};
    for (int i = 0; i < 21; ++i) cfir[i] = 100 + i;
    for (int i = 0; i < 63; ++i) pfir[i] = -200 - i;
    putFile(folder / "FILTERS/cfir_68.taps", tapText(cfir, 21));
    putFile(folder / "FILTERS/pfir_gsm.taps", tapText(pfir, 63));
    putFile(folder / "FILTERS/res_8x64_60.taps", tapText(std::array<int, 3>{1, 2, 3}, 3));

    LoadSaveRig rig(folder.str());
    rig.loadSave.start();
    EXPECT_TRUE(rig.ui.reports.empty()) << rig.ui.reportLines().front();
    EXPECT_EQ(rig.session.image.GeneralSyncs, 0x55);
    EXPECT_EQ(rig.session.image.Channels[3].FineGain, 777);
    EXPECT_EQ(rig.state.Edit3.text, "80000000");
    EXPECT_EQ(rig.state.Panel1.text, "other.cfg");
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(rig.session.model.CfirFileTaps[c], cfir);
        EXPECT_EQ(rig.session.model.PfirFileTaps[c], pfir);
    }
    EXPECT_EQ(rig.session.model.ResamplerFileTapCount, 3);

    // Choosing the file source later hands over the file's taps.
    rig.state.TblEnbCFIR.checked = false;
    rig.state.FileEnbCFIR.checked = true;
    rig.presenter.onFileEnbCFIRClick();
    EXPECT_EQ(rig.session.model.CfirTaps[0], cfir);
}

TEST(StartTest, EmptyNamesInTheStartupFileNameFoldersAndAreReportedMissing) {
    TempFolder folder;
    putFile(folder / "CONFIGS/std.trv", configText([](auto& m) {
                m.Chip.NameOfCFG.clear();
                m.Chip.NameOfRFIR.clear();
                m.Channels[1].NameOfPFIR.clear();
            }));
    std::filesystem::create_directories(folder / "FILTERS");
    LoadSaveRig rig(folder.str());
    rig.loadSave.start();
    const Lines lines = rig.ui.reportLines();
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[0], "Файл конфигурации CONFIGS/ отсутствует!");
    EXPECT_EQ(lines[4], "Файл коэфициентов PFIR FILTERS/ отсутствует!");
    EXPECT_EQ(lines[9], "Файл коэфициентов RFIR FILTERS/ отсутствует!");
    EXPECT_EQ(rig.session.model.Work.ResamplerTapCount, 512);  // not an empty file's 0 taps
}

TEST(ExitTest, ExitAlwaysRewritesTheStartupFile) {
    TempFolder folder;
    // A file the reader accepts but the writer would not produce: a foreign line after the
    // last key is ignored when read and gone after the exit.
    putFile(folder / "CONFIGS/std.trv", defaultConfigText() + "hand note\n");
    LoadSaveRig rig(folder.str());
    rig.loadSave.start();
    EXPECT_EQ(rig.ui.reports.size(), 10u);  // only the chip configuration and the tap files
    rig.loadSave.exit();
    EXPECT_EQ(fileText(folder / "CONFIGS/std.trv"),
              gc::appconfig::configurationText(rig.session.model));
    EXPECT_FALSE(std::filesystem::exists(folder / "CONFIGS/std.trv.bak"));
    EXPECT_EQ(rig.ui.reports.size(), 10u);

    // Nothing changed, and still rewritten.
    std::filesystem::remove(folder / "CONFIGS/std.trv");
    rig.loadSave.exit();
    EXPECT_EQ(fileText(folder / "CONFIGS/std.trv"),
              gc::appconfig::configurationText(rig.session.model));
}

TEST(ExitTest, DamagedStartupFileIsKeptAsBakBeforeTheExitRewritesIt) {
    const std::string damaged = "*** Config of Tessarovink ***\nClock= 5 \nhand edit\n";
    TempFolder folder;
    putFile(folder / "CONFIGS/std.trv", damaged);
    {
        LoadSaveRig rig(folder.str());
        rig.loadSave.start();
        ASSERT_FALSE(rig.ui.reports.empty());
        EXPECT_EQ(rig.ui.reportLines().front(), "Файл конфигурации CONFIGS/std.trv поврежден!");
        rig.loadSave.exit();
        EXPECT_EQ(fileText(folder / "CONFIGS/std.trv.bak"), damaged);
        EXPECT_EQ(fileText(folder / "CONFIGS/std.trv"),
                  gc::appconfig::configurationText(rig.session.model));
    }
    {
        // A "Записать" onto std.trv during the run keeps the copy first, and only once.
        putFile(folder / "CONFIGS/std.trv", damaged);
        std::filesystem::remove(folder / "CONFIGS/std.trv.bak");
        LoadSaveRig rig(folder.str());
        rig.loadSave.start();
        ASSERT_TRUE(rig.loadSave.saveConfiguration("CONFIGS/std.trv"));
        EXPECT_EQ(fileText(folder / "CONFIGS/std.trv.bak"), damaged);
        putFile(folder / "CONFIGS/std.trv.bak", "kept elsewhere");
        rig.loadSave.exit();
        EXPECT_EQ(fileText(folder / "CONFIGS/std.trv.bak"), "kept elsewhere");
    }
    {
        // An existing copy is never overwritten, whatever stands there (a file, a folder, a
        // link to another file): the next copy takes the next free name.
        putFile(folder / "CONFIGS/std.trv", damaged);
        putFile(folder / "victim", "not to be touched");
        std::filesystem::create_directories(folder / "CONFIGS/std.trv.bak.1/inside");
        std::filesystem::create_symlink(folder / "victim", folder / "CONFIGS/std.trv.bak.2");
        LoadSaveRig rig(folder.str());
        rig.loadSave.start();
        rig.loadSave.exit();
        EXPECT_EQ(fileText(folder / "CONFIGS/std.trv.bak"), "kept elsewhere");
        EXPECT_EQ(fileText(folder / "victim"), "not to be touched");
        EXPECT_EQ(fileText(folder / "CONFIGS/std.trv.bak.3"), damaged);
        EXPECT_EQ(fileText(folder / "CONFIGS/std.trv"),
                  gc::appconfig::configurationText(rig.session.model));
    }
    {
        // When no copy can be written (every name taken), the hand-edited file is left alone
        // and both failures are reported.
        putFile(folder / "CONFIGS/std.trv", damaged);
        for (int n = 4; n < 100; ++n)
            putFile(folder / ("CONFIGS/std.trv.bak." + std::to_string(n)), "taken");
        LoadSaveRig rig(folder.str());
        rig.loadSave.start();
        const size_t before = rig.ui.reports.size();
        rig.loadSave.exit();
        EXPECT_EQ(fileText(folder / "CONFIGS/std.trv"), damaged);
        EXPECT_EQ(fileText(folder / "CONFIGS/std.trv.bak.99"), "taken");
        const Lines lines = rig.ui.reportLines();
        EXPECT_EQ(Lines(lines.begin() + static_cast<long>(before), lines.end()),
                  (Lines{"Файл конфигурации CONFIGS/std.trv.bak.99 не может быть записан! (файл "
                         "уже существует)",
                         "Файл конфигурации CONFIGS/std.trv не может быть записан!"}));
    }
}

TEST(ExitTest, StartupFileThatCouldNotBeReadIsNeverOverwritten) {
    TempFolder folder;
    std::filesystem::create_directories(folder / "CONFIGS");
    // A name that exists but cannot be opened: a link that leads to itself.
    std::filesystem::create_symlink("std.trv", folder / "CONFIGS/std.trv");
    {
        LoadSaveRig rig(folder.str());
        rig.loadSave.start();
        ASSERT_FALSE(rig.ui.reports.empty());
        EXPECT_EQ(rig.ui.reportLines().front(),
                  "Файл конфигурации CONFIGS/std.trv не может быть прочитан! (слишком много "
                  "символических ссылок)");
        rig.ui.reports.clear();
        rig.loadSave.exit();
        EXPECT_TRUE(std::filesystem::is_symlink(folder / "CONFIGS/std.trv"));
        EXPECT_EQ(rig.ui.reportLines(),
                  (Lines{"Файл конфигурации CONFIGS/std.trv не может быть записан! (слишком "
                         "много символических ссылок)"}));
        // "Записать" onto it is the user's own choice, and from then on it is the program's.
        ASSERT_TRUE(rig.loadSave.saveConfiguration("CONFIGS/std.trv"));
        EXPECT_TRUE(std::filesystem::is_regular_file(folder / "CONFIGS/std.trv"));
        rig.session.model.Chip.Clock = 12345;
        rig.loadSave.exit();
        EXPECT_NE(fileText(folder / "CONFIGS/std.trv").find("Clock= 12345 \n"), std::string::npos);
    }
    if (::geteuid() != 0) {
        // Without read permission: the same.
        putFile(folder / "CONFIGS/std.trv", "secret");
        ::chmod((folder / "CONFIGS/std.trv").c_str(), 0200);
        LoadSaveRig rig(folder.str());
        rig.loadSave.start();
        EXPECT_EQ(rig.ui.reportLines().front(),
                  "Файл конфигурации CONFIGS/std.trv не может быть прочитан! (доступ запрещён)");
        rig.loadSave.exit();
        ::chmod((folder / "CONFIGS/std.trv").c_str(), 0600);
        EXPECT_EQ(fileText(folder / "CONFIGS/std.trv"), "secret");
    }
    {
        // Names that are no regular file are refused unread and left alone too.
        std::filesystem::remove(folder / "CONFIGS/std.trv");
        ASSERT_EQ(::mkfifo((folder / "CONFIGS/std.trv").c_str(), 0600), 0);
        LoadSaveRig rig(folder.str());
        rig.loadSave.start();
        EXPECT_EQ(rig.ui.reportLines().front(), "Файл конфигурации CONFIGS/std.trv поврежден!");
        rig.loadSave.exit();
        EXPECT_FALSE(std::filesystem::is_regular_file(folder / "CONFIGS/std.trv"));
    }
}

TEST(ExitTest, ExitIntoAMissingFolderIsReported) {
    TempFolder folder;
    LoadSaveRig rig(folder / "absent");
    rig.loadSave.start();
    rig.ui.reports.clear();
    rig.loadSave.exit();
    EXPECT_EQ(rig.ui.reportLines(),
              (Lines{"Файл конфигурации CONFIGS/std.trv не может быть записан! (нет такого "
                     "файла или каталога)"}));
}
