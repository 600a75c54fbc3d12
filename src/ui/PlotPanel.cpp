#include "ui/PlotPanel.h"

#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <algorithm>

#include "ui/QtCanvas.h"

namespace gc::ui {
namespace {

constexpr int kGap = 4;          // between a label and the plot or the frame, pixels
constexpr int kColumnStep = 64;  // plot columns between two frequency labels
constexpr int kRowStep = 40;     // plot rows between two level labels

int textWidth(const QLabel* label) { return label->fontMetrics().horizontalAdvance(label->text()); }

}  // namespace

PlotPanel::PlotPanel(QWidget* parent) : PlotPanel(PlotPanelNames{}, parent) {}

PlotPanel::PlotPanel(const PlotPanelNames& names, QWidget* parent) : QFrame(parent) {
    setObjectName(QString::fromLatin1(names.frame));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    box_ = new PlotBox(this);

    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    const Qt::Alignment centre = Qt::AlignCenter;
    dbTitle_ = makeLabel(names.dbTitle, QStringLiteral("dB"), right);
    levels_ = {makeLabel(names.levels[0], QStringLiteral("0"), right),
               makeLabel(names.levels[1], QStringLiteral("-20"), right),
               makeLabel(names.levels[2], QStringLiteral("-40"), right),
               makeLabel(names.levels[3], QStringLiteral("-60"), right),
               makeLabel(names.levels[4], QStringLiteral("-80"), right),
               makeLabel(names.levels[5], QStringLiteral("-100"), right),
               makeLabel(names.levels[6], QStringLiteral("-120"), right)};
    axisTitle_ =
        makeLabel(names.axisTitle, QStringLiteral("F/Fsamp"), Qt::AlignLeft | Qt::AlignVCenter);
    numerators_ = {makeLabel(names.numerators[0], QStringLiteral("1/"), right),
                   makeLabel(names.numerators[1], QStringLiteral("1/"), right),
                   makeLabel(names.numerators[2], QStringLiteral("3/"), right),
                   makeLabel(names.numerators[3], QStringLiteral("1/"), right)};
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    denominators_ = {makeLabel(names.denominators[0], QStringLiteral("8"), left),
                     makeLabel(names.denominators[1], QStringLiteral("4"), left),
                     makeLabel(names.denominators[2], QStringLiteral("8"), left),
                     makeLabel(names.denominators[3], QStringLiteral("2"), left)};
    frequencies_ = {makeLabel(names.frequencies[0], QStringLiteral("0"), centre),
                    makeLabel(names.frequencies[1], QStringLiteral("12.5"), centre),
                    makeLabel(names.frequencies[2], QStringLiteral("25.0"), centre),
                    makeLabel(names.frequencies[3], QStringLiteral("37.5"), centre),
                    makeLabel(names.frequencies[4], QStringLiteral("50.0"), centre)};
    mhzTitle_ = makeLabel(names.mhzTitle, QStringLiteral("MHz"), right);
}

QLabel* PlotPanel::makeLabel(const char* name, const QString& text, Qt::Alignment alignment) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(alignment);
    // The labels are part of the frame: a click on one is a click on Panel5.
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

namespace {

// Sets the texts of `labels` from `first` on; true when one of them changed.
template <std::size_t N, std::size_t M>
bool setTexts(const std::array<QLabel*, N>& labels, std::size_t first,
              const std::array<QString, M>& texts) {
    bool changed = false;
    for (std::size_t i = 0; i < M; ++i) {
        if (labels[first + i]->text() == texts[i]) continue;
        labels[first + i]->setText(texts[i]);
        changed = true;
    }
    return changed;
}

}  // namespace

void PlotPanel::setLevelTexts(const std::array<QString, 6>& texts) {
    if (!setTexts(levels_, 1, texts)) return;
    updateGeometry();
    placeLabels();
}

void PlotPanel::setDenominatorTexts(const std::array<QString, 4>& texts) {
    if (!setTexts(denominators_, 0, texts)) return;
    updateGeometry();
    placeLabels();
}

void PlotPanel::setFrequencyTexts(const std::array<QString, 4>& texts) {
    if (!setTexts(frequencies_, 1, texts)) return;
    updateGeometry();
    placeLabels();
}

void PlotPanel::setAxisTitle(const QString& text) {
    if (axisTitle_->text() == text) return;
    axisTitle_->setText(text);
    updateGeometry();
    placeLabels();
}

void PlotPanel::setFrequencyUnit(const QString& text) {
    if (mhzTitle_->text() == text) return;
    mhzTitle_->setText(text);
    updateGeometry();
    placeLabels();
}

PlotPanel::Margins PlotPanel::plotMargins() const {
    const QFontMetrics fm = fontMetrics();
    const int lineHeight = fm.height();
    const int frame = frameWidth();

    // Room for the widest level text the plot writes ("-120.0") as well as the current ones.
    int leftColumn = std::max({fm.horizontalAdvance(QStringLiteral("-120.0")), textWidth(dbTitle_),
                               textWidth(mhzTitle_) + textWidth(frequencies_[0]) / 2});
    for (const QLabel* l : levels_) leftColumn = std::max(leftColumn, textWidth(l));

    int halfRight = fm.horizontalAdvance(QStringLiteral("50.000")) / 2;
    for (const QLabel* l : frequencies_) halfRight = std::max(halfRight, (textWidth(l) + 1) / 2);
    halfRight =
        std::max(halfRight, (textWidth(numerators_[3]) + textWidth(denominators_[3]) + 1) / 2);

    // The top row (dB, axis title, fractions) and the bottom row (MHz values) keep half a line
    // clear of the plot edge, where the "0" and lowest level labels stand centred on the edge.
    const int edgeRow = lineHeight / 2 + 2;
    return {frame + kGap + leftColumn + kGap, frame + kGap + lineHeight + edgeRow,
            halfRight + kGap + frame, edgeRow + lineHeight + kGap + frame};
}

QSize PlotPanel::minimumSizeHint() const {
    const Margins m = plotMargins();
    // A quarter of the plot must hold the widest frequency label, and the first quarter of the
    // top row the axis title followed by half of the first fraction.
    int widestValue = 0;
    for (const QLabel* l : frequencies_) widestValue = std::max(widestValue, textWidth(l));
    const int firstPair = textWidth(numerators_[0]) + textWidth(denominators_[0]);
    const int quarter =
        std::max(widestValue + 2 * kGap, kGap + textWidth(axisTitle_) + 2 * kGap + firstPair / 2);
    const int plotWidth = std::max(kPlotWidth, 4 * quarter);
    const int sixth = fontMetrics().height() + kGap;
    const int plotHeight = std::max(kPlotHeight, 6 * sixth);
    return {m.left + plotWidth + m.right, m.top + plotHeight + m.bottom};
}

QSize PlotPanel::sizeHint() const {
    const QSize minimum = minimumSizeHint();
    const Margins m = plotMargins();
    const QSize preferred(m.left + kPlotWidth * 3 / 2 + m.right,
                          m.top + kPlotHeight * 3 / 2 + m.bottom);
    return preferred.expandedTo(minimum);
}

void PlotPanel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    placeLabels();
}

