#include "ui/PlotFrame.h"

#include <QLabel>
#include <algorithm>
#include <utility>

#include "ui/PlotBox.h"

namespace gc::ui {

PlotFrame::PlotFrame(PlotBox* box, QLabel* levelTitle, QLabel* frequencyTitle,
                     PlotFrameMetrics metrics, QWidget* parent)
    : QWidget(parent),
      box_(box),
      levelTitle_(levelTitle),
      frequencyTitle_(frequencyTitle),
      metrics_(std::move(metrics)) {
    box_->setParent(this);
    const auto axisLabel = [this](const QString& name, Qt::Alignment align) {
        auto* l = new QLabel(this);
        l->setObjectName(name);
        l->setAlignment(align | Qt::AlignVCenter);
        return l;
    };
    for (size_t i = 0; i < levels_.size(); ++i)
        levels_[i] = axisLabel(QStringLiteral("LabelLevel%1").arg(i), Qt::AlignRight);
    for (size_t i = 0; i < frequencies_.size(); ++i)
        frequencies_[i] = axisLabel(QStringLiteral("LabelFrequency%1").arg(i), Qt::AlignHCenter);
    levelTitle_->setParent(this);
    frequencyTitle_->setParent(this);
    setMinimumSize(metrics_.minimum);
}

void PlotFrame::setAxisTexts(const std::vector<std::string>& levels,
                             const std::vector<std::string>& frequencies) {
    const auto show = [](auto& labels, const std::vector<std::string>& texts) {
        for (size_t i = 0; i < labels.size(); ++i)
            labels[i]->setText(i < texts.size() ? QString::fromStdString(texts[i]) : QString());
    };
    show(levels_, levels);
    show(frequencies_, frequencies);
}

void PlotFrame::resizeEvent(QResizeEvent*) {
    const QFontMetrics fm = fontMetrics();
    const int line = fm.height();
    // A frequency text is centred on its grid line: the outer ones need half their width
    // beside the plot.
    const int w = fm.horizontalAdvance(metrics_.widestFrequency) + 4;
    const int left = std::max(fm.horizontalAdvance(metrics_.widestLevel) + 8, w / 2 + 2);
    const int right = w / 2 + 2;
    const int top = line + line / 2;
    const int bottom = 2 * line + 6;
    const QRect plot(left, top, width() - left - right, height() - top - bottom);
    box_->setGeometry(plot);
    levelTitle_->setGeometry(0, 0, plot.width(), line);
    for (size_t i = 0; i < levels_.size(); ++i) {
        const int y = plot.top() + plot.height() * static_cast<int>(i) / 6;
        levels_[i]->setGeometry(0, y - line / 2, left - 4, line);
    }
    for (size_t i = 0; i < frequencies_.size(); ++i) {
        const int x = plot.left() + plot.width() * static_cast<int>(i) / 4;
        frequencies_[i]->setGeometry(x - w / 2, plot.bottom() + 4, w, line);
    }
    frequencyTitle_->setGeometry(plot.left(), plot.bottom() + 4 + line, plot.width(), line);
}

}  // namespace gc::ui
