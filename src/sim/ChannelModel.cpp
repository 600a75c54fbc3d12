#include "sim/ChannelModel.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif
#include <limits>
#include <stdexcept>

#include "model/Language.h"
#include "sim/ProgramDecoder.h"

namespace gc::sim {

namespace {

using i64 = std::int64_t;
using u64 = std::uint64_t;
using u128 = unsigned __int128;
using i128 = __int128;

constexpr int kInputWordBits = 19;  // the chip's input word
constexpr int kCicInputBits = 20;   // mixer words enter the CIC at this width
constexpr double kTwoPi = 6.283185307179586;

enum StageIndex { kInput, kMixer, kCic, kCoarse, kCfir, kPfir, kFine, kResampler, kOutput };
constexpr std::array<const char*, 9> kStageNames{
    "input", "mixer", "cic", "coarse", "cfir", "pfir", "fine gain", "resampler", "output"};

// A signed word of `bits` bits: its limits and what it saw.
struct WordStage {
    int bits{20};
    i64 lo{0};
    i64 hi{0};
    std::uint64_t overflows{0};
    i64 peak{0};  // largest |value| after saturation
    void setBits(int b) {
        bits = b;
        hi = (i64{1} << (b - 1)) - 1;
        lo = -(i64{1} << (b - 1));
    }
    // Saturates, counting the words that did not fit, and follows the peak.
    i64 fit(i64 v) {
        const i64 w = std::clamp(v, lo, hi);
        overflows += w != v ? 1 : 0;
        const i64 a = w < 0 ? -w : w;
        peak = a > peak ? a : peak;
        return w;
    }
};

// v * 2^k with the chain's rounding when k < 0.
// v / 2^r for r > 0, rounded half up or truncated (toward minus infinity). A shift as wide as
// the word or wider (a narrow word after a small pre-scale) gives the exact quotient: 0, or -1
// or 1 where the rounding reaches it, never a shift the language leaves undefined.
template <typename S>
inline S roundShift(S v, int r, bool halfUp) {
    constexpr int kBits = static_cast<int>(sizeof(S) * 8);
    if (r >= kBits) return halfUp || v >= 0 ? S{0} : S{-1};
    if (r == kBits - 1) {
        if (!halfUp) return v >> r;
        const S quarter = S{1} << (kBits - 2);  // v / 2^r + 1/2 crosses an integer at +-2^(r-1)
        return v >= quarter ? S{1} : (v < -quarter ? S{-1} : S{0});
    }
    const S half = halfUp ? (S{1} << (r - 1)) : S{0};
    return (v + half) >> r;
}

inline i64 scaleBy(i64 v, int k, bool halfUp) {
    if (k >= 64) return 0;
    if (k >= 0) return static_cast<i64>(static_cast<u64>(v) << k);
    return roundShift<i64>(v, -k, halfUp);
}

// The CIC state: five integrators per rail at the input rate (wrapping, unsigned so that the
// wrap is defined), and per interleaved decimation phase five comb delays.
template <typename Acc>
struct CicState {
    std::array<Acc, 5> integI{};
    std::array<Acc, 5> integQ{};
    std::array<std::array<Acc, 5>, 2> combI{};
    std::array<std::array<Acc, 5>, 2> combQ{};
};

// The hot loops, compiled once more for AVX2 where the processor has it.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define GC_SIM_HOT __attribute__((target_clones("avx2", "default")))
#else
#define GC_SIM_HOT
#endif

#if defined(__x86_64__) && defined(__GNUC__)
#define GC_SIM_AVX512_TARGET __attribute__((target("avx2,avx512f,avx512vl,avx512bw,avx512dq")))
// Around the AVX-512 loops: GCC 12's AVX-512 headers start some vectors from an undefined value
// it then warns about.
#define GC_SIM_AVX512_BEGIN                                                              \
    _Pragma("GCC diagnostic push") _Pragma("GCC diagnostic ignored \"-Wuninitialized\"") \
        _Pragma("GCC diagnostic ignored \"-Wmaybe-uninitialized\"")
#define GC_SIM_AVX512_END _Pragma("GCC diagnostic pop")
#endif

// sum h[k] x[k] over n words, in full precision.
GC_SIM_HOT i64 dot(const std::int32_t* h, const std::int32_t* x, std::size_t n) {
    i64 acc = 0;
    for (std::size_t k = 0; k < n; ++k) acc += static_cast<i64>(h[k]) * x[k];
    return acc;
}

#if defined(__x86_64__) && defined(__GNUC__)
// dot over the I and the Q rail at once, four products at a time in 64 bits.
__attribute__((target("avx2"))) void dotPairAvx2(const std::int32_t* h, const std::int32_t* xI,
                                                 const std::int32_t* xQ, std::size_t n, i64& accI,
                                                 i64& accQ) {
    __m256i sumI = _mm256_setzero_si256(), sumQ = _mm256_setzero_si256();
    std::size_t k = 0;
    for (; k + 4 <= n; k += 4) {
        const __m256i t =
            _mm256_cvtepi32_epi64(_mm_loadu_si128(reinterpret_cast<const __m128i*>(h + k)));
        const __m256i a =
            _mm256_cvtepi32_epi64(_mm_loadu_si128(reinterpret_cast<const __m128i*>(xI + k)));
        const __m256i b =
            _mm256_cvtepi32_epi64(_mm_loadu_si128(reinterpret_cast<const __m128i*>(xQ + k)));
        sumI = _mm256_add_epi64(sumI, _mm256_mul_epi32(t, a));
        sumQ = _mm256_add_epi64(sumQ, _mm256_mul_epi32(t, b));
    }
    alignas(32) i64 lanes[4];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), sumI);
    i64 rI = lanes[0] + lanes[1] + lanes[2] + lanes[3];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), sumQ);
    i64 rQ = lanes[0] + lanes[1] + lanes[2] + lanes[3];
    for (; k < n; ++k) {
        rI += static_cast<i64>(h[k]) * xI[k];
        rQ += static_cast<i64>(h[k]) * xQ[k];
    }
    accI = rI;
    accQ = rQ;
}
#endif

#if defined(__x86_64__) && defined(__GNUC__)
// A FIR decimating by 2 over the I and Q rails, four outputs at a time: output j's window starts
// at 2j. A 64-bit load from word 2j + k holds word 2j + k in its low half, which is what the
// signed 32x32 multiply takes, so four lanes serve the four windows without a shuffle. Sums in 64
// bits (exact, so in any order). Reads words up to index 2(count - 1) + l; returns how many
// outputs were done, a multiple of 4, the rest is the caller's.
__attribute__((target("avx2"))) std::size_t firDecimate2Avx2(const std::int32_t* h, std::size_t l,
                                                             const std::int32_t* xI,
                                                             const std::int32_t* xQ,
                                                             std::size_t count, i64* outI,
                                                             i64* outQ, bool symmetric) {
    std::size_t j = 0;
    for (; symmetric && j + 4 <= count; j += 4) {
        // Tap k equals tap l-1-k: the two words added first (they fit 32 bits with room: every
        // word here is at most 24 bits), then one product per pair of taps.
        const std::int32_t* a = xI + 2 * j;
        const std::int32_t* b = xQ + 2 * j;
        __m256i sumI = _mm256_setzero_si256(), sumQ = _mm256_setzero_si256();
        std::size_t k = 0;
        for (; 2 * k + 1 < l; ++k) {
            const __m256i t = _mm256_set1_epi64x(h[k]);
            const std::size_t m = l - 1 - k;
            const __m256i pa =
                _mm256_add_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + k)),
                                 _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + m)));
            const __m256i pb =
                _mm256_add_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + k)),
                                 _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + m)));
            sumI = _mm256_add_epi64(sumI, _mm256_mul_epi32(t, pa));
            sumQ = _mm256_add_epi64(sumQ, _mm256_mul_epi32(t, pb));
        }
        if (2 * k + 1 == l) {
            const __m256i t = _mm256_set1_epi64x(h[k]);
            sumI = _mm256_add_epi64(
                sumI,
                _mm256_mul_epi32(t, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + k))));
            sumQ = _mm256_add_epi64(
                sumQ,
                _mm256_mul_epi32(t, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + k))));
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(outI + j), sumI);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(outQ + j), sumQ);
    }
    for (; j + 4 <= count; j += 4) {
        const std::int32_t* a = xI + 2 * j;
        const std::int32_t* b = xQ + 2 * j;
        __m256i sumI = _mm256_setzero_si256(), sumQ = _mm256_setzero_si256();
        for (std::size_t k = 0; k < l; ++k) {
            const __m256i t = _mm256_set1_epi64x(h[k]);
            sumI = _mm256_add_epi64(
                sumI,
                _mm256_mul_epi32(t, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + k))));
            sumQ = _mm256_add_epi64(
                sumQ,
                _mm256_mul_epi32(t, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + k))));
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(outI + j), sumI);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(outQ + j), sumQ);
    }
    return j;
}
#endif

#if defined(__x86_64__) && defined(__GNUC__)
GC_SIM_AVX512_BEGIN
// firDecimate2Avx2 eight outputs at a time with AVX-512; the last fewer than eight by it.
GC_SIM_AVX512_TARGET std::size_t firDecimate2Avx512(const std::int32_t* h, std::size_t l,
                                                    const std::int32_t* xI, const std::int32_t* xQ,
                                                    std::size_t count, i64* outI, i64* outQ,
                                                    bool symmetric) {
    std::size_t j = 0;
    for (; symmetric && j + 8 <= count; j += 8) {
        const std::int32_t* a = xI + 2 * j;
        const std::int32_t* b = xQ + 2 * j;
        __m512i sumI = _mm512_setzero_si512(), sumQ = _mm512_setzero_si512();
        std::size_t k = 0;
        for (; 2 * k + 1 < l; ++k) {
            const __m512i t = _mm512_set1_epi64(h[k]);
            const std::size_t m = l - 1 - k;
            const __m512i pa =
                _mm512_add_epi32(_mm512_loadu_si512(a + k), _mm512_loadu_si512(a + m));
            const __m512i pb =
                _mm512_add_epi32(_mm512_loadu_si512(b + k), _mm512_loadu_si512(b + m));
            sumI = _mm512_add_epi64(sumI, _mm512_mul_epi32(t, pa));
            sumQ = _mm512_add_epi64(sumQ, _mm512_mul_epi32(t, pb));
        }
        if (2 * k + 1 == l) {
            const __m512i t = _mm512_set1_epi64(h[k]);
            sumI = _mm512_add_epi64(sumI, _mm512_mul_epi32(t, _mm512_loadu_si512(a + k)));
            sumQ = _mm512_add_epi64(sumQ, _mm512_mul_epi32(t, _mm512_loadu_si512(b + k)));
        }
        _mm512_storeu_si512(outI + j, sumI);
        _mm512_storeu_si512(outQ + j, sumQ);
    }
    for (; j + 8 <= count; j += 8) {
        const std::int32_t* a = xI + 2 * j;
        const std::int32_t* b = xQ + 2 * j;
        __m512i sumI = _mm512_setzero_si512(), sumQ = _mm512_setzero_si512();
        for (std::size_t k = 0; k < l; ++k) {
            const __m512i t = _mm512_set1_epi64(h[k]);
            sumI = _mm512_add_epi64(sumI, _mm512_mul_epi32(t, _mm512_loadu_si512(a + k)));
            sumQ = _mm512_add_epi64(sumQ, _mm512_mul_epi32(t, _mm512_loadu_si512(b + k)));
        }
        _mm512_storeu_si512(outI + j, sumI);
        _mm512_storeu_si512(outQ + j, sumQ);
    }
    return j +
           firDecimate2Avx2(h, l, xI + 2 * j, xQ + 2 * j, count - j, outI + j, outQ + j, symmetric);
}
GC_SIM_AVX512_END
#endif

