#pragma once
// The main window's logic without the window: collect, recalculate and one method per control
// event. Reads what the user typed, picked or ticked from MainState and writes back everything
// the controls show. Every public method is an entry point: a typed text that is not a number
// is reported through UiPort::showConversionError and ends the action there.
#include <array>

#include "app/ChannelPlotSeam.h"
#include "app/FilterKinds.h"
#include "app/MainState.h"
#include "app/Session.h"
#include "app/UiPort.h"
#include "filters/TapSelection.h"

namespace gc::app {

class MainPresenter {
  public:
    MainPresenter(Session& session, MainState& state, UiPort& ui, ChannelPlotSeam& plot);

    // --- Steps shared with the other pieces of the program ---------------------------------
    // Controls into the model (nothing while Recalculating is 1).
    void collect();
    // Model into derived values and controls, step by step (the show... steps below).
    void recalculate();
    // Scale and BigScale of the current channel when AutoScale is ticked.
    void autoScale();
    // Edit8 from the text in Edit4.
    void showResamplerRatio();
    // The output block of the register image from CombConfigPlis, ModeOfDdc, AsyncMode and
    // ActiveCount.
    void applyOutputMode();
    // CFIR, PFIR and resampler taps of the current channel from the chosen sources.
    void applyTapSelections();
    // Redraws each open stage response window: CIC5, CFIR, PFIR, resampler. (The requirement
    // window follows every recalculation instead: its figures and warnings read the gains and
    // the NCO as well as the responses.)
    void refreshOpenStageWindows();
    // Refills each flagged-open register window (input block, resampler, output block, filter
    // control) from the register image and the model as they stand. The synchronisation window
    // has no flag; the window program refills it while it is visible.
    void refreshOpenEditors();
    // Start-up without files: the taps from the defaults, the responses, the output block and
    // the first recalculation. ConfigFileName is left as the model has it.
    void startWithDefaults();
    // The save-time checks of "Записать": decimation minimum, equal decimations, resampler
    // settings. Shows the first failing report and returns false; true when all pass.
    [[nodiscard]] bool runSaveChecks();

    // Tap source of each filter kind, from its radio button pair.
    [[nodiscard]] gc::filters::TapSource source(FilterKind kind) const;
    [[nodiscard]] gc::filters::TapSource cfirSource() const;
    [[nodiscard]] gc::filters::TapSource pfirSource() const;
    [[nodiscard]] gc::filters::TapSource resamplerSource() const;

    // --- Decimation, rate, clock, gains, interpolation ---------------------------------------
    void onEdit1Enter();
    void onEdit1Exit();
    void onButton8Click();   // "+1"
    void onButton9Click();   // "-1"
    void onButton15Click();  // "+10"
    void onButton16Click();  // "-10"
    void onButton17Click();  // "+100"
    void onButton18Click();  // "-100"
    void onButton7Click();   // "+1000"
    void onButton12Click();  // "-1000"
    void onEdit5Enter();
    // Leaving Edit5 without Enter puts back the output rate in effect.
    void onEdit5Exit();
    void onEdit3Enter();
    void onEdit3Exit();
    void onEdit4Enter();
    void onEdit4Exit();
    void onEdit8Enter();
    // Leaving Edit8 without Enter puts back the ratio word of the interpolation in effect.
    void onEdit8Exit();
    void onEdit2Enter();
    void onEdit2Exit();
    // Shared handler of ComboBox10, ComboBox2, ComboBox3, ComboBox6 and ComboBox9.
    void onShiftGainComboChanged();
    void onAutoScaleClick();
    // "20 бит": Mix20bit of the current channel from the tick, then recalculate.
    void onCheckBox1Click();

    // --- NCO ----------------------------------------------------------------------------------
    void onEdit6Enter();
    void onEdit6Exit();
    void onEdit7Enter();
    void onEdit7Exit();

