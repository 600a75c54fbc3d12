#include "app/MainPresenter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "chip/OutputMode.h"
#include "filters/FilterTables.h"
#include "model/Derived.h"
#include "model/Language.h"
#include "model/Numeric.h"

namespace gc::app {

namespace m = gc::model;
using gc::filters::TapSource;

namespace {

// Recalculating is 1 while recalculate runs and gets its earlier value back however the run
// ends, so a failing step can never leave the handlers it guards switched off.
class RecalculatingGuard {
  public:
    explicit RecalculatingGuard(int& flag) : flag_(flag), saved_(flag) { flag_ = 1; }
    ~RecalculatingGuard() { flag_ = saved_; }
    RecalculatingGuard(const RecalculatingGuard&) = delete;
    RecalculatingGuard& operator=(const RecalculatingGuard&) = delete;

  private:
    int& flag_;
    int saved_;
};

std::string integerText(int value) { return std::to_string(value); }

PanelColour sourceColour(TapSource source) {
    return source == TapSource::File ? PanelColour::White : PanelColour::ButtonFace;
}

const char* const kRateZero = "Выходная частота не может быть равна нулю";
const char* const kRatioWordZero = "Коэффициент передискретизации не может быть равен нулю";
const char* const kClockRange = "Тактовая частота должна быть целым числом от 1 до %1 Гц: \"%2\"";

// The clock typed into Edit3: a whole number of hertz from 1 up to what the 32-bit fields hold.
// Anything else (0, "-0", a negative or too large number, no number) is refused as a whole.
int parseClock(const std::string& text) {
    const auto refuse = [&text] {
        throw m::ConversionError(
            m::tx(kClockRange, {std::to_string(std::numeric_limits<int>::max()), text}));
    };
    int clock = 0;
    try {
        clock = m::parseInt(text);
    } catch (const m::ConversionError&) {
        refuse();
    }
    if (clock < 1) refuse();
    return clock;
}

// Edit5: the channel's exact output rate.
std::string outputRateText(const m::ConfigurationModel& model) {
    return m::formatFixed(m::exactOutputRate(model), 8, 1);
}

}  // namespace

MainPresenter::MainPresenter(Session& session, MainState& state, UiPort& ui, ChannelPlotSeam& plot)
    : session_(session), state_(state), ui_(ui), plot_(plot) {}

template <typename Action>
void MainPresenter::guarded(Action&& action) {
    try {
        action();
    } catch (const m::ConversionError& error) {
        ui_.showConversionError(error.what());
        showTypedValuesInEffect();
    }
}

// After a refused entry the typed fields show the values in effect again, as Edit5 and Edit8
// do when they are left without Enter.
void MainPresenter::showTypedValuesInEffect() {
    const auto& model = session_.model;
    const auto& chip = model.Chip;
    const int c = model.currentIndex();
    state_.Edit1.text = integerText(model.current().Decimation);
    state_.Edit2.text = integerText(model.current().FineGain);
    state_.Edit3.text = integerText(chip.Clock);
    state_.Edit4.text = m::formatFixed(chip.CoefInterpol[0], 9, 7);
    state_.Edit5.text = outputRateText(model);
    state_.Edit6.text = integerText(chip.Fc[c]);
    state_.Edit7.text = m::formatFixed(chip.Phase[c], 4, 3);
    state_.Edit8.text = m::formatHexWord(m::resamplerRatioWord(chip.CoefInterpol[0]));
}

// The NCO frequency the user asked for on channel `c`: the one remembered when the clock
// clamped it and the model still holds that clamped value, else the model's own.
int MainPresenter::wantedNcoHz(int c) const {
    const auto& chip = session_.model.Chip;
    const int wanted = ncoWantedHz_[static_cast<size_t>(c)];
    return m::clampFrequency(wanted, chip.Clock) == chip.Fc[c] ? wanted : chip.Fc[c];
}

// --- Sources ---------------------------------------------------------------------------------

TapSource MainPresenter::source(FilterKind kind) const {
    return (state_.*info(kind).fileRadio).checked ? TapSource::File : TapSource::Table;
}
TapSource MainPresenter::cfirSource() const { return source(FilterKind::Cfir); }
TapSource MainPresenter::pfirSource() const { return source(FilterKind::Pfir); }
TapSource MainPresenter::resamplerSource() const { return source(FilterKind::Resampler); }

// The one place that puts the taps of a filter kind in use from its chosen source.
void MainPresenter::applySelection(FilterKind kind) {
    switch (kind) {
        case FilterKind::Cfir:
            gc::filters::ApplyCfirSelection(session_.model, source(kind));
            break;
        case FilterKind::Pfir:
            gc::filters::ApplyPfirSelection(session_.model, source(kind));
            break;
        case FilterKind::Resampler:
            gc::filters::ApplyResamplerSelection(session_.model, session_.image, source(kind));
            break;
    }
}

// --- collect ---------------------------------------------------------------------------------

void MainPresenter::collect() {
    guarded([&] { doCollect(); });
}

void MainPresenter::doCollect() {
    auto& model = session_.model;
    if (model.Work.Recalculating == 1) return;
    const int c = model.currentIndex();
    auto& ch = model.Channels[c];
    auto& chip = model.Chip;

    const int wantedFc = wantedNcoHz(c);  // against the clock in effect until now
    chip.Clock = parseClock(state_.Edit3.text);
    if (!state_.AutoScale.checked) {
        ch.Scale = state_.ComboBox2.index;
        ch.BigScale = state_.ComboBox3.index;
    }
    model.Work.CurrentDecimation = m::parseInt(state_.Edit1.text);
    ch.Decimation = model.Work.CurrentDecimation;
    ch.Mix20bit = state_.CheckBox1.checked ? 1 : 0;
    model.Work.CfirSelection[c] = state_.ComboBox1.index;
    model.Work.PfirSelection[c] = state_.ComboBox4.index;
    model.Work.RfirSelection = state_.ComboBox5.index;
    ch.CoarseGain = state_.ComboBox6.index;
    chip.FinalShift = state_.ComboBox9.index;
    ch.Shift = state_.ComboBox10.index;
    // A frequency above the clock is held at the clock, but the one asked for is remembered:
    // it comes back when the clock allows it again, so no clock change loses it.
    const int typedFc = m::parseInt(state_.Edit6.text);
    const int fc = typedFc != chip.Fc[c] ? std::max(0, typedFc) : wantedFc;
    chip.Fc[c] = m::clampFrequency(fc, chip.Clock);
    ncoWantedHz_[static_cast<size_t>(c)] = fc;
    chip.InputPort[c] = state_.ComboBox12.index;
    chip.Phase[c] = m::clampPhase(m::parseReal(state_.Edit7.text));
}

// --- recalculate -----------------------------------------------------------------------------

void MainPresenter::recalculate() {
    guarded([&] { doRecalculate(); });
}

// The steps of recalculate, in their order. The order matters: later steps read what earlier
// ones derived (the gains, the working clock), and showOutputMode may run the whole
// recalculation again from inside, through CheckBox9's click handler.
void MainPresenter::doRecalculate() {
    RecalculatingGuard recalculating(session_.model.Work.Recalculating);
    showChannelAndFileNames();
    showClockAndDecimation();
    showShiftAndScales();
    showCicAndFineGains();
    showTapNamesAndMixer();
    showListChoices();
    showStageGains();
    showResamplerChoices();
    showStageBoxes();
    showOutputRate();
    showResamplerErrors();
    showSourceStates();
    showResamplerSettings();
    showTotalGain();
    showNco();
    showChannelBoxes();
    showOutputMode();
    showServiceButtons();
    showPhaseAndInterpolation();
    doShowResamplerRatio();  // from the Edit4 text just written
    refreshIfOpen(Window::Requirement);
    refreshIfOpen(Window::Design);
    refreshIfOpen(Window::Levels);
}

// The channel in ComboBox7, the configuration and chip configuration file names.
void MainPresenter::showChannelAndFileNames() {
    const auto& model = session_.model;
    state_.ComboBox7.index = model.currentIndex();
    state_.Panel25.text = model.Work.ConfigFileName;
    state_.Panel1.text = model.Chip.NameOfCFG;
}

// The clock becomes the working clock; the channel's decimation the current one.
void MainPresenter::showClockAndDecimation() {
    auto& model = session_.model;
    model.Work.WorkingClock = model.Chip.Clock;
    state_.Edit3.text = integerText(model.Chip.Clock);
    model.Work.CurrentDecimation = model.current().Decimation;
    state_.Edit1.text = integerText(model.Work.CurrentDecimation);
}

// Shift, then Scale and BigScale (chosen by AutoScale when it is ticked, locked then).
void MainPresenter::showShiftAndScales() {
    MainState& s = state_;
    s.ComboBox10.index = m::shownIndex(session_.model.current().Shift, kComboBox10ItemCount);
    doAutoScale();
    const auto& ch = session_.model.current();
    s.ComboBox2.index = m::shownIndex(ch.Scale, kComboBox2ItemCount);
    s.ComboBox3.index = m::shownIndex(ch.BigScale, kComboBox3ItemCount);
    s.ComboBox2.enabled = !s.AutoScale.checked;
    s.ComboBox3.enabled = !s.AutoScale.checked;
}

// The CIC5 gain and the PFIR fine gain factor.
void MainPresenter::showCicAndFineGains() {
    auto& model = session_.model;
    auto& derived = model.Derived;
    const auto& ch = model.current();
    derived.CicGain = m::cicGain(model.Work.CurrentDecimation, ch.Shift, ch.Scale, ch.BigScale);
    state_.Edit2.text = integerText(ch.FineGain);
    derived.FineFactor = static_cast<float>(ch.FineGain) * (1.0f / 1024.0f);
    state_.Panel8.text = m::formatFixed(derived.FineFactor, 5, 3);
    state_.Panel2.text = m::formatFixed(derived.CicGain, 6, 4);
}

// The tap file names and the 20-bit mixer tick.
void MainPresenter::showTapNamesAndMixer() {
    const auto& ch = session_.model.current();
    state_.Panel9.text = ch.NameOfCFIR;
    state_.Panel10.text = ch.NameOfPFIR;
    state_.Panel11.text = session_.model.Chip.NameOfRFIR;
    state_.CheckBox1.checked = ch.Mix20bit != 0;
}

// The CFIR and PFIR tables of the channel and its coarse gain.
void MainPresenter::showListChoices() {
    const auto& model = session_.model;
    const int c = model.currentIndex();
    state_.ComboBox1.index = m::shownIndex(model.Work.CfirSelection[c], gc::filters::kCfirSetCount);
    state_.ComboBox4.index = m::shownIndex(model.Work.PfirSelection[c], gc::filters::kPfirSetCount);
    state_.ComboBox6.index = m::shownIndex(model.current().CoarseGain, kComboBox6ItemCount);
}

// The DC gains of the taps in use, alone and with their gain settings.
void MainPresenter::showStageGains() {
    auto& model = session_.model;
    auto& derived = model.Derived;
    auto& work = model.Work;
    MainState& s = state_;
    const int c = model.currentIndex();
    const auto& ch = model.current();
    derived.CfirGain[c] = m::tapSum(model.CfirTaps[c].data(), m::kCfirTapCount) * (1.0f / 65536.0f);
    derived.PfirGain[c] = m::tapSum(model.PfirTaps[c].data(), m::kPfirTapCount) * (1.0f / 65536.0f);
    const int resamplerTaps = m::clampInt(work.ResamplerTapCount, 0, m::kResamplerTapMax);
    derived.ResamplerGain =
        m::resamplerGain(model.ResamplerTaps.data(), resamplerTaps, work.Ndelay);
    s.Panel12.text = m::formatFixed(derived.CfirGain[c], 5, 3);
    s.Panel13.text = m::formatFixed(derived.PfirGain[c], 5, 3);
    s.Panel6.text = m::formatFixed(derived.ResamplerGain, 5, 3);

    derived.CoarseFactor = m::toSingle(std::pow(2.0, ch.CoarseGain));
    s.Panel3.text =
        m::formatFixed(static_cast<double>(derived.CfirGain[c]) * derived.CoarseFactor, 5, 3);
    s.Panel4.text =
        m::formatFixed(ch.FineGain * static_cast<double>(derived.PfirGain[c]) / 1024.0, 5, 3);
    derived.FinalShiftFactor = m::toSingle(std::pow(2.0, model.Chip.FinalShift));
    s.Panel23.text =
        m::formatFixed(static_cast<double>(derived.ResamplerGain) * derived.FinalShiftFactor, 5, 3);
}

// The final shift and the resampler table.
void MainPresenter::showResamplerChoices() {
    state_.ComboBox9.index = m::shownIndex(session_.model.Chip.FinalShift, kComboBox9ItemCount);
    state_.ComboBox5.index =
        m::shownIndex(session_.model.Work.RfirSelection, gc::filters::kResamplerSetCount);
}

// The stage boxes of the channel plot; their click handlers return at once while
// Recalculating is 1.
void MainPresenter::showStageBoxes() {
    const auto& work = session_.model.Work;
    for (const FilterKindInfo& kind : kFilterKinds)
        (state_.*kind.stageBox).checked = work.StageEnabled[kind.stage] != 0;
}

// The output rate of the mode as it stands: showOutputMode may force the mode to 0 only
// afterwards.
void MainPresenter::showOutputRate() {
    auto& model = session_.model;
    model.Derived.OutputRate = m::outputRate(model.Chip.ModeOfDdc, model.Chip.CoefInterpol[0],
                                             model.Work.WorkingClock, model.Work.CurrentDecimation);
    state_.Edit5.text = outputRateText(model);
}

// Red tap count on a resampler length error, red multiplies outside 6..64.
void MainPresenter::showResamplerErrors() {
    auto& work = session_.model.Work;
    const int multiplies = session_.model.Chip.NumMultiplies;
    state_.Panel20.colour = work.ResamplerLengthError ? PanelColour::Red : PanelColour::ButtonFace;
    work.MultipliesError = multiplies < 6 || multiplies > 64;
    state_.Panel22.colour = work.MultipliesError ? PanelColour::Red : PanelColour::ButtonFace;
}

// Tap count, multiplies, NDELAY and the largest NDELAY the multiplies allow.
void MainPresenter::showResamplerSettings() {
    auto& model = session_.model;
    state_.Panel20.text = integerText(model.Work.ResamplerTapCount);
    state_.Panel22.text = integerText(model.Chip.NumMultiplies);
    state_.ComboBox14.index = m::ndelayIndex(model.Work.Ndelay);
    model.Derived.MaxNdelay = m::maxNdelay(model.Chip.NumMultiplies);
    state_.Panel14.text = integerText(model.Derived.MaxNdelay);
}

// The gain of the whole channel.
void MainPresenter::showTotalGain() {
    auto& derived = session_.model.Derived;
    const int c = session_.model.currentIndex();
    derived.TotalGain = m::toSingle(derived.CicGain * derived.CfirGain[c] * derived.CoarseFactor *
                                    derived.PfirGain[c] * derived.ResamplerGain *
                                    derived.FineFactor * derived.FinalShiftFactor);
    state_.Panel7.text = m::formatFixed(derived.TotalGain, 7, 3);
}

// The channel's NCO frequency and ADC input.
void MainPresenter::showNco() {
    const auto& chip = session_.model.Chip;
    const int c = session_.model.currentIndex();
    state_.Edit6.text = integerText(chip.Fc[c]);
    state_.ComboBox12.index =
        m::shownIndex(chip.InputPort[c], static_cast<int>(kComboBox12Items.size()));
}

// Combined firmware and the output mode lists. Ticking CheckBox9 from here runs its click
// handler, which applies the output mode (and recalculates, nested).
void MainPresenter::showOutputMode() {
    auto& chip = session_.model.Chip;
    MainState& s = state_;
    const bool combined = chip.CombConfigPlis != 0;
    if (s.CheckBox9.checked != combined) {
        s.CheckBox9.checked = combined;
        checkBox9Click();
    }
    if (s.CheckBox9.checked) {
        s.ComboBox13.index =
            m::shownIndex(chip.AsyncMode, static_cast<int>(kComboBox13Items.size()));
        s.ComboBox13.enabled = true;
        s.ComboBox11.index =
            m::shownIndex(chip.ModeOfDdc, static_cast<int>(kComboBox11Items.size()));
        s.ComboBox11.enabled = true;
    } else {
        s.ComboBox13.index = 0;
        s.ComboBox13.enabled = false;
        s.ComboBox11.index = 0;
        chip.ModeOfDdc = 0;
        s.ComboBox11.enabled = false;
    }
}

// The register-editor buttons, visible in service mode only.
void MainPresenter::showServiceButtons() {
    MainState& s = state_;
    for (ButtonState* button : {&s.Button1, &s.Button2, &s.Button3, &s.Button4, &s.Button10})
        button->visible = session_.model.Work.ServiceMode;
}

// The channel's NCO phase and the interpolation factor.
void MainPresenter::showPhaseAndInterpolation() {
    const auto& chip = session_.model.Chip;
    state_.Edit7.text = m::formatFixed(chip.Phase[session_.model.currentIndex()], 4, 3);
    state_.Edit4.text = m::formatFixed(chip.CoefInterpol[0], 9, 7);
}

void MainPresenter::showSourceStates() {
    for (const FilterKindInfo& kind : kFilterKinds) {
        const bool fromFile = (state_.*kind.fileRadio).checked;
        (state_.*kind.list).enabled = !fromFile;
        (state_.*kind.name).colour = sourceColour(fromFile ? TapSource::File : TapSource::Table);
        (state_.*kind.readButton).enabled = fromFile;
        (state_.*kind.writeButton).enabled = fromFile;
    }
}

void MainPresenter::showChannelBoxes() {
    auto& chip = session_.model.Chip;
    auto& work = session_.model.Work;
    switch (chip.ModeOfDdc) {
        case 0:
            for (int i = 0; i < 4; ++i) {
                state_.channelBox(i).checked = m::bitSet(chip.MaskChan1x, i);
                state_.channelBox(i).enabled = true;
            }
            work.ActiveMask = chip.MaskChan1x;
            break;
        case 1: {
            const bool first = (chip.MaskChan2x & 1) != 0;
            const bool second = (chip.MaskChan2x & 2) != 0;
            const bool ticks[4] = {first, first, second, second};
            for (int i = 0; i < 4; ++i) {
                state_.channelBox(i).checked = ticks[i];
                state_.channelBox(i).enabled = i == 0 || i == 2;
            }
            const int box0 = state_.channelBox(0).checked ? 1 : 0;
            const int box2 = state_.channelBox(2).checked ? 1 : 0;
            work.ActiveMask = box0 + 2 * box0 + 4 * box2 + 8 * box2;
            break;
        }
        case 2: {
            const bool on = (chip.MaskChan4x & 1) != 0;
            for (int i = 0; i < 4; ++i) {
                state_.channelBox(i).checked = on;
                state_.channelBox(i).enabled = i == 0;
            }
            work.ActiveMask = 15 * (state_.channelBox(0).checked ? 1 : 0);
            break;
        }
        default:
            // A mode no list item offers (only from a file): no channel counts as enabled.
            work.ActiveMask = 0;
            break;
    }
    work.ActiveCount = m::activeCount(work.ActiveMask);
}

void MainPresenter::autoScale() {
    guarded([&] { doAutoScale(); });
}

void MainPresenter::doAutoScale() {
    if (!state_.AutoScale.checked) return;
    auto& ch = session_.model.current();
    const m::ScalePair pair = m::autoScalePair(session_.model.Work.CurrentDecimation, ch.Shift);
    ch.Scale = pair.scale;
    ch.BigScale = pair.bigScale;
}

void MainPresenter::showResamplerRatio() {
    guarded([&] { doShowResamplerRatio(); });
}

void MainPresenter::doShowResamplerRatio() {
    const double factor = m::parseReal(state_.Edit4.text);
    state_.Edit8.text = m::formatHexWord(m::resamplerRatioWord(factor));
}

// --- Shared steps ----------------------------------------------------------------------------

void MainPresenter::applyOutputMode() {
    const auto& model = session_.model;
    gc::chip::applyOutputMode(session_.image, model.Chip.CombConfigPlis, model.Chip.ModeOfDdc,
                              model.Chip.AsyncMode, model.Work.ActiveCount);
}

void MainPresenter::applyTapSelections() {
    guarded([&] { doApplyTapSelections(); });
}

void MainPresenter::doApplyTapSelections() {
    for (FilterKind kind : kFilterKindList) applySelection(kind);
}

void MainPresenter::refreshIfOpen(Window window) {
    if (session_.isOpen(window)) ui_.refreshWindow(window);
}

void MainPresenter::refreshOpenEditors() {
    refreshIfOpen(Window::InpBlock);
    refreshIfOpen(Window::Freq);
    refreshIfOpen(Window::OutBlock);
    refreshIfOpen(Window::Filters);
}

void MainPresenter::refreshOpenStageWindows() {
    refreshIfOpen(Window::Cic5);
    refreshIfOpen(Window::Cfir);
    refreshIfOpen(Window::Pfir);
    refreshIfOpen(Window::Resamp);
}

void MainPresenter::fullRefresh() {
    doCollect();
    doRecalculate();
    plot_.computeCicResponse();
    refreshOpenStageWindows();
    plot_.refreshChannelPlot();
}

void MainPresenter::startWithDefaults() {
    guarded([&] {
        doApplyTapSelections();
        applyOutputMode();
        doRecalculate();
        // After the recalculation, which sets the decimation the responses are drawn for.
        plot_.computeCicResponse();
        plot_.refreshChannelPlot();
    });
}

bool MainPresenter::runSaveChecks() {
    const auto& model = session_.model;
    const std::string cannotWrite = m::tx("Файл не может быть записан!");
    if (!m::decimationAllowed(model)) {
        ui_.showError({ErrorWindow::ErrDecim,
                       {m::tx("Минимальный коэффициент децимации CIC-фильтра"),
                        m::tx("в этом режиме   равен"), integerText(m::minimumDecimation(model)),
                        cannotWrite}});
        return false;
    }
    if (!m::decimationsEqual(model)) {
        ui_.showError(
            {ErrorWindow::ErrEqualDecim,
             {m::tx("В синхронном режиме вывода"), m::tx("коэффициенты  децимации каналов"),
              m::tx(" должны быть одинаковыми!"), cannotWrite}});
        return false;
    }
    if (model.Work.ResamplerLengthError || model.Work.MultipliesError) {
        ui_.showError(
            {ErrorWindow::ErrResamp,
             {m::tx("Установки  Resampler-фильтра"), m::tx("не корректны !"), cannotWrite}});
        return false;
    }
    return true;
}

// --- Decimation ------------------------------------------------------------------------------

void MainPresenter::confirmDecimation() {
    const auto& work = session_.model.Work;
    const int v =
        m::clampInt(m::parseInt(state_.Edit1.text), work.DecimationMin, work.DecimationMax);
    state_.Edit1.text = integerText(v);
    fullRefresh();
}

void MainPresenter::onEdit1Enter() {
    guarded([&] { confirmDecimation(); });
}
void MainPresenter::onEdit1Exit() {
    guarded([&] { confirmDecimation(); });
}

// Steps start from the text in Edit1. The single steps refuse to leave the range; the larger
// ones clamp at the side they move towards.
void MainPresenter::stepDecimation(int step) {
    const auto& work = session_.model.Work;
    std::int64_t wide = static_cast<std::int64_t>(m::parseInt(state_.Edit1.text)) + step;
    if (step == 1 && wide > work.DecimationMax) return;
    if (step == -1 && wide < work.DecimationMin) return;
    if (step > 1 && wide > work.DecimationMax) wide = work.DecimationMax;
    if (step < -1 && wide < work.DecimationMin) wide = work.DecimationMin;
    // Only a text far outside the range can still be beyond the 32-bit range here.
    if (wide > std::numeric_limits<int>::max()) wide = std::numeric_limits<int>::max();
    if (wide < std::numeric_limits<int>::min()) wide = std::numeric_limits<int>::min();
    state_.Edit1.text = integerText(static_cast<int>(wide));
    if (step == 1) {
        doCollect();
        plot_.computeCicResponse();
        refreshOpenStageWindows();
        plot_.refreshChannelPlot();
        doRecalculate();
    } else {
        fullRefresh();
    }
}

void MainPresenter::onButton8Click() {
    guarded([&] { stepDecimation(1); });
}
void MainPresenter::onButton9Click() {
    guarded([&] { stepDecimation(-1); });
}
void MainPresenter::onButton15Click() {
    guarded([&] { stepDecimation(10); });
}
void MainPresenter::onButton16Click() {
    guarded([&] { stepDecimation(-10); });
}
void MainPresenter::onButton17Click() {
    guarded([&] { stepDecimation(100); });
}
void MainPresenter::onButton18Click() {
    guarded([&] { stepDecimation(-100); });
}
void MainPresenter::onButton7Click() {
    guarded([&] { stepDecimation(1000); });
}
void MainPresenter::onButton12Click() {
    guarded([&] { stepDecimation(-1000); });
}

// The decimation that gives the typed output rate, or the nearest rate above it. A rate of 0
// would divide by zero and is refused; a negative one clamps to the smallest decimation.
void MainPresenter::onEdit5Enter() {
    guarded([&] {
        const auto& model = session_.model;
        const float rate = m::toSingle(m::parseReal(state_.Edit5.text));
        if (rate == 0.0f) throw m::ConversionError(m::tx(kRateZero));
        const int d = m::decimationForRate(model.Chip.ModeOfDdc, model.Chip.CoefInterpol[0],
                                           model.Work.WorkingClock, rate, model.Work.DecimationMin,
                                           model.Work.DecimationMax);
        state_.Edit1.text = integerText(d);
        fullRefresh();
    });
}

void MainPresenter::onEdit5Exit() { state_.Edit5.text = outputRateText(session_.model); }

void MainPresenter::onEdit3Enter() {
    guarded([&] { fullRefresh(); });
}
void MainPresenter::onEdit3Exit() {
    guarded([&] { fullRefresh(); });
}

// --- Interpolation ---------------------------------------------------------------------------

void MainPresenter::confirmInterpolation() {
    auto& model = session_.model;
    const double factor = m::clampInterpolation(m::parseReal(state_.Edit4.text));
    state_.Edit8.text = m::formatHexWord(m::resamplerRatioWord(factor));
    model.Chip.CoefInterpol[0] = static_cast<float>(factor);
    applySelection(FilterKind::Resampler);
    plot_.refreshChannelPlot();
    refreshIfOpen(Window::Resamp);
    doRecalculate();
}

void MainPresenter::onEdit4Enter() {
    guarded([&] { confirmInterpolation(); });
}
void MainPresenter::onEdit4Exit() {
    guarded([&] { confirmInterpolation(); });
}

// The interpolation factor of a typed ratio word; the model changes when Edit4 is confirmed.
void MainPresenter::onEdit8Enter() {
    guarded([&] {
        const int word = m::parseInt(state_.Edit8.text);
        if (word == 0) throw m::ConversionError(m::tx(kRatioWordZero));
        state_.Edit4.text = m::formatGeneral(static_cast<double>(m::kRatioOne) / word);
    });
}

void MainPresenter::onEdit8Exit() {
    state_.Edit8.text =
        m::formatHexWord(m::resamplerRatioWord(session_.model.Chip.CoefInterpol[0]));
}

// --- Gains -----------------------------------------------------------------------------------

void MainPresenter::confirmFineGain() {
    const int g = m::clampInt(m::parseInt(state_.Edit2.text), 0, m::kFineGainMax);
    session_.model.current().FineGain = g;
    doRecalculate();
}

void MainPresenter::onEdit2Enter() {
    guarded([&] { confirmFineGain(); });
}
void MainPresenter::onEdit2Exit() {
    guarded([&] { confirmFineGain(); });
}

void MainPresenter::onShiftGainComboChanged() {
    guarded([&] {
        doCollect();
        doRecalculate();
    });
}

void MainPresenter::onAutoScaleClick() {
    guarded([&] { doRecalculate(); });
}

void MainPresenter::onCheckBox1Click() {
    guarded([&] {
        if (session_.model.Work.Recalculating == 1) return;
        session_.model.current().Mix20bit = state_.CheckBox1.checked ? 1 : 0;
        doRecalculate();
    });
}

// --- NCO -------------------------------------------------------------------------------------

void MainPresenter::onEdit6Enter() {
    guarded([&] {
        if (session_.model.Work.Recalculating == 1) return;
        doCollect();
        doRecalculate();
    });
}
void MainPresenter::onEdit6Exit() { onEdit6Enter(); }
void MainPresenter::onEdit7Enter() { onEdit6Enter(); }
void MainPresenter::onEdit7Exit() { onEdit6Enter(); }

// --- Output mode and channels ----------------------------------------------------------------

// Recalculates, applies the output mode to the register image, recalculates again and
// refreshes the open register windows that show the output mode.
void MainPresenter::reapplyOutputMode() {
    doRecalculate();
    applyOutputMode();
    doRecalculate();
    refreshIfOpen(Window::Filters);
    refreshIfOpen(Window::Freq);
    refreshIfOpen(Window::OutBlock);
}

void MainPresenter::onComboBox11Changed() {
    guarded([&] {
        if (session_.model.Work.Recalculating == 1) return;
        session_.model.Chip.ModeOfDdc = state_.ComboBox11.index;
        reapplyOutputMode();
        plot_.refreshChannelPlot();
        refreshOpenStageWindows();
    });
}

void MainPresenter::onComboBox13Changed() {
    guarded([&] {
        session_.model.Chip.AsyncMode = state_.ComboBox13.index;
        reapplyOutputMode();
    });
}

void MainPresenter::checkBox9Click() {
    session_.model.Chip.CombConfigPlis = state_.CheckBox9.checked ? 1 : 0;
    reapplyOutputMode();
}

void MainPresenter::onCheckBox9Click() {
    guarded([&] { checkBox9Click(); });
}

void MainPresenter::onChannelBoxClick(int box) {
    guarded([&] {
        auto& chip = session_.model.Chip;
        if (session_.model.Work.Recalculating == 1 || box < 0 || box > 3) return;
        const auto tick = [&](int i) { return state_.channelBox(i).checked ? 1 : 0; };
        switch (chip.ModeOfDdc) {
            case 0:
                chip.MaskChan1x = tick(0) + 2 * tick(1) + 4 * tick(2) + 8 * tick(3);
                break;
            case 1:
                chip.MaskChan2x = tick(0) + 2 * tick(2);
                break;
            case 2:
                chip.MaskChan4x = tick(0);
                break;
            default:
                break;
        }
        reapplyOutputMode();
        refreshIfOpen(Window::InpBlock);
    });
}

void MainPresenter::onComboBox12Changed() {
    guarded([&] {
        if (session_.model.Work.Recalculating == 1) return;
        doCollect();
        doRecalculate();
        refreshIfOpen(Window::InpBlock);
    });
}

void MainPresenter::onComboBox7Changed() {
    guarded([&] {
        const int channel = state_.ComboBox7.index;
        if (channel < 0 || channel >= m::kChannelCount) return;
        auto& model = session_.model;
        model.Work.CurrentChannel = channel;
        model.Work.CurrentDecimation = model.Channels[channel].Decimation;
        plot_.computeCicResponse();
        applySelection(FilterKind::Cfir);
        applySelection(FilterKind::Pfir);
        refreshOpenStageWindows();
        plot_.refreshChannelPlot();
        doRecalculate();
    });
}

void MainPresenter::onComboBox14Changed() {
    guarded([&] {
        const int index = state_.ComboBox14.index;
        if (index < 0 || index >= m::kNdelayItemCount) return;
        auto& model = session_.model;
        model.Work.Ndelay = m::ndelayForIndex(index);
        model.Chip.NumMultiplies = model.Work.ResamplerTapCount / model.Work.Ndelay;
        doRecalculate();
        refreshIfOpen(Window::Resamp);
        plot_.refreshChannelPlot();
    });
}

void MainPresenter::onStageBoxClick(FilterKind kind) {
    guarded([&] {
        if (session_.model.Work.Recalculating == 1) return;
        const FilterKindInfo& k = info(kind);
        session_.model.Work.StageEnabled[static_cast<size_t>(k.stage)] =
            (state_.*k.stageBox).checked ? 1 : 0;
        doRecalculate();
        plot_.refreshChannelPlot();
    });
}

void MainPresenter::onCheckBox4Click() { onStageBoxClick(FilterKind::Cfir); }
void MainPresenter::onCheckBox5Click() { onStageBoxClick(FilterKind::Pfir); }
void MainPresenter::onCheckBox6Click() { onStageBoxClick(FilterKind::Resampler); }

// --- Coefficient tables and sources ----------------------------------------------------------
// A list choice redraws before it recalculates; a source choice recalculates first.

void MainPresenter::putTapsInUse(FilterKind kind, bool fromList) {
    applySelection(kind);
    if (!fromList) doRecalculate();
    plot_.refreshChannelPlot();
    refreshIfOpen(info(kind).window);
    if (fromList) doRecalculate();
}

void MainPresenter::onListChanged(FilterKind kind) {
    guarded([&] {
        const int index = (state_.*info(kind).list).index;
        if (index < 0 || index >= info(kind).setCount) return;
        auto& work = session_.model.Work;
        const int c = session_.model.currentIndex();
        (kind == FilterKind::Cfir   ? work.CfirSelection[c]
         : kind == FilterKind::Pfir ? work.PfirSelection[c]
                                    : work.RfirSelection) = index;
        putTapsInUse(kind, true);
    });
}

void MainPresenter::onSourceClick(FilterKind kind, bool tableRadio) {
    guarded([&] {
        putTapsInUse(kind, false);
        if (tableRadio && info(kind).tableRepaints) ui_.repaintChannelPlot();
    });
}

void MainPresenter::onComboBox1Changed() { onListChanged(FilterKind::Cfir); }
void MainPresenter::onComboBox4Changed() { onListChanged(FilterKind::Pfir); }
void MainPresenter::onComboBox5Changed() { onListChanged(FilterKind::Resampler); }
void MainPresenter::onTblEnbCFIRClick() { onSourceClick(FilterKind::Cfir, true); }
void MainPresenter::onFileEnbCFIRClick() { onSourceClick(FilterKind::Cfir, false); }
void MainPresenter::onTblEnbPFIRClick() { onSourceClick(FilterKind::Pfir, true); }
void MainPresenter::onFileEnbPFIRClick() { onSourceClick(FilterKind::Pfir, false); }
void MainPresenter::onTblEnbRFIRClick() { onSourceClick(FilterKind::Resampler, true); }
void MainPresenter::onFileEnbRFIRClick() { onSourceClick(FilterKind::Resampler, false); }

// The display shows the current channel, which does not change.
void MainPresenter::onButton13Click() { gc::model::applyToAllChannels(session_.model); }

// --- Windows ---------------------------------------------------------------------------------

void MainPresenter::openWindow(Window window) {
    if (bool* flag = session_.openFlag(window)) *flag = true;
    ui_.showWindow(window);
}

void MainPresenter::openStageWindow(FilterKind kind, bool onlyFromFile) {
    if (!onlyFromFile || source(kind) == TapSource::File) openWindow(info(kind).window);
}

void MainPresenter::onEdit1DoubleClick() { openWindow(Window::Cic5); }
void MainPresenter::onComboBox1DoubleClick() { openStageWindow(FilterKind::Cfir, false); }
void MainPresenter::onComboBox4DoubleClick() { openStageWindow(FilterKind::Pfir, false); }
void MainPresenter::onComboBox5DoubleClick() { openStageWindow(FilterKind::Resampler, false); }
void MainPresenter::onPanel9DoubleClick() { openStageWindow(FilterKind::Cfir, true); }
void MainPresenter::onPanel10DoubleClick() { openStageWindow(FilterKind::Pfir, true); }
void MainPresenter::onPanel11DoubleClick() { openStageWindow(FilterKind::Resampler, true); }
void MainPresenter::onButton1Click() { ui_.showWindow(Window::Sync); }
void MainPresenter::onButton2Click() { openWindow(Window::OutBlock); }
void MainPresenter::onButton3Click() { openWindow(Window::InpBlock); }
void MainPresenter::onButton4Click() { openWindow(Window::Freq); }
void MainPresenter::onButton10Click() { openWindow(Window::Filters); }
void MainPresenter::onButton14Click() { ui_.showWindow(Window::Info); }
// Opening the requirement window fits the plot to the channel once, so that its mask is seen.
void MainPresenter::onButtonRequirementClick() {
    const bool wasOpen = session_.isOpen(Window::Requirement);
    openWindow(Window::Requirement);
    if (!wasOpen) plot_.fitToChannel();
}
void MainPresenter::onButtonLevelsClick() { openWindow(Window::Levels); }

}  // namespace gc::app
