#include "ui/StageForm.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMetaObject>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <cstdlib>

#include "model/Language.h"
#include "ui/PlotBox.h"
#include "ui/PlotMenu.h"
#include "ui/PlotPanel.h"
#include "ui/Widgets.h"
#include "ui/WindowPlacement.h"

namespace gc::ui {
namespace {

using gc::app::StageViewPresenter;
using gc::response::StageKind;
using gc::response::StageTraits;

constexpr const char* kBackgroundProperty = "gcBackground";

QString fromStd(const std::string& s) { return QString::fromStdString(s); }

// The frame's labels: the control names that differ between the windows come from the stage's
// traits; the fixed labels take numbers that none of the four windows gives another label.
PlotPanelNames panelNames(const StageTraits& traits) {
    PlotPanelNames names;
    names.frame = "Panel2";
    names.dbTitle = "Label1";
    names.levels = {"Label2", "Label3", "Label4", "Label5", "Label6", "Label7", "Label8"};
    names.axisTitle = "Label17";
    names.numerators = {"Label9", "Label10", "Label11", "Label12"};
    names.denominators = traits.topLabels;
    names.frequencies = {"Label13", traits.bottomLabels[0], traits.bottomLabels[1],
                         traits.bottomLabels[2], traits.bottomLabels[3]};
    names.mhzTitle = "Label16";
    return names;
}

MouseButton toButton(Qt::MouseButton button) {
    if (button == Qt::RightButton) return MouseButton::Right;
    if (button == Qt::MiddleButton) return MouseButton::Middle;
    return MouseButton::Left;
}

}  // namespace

StageForm::StageForm(StageKind kind, gc::app::Session& session, gc::app::UiPort& ui,
                     QWidget* parent)
    : QWidget(parent), session_(session), presenter_(kind, session.model, ui) {
    const StageTraits& traits = presenter_.traits();
    // A tool window of the main window: above it, hidden while it is minimised, never above
    // other programs or the program's dialogs (all four windows, the CIC one too).
    setWindowFlags(parent != nullptr ? Qt::Tool : Qt::Window);
    setWindowTitle(QString::fromStdString(gc::model::tx(traits.caption)));
    // The class name without its T, as the main window is GForm.
    setObjectName(QString::fromLatin1(traits.className + 1));

    buildControls();
    connectControls();
}

StageForm::~StageForm() = default;

template <class Action>
void StageForm::run(Action&& action) {
    {
        const QScopedValueRollback guard(inPresenter_, true);
        repaintRequested_ = false;
        action();
    }
    showLabels();
    if (repaintRequested_) panel2_->plotBox()->update();
    repaintRequested_ = false;
}

QLabel* StageForm::caption(const char* name, const QString& text) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setProperty(kBackgroundProperty, true);
    return label;
}

void StageForm::buildControls() {
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(6, 6, 6, 6);
    v->setSpacing(4);

    // Cursor read-outs.
    panel3_ = new ValuePanel(QStringLiteral("Panel3"), QStringLiteral("-123.4567"), this);
    panel4_ = new ValuePanel(QStringLiteral("Panel4"), QStringLiteral("-300.00"), this);
    auto* readout = new QHBoxLayout;
    readout->setSpacing(4);
    readout->addWidget(caption("Label18", QStringLiteral("x=")));
    readout->addWidget(panel3_);
    readout->addWidget(caption("Label26", QStringLiteral("MHz")));
    readout->addSpacing(16);
    readout->addWidget(caption("Label30", QStringLiteral("y=")));
    readout->addWidget(panel4_);
    readout->addWidget(caption("Label31", QStringLiteral("dB")));
    readout->addStretch(1);
    v->addLayout(readout);

    panel2_ = new PlotPanel(panelNames(presenter_.traits()), this);
    v->addWidget(panel2_, 1);

    // Alias view and cursor steps.
    auto* cursor = new QHBoxLayout;
    cursor->setSpacing(4);
    if (presenter_.traits().hasAlias) {
        checkBox1_ = new QCheckBox(QStringLiteral("Alias"), this);
        checkBox1_->setObjectName(QStringLiteral("CheckBox1"));
        cursor->addWidget(checkBox1_);
    }
    cursor->addStretch(1);
    button5_ = new CompactButton(QStringLiteral("Button5"), QStringLiteral("<"), this);
    button6_ = new CompactButton(QStringLiteral("Button6"), QStringLiteral(">"), this);
    cursor->addWidget(caption("Label32", tr("Курсор")));
    cursor->addWidget(button5_);
    cursor->addWidget(button6_);
    v->addLayout(cursor);

    // Horizontal stretch.
    auto* zoom = new QHBoxLayout;
    zoom->setSpacing(4);
    panel1_ = new ValuePanel(QStringLiteral("Panel1"), QStringLiteral("512"), this);
    zoom->addWidget(caption("Label33", tr("Растяж. по X")));
    zoom->addWidget(panel1_);
    static constexpr std::array<const char*, 4> kNames{"Button1", "Button2", "Button3", "Button4"};
    static constexpr std::array<const char*, 4> kTexts{"*2", "/2", "max", "=1"};
    for (std::size_t i = 0; i < stretch_.size(); ++i) {
        stretch_[i] =
            new CompactButton(QString::fromLatin1(kNames[i]), QString::fromLatin1(kTexts[i]), this);
        zoom->addWidget(stretch_[i]);
    }
    zoom->addStretch(1);
    v->addLayout(zoom);

    showLabels();
}

