#pragma once
// The window "Синтез фильтров": CFIR and PFIR taps (and on request a resampler prototype)
// designed for the channel requirement held by the requirement window, run as a job off the
// window's thread with progress and cancel; the designed channel drawn over the current one
// with the figures of the integer taps; "Сохранить" writes the taps as FILTERS/NAME_*.taps and
// makes them the file source of the current channel, so that the next "Записать" puts them
// into the chip files.
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/ChannelMeasure.h"
#include "app/BackgroundJob.h"
#include "app/MainPresenter.h"
#include "app/MainState.h"
#include "app/RequirementPresenter.h"
#include "app/Session.h"
#include "app/UiPort.h"
#include "appconfig/Workspace.h"
#include "design/ChannelDesign.h"
#include "response/Canvas.h"

namespace gc::app {

inline constexpr std::string_view kDesignCaption = "Синтез фильтров";
// The title with the channel the design is for: "Синтез фильтров: канал 2".
inline constexpr std::string_view kDesignChannelCaption = "Синтез фильтров: канал %1";

// Texts of the status line.
inline constexpr std::string_view kDesignNoRequirement =
    "Требование к каналу не задано: задайте его в окне «Требования к каналу»";
inline constexpr std::string_view kDesignReady = "Нажмите «Рассчитать»";
inline constexpr std::string_view kDesignRunning = "Идёт расчёт…";
inline constexpr std::string_view kDesignCancelled = "Расчёт отменён";
inline constexpr std::string_view kDesignMet = "Рассчитано: требования выполнены";
inline constexpr std::string_view kDesignMissed = "Рассчитано: требования не выполнены";
inline constexpr std::string_view kDesignChanged =
    "Канал изменился после расчёта: рассчитайте заново";
inline constexpr std::string_view kDesignBadName =
    "Имя файлов не задано, содержит «/», «\\» или равно «.», «..»: введите имя без папки";
inline constexpr std::string_view kDesignSaved = "Сохранено и выбрано для канала: ";
inline constexpr std::string_view kDesignNotSaved = "Файлы не записаны";
inline constexpr std::string_view kDesignNoResampler =
    "Прототип ресемплера не рассчитан: ресемплер выключен или его длина меньше числа фаз";
inline constexpr std::string_view kDesignDefaultName = "design";

struct DesignState {
    std::string Caption;           // the window's title, naming the channel
    std::string LabelRequirement;  // the requirement in one line, or why there is none
    // NAME of FILTERS/NAME_cfir.taps ...; by default the configuration's name and the channel's
    // ("rx_ch1"), so that designing another channel never replaces this one's files.
    EditState EditName{"design"};
    CheckState CheckResampler;    // also design the resampler prototype
    CheckState CheckBest;         // the most stop-band attenuation at the required ripple, whatever
                                  // attenuation the requirement asks
    ButtonState ButtonCalculate;  // "Рассчитать"
    ButtonState ButtonCancel{false, true};  // "Отмена", enabled while a design runs
    ButtonState ButtonSave{false, true};    // "Сохранить", enabled with a result
    int ProgressBar{0};                     // percent done
    bool ProgressActive{false};             // the bar counts (a design runs)
    FigureState LabelStatus;                // what is going on, the verdict coloured
    // The figures of the designed channel (integer taps) against the limits, and of the
    // channel as it is now.
    std::string PanelRippleLimit, PanelStopbandLimit, PanelAliasLimit;
    FigureState PanelRipple, PanelBandwidth, PanelStopband, PanelAlias;
    std::string PanelRippleNow, PanelBandwidthNow, PanelStopbandNow, PanelAliasNow;
    std::string MemoShortfall;  // best figures and which limit to relax, when missed
    // Axis texts of the plot: levels of rows 0, 40 .. 240 (dB) and frequencies of columns
    // 0, 64 .. 256 (kHz).
    std::vector<std::string> LevelTexts;
    std::vector<std::string> FrequencyTexts;
};

// A design job as handed to the platform (the design may take seconds).
using DesignJob = BackgroundJob<gc::design::ChannelDesign>;

// What the design window needs of the platform beyond UiPort. The Qt window runs the job on a
// thread of its own and calls `progress` and `finished` back on the window's thread; tests run it
// on the spot.
class DesignPort {
  public:
    virtual ~DesignPort() = default;
    virtual void run(DesignJob job, std::function<void(double)> progress,
                     std::function<void(gc::design::ChannelDesign)> finished) = 0;
    // Existing files about to be replaced (paths as shown): true to replace them.
    [[nodiscard]] virtual bool confirmReplace(const std::vector<std::string>& paths) = 0;
};

// Plot scale: 0 dB on row 0 down to the floor on row 240, in six equal steps; the floor goes
// below the deepest limit of the requirement, -120 dB at least.
inline constexpr std::array<double, 3> kDesignPlotFloorsDb{-120.0, -180.0, -240.0};
[[nodiscard]] double designPlotFloorDb(const std::optional<gc::analysis::Requirement>& req);

class DesignPresenter {
  public:
    DesignPresenter(Session& session, DesignState& state, MainState& mainState, UiPort& ui,
                    MainPresenter& main, RequirementPresenter& requirement,
                    gc::appconfig::Workspace workspace);
    ~DesignPresenter();
    DesignPresenter(const DesignPresenter&) = delete;
    DesignPresenter& operator=(const DesignPresenter&) = delete;

