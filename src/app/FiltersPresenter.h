#pragma once
// TFilters "Filters": edits the CFIR/PFIR control, peak detector and I/Q split bits of the four
// DDC channels. Every change of a control is written into the register image at once and the
// window is refilled from it; nothing here touches the configuration model.
#include <array>
#include <string_view>

#include "app/RegisterEditor.h"
#include "chip/RegisterImage.h"
#include "model/ConfigurationModel.h"

namespace gc::app {

// The lists end with an empty item. Choosing it stores nothing: the list's bit group keeps
// its value (and no bit outside the group is ever touched).
inline constexpr std::array<std::string_view, 5> kPeakSelectItems{"CFIR", "COARSE_GAIN", "PFIR",
                                                                  "PFIR", ""};
inline constexpr std::array<std::string_view, 5> kPeakThresholdItems{"1/4 full", "1/2 full",
                                                                     "3/4 full", "full", ""};
inline constexpr std::array<std::string_view, 17> kNegCtrlItems{
    "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15", ""};

// Per channel, in the order of the window's rows (channel 0 / 1 / 2 / 3):
//   CFIR  "NoSym"  CFIRControl bit 0   CheckBox8  / CheckBox1  / CheckBox23 / CheckBox34
//   CFIR  "Test"   CFIRControl bit 7   CheckBox11 / CheckBox4  / CheckBox26 / CheckBox37
//   CFIR  "QDelay" CFIRControl bit 1   CheckBox9  / CheckBox2  / CheckBox24 / CheckBox35
//   CFIR  "IDelay" CFIRControl bit 2   CheckBox10 / CheckBox3  / CheckBox25 / CheckBox36
//   PFIR  "NoSym"  PFIRControl bit 0   CheckBox12 / CheckBox5  / CheckBox27 / CheckBox38
//   PFIR  "QDelay" PFIRControl bit 1   CheckBox13 / CheckBox6  / CheckBox28 / CheckBox39
//   PFIR  "IDelay" PFIRControl bit 2   CheckBox14 / CheckBox7  / CheckBox29 / CheckBox40
//   "PeakMode"       PeakControl bit 5       CheckBox15 / CheckBox19 / CheckBox30 / CheckBox41
//   "PeakSelect"     PFIRControl bits 3-4    ComboBox8  / ComboBox1  / ComboBox4  / ComboBox7
//   "PeakThreshold"  PeakControl bits 3-4    ComboBox9  / ComboBox2  / ComboBox5  / ComboBox11
//   "Ionly"    SplitIQ bit 5             CheckBox16 / CheckBox20 / CheckBox31 / CheckBox42
//   "Qonly"    SplitIQ bit 6             CheckBox17 / CheckBox21 / CheckBox32 / CheckBox43
//   "SplitIQ"  SplitIQ bit 4             CheckBox18 / CheckBox22 / CheckBox33 / CheckBox44
//   "NEG_CTRL" SplitIQ bits 0-3          ComboBox10 / ComboBox3  / ComboBox6  / ComboBox12
struct FiltersState {
    bool CheckBox1{false}, CheckBox2{false}, CheckBox3{false}, CheckBox4{false}, CheckBox5{false},
        CheckBox6{false}, CheckBox7{false}, CheckBox8{false}, CheckBox9{false}, CheckBox10{false},
        CheckBox11{false}, CheckBox12{false}, CheckBox13{false}, CheckBox14{false},
        CheckBox15{false}, CheckBox16{false}, CheckBox17{false}, CheckBox18{false},
        CheckBox19{false}, CheckBox20{false}, CheckBox21{false}, CheckBox22{false},
        CheckBox23{false}, CheckBox24{false}, CheckBox25{false}, CheckBox26{false},
        CheckBox27{false}, CheckBox28{false}, CheckBox29{false}, CheckBox30{false},
        CheckBox31{false}, CheckBox32{false}, CheckBox33{false}, CheckBox34{false},
        CheckBox35{false}, CheckBox36{false}, CheckBox37{false}, CheckBox38{false},
        CheckBox39{false}, CheckBox40{false}, CheckBox41{false}, CheckBox42{false},
        CheckBox43{false}, CheckBox44{false};
    int ComboBox1{-1}, ComboBox2{-1}, ComboBox3{-1}, ComboBox4{-1}, ComboBox5{-1}, ComboBox6{-1},
        ComboBox7{-1}, ComboBox8{-1}, ComboBox9{-1}, ComboBox10{-1}, ComboBox11{-1}, ComboBox12{-1};

    // Sets every control from the register image, channels 0 to 3; the model is not read.
    void fill(const chip::RegisterImage& image, const model::ConfigurationModel& model);
};

[[nodiscard]] const EditorLayout<FiltersState>& filtersLayout();

class FiltersPresenter {
  public:
    FiltersPresenter(chip::RegisterImage& image, const model::ConfigurationModel& model)
        : image_(image), model_(model) {}

    // Show and refresh: every control from the register image.
    void fill() { state_.fill(image_, model_); }

    [[nodiscard]] const FiltersState& state() const { return state_; }
    // The Qt layer copies what the user ticked or picked here before calling the handler.
    [[nodiscard]] FiltersState& state() { return state_; }

    // The change handler shared by every control: writes the named control's value from the
    // state into its own bits of the register image (no other bit changes) and refills the
    // window. Returns false, changing nothing, for a name that is no control of this window.
    bool onControlChanged(std::string_view controlName);

    // A user's tick or pick: stores it in the state and runs the change handler. False when the
    // name is not a check box (list) of this window.
    bool onCheckBoxClick(std::string_view controlName, bool checked);
    bool onComboBoxChange(std::string_view controlName, int itemIndex);

  private:
    chip::RegisterImage& image_;
    const model::ConfigurationModel& model_;
    FiltersState state_;
};

}  // namespace gc::app
