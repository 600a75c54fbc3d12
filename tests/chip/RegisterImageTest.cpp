#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "chip/ChipTestSupport.h"
#include "chip/RegisterImage.h"
#include "model/ConfigurationModel.h"

namespace gc::chip {
namespace {

using gc::model::ConfigurationModel;

TEST(RegisterImage, InitialContentsAndEquality) {
    const RegisterImage image;
    EXPECT_EQ(image.Channels[0].Phase, 0xffff);
    EXPECT_EQ(image.Channels[0].Frequency, 0x7fffffff);
    EXPECT_EQ(image.Channels[0].ChannelReset, 0x0c);
    for (int k = 1; k < 4; ++k) {
        EXPECT_EQ(image.Channels[k].Phase, 0x11);
        EXPECT_EQ(image.Channels[k].Frequency, 0x12);
        EXPECT_EQ(image.Channels[k].ChannelReset, 0x8c);
    }
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(image.Channels[k].Input, k);
        EXPECT_EQ(image.Channels[k].CFIR, test::kCfir68);
        EXPECT_EQ(image.Channels[k].PFIR, test::kPfirGsm);
        EXPECT_EQ(image.Channels[k].DecimationRatio, 0x703f);
    }
    EXPECT_EQ(image.ResamplerCoeff, (std::array<int, 256>{}));
    // Equality sees the derived words too.
    EXPECT_EQ(image, RegisterImage{});
    RegisterImage other;
    other.PhaseWord[1] = 1;
    EXPECT_NE(other, image);
}

TEST(BuildRegisterImage, SourceChannelFollowsOutputMode) {
    ConfigurationModel model;
    for (int k = 0; k < 4; ++k) {
        model.Channels[k].Decimation = 10 + k;
        model.Channels[k].FineGain = 100 + k;
        model.CfirTaps[k].fill(k + 1);
        model.PfirTaps[k].fill(-(k + 1));
    }
    model.Chip.Phase = {0.0f, 1.0f, 0.0f, 1.0f};

    model.Work.ActiveMask = 0xf;
    RegisterImage image;
    buildRegisterImage(model, image);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(image.Channels[k].DecimationRatio & 0xfff, 9 + k);
        EXPECT_EQ(image.Channels[k].PFIR[31], -(k + 1));
    }

    // Two channels: register channels 0, 1 from channel 0; 2, 3 from channel 2.
    model.Chip.ModeOfDdc = 1;
    model.Work.ActiveMask = 0x3;
    buildRegisterImage(model, image);
    const int fromPair[4] = {0, 0, 2, 2};
    for (int k = 0; k < 4; ++k) {
        const int s = fromPair[k];
        EXPECT_EQ(image.Channels[k].Frequency, model.Chip.Fc[s]);
        EXPECT_EQ(image.Channels[k].FineGain, 100 + s);
        EXPECT_EQ(image.Channels[k].Input & 7, s);
        EXPECT_EQ(image.Channels[k].PFIR[0], -(s + 1));
        // The reset bit follows the register channel's own mask bit.
        EXPECT_EQ(image.Channels[k].ChannelReset & 0x80, k < 2 ? 0 : 0x80);
    }
    EXPECT_EQ(image.FrequencyWord[1], image.FrequencyWord[0]);
    EXPECT_NE(image.FrequencyWord[2], image.FrequencyWord[0]);
    // The phase is the register channel's own in every mode.
    EXPECT_EQ(image.PhaseWord[0], 0u);
    EXPECT_EQ(image.PhaseWord[1], 10430u);

