#pragma once
// TSync "Синхронизация": a read-only view of the 3-bit synchronisation source selectors, nine
// per channel and three chip-wide.
#include <array>
#include <string_view>

#include "app/RegisterEditor.h"
#include "chip/RegisterImage.h"
#include "model/ConfigurationModel.h"

namespace gc::app {

// Every selector's items; the item index is the 3-bit source value (0 and 1 both read "OFF",
// 6 and 7 both "ON").
inline constexpr std::array<std::string_view, 8> kSyncSourceItems{"OFF",      "OFF", "SIA", "SIB",
                                                                  "ONE_SHOT", "TC",  "ON",  "ON"};

// Channel ch shows its nine selectors in ComboBox(1 + 9 ch) .. ComboBox(9 + 9 ch), top to bottom:
// "ZeroPAD" Blank 4-6, "DecCounter" DecSync 0-2, "Flush" DecSync 4-6, "Gain" DecimationRatio
// 12-14, "Frequency" FrequencySync 4-6, "Phase" FrequencySync 0-2, "NCO" NCOSync 0-2, "Dither"
// NCOSync 4-6, "Peak" PeakControl 0-2. The chip-wide column: "Resampler" ComboBox37 NChannels
// 4-6, "Ratio" ComboBox38 AddTo 4-6, "OutSync" ComboBox39 OutputFormat 5-7.
struct SyncState {
    int ComboBox1{-1}, ComboBox2{-1}, ComboBox3{-1}, ComboBox4{-1}, ComboBox5{-1}, ComboBox6{-1},
        ComboBox7{-1}, ComboBox8{-1}, ComboBox9{-1};
    int ComboBox10{-1}, ComboBox11{-1}, ComboBox12{-1}, ComboBox13{-1}, ComboBox14{-1},
        ComboBox15{-1}, ComboBox16{-1}, ComboBox17{-1}, ComboBox18{-1};
    int ComboBox19{-1}, ComboBox20{-1}, ComboBox21{-1}, ComboBox22{-1}, ComboBox23{-1},
        ComboBox24{-1}, ComboBox25{-1}, ComboBox26{-1}, ComboBox27{-1};
    int ComboBox28{-1}, ComboBox29{-1}, ComboBox30{-1}, ComboBox31{-1}, ComboBox32{-1},
        ComboBox33{-1}, ComboBox34{-1}, ComboBox35{-1}, ComboBox36{-1};
    int ComboBox37{-1}, ComboBox38{-1}, ComboBox39{-1};

    // Sets all 39 selectors from the register image; the model is not read.
    void fill(const chip::RegisterImage& image, const model::ConfigurationModel& model);
};

[[nodiscard]] const EditorLayout<SyncState>& syncLayout();

}  // namespace gc::app
