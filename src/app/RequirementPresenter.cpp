#include "app/RequirementPresenter.h"

#include <cmath>

#include "model/Language.h"
#include "model/Numeric.h"

namespace gc::app {

namespace m = gc::model;
using gc::analysis::Requirement;

std::string formatDb(double db) {
    if (std::isinf(db)) return db > 0 ? "∞" : "-∞";
    return m::formatFixed(db, 9, 2);
}

std::string formatHz(double hz) { return m::formatFixed(hz, 12, 1); }

std::string_view limitMark(LimitColour colour) {
    switch (colour) {
        case LimitColour::Green:
            return "✓";
        case LimitColour::Red:
            return "✗";
        case LimitColour::Neutral:
            break;
    }
    return {};
}

namespace {

std::optional<double> optionalReal(const EditState& edit) {
    if (edit.text.find_first_not_of(' ') == std::string::npos) return std::nullopt;
    return m::parseReal(edit.text);
}

std::string typed(const std::optional<double>& v) { return v ? m::formatGeneral(*v) : ""; }

LimitColour colourOf(const std::optional<bool>& ok) {
    if (!ok) return LimitColour::Neutral;
    return *ok ? LimitColour::Green : LimitColour::Red;
}

}  // namespace

RequirementPresenter::RequirementPresenter(Session& session, RequirementState& state, UiPort& ui)
    : session_(session), state_(state), ui_(ui) {}

void RequirementPresenter::onEditFpEnter() { onEditEnter(); }
void RequirementPresenter::onEditFsEnter() { onEditEnter(); }
void RequirementPresenter::onEditRmaxEnter() { onEditEnter(); }
void RequirementPresenter::onEditAsEnter() { onEditEnter(); }
void RequirementPresenter::onEditAaEnter() { onEditEnter(); }

void RequirementPresenter::onButtonDesignClick() {
    if (bool* flag = session_.openFlag(Window::Design)) *flag = true;
    ui_.showWindow(Window::Design);
}

void RequirementPresenter::onEditEnter() {
    std::optional<Requirement> next;
    try {
        const std::optional<double> fp = optionalReal(state_.EditFp);
        Requirement r;
        r.stopbandHz = optionalReal(state_.EditFs);
        r.rippleMaxDb = optionalReal(state_.EditRmax);
        r.stopbandMinDb = optionalReal(state_.EditAs);
        r.aliasRejectionMinDb = optionalReal(state_.EditAa);
        if (fp) {
            r.passbandHz = *fp;
            next = r;
        }
    } catch (const m::ConversionError& error) {
        ui_.showConversionError(error.what());
        // The fields show the requirement in effect again.
        showRequirement();
        return;
    }
    requirement_ = next;
    refresh();
    ui_.repaintChannelPlot();
    if (session_.isOpen(Window::Design)) ui_.refreshWindow(Window::Design);
}

void RequirementPresenter::setRequirement(const std::optional<Requirement>& requirement) {
    requirement_ = requirement;
    showRequirement();
    refresh();
    if (session_.isOpen(Window::Design)) ui_.refreshWindow(Window::Design);
}

void RequirementPresenter::showRequirement() {
    if (!requirement_) {
        state_.EditFp.text.clear();
        state_.EditFs.text.clear();
        state_.EditRmax.text.clear();
        state_.EditAs.text.clear();
        state_.EditAa.text.clear();
        return;
    }
    state_.EditFp.text = m::formatGeneral(requirement_->passbandHz);
    state_.EditFs.text = typed(requirement_->stopbandHz);
    state_.EditRmax.text = typed(requirement_->rippleMaxDb);
    state_.EditAs.text = typed(requirement_->stopbandMinDb);
    state_.EditAa.text = typed(requirement_->aliasRejectionMinDb);
}

void RequirementPresenter::clearFigures() {
    state_.PanelStopbandEdge.clear();
    state_.PanelRipple = {};
    state_.PanelRippleAt.clear();
    state_.PanelBandwidth.clear();
    state_.PanelStopband = {};
    state_.PanelStopbandAt.clear();
    state_.PanelAlias = {};
    state_.PanelAliasAt.clear();
    state_.PanelAliasOffset.clear();
    state_.LabelVerdict = {};
    state_.LabelError.clear();
}

void RequirementPresenter::setComparison(std::string name, ChainSource chain) {
    comparisonName_ = std::move(name);
    comparisonChain_ = comparisonName_.empty() ? ChainSource{} : std::move(chain);
    refresh();
}

// The compared configuration's figures against the same requirement, where it can be measured.
void RequirementPresenter::refreshComparison() {
    state_.LabelComparisonName = comparisonChain_ ? comparisonName_ : std::string();
    state_.PanelCmpOutputRate.clear();
    state_.PanelCmpStopbandEdge.clear();
    state_.PanelCmpRipple = {};
    state_.PanelCmpBandwidth.clear();
    state_.PanelCmpStopband = {};
    state_.PanelCmpAlias = {};
    if (!comparisonChain_) return;
    const std::optional<gc::analysis::ChainSpec> spec = comparisonChain_();
    if (!spec) return;
    state_.PanelCmpOutputRate = formatHz(spec->outputRateHz);
    if (!requirement_ || !gc::analysis::validateRequirement(*spec, *requirement_).empty()) return;
    const gc::analysis::ChannelChain chain(*spec);
    const gc::analysis::Measurement mm = gc::analysis::measure(chain, *requirement_);
    state_.PanelCmpStopbandEdge = formatHz(mm.stopbandHz);
    state_.PanelCmpRipple = {formatDb(mm.rippleDb), colourOf(mm.rippleOk)};
    state_.PanelCmpBandwidth =
        mm.bandwidth3dbHz ? formatHz(*mm.bandwidth3dbHz) : m::tx(kNoBandwidth);
    state_.PanelCmpStopband = {formatDb(mm.stopbandAttenuationDb), colourOf(mm.stopbandOk)};
    state_.PanelCmpAlias = {formatDb(mm.aliasRejectionDb), colourOf(mm.aliasOk)};
}

void RequirementPresenter::refresh() {
    refreshComparison();
    const m::ConfigurationModel& model = session_.model;
    gc::analysis::ChainSpec spec = gc::analysis::chainFromModel(model);
    state_.Caption =
        m::tx(kRequirementChannelCaption, {std::to_string(session_.model.currentIndex())});
    state_.PanelOutputRate = formatHz(spec.outputRateHz);
    clearFigures();
    measurement_.reset();
    curve_.reset();
    chain_.reset();

    if (!requirement_) {
        state_.LabelVerdict = {m::tx(kVerdictNoRequirement), LimitColour::Neutral};
        state_.MemoWarnings = gc::analysis::channelWarnings(model, nullptr);
        return;
    }
    const std::string problem = gc::analysis::validateRequirement(spec, *requirement_);
    if (!problem.empty()) {
        state_.LabelError = problem;
        state_.MemoWarnings = gc::analysis::channelWarnings(model, nullptr);
        return;
    }
    chain_.emplace(std::move(spec));
    const gc::analysis::Measurement mm = gc::analysis::measure(*chain_, *requirement_);
    measurement_ = mm;

    state_.PanelStopbandEdge = formatHz(mm.stopbandHz);
    state_.PanelRipple = {formatDb(mm.rippleDb), colourOf(mm.rippleOk)};
    state_.PanelRippleAt = formatHz(mm.rippleWorstHz);
    state_.PanelBandwidth = mm.bandwidth3dbHz ? formatHz(*mm.bandwidth3dbHz) : m::tx(kNoBandwidth);
    state_.PanelStopband = {formatDb(mm.stopbandAttenuationDb), colourOf(mm.stopbandOk)};
    state_.PanelStopbandAt = formatHz(mm.stopbandWorstHz);
    state_.PanelAlias = {formatDb(mm.aliasRejectionDb), colourOf(mm.aliasOk)};
    state_.PanelAliasAt = formatHz(mm.aliasWorstHz);
    state_.PanelAliasOffset = formatHz(mm.aliasWorstOffsetHz);
    const bool anyLimit = mm.rippleOk || mm.stopbandOk || mm.aliasOk;
    if (!anyLimit)
        state_.LabelVerdict = {m::tx(kVerdictNoLimits), LimitColour::Neutral};
    else if (mm.meets)
        state_.LabelVerdict = {m::tx(kVerdictMet), LimitColour::Green};
    else
        state_.LabelVerdict = {m::tx(kVerdictFailed), LimitColour::Red};
    state_.MemoWarnings = gc::analysis::channelWarnings(model, &mm);
}

std::optional<gc::analysis::RequirementOverlay> RequirementPresenter::overlay(double plotPeak,
                                                                              int stretchX,
                                                                              int stretchY) const {
    if (!requirement_ || !measurement_ || !chain_) return std::nullopt;
    gc::analysis::RequirementOverlay o;
    o.clockHz = chain_->spec().clockHz;
    o.stretchX = stretchX;
    o.stretchY = stretchY;
    o.plotPeak = plotPeak;
    o.referenceLevel = measurement_->referenceLevel;
    o.passbandHz = measurement_->passbandHz;
    o.stopbandHz = measurement_->stopbandHz;
    o.rippleMaxDb = requirement_->rippleMaxDb;
    o.stopbandMinDb = requirement_->stopbandMinDb;
    o.aliasRejectionMinDb = requirement_->aliasRejectionMinDb;
    return o;
}

const gc::analysis::AliasCurve& RequirementPresenter::aliasCurve(int stretchX) {
    static const gc::analysis::AliasCurve kNone{};
    if (!chain_) return kNone;
    if (!curve_ || curve_->first != stretchX)
        curve_.emplace(stretchX, gc::analysis::aliasCurve(*chain_, stretchX));
    return curve_->second;
}

void RequirementPresenter::drawOnChannelPlot(gc::response::Canvas& canvas,
                                             const gc::response::ResponseArray& channel,
                                             int stretchX, int stretchY) {
    const auto o = overlay(gc::response::ResponsePeak(channel), stretchX, stretchY);
    if (!o) return;
    gc::analysis::drawRequirementOverlay(canvas, *o, aliasCurve(stretchX));
}

}  // namespace gc::app
