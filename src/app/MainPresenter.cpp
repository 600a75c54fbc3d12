#include "app/MainPresenter.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "chip/OutputMode.h"
#include "filters/FilterTables.h"
#include "model/Derived.h"
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

// The CFIR, PFIR and resampler flags of StageEnabled.
constexpr int kCfirStage = 0;
constexpr int kPfirStage = 1;
constexpr int kResamplerStage = 2;

const char* const kRateZero = "Выходная частота не может быть равна нулю";
const char* const kRatioWordZero = "Коэффициент передискретизации не может быть равен нулю";

}  // namespace

MainPresenter::MainPresenter(Session& session, MainState& state, UiPort& ui, ChannelPlotSeam& plot)
    : session_(session), state_(state), ui_(ui), plot_(plot) {}

template <typename Action>
void MainPresenter::guarded(Action&& action) {
    try {
        action();
    } catch (const m::ConversionError& error) {
        ui_.showConversionError(error.what());
    }
}

// --- Sources ---------------------------------------------------------------------------------

TapSource MainPresenter::cfirSource() const {
    return state_.FileEnbCFIR.checked ? TapSource::File : TapSource::Table;
}
TapSource MainPresenter::pfirSource() const {
    return state_.FileEnbPFIR.checked ? TapSource::File : TapSource::Table;
}
TapSource MainPresenter::resamplerSource() const {
    return state_.FileEnbRFIR.checked ? TapSource::File : TapSource::Table;
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

    chip.Clock = m::parseInt(state_.Edit3.text);
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
    chip.Fc[c] = m::clampFrequency(m::parseInt(state_.Edit6.text), chip.Clock);
    chip.InputPort[c] = state_.ComboBox12.index;
    chip.Phase[c] = m::clampPhase(m::parseReal(state_.Edit7.text));
}

// --- recalculate -----------------------------------------------------------------------------

void MainPresenter::recalculate() {
    guarded([&] { doRecalculate(); });
}

