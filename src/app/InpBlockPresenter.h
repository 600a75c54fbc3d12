#pragma once
// TInpBlock "Входной блок": a read-only view of the input-related bits of all four DDC
// channels, one column per channel.
#include <array>
#include <string_view>

#include "app/RegisterEditor.h"
#include "chip/RegisterImage.h"
#include "model/ConfigurationModel.h"

namespace gc::app {

// "InputPort" list: the ADC feeding the channel.
inline constexpr std::array<std::string_view, 8> kInputPortItems{"A",     "B",     "C", "D",
                                                                 "A и B", "A и B", "6", "7"};
// "InputMode" list: Input bits 4-5.
inline constexpr std::array<std::string_view, 4> kInputModeItems{"14 bit", "16 bit", "12 bit +Exp",
                                                                 "Dual 12 bit +Exp"};

// What every control of the window shows. Check boxes: checked; lists: item index (-1 none).
struct InpBlockState {
    // "Reset": the channel is not in use (its ActiveMask bit is clear).
    bool CheckBox1{false}, CheckBox6{false}, CheckBox11{false}, CheckBox16{false};
    // "Use Shift": ChannelReset bit 3.
    bool CheckBox2{false}, CheckBox7{false}, CheckBox12{false}, CheckBox17{false};
    // "ConvertTo 2s": Input bit 7.
    bool CheckBox3{false}, CheckBox8{false}, CheckBox13{false}, CheckBox18{false};
    // "Sel  A/B": Input bit 3.
    bool CheckBox4{false}, CheckBox9{false}, CheckBox14{false}, CheckBox19{false};
    // "ZeroPad": Blank bit 7.
    bool CheckBox5{false}, CheckBox10{false}, CheckBox15{false}, CheckBox20{false};
    // "InputPort": the configuration's InputPort of the channel.
    int ComboBox1{-1}, ComboBox5{-1}, ComboBox9{-1}, ComboBox13{-1};
    // "InputMode": Input bits 4-5.
    int ComboBox3{-1}, ComboBox7{-1}, ComboBox11{-1}, ComboBox15{-1};
    // "Zeroes": Blank bits 0-3.
    int ComboBox4{-1}, ComboBox8{-1}, ComboBox12{-1}, ComboBox16{-1};

    // Sets every control from the register image and the model (channel by channel).
    void fill(const chip::RegisterImage& image, const model::ConfigurationModel& model);
};

// Caption, column captions ("Канал", "0".."3"), row labels and the controls on their grid.
[[nodiscard]] const EditorLayout<InpBlockState>& inpBlockLayout();

}  // namespace gc::app
