#pragma once
// TRequirementForm, "Требования к каналу": the requirement of the current channel typed in five
// fields, the figures measured against it with where each worst point lies, each limit's verdict
// colour, the verdict and the warning lines. A thin binding of RequirementState: a confirmed
// field (Enter or leaving it) is copied into the state, the presenter's handler runs, and every
// control is set from the state with signals blocked.
//
// While it is open the main window draws the requirement's mask and the alias curve over the
// channel response; closing it clears its open flag and repaints the main plot without them.
#include <QWidget>
#include <functional>

#include "app/RequirementPresenter.h"
#include "app/Session.h"
#include "app/UiPort.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace gc::ui {

class ValuePanel;

class TRequirementForm : public QWidget {
    Q_OBJECT
  public:
    TRequirementForm(gc::app::Session& session, gc::app::RequirementState& state,
                     gc::app::RequirementPresenter& presenter, gc::app::UiPort& ui,
                     QWidget* parent = nullptr);
    ~TRequirementForm() override;

    // The main window's button: the figures from the current model, then the window comes up
    // (or to the front when it is open already), and the main plot gets its overlay.
    void showForm();
    // After a model change: the figures again, and the main plot's overlay follows.
    void refresh();
    // Called after each of the window's handlers (the main window's title follows the
    // requirement).
    void setAfterChange(std::function<void()> handler) { afterChange_ = std::move(handler); }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildControls();
    void connectControls();
    // Copies the five fields into the state, runs the handler, shows the state.
    void run(void (gc::app::RequirementPresenter::*handler)());
    // Every control from the state, with signals blocked.
    void showState();

    gc::app::Session& session_;
    gc::app::RequirementState& state_;
    gc::app::RequirementPresenter& presenter_;
    gc::app::UiPort& ui_;
    bool inHandler_{false};  // a handler's message box must not start another handler
    std::function<void()> afterChange_;

    QLineEdit* editFp_{};
    QLineEdit* editFs_{};
    QLineEdit* editRmax_{};
    QLineEdit* editAs_{};
    QLineEdit* editAa_{};
    ValuePanel* panelOutputRate_{};
    ValuePanel* panelStopbandEdge_{};
    ValuePanel* panelRipple_{};
    ValuePanel* panelRippleAt_{};
    ValuePanel* panelBandwidth_{};
    ValuePanel* panelStopband_{};
    ValuePanel* panelStopbandAt_{};
    ValuePanel* panelAlias_{};
    ValuePanel* panelAliasAt_{};
    ValuePanel* panelAliasOffset_{};
    ValuePanel* labelVerdict_{};
    QLabel* labelError_{};
    QPlainTextEdit* memoWarnings_{};
    QPushButton* buttonDesign_{};
    // The compared configuration ("Сравнить с..."): the names over the current figures and over
    // its own, in a column beside them; hidden while nothing is compared.
    QLabel* labelCurrentName_{};
    QLabel* labelComparisonName_{};
    ValuePanel* panelCmpOutputRate_{};
    ValuePanel* panelCmpStopbandEdge_{};
    ValuePanel* panelCmpRipple_{};
    ValuePanel* panelCmpBandwidth_{};
    ValuePanel* panelCmpStopband_{};
    ValuePanel* panelCmpAlias_{};
};

}  // namespace gc::ui