#if defined(__x86_64__) && defined(__GNUC__)
// v = fit(scaleBy((v << up) * mult, k)) over n words in place, four at a time: the shift up
// and the products wrap modulo 2^64 as the scalar steps do; the arithmetic right shift, which
// AVX2 lacks for 64-bit lanes, is the logical one between two complements of a negative word.
// `mult` != 1 needs words of at most 32 bits. Returns how many were done, a multiple of 4.
template <bool Multiply, bool Left>
__attribute__((target("avx2"))) std::size_t scaleFitAvx2(i64* v, std::size_t n, int up, i64 mult,
                                                         int k, bool halfUp, WordStage& word) {
    const __m128i vUp = _mm_cvtsi32_si128(up);
    const __m128i vLeft = _mm_cvtsi32_si128(k > 0 ? k : 0);
    const __m128i vRight = _mm_cvtsi32_si128(k < 0 ? -k : 0);
    const __m256i vMult = _mm256_set1_epi64x(mult);
    const __m256i vHalf = _mm256_set1_epi64x(k < 0 && halfUp ? (i64{1} << (-k - 1)) : 0);
    const __m256i vLo = _mm256_set1_epi64x(word.lo), vHi = _mm256_set1_epi64x(word.hi);
    const __m256i zero = _mm256_setzero_si256();
    const __m256i lows = _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7);
    __m256i vOver = zero;
    __m128i vPeak = _mm_setzero_si128();
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        __m256i x =
            _mm256_sll_epi64(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(v + i)), vUp);
        if constexpr (Multiply) x = _mm256_mul_epi32(x, vMult);
        if constexpr (Left) {
            x = _mm256_sll_epi64(x, vLeft);
        } else {
            x = _mm256_add_epi64(x, vHalf);
            const __m256i m = _mm256_cmpgt_epi64(zero, x);
            x = _mm256_xor_si256(_mm256_srl_epi64(_mm256_xor_si256(x, m), vRight), m);
        }
        const __m256i above = _mm256_cmpgt_epi64(x, vHi), below = _mm256_cmpgt_epi64(vLo, x);
        const __m256i outside = _mm256_or_si256(above, below);
        if (!_mm256_testz_si256(outside, outside)) {
            vOver = _mm256_sub_epi64(vOver, outside);
            x = _mm256_blendv_epi8(x, vHi, above);
            x = _mm256_blendv_epi8(x, vLo, below);
        }
        // The words now fit 32 bits: their low halves side by side for the peak.
        vPeak = _mm_max_epi32(
            vPeak, _mm_abs_epi32(_mm256_castsi256_si128(_mm256_permutevar8x32_epi32(x, lows))));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(v + i), x);
    }
    alignas(32) i64 lanes[4];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), vOver);
    word.overflows += static_cast<std::uint64_t>(lanes[0] + lanes[1] + lanes[2] + lanes[3]);
    alignas(16) std::int32_t peaks[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(peaks), vPeak);
    word.peak = std::max<i64>({word.peak, peaks[0], peaks[1], peaks[2], peaks[3]});
    return i;
}
#endif

#if defined(__x86_64__) && defined(__GNUC__)
GC_SIM_AVX512_BEGIN
// scaleFitAvx2 eight words at a time with AVX-512's arithmetic shift, minimum and maximum of
// 64-bit lanes, in place, or when Apart (I, Q pairs in v) the I words to outI and the Q words to
// outQ. Returns how many words were done, a multiple of 8.
template <bool Multiply, bool Left, bool Apart = false>
GC_SIM_AVX512_TARGET std::size_t scaleFitAvx512(i64* v, std::size_t n, int up, i64 mult, int k,
                                                bool halfUp, WordStage& word, i64* outI = nullptr,
                                                i64* outQ = nullptr) {
    const __m128i vUp = _mm_cvtsi32_si128(up);
    const __m128i vLeft = _mm_cvtsi32_si128(k > 0 ? k : 0);
    const __m128i vRight = _mm_cvtsi32_si128(k < 0 ? -k : 0);
    const __m512i vMult = _mm512_set1_epi64(mult);
    const __m512i vHalf = _mm512_set1_epi64(k < 0 && halfUp ? (i64{1} << (-k - 1)) : 0);
    const __m512i vLo = _mm512_set1_epi64(word.lo), vHi = _mm512_set1_epi64(word.hi);
    const __m512i one = _mm512_set1_epi64(1);
    const __m512i apart = _mm512_setr_epi64(0, 2, 4, 6, 1, 3, 5, 7);  // I words, then Q words
    __m512i vOver = _mm512_setzero_si512();
    __m512i vPeak = _mm512_setzero_si512();
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        __m512i x = _mm512_sll_epi64(_mm512_loadu_si512(v + i), vUp);
        if constexpr (Multiply) x = _mm512_mul_epi32(x, vMult);
        if constexpr (Left) {
            x = _mm512_sll_epi64(x, vLeft);
        } else {
            x = _mm512_sra_epi64(_mm512_add_epi64(x, vHalf), vRight);
        }
        const __mmask8 outside = _mm512_cmpgt_epi64_mask(x, vHi) | _mm512_cmpgt_epi64_mask(vLo, x);
        vOver = _mm512_mask_add_epi64(vOver, outside, vOver, one);
        x = _mm512_min_epi64(_mm512_max_epi64(x, vLo), vHi);
        vPeak = _mm512_max_epi64(vPeak, _mm512_abs_epi64(x));
        if constexpr (Apart) {
            x = _mm512_permutexvar_epi64(apart, x);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(outI + i / 2),
                                _mm512_castsi512_si256(x));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(outQ + i / 2),
                                _mm512_extracti64x4_epi64(x, 1));
        } else {
            _mm512_storeu_si512(v + i, x);
        }
    }
    word.overflows += static_cast<std::uint64_t>(_mm512_reduce_add_epi64(vOver));
    word.peak = std::max<i64>(word.peak, _mm512_reduce_max_epi64(vPeak));
    return i;
}
GC_SIM_AVX512_END
#endif

bool useAvx2();
bool useAvx512();

// v = fit(scaleBy((v << up) * mult, k)) over n words in place.
void scaleFit(i64* v, std::size_t n, int up, i64 mult, int k, bool halfUp, WordStage& word) {
    std::size_t i = 0;
#if defined(__x86_64__) && defined(__GNUC__)
    if (useAvx512() && k > -63 && k < 63) {
        if (mult != 1) {
            i = k >= 0 ? scaleFitAvx512<true, true>(v, n, up, mult, k, halfUp, word)
                       : scaleFitAvx512<true, false>(v, n, up, mult, k, halfUp, word);
        } else {
            i = k >= 0 ? scaleFitAvx512<false, true>(v, n, up, mult, k, halfUp, word)
                       : scaleFitAvx512<false, false>(v, n, up, mult, k, halfUp, word);
        }
    } else if (useAvx2() && k > -63 && k < 63) {
        if (mult != 1) {
            i = k >= 0 ? scaleFitAvx2<true, true>(v, n, up, mult, k, halfUp, word)
                       : scaleFitAvx2<true, false>(v, n, up, mult, k, halfUp, word);
        } else {
            i = k >= 0 ? scaleFitAvx2<false, true>(v, n, up, mult, k, halfUp, word)
                       : scaleFitAvx2<false, false>(v, n, up, mult, k, halfUp, word);
        }
    }
#endif
    for (; i < n; ++i) {
        const i64 x = static_cast<i64>(static_cast<u64>(v[i]) << up) * mult;
        v[i] = word.fit(scaleBy(x, k, halfUp));
    }
}

// dot over the I and the Q rail with the same taps.
inline void dotPair(bool avx2, const std::int32_t* h, const std::int32_t* xI,
                    const std::int32_t* xQ, std::size_t n, i64& accI, i64& accQ) {
#if defined(__x86_64__) && defined(__GNUC__)
    if (avx2) {
        dotPairAvx2(h, xI, xQ, n, accI, accQ);
        return;
    }
#endif
    (void)avx2;
    accI = dot(h, xI, n);
    accQ = dot(h, xQ, n);
}

// A decimating FIR over the I and Q rails with its history kept between blocks. Words and taps
// fit 32 bits; the sums are formed in 64.
struct FirStage {
    std::vector<std::int32_t> reversed;  // tap l-1-k at k: tap 0 meets the newest sample
    int factor{2};
    int scaleShift{0};  // output = sum * 2^scaleShift
    int inputCount{0};  // inputs since the last output, 0..factor-1
    std::vector<std::int32_t> histI, histQ;
    std::vector<i64> sumsI, sumsQ;  // the vector loop's sums, reused

    bool symmetric{false};  // tap k = tap l-1-k

    void setTaps(const std::vector<int>& taps) {
        reversed.assign(taps.rbegin(), taps.rend());
        symmetric = std::equal(taps.begin(), taps.end(), taps.rbegin());
    }

    void reset() {
        histI.assign(reversed.size() - 1, 0);
        histQ.assign(reversed.size() - 1, 0);
        inputCount = 0;
    }

    void run(const std::vector<i64>& inI, const std::vector<i64>& inQ, std::vector<i64>& outI,
             std::vector<i64>& outQ, WordStage& word, bool halfUp) {
        outI.clear();
        outQ.clear();
        const std::size_t l = reversed.size();
        histI.insert(histI.end(), inI.begin(), inI.end());
        histQ.insert(histQ.end(), inQ.begin(), inQ.end());
        const bool avx2 = useAvx2();
#if defined(__x86_64__) && defined(__GNUC__)
        if (avx2 && factor == 2 && !inI.empty()) {
            // Outputs at first, first + 2, ...; the vector loop reads one word past a window,
            // so its last output's window may not end at the last word of the history.
            const std::size_t first = inputCount == 1 ? 0 : 1;
            const std::size_t count = first < inI.size() ? (inI.size() - first + 1) / 2 : 0;
            const std::size_t safe = count > 0 ? count - 1 : 0;
            sumsI.resize(count);
            sumsQ.resize(count);
            std::size_t done = useAvx512()
                                   ? firDecimate2Avx512(reversed.data(), l, histI.data() + first,
                                                        histQ.data() + first, safe, sumsI.data(),
                                                        sumsQ.data(), symmetric)
                                   : firDecimate2Avx2(reversed.data(), l, histI.data() + first,
                                                      histQ.data() + first, safe, sumsI.data(),
                                                      sumsQ.data(), symmetric);
            for (; done < count; ++done) {
                const std::size_t n = first + 2 * done;
                dotPair(avx2, reversed.data(), histI.data() + n, histQ.data() + n, l, sumsI[done],
                        sumsQ[done]);
            }
            scaleFit(sumsI.data(), count, 0, 1, scaleShift, halfUp, word);
            scaleFit(sumsQ.data(), count, 0, 1, scaleShift, halfUp, word);
            outI.swap(sumsI);
            outQ.swap(sumsQ);
            inputCount = static_cast<int>((static_cast<std::size_t>(inputCount) + inI.size()) % 2);
            histI.erase(histI.begin(), histI.end() - static_cast<std::ptrdiff_t>(l - 1));
            histQ.erase(histQ.begin(), histQ.end() - static_cast<std::ptrdiff_t>(l - 1));
            return;
        }
#endif
        for (std::size_t n = 0; n < inI.size(); ++n) {
            if (++inputCount < factor) continue;
            inputCount = 0;
            // The window ends with the newest sample, index n + l - 1 of the history.
            i64 accI = 0, accQ = 0;
            dotPair(avx2, reversed.data(), histI.data() + n, histQ.data() + n, l, accI, accQ);
            outI.push_back(word.fit(scaleBy(accI, scaleShift, halfUp)));
            outQ.push_back(word.fit(scaleBy(accQ, scaleShift, halfUp)));
        }
        histI.erase(histI.begin(), histI.end() - static_cast<std::ptrdiff_t>(l - 1));
        histQ.erase(histQ.begin(), histQ.end() - static_cast<std::ptrdiff_t>(l - 1));
    }
};

[[noreturn]] void refuse(const std::string& what) { throw std::runtime_error(what); }

void checkBits(const char* name, int bits, int lo, int hi) {
    if (bits < lo || bits > hi)
        refuse(std::string("model parameter ") + name + " = " + std::to_string(bits) +
               " is outside " + std::to_string(lo) + ".." + std::to_string(hi));
}

[[nodiscard]] int defaultPhases(int nmult) {
    int phases = 64;
    while (phases > 4 && phases * nmult > 512) phases /= 2;
    return phases;
}