void MainPresenter::doRecalculate() {
    auto& model = session_.model;
    auto& work = model.Work;
    auto& chip = model.Chip;
    auto& derived = model.Derived;
    MainState& s = state_;

    // 1.
    RecalculatingGuard recalculating(work.Recalculating);
    const int c = model.currentIndex();
    const auto& ch = model.Channels[c];

    // 2.
    s.ComboBox7.index = c;
    s.Panel25.text = work.ConfigFileName;
    s.Panel1.text = chip.NameOfCFG;
    // 3.
    work.WorkingClock = chip.Clock;
    s.Edit3.text = integerText(chip.Clock);
    // 4.
    work.CurrentDecimation = ch.Decimation;
    s.Edit1.text = integerText(work.CurrentDecimation);
    // 5.
    s.ComboBox10.index = m::shownIndex(ch.Shift, kComboBox10ItemCount);
    // 6.
    doAutoScale();
    // 7.
    s.ComboBox2.index = m::shownIndex(ch.Scale, kComboBox2ItemCount);
    s.ComboBox3.index = m::shownIndex(ch.BigScale, kComboBox3ItemCount);
    s.ComboBox2.enabled = !s.AutoScale.checked;
    s.ComboBox3.enabled = !s.AutoScale.checked;
    // 8.
    derived.CicGain = m::cicGain(work.CurrentDecimation, ch.Shift, ch.Scale, ch.BigScale);
    // 9.
    s.Edit2.text = integerText(ch.FineGain);
    derived.FineFactor = static_cast<float>(ch.FineGain) * (1.0f / 1024.0f);
    s.Panel8.text = m::formatFixed(derived.FineFactor, 5, 3);
    // 10.
    s.Panel2.text = m::formatFixed(derived.CicGain, 6, 4);
    // 11.
    s.Panel9.text = ch.NameOfCFIR;
    s.Panel10.text = ch.NameOfPFIR;
    s.Panel11.text = chip.NameOfRFIR;
    // 12.
    s.CheckBox1.checked = ch.Mix20bit != 0;
    // 13.
    s.ComboBox1.index = m::shownIndex(work.CfirSelection[c], gc::filters::kCfirSetCount);
    s.ComboBox4.index = m::shownIndex(work.PfirSelection[c], gc::filters::kPfirSetCount);
    s.ComboBox6.index = m::shownIndex(ch.CoarseGain, kComboBox6ItemCount);
    // 14.
    derived.CfirGain[c] = m::tapSum(model.CfirTaps[c].data(), m::kCfirTapCount) * (1.0f / 65536.0f);
    derived.PfirGain[c] = m::tapSum(model.PfirTaps[c].data(), m::kPfirTapCount) * (1.0f / 65536.0f);
    const int resamplerTaps = m::clampInt(work.ResamplerTapCount, 0, m::kResamplerTapMax);
    derived.ResamplerGain =
        m::resamplerGain(model.ResamplerTaps.data(), resamplerTaps, work.Ndelay);
    s.Panel12.text = m::formatFixed(derived.CfirGain[c], 5, 3);
    s.Panel13.text = m::formatFixed(derived.PfirGain[c], 5, 3);
    s.Panel6.text = m::formatFixed(derived.ResamplerGain, 5, 3);
    // 15.
    derived.CoarseFactor = m::toSingle(std::pow(2.0, ch.CoarseGain));
    s.Panel3.text =
        m::formatFixed(static_cast<double>(derived.CfirGain[c]) * derived.CoarseFactor, 5, 3);
    s.Panel4.text =
        m::formatFixed(ch.FineGain * static_cast<double>(derived.PfirGain[c]) / 1024.0, 5, 3);
    derived.FinalShiftFactor = m::toSingle(std::pow(2.0, chip.FinalShift));
    s.Panel23.text =
        m::formatFixed(static_cast<double>(derived.ResamplerGain) * derived.FinalShiftFactor, 5, 3);
    // 16.
    s.ComboBox9.index = m::shownIndex(chip.FinalShift, kComboBox9ItemCount);
    s.ComboBox5.index = m::shownIndex(work.RfirSelection, gc::filters::kResamplerSetCount);
    // 17. The stage boxes' click handlers return at once while Recalculating is 1.
    s.CheckBox4.checked = work.StageEnabled[kCfirStage] != 0;
    s.CheckBox5.checked = work.StageEnabled[kPfirStage] != 0;
    s.CheckBox6.checked = work.StageEnabled[kResamplerStage] != 0;
    // 18. The mode as it stands: step 29 may force it to 0 only afterwards.
    derived.OutputRate = m::outputRate(chip.ModeOfDdc, chip.CoefInterpol[0], work.WorkingClock,
                                       work.CurrentDecimation);
    s.Edit5.text = m::formatFixed(derived.OutputRate, 8, 1);
    // 19.
    s.Panel20.colour = work.ResamplerLengthError ? PanelColour::Red : PanelColour::ButtonFace;
    // 20.
    work.MultipliesError = chip.NumMultiplies < 6 || chip.NumMultiplies > 64;
    s.Panel22.colour = work.MultipliesError ? PanelColour::Red : PanelColour::ButtonFace;
    // 21.
    showSourceStates();
    // 22.
    s.Panel20.text = integerText(work.ResamplerTapCount);
    s.Panel22.text = integerText(chip.NumMultiplies);
    // 23.
    s.ComboBox14.index = m::ndelayIndex(work.Ndelay);
    // 24.
    derived.MaxNdelay = m::maxNdelay(chip.NumMultiplies);
    s.Panel14.text = integerText(derived.MaxNdelay);
    // 25.
    derived.TotalGain = m::toSingle(derived.CicGain * derived.CfirGain[c] * derived.CoarseFactor *
                                    derived.PfirGain[c] * derived.ResamplerGain *
                                    derived.FineFactor * derived.FinalShiftFactor);
    s.Panel7.text = m::formatFixed(derived.TotalGain, 7, 3);
    // 26.
    s.Edit6.text = integerText(chip.Fc[c]);
    s.ComboBox12.index =
        m::shownIndex(chip.InputPort[c], static_cast<int>(kComboBox12Items.size()));
    // 27, 28.
    showChannelBoxes();
    // 29. Ticking CheckBox9 from here runs its click handler, which applies the output mode.
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
    // 30.
    for (ButtonState* button : {&s.Button1, &s.Button2, &s.Button3, &s.Button4, &s.Button10})
        button->visible = work.ServiceMode;
    // 31.
    s.Edit7.text = m::formatFixed(chip.Phase[c], 4, 3);
    s.Edit4.text = m::formatFixed(chip.CoefInterpol[0], 9, 7);
    // 32. From the text just written; 33 is the guard's.
    doShowResamplerRatio();
}

