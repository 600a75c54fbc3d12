#pragma once
// The three filter kinds of the main window (CFIR, PFIR, resampler) described once: the
// controls of each, its stage window, its library size and its stage flag. The presenter runs one
// handler per event for all three; where the kinds differ, the difference is a field here.
#include <array>

#include "app/MainState.h"
#include "app/UiPort.h"
#include "filters/FilterTables.h"

namespace gc::app {

enum class FilterKind { Cfir = 0, Pfir = 1, Resampler = 2 };

struct FilterKindInfo {
    const char* title;                  // caption of its block in the main window
    RadioState MainState::*tableRadio;  // coefficients from the built-in library
    RadioState MainState::*fileRadio;   // coefficients from the last tap file read
    ComboState MainState::*list;        // the library set in use
    PanelState MainState::*name;        // the tap file name
    ButtonState MainState::*readButton;
    ButtonState MainState::*writeButton;
    Window window;                    // its stage response window
    int setCount;                     // sets in its built-in library
    ItemText setName;                 // name of library set `index`
    CheckState MainState::*stageBox;  // its box in the channel plot (hidden)
    int stage;                        // its flag in StageEnabled
    bool tableRepaints;               // choosing the library source also repaints the plot at once
};

inline constexpr std::array<FilterKindInfo, 3> kFilterKinds{{
    {"CFIR Фильтр", &MainState::TblEnbCFIR, &MainState::FileEnbCFIR, &MainState::ComboBox1,
     &MainState::Panel9, &MainState::SpeedButton1, &MainState::SpeedButton10, Window::Cfir,
     gc::filters::kCfirSetCount, &cfirSetName, &MainState::CheckBox4, 0, false},
    {"PFIR Фильтр", &MainState::TblEnbPFIR, &MainState::FileEnbPFIR, &MainState::ComboBox4,
     &MainState::Panel10, &MainState::SpeedButton2, &MainState::SpeedButton5, Window::Pfir,
     gc::filters::kPfirSetCount, &pfirSetName, &MainState::CheckBox5, 1, true},
    {"RESAMPLER Фильтр", &MainState::TblEnbRFIR, &MainState::FileEnbRFIR, &MainState::ComboBox5,
     &MainState::Panel11, &MainState::SpeedButton3, &MainState::SpeedButton6, Window::Resamp,
     gc::filters::kResamplerSetCount, &resamplerSetName, &MainState::CheckBox6, 2, true},
}};

inline constexpr std::array<FilterKind, 3> kFilterKindList{FilterKind::Cfir, FilterKind::Pfir,
                                                           FilterKind::Resampler};

[[nodiscard]] constexpr const FilterKindInfo& info(FilterKind kind) {
    return kFilterKinds[static_cast<size_t>(kind)];
}

}  // namespace gc::app