ChannelSetup decodeSetup(const ProgramFileContents& file, int channel, const ModelParameters& p) {
    if (channel < 0 || channel > 3)
        refuse("channel " + std::to_string(channel) + " does not exist (0..3)");
    const RegisterBank bank(file.writes);
    ChannelSetup s;
    s.channel = channel;
    const int base = 8 * channel;
    const int control = base + 7;

    if (p.clockHz > 0.0) {
        s.clockHz = p.clockHz;
    } else if (file.clockHz) {
        s.clockHz = *file.clockHz;
    } else {
        refuse("the program file names no clock (\"Clock=\" line): give the clock explicitly");
    }

    const int channelReset = bank.byte(control, 16);
    if (channelReset & 0x80)
        refuse(gc::model::tx("Канал %1 удерживается в сбросе (не включён)",
                             {std::to_string(channel)}));
    const int splitIQ = bank.byte(control, 24);
    const int pfirControl = bank.byte(control, 26);
    if (splitIQ & 0x10) {
        s.outputMode = (pfirControl & 0x06) == 0x06 ? 2 : 1;
        if (channel % 2 != 0)
            refuse(gc::model::tx(
                "Канал %1 в этом режиме вывода - вторая половина пары: моделируйте канал %2",
                {std::to_string(channel), std::to_string(channel - 1)}));
    }

    const int input = bank.byte(control, 27);
    const int inputMode = (input >> 4) & 3;
    s.inputBits = p.inputBits > 0 ? p.inputBits : (inputMode == 0 ? 14 : 16);
    const int blank = bank.byte(control, 19);
    s.zeroCount = (blank & 0x80) ? (blank & 0x0f) : 0;

    const int page6 = base + 6;
    s.phaseWord = static_cast<std::uint32_t>(bank.word16(page6, 16));
    s.frequencyWord = static_cast<std::uint32_t>(bank.byte(page6, 18)) |
                      static_cast<std::uint32_t>(bank.byte(page6, 19)) << 8 |
                      static_cast<std::uint32_t>(bank.byte(page6, 20)) << 16 |
                      static_cast<std::uint32_t>(bank.byte(page6, 21)) << 24;

    const int cicScale = bank.byte(control, 23);
    s.mixer20Bit = (cicScale & 0x40) != 0;
    s.scale = cicScale & 7;
    s.bigScale = (cicScale >> 3) & 7;
    s.shift = channelReset & 7;
    s.decimation = (bank.word16(control, 21) & 0xfff) + 1;
    if (s.outputMode != 0 && s.decimation < 2)
        refuse("a CIC decimation of 1 cannot be interleaved in the two- and one-channel modes");
    s.coarse = (bank.byte(control, 25) >> 4) & 7;
    s.fineGain = bank.word16(control, 30) & 0x3fff;
    s.pfirDecimates = s.outputMode != 2;

    std::array<int, 11> cfirHalf{};
    for (int i = 0; i < 8; ++i) cfirHalf[i] = signed16(bank.word16(base, 16 + 2 * i));
    for (int i = 8; i < 11; ++i) cfirHalf[i] = signed16(bank.word16(base + 1, 16 + 2 * (i - 8)));
    s.cfirTaps.resize(21);
    for (int i = 0; i < 11; ++i) s.cfirTaps[i] = s.cfirTaps[20 - i] = cfirHalf[i];
    std::array<int, 32> pfirHalf{};
    for (int q = 0; q < 4; ++q)
        for (int j = 0; j < 8; ++j)
            pfirHalf[8 * q + j] = signed16(bank.word16(base + 2 + q, 16 + 2 * j));
    s.pfirTaps.resize(63);
    for (int i = 0; i < 32; ++i) s.pfirTaps[i] = s.pfirTaps[62 - i] = pfirHalf[i];

    // Resampler: which filter and ratio word serve this channel, the coefficient memory.
    const int nChannels = bank.byte(64, 16);
    const int numFilters = ((nChannels >> 2) & 3) + 1;
    const int nMultiplies = bank.byte(64, 17);
    s.resamplerMultiplies = (nMultiplies & 0x3f) + 1;
    const bool noSymmetry = (nMultiplies & 0x40) != 0;
    const int filter = (bank.byte(64, 18) >> (2 * channel)) & 3;
    const int finalShiftReg = bank.byte(64, 19);
    s.finalShift = finalShiftReg & 0x0f;
    const int roundField = (finalShiftReg >> 4) & 3;
    s.outputBits = p.outputBits > 0 ? p.outputBits : 12 + 4 * roundField;
    const int ratioIndex = (bank.byte(64, 23) >> (2 * channel)) & 3;
    s.ratioWord = 0;
    for (int n = 0; n < 4; ++n)
        s.ratioWord |= static_cast<std::uint32_t>(bank.byte(65, 16 + 4 * ratioIndex + n))
                       << (8 * n);
    if (s.ratioWord == 0) refuse("the resampler ratio word is 0");

    std::array<int, 256> memory{};
    for (int page = 32; page < 64; ++page)
        for (int j = 0; j < 8; ++j) {
            const int lo = bank.byte(page, 16 + 2 * j);
            const int hi = bank.byte(page, 17 + 2 * j);
            memory[static_cast<std::size_t>(8 * (page - 32) + j)] = signed12(lo | (hi << 8));
        }
    // Several filters share the memory in equal parts.
    const int share = 256 / numFilters;
    const int offset = share * std::min(filter, numFilters - 1);

    s.resamplerPhases =
        p.resamplerPhases > 0 ? p.resamplerPhases : defaultPhases(s.resamplerMultiplies);
    const int qtap = s.resamplerPhases * s.resamplerMultiplies;
    if (qtap > 512)
        refuse("NDELAY " + std::to_string(s.resamplerPhases) + " x NMULT " +
               std::to_string(s.resamplerMultiplies) + " exceeds 512 coefficients");
    s.resamplerTaps.assign(static_cast<std::size_t>(qtap), 0);
    for (int i = 0; i < qtap; ++i) {
        int stored = -1;
        if (noSymmetry) {
            stored = i < share ? i : -1;
        } else {
            const int mirrored = i < qtap / 2 ? i : qtap - 1 - i;
            stored = mirrored < share ? mirrored : -1;
        }
        if (stored >= 0)
            s.resamplerTaps[static_cast<std::size_t>(i)] =
                memory[static_cast<std::size_t>(offset + stored)];
    }
    return s;
}

// One float to a word: x * scale rounded (offset 0.5) or truncated toward minus infinity, NaN
// as zero, saturated to lo..hi (counted), then shifted up by `up` bits.
inline std::int32_t quantiseOne(float x, float scale, float offset, std::int32_t lo,
                                std::int32_t hi, int up, std::int32_t& over, std::int32_t& peak) {
    const float limit = 1073741824.0f;  // 2^30: beyond any word, so the conversion is defined
    float t = x * scale + offset;
    t = t == t ? t : 0.0f;
    t = t < limit ? t : limit;
    t = t > -limit ? t : -limit;
    std::int32_t v = static_cast<std::int32_t>(t);
    v -= static_cast<float>(v) > t ? 1 : 0;  // floor
    over += (v > hi ? 1 : 0) + (v < lo ? 1 : 0);
    v = std::min(v, hi);
    v = std::max(v, lo);
    peak = std::max(peak, v < 0 ? -v : v);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(v) << up);
}

#if defined(__x86_64__) && defined(__GNUC__)
// quantiseRail eight at a time with AVX2 (the same operations, no fused multiply-add), the
// imaginary parts' bit patterns ORed into `imagBits` on the way when `orImag`. Returns how many
// were done, a multiple of 8; the rest is the caller's.
__attribute__((target("avx2"))) std::size_t quantiseRailAvx2(const float* src, std::int32_t* dst,
                                                             std::size_t count, float scale,
                                                             float offset, std::int32_t lo,
                                                             std::int32_t hi, int up,
                                                             std::int32_t& over, std::int32_t& peak,
                                                             bool orImag, std::uint32_t& imagBits) {
    const __m256 vScale = _mm256_set1_ps(scale), vOffset = _mm256_set1_ps(offset);
    const __m256 vLimit = _mm256_set1_ps(1073741824.0f), vMinus = _mm256_set1_ps(-1073741824.0f);
    const __m256i vLo = _mm256_set1_epi32(lo), vHi = _mm256_set1_epi32(hi);
    const __m128i vUp = _mm_cvtsi32_si128(up);
    const __m256i evens = _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7);
    __m256i vOver = _mm256_setzero_si256(), vPeak = _mm256_set1_epi32(peak);
    __m256i any = _mm256_setzero_si256();
    std::size_t k = 0;
    for (; k + 8 <= count; k += 8) {
        // The input streams from memory: ask for it 2 KiB ahead (a hint, never a fault).
        _mm_prefetch(
            reinterpret_cast<const char*>(reinterpret_cast<std::uintptr_t>(src + 2 * k) + 2048),
            _MM_HINT_T0);
        const __m256 a = _mm256_loadu_ps(src + 2 * k);      // x0 y0 x1 y1 | x2 y2 x3 y3
        const __m256 b = _mm256_loadu_ps(src + 2 * k + 8);  // x4 y4 x5 y5 | x6 y6 x7 y7
        if (orImag)
            any = _mm256_or_si256(any,
                                  _mm256_or_si256(_mm256_castps_si256(a), _mm256_castps_si256(b)));
        // x0 x1 y0 y1 ... per 128-bit lane, then the lanes in order: x0..x7.
        const __m256 pa = _mm256_permutevar8x32_ps(a, evens);  // x0 x1 x2 x3 | y0 ...
        const __m256 pb = _mm256_permutevar8x32_ps(b, evens);  // x4 x5 x6 x7 | y4 ...
        const __m256 x = _mm256_permute2f128_ps(pa, pb, 0x20);
        __m256 t = _mm256_add_ps(_mm256_mul_ps(x, vScale), vOffset);
        t = _mm256_and_ps(t, _mm256_cmp_ps(t, t, _CMP_ORD_Q));
        t = _mm256_max_ps(_mm256_min_ps(t, vLimit), vMinus);
        __m256i v = _mm256_cvttps_epi32(t);
        v = _mm256_add_epi32(
            v, _mm256_castps_si256(_mm256_cmp_ps(_mm256_cvtepi32_ps(v), t, _CMP_GT_OQ)));
        const __m256i above = _mm256_cmpgt_epi32(v, vHi), below = _mm256_cmpgt_epi32(vLo, v);
        vOver = _mm256_sub_epi32(_mm256_sub_epi32(vOver, above), below);
        v = _mm256_max_epi32(_mm256_min_epi32(v, vHi), vLo);
        vPeak = _mm256_max_epi32(vPeak, _mm256_abs_epi32(v));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + k), _mm256_sll_epi32(v, vUp));
    }
    alignas(32) std::int32_t lanes[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), vOver);
    for (const std::int32_t l : lanes) over += l;
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), vPeak);
    for (const std::int32_t l : lanes) peak = std::max(peak, l);
    alignas(32) std::uint32_t bits[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(bits), any);
    imagBits |= bits[1] | bits[3] | bits[5] | bits[7];  // re, im, re, im, ...
    return k;
}
#endif