    void setPort(DesignPort* port) { port_ = port; }

    // The window opens: the requirement and the current channel's figures and curve; the file
    // name from the configuration's name when none was typed yet.
    void onShow();
    // The model or the requirement changed while the window is open.
    void refresh();
    // "Рассчитать": a copy of the current chain and requirement goes to the port as a job.
    void onButtonCalculateClick();
    // "Отмена" and closing the window: the running job is told to stop; its result is dropped.
    void onButtonCancelClick();
    void onClose();
    // "Сохранить": the tap files written, read back and chosen as the channel's file source.
    void onButtonSaveClick();

    [[nodiscard]] bool running() const { return running_; }
    [[nodiscard]] const std::optional<gc::design::ChannelDesign>& result() const { return result_; }

    // The plot: the current channel's curve (grey), the designed one (blue) and the
    // requirement's limits (red), in dB below each curve's pass-band peak over 0..fMax.
    void draw(gc::response::Canvas& canvas) const;
    [[nodiscard]] double plotMaxHz() const { return plotMaxHz_; }

  private:
    void onProgress(unsigned job, double fraction);
    void onFinished(unsigned job, gc::design::ChannelDesign design);
    void showFigures();
    void computeCurves();
    // The last result was designed on the current channel as it is now.
    [[nodiscard]] bool resultFitsChannel() const;
    [[nodiscard]] bool sameChannel(const gc::analysis::ChainSpec& a,
                                   const gc::analysis::ChainSpec& b) const;
    void setStatus(std::string_view text, LimitColour colour = LimitColour::Neutral);
    // The file name shown follows the configuration and the channel until the user types one.
    void showDefaultName();
    void showButtons();

    Session& session_;
    DesignState& state_;
    MainState& mainState_;
    UiPort& ui_;
    MainPresenter& main_;
    RequirementPresenter& requirement_;
    gc::appconfig::Workspace workspace_;
    DesignPort* port_{nullptr};
    std::string defaultName_;  // the default name last shown

    bool running_{false};
    unsigned job_{0};  // the job whose result is awaited; older results are dropped
    std::shared_ptr<std::atomic<bool>> cancel_;
    std::optional<gc::analysis::Requirement> designedFor_;
    int designedChannel_{0};
    std::optional<gc::design::ChannelDesign> result_;
    std::optional<gc::analysis::Measurement> current_;
    std::vector<double> currentCurve_;   // dB per column 0..256
    std::vector<double> designedCurve_;  // dB per column 0..256
    double plotMaxHz_{0.0};
    double floorDb_{kDesignPlotFloorsDb[0]};
};

}  // namespace gc::app
