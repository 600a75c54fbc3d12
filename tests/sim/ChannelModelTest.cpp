#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "sim/ChannelModel.h"
#include "sim/SimTestSupport.h"

namespace gc::sim::test {
namespace {

const StageStats& stage(const ChannelModel& m, const std::string& name) {
    for (const auto& s : m.stats())
        if (s.stage == name) return s;
    throw std::logic_error("no stage " + name);
}

// D = 8, shift 4, scale 1, bigScale 7: 8^5 * 2^(4 + 1 + 42 - 62) = 2^15 * 2^-15 = 1, so a DC
// input at -6 dBFS leaves the CIC at -6 dBFS. In every output mode.
TEST(ChannelModel, UnityCicPassesDcAtItsLevel) {
    for (int mode : {0, 1, 2}) {
        ChannelConfig c;
        c.mode = mode;
        const Built b = build(c);
        auto model = ChannelModel::fromProgramFile(b.program, 0);
        EXPECT_EQ(model.setup().outputMode, mode);
        const double a = std::pow(10.0, -6.0 / 20.0);
        const std::vector<std::complex<float>> x(4096, {static_cast<float>(a), 0.0f});
        std::vector<std::complex<float>> y;
        model.process(x.data(), x.size(), y);
        EXPECT_NEAR(stage(model, "cic").peakDbfs, -6.0, 0.001) << "mode " << mode;
        EXPECT_EQ(stage(model, "cic").overflows, 0u);
        ASSERT_FALSE(y.empty());
        // cfir_68 and pfir_68 (tap sums 83001 and 79563), bypass resampler: the DC reaches
        // the output at -6 dBFS times the two tap sums / 65536.
        const double expected = db(a) + db(83001.0 / 65536.0) + db(79563.0 / 65536.0);
        EXPECT_NEAR(db(std::abs(y.back())), expected, 0.001) << "mode " << mode;
    }
}

}  // namespace
}  // namespace gc::sim::test

