#pragma once
// TGForm, the main window: one channel's settings in blocks from left to right (configuration
// and mode, channel with NCO and CIC, CFIR and PFIR, resampler and output parameters) and the
// channel's response plot. A thin binding: on a user event it copies what the user typed,
// picked or ticked into MainState, calls the presenter's handler and then shows MainState in
// every control with signals blocked, so showing a value never runs a handler.
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/ChannelPlotPresenter.h"
#include "app/MainPresenter.h"
#include "app/MainState.h"
#include "response/Canvas.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class QVBoxLayout;

namespace gc::ui {

class PlotBox;
class PlotMenu;
class PlotPanel;
class ValuePanel;
class CompactButton;

class TGForm : public QWidget {
    Q_OBJECT
  public:
    // The file commands, whose actions are set by the application.
    enum class FileCommand {
        ReadConfiguration,   // Button5 "Считать"
        WriteConfiguration,  // Button6 "Записать"
        ReadCfirTaps,        // SpeedButton1
        WriteCfirTaps,       // SpeedButton10
        ReadPfirTaps,        // SpeedButton2
        WritePfirTaps,       // SpeedButton5
        ReadRfirTaps,        // SpeedButton3
        WriteRfirTaps,       // SpeedButton6
    };
    static constexpr int kFileCommandCount = 8;

    TGForm(gc::app::MainState& state, gc::app::MainPresenter& presenter,
           gc::app::ChannelPlotPresenter& plot, QWidget* parent = nullptr);
    ~TGForm() override;

    [[nodiscard]] PlotBox* plotBox() const;

    // What a file command runs; the window shows MainState afterwards.
    void setFileCommand(FileCommand command, std::function<void()> action);
    // Runs when the window closes (the exit: std.trv written back), before it goes.
    void setCloseHandler(std::function<void()> handler);
    // Draws over the channel response in every paint, after it (the requirement's mask).
    void setPlotOverlay(std::function<void(gc::response::Canvas&)> overlay);

