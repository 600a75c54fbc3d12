#pragma once
// TSimulationForm, "Моделирование": the binding of SimulationPresenter. The run goes on a thread
// of the window's own (the SimulationPort); its progress and result come back through the
// window's event queue; closing the window stops it. The plot draws the output spectrum and the
// channel response from the presenter in every paint event.
#include <QWidget>
#include <array>
#include <functional>

#include "app/SimulationPresenter.h"
#include "ui/BackgroundRun.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace gc::ui {

class PlotBox;
class PlotFrame;

class TSimulationForm final : public QWidget, public gc::app::SimulationPort {
    Q_OBJECT
  public:
    TSimulationForm(gc::app::SimulationState& state, gc::app::SimulationPresenter& presenter,
                    QWidget* parent = nullptr);
    ~TSimulationForm() override;

    // UiPort::showWindow(Window::Simulation): the channel as it is now, then the window comes
    // up (or to the front).
    void showForm();
    // The model changed.
    void refresh();

    // SimulationPort.
    void run(gc::app::SimulationJob job, std::function<void(double)> progress,
             std::function<void(gc::app::SimulationResult)> finished) override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void build();
    void copyInputs();
    template <class Action>
    void act(Action&& action);
    void showState();

    gc::app::SimulationState& state_;
    gc::app::SimulationPresenter& presenter_;

    QLabel* channel_{};
    PlotBox* plot_{};
    PlotFrame* plotFrame_{};
    QComboBox* signal_{};
    QLineEdit* f1_{};
    QLineEdit* f2_{};
    QLineEdit* level_{};
    QLineEdit* length_{};
    QLineEdit* input_{};
    QPushButton* browseInput_{};
    QLineEdit* output_{};
    QPushButton* browseOutput_{};
    QLabel* outputRate_{};
    QLabel* toneLevel_{};
    QLabel* rms_{};
    QLabel* snr_{};
    QLabel* sfdr_{};
    QLabel* signalAt_{};
    QTableWidget* stages_{};
    QPushButton* run_{};
    QPushButton* cancel_{};
    QProgressBar* progress_{};
    QPushButton* saveSpectrum_{};
    QLabel* status_{};

    BackgroundRun worker_;
};

}  // namespace gc::ui
