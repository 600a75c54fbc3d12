#pragma once
// What every value-showing control of the main window (TGForm) shows: texts, item indexes,
// ticks, enabled and visible states, panel colours. The Qt window copies the user's input into
// it before calling a presenter method and sets its widgets from it afterwards; the presenter
// reads and writes only this.
#include <array>
#include <string>
#include <string_view>
#include <variant>

#include "model/Language.h"

namespace gc::app {

enum class PanelColour { ButtonFace, Red, White };

struct EditState {
    std::string text;
};

struct PanelState {
    std::string text;
    PanelColour colour{PanelColour::ButtonFace};
};

struct ComboState {
    int index{0};  // -1: no item shown
    bool enabled{true};
};

struct CheckState {
    bool checked{false};
    bool enabled{true};
    bool visible{true};
};

struct RadioState {
    bool checked{false};
};

struct ButtonState {
    bool enabled{true};
    bool visible{true};
};

// Fixed item lists of the main window's combo boxes (the filter lists ComboBox1, ComboBox4 and
// ComboBox5 carry the names of the built-in library sets instead).
inline constexpr std::array<std::string_view, 4> kComboBox7Items{"Канал 0", "Канал 1", "Канал 2",
                                                                 "Канал 3"};
inline constexpr std::array<std::string_view, 4> kComboBox12Items{"АЦП 0", "АЦП 1", "АЦП 2",
                                                                  "АЦП 3"};
inline constexpr std::array<std::string_view, 3> kComboBox11Items{" 4 канала", " 2 канала",
                                                                  " 1 канал"};
inline constexpr std::array<std::string_view, 2> kComboBox13Items{"Синхронный", "Асинхронный "};
inline constexpr std::array<std::string_view, 5> kComboBox14Items{"4", "8", "16", "32", "64"};
inline constexpr int kComboBox10ItemCount = 8;  // "0".."7", Shift
inline constexpr int kComboBox2ItemCount = 6;   // "0".."5", Scale
inline constexpr int kComboBox3ItemCount = 8;   // "0".."7", BigScale
inline constexpr int kComboBox6ItemCount = 8;   // "0".."7", CoarseGain
inline constexpr int kComboBox9ItemCount = 16;  // "0".."15", FinalShift

struct MainState {
    // Typed fields.
    EditState Edit1{"64"};         // "Децимация"
    EditState Edit2{"1024"};       // "Точно", PFIR fine gain
    EditState Edit3{"100000000"};  // "Тактовая частота", Hz
    EditState Edit4{"1,0"};        // "Интерполяция"
    EditState Edit5{""};           // "Выходная частота  ", Hz
    EditState Edit6{"10000000"};   // NCO "Частота", Hz
    EditState Edit7{"0.000"};      // NCO "Фаза", radians
    EditState Edit8{"0x0400000"};  // resampler ratio word

    // Read-only panels. Panel5 (the plot frame) shows nothing of its own.
    PanelState Panel1{"", PanelColour::White};   // NameOfCFG, "Шаблон"
    PanelState Panel2;                           // CicGain
    PanelState Panel3;                           // CFIR overall gain
    PanelState Panel4;                           // PFIR overall gain
    PanelState Panel6;                           // ResamplerGain
    PanelState Panel7;                           // TotalGain
    PanelState Panel8;                           // FineFactor
    PanelState Panel9;                           // NameOfCFIR, white with the file source
    PanelState Panel10;                          // NameOfPFIR
    PanelState Panel11;                          // NameOfRFIR
    PanelState Panel12;                          // CfirGain
    PanelState Panel13;                          // PfirGain
    PanelState Panel14;                          // MaxNdelay (hidden)
    PanelState Panel15;                          // plot cursor x, kHz
    PanelState Panel16;                          // plot cursor y, dB
    PanelState Panel17;                          // horizontal stretch
    PanelState Panel18;                          // vertical stretch
    PanelState Panel20;                          // ResamplerTapCount, red on a length error
    PanelState Panel22;                          // NumMultiplies, red outside 6..64
    PanelState Panel23;                          // resampler overall gain
    PanelState Panel25{"", PanelColour::White};  // ConfigFileName

    // Lists.
    ComboState ComboBox1{3};   // CFIR table of the channel
    ComboState ComboBox2{5};   // Scale
    ComboState ComboBox3{4};   // BigScale
    ComboState ComboBox4{7};   // PFIR table of the channel
    ComboState ComboBox5{3};   // resampler table
    ComboState ComboBox6{0};   // CoarseGain
    ComboState ComboBox7{0};   // channel
    ComboState ComboBox9{0};   // FinalShift
    ComboState ComboBox10{4};  // Shift
    ComboState ComboBox11{0};  // output mode
    ComboState ComboBox12{0};  // ADC input of the channel
    ComboState ComboBox13{0};  // synchronous / asynchronous output
    ComboState ComboBox14{4};  // NDELAY