    // Every control from MainState, and the plot's texts from the plot presenter, with
    // signals blocked; then the after-change hook.
    void showState();
    // Runs after every event the window handles (the open register windows, the caption).
    void setAfterChange(std::function<void()> hook) { afterChange_ = std::move(hook); }
    // The plot's menu ("Сохранить изображение...", "Сохранить данные...", "Копировать") with
    // the plot's CSV text.
    void installPlotMenu(std::function<std::string()> data);
    [[nodiscard]] PlotMenu* plotMenu() const { return plotMenu_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // Widget factories; every control gets its control name as objectName.
    QLabel* caption(const QString& text);
    QLabel* title(const QString& text);
    QLineEdit* edit(const char* name, int widthChars);
    ValuePanel* panel(const char* name, const QString& sample);
    QComboBox* combo(const char* name, const QStringList& items);
    QCheckBox* check(const char* name, const QString& text);
    QRadioButton* radio(const char* name, const QString& text);
    QPushButton* button(const char* name, const QString& text);
    CompactButton* compact(const char* name, const QString& text);
    QToolButton* speedButton(const char* name, bool write, const QString& tip);
    QWidget* block(QVBoxLayout*& layout);

    QWidget* buildConfigColumn();
    QWidget* buildChannelBlock();
    QWidget* buildCicBlock();
    QWidget* buildCfirBlock();
    QWidget* buildPfirBlock();
    QWidget* buildResamplerBlock();
    QWidget* buildOutputBlock();
    QWidget* buildPlotBlock();
    void connectControls();
    // What each typed field and name panel holds, and its unit.
    void setToolTips();

    // Copies what the controls hold (texts, items, ticks, choices) into MainState.
    void collectInput();
    // The title and source controls of a filter kind's block.
    void buildSourceControls(gc::app::FilterKind kind, QVBoxLayout* v);
    // The gain grid of a filter kind's block, then its hidden stage box.
    void finishFilterBlock(gc::app::FilterKind kind, QVBoxLayout* v, QGridLayout* gains);
    // collectInput, the handler, showState.
    void run(void (gc::app::MainPresenter::*handler)());
    void run(const std::function<void()>& action);
    void runPlot(void (gc::app::ChannelPlotPresenter::*handler)());
    void runPlot(const std::function<void()>& action);
    // The plot's axis texts and read-outs as its presenter last set them.
    void showPlotLabels();
    void runFileCommand(FileCommand command);
    void onChannelBoxClicked(int box);
    void onEditExit(QLineEdit* edit);
    [[nodiscard]] bool isBackground(const QWidget* widget) const;
    // ComboBox1, ComboBox4 or ComboBox5 when `watched` is one of them or its field.
    [[nodiscard]] QComboBox* filterListOf(QObject* watched) const;

    gc::app::MainState& state_;
    gc::app::MainPresenter& presenter_;
    gc::app::ChannelPlotPresenter& plot_;
    bool plotLabelsQueued_{false};
    std::array<std::function<void()>, kFileCommandCount> fileCommands_{};
    std::function<void()> closeHandler_;
    std::function<void(gc::response::Canvas&)> plotOverlay_;
    std::function<void()> afterChange_;
    PlotMenu* plotMenu_{nullptr};
    int nextCaptionNumber_{0};
    bool closing_{false};
    QTimer listClickTimer_;            // a single click on a filter list's field opens it
    QComboBox* clickedList_{nullptr};  // leaving a field while the window closes is no exit

    // Configuration and mode column.
    ValuePanel* panel25_{};
    QPushButton* button5_{};
    QPushButton* button6_{};
    QLineEdit* edit3_{};
    ValuePanel* panel1_{};
    QCheckBox* checkBox9_{};
    QComboBox* comboBox11_{};
    QComboBox* comboBox13_{};
    std::array<QCheckBox*, 4> channelBoxes_{};  // CheckBox3, CheckBox2, CheckBox7, CheckBox8
    // Each control of gc::app::kMainControls with its widget, found by object name.
    std::vector<std::pair<const gc::app::MainControl*, QWidget*>> bindings_;
    QPushButton* button3_{};
    QPushButton* button1_{};
    QPushButton* button2_{};
    QPushButton* button4_{};
    QPushButton* button10_{};
    QPushButton* button14_{};
    // Channel, NCO, CIC.
    QComboBox* comboBox7_{};
    QPushButton* button13_{};
    QComboBox* comboBox12_{};
    QLineEdit* edit6_{};
    QLineEdit* edit7_{};
    QLineEdit* edit1_{};
    std::array<CompactButton*, 8> stepButtons_{};  // +1 -1 +10 -10 +100 -100 +1000 -1000
    QComboBox* comboBox10_{};
    QComboBox* comboBox2_{};
    QComboBox* comboBox3_{};
    ValuePanel* panel2_{};
    QCheckBox* autoScale_{};
    QCheckBox* checkBox1_{};
    // The source controls of each filter kind (gc::app::FilterKind order): its radio pair,
    // library list, tap file name and tap file buttons.
    struct FilterControls {
        QRadioButton* table{};
        QComboBox* list{};
        QRadioButton* file{};
        ValuePanel* name{};
        QToolButton* read{};
        QToolButton* write{};
    };
    std::array<FilterControls, 3> filters_{};
    // CFIR.
    ValuePanel* panel12_{};
    QComboBox* comboBox6_{};
    ValuePanel* panel3_{};
    // PFIR.
    ValuePanel* panel13_{};
    QLineEdit* edit2_{};
    ValuePanel* panel8_{};
    ValuePanel* panel4_{};
    // Resampler.
    ValuePanel* panel6_{};
    QComboBox* comboBox9_{};
    ValuePanel* panel23_{};
    ValuePanel* panel20_{};
    ValuePanel* panel22_{};
    QComboBox* comboBox14_{};
    ValuePanel* panel14_{};
    QLineEdit* edit4_{};
    QLineEdit* edit8_{};
    // Output parameters.
    QLineEdit* edit5_{};
    ValuePanel* panel7_{};
    QPushButton* buttonRequirement_{};
    QPushButton* buttonLevels_{};
    // Plot.
    PlotPanel* panel5_{};
    ValuePanel* panel15_{};
    ValuePanel* panel16_{};
    CompactButton* button27_{};
    CompactButton* button28_{};
    ValuePanel* panel17_{};
    std::array<CompactButton*, 4> stretchX_{};  // Button19..Button22
    CompactButton* buttonFit_{};                // "По каналу": fit to the channel
    ValuePanel* panel18_{};
    std::array<CompactButton*, 4> stretchY_{};  // Button23..Button26
    QPushButton* button11_{};
};

}  // namespace gc::ui
