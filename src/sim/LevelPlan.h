#pragma once
// The level plan: what a given input does at every stage of one channel, computed from the
// channel's register settings in closed form (no simulation). Levels are amplitudes relative to
// the stage's full scale in dBFS: a tone's amplitude, a noise's power as the tone of equal power.
#include <string>
#include <vector>

#include "sim/ChannelModel.h"

namespace gc::sim {

struct LevelInput {
    enum class Kind { Tone, Noise };
    Kind kind{Kind::Tone};
    double levelDbfs{-6.0};   // real tone amplitude, or noise power as that of a real tone
    double toneHz{0.0};       // the tone's frequency at the input
    double noiseBandHz{0.0};  // noise spread evenly over this band centred on the NCO frequency
};

// Noise peaks are taken at this many standard deviations of I or Q.
inline constexpr double kNoiseCrestSigma = 4.0;

struct StageLevel {
    std::string stage;  // the model's stage names
    int wordBits{0};
    double rateHz{0.0};         // the stage's output rate
    double signalDbfs{0.0};     // the wanted part: the tone, or the noise inside the output band
    double outOfBandDbfs{0.0};  // what is still there of the rest (images, noise outside)
    double peakDbfs{0.0};       // largest |I| or |Q| to expect
    double headroomDb{0.0};     // -peakDbfs: how far the stage is from clipping
    double clipInputDbfs{0.0};  // the input level at which the stage starts to clip
    double noiseDbfs{0.0};      // the rounding noise this stage adds at its output (-inf: none)
    double noiseAtOutputDbfs{0.0};  // the same noise as it reaches the channel output
};

// One factor of the whole-channel gain equation.
struct GainFactor {
    std::string name;
    std::string formula;  // with the register values put in
    double value{0.0};
};

struct LevelPlan {
    std::vector<StageLevel> stages;  // input, mixer, cic, coarse, cfir, pfir, fine gain,
                                     // resampler, output
    std::vector<GainFactor> gain;    // the whole-channel gain equation, factor by factor
    double totalGain{0.0};           // complex output amplitude / real input tone amplitude
    double totalGainDb{0.0};
    std::string firstClipStage;  // the stage that clips at the lowest input level
    double firstClipInputDbfs{0.0};
    bool clips{false};              // the given input already clips a stage
    double outputFrequencyHz{0.0};  // where the tone lands in the output (signed)
    double outputSignalDbfs{0.0};
    double outputNoiseDbfs{0.0};  // all rounding noise at the output
    double outputSnrDb{0.0};
    double inputRateHz{0.0};
    double outputRateHz{0.0};
    double ncoFrequencyHz{0.0};
};

// The plan for one channel's settings (decodeChannelSetup) and the model's assumptions.
[[nodiscard]] LevelPlan computeLevelPlan(const ChannelSetup& setup, const ModelParameters& p,
                                         const LevelInput& input);

}  // namespace gc::sim
