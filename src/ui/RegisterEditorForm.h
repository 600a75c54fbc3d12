#pragma once
// What the five register block windows share: a stay-on-top, non-modal window whose close runs
// a handler given by the main window (to clear the window's open flag), and the binding that
// lays out a window's controls from its description and shows its state struct in them.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QWidget>
#include <functional>
#include <vector>

#include "app/RegisterEditor.h"
#include "chip/RegisterImage.h"
#include "model/ConfigurationModel.h"

namespace gc::ui {

class RegisterEditorForm : public QWidget {
    Q_OBJECT
  public:
    RegisterEditorForm(const QString& caption, bool staysOnTop, QWidget* parent);

    // Runs when the window closes; the main window clears the window's open flag here.
    void setCloseHandler(std::function<void()> handler) { closeHandler_ = std::move(handler); }

  protected:
    void closeEvent(QCloseEvent* event) override;
    // Shows the window without blocking the others, bringing it up if it is open already.
    void showNonModal();

  private:
    std::function<void()> closeHandler_;
};

// The widgets of one window, made from its description. Every control gets its control name as
// object name; a read-only window's controls are all disabled.
template <class State>
class EditorWidgets {
  public:
    struct Bound {
        const gc::app::EditorControl<State>* control;
        QWidget* widget;
    };

    void build(QWidget* owner, const gc::app::EditorLayout<State>& layout) {
        auto* grid = new QGridLayout(owner);
        grid->setHorizontalSpacing(8);
        grid->setVerticalSpacing(4);
        for (const auto& c : layout.controls) {
            QWidget* w = makeWidget(owner, c);
            grid->addWidget(w, c.row, c.column, c.rowSpan, c.columnSpan);
            if (c.kind == gc::app::ControlKind::Label) continue;
            w->setObjectName(QString::fromStdString(c.name));
            w->setEnabled(layout.editable);
            bound_.push_back({&c, w});
        }
    }

    // Every control from the state, with signals blocked: showing a value runs no handler.
    void show(const State& state) const {
        for (const Bound& b : bound_) {
            const QSignalBlocker blocker(b.widget);
            switch (b.control->kind) {
                case gc::app::ControlKind::CheckBox:
                    static_cast<QCheckBox*>(b.widget)->setChecked(state.*(b.control->checked));
                    break;
                case gc::app::ControlKind::ComboBox:
                    static_cast<QComboBox*>(b.widget)->setCurrentIndex(state.*
                                                                       (b.control->itemIndex));
                    break;
                case gc::app::ControlKind::Edit:
                    static_cast<QLineEdit*>(b.widget)->setText(
                        QString::fromStdString(state.*(b.control->shownText)));
                    break;
                case gc::app::ControlKind::Panel:
                    static_cast<QLabel*>(b.widget)->setText(
                        QString::fromStdString(state.*(b.control->shownText)));
                    break;
                case gc::app::ControlKind::Label:
                    break;
            }
        }
    }

    [[nodiscard]] const std::vector<Bound>& bound() const { return bound_; }

  private:
    static QWidget* makeWidget(QWidget* owner, const gc::app::EditorControl<State>& c) {
        const QString text = QString::fromStdString(c.text);
        switch (c.kind) {
            case gc::app::ControlKind::CheckBox:
                return new QCheckBox(text, owner);
            case gc::app::ControlKind::ComboBox: {
                auto* combo = new QComboBox(owner);
                for (const std::string& item : c.items)
                    combo->addItem(QString::fromStdString(item));
                combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
                return combo;
            }
            case gc::app::ControlKind::Edit: {
                auto* edit = new QLineEdit(owner);
                edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0")) *
                                      12);
                return edit;
            }
            case gc::app::ControlKind::Panel: {
                auto* panel = new QLabel(owner);
                panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
                panel->setAlignment(Qt::AlignCenter);
                panel->setTextFormat(Qt::PlainText);
                panel->setMinimumWidth(
                    panel->fontMetrics().horizontalAdvance(QStringLiteral("00 pins")) + 8);
                return panel;
            }
            case gc::app::ControlKind::Label:
                break;
        }
        auto* label = new QLabel(text, owner);
        label->setTextFormat(Qt::PlainText);
        if (c.heading) {
            QFont font = label->font();
            font.setBold(true);
            label->setFont(font);
        }
        return label;
    }

    std::vector<Bound> bound_;
};

// A read-only register window: filled from the register image and the model when shown and on
// every refresh; nothing is written back when it closes.
template <class State>
class ReadOnlyEditor : public RegisterEditorForm {
  public:
    ReadOnlyEditor(const gc::app::EditorLayout<State>& layout, const gc::chip::RegisterImage& image,
                   const gc::model::ConfigurationModel& model, QWidget* parent)
        : RegisterEditorForm(QString::fromStdString(layout.caption), layout.staysOnTop, parent),
          image_(image),
          model_(model) {
        widgets_.build(this, layout);
    }

    // Fills every control, then shows the window without blocking the others.
    void showWindow() {
        refresh();
        showNonModal();
    }

    // The same filling, for the main window while the window's open flag is set.
    void refresh() {
        state_.fill(image_, model_);
        widgets_.show(state_);
    }

    [[nodiscard]] const State& state() const { return state_; }

  private:
    const gc::chip::RegisterImage& image_;
    const gc::model::ConfigurationModel& model_;
    State state_;
    EditorWidgets<State> widgets_;
};

}  // namespace gc::ui
