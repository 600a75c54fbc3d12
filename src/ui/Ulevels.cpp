#include "ui/Ulevels.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>
#include <array>

#include "model/Language.h"
#include "ui/WindowPlacement.h"

namespace gc::ui {
namespace {

using gc::app::LevelsPresenter;
using gc::app::Window;

QString fromStd(const std::string& s) { return QString::fromStdString(s); }

void showText(QLineEdit* edit, const std::string& text) {
    const QString t = fromStd(text);
    if (edit->text() == t) return;
    const QSignalBlocker blocker(edit);
    edit->setText(t);
}

QLabel* plainLabel(QWidget* parent, const char* name = nullptr) {
    auto* l = new QLabel(parent);
    if (name != nullptr) l->setObjectName(QString::fromLatin1(name));
    l->setTextFormat(Qt::PlainText);
    l->setWordWrap(true);
    return l;
}

}  // namespace

TLevelsForm::TLevelsForm(gc::app::Session& session, gc::app::LevelsState& state,
                         LevelsPresenter& presenter, QWidget* parent)
    : QWidget(parent), session_(session), state_(state), presenter_(presenter) {
    // A tool window of the main window: above it, hidden while it is minimised.
    setWindowFlags(parent != nullptr ? Qt::Tool : Qt::Window);
    setObjectName(QStringLiteral("LevelsForm"));
    setWindowTitle(fromStd(gc::model::tx(gc::app::kLevelsCaption)));
    buildControls();
    connectControls();
}

TLevelsForm::~TLevelsForm() = default;

void TLevelsForm::buildControls() {
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(8, 8, 8, 8);
    v->setSpacing(6);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    comboKind_ = new QComboBox(this);
    comboKind_->setObjectName(QStringLiteral("ComboKind"));
    comboKind_->addItem(fromStd(gc::model::tx(gc::app::kLevelsKindTone)));
    comboKind_->addItem(fromStd(gc::model::tx(gc::app::kLevelsKindNoise)));
    comboKind_->setToolTip(
        tr("Тон: действительная синусоида; шум: равномерно в полосе вокруг NCO"));
    editLevel_ = new QLineEdit(this);
    editLevel_->setObjectName(QStringLiteral("EditLevel"));
    editLevel_->setToolTip(
        tr("Уровень входа, dBFS: амплитуда тона или мощность шума как у тона той же мощности"));
    editFrequency_ = new QLineEdit(this);
    editFrequency_->setObjectName(QStringLiteral("EditFrequency"));
    editFrequency_->setToolTip(
        tr("Частота тона на входе или ширина полосы шума, Гц. Пустое "
           "поле: тон на частоте NCO, шум в полосе выхода."));
    const int digits = editLevel_->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    editLevel_->setMinimumWidth(digits * 8 + 12);
    editFrequency_->setMinimumWidth(digits * 14 + 12);
    auto* kindLabel = plainLabel(this);
    kindLabel->setText(tr("Входной сигнал"));
    auto* levelLabel = plainLabel(this);
    levelLabel->setText(tr("Уровень, dBFS"));
    auto* frequencyLabel = plainLabel(this);
    frequencyLabel->setText(tr("Частота или полоса, Гц"));
    grid->addWidget(kindLabel, 0, 0);
    grid->addWidget(comboKind_, 0, 1);
    grid->addWidget(levelLabel, 0, 2);
    grid->addWidget(editLevel_, 0, 3);
    grid->addWidget(frequencyLabel, 0, 4);
    grid->addWidget(editFrequency_, 0, 5);
    grid->setColumnStretch(5, 1);
    v->addLayout(grid);

    labelChannel_ = plainLabel(this, "LabelChannel");
    v->addWidget(labelChannel_);

    tableLevels_ = new QTableWidget(0, 9, this);
    tableLevels_->setObjectName(QStringLiteral("TableLevels"));
    tableLevels_->setHorizontalHeaderLabels(
        {tr("Каскад"), tr("Бит"), tr("Частота, Гц"), tr("Сигнал, dBFS"), tr("Вне полосы, dBFS"),
         tr("Пик, dBFS"), tr("Запас, дБ"), tr("Ограничение\nпри входе, dBFS"),
         tr("Шум округления\nна выходе, dBFS")});
    tableLevels_->setToolTip(
        tr("Уровни на выходе каждого каскада: полезный сигнал, остаток внеполосной части входа, "
           "ожидаемый пик I или Q, запас до полной шкалы, уровень входа, при котором каскад "
           "начинает ограничивать, и шум его округления, приведённый к выходу"));
    tableLevels_->verticalHeader()->setVisible(false);
    tableLevels_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tableLevels_->setSelectionMode(QAbstractItemView::NoSelection);
    tableLevels_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tableLevels_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tableLevels_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    v->addWidget(tableLevels_);

    labelFirstClip_ = plainLabel(this, "LabelFirstClip");
    v->addWidget(labelFirstClip_);
    labelOutput_ = plainLabel(this, "LabelOutput");
    v->addWidget(labelOutput_);
    auto* gainLabel = plainLabel(this);
    gainLabel->setText(tr("Усиление канала (комплексный выход / действительный тон на входе)"));
    v->addWidget(gainLabel);
    memoGain_ = new QPlainTextEdit(this);
    memoGain_->setObjectName(QStringLiteral("MemoGain"));
    memoGain_->setReadOnly(true);
    memoGain_->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The nine factors and the total, each on its line.
    memoGain_->setFixedHeight(memoGain_->fontMetrics().lineSpacing() * 10 +
                              2 * memoGain_->frameWidth() +
                              int(memoGain_->document()->documentMargin() * 2) + 2);
    v->addWidget(memoGain_, 1);
    labelError_ = plainLabel(this, "LabelError");
    QPalette errorPalette = labelError_->palette();
    errorPalette.setColor(QPalette::WindowText, QColor(192, 0, 0));
    labelError_->setPalette(errorPalette);
    v->addWidget(labelError_);
}

void TLevelsForm::connectControls() {
    using P = LevelsPresenter;
    connect(comboKind_, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this] { run(&P::onComboKindChanged); });
    connect(editLevel_, &QLineEdit::editingFinished, this, [this] { run(&P::onEditLevelEnter); });
    connect(editFrequency_, &QLineEdit::editingFinished, this,
            [this] { run(&P::onEditFrequencyEnter); });
}

