#include "filters/TapSelection.h"

#include <algorithm>

#include "chip/RegisterImage.h"
#include "filters/FilterTables.h"
#include "model/ConfigurationModel.h"

namespace gc::filters {

namespace {

using gc::model::ConfigurationModel;

// Phase counts the resampler can run with, tried from the largest down.
constexpr std::array<int, 5> kPhaseCounts{64, 32, 16, 8, 4};
// The one-tap bypass filter is run as a 224-tap, 32-phase, 7-multiply filter.
constexpr int kBypassTapCount = 224;
constexpr int kBypassMultiplies = 7;

// A selection index as read from a configuration file may lie anywhere; bound it to the library
// so that it never reads outside a table.
template <typename Library>
const FilterTable& setAt(const Library& library, int index) {
    const int last = static_cast<int>(library.size()) - 1;
    return library[static_cast<size_t>(std::clamp(index, 0, last))];
}

// Full symmetric odd-length filter from its stored half; the centre tap occurs once.
template <size_t N>
void mirrorOdd(const FilterTable& set, std::array<int, N>& taps) {
    constexpr int half = static_cast<int>(N) / 2;  // index of the centre tap
    for (int i = 0; i <= half; ++i) taps[i] = set.taps[i];
    for (int j = 0; j < half; ++j) taps[half + 1 + j] = set.taps[half - 1 - j];
}

bool validChannel(int channel) { return channel >= 0 && channel < gc::model::kChannelCount; }

}  // namespace

void ApplyCfirSelectionFor(ConfigurationModel& model, int channel, TapSource source) {
    if (!validChannel(channel)) return;
    if (source == TapSource::Table) {
        mirrorOdd(setAt(cfirLibrary(), model.Work.CfirSelection[channel]), model.CfirTaps[channel]);
    } else {
        model.CfirTaps[channel] = model.CfirFileTaps[channel];
    }
}

void ApplyPfirSelectionFor(ConfigurationModel& model, int channel, TapSource source) {
    if (!validChannel(channel)) return;
    if (source == TapSource::Table) {
        mirrorOdd(setAt(pfirLibrary(), model.Work.PfirSelection[channel]), model.PfirTaps[channel]);
    } else {
        model.PfirTaps[channel] = model.PfirFileTaps[channel];
    }
}

void ApplyCfirSelection(ConfigurationModel& model, TapSource source) {
    ApplyCfirSelectionFor(model, model.currentIndex(), source);
}

void ApplyPfirSelection(ConfigurationModel& model, TapSource source) {
    ApplyPfirSelectionFor(model, model.currentIndex(), source);
}

void ApplyResamplerSelection(ConfigurationModel& model, gc::chip::RegisterImage& image,
                             TapSource source) {
    auto& taps = model.ResamplerTaps;
    taps.fill(0);
    int count = 0;
    if (source == TapSource::Table) {
        const FilterTable& set = setAt(resamplerLibrary(), model.Work.RfirSelection);
        if (set.tapCount == 1) {
            taps[0] = set.taps[0];
        } else {
            // Even-length mirror: the innermost stored tap occurs twice, at h-1 and h.
            const int h = std::clamp(set.tapCount / 2, 0, gc::model::kResamplerTapMax / 2);
            for (int i = 0; i < h; ++i) taps[i] = set.taps[i];
            for (int j = 0; j < h; ++j) taps[h + j] = set.taps[h - 1 - j];
        }
        count = set.tapCount;
    } else {
        count = std::clamp(model.ResamplerFileTapCount, 0, gc::model::kResamplerTapMax);
        std::copy_n(model.ResamplerFileTaps.begin(), count, taps.begin());
    }

    if (count == 1) {
        count = kBypassTapCount;
        model.Chip.NumMultiplies = kBypassMultiplies;
        image.NMultiplies |= gc::chip::kNoSymmetryBit;
    } else {
        image.NMultiplies &= ~gc::chip::kNoSymmetryBit;
    }
    model.Work.ResamplerTapCount = count;

    model.Work.Ndelay = kPhaseCounts.back();
    model.Work.ResamplerLengthError = true;
    for (const int phases : kPhaseCounts) {
        if (count % phases == 0) {
            model.Work.Ndelay = phases;
            model.Work.ResamplerLengthError = false;
            break;
        }
    }
    model.Chip.NumMultiplies = count / model.Work.Ndelay;  // Ndelay is never 0 here
}

}  // namespace gc::filters