#if defined(__x86_64__) && defined(__GNUC__)
GC_SIM_AVX512_BEGIN
// quantiseRailAvx2 sixteen at a time with AVX-512: the floor and the conversion are one
// instruction, which gives what the truncation and the correction do for |t| <= 2^30.
// Returns how many were done, a multiple of 16.
GC_SIM_AVX512_TARGET std::size_t quantiseRailAvx512(const float* src, std::int32_t* dst,
                                                    std::size_t count, float scale, float offset,
                                                    std::int32_t lo, std::int32_t hi, int up,
                                                    std::int32_t& over, std::int32_t& peak,
                                                    bool orImag, std::uint32_t& imagBits) {
    const __m512 vScale = _mm512_set1_ps(scale), vOffset = _mm512_set1_ps(offset);
    const __m512 vLimit = _mm512_set1_ps(1073741824.0f), vMinus = _mm512_set1_ps(-1073741824.0f);
    const __m512i vLo = _mm512_set1_epi32(lo), vHi = _mm512_set1_epi32(hi);
    const __m128i vUp = _mm_cvtsi32_si128(up);
    const __m512i evens =
        _mm512_setr_epi32(0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30);
    const __m512i one = _mm512_set1_epi32(1);
    __m512i vOver = _mm512_setzero_si512(), vPeak = _mm512_set1_epi32(peak);
    __m512i any = _mm512_setzero_si512();
    std::size_t k = 0;
    for (; k + 16 <= count; k += 16) {
        _mm_prefetch(
            reinterpret_cast<const char*>(reinterpret_cast<std::uintptr_t>(src + 2 * k) + 2048),
            _MM_HINT_T0);
        const __m512 a = _mm512_loadu_ps(src + 2 * k);
        const __m512 b = _mm512_loadu_ps(src + 2 * k + 16);
        if (orImag)
            any = _mm512_or_si512(any,
                                  _mm512_or_si512(_mm512_castps_si512(a), _mm512_castps_si512(b)));
        const __m512 x = _mm512_permutex2var_ps(a, evens, b);
        __m512 t = _mm512_add_ps(_mm512_mul_ps(x, vScale), vOffset);
        t = _mm512_maskz_mov_ps(_mm512_cmp_ps_mask(t, t, _CMP_ORD_Q), t);
        t = _mm512_max_ps(_mm512_min_ps(t, vLimit), vMinus);
        __m512i v = _mm512_cvt_roundps_epi32(t, _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
        const __mmask16 outside = _mm512_cmpgt_epi32_mask(v, vHi) | _mm512_cmpgt_epi32_mask(vLo, v);
        vOver = _mm512_mask_add_epi32(vOver, outside, vOver, one);
        v = _mm512_max_epi32(_mm512_min_epi32(v, vHi), vLo);
        vPeak = _mm512_max_epi32(vPeak, _mm512_abs_epi32(v));
        _mm512_storeu_si512(dst + k, _mm512_sll_epi32(v, vUp));
    }
    over += _mm512_reduce_add_epi32(vOver);
    peak = std::max(peak, _mm512_reduce_max_epi32(vPeak));
    alignas(64) std::uint32_t bits[16];
    _mm512_store_si512(bits, any);
    for (std::size_t j = 1; j < 16; j += 2) imagBits |= bits[j];  // re, im, re, im, ...
    return k;
}
GC_SIM_AVX512_END
#endif

// Which vector loops may run: those the processor has, up to what the tests allow.
std::atomic<int> gVectorLimit{static_cast<int>(VectorLoops::Best)};

bool useAvx2() {
#if defined(__x86_64__) && defined(__GNUC__)
    static const bool kHasAvx2 = __builtin_cpu_supports("avx2");
    return kHasAvx2 &&
           gVectorLimit.load(std::memory_order_relaxed) >= static_cast<int>(VectorLoops::Avx2);
#else
    return false;
#endif
}

// AVX-512 with the 64-bit lanes' arithmetic shifts, minima and maxima (F), the 32-bit lanes at
// 256 bits (VL) and the byte and word operations (BW, DQ).
bool useAvx512() {
#if defined(__x86_64__) && defined(__GNUC__)
    static const bool kHasAvx512 =
        __builtin_cpu_supports("avx2") && __builtin_cpu_supports("avx512f") &&
        __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512bw") &&
        __builtin_cpu_supports("avx512dq");
    return kHasAvx512 &&
           gVectorLimit.load(std::memory_order_relaxed) >= static_cast<int>(VectorLoops::Best);
#else
    return false;
#endif
}

// quantiseOne over every second float of src (the real or the imaginary parts), four at a time
// with the base instruction set's vector operations where there are some.
// `floats` is how many floats may be read from src (the imaginary rail starts one float in).
// The imaginary parts' bit patterns are ORed into imagBits when orImag.
void quantiseRail(const float* src, std::size_t floats, std::int32_t* dst, std::size_t count,
                  float scale, float offset, std::int32_t lo, std::int32_t hi, int up,
                  std::int32_t& over, std::int32_t& peak, bool orImag, std::uint32_t& imagBits) {
    std::size_t k = 0;
#if defined(__x86_64__) && defined(__GNUC__)
    if (useAvx512()) {
        const std::size_t whole = std::min(count, floats / 2);
        k = quantiseRailAvx512(src, dst, whole, scale, offset, lo, hi, up, over, peak, orImag,
                               imagBits);
        k += quantiseRailAvx2(src + 2 * k, dst + k, whole - k, scale, offset, lo, hi, up, over,
                              peak, orImag, imagBits);
    } else if (useAvx2()) {
        const std::size_t whole = std::min(count, floats / 2);
        k = quantiseRailAvx2(src, dst, whole, scale, offset, lo, hi, up, over, peak, orImag,
                             imagBits);
    }
#endif
    std::size_t done = k;
#if defined(__SSE2__)
    const __m128 vScale = _mm_set1_ps(scale), vOffset = _mm_set1_ps(offset);
    const __m128 vLimit = _mm_set1_ps(1073741824.0f), vMinus = _mm_set1_ps(-1073741824.0f);
    const __m128i vLo = _mm_set1_epi32(lo), vHi = _mm_set1_epi32(hi);
    const __m128i vUp = _mm_cvtsi32_si128(up);
    __m128i vOver = _mm_setzero_si128(), vPeak = _mm_set1_epi32(peak);
    for (; k + 4 <= count && 2 * k + 8 <= floats; k += 4) {
        const __m128 a = _mm_loadu_ps(src + 2 * k);
        const __m128 b = _mm_loadu_ps(src + 2 * k + 4);
        __m128 t =
            _mm_add_ps(_mm_mul_ps(_mm_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0)), vScale), vOffset);
        t = _mm_and_ps(t, _mm_cmpord_ps(t, t));
        t = _mm_max_ps(_mm_min_ps(t, vLimit), vMinus);
        __m128i v = _mm_cvttps_epi32(t);
        v = _mm_add_epi32(v, _mm_castps_si128(_mm_cmpgt_ps(_mm_cvtepi32_ps(v), t)));
        const __m128i above = _mm_cmpgt_epi32(v, vHi), below = _mm_cmplt_epi32(v, vLo);
        vOver = _mm_sub_epi32(_mm_sub_epi32(vOver, above), below);
        v = _mm_or_si128(_mm_andnot_si128(above, v), _mm_and_si128(above, vHi));
        v = _mm_or_si128(_mm_andnot_si128(below, v), _mm_and_si128(below, vLo));
        const __m128i sign = _mm_srai_epi32(v, 31);
        const __m128i mag = _mm_sub_epi32(_mm_xor_si128(v, sign), sign);
        const __m128i more = _mm_cmpgt_epi32(mag, vPeak);
        vPeak = _mm_or_si128(_mm_andnot_si128(more, vPeak), _mm_and_si128(more, mag));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + k), _mm_sll_epi32(v, vUp));
    }
    alignas(16) std::int32_t lanes[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes), vOver);
    over += lanes[0] + lanes[1] + lanes[2] + lanes[3];
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes), vPeak);
    peak = std::max({peak, lanes[0], lanes[1], lanes[2], lanes[3]});
#endif
    for (; k < count; ++k) dst[k] = quantiseOne(src[2 * k], scale, offset, lo, hi, up, over, peak);
    if (orImag) {
        for (; done < count; ++done) {
            std::uint32_t bits;
            std::memcpy(&bits, src + 2 * done + 1, sizeof bits);
            imagBits |= bits;
        }
    }
}

// The largest |v| of n words, v > INT32_MIN.
std::int32_t peakOf(const std::int32_t* v, std::size_t n, std::int32_t peak) {
    std::size_t k = 0;
#if defined(__SSE2__)
    __m128i vPeak = _mm_set1_epi32(peak);
    for (; k + 4 <= n; k += 4) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(v + k));
        const __m128i sign = _mm_srai_epi32(x, 31);
        const __m128i mag = _mm_sub_epi32(_mm_xor_si128(x, sign), sign);
        const __m128i more = _mm_cmpgt_epi32(mag, vPeak);
        vPeak = _mm_or_si128(_mm_andnot_si128(more, vPeak), _mm_and_si128(more, mag));
    }
    alignas(16) std::int32_t lanes[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes), vPeak);
    peak = std::max({peak, lanes[0], lanes[1], lanes[2], lanes[3]});
#endif
    for (; k < n; ++k) peak = std::max(peak, v[k] < 0 ? -v[k] : v[k]);
    return peak;
}

}  // namespace

#if defined(__x86_64__) && defined(__GNUC__)
#define GC_SIM_AVX2 1
// The real-input NCO and mixer eight samples at a time: the table looked up by gathers, the
// products in 64 bits (even and odd lanes), the rounded words taken from the low 32 bits of a
// logical shift, which equal those of the arithmetic one because every word fits 32 bits.
// Returns the phase after the samples done, a multiple of 8 of them; the rest is the caller's.
__attribute__((target("avx2"))) std::size_t mixRealAvx2(
    const std::int32_t* x, std::int32_t* out, std::size_t n, std::uint32_t& phase,
    std::uint32_t freq, const std::int32_t* table, int tableShift, std::uint32_t tableMask,
    std::uint32_t quarter, int shift, i64 half, std::int32_t& peak) {
    const __m256i step = _mm256_set1_epi32(static_cast<int>(freq * 8u));
    __m256i ph = _mm256_add_epi32(_mm256_set1_epi32(static_cast<int>(phase)),
                                  _mm256_mullo_epi32(_mm256_set1_epi32(static_cast<int>(freq)),
                                                     _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7)));
    const __m128i tShift = _mm_cvtsi32_si128(tableShift);
    const __m128i mShift = _mm_cvtsi32_si128(shift);
    const __m256i mask = _mm256_set1_epi32(static_cast<int>(tableMask));
    const __m256i q = _mm256_set1_epi32(static_cast<int>(quarter));
    const __m256i vHalf = _mm256_set1_epi64x(half);
    __m256i vPeak = _mm256_set1_epi32(peak);
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256i idx = _mm256_srl_epi32(ph, tShift);
        const __m256i sn = _mm256_i32gather_epi32(table, idx, 4);
        const __m256i cs =
            _mm256_i32gather_epi32(table, _mm256_and_si256(_mm256_add_epi32(idx, q), mask), 4);
        ph = _mm256_add_epi32(ph, step);
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(x + i));
        const __m256i aOdd = _mm256_srli_epi64(a, 32);
        // 64-bit products of the even lanes and of the odd ones; I = a cos, Q = -a sin.
        const __m256i iEven = _mm256_mul_epi32(a, cs);
        const __m256i iOdd = _mm256_mul_epi32(aOdd, _mm256_srli_epi64(cs, 32));
        const __m256i qEven = _mm256_sub_epi64(_mm256_setzero_si256(), _mm256_mul_epi32(a, sn));
        const __m256i qOdd = _mm256_sub_epi64(_mm256_setzero_si256(),
                                              _mm256_mul_epi32(aOdd, _mm256_srli_epi64(sn, 32)));
        // Rounded and shifted, back to eight 32-bit words each.
        const __m256i mI = _mm256_blend_epi32(
            _mm256_srl_epi64(_mm256_add_epi64(iEven, vHalf), mShift),
            _mm256_slli_epi64(_mm256_srl_epi64(_mm256_add_epi64(iOdd, vHalf), mShift), 32), 0xAA);
        const __m256i mQ = _mm256_blend_epi32(
            _mm256_srl_epi64(_mm256_add_epi64(qEven, vHalf), mShift),
            _mm256_slli_epi64(_mm256_srl_epi64(_mm256_add_epi64(qOdd, vHalf), mShift), 32), 0xAA);
        vPeak =
            _mm256_max_epi32(vPeak, _mm256_max_epi32(_mm256_abs_epi32(mI), _mm256_abs_epi32(mQ)));
        const __m256i lo = _mm256_unpacklo_epi32(mI, mQ);  // I0 Q0 I1 Q1 | I4 Q4 I5 Q5
        const __m256i hi = _mm256_unpackhi_epi32(mI, mQ);  // I2 Q2 I3 Q3 | I6 Q6 I7 Q7
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 2 * i),
                            _mm256_permute2x128_si256(lo, hi, 0x20));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 2 * i + 8),
                            _mm256_permute2x128_si256(lo, hi, 0x31));
    }
    alignas(32) std::int32_t lanes[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), vPeak);
    for (const std::int32_t l : lanes) peak = std::max(peak, l);
    phase += static_cast<std::uint32_t>(i) * freq;
    return i;
}
#endif

