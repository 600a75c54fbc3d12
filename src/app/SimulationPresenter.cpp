#include "app/SimulationPresenter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "analysis/ChannelMeasure.h"
#include "app/LevelsPresenter.h"
#include "model/Language.h"
#include "model/Numeric.h"
#include "model/TextFile.h"

namespace gc::app {

namespace m = gc::model;
namespace sim = gc::sim;

namespace {

constexpr int kColumns = 256;
constexpr int kRows = 240;

std::string fixed(double value, int decimals) {
    if (std::isnan(value)) return {};
    if (std::isinf(value)) return value > 0 ? "∞" : "-∞";
    return m::formatString("%.*f", decimals, value);
}

int rowOfDb(double db) {
    if (!(db > kSimulationPlotFloorDb)) return kRows;
    return static_cast<int>(std::lround(std::max(0.0, -db) / -kSimulationPlotFloorDb * kRows));
}

}  // namespace

SimulationPresenter::SimulationPresenter(Session& session, SimulationState& state, UiPort& ui,
                                         gc::appconfig::Workspace workspace)
    : session_(session), state_(state), ui_(ui), workspace_(std::move(workspace)) {
    for (int i = 0; i <= 6; ++i)
        state_.LevelTexts.push_back(fixed(kSimulationPlotFloorDb * i / 6.0 + 0.0, 0));
    state_.LabelStatus = {m::tx(kSimulationReady), LimitColour::Neutral};
}

SimulationPresenter::~SimulationPresenter() {
    if (cancel_) cancel_->store(true);
}

std::string SimulationPresenter::programText() const {
    return programTextFor(session_.model, session_.image);
}

void SimulationPresenter::onShow() {
    if (bool* flag = session_.openFlag(Window::Simulation)) *flag = true;
    showChannel();
    if (!shown_) {
        shown_ = true;
        suggestFrequencies();
    }
    enableFields();
    showButtons();
}

void SimulationPresenter::refresh() {
    if (running_) return;
    showChannel();
    if (result_ && resultProgram_ != programText())
        setStatus(m::tx(kSimulationChanged), LimitColour::Red);
}

void SimulationPresenter::showChannel() {
    const auto& model = session_.model;
    const int channel = model.currentIndex();
    try {
        const sim::ChannelModel chip = sim::ChannelModel::fromProgramFile(
            programText(), registerChannelFor(model.Chip.ModeOfDdc, channel));
        state_.LabelChannel =
            m::tx("Канал %1: вход %2 Гц, выход %3 Гц, частота NCO %4 Гц",
                  {std::to_string(channel), fixed(chip.inputRateHz(), 0),
                   fixed(chip.outputRateHz(), 3), fixed(chip.ncoFrequencyHz(), 3)});
    } catch (const std::exception& e) {
        state_.LabelChannel = m::tx("Канал не может быть смоделирован: %1", {e.what()});
    }
}

void SimulationPresenter::suggestFrequencies() {
    const auto& model = session_.model;
    double nco = 0.0;
    double rate = 0.0;
    double input = 0.0;
    try {
        const sim::ChannelModel chip = sim::ChannelModel::fromProgramFile(
            programText(), registerChannelFor(model.Chip.ModeOfDdc, model.currentIndex()));
        nco = chip.ncoFrequencyHz();
        rate = chip.outputRateHz();
        input = chip.inputRateHz();
    } catch (const std::exception&) {
        return;  // the channel line says why
    }
    const auto hz = [input](double f) {
        return fixed(std::clamp(std::round(f), 0.0, input / 2), 0);
    };
    switch (state_.ComboSignal.index) {
        case 0:
            state_.EditF1.text = hz(nco + rate / 8);
            break;
        case 1:
            state_.EditF1.text = hz(nco + rate / 8);
            state_.EditF2.text = hz(nco + rate / 8 + rate / 32);
            break;
        case 3:
            state_.EditF1.text = hz(nco - rate / 2);
            state_.EditF2.text = hz(nco + rate / 2);
            break;
        default:
            break;
    }
}

void SimulationPresenter::enableFields() {
    const int kind = state_.ComboSignal.index;
    const bool generated = kind != kSignalRecording;
    state_.EditF1.enabled = kind == 0 || kind == 1 || kind == 3;
    state_.EditF2.enabled = kind == 1 || kind == 3;
    state_.EditLevel.enabled = generated;
    state_.EditLength.enabled = generated;
    state_.EditInput.enabled = !generated;
    state_.ButtonBrowseInput.enabled = !generated && !running_;
}

void SimulationPresenter::onComboSignalChanged() {
    if (state_.ComboSignal.index < 0 ||
        state_.ComboSignal.index >= static_cast<int>(kSimulationSignalItems.size()))
        state_.ComboSignal.index = 0;
    suggestFrequencies();
    enableFields();
}

void SimulationPresenter::showButtons() {
    state_.ButtonRun.enabled = !running_;
    state_.ButtonCancel.enabled = running_;
    state_.ButtonSaveSpectrum.enabled =
        !running_ && result_ && !result_->run.spectrum.levelDb.empty();
    state_.ButtonBrowseOutput = ButtonState{!running_, true};
    state_.ButtonBrowseInput.enabled = state_.EditInput.enabled && !running_;
    state_.ProgressActive = running_;
}

void SimulationPresenter::setStatus(std::string text, LimitColour colour) {
    state_.LabelStatus = {std::move(text), colour};
}

void SimulationPresenter::onButtonRunClick() {
    if (running_) return;
    SimulationRequest request;
    const auto& model = session_.model;
    try {
        if (state_.ComboSignal.index == kSignalRecording) {
            if (state_.EditInput.text.empty()) {
                setStatus(m::tx(kSimulationNoRecording), LimitColour::Red);
                return;
            }
            request.recordingPath = workspace_.resolve(state_.EditInput.text);
        } else {
            sim::SignalSpec spec;
            spec.kind = state_.ComboSignal.index == 1   ? sim::SignalKind::TwoTone
                        : state_.ComboSignal.index == 2 ? sim::SignalKind::Noise
                        : state_.ComboSignal.index == 3 ? sim::SignalKind::Sweep
                                                        : sim::SignalKind::Tone;
            if (state_.EditF1.enabled) spec.f1Hz = m::parseReal(state_.EditF1.text);
            if (state_.EditF2.enabled) spec.f2Hz = m::parseReal(state_.EditF2.text);
            spec.levelDbfs = m::parseReal(state_.EditLevel.text);
            const double length = m::parseReal(state_.EditLength.text);
            if (!(spec.levelDbfs <= 0.0)) {
                setStatus(m::tx(kSimulationBadLevel), LimitColour::Red);
                return;
            }
            if (!(length >= 1.0 && length <= static_cast<double>(sim::kMaxSignalLength)) ||
                length != std::floor(length)) {
                setStatus(m::tx(kSimulationBadLength), LimitColour::Red);
                return;
            }
            spec.length = static_cast<std::uint64_t>(length);
            request.signal = spec;
        }
    } catch (const m::ConversionError& e) {
        ui_.showConversionError(e.what());
        return;
    }
    request.programText = programText();
    request.channel = registerChannelFor(model.Chip.ModeOfDdc, model.currentIndex());
    request.parameters = modelParametersFor(model);
    if (!state_.EditOutput.text.empty())
        request.outputPath = workspace_.resolve(state_.EditOutput.text);
    request.description = "gc4016 channel " + std::to_string(model.currentIndex()) + " of " +
                          model.Work.ConfigFileName;

    // The channel response over the output's offsets, from the same configuration.
    const gc::analysis::ChannelChain chain(gc::analysis::chainFromModel(model));
    responseDb_.clear();
    plotRateHz_ = 0.0;
    result_.reset();
    resultProgram_ = request.programText;
    std::vector<double> response(kColumns + 1);
    double rate = 0.0;
    try {
        rate =
            sim::ChannelModel::fromProgramFile(request.programText, request.channel).outputRateHz();
    } catch (const std::exception&) {
        rate = 0.0;  // the run reports it
    }
    if (rate > 0.0) {
        double peak = 0.0;
        for (int x = 0; x <= kColumns; ++x) {
            const double f = std::abs(-rate / 2 + rate * x / kColumns);
            response[static_cast<std::size_t>(x)] =
                chain.magnitude(std::min(f, chain.spec().clockHz / 2));
            peak = std::max(peak, response[static_cast<std::size_t>(x)]);
        }
        for (double& h : response) h = peak > 0.0 && h > 0.0 ? 20 * std::log10(h / peak) : -400.0;
        responseDb_ = std::move(response);
        plotRateHz_ = rate;
    }

    cancel_ = std::make_shared<std::atomic<bool>>(false);
    const unsigned job = ++job_;
    running_ = true;
    state_.ProgressBar = 0;
    setStatus(m::tx(kSimulationRunning));
    enableFields();
    showButtons();

    SimulationJob work;
    work.cancel = cancel_;
    work.work = [request, cancel = cancel_](const std::function<void(double)>& progress) {
        SimulationResult result;
        try {
            result.outcome = runSimulationRequest(request, progress, cancel.get());
        } catch (const std::exception& e) {
            result.error = e.what();
        }
        return result;
    };
    runOnPort<SimulationResult>(
        port_, std::move(work), [this, job](double f) { onProgress(job, f); },
        [this, job](SimulationResult result) { onFinished(job, std::move(result)); });
}

void SimulationPresenter::onProgress(unsigned job, double fraction) {
    if (job != job_ || !running_) return;
    state_.ProgressBar = static_cast<int>(std::lround(std::clamp(fraction, 0.0, 1.0) * 100.0));
}

void SimulationPresenter::onFinished(unsigned job, SimulationResult result) {
    if (job != job_ || !running_) return;
    running_ = false;
    if (!result.outcome) {
        setStatus(result.error, LimitColour::Red);
    } else if (result.outcome->run.cancelled) {
        setStatus(m::tx(kSimulationCancelled));
    } else {
        state_.ProgressBar = 100;
        result_ = std::move(result.outcome);
        std::string status = state_.EditOutput.text.empty()
                                 ? m::tx(kSimulationDone)
                                 : m::tx(kSimulationWritten, {state_.EditOutput.text});
        for (const std::string& note : result_->notes) status += "; " + note;
        setStatus(status, LimitColour::Green);
    }
    showResult();
    enableFields();
    showButtons();
}

void SimulationPresenter::onButtonCancelClick() {
    if (!running_) return;
    if (cancel_) cancel_->store(true);
    // The job ends at its next block; its result is dropped.
    running_ = false;
    ++job_;
    setStatus(m::tx(kSimulationCancelled));
    enableFields();
    showButtons();
}

void SimulationPresenter::onClose() {
    onButtonCancelClick();
    if (bool* flag = session_.openFlag(Window::Simulation)) *flag = false;
}

void SimulationPresenter::showResult() {
    state_.PanelOutputRate.clear();
    state_.PanelLevel.clear();
    state_.PanelRms.clear();
    state_.PanelSnr.clear();
    state_.PanelSfdr.clear();
    state_.PanelSignalAt.clear();
    state_.TableStages.clear();
    state_.FrequencyTexts.clear();
    if (!result_) return;
    const SimulationOutcome& o = *result_;
    const sim::SpectrumFigures& f = o.run.figures;
    state_.PanelOutputRate = fixed(o.outputRateHz, 3);
    state_.PanelRms = fixed(o.run.outputRmsDbfs, 2);
    if (f.signalDbfs) state_.PanelLevel = fixed(*f.signalDbfs, 2);
    if (f.snrDb) state_.PanelSnr = fixed(*f.snrDb, 2);
    if (f.sfdrDb) state_.PanelSfdr = fixed(*f.sfdrDb, 2);
    if (f.signalHz) state_.PanelSignalAt = fixed(*f.signalHz, 1);
    for (const sim::StageStats& s : o.stages) {
        state_.TableStages.push_back({stageTitle(s.stage), std::to_string(s.overflows),
                                      fixed(s.peakDbfs, 2), s.overflows > 0});
    }
    for (int i = 0; i <= 4; ++i)
        state_.FrequencyTexts.push_back(
            fixed((-o.outputRateHz / 2 + o.outputRateHz * i / 4) / 1000, 1));
}

void SimulationPresenter::onButtonBrowseInputClick() {
    if (running_) return;
    const std::optional<std::string> path = ui_.askOpenFile({"*.sigmf-meta *.wav", "", ""});
    if (path) state_.EditInput.text = *path;
}

void SimulationPresenter::onButtonBrowseOutputClick() {
    if (running_) return;
    const std::optional<std::string> path =
        ui_.askSaveFile({"*.sigmf-meta *.wav", "sigmf-meta", ""});
    if (path) state_.EditOutput.text = *path;
}

void SimulationPresenter::onButtonSaveSpectrumClick() {
    if (running_ || !result_) return;
    const std::optional<std::string> path = ui_.askSaveFile({"*.csv", "csv", ""});
    if (!path) return;
    const m::WriteResult written = m::writeFileAtomically(
        workspace_.resolve(*path),
        sim::spectrumCsvText(result_->run.spectrum, result_->centreFrequencyHz));
    if (written)
        setStatus(m::tx(kSimulationSpectrumSaved, {*path}));
    else
        setStatus(m::tx(kSimulationSpectrumNotSaved, {*path, m::systemErrorText(written.error)}),
                  LimitColour::Red);
}

void SimulationPresenter::draw(gc::response::Canvas& canvas) const {
    using gc::response::PenStyle;
    using gc::response::Rgb;
    canvas.fillRect(0, 0, kColumns, kRows, gc::response::kWhite);
    canvas.setPen(Rgb{192, 192, 192}, 1, PenStyle::Dotted);
    for (int row = 40; row < kRows; row += 40) {
        canvas.moveTo(0, row);
        canvas.lineTo(kColumns, row);
    }
    for (int x = 64; x < kColumns; x += 64) {
        canvas.moveTo(x, 0);
        canvas.lineTo(x, kRows);
    }
    if (!result_ || plotRateHz_ <= 0.0) return;
    const sim::Spectrum& s = result_->run.spectrum;
    const std::size_t bins = s.levelDb.size();
    if (bins > 0) {
        // Each column shows the strongest bin that falls into it, so no tone is lost between
        // columns; with fewer bins than columns the bins are joined by lines.
        canvas.setPen(Rgb{0, 0, 255}, 1, PenStyle::Solid);
        const auto columnOf = [&](std::size_t i) {
            return (s.offsetHz[i] + plotRateHz_ / 2) / plotRateHz_ * kColumns;
        };
        if (bins >= static_cast<std::size_t>(kColumns)) {
            std::vector<double> top(kColumns + 1, -std::numeric_limits<double>::infinity());
            for (std::size_t i = 0; i < bins; ++i) {
                const int x = std::clamp(static_cast<int>(std::lround(columnOf(i))), 0, kColumns);
                top[static_cast<std::size_t>(x)] =
                    std::max(top[static_cast<std::size_t>(x)], s.levelDb[i]);
            }
            canvas.moveTo(0, rowOfDb(top[0]));
            for (int x = 1; x <= kColumns; ++x)
                canvas.lineTo(x, rowOfDb(top[static_cast<std::size_t>(x)]));
        } else {
            canvas.moveTo(static_cast<int>(std::lround(columnOf(0))), rowOfDb(s.levelDb[0]));
            for (std::size_t i = 1; i < bins; ++i)
                canvas.lineTo(static_cast<int>(std::lround(columnOf(i))), rowOfDb(s.levelDb[i]));
        }
    }
    if (responseDb_.size() == static_cast<std::size_t>(kColumns + 1)) {
        canvas.setPen(gc::response::kRed, 1, PenStyle::Solid);
        canvas.moveTo(0, rowOfDb(responseDb_[0]));
        for (int x = 1; x <= kColumns; ++x)
            canvas.lineTo(x, rowOfDb(responseDb_[static_cast<std::size_t>(x)]));
    }
    canvas.setPen(gc::response::kBlack, 1, PenStyle::Solid);
}

}  // namespace gc::app
