#pragma once
// Fills the taps in use from the built-in library or from the last tap file read.
// The source (table or file) is the state of the main window's radio button pair, passed in.
namespace gc::model {
struct ConfigurationModel;
}
namespace gc::chip {
struct RegisterImage;
}

namespace gc::filters {

enum class TapSource { Table, File };

// CfirTaps of the current channel from the library set CfirSelection[ch] (mirrored) or from
// CfirFileTaps[ch].
void ApplyCfirSelection(gc::model::ConfigurationModel& model, TapSource source);
// The same for the PFIR.
void ApplyPfirSelection(gc::model::ConfigurationModel& model, TapSource source);
// ResamplerTaps, ResamplerTapCount, Ndelay, NumMultiplies, ResamplerLengthError and the
// no-symmetry bit of the image's NMultiplies.
void ApplyResamplerSelection(gc::model::ConfigurationModel& model, gc::chip::RegisterImage& image,
                             TapSource source);

// CFIR and PFIR taps of one given channel (used to re-derive all four channels after a load).
void ApplyCfirSelectionFor(gc::model::ConfigurationModel& model, int channel, TapSource source);
void ApplyPfirSelectionFor(gc::model::ConfigurationModel& model, int channel, TapSource source);

}  // namespace gc::filters