#if defined(__x86_64__) && defined(__GNUC__)
GC_SIM_AVX512_BEGIN
// mixRealAvx2 sixteen samples at a time with AVX-512. Returns how many were done, a multiple
// of 16, and the phase after them.
GC_SIM_AVX512_TARGET std::size_t mixRealAvx512(const std::int32_t* x, std::int32_t* out,
                                               std::size_t n, std::uint32_t& phase,
                                               std::uint32_t freq, const std::int32_t* table,
                                               int tableShift, std::uint32_t tableMask,
                                               std::uint32_t quarter, int shift, i64 half,
                                               std::int32_t& peak) {
    const __m512i step = _mm512_set1_epi32(static_cast<int>(freq * 16u));
    __m512i ph = _mm512_add_epi32(_mm512_set1_epi32(static_cast<int>(phase)),
                                  _mm512_mullo_epi32(_mm512_set1_epi32(static_cast<int>(freq)),
                                                     _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9,
                                                                       10, 11, 12, 13, 14, 15)));
    const __m128i tShift = _mm_cvtsi32_si128(tableShift);
    const __m128i mShift = _mm_cvtsi32_si128(shift);
    const __m512i mask = _mm512_set1_epi32(static_cast<int>(tableMask));
    const __m512i q = _mm512_set1_epi32(static_cast<int>(quarter));
    const __m512i vHalf = _mm512_set1_epi64(half);
    const __m512i zero = _mm512_setzero_si512();
    // Samples 0-7 and 8-15 from the unpacked pairs of each 128-bit lane.
    const __m512i first = _mm512_setr_epi64(0, 1, 8, 9, 2, 3, 10, 11);
    const __m512i second = _mm512_setr_epi64(4, 5, 12, 13, 6, 7, 14, 15);
    __m512i vPeak = _mm512_set1_epi32(peak);
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m512i idx = _mm512_srl_epi32(ph, tShift);
        const __m512i sn = _mm512_i32gather_epi32(idx, table, 4);
        const __m512i cs =
            _mm512_i32gather_epi32(_mm512_and_si512(_mm512_add_epi32(idx, q), mask), table, 4);
        ph = _mm512_add_epi32(ph, step);
        const __m512i a = _mm512_loadu_si512(x + i);
        const __m512i aOdd = _mm512_srli_epi64(a, 32);
        const __m512i iEven = _mm512_mul_epi32(a, cs);
        const __m512i iOdd = _mm512_mul_epi32(aOdd, _mm512_srli_epi64(cs, 32));
        const __m512i qEven = _mm512_sub_epi64(zero, _mm512_mul_epi32(a, sn));
        const __m512i qOdd =
            _mm512_sub_epi64(zero, _mm512_mul_epi32(aOdd, _mm512_srli_epi64(sn, 32)));
        const __m512i mI = _mm512_mask_blend_epi32(
            0xAAAA, _mm512_srl_epi64(_mm512_add_epi64(iEven, vHalf), mShift),
            _mm512_slli_epi64(_mm512_srl_epi64(_mm512_add_epi64(iOdd, vHalf), mShift), 32));
        const __m512i mQ = _mm512_mask_blend_epi32(
            0xAAAA, _mm512_srl_epi64(_mm512_add_epi64(qEven, vHalf), mShift),
            _mm512_slli_epi64(_mm512_srl_epi64(_mm512_add_epi64(qOdd, vHalf), mShift), 32));
        vPeak =
            _mm512_max_epi32(vPeak, _mm512_max_epi32(_mm512_abs_epi32(mI), _mm512_abs_epi32(mQ)));
        const __m512i lo = _mm512_unpacklo_epi32(mI, mQ);
        const __m512i hi = _mm512_unpackhi_epi32(mI, mQ);
        _mm512_storeu_si512(out + 2 * i, _mm512_permutex2var_epi64(lo, first, hi));
        _mm512_storeu_si512(out + 2 * i + 16, _mm512_permutex2var_epi64(lo, second, hi));
    }
    peak = std::max(peak, _mm512_reduce_max_epi32(vPeak));
    phase += static_cast<std::uint32_t>(i) * freq;
    return i;
}
GC_SIM_AVX512_END
#endif

#if defined(__x86_64__) && defined(__GNUC__)
// The whole CIC over `count` mixed words with 64-bit integrators fed the words unshifted (the
// integrators and combs are sums modulo 2^64, so shifting their result up by the CIC input
// width's bits gives what shifting every input word would): the integrators at every input and, at
// each decimation instant, the five combs of that instant's phase. `integ` holds integrator k's I
// at 2k and Q at 2k + 1, `combs` phase p's comb k at 10p + 2k (I) and 10p + 2k + 1 (Q). The comb
// outputs go to `raw` as I, Q pairs; returns how many pairs.
__attribute__((target("avx2"))) std::size_t cicRunAvx2(const std::int32_t* in, std::size_t count,
                                                       u64* integ, u64* combs, int& untilInstant,
                                                       int& combPhase,
                                                       const std::array<int, 2>& gap,
                                                       int interleave, u64* raw) {
    __m128i* st = reinterpret_cast<__m128i*>(integ);
    __m128i* cb = reinterpret_cast<__m128i*>(combs);
    __m128i i0 = _mm_loadu_si128(st), i1 = _mm_loadu_si128(st + 1), i2 = _mm_loadu_si128(st + 2);
    __m128i i3 = _mm_loadu_si128(st + 3), i4 = _mm_loadu_si128(st + 4);
    int until = untilInstant, phase = combPhase;
    std::size_t i = 0, outs = 0;
    while (i < count) {
        const std::size_t end = std::min(count, i + static_cast<std::size_t>(until));
        until -= static_cast<int>(end - i);
        for (; i < end; ++i) {
            const __m128i x =
                _mm_cvtepi32_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(in + 2 * i)));
            i0 = _mm_add_epi64(i0, x);
            i1 = _mm_add_epi64(i1, i0);
            i2 = _mm_add_epi64(i2, i1);
            i3 = _mm_add_epi64(i3, i2);
            i4 = _mm_add_epi64(i4, i3);
        }
        if (until == 0) {
            __m128i* d = cb + 5 * phase;
            __m128i c = i4;
            for (int k = 0; k < 5; ++k) {
                const __m128i t = c;
                c = _mm_sub_epi64(c, _mm_loadu_si128(d + k));
                _mm_storeu_si128(d + k, t);
            }
            _mm_storeu_si128(reinterpret_cast<__m128i*>(raw + 2 * outs), c);
            ++outs;
            phase = interleave == 2 ? phase ^ 1 : 0;
            until = gap[static_cast<std::size_t>(phase)];
        }
    }
    _mm_storeu_si128(st, i0);
    _mm_storeu_si128(st + 1, i1);
    _mm_storeu_si128(st + 2, i2);
    _mm_storeu_si128(st + 3, i3);
    _mm_storeu_si128(st + 4, i4);
    untilInstant = until;
    combPhase = phase;
    return outs;
}
#endif

// The resampler's output instant `time` (2^-26 input samples from the block's first input): the
// input n its window ends with and its branch, the one below the instant's fraction or, when
// `nearest`, the nearest one (which may be branch 0 of the next input).
inline void resamplerInstant(i64 time, u64 phases, bool nearest, i64& n, u64& branch) {
    n = time >> 26;
    const u64 frac = static_cast<u64>(time - n * (i64{1} << 26));
    branch = (frac * phases) >> 26;
    if (nearest) {
        branch = (frac * phases + (u64{1} << 25)) >> 26;
        if (branch == phases) {
            branch = 0;
            ++n;
        }
    }
}

#if defined(__x86_64__) && defined(__GNUC__)
// The resampler's sums for the output instants of one block, I and Q: instant `time` (2^-26 input
// samples from the block's first input), then every `ratio` after it, the branch below the
// instant's fraction or the nearest one; branch b's taps at taps + b nmult, oldest sample first;
// the window of the instant at input n starts at history index n. Stops at the first instant
// whose input is not in the block (`available` inputs) and leaves `time` there; returns how many.
__attribute__((target("avx2"))) std::size_t resampleSumsAvx2(
    const std::int32_t* taps, std::size_t nmult, u64 phases, bool nearest, const std::int32_t* hI,
    const std::int32_t* hQ, u64 available, i64& time, i64 ratio, i64* accI, i64* accQ) {
    std::size_t outs = 0;
    i64 t = time;
    while (true) {
        i64 n = 0;
        u64 branch = 0;
        resamplerInstant(t, phases, nearest, n, branch);
        if (n >= static_cast<i64>(available)) break;
        const std::int32_t* h = taps + branch * nmult;
        const std::int32_t* xI = hI + n;
        const std::int32_t* xQ = hQ + n;
        dotPairAvx2(h, xI, xQ, nmult, accI[outs], accQ[outs]);
        ++outs;
        t += ratio;
    }
    time = t;
    return outs;
}
#endif

#if defined(__x86_64__) && defined(__GNUC__)
// What integrator k gains over t inputs of zero from the state s (s[2j] I, s[2j + 1] Q of
// integrator j): sum over j <= k of s[k - j] C(t + j - 1, j), modulo 2^64; for k = 4 only
// (gain[8], gain[9]) unless `all`.
inline void integratorCarry(const u64* s, u64 t, u64* gain, bool all) {
    u64 c[5];
    u128 binomial = 1;  // C(t + j - 1, j): j consecutive integers over j!, exact at each step
    c[0] = 1;
    for (u64 j = 1; j < 5; ++j) {
        binomial = binomial * (t + j - 1) / j;
        c[j] = static_cast<u64>(binomial);
    }
    for (int k = all ? 0 : 4; k < 5; ++k) {
        u64 gI = 0, gQ = 0;
        for (int j = 0; j <= k; ++j) {
            gI += s[2 * (k - j)] * c[j];
            gQ += s[2 * (k - j) + 1] * c[j];
        }
        gain[2 * k] = gI;
        gain[2 * k + 1] = gQ;
    }
}

// The combs of a block whose integrators ran as `parts` parts of h inputs side by side, each but
// the first from zero (cicRunSplitAvx2, cicRunSplitAvx512). `snap` holds the last integrator at
// each instant, 2 parts words per instant (part p's I, Q at 2p, 2p + 1), `at` the inputs done in
// the part at each, `instants` per part; `ends[p]` is the true state after part p (the state of
// cicRunAvx2's `integ`). Being sums modulo 2^64, a part's true values are its own plus what the
// state before it grows to over the inputs since; for the last integrator that is a polynomial of
// degree 4 in them, and a decimation phase's instants are a period apart: from its values at the
// phase's first five instants on, each next one by four additions of its differences. Each
// phase's combs run over its instants in time order. Returns how many I, Q pairs went to `raw`.
__attribute__((target("avx2"))) std::size_t cicCombSplitAvx2(
    const u64* snap, const std::uint32_t* at, std::size_t parts, std::size_t instants,
    const u64 (*ends)[10], u64* combs, int combPhase, const std::array<int, 2>& gap, int interleave,
    u64* raw) {
    const std::size_t phases = static_cast<std::size_t>(interleave);
    const u64 period = static_cast<u64>(gap[0]) + (interleave == 2 ? static_cast<u64>(gap[1]) : 0);
    const std::size_t stride = 2 * parts;
    for (std::size_t ph = 0; ph < phases && ph < instants; ++ph) {
        __m128i* cb = reinterpret_cast<__m128i*>(combs) +
                      5 * ((static_cast<std::size_t>(combPhase) + ph) % phases);
        __m128i d0 = _mm_loadu_si128(cb), d1 = _mm_loadu_si128(cb + 1);
        __m128i d2 = _mm_loadu_si128(cb + 2), d3 = _mm_loadu_si128(cb + 3);
        __m128i d4 = _mm_loadu_si128(cb + 4);
        for (std::size_t part = 0; part < parts; ++part) {
            __m128i g[5];
            for (__m128i& v : g) v = _mm_setzero_si128();
            if (part > 0) {
                u64 v[5][2];
                for (u64 j = 0; j < 5; ++j) {
                    u64 gain[10];
                    integratorCarry(ends[part - 1], at[ph] + j * period, gain, false);
                    v[j][0] = gain[8];
                    v[j][1] = gain[9];
                }
                for (int order = 0; order < 5; ++order) {
                    g[order] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(v[0]));
                    for (int j = 0; j + 1 < 5 - order; ++j) {
                        v[j][0] = v[j + 1][0] - v[j][0];
                        v[j][1] = v[j + 1][1] - v[j][1];
                    }
                }
            }
            const u64* column = snap + 2 * part;
            u64* dst = raw + 2 * part * instants;
            for (std::size_t m = ph; m < instants; m += phases) {
                const __m128i c = _mm_add_epi64(
                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(column + stride * m)), g[0]);
                g[0] = _mm_add_epi64(g[0], g[1]);
                g[1] = _mm_add_epi64(g[1], g[2]);
                g[2] = _mm_add_epi64(g[2], g[3]);
                g[3] = _mm_add_epi64(g[3], g[4]);
                const __m128i c0 = _mm_sub_epi64(c, d0);
                const __m128i c1 = _mm_sub_epi64(c0, d1);
                const __m128i c2 = _mm_sub_epi64(c1, d2);
                const __m128i c3 = _mm_sub_epi64(c2, d3);
                _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 2 * m), _mm_sub_epi64(c3, d4));
                d0 = c;
                d1 = c0;
                d2 = c1;
                d3 = c2;
                d4 = c3;
            }
        }
        _mm_storeu_si128(cb, d0);
        _mm_storeu_si128(cb + 1, d1);
        _mm_storeu_si128(cb + 2, d2);
        _mm_storeu_si128(cb + 3, d3);
        _mm_storeu_si128(cb + 4, d4);
    }
    return parts * instants;
}

