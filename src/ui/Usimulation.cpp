#include "ui/Usimulation.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
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

TSimulationForm::TSimulationForm(gc::app::SimulationState& state,
                                 gc::app::SimulationPresenter& presenter, QWidget* parent)
    : QWidget(parent), state_(state), presenter_(presenter) {
    // A tool window of the main window: above it, hidden while it is minimised.
    setWindowFlags(parent != nullptr ? Qt::Tool : Qt::Window);
    setObjectName(QStringLiteral("SimulationForm"));
    setWindowTitle(tr("Моделирование"));
    build();
    presenter_.setPort(this);
}

TSimulationForm::~TSimulationForm() {
    presenter_.setPort(nullptr);
    worker_.stop();
}

void TSimulationForm::build() {
    auto* v = new QVBoxLayout(this);
    channel_ = namedLabel("LabelChannel", this);
    v->addWidget(channel_);

    auto* middle = new QHBoxLayout;
    plot_ = new PlotBox;
    plot_->setObjectName(QStringLiteral("PaintBoxSpectrum"));
    plot_->setDrawFunction([this](gc::response::Canvas& canvas) { presenter_.draw(canvas); });
    auto* dbTitle = namedLabel("LabelDbfs", this);
    dbTitle->setText(tr("дБFS"));
    auto* hzTitle = namedLabel("LabelKhz", this, Qt::AlignHCenter);
    hzTitle->setText(tr("Частота выхода относительно центра, кГц"));
    plotFrame_ = new PlotFrame(
        plot_, dbTitle, hzTitle,
        {QStringLiteral("-180"), QStringLiteral("-00000.0"), QSize(380, 320), QSize(560, 440)},
        this);
    auto* plotColumn = new QVBoxLayout;
    plotColumn->addWidget(plotFrame_, 1);
    auto* legend = namedLabel("LabelLegend", this, Qt::AlignHCenter);
    legend->setTextFormat(Qt::RichText);
    legend->setText(
        tr("<span style=\"color:#0000ff\">━━</span> спектр выхода&nbsp;&nbsp;&nbsp;"
           "<span style=\"color:#ff0000\">━━</span> АЧХ канала, 0 дБ — её максимум"));
    plotColumn->addWidget(legend);
    middle->addLayout(plotColumn, 1);

    auto* side = new QVBoxLayout;
    auto* signalBox = new QGroupBox(tr("Сигнал"), this);
    auto* grid = new QGridLayout(signalBox);
    signal_ = new QComboBox(signalBox);
    signal_->setObjectName(QStringLiteral("ComboSignal"));
    signal_->addItems(
        {tr("Тон"), tr("Два тона"), tr("Шум"), tr("Качание частоты"), tr("Запись из файла")});
    const auto edit = [signalBox](const char* name) {
        auto* e = new QLineEdit(signalBox);
        e->setObjectName(QString::fromLatin1(name));
        return e;
    };
    f1_ = edit("EditF1");
    f1_->setToolTip(tr("Частота тона, первого тона или начала качания, Гц"));
    f2_ = edit("EditF2");
    f2_->setToolTip(tr("Частота второго тона или конца качания, Гц"));
    level_ = edit("EditLevel");
    level_->setToolTip(tr("Тон: амплитуда; шум: мощность относительно синуса полной шкалы"));
    length_ = edit("EditLength");
    input_ = edit("EditInput");
    input_->setToolTip(tr("ИМЯ.sigmf-meta (отсчёты в ИМЯ.sigmf-data рядом) или ИМЯ.wav"));
    output_ = edit("EditOutput");
    output_->setToolTip(tr("ИМЯ.sigmf-meta или ИМЯ.wav; пусто — выход не записывается"));
    output_->setPlaceholderText(tr("не записывать"));
    browseInput_ = new QPushButton(tr("Обзор..."), signalBox);
    browseInput_->setObjectName(QStringLiteral("ButtonBrowseInput"));
    browseOutput_ = new QPushButton(tr("Обзор..."), signalBox);
    browseOutput_->setObjectName(QStringLiteral("ButtonBrowseOutput"));
    int r = 0;
    grid->addWidget(new QLabel(tr("Вид"), signalBox), r, 0);
    grid->addWidget(signal_, r++, 1, 1, 2);
    grid->addWidget(new QLabel(tr("Частота 1, Гц"), signalBox), r, 0);
    grid->addWidget(f1_, r++, 1, 1, 2);
    grid->addWidget(new QLabel(tr("Частота 2, Гц"), signalBox), r, 0);
    grid->addWidget(f2_, r++, 1, 1, 2);
    grid->addWidget(new QLabel(tr("Уровень, дБFS"), signalBox), r, 0);
    grid->addWidget(level_, r++, 1, 1, 2);
    grid->addWidget(new QLabel(tr("Длина, отсчётов"), signalBox), r, 0);
    grid->addWidget(length_, r++, 1, 1, 2);
    grid->addWidget(new QLabel(tr("Запись"), signalBox), r, 0);
    grid->addWidget(input_, r, 1);
    grid->addWidget(browseInput_, r++, 2);
    grid->addWidget(new QLabel(tr("Выход в файл"), signalBox), r, 0);
    grid->addWidget(output_, r, 1);
    grid->addWidget(browseOutput_, r++, 2);
    grid->setColumnStretch(1, 1);
    side->addWidget(signalBox);

    auto* figures = new QGridLayout;
    const auto figure = [&](int row, const QString& title, QLabel*& value, const char* name) {
        figures->addWidget(new QLabel(title, this), row, 0);
        value = namedLabel(name, this, Qt::AlignRight);
        value->setMinimumWidth(
            value->fontMetrics().horizontalAdvance(QStringLiteral("0000000.000")));
        figures->addWidget(value, row, 1);
    };
    figure(0, tr("Частота отсчётов выхода, Гц"), outputRate_, "PanelOutputRate");
    figure(1, tr("Уровень тона на выходе, дБFS"), toneLevel_, "PanelLevel");
    figure(2, tr("Мощность выхода, дБFS"), rms_, "PanelRms");
    figure(3, tr("SNR, дБ"), snr_, "PanelSnr");
    figure(4, tr("SFDR, дБc"), sfdr_, "PanelSfdr");
    figure(5, tr("Тон на частоте выхода, Гц"), signalAt_, "PanelSignalAt");
    side->addLayout(figures);

    stages_ = new QTableWidget(0, 3, this);
    stages_->setObjectName(QStringLiteral("TableStages"));
    stages_->setHorizontalHeaderLabels({tr("Ступень"), tr("Переполнения"), tr("Пик, дБFS")});
    stages_->verticalHeader()->setVisible(false);
    stages_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    stages_->setSelectionMode(QAbstractItemView::NoSelection);
    stages_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    stages_->horizontalHeader()->setStretchLastSection(true);
    stages_->verticalHeader()->setDefaultSectionSize(stages_->fontMetrics().height() + 4);
    stages_->setMinimumHeight(10 * (stages_->fontMetrics().height() + 4) + 8);
    side->addWidget(stages_, 1);
    middle->addLayout(side);
    v->addLayout(middle, 1);

    auto* buttons = new QHBoxLayout;
    run_ = new QPushButton(tr("Запустить"), this);
    run_->setObjectName(QStringLiteral("ButtonRun"));
    cancel_ = new QPushButton(tr("Остановить"), this);
    cancel_->setObjectName(QStringLiteral("ButtonCancel"));
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("ProgressBar"));
    progress_->setRange(0, 100);
    saveSpectrum_ = new QPushButton(tr("Спектр в CSV..."), this);
    saveSpectrum_->setObjectName(QStringLiteral("ButtonSaveSpectrum"));
    buttons->addWidget(run_);
    buttons->addWidget(cancel_);
    buttons->addWidget(progress_, 1);
    buttons->addWidget(saveSpectrum_);
    v->addLayout(buttons);
    status_ = namedLabel("LabelStatus", this);
    status_->setWordWrap(true);
    v->addWidget(status_);

    connect(signal_, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        copyInputs();
        state_.ComboSignal.index = index;
        act([this] { presenter_.onComboSignalChanged(); });
    });
    connect(run_, &QPushButton::clicked, this, [this] {
        copyInputs();
        act([this] { presenter_.onButtonRunClick(); });
    });
    connect(cancel_, &QPushButton::clicked, this,
            [this] { act([this] { presenter_.onButtonCancelClick(); }); });
    connect(saveSpectrum_, &QPushButton::clicked, this,
            [this] { act([this] { presenter_.onButtonSaveSpectrumClick(); }); });
    connect(browseInput_, &QPushButton::clicked, this, [this] {
        copyInputs();
        act([this] { presenter_.onButtonBrowseInputClick(); });
    });
    connect(browseOutput_, &QPushButton::clicked, this, [this] {
        copyInputs();
        act([this] { presenter_.onButtonBrowseOutputClick(); });
    });
    for (QLineEdit* e : {f1_, f2_, level_, length_, input_, output_})
        connect(e, &QLineEdit::editingFinished, this, [this] { copyInputs(); });
}

