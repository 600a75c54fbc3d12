#include "cli/CliSupport.h"

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <iostream>
#include <ostream>
#include <sstream>
#include <system_error>
#include <utility>
#include <variant>

#include "model/Language.h"

namespace gc::cli {

std::string localisedHelp(std::string_view text) {
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        const size_t open = text.find('"', i);
        const size_t close = open == std::string_view::npos ? open : text.find('"', open + 1);
        if (close == std::string_view::npos) break;
        const std::string_view quoted = text.substr(open + 1, close - open - 1);
        out.append(text.substr(i, open + 1 - i));
        out += gc::model::containsCyrillic(quoted) ? gc::model::tx(quoted) : std::string(quoted);
        out += '"';
        i = close + 1;
    }
    out.append(text.substr(std::min(i, text.size())));
    return out;
}

CliUi::CliUi(std::ostream& err) : err_(err) {}

namespace {

std::string reportLine(const std::vector<std::string>& labels) {
    std::string line;
    for (const std::string& label : labels) line += (line.empty() ? "" : " ") + label;
    return line;
}

}  // namespace

void printReport(const std::vector<std::string>& labels) {
    std::cerr << reportLine(labels) << '\n';
}

void CliUi::showError(const gc::app::ErrorReport& report) {
    err_ << reportLine(report.labels) << '\n';
    ++reportCount;
}

void CliUi::showConversionError(const std::string& message) {
    err_ << message << '\n';
    ++reportCount;
}

std::optional<std::string> CliUi::askOpenFile(const gc::app::FileDialogRequest&) {
    return openPath;
}

std::optional<std::string> CliUi::askSaveFile(const gc::app::FileDialogRequest&) {
    return savePath;
}

void CliUi::showWindow(gc::app::Window) {}
void CliUi::refreshWindow(gc::app::Window) {}
void CliUi::repaintChannelPlot() {}

void writeMainState(std::ostream& out, const gc::app::MainState& s) {
    using namespace gc::app;
    for (const MainControl& control : kMainControls) {
        std::string text;
        if (const auto* edit = std::get_if<EditState MainState::*>(&control.field))
            text = (s.*(*edit)).text;
        else if (const auto* panel = std::get_if<PanelState MainState::*>(&control.field))
            text = (s.*(*panel)).text;
        else if (const auto* combo = std::get_if<ComboState MainState::*>(&control.field))
            text = control.itemText((s.*(*combo)).index);
        else if (const auto* check = std::get_if<CheckState MainState::*>(&control.field))
            text = (s.*(*check)).checked ? "1" : "0";
        else if (const auto* radio = std::get_if<RadioState MainState::*>(&control.field))
            text = (s.*(*radio)).checked ? "1" : "0";
        else
            continue;  // buttons show no value
        out << control.name << '=' << text << '\n';
    }
}

}  // namespace gc::cli

namespace gc::cli {

bool namesFolder(const std::string& config) {
    std::error_code error;
    return !config.empty() &&
           (config.back() == '/' || std::filesystem::is_directory(config, error));
}

bool parseFileSources(const std::string& list, FileSources& sources) {
    FileSources read = sources;
    bool any = false;
    for (size_t start = 0; start <= list.size();) {
        const size_t comma = std::min(list.find(',', start), list.size());
        const std::string item = list.substr(start, comma - start);
        start = comma + 1;
        const auto eq = item.find('=');
        const std::string kind = item.substr(0, eq);
        bool fromFile = true;
        if (eq != std::string::npos) {
            const std::string value = item.substr(eq + 1);
            if (value != "file" && value != "table") return false;
            fromFile = value == "file";
        }
        if (kind == "cfir" || kind == "all") read.cfir = fromFile;
        if (kind == "pfir" || kind == "all") read.pfir = fromFile;
        if (kind == "rfir" || kind == "resampler" || kind == "all") read.rfir = fromFile;
        if (kind != "cfir" && kind != "pfir" && kind != "rfir" && kind != "resampler" &&
            kind != "all")
            return false;
        any = true;
    }
    if (any) sources = read;
    return any;
}

Engine::Engine(gc::appconfig::Workspace workspace)
    : ui(std::cerr), program(ui, std::move(workspace)) {}

gc::app::LoadSave::LoadResult Engine::loadFromDefaults(const std::string& config,
                                                       const FileSources& sources) {
    presenter.startWithDefaults();
    const gc::app::LoadSave::LoadResult loaded = loadSave.loadConfiguration(config);
    overrideSources(sources);
    return loaded;
}

void Engine::overrideSources(const FileSources& sources) {
    if (!sources.cfir && !sources.pfir && !sources.rfir) return;
    gc::appconfig::TapSources chosen = loadSave.tapSources();
    chosen.cfirFromFile = sources.cfir.value_or(chosen.cfirFromFile);
    chosen.pfirFromFile = sources.pfir.value_or(chosen.pfirFromFile);
    chosen.resamplerFromFile = sources.rfir.value_or(chosen.resamplerFromFile);
    loadSave.chooseTapSources(chosen);
}

}  // namespace gc::cli