void MainPresenter::showSourceStates() {
    struct Road {
        TapSource source;
        ComboState& list;
        PanelState& name;
        ButtonState& read;
        ButtonState& write;
    };
    MainState& s = state_;
    const Road roads[] = {
        {cfirSource(), s.ComboBox1, s.Panel9, s.SpeedButton1, s.SpeedButton10},
        {pfirSource(), s.ComboBox4, s.Panel10, s.SpeedButton2, s.SpeedButton5},
        {resamplerSource(), s.ComboBox5, s.Panel11, s.SpeedButton3, s.SpeedButton6},
    };
    for (const Road& road : roads) {
        const bool fromFile = road.source == TapSource::File;
        road.list.enabled = !fromFile;
        road.name.colour = sourceColour(road.source);
        road.read.enabled = fromFile;
        road.write.enabled = fromFile;
    }
}

void MainPresenter::showChannelBoxes() {
    auto& chip = session_.model.Chip;
    auto& work = session_.model.Work;
    switch (chip.ModeOfDdc) {
        case 0:
            for (int i = 0; i < 4; ++i) {
                state_.channelBox(i).checked = ((chip.MaskChan1x >> i) & 1) != 0;
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

// --- Shared roads ----------------------------------------------------------------------------

void MainPresenter::applyOutputMode() {
    const auto& model = session_.model;
    gc::chip::applyOutputMode(session_.image, model.Chip.CombConfigPlis, model.Chip.ModeOfDdc,
                              model.Chip.AsyncMode, model.Work.ActiveCount);
}

void MainPresenter::applyTapSelections() {
    guarded([&] { doApplyTapSelections(); });
}

void MainPresenter::doApplyTapSelections() {
    gc::filters::ApplyCfirSelection(session_.model, cfirSource());
    gc::filters::ApplyPfirSelection(session_.model, pfirSource());
    gc::filters::ApplyResamplerSelection(session_.model, session_.image, resamplerSource());
}

void MainPresenter::refreshIfOpen(bool open, Window window) {
    if (open) ui_.refreshWindow(window);
}

void MainPresenter::refreshOpenStageWindows() {
    refreshIfOpen(session_.CicWindowOpen, Window::Cic5);
    refreshIfOpen(session_.CfirWindowOpen, Window::Cfir);
    refreshIfOpen(session_.PfirWindowOpen, Window::Pfir);
    refreshIfOpen(session_.ResamplerWindowOpen, Window::Resamp);
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
        plot_.computeCicResponse();
        plot_.refreshChannelPlot();
        applyOutputMode();
        doRecalculate();
    });
}

bool MainPresenter::runSaveChecks() {
    const auto& model = session_.model;
    const std::string cannotWrite = "Файл не может быть записан!";
    if (!m::decimationAllowed(model)) {
        ui_.showError({ErrorWindow::ErrDecim,
                       {"Минимальный коэффициент децимации CIC-фильтра", "в этом режиме   равен",
                        integerText(m::minimumDecimation(model)), cannotWrite}});
        return false;
    }
    if (!m::decimationsEqual(model)) {
        ui_.showError({ErrorWindow::ErrEqualDecim,
                       {"В синхронном режиме вывода", "коэффициенты  децимации каналов",
                        " должны быть одинаковыми!", cannotWrite}});
        return false;
    }
    if (model.Work.ResamplerLengthError || model.Work.MultipliesError) {
        ui_.showError({ErrorWindow::ErrResamp,
                       {"Установки  Resampler-фильтра", "не корректны !", cannotWrite}});
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
        if (rate == 0.0f) throw m::ConversionError(kRateZero);
        const int d = m::decimationForRate(model.Chip.ModeOfDdc, model.Chip.CoefInterpol[0],
                                           model.Work.WorkingClock, rate, model.Work.DecimationMin,
                                           model.Work.DecimationMax);
        state_.Edit1.text = integerText(d);
        fullRefresh();
    });
}

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
    gc::filters::ApplyResamplerSelection(model, session_.image, resamplerSource());
    plot_.refreshChannelPlot();
    refreshIfOpen(session_.ResamplerWindowOpen, Window::Resamp);
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
        if (word == 0) throw m::ConversionError(kRatioWordZero);
        state_.Edit4.text = m::formatGeneral(static_cast<double>(m::kRatioOne) / word);
    });
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