    // Check boxes. CheckBox3, CheckBox2, CheckBox7, CheckBox8 are the enabled-channel boxes 0..3.
    CheckState AutoScale{true};
    CheckState CheckBox1{true};               // "20 бит"
    CheckState CheckBox2{true};               // channel 1
    CheckState CheckBox3{true};               // channel 0
    CheckState CheckBox4{true, true, false};  // CFIR in the channel plot (hidden)
    CheckState CheckBox5{true, true, false};  // PFIR in the channel plot (hidden)
    CheckState CheckBox6{true, true, false};  // resampler in the channel plot (hidden)
    CheckState CheckBox7{true};               // channel 2
    CheckState CheckBox8{true};               // channel 3
    CheckState CheckBox9{false};              // "Комбин. прошивка"

    // Coefficient source of each filter kind, common to all channels.
    RadioState TblEnbCFIR{true};
    RadioState FileEnbCFIR{false};
    RadioState TblEnbPFIR{true};
    RadioState FileEnbPFIR{false};
    RadioState TblEnbRFIR{true};
    RadioState FileEnbRFIR{false};

    // Tap-file read and write buttons: enabled with the file source.
    ButtonState SpeedButton1{false};   // read CFIR taps
    ButtonState SpeedButton10{false};  // write CFIR taps
    ButtonState SpeedButton2{false};   // read PFIR taps
    ButtonState SpeedButton5{false};   // write PFIR taps
    ButtonState SpeedButton3{false};   // read resampler taps
    ButtonState SpeedButton6{false};   // write resampler taps

    // Register-editor buttons: visible in service mode only.
    ButtonState Button1{true, false};   // "Синхронизация"
    ButtonState Button2{true, false};   // "Выходной блок"
    ButtonState Button3{true, false};   // "Входной блок"
    ButtonState Button4{true, false};   // "Ресемплер"
    ButtonState Button10{true, false};  // "Фильтры"
    // "Требования..." in the output block: the channel requirement window, always there.
    ButtonState ButtonRequirement{};
    // "Моделирование..." below it: the simulation window, always there.
    ButtonState ButtonSimulation{};