void TLevelsForm::run(void (LevelsPresenter::*handler)()) {
    if (inHandler_) return;
    const QScopedValueRollback guard(inHandler_, true);
    state_.ComboKind = comboKind_->currentIndex();
    state_.EditLevel.text = editLevel_->text().toStdString();
    state_.EditFrequency.text = editFrequency_->text().toStdString();
    (presenter_.*handler)();
    showState();
}

void TLevelsForm::showState() {
    {
        const QSignalBlocker blocker(comboKind_);
        comboKind_->setCurrentIndex(state_.ComboKind);
    }
    showText(editLevel_, state_.EditLevel.text);
    showText(editFrequency_, state_.EditFrequency.text);
    labelChannel_->setText(fromStd(state_.LabelChannel));
    tableLevels_->setRowCount(static_cast<int>(state_.Rows.size()));
    for (int r = 0; r < static_cast<int>(state_.Rows.size()); ++r) {
        const gc::app::LevelRowState& row = state_.Rows[static_cast<std::size_t>(r)];
        const std::array<const std::string*, 9> cells{&row.stage,    &row.bits,      &row.rate,
                                                      &row.signal,   &row.outOfBand, &row.peak,
                                                      &row.headroom, &row.clipInput, &row.noise};
        for (int c = 0; c < 9; ++c) {
            auto* item = new QTableWidgetItem(fromStd(*cells[static_cast<std::size_t>(c)]));
            item->setTextAlignment(c == 0 ? (Qt::AlignLeft | Qt::AlignVCenter)
                                          : (Qt::AlignRight | Qt::AlignVCenter));
            if (row.clips) item->setForeground(QColor(192, 0, 0));
            tableLevels_->setItem(r, c, item);
        }
    }
    tableLevels_->resizeRowsToContents();
    int height = tableLevels_->horizontalHeader()->height() + 2 * tableLevels_->frameWidth();
    for (int r = 0; r < tableLevels_->rowCount(); ++r) height += tableLevels_->rowHeight(r);
    // The whole table without scrolling: every row and every column.
    tableLevels_->setFixedHeight(height + 2);
    int width = 2 * tableLevels_->frameWidth();
    for (int c = 0; c < tableLevels_->columnCount(); ++c) width += tableLevels_->columnWidth(c);
    tableLevels_->setMinimumWidth(width + 2);
    labelFirstClip_->setText(fromStd(state_.LabelFirstClip));
    labelOutput_->setText(fromStd(state_.LabelOutput));
    QStringList lines;
    for (const std::string& line : state_.MemoGain) lines << fromStd(line);
    const QString text = lines.join(QLatin1Char('\n'));
    if (memoGain_->toPlainText() != text) memoGain_->setPlainText(text);
    labelError_->setText(fromStd(state_.LabelError));
    labelError_->setVisible(!state_.LabelError.empty());
}

void TLevelsForm::showForm() {
    presenter_.refresh();
    showState();
    resize(sizeHint().expandedTo(size()));
    bringUp(this);
}

void TLevelsForm::refresh() {
    presenter_.refresh();
    showState();
}

void TLevelsForm::closeEvent(QCloseEvent* event) {
    session_.open[Window::Levels] = false;
    QWidget::closeEvent(event);
}

}  // namespace gc::ui
