#include "app/OutBlockPresenter.h"

#include "model/Language.h"

namespace gc::app {
namespace {

using gc::model::plusOne;

using S = OutBlockState;

struct BitCheck {
    const char* caption;
    const char* name;
    bool S::*member;
    int bit;
};

constexpr BitCheck kTristate[] = {
    {"Enable SCK", "CheckBox1", &S::CheckBox1, 0},  {"Enable RDY", "CheckBox2", &S::CheckBox2, 1},
    {"Enable SFS", "CheckBox3", &S::CheckBox3, 2},  {"Enable P0", "CheckBox7", &S::CheckBox7, 3},
    {"Enable P1", "CheckBox8", &S::CheckBox8, 4},   {"Enable P2", "CheckBox9", &S::CheckBox9, 5},
    {"Enable P3", "CheckBox10", &S::CheckBox10, 6}, {"Enable P4", "CheckBox30", &S::CheckBox30, 7},
};
constexpr BitCheck kFormat[] = {
    {"Invert SCK", "CheckBox4", &S::CheckBox4, 0},
    {"Invert RDY", "CheckBox5", &S::CheckBox5, 1},
    {"Invert SFS", "CheckBox6", &S::CheckBox6, 2},
    {"Enable Tags", "CheckBox34", &S::CheckBox34, 3},
    {" RDY_Width", "CheckBox35", &S::CheckBox35, 4},
};
constexpr BitCheck kMode[] = {
    {"Enable Link", "CheckBox37", &S::CheckBox37, 0},
    {"Enable Nibble", "CheckBox36", &S::CheckBox36, 1},
    {"Enable Parallel", "CheckBox38", &S::CheckBox38, 2},
    {"Master", "CheckBox39", &S::CheckBox39, 3},
    {"RealOnly", "CheckBox40", &S::CheckBox40, 4},
    {"ReversIQ", "CheckBox43", &S::CheckBox43, 7},
};
constexpr BitCheck kMiscell[] = {
    {"Enable 4_FS", "CheckBox11", &S::CheckBox11, 0},
    {"Enable SO", "CheckBox42", &S::CheckBox42, 1},
};

constexpr std::array<int S::*, 4> kSerialStreams{&S::ComboBox50, &S::ComboBox51, &S::ComboBox52,
                                                 &S::ComboBox53};
// Output tags A..D: I list, Q list.
constexpr std::array<std::array<int S::*, 2>, 4> kTags{{{&S::ComboBox54, &S::ComboBox55},
                                                        {&S::ComboBox42, &S::ComboBox57},
                                                        {&S::ComboBox56, &S::ComboBox59},
                                                        {&S::ComboBox58, &S::ComboBox60}}};

EditorLayout<S> makeLayout() {
    EditorLayout<S> l;
    l.className = "TOutBlock";
    l.caption = gc::model::tx("Выходной блок");
    l.editable = false;
    l.staysOnTop = true;
    l.hasOpenFlag = true;

    // Column 0: pin enables; column 1: inversions and format flags, then the miscellaneous
    // flags; column 2: output mode flags and the mode list.
    int row = 0;
    for (const BitCheck& c : kTristate) l.addCheckBox(c.name, c.member, row++, 0, c.caption);
    row = 0;
    for (const BitCheck& c : kFormat) l.addCheckBox(c.name, c.member, row++, 1, c.caption);
    row = 6;
    for (const BitCheck& c : kMiscell) l.addCheckBox(c.name, c.member, row++, 1, c.caption);
    row = 0;
    for (const BitCheck& c : kMode) l.addCheckBox(c.name, c.member, row++, 2, c.caption);
    l.addLabel("OutputMode", 6, 2);
    l.addComboBox("ComboBox41", &S::ComboBox41, toItemList(kOutputModeItems), 7, 2);

    // Columns 3-5: frame, word and clock settings (label, control, panel).
    const auto items4 = toItemList(kItems0To3);
    const auto items8 = toItemList(kItems0To7);
    l.addLabel("FrameLength", 0, 3);
    l.addText(ControlKind::Edit, "Edit15", &S::Edit15, 0, 4);
    l.addText(ControlKind::Panel, "Panel2", &S::Panel2, 0, 5);
    l.addLabel("SFSMode", 1, 3);
    l.addComboBox("ComboBox43", &S::ComboBox43, items4, 1, 4);
    l.addLabel("WordsPerFrame", 2, 3);
    l.addComboBox("ComboBox44", &S::ComboBox44, items8, 2, 4);
    l.addText(ControlKind::Panel, "Panel6", &S::Panel6, 2, 5);
    l.addLabel("BitsPerWord", 3, 3);
    l.addComboBox("ComboBox45", &S::ComboBox45, items8, 3, 4);
    l.addText(ControlKind::Panel, "Panel5", &S::Panel5, 3, 5);
    l.addLabel("BlockSize", 4, 3);
    l.addComboBox("ComboBox46", &S::ComboBox46, items4, 4, 4);
    l.addText(ControlKind::Panel, "Panel4", &S::Panel4, 4, 5);
    l.addLabel("SCKRate", 5, 3);
    l.addComboBox("ComboBox47", &S::ComboBox47, toItemList(kItems0To15), 5, 4);
    l.addText(ControlKind::Panel, "Panel3", &S::Panel3, 5, 5);
    l.addLabel("Serial Pin", 6, 3);
    l.addComboBox("ComboBox48", &S::ComboBox48, items4, 6, 4);
    l.addText(ControlKind::Panel, "Panel1", &S::Panel1, 6, 5);
    l.addLabel("OutputOrder", 7, 3);
    l.addComboBox("ComboBox49", &S::ComboBox49, items4, 7, 4);

    // Columns 6-8: serial stream selection, then the output tags with their I and Q lists.
    l.addHeading("Serial Stream Selection", 0, 6, 3);
    const char* streamLabels[] = {"P0", "P1", "P2", "P3"};
    const char* streamNames[] = {"ComboBox50", "ComboBox51", "ComboBox52", "ComboBox53"};
    for (int j = 0; j < 4; ++j) {
        l.addLabel(streamLabels[j], 1 + j, 6);
        l.addComboBox(streamNames[j], kSerialStreams[j], items4, 1 + j, 7);
    }
    l.addLabel("I", 5, 7);
    l.addLabel("Q", 5, 8);
    const char* tagLabels[] = {"Output TAG A", "Output TAG B", "Output TAG C", "Output TAG D"};
    const char* tagNames[4][2] = {{"ComboBox54", "ComboBox55"},
                                  {"ComboBox42", "ComboBox57"},
                                  {"ComboBox56", "ComboBox59"},
                                  {"ComboBox58", "ComboBox60"}};
    const auto items16 = toItemList(kItems0To15);
    for (int t = 0; t < 4; ++t) {
        l.addLabel(tagLabels[t], 6 + t, 6);
        l.addComboBox(tagNames[t][0], kTags[t][0], items16, 6 + t, 7);
        l.addComboBox(tagNames[t][1], kTags[t][1], items16, 6 + t, 8);
    }
    return l;
}

}  // namespace

void OutBlockState::fill(const chip::RegisterImage& image, const model::ConfigurationModel&) {
    for (const BitCheck& c : kTristate) this->*c.member = bitSet(image.TristateControl, c.bit);
    for (const BitCheck& c : kFormat) this->*c.member = bitSet(image.OutputFormat, c.bit);
    for (const BitCheck& c : kMode) this->*c.member = bitSet(image.OutputMode, c.bit);
    ComboBox41 = bitGroup(image.OutputMode, 5, 2);

    const int frameLength = bitGroup(image.OutputFrameControl, 0, 6);
    Edit15 = std::to_string(frameLength);
    Panel2 = plusOne(frameLength);
    ComboBox43 = bitGroup(image.OutputFrameControl, 6, 2);

    ComboBox44 = bitGroup(image.OutputWordSize, 0, 3);
    Panel6 = plusOne(ComboBox44) + " word";
    ComboBox45 = bitGroup(image.OutputWordSize, 3, 3);
    Panel5 = std::to_string(4 * (ComboBox45 + 1)) + " bit";
    ComboBox46 = bitGroup(image.OutputWordSize, 6, 2);
    Panel4 = plusOne(ComboBox46);

    ComboBox47 = bitGroup(image.OutputClockControl, 0, 4);
    Panel3 = plusOne(ComboBox47);
    ComboBox48 = bitGroup(image.OutputClockControl, 4, 2);
    Panel1 = plusOne(ComboBox48) + " pins";
    ComboBox49 = bitGroup(image.OutputClockControl, 6, 2);

    for (int j = 0; j < 4; ++j)
        this->*kSerialStreams[j] = bitGroup(image.SerialMixControl, 2 * j, 2);
    for (int t = 0; t < 4; ++t) {
        this->*kTags[t][0] = bitGroup(image.OutputTag[t], 0, 4);
        this->*kTags[t][1] = bitGroup(image.OutputTag[t], 4, 4);
    }
    for (const BitCheck& c : kMiscell) this->*c.member = bitSet(image.Miscell, c.bit);
}

const EditorLayout<OutBlockState>& outBlockLayout() {
    static const EditorLayout<OutBlockState> layout = makeLayout();
    return layout;
}

}  // namespace gc::app
