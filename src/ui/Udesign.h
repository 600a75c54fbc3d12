#pragma once
// TDesignForm, "Синтез фильтров": the binding of DesignPresenter. The design runs on a thread of
// the window's own (the DesignPort), its progress and result come back through the window's
// event queue; closing the window cancels it. The plot draws the designed channel over the
// current one from the presenter in every paint event.
#include <QWidget>
#include <array>
#include <functional>

#include "app/DesignPresenter.h"
#include "ui/BackgroundRun.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace gc::ui {

class PlotBox;
class PlotFrame;

class TDesignForm final : public QWidget, public gc::app::DesignPort {
    Q_OBJECT
  public:
    TDesignForm(gc::app::DesignState& state, gc::app::DesignPresenter& presenter,
                QWidget* parent = nullptr);
    ~TDesignForm() override;

    // UiPort::showWindow(Window::Design): the requirement and figures as they are now, then the
    // window comes up (or to the front).
    void showForm();
    // The model or the requirement changed.
    void refresh();

    // Runs after "Сохранить" changed the main window's state (its file sources and names).
    void setMainStateChanged(std::function<void()> handler) {
        mainStateChanged_ = std::move(handler);
    }

    // DesignPort.
    void run(gc::app::DesignJob job, std::function<void(double)> progress,
             std::function<void(gc::design::ChannelDesign)> finished) override;
    [[nodiscard]] bool confirmReplace(const std::vector<std::string>& paths) override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void build();
    // Runs a presenter call, then shows its state.
    template <class Action>
    void act(Action&& action);
    void showState();

    gc::app::DesignState& state_;
    gc::app::DesignPresenter& presenter_;

    QLabel* requirement_{};
    PlotBox* plot_{};
    PlotFrame* plotFrame_{};
    QLabel* ripple_{};
    QLabel* bandwidth_{};
    QLabel* stopband_{};
    QLabel* alias_{};
    QLabel* rippleLimit_{};
    QLabel* stopbandLimit_{};
    QLabel* aliasLimit_{};
    QLabel* rippleNow_{};
    QLabel* bandwidthNow_{};
    QLabel* stopbandNow_{};
    QLabel* aliasNow_{};
    QLineEdit* name_{};
    QCheckBox* resampler_{};
    QCheckBox* best_{};
    QPushButton* calculate_{};
    QPushButton* cancel_{};
    QPushButton* save_{};
    QProgressBar* progress_{};
    QLabel* status_{};
    QPlainTextEdit* shortfall_{};

    std::function<void()> mainStateChanged_;
    BackgroundRun worker_;
};

}  // namespace gc::ui
