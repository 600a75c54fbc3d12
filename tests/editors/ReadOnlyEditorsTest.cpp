// The four read-only register windows: bits in, controls out.
#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>
#include <tuple>

#include "app/FreqPresenter.h"
#include "app/InpBlockPresenter.h"
#include "app/OutBlockPresenter.h"
#include "app/SyncPresenter.h"
#include "filters/FilterTables.h"
#include "filters/TapSelection.h"

using gc::app::EditorLayout;
using gc::chip::RegisterImage;
using gc::model::ConfigurationModel;

namespace {

template <class State>
State filled(const RegisterImage& image, const ConfigurationModel& model) {
    State s;
    s.fill(image, model);
    return s;
}

// The combo box of a layout by name, read from the state.
template <class State>
int listIndex(const EditorLayout<State>& layout, const State& s, const std::string& name) {
    const auto* c = layout.find(name);
    EXPECT_NE(c, nullptr) << name;
    EXPECT_NE(c->itemIndex, nullptr) << name;
    return (c && c->itemIndex) ? s.*(c->itemIndex) : -2;
}

template <class State>
bool checked(const EditorLayout<State>& layout, const State& s, const std::string& name) {
    const auto* c = layout.find(name);
    EXPECT_NE(c, nullptr) << name;
    EXPECT_NE(c->checked, nullptr) << name;
    return (c && c->checked) ? s.*(c->checked) : false;
}

// Shape checks every window description must pass: unique control names, each bound to a
// state member of its kind, no two named controls on one member, no two cells overlapping.
template <class State>
void expectSoundLayout(const EditorLayout<State>& layout, std::size_t namedControls) {
    std::set<std::string> names;
    std::set<std::pair<int, int>> cells;
    std::size_t named = 0;
    for (const auto& c : layout.controls) {
        for (int r = c.row; r < c.row + c.rowSpan; ++r) {
            for (int col = c.column; col < c.column + c.columnSpan; ++col) {
                EXPECT_TRUE(cells.insert({r, col}).second)
                    << layout.className << ": cell " << r << "," << col << " taken twice";
            }
        }
        if (c.kind == gc::app::ControlKind::Label) {
            EXPECT_TRUE(c.name.empty());
            EXPECT_FALSE(c.text.empty()) << layout.className;
            continue;
        }
        ++named;
        EXPECT_TRUE(names.insert(c.name).second) << layout.className << ": " << c.name;
        switch (c.kind) {
            case gc::app::ControlKind::CheckBox:
                EXPECT_NE(c.checked, nullptr) << c.name;
                break;
            case gc::app::ControlKind::ComboBox:
                EXPECT_NE(c.itemIndex, nullptr) << c.name;
                EXPECT_FALSE(c.items.empty()) << c.name;
                break;
            default:
                EXPECT_NE(c.shownText, nullptr) << c.name;
                break;
        }
    }
    EXPECT_EQ(named, namedControls) << layout.className;
    // Distinct members: writing a marker through one pointer must show through that one only.
    State probe{};
    for (const auto& c : layout.controls) {
        if (c.kind == gc::app::ControlKind::ComboBox) probe.*(c.itemIndex) = -7;
    }
    for (const auto& c : layout.controls) {
        if (c.kind != gc::app::ControlKind::ComboBox) continue;
        probe.*(c.itemIndex) = 99;
        int hits = 0;
        for (const auto& d : layout.controls) {
            if (d.kind == gc::app::ControlKind::ComboBox && probe.*(d.itemIndex) == 99) ++hits;
        }
        EXPECT_EQ(hits, 1) << c.name;
        probe.*(c.itemIndex) = -7;
    }
}

}  // namespace

TEST(RegisterEditorLayouts, EveryWindowIsDescribedCompletely) {
    expectSoundLayout(gc::app::inpBlockLayout(), 32);
    expectSoundLayout(gc::app::freqLayout(), 24);
    expectSoundLayout(gc::app::syncLayout(), 39);
    expectSoundLayout(gc::app::outBlockLayout(), 48);
    EXPECT_FALSE(gc::app::inpBlockLayout().editable);
    EXPECT_FALSE(gc::app::freqLayout().editable);
    EXPECT_FALSE(gc::app::syncLayout().editable);
    EXPECT_FALSE(gc::app::outBlockLayout().editable);
    EXPECT_FALSE(gc::app::syncLayout().hasOpenFlag);
    EXPECT_TRUE(gc::app::outBlockLayout().hasOpenFlag);
}

