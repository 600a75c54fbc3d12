#pragma once
// The window "Требования к каналу": the requirement of the current channel typed in five
// fields, the figures measured against it with the frequency of each worst point, each limit's
// verdict colour, the warning lines; and, while the window is open, the requirement's mask and
// the alias curve on the main channel plot.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/ChannelMeasure.h"
#include "analysis/RequirementPlot.h"
#include "app/MainState.h"
#include "app/Session.h"
#include "app/UiPort.h"
#include "response/Canvas.h"
#include "response/Response.h"

namespace gc::app {

inline constexpr std::string_view kRequirementCaption = "Требования к каналу";
// The title with the current channel: "Требования к каналу 2".
inline constexpr std::string_view kRequirementChannelCaption = "Требования к каналу %1";

// A limit's verdict: not given, met, failed.
enum class LimitColour { Neutral, Green, Red };

// The mark shown beside a figure, so that its verdict is not told by colour alone: "✓" met,
// "✗" failed, nothing without a limit.
[[nodiscard]] std::string_view limitMark(LimitColour colour);

struct FigureState {
    std::string text;  // the figure, empty when there is none to show
    LimitColour colour{LimitColour::Neutral};
};

struct RequirementState {
    std::string Caption;  // the window's title, naming the channel the requirement is measured on
    // Typed like the program's other fields: "." or "," as the decimal separator, blanks
    // around. Empty optional fields are not checked (EditFs empty: Fo/2).
    EditState EditFp;    // pass-band edge Fp, Hz
    EditState EditFs;    // stop-band edge Fs, Hz
    EditState EditRmax;  // largest pass-band ripple, dB
    EditState EditAs;    // smallest stop-band attenuation, dB
    EditState EditAa;    // smallest alias rejection, dB

    std::string PanelOutputRate;    // Fo, Hz
    std::string PanelStopbandEdge;  // the Fs in use, Hz
    FigureState PanelRipple;        // ripple_db against Rmax
    std::string PanelRippleAt;      // where the pass band is lowest, Hz
    std::string PanelBandwidth;     // -3 dB width, Hz, "нет" when H never falls so far
    FigureState PanelStopband;      // stop-band attenuation against As
    std::string PanelStopbandAt;    // where its worst point is, Hz
    FigureState PanelAlias;         // alias rejection against Aa
    std::string PanelAliasAt;       // the worst alias: its frequency F, Hz
    std::string PanelAliasOffset;   // and the output offset it lands on, Hz
    FigureState LabelVerdict;       // the whole requirement
    std::string LabelError;         // why the band edges cannot be measured, empty when they can
    std::vector<std::string> MemoWarnings;  // one line each

    // A second configuration compared with this one ("Сравнить с..."): its name (empty: none)
    // and its figures against the same requirement, beside the current ones.
    std::string LabelComparisonName;
    std::string PanelCmpOutputRate;
    std::string PanelCmpStopbandEdge;
    FigureState PanelCmpRipple;
    std::string PanelCmpBandwidth;
    FigureState PanelCmpStopband;
    FigureState PanelCmpAlias;
};

// Texts of the verdict label.
inline constexpr std::string_view kVerdictMet = "Требования выполнены";
inline constexpr std::string_view kVerdictFailed = "Требования не выполнены";
inline constexpr std::string_view kVerdictNoLimits = "Ограничения не заданы";
inline constexpr std::string_view kVerdictNoRequirement = "Требование не задано";
inline constexpr std::string_view kNoBandwidth = "нет";

// Text of a figure in dB (two decimals; "∞" when H vanishes over the whole set) and in Hz (one
// decimal).
[[nodiscard]] std::string formatDb(double db);
[[nodiscard]] std::string formatHz(double hz);

class RequirementPresenter {
  public:
    RequirementPresenter(Session& session, RequirementState& state, UiPort& ui);

    // A field confirmed (Enter or leaving it): all five are read; a text that is no number is
    // reported through UiPort and changes nothing. An empty EditFp clears the requirement.
    // Then refresh and a repaint of the channel plot (its mask follows).
    void onEditFpEnter();
    void onEditFsEnter();
    void onEditRmaxEnter();
    void onEditAsEnter();
    void onEditAaEnter();
    // "Синтез фильтров...": the filter design window, for the requirement as it stands.
    void onButtonDesignClick();

    // Recomputes the figures, colours and warnings from the model as it stands. Runs after every
    // change of the model while the window is open (and when it opens).
    void refresh();

    // The requirement kept for the configuration (NAME.req); setting it fills the fields and
    // refreshes.
    [[nodiscard]] const std::optional<gc::analysis::Requirement>& requirement() const {
        return requirement_;
    }
    void setRequirement(const std::optional<gc::analysis::Requirement>& requirement);
    // The compared configuration: its name and the chain of its channel as it stands (asked at
    // each refresh); an empty name clears it. Refreshes.
    using ChainSource = std::function<std::optional<gc::analysis::ChainSpec>()>;
    void setComparison(std::string name, ChainSource chain);

    // The last figures, when the requirement could be measured.
    [[nodiscard]] const std::optional<gc::analysis::Measurement>& measurement() const {
        return measurement_;
    }

    // The overlay on the main plot, over the channel curve as drawn from `channel` at the plot's
    // stretches: the mask and the alias curve (kept until the model or stretch changes). Draws
    // nothing without a measurable requirement.
    void drawOnChannelPlot(gc::response::Canvas& canvas, const gc::response::ResponseArray& channel,
                           int stretchX, int stretchY);
    // The same inputs as plain values, for whoever draws elsewhere.
    [[nodiscard]] std::optional<gc::analysis::RequirementOverlay> overlay(double plotPeak,
                                                                          int stretchX,
                                                                          int stretchY) const;
    [[nodiscard]] const gc::analysis::AliasCurve& aliasCurve(int stretchX);

  private:
    void refreshComparison();
    void onEditEnter();
    void showRequirement();
    void clearFigures();

    Session& session_;
    RequirementState& state_;
    UiPort& ui_;
    std::optional<gc::analysis::Requirement> requirement_;
    std::optional<gc::analysis::ChannelChain> chain_;
    std::optional<gc::analysis::Measurement> measurement_;
    std::optional<std::pair<int, gc::analysis::AliasCurve>> curve_;  // by stretch
    std::string comparisonName_;
    ChainSource comparisonChain_;
};

}  // namespace gc::app
