#include "app/InpBlockPresenter.h"

#include <string>

#include "model/Language.h"

namespace gc::app {
namespace {

using S = InpBlockState;

// Controls of one row, channel 0 to 3.
using CheckRow = std::array<bool S::*, 4>;
using ListRow = std::array<int S::*, 4>;

constexpr CheckRow kReset{&S::CheckBox1, &S::CheckBox6, &S::CheckBox11, &S::CheckBox16};
constexpr CheckRow kUseShift{&S::CheckBox2, &S::CheckBox7, &S::CheckBox12, &S::CheckBox17};
constexpr CheckRow kConvertTo2s{&S::CheckBox3, &S::CheckBox8, &S::CheckBox13, &S::CheckBox18};
constexpr CheckRow kSelAB{&S::CheckBox4, &S::CheckBox9, &S::CheckBox14, &S::CheckBox19};
constexpr CheckRow kZeroPad{&S::CheckBox5, &S::CheckBox10, &S::CheckBox15, &S::CheckBox20};
constexpr ListRow kInputPort{&S::ComboBox1, &S::ComboBox5, &S::ComboBox9, &S::ComboBox13};
constexpr ListRow kInputMode{&S::ComboBox3, &S::ComboBox7, &S::ComboBox11, &S::ComboBox15};
constexpr ListRow kZeroes{&S::ComboBox4, &S::ComboBox8, &S::ComboBox12, &S::ComboBox16};

constexpr std::array<std::string_view, 4> kCheckNames[] = {
    {"CheckBox1", "CheckBox6", "CheckBox11", "CheckBox16"},
    {"CheckBox2", "CheckBox7", "CheckBox12", "CheckBox17"},
    {"CheckBox3", "CheckBox8", "CheckBox13", "CheckBox18"},
    {"CheckBox4", "CheckBox9", "CheckBox14", "CheckBox19"},
    {"CheckBox5", "CheckBox10", "CheckBox15", "CheckBox20"},
};
constexpr std::array<std::string_view, 4> kListNames[] = {
    {"ComboBox1", "ComboBox5", "ComboBox9", "ComboBox13"},
    {"ComboBox3", "ComboBox7", "ComboBox11", "ComboBox15"},
    {"ComboBox4", "ComboBox8", "ComboBox12", "ComboBox16"},
};

EditorLayout<S> makeLayout() {
    EditorLayout<S> l;
    l.className = "TInpBlock";
    l.caption = gc::model::tx("Входной блок");
    l.editable = false;
    l.staysOnTop = true;
    l.hasOpenFlag = true;

    // Row 0: "Канал" over the four channel columns; row 1: the channel numbers.
    l.addHeading(gc::model::tx("Канал"), 0, 1, 4);
    for (int ch = 0; ch < 4; ++ch) l.addLabel(std::to_string(ch), 1, 1 + ch);

    const CheckRow* checkRows[] = {&kReset, &kUseShift, &kConvertTo2s, &kSelAB, &kZeroPad};
    const char* checkLabels[] = {"Reset", "Use Shift", "ConvertTo 2s", "Sel  A/B", "ZeroPad"};
    int row = 2;
    for (int r = 0; r < 5; ++r, ++row) {
        l.addLabel(checkLabels[r], row, 0);
        for (int ch = 0; ch < 4; ++ch) {
            l.addCheckBox(std::string(kCheckNames[r][ch]), (*checkRows[r])[ch], row, 1 + ch);
        }
    }
    const ListRow* listRows[] = {&kInputPort, &kInputMode, &kZeroes};
    const char* listLabels[] = {"InputPort", "InputMode", "Zeroes"};
    const std::vector<std::string> listItems[] = {
        toItemList(kInputPortItems), toItemList(kInputModeItems), toItemList(kItems0To15)};
    for (int r = 0; r < 3; ++r, ++row) {
        l.addLabel(listLabels[r], row, 0);
        for (int ch = 0; ch < 4; ++ch) {
            l.addComboBox(std::string(kListNames[r][ch]), (*listRows[r])[ch], listItems[r], row,
                          1 + ch);
        }
    }
    return l;
}

}  // namespace

void InpBlockState::fill(const chip::RegisterImage& image, const model::ConfigurationModel& model) {
    for (int ch = 0; ch < 4; ++ch) {
        const chip::RegisterChannel& reg = image.Channels[ch];
        this->*kReset[ch] = !bitSet(model.Work.ActiveMask, ch);
        this->*kUseShift[ch] = bitSet(reg.ChannelReset, 3);
        this->*kConvertTo2s[ch] = bitSet(reg.Input, 7);
        this->*kSelAB[ch] = bitSet(reg.Input, 3);
        this->*kZeroPad[ch] = bitSet(reg.Blank, 7);
        this->*kInputPort[ch] = shownIndex(model.Chip.InputPort[ch], kInputPortItems.size());
        this->*kInputMode[ch] = bitGroup(reg.Input, 4, 2);
        this->*kZeroes[ch] = bitGroup(reg.Blank, 0, 4);
    }
}

const EditorLayout<InpBlockState>& inpBlockLayout() {
    static const EditorLayout<InpBlockState> layout = makeLayout();
    return layout;
}

}  // namespace gc::app