void StageForm::connectControls() {
    PlotBox* box = panel2_->plotBox();
    box->setDrawFunction([this](gc::response::Canvas& canvas) {
        presenter_.draw(canvas);
        // Drawing writes the texts around the plot; they are shown once the paint is over, as
        // setting them may move the labels.
        if (labelsQueued_) return;
        labelsQueued_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                labelsQueued_ = false;
                showLabels();
            },
            Qt::QueuedConnection);
    });
    box->setMousePressFunction([this](MouseButton b, int x, int y) {
        run([&] { presenter_.onCICPBoxMouseDown(b, x, y); });
    });
    box->setMouseMoveFunction(
        [this](int x, int y) { run([&] { presenter_.onCICPBoxMouseMove(x, y); }); });
    box->setMouseReleaseFunction([this](MouseButton b, int x, int y) {
        run([&] { presenter_.onCICPBoxMouseUp(b, x, y); });
    });
    panel2_->setMouseReleaseFunction(
        [this](MouseButton b) { run([&] { presenter_.onPanel2MouseUp(b); }); });
    // The wheel stretches as "*2" and "/2" do, the arrow keys move the cursor as "<" and ">".
    box->setWheelFunction([this](int steps) {
        for (int i = 0; i < std::abs(steps); ++i)
            run([&] { steps > 0 ? presenter_.onButton1Click() : presenter_.onButton2Click(); });
    });
    box->setArrowFunction([this](int step) {
        run([&] { step < 0 ? presenter_.onButton5Click() : presenter_.onButton6Click(); });
    });

    using P = StageViewPresenter;
    const std::array<std::pair<QAbstractButton*, void (P::*)()>, 6> clicks{{
        {button5_, &P::onButton5Click},
        {button6_, &P::onButton6Click},
        {stretch_[0], &P::onButton1Click},
        {stretch_[1], &P::onButton2Click},
        {stretch_[2], &P::onButton3Click},
        {stretch_[3], &P::onButton4Click},
    }};
    for (const auto& [widget, handler] : clicks) {
        const auto h = handler;
        connect(widget, &QAbstractButton::clicked, this,
                [this, h] { run([&] { (presenter_.*h)(); }); });
    }
    if (checkBox1_ != nullptr) {
        connect(checkBox1_, &QCheckBox::clicked, this,
                [this](bool checked) { run([&] { presenter_.onCheckBox1Click(checked); }); });
    }
}

void StageForm::installPlotMenu(std::function<std::string()> data) {
    plotMenu_ = new PlotMenu(panel2_, std::move(data), this);
    panel2_->setMenu(plotMenu_);
}

void StageForm::showForm() {
    run([this] { presenter_.refresh(); });
    bringUp(this);
}

void StageForm::refresh() {
    // The presenter's own repaint requests arrive here while it runs: it has computed the texts
    // already, so they are only noted.
    if (inPresenter_) {
        repaintRequested_ = true;
        return;
    }
    if (!isVisible()) return;
    run([this] { presenter_.refresh(); });
    // Without a registered window the presenter's request does not come back; repaint anyway.
    panel2_->plotBox()->update();
}

void StageForm::showLabels() {
    const auto& l = presenter_.labels();
    panel2_->setDenominatorTexts(
        {fromStd(l.top[0]), fromStd(l.top[1]), fromStd(l.top[2]), fromStd(l.top[3])});
    panel2_->setFrequencyTexts(
        {fromStd(l.bottom[0]), fromStd(l.bottom[1]), fromStd(l.bottom[2]), fromStd(l.bottom[3])});
    panel2_->setAxisTitle(fromStd(l.Label17));
    panel2_->setFrequencyUnit(fromStd(l.unit));
    panel1_->setText(fromStd(l.Panel1));
    panel3_->setText(fromStd(l.Panel3));
    panel4_->setText(fromStd(l.Panel4));
    if (checkBox1_ != nullptr) {
        const QSignalBlocker blocker(checkBox1_);
        checkBox1_->setChecked(presenter_.state().Alias != 0);
    }
}

void StageForm::closeEvent(QCloseEvent* event) {
    // The CIC window stays flagged open once opened, and so keeps following the model.
    if (presenter_.traits().closingClearsOpenFlag) {
        if (bool* flag = session_.openFlag(window())) *flag = false;
    }
    event->accept();
}

bool StageForm::isBackground(const QWidget* widget) const {
    return widget == nullptr || widget == this || widget->property(kBackgroundProperty).toBool();
}

void StageForm::mousePressEvent(QMouseEvent* event) { event->accept(); }

void StageForm::mouseReleaseEvent(QMouseEvent* event) {
    // Only a release on the window's own surface or a caption counts; the read-out panels and
    // the buttons are controls of their own.
    if (isBackground(childAt(event->position().toPoint()))) {
        const MouseButton button = toButton(event->button());
        run([&] { presenter_.onFormMouseUp(button); });
    }
    event->accept();
}

}  // namespace gc::ui
