#include "app/FiltersPresenter.h"

#include <string>

#include "model/Language.h"

namespace gc::app {
namespace {

using S = FiltersState;
using Reg = chip::RegisterChannel;

// One row of a channel column: where its bits are and how it is shown.
struct RowBits {
    const char* group;    // group caption the row sits under
    const char* caption;  // check box caption or list label; empty for none
    int Reg::*field;
    int firstBit;
    int bitCount;                   // 1 for a check box
    const std::string_view* items;  // list items (ending with the empty item); null for a box
    std::size_t itemCount;
};

constexpr std::size_t kRows = 14;
constexpr RowBits kRowBits[kRows] = {
    {"CFIR", "NoSym", &Reg::CFIRControl, 0, 1, nullptr, 0},
    {"CFIR", "Test", &Reg::CFIRControl, 7, 1, nullptr, 0},
    {"CFIR", "QDelay", &Reg::CFIRControl, 1, 1, nullptr, 0},
    {"CFIR", "IDelay", &Reg::CFIRControl, 2, 1, nullptr, 0},
    {"PFIR", "NoSym", &Reg::PFIRControl, 0, 1, nullptr, 0},
    {"PFIR", "QDelay", &Reg::PFIRControl, 1, 1, nullptr, 0},
    {"PFIR", "IDelay", &Reg::PFIRControl, 2, 1, nullptr, 0},
    {"Peak Control", "PeakMode", &Reg::PeakControl, 5, 1, nullptr, 0},
    {"Peak Control", "PeakSelect", &Reg::PFIRControl, 3, 2, kPeakSelectItems.data(),
     kPeakSelectItems.size()},
    {"Peak Control", "PeakThreshold", &Reg::PeakControl, 3, 2, kPeakThresholdItems.data(),
     kPeakThresholdItems.size()},
    {"SplitIQ", "Ionly", &Reg::SplitIQ, 5, 1, nullptr, 0},
    {"SplitIQ", "Qonly", &Reg::SplitIQ, 6, 1, nullptr, 0},
    {"SplitIQ", "SplitIQ", &Reg::SplitIQ, 4, 1, nullptr, 0},
    {"NEG_CTRL", "", &Reg::SplitIQ, 0, 4, kNegCtrlItems.data(), kNegCtrlItems.size()},
};

struct Control {
    const char* name;
    bool S::*checked;   // check box
    int S::*itemIndex;  // list
};

constexpr Control box(const char* name, bool S::*m) { return {name, m, nullptr}; }
constexpr Control list(const char* name, int S::*m) { return {name, nullptr, m}; }

constexpr Control kControls[4][kRows] = {
    {box("CheckBox8", &S::CheckBox8), box("CheckBox11", &S::CheckBox11),
     box("CheckBox9", &S::CheckBox9), box("CheckBox10", &S::CheckBox10),
     box("CheckBox12", &S::CheckBox12), box("CheckBox13", &S::CheckBox13),
     box("CheckBox14", &S::CheckBox14), box("CheckBox15", &S::CheckBox15),
     list("ComboBox8", &S::ComboBox8), list("ComboBox9", &S::ComboBox9),
     box("CheckBox16", &S::CheckBox16), box("CheckBox17", &S::CheckBox17),
     box("CheckBox18", &S::CheckBox18), list("ComboBox10", &S::ComboBox10)},
    {box("CheckBox1", &S::CheckBox1), box("CheckBox4", &S::CheckBox4),
     box("CheckBox2", &S::CheckBox2), box("CheckBox3", &S::CheckBox3),
     box("CheckBox5", &S::CheckBox5), box("CheckBox6", &S::CheckBox6),
     box("CheckBox7", &S::CheckBox7), box("CheckBox19", &S::CheckBox19),
     list("ComboBox1", &S::ComboBox1), list("ComboBox2", &S::ComboBox2),
     box("CheckBox20", &S::CheckBox20), box("CheckBox21", &S::CheckBox21),
     box("CheckBox22", &S::CheckBox22), list("ComboBox3", &S::ComboBox3)},
    {box("CheckBox23", &S::CheckBox23), box("CheckBox26", &S::CheckBox26),
     box("CheckBox24", &S::CheckBox24), box("CheckBox25", &S::CheckBox25),
     box("CheckBox27", &S::CheckBox27), box("CheckBox28", &S::CheckBox28),
     box("CheckBox29", &S::CheckBox29), box("CheckBox30", &S::CheckBox30),
     list("ComboBox4", &S::ComboBox4), list("ComboBox5", &S::ComboBox5),
     box("CheckBox31", &S::CheckBox31), box("CheckBox32", &S::CheckBox32),
     box("CheckBox33", &S::CheckBox33), list("ComboBox6", &S::ComboBox6)},
    {box("CheckBox34", &S::CheckBox34), box("CheckBox37", &S::CheckBox37),
     box("CheckBox35", &S::CheckBox35), box("CheckBox36", &S::CheckBox36),
     box("CheckBox38", &S::CheckBox38), box("CheckBox39", &S::CheckBox39),
     box("CheckBox40", &S::CheckBox40), box("CheckBox41", &S::CheckBox41),
     list("ComboBox7", &S::ComboBox7), list("ComboBox11", &S::ComboBox11),
     box("CheckBox42", &S::CheckBox42), box("CheckBox43", &S::CheckBox43),
     box("CheckBox44", &S::CheckBox44), list("ComboBox12", &S::ComboBox12)},
};

struct Located {
    int channel{-1};
    std::size_t row{0};
};

Located locate(std::string_view name) {
    for (int ch = 0; ch < 4; ++ch) {
        for (std::size_t r = 0; r < kRows; ++r) {
            if (name == kControls[ch][r].name) return {ch, r};
        }
    }
    return {};
}

EditorLayout<S> makeLayout() {
    EditorLayout<S> l;
    l.className = "TFilters";
    l.caption = "Filters";
    l.editable = true;
    l.staysOnTop = true;
    l.hasOpenFlag = true;

    // Each channel takes two grid columns (label, control); a group caption sits on a row of its
    // own above the group's controls; check boxes carry their caption and span both columns.
    for (int ch = 0; ch < 4; ++ch) {
        const int column = 2 * ch;
        l.addHeading(gc::model::tx("Канал %1", {std::to_string(ch)}), 0, column, 2);
        int row = 1;
        const char* group = "";
        for (std::size_t r = 0; r < kRows; ++r) {
            const RowBits& bits = kRowBits[r];
            const Control& c = kControls[ch][r];
            if (std::string_view(group) != bits.group) {
                group = bits.group;
                if (c.checked != nullptr || bits.caption[0] != '\0') {
                    l.addHeading(group, row++, column, 2);
                }
            }
            if (c.checked != nullptr) {
                l.addCheckBox(c.name, c.checked, row++, column, bits.caption, 2);
            } else {
                // A list without a label of its own ("NEG_CTRL") is labelled by its group.
                l.addLabel(bits.caption[0] != '\0' ? bits.caption : bits.group, row, column);
                l.addComboBox(c.name, c.itemIndex,
                              std::vector<std::string>(bits.items, bits.items + bits.itemCount),
                              row++, column + 1);
            }
        }
    }
    return l;
}

}  // namespace

void FiltersState::fill(const chip::RegisterImage& image, const model::ConfigurationModel&) {
    for (int ch = 0; ch < 4; ++ch) {
        const chip::RegisterChannel& reg = image.Channels[ch];
        for (std::size_t r = 0; r < kRows; ++r) {
            const RowBits& bits = kRowBits[r];
            const Control& c = kControls[ch][r];
            const int group = bitGroup(reg.*bits.field, bits.firstBit, bits.bitCount);
            if (c.checked != nullptr) {
                this->*c.checked = group != 0;
            } else {
                this->*c.itemIndex = group;
            }
        }
    }
}

const EditorLayout<FiltersState>& filtersLayout() {
    static const EditorLayout<FiltersState> layout = makeLayout();
    return layout;
}

bool FiltersPresenter::onControlChanged(std::string_view controlName) {
    const Located where = locate(controlName);
    if (where.channel < 0) return false;
    const RowBits& bits = kRowBits[where.row];
    const Control& c = kControls[where.channel][where.row];
    int& field = image_.Channels[where.channel].*bits.field;
    if (c.checked != nullptr) {
        field = withBit(field, bits.firstBit, state_.*c.checked);
    } else {
        // Only an item that names a group value is stored; the trailing empty item (or no item
        // at all) leaves the group as it is, so the refill shows the group's value again.
        const int index = state_.*c.itemIndex;
        if (index >= 0 && index < (1 << bits.bitCount)) {
            field = withBitGroup(field, bits.firstBit, bits.bitCount, index);
        }
    }
    fill();
    return true;
}

bool FiltersPresenter::onCheckBoxClick(std::string_view controlName, bool checked) {
    const Located where = locate(controlName);
    if (where.channel < 0) return false;
    const Control& c = kControls[where.channel][where.row];
    if (c.checked == nullptr) return false;
    state_.*c.checked = checked;
    return onControlChanged(controlName);
}

bool FiltersPresenter::onComboBoxChange(std::string_view controlName, int itemIndex) {
    const Located where = locate(controlName);
    if (where.channel < 0) return false;
    const Control& c = kControls[where.channel][where.row];
    if (c.itemIndex == nullptr) return false;
    state_.*c.itemIndex = itemIndex;
    return onControlChanged(controlName);
}

}  // namespace gc::app
