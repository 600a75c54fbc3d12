#include "filters/FilterTables.h"

namespace gc::filters {

namespace {

// CFIR sets: taps 0..9 of the 21-tap filter and the centre tap 10. 65536 is unity gain.
constexpr std::array<int, 11> kCfirBypass{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 65536};
constexpr std::array<int, 11> kCfir17{5,    39,   -166,  -1301, -3009, -2848,
                                      1280, 9009, 18952, 28546, 32767};
constexpr std::array<int, 11> kCfir34{-24,   74,   494,   548,   -977, -3416,
                                      -3672, 1525, 13074, 26547, 32767};
constexpr std::array<int, 11> kCfir68{12,    -93,   -62,  804,   1283, -1273,
                                      -5197, -3512, 8332, 24823, 32767};
constexpr std::array<int, 11> kCfir80{5,     -8,    -172, -192,  806,  1493,
                                      -1889, -6182, 1085, 21109, 32767};
constexpr std::array<int, 11> kCfir100{-3,   40,    -75,   -437,  291,  1951,
                                       -489, -6365, -1185, 19736, 32767};
constexpr std::array<int, 11> kCfir150{47,    -102,  -1184, -1274, 1487, 3243,
                                       -1798, -7760, 15,    20939, 32767};
constexpr std::array<int, 11> kCfirGsm{66,   300,  403,   -404,  -2037, -2656,
                                       -466, 4298, 10026, 14845, 16785};
constexpr std::array<int, 11> kCfirIs95{-18,   108,  210,   -575,  -2407, -3637,
                                        -1361, 6277, 17813, 28441, 32767};
constexpr std::array<int, 11> kCfirUmts{-8,   86,    -127,  -698,  298,  2413,
                                        -345, -6792, -1500, 19703, 32767};

// PFIR sets: taps 0..30 of the 63-tap filter and the centre tap 31.
constexpr std::array<int, 32> kPfirBypass{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                          0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 65536};
constexpr std::array<int, 32> kPfir17{6,     17,   33,   49,    54,    33,    -28,   -132,
                                      -263,  -380, -424, -329,  -49,   408,   964,   1461,
                                      1690,  1445, 597,  -826,  -2589, -4252, -5228, -4908,
                                      -2819, 1222, 7006, 13910, 20982, 27118, 31289, 32767};
constexpr std::array<int, 32> kPfir34{14,    30,    41,    27,   -29,   -118,  -200,  -212,
                                      -95,   150,   435,   598,  475,   5,     -680,  -1256,
                                      -1330, -653,  669,   2112, 2880,  2269,  101,   -2996,
                                      -5632, -6103, -3091, 3666, 13042, 22747, 30053, 32767};
constexpr std::array<int, 32> kPfir68{2,    1,    -11,  -23,   -2,    45,   43,    -48,
                                      -117, -8,   191,  155,   -189,  -375, 26,    579,
                                      358,  -601, -918, 248,   1469,  618,  -1680, -1995,
                                      1104, 3690, 845,  -5354, -5506, 6574, 24277, 32767};
constexpr std::array<int, 32> kPfir80{31,   136,  208,   107,   -123,  -181, 69,    277,
                                      46,   -353, -235,  358,   483,   -246, -750,  -24,
                                      967,  470,  -1046, -1081, 884,   1817, -360,  -2608,
                                      -689, 3365, 2594,  -3992, -6527, 4407, 23277, 32767};
constexpr std::array<int, 32> kPfir100{-30,   -141,  -180, 2,    151,   -34,   -186,  87,
                                       232,   -171,  -273, 293,  292,   -458,  -270,  668,
                                       181,   -916,  4,    1192, -325,  -1479, 837,   1758,
                                       -1647, -2005, 3015, 2201, -5914, -2326, 19169, 32767};
constexpr std::array<int, 32> kPfir150{-32,   -234, 98,   -24,   -74,  165,   -199, 138,
                                       13,    -198, 329,  -323,  149,  145,   -437, 577,
                                       -456,  73,   445,  -867,  955,  -576,  -213, 1138,
                                       -1778, 1706, -659, -1331, 3909, -6474, 8360, 32767};
constexpr std::array<int, 32> kPfirGsm{132,  182,  1,     -309,  -330,  119,   560,   343,
                                       -424, -834, -278,  696,   960,   149,   -916,  -1132,
                                       -212, 1075, 1514,  421,   -1518, -2374, -673,  2529,
                                       3817, 726,  -4796, -6888, -650,  12967, 26898, 32767};
constexpr std::array<int, 32> kPfirIs95{-4,    -45,  -166,  -349,  -452,  -299,  96,    420,
                                        302,   -225, -612,  -321,  471,   881,   267,   -866,
                                        -1191, -64,  1461,  1516,  -388,  -2351, -1826, 1303,
                                        3804,  2088, -3358, -6915, -2266, 11185, 26207, 32767};
constexpr std::array<int, 32> kPfirUmts{
    4,   -2, -3,   6,  -1,  -9,   10,  8,   -20,  4,     24,   -29,  -8,    62,    -40,   -78,
    112, 42, -170, 86, 130, -328, 138, 677, -824, -1086, 2253, 1475, -5428, -1756, 19278, 32767};

// Resampler sets: the first half of each even-length symmetric prototype; the bypass set is the
// single tap 1024.
constexpr std::array<int, 1> kResBypass{1024};
#include "filters/ResamplerTables.inc"

}  // namespace

const std::array<FilterTable, kCfirSetCount>& cfirLibrary() {
    static constexpr std::array<FilterTable, kCfirSetCount> kLibrary{{
        {"cfir_bypass", 21, kCfirBypass.data(), 11},
        {"cfir_17", 21, kCfir17.data(), 11},
        {"cfir_34", 21, kCfir34.data(), 11},
        {"cfir_68", 21, kCfir68.data(), 11},
        {"cfir_80", 21, kCfir80.data(), 11},
        {"cfir_100", 21, kCfir100.data(), 11},
        {"cfir_150", 21, kCfir150.data(), 11},
        {"cfir_gsm", 21, kCfirGsm.data(), 11},
        {"cfir_is95", 21, kCfirIs95.data(), 11},
        {"cfir_umts", 21, kCfirUmts.data(), 11},
    }};
    return kLibrary;
}

const std::array<FilterTable, kPfirSetCount>& pfirLibrary() {
    static constexpr std::array<FilterTable, kPfirSetCount> kLibrary{{
        {"pfir_bypass", 63, kPfirBypass.data(), 32},
        {"pfir_17", 63, kPfir17.data(), 32},
        {"pfir_34", 63, kPfir34.data(), 32},
        {"pfir_68", 63, kPfir68.data(), 32},
        {"pfir_80", 63, kPfir80.data(), 32},
        {"pfir_100", 63, kPfir100.data(), 32},
        {"pfir_150", 63, kPfir150.data(), 32},
        {"pfir_gsm", 63, kPfirGsm.data(), 32},
        {"pfir_is95", 63, kPfirIs95.data(), 32},
        {"pfir_umts", 63, kPfirUmts.data(), 32},
    }};
    return kLibrary;
}

const std::array<FilterTable, kResamplerSetCount>& resamplerLibrary() {
    static constexpr std::array<FilterTable, kResamplerSetCount> kLibrary{{
        {"res_bypass", 1, kResBypass.data(), 1},
        {"res_6x64_60", 384, kRes6x64_60.data(), 192},
        {"res_7x64_60", 448, kRes7x64_60.data(), 224},
        {"res_8x64_60", 512, kRes8x64_60.data(), 256},
        {"res_8x64_80", 512, kRes8x64_80.data(), 256},
        {"res_9x32_60", 288, kRes9x32_60.data(), 144},
        {"res_12x32_80", 384, kRes12x32_80.data(), 192},
        {"res_15x32_80", 480, kRes15x32_80.data(), 240},
        {"res_19x16_80", 304, kRes19x16_80.data(), 152},
    }};
    return kLibrary;
}

}  // namespace gc::filters