    // Enabled-channel box i (0..3) in the order CheckBox3, CheckBox2, CheckBox7, CheckBox8.
    [[nodiscard]] CheckState& channelBox(int i) {
        CheckState* const boxes[4] = {&CheckBox3, &CheckBox2, &CheckBox7, &CheckBox8};
        return *boxes[i & 3];
    }
    [[nodiscard]] const CheckState& channelBox(int i) const {
        return const_cast<MainState*>(this)->channelBox(i);
    }
};

// --- The list of the controls ---------------------------------------------------------------
// Every value-showing control of the main window once: its name (the widget's objectName and
// the name `gc4016-cli show` prints) and its field. The Qt window collects and shows its
// controls from this list; the command-line tool prints them in this order (all but buttons).
// A new control is a field above, a line below and its widget in the window's layout.

using ControlField =
    std::variant<EditState MainState::*, PanelState MainState::*, ComboState MainState::*,
                 CheckState MainState::*, RadioState MainState::*, ButtonState MainState::*>;

// The text of item `index` of a list, empty for none (index -1 or past the end).
using ItemText = std::string (*)(int index);

struct MainControl {
    std::string_view name;
    ControlField field;
    ItemText itemText{nullptr};  // lists only
};

// Item texts of the lists: the numbers 0..count-1, a fixed list (in the interface language), a
// built-in library.
template <int Count>
[[nodiscard]] std::string numberItem(int index) {
    return index >= 0 && index < Count ? std::to_string(index) : std::string();
}
template <const auto& Items>
[[nodiscard]] std::string fixedItem(int index) {
    return index >= 0 && index < static_cast<int>(Items.size())
               ? gc::model::tx(Items[static_cast<size_t>(index)])
               : std::string();
}
[[nodiscard]] std::string cfirSetName(int index);
[[nodiscard]] std::string pfirSetName(int index);
[[nodiscard]] std::string resamplerSetName(int index);

inline constexpr MainControl kMainControls[] = {
    {"Edit1", &MainState::Edit1},
    {"Edit2", &MainState::Edit2},
    {"Edit3", &MainState::Edit3},
    {"Edit4", &MainState::Edit4},
    {"Edit5", &MainState::Edit5},
    {"Edit6", &MainState::Edit6},
    {"Edit7", &MainState::Edit7},
    {"Edit8", &MainState::Edit8},

    {"Panel1", &MainState::Panel1},
    {"Panel2", &MainState::Panel2},
    {"Panel3", &MainState::Panel3},
    {"Panel4", &MainState::Panel4},
    {"Panel6", &MainState::Panel6},
    {"Panel7", &MainState::Panel7},
    {"Panel8", &MainState::Panel8},
    {"Panel9", &MainState::Panel9},
    {"Panel10", &MainState::Panel10},
    {"Panel11", &MainState::Panel11},
    {"Panel12", &MainState::Panel12},
    {"Panel13", &MainState::Panel13},
    {"Panel14", &MainState::Panel14},
    {"Panel15", &MainState::Panel15},
    {"Panel16", &MainState::Panel16},
    {"Panel17", &MainState::Panel17},
    {"Panel18", &MainState::Panel18},
    {"Panel20", &MainState::Panel20},
    {"Panel22", &MainState::Panel22},
    {"Panel23", &MainState::Panel23},
    {"Panel25", &MainState::Panel25},

    {"ComboBox1", &MainState::ComboBox1, &cfirSetName},
    {"ComboBox2", &MainState::ComboBox2, &numberItem<kComboBox2ItemCount>},
    {"ComboBox3", &MainState::ComboBox3, &numberItem<kComboBox3ItemCount>},
    {"ComboBox4", &MainState::ComboBox4, &pfirSetName},
    {"ComboBox5", &MainState::ComboBox5, &resamplerSetName},
    {"ComboBox6", &MainState::ComboBox6, &numberItem<kComboBox6ItemCount>},
    {"ComboBox7", &MainState::ComboBox7, &fixedItem<kComboBox7Items>},
    {"ComboBox9", &MainState::ComboBox9, &numberItem<kComboBox9ItemCount>},
    {"ComboBox10", &MainState::ComboBox10, &numberItem<kComboBox10ItemCount>},
    {"ComboBox11", &MainState::ComboBox11, &fixedItem<kComboBox11Items>},
    {"ComboBox12", &MainState::ComboBox12, &fixedItem<kComboBox12Items>},
    {"ComboBox13", &MainState::ComboBox13, &fixedItem<kComboBox13Items>},
    {"ComboBox14", &MainState::ComboBox14, &fixedItem<kComboBox14Items>},

    {"AutoScale", &MainState::AutoScale},
    {"CheckBox1", &MainState::CheckBox1},
    {"CheckBox2", &MainState::CheckBox2},
    {"CheckBox3", &MainState::CheckBox3},
    {"CheckBox4", &MainState::CheckBox4},
    {"CheckBox5", &MainState::CheckBox5},
    {"CheckBox6", &MainState::CheckBox6},
    {"CheckBox7", &MainState::CheckBox7},
    {"CheckBox8", &MainState::CheckBox8},
    {"CheckBox9", &MainState::CheckBox9},

    {"TblEnbCFIR", &MainState::TblEnbCFIR},
    {"FileEnbCFIR", &MainState::FileEnbCFIR},
    {"TblEnbPFIR", &MainState::TblEnbPFIR},
    {"FileEnbPFIR", &MainState::FileEnbPFIR},
    {"TblEnbRFIR", &MainState::TblEnbRFIR},
    {"FileEnbRFIR", &MainState::FileEnbRFIR},

    {"SpeedButton1", &MainState::SpeedButton1},
    {"SpeedButton10", &MainState::SpeedButton10},
    {"SpeedButton2", &MainState::SpeedButton2},
    {"SpeedButton5", &MainState::SpeedButton5},
    {"SpeedButton3", &MainState::SpeedButton3},
    {"SpeedButton6", &MainState::SpeedButton6},
    {"Button1", &MainState::Button1},
    {"Button2", &MainState::Button2},
    {"Button3", &MainState::Button3},
    {"Button4", &MainState::Button4},
    {"Button10", &MainState::Button10},
    {"ButtonRequirement", &MainState::ButtonRequirement},
    {"ButtonSimulation", &MainState::ButtonSimulation},
};

// The name of the control that shows `field` (empty if none does).
[[nodiscard]] constexpr std::string_view controlName(ControlField field) {
    for (const MainControl& control : kMainControls) {
        if (control.field == field) return control.name;
    }
    return {};
}

}  // namespace gc::app
