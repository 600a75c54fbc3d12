// The lists the program is described by: the main window's controls, the filter kinds, the open
// flags keyed by window, and the program put together from them.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "app/Fakes.h"
#include "app/FilterKinds.h"
#include "app/MainState.h"
#include "app/Program.h"
#include "app/Session.h"

using namespace gc::app;

TEST(MainControls, EachControlOnceWithItsOwnNameAndItems) {
    std::set<std::string> names;
    std::vector<ControlField> fields;
    for (const MainControl& control : kMainControls) {
        EXPECT_TRUE(names.insert(std::string(control.name)).second) << control.name;
        for (const ControlField& seen : fields) EXPECT_FALSE(seen == control.field) << control.name;
        fields.push_back(control.field);
        EXPECT_EQ(controlName(control.field), control.name);
        // Lists, and only lists, can say what their items are.
        const bool isList = std::holds_alternative<ComboState MainState::*>(control.field);
        EXPECT_EQ(control.itemText != nullptr, isList) << control.name;
        if (isList) {
            EXPECT_FALSE(control.itemText(0).empty()) << control.name;
            EXPECT_TRUE(control.itemText(-1).empty()) << control.name;
            EXPECT_TRUE(control.itemText(4096).empty()) << control.name;
        }
    }
    // Eight edits, 21 panels, 13 lists, ten check boxes, six radio buttons, 13 buttons.
    EXPECT_EQ(fields.size(), 71u);
    EXPECT_EQ(controlName(&MainState::Panel25), "Panel25");
    EXPECT_EQ(kMainControls[30].itemText(3), "3");                     // ComboBox2
    EXPECT_EQ(kMainControls[35].itemText(2), std::string("Канал 2"));  // ComboBox7
}

TEST(FilterKinds, EachKindHasItsOwnControlsWindowAndStage) {
    std::set<std::string> names;
    std::set<int> windows;
    for (FilterKind kind : kFilterKindList) {
        const FilterKindInfo& k = info(kind);
        EXPECT_EQ(k.stage, static_cast<int>(kind));
        EXPECT_TRUE(windows.insert(static_cast<int>(k.window)).second);
        EXPECT_TRUE(hasOpenFlag(k.window));
        for (std::string_view n :
             {controlName(k.tableRadio), controlName(k.fileRadio), controlName(k.list),
              controlName(k.name), controlName(k.readButton), controlName(k.writeButton),
              controlName(k.stageBox)}) {
            EXPECT_FALSE(n.empty());
            EXPECT_TRUE(names.insert(std::string(n)).second) << n;
        }
        EXPECT_FALSE(k.setName(k.setCount - 1).empty());
        EXPECT_TRUE(k.setName(k.setCount).empty());
    }
    EXPECT_EQ(controlName(info(FilterKind::Resampler).list), "ComboBox5");
    EXPECT_EQ(info(FilterKind::Pfir).window, Window::Pfir);
}

TEST(WindowFlags, KeyedByWindowAndAbsentForWindowsWithoutOne) {
    Session session;
    EXPECT_EQ(session.openFlag(Window::Sync), nullptr);
    EXPECT_EQ(session.openFlag(Window::Info), nullptr);
    *session.openFlag(Window::Freq) = true;
    for (int w = 0; w < kWindowCount; ++w) {
        const auto window = static_cast<Window>(w);
        EXPECT_EQ(session.isOpen(window), window == Window::Freq) << w;
    }
    session.open[Window::Freq] = false;
    EXPECT_FALSE(session.isOpen(Window::Freq));
}

// The composition both programs use: its presenter, plot and file loading share one session
// and one state, and report through the port they were given.
TEST(Program, PartsShareOneSessionAndOnePort) {
    std::vector<std::string> log;
    gc::app::testing::RecordingUi ui(log);
    const auto dir = std::filesystem::temp_directory_path() / "gc_program_test_missing";
    std::filesystem::remove_all(dir);
    Program program(ui, gc::appconfig::Workspace(dir.string()));
    program.presenter.startWithDefaults();
    EXPECT_EQ(program.state.Edit1.text, "64");
    program.state.Edit1.text = "100";
    program.presenter.onEdit1Enter();
    EXPECT_EQ(program.session.model.current().Decimation, 100);
    EXPECT_EQ(program.state.Edit1.text, "100");
    // The start-up files are missing: the file loading reports through the same port.
    program.loadSave.start();
    EXPECT_FALSE(ui.reports.empty());
}