void PlotPanel::changeEvent(QEvent* event) {
    QFrame::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        updateGeometry();
        placeLabels();
    }
}

void PlotPanel::placeLabels() {
    const Margins m = plotMargins();
    const QRect plot(m.left, m.top, std::max(1, width() - m.left - m.right),
                     std::max(1, height() - m.top - m.bottom));
    box_->setGeometry(plot);

    const int lineHeight = fontMetrics().height();
    const int frame = frameWidth();
    const int columnLeft = frame + kGap;
    const int columnRight = plot.left() - kGap;  // right edge of the level labels
    const int topRow = frame + kGap;
    const int bottomRow = plot.bottom() + 1 + lineHeight / 2 + 2;
    const auto xOfColumn = [&](int column) {
        return plot.left() + (column * plot.width() + kPlotWidth / 2) / kPlotWidth;
    };
    const auto yOfRow = [&](int row) {
        return plot.top() + (row * plot.height() + kPlotHeight / 2) / kPlotHeight;
    };

    dbTitle_->setGeometry(columnLeft, topRow, columnRight - columnLeft, lineHeight);
    for (std::size_t i = 0; i < levels_.size(); ++i) {
        const int y = yOfRow(int(i) * kRowStep);
        levels_[i]->setGeometry(columnLeft, y - lineHeight / 2, columnRight - columnLeft,
                                lineHeight);
    }

    // The axis title stands a little right of "dB", over the start of the frequency axis.
    axisTitle_->setGeometry(plot.left() + kGap, topRow, textWidth(axisTitle_) + 2, lineHeight);
    for (std::size_t j = 0; j < numerators_.size(); ++j) {
        const int x = xOfColumn((int(j) + 1) * kColumnStep);
        const int wn = textWidth(numerators_[j]);
        const int wd = textWidth(denominators_[j]);
        const int start = x - (wn + wd) / 2;
        numerators_[j]->setGeometry(start, topRow, wn, lineHeight);
        denominators_[j]->setGeometry(start + wn, topRow, wd + 2, lineHeight);
    }

    for (std::size_t k = 0; k < frequencies_.size(); ++k) {
        const int x = xOfColumn(int(k) * kColumnStep);
        const int w = textWidth(frequencies_[k]) + 2;
        frequencies_[k]->setGeometry(x - w / 2, bottomRow, w, lineHeight);
    }
    const int mhzRight = xOfColumn(0) - (textWidth(frequencies_[0]) + 2) / 2 - kGap;
    mhzTitle_->setGeometry(columnLeft, bottomRow, std::max(0, mhzRight - columnLeft), lineHeight);
}

void PlotPanel::mousePressEvent(QMouseEvent* event) { event->accept(); }

void PlotPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (release_) {
        switch (event->button()) {
            case Qt::LeftButton:
                release_(MouseButton::Left);
                break;
            case Qt::RightButton:
                release_(MouseButton::Right);
                break;
            case Qt::MiddleButton:
                release_(MouseButton::Middle);
                break;
            default:
                break;
        }
    }
    event->accept();
    if (menu_ != nullptr && event->button() == Qt::RightButton)
        menu_->popup(event->globalPosition().toPoint());
}

}  // namespace gc::ui