    // One channel: everything from channel 0, only the mask decides the reset bits.
    model.Chip.ModeOfDdc = 2;
    model.Work.ActiveMask = 0x5;
    buildRegisterImage(model, image);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(image.Channels[k].Frequency, model.Chip.Fc[0]);
        EXPECT_EQ(image.Channels[k].CFIR[3], 1);
        EXPECT_EQ(image.Channels[k].DecimationRatio & 0xfff, 9);
        EXPECT_EQ(image.Channels[k].ChannelReset & 0x80, (k % 2 == 0) ? 0 : 0x80);
    }

    // An unknown mode leaves the channel registers and the NCO words alone, but still loads
    // the resampler.
    const RegisterImage before = image;
    model.Chip.ModeOfDdc = 3;
    model.Chip.Phase = {2.0f, 2.0f, 2.0f, 2.0f};
    model.Chip.Fc = {1, 2, 3, 4};
    model.Chip.FinalShift = 9;
    buildRegisterImage(model, image);
    RegisterImage expected = before;
    expected.FinalShift = (before.FinalShift & ~0xf) | 9;
    EXPECT_EQ(image, expected);
}

TEST(BuildRegisterImage, FieldUpdatesKeepTheOtherBits) {
    ConfigurationModel model;
    model.Work.ActiveMask = 0xe;  // channel 0 held in reset
    auto& c = model.Channels[0];
    c.Mix20bit = 0;
    c.Scale = 3;
    c.BigScale = 6;
    c.Shift = 5;
    c.CoarseGain = 7;
    c.Decimation = 64;
    model.Chip.InputPort[0] = 2;
    model.Chip.NumMultiplies = 64;
    model.Chip.FinalShift = 15;

    RegisterImage image;
    auto& r = image.Channels[0];
    r.CICScale = 0x80 | 0x40;         // bit 7 is not the build's
    r.ChannelReset = 0x78;            // bits 3-6 are not the build's
    r.CFIRControl = 0x8f;             // bits 0-3 and 7 are not the build's
    r.Input = 0xf8;                   // bits 3-7 are not the build's
    image.NMultiplies = 0x40 | 0x80;  // the bypass bit and bit 7 stay
    image.FinalShift = 0x30;
    buildRegisterImage(model, image);

    EXPECT_EQ(r.CICScale, 0x80 | (6 << 3) | 3);
    EXPECT_EQ(r.ChannelReset, 0x80 | 0x78 | 5);
    EXPECT_EQ(r.CFIRControl, 0x8f | 0x70);
    EXPECT_EQ(r.Input, 0xf8 | 2);
    EXPECT_EQ(r.DecimationRatio, 0x703f);  // 64 - 1 under the initial 0x7000
    EXPECT_EQ(image.NMultiplies, 0xc0 | 63);
    EXPECT_EQ(image.FinalShift, 0x3f);
    EXPECT_EQ(r.FineGain, 1024);  // the whole field

    // Values wider than their field are cut to it; the neighbours stay.
    c.Decimation = 0x2001;  // 0x2000 in bits 0-11 is 0
    c.Scale = 9;            // 0b1001 -> 1
    buildRegisterImage(model, image);
    EXPECT_EQ(r.DecimationRatio, 0x7000);
    EXPECT_EQ(r.CICScale & 0x7, 1);
    EXPECT_EQ(r.CICScale & 0x38, 6 << 3);
}

