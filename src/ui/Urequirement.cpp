#include "ui/Urequirement.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <array>
#include <tuple>
#include <utility>

#include "model/Language.h"
#include "ui/Widgets.h"
#include "ui/WindowPlacement.h"

namespace gc::ui {
namespace {

using gc::app::LimitColour;
using gc::app::RequirementPresenter;
using gc::app::Window;

QString fromStd(const std::string& s) { return QString::fromStdString(s); }

PanelColour panelColour(LimitColour colour) {
    switch (colour) {
        case LimitColour::Green:
            return PanelColour::Met;
        case LimitColour::Red:
            return PanelColour::Failed;
        case LimitColour::Neutral:
            break;
    }
    return PanelColour::ButtonFace;
}

void showText(QLineEdit* edit, const std::string& text) {
    const QString t = fromStd(text);
    if (edit->text() == t) return;
    const QSignalBlocker blocker(edit);
    edit->setText(t);
}

// A figure with its verdict's mark beside it, so that the verdict is not told by colour alone.
void showFigure(ValuePanel* panel, const gc::app::FigureState& figure) {
    const std::string_view mark = gc::app::limitMark(figure.colour);
    QString text = fromStd(figure.text);
    if (!text.isEmpty() && !mark.empty())
        text += QLatin1Char(' ') + QString::fromUtf8(mark.data(), int(mark.size()));
    panel->setText(text);
    panel->setColour(panelColour(figure.colour));
}

// The verdict line says it in words already.
void showVerdict(ValuePanel* panel, const gc::app::FigureState& figure) {
    panel->setText(fromStd(figure.text));
    panel->setColour(panelColour(figure.colour));
}

}  // namespace

TRequirementForm::TRequirementForm(gc::app::Session& session, gc::app::RequirementState& state,
                                   RequirementPresenter& presenter, gc::app::UiPort& ui,
                                   QWidget* parent)
    : QWidget(parent), session_(session), state_(state), presenter_(presenter), ui_(ui) {
    // A tool window of the main window: above it, hidden while it is minimised.
    setWindowFlags(parent != nullptr ? Qt::Tool : Qt::Window);
    setObjectName(QStringLiteral("RequirementForm"));
    setWindowTitle(fromStd(gc::model::tx(gc::app::kRequirementCaption)));
    buildControls();
    connectControls();
}

TRequirementForm::~TRequirementForm() = default;

void TRequirementForm::buildControls() {
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(8, 8, 8, 8);
    v->setSpacing(6);

    const auto label = [this](const QString& text, const QString& tip = {}) {
        auto* l = new QLabel(text, this);
        l->setTextFormat(Qt::PlainText);
        if (!tip.isEmpty()) l->setToolTip(tip);
        return l;
    };
    const auto edit = [this](const char* name, const QString& tip) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 12 + 12);
        e->setToolTip(tip);
        return e;
    };
    const auto panel = [this](const char* name, const QString& sample, const QString& tip) {
        auto* p = new ValuePanel(QString::fromLatin1(name), sample, this);
        p->setToolTip(tip);
        return p;
    };

    // One grid: the requirement above, the figures below in the same columns, each figure with
    // where its worst point lies to its right.
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    const QString fpTip = tr("Граница полосы пропускания Fp, Гц. Пустое поле: требования нет.");
    const QString fsTip = tr("Начало полосы заграждения Fs, Гц. Пустое поле: Fo/2.");
    const QString rmaxTip =
        tr("Наибольшая неравномерность в полосе 0..Fp, дБ (размах). Пустое поле: не проверяется.");
    const QString asTip =
        tr("Наименьшее подавление от Fs до половины тактовой частоты, дБ, относительно "
           "пика полосы пропускания. Пустое поле: не проверяется.");
    const QString aaTip =
        tr("Наименьшее подавление составляющих, которые при децимации "
           "попадают в полосу 0..Fp, дБ. Пустое поле: не проверяется.");
    editFp_ = edit("EditFp", fpTip);
    editFs_ = edit("EditFs", fsTip);
    editRmax_ = edit("EditRmax", rmaxTip);
    editAs_ = edit("EditAs", asTip);
    editAa_ = edit("EditAa", aaTip);
    const std::array<std::tuple<QString, QLineEdit*, QString>, 5> rows{{
        {tr("Граница полосы пропускания Fp, Гц"), editFp_, fpTip},
        {tr("Граница полосы заграждения Fs, Гц"), editFs_, fsTip},
        {tr("Неравномерность Rmax, дБ, не более"), editRmax_, rmaxTip},
        {tr("Подавление в полосе заграждения As, дБ, не менее"), editAs_, asTip},
        {tr("Подавление наложений Aa, дБ, не менее"), editAa_, aaTip},
    }};
    int r = 0;
    for (const auto& [text, field, tip] : rows) {
        grid->addWidget(label(text, tip), r, 0);
        grid->addWidget(field, r++, 1);
    }
    const int namesRow = r;
    grid->setRowMinimumHeight(r++, 6);
    const QString hz = QStringLiteral("-9999999999.9");
    const QString db = QStringLiteral("-999.99 ✗");
    const QString atTip = tr("Частота худшей точки, Гц");
    panelOutputRate_ =
        panel("PanelOutputRate", hz, tr("Выходная частота канала Fo, Гц (после ресемплера)"));
    panelStopbandEdge_ = panel("PanelStopbandEdge", hz,
                               tr("Граница полосы заграждения, с которой ведётся расчёт, Гц"));
    panelRipple_ = panel("PanelRipple", db,
                         tr("Неравномерность в полосе пропускания, дБ; зелёный: не более Rmax, "
                            "красный: больше"));
    panelRippleAt_ =
        panel("PanelRippleAt", hz, tr("Частота, где полоса пропускания ниже всего, Гц"));
    panelBandwidth_ = panel("PanelBandwidth", hz, tr("Ширина полосы по уровню -3 дБ, Гц"));
    panelStopband_ = panel("PanelStopband", db,
                           tr("Подавление в полосе заграждения, дБ; зелёный: не менее As, "
                              "красный: меньше"));
    panelStopbandAt_ = panel("PanelStopbandAt", hz, atTip);
    panelAlias_ = panel("PanelAlias", db,
                        tr("Подавление наложений, дБ; зелёный: не менее Aa, красный: меньше"));
    panelAliasAt_ = panel("PanelAliasAt", hz,
                          tr("Частота F на входе, худшее наложение которой попадает в "
                             "полосу пропускания, Гц"));
    panelAliasOffset_ = panel("PanelAliasOffset", hz,
                              tr("Смещение на выходе, на которое попадает это наложение, Гц"));
    const auto row = [&](const QString& text, ValuePanel* value, const QString& atText = {},
                         ValuePanel* at = nullptr) {
        grid->addWidget(label(text, value->toolTip()), r, 0);
        grid->addWidget(value, r, 1);
        if (at != nullptr) {
            grid->addWidget(label(atText, at->toolTip()), r, 2);
            grid->addWidget(at, r, 3);
        }
        ++r;
    };
    row(tr("Выходная частота Fo, Гц"), panelOutputRate_);
    row(tr("Fs в расчёте, Гц"), panelStopbandEdge_);
    row(tr("Неравномерность, дБ"), panelRipple_, tr("на частоте, Гц"), panelRippleAt_);
    row(tr("Полоса по -3 дБ, Гц"), panelBandwidth_);
    row(tr("Подавление в полосе заграждения, дБ"), panelStopband_, tr("на частоте, Гц"),
        panelStopbandAt_);
    row(tr("Подавление наложений, дБ"), panelAlias_, tr("с частоты F, Гц"), panelAliasAt_);
    grid->addWidget(label(tr("попадает на смещение, Гц"), panelAliasOffset_->toolTip()), r, 2);
    grid->addWidget(panelAliasOffset_, r++, 3);
    // The compared configuration's figures in a column of their own, row by row beside the
    // current ones.
    labelCurrentName_ = label(tr("Текущая конфигурация"));
    labelCurrentName_->setObjectName(QStringLiteral("LabelCurrentName"));
    labelComparisonName_ = label({});
    labelComparisonName_->setObjectName(QStringLiteral("LabelComparisonName"));
    grid->addWidget(labelCurrentName_, namesRow, 1);
    grid->addWidget(labelComparisonName_, namesRow, 4);
    const QString cmpTip = tr("Сравниваемая конфигурация, то же требование");
    panelCmpOutputRate_ = panel("PanelCmpOutputRate", hz, cmpTip);
    panelCmpStopbandEdge_ = panel("PanelCmpStopbandEdge", hz, cmpTip);
    panelCmpRipple_ = panel("PanelCmpRipple", db, cmpTip);
    panelCmpBandwidth_ = panel("PanelCmpBandwidth", hz, cmpTip);
    panelCmpStopband_ = panel("PanelCmpStopband", db, cmpTip);
    panelCmpAlias_ = panel("PanelCmpAlias", db, cmpTip);
    const std::array<ValuePanel*, 6> column{panelCmpOutputRate_, panelCmpStopbandEdge_,
                                            panelCmpRipple_,     panelCmpBandwidth_,
                                            panelCmpStopband_,   panelCmpAlias_};
    for (size_t i = 0; i < column.size(); ++i)
        grid->addWidget(column[i], namesRow + 1 + static_cast<int>(i), 4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(4, 1);
    v->addLayout(grid);

    labelVerdict_ = panel("LabelVerdict", tr("Требования не выполнены"),
                          tr("Итог: зелёный, если все заданные ограничения выполнены"));
    v->addWidget(labelVerdict_);
    labelError_ = new QLabel(this);
    labelError_->setObjectName(QStringLiteral("LabelError"));
    labelError_->setTextFormat(Qt::PlainText);
    labelError_->setWordWrap(true);
    QPalette errorPalette = labelError_->palette();
    errorPalette.setColor(QPalette::WindowText, QColor(192, 0, 0));
    labelError_->setPalette(errorPalette);
    v->addWidget(labelError_);

    v->addWidget(label(tr("Предупреждения")));
    memoWarnings_ = new QPlainTextEdit(this);
    memoWarnings_->setObjectName(QStringLiteral("MemoWarnings"));
    memoWarnings_->setReadOnly(true);
    memoWarnings_->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Room for every warning there can be (four), each on its line.
    memoWarnings_->setFixedHeight(memoWarnings_->fontMetrics().lineSpacing() * 4 +
                                  2 * memoWarnings_->frameWidth() +
                                  int(memoWarnings_->document()->documentMargin() * 2) + 2);
    v->addWidget(memoWarnings_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttonDesign_ = new QPushButton(tr("Синтез фильтров..."), this);
    buttonDesign_->setObjectName(QStringLiteral("ButtonDesign"));
    buttonDesign_->setAutoDefault(false);
    buttonDesign_->setToolTip(tr("Подобрать фильтры канала под это требование"));
    buttons->addWidget(buttonDesign_);
    v->addLayout(buttons);
}

void TRequirementForm::connectControls() {
    using P = RequirementPresenter;
    // Enter, or leaving a field whose text changed.
    const std::array<std::pair<QLineEdit*, void (P::*)()>, 5> fields{{
        {editFp_, &P::onEditFpEnter},
        {editFs_, &P::onEditFsEnter},
        {editRmax_, &P::onEditRmaxEnter},
        {editAs_, &P::onEditAsEnter},
        {editAa_, &P::onEditAaEnter},
    }};
    for (const auto& [field, handler] : fields) {
        const auto h = handler;
        connect(field, &QLineEdit::editingFinished, this, [this, h] { run(h); });
    }
    connect(buttonDesign_, &QPushButton::clicked, this, [this] { run(&P::onButtonDesignClick); });
}

void TRequirementForm::run(void (RequirementPresenter::*handler)()) {
    if (inHandler_) return;
    const QScopedValueRollback guard(inHandler_, true);
    state_.EditFp.text = editFp_->text().toStdString();
    state_.EditFs.text = editFs_->text().toStdString();
    state_.EditRmax.text = editRmax_->text().toStdString();
    state_.EditAs.text = editAs_->text().toStdString();
    state_.EditAa.text = editAa_->text().toStdString();
    (presenter_.*handler)();
    showState();
    if (afterChange_) afterChange_();
}

void TRequirementForm::showState() {
    if (!state_.Caption.empty()) setWindowTitle(fromStd(state_.Caption));
    showText(editFp_, state_.EditFp.text);
    showText(editFs_, state_.EditFs.text);
    showText(editRmax_, state_.EditRmax.text);
    showText(editAs_, state_.EditAs.text);
    showText(editAa_, state_.EditAa.text);
    panelOutputRate_->setText(fromStd(state_.PanelOutputRate));
    panelStopbandEdge_->setText(fromStd(state_.PanelStopbandEdge));
    showFigure(panelRipple_, state_.PanelRipple);
    panelRippleAt_->setText(fromStd(state_.PanelRippleAt));
    panelBandwidth_->setText(fromStd(state_.PanelBandwidth));
    showFigure(panelStopband_, state_.PanelStopband);
    panelStopbandAt_->setText(fromStd(state_.PanelStopbandAt));
    showFigure(panelAlias_, state_.PanelAlias);
    panelAliasAt_->setText(fromStd(state_.PanelAliasAt));
    panelAliasOffset_->setText(fromStd(state_.PanelAliasOffset));
    showVerdict(labelVerdict_, state_.LabelVerdict);
    const bool comparing = !state_.LabelComparisonName.empty();
    labelComparisonName_->setText(fromStd(state_.LabelComparisonName));
    panelCmpOutputRate_->setText(fromStd(state_.PanelCmpOutputRate));
    panelCmpStopbandEdge_->setText(fromStd(state_.PanelCmpStopbandEdge));
    showFigure(panelCmpRipple_, state_.PanelCmpRipple);
    panelCmpBandwidth_->setText(fromStd(state_.PanelCmpBandwidth));
    showFigure(panelCmpStopband_, state_.PanelCmpStopband);
    showFigure(panelCmpAlias_, state_.PanelCmpAlias);
    for (QWidget* w : std::initializer_list<QWidget*>{
             labelCurrentName_, labelComparisonName_, panelCmpOutputRate_, panelCmpStopbandEdge_,
             panelCmpRipple_, panelCmpBandwidth_, panelCmpStopband_, panelCmpAlias_})
        w->setVisible(comparing);
    labelError_->setText(fromStd(state_.LabelError));
    labelError_->setVisible(!state_.LabelError.empty());
    QStringList lines;
    for (const std::string& line : state_.MemoWarnings) lines << fromStd(line);
    const QString text = lines.join(QLatin1Char('\n'));
    if (memoWarnings_->toPlainText() != text) memoWarnings_->setPlainText(text);
}

void TRequirementForm::showForm() {
    presenter_.refresh();
    showState();
    bringUp(this);
    ui_.repaintChannelPlot();
}

void TRequirementForm::refresh() {
    presenter_.refresh();
    showState();
    ui_.repaintChannelPlot();
}

void TRequirementForm::closeEvent(QCloseEvent* event) {
    session_.open[Window::Requirement] = false;
    ui_.repaintChannelPlot();
    QWidget::closeEvent(event);
}

}  // namespace gc::ui