// The true state after each part from the integrators' own (part p's I, Q of integrator k at
// own[k][2p], own[k][2p + 1]; the first part's are already true).
inline void splitEnds(const u64 (*own)[8], std::size_t parts, u64 h, u64 (*ends)[10]) {
    for (std::size_t part = 0; part < parts; ++part) {
        u64 gain[10] = {};
        if (part > 0) integratorCarry(ends[part - 1], h, gain, true);
        for (int k = 0; k < 5; ++k) {
            ends[part][2 * k] = own[k][2 * part] + gain[2 * k];
            ends[part][2 * k + 1] = own[k][2 * part + 1] + gain[2 * k + 1];
        }
    }
}

// cicRunAvx2 over 2h mixed words as two halves side by side in one register, the first half's
// integrators from the state, the second's from zero; h is a whole number of decimation periods,
// so that the instants fall at the same places in both halves and the countdown and the phase
// end where they began. `snap` takes 4 words and `at` one per instant of a half.
__attribute__((target("avx2"))) std::size_t cicRunSplitAvx2(const std::int32_t* in, std::size_t h,
                                                            u64* integ, u64* combs,
                                                            int& untilInstant, int& combPhase,
                                                            const std::array<int, 2>& gap,
                                                            int interleave, u64* raw, u64* snap,
                                                            std::uint32_t* at) {
    const __m256i zero = _mm256_setzero_si256();
    const __m128i* st = reinterpret_cast<const __m128i*>(integ);
    __m256i i0 = _mm256_inserti128_si256(zero, _mm_loadu_si128(st), 0);
    __m256i i1 = _mm256_inserti128_si256(zero, _mm_loadu_si128(st + 1), 0);
    __m256i i2 = _mm256_inserti128_si256(zero, _mm_loadu_si128(st + 2), 0);
    __m256i i3 = _mm256_inserti128_si256(zero, _mm_loadu_si128(st + 3), 0);
    __m256i i4 = _mm256_inserti128_si256(zero, _mm_loadu_si128(st + 4), 0);
    const std::int32_t* second = in + 2 * h;
    int until = untilInstant, phase = combPhase;
    std::size_t instants = 0;
    std::size_t i = 0;
    while (i < h) {
        const std::size_t end = std::min(h, i + static_cast<std::size_t>(until));
        until -= static_cast<int>(end - i);
        for (; i < end; ++i) {
            const __m128i a = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(in + 2 * i));
            const __m128i ab = _mm_castpd_si128(
                _mm_loadh_pd(_mm_castsi128_pd(a), reinterpret_cast<const double*>(second + 2 * i)));
            const __m256i x = _mm256_cvtepi32_epi64(ab);
            i0 = _mm256_add_epi64(i0, x);
            i1 = _mm256_add_epi64(i1, i0);
            i2 = _mm256_add_epi64(i2, i1);
            i3 = _mm256_add_epi64(i3, i2);
            i4 = _mm256_add_epi64(i4, i3);
        }
        if (until == 0) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(snap + 4 * instants), i4);
            at[instants] = static_cast<std::uint32_t>(i);
            ++instants;
            phase = interleave == 2 ? phase ^ 1 : 0;
            until = gap[static_cast<std::size_t>(phase)];
        }
    }
    alignas(32) u64 own[5][8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(own[0]), i0);
    _mm256_store_si256(reinterpret_cast<__m256i*>(own[1]), i1);
    _mm256_store_si256(reinterpret_cast<__m256i*>(own[2]), i2);
    _mm256_store_si256(reinterpret_cast<__m256i*>(own[3]), i3);
    _mm256_store_si256(reinterpret_cast<__m256i*>(own[4]), i4);
    u64 ends[2][10];
    splitEnds(own, 2, h, ends);
    std::memcpy(integ, ends[1], sizeof ends[1]);
    const std::size_t outs =
        cicCombSplitAvx2(snap, at, 2, instants, ends, combs, combPhase, gap, interleave, raw);
    untilInstant = until;
    combPhase = phase;
    return outs;
}

GC_SIM_AVX512_BEGIN
// cicRunSplitAvx2 with four parts of h side by side in an AVX-512 register; `snap` takes 8
// words per instant of a part.
GC_SIM_AVX512_TARGET std::size_t cicRunSplitAvx512(const std::int32_t* in, std::size_t h,
                                                   u64* integ, u64* combs, int& untilInstant,
                                                   int& combPhase, const std::array<int, 2>& gap,
                                                   int interleave, u64* raw, u64* snap,
                                                   std::uint32_t* at) {
    const __m512i zero = _mm512_setzero_si512();
    const __m128i* st = reinterpret_cast<const __m128i*>(integ);
    __m512i i0 = _mm512_inserti64x2(zero, _mm_loadu_si128(st), 0);
    __m512i i1 = _mm512_inserti64x2(zero, _mm_loadu_si128(st + 1), 0);
    __m512i i2 = _mm512_inserti64x2(zero, _mm_loadu_si128(st + 2), 0);
    __m512i i3 = _mm512_inserti64x2(zero, _mm_loadu_si128(st + 3), 0);
    __m512i i4 = _mm512_inserti64x2(zero, _mm_loadu_si128(st + 4), 0);
    const std::int32_t* p1 = in + 2 * h;
    const std::int32_t* p2 = in + 4 * h;
    const std::int32_t* p3 = in + 6 * h;
    // From [A | B] and [C | D] (four pairs each): inputs 0 and 1 of A, B, C, D, then 2 and 3.
    const __m512i firstTwo = _mm512_setr_epi64(0, 4, 8, 12, 1, 5, 9, 13);
    const __m512i lastTwo = _mm512_setr_epi64(2, 6, 10, 14, 3, 7, 11, 15);
    int until = untilInstant, phase = combPhase;
    std::size_t instants = 0;
    std::size_t i = 0;
    while (i < h) {
        const std::size_t end = std::min(h, i + static_cast<std::size_t>(until));
        until -= static_cast<int>(end - i);
        // Four inputs of each part at a time: the parts' I, Q pairs (64 bits each) transposed
        // so that each input's four pairs lie side by side.
        for (; i + 4 <= end; i += 4) {
            const __m512i ab = _mm512_inserti64x4(
                _mm512_castsi256_si512(
                    _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 2 * i))),
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p1 + 2 * i)), 1);
            const __m512i cd = _mm512_inserti64x4(
                _mm512_castsi256_si512(
                    _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p2 + 2 * i))),
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p3 + 2 * i)), 1);
            const __m512i t01 = _mm512_permutex2var_epi64(ab, firstTwo, cd);
            const __m512i t23 = _mm512_permutex2var_epi64(ab, lastTwo, cd);
            const __m256i words[4] = {
                _mm512_castsi512_si256(t01), _mm512_extracti64x4_epi64(t01, 1),
                _mm512_castsi512_si256(t23), _mm512_extracti64x4_epi64(t23, 1)};
            for (const __m256i& w : words) {
                const __m512i x = _mm512_cvtepi32_epi64(w);
                i0 = _mm512_add_epi64(i0, x);
                i1 = _mm512_add_epi64(i1, i0);
                i2 = _mm512_add_epi64(i2, i1);
                i3 = _mm512_add_epi64(i3, i2);
                i4 = _mm512_add_epi64(i4, i3);
            }
        }
        for (; i < end; ++i) {
            const __m128i a = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(in + 2 * i));
            const __m128i ab = _mm_castpd_si128(
                _mm_loadh_pd(_mm_castsi128_pd(a), reinterpret_cast<const double*>(p1 + 2 * i)));
            const __m128i c = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p2 + 2 * i));
            const __m128i cd = _mm_castpd_si128(
                _mm_loadh_pd(_mm_castsi128_pd(c), reinterpret_cast<const double*>(p3 + 2 * i)));
            const __m512i x =
                _mm512_cvtepi32_epi64(_mm256_inserti128_si256(_mm256_castsi128_si256(ab), cd, 1));
            i0 = _mm512_add_epi64(i0, x);
            i1 = _mm512_add_epi64(i1, i0);
            i2 = _mm512_add_epi64(i2, i1);
            i3 = _mm512_add_epi64(i3, i2);
            i4 = _mm512_add_epi64(i4, i3);
        }
        if (until == 0) {
            _mm512_storeu_si512(snap + 8 * instants, i4);
            at[instants] = static_cast<std::uint32_t>(i);
            ++instants;
            phase = interleave == 2 ? phase ^ 1 : 0;
            until = gap[static_cast<std::size_t>(phase)];
        }
    }
    alignas(64) u64 own[5][8];
    _mm512_store_si512(own[0], i0);
    _mm512_store_si512(own[1], i1);
    _mm512_store_si512(own[2], i2);
    _mm512_store_si512(own[3], i3);
    _mm512_store_si512(own[4], i4);
    u64 ends[4][10];
    splitEnds(own, 4, h, ends);
    std::memcpy(integ, ends[3], sizeof ends[3]);
    const std::size_t outs =
        cicCombSplitAvx2(snap, at, 4, instants, ends, combs, combPhase, gap, interleave, raw);
    untilInstant = until;
    combPhase = phase;
    return outs;
}
GC_SIM_AVX512_END
#endif

struct ChannelModel::Impl {
    ModelParameters p;
    ChannelSetup s;
    bool halfUp{true};

    // Input.
    double inputScale{0.0};  // float full scale -> input word
    int inputUp{0};          // input word -> 19-bit word
    // NCO and mixer.
    std::vector<std::int32_t> sinTable;
    int tableShift{14};
    std::uint32_t tableMask{0};
    std::uint32_t quarter{0};
    std::uint32_t ditherMask{0};
    std::uint32_t ditherState{0x2545f491u};
    int mixShift{16};
    i64 mixHalf{0};
    int mixUp{0};
    // CIC.
    bool wide{false};  // 128-bit integrators
    // 64-bit integrators fed the mixer words unshifted (AVX2), their comb output shifted.
    bool unshiftedCic{false};
    int cicShift{0};  // right shift from the comb output to the CIC word
    int interleave{1};
    std::array<int, 2> instantGap{};  // input samples from one decimation instant to the next
    // Running state.
    std::uint32_t phase{0};
    int untilInstant{0};
    int combPhase{0};
    CicState<u64> cic64;
    CicState<u128> cic128;
    FirStage cfir, pfir;
    int fineShift{0};
    std::vector<std::int32_t> resHistI, resHistQ;  // the last NMULT-1 inputs, then the block
    // Branch b's taps, oldest sample first: tap b + (NMULT-1-j) NDELAY at j.
    std::vector<std::int32_t> branchTaps;
    i64 resTime{0};  // next output instant from this block's first input, 2^-26 samples
    int resShift{0};
    int outShift{0};
    std::array<WordStage, 9> words;
    std::vector<StageStats> stats;

    // Block buffers, reused.
    std::vector<std::int32_t> xr, xi;
    std::vector<std::int32_t> mixed;  // I, Q interleaved, at the mixer's width
    std::vector<i64> aI, aQ, bI, bQ;
    std::vector<u64> cicRaw;      // comb outputs of the vector CIC, I and Q interleaved
    std::vector<i64> resI, resQ;  // the resampler's sums, then its words
    std::vector<u64> cicSnap;     // the split CIC's last integrators at the instants
    std::vector<std::uint32_t> cicAt;

    void setUp();
    void resetState();
    bool quantiseInput(const std::complex<float>* in, std::size_t count);
    template <bool Complex, bool Dither>
    void mix(std::size_t n);
    template <typename Acc>
    void integrate(std::size_t n, CicState<Acc>& st);
    void backEnd(std::vector<std::complex<float>>& out);
    void refreshStats();
};