void MainPresenter::applyOutputModeRoad() {
    doRecalculate();
    applyOutputMode();
    doRecalculate();
}

void MainPresenter::onComboBox11Changed() {
    guarded([&] {
        if (session_.model.Work.Recalculating == 1) return;
        session_.model.Chip.ModeOfDdc = state_.ComboBox11.index;
        applyOutputModeRoad();
        refreshIfOpen(session_.FiltersOpen, Window::Filters);
        refreshIfOpen(session_.FreqOpen, Window::Freq);
        refreshIfOpen(session_.OutBlockOpen, Window::OutBlock);
        plot_.refreshChannelPlot();
        refreshOpenStageWindows();
    });
}

void MainPresenter::onComboBox13Changed() {
    guarded([&] {
        session_.model.Chip.AsyncMode = state_.ComboBox13.index;
        applyOutputModeRoad();
        refreshIfOpen(session_.FiltersOpen, Window::Filters);
        refreshIfOpen(session_.FreqOpen, Window::Freq);
        refreshIfOpen(session_.OutBlockOpen, Window::OutBlock);
    });
}

void MainPresenter::checkBox9Click() {
    session_.model.Chip.CombConfigPlis = state_.CheckBox9.checked ? 1 : 0;
    applyOutputModeRoad();
    refreshIfOpen(session_.FiltersOpen, Window::Filters);
    refreshIfOpen(session_.FreqOpen, Window::Freq);
    refreshIfOpen(session_.OutBlockOpen, Window::OutBlock);
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
        applyOutputModeRoad();
        refreshIfOpen(session_.FiltersOpen, Window::Filters);
        refreshIfOpen(session_.FreqOpen, Window::Freq);
        refreshIfOpen(session_.OutBlockOpen, Window::OutBlock);
        refreshIfOpen(session_.InpBlockOpen, Window::InpBlock);
    });
}

void MainPresenter::onComboBox12Changed() {
    guarded([&] {
        if (session_.model.Work.Recalculating == 1) return;
        doCollect();
        doRecalculate();
        refreshIfOpen(session_.InpBlockOpen, Window::InpBlock);
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
        gc::filters::ApplyCfirSelection(model, cfirSource());
        gc::filters::ApplyPfirSelection(model, pfirSource());
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
        refreshIfOpen(session_.ResamplerWindowOpen, Window::Resamp);
        plot_.refreshChannelPlot();
    });
}

void MainPresenter::stageBoxClick(int stage, const CheckState& box) {
    if (session_.model.Work.Recalculating == 1) return;
    session_.model.Work.StageEnabled[static_cast<size_t>(stage)] = box.checked ? 1 : 0;
    doRecalculate();
    plot_.refreshChannelPlot();
}

void MainPresenter::onCheckBox4Click() {
    guarded([&] { stageBoxClick(kCfirStage, state_.CheckBox4); });
}
void MainPresenter::onCheckBox5Click() {
    guarded([&] { stageBoxClick(kPfirStage, state_.CheckBox5); });
}
void MainPresenter::onCheckBox6Click() {
    guarded([&] { stageBoxClick(kResamplerStage, state_.CheckBox6); });
}

// --- Coefficient tables and sources ----------------------------------------------------------
// A list choice redraws before it recalculates; a source choice recalculates first.

void MainPresenter::cfirTableRoad(bool fromList) {
    gc::filters::ApplyCfirSelection(session_.model, cfirSource());
    if (!fromList) doRecalculate();
    plot_.refreshChannelPlot();
    refreshIfOpen(session_.CfirWindowOpen, Window::Cfir);
    if (fromList) doRecalculate();
}

void MainPresenter::pfirTableRoad(bool fromList) {
    gc::filters::ApplyPfirSelection(session_.model, pfirSource());
    if (!fromList) doRecalculate();
    plot_.refreshChannelPlot();
    refreshIfOpen(session_.PfirWindowOpen, Window::Pfir);
    if (fromList) doRecalculate();
}

