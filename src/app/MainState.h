#pragma once
// What every value-showing control of the main window (TGForm) shows: texts, item indexes,
// ticks, enabled and visible states, panel colours. The Qt window copies the user's input into
// it before calling a presenter method and sets its widgets from it afterwards; the presenter
// reads and writes only this.
#include <array>
#include <string>
#include <string_view>

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

    // Enabled-channel box i (0..3) in the order CheckBox3, CheckBox2, CheckBox7, CheckBox8.
    [[nodiscard]] CheckState& channelBox(int i) {
        CheckState* const boxes[4] = {&CheckBox3, &CheckBox2, &CheckBox7, &CheckBox8};
        return *boxes[i & 3];
    }
    [[nodiscard]] const CheckState& channelBox(int i) const {
        return const_cast<MainState*>(this)->channelBox(i);
    }
};

}  // namespace gc::app
