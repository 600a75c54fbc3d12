#pragma once
// One DDC channel of the chip as fixed-point arithmetic, set up from the program file's
// page/register/value triples (the bytes the loader sends). The datapath and what it assumes
// where nothing public says: ../shared/DATAPATH.md; every assumption is a field of
// ModelParameters and a row of describeParameters.
//
// Stages: input word -> zero pad -> NCO x mixer -> pre-scale + CIC5 /D -> coarse gain -> CFIR /2
// -> PFIR /2 (/1 in the one-channel mode) -> fine gain -> resampler -> output rounding.
#include <complex>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace gc::sim {

enum class Rounding {
    HalfUp,    // add half an LSB, then drop the bits (the chip's rounding as assumed)
    Truncate,  // drop the bits (toward minus infinity)
};

// What the model assumes where the chip's public documents are silent, and the two values the
// program file does not carry. Defaults are the assumptions of DATAPATH.md.
struct ModelParameters {
    // Input clock in Hz: the NCO and the CIC integrators run at it. 0 takes the program file
    // header's "Clock=" line.
    double clockHz{0.0};
    // Resampler phase count NDELAY (4..64). The register image holds only NMULT; 0 takes the
    // largest power of two up to 64 whose product with NMULT fits into 512 coefficients.
    int resamplerPhases{0};
    // Input word width in bits; 0 takes the Input register's input mode (14 or 16 bits, the
    // 12-bit mantissa/exponent modes as 16 bits). Floats are rounded to it.
    int inputBits{0};
    int ncoAmplitudeBits{18};             // signed sine/cosine words of the NCO table
    int ncoTableBits{18};                 // top phase-accumulator bits that address the table
    bool ncoPhaseDither{false};           // random low phase bits added before the table look-up
    int mixerNarrowBits{16};              // mixer output without the 20-bit option
    Rounding rounding{Rounding::HalfUp};  // every rounding step of the chain
    int cicOutputBits{20};                // CIC output word; an overflow is counted above it
    int coarseOutputBits{20};             // coarse gain output word (saturating)
    int cfirOutputBits{20};               // CFIR output word, after the sum / 2^16
    int pfirOutputBits{20};               // PFIR output word, after the sum / 2^16
    int resamplerInputBits{20};           // fine gain output = resampler input word
    bool resamplerNearestPhase{true};     // nearest polyphase branch; false: the one below
    int resamplerOutputBits{24};          // resampler output word, before the output rounding
    // Output word width; 0 takes the round field of the resampler's FinalShift register
    // (0..3 = 12, 16, 20, 24 bits).
    int outputBits{0};
};

// One row of the parameter table: the field's name, its value as text, what it means.
struct ParameterRow {
    std::string name;
    std::string value;
    std::string meaning;  // in the interface language
};

// The one table of the model's assumptions (the fields of ModelParameters and the fixed
// assumptions), for the README, the command line and the windows; texts in the interface
// language.
[[nodiscard]] std::vector<ParameterRow> describeParameters(const ModelParameters& p);

// Overflows (saturations) and the largest |I| or |Q| seen at one stage's output, in dB
// relative to the stage's full scale. A stage that saw only zeros reads -inf dBFS.
struct StageStats {
    std::string stage;
    std::uint64_t overflows{0};
    double peakDbfs{0.0};
};

// The settings the model took from the registers, for reports and tests.
struct ChannelSetup {
    int channel{0};
    int outputMode{0};  // 0 four channels, 1 two, 2 one: from SplitIQ and PFIRControl
    double clockHz{0.0};
    int inputBits{16};
    int zeroCount{0};  // NZERO, 0 when zero padding is off
    std::uint32_t frequencyWord{0};
    std::uint32_t phaseWord{0};  // 16 bits
    bool mixer20Bit{true};
    int decimation{64};
    int shift{0};
    int scale{0};
    int bigScale{0};
    int coarse{0};
    std::vector<int> cfirTaps;  // 21
    std::vector<int> pfirTaps;  // 63
    int fineGain{1024};
    bool pfirDecimates{true};
    std::vector<int> resamplerTaps;  // NDELAY * NMULT, prototype order
    int resamplerPhases{64};
    int resamplerMultiplies{8};
    int finalShift{0};
    std::uint32_t ratioWord{0x4000000};  // 2^26 * input rate / output rate
    int outputBits{24};
};

// The settings one channel takes from a program file's register writes, as
// ChannelModel::fromProgramFile takes them (same checks, same exceptions), without building the
// model.
[[nodiscard]] ChannelSetup decodeChannelSetup(const std::string& programFileText, int channel,
                                              const ModelParameters& p = {});

// For tests: which loops every channel model runs, so that each set can be compared with the
// plain scalar one bit for bit. Best takes AVX-512 where the processor has it, else AVX2, else
// the scalar loops; Avx2 stops at AVX2. Not for use while models run elsewhere.
enum class VectorLoops { Scalar, Avx2, Best };
void setVectorLoopsForTesting(VectorLoops loops);
// setVectorLoopsForTesting(on ? Scalar : Best).
void setScalarReferenceForTesting(bool on);

class ChannelModel {
  public:
    // Set up from the program file's page/register/value triples (the bytes the loader sends),
    // NOT from the configuration model, so a wrong register field shows as a wrong result.
    // `channel` is the register channel 0..3 (in the two-channel output 0 or 2, in the
    // one-channel output 0). Throws std::runtime_error with a clear message for a damaged
    // program file, a channel out of range or settings the chip cannot run.
    static ChannelModel fromProgramFile(const std::string& programFileText, int channel,
                                        const ModelParameters& p = {});

    ChannelModel(ChannelModel&&) noexcept;
    ChannelModel& operator=(ChannelModel&&) noexcept;
    ~ChannelModel();

    [[nodiscard]] double inputRateHz() const;   // clock / (1 + NZERO)
    [[nodiscard]] double outputRateHz() const;  // after the resampler
    [[nodiscard]] double ncoFrequencyHz() const;
    [[nodiscard]] const ChannelSetup& setup() const;
    [[nodiscard]] const ModelParameters& parameters() const;

    // Input samples at the chip's input rate, full scale = 1.0 (a real input has imag 0);
    // appends the channel's complex output, full scale = 1.0. Keeps its state between calls, so
    // a long input can be given block by block; memory does not grow with the input length.
    void process(const std::complex<float>* in, std::size_t n,
                 std::vector<std::complex<float>>& out);

    // Stages in datapath order: input, mixer, cic, coarse, cfir, pfir, fine, resampler, output.
    [[nodiscard]] const std::vector<StageStats>& stats() const;

    // Back to the state just after set-up: filters empty, NCO at its phase word, counts zero.
    void reset();

  private:
    struct Impl;
    explicit ChannelModel(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace gc::sim
