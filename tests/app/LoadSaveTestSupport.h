#pragma once
// A temporary working folder and a main window whose file dialogs answer from a script, for the
// tests of the load and save loadSave.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/Fakes.h"
#include "app/LoadSave.h"
#include "app/MainPresenter.h"
#include "app/RequirementPresenter.h"
#include "appconfig/Workspace.h"
#include "model/TextFile.h"

namespace gc::app::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
  public:
    TempFolder() {
        std::random_device seed;
        const auto base = std::filesystem::temp_directory_path();
        for (;;) {
            path_ = base / ("gc4016-roads-" + std::to_string(seed()));
            if (std::filesystem::create_directory(path_)) break;
        }
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    [[nodiscard]] std::string str() const { return path_.generic_string(); }
    [[nodiscard]] std::string operator/(const std::string& name) const {
        return str() + "/" + name;
    }

  private:
    std::filesystem::path path_;
};

inline std::string fileText(const std::string& path) {
    return gc::model::readFileBytes(path).value_or("<missing>");
}

inline void putFile(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// A tap file in the program's format: one " %d" line per tap.
template <typename Taps>
std::string tapText(const Taps& taps, size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i) text += " " + std::to_string(taps[i]) + "\n";
    return text;
}

// RecordingUi whose file dialogs answer with the paths queued beforehand (nothing once the
// queue is empty) and keep the requests they were given.
class ScriptedUi : public RecordingUi {
  public:
    explicit ScriptedUi(std::vector<std::string>& log) : RecordingUi(log), log_(log) {}

    std::optional<std::string> askOpenFile(const FileDialogRequest& request) override {
        return answer("askOpen", request);
    }
    std::optional<std::string> askSaveFile(const FileDialogRequest& request) override {
        return answer("askSave", request);
    }
    void refreshWindow(Window window) override {
        RecordingUi::refreshWindow(window);
        if (onRefresh) onRefresh(window);
    }

    std::deque<std::optional<std::string>> answers;
    std::vector<FileDialogRequest> requests;
    // Called after a window refresh was logged: lets a test see what was shown at that moment.
    std::function<void(Window)> onRefresh;

    // The labels of every report, each joined by single blanks.
    [[nodiscard]] std::vector<std::string> reportLines() const {
        std::vector<std::string> lines;
        for (const ErrorReport& r : reports) {
            std::string line;
            for (const std::string& label : r.labels) line += (line.empty() ? "" : " ") + label;
            lines.push_back(line);
        }
        return lines;
    }

  private:
    std::optional<std::string> answer(const char* what, const FileDialogRequest& request) {
        log_.push_back(what);
        requests.push_back(request);
        if (answers.empty()) return std::nullopt;
        auto chosen = answers.front();
        answers.pop_front();
        return chosen;
    }

    std::vector<std::string>& log_;
};

// One main window over a working folder.
struct LoadSaveRig {
    explicit LoadSaveRig(const std::string& root)
        : ui(log),
          plot(log, session, state),
          presenter(session, state, ui, plot),
          requirement(session, requirementState, ui),
          loadSave(session, state, ui, plot, presenter, requirement,
                   gc::appconfig::Workspace(root)) {}

    std::vector<std::string> log;
    Session session;
    MainState state;
    ScriptedUi ui;
    RecordingPlotSeam plot;
    MainPresenter presenter;
    RequirementState requirementState;
    RequirementPresenter requirement;
    LoadSave loadSave;
};

}  // namespace gc::app::testing