TEST(RegisterEditorBits, GroupsAreReadAndReplacedOnTheirOwnBits) {
    using gc::app::bitGroup;
    using gc::app::withBitGroup;
    EXPECT_EQ(bitGroup(0x703f, 12, 3), 7);
    EXPECT_EQ(bitGroup(-1, 28, 4), 15);  // a negative value is read as its bit pattern
    EXPECT_EQ(withBitGroup(0x1d, 3, 2, 0), 0x05);
    EXPECT_EQ(withBitGroup(0x00, 3, 2, 7), 0x18);  // value wider than the group is cut
    EXPECT_EQ(withBitGroup(-1, 31, 1, 0), INT_MAX);
    EXPECT_EQ(gc::app::shownIndex(8, 8), -1);
    EXPECT_EQ(gc::app::shownIndex(-1, 8), -1);
}

TEST(InpBlockEditor, ShowsEachChannelsInputBits) {
    RegisterImage image;
    ConfigurationModel model;
    model.Work.ActiveMask = 0x5;  // channels 0 and 2 in use
    model.Chip.InputPort = {3, 2, 9, 0};
    image.Channels[0].Input = 0x98;
    image.Channels[0].Blank = 0x20;
    image.Channels[0].ChannelReset = 0x84;
    image.Channels[1].Input = 0x27;
    image.Channels[1].ChannelReset = 0x08;
    image.Channels[1].Blank = 0x8f;
    image.Channels[2].Input = 0x00;
    image.Channels[2].ChannelReset = 0xf7;
    image.Channels[2].Blank = 0x05;
    image.Channels[3].Input = 0xb0;
    image.Channels[3].Blank = 0x7a;

    const auto s = filled<gc::app::InpBlockState>(image, model);
    // "Reset": checked for the channels not in use.
    EXPECT_FALSE(s.CheckBox1);
    EXPECT_TRUE(s.CheckBox6);
    EXPECT_FALSE(s.CheckBox11);
    EXPECT_TRUE(s.CheckBox16);
    // Channel 0, Input 0x98: "ConvertTo 2s" and "Sel  A/B" checked, "16 bit"; Blank 0x20: "0".
    EXPECT_TRUE(s.CheckBox3);
    EXPECT_TRUE(s.CheckBox4);
    EXPECT_EQ(gc::app::kInputModeItems[s.ComboBox3], "16 bit");
    EXPECT_EQ(s.ComboBox4, 0);
    EXPECT_FALSE(s.CheckBox5);
    EXPECT_FALSE(s.CheckBox2);
    // Channel 1.
    EXPECT_TRUE(s.CheckBox7);
    EXPECT_FALSE(s.CheckBox8);
    EXPECT_FALSE(s.CheckBox9);
    EXPECT_EQ(gc::app::kInputModeItems[s.ComboBox7], "12 bit +Exp");
    EXPECT_TRUE(s.CheckBox10);
    EXPECT_EQ(s.ComboBox8, 15);
    // Channel 2: ChannelReset without bit 3.
    EXPECT_FALSE(s.CheckBox12);
    EXPECT_EQ(s.ComboBox11, 0);
    EXPECT_EQ(s.ComboBox12, 5);
    EXPECT_FALSE(s.CheckBox15);
    // Channel 3, Input 0xb0: two's complement, "Dual 12 bit +Exp"; Blank 0x7a: zeroes 10.
    EXPECT_TRUE(s.CheckBox18);
    EXPECT_FALSE(s.CheckBox19);
    EXPECT_EQ(s.ComboBox15, 3);
    EXPECT_EQ(s.ComboBox16, 10);
    EXPECT_FALSE(s.CheckBox20);
    // "InputPort" mirrors the configuration; a value without an item selects nothing.
    EXPECT_EQ(gc::app::kInputPortItems[s.ComboBox1], "D");
    EXPECT_EQ(s.ComboBox5, 2);
    EXPECT_EQ(s.ComboBox9, -1);
    EXPECT_EQ(s.ComboBox13, 0);
}

