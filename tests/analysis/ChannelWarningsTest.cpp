#include <gtest/gtest.h>

#include "analysis/ChannelMeasure.h"
#include "model/ConfigurationModel.h"

namespace gc::analysis {
namespace {

TEST(ChannelWarnings, TapWordsFollowTheChipsWordSizes) {
    EXPECT_EQ(tapAsLoaded(65536, 16), 0);
    EXPECT_EQ(tapAsLoaded(32767, 16), 32767);
    EXPECT_EQ(tapAsLoaded(32768, 16), -32768);
    EXPECT_EQ(tapAsLoaded(-32768, 16), -32768);
    EXPECT_EQ(tapAsLoaded(-32769, 16), 32767);
    EXPECT_EQ(tapAsLoaded(2047, 12), 2047);
    EXPECT_EQ(tapAsLoaded(2048, 12), -2048);
    EXPECT_EQ(tapAsLoaded(-2049, 12), 2047);

    ChainSpec s;
    s.cfirTaps.assign(21, 0);
    s.cfirTaps[10] = 65536;  // the built-in bypass centre
    s.pfirTaps.assign(63, 100);
    s.resamplerTaps = {1024, 2047, -2048};
    EXPECT_EQ(tapWordWarnings(s),
              std::vector<std::string>{"CFIR: коэффициентов вне 16-разрядного слова микросхемы: 1 "
                                       "(первый: №10 = 65536, в микросхему попадёт 0)"});
    s.cfirTaps[10] = 0;
    s.resamplerTaps = {5, 3000, -3000, 4096};
    EXPECT_EQ(tapWordWarnings(s),
              std::vector<std::string>{"Ресемплер: коэффициентов вне 12-разрядного слова "
                                       "микросхемы: 3 (первый: №1 = 3000, в микросхему попадёт "
                                       "-1096)"});
}

TEST(ChannelWarnings, EachConditionAddsItsLine) {
    gc::model::ConfigurationModel model;  // zero taps, gains 0, NCO 10 MHz of 100 MHz
    EXPECT_TRUE(channelWarnings(model, nullptr).empty());

    model.Derived.CicGain = 1.0;
    model.Derived.TotalGain = 1.0f;
    model.Chip.Fc[0] = 50000000;  // exactly C/2 is still tuned directly
    EXPECT_TRUE(channelWarnings(model, nullptr).empty());

    model.Work.CurrentChannel = 1;
    model.CfirTaps[1][10] = 65536;
    model.Derived.CicGain = 2.0;
    model.Derived.TotalGain = 1.5f;
    model.Chip.Fc[1] = 60000000;
    Measurement m;
    m.passbandHz = 120000.0;
    m.bandwidth3dbHz = 100000.5;
    const std::vector<std::string> expected{
        "CFIR: коэффициентов вне 16-разрядного слова микросхемы: 1 (первый: №10 = 65536, в "
        "микросхему попадёт 0)",
        "Усиление CIC 2.0000 больше 1: выход CIC может переполниться",
        "Общее усиление 1.500 больше 1: выходной сигнал может ограничиваться",
        "Частота NCO 60000000 Гц выше половины тактовой частоты (50000000 Гц): канал "
        "настроится на зеркальную частоту 40000000 Гц",
        "Граница полосы пропускания 120000 Гц лежит за шириной полосы по уровню -3 дБ "
        "(100000.5 Гц)"};
    EXPECT_EQ(channelWarnings(model, &m), expected);

    // A pass band within the -3 dB width, or a response that never falls so far: no line.
    m.passbandHz = 100000.0;
    EXPECT_EQ(channelWarnings(model, &m).size(), 4u);
    m.passbandHz = 120000.0;
    m.bandwidth3dbHz.reset();
    EXPECT_EQ(channelWarnings(model, &m).size(), 4u);
}

}  // namespace
}  // namespace gc::analysis
