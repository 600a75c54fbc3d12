#pragma once
// The program's copy of the GC4016 control registers: one signed 32-bit integer per register
// (16- and 32-bit quantities are split over byte registers by the program file writer).
// Field names are the keys of the chip configuration file.
#include <array>
#include <cstdint>

namespace gc::model {
struct ConfigurationModel;
}

namespace gc::chip {

// One DDC channel's registers (pages 8k .. 8k+7).
struct RegisterChannel {
    std::array<int, 11> CFIR{};  // first half and centre of the 21-tap CFIR
    std::array<int, 32> PFIR{};  // first half and centre of the 63-tap PFIR
    int Phase{0x11};             // kept in the chip configuration file only
    int Frequency{0x12};         // NCO frequency, Hz; the frequency word derives from it
    int ChannelReset{0x8c};
    int FrequencySync{0x77};
    int NCOSync{0};
    int Blank{0x20};
    int DecSync{0x22};
    int DecimationRatio{0x703f};
    int CICScale{0x64};
    int SplitIQ{0};
    int CFIRControl{0};
    int PFIRControl{0};
    int Input{0};
    int PeakControl{0x1d};
    int FineGain{0x42e};
};

struct RegisterImage {
    RegisterImage();  // the chip's initial contents (channel 0 differs from 1..3)

    // Global registers, addresses 0..7 (3 has no field).
    int GlobalReset{0xf8};
    int Status{0};
    int Page{0};
    int GeneralSyncs{0x27};
    int CountSync{0xdc};
    int CounterByte0{0};
    int CounterByte1{0};

    std::array<RegisterChannel, 4> Channels{};

    // Resampler.
    std::array<int, 256> ResamplerCoeff{};  // first half of the symmetric resampler filter
    int NChannels{0x23};
    int NMultiplies{0x07};  // bit 6 (0x40): no-symmetry bypass bit
    int FilterSelect{0};
    int FinalShift{0x34};
    int ChannelMap{0xe4};
    int AddTo{0};
    int ClockDivide{0};
    int RatioMap{0};
    std::array<int, 4> ResamplerRatio{0x4000000, 0x4000000, 0x4000000, 0x4000000};

    // Output block, page 98.
    int TristateControl{0x7f};
    int OutputFormat{0x40};
    int OutputMode{0x28};
    int OutputFrameControl{0x01};
    int OutputWordSize{0xd9};
    int OutputClockControl{0xb0};
    int SerialMixControl{0xe4};
    std::array<int, 4> OutputTag{0x10, 0x32, 0x54, 0x76};
    int Miscell{0x02};

    // Derived words, held beside the image (not in the chip configuration file).
    std::array<std::uint32_t, 4> FrequencyWord{};  // NCO tuning word
    std::array<std::uint32_t, 4> PhaseWord{};      // NCO phase offset word, 16 bits used
    int OddChannelPhaseOffset{0};                  // 0 or 0x4000, added for channels 1 and 3

    friend bool operator==(const RegisterImage& a, const RegisterImage& b);
    friend bool operator!=(const RegisterImage& a, const RegisterImage& b) { return !(a == b); }
};

inline constexpr int kNoSymmetryBit = 0x40;  // NMultiplies bit set for the one-tap bypass filter

// Fills the model-derived parts of the image and the NCO words from the model and the taps in use.
void buildRegisterImage(const gc::model::ConfigurationModel& model, RegisterImage& image);

}  // namespace gc::chip
