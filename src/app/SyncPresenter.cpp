#include "app/SyncPresenter.h"

#include <string>

#include "model/Language.h"

namespace gc::app {
namespace {

using S = SyncState;

struct ChannelSelector {
    const char* label;
    int chip::RegisterChannel::*field;
    int firstBit;
};

constexpr ChannelSelector kChannelSelectors[9] = {
    {"ZeroPAD", &chip::RegisterChannel::Blank, 4},
    {"DecCounter", &chip::RegisterChannel::DecSync, 0},
    {"Flush", &chip::RegisterChannel::DecSync, 4},
    {"Gain", &chip::RegisterChannel::DecimationRatio, 12},
    {"Frequency", &chip::RegisterChannel::FrequencySync, 4},
    {"Phase", &chip::RegisterChannel::FrequencySync, 0},
    {"NCO", &chip::RegisterChannel::NCOSync, 0},
    {"Dither", &chip::RegisterChannel::NCOSync, 4},
    {"Peak", &chip::RegisterChannel::PeakControl, 0},
};

// ComboBox1 .. ComboBox36, channel by channel.
constexpr std::array<int S::*, 36> kChannelLists{
    &S::ComboBox1,  &S::ComboBox2,  &S::ComboBox3,  &S::ComboBox4,  &S::ComboBox5,  &S::ComboBox6,
    &S::ComboBox7,  &S::ComboBox8,  &S::ComboBox9,  &S::ComboBox10, &S::ComboBox11, &S::ComboBox12,
    &S::ComboBox13, &S::ComboBox14, &S::ComboBox15, &S::ComboBox16, &S::ComboBox17, &S::ComboBox18,
    &S::ComboBox19, &S::ComboBox20, &S::ComboBox21, &S::ComboBox22, &S::ComboBox23, &S::ComboBox24,
    &S::ComboBox25, &S::ComboBox26, &S::ComboBox27, &S::ComboBox28, &S::ComboBox29, &S::ComboBox30,
    &S::ComboBox31, &S::ComboBox32, &S::ComboBox33, &S::ComboBox34, &S::ComboBox35, &S::ComboBox36};

struct ChipSelector {
    const char* label;
    const char* name;
    int S::*member;
    int chip::RegisterImage::*field;
    int firstBit;
};

constexpr ChipSelector kChipSelectors[3] = {
    {"Resampler", "ComboBox37", &S::ComboBox37, &chip::RegisterImage::NChannels, 4},
    {"Ratio", "ComboBox38", &S::ComboBox38, &chip::RegisterImage::AddTo, 4},
    {"OutSync", "ComboBox39", &S::ComboBox39, &chip::RegisterImage::OutputFormat, 5},
};

EditorLayout<S> makeLayout() {
    EditorLayout<S> l;
    l.className = "TSync";
    l.caption = gc::model::tx("Синхронизация");
    l.editable = false;
    l.staysOnTop = true;
    l.hasOpenFlag = false;  // filled only when shown

    const auto items = toItemList(kSyncSourceItems);
    l.addHeading(gc::model::tx("Канал"), 0, 1, 4);
    for (int ch = 0; ch < 4; ++ch) l.addLabel(std::to_string(ch), 1, 1 + ch);
    for (int r = 0; r < 9; ++r) {
        l.addLabel(kChannelSelectors[r].label, 2 + r, 0);
        for (int ch = 0; ch < 4; ++ch) {
            const int index = 9 * ch + r;
            l.addComboBox("ComboBox" + std::to_string(index + 1), kChannelLists[index], items,
                          2 + r, 1 + ch);
        }
    }
    for (int r = 0; r < 3; ++r) {
        l.addLabel(kChipSelectors[r].label, 2 + r, 5);
        l.addComboBox(kChipSelectors[r].name, kChipSelectors[r].member, items, 2 + r, 6);
    }
    return l;
}

}  // namespace

void SyncState::fill(const chip::RegisterImage& image, const model::ConfigurationModel&) {
    for (int ch = 0; ch < 4; ++ch) {
        const chip::RegisterChannel& reg = image.Channels[ch];
        for (int r = 0; r < 9; ++r) {
            const ChannelSelector& sel = kChannelSelectors[r];
            this->*kChannelLists[9 * ch + r] = bitGroup(reg.*sel.field, sel.firstBit, 3);
        }
    }
    for (const ChipSelector& sel : kChipSelectors) {
        this->*sel.member = bitGroup(image.*sel.field, sel.firstBit, 3);
    }
}

const EditorLayout<SyncState>& syncLayout() {
    static const EditorLayout<SyncState> layout = makeLayout();
    return layout;
}

}  // namespace gc::app