TEST(FreqEditor, ShowsResamplerAndRoutingFields) {
    RegisterImage image;
    ConfigurationModel model;
    image.NChannels = 0x23;
    image.FinalShift = 0x34;
    image.NMultiplies = 0x07;
    image.ChannelMap = 0xe4;
    image.AddTo = 0x35;
    image.FilterSelect = 0x1b;
    image.RatioMap = 0x9c;
    image.ClockDivide = 5;
    auto s = filled<gc::app::FreqState>(image, model);
    EXPECT_EQ(s.ComboBox11, 3);
    EXPECT_EQ(s.Panel4, "4");
    EXPECT_EQ(s.ComboBox12, 0);
    EXPECT_EQ(s.Panel5, "1");
    EXPECT_EQ(gc::app::kRoundItems[s.ComboBox15], "24 bit");
    EXPECT_FALSE(s.CheckBox23);
    EXPECT_FALSE(s.CheckBox19);
    EXPECT_TRUE(s.CheckBox20);
    EXPECT_FALSE(s.CheckBox21);
    EXPECT_TRUE(s.CheckBox22);
    EXPECT_EQ(std::make_tuple(s.ComboBox20, s.ComboBox21, s.ComboBox22, s.ComboBox23),
              std::make_tuple(0, 1, 2, 3));
    EXPECT_EQ(std::make_tuple(s.ComboBox16, s.ComboBox17, s.ComboBox18, s.ComboBox19),
              std::make_tuple(3, 2, 1, 0));
    EXPECT_EQ(std::make_tuple(s.ComboBox24, s.ComboBox25, s.ComboBox26, s.ComboBox27),
              std::make_tuple(0, 3, 1, 2));
    EXPECT_EQ(s.Edit4, "5");
    EXPECT_EQ(s.Panel17, "6");

    // The bypass resampler sets the no-symmetry bit; TAG_22 is FinalShift bit 6.
    image.NMultiplies = 0x07 | gc::chip::kNoSymmetryBit;
    image.FinalShift = 0x4f;
    image.NChannels = 0x0e;
    image.ClockDivide = INT_MAX;
    s = filled<gc::app::FreqState>(image, model);
    EXPECT_TRUE(s.CheckBox19);
    EXPECT_TRUE(s.CheckBox23);
    EXPECT_EQ(gc::app::kRoundItems[s.ComboBox15], "12 bit");
    EXPECT_EQ(s.ComboBox11, 2);
    EXPECT_EQ(s.Panel5, "4");
    EXPECT_EQ(s.Edit4, "2147483647");
    EXPECT_EQ(s.Panel17, "2147483648");  // no overflow in the count shown from 1
}

// "NoSymRes" through the real handlers: the resampler set put in use and the image built from
// the model; only the one-tap bypass set ("res_bypass") ticks it, and choosing another set
// after it clears it again.
TEST(FreqEditor, NoSymResFollowsTheResamplerSetInUse) {
    ConfigurationModel model;
    RegisterImage image;
    const auto& library = gc::filters::resamplerLibrary();
    int ticked = 0;
    for (int pass = 0; pass < 2; ++pass) {
        for (int set = 0; set < static_cast<int>(library.size()); ++set) {
            model.Work.RfirSelection = set;
            gc::filters::ApplyResamplerSelection(model, image, gc::filters::TapSource::Table);
            gc::chip::buildRegisterImage(model, image);
            const auto s = filled<gc::app::FreqState>(image, model);
            EXPECT_EQ(s.CheckBox19, library[set].name == "res_bypass") << library[set].name;
            ticked += s.CheckBox19 ? 1 : 0;
        }
    }
    EXPECT_EQ(ticked, 2);
}

