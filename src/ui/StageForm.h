#pragma once
// What the four stage response windows (TCIC5Form, TCFIRForm, TPFIRForm, TResampForm) share: the
// plot of one stage in the lowered frame Panel2 with its axis labels, the cursor read-outs above
// it and the alias, cursor and stretch controls below, bound to a StageViewPresenter.
//
// The window keeps no picture: its paint box draws from the presenter in every paint event, and a
// model change (UiPort::refreshWindow from the main window) recomputes the texts and asks for a
// repaint. The plot state (stretch, cursor, alias) lives in the presenter, so it survives hiding
// and showing.
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "app/Session.h"
#include "app/StageViewPresenter.h"
#include "app/UiPort.h"
#include "response/StageView.h"

class QCheckBox;
class QLabel;

namespace gc::ui {

class CompactButton;
class PlotMenu;
class PlotPanel;
class ValuePanel;

class StageForm : public QWidget {
    Q_OBJECT
  public:
    // `session` provides the model and the window's open flag; `ui` receives the presenter's
    // repaint requests, which come back to this window through refresh() once it is registered.
    StageForm(gc::response::StageKind kind, gc::app::Session& session, gc::app::UiPort& ui,
              QWidget* parent = nullptr);
    ~StageForm() override;

    [[nodiscard]] gc::response::StageKind kind() const { return presenter_.kind(); }
    [[nodiscard]] gc::app::Window window() const { return presenter_.window(); }

    // The main window's double-click: the texts from the current model, then the window comes up
    // (or to the front when it is open already).
    void showForm();
    // After a model change: recompute the texts and repaint. A hidden window is left alone; it
    // is brought up to date when it is shown again.
    void refresh();
    // The plot's menu ("Сохранить изображение...", "Сохранить данные...", "Копировать"); the
    // data are the CSV text `data` gives.
    void installPlotMenu(std::function<std::string()> data);
    [[nodiscard]] PlotMenu* plotMenu() const { return plotMenu_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QLabel* caption(const char* name, const QString& text);
    void buildControls();
    void connectControls();
    // Runs a presenter call, then shows the presenter's texts and repaints the plot if the call
    // asked for it.
    template <class Action>
    void run(Action&& action);
    // The presenter's texts and the alias tick in the controls, with signals blocked.
    void showLabels();
    [[nodiscard]] bool isBackground(const QWidget* widget) const;

    gc::app::Session& session_;
    gc::app::StageViewPresenter presenter_;
    bool inPresenter_{false};       // a presenter call is running (its repaint requests wait)
    bool repaintRequested_{false};  // ... and one of them asked for a repaint
    bool labelsQueued_{false};      // texts written by a paint are shown once the paint is over

    ValuePanel* panel3_{};  // cursor frequency, MHz
    ValuePanel* panel4_{};  // cursor level, dB
    PlotPanel* panel2_{};
    PlotMenu* plotMenu_{};
    QCheckBox* checkBox1_{};  // "Alias"; none in the resampler window
    CompactButton* button5_{};
    CompactButton* button6_{};
    ValuePanel* panel1_{};                     // stretch
    std::array<CompactButton*, 4> stretch_{};  // Button1..Button4: "*2", "/2", "max", "=1"
};

}  // namespace gc::ui
