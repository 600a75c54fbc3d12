// The filter control window: every control writes its own bits of the register image and no
// other, and the window shows the image again after each change.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/FiltersPresenter.h"

using gc::app::ControlKind;
using gc::app::FiltersPresenter;
using gc::app::FiltersState;
using gc::chip::RegisterChannel;
using gc::chip::RegisterImage;
using gc::model::ConfigurationModel;

namespace {

// The window's table: control, channel, register field, first bit, bit count.
struct Bits {
    const char* name;
    int channel;
    int RegisterChannel::*field;
    int first;
    int count;
};

std::vector<Bits> windowTable() {
    const char* names[4][14] = {
        {"CheckBox8", "CheckBox11", "CheckBox9", "CheckBox10", "CheckBox12", "CheckBox13",
         "CheckBox14", "CheckBox15", "ComboBox8", "ComboBox9", "CheckBox16", "CheckBox17",
         "CheckBox18", "ComboBox10"},
        {"CheckBox1", "CheckBox4", "CheckBox2", "CheckBox3", "CheckBox5", "CheckBox6", "CheckBox7",
         "CheckBox19", "ComboBox1", "ComboBox2", "CheckBox20", "CheckBox21", "CheckBox22",
         "ComboBox3"},
        {"CheckBox23", "CheckBox26", "CheckBox24", "CheckBox25", "CheckBox27", "CheckBox28",
         "CheckBox29", "CheckBox30", "ComboBox4", "ComboBox5", "CheckBox31", "CheckBox32",
         "CheckBox33", "ComboBox6"},
        {"CheckBox34", "CheckBox37", "CheckBox35", "CheckBox36", "CheckBox38", "CheckBox39",
         "CheckBox40", "CheckBox41", "ComboBox7", "ComboBox11", "CheckBox42", "CheckBox43",
         "CheckBox44", "ComboBox12"},
    };
    struct Row {
        int RegisterChannel::*field;
        int first;
        int count;
    };
    const Row rows[14] = {
        {&RegisterChannel::CFIRControl, 0, 1}, {&RegisterChannel::CFIRControl, 7, 1},
        {&RegisterChannel::CFIRControl, 1, 1}, {&RegisterChannel::CFIRControl, 2, 1},
        {&RegisterChannel::PFIRControl, 0, 1}, {&RegisterChannel::PFIRControl, 1, 1},
        {&RegisterChannel::PFIRControl, 2, 1}, {&RegisterChannel::PeakControl, 5, 1},
        {&RegisterChannel::PFIRControl, 3, 2}, {&RegisterChannel::PeakControl, 3, 2},
        {&RegisterChannel::SplitIQ, 5, 1},     {&RegisterChannel::SplitIQ, 6, 1},
        {&RegisterChannel::SplitIQ, 4, 1},     {&RegisterChannel::SplitIQ, 0, 4},
    };
    std::vector<Bits> table;
    for (int ch = 0; ch < 4; ++ch) {
        for (int r = 0; r < 14; ++r) {
            table.push_back({names[ch][r], ch, rows[r].field, rows[r].first, rows[r].count});
        }
    }
    return table;
}

int group(int value, int first, int count) {
    return static_cast<int>((static_cast<std::uint32_t>(value) >> first) & ((1u << count) - 1u));
}

int withGroup(int value, int first, int count, int g) {
    const std::uint32_t mask = ((1u << count) - 1u) << first;
    return static_cast<int>((static_cast<std::uint32_t>(value) & ~mask) |
                            ((static_cast<std::uint32_t>(g) << first) & mask));
}

// An image whose every field holds scattered bits (negative values included), so that a write
// touching a wrong bit anywhere shows in a whole-image comparison.
RegisterImage scrambledImage(std::uint32_t seed) {
    RegisterImage image;
    auto next = [&seed]() {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>(seed);
    };
    for (auto& ch : image.Channels) {
        for (int& c : ch.CFIR) c = next();
        for (int& c : ch.PFIR) c = next();
        for (int* f :
             {&ch.Phase, &ch.Frequency, &ch.ChannelReset, &ch.FrequencySync, &ch.NCOSync, &ch.Blank,
              &ch.DecSync, &ch.DecimationRatio, &ch.CICScale, &ch.SplitIQ, &ch.CFIRControl,
              &ch.PFIRControl, &ch.Input, &ch.PeakControl, &ch.FineGain}) {
            *f = next();
        }
    }
    image.NChannels = next();
    image.AddTo = next();
    image.OutputFormat = next();
    return image;
}

const gc::app::EditorControl<FiltersState>& control(const std::string& name) {
    const auto* c = gc::app::filtersLayout().find(name);
    if (c == nullptr) throw std::logic_error("no control " + name);
    return *c;
}

// What a control shows, as a number (check boxes 0/1).
int shown(const FiltersState& s, const std::string& name) {
    const auto& c = control(name);
    return c.kind == ControlKind::CheckBox ? (s.*c.checked ? 1 : 0) : s.*c.itemIndex;
}

// Every control of `a` shows the same as in `b`.
void expectSameState(const FiltersState& a, const FiltersState& b, const std::string& context) {
    for (const auto& c : gc::app::filtersLayout().controls) {
        if (c.name.empty()) continue;
        EXPECT_EQ(shown(a, c.name), shown(b, c.name)) << context << ": " << c.name;
    }
}

FiltersState filledFrom(const RegisterImage& image, const ConfigurationModel& model) {
    FiltersState s;
    s.fill(image, model);
    return s;
}

}  // namespace