void MainPresenter::resamplerTableRoad(bool fromList) {
    gc::filters::ApplyResamplerSelection(session_.model, session_.image, resamplerSource());
    if (!fromList) doRecalculate();
    plot_.refreshChannelPlot();
    refreshIfOpen(session_.ResamplerWindowOpen, Window::Resamp);
    if (fromList) doRecalculate();
}

void MainPresenter::onComboBox1Changed() {
    guarded([&] {
        const int index = state_.ComboBox1.index;
        if (index < 0 || index >= gc::filters::kCfirSetCount) return;
        session_.model.Work.CfirSelection[session_.model.currentIndex()] = index;
        cfirTableRoad(true);
    });
}

void MainPresenter::onComboBox4Changed() {
    guarded([&] {
        const int index = state_.ComboBox4.index;
        if (index < 0 || index >= gc::filters::kPfirSetCount) return;
        session_.model.Work.PfirSelection[session_.model.currentIndex()] = index;
        pfirTableRoad(true);
    });
}

void MainPresenter::onComboBox5Changed() {
    guarded([&] {
        const int index = state_.ComboBox5.index;
        if (index < 0 || index >= gc::filters::kResamplerSetCount) return;
        session_.model.Work.RfirSelection = index;
        resamplerTableRoad(true);
    });
}

void MainPresenter::onTblEnbCFIRClick() {
    guarded([&] { cfirTableRoad(false); });
}
void MainPresenter::onFileEnbCFIRClick() {
    guarded([&] { cfirTableRoad(false); });
}
// The table-source buttons of the PFIR and the resampler also repaint the plot directly.
void MainPresenter::onTblEnbPFIRClick() {
    guarded([&] {
        pfirTableRoad(false);
        ui_.repaintChannelPlot();
    });
}
void MainPresenter::onFileEnbPFIRClick() {
    guarded([&] { pfirTableRoad(false); });
}
void MainPresenter::onTblEnbRFIRClick() {
    guarded([&] {
        resamplerTableRoad(false);
        ui_.repaintChannelPlot();
    });
}
void MainPresenter::onFileEnbRFIRClick() {
    guarded([&] { resamplerTableRoad(false); });
}

// The display shows the current channel, which does not change.
void MainPresenter::onButton13Click() { gc::model::applyToAllChannels(session_.model); }

// --- Windows ---------------------------------------------------------------------------------

void MainPresenter::openWindow(bool& flag, Window window) {
    flag = true;
    ui_.showWindow(window);
}

void MainPresenter::onEdit1DoubleClick() { openWindow(session_.CicWindowOpen, Window::Cic5); }
void MainPresenter::onComboBox1DoubleClick() { openWindow(session_.CfirWindowOpen, Window::Cfir); }
void MainPresenter::onComboBox4DoubleClick() { openWindow(session_.PfirWindowOpen, Window::Pfir); }
void MainPresenter::onComboBox5DoubleClick() {
    openWindow(session_.ResamplerWindowOpen, Window::Resamp);
}
void MainPresenter::onPanel9DoubleClick() {
    if (cfirSource() == TapSource::File) openWindow(session_.CfirWindowOpen, Window::Cfir);
}
void MainPresenter::onPanel10DoubleClick() {
    if (pfirSource() == TapSource::File) openWindow(session_.PfirWindowOpen, Window::Pfir);
}
void MainPresenter::onPanel11DoubleClick() {
    if (resamplerSource() == TapSource::File)
        openWindow(session_.ResamplerWindowOpen, Window::Resamp);
}
void MainPresenter::onButton1Click() { ui_.showWindow(Window::Sync); }
void MainPresenter::onButton2Click() { openWindow(session_.OutBlockOpen, Window::OutBlock); }
void MainPresenter::onButton3Click() { openWindow(session_.InpBlockOpen, Window::InpBlock); }
void MainPresenter::onButton4Click() { openWindow(session_.FreqOpen, Window::Freq); }
void MainPresenter::onButton10Click() { openWindow(session_.FiltersOpen, Window::Filters); }
void MainPresenter::onButton14Click() { ui_.showWindow(Window::Info); }

}  // namespace gc::app
