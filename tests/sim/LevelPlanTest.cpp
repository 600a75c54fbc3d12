#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "response/Response.h"
#include "sim/ChannelModel.h"
#include "sim/LevelPlan.h"
#include "sim/SimTestSupport.h"

namespace gc::sim::test {
namespace {

const StageStats& stage(const ChannelModel& m, const std::string& name) {
    for (const auto& s : m.stats())
        if (s.stage == name) return s;
    throw std::logic_error("no stage " + name);
}

const StageLevel& planStage(const LevelPlan& plan, const std::string& name) {
    for (const auto& s : plan.stages)
        if (s.stage == name) return s;
    throw std::logic_error("no stage " + name);
}

double outputRate(const ChannelConfig& c) {
    return std::ldexp(1.0, c.mode) * c.interpolation * c.clockHz / c.decimation * 0.25;
}

// Runs a real tone through the model and measures its amplitude at the output.
double measuredToneDb(ChannelModel& model, double amplitude, double toneHz, double offsetHz,
                      std::size_t outputs) {
    const double ratio = model.inputRateHz() / model.outputRateHz();
    const std::size_t skip = 160;
    const auto n = static_cast<std::size_t>(std::ceil((outputs + skip) * ratio)) + 64;
    const auto x = tone(amplitude, toneHz, model.inputRateHz(), n);
    std::vector<std::complex<float>> y;
    model.process(x.data(), x.size(), y);
    y.resize(std::min(y.size(), outputs + skip));
    return db(toneAmplitude(y, offsetHz, model.outputRateHz(), skip));
}

// A tone swept across the output band reproduces the channel's computed response |H(F)| (the
// response arithmetic of the plots, unnormalised, times the gain factors outside the taps)
// within 0.05 dB wherever the plan's output SNR exceeds 60 dB; modes 0, 1 and 2.
TEST(LevelPlan, SweptToneFollowsTheComputedResponse) {
    for (int mode : {0, 1, 2}) {
        ChannelConfig c;
        c.mode = mode;
        c.frequencyHz = 10000000;
        c.coarse = 1;
        c.fineGain = 900;
        Built b = build(c);
        // The channel response as the main plot computes it, resampler (bypass) left out.
        b.model.Work.StageEnabled = {1, 1, 0};
        constexpr int kStretch = 8;  // point k = k * clock / 4096
        gc::response::ResponseArrays arrays;
        gc::response::ComputeChannelResponse(b.model, kStretch, arrays);

        auto model = ChannelModel::fromProgramFile(b.program, 0);
        const double fout = outputRate(c);
        ASSERT_DOUBLE_EQ(model.outputRateHz(), fout);
        const double amplitude = 0.5;
        const double factors = 0.5 * std::ldexp(1.0, 4 + 1 + 42 - 62) * 2.0 / 65536.0 / 65536.0 *
                               900.0 / 1024.0 * (131071.0 / 131072.0);
        int compared = 0;
        for (int k = 4; k < 256; k += 6) {
            const double f = k * static_cast<double>(c.clockHz) / 4096.0;
            if (f >= fout / 2.0) break;
            LevelInput in;
            in.levelDbfs = db(amplitude);
            in.toneHz = c.frequencyHz + f;
            const LevelPlan plan = computeLevelPlan(model.setup(), model.parameters(), in);
            if (plan.outputSnrDb <= 60.0) continue;
            model.reset();
            const double measured = measuredToneDb(model, amplitude, in.toneHz, f, 1024);
            const double expected = db(amplitude * factors * arrays.ChannelResponse[k]);
            EXPECT_NEAR(measured, expected, 0.05) << "mode " << mode << " point " << k;
            // The plan's output level is the same figure.
            EXPECT_NEAR(plan.outputSignalDbfs, expected, 0.01) << "mode " << mode;
            ++compared;
        }
        EXPECT_GE(compared, 5) << "mode " << mode;
    }
}

// The measured output level equals the plan within 0.1 dB, with a real resampler at ratio 1
// (only its branch 0 serves) and at interpolation 2 (all branches, the prototype's response
// over NDELAY), in modes 0, 1 and 2.
TEST(LevelPlan, MeasuredOutputLevelEqualsThePlan) {
    for (int mode : {0, 1, 2}) {
        for (float interpolation : {1.0f, 2.0f}) {
            ChannelConfig c;
            c.mode = mode;
            c.decimation = 16;
            c.shift = 4;
            c.scale = 2;
            c.bigScale = 6;  // 16^5 * 2^(4+2+36-62) = 1
            c.frequencyHz = 21000000;
            c.resampler = kRes8x64;
            c.finalShift = 2;
            c.interpolation = interpolation;
            const Built b = build(c);
            auto model = ChannelModel::fromProgramFile(b.program, 0);
            const double offset = outputRate(c) / interpolation * 0.0625;
            LevelInput in;
            in.levelDbfs = -10.0;
            in.toneHz = c.frequencyHz + offset;
            const LevelPlan plan = computeLevelPlan(model.setup(), model.parameters(), in);
            const double measured = measuredToneDb(model, std::pow(10.0, -0.5), in.toneHz,
                                                   plan.outputFrequencyHz, 2048);
            EXPECT_NEAR(measured, plan.outputSignalDbfs, 0.1)
                << "mode " << mode << " interpolation " << interpolation;
            EXPECT_NEAR(stage(model, "cic").peakDbfs, planStage(plan, "cic").peakDbfs, 0.1);
            EXPECT_NEAR(plan.outputRateHz, outputRate(c), 1e-6);
        }
    }
}

// The gain equation, factor by factor, against the numbers worked by hand: cfir_68 sums to
// 83001 and pfir_68 to 79563 (the built-in tables), D = 8 with shift 4, scale 1, bigScale 7 is
// exactly 1, the bypass resampler's 1024 x 2^(5-15) is 1.
TEST(LevelPlan, GainEquationNamesAndValuesEveryFactor) {
    ChannelConfig c;
    c.coarse = 2;
    c.fineGain = 1536;
    const Built b = build(c);
    const ChannelSetup s = decodeChannelSetup(b.program, 0);
    const LevelPlan plan = computeLevelPlan(s, {}, LevelInput{});
    ASSERT_EQ(plan.gain.size(), 9u);
    const double expected[] = {
        0.5, 1.0, 131071.0 / 131072.0, 1.0, 4.0, 83001.0 / 65536.0, 79563.0 / 65536.0, 1.5, 1.0};
    double total = 1.0;
    for (std::size_t k = 0; k < 9; ++k) {
        EXPECT_DOUBLE_EQ(plan.gain[k].value, expected[k]) << plan.gain[k].name;
        total *= expected[k];
    }
    EXPECT_EQ(plan.gain[5].formula, "83001/65536");
    EXPECT_EQ(plan.gain[3].formula, "8^5 x 2^(4+1+6x7-62)");
    EXPECT_DOUBLE_EQ(plan.totalGain, total);
}

// The stage the plan says clips first, and from which input level: 0.3 dB below it no stage
// counts an overflow, 0.3 dB above it that stage does and no stage before it. A CIC gain above
// 1 (mode 0), a coarse gain of 8 (mode 1), a fine gain near 16 (mode 2); the filters after
// them lose a little, so the stage named clips first.
TEST(LevelPlan, OverflowIsCountedExactlyWhenThePlanSaysAStageClips) {
    struct Case {
        int mode;
        int decimation;
        int coarse;
        int fineGain;
        const char* stage;
    };
    const Case cases[] = {
        {0, 10, 0, 1024, "cic"}, {1, 8, 3, 1024, "coarse"}, {2, 8, 0, 16000, "fine gain"}};
    for (const Case& k : cases) {
        ChannelConfig c;
        c.mode = k.mode;
        c.decimation = k.decimation;
        c.coarse = k.coarse;
        c.fineGain = k.fineGain;
        c.cfir = kCfir100;  // below 1 at the tone
        c.pfir = kPfir100;  // tap sum 60221: a gain below 1
        c.frequencyHz = 10000000;
        const Built b = build(c);
        auto model = ChannelModel::fromProgramFile(b.program, 0);
        LevelInput in;
        in.toneHz = c.frequencyHz + outputRate(c) * 0.05;
        const LevelPlan plan = computeLevelPlan(model.setup(), model.parameters(), in);
        EXPECT_EQ(plan.firstClipStage, k.stage);
        for (double delta : {-0.3, 0.3}) {
            model.reset();
            const double level = plan.firstClipInputDbfs + delta;
            const auto x =
                tone(std::pow(10.0, level / 20.0), in.toneHz, model.inputRateHz(), 200000);
            std::vector<std::complex<float>> y;
            model.process(x.data(), x.size(), y);
            bool earlier = true;
            for (const auto& st : model.stats()) {
                if (st.stage == k.stage) {
                    if (delta < 0)
                        EXPECT_EQ(st.overflows, 0u) << k.stage;
                    else
                        EXPECT_GT(st.overflows, 0u) << k.stage;
                    earlier = false;
                } else if (earlier || delta < 0) {
                    EXPECT_EQ(st.overflows, 0u) << st.stage << " with " << k.stage;
                }
            }
        }
    }
}

// A noise over a band: the output power the plan expects, within 0.3 dB of a long run.
TEST(LevelPlan, NoiseLevelAtTheOutputMatchesTheModel) {
    ChannelConfig c;
    c.frequencyHz = 10000000;
    const Built b = build(c);
    auto model = ChannelModel::fromProgramFile(b.program, 0);
    LevelInput in;
    in.kind = LevelInput::Kind::Noise;
    in.levelDbfs = -20.0;
    in.noiseBandHz = 10000000.0;
    const LevelPlan plan = computeLevelPlan(model.setup(), model.parameters(), in);
    // Lines of random phase across the band, each of equal power: the same noise as the plan.
    const int lines = 128;
    const double lo = c.frequencyHz - in.noiseBandHz / 2.0;
    std::vector<std::complex<float>> x(120000);
    std::uint32_t seed = 12345;
    const double amplitude = std::pow(10.0, in.levelDbfs / 20.0) / std::sqrt(lines);
    std::vector<double> sum(x.size(), 0.0);
    for (int l = 0; l < lines; ++l) {
        seed = seed * 1664525u + 1013904223u;
        const double phase = 6.283185307179586 * (seed >> 8) / 16777216.0;
        const double w = 6.283185307179586 * (lo + in.noiseBandHz * (l + 0.37) / lines) / 1e8;
        for (std::size_t n = 0; n < x.size(); ++n)
            sum[n] += amplitude * std::cos(w * static_cast<double>(n) + phase);
    }
    for (std::size_t n = 0; n < x.size(); ++n) x[n] = {static_cast<float>(sum[n]), 0.0f};
    std::vector<std::complex<float>> y;
    model.process(x.data(), x.size(), y);
    double power = 0.0;
    for (std::size_t n = 200; n < y.size(); ++n) power += std::norm(std::complex<double>(y[n]));
    power /= static_cast<double>(y.size() - 200);
    const StageLevel& out = planStage(plan, "output");
    const double planned = 10.0 * std::log10(std::pow(10.0, out.signalDbfs / 10.0) +
                                             std::pow(10.0, out.outOfBandDbfs / 10.0));
    EXPECT_NEAR(10.0 * std::log10(power), planned, 0.3);
}

}  // namespace
}  // namespace gc::sim::test
