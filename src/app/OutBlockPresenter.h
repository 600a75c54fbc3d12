#pragma once
// TOutBlock "Выходной блок": a read-only view of the output block registers, bit by bit.
#include <array>
#include <string>
#include <string_view>

#include "app/RegisterEditor.h"
#include "chip/RegisterImage.h"
#include "model/ConfigurationModel.h"

namespace gc::app {

// "OutputMode" list: OutputMode bits 5-6.
inline constexpr std::array<std::string_view, 4> kOutputModeItems{"Microprocessor", "Serial",
                                                                  "Link", "Parallel"};

struct OutBlockState {
    // TristateControl bits 0..7.
    bool CheckBox1{false};   // "Enable SCK"
    bool CheckBox2{false};   // "Enable RDY"
    bool CheckBox3{false};   // "Enable SFS"
    bool CheckBox7{false};   // "Enable P0"
    bool CheckBox8{false};   // "Enable P1"
    bool CheckBox9{false};   // "Enable P2"
    bool CheckBox10{false};  // "Enable P3"
    bool CheckBox30{false};  // "Enable P4"
    // OutputFormat bits 0..4 (bits 5-7 belong to the synchronisation window).
    bool CheckBox4{false};   // "Invert SCK"
    bool CheckBox5{false};   // "Invert RDY"
    bool CheckBox6{false};   // "Invert SFS"
    bool CheckBox34{false};  // "Enable Tags"
    bool CheckBox35{false};  // " RDY_Width"
    // OutputMode.
    bool CheckBox37{false};  // "Enable Link", bit 0
    bool CheckBox36{false};  // "Enable Nibble", bit 1
    bool CheckBox38{false};  // "Enable Parallel", bit 2
    bool CheckBox39{false};  // "Master", bit 3
    bool CheckBox40{false};  // "RealOnly", bit 4
    int ComboBox41{-1};      // "OutputMode", bits 5-6
    bool CheckBox43{false};  // "ReversIQ", bit 7
    // OutputFrameControl.
    std::string Edit15;  // "FrameLength", bits 0-5
    std::string Panel2;  // frame length plus 1
    int ComboBox43{-1};  // "SFSMode", bits 6-7
    // OutputWordSize.
    int ComboBox44{-1};  // "WordsPerFrame", bits 0-2
    std::string Panel6;  // value plus 1, then " word"
    int ComboBox45{-1};  // "BitsPerWord", bits 3-5
    std::string Panel5;  // 4 * (value plus 1), then " bit"
    int ComboBox46{-1};  // "BlockSize", bits 6-7
    std::string Panel4;  // value plus 1
    // OutputClockControl.
    int ComboBox47{-1};  // "SCKRate", bits 0-3
    std::string Panel3;  // value plus 1
    int ComboBox48{-1};  // "Serial Pin", bits 4-5
    std::string Panel1;  // value plus 1, then " pins"
    int ComboBox49{-1};  // "OutputOrder", bits 6-7
    // SerialMixControl, "Serial Stream Selection" P0..P3: bits 0-1, 2-3, 4-5, 6-7.
    int ComboBox50{-1}, ComboBox51{-1}, ComboBox52{-1}, ComboBox53{-1};
    // OutputTag[0..3], I = bits 0-3, Q = bits 4-7.
    int ComboBox54{-1}, ComboBox55{-1};  // "Output TAG A"
    int ComboBox42{-1}, ComboBox57{-1};  // "Output TAG B"
    int ComboBox56{-1}, ComboBox59{-1};  // "Output TAG C"
    int ComboBox58{-1}, ComboBox60{-1};  // "Output TAG D"
    // Miscell.
    bool CheckBox11{false};  // "Enable 4_FS", bit 0
    bool CheckBox42{false};  // "Enable SO", bit 1

    // Sets every control from the register image; the model is not read.
    void fill(const chip::RegisterImage& image, const model::ConfigurationModel& model);
};

[[nodiscard]] const EditorLayout<OutBlockState>& outBlockLayout();

}  // namespace gc::app
