#include "cli/CliSupport.h"

#include <algorithm>
#include <iostream>
#include <ostream>
#include <sstream>
#include <utility>

#include "filters/FilterTables.h"

namespace gc::cli {

namespace {

std::vector<Command>& table() {
    static std::vector<Command> registered;
    return registered;
}

template <typename Items>
std::string itemText(const Items& items, int index) {
    if (index < 0 || index >= static_cast<int>(items.size())) return {};
    return std::string(items[static_cast<size_t>(index)]);
}

template <typename Library>
std::string setName(const Library& library, int index) {
    if (index < 0 || index >= static_cast<int>(library.size())) return {};
    return std::string(library[static_cast<size_t>(index)].name);
}

// Lists whose items are the numbers 0..count-1.
std::string numberItem(int index, int count) {
    return index >= 0 && index < count ? std::to_string(index) : std::string();
}

}  // namespace

bool registerCommand(const Command& command) {
    table().push_back(command);
    return true;
}

std::vector<Command> commands() {
    std::vector<Command> sorted = table();
    std::sort(sorted.begin(), sorted.end(),
              [](const Command& a, const Command& b) { return a.name < b.name; });
    return sorted;
}

CliUi::CliUi(std::ostream& err) : err_(err) {}

void CliUi::showError(const gc::app::ErrorReport& report) {
    std::string line;
    for (const std::string& label : report.labels) {
        if (!line.empty()) line += ' ';
        line += label;
    }
    err_ << line << '\n';
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
    const auto line = [&out](const char* name, const std::string& text) {
        out << name << '=' << text << '\n';
    };
    const auto tick = [&line](const char* name, bool checked) { line(name, checked ? "1" : "0"); };

    line("Edit1", s.Edit1.text);
    line("Edit2", s.Edit2.text);
    line("Edit3", s.Edit3.text);
    line("Edit4", s.Edit4.text);
    line("Edit5", s.Edit5.text);
    line("Edit6", s.Edit6.text);
    line("Edit7", s.Edit7.text);
    line("Edit8", s.Edit8.text);

    line("Panel1", s.Panel1.text);
    line("Panel2", s.Panel2.text);
    line("Panel3", s.Panel3.text);
    line("Panel4", s.Panel4.text);
    line("Panel6", s.Panel6.text);
    line("Panel7", s.Panel7.text);
    line("Panel8", s.Panel8.text);
    line("Panel9", s.Panel9.text);
    line("Panel10", s.Panel10.text);
    line("Panel11", s.Panel11.text);
    line("Panel12", s.Panel12.text);
    line("Panel13", s.Panel13.text);
    line("Panel14", s.Panel14.text);
    line("Panel15", s.Panel15.text);
    line("Panel16", s.Panel16.text);
    line("Panel17", s.Panel17.text);
    line("Panel18", s.Panel18.text);
    line("Panel20", s.Panel20.text);
    line("Panel22", s.Panel22.text);
    line("Panel23", s.Panel23.text);
    line("Panel25", s.Panel25.text);

    line("ComboBox1", setName(gc::filters::cfirLibrary(), s.ComboBox1.index));
    line("ComboBox2", numberItem(s.ComboBox2.index, kComboBox2ItemCount));
    line("ComboBox3", numberItem(s.ComboBox3.index, kComboBox3ItemCount));
    line("ComboBox4", setName(gc::filters::pfirLibrary(), s.ComboBox4.index));
    line("ComboBox5", setName(gc::filters::resamplerLibrary(), s.ComboBox5.index));
    line("ComboBox6", numberItem(s.ComboBox6.index, kComboBox6ItemCount));
    line("ComboBox7", itemText(kComboBox7Items, s.ComboBox7.index));
    line("ComboBox9", numberItem(s.ComboBox9.index, kComboBox9ItemCount));
    line("ComboBox10", numberItem(s.ComboBox10.index, kComboBox10ItemCount));
    line("ComboBox11", itemText(kComboBox11Items, s.ComboBox11.index));
    line("ComboBox12", itemText(kComboBox12Items, s.ComboBox12.index));
    line("ComboBox13", itemText(kComboBox13Items, s.ComboBox13.index));
    line("ComboBox14", itemText(kComboBox14Items, s.ComboBox14.index));

    tick("AutoScale", s.AutoScale.checked);
    tick("CheckBox1", s.CheckBox1.checked);
    tick("CheckBox2", s.CheckBox2.checked);
    tick("CheckBox3", s.CheckBox3.checked);
    tick("CheckBox4", s.CheckBox4.checked);
    tick("CheckBox5", s.CheckBox5.checked);
    tick("CheckBox6", s.CheckBox6.checked);
    tick("CheckBox7", s.CheckBox7.checked);
    tick("CheckBox8", s.CheckBox8.checked);
    tick("CheckBox9", s.CheckBox9.checked);

    tick("TblEnbCFIR", s.TblEnbCFIR.checked);
    tick("FileEnbCFIR", s.FileEnbCFIR.checked);
    tick("TblEnbPFIR", s.TblEnbPFIR.checked);
    tick("FileEnbPFIR", s.FileEnbPFIR.checked);
    tick("TblEnbRFIR", s.TblEnbRFIR.checked);
    tick("FileEnbRFIR", s.FileEnbRFIR.checked);
}

}  // namespace gc::cli

namespace gc::cli {

bool parseFileSources(const std::string& list, FileSources& sources) {
    std::istringstream items(list);
    std::string item;
    bool any = false;
    while (std::getline(items, item, ',')) {
        if (item == "cfir")
            sources.cfir = true;
        else if (item == "pfir")
            sources.pfir = true;
        else if (item == "rfir")
            sources.rfir = true;
        else
            return false;
        any = true;
    }
    return any;
}

Engine::Engine(gc::appconfig::Workspace workspace)
    : ui(std::cerr),
      plot(session.model, ui),
      presenter(session, state, ui, plot),
      roads(session, state, ui, plot, presenter, std::move(workspace)) {}

void Engine::loadFromDefaults(const std::string& config, const FileSources& sources) {
    chooseSources(state, sources);
    presenter.startWithDefaults();
    roads.loadConfiguration(config);
}

void chooseSources(gc::app::MainState& state, const FileSources& sources) {
    state.TblEnbCFIR.checked = !sources.cfir;
    state.FileEnbCFIR.checked = sources.cfir;
    state.TblEnbPFIR.checked = !sources.pfir;
    state.FileEnbPFIR.checked = sources.pfir;
    state.TblEnbRFIR.checked = !sources.rfir;
    state.FileEnbRFIR.checked = sources.rfir;
}

}  // namespace gc::cli
