#include "app/FreqPresenter.h"

#include "model/Language.h"

namespace gc::app {
namespace {

using gc::model::plusOne;

using S = FreqState;
using MapRow = std::array<int S::*, 4>;

constexpr MapRow kFilterSelect{&S::ComboBox16, &S::ComboBox17, &S::ComboBox18, &S::ComboBox19};
constexpr MapRow kChannelMap{&S::ComboBox20, &S::ComboBox21, &S::ComboBox22, &S::ComboBox23};
constexpr MapRow kRatioMap{&S::ComboBox24, &S::ComboBox25, &S::ComboBox26, &S::ComboBox27};

EditorLayout<S> makeLayout() {
    EditorLayout<S> l;
    l.className = "TFreq";
    l.caption = gc::model::tx("Ресемплер");
    l.editable = false;
    l.staysOnTop = true;
    l.hasOpenFlag = true;

    // Left part: label, control, panel.
    const auto items4 = toItemList(kItems0To3);
    l.addLabel("NumChannels", 0, 0);
    l.addComboBox("ComboBox11", &S::ComboBox11, items4, 0, 1);
    l.addText(ControlKind::Panel, "Panel4", &S::Panel4, 0, 2);
    l.addLabel("NumFilters", 1, 0);
    l.addComboBox("ComboBox12", &S::ComboBox12, items4, 1, 1);
    l.addText(ControlKind::Panel, "Panel5", &S::Panel5, 1, 2);
    l.addCheckBox("CheckBox19", &S::CheckBox19, 2, 0, "NoSymRes", 2);
    l.addCheckBox("CheckBox20", &S::CheckBox20, 3, 0, "Add A to B", 2);
    l.addCheckBox("CheckBox21", &S::CheckBox21, 4, 0, "Add B to C", 2);
    l.addCheckBox("CheckBox22", &S::CheckBox22, 5, 0, "Add C to D", 2);
    l.addCheckBox("CheckBox23", &S::CheckBox23, 6, 0, "TAG_22", 2);
    l.addLabel("Round", 7, 0);
    l.addComboBox("ComboBox15", &S::ComboBox15, toItemList(kRoundItems), 7, 1);
    l.addLabel("ClockDiv", 8, 0);
    l.addText(ControlKind::Edit, "Edit4", &S::Edit4, 8, 1);
    l.addText(ControlKind::Panel, "Panel17", &S::Panel17, 8, 2);

    // Right part: the three routing maps, each a caption over four labelled lists.
    struct Map {
        const char* caption;
        std::array<const char*, 4> rowLabels;
        std::array<const char*, 4> names;
        const MapRow* members;
    };
    const Map maps[] = {
        {"FilterSelect",
         {"Ch0", "Ch1", "Ch2", "Ch3"},
         {"ComboBox16", "ComboBox17", "ComboBox18", "ComboBox19"},
         &kFilterSelect},
        {"ChannelMap",
         {"A", "B", "C", "D"},
         {"ComboBox20", "ComboBox21", "ComboBox22", "ComboBox23"},
         &kChannelMap},
        {"RatioMap",
         {"Ch0", "Ch1", "Ch2", "Ch3"},
         {"ComboBox24", "ComboBox25", "ComboBox26", "ComboBox27"},
         &kRatioMap},
    };
    for (int m = 0; m < 3; ++m) {
        const int column = 3 + 2 * m;
        l.addHeading(maps[m].caption, 0, column, 2);
        for (int j = 0; j < 4; ++j) {
            l.addLabel(maps[m].rowLabels[j], 1 + j, column);
            l.addComboBox(maps[m].names[j], (*maps[m].members)[j], items4, 1 + j, column + 1);
        }
    }
    return l;
}

}  // namespace

void FreqState::fill(const chip::RegisterImage& image, const model::ConfigurationModel&) {
    ComboBox11 = bitGroup(image.NChannels, 0, 2);
    Panel4 = plusOne(ComboBox11);
    ComboBox12 = bitGroup(image.NChannels, 2, 2);
    Panel5 = plusOne(ComboBox12);
    CheckBox19 = bitSet(image.NMultiplies, 6);
    CheckBox20 = bitSet(image.AddTo, 0);
    CheckBox21 = bitSet(image.AddTo, 1);
    CheckBox22 = bitSet(image.AddTo, 2);
    CheckBox23 = bitSet(image.FinalShift, 6);
    ComboBox15 = bitGroup(image.FinalShift, 4, 2);
    Edit4 = std::to_string(image.ClockDivide);
    Panel17 = plusOne(image.ClockDivide);
    for (int j = 0; j < 4; ++j) {
        this->*kFilterSelect[j] = bitGroup(image.FilterSelect, 2 * j, 2);
        this->*kChannelMap[j] = bitGroup(image.ChannelMap, 2 * j, 2);
        this->*kRatioMap[j] = bitGroup(image.RatioMap, 2 * j, 2);
    }
}

const EditorLayout<FreqState>& freqLayout() {
    static const EditorLayout<FreqState> layout = makeLayout();
    return layout;
}

}  // namespace gc::app
