#include <gtest/gtest.h>

#include <cmath>
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