    // --- Output mode, channels, stages -------------------------------------------------------
    void onComboBox11Changed();  // output mode
    void onComboBox13Changed();  // synchronous / asynchronous
    void onCheckBox9Click();     // combined firmware
    // Shared handler of the enabled-channel boxes; box 0..3 (CheckBox3, CheckBox2, CheckBox7,
    // CheckBox8) is the one clicked, the mask is stored from all four.
    void onChannelBoxClick(int box);
    void onComboBox12Changed();  // ADC input of the channel
    void onComboBox7Changed();   // channel
    void onComboBox14Changed();  // NDELAY
    void onCheckBox4Click();     // CFIR in the channel plot
    void onCheckBox5Click();     // PFIR in the channel plot
    void onCheckBox6Click();     // resampler in the channel plot

    // --- Coefficient tables and sources ------------------------------------------------------
    void onComboBox1Changed();  // CFIR table
    void onComboBox4Changed();  // PFIR table
    void onComboBox5Changed();  // resampler table
    void onTblEnbCFIRClick();
    void onFileEnbCFIRClick();
    void onTblEnbPFIRClick();
    void onFileEnbPFIRClick();
    void onTblEnbRFIRClick();
    void onFileEnbRFIRClick();
    void onButton13Click();  // "Применить для всех каналов"
    // The same events for any filter kind: its list (ComboBox1, ComboBox4, ComboBox5), its
    // radio pair (the table button when `tableRadio`) and a double-click on its list or, with
    // `onlyFromFile`, on its name panel (Panel9, Panel10, Panel11).
    void onListChanged(FilterKind kind);
    void onSourceClick(FilterKind kind, bool tableRadio);
    void openStageWindow(FilterKind kind, bool onlyFromFile);
    // Its box in the channel plot (CheckBox4, CheckBox5, CheckBox6).
    void onStageBoxClick(FilterKind kind);

    // --- Windows -------------------------------------------------------------------------------
    void onEdit1DoubleClick();      // CIC5 response window
    void onComboBox1DoubleClick();  // CFIR response window
    void onComboBox4DoubleClick();  // PFIR response window
    void onComboBox5DoubleClick();  // resampler response window
    void onPanel9DoubleClick();     // CFIR window, with the file source chosen
    void onPanel10DoubleClick();    // PFIR window, with the file source chosen
    void onPanel11DoubleClick();    // resampler window, with the file source chosen
    void onButton1Click();          // "Синхронизация"
    void onButton2Click();          // "Выходной блок"
    void onButton3Click();          // "Входной блок"
    void onButton4Click();          // "Ресемплер"
    void onButton10Click();         // "Фильтры"
    void onButton14Click();         // "Справка"
    // "Требования...": the channel requirement window.
    void onButtonRequirementClick();
    // "Уровни...": the level plan window.
    void onButtonLevelsClick();

  private:
    template <typename Action>
    void guarded(Action&& action);

    // The bodies of the entry points; they let ConversionError through.
    void doCollect();
    void doRecalculate();
    void doAutoScale();
    void doShowResamplerRatio();
    void doApplyTapSelections();
    void fullRefresh();
    void confirmDecimation();
    void stepDecimation(int step);
    void confirmInterpolation();
    void confirmFineGain();
    void reapplyOutputMode();  // recalculate, applyOutputMode, recalculate, refresh
    void checkBox9Click();
    void applySelection(FilterKind kind);
    void putTapsInUse(FilterKind kind, bool fromList);
    // The steps of recalculate, in the order it runs them.
    void showChannelAndFileNames();
    void showClockAndDecimation();
    void showShiftAndScales();
    void showCicAndFineGains();
    void showTapNamesAndMixer();
    void showListChoices();
    void showStageGains();
    void showResamplerChoices();
    void showStageBoxes();
    void showOutputRate();
    void showResamplerErrors();
    void showSourceStates();
    void showResamplerSettings();
    void showTotalGain();
    void showNco();
    void showChannelBoxes();
    void showOutputMode();
    void showServiceButtons();
    void showPhaseAndInterpolation();
    void refreshIfOpen(Window window);
    void openWindow(Window window);
    void showTypedValuesInEffect();
    [[nodiscard]] int wantedNcoHz(int c) const;

    Session& session_;
    MainState& state_;
    UiPort& ui_;
    ChannelPlotSeam& plot_;
    // Per channel, the NCO frequency last asked for, which a lower clock may have clamped.
    std::array<int, 4> ncoWantedHz_{};
};

}  // namespace gc::app