namespace gc::sim::test {
namespace {

// The bypass resampler (h0 = 1024, no symmetry, final shift 5, ratio 2^26) passes its input
// through: as many outputs as PFIR outputs, the resampler's peak that of its input, and every
// 24-bit output word the 20-bit input word shifted up (a multiple of 2^-19 of full scale).
// A narrow CIC word after the smallest pre-scale (shift, scale and bigScale 0, D = 8) asks for
// a right shift of 62 + 20 - 8 = 74 bits, wider than the 64-bit comb word: every comb output
// rounds to 0 (half up), or to -1 for a negative word when truncating, in every mode and on both
// the vector and the plain loops.
TEST(ChannelModel, PreScaleWiderThanTheCombWordGivesTheExactQuotient) {
    for (int mode : {0, 1, 2}) {
        ChannelConfig c;
        c.mode = mode;
        c.shift = 0;
        c.scale = 0;
        c.bigScale = 0;
        const Built b = build(c);
        for (bool scalar : {false, true}) {
            setScalarReferenceForTesting(scalar);
            for (Rounding rounding : {Rounding::HalfUp, Rounding::Truncate}) {
                ModelParameters p;
                p.cicOutputBits = 8;
                p.rounding = rounding;
                auto model = ChannelModel::fromProgramFile(b.program, 0, p);
                const std::vector<std::complex<float>> x(4096, {-0.9f, 0.0f});
                std::vector<std::complex<float>> y;
                model.process(x.data(), x.size(), y);
                const StageStats& cic = stage(model, "cic");
                EXPECT_EQ(cic.overflows, 0u) << "mode " << mode;
                // The largest CIC word: 0 when rounding half up, -1 (one LSB of an 8-bit word,
                // -42.1 dBFS) when truncating.
                if (rounding == Rounding::HalfUp) {
                    EXPECT_TRUE(std::isinf(cic.peakDbfs) && cic.peakDbfs < 0)
                        << "mode " << mode << " scalar " << scalar << ": " << cic.peakDbfs;
                } else {
                    EXPECT_NEAR(cic.peakDbfs, 20.0 * std::log10(1.0 / 128.0), 0.01)
                        << "mode " << mode << " scalar " << scalar;
                }
            }
        }
        setScalarReferenceForTesting(false);
    }
}

TEST(ChannelModel, BypassResamplerPassesTheSignalThrough) {
    for (int mode : {0, 1, 2}) {
        ChannelConfig c;
        c.mode = mode;
        c.frequencyHz = 5000000;
        const Built b = build(c);
        auto model = ChannelModel::fromProgramFile(b.program, 0);
        EXPECT_EQ(model.setup().outputBits, 24);
        const auto x = tone(0.3, 5100000.0, 1e8, 32768);
        std::vector<std::complex<float>> y;
        model.process(x.data(), x.size(), y);
        // Mode 0: 32768 / (8 * 2 * 2); modes 1 and 2 interleave two CICs, mode 2 keeps the
        // PFIR rate.
        const std::size_t expected[] = {1024, 2048, 4096};
        EXPECT_EQ(y.size(), expected[mode]) << "mode " << mode;
        EXPECT_DOUBLE_EQ(stage(model, "resampler").peakDbfs, stage(model, "fine gain").peakDbfs);
        for (const auto& v : y) {
            const double i = std::ldexp(static_cast<double>(v.real()), 19);
            const double q = std::ldexp(static_cast<double>(v.imag()), 19);
            ASSERT_EQ(i, std::floor(i));
            ASSERT_EQ(q, std::floor(q));
        }
    }
}

// The model takes its settings from the register writes: the decoded settings are those of the
// configuration, the tap sums of the built-in tables arrive through the coefficient bytes, and
// one changed byte changes the result by what that field means.
TEST(ChannelModel, RegisterWritesDecideTheResult) {
    ChannelConfig c;
    c.mode = 1;
    c.decimation = 12;
    c.shift = 5;
    c.scale = 3;
    c.bigScale = 6;
    c.coarse = 2;
    c.fineGain = 777;
    c.frequencyHz = 12345678;
    c.resampler = kRes8x64;
    c.finalShift = 3;
    Built b = build(c);
    const ChannelSetup s = decodeChannelSetup(b.program, 2);
    EXPECT_EQ(s.outputMode, 1);
    EXPECT_EQ(s.decimation, 12);
    EXPECT_EQ(s.shift, 5);
    EXPECT_EQ(s.scale, 3);
    EXPECT_EQ(s.bigScale, 6);
    EXPECT_EQ(s.coarse, 2);
    EXPECT_EQ(s.fineGain, 777);
    EXPECT_EQ(s.finalShift, 3);
    EXPECT_EQ(s.resamplerMultiplies, 8);
    EXPECT_EQ(s.resamplerPhases, 64);
    EXPECT_EQ(s.frequencyWord, static_cast<std::uint32_t>(12345678LL * 4294967296LL / 100000000));
    EXPECT_DOUBLE_EQ(s.clockHz, 1e8);
    // Resampler prototype: the stored half mirrored, the even-length way.
    ASSERT_EQ(s.resamplerTaps.size(), 512u);
    EXPECT_EQ(s.resamplerTaps[255], s.resamplerTaps[256]);
    EXPECT_EQ(s.resamplerTaps[0], s.resamplerTaps[511]);

    // Tap sums of the built-in sets, through the coefficient bytes: cfir_68 83001; pfir_17,
    // 34, 68, 80, 100: 204881, 146605, 79563, 75329, 60221.
    const int pfirSets[] = {1, 2, 3, 4, 5};
    const int pfirSums[] = {204881, 146605, 79563, 75329, 60221};
    for (int k = 0; k < 5; ++k) {
        ChannelConfig p;
        p.pfir = pfirSets[k];
        const ChannelSetup d = decodeChannelSetup(build(p).program, 0);
        int cfirSum = 0, pfirSum = 0;
        for (int t : d.cfirTaps) cfirSum += t;
        for (int t : d.pfirTaps) pfirSum += t;
        EXPECT_EQ(cfirSum, 83001);
        EXPECT_EQ(pfirSum, pfirSums[k]);
    }

    // CICScale of channel 0 (page 7, register 23) one scale step down: the CIC output falls
    // by 6.02 dB; the fine gain's high byte (register 31) cleared: 777 = 0x309 becomes 9.
    ChannelConfig u;
    const Built unity = build(u);
    const double a = 0.25;
    const std::vector<std::complex<float>> dc(4096, {static_cast<float>(a), 0.0f});
    auto run = [&](const std::string& program) {
        auto model = ChannelModel::fromProgramFile(program, 0);
        std::vector<std::complex<float>> y;
        model.process(dc.data(), dc.size(), y);
        return std::make_pair(stage(model, "cic").peakDbfs, std::abs(y.back()));
    };
    const auto right = run(unity.program);
    const int cicScale = unity.image.Channels[0].CICScale;
    const auto wrong = run(withWrite(unity.program, 7, 23, cicScale - 1));
    EXPECT_NEAR(right.first - wrong.first, 6.0206, 0.001);
    EXPECT_NEAR(right.first, db(a), 0.001);
    ChannelConfig f = u;
    f.fineGain = 777;
    const Built fine = build(f);
    const auto full = run(fine.program);
    const auto cut = run(withWrite(fine.program, 7, 31, 0));
    EXPECT_NEAR(cut.second / full.second, 9.0 / 777.0, 1e-4);  // 777 = 0x309
}

// Damaged program files and impossible settings are refused with a message naming the cause.
TEST(ChannelModel, RefusesWhatItCannotRun) {
    ChannelConfig c;
    const Built b = build(c);
    const auto message = [](const std::string& text, int channel) {
        try {
            (void)ChannelModel::fromProgramFile(text, channel);
        } catch (const std::runtime_error& e) {
            return std::string(e.what());
        }
        return std::string("accepted");
    };
    EXPECT_EQ(message("nothing here\n", 0), "program file: no \"Page Reg Val\" line");
    const std::string damaged = b.program + "7 23\n";
    EXPECT_NE(message(damaged, 0).find("expected \"page register 0xvalue\""), std::string::npos);
    EXPECT_NE(message(withWrite(b.program, 7, 23, 0x1ff), 0).find("is not a byte"),
              std::string::npos);
    EXPECT_EQ(message(b.program, 4), "channel 4 does not exist (0..3)");
    // Without its page 7 register 30 the fine gain is unknown.
    std::string missing = b.program;
    const auto at = missing.find("\n7    30   0x");
    missing.erase(at, missing.find('\n', at + 1) - at);
    EXPECT_EQ(message(missing, 0), "program file: no write to page 7 register 30");
    // The two-channel mode models the pair by its first channel.
    ChannelConfig two;
    two.mode = 1;
    EXPECT_NE(message(build(two).program, 1).find("моделируйте канал 0"), std::string::npos);
    // A channel held in reset.
    Built off = build(c);
    off.image.Channels[3].ChannelReset |= 0x80;
    EXPECT_EQ(message(gc::chip::programFileText(off.model, off.image), 3),
              "Канал 3 удерживается в сбросе (не включён)");
    // No clock in the text and none given.
    std::string noClock = b.program;
    noClock.erase(noClock.find("Clock="),
                  noClock.find('\n', noClock.find("Clock=")) - noClock.find("Clock=") + 1);
    EXPECT_NE(message(noClock, 0).find("names no clock"), std::string::npos);
    ModelParameters p;
    p.clockHz = 80e6;
    EXPECT_DOUBLE_EQ(ChannelModel::fromProgramFile(noClock, 0, p).inputRateHz(), 80e6);
}

// Block by block or all at once, the output is the same sample for sample; reset starts over.
// A large decimation takes the 128-bit integrators and gives the same level as the small one.
TEST(ChannelModel, StreamsInBlocksAndResets) {
    for (int mode : {0, 1, 2}) {
        ChannelConfig c;
        c.mode = mode;
        c.frequencyHz = 3000000;
        c.resampler = kRes8x64;
        c.interpolation = 1.5f;
        c.finalShift = 2;
        const Built b = build(c);
        auto whole = ChannelModel::fromProgramFile(b.program, 0);
        auto pieces = ChannelModel::fromProgramFile(b.program, 0);
        const auto x = tone(0.4, 3210000.0, 1e8, 50000);
        std::vector<std::complex<float>> y1, y2;
        whole.process(x.data(), x.size(), y1);
        std::size_t at = 0;
        for (std::size_t step : {1u, 7u, 1000u, 9000u, 13u}) {
            for (; at + step <= x.size() && at < 40000; at += step)
                pieces.process(x.data() + at, step, y2);
        }
        pieces.process(x.data() + at, x.size() - at, y2);
        ASSERT_EQ(y1, y2) << "mode " << mode;
        whole.reset();
        std::vector<std::complex<float>> y3;
        whole.process(x.data(), x.size(), y3);
        EXPECT_EQ(y1, y3);
    }
    // D = 2048: 20 + 5 * 11 bits of growth exceed 64 bits. 2048^5 * 2^(7+0+0-62) = 1.
    ChannelConfig big;
    big.decimation = 2048;
    big.shift = 7;
    big.scale = 0;
    big.bigScale = 0;  // 2^55 * 2^(7-62) = 1
    auto model = ChannelModel::fromProgramFile(build(big).program, 0);
    const std::vector<std::complex<float>> dc(3 * 2048 * 4, {0.5f, 0.0f});
    std::vector<std::complex<float>> y;
    model.process(dc.data(), dc.size(), y);
    EXPECT_NEAR(stage(model, "cic").peakDbfs, db(0.5), 1e-4);
    EXPECT_EQ(stage(model, "cic").overflows, 0u);
}

// Every field of ModelParameters is a row of the one table, with its value.
TEST(ChannelModel, ParameterTableListsEveryAssumption) {
    ModelParameters p;
    p.cfirOutputBits = 22;
    p.rounding = Rounding::Truncate;
    const auto rows = describeParameters(p);
    const char* fields[] = {"clockHz",
                            "resamplerPhases",
                            "inputBits",
                            "ncoAmplitudeBits",
                            "ncoTableBits",
                            "ncoPhaseDither",
                            "mixerNarrowBits",
                            "rounding",
                            "cicOutputBits",
                            "coarseOutputBits",
                            "cfirOutputBits",
                            "pfirOutputBits",
                            "resamplerInputBits",
                            "resamplerNearestPhase",
                            "resamplerOutputBits",
                            "outputBits"};
    for (const char* f : fields) {
        const auto row = std::find_if(rows.begin(), rows.end(),
                                      [&](const ParameterRow& r) { return r.name == f; });
        ASSERT_NE(row, rows.end()) << f;
        EXPECT_FALSE(row->meaning.empty());
    }
    const auto value = [&](const std::string& name) {
        for (const auto& r : rows)
            if (r.name == name) return r.value;
        return std::string();
    };
    EXPECT_EQ(value("cfirOutputBits"), "22 бит");
    EXPECT_EQ(value("rounding"), "отбрасывание");
    EXPECT_EQ(value("ncoTableBits"), "18 бит");
}

}  // namespace
}  // namespace gc::sim::test

