#include "ui/Udesign.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <utility>

#include "ui/FormLabels.h"
#include "ui/PlotBox.h"
#include "ui/PlotFrame.h"
#include "ui/WindowPlacement.h"

namespace gc::ui {

using gc::app::LimitColour;

namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TDesignForm::TDesignForm(gc::app::DesignState& state, gc::app::DesignPresenter& presenter,
                         QWidget* parent)
    : QWidget(parent), state_(state), presenter_(presenter) {
    // A tool window of the main window: above it, hidden while it is minimised.
    setWindowFlags(parent != nullptr ? Qt::Tool : Qt::Window);
    setObjectName(QStringLiteral("DesignForm"));
    setWindowTitle(tr("Синтез фильтров"));
    build();
    presenter_.setPort(this);
}

TDesignForm::~TDesignForm() {
    presenter_.setPort(nullptr);
    worker_.stop();
}

void TDesignForm::build() {
    auto* v = new QVBoxLayout(this);
    requirement_ = namedLabel("LabelRequirement", this);
    requirement_->setWordWrap(true);
    v->addWidget(requirement_);

    auto* middle = new QHBoxLayout;
    plot_ = new PlotBox;
    plot_->setObjectName(QStringLiteral("PaintBoxDesign"));
    plot_->setDrawFunction([this](gc::response::Canvas& canvas) { presenter_.draw(canvas); });
    auto* dbTitle = namedLabel("LabelDb", this);
    dbTitle->setText(tr("дБ"));
    auto* hzTitle = namedLabel("LabelKhz", this, Qt::AlignHCenter);
    hzTitle->setText(tr("Частота, кГц"));
    plotFrame_ = new PlotFrame(
        plot_, dbTitle, hzTitle,
        {QStringLiteral("-120"), QStringLiteral("00000.0"), QSize(360, 320), QSize(540, 460)},
        this);
    auto* plotColumn = new QVBoxLayout;
    plotColumn->addWidget(plotFrame_, 1);
    auto* legend = namedLabel("LabelLegend", this, Qt::AlignHCenter);
    legend->setTextFormat(Qt::RichText);
    legend->setText(
        tr("<span style=\"color:#808080\">━━</span> сейчас&nbsp;&nbsp;&nbsp;"
           "<span style=\"color:#0000ff\">━━</span> расчёт&nbsp;&nbsp;&nbsp;"
           "<span style=\"color:#ff0000\">━━</span> требование"));
    plotColumn->addWidget(legend);
    middle->addLayout(plotColumn, 1);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->addWidget(new QLabel(tr("Требование"), this), 0, 1, Qt::AlignRight);
    grid->addWidget(new QLabel(tr("Сейчас"), this), 0, 2, Qt::AlignRight);
    grid->addWidget(new QLabel(tr("Расчёт"), this), 0, 3, Qt::AlignRight);
    const auto figureRow = [&](int row, const QString& title, QLabel*& limit, const char* limitName,
                               QLabel*& now, const char* nowName, QLabel*& value,
                               const char* valueName) {
        grid->addWidget(new QLabel(title, this), row, 0);
        if (limitName != nullptr) {
            limit = namedLabel(limitName, this, Qt::AlignRight);
            grid->addWidget(limit, row, 1);
        }
        now = namedLabel(nowName, this, Qt::AlignRight);
        value = namedLabel(valueName, this, Qt::AlignRight);
        value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("000000.0")));
        grid->addWidget(now, row, 2);
        grid->addWidget(value, row, 3);
    };
    QLabel* none = nullptr;
    figureRow(1, tr("Неравномерность в полосе, дБ"), rippleLimit_, "PanelRippleLimit", rippleNow_,
              "PanelRippleNow", ripple_, "PanelRipple");
    figureRow(2, tr("Полоса по уровню -3 дБ, Гц"), none, nullptr, bandwidthNow_,
              "PanelBandwidthNow", bandwidth_, "PanelBandwidth");
    figureRow(3, tr("Подавление в полосе заграждения, дБ"), stopbandLimit_, "PanelStopbandLimit",
              stopbandNow_, "PanelStopbandNow", stopband_, "PanelStopband");
    figureRow(4, tr("Подавление наложений, дБ"), aliasLimit_, "PanelAliasLimit", aliasNow_,
              "PanelAliasNow", alias_, "PanelAlias");

    auto* side = new QVBoxLayout;
    side->addLayout(grid);
    shortfall_ = new QPlainTextEdit(this);
    shortfall_->setObjectName(QStringLiteral("MemoShortfall"));
    shortfall_->setReadOnly(true);
    shortfall_->setMinimumWidth(grid->sizeHint().width());
    side->addWidget(shortfall_, 1);
    side->addStretch();  // keeps the figures on top while there is no report
    middle->addLayout(side);
    v->addLayout(middle, 1);

    auto* options = new QHBoxLayout;
    auto* nameTitle = new QLabel(tr("Имя файлов:"), this);
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("EditName"));
    name_->setToolTip(
        tr("Файлы FILTERS/ИМЯ_cfir.taps, FILTERS/ИМЯ_pfir.taps "
           "и FILTERS/ИМЯ_res.taps"));
    nameTitle->setBuddy(name_);
    resampler_ = new QCheckBox(tr("Рассчитать и прототип ресемплера"), this);
    resampler_->setObjectName(QStringLiteral("CheckResampler"));
    options->addWidget(nameTitle);
    options->addWidget(name_, 1);
    options->addSpacing(12);
    options->addWidget(resampler_);
    best_ = new QCheckBox(tr("Наибольшее подавление при заданной неравномерности"), this);
    best_->setObjectName(QStringLiteral("CheckBest"));
    best_->setToolTip(
        tr("Рассчитать наибольшее подавление в полосе заграждения, достижимое при заданной "
           "неравномерности, не сверяясь с требуемым подавлением"));
    options->addSpacing(12);
    options->addWidget(best_);
    v->addLayout(options);

    auto* buttons = new QHBoxLayout;
    calculate_ = new QPushButton(tr("Рассчитать"), this);
    calculate_->setObjectName(QStringLiteral("ButtonCalculate"));
    cancel_ = new QPushButton(tr("Отмена"), this);
    cancel_->setObjectName(QStringLiteral("ButtonCancel"));
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("ProgressBar"));
    progress_->setRange(0, 100);
    save_ = new QPushButton(tr("Сохранить"), this);
    save_->setObjectName(QStringLiteral("ButtonSave"));
    buttons->addWidget(calculate_);
    buttons->addWidget(cancel_);
    buttons->addWidget(progress_, 1);
    buttons->addWidget(save_);
    v->addLayout(buttons);

    status_ = namedLabel("LabelStatus", this);
    status_->setWordWrap(true);
    v->addWidget(status_);

    const auto copyInputs = [this] {
        state_.EditName.text = name_->text().toStdString();
        state_.CheckResampler.checked = resampler_->isChecked();
        state_.CheckBest.checked = best_->isChecked();
    };
    connect(calculate_, &QPushButton::clicked, this, [this, copyInputs] {
        copyInputs();
        act([this] { presenter_.onButtonCalculateClick(); });
    });
    connect(cancel_, &QPushButton::clicked, this,
            [this] { act([this] { presenter_.onButtonCancelClick(); }); });
    connect(save_, &QPushButton::clicked, this, [this, copyInputs] {
        copyInputs();
        act([this] { presenter_.onButtonSaveClick(); });
        if (mainStateChanged_) mainStateChanged_();
    });
    connect(name_, &QLineEdit::editingFinished, this, copyInputs);
    connect(resampler_, &QCheckBox::toggled, this, copyInputs);
}

