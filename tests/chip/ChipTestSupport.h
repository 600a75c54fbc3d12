#pragma once
// The saved configuration behind the golden chip files: two-channel output mode, channels 0
// and 2 set apart, a short resampler filter, the quarter-turn odd-channel phase offset, and
// one register holding a negative value.
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "chip/RegisterImage.h"
#include "model/ConfigurationModel.h"

namespace gc::chip::test {

// A symmetric filter of odd length from its stored first half (the last entry is the centre).
template <std::size_t N, std::size_t H>
std::array<int, N> mirroredOdd(const std::array<int, H>& half) {
    std::array<int, N> taps{};
    for (std::size_t i = 0; i < H; ++i) taps[i] = half[i];
    for (std::size_t j = 0; j + H < N; ++j) taps[H + j] = half[H - 2 - j];
    return taps;
}

inline constexpr std::array<int, 11> kCfir68{12,    -93,   -62,  804,   1283, -1273,
                                             -5197, -3512, 8332, 24823, 32767};
inline constexpr std::array<int, 11> kCfirGsm{66,   300,  403,   -404,  -2037, -2656,
                                              -466, 4298, 10026, 14845, 16785};
inline constexpr std::array<int, 32> kPfirGsm{132,  182,  1,     -309,  -330,  119,   560,   343,
                                              -424, -834, -278,  696,   960,   149,   -916,  -1132,
                                              -212, 1075, 1514,  421,   -1518, -2374, -673,  2529,
                                              3817, 726,  -4796, -6888, -650,  12967, 26898, 32767};
inline constexpr std::array<int, 32> kPfir68{2,    1,    -11,  -23,   -2,    45,   43,    -48,
                                             -117, -8,   191,  155,   -189,  -375, 26,    579,
                                             358,  -601, -918, 248,   1469,  618,  -1680, -1995,
                                             1104, 3690, 845,  -5354, -5506, 6574, 24277, 32767};

inline gc::model::ConfigurationModel goldenModel() {
    gc::model::ConfigurationModel m;
    m.Chip.ModeOfDdc = 1;
    m.Chip.AsyncMode = 1;
    m.Chip.VokType = 3;
    m.Chip.Phase = {0.0f, 1.0f, 0.5f, 3.0f};
    m.Chip.InputPort = {0, 1, 3, 2};
    m.Chip.MaskChan2x = 2;  // only the pair of channels 2 and 3
    m.Work.ActiveMask = 12;
    m.Chip.NumMultiplies = 6;
    m.Chip.FinalShift = 2;
    m.Chip.CoefInterpol = {2.0f, 1.0f, 1.0f, 1.0f};
    auto& c2 = m.Channels[2];
    c2.Mix20bit = 0;
    c2.Shift = 3;
    c2.Scale = 2;
    c2.BigScale = 5;
    c2.Decimation = 100;
    c2.CoarseGain = 3;
    c2.FineGain = 2000;
    for (int k = 0; k < 4; ++k) {
        m.CfirTaps[k] = mirroredOdd<21>(k == 2 ? kCfirGsm : kCfir68);
        m.PfirTaps[k] = mirroredOdd<63>(k == 2 ? kPfir68 : kPfirGsm);
    }
    const std::array<int, 12> resamplerHalf{-419, -9,   0,    7,    50,   300,
                                            700,  1024, 1500, 1800, 2000, 2047};
    for (std::size_t i = 0; i < 12; ++i) {
        m.ResamplerTaps[i] = resamplerHalf[i];
        m.ResamplerTaps[23 - i] = resamplerHalf[i];
    }
    m.Work.ResamplerTapCount = 24;
    return m;
}

inline RegisterImage goldenImage(const gc::model::ConfigurationModel& model) {
    RegisterImage image;
    image.OddChannelPhaseOffset = 0x4000;
    image.CounterByte1 = -2;
    buildRegisterImage(model, image);
    return image;
}

inline std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline std::string goldenText(const std::string& name) {
    return readText(std::string(GC_SOURCE_DIR) + "/tests/chip/golden/" + name);
}

// A fresh folder for file tests, removed with everything in it.
class TempDir {
  public:
    explicit TempDir(const std::string& name)
        : path_(std::filesystem::temp_directory_path() /
                (name + "-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    [[nodiscard]] std::string file(const std::string& name) const {
        return path_.string() + "/" + name;
    }

  private:
    std::filesystem::path path_;
};

}  // namespace gc::chip::test