namespace gc::sim::test {
namespace {

// The vector loops (input words, NCO and mixer, peaks) give the very bits of the plain scalar
// ones: the same outputs and the same stage counts, for real and complex inputs, in every
// output mode, at a small and a large decimation, with saturating inputs, NaN, -0 imaginary
// parts and lengths that leave tails after the vector blocks.
TEST(ChannelModel, VectorLoopsMatchTheScalarReferenceBitForBit) {
    struct Case {
        int mode;
        int decimation, shift, scale, bigScale;
        bool complexInput;
        int mix20;  // 0: the 16-bit mixer word, shifted up by 4 into the CIC
        int coarse{0};
        int fineGain{1024};
        bool truncate{false};
        int saturatingStage{0};  // a stage after the input that must count overflows, 0: none
        int resampler{kResBypass};
        float interpolation{1.0f};
        bool belowPhase{false};  // the branch below the instant rather than the nearest
    };
    const Case cases[] = {
        {0, 8, 4, 1, 7, false, 1},
        {0, 8, 4, 1, 7, true, 0},
        {1, 8, 4, 1, 7, false, 0},
        {1, 64, 2, 0, 5, true, 1},
        {2, 8, 4, 1, 7, false, 1},
        {2, 8, 4, 1, 7, true, 0},
        {0, 256, 7, 5, 1, false, 0},
        {0, 2048, 7, 0, 0, true, 1},
        // The CIC word saturates (gain 2^15 on the 20-bit word, right shift 6 only).
        {0, 8, 7, 7, 7, false, 1, 0, 1024, false, 2},
        {1, 8, 7, 7, 7, true, 1, 0, 1024, true, 2},
        // Coarse gain x128 and fine gain x16 saturate their words; truncating rounding.
        {2, 8, 4, 1, 7, false, 1, 7, 1024, true, 3},
        {1, 8, 4, 1, 7, true, 0, 0, 16383, false, 6},
        {0, 8, 4, 1, 7, true, 1, 7, 16383, true, 3},
        // The resampler at ratios other than 1: every branch in turn, instants that fall
        // between blocks; the branch below the instant as well as the nearest.
        {0, 8, 4, 1, 7, false, 1, 0, 1024, false, 0, kRes8x64, 1.37f},
        {1, 8, 4, 1, 7, true, 1, 0, 1024, true, 0, kRes8x64, 0.73f, true},
        {2, 16, 4, 1, 6, false, 0, 0, 1024, false, 0, kRes8x64, 1.9f},
        {0, 12, 5, 3, 6, true, 1, 0, 1024, false, 0, kRes8x64, 1.0f, true},
        // A resampler word that saturates (fine gain x16 into it, final shift 5).
        {2, 8, 4, 1, 7, true, 1, 0, 16383, false, 7, kRes8x64, 1.21f}};
    for (const Case& k : cases) {
        ChannelConfig c;
        c.mode = k.mode;
        c.decimation = k.decimation;
        c.shift = k.shift;
        c.scale = k.scale;
        c.bigScale = k.bigScale;
        c.mix20 = k.mix20;
        c.coarse = k.coarse;
        c.fineGain = k.fineGain;
        c.frequencyHz = 12345678;
        c.resampler = k.resampler;
        c.interpolation = k.interpolation;
        if (k.resampler != kResBypass) c.finalShift = k.saturatingStage == 7 ? 5 : 2;
        const Built b = build(c);
        // 1.2 of full scale: the input word saturates on the peaks.
        auto x = tone(1.2, 3217000.0, 1e8, 20011);
        for (std::size_t n = 0; n < x.size(); ++n) {
            const float im =
                k.complexInput ? 0.9f * std::sin(0.37f * static_cast<float>(n)) : -0.0f;
            x[n] = {x[n].real(), im};
        }
        x[17] = {std::nanf(""), k.complexInput ? std::nanf("") : -0.0f};
        const auto run = [&](VectorLoops loops) {
            setVectorLoopsForTesting(loops);
            ModelParameters p;
            p.rounding = k.truncate ? Rounding::Truncate : Rounding::HalfUp;
            p.resamplerNearestPhase = !k.belowPhase;
            auto model = ChannelModel::fromProgramFile(b.program, 0, p);
            std::vector<std::complex<float>> y;
            model.process(x.data(), 5003, y);  // a block and a bit, then the rest
            model.process(x.data() + 5003, x.size() - 5003, y);
            setVectorLoopsForTesting(VectorLoops::Best);
            return std::make_pair(y, model.stats());
        };
        const auto [plain, plainStats] = run(VectorLoops::Scalar);
        const std::string what =
            "mode " + std::to_string(k.mode) + " D " + std::to_string(k.decimation) +
            (k.complexInput ? " complex" : " real") + " mix20 " + std::to_string(k.mix20) +
            " coarse " + std::to_string(k.coarse) + " fine " + std::to_string(k.fineGain) +
            (k.truncate ? " truncate" : "") + " resampler " + std::to_string(k.resampler) + " x" +
            std::to_string(k.interpolation) + (k.belowPhase ? " below" : "");
        ASSERT_FALSE(plain.empty()) << what;
        // The AVX2 loops, and AVX-512 ones where the processor has them.
        for (VectorLoops loops : {VectorLoops::Avx2, VectorLoops::Best}) {
            const auto [fast, fastStats] = run(loops);
            const std::string which = what + (loops == VectorLoops::Avx2 ? " avx2" : " best");
            ASSERT_EQ(fast.size(), plain.size()) << which;
            EXPECT_EQ(std::memcmp(fast.data(), plain.data(), fast.size() * sizeof fast[0]), 0)
                << which;
            ASSERT_EQ(fastStats.size(), plainStats.size());
            for (std::size_t s = 0; s < fastStats.size(); ++s) {
                EXPECT_EQ(fastStats[s].overflows, plainStats[s].overflows)
                    << which << " " << fastStats[s].stage;
                EXPECT_EQ(fastStats[s].peakDbfs, plainStats[s].peakDbfs)
                    << which << " " << fastStats[s].stage;
            }
        }
        // The saturating input shows in the input stage's count.
        EXPECT_GT(plainStats[0].overflows, 0u) << what;
        if (k.saturatingStage > 0) {
            EXPECT_GT(plainStats[static_cast<std::size_t>(k.saturatingStage)].overflows, 0u)
                << what;
        }
    }
}

}  // namespace
}  // namespace gc::sim::test
