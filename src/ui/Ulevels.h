#pragma once
// TLevelsForm, "Уровни": the level plan of the current channel for an input typed as a level in
// dBFS (a tone at a frequency, or noise over a band around the NCO). A thin binding of
// LevelsState: a confirmed field or a new kind is copied into the state, the presenter's
// handler runs, and every control is set from the state with signals blocked. It follows every
// recalculation of the main window while it is open.
#include <QWidget>

#include "app/LevelsPresenter.h"
#include "app/Session.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTableWidget;

namespace gc::ui {

class TLevelsForm : public QWidget {
    Q_OBJECT
  public:
    TLevelsForm(gc::app::Session& session, gc::app::LevelsState& state,
                gc::app::LevelsPresenter& presenter, QWidget* parent = nullptr);
    ~TLevelsForm() override;

    // The main window's button: the plan for the model as it stands, then the window comes up.
    void showForm();
    // After a model change.
    void refresh();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildControls();
    void connectControls();
    void run(void (gc::app::LevelsPresenter::*handler)());
    void showState();

    gc::app::Session& session_;
    gc::app::LevelsState& state_;
    gc::app::LevelsPresenter& presenter_;
    bool inHandler_{false};

    QComboBox* comboKind_{};
    QLineEdit* editLevel_{};
    QLineEdit* editFrequency_{};
    QLabel* labelChannel_{};
    QTableWidget* tableLevels_{};
    QLabel* labelFirstClip_{};
    QLabel* labelOutput_{};
    QPlainTextEdit* memoGain_{};
    QLabel* labelError_{};
};

}  // namespace gc::ui
