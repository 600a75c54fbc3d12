#pragma once
// TFreq "Ресемплер": a read-only view of the chip-wide resampler and channel-routing fields.
#include <array>
#include <string>
#include <string_view>

#include "app/RegisterEditor.h"
#include "chip/RegisterImage.h"
#include "model/ConfigurationModel.h"

namespace gc::app {

// "Round" list: bits 4-5 of the FinalShift register field.
inline constexpr std::array<std::string_view, 4> kRoundItems{"12 bit", "16 bit", "20 bit",
                                                             "24 bit"};

struct FreqState {
    int ComboBox11{-1};      // "NumChannels": NChannels bits 0-1
    std::string Panel4;      // that value plus 1
    int ComboBox12{-1};      // "NumFilters": NChannels bits 2-3
    std::string Panel5;      // that value plus 1
    bool CheckBox19{false};  // "NoSymRes": NMultiplies bit 6
    bool CheckBox20{false};  // "Add A to B": AddTo bit 0
    bool CheckBox21{false};  // "Add B to C": AddTo bit 1
    bool CheckBox22{false};  // "Add C to D": AddTo bit 2
    bool CheckBox23{false};  // "TAG_22": FinalShift register bit 6
    int ComboBox15{-1};      // "Round": FinalShift register bits 4-5
    std::string Edit4;       // "ClockDiv": the whole ClockDivide, decimal
    std::string Panel17;     // ClockDivide plus 1
    // "FilterSelect" Ch0..Ch3: FilterSelect bits 0-1, 2-3, 4-5, 6-7.
    int ComboBox16{-1}, ComboBox17{-1}, ComboBox18{-1}, ComboBox19{-1};
    // "ChannelMap" A..D: ChannelMap bits 0-1, 2-3, 4-5, 6-7.
    int ComboBox20{-1}, ComboBox21{-1}, ComboBox22{-1}, ComboBox23{-1};
    // "RatioMap" Ch0..Ch3: RatioMap bits 0-1, 2-3, 4-5, 6-7.
    int ComboBox24{-1}, ComboBox25{-1}, ComboBox26{-1}, ComboBox27{-1};

    // Sets every control from the register image. The model is not read; the signature is the
    // one every register block window has.
    void fill(const chip::RegisterImage& image, const model::ConfigurationModel& model);
};

[[nodiscard]] const EditorLayout<FreqState>& freqLayout();

}  // namespace gc::app
