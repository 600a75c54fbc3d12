#include "app/LevelsPresenter.h"

#include <cmath>
#include <stdexcept>
#include <utility>

#include "app/SimulationJob.h"
#include "model/Language.h"
#include "model/Numeric.h"

namespace gc::app {

namespace m = gc::model;

gc::sim::LevelPlan levelPlanOf(const Session& session, int channel,
                               const gc::sim::LevelInput& input) {
    const gc::sim::ModelParameters p = modelParametersFor(session.model);
    const gc::sim::ChannelSetup setup =
        gc::sim::decodeChannelSetup(programTextFor(session.model, session.image), channel, p);
    return gc::sim::computeLevelPlan(setup, p, input);
}

namespace {

std::string db(double v) {
    if (std::isinf(v)) return v > 0 ? "∞" : "-∞";
    return m::formatFixed(v, 9, 2);
}

std::string hz(double v) { return m::formatFixed(v, 12, 1); }

}  // namespace

// The stages and the factors of the gain equation by their names in the plan.
std::string stageTitle(const std::string& stage) {
    static const std::pair<const char*, const char*> kTitles[] = {
        {"input", "вход"},
        {"mixer", "смеситель"},
        {"cic", "CIC"},
        {"coarse", "грубое усиление"},
        {"cfir", "CFIR"},
        {"pfir", "PFIR"},
        {"fine gain", "точное усиление"},
        {"resampler", "ресемплер"},
        {"output", "выход"},
        {"real input to complex", "действительный вход в комплексный"},
        {"zero pad", "дополнение нулями"},
        {"NCO amplitude", "амплитуда NCO"},
        {"coarse gain", "грубое усиление"},
    };
    for (const auto& [name, title] : kTitles)
        if (stage == name) return m::tx(title);
    return stage;
}

LevelsPresenter::LevelsPresenter(Session& session, LevelsState& state, UiPort& ui)
    : session_(session), state_(state), ui_(ui) {}

void LevelsPresenter::onComboKindChanged() {
    state_.EditFrequency.text.clear();  // the other kind's default
    refresh();
}

void LevelsPresenter::onEditLevelEnter() { refresh(); }
void LevelsPresenter::onEditFrequencyEnter() { refresh(); }

void LevelsPresenter::refresh() {
    hasPlan_ = false;
    state_.Rows.clear();
    state_.MemoGain.clear();
    state_.LabelFirstClip.clear();
    state_.LabelOutput.clear();
    state_.LabelChannel.clear();
    state_.LabelError.clear();
    const int channel = session_.model.currentIndex();
    gc::sim::LevelInput input;
    try {
        input.levelDbfs = m::parseReal(state_.EditLevel.text);
        const bool noise = state_.ComboKind == 1;
        input.kind = noise ? gc::sim::LevelInput::Kind::Noise : gc::sim::LevelInput::Kind::Tone;
        const bool typed = state_.EditFrequency.text.find_first_not_of(' ') != std::string::npos;
        const double frequency = typed ? m::parseReal(state_.EditFrequency.text) : 0.0;
        // Defaults: a tone at the channel's NCO frequency as typed in the main window, noise
        // over the output band.
        if (noise) {
            input.noiseBandHz =
                typed ? frequency : levelPlanOf(session_, channel, input).outputRateHz;
        } else {
            input.toneHz =
                typed ? frequency : session_.model.Chip.Fc[static_cast<std::size_t>(channel)];
        }
        if (!typed)
            state_.EditFrequency.text = m::formatGeneral(noise ? input.noiseBandHz : input.toneHz);
        plan_ = levelPlanOf(session_, channel, input);
        hasPlan_ = true;
    } catch (const m::ConversionError& e) {
        ui_.showConversionError(e.what());
        state_.LabelError = e.what();
        return;
    } catch (const std::runtime_error& e) {
        state_.LabelError = e.what();
        return;
    }

    if (input.kind == gc::sim::LevelInput::Kind::Noise) {
        state_.LabelChannel =
            m::tx(kLevelsChannelLineNoise,
                  {std::to_string(channel), hz(plan_.ncoFrequencyHz), hz(plan_.outputRateHz)});
    } else {
        state_.LabelChannel =
            m::tx(kLevelsChannelLine, {std::to_string(channel), hz(plan_.ncoFrequencyHz),
                                       hz(plan_.outputRateHz), hz(plan_.outputFrequencyHz)});
    }
    for (const gc::sim::StageLevel& s : plan_.stages) {
        LevelRowState row;
        row.stage = stageTitle(s.stage);
        row.bits = std::to_string(s.wordBits);
        row.rate = hz(s.rateHz);
        row.signal = db(s.signalDbfs);
        row.outOfBand = db(s.outOfBandDbfs);
        row.peak = db(s.peakDbfs);
        row.headroom = db(s.headroomDb);
        row.clipInput = db(s.clipInputDbfs);
        row.noise = db(s.noiseAtOutputDbfs);
        row.clips = s.peakDbfs > 0.0;
        state_.Rows.push_back(row);
    }
    if (std::isfinite(plan_.firstClipInputDbfs)) {
        state_.LabelFirstClip =
            m::tx(kLevelsFirstClip, {stageTitle(plan_.firstClipStage), db(plan_.firstClipInputDbfs),
                                     db(plan_.firstClipInputDbfs - input.levelDbfs)});
    } else {
        state_.LabelFirstClip = m::tx(kLevelsNoClip);
    }
    state_.LabelOutput = m::tx(kLevelsOutput, {db(plan_.outputSignalDbfs),
                                               db(plan_.outputNoiseDbfs), db(plan_.outputSnrDb)});
    for (const gc::sim::GainFactor& f : plan_.gain)
        state_.MemoGain.push_back(stageTitle(f.name) + ": " + f.formula + " = " +
                                  m::formatFixed(f.value, 12, 6));
    state_.MemoGain.push_back(
        m::tx(kLevelsTotal, {m::formatFixed(plan_.totalGain, 12, 6), db(plan_.totalGainDb)}));
}

}  // namespace gc::app