TEST(BuildRegisterImage, NcoWords) {
    ConfigurationModel model;
    RegisterImage image;
    model.Chip.Clock = 100000000;
    model.Chip.Fc = {100000000, 25000000, 0, 10000000};
    model.Chip.Phase = {0.0f, 1.0f, 6.2831853f, 3.14159265f};
    buildRegisterImage(model, image);
    EXPECT_EQ(image.FrequencyWord[0], 0u);  // 2^32, low 32 bits
    EXPECT_EQ(image.FrequencyWord[1], 0x40000000u);
    EXPECT_EQ(image.FrequencyWord[2], 0u);
    EXPECT_EQ(image.FrequencyWord[3], 429496729u);  // 429496729.6 truncated
    EXPECT_EQ(image.PhaseWord[0], 0u);
    EXPECT_EQ(image.PhaseWord[1], 10430u);
    // The float nearest 6.2831853 lies a little above it, and the factor is 1 / 6.2831853:
    // a full turn comes out as 65536, which the 16-bit phase register sees as 0.
    EXPECT_EQ(image.PhaseWord[2], 65536u);
    EXPECT_EQ(image.PhaseWord[3], 32768u);

    // Exact where a double quotient would round up to the next integer:
    // 2^32 * 1 / 2147483647 = 2.000000000931...; and 2^32 * 2147483646 / 2147483647 just
    // below 2^32 - 1.
    model.Chip.Clock = 2147483647;
    model.Chip.Fc = {1, 2147483646, -1, 2147483647};
    buildRegisterImage(model, image);
    EXPECT_EQ(image.FrequencyWord[0], 2u);
    EXPECT_EQ(image.FrequencyWord[1], 0xfffffffdu);
    EXPECT_EQ(image.FrequencyWord[2], 0xfffffffeu);  // -2 as a 32-bit pattern
    EXPECT_EQ(image.FrequencyWord[3], 0u);

    // A clock of 0 and the extreme quotients give defined words.
    model.Chip.Clock = 0;
    buildRegisterImage(model, image);
    EXPECT_EQ(image.FrequencyWord, (std::array<std::uint32_t, 4>{}));
    model.Chip.Clock = -1;
    model.Chip.Fc = {INT_MIN, INT_MAX, 1, 0};
    model.Chip.Phase = {-1.0f, std::numeric_limits<float>::quiet_NaN(), 1e30f, -1e30f};
    buildRegisterImage(model, image);
    EXPECT_EQ(image.FrequencyWord[0], 0u);  // 2^63: low bits 0
    EXPECT_EQ(image.FrequencyWord[1], 0u);
    EXPECT_EQ(image.FrequencyWord[2], 0u);
    EXPECT_EQ(image.PhaseWord[0], static_cast<std::uint32_t>(-10430));
    EXPECT_EQ(image.PhaseWord[1], 0u);
    EXPECT_EQ(image.PhaseWord[2], 0x7fffffffu);
    EXPECT_EQ(image.PhaseWord[3], 0x80000000u);
}

TEST(BuildRegisterImage, ResamplerPart) {
    ConfigurationModel model;
    for (int i = 0; i < 512; ++i) model.ResamplerTaps[i] = i + 1;
    model.Work.ResamplerTapCount = 7;
    RegisterImage image;
    image.ResamplerCoeff.fill(-5);
    buildRegisterImage(model, image);
    EXPECT_EQ(image.ResamplerCoeff[0], 1);
    EXPECT_EQ(image.ResamplerCoeff[2], 3);
    for (int i = 3; i < 256; ++i) EXPECT_EQ(image.ResamplerCoeff[i], 0) << i;

    model.Work.ResamplerTapCount = 512;
    buildRegisterImage(model, image);
    EXPECT_EQ(image.ResamplerCoeff[255], 256);
    model.Work.ResamplerTapCount = 100000;  // never past the 256 registers
    buildRegisterImage(model, image);
    EXPECT_EQ(image.ResamplerCoeff[255], 256);
    model.Work.ResamplerTapCount = -8;
    buildRegisterImage(model, image);
    EXPECT_EQ(image.ResamplerCoeff[0], 0);

    const auto ratioFor = [&](float interpolation) {
        model.Chip.CoefInterpol[0] = interpolation;
        model.Chip.CoefInterpol[1] = 4.0f;  // never used
        buildRegisterImage(model, image);
        EXPECT_EQ(image.ResamplerRatio[1], image.ResamplerRatio[0]);
        EXPECT_EQ(image.ResamplerRatio[3], image.ResamplerRatio[0]);
        return image.ResamplerRatio[0];
    };
    EXPECT_EQ(ratioFor(1.0f), 0x4000000);
    EXPECT_EQ(ratioFor(0.5f), 0x8000000);
    EXPECT_EQ(ratioFor(64.0f), 0x100000);
    EXPECT_EQ(ratioFor(3.0f), 22369621);        // 22369621.33 truncated, not rounded up in float
    EXPECT_EQ(ratioFor(0.03125f), 0x7fffffff);  // 2^31 is clamped
    EXPECT_EQ(ratioFor(0.0f), 0x7fffffff);
    EXPECT_EQ(ratioFor(-2.0f), -0x2000000);
    EXPECT_EQ(ratioFor(std::numeric_limits<float>::quiet_NaN()), 0);
}

}  // namespace
}  // namespace gc::chip