void ChannelModel::Impl::setUp() {
    checkBits("inputBits", s.inputBits, 8, 19);
    checkBits("ncoAmplitudeBits", p.ncoAmplitudeBits, 8, 24);
    checkBits("ncoTableBits", p.ncoTableBits, 8, 20);
    checkBits("mixerNarrowBits", p.mixerNarrowBits, 8, 20);
    checkBits("cicOutputBits", p.cicOutputBits, 8, 24);
    checkBits("coarseOutputBits", p.coarseOutputBits, 8, 24);
    checkBits("cfirOutputBits", p.cfirOutputBits, 8, 24);
    checkBits("pfirOutputBits", p.pfirOutputBits, 8, 24);
    checkBits("resamplerInputBits", p.resamplerInputBits, 8, 24);
    checkBits("resamplerOutputBits", p.resamplerOutputBits, 8, 30);
    checkBits("outputBits", s.outputBits, 8, 30);
    halfUp = p.rounding == Rounding::HalfUp;

    inputScale = std::ldexp(1.0, s.inputBits - 1);
    inputUp = kInputWordBits - s.inputBits;
    words[kInput].setBits(s.inputBits);

    const int tableSize = 1 << p.ncoTableBits;
    sinTable.resize(static_cast<std::size_t>(tableSize));
    const double amplitude = std::ldexp(1.0, p.ncoAmplitudeBits - 1) - 1.0;
    for (int k = 0; k < tableSize; ++k)
        sinTable[static_cast<std::size_t>(k)] = static_cast<std::int32_t>(
            std::floor(amplitude * std::sin(kTwoPi * k / tableSize) + 0.5));
    tableShift = 32 - p.ncoTableBits;
    tableMask = static_cast<std::uint32_t>(tableSize - 1);
    quarter = static_cast<std::uint32_t>(tableSize / 4);
    ditherMask = p.ncoPhaseDither ? (1u << tableShift) - 1u : 0u;

    const int mixBits = s.mixer20Bit ? 20 : p.mixerNarrowBits;
    // 19-bit input (full scale 2^18) times the table (full scale 2^(A-1)) to mixBits.
    mixShift = (kInputWordBits - 1) + (p.ncoAmplitudeBits - 1) - (mixBits - 1);
    mixHalf = halfUp && mixShift > 0 ? (i64{1} << (mixShift - 1)) : 0;
    mixUp = kCicInputBits - mixBits;
    words[kMixer].setBits(mixBits);

    // The comb output is the 20-bit mixer word times the CIC's D^5 gain; the pre-scale
    // 2^(shift + scale + 6 bigScale - 62) and the change to the CIC word width follow.
    const double growthBits = kCicInputBits + 5.0 * std::log2(static_cast<double>(s.decimation));
    wide = growthBits > 62.0;
    unshiftedCic = !wide && useAvx2();
    cicShift = 62 - (s.shift + s.scale + 6 * s.bigScale) + kCicInputBits - p.cicOutputBits;
    words[kCic].setBits(p.cicOutputBits);
    interleave = s.outputMode == 0 ? 1 : 2;
    if (interleave == 1) {
        instantGap = {s.decimation, s.decimation};
    } else {
        instantGap = {s.decimation / 2, s.decimation - s.decimation / 2};
    }

    words[kCoarse].setBits(p.coarseOutputBits);
    cfir.setTaps(s.cfirTaps);
    cfir.factor = 2;
    cfir.scaleShift = -16 + p.cfirOutputBits - p.coarseOutputBits;
    words[kCfir].setBits(p.cfirOutputBits);
    pfir.setTaps(s.pfirTaps);
    pfir.factor = s.pfirDecimates ? 2 : 1;
    pfir.scaleShift = -16 + p.pfirOutputBits - p.cfirOutputBits;
    words[kPfir].setBits(p.pfirOutputBits);
    fineShift = -10 + p.resamplerInputBits - p.pfirOutputBits;
    words[kFine].setBits(p.resamplerInputBits);
    branchTaps.assign(static_cast<std::size_t>(s.resamplerPhases * s.resamplerMultiplies), 0);
    for (int b = 0; b < s.resamplerPhases; ++b)
        for (int j = 0; j < s.resamplerMultiplies; ++j)
            branchTaps[static_cast<std::size_t>(b * s.resamplerMultiplies + j)] =
                s.resamplerTaps[static_cast<std::size_t>(b + (s.resamplerMultiplies - 1 - j) *
                                                                 s.resamplerPhases)];
    resShift = s.finalShift - 15 + p.resamplerOutputBits - p.resamplerInputBits;
    words[kResampler].setBits(p.resamplerOutputBits);
    outShift = s.outputBits - p.resamplerOutputBits;
    words[kOutput].setBits(s.outputBits);
    resetState();
}

void ChannelModel::Impl::resetState() {
    phase = s.phaseWord << 16;
    untilInstant = instantGap[0];
    combPhase = 0;
    cic64 = {};
    cic128 = {};
    cfir.reset();
    pfir.reset();
    const auto keep = static_cast<std::size_t>(s.resamplerMultiplies - 1);
    resHistI.assign(keep, 0);
    resHistQ.assign(keep, 0);
    resTime = 0;
    ditherState = 0x2545f491u;
    for (auto& w : words) {
        w.overflows = 0;
        w.peak = 0;
    }
    refreshStats();
}

// Input floats to input words (rounded, saturated), then to the 19-bit word; the imaginary
// part only when the block has one. Returns whether it has.
bool ChannelModel::Impl::quantiseInput(const std::complex<float>* in, std::size_t count) {
    WordStage& w = words[kInput];
    const float scale = static_cast<float>(inputScale);
    const float offset = halfUp ? 0.5f : 0.0f;
    const std::int32_t lo = static_cast<std::int32_t>(w.lo), hi = static_cast<std::int32_t>(w.hi);
    const int up = inputUp;
    const float* f = reinterpret_cast<const float*>(in);
    xr.resize(count);
    xi.resize(count);
    std::int32_t* r = xr.data();
    std::int32_t* q = xi.data();
    // Any imaginary part other than zero (-0 counts as zero): the bit patterns ORed together
    // while the real parts are taken.
    std::uint32_t imagBits = 0;
    std::int32_t over = 0;
    std::int32_t peak = static_cast<std::int32_t>(w.peak);
    quantiseRail(f, 2 * count, r, count, scale, offset, lo, hi, up, over, peak, true, imagBits);
    const bool complexInput = (imagBits & 0x7fffffffu) != 0;
    if (complexInput)
        quantiseRail(f + 1, 2 * count - 1, q, count, scale, offset, lo, hi, up, over, peak, false,
                     imagBits);
    w.overflows += over;
    w.peak = peak;
    return complexInput;
}

// NCO and mixer over n samples of xr (and xi): interleaved I, Q words at the CIC's input width.
template <bool Complex, bool Dither>
void ChannelModel::Impl::mix(std::size_t n) {
    const std::int32_t* table = sinTable.data();
    const std::int32_t* inR = xr.data();
    const std::int32_t* inI = xi.data();
    mixed.resize(2 * n);
    std::int32_t* out = mixed.data();
    const std::uint32_t freq = s.frequencyWord;
    const int tShift = tableShift;
    const std::uint32_t tMask = tableMask;
    const std::uint32_t q = quarter;
    const int mShift = mixShift;
    const i64 mHalf = mixHalf;
    WordStage& mixWord = words[kMixer];
    const i64 mLo = mixWord.lo, mHi = mixWord.hi;
    std::uint64_t mixOver = 0;
    std::uint32_t ph = phase;
    std::uint32_t dither = ditherState;
    const std::uint32_t dMask = ditherMask;
    std::size_t i = 0;
    auto peak = static_cast<std::int32_t>(mixWord.peak);
#if defined(GC_SIM_AVX2)
    if constexpr (!Complex && !Dither) {
        if (useAvx512() && mShift > 0 && mShift < 32)
            i = mixRealAvx512(inR, out, n, ph, freq, table, tShift, tMask, q, mShift, mHalf, peak);
        if (useAvx2() && mShift > 0 && mShift < 32)
            i += mixRealAvx2(inR + i, out + 2 * i, n - i, ph, freq, table, tShift, tMask, q, mShift,
                             mHalf, peak);
    }
#endif
    const std::size_t vectorDone = i;
    for (; i < n; ++i) {
        std::uint32_t at = ph;
        if constexpr (Dither) {
            dither ^= dither << 13;
            dither ^= dither >> 17;
            dither ^= dither << 5;
            at += dither & dMask;
        }
        const std::uint32_t idx = at >> tShift;
        const i64 sn = table[idx];
        const i64 cs = table[(idx + q) & tMask];
        ph += freq;
        const i64 a = inR[i];
        i64 mI, mQ;
        if constexpr (Complex) {
            const i64 b = inI[i];
            mI = (a * cs + b * sn + mHalf) >> mShift;
            mQ = (b * cs - a * sn + mHalf) >> mShift;
            // A complex input can exceed the word; a real one cannot.
            mixOver += (mI > mHi) + (mI < mLo) + (mQ > mHi) + (mQ < mLo);
            mI = std::clamp(mI, mLo, mHi);
            mQ = std::clamp(mQ, mLo, mHi);
        } else {
            mI = (a * cs + mHalf) >> mShift;
            mQ = (-a * sn + mHalf) >> mShift;
        }
        out[2 * i] = static_cast<std::int32_t>(mI);
        out[2 * i + 1] = static_cast<std::int32_t>(mQ);
    }
    phase = ph;
    ditherState = dither;
    mixWord.peak = peakOf(out + 2 * vectorDone, 2 * (n - vectorDone), peak);
    mixWord.overflows += mixOver;
}

// The CIC over the mixed words: five integrators per rail at the input rate, and at each
// decimation instant five combs of that instant's phase, the pre-scale and the CIC word.
template <typename Acc>
void ChannelModel::Impl::integrate(std::size_t n, CicState<Acc>& st) {
    using SAcc = std::conditional_t<std::is_same_v<Acc, u64>, i64, i128>;
    const std::int32_t* in = mixed.data();
    const int up = mixUp;  // mixer words enter the CIC at its input width
    // I and Q side by side in one vector register where the integrators are 64 bits wide.
    using Pair = std::conditional_t<std::is_same_v<Acc, u64>, u64 __attribute__((vector_size(16))),
                                    std::array<Acc, 2>>;
    Pair i0, i1, i2, i3, i4;
    i0[0] = st.integI[0], i0[1] = st.integQ[0];
    i1[0] = st.integI[1], i1[1] = st.integQ[1];
    i2[0] = st.integI[2], i2[1] = st.integQ[2];
    i3[0] = st.integI[3], i3[1] = st.integQ[3];
    i4[0] = st.integI[4], i4[1] = st.integQ[4];
    WordStage& cicWord = words[kCic];
    // The comb output: the pre-scale to the CIC word.
    const auto emit = [&](Acc cI, Acc cQ) {
        const SAcc sI = static_cast<SAcc>(cI), sQ = static_cast<SAcc>(cQ);
        const SAcc rI =
            cicShift > 0 ? roundShift<SAcc>(sI, cicShift, halfUp) : sI * (SAcc{1} << -cicShift);
        const SAcc rQ =
            cicShift > 0 ? roundShift<SAcc>(sQ, cicShift, halfUp) : sQ * (SAcc{1} << -cicShift);
        const auto toWord = [&](SAcc v) {
            const SAcc lim = SAcc{1} << 40;  // beyond any word, so the cast is exact
            return static_cast<i64>(std::clamp(v, -lim, lim));
        };
        aI.push_back(cicWord.fit(toWord(rI)));
        aQ.push_back(cicWord.fit(toWord(rQ)));
    };

#if defined(__x86_64__) && defined(__GNUC__)
    if constexpr (std::is_same_v<Acc, u64>) {
        if (unshiftedCic) {
            alignas(16) u64 integ[10];
            alignas(16) u64 combs[20];
            for (std::size_t k = 0; k < 5; ++k) {
                integ[2 * k] = st.integI[k];
                integ[2 * k + 1] = st.integQ[k];
                for (std::size_t ph = 0; ph < 2; ++ph) {
                    combs[10 * ph + 2 * k] = st.combI[ph][k];
                    combs[10 * ph + 2 * k + 1] = st.combQ[ph][k];
                }
            }
            const std::size_t most =
                n / static_cast<std::size_t>(instantGap[0] < instantGap[1] ? instantGap[0]
                                                                           : instantGap[1]) +
                2;
            cicRaw.resize(2 * most);
            // Four or two parts side by side where the block holds that many decimation
            // periods or more.
            const std::size_t period = static_cast<std::size_t>(
                interleave == 1 ? instantGap[0] : instantGap[0] + instantGap[1]);
            const std::size_t parts = useAvx512() && n >= 4 * period ? 4 : 2;
            const std::size_t h = std::min<std::size_t>(n / parts, 16384) / period * period;
            std::size_t outs = 0;
            if (h > 0) {
                const std::size_t instants = h / period * static_cast<std::size_t>(interleave);
                cicSnap.resize(2 * parts * instants);
                cicAt.resize(instants);
                outs = parts == 4 ? cicRunSplitAvx512(in, h, integ, combs, untilInstant, combPhase,
                                                      instantGap, interleave, cicRaw.data(),
                                                      cicSnap.data(), cicAt.data())
                                  : cicRunSplitAvx2(in, h, integ, combs, untilInstant, combPhase,
                                                    instantGap, interleave, cicRaw.data(),
                                                    cicSnap.data(), cicAt.data());
            }
            outs += cicRunAvx2(in + 2 * parts * h, n - parts * h, integ, combs, untilInstant,
                               combPhase, instantGap, interleave, cicRaw.data() + 2 * outs);
            for (std::size_t k = 0; k < 5; ++k) {
                st.integI[k] = integ[2 * k];
                st.integQ[k] = integ[2 * k + 1];
                for (std::size_t ph = 0; ph < 2; ++ph) {
                    st.combI[ph][k] = combs[10 * ph + 2 * k];
                    st.combQ[ph][k] = combs[10 * ph + 2 * k + 1];
                }
            }
            // The comb outputs as signed words, shifted up to the CIC input width, pre-scaled
            // and limited to the CIC word (a word beyond +-2^40 counts and saturates the same).
            i64* raw = reinterpret_cast<i64*>(cicRaw.data());
            const std::size_t before = aI.size();
            aI.resize(before + outs);
            aQ.resize(before + outs);
            std::size_t k = 0;
            if (useAvx512() && cicShift > -63 && cicShift < 63) {
                // The words limited in pairs; k counts pairs.
                k = (cicShift <= 0 ? scaleFitAvx512<false, true, true>(
                                         raw, 2 * outs, up, 1, -cicShift, halfUp, cicWord,
                                         aI.data() + before, aQ.data() + before)
                                   : scaleFitAvx512<false, false, true>(
                                         raw, 2 * outs, up, 1, -cicShift, halfUp, cicWord,
                                         aI.data() + before, aQ.data() + before)) /
                    2;
            }
            scaleFit(raw + 2 * k, 2 * (outs - k), up, 1, -cicShift, halfUp, cicWord);
            for (; k < outs; ++k) {
                aI[before + k] = raw[2 * k];
                aQ[before + k] = raw[2 * k + 1];
            }
            return;
        }
    }
#endif

    std::size_t i = 0;
    while (i < n) {
        const std::size_t run =
            std::min<std::size_t>(n - i, static_cast<std::size_t>(untilInstant));
        const std::size_t end = i + run;
        if constexpr (std::is_same_v<Acc, u64>) {
            for (; i < end; ++i) {
                Pair x;
                x[0] = static_cast<u64>(static_cast<i64>(in[2 * i])) << up;
                x[1] = static_cast<u64>(static_cast<i64>(in[2 * i + 1])) << up;
                i0 += x;
                i1 += i0;
                i2 += i1;
                i3 += i2;
                i4 += i3;
            }
        } else {
            for (; i < end; ++i) {
                for (int r = 0; r < 2; ++r) {
                    i0[r] +=
                        static_cast<Acc>(static_cast<i64>(in[2 * i + static_cast<std::size_t>(r)]))
                        << up;
                    i1[r] += i0[r];
                    i2[r] += i1[r];
                    i3[r] += i2[r];
                    i4[r] += i3[r];
                }
            }
        }
        untilInstant -= static_cast<int>(run);
        if (untilInstant == 0) {
            // Five combs at this decimation phase's rate, then the pre-scale to the CIC word.
            auto& dI = st.combI[static_cast<std::size_t>(combPhase)];
            auto& dQ = st.combQ[static_cast<std::size_t>(combPhase)];
            Acc cI = i4[0], cQ = i4[1];
            for (std::size_t k = 0; k < 5; ++k) {
                const Acc tI = cI, tQ = cQ;
                cI -= dI[k];
                cQ -= dQ[k];
                dI[k] = tI;
                dQ[k] = tQ;
            }
            emit(cI, cQ);
            combPhase = (combPhase + 1) % interleave;
            untilInstant = instantGap[static_cast<std::size_t>(combPhase)];
        }
    }
    st.integI = {i0[0], i1[0], i2[0], i3[0], i4[0]};
    st.integQ = {i0[1], i1[1], i2[1], i3[1], i4[1]};
}