void TSimulationForm::copyInputs() {
    state_.EditF1.text = f1_->text().toStdString();
    state_.EditF2.text = f2_->text().toStdString();
    state_.EditLevel.text = level_->text().toStdString();
    state_.EditLength.text = length_->text().toStdString();
    state_.EditInput.text = input_->text().toStdString();
    state_.EditOutput.text = output_->text().toStdString();
}

template <class Action>
void TSimulationForm::act(Action&& action) {
    std::forward<Action>(action)();
    showState();
}

void TSimulationForm::showState() {
    channel_->setText(qs(state_.LabelChannel));
    plotFrame_->setAxisTexts(state_.LevelTexts, state_.FrequencyTexts);
    {
        const QSignalBlocker block(signal_);
        signal_->setCurrentIndex(state_.ComboSignal.index);
        signal_->setEnabled(!presenter_.running());
    }
    const auto field = [](QLineEdit* e, const gc::app::SimulationField& f) {
        const QSignalBlocker block(e);
        if (e->text().toStdString() != f.text) e->setText(qs(f.text));
        e->setEnabled(f.enabled);
    };
    field(f1_, state_.EditF1);
    field(f2_, state_.EditF2);
    field(level_, state_.EditLevel);
    field(length_, state_.EditLength);
    field(input_, state_.EditInput);
    field(output_, state_.EditOutput);
    browseInput_->setEnabled(state_.ButtonBrowseInput.enabled);
    browseOutput_->setEnabled(state_.ButtonBrowseOutput.enabled);
    outputRate_->setText(qs(state_.PanelOutputRate));
    toneLevel_->setText(qs(state_.PanelLevel));
    rms_->setText(qs(state_.PanelRms));
    snr_->setText(qs(state_.PanelSnr));
    sfdr_->setText(qs(state_.PanelSfdr));
    signalAt_->setText(qs(state_.PanelSignalAt));
    stages_->setRowCount(static_cast<int>(state_.TableStages.size()));
    for (int row = 0; row < stages_->rowCount(); ++row) {
        const gc::app::SimulationStageRow& s = state_.TableStages[static_cast<size_t>(row)];
        const std::array<std::string, 3> cells{s.stage, s.overflows, s.peakDbfs};
        for (int col = 0; col < 3; ++col) {
            auto* item = new QTableWidgetItem(qs(cells[static_cast<size_t>(col)]));
            item->setTextAlignment(col == 0 ? (Qt::AlignLeft | Qt::AlignVCenter)
                                            : (Qt::AlignRight | Qt::AlignVCenter));
            if (s.overflowed) item->setForeground(QColor(0xc0, 0, 0));
            stages_->setItem(row, col, item);
        }
    }
    run_->setEnabled(state_.ButtonRun.enabled);
    cancel_->setEnabled(state_.ButtonCancel.enabled);
    saveSpectrum_->setEnabled(state_.ButtonSaveSpectrum.enabled);
    progress_->setValue(state_.ProgressBar);
    progress_->setEnabled(state_.ProgressActive);
    status_->setText(qs(state_.LabelStatus.text));
    setLimitColour(status_, state_.LabelStatus.colour);
    plot_->update();
}

void TSimulationForm::showForm() {
    act([this] { presenter_.onShow(); });
    bringUp(this);
}

void TSimulationForm::refresh() {
    if (!isVisible()) return;
    act([this] { presenter_.refresh(); });
}

void TSimulationForm::run(gc::app::SimulationJob job, std::function<void(double)> progress,
                          std::function<void(gc::app::SimulationResult)> finished) {
    worker_.start<gc::app::SimulationResult>(
        this, std::move(job), [this](const std::function<void()>& call) { act(call); },
        std::move(progress), std::move(finished));
}

void TSimulationForm::closeEvent(QCloseEvent* event) {
    act([this] { presenter_.onClose(); });
    event->accept();
}

}  // namespace gc::ui
