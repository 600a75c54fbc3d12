#pragma once
// The window "Уровни": for an input typed as a level in dBFS (a tone at a frequency, or noise
// over a band around the NCO), the level plan of the current channel: every stage's level,
// headroom, out-of-band part and rounding noise, the stage that clips first, the output SNR and
// the whole-channel gain equation. It follows every recalculation while open.
//
// The plan is computed from the program file the loader would get, built in memory from the
// session's configuration (the register image build and the program file writer on a copy of
// the image) and decoded as the channel model decodes it, so that it shows what the chip would
// be programmed with.
#include <string>
#include <string_view>
#include <vector>

#include "app/MainState.h"
#include "app/Session.h"
#include "app/UiPort.h"
#include "sim/ChannelModel.h"
#include "sim/LevelPlan.h"

namespace gc::app {

// A stage or gain factor of the model and the level plan by its name in the interface language
// ("mixer" -> "смеситель"); names it does not know are returned as they are.
[[nodiscard]] std::string stageTitle(const std::string& stage);

inline constexpr std::string_view kLevelsCaption = "Уровни";

// The level plan of register channel `channel` for `input`. Throws std::runtime_error when the
// registers give no channel to plan (held in reset, the second channel of a pair).
[[nodiscard]] gc::sim::LevelPlan levelPlanOf(const Session& session, int channel,
                                             const gc::sim::LevelInput& input);

// One row of the stage table, every figure as shown.
struct LevelRowState {
    std::string stage;
    std::string bits;
    std::string rate;       // Hz
    std::string signal;     // dBFS
    std::string outOfBand;  // dBFS
    std::string peak;       // dBFS
    std::string headroom;   // dB
    std::string clipInput;  // dBFS
    std::string noise;      // dBFS at the output
    bool clips{false};      // the peak passes full scale: shown in red
};

struct LevelsState {
    int ComboKind{0};             // 0 "Тон", 1 "Шум в полосе"
    EditState EditLevel{"-6"};    // input level, dBFS
    EditState EditFrequency{""};  // tone frequency, or noise band, Hz; empty: the NCO / Fo
    std::string LabelChannel;     // "Канал N, NCO ... Гц, Fвых ... Гц"
    std::vector<LevelRowState> Rows;
    std::string LabelFirstClip;         // which stage clips first and from which input level
    std::string LabelOutput;            // output level, noise and SNR
    std::vector<std::string> MemoGain;  // the gain equation, one factor a line, then the total
    std::string LabelError;             // why there is no plan, empty when there is one
};

// Texts of the window.
inline constexpr std::string_view kLevelsKindTone = "Тон";
inline constexpr std::string_view kLevelsKindNoise = "Шум в полосе";
inline constexpr std::string_view kLevelsChannelLine =
    "Канал %1: NCO %2 Гц, выход %3 Гц, тон на выходе %4 Гц";
inline constexpr std::string_view kLevelsChannelLineNoise = "Канал %1: NCO %2 Гц, выход %3 Гц";
inline constexpr std::string_view kLevelsFirstClip =
    "Первым ограничивается каскад %1 при входе %2 dBFS (запас %3 дБ)";
inline constexpr std::string_view kLevelsNoClip = "Ни один каскад не ограничивается";
inline constexpr std::string_view kLevelsOutput =
    "Выход: сигнал %1 dBFS, шум округлений %2 dBFS, ОСШ %3 дБ";
inline constexpr std::string_view kLevelsTotal = "Итого: %1 (%2 дБ)";

class LevelsPresenter {
  public:
    LevelsPresenter(Session& session, LevelsState& state, UiPort& ui);

    void onComboKindChanged();
    void onEditLevelEnter();
    void onEditFrequencyEnter();

    // Recomputes the plan for the current channel from the model as it stands. Runs after every
    // change of the model while the window is open (and when it opens).
    void refresh();

    // The last plan, when there is one.
    [[nodiscard]] const gc::sim::LevelPlan* plan() const { return hasPlan_ ? &plan_ : nullptr; }

  private:
    Session& session_;
    LevelsState& state_;
    UiPort& ui_;
    gc::sim::LevelPlan plan_;
    bool hasPlan_{false};
};

}  // namespace gc::app
