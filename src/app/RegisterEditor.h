#pragma once
// Pieces shared by the five register block editors (input block, resampler, synchronisation,
// output block, filter control): the description of a window's controls from which the Qt layer
// lays the window out.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/Fields.h"
#include "model/Language.h"

namespace gc::app {

// The bit-group and list-index helpers of the editors are the model's (model/Fields.h).
using gc::model::bitGroup;
using gc::model::bitSet;
using gc::model::shownIndex;
using gc::model::withBit;
using gc::model::withBitGroup;

// Item lists shared by several windows.
inline constexpr std::array<std::string_view, 4> kItems0To3{"0", "1", "2", "3"};
inline constexpr std::array<std::string_view, 8> kItems0To7{"0", "1", "2", "3", "4", "5", "6", "7"};
inline constexpr std::array<std::string_view, 16> kItems0To15{
    "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15"};

template <std::size_t N>
[[nodiscard]] std::vector<std::string> toItemList(const std::array<std::string_view, N>& items) {
    std::vector<std::string> list;
    for (const std::string_view item : items) list.push_back(gc::model::tx(item));
    return list;
}

enum class ControlKind {
    Label,     // fixed caption, no object name needed
    CheckBox,  // shows `checked`
    ComboBox,  // shows `itemIndex` among `items`
    Edit,      // shows `shownText`
    Panel,     // shows `shownText`
};

// One cell of a window's grid. A named control points at the state member that holds what it
// shows, so the Qt layer can set every widget from the state struct without knowing the window.
template <class State>
struct EditorControl {
    ControlKind kind{ControlKind::Label};
    std::string name;     // object name (control name); empty for a fixed label
    std::string text;     // caption of a label or a check box
    bool heading{false};  // a label heading a group or a column
    int row{0};
    int column{0};
    int rowSpan{1};
    int columnSpan{1};
    std::vector<std::string> items;          // ComboBox items, in order
    bool State::*checked{nullptr};           // CheckBox
    int State::*itemIndex{nullptr};          // ComboBox
    std::string State::*shownText{nullptr};  // Edit, Panel
};

// A register block window: its class name, caption, behaviour and controls on a grid.
template <class State>
struct EditorLayout {
    std::string className;  // "TInpBlock"
    std::string caption;    // window caption
    bool editable{false};   // false: every control is disabled (a read-only view)
    bool staysOnTop{true};
    bool hasOpenFlag{true};  // the main window refreshes it while its open flag is set
    std::vector<EditorControl<State>> controls;

    [[nodiscard]] const EditorControl<State>* find(std::string_view name) const {
        for (const auto& c : controls) {
            if (!c.name.empty() && c.name == name) return &c;
        }
        return nullptr;
    }

    void addLabel(std::string text, int row, int column, int columnSpan = 1) {
        EditorControl<State> c;
        c.kind = ControlKind::Label;
        c.text = std::move(text);
        c.row = row;
        c.column = column;
        c.columnSpan = columnSpan;
        controls.push_back(std::move(c));
    }

    void addHeading(std::string text, int row, int column, int columnSpan = 1) {
        addLabel(std::move(text), row, column, columnSpan);
        controls.back().heading = true;
    }

    void addCheckBox(std::string name, bool State::*member, int row, int column,
                     std::string caption = {}, int columnSpan = 1) {
        EditorControl<State> c;
        c.kind = ControlKind::CheckBox;
        c.name = std::move(name);
        c.text = std::move(caption);
        c.row = row;
        c.column = column;
        c.columnSpan = columnSpan;
        c.checked = member;
        controls.push_back(std::move(c));
    }

    void addComboBox(std::string name, int State::*member, std::vector<std::string> items, int row,
                     int column) {
        EditorControl<State> c;
        c.kind = ControlKind::ComboBox;
        c.name = std::move(name);
        c.row = row;
        c.column = column;
        c.items = std::move(items);
        c.itemIndex = member;
        controls.push_back(std::move(c));
    }

    void addText(ControlKind kind, std::string name, std::string State::*member, int row,
                 int column) {
        EditorControl<State> c;
        c.kind = kind;
        c.name = std::move(name);
        c.row = row;
        c.column = column;
        c.shownText = member;
        controls.push_back(std::move(c));
    }
};

}  // namespace gc::app