TEST(FiltersEditor, LayoutListsEveryControlWithItsItems) {
    const auto& layout = gc::app::filtersLayout();
    EXPECT_TRUE(layout.editable);
    std::size_t named = 0;
    for (const auto& c : layout.controls) {
        if (c.name.empty()) continue;
        ++named;
        if (c.kind == ControlKind::ComboBox) {
            ASSERT_FALSE(c.items.empty());
            EXPECT_EQ(c.items.back(), "") << c.name << " lacks the trailing empty item";
        }
    }
    EXPECT_EQ(named, windowTable().size());
    for (const Bits& b : windowTable()) {
        const auto& c = control(b.name);
        EXPECT_EQ(c.kind, b.count == 1 ? ControlKind::CheckBox : ControlKind::ComboBox) << b.name;
        if (b.count > 1) {
            EXPECT_EQ(c.items.size(), (1u << b.count) + 1) << b.name;
        }
    }
}

TEST(FiltersEditor, FillShowsEachControlsBits) {
    const ConfigurationModel model;
    const RegisterImage image = scrambledImage(7);
    const FiltersState s = filledFrom(image, model);
    for (const Bits& b : windowTable()) {
        EXPECT_EQ(shown(s, b.name), group(image.Channels[b.channel].*b.field, b.first, b.count))
            << b.name;
    }

    RegisterImage initial;
    initial.Channels[0].PeakControl = 0x1d;
    const FiltersState t = filledFrom(initial, model);
    EXPECT_EQ(gc::app::kPeakThresholdItems[t.ComboBox9], "full");
    EXPECT_FALSE(t.CheckBox15);
}

TEST(FiltersEditor, WorkedExamples) {
    const ConfigurationModel model;
    RegisterImage image;
    image.Channels[2].CFIRControl = 0x50;  // coarse gain 5 in bits 4-6
    image.Channels[0].PFIRControl = 0x07;
    image.Channels[0].PeakControl = 0x1d;
    FiltersPresenter p(image, model);
    p.fill();

    // "NoSym" of the CFIR group, channel 2: bit 0 set, the coarse gain kept, nothing else.
    RegisterImage expected = image;
    expected.Channels[2].CFIRControl = 0x51;
    ASSERT_TRUE(p.onCheckBoxClick("CheckBox23", true));
    EXPECT_EQ(image, expected);
    EXPECT_TRUE(p.state().CheckBox23);

    // "PeakSelect" "PFIR" for channel 0: bits 3-4 := 2, bits 0-2 kept.
    expected.Channels[0].PFIRControl = 0x17;
    ASSERT_TRUE(p.onComboBoxChange("ComboBox8", 2));
    EXPECT_EQ(image, expected);
    EXPECT_EQ(gc::app::kPeakSelectItems[p.state().ComboBox8], "PFIR");

    // Writing back what PeakControl 0x1d shows keeps the peak sync source (bits 0-2 = 5).
    ASSERT_TRUE(p.onControlChanged("ComboBox9"));
    ASSERT_TRUE(p.onControlChanged("CheckBox15"));
    EXPECT_EQ(image.Channels[0].PeakControl, 0x1d);
    EXPECT_EQ(image, expected);
}