void ChannelModel::Impl::backEnd(std::vector<std::complex<float>>& out) {
    // Coarse gain, in place.
    WordStage& coarse = words[kCoarse];
    const int coarseShift = s.coarse + p.coarseOutputBits - p.cicOutputBits;
    if (useAvx2() && coarseShift == 0 && coarse.bits >= words[kCic].bits) {
        // Gain 1 into a word as wide: the CIC words pass unchanged, and the peak of the same
        // words since the start is the CIC word's.
        coarse.peak = std::max(coarse.peak, words[kCic].peak);
    } else {
        scaleFit(aI.data(), aI.size(), 0, 1, coarseShift, halfUp, coarse);
        scaleFit(aQ.data(), aQ.size(), 0, 1, coarseShift, halfUp, coarse);
    }
    cfir.run(aI, aQ, bI, bQ, words[kCfir], halfUp);
    pfir.run(bI, bQ, aI, aQ, words[kPfir], halfUp);
    WordStage& fine = words[kFine];
    scaleFit(aI.data(), aI.size(), 0, s.fineGain, fineShift, halfUp, fine);
    scaleFit(aQ.data(), aQ.size(), 0, s.fineGain, fineShift, halfUp, fine);

    // Resampler: output instants every ratio/2^26 input samples; the branch nearest to (or
    // below) the instant's fraction; tap p + m NDELAY multiplies the input m samples back.
    const std::size_t keep = static_cast<std::size_t>(s.resamplerMultiplies - 1);
    resHistI.insert(resHistI.end(), aI.begin(), aI.end());
    resHistQ.insert(resHistQ.end(), aQ.begin(), aQ.end());
    const u64 available = aI.size();  // inputs of this block; index 0 = resHist[keep]
    const int phases = s.resamplerPhases;
    const int nmult = s.resamplerMultiplies;
    WordStage& res = words[kResampler];
    WordStage& outWord = words[kOutput];
    const double outScale = std::ldexp(1.0, -(s.outputBits - 1));
    const bool avx2 = useAvx2();
#if defined(__x86_64__) && defined(__GNUC__)
    if (avx2) {
        // The block's sums first, then the two words over all of them (the counts and peaks do
        // not depend on the order), then the floats.
        // Instants from half an input before the block to half an input past its end.
        const u64 most = ((available + 2) << 26) / s.ratioWord + 2;
        resI.resize(most);
        resQ.resize(most);
        const std::size_t outs = resampleSumsAvx2(
            branchTaps.data(), static_cast<std::size_t>(nmult), static_cast<u64>(phases),
            p.resamplerNearestPhase, resHistI.data(), resHistQ.data(), available, resTime,
            static_cast<i64>(s.ratioWord), resI.data(), resQ.data());
        scaleFit(resI.data(), outs, 0, 1, resShift, halfUp, res);
        scaleFit(resQ.data(), outs, 0, 1, resShift, halfUp, res);
        scaleFit(resI.data(), outs, 0, 1, outShift, halfUp, outWord);
        scaleFit(resQ.data(), outs, 0, 1, outShift, halfUp, outWord);
        const std::size_t before = out.size();
        out.resize(before + outs);
        for (std::size_t k = 0; k < outs; ++k)
            out[before + k] = {static_cast<float>(static_cast<double>(resI[k]) * outScale),
                               static_cast<float>(static_cast<double>(resQ[k]) * outScale)};
    }
#endif
    while (!avx2) {
        // The instant may lie up to half an input sample before this block (the nearest
        // branch of the last block's final instant rounded up into it).
        i64 n = 0;
        u64 branch = 0;
        resamplerInstant(resTime, static_cast<u64>(phases), p.resamplerNearestPhase, n, branch);
        if (n >= static_cast<i64>(available)) break;
        // The window ends with input n, index keep + n of the history.
        const std::int32_t* taps = branchTaps.data() + branch * static_cast<u64>(nmult);
        i64 accI = 0, accQ = 0;
        dotPair(avx2, taps, resHistI.data() + n, resHistQ.data() + n,
                static_cast<std::size_t>(nmult), accI, accQ);
        const i64 rI = res.fit(scaleBy(accI, resShift, halfUp));
        const i64 rQ = res.fit(scaleBy(accQ, resShift, halfUp));
        const i64 oI = outWord.fit(scaleBy(rI, outShift, halfUp));
        const i64 oQ = outWord.fit(scaleBy(rQ, outShift, halfUp));
        out.emplace_back(static_cast<float>(static_cast<double>(oI) * outScale),
                         static_cast<float>(static_cast<double>(oQ) * outScale));
        resTime += static_cast<i64>(s.ratioWord);
    }
    resTime -= static_cast<i64>(available) * (i64{1} << 26);
    resHistI.erase(resHistI.begin(), resHistI.end() - static_cast<std::ptrdiff_t>(keep));
    resHistQ.erase(resHistQ.begin(), resHistQ.end() - static_cast<std::ptrdiff_t>(keep));
}

void ChannelModel::Impl::refreshStats() {
    stats.resize(words.size());
    for (std::size_t k = 0; k < words.size(); ++k) {
        const WordStage& w = words[k];
        stats[k].stage = kStageNames[k];
        stats[k].overflows = w.overflows;
        stats[k].peakDbfs =
            w.peak == 0
                ? -std::numeric_limits<double>::infinity()
                : 20.0 * std::log10(static_cast<double>(w.peak) / std::ldexp(1.0, w.bits - 1));
    }
}

void setVectorLoopsForTesting(VectorLoops loops) {
    gVectorLimit.store(static_cast<int>(loops), std::memory_order_relaxed);
}

void setScalarReferenceForTesting(bool on) {
    setVectorLoopsForTesting(on ? VectorLoops::Scalar : VectorLoops::Best);
}

ChannelSetup decodeChannelSetup(const std::string& programFileText, int channel,
                                const ModelParameters& p) {
    return decodeSetup(parseProgramFile(programFileText), channel, p);
}

ChannelModel::ChannelModel(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
ChannelModel::ChannelModel(ChannelModel&&) noexcept = default;
ChannelModel& ChannelModel::operator=(ChannelModel&&) noexcept = default;
ChannelModel::~ChannelModel() = default;

ChannelModel ChannelModel::fromProgramFile(const std::string& programFileText, int channel,
                                           const ModelParameters& p) {
    const ProgramFileContents file = parseProgramFile(programFileText);
    auto impl = std::make_unique<Impl>();
    impl->p = p;
    impl->s = decodeSetup(file, channel, p);
    impl->setUp();
    return ChannelModel(std::move(impl));
}

double ChannelModel::inputRateHz() const { return impl_->s.clockHz / (1.0 + impl_->s.zeroCount); }

double ChannelModel::outputRateHz() const {
    const ChannelSetup& s = impl_->s;
    const double cicRate = s.clockHz * (s.outputMode == 0 ? 1.0 : 2.0) / s.decimation;
    const double pfirRate = cicRate / 2.0 / (s.pfirDecimates ? 2.0 : 1.0);
    return pfirRate * 67108864.0 / static_cast<double>(s.ratioWord);
}

double ChannelModel::ncoFrequencyHz() const {
    return impl_->s.clockHz * static_cast<double>(impl_->s.frequencyWord) / 4294967296.0;
}

const ChannelSetup& ChannelModel::setup() const { return impl_->s; }
const ModelParameters& ChannelModel::parameters() const { return impl_->p; }

void ChannelModel::process(const std::complex<float>* in, std::size_t n,
                           std::vector<std::complex<float>>& out) {
    Impl& m = *impl_;
    constexpr std::size_t kBlock = 4096;
    const std::size_t pad = static_cast<std::size_t>(m.s.zeroCount) + 1;
    for (std::size_t start = 0; start < n; start += kBlock) {
        const std::size_t count = std::min(kBlock, n - start);
        const bool complexInput = m.quantiseInput(in + start, count);
        if (pad > 1) {
            // NZERO zeros after each sample, spread from the back so that nothing is
            // overwritten before it is moved.
            m.xr.resize(count * pad);
            m.xi.resize(count * pad);
            for (std::size_t k = count; k-- > 0;) {
                const std::int32_t r = m.xr[k], q = m.xi[k];
                std::fill_n(m.xr.begin() + static_cast<std::ptrdiff_t>(k * pad), pad, 0);
                std::fill_n(m.xi.begin() + static_cast<std::ptrdiff_t>(k * pad), pad, 0);
                m.xr[k * pad] = r;
                m.xi[k * pad] = q;
            }
        }
        const std::size_t total = count * pad;
        const bool dither = m.p.ncoPhaseDither;
        if (complexInput) {
            dither ? m.mix<true, true>(total) : m.mix<true, false>(total);
        } else {
            dither ? m.mix<false, true>(total) : m.mix<false, false>(total);
        }
        m.aI.clear();
        m.aQ.clear();
        if (m.wide) {
            m.integrate<u128>(total, m.cic128);
        } else {
            m.integrate<u64>(total, m.cic64);
        }
        m.backEnd(out);
    }
    m.refreshStats();
}

const std::vector<StageStats>& ChannelModel::stats() const { return impl_->stats; }

void ChannelModel::reset() { impl_->resetState(); }

}  // namespace gc::sim