template <class Action>
void TDesignForm::act(Action&& action) {
    std::forward<Action>(action)();
    showState();
}

void TDesignForm::showState() {
    if (!state_.Caption.empty()) setWindowTitle(qs(state_.Caption));
    requirement_->setText(qs(state_.LabelRequirement));
    plotFrame_->setAxisTexts(state_.LevelTexts, state_.FrequencyTexts);
    const auto figure = [](QLabel* label, const gc::app::FigureState& f) {
        // The verdict's mark beside the figure: not told by colour alone.
        const std::string mark(gc::app::limitMark(f.colour));
        label->setText(qs(f.text.empty() || mark.empty() ? f.text : f.text + " " + mark));
        setLimitColour(label, f.colour);
    };
    figure(ripple_, state_.PanelRipple);
    figure(bandwidth_, state_.PanelBandwidth);
    figure(stopband_, state_.PanelStopband);
    figure(alias_, state_.PanelAlias);
    rippleLimit_->setText(qs(state_.PanelRippleLimit));
    stopbandLimit_->setText(qs(state_.PanelStopbandLimit));
    aliasLimit_->setText(qs(state_.PanelAliasLimit));
    rippleNow_->setText(qs(state_.PanelRippleNow));
    bandwidthNow_->setText(qs(state_.PanelBandwidthNow));
    stopbandNow_->setText(qs(state_.PanelStopbandNow));
    aliasNow_->setText(qs(state_.PanelAliasNow));
    {
        const QSignalBlocker a(name_);
        const QSignalBlocker b(resampler_);
        if (name_->text().toStdString() != state_.EditName.text)
            name_->setText(qs(state_.EditName.text));
        resampler_->setChecked(state_.CheckResampler.checked);
        resampler_->setEnabled(state_.CheckResampler.enabled);
        best_->setChecked(state_.CheckBest.checked);
        best_->setEnabled(state_.CheckBest.enabled);
    }
    calculate_->setEnabled(state_.ButtonCalculate.enabled);
    cancel_->setEnabled(state_.ButtonCancel.enabled);
    save_->setEnabled(state_.ButtonSave.enabled);
    progress_->setValue(state_.ProgressBar);
    // The bar keeps its place, so the buttons do not move when a design starts or ends.
    progress_->setEnabled(state_.ProgressActive);
    status_->setText(qs(state_.LabelStatus.text));
    setLimitColour(status_, state_.LabelStatus.colour);
    shortfall_->setPlainText(qs(state_.MemoShortfall));
    shortfall_->setVisible(!state_.MemoShortfall.empty());
    plot_->update();
}

