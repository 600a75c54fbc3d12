#include "app/DesignPresenter.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>
#include <utility>

#include "app/DesignFiles.h"
#include "appconfig/Reports.h"
#include "filters/TapFiles.h"
#include "filters/TapSelection.h"
#include "model/Language.h"
#include "model/Numeric.h"
#include "model/TextFile.h"

namespace gc::app {

namespace ac = gc::appconfig;
namespace an = gc::analysis;
namespace fl = gc::filters;
namespace m = gc::model;
using gc::design::ChannelDesign;

namespace {

constexpr const char* kFiltersFolder = "FILTERS/";
constexpr int kColumns = 256;
constexpr int kRows = 240;

LimitColour verdict(const std::optional<bool>& ok) {
    if (!ok) return LimitColour::Neutral;
    return *ok ? LimitColour::Green : LimitColour::Red;
}

std::string bandwidthText(const an::Measurement& m) {
    return m.bandwidth3dbHz ? formatHz(*m.bandwidth3dbHz) : std::string(kNoBandwidth);
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

int rowOfDb(double db, double floorDb) {
    if (!std::isfinite(db)) return db > 0 ? 0 : kRows;
    return static_cast<int>(std::lround(std::clamp(db / floorDb * kRows, 0.0, double(kRows))));
}

}  // namespace

DesignPresenter::DesignPresenter(Session& session, DesignState& state, MainState& mainState,
                                 UiPort& ui, MainPresenter& main, RequirementPresenter& requirement,
                                 ac::Workspace workspace)
    : session_(session),
      state_(state),
      mainState_(mainState),
      ui_(ui),
      main_(main),
      requirement_(requirement),
      workspace_(std::move(workspace)) {}

double designPlotFloorDb(const std::optional<an::Requirement>& req) {
    double deepest = 0.0;
    if (req) {
        deepest =
            std::max(req->stopbandMinDb.value_or(0.0), req->aliasRejectionMinDb.value_or(0.0));
    }
    for (double floor : kDesignPlotFloorsDb) {
        if (deepest + 10.0 <= -floor) return floor;
    }
    return kDesignPlotFloorsDb.back();
}

DesignPresenter::~DesignPresenter() {
    if (cancel_) cancel_->store(true);
}

void DesignPresenter::setStatus(std::string_view text, LimitColour colour) {
    state_.LabelStatus.text = std::string(text);
    state_.LabelStatus.colour = colour;
}

void DesignPresenter::showButtons() {
    const auto& req = requirement_.requirement();
    const bool measurable =
        req && an::validateRequirement(an::chainFromModel(session_.model), *req).empty();
    state_.ButtonCalculate.enabled = measurable && !running_;
    state_.ButtonCancel.enabled = running_;
    state_.ButtonSave.enabled = !running_ && result_.has_value() && !result_->cancelled;
    state_.CheckResampler.enabled = !running_;
    state_.CheckBest.enabled = !running_;
    state_.ProgressActive = running_;
}

void DesignPresenter::onShow() {
    if (bool* flag = session_.openFlag(Window::Design)) *flag = true;
    refresh();
}

void DesignPresenter::showDefaultName() {
    const std::string name =
        defaultDesignName(session_.model.Work.ConfigFileName, session_.model.currentIndex());
    const std::string typed = trimmed(state_.EditName.text);
    if (typed.empty() || typed == kDesignDefaultName || typed == defaultName_)
        state_.EditName.text = name;
    defaultName_ = name;
}

void DesignPresenter::refresh() {
    state_.Caption =
        gc::model::tx(kDesignChannelCaption, {std::to_string(session_.model.currentIndex())});
    showDefaultName();
    const an::ChainSpec chain = an::chainFromModel(session_.model);
    const auto& req = requirement_.requirement();
    current_.reset();
    state_.PanelRippleLimit.clear();
    state_.PanelStopbandLimit.clear();
    state_.PanelAliasLimit.clear();
    if (!req) {
        state_.LabelRequirement = gc::model::tx(kDesignNoRequirement);
    } else if (const std::string error = an::validateRequirement(chain, *req); !error.empty()) {
        state_.LabelRequirement = error;
    } else {
        current_ = an::measure(an::ChannelChain(chain), *req);
        state_.LabelRequirement =
            gc::model::tx("Fp %1 Гц, Fs %2 Гц, Fo %3 Гц",
                          {formatHz(req->passbandHz), formatHz(current_->stopbandHz),
                           formatHz(current_->outputRateHz)});
        if (req->rippleMaxDb) state_.PanelRippleLimit = "≤ " + formatDb(*req->rippleMaxDb);
        if (req->stopbandMinDb) state_.PanelStopbandLimit = "≥ " + formatDb(*req->stopbandMinDb);
        if (req->aliasRejectionMinDb)
            state_.PanelAliasLimit = "≥ " + formatDb(*req->aliasRejectionMinDb);
    }
    if (current_) {
        state_.PanelRippleNow = formatDb(current_->rippleDb);
        state_.PanelBandwidthNow = bandwidthText(*current_);
        state_.PanelStopbandNow = formatDb(current_->stopbandAttenuationDb);
        state_.PanelAliasNow = formatDb(current_->aliasRejectionDb);
    } else {
        state_.PanelRippleNow.clear();
        state_.PanelBandwidthNow.clear();
        state_.PanelStopbandNow.clear();
        state_.PanelAliasNow.clear();
    }
    if (!running_ && !result_ && state_.LabelStatus.text.empty() && current_)
        setStatus(gc::model::tx(kDesignReady));
    if (!current_ && !running_) setStatus({});
    if (!running_ && result_ && !resultFitsChannel())
        setStatus(gc::model::tx(kDesignChanged), LimitColour::Red);
    computeCurves();
    showButtons();
}

void DesignPresenter::computeCurves() {
    currentCurve_.clear();
    designedCurve_.clear();
    state_.FrequencyTexts.clear();
    plotMaxHz_ = 0.0;
    floorDb_ = designPlotFloorDb(requirement_.requirement());
    state_.LevelTexts.clear();
    for (int step = 0; step <= 6; ++step)
        state_.LevelTexts.push_back(std::to_string(static_cast<int>(floorDb_) * step / 6));
    if (!current_) return;
    const an::ChainSpec chain = an::chainFromModel(session_.model);
    // Up to the output rate (the first alias band) or a little past the stop-band edge.
    plotMaxHz_ = std::min(chain.clockHz / 2.0,
                          std::max(current_->outputRateHz, 1.25 * current_->stopbandHz));
    const auto curve = [this](const an::ChannelChain& c, double reference) {
        std::vector<double> db(kColumns + 1);
        for (int x = 0; x <= kColumns; ++x) {
            const double h = c.magnitude(plotMaxHz_ * x / kColumns);
            db[static_cast<size_t>(x)] =
                h > 0.0 && reference > 0.0 ? 20.0 * std::log10(h / reference) : floorDb_;
        }
        return db;
    };
    currentCurve_ = curve(an::ChannelChain(chain), current_->referenceLevel);
    if (result_ && !result_->cancelled && result_->error.empty())
        designedCurve_ =
            curve(an::ChannelChain(result_->chain), result_->measurement.referenceLevel);
    for (int x = 0; x <= kColumns; x += 64)
        state_.FrequencyTexts.push_back(m::formatFixed(plotMaxHz_ * x / kColumns / 1000.0, 9, 1));
}

void DesignPresenter::onButtonCalculateClick() {
    if (running_) return;
    refresh();
    const auto& req = requirement_.requirement();
    if (!current_ || !req) return;
    result_.reset();
    designedFor_ = *req;
    designedChannel_ = session_.model.currentIndex();
    gc::design::ChannelDesignOptions options;
    options.designResampler = state_.CheckResampler.checked;
    options.best = state_.CheckBest.checked;
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    const unsigned job = ++job_;
    running_ = true;
    state_.ProgressBar = 0;
    state_.MemoShortfall.clear();
    state_.PanelRipple = state_.PanelBandwidth = state_.PanelStopband = state_.PanelAlias = {};
    setStatus(gc::model::tx(kDesignRunning));
    computeCurves();
    showButtons();

    DesignJob work;
    work.cancel = cancel_;
    work.work = [chain = an::chainFromModel(session_.model), requirement = *req, options,
                 cancel = cancel_](const std::function<void(double)>& progress) {
        gc::design::DesignControl control;
        control.progress = progress;
        control.cancel = cancel.get();
        return gc::design::designChannel(chain, requirement, options, control);
    };
    runOnPort<ChannelDesign>(
        port_, std::move(work), [this, job](double f) { onProgress(job, f); },
        [this, job](ChannelDesign design) { onFinished(job, std::move(design)); });
}

void DesignPresenter::onProgress(unsigned job, double fraction) {
    if (job != job_ || !running_) return;
    state_.ProgressBar = static_cast<int>(std::lround(std::clamp(fraction, 0.0, 1.0) * 100.0));
}

void DesignPresenter::onFinished(unsigned job, ChannelDesign design) {
    if (job != job_ || !running_) return;  // cancelled or superseded: dropped
    running_ = false;
    state_.ProgressBar = 100;
    if (design.cancelled) {
        setStatus(gc::model::tx(kDesignCancelled));
    } else if (!design.error.empty()) {
        setStatus(design.error, LimitColour::Red);
    } else {
        result_ = std::move(design);
        setStatus(gc::model::tx(result_->meets ? kDesignMet : kDesignMissed),
                  result_->meets ? LimitColour::Green : LimitColour::Red);
        // The channel changed while the job ran: the taps are for the channel as it was.
        if (!resultFitsChannel()) setStatus(gc::model::tx(kDesignChanged), LimitColour::Red);
        state_.MemoShortfall = result_->message;
        if (state_.CheckResampler.checked && result_->resamplerTaps.empty()) {
            if (!state_.MemoShortfall.empty()) state_.MemoShortfall += '\n';
            state_.MemoShortfall += gc::model::tx(kDesignNoResampler);
        }
    }
    showFigures();
    computeCurves();
    showButtons();
}

void DesignPresenter::showFigures() {
    if (!result_) {
        state_.PanelRipple = state_.PanelBandwidth = state_.PanelStopband = state_.PanelAlias = {};
        return;
    }
    const an::Measurement& r = result_->measurement;
    state_.PanelRipple = {formatDb(r.rippleDb), verdict(r.rippleOk)};
    state_.PanelBandwidth = {bandwidthText(r), LimitColour::Neutral};
    state_.PanelStopband = {formatDb(r.stopbandAttenuationDb), verdict(r.stopbandOk)};
    state_.PanelAlias = {formatDb(r.aliasRejectionDb), verdict(r.aliasOk)};
}

void DesignPresenter::onButtonCancelClick() {
    if (!running_) return;
    if (cancel_) cancel_->store(true);
    running_ = false;
    ++job_;  // whatever the job still sends is dropped
    setStatus(gc::model::tx(kDesignCancelled));
    computeCurves();
    showButtons();
}

void DesignPresenter::onClose() {
    onButtonCancelClick();
    if (bool* flag = session_.openFlag(Window::Design)) *flag = false;
}

bool DesignPresenter::resultFitsChannel() const {
    if (!result_) return false;
    an::ChainSpec now = an::chainFromModel(session_.model);
    if (!result_->resamplerTaps.empty()) now.resamplerTaps = result_->chain.resamplerTaps;
    return session_.model.currentIndex() == designedChannel_ && sameChannel(result_->chain, now);
}

bool DesignPresenter::sameChannel(const an::ChainSpec& a, const an::ChainSpec& b) const {
    return a.clockHz == b.clockHz && a.decimation == b.decimation && a.mode == b.mode &&
           a.ndelay == b.ndelay && a.outputRateHz == b.outputRateHz &&
           a.stageEnabled[2] == b.stageEnabled[2] && a.resamplerTaps == b.resamplerTaps;
}

void DesignPresenter::onButtonSaveClick() {
    if (running_ || !result_ || result_->cancelled) return;
    auto& model = session_.model;
    // The taps fit the chain they were designed on; a changed channel needs a new design.
    const bool resamplerDesigned = !result_->resamplerTaps.empty();
    if (!resultFitsChannel()) {
        setStatus(gc::model::tx(kDesignChanged), LimitColour::Red);
        return;
    }
    const std::string name = trimmed(state_.EditName.text);
    if (!validDesignName(name)) {
        setStatus(gc::model::tx(kDesignBadName), LimitColour::Red);
        return;
    }

    using Planned = DesignFile;
    const std::vector<Planned> planned = designFiles(*result_, name);

    std::vector<std::string> existing;
    std::vector<std::pair<std::string, std::string>> set;
    for (const Planned& p : planned) {
        const std::string shown = kFiltersFolder + p.bare;
        const std::string resolved = workspace_.resolve(shown);
        std::error_code ec;
        if (std::filesystem::exists(std::filesystem::symlink_status(resolved, ec))) {
            existing.push_back(shown);
        }
        set.emplace_back(resolved, p.text);
    }
    if (!existing.empty() && (port_ == nullptr || !port_->confirmReplace(existing))) return;

    std::error_code ignored;  // a folder that cannot be made shows up as files not written
    std::filesystem::create_directories(workspace_.resolve("FILTERS"), ignored);
    const m::SetWriteResult written = m::writeFileSet(set);
    if (!written) {
        for (size_t i = 0; i < planned.size(); ++i)
            ui_.showError(
                {ErrorWindow::ErrFileCoeff,
                 ac::writeFailureLabels(planned[i].kind, kFiltersFolder + planned[i].bare,
                                        i == written.failed ? written.files[i].error : 0)});
        setStatus(gc::model::tx(kDesignNotSaved), LimitColour::Red);
        return;
    }

    // Read back through the readers, so that the file buffers hold exactly what the files say,
    // then the file source of each filter is chosen and the channel recalculated.
    const int channel = model.currentIndex();
    const auto readBack = [&](fl::TapKind kind, const Planned& p, fl::TapFileStatus status) {
        const auto labels = fl::tapFileReportLabels(kind, p.bare, status);
        if (!labels.empty()) ui_.showError({ErrorWindow::ErrFileCoeff, labels});
        return status == fl::TapFileStatus::Ok;
    };
    std::vector<FilterKind> chosen;
    if (readBack(fl::TapKind::Cfir, planned[0],
                 fl::ReadCfirTapFile(model, set[0].first, channel))) {
        model.Channels[channel].NameOfCFIR = planned[0].bare;
        chosen.push_back(FilterKind::Cfir);
    }
    if (readBack(fl::TapKind::Pfir, planned[1],
                 fl::ReadPfirTapFile(model, set[1].first, channel))) {
        model.Channels[channel].NameOfPFIR = planned[1].bare;
        chosen.push_back(FilterKind::Pfir);
    }
    if (resamplerDesigned &&
        readBack(fl::TapKind::Rfir, planned[2], fl::ReadResamplerTapFile(model, set[2].first))) {
        model.Chip.NameOfRFIR = planned[2].bare;
        chosen.push_back(FilterKind::Resampler);
    }
    for (FilterKind kind : chosen) {
        (mainState_.*info(kind).tableRadio).checked = false;
        (mainState_.*info(kind).fileRadio).checked = true;
        main_.onSourceClick(kind, false);
    }
    ui_.repaintChannelPlot();

    std::string names;
    for (const Planned& p : planned) names += (names.empty() ? "" : ", ") + p.bare;
    setStatus(gc::model::tx(kDesignSaved) + names, LimitColour::Green);
    refresh();
}

void DesignPresenter::draw(gc::response::Canvas& canvas) const {
    using gc::response::PenStyle;
    using gc::response::Rgb;
    canvas.fillRect(0, 0, kColumns, kRows, gc::response::kWhite);
    constexpr Rgb kGrid{192, 192, 192};
    canvas.setPen(kGrid, 1, PenStyle::Dotted);
    for (int row = 40; row < kRows; row += 40) {
        canvas.moveTo(0, row);
        canvas.lineTo(kColumns, row);
    }
    for (int x = 64; x < kColumns; x += 64) {
        canvas.moveTo(x, 0);
        canvas.lineTo(x, kRows);
    }
    if (currentCurve_.empty() || plotMaxHz_ <= 0.0) return;

    const auto column = [this](double hz) {
        return static_cast<int>(std::lround(std::clamp(hz / plotMaxHz_, 0.0, 1.0) * kColumns));
    };
    const auto rowOf = [this](double db) { return rowOfDb(db, floorDb_); };
    const auto curve = [&canvas, &rowOf](const std::vector<double>& db, Rgb colour, int width) {
        canvas.setPen(colour, width, PenStyle::Solid);
        canvas.moveTo(0, rowOf(db[0]));
        for (int x = 1; x <= kColumns; ++x) canvas.lineTo(x, rowOf(db[static_cast<size_t>(x)]));
    };
    curve(currentCurve_, Rgb{128, 128, 128}, 1);
    if (!designedCurve_.empty()) curve(designedCurve_, Rgb{0, 0, 255}, 2);

    // The requirement's limits: the pass-band edge, the ripple floor over it, the stop-band
    // edge and the attenuation ceiling beyond it.
    const auto& req = requirement_.requirement();
    if (!req || !current_) return;
    canvas.setPen(gc::response::kRed, 1, PenStyle::Dotted);
    const int fp = column(req->passbandHz);
    const int fs = column(current_->stopbandHz);
    canvas.moveTo(fp, 0);
    canvas.lineTo(fp, kRows);
    canvas.moveTo(fs, 0);
    canvas.lineTo(fs, kRows);
    canvas.setPen(gc::response::kRed, 1, PenStyle::Solid);
    if (req->rippleMaxDb) {
        const int row = rowOf(-*req->rippleMaxDb);
        canvas.moveTo(0, row);
        canvas.lineTo(fp, row);
    }
    if (req->stopbandMinDb) {
        const int row = rowOf(-*req->stopbandMinDb);
        canvas.moveTo(fs, row);
        canvas.lineTo(kColumns, row);
    }
}

}  // namespace gc::app