TEST(SyncEditor, ShowsEverySelectorFromItsOwnBits) {
    RegisterImage image;
    ConfigurationModel model;
    for (auto& ch : image.Channels) {
        ch.Blank = 0x20;
        ch.DecSync = 0x22;
        ch.DecimationRatio = 0x703f;
        ch.FrequencySync = 0x77;
        ch.NCOSync = 0;
        ch.PeakControl = 0x1d;
    }
    image.Channels[3].NCOSync = 0x53;
    image.Channels[2].DecimationRatio = 0x803f;  // bit 15 is outside the "Gain" selector
    image.Channels[1].Blank = 0x8f;              // bit 7 too
    image.NChannels = 0x23;
    image.AddTo = 0x35;
    image.OutputFormat = 0xe0;
    const auto s = filled<gc::app::SyncState>(image, model);
    const auto& layout = gc::app::syncLayout();
    auto text = [&](int n) {
        const int i = listIndex(layout, s, "ComboBox" + std::to_string(n));
        return std::string(gc::app::kSyncSourceItems.at(i));
    };
    // Channel 0, the initial values.
    EXPECT_EQ(text(1), "SIA");                         // ZeroPAD, Blank 0x20
    EXPECT_EQ(text(2), "SIA");                         // DecCounter, DecSync 0x22
    EXPECT_EQ(text(3), "SIA");                         // Flush
    EXPECT_EQ(text(4), "ON");                          // Gain, DecimationRatio 0x703f
    EXPECT_EQ(text(5), "ON");                          // Frequency, FrequencySync 0x77
    EXPECT_EQ(text(6), "ON");                          // Phase
    EXPECT_EQ(text(7), "OFF");                         // NCO
    EXPECT_EQ(text(8), "OFF");                         // Dither
    EXPECT_EQ(listIndex(layout, s, "ComboBox9"), 5);   // Peak, PeakControl 0x1d: "TC"
    EXPECT_EQ(listIndex(layout, s, "ComboBox10"), 0);  // channel 1 ZeroPAD, Blank 0x8f
    EXPECT_EQ(listIndex(layout, s, "ComboBox22"), 0);  // channel 2 Gain
    EXPECT_EQ(listIndex(layout, s, "ComboBox34"), 3);  // channel 3 NCO
    EXPECT_EQ(text(35), "TC");                         // channel 3 Dither
    EXPECT_EQ(listIndex(layout, s, "ComboBox36"), 5);
    EXPECT_EQ(listIndex(layout, s, "ComboBox37"), 2);  // NChannels bits 4-6
    EXPECT_EQ(listIndex(layout, s, "ComboBox38"), 3);  // AddTo bits 4-6
    EXPECT_EQ(listIndex(layout, s, "ComboBox39"), 7);  // OutputFormat bits 5-7
}