// Every control, every value: the image changes in that control's bits only, and the window
// then shows exactly what a fresh fill from the image shows.
TEST(FiltersEditor, EveryControlWritesOnlyItsOwnBits) {
    const ConfigurationModel model;
    for (std::uint32_t seed : {1u, 99u, 12345u}) {
        RegisterImage image = scrambledImage(seed);
        FiltersPresenter p(image, model);
        p.fill();
        for (const Bits& b : windowTable()) {
            const std::string name = b.name;
            const RegisterImage before = image;
            const int old = group(image.Channels[b.channel].*b.field, b.first, b.count);
            if (b.count == 1) {
                RegisterImage expected = before;
                int& f = expected.Channels[b.channel].*b.field;
                f = withGroup(f, b.first, 1, old ^ 1);
                ASSERT_TRUE(p.onCheckBoxClick(name, old == 0));
                EXPECT_EQ(image, expected) << name;
                EXPECT_EQ(shown(p.state(), name), old ^ 1) << name;
                expectSameState(p.state(), filledFrom(image, model), name);
                ASSERT_TRUE(p.onCheckBoxClick(name, old != 0));
                EXPECT_EQ(image, before) << name << " toggled back";
                continue;
            }
            for (int index = 0; index < (1 << b.count); ++index) {
                RegisterImage expected = before;
                int& f = expected.Channels[b.channel].*b.field;
                f = withGroup(f, b.first, b.count, index);
                ASSERT_TRUE(p.onComboBoxChange(name, index));
                EXPECT_EQ(image, expected) << name << " item " << index;
                EXPECT_EQ(shown(p.state(), name), index);
                expectSameState(p.state(), filledFrom(image, model), name);
            }
            // The trailing empty item, and no item at all, store nothing: the group keeps the
            // value it had and the list shows it again.
            const RegisterImage last = image;
            const int lastGroup = group(image.Channels[b.channel].*b.field, b.first, b.count);
            const int emptyItem = static_cast<int>(control(name).items.size()) - 1;
            for (int index : {emptyItem, -1}) {
                ASSERT_TRUE(p.onComboBoxChange(name, index));
                EXPECT_EQ(image, last) << name << " item " << index;
                EXPECT_EQ(shown(p.state(), name), lastGroup) << name;
            }
            ASSERT_TRUE(p.onComboBoxChange(name, old));
            EXPECT_EQ(image, before) << name << " restored";
        }
    }
}

// A change made to the image behind the window's back (the output mode rewriting SplitIQ, a
// build setting the coarse gain) survives a later edit in the window.
TEST(FiltersEditor, EditKeepsChangesMadeSinceTheLastFill) {
    const ConfigurationModel model;
    RegisterImage image;
    FiltersPresenter p(image, model);
    p.fill();
    image.Channels[1].SplitIQ = 0x5a;
    image.Channels[0].CFIRControl = 0x70;
    RegisterImage expected = image;
    expected.Channels[0].CFIRControl = 0x71;
    ASSERT_TRUE(p.onCheckBoxClick("CheckBox8", true));
    EXPECT_EQ(image, expected);
    EXPECT_EQ(p.state().ComboBox3, 0x0a);  // the refill shows channel 1's new NEG_CTRL

    // Names that are not controls of this window, or of the other kind, change nothing.
    const RegisterImage before = image;
    EXPECT_FALSE(p.onControlChanged("CheckBox45"));
    EXPECT_FALSE(p.onCheckBoxClick("ComboBox8", true));
    EXPECT_FALSE(p.onComboBoxChange("CheckBox8", 1));
    EXPECT_EQ(image, before);
}