void TDesignForm::showForm() {
    act([this] { presenter_.onShow(); });
    bringUp(this);
}

void TDesignForm::refresh() {
    if (!isVisible()) return;
    act([this] { presenter_.refresh(); });
}

void TDesignForm::run(gc::app::DesignJob job, std::function<void(double)> progress,
                      std::function<void(gc::design::ChannelDesign)> finished) {
    worker_.start<gc::design::ChannelDesign>(
        this, std::move(job), [this](const std::function<void()>& call) { act(call); },
        std::move(progress), std::move(finished));
}

bool TDesignForm::confirmReplace(const std::vector<std::string>& paths) {
    QStringList names;
    for (const auto& p : paths) names << qs(p);
    return QMessageBox::question(
               this, tr("Синтез фильтров"),
               tr("Файлы уже существуют:\n%1\n\nЗаменить их?").arg(names.join(QLatin1Char('\n'))),
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

void TDesignForm::closeEvent(QCloseEvent* event) {
    act([this] { presenter_.onClose(); });
    event->accept();
}

void TDesignForm::changeEvent(QEvent* event) {
    // Back in the window after working elsewhere: the current channel may have changed.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !presenter_.running())
        act([this] { presenter_.refresh(); });
    QWidget::changeEvent(event);
}

}  // namespace gc::ui