TEST(OutBlockEditor, ShowsTheOutputRegistersBitByBit) {
    RegisterImage image;
    ConfigurationModel model;
    image.TristateControl = 0x7f;
    image.OutputFormat = 0x40;
    image.OutputMode = 0x28;
    image.OutputFrameControl = 0x01;
    image.OutputWordSize = 0xd9;
    image.OutputClockControl = 0xb0;
    image.SerialMixControl = 0xe4;
    image.OutputTag = {0x10, 0x32, 0x54, 0x76};
    image.Miscell = 0x02;
    auto s = filled<gc::app::OutBlockState>(image, model);
    EXPECT_EQ(s.ComboBox44, 1);
    EXPECT_EQ(s.Panel6, "2 word");
    EXPECT_EQ(s.ComboBox45, 3);
    EXPECT_EQ(s.Panel5, "16 bit");
    EXPECT_EQ(s.ComboBox46, 3);
    EXPECT_EQ(s.Panel4, "4");
    EXPECT_EQ(s.ComboBox47, 0);
    EXPECT_EQ(s.Panel3, "1");
    EXPECT_EQ(s.ComboBox48, 3);
    EXPECT_EQ(s.Panel1, "4 pins");
    EXPECT_EQ(s.ComboBox49, 2);
    EXPECT_TRUE(s.CheckBox39);
    EXPECT_EQ(gc::app::kOutputModeItems[s.ComboBox41], "Serial");
    for (bool b : {s.CheckBox1, s.CheckBox2, s.CheckBox3, s.CheckBox7, s.CheckBox8, s.CheckBox9,
                   s.CheckBox10}) {
        EXPECT_TRUE(b);
    }
    EXPECT_FALSE(s.CheckBox30);
    EXPECT_EQ(std::make_tuple(s.ComboBox54, s.ComboBox55, s.ComboBox42, s.ComboBox57),
              std::make_tuple(0, 1, 2, 3));
    EXPECT_EQ(std::make_tuple(s.ComboBox56, s.ComboBox59, s.ComboBox58, s.ComboBox60),
              std::make_tuple(4, 5, 6, 7));
    EXPECT_EQ(std::make_tuple(s.ComboBox50, s.ComboBox51, s.ComboBox52, s.ComboBox53),
              std::make_tuple(0, 1, 2, 3));
    EXPECT_EQ(s.Edit15, "1");
    EXPECT_EQ(s.Panel2, "2");
    EXPECT_EQ(s.ComboBox43, 0);
    EXPECT_FALSE(s.CheckBox11);
    EXPECT_TRUE(s.CheckBox42);

    image.OutputWordSize = 0x38;  // BitsPerWord 7
    image.OutputFrameControl = 0xff;
    image.OutputMode = 0xe0;
    s = filled<gc::app::OutBlockState>(image, model);
    EXPECT_EQ(s.Panel5, "32 bit");
    EXPECT_EQ(s.Panel6, "1 word");
    EXPECT_EQ(s.Edit15, "63");
    EXPECT_EQ(s.Panel2, "64");
    EXPECT_EQ(s.ComboBox43, 3);
    EXPECT_EQ(gc::app::kOutputModeItems[s.ComboBox41], "Parallel");
    EXPECT_TRUE(s.CheckBox43);
}

// Every check box of the output block follows exactly one bit: a walking 1 through each
// register checks exactly the box of that bit (names and bits as the window's table).
TEST(OutBlockEditor, EachCheckBoxFollowsItsOwnBit) {
    struct Expect {
        int RegisterImage::*field;
        int bit;
        const char* name;
    };
    const Expect table[] = {
        {&RegisterImage::TristateControl, 0, "CheckBox1"},
        {&RegisterImage::TristateControl, 1, "CheckBox2"},
        {&RegisterImage::TristateControl, 2, "CheckBox3"},
        {&RegisterImage::TristateControl, 3, "CheckBox7"},
        {&RegisterImage::TristateControl, 4, "CheckBox8"},
        {&RegisterImage::TristateControl, 5, "CheckBox9"},
        {&RegisterImage::TristateControl, 6, "CheckBox10"},
        {&RegisterImage::TristateControl, 7, "CheckBox30"},
        {&RegisterImage::OutputFormat, 0, "CheckBox4"},
        {&RegisterImage::OutputFormat, 1, "CheckBox5"},
        {&RegisterImage::OutputFormat, 2, "CheckBox6"},
        {&RegisterImage::OutputFormat, 3, "CheckBox34"},
        {&RegisterImage::OutputFormat, 4, "CheckBox35"},
        {&RegisterImage::OutputMode, 0, "CheckBox37"},
        {&RegisterImage::OutputMode, 1, "CheckBox36"},
        {&RegisterImage::OutputMode, 2, "CheckBox38"},
        {&RegisterImage::OutputMode, 3, "CheckBox39"},
        {&RegisterImage::OutputMode, 4, "CheckBox40"},
        {&RegisterImage::OutputMode, 7, "CheckBox43"},
        {&RegisterImage::Miscell, 0, "CheckBox11"},
        {&RegisterImage::Miscell, 1, "CheckBox42"},
    };
    const auto& layout = gc::app::outBlockLayout();
    const ConfigurationModel model;
    for (const Expect& e : table) {
        RegisterImage image;
        image.TristateControl = image.OutputFormat = image.OutputMode = image.Miscell = 0;
        image.*e.field = 1 << e.bit;
        const auto s = filled<gc::app::OutBlockState>(image, model);
        for (const Expect& other : table) {
            EXPECT_EQ(checked(layout, s, other.name), &other == &e)
                << "bit " << e.bit << " shown in " << other.name;
        }
    }
}
