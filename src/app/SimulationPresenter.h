#pragma once
// The window "Моделирование": a signal (a tone, two tones, noise, a sweep, or a recording) run
// through the fixed-point model of the current channel, set up from the program file the
// configuration would write; the run goes off the window's thread with progress and cancel.
// Shown: the output spectrum (averaged, over the output's own frequencies) with the channel's
// response overlaid, the output level, SNR and SFDR, and every stage's overflows and peak.
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/BackgroundJob.h"
#include "app/MainState.h"
#include "app/RequirementPresenter.h"
#include "app/Session.h"
#include "app/SimulationJob.h"
#include "app/UiPort.h"
#include "appconfig/Workspace.h"
#include "response/Canvas.h"

namespace gc::app {

inline constexpr std::string_view kSimulationCaption = "Моделирование";

// ComboSignal's items.
inline constexpr std::array<std::string_view, 5> kSimulationSignalItems{
    "Тон", "Два тона", "Шум", "Качание частоты", "Запись из файла"};
inline constexpr int kSignalRecording = 4;

// Texts of the status line.
inline constexpr std::string_view kSimulationReady = "Выберите сигнал и нажмите «Запустить»";
inline constexpr std::string_view kSimulationRunning = "Идёт моделирование…";
inline constexpr std::string_view kSimulationCancelled =
    "Моделирование остановлено, файл не записан";
inline constexpr std::string_view kSimulationDone = "Готово";
inline constexpr std::string_view kSimulationWritten = "Готово, выход записан: %1";
inline constexpr std::string_view kSimulationChanged =
    "Канал изменился после моделирования: запустите заново";
inline constexpr std::string_view kSimulationNoRecording = "Не выбран файл записи";
inline constexpr std::string_view kSimulationBadLength =
    "Длина — целое число отсчётов от 1 до 60000000000";
inline constexpr std::string_view kSimulationBadLevel = "Уровень не может быть выше 0 дБFS";
inline constexpr std::string_view kSimulationSpectrumSaved = "Спектр записан: %1";
inline constexpr std::string_view kSimulationSpectrumNotSaved = "Спектр не записан: %1: %2";

struct SimulationField {
    std::string text;
    bool enabled{true};
};

// One row of the stage table.
struct SimulationStageRow {
    std::string stage;
    std::string overflows;
    std::string peakDbfs;
    bool overflowed{false};  // shown red
};

struct SimulationState {
    std::string LabelChannel;               // the channel, its rates and NCO frequency
    ComboState ComboSignal;                 // kSimulationSignalItems
    SimulationField EditF1;                 // tone / first tone / sweep start, Hz
    SimulationField EditF2;                 // second tone / sweep end, Hz
    SimulationField EditLevel{"-6"};        // dBFS
    SimulationField EditLength{"1000000"};  // samples
    SimulationField EditInput{"", false};   // the recording read (NAME.sigmf-meta or NAME.wav)
    ButtonState ButtonBrowseInput{false, true};
    SimulationField EditOutput;  // the output recording, empty: none written
    ButtonState ButtonBrowseOutput;
    ButtonState ButtonRun;
    ButtonState ButtonCancel{false, true};
    ButtonState ButtonSaveSpectrum{false, true};
    int ProgressBar{0};
    bool ProgressActive{false};
    FigureState LabelStatus;
    std::string PanelOutputRate;  // Hz
    std::string PanelLevel;       // the tones' level, dBFS
    std::string PanelRms;         // the whole output, dBFS
    std::string PanelSnr;         // dB
    std::string PanelSfdr;        // dBc
    std::string PanelSignalAt;    // the strongest tone's offset, Hz
    std::vector<SimulationStageRow> TableStages;
    // Axis texts of the plot: levels of rows 0, 40 .. 240 (dBFS) and output offsets of columns
    // 0, 64 .. 256 (kHz).
    std::vector<std::string> LevelTexts;
    std::vector<std::string> FrequencyTexts;
};

// The plot's scale: 0 dBFS on row 0 down to this on row 240.
inline constexpr double kSimulationPlotFloorDb = -180.0;

// What a run hands back to the window: the outcome, or why there is none (one line).
struct SimulationResult {
    std::optional<SimulationOutcome> outcome;
    std::string error;
};

// A run as handed to the platform.
using SimulationJob = BackgroundJob<SimulationResult>;

// The Qt window runs the job on a thread of its own and calls `progress` and `finished` back
// on the window's thread; tests run it on the spot.
class SimulationPort {
  public:
    virtual ~SimulationPort() = default;
    virtual void run(SimulationJob job, std::function<void(double)> progress,
                     std::function<void(SimulationResult)> finished) = 0;
};

class SimulationPresenter {
  public:
    SimulationPresenter(Session& session, SimulationState& state, UiPort& ui,
                        gc::appconfig::Workspace workspace);
    ~SimulationPresenter();
    SimulationPresenter(const SimulationPresenter&) = delete;
    SimulationPresenter& operator=(const SimulationPresenter&) = delete;

    void setPort(SimulationPort* port) { port_ = port; }

    // The window opens: the channel line, and on the first opening frequencies that fall into
    // the channel's band.
    void onShow();
    // The model changed while the window is open.
    void refresh();
    // A signal kind chosen: its fields enabled, its frequencies suggested from the channel.
    void onComboSignalChanged();
    // "Запустить": the fields read, the program text made, the job handed to the port.
    void onButtonRunClick();
    // "Остановить" and closing the window: the running job stops, nothing is written.
    void onButtonCancelClick();
    void onClose();
    // "Обзор..." beside the recording and beside the output.
    void onButtonBrowseInputClick();
    void onButtonBrowseOutputClick();
    // "Спектр в CSV...": the last spectrum written as CSV.
    void onButtonSaveSpectrumClick();

    [[nodiscard]] bool running() const { return running_; }
    [[nodiscard]] const std::optional<SimulationOutcome>& result() const { return result_; }

    // The plot: the output spectrum (blue) over -Fo/2..Fo/2 and the channel response |H(f)|
    // relative to its peak (red), 0 dB on the top row.
    void draw(gc::response::Canvas& canvas) const;

  private:
    void onProgress(unsigned job, double fraction);
    void onFinished(unsigned job, SimulationResult result);
    void enableFields();
    void suggestFrequencies();
    void showChannel();
    void showResult();
    void showButtons();
    void setStatus(std::string text, LimitColour colour = LimitColour::Neutral);
    [[nodiscard]] std::string programText() const;

    Session& session_;
    SimulationState& state_;
    UiPort& ui_;
    gc::appconfig::Workspace workspace_;
    SimulationPort* port_{nullptr};

    bool shown_{false};
    bool running_{false};
    unsigned job_{0};
    std::shared_ptr<std::atomic<bool>> cancel_;
    std::optional<SimulationOutcome> result_;
    std::string resultProgram_;       // the program text the result was run with
    std::vector<double> responseDb_;  // per column 0..256, relative to the peak
    double plotRateHz_{0.0};          // Fo of the plotted result
};

}  // namespace gc::app
