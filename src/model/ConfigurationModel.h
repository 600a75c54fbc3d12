#pragma once
// The configurator's whole state: four DDC channels, the chip-wide settings, the working state
// of the main window, the derived values and the coefficient arrays in use.
#include <array>
#include <string>

namespace gc::model {

inline constexpr int kChannelCount = 4;
inline constexpr int kCfirTapCount = 21;      // full symmetric CFIR
inline constexpr int kPfirTapCount = 63;      // full symmetric PFIR
inline constexpr int kResamplerTapMax = 512;  // resampler filter length limit
inline constexpr double kTwoPi = 6.283185307179586;

// Field names are the keys of the application configuration file.
struct ChannelSettings {
    int Mix20bit{1};                         // 20-bit mixer mode, CheckBox1
    int Shift{4};                            // CIC input shift 0..7, ComboBox10
    int Scale{5};                            // CIC output scale in 1-bit steps 0..5, ComboBox2
    int BigScale{4};                         // CIC output scale in 6-bit steps 0..7, ComboBox3
    int Decimation{64};                      // CIC5 ratio 2..4096, Edit1
    int CoarseGain{0};                       // CFIR left shift 0..7, ComboBox6
    int FineGain{1024};                      // PFIR fine gain 0..16383 (1024 = unity), Edit2
    int IndexCFIR{1};                        // stored copy of CfirSelection
    int IndexPFIR{1};                        // stored copy of PfirSelection
    std::string NameOfCFIR{"cfir_68.taps"};  // bare file name, folder FILTERS
    std::string NameOfPFIR{"pfir_gsm.taps"};
};

struct ChipSettings {
    int Clock{100000000};               // input sample clock, Hz
    std::string NameOfCFG{"sinc.cfg"};  // chip configuration file, folder CONFIGS
    int CoeffInterpol{1};               // stored and restored only (written in hexadecimal)
    int NumMultiplies{8};               // resampler multiplies per output, valid 6..64
    int FinalShift{0};                  // resampler final left shift 0..15
    int IndexRFIR{1};                   // stored copy of RfirSelection
    std::string NameOfRFIR{"res_8x64_60.taps"};
    std::array<int, kChannelCount> Fc{10000000, 11000000, 12000000, 13000000};  // NCO, Hz
    std::array<int, kChannelCount> InputPort{0, 1, 2, 3};                       // ADC 0..3
    std::array<int, kChannelCount> ChannelReset{0, 0, 0, 0};                    // stored only
    int ModeOfDdc{0};  // 0 four channels, 1 two, 2 one
    std::array<float, kChannelCount> Phase{0.0f, 0.0f, 0.0f, 0.0f};  // NCO, radians
    int MaskChan1x{15};     // enabled channels, four-channel mode
    int MaskChan2x{3};      // enabled pairs, two-channel mode
    int MaskChan4x{1};      // enabled state, one-channel mode
    int AsyncMode{0};       // 0 synchronous, 1 asynchronous output
    int CombConfigPlis{0};  // combined output firmware
    int FullDebug{0};       // 347 switches the service mode on
    int VokType{0};         // module type, program file header
    std::array<float, kChannelCount> CoefInterpol{1.0f, 1.0f, 1.0f, 1.0f};  // only [0] is used
};

struct WorkingState {
    int CurrentChannel{0};
    std::array<int, kChannelCount> CfirSelection{3, 2, 3, 4};
    std::array<int, kChannelCount> PfirSelection{7, 0, 0, 0};
    int RfirSelection{3};
    int Recalculating{0};         // re-entrancy guard of recalculate
    int WorkingClock{100000000};  // copy of Clock made by each recalculation, Hz
    int CurrentDecimation{64};
    int DecimationMax{4096};
    int DecimationMin{2};
    std::array<int, 3> MinDecimationByMode{8, 4, 2};
    std::array<int, 3> StageEnabled{1, 1, 1};  // CFIR, PFIR, resampler in the channel plot
    bool ServiceMode{false};
    int SavedFullDebug{0};
    std::string ConfigFileName{};
    int ResamplerTapCount{0};
    int Ndelay{0};  // resampler phase count: 4, 8, 16, 32 or 64
    bool ResamplerLengthError{false};
    bool MultipliesError{false};
    int ActiveMask{0};
    int ActiveCount{0};
};

// Recomputed by recalculate, never stored.
struct DerivedValues {
    double CicGain{0.0};
    std::array<float, kChannelCount> CfirGain{};
    std::array<float, kChannelCount> PfirGain{};
    float ResamplerGain{0.0f};
    float CoarseFactor{0.0f};
    float FineFactor{0.0f};
    float FinalShiftFactor{0.0f};
    float TotalGain{0.0f};
    int OutputRate{0};  // Hz
    int MaxNdelay{0};
};

struct ConfigurationModel {
    std::array<ChannelSettings, kChannelCount> Channels{};
    ChipSettings Chip{};
    WorkingState Work{};
    DerivedValues Derived{};

    // Coefficient sets in use.
    std::array<std::array<int, kCfirTapCount>, kChannelCount> CfirTaps{};
    std::array<std::array<int, kPfirTapCount>, kChannelCount> PfirTaps{};
    std::array<int, kResamplerTapMax> ResamplerTaps{};

    // Buffers of the last tap files read.
    std::array<std::array<int, kCfirTapCount>, kChannelCount> CfirFileTaps{};
    std::array<std::array<int, kPfirTapCount>, kChannelCount> PfirFileTaps{};
    std::array<int, kResamplerTapMax> ResamplerFileTaps{};
    int ResamplerFileTapCount{0};

    [[nodiscard]] ChannelSettings& current() { return Channels[currentIndex()]; }
    [[nodiscard]] const ChannelSettings& current() const { return Channels[currentIndex()]; }
    // CurrentChannel bounded to 0..3 so that a stray value never indexes out of range.
    [[nodiscard]] int currentIndex() const {
        const int c = Work.CurrentChannel;
        return c < 0 ? 0 : (c >= kChannelCount ? kChannelCount - 1 : c);
    }
};

// Button13 "Применить для всех каналов": the current channel's settings, NCO, ADC input, tap
// file names, taps in use, file buffers and table selections onto all four channels.
void applyToAllChannels(ConfigurationModel& model);

}  // namespace gc::model
